#include "model/PersonEventAccess.h"

#include "model/Dates.h"
#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTMoc.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

quint32 PersonEventAccess::lDate(const FTEvent* event)
{
    return event ? Dates::getLongDate(event->qual(), event->day(), event->month(), event->year()) : 0;
}

quint32 PersonEventAccess::lbDate(const FTEvent* event)
{
    const quint32 key = lDate(event);
    if (key != 0 || !event || event->type() != 300)
        return key;
    const FTPerson* owner = event->person();
    if (!owner)
        return 0;
    FTPerson* father = owner->naturalFather();
    FTPerson* mother = owner->naturalMother();
    if (!father || !mother)
        return 0;
    for (FTSpouseRel* couple : father->spouseRels())
        if (couple->partners().contains(mother))
            return lDate(couple->marriage());
    return 0;
}

int PersonEventAccess::yearsSince(const FTEvent* event, const FTEvent* earlier)
{
    if (!event || !earlier || earlier->year() == 0 || earlier->year() > event->year())
        return 0;
    int n = event->year() - earlier->year();
    if (event->month() != 0 && n >= 1) {
        if (earlier->month() > event->month()
            || (earlier->month() == event->month() && event->day() != 0 && earlier->day() > event->day()))
            --n;
    }
    return n;
}

FTEvent* PersonEventAccess::newEvent(FTMoc* moc, int type, FTManagedObject* owner, const QString& subtype)
{
    static const char* const kEntities[]
        = { "BirthEvent", "DeathEvent", "MarriageEvent", "OtherPersonalEvent", "OtherMarriageEvent" };
    static const char* const kUndoNames[] = { "Add Birth Event", "Add Death Event", "Add Marriage Event",
        "Add Other Personal Event", "Add Other Marriage Event" };
    if (!moc || type < 300 || type > 304)
        return nullptr;
    auto* event = static_cast<FTEvent*>(moc->insertObject(QString::fromLatin1(kEntities[type - 300])));
    event->setType(type);
    event->setDate(QString());
    event->setName(QString());
    if (!moc->importThreadIsActive()) {
        FTManagedObject::nameNewObjectAction(moc, QString::fromLatin1(kUndoNames[type - 300]));
        event->setNumericId(moc->modelDefaults()->takeNextId(FTCounter::Event));
    }
    if (type == 302 || type == 304)
        event->setSpouseRel(dynamic_cast<FTSpouseRel*>(owner));
    else
        event->setPerson(dynamic_cast<FTPerson*>(owner));
    event->setSubtype(subtype);
    if (!moc->importThreadIsActive())
        if (FTEventType* eventType = moc->eventTypeForEventGedcomCode(subtype))
            event->setEventType(eventType);
    return event;
}
