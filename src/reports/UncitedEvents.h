#pragma once

#include <QList>

class FTEvent;
class FTMoc;
class FTPerson;

// The events of a whole database that no source cites, to be worked through one by one.
namespace UncitedEvents {
// Every event of the database: births, deaths, marriages and the other events of people and couples.
QList<FTEvent*> allEvents(FTMoc* moc);
// The events of `events` without a citation (`excludeCited`), or all of them.
QList<FTEvent*> filter(const QList<FTEvent*>& events, bool excludeCited);
// The person an event is about, to become the focal person: the owner of a person's event; for a couple with both
// partners, the one the user picks (asked with the two first names); null for a couple without both or no event.
FTPerson* personToPromote(const FTEvent* event);
}
