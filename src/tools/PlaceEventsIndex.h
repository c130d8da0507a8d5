#pragma once

#include <QHash>
#include <QList>
#include <QString>

class FTEvent;
class FTMoc;

// The events of a family database by their exact place text, made in one pass over the events. The tools that
// visit many places (cleaning, find and replace, the listing) each make one per run and look every place up here,
// instead of searching all events once per place: ten thousand places over a quarter of a million events.
// The index does not follow the database by itself: a run that changes places tells it with move().
//
//   PlaceEventsIndex index(*moc);
//   for (const QString& place : places) for (FTEvent* e : index.events(place)) ...
class PlaceEventsIndex {
public:
    explicit PlaceEventsIndex(const FTMoc& moc);

    // The events whose place is exactly `place`, in the store's order; empty for none (and for "").
    QList<FTEvent*> events(const QString& place) const { return m_events.value(place); }
    int count(const QString& place) const { return int(m_events.value(place).size()); }
    // The events of `from` now have the place `to` (an empty `to`: they have none any more).
    void move(const QString& from, const QString& to);
    // One event's place changed from `from` to `to`.
    void move(FTEvent* event, const QString& from, const QString& to);
    // Each distinct place text, unsorted.
    QList<QString> places() const { return m_events.keys(); }

private:
    QHash<QString, QList<FTEvent*>> m_events;
};
