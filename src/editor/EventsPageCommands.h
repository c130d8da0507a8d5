#pragma once

#include <QList>
#include <QString>

#include <functional>

class EventInfo;
class FTEvent;
class FTMoc;
class FTPerson;

// What the events page's commands do to the data, and what its context menu and citation tool tips say. The
// window (InfoArea_Events) finds the row and shows the result.
//
//   if (FTEvent* e = EventsPageCommands::addEventWithType(person, "BAPM")) ... a row for e, its name edited
//   for (const auto& item : EventsPageCommands::contextMenu(row, moc)) ... build the menu
class EventsPageCommands {
public:
    // One entry of the context menu.
    struct MenuItem {
        enum Action {
            Separator,
            EditEvent,
            DeleteEvent,
            MakeActiveEvent,
            CloneActiveEvent,
            DeactivateActiveEvent,
            CiteActiveSource,
            GoogleMaps
        };
        Action action = Separator;
        QString title;
        bool enabled = true;
    };

    // A new event of the tag for the person: "BIRT" a birth and "DEAT" a death (refused, with the person's name
    // and "alreadyHasBirth" / "alreadyHasDeath", when there is one), any other tag an other personal event. It
    // cites the active source. Null when refused.
    static FTEvent* addEventWithType(FTPerson* person, const QString& tag);

    // Deletes the event, named "Delete Event: <name>" for undo, and tells the views that the owner changed.
    static void eventRemove(FTEvent* event, FTPerson* owner);

    // The active event is the one the user clones onto other people: only a census, emigration, immigration,
    // other event or residence (other personal events) can be it.
    static bool canBeMadeActive(const FTEvent* event);
    // The explanation shown instead: which events can be made active.
    static QString activeEventExplanation();
    // Makes the event the active one, or explains which events can be; false then.
    static bool activeEventSave(FTEvent* event);
    static void activeEventDeactivate(FTMoc* moc);
    // The database's active event; null when none is set or it was deleted.
    static FTEvent* activeEvent(FTMoc* moc);
    // A copy of the active event (an other personal event) with its citations for the person; the number of
    // citations copied is told. Null when there is no active event of that type.
    static FTEvent* activeEventClone(FTMoc* moc, FTPerson* person);

    // Cites the database's active source for the event (the citation sheet follows). Without an active source
    // the user is asked whether to choose one; yes runs `openSourcesEditor`.
    static void attachEventToActiveSource(FTEvent* event, const std::function<void()>& openSourcesEditor);

    // The citations of the row's event, one block each: "Source: <n>", the source's description and the
    // citation's notes, blocks divided by a line of asterisks, no blank lines. Empty without citations.
    static QString citationsToolTip(const EventInfo& row);

    // The context menu of a row (null: below the last row). A row with an event offers editing, deleting, making
    // it the active event, cloning or deactivating the active event, citing the active source and, with a
    // place, the map. Otherwise only the clone entry, when there is an active event; empty then means no menu.
    static QList<MenuItem> contextMenu(const EventInfo* row, FTMoc* moc);
};
