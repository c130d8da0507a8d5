#pragma once

#include <QtGlobal>

#include <memory>
#include <vector>

class EventInfo;
class FTEvent;
class FTPerson;

// The rows of the person editor's events page: the person's own events, with the events of close relatives mixed
// in by date. Unlike the model's own events list it keeps the person's birth and death rows even when they are
// empty (so they can be filled in the table), leaves out relatives' events after the person's death (LDS ordinances
// excepted), orders events of one date by type and then by tag, and ends with a "(No death date for <name>)" row
// when the person has no death event.
//
//   EventsPageList list;
//   list.setSelectedPerson(person);
//   EventsPageList::Rows rows = list.createEventInfoArray();   // "includeRelatedEvents" from the user defaults
//   list.lBirthDate, list.lDeathDate, list.selObjBirth            // of the last build
class EventsPageList {
public:
    using Rows = std::vector<std::unique_ptr<EventInfo>>;

    void setSelectedPerson(FTPerson* person) { m_person = person; }
    FTPerson* selectedPerson() const { return m_person; }

    // Children's and parents' events are offered when the user default "includeRelatedEvents" is on.
    Rows createEventInfoArray();
    Rows createEventInfoArray(bool includeRelatedEvents);

    // Whether step-children and step-parents contribute events.
    bool showStepRels = true;
    // The person's birth and death sort keys and birth event, as found by the last build (0 / null when absent).
    quint32 lBirthDate = 0;
    quint32 lDeathDate = 0;
    FTEvent* selObjBirth = nullptr;

private:
    void addChildrensEvents(Rows& rows);
    void addParentsEvents(Rows& rows);
    void addSpousesEvents(Rows& rows);
    void appendRelativesEventInfo(FTEvent* event, FTPerson* owner, long relationship, long pcRelType, Rows& rows);

    FTPerson* m_person = nullptr;
};
