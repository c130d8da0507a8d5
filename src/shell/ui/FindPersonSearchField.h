#pragma once

#include <QLineEdit>

#include <functional>

// The toolbar's search field. Every click into it (and tabbing to it) shows the last results again, after a
// check; Escape hides them.
class FindPersonSearchField : public QLineEdit {
public:
    explicit FindPersonSearchField(QWidget* parent = nullptr);
    std::function<void()> didBecomeFirstResponder;
    std::function<void()> escapePressed;
    // Wide enough for the prompt that says where it searches ("Find in Names and Titles").
    QSize sizeHint() const override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
