#pragma once

#include "diagrams/DiagramMenuItem.h"

#include "shell/ui/ModelPopupMenu.h"

#include <optional>

// A diagram's context menu on screen: the menu model (DiagramMenuBuilder) as a QMenu in the desktop's menu
// font, with the key equivalents beside the titles, the icons, and the own font and colour of an entry (the
// person's own entry among the siblings). Items without a command show disabled.
//
//   if (auto chosen = DiagramPopupMenu::exec(model, globalPos, this))
//       commands.perform(*chosen);
class DiagramPopupMenu : public ModelPopupMenu<DiagramMenuItem> {
    Q_OBJECT
public:
    DiagramPopupMenu(const DiagramMenu& model, QWidget* parent);

    // Shows the menu at the point (global coordinates) until the user chooses or leaves it; the item chosen.
    static std::optional<DiagramMenuItem> exec(const DiagramMenu& model, const QPoint& globalPos, QWidget* parent);
};
