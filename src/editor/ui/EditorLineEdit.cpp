#include "editor/ui/EditorLineEdit.h"

#include "editor/ui/LineEditDateField.h"

#include "platform/Prompts.h"

#include <QDialog>
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
    connect(this, &QLineEdit::textEdited, this, [this] {
        m_editing = true;
        m_refused = false;
    });
}

void EditorLineEdit::setValue(const QString& value)
{
    m_stored = value;
    m_editing = false;
    m_refused = false;
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
    const int escapes = Prompts::escapedAlerts();
    const bool ended = !shouldEndEditing || shouldEndEditing();
    m_ending = false;
    if (ended) {
        m_editing = false;
        m_refused = false;
        return true;
    }
    // The alert that said why was closed with Escape: the user gives the edit up.
    if (Prompts::escapedAlerts() != escapes) {
        revert();
        return true;
    }
    m_refused = true;
    return false;
}

void EditorLineEdit::revert()
{
    setValue(m_stored);
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
    // Escape gives the edit up. In a dialog it does so only for a refused edit, so that Escape still cancels
    // the dialog otherwise.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && m_editing
        && (m_refused || !qobject_cast<QDialog*>(window()))) {
        revert();
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
        // Only while the refused edit is still there: once it is dropped (another person shown meanwhile) the
        // field is another person's, and the keys typed next must not land in it.
        QTimer::singleShot(0, this, [self] {
            if (self && self->isVisible() && self->isRefused())
                self->setFocus(Qt::OtherFocusReason);
        });
    }
}
