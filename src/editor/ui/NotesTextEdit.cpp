#include "editor/ui/NotesTextEdit.h"

#include "shell/SpellChecker.h"
#include "shell/ui/SpellCheckHighlighter.h"

#include <QFocusEvent>

NotesTextEdit::NotesTextEdit(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(false);
    setTabChangesFocus(true);
    document()->setDocumentMargin(5);
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

void NotesTextEdit::focusOutEvent(QFocusEvent* event)
{
    QTextEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        endEditing();
}
