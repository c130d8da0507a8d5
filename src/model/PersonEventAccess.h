#pragma once

#include <QString>
#include <QtGlobal>

class FTEvent;
class FTManagedObject;
class FTMoc;

// What people, couples and parent-child links read of events and how they make the events they own on demand
// (a birth when "birth.date" is set, a marriage when "marriage.place" is set). Null events read as no date.
namespace PersonEventAccess {
// The packed sort key of the event's date (Dates::getLongDate); 0 for no event or no date.
quint32 lDate(const FTEvent* event);
// lDate(); for an undated birth, the date of the marriage of the owner's natural parents, so that such a child
// sorts after the marriage; else 0.
quint32 lbDate(const FTEvent* event);
// Whole years from `earlier` to `event` (0 when `earlier` has no year or is later).
int yearsSince(const FTEvent* event, const FTEvent* earlier);
// A new event of a type (300 birth, 301 death, 302 marriage, 303 other personal, 304 other marriage event) owned
// by a person or a couple, with its subtype and event type, numbered from maxEventId outside an import.
FTEvent* newEvent(FTMoc* moc, int type, FTManagedObject* owner, const QString& subtype);
}
