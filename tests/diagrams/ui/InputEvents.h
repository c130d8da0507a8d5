#pragma once

// Mouse, wheel and key events sent straight to a widget, as the window system would deliver them.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace InputEvents {
// A press, release, double press or move of the primary button (a move without `buttons` is the pointer resting).
inline void mouse(QWidget* w, QEvent::Type type, const QPointF& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                  Qt::MouseButtons buttons = Qt::LeftButton)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    if (type == QEvent::MouseButtonRelease)
        buttons = Qt::NoButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), button, buttons, modifiers);
    QCoreApplication::sendEvent(w, &e);
}

inline void click(QWidget* w, const QPointF& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    mouse(w, QEvent::MouseButtonPress, at, modifiers);
    mouse(w, QEvent::MouseButtonRelease, at, modifiers);
}

inline void hover(QWidget* w, const QPointF& at)
{
    mouse(w, QEvent::MouseMove, at, Qt::NoModifier, Qt::NoButton);
}

// One notch of the wheel (120 eighths of a degree; positive is turned away from the user) at a time stamp.
inline void wheel(QWidget* w, const QPointF& at, int angleDelta, ulong ms)
{
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, angleDelta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    e.setTimestamp(ms);
    QCoreApplication::sendEvent(w, &e);
}

inline void key(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {},
                ulong ms = 0)
{
    QKeyEvent e(QEvent::KeyPress, key, modifiers, text);
    e.setTimestamp(ms);
    QCoreApplication::sendEvent(w, &e);
}

// Types the text one character at a time.
inline void type(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        key(w, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}
}
