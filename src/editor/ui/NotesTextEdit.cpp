#include "editor/ui/NotesTextEdit.h"

#include "shell/SpellChecker.h"
#include "shell/ui/SpellCheckHighlighter.h"

#include <QFocusEvent>

NotesTextEdit::NotesTextEdit(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setMargin(5);
    SpellCheckHighlighter::attach(this, SpellChecker::shared());
}

void NotesTextEdit::setValue(const QString& text)
{
    if (toPlainText() != text)
        setPlainText(text);
    document()->clearUndoRedoStacks();
    document()->setModified(false);
}

bool NotesTextEdit::isEditing() const
{
    return document()->isModified();
}

void NotesTextEdit::showStored(const QString& text)
{
    if (!isEditing() && toPlainText() != text)
        setValue(text);
}

void NotesTextEdit::endEditing()
{
    if (!isEditing())
        return;
    document()->setModified(false);
    if (commit)
        commit(toPlainText());
}

void NotesTextEdit::setPointSize(long size)
{
    if (size <= 0)
        return;
    QFont f = font();
    if (f.pointSize() == int(size))
        return;
    f.setPointSize(int(size));
    setFont(f);
}

void NotesTextEdit::setMargin(qreal margin)
{
    // The document counts a new margin as a change; taken for typing, it kept the first text shown from loading
    // and wrote the empty box over the record's notes when the edit ended.
    const bool typed = document()->isModified();
    document()->setDocumentMargin(margin);
    document()->setModified(typed);
}

void NotesTextEdit::focusOutEvent(QFocusEvent* event)
{
    QTextEdit::focusOutEvent(event);
    // Leaving for another window ends the edit too: free text has nothing to refuse, and a text left typed here
    // while the same notes change in another window would later be written over them. Only a menu (the spelling
    // suggestions) leaves the edit open.
    if (event->reason() != Qt::PopupFocusReason)
        endEditing();
}
