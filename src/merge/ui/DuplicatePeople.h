#pragma once

#include "merge/DuplicatePeopleSearch.h"

#include <QDialog>

class FTMoc;
class FTPerson;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

// The sheet that lists the people who may have been entered twice (DuplicatePeopleSearch): the criteria, a name
// filter, the list, and buttons that make a listed person the focal person and save the list as a CSV file. The
// first search runs once the sheet shows. The sheet opens at the size it last had.
//
//   doc->beginSheet(new DuplicatePeople(doc->moc()));
class DuplicatePeople : public QDialog {
    Q_OBJECT
public:
    explicit DuplicatePeople(FTMoc* moc, QWidget* parent = nullptr);
    ~DuplicatePeople() override;

    void findDuplicates();
    void setNameFilter(const QString& text);
    void promoteToFocalPerson();
    // Writes the list as shown to a CSV file and opens it.
    void print();
    // Keeps the sheet's size for the next one.
    void done(int result) override;

    // The people listed now, in the order shown.
    QList<FTPerson*> arrangedObjects() const;
    const QList<FTPerson*>& peopleArray() const { return m_peopleArray; }
    DuplicatePeopleSearch::Criteria criteria() const;
    QTableView* table() const { return m_tv; }
    QCheckBox* criterionButton(int i) const { return m_criteria[i]; }
    QLineEdit* filterField() const { return m_filter; }
    QLabel* countLabel() const { return m_count; }
    QString outputFilePath() const { return m_outputFilePath; }

private:
    class PeopleModel;
    void buildWindow();
    // The found people through the name filter into the table.
    void rearrangeObjects();

    FTMoc* m_moc;
    DuplicatePeopleSearch m_search;
    QList<FTPerson*> m_peopleArray;
    QString m_outputFilePath;
    PeopleModel* m_model = nullptr;
    QString m_nameFilter;
    QCheckBox* m_criteria[6] = {};
    QLineEdit* m_filter = nullptr;
    QTableView* m_tv = nullptr;
    QLabel* m_count = nullptr;
    QProgressBar* m_progressIndicator = nullptr;
};
