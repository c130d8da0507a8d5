#pragma once

#include "reports/EventsGrid.h"

#include "editor/AddEventReceiver.h"

#include <QDialog>

class AddEventButton;
class PeopleListModel;
class PersonEventsModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

// The events report sheet: the people of the database (narrowed by words of the name and by having, or not
// having, an event of a type) beside the events of the selected person; Generate writes the people shown as a CSV
// grid, one column a decade, and opens it. A click on the date heading of the events flips their order. The
// sheet's size is kept for the next one while the program runs.
class EventsReport : public QDialog, public AddEventReceiver {
    Q_OBJECT
public:
    explicit EventsReport(FTMoc* moc, QWidget* parent = nullptr);
    ~EventsReport() override;

    void setModelName(const QString& name) { m_grid.modelName = name; }
    EventsGrid& grid() { return m_grid; }

    // The event-type button's choice: a GEDCOM tag, or the text of "None" for no type filter.
    void addEventWithType(const QString& tag) override;
    void printReport();

    const PeopleListModel* people() const { return m_people; }
    QList<FTEvent*> events() const;
    QLineEdit* searchField() const { return m_search; }
    AddEventButton* eventTypeButton() const { return m_typeButton; }
    QCheckBox* notTheEventTypeCheckBox() const { return m_not; }
    QPushButton* familyNameButton() const { return m_familyName; }
    QTableView* peopleTable() const { return m_peopleTable; }
    QTableView* eventsTable() const { return m_eventsTable; }
    QLabel* progressMessage() const { return m_message; }
    QPushButton* generateButton() const { return m_generate; }
    QPushButton* closeButton() const { return m_close; }

    void done(int result) override;

private:
    // The people shown again, the first selected.
    void setPeopleFilterPredicate();
    void showEventsOfSelectedPerson();

    EventsGrid m_grid;
    PeopleListModel* m_people = nullptr;
    PersonEventsModel* m_events = nullptr;
    QLineEdit* m_search = nullptr;
    AddEventButton* m_typeButton = nullptr;
    QLabel* m_typeLabel = nullptr;
    QCheckBox* m_not = nullptr;
    QPushButton* m_familyName = nullptr;
    QTableView* m_peopleTable = nullptr;
    QTableView* m_eventsTable = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_message = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_generate = nullptr;
    QPushButton* m_close = nullptr;
};
