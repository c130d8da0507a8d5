#pragma once

#include "editor/AddEventReceiver.h"
#include "sources/SelectASourceDelegate.h"

#include <QDialog>
#include <QSize>
#include <QStringList>

#include <functional>

class AddEventButton;
class CitationTableModel;
class CitationTableView;
class EditorLineEdit;
class FTEvent;
class FTManagedObject;
class FTMoc;
class FTPerson;
class FTSourceRel;
class FTSpouseRel;
class NotesTextEdit;
class PlacesComboBox;
class QComboBox;
class QLabel;
class QSplitter;
class SelectASourceButton;

// The event editor: one event of a person or of a couple, as a sheet. Its name (fixed for births, deaths and
// marriages), type (other events only), date, place and notes, the status and temple of an LDS ordinance, and the
// event's citations beside the notes of the one selected. Every field writes to the event when its edit ends; a
// date or an LDS status that its check refuses stays in editing. Closing needs a name and a type. The window's
// size and the share of the citations table in its split are kept for the running program.
//
//   EventEditorController::beginSheet(window, event->owner(), event, [] { ... refresh ... });
class EventEditorController : public QDialog, public AddEventReceiver, public SelectASourceDelegate {
    Q_OBJECT
public:
    // Tags of the fields, as their checks know them.
    enum Tag { DateTag = 1, NameTag = 3, PlaceTag = 17, LdsStatusTag = 201 };
    // The share of the width that the citations table is given back at most.
    static constexpr double kMaxSplitFraction = 0.95;

    // The editor for a person's event (all fields disabled without one).
    static EventEditorController* initWithPerson(FTPerson* person, FTEvent* event, QWidget* parent = nullptr);
    // The editor for a couple's event; none without an event.
    static EventEditorController* initWithSpouseRel(FTSpouseRel* couple, FTEvent* event, QWidget* parent = nullptr);
    // The editor for `event` of `owner` (a person, or a couple for marriages and other marriage events) as a sheet
    // on `window`, deleted when it closes; `didEnd` runs then. Nothing opens for a couple without an event.
    static EventEditorController* beginSheet(
        QWidget* window, FTManagedObject* owner, FTEvent* event, std::function<void()> didEnd = {});

    // What the running program keeps: the last editor's size (empty before the first close) and the citations
    // table's share of the split (0 before it is first measured).
    static QSize prevSize();
    static void setPrevSize(const QSize& size);
    static double verticalSplitViewPercent();
    static void setVerticalSplitViewPercent(double fraction);

    ~EventEditorController() override;

    FTMoc* moc() const { return m_moc; }
    FTEvent* event() const { return m_event; }
    FTPerson* person() const { return m_person; }
    FTSpouseRel* spouseRel() const { return m_spouseRel; }
    const QStringList& eventNames() const { return m_eventNames; }
    QString eventOwnersName() const;

    // ---- The event ----
    void enableFields();
    // The type button's choice: the event takes the tag's type (and its name, when it had the old type's own).
    void addEventWithType(const QString& tag) override;
    void loadEventNamesArray();
    // The name field is not blank and the event has a type; otherwise the user is told.
    bool validateEventData();
    void displayHelp();
    // The rows the name and place lists show, for the window's height.
    void resizeComboBoxDropDowns();
    // Ends every edit, checks the event and closes; false when the editor stays open.
    bool closeEditor();

    // ---- Its citations ----
    void addReference(FTSource* source) override;
    bool respondsToSourceSearch() const override { return true; }
    void selectASourceFromArray(const QList<FTSource*>& sources, const QString& criteria) override;
    void removeReference();
    // The sources editor on the selected citation's source, as a sheet on this editor.
    void editSources();
    void showAllFields();
    void showTitleOnly();
    void refreshDisplay();
    // The table's key R: the active source cited for the database's selected person, not for the event.
    void citeActiveSource();

    EditorLineEdit* dateField() const { return m_date; }
    QComboBox* eventNamesComboBox() const { return m_names; }
    PlacesComboBox* placesComboBox() const { return m_place; }
    NotesTextEdit* notesView() const { return m_notes; }
    EditorLineEdit* ldsStatusField() const { return m_ldsStatus; }
    EditorLineEdit* ldsTempleField() const { return m_ldsTemple; }
    QLabel* ownersLabel() const { return m_ownersLabel; }
    QLabel* typeLabel() const { return m_typeLabel; }
    AddEventButton* eventTypeButton() const { return m_eventTypeButton; }
    CitationTableView* sourceRelsTableView() const { return m_tv; }
    CitationTableModel* sourceRelsArrayController() const { return m_citations; }
    NotesTextEdit* citationNotes() const { return m_citationNotes; }
    SelectASourceButton* selectASourceButton() const { return m_selectASourceButton; }
    QSplitter* verticalSplitView() const { return m_split; }

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    EventEditorController(FTPerson* person, FTSpouseRel* couple, FTEvent* event, QWidget* parent);
    void buildWindow();
    QWidget* buildCitations();
    void loadFields();
    bool endEditing();
    bool dateShouldEndEditing();
    bool nameShouldEndEditing();
    bool placeShouldEndEditing();
    bool ldsStatusShouldEndEditing();
    void loadSourceRels();
    void showNotesOf(FTSourceRel* citation);
    void applySplitFraction();

    FTMoc* m_moc = nullptr;
    FTEvent* m_event = nullptr;
    FTPerson* m_person = nullptr;
    FTSpouseRel* m_spouseRel = nullptr;
    QStringList m_eventNames;
    bool m_closing = false;
    bool m_splitApplied = false;

    QLabel* m_ownersLabel = nullptr;
    QLabel* m_ownersName = nullptr;
    QLabel* m_typeLabel = nullptr;
    QLabel* m_changeTypeLabel = nullptr;
    AddEventButton* m_eventTypeButton = nullptr;
    QComboBox* m_names = nullptr;
    EditorLineEdit* m_nameEdit = nullptr;
    EditorLineEdit* m_date = nullptr;
    PlacesComboBox* m_place = nullptr;
    NotesTextEdit* m_notes = nullptr;
    QLabel* m_ldsStatusLabel = nullptr;
    EditorLineEdit* m_ldsStatus = nullptr;
    QLabel* m_ldsTempleLabel = nullptr;
    EditorLineEdit* m_ldsTemple = nullptr;

    CitationTableModel* m_citations = nullptr;
    CitationTableView* m_tv = nullptr;
    NotesTextEdit* m_citationNotes = nullptr;
    FTSourceRel* m_notesCitation = nullptr;
    SelectASourceButton* m_selectASourceButton = nullptr;
    QSplitter* m_split = nullptr;
};
