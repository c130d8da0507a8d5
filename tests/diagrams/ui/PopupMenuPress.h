#pragma once

// Secondary presses on a diagram view in tests, and choosing an item of the context menu that shows.

#include "ContextMenus.h"

#include "diagrams/ui/DiagramPopupMenu.h"

// Runs `action`, which shows a diagram's context menu; `inMenu` runs while the menu shows and may choose an item (the
// menu is closed after it otherwise). Answers whether a menu showed.
inline bool whileMenuShows(QObject* context, const std::function<void(DiagramPopupMenu*)>& inMenu,
                           const std::function<void()>& action)
{
    return whileMenuShows<DiagramPopupMenu>(context, inMenu, action);
}

// A secondary press at a point of the view, with `inMenu` as above.
inline bool pressSecondary(QWidget* view, const QPointF& at, const std::function<void(DiagramPopupMenu*)>& inMenu)
{
    return secondaryClick<DiagramPopupMenu>(view, at, inMenu);
}
