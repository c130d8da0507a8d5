#pragma once

#include "editor/AddEventReceiver.h"
#include "editor/PcRelCleanup.h"
#include "editor/ui/RelationshipDialog.h"

#include <QStringList>

class AddChildEventsTableView;
class AddEventButton;
class FTEvent;
class FTMoc;
class FTPerson;
class NotesTextEdit;
class OtherEventsModel;
class PcRelTypesTable;
class PersonFieldSet;

// The add-child and person details dialog: a person's own fields, the type of each link to a parent, the other
// events and the notes, run modally right after a child was added (or from the person editor for anyone). There
// is no OK and no Cancel: every field writes to the person when its edit ends. Closing deletes the parent links
// the user set to "Not Related" here (saying so first when the parent is the focal person) and refreshes every
// view. The dialog opens at the size the last one had.
//
//   AddChildController dialog;
//   dialog.setPPerson(child);
//   dialog.run();
class AddChildController : public RelationshipDialog, public AddEventReceiver {
    Q_OBJECT
public:
    // The events table's columns.
    enum Column { TypeColumn, NameColumn, DateColumn, PlaceColumn, AgeColumn, ColumnCount };

    explicit AddChildController(QWidget* parent = nullptr);
    ~AddChildController() override;

    void setPPerson(FTPerson* person);
    FTPerson* pPerson() const { return m_person; }
    FTMoc* moc() const { return m_moc; }
    PersonFieldSet& fields() const { return *m_fields; }
    PcRelTypesTable* tv_parents() const { return m_parents; }
    AddChildEventsTableView* tv_events() const { return m_events; }
    AddEventButton* addEventButton() const { return m_addEventButton; }
    NotesTextEdit* notesTextView() const { return m_notes; }
    const QList<FTEvent*>& childsEvents() const;
    // The event types offered in the type column.
    const QStringList& eventTypes() const { return m_eventTypes; }

    // AddEventReceiver: a new other event of the person with that tag, its name cell open for typing.
    void addEventWithType(const QString& tag) override;
    // Actions.
    void deleteEvent();
    void helpForAddEvent();
    void loadEventsArray();

protected:
    bool windowShouldClose() override;

private:
    bool shouldEndEventEditing(const QModelIndex& index, QWidget* editor);

    FTPerson* m_person = nullptr;
    FTMoc* m_moc = nullptr;
    PcRelCleanup m_cleanup { PcRelCleanup::ParentIsFocalPerson };
    QStringList m_eventTypes;
    PersonFieldSet* m_fields;
    PcRelTypesTable* m_parents;
    AddChildEventsTableView* m_events;
    OtherEventsModel* m_eventsModel;
    AddEventButton* m_addEventButton;
    NotesTextEdit* m_notes;
};
