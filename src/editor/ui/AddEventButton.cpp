#include "editor/ui/AddEventButton.h"

#include "editor/AddEventMenu.h"
#include "editor/AddEventReceiver.h"

#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"

#include <QMenu>
#include <QMouseEvent>

namespace {
void addEntries(QMenu* menu, const QList<AddEventMenu::Entry>& entries, AddEventButton* button)
{
    for (const AddEventMenu::Entry& entry : entries) {
        switch (entry.kind) {
        case AddEventMenu::Entry::Separator:
            menu->addSeparator();
            break;
        case AddEventMenu::Entry::Submenu:
            addEntries(menu->addMenu(entry.title), entry.items, button);
            break;
        case AddEventMenu::Entry::Item: {
            const QString name = entry.name;
            QAction* action = menu->addAction(entry.title);
            action->setData(name);
            QObject::connect(action, &QAction::triggered, button, [button, name] { button->addEvent(name); });
            break;
        }
        }
    }
}
}

AddEventButton::AddEventButton(QWidget* parent)
    : QPushButton(parent)
    , m_eventNames(AddEventMenu::defaultEventNames())
{
    setText(LocalizedString(QStringLiteral("AddEvent")));
    setIcon(themeIcon(QStringLiteral("list-add")));
}

void AddEventButton::setEventNamesArray(const QStringList& names)
{
    m_eventNames = names.isEmpty() ? AddEventMenu::defaultEventNames() : names;
}

QMenu* AddEventButton::createMenu(QWidget* parent)
{
    auto* menu = new QMenu(LocalizedString(QStringLiteral("EventTypes")), parent);
    addEntries(menu, AddEventMenu::eventMenu(m_eventNames), this);
    return menu;
}

QMenu* AddEventButton::popUpMenu(const QPoint& pressPos)
{
    QMenu* menu = createMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QPoint at = mapToGlobal(pressPos);
    if (m_beside) {
        const QPoint local = AddEventMenu::popupPoint(rect(), int(menu->actions().size()));
        at = mapToGlobal(local);
    }
    menu->popup(at);
    return menu;
}

void AddEventButton::addEvent(const QString& name)
{
    const QString tag = AddEventMenu::tagForEventChoice(name);
    if (!tag.isEmpty() && m_delegate)
        m_delegate->addEventWithType(tag);
}

bool AddEventButton::event(QEvent* event)
{
    // Taken before the button's own handling, which a disabled button would not get.
    if (event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton) {
            event->accept();
            popUpMenu(press->position().toPoint());
            return true;
        }
    }
    return QPushButton::event(event);
}
