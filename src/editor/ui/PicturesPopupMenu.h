#pragma once

#include "editor/PicturesMenuItem.h"

#include "shell/ui/ModelPopupMenu.h"

#include <optional>

// The pictures page's context menu on screen: the menu model (PicturesMenuBuilder) as a QMenu in the user's font at
// 13 points, with key equivalents, icons and the red "Arial" entry of the page's own person; items without a
// command show disabled.
//
//   if (auto chosen = PicturesPopupMenu::exec(menu, globalPos, this))
//       perform(*chosen);
class PicturesPopupMenu : public ModelPopupMenu<PicturesMenuItem> {
    Q_OBJECT
public:
    PicturesPopupMenu(const PicturesMenu& model, QWidget* parent);

    // Shows the menu at the point (global coordinates) until the user chooses or leaves it; the item chosen.
    static std::optional<PicturesMenuItem> exec(const PicturesMenu& model, const QPoint& globalPos, QWidget* parent);
};
