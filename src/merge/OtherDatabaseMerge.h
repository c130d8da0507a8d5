#pragma once

#include <QList>

class FTEvent;
class FTManagedObject;
class FTMoc;
class FTPerson;
class QObject;

// Taking a person's data from another database into a person of the open one, a field group or an event at a
// time, for as long as the merge window is open. Nothing is ever written to the other database.
//
// Everything merged while the session lasts is one undo group of the open database: undoAll() takes it all back
// and starts afresh, and close() ends it, so that Edit > Undo afterwards removes the whole merge in one step.
//
//   OtherDatabaseMerge merge(theirs, ours);
//   merge.mergeField(MergeTag::Birth, nullptr, window);
//   merge.mergeSelectedEvent(theirBaptism, window);   // asks which of our baptisms takes it
//   merge.close();
class OtherDatabaseMerge {
public:
    OtherDatabaseMerge(FTPerson* mergeFromPerson, FTPerson* mergeIntoPerson);
    ~OtherDatabaseMerge();
    OtherDatabaseMerge(const OtherDatabaseMerge&) = delete;
    OtherDatabaseMerge& operator=(const OtherDatabaseMerge&) = delete;

    FTMoc* moc1() const { return m_moc1; }
    FTMoc* moc2() const { return m_moc2; }
    FTPerson* mergeFromPerson() const { return m_from; }
    FTPerson* mergeIntoPerson() const { return m_into; }
    // Something was merged since the session began or since the last undoAll().
    bool bEdited() const { return m_edited; }

    // The button of `tag` (MergeTag): 501 to 509 the field groups (the name stored exactly as the other database
    // has it), 510 refused (relatives are not merged across databases: a beep and "NoMergeRels"), 511 the event
    // `selectedEvent` of the merge-from list (mergeSelectedEvent). Sheets go on `window`.
    void mergeField(int tag, FTEvent* selectedEvent, QObject* window);

    // The event is merged into one of the merge-into person's listed events of the same tag, each offered in
    // turn ("Merge" or "Ignore"); an identical one is only reported. An other personal event that none takes may
    // become a new event ("CreateEvent"); a marriage event with no event of its tag cannot be placed.
    // No event: "SelectEventTryAgain".
    void mergeSelectedEvent(FTEvent* fromEvent, QObject* window);
    // Copies cause, comments, date, extras, name, notes and place of `from` into `into`, which keeps its own type
    // and tag; with no `into`, a new event of `from`'s type and tag for `owner`. Answers the event written.
    static FTEvent* mergeEvent(const FTEvent* from, FTEvent* into, FTManagedObject* owner);

    // Takes back everything merged since the session began or since the last undoAll(), without a question and
    // with nothing to redo, and begins again. Nothing merged: a beep and "NothingToUndo"; false.
    bool undoAll(QObject* window);
    // Ends the session's undo group; nothing more is merged. Called by the destructor when not called before.
    void close();

private:
    void beginGroup();

    FTPerson* m_from;
    FTPerson* m_into;
    FTMoc* m_moc1;
    FTMoc* m_moc2;
    bool m_edited = false;
    bool m_open = false;
};
