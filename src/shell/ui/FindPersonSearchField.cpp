#include "shell/ui/FindPersonSearchField.h"

#include <QKeyEvent>

FindPersonSearchField::FindPersonSearchField(QWidget* parent)
    : QLineEdit(parent)
{
}

void FindPersonSearchField::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (didBecomeFirstResponder)
        didBecomeFirstResponder();
}

void FindPersonSearchField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && escapePressed) {
        escapePressed();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FindPersonSearchField::mousePressEvent(QMouseEvent* event)
{
    // The first click reaches focusInEvent; a click into the field that already has the keyboard comes here.
    const bool hadFocus = hasFocus();
    QLineEdit::mousePressEvent(event);
    if (hadFocus && didBecomeFirstResponder)
        didBecomeFirstResponder();
}
