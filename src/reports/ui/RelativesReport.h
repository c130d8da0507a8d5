#pragma once

#include "reports/RelationshipPath.h"

#include <QDialog>

class FTMoc;
class FTPerson;
class PeopleListModel;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QTableWidget;

// The relationship path sheet: the chain of links from the focal person (the source) to a target person, the
// sentence naming their relationship, and a table of the database's people to choose another target (narrowed by
// family name) or make one focal. Write Report saves the chain as an RTF file and opens it in the word processor.
// The search starts once the sheet shows, and again whenever the source or target changes.
class RelativesReport : public QDialog {
    Q_OBJECT
public:
    RelativesReport(FTMoc* moc, FTPerson* sourcePerson, FTPerson* targetPerson, QWidget* parent = nullptr);
    ~RelativesReport() override;

    void createPath();
    void setTargetPerson(FTPerson* person);
    // The person chosen in the table becomes focal and the source.
    void promoteToFocalPerson();
    void changeFamilyNameFilter(const QString& text);
    // Writes the report of the chain to the person chosen in the table; its path, empty when nothing was written.
    QString print();

    const RelationshipPath& path() const { return m_path; }
    QString message() const;
    QTableWidget* chainTable() const { return m_chain; }
    QTableView* peopleTableView() const { return m_peopleTable; }
    const PeopleListModel* peopleModel() const { return m_people; }
    QLineEdit* familyNameFilterField() const { return m_filter; }
    QPushButton* printButton() const { return m_print; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    FTPerson* chosenPerson() const;
    void selectInTable(FTPerson* person);
    void showChain();

    FTMoc* m_moc;
    RelationshipPath m_path;
    QList<FTPerson*> m_sortedPeople;
    bool m_started = false;
    bool m_selecting = false;
    QLabel* m_message = nullptr;
    QProgressBar* m_progress = nullptr;
    QTableWidget* m_chain = nullptr;
    QLineEdit* m_filter = nullptr;
    QTableView* m_peopleTable = nullptr;
    PeopleListModel* m_people = nullptr;
    QPushButton* m_print = nullptr;
};
