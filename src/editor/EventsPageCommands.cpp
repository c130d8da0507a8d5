#include "editor/EventsPageCommands.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/EventInfo.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QMap>

namespace {
const char* const kActiveEventTags[] = { "CENS", "EMIG", "IMMI", "EVEN", "RESI" };

// "<key> "<name> on <date>"", the active event named in a menu.
QString titleWithEvent(const char* key, const FTEvent* event)
{
    QString named = event->name();
    if (const QString date = event->date(); !date.isEmpty())
        named += QStringLiteral(" %1 %2").arg(LocalizedString(QStringLiteral("ConjunctiveOn")), date);
    return QStringLiteral("%1 \"%2\"").arg(LocalizedString(QString::fromLatin1(key)), named);
}
}

FTEvent* EventsPageCommands::addEventWithType(FTPerson* person, const QString& tag)
{
    if (!person || !person->moc() || tag.isEmpty())
        return nullptr;
    int type = FTEvent::OtherPersonalEvent;
    if (tag == QLatin1String("BIRT") || tag == QLatin1String("DEAT")) {
        const bool birth = tag == QLatin1String("BIRT");
        if (birth ? person->birth() : person->death()) {
            DisplayMsg(QStringLiteral("%1 %2").arg(person->name(),
                LocalizedString(birth ? QStringLiteral("alreadyHasBirth") : QStringLiteral("alreadyHasDeath"))));
            return nullptr;
        }
        type = birth ? FTEvent::BirthEvent : FTEvent::DeathEvent;
    }
    return FTEvent::initInMoc(person->moc(), type, person, tag);
}

void EventsPageCommands::eventRemove(FTEvent* event, FTPerson* owner)
{
    FTMoc* moc = event ? event->moc() : nullptr;
    if (!moc || event->isDeleted())
        return;
    if (FTMocUndoManager* undo = moc->undoManager())
        undo->setActionName(
            QStringLiteral("%1: %2").arg(LocalizedString(QStringLiteral("DeleteEvent")), event->name()));
    moc->deleteObject(event);
    if (owner)
        NotificationCenter::defaultCenter().post(QStringLiteral("PersonNameOrDateChanged"), owner, moc);
}

bool EventsPageCommands::canBeMadeActive(const FTEvent* event)
{
    if (!event || event->type() != FTEvent::OtherPersonalEvent)
        return false;
    const QString subtype = event->subtype();
    for (const char* tag : kActiveEventTags)
        if (subtype == QLatin1String(tag))
            return true;
    return false;
}

QString EventsPageCommands::activeEventExplanation()
{
    const QMap<QString, QString> names = Utils::eventTypesDictionary(-1);
    QString text = LocalizedString(QStringLiteral("CloneEvent"));
    for (const char* tag : kActiveEventTags)
        text += QStringLiteral("\n%1 - %2").arg(QString::fromLatin1(tag), names.value(QString::fromLatin1(tag)));
    return text + QStringLiteral("\n\n") + LocalizedString(QStringLiteral("CloneEvent2"));
}

bool EventsPageCommands::activeEventSave(FTEvent* event)
{
    if (!canBeMadeActive(event) || !event->moc()) {
        Utils::displayMsgWithTitle(activeEventExplanation(), LocalizedString(QStringLiteral("CloneEeventInfo")));
        return false;
    }
    event->moc()->setActiveEventURI(event->objectURI());
    return true;
}

void EventsPageCommands::activeEventDeactivate(FTMoc* moc)
{
    if (moc)
        moc->setActiveEventURI({});
}

FTEvent* EventsPageCommands::activeEvent(FTMoc* moc)
{
    FTEvent* event = moc ? moc->activeEvent() : nullptr;
    return event && !event->isDeleted() ? event : nullptr;
}

FTEvent* EventsPageCommands::activeEventClone(FTMoc* moc, FTPerson* person)
{
    FTEvent* active = activeEvent(moc);
    if (!active || !person || active->type() != FTEvent::OtherPersonalEvent)
        return nullptr;
    FTEvent* clone = FTEvent::cloneEvent(active, person);
    if (!clone)
        return nullptr;
    if (const int cited = clone->cloneSourceRefsfromEvent(active); cited > 0)
        DisplayMsg(QStringLiteral("%1 Source References have also been cloned.").arg(cited));
    return clone;
}

void EventsPageCommands::attachEventToActiveSource(FTEvent* event, const std::function<void()>& openSourcesEditor)
{
    FTMoc* moc = event ? event->moc() : nullptr;
    if (!moc)
        return;
    if (FTSource* source = moc->activeSource()) {
        event->addReferenceToSource(source);
        return;
    }
    if (Utils::askToActivateSource() && openSourcesEditor)
        openSourcesEditor();
}

QString EventsPageCommands::citationsToolTip(const EventInfo& row)
{
    const FTEvent* event = row.pEvent();
    if (!event || event->isDeleted())
        return {};
    QStringList blocks;
    for (const FTSourceRel* citation : event->sourceRels()) {
        const FTSource* source = citation->source();
        blocks << QStringLiteral("%1: %2\n%3\n\n%4")
                      .arg(LocalizedString(QStringLiteral("Source")))
                      .arg(source ? source->numericId() : 0)
                      .arg(source ? source->shortDescription() : QString(), citation->notes());
    }
    QString text = blocks.join(QStringLiteral("\n\n**********************\n"));
    while (text.contains(QLatin1String("\n\n")))
        text.replace(QLatin1String("\n\n"), QLatin1String("\n"));
    return text;
}

QList<EventsPageCommands::MenuItem> EventsPageCommands::contextMenu(const EventInfo* row, FTMoc* moc)
{
    using Item = MenuItem;
    const FTEvent* event = row && row->pEvent() && !row->pEvent()->isDeleted() ? row->pEvent() : nullptr;
    const FTEvent* active = activeEvent(moc);
    const Item separator;
    QList<Item> menu;
    if (!event) {
        if (active)
            menu << Item { Item::CloneActiveEvent, titleWithEvent("CloneActiveEvent", active) };
        return menu;
    }
    menu << Item { Item::EditEvent, LocalizedString(QStringLiteral("EditEvent")) }
         << Item { Item::DeleteEvent, LocalizedString(QStringLiteral("DeleteEvent")) } << separator
         << Item { Item::MakeActiveEvent, LocalizedString(QStringLiteral("MakeItTheActiveEvent")) };
    if (active)
        menu << Item { Item::CloneActiveEvent, titleWithEvent("CloneActiveEvent", active) }
             << Item { Item::DeactivateActiveEvent, titleWithEvent("DeactivateEvent", active) };
    else
        menu << Item { Item::CloneActiveEvent, LocalizedString(QStringLiteral("CloneActiveEvent")), false };
    menu << separator;
    const FTSource* source = moc ? moc->activeSource() : nullptr;
    // Without an active source the item names no number: choosing it opens the sources to pick one from.
    QString cite = source ? QStringLiteral("%1 %2").arg(LocalizedString(QStringLiteral("AddRefToSource")),
                                                        QString::number(source->numericId()))
                          : LocalizedString(QStringLiteral("CiteNoActiveSource"));
    if (source && !source->type().isEmpty())
        cite += QStringLiteral(" (%1)").arg(source->type());
    menu << Item { Item::CiteActiveSource, cite };
    if (!event->place().isEmpty())
        menu << separator << Item { Item::GoogleMaps, LocalizedString(QStringLiteral("GoogleMaps")) };
    return menu;
}
