#include "editor/ui/AddMarriageEventButton.h"

#include "editor/AddEventMenu.h"
#include "editor/AddEventReceiver.h"

#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"

#include <QMenu>
#include <QMouseEvent>

AddMarriageEventButton::AddMarriageEventButton(QWidget* parent)
    : QPushButton(parent)
{
    setText(LocalizedString(QStringLiteral("AddEvent")));
    setIcon(themeIcon(QStringLiteral("list-add")));
}

QMenu* AddMarriageEventButton::createMenu(QWidget* parent)
{
    auto* menu = new QMenu(LocalizedString(QStringLiteral("EventTypes")), parent);
    for (const AddEventMenu::Entry& entry : AddEventMenu::marriageEventMenu()) {
        const QString name = entry.name;
        QAction* action = menu->addAction(entry.title);
        action->setData(name);
        connect(action, &QAction::triggered, this, [this, name] { addEvent(name); });
    }
    return menu;
}

QMenu* AddMarriageEventButton::popUpMenu()
{
    if (!isEnabled())
        return nullptr;
    QMenu* menu = createMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(mapToGlobal(AddEventMenu::popupPoint(rect(), int(menu->actions().size()))));
    return menu;
}

void AddMarriageEventButton::addEvent(const QString& name)
{
    const QString tag = AddEventMenu::tagForMarriageEventChoice(name);
    if (AddEventReceiver* to = receiver(); to && !tag.isEmpty())
        to->addEventWithType(tag);
}

AddEventReceiver* AddMarriageEventButton::receiver() const
{
    return m_delegate ? m_delegate : dynamic_cast<AddEventReceiver*>(window());
}

void AddMarriageEventButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QPushButton::mousePressEvent(event);
    event->accept();
    popUpMenu();
}
