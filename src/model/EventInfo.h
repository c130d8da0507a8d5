#pragma once

#include "platform/store/KeyPathChange.h"

#include <QString>

#include <memory>
#include <vector>

class FTEvent;
class FTPerson;
class ObjectContext;

// One row of a person's events list: an event, whose it is (the owner; for a marriage the partner) and how the
// owner is related to the person whose list it is. The row composes the text shown for it ("John Smith was
// born", "Birth of adopted daughter Ann Smith", "Death of father Tom Smith (aged 70)", "Married Mary Brown (aged
// 25)" ...) and keeps the numbers of the sources its event cites up to date while it lives.
//
// A row observes its event: free the rows before the database closes.
//
//   auto rows = person->createEventInfoArray(true);
//   for (const auto& row : rows) ... row->eventName(), row->eventType(), row->sourceNumbers()
class EventInfo {
public:
    // The owner's relationship to the person.
    enum Relationship : long { Own = 0, Parent = 1, Child = -1, Spouse = -2 };

    // A row for `event` (null for a placeholder row, whose text the window sets) owned by `owner`.
    EventInfo(FTEvent* event, FTPerson* owner, long relationship, long pcRelType);
    ~EventInfo();
    EventInfo(const EventInfo&) = delete;
    EventInfo& operator=(const EventInfo&) = delete;

    FTEvent* pEvent() const { return m_event; }
    FTPerson* owner() const { return m_owner; }
    FTPerson* selectedPerson() const { return m_selectedPerson; }
    void setSelectedPerson(FTPerson* person) { m_selectedPerson = person; }
    long relationship() const { return m_relationship; }
    // Order among events of the same date: 0 birth, 1 marriage, 2 death, 3 any other.
    long seqNo() const { return m_seqNo; }
    // The type of the parent-child link that brought the event in; 0 for own and spouses' events.
    long pcRelType() const { return m_pcRelType; }
    bool editingMode() const { return m_editingMode; }
    void setEditingMode(bool on) { m_editingMode = on; }
    float rowHeight() const { return m_rowHeight; }
    void setRowHeight(float height) { m_rowHeight = height; }
    QString placeHolderName() const { return m_placeHolderName; }
    void setPlaceHolderName(const QString& text) { m_placeHolderName = text; }
    // The numbers of the sources the event cites, ascending, joined by ", " ("3, 7, 12").
    QString sourceNumbers() const { return m_sourceNumbers; }
    // Reads the numbers again (done by the row itself whenever the event's citations change).
    void setValueForSourceNumbers();

    // The row's text (see the class comment); while editingMode is set, the raw editable name: the event's name
    // for other events, else the owner's name.
    QString eventName() const;
    // Renames what the row shows: a birth, death or marriage row renames its owner, another event is renamed
    // itself. Runs of blanks become one; a text of nothing but blanks is refused with "NameCannotBeBlank".
    void setEventName(const QString& text);
    // The event's GEDCOM tag, or the localised name of its type ("Birth", "OtherPersonal" ...) without one.
    QString eventType() const;
    // The selected person's age in whole years at the event.
    int selectedPersonsAgeAtEvent() const;

private:
    QString ageSuffix() const;

    FTEvent* m_event;
    FTPerson* m_owner;
    FTPerson* m_selectedPerson = nullptr;
    long m_relationship;
    long m_seqNo;
    long m_pcRelType;
    bool m_editingMode = false;
    float m_rowHeight = 0;
    QString m_placeHolderName;
    QString m_sourceNumbers;
    ObjectContext* m_context = nullptr;
    ObserverToken m_observation = 0;
};
