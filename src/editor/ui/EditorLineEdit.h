#pragma once

#include <QLineEdit>

#include <functional>

// A one-line field of the person editor whose edit is checked when it ends. The edit ends on Return or Enter,
// when the focus leaves the field, or through endEditing(); a check that refuses keeps the focus and the text
// in the field, and nothing is written. The user leaves a refused edit by putting the text right, or by Escape
// (in the field, or in the alert that said why): the stored value comes back and the edit ends.
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
    // The stored value changed while the user edits the field: Escape gives back this one.
    void setStoredValue(const QString& value) { m_stored = value; }
    QString storedValue() const { return m_stored; }
    // Whether the user changed the text since the last shown value.
    bool isEditing() const { return m_editing; }
    // The last end of the edit was refused and the text is unchanged since.
    bool isRefused() const { return m_editing && m_refused; }
    // Ends the edit; false when its check refused it.
    bool endEditing();
    // Gives up the edit: the stored value is shown again.
    void revert();
    // Red text marks a refused date.
    void setTextRed(bool red);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString m_stored;
    bool m_editing = false;
    bool m_ending = false;
    bool m_refused = false;
};
