#pragma once

#include "editor/AddEventReceiver.h"
#include "editor/EventNameCompletion.h"
#include "editor/EventsPageList.h"
#include "editor/EventsTableLayout.h"
#include "editor/ui/EditorPage.h"

#include <QPointer>

class AddEventButton;
class EventInfo;
class EventsTableModel;
class FTEvent;
class FTMoc;
class FTPerson;
class InfoArea_Events_TableView;
class QAbstractButton;
class QCheckBox;
class QModelIndex;

// The person editor's events page: one table of the person's own events and the events of close relatives
// (EventsPageList), whose event names, dates, places and notes are edited in place. The page adds events of a
// chosen type, opens an event in the event editor, deletes it, makes an event the active one and clones it onto
// the person, cites the active source, looks a place up on the map and opens the person's timeline.
//
// The list is rebuilt when the person or the font size changes, or after the event editor closes: a flag makes it
// happen just before the table next draws (never while it draws), and what has changed is then saved when the
// program is next idle.
class InfoArea_Events : public EditorPage, public AddEventReceiver {
    Q_OBJECT
public:
    explicit InfoArea_Events(QWidget* parent = nullptr);
    ~InfoArea_Events() override;

    // The page protocol.
    void setSelectedPerson(FTPerson* person) override;
    void setFontSize(long size) override;
    void setColumnHeadings() override;
    void freeMemory() override;
    void personToBeDeleted(const Notification& n) override;
    void pcRelTypeChanged(const Notification& n) override;
    bool endEditing() override;
    // Selects the event's row (the family diagram has just cloned it onto the person) and edits its name.
    void selectEvent(FTEvent* event) override;
    // The add-event button's choice.
    void addEventWithType(const QString& tag) override;

    FTPerson* selectedPerson() const { return m_person; }
    FTMoc* moc() const { return m_moc; }
    InfoArea_Events_TableView* tableView() const { return m_table; }
    EventsTableModel* eventsModel() const { return m_model; }
    EventsTableLayout& layout() { return m_layout; }
    const EventsTableLayout& layout() const { return m_layout; }
    const EventsPageList& list() const { return m_list; }
    AddEventButton* addEventButton() const { return m_addEventButton; }
    QAbstractButton* sortButton() const;
    long fontSize() const { return m_fontSize; }
    // Whether every row shows its notes in full (the user default "multiLineNotesForEventPane").
    bool multiLineNotes() const { return m_multiLineNotes; }
    bool refreshEventsArray() const { return m_refreshEventsArray; }

    // Actions; those without a row work on the selected one.
    void eventEdit();
    void eventRemove();
    void activeEventSave(FTEvent* event);
    void activeEventClone();
    void activeEventDeactivate();
    void findInGoogleMaps();
    void displayPersonalTimeline();
    void sortEventsByDate();
    void setMultiLineNotes(bool on);
    void attachEventToActiveSource(FTEvent* event);

    // The list: the flag, the rebuild, and the rebuild now when the flag is set.
    void setRefreshEventsArray(bool refresh);
    void refreshEventsArrayContents();
    void ensureEventsArray();
    void calculateRowHeightForAllRows();

    // The table's questions while a cell is edited.
    bool shouldEndEditing(const QModelIndex& index, QWidget* editor);
    void textDidChange(const QModelIndex& index, QWidget* editor);
    void editingDidEnd(const QModelIndex& index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    EventInfo* selectedRow() const;
    // A row for a new event of the person, at the top, selected, its name edited.
    void showNewEvent(FTEvent* event);
    void setLineHeight();
    void notesTextChanged(int row, const QString& text);
    void watchWindow(bool on);

    FTPerson* m_person = nullptr;
    FTMoc* m_moc = nullptr;
    EventsPageList m_list;
    EventsTableLayout m_layout;
    EventNameCompletion m_completion;
    long m_fontSize = 11;
    bool m_refreshEventsArray = true;
    bool m_multiLineNotes = true;
    // The event last opened in the event editor, selected again after the next rebuild.
    QString m_previousEventURI;
    InfoArea_Events_TableView* m_table = nullptr;
    EventsTableModel* m_model = nullptr;
    AddEventButton* m_addEventButton = nullptr;
    QAbstractButton* m_sortButton = nullptr;
    QCheckBox* m_multiLineSwitch = nullptr;
    QPointer<QWidget> m_watchedWindow;
};
