#pragma once

#include <QLabel>

// A one-line label that, when its text is wider than the room it is given, shows it shortened with an ellipsis
// (at the end, or in the middle for paths) and the whole text as its tool tip, rather than cutting it off
// mid-word. text() is always the whole text.
class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(Qt::TextElideMode mode = Qt::ElideRight, QWidget* parent = nullptr);

    // Where the ellipsis goes: a message that ends in a path wants its file name kept.
    void setElideMode(Qt::TextElideMode mode)
    {
        m_mode = mode;
        update();
    }
    // The text as it is drawn at the label's present width.
    QString shownText() const;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::TextElideMode m_mode;
};
