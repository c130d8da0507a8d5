#pragma once

#include <QTextEdit>

#include <functional>

class LargeTextView;
class QLabel;

// A notes or comments text of the person editor and the notes dialogs: plain text, spelling underlined, an undo
// history of its own (typing is undone here, never through the database's undo). What was typed reaches the
// record through `commit` when the edit ends: the focus leaves (for another window too, but not for a menu), or
// endEditing() is called.
//
// A text of more than kLargeText characters (another program or an old import may leave notes of 100 MB) is shown
// read-only in a LargeTextView over the box, which shares the stored text instead of laying out copies of it; a
// line above it says why it cannot be changed here. Nothing is written back from such a box.
class NotesTextEdit : public QTextEdit {
    Q_OBJECT
public:
    static constexpr qsizetype kLargeText = 1000 * 1000;

    explicit NotesTextEdit(QWidget* parent = nullptr);

    // Writes the typed text to the record.
    std::function<void(const QString& text)> commit;

    // Shows a stored text; the undo history starts afresh.
    void setValue(const QString& text);
    // The text shown, typed changes included.
    QString value() const;
    // The view of a large text, while one is shown.
    LargeTextView* largeTextView() const;
    bool isEditing() const;
    // Shows a text that changed elsewhere, unless something is typed here (written when the edit ends).
    void showStored(const QString& text);
    // Commits a changed text.
    void endEditing();
    // The text's size, taken as the tables' sizes are (desktopPointSize).
    void setPointSize(long size);
    // The room around the text; what was typed stays unwritten, and a text not typed in stays unchanged.
    void setMargin(qreal margin);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showLarge(const QString& text);
    void leaveLarge();

    QWidget* m_largeBox = nullptr;
    QLabel* m_largeNote = nullptr;
    LargeTextView* m_largeView = nullptr;
    bool m_large = false;
    bool m_wasReadOnly = false;
};
