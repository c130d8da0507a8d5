#include "diagrams/ui/DiagramPopupMenu.h"

#include "shell/ui/ThemeIcon.h"

#include <QApplication>
#include <QStyleOptionMenuItem>

namespace {
QFont menuFont()
{
    QFont font = QApplication::font();
    font.setPointSizeF(13);
    return font;
}
}

DiagramPopupMenu::DiagramPopupMenu(const DiagramMenu& model, QWidget* parent)
    : DiagramPopupMenu(model, parent, nullptr)
{
}

DiagramPopupMenu::DiagramPopupMenu(const DiagramMenu& model, QWidget* parent, DiagramPopupMenu* top)
    : QMenu(parent)
    , m_top(top ? top : this)
{
    setFont(menuFont());
    fill(model);
}

void DiagramPopupMenu::fill(const DiagramMenu& model)
{
    for (const DiagramMenuItem& item : model) {
        if (item.isSeparator) {
            addSeparator();
            continue;
        }
        QAction* action = nullptr;
        if (!item.submenu.empty()) {
            auto* sub = new DiagramPopupMenu(item.submenu, this, m_top);
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
        DiagramMenuItem kept = item;
        kept.submenu.clear();
        m_top->m_items.insert(action, kept);
    }
}

const DiagramMenuItem* DiagramPopupMenu::itemFor(const QAction* action) const
{
    const auto it = m_top->m_items.constFind(action);
    return it == m_top->m_items.constEnd() ? nullptr : &it.value();
}

void DiagramPopupMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const
{
    QMenu::initStyleOption(option, action);
    const DiagramMenuItem* item = itemFor(action);
    if (item && item->colour.isValid()) {
        option->palette.setColor(QPalette::Text, item->colour);
        option->palette.setColor(QPalette::WindowText, item->colour);
        option->palette.setColor(QPalette::ButtonText, item->colour);
    }
}

std::optional<DiagramMenuItem> DiagramPopupMenu::exec(const DiagramMenu& model, const QPoint& globalPos,
                                                      QWidget* parent)
{
    if (model.empty())
        return std::nullopt;
    DiagramPopupMenu menu(model, parent);
    menu.setObjectName(QStringLiteral("DiagramPopupMenu"));
    const QAction* chosen = menu.QMenu::exec(globalPos);
    const DiagramMenuItem* item = chosen ? menu.itemFor(chosen) : nullptr;
    if (!item || !item->isEnabled())
        return std::nullopt;
    return *item;
}
