#pragma once

#include <QLineEdit>

#include <functional>

// A one-line field of the person editor whose edit is checked when it ends. The edit ends on Return or Enter,
// when the focus leaves the field, or through endEditing(); a check that refuses keeps the focus and the text
// in the field, and nothing is written.
class EditorLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit EditorLineEdit(QWidget* parent = nullptr);

    // Asked at the user's first change of a shown value; false keeps the field unchanged.
    std::function<bool()> shouldBeginEditing;
    // Asked when an edit that changed the text ends; false keeps the edit going (the check has said why).
    std::function<bool()> shouldEndEditing;

    // Shows a stored value (not an edit).
    void setValue(const QString& value);
    // Whether the user changed the text since the last shown value.
    bool isEditing() const { return m_editing; }
    // Ends the edit; false when its check refused it.
    bool endEditing();
    // Red text marks a refused date.
    void setTextRed(bool red);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_editing = false;
    bool m_ending = false;
};
