#include "shell/ui/FindPersonSearchField.h"

#include <QKeyEvent>

#include <algorithm>

FindPersonSearchField::FindPersonSearchField(QWidget* parent)
    : QLineEdit(parent)
{
}

QSize FindPersonSearchField::sizeHint() const
{
    QSize hint = QLineEdit::sizeHint();
    // The line edit's own hint is room for 17 'x'; the prompt takes the place of that text.
    const QFontMetrics metrics = fontMetrics();
    const int extra = metrics.horizontalAdvance(placeholderText() + QStringLiteral("  "))
        - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
    hint.rwidth() += std::max(0, extra);
    return hint;
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
