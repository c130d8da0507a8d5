#include "editor/ui/EditorLineEdit.h"

#include "editor/ui/LineEditDateField.h"

#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

namespace {
// Keys that would change the text: characters, deleting, and cutting or pasting.
bool changesText(QKeyEvent* e)
{
    if (e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Delete)
        || e->matches(QKeySequence::Backspace))
        return true;
    if (e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete)
        return true;
    const QString text = e->text();
    return !text.isEmpty() && text.at(0).isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}
}

EditorLineEdit::EditorLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, [this] { m_editing = true; });
}

void EditorLineEdit::setValue(const QString& value)
{
    m_editing = false;
    setTextRed(false);
    if (text() != value)
        setText(value);
    setCursorPosition(0);
}

bool EditorLineEdit::endEditing()
{
    if (!m_editing || m_ending)
        return !m_editing;
    m_ending = true;
    const bool ended = !shouldEndEditing || shouldEndEditing();
    m_ending = false;
    if (ended)
        m_editing = false;
    return ended;
}

void EditorLineEdit::setTextRed(bool red)
{
    LineEditDateField(this).setTextRed(red);
}

void EditorLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        endEditing();
        event->accept();
        return;
    }
    if (!m_editing && shouldBeginEditing && changesText(event) && !shouldBeginEditing()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EditorLineEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // An alert or a menu taking the focus for a moment is not the end of the edit.
    if (m_ending || event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    if (!endEditing()) {
        QPointer<EditorLineEdit> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self && self->isVisible())
                self->setFocus(Qt::OtherFocusReason);
        });
    }
}
