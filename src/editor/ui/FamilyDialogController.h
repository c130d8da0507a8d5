#pragma once

#include "editor/AddEventReceiver.h"
#include "editor/ui/RelationshipDialog.h"

#include <QList>
#include <QStringList>

class AddMarriageEventButton;
class FamilyChildrenModel;
class FamilyDialogTableView;
class FTEvent;
class FTMoc;
class FTPerson;
class FTSpouseRel;
class NotesTextEdit;
class OtherEventsModel;
class PersonFieldSet;
class QAbstractButton;
class QCheckBox;
class QLabel;
class QSplitter;

// The family dialog: one couple at a time, run modally. Both partners' names and vital data, the marriage's date,
// place and notes, the children the two have in common (new ones typed into the empty last row) and the couple's
// other marriage events. Every field writes when its edit ends; there is no OK and no Cancel.
//
// With one partner missing, only the missing partner's name field and Close can be used: the name typed there
// makes that partner and the couple, and the rest of the dialog opens. The dialog cannot close while a date it
// holds is refused. Its size and whether the other events are shown carry over to the next one in the same run.
//
//   FamilyDialogController dialog(person, spouse, person->moc());
//   dialog.run();
class FamilyDialogController : public RelationshipDialog, public AddEventReceiver {
    Q_OBJECT
public:
    FamilyDialogController(FTPerson* first, FTPerson* second, FTMoc* moc, QWidget* parent = nullptr);
    ~FamilyDialogController() override;

    FTMoc* moc() const { return m_moc; }
    FTPerson* husband() const { return m_husband; }
    FTPerson* wife() const { return m_wife; }
    FTSpouseRel* spouseRel() const { return m_spouseRel; }
    bool isMissingPartner() const { return !m_husband || !m_wife; }
    PersonFieldSet& husbandFields() const { return *m_husbandFields; }
    PersonFieldSet& wifeFields() const { return *m_wifeFields; }
    // A field by its tag (4 to 17 the husband's, 104 to 117 the wife's, 201 and 202 the marriage's).
    class EditorLineEdit* field(int tag) const;
    QAbstractButton* notesButton(int tag) const;
    NotesTextEdit* marriageNotes() const { return m_marriageNotes; }
    NotesTextEdit* eventNotesTextView() const { return m_eventNotes; }
    FamilyDialogTableView* tvChildren() const { return m_tvChildren; }
    FamilyDialogTableView* tvEvents() const { return m_tvEvents; }
    FamilyChildrenModel* childrenModel() const { return m_children; }
    QList<FTEvent*> events() const;
    // The other marriage event types offered in the type column, shortened.
    const QStringList& eventTypes() const { return m_eventTypes; }
    AddMarriageEventButton* eventAddButton() const { return m_eventAddButton; }
    QWidget* eventsArea() const { return m_eventsArea; }

    bool otherEventsToggle() const { return m_otherEventsToggle; }
    void setOtherEventsToggle(bool shown);

    void loadData();
    void setNotesButtonsIndicators();

    // Actions.
    void addChild();
    void deleteChild();
    void deleteEvent();
    void deleteMarriageEvent();
    void editNotes(int tag);
    // AddEventReceiver: a new other marriage event with that tag, its name cell open.
    void addEventWithType(const QString& tag) override;

protected:
    bool windowShouldClose() override;

private:
    QWidget* buildPartner(bool husbandSide);
    void loadMarriageEvent();
    void loadChildrenArray();
    void loadEventsArray();
    void enableAllFields(bool enabled);
    bool partnerTyped(bool husbandMissing, const QString& name);
    void showSelectedEventNotes();
    FTPerson* newChild(const QString& name);

    FTMoc* m_moc = nullptr;
    FTPerson* m_husband = nullptr;
    FTPerson* m_wife = nullptr;
    FTSpouseRel* m_spouseRel = nullptr;
    QStringList m_eventTypes;
    bool m_otherEventsToggle = true;
    PersonFieldSet* m_husbandFields;
    PersonFieldSet* m_wifeFields;
    PersonFieldSet* m_marriageFields;
    QList<QAbstractButton*> m_notesButtons;
    NotesTextEdit* m_marriageNotes = nullptr;
    NotesTextEdit* m_eventNotes = nullptr;
    FTEvent* m_notesEvent = nullptr;
    FamilyDialogTableView* m_tvChildren = nullptr;
    FamilyDialogTableView* m_tvEvents = nullptr;
    FamilyChildrenModel* m_children = nullptr;
    OtherEventsModel* m_events = nullptr;
    QSplitter* m_splitView = nullptr;
    QWidget* m_eventsArea = nullptr;
    AddMarriageEventButton* m_eventAddButton = nullptr;
    QCheckBox* m_toggle = nullptr;
};
