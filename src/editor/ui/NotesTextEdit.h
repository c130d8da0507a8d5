#pragma once

#include <QTextEdit>

#include <functional>

// A notes or comments text of the person editor and the notes dialogs: plain text, spelling underlined, an undo
// history of its own (typing is undone here, never through the database's undo). What was typed reaches the
// record through `commit` when the edit ends: the focus leaves (for another window too, but not for a menu), or
// endEditing() is called.
class NotesTextEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit NotesTextEdit(QWidget* parent = nullptr);

    // Writes the typed text to the record.
    std::function<void(const QString& text)> commit;

    // Shows a stored text; the undo history starts afresh.
    void setValue(const QString& text);
    bool isEditing() const;
    // Shows a text that changed elsewhere, unless something is typed here (written when the edit ends).
    void showStored(const QString& text);
    // Commits a changed text.
    void endEditing();
    void setPointSize(long size);
    // The room around the text; what was typed stays unwritten, and a text not typed in stays unchanged.
    void setMargin(qreal margin);

protected:
    void focusOutEvent(QFocusEvent* event) override;
};
