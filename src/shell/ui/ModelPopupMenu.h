#pragma once

#include "shell/ui/ThemeIcon.h"

#include <QApplication>
#include <QColor>
#include <QHash>
#include <QMenu>
#include <QStyleOptionMenuItem>

#include <optional>
#include <vector>

// A context menu made from a menu model (a list of items built afresh for every secondary click): the items as
// actions in the desktop's menu font, like every other menu, with their key equivalents and icons and an item's
// own font and colour; items that are not enabled show disabled. The chosen item comes back with the command and object it names.
//
// `Item` has isSeparator, title, keyEquivalent, iconName, font (an optional QFont), colour (invalid: the menu's),
// submenu (a std::vector<Item>) and isEnabled(). A window shows one as it is, or as a class of its own derived from
// ModelPopupMenu<Item>:
//
//   if (auto chosen = ModelPopupMenu<PicturesMenuItem>::exec(model, globalPos, this, "PicturesPopupMenu")) ...
//   class DiagramPopupMenu : public ModelPopupMenu<DiagramMenuItem> { ... };
//   if (auto chosen = ModelPopupMenu<DiagramMenuItem>::execMenu<DiagramPopupMenu>(model, globalPos, this, name)) ...
template <class Item> class ModelPopupMenu : public QMenu {
public:
    using Model = std::vector<Item>;

    ModelPopupMenu(const Model& model, QWidget* parent)
        : ModelPopupMenu(model, parent, nullptr)
    {
    }

    // The item of an action of this menu or of its submenus; null for another action.
    const Item* itemFor(const QAction* action) const
    {
        const auto it = m_top->m_items.constFind(action);
        return it == m_top->m_items.constEnd() ? nullptr : &it.value();
    }

    // Shows a menu of the class `Menu` (named `objectName`) at the point (global coordinates) until the user
    // chooses or leaves it; the item chosen.
    template <class Menu>
    static std::optional<Item> execMenu(
        const Model& model, const QPoint& globalPos, QWidget* parent, const QString& objectName)
    {
        if (model.empty())
            return std::nullopt;
        Menu menu(model, parent);
        menu.setObjectName(objectName);
        const QAction* chosen = menu.QMenu::exec(globalPos);
        const Item* item = chosen ? menu.itemFor(chosen) : nullptr;
        if (!item || !item->isEnabled())
            return std::nullopt;
        return *item;
    }

    static std::optional<Item> exec(
        const Model& model, const QPoint& globalPos, QWidget* parent, const QString& objectName)
    {
        return execMenu<ModelPopupMenu>(model, globalPos, parent, objectName);
    }

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override
    {
        QMenu::initStyleOption(option, action);
        const Item* item = itemFor(action);
        if (item && item->colour.isValid())
            for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
                option->palette.setColor(role, item->colour);
    }

private:
    ModelPopupMenu(const Model& model, QWidget* parent, ModelPopupMenu* top)
        : QMenu(parent)
        , m_top(top ? top : this)
    {
        fill(model);
    }

    void fill(const Model& model)
    {
        for (const Item& item : model) {
            if (item.isSeparator) {
                addSeparator();
                continue;
            }
            QAction* action = nullptr;
            if (!item.submenu.empty()) {
                auto* sub = new ModelPopupMenu(item.submenu, this, m_top);
                sub->setTitle(item.title);
                action = addMenu(sub);
            } else {
                action = addAction(item.title);
            }
            if (!item.keyEquivalent.isEmpty())
                action->setShortcut(item.keyEquivalent);
            if (!item.iconName.isEmpty())
                action->setIcon(themeIcon(item.iconName));
            if (item.font)
                action->setFont(*item.font);
            action->setEnabled(item.isEnabled());
            Item kept = item;
            kept.submenu.clear();
            m_top->m_items.insert(action, kept);
        }
    }

    // The items by action, kept in the top menu for the whole tree.
    ModelPopupMenu* m_top;
    QHash<const QAction*, Item> m_items;
};
