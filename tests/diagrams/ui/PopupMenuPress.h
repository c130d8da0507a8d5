#pragma once

// Secondary presses on a diagram view in tests, and choosing an item of the context menu that shows.

#include "diagrams/ui/DiagramPopupMenu.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// Runs `action`, which shows a context menu; `inMenu` runs while the menu shows and may choose an item (the menu is
// closed after it otherwise). Answers whether a menu showed.
inline bool whileMenuShows(QObject* context, const std::function<void(DiagramPopupMenu*)>& inMenu,
                           const std::function<void()>& action)
{
    bool shown = false;
    QTimer::singleShot(0, context, [&] {
        auto* menu = qobject_cast<DiagramPopupMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        shown = true;
        inMenu(menu);
        if (menu->isVisible())
            menu->close();
    });
    action();
    return shown;
}

// A secondary press at a point of the view, with `inMenu` as above.
inline bool pressSecondary(QWidget* view, const QPointF& at, const std::function<void(DiagramPopupMenu*)>& inMenu)
{
    return whileMenuShows(view, inMenu, [&] {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at.toPoint(), view->mapToGlobal(at.toPoint()));
        QCoreApplication::sendEvent(view, &event);
    });
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
