#include "reports/UncitedEvents.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "shell/Utils.h"

#include "platform/Localizer.h"

QList<FTEvent*> UncitedEvents::allEvents(FTMoc* moc)
{
    return moc->fetch<FTEvent>();
}

QList<FTEvent*> UncitedEvents::filter(const QList<FTEvent*>& events, bool excludeCited)
{
    if (!excludeCited)
        return events;
    QList<FTEvent*> out;
    for (FTEvent* e : events)
        if (!e->isDeleted() && e->sourceRels().isEmpty())
            out << e;
    return out;
}

FTPerson* UncitedEvents::personToPromote(const FTEvent* event)
{
    if (!event)
        return nullptr;
    if (FTPerson* person = event->person())
        return person;
    const FTSpouseRel* couple = event->spouseRel();
    if (!couple || !couple->husband() || !couple->wife())
        return nullptr;
    FTPerson* husband = couple->husband();
    FTPerson* wife = couple->wife();
    return Utils::displayYesNoQuery(
               LocalizedString(QStringLiteral("promoteHusbandOrWife")), husband->firstName(), wife->firstName())
        ? husband
        : wife;
}
