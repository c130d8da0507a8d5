#pragma once

// Context menus in ui tests: running a check while a menu shows, a secondary click, and choosing an item.

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// Runs `action`, which shows a context menu; `inMenu` runs while the menu shows and may choose an item (the menu is
// closed after it otherwise). Answers whether a menu of the class `Menu` showed.
template <class Menu>
bool whileMenuShows(QObject* context, const std::function<void(Menu*)>& inMenu, const std::function<void()>& action)
{
    bool shown = false;
    QTimer::singleShot(0, context, [&] {
        auto* menu = dynamic_cast<Menu*>(QApplication::activePopupWidget());
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

// A secondary click at a point of `widget`, with `inMenu` as above.
template <class Menu>
bool secondaryClick(QWidget* widget, const QPointF& at, const std::function<void(Menu*)>& inMenu)
{
    return whileMenuShows<Menu>(widget, inMenu, [&] {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at.toPoint(), widget->mapToGlobal(at.toPoint()));
        QCoreApplication::sendEvent(widget, &event);
    });
}

// The item whose title starts with `titleStart`; null when there is none.
inline QAction* actionTitled(QMenu* menu, const QString& titleStart)
{
    for (QAction* a : menu->actions())
        if (a->text().startsWith(titleStart))
            return a;
    return nullptr;
}

// Chooses the item as the keyboard does.
inline void choose(QMenu* menu, QAction* action)
{
    ASSERT_TRUE(action);
    menu->setActiveAction(action);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &press);
}
