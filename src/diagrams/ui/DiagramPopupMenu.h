#pragma once

#include "diagrams/DiagramMenuItem.h"

#include <QHash>
#include <QMenu>

#include <optional>

// A diagram's context menu on screen: the menu model (DiagramMenuBuilder) as a QMenu in the user's font at 13
// points, with the key equivalents beside the titles, the icons, and the own font and colour of an entry (the
// person's own entry among the siblings). Items without a command show disabled.
//
//   if (auto chosen = DiagramPopupMenu::exec(model, globalPos, this))
//       commands.perform(*chosen);
class DiagramPopupMenu : public QMenu {
    Q_OBJECT
public:
    DiagramPopupMenu(const DiagramMenu& model, QWidget* parent);

    // The item of an action of this menu or of its submenus; null for another action.
    const DiagramMenuItem* itemFor(const QAction* action) const;

    // Shows the menu at the point (global coordinates) until the user chooses or leaves it; the item chosen.
    static std::optional<DiagramMenuItem> exec(const DiagramMenu& model, const QPoint& globalPos, QWidget* parent);

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;

private:
    DiagramPopupMenu(const DiagramMenu& model, QWidget* parent, DiagramPopupMenu* top);
    void fill(const DiagramMenu& model);

    DiagramPopupMenu* m_top;
    // The items by action, kept in the top menu for the whole tree.
    QHash<const QAction*, DiagramMenuItem> m_items;
};
