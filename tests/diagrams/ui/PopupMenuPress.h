#pragma once

// Secondary presses on a diagram view in tests, and choosing an item of the context menu that shows.

#include "diagrams/ui/DiagramPopupMenu.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// A secondary press at a point of the view; `inMenu` runs while the menu shows and may choose an item (the menu is
// closed after it otherwise). Answers whether a menu showed.
inline bool pressSecondary(QWidget* view, const QPointF& at, const std::function<void(DiagramPopupMenu*)>& inMenu)
{
    bool shown = false;
    QTimer::singleShot(0, view, [&] {
        auto* menu = qobject_cast<DiagramPopupMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        shown = true;
        inMenu(menu);
        if (menu->isVisible())
            menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at.toPoint(), view->mapToGlobal(at.toPoint()));
    QCoreApplication::sendEvent(view, &event);
    return shown;
}

inline QAction* actionTitled(QMenu* menu, const QString& titleStart)
{
    for (QAction* a : menu->actions())
        if (a->text().startsWith(titleStart))
            return a;
    return nullptr;
}

inline void choose(QMenu* menu, QAction* action)
{
    ASSERT_TRUE(action);
    menu->setActiveAction(action);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &press);
}
