#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class FTEvent;
class FTMoc;

// What the event names editor does to a family database, apart from its window: the other personal event types
// that have events, the names given to the events of a type (filtered by a part of the name), the events with a
// name (of one year, when a year is given), renaming a name in those events and deleting an event. A rename is one
// undo step, saved at its end. Questions and messages go through Prompts.
//
//   EventNamesEditing names(moc);
//   names.setSubtypeFilter(names.eventSubtypes().first());
//   QList<FTEvent*> events = names.eventsNamed(names.eventNames().first());
class EventNamesEditing {
public:
    explicit EventNamesEditing(FTMoc* moc);

    FTMoc* moc() const { return m_moc; }

    // The display names of the other personal event types, in the vocabulary's order, without the types that no
    // event has.
    QStringList eventSubtypes() const;

    // The type whose names are listed (its display name; empty: the names of every other personal event). Clears
    // the name filter and lists the names again.
    void setSubtypeFilter(const QString& typeName);
    QString subtypeFilter() const { return m_subtypeFilter; }
    // A part that the listed names must hold (case and accents ignored); lists the names again.
    void setEventNameFilter(const QString& text);
    QString eventNameFilter() const { return m_eventNameFilter; }
    // The year the listed events must have (its leading digits; empty: any year). The names stay as they are.
    void setEventYearFilter(const QString& text) { m_eventYearFilter = text; }
    QString eventYearFilter() const { return m_eventYearFilter; }

    void refreshEventNamesArray();
    const QStringList& eventNames() const { return m_eventNames; }
    // The events, of any type, that carry `name`, and have the filter's year when one is set.
    QList<FTEvent*> eventsNamed(const QString& name) const;

    // Gives `events` (those shown for the name) the name `newName` and says how many; the year filter is cleared
    // and the names listed again. False, with nothing done, for an unchanged name.
    bool renameEventName(const QString& oldName, const QString& newName, const QList<FTEvent*>& events);
    // Asks, then deletes the event; false when the user kept it. `letGo` (may be empty) runs between the answer
    // and the deletion, for whatever still holds the event.
    bool deleteEvent(FTEvent* event, const std::function<void()>& letGo = {});

    // The leading digits of a typed year as a number ("1900s" is 1900); 0 without any.
    static int yearValue(const QString& text);

private:
    FTMoc* m_moc;
    QString m_subtypeFilter;
    QString m_eventNameFilter;
    QString m_eventYearFilter;
    QStringList m_eventNames;
};
