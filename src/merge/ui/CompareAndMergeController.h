#pragma once

#include "merge/ComparePeopleList.h"
#include "merge/ComparisonDictionary.h"

#include <QWidget>

class ComparePeopleModel;
class FTMoc;
class FTPerson;
class OtherDatabaseChooser;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableView;
class QTextEdit;

// The compare-and-merge window: another database beside the open one. The other database's people are listed on
// the left (side 1), the open database's on the right (side 2). Selecting a person on the left selects the
// matching person on the right (by name and birth date, or by id: the match mode), and the two people's data are
// shown under the lists, the differences highlighted on the left. The search narrows both lists; Remove
// Identical leaves on the left only the people that no person of the open database equals in everything; Compare
// All compares every person and opens a report; Print writes the pair shown into a document.
//
// The other database is only read; it closes with the window. A child window of the main window, not modal.
//
//   doc->addChildWindow(new CompareAndMergeController(doc->moc(), doc->moc()->modelName()));
class CompareAndMergeController : public QWidget {
    Q_OBJECT
public:
    CompareAndMergeController(FTMoc* moc, const QString& modelName, QWidget* parent = nullptr);
    ~CompareAndMergeController() override;

    FTMoc* moc1() const;
    FTMoc* moc2() const { return m_moc2; }
    FTPerson* person1() const { return m_person1; }
    FTPerson* person2() const { return m_person2; }
    QString m1Filename() const;
    QString m2Filename() const { return m_m2Filename; }
    const ComparePeopleList& m1People() const { return m_m1List; }
    const ComparePeopleList& m2People() const { return m_m2List; }
    const ComparisonDictionary::Details& details() const { return m_details; }
    int numDifferences() const { return m_details.numDifferences; }
    QString currentSearchMenuOption() const { return m_currentSearchMenuOption; }

    OtherDatabaseChooser* chooser() const { return m_chooser; }
    QTableView* tv1() const { return m_tv1; }
    QTableView* tv2() const { return m_tv2; }
    QLineEdit* searchField() const { return m_searchField; }
    QMenu* searchMenu() const { return m_searchMenu; }
    QTextEdit* person1DetailsView() const { return m_details1; }
    QTextEdit* person2DetailsView() const { return m_details2; }
    QLabel* compareCount() const { return m_compareCount; }
    QProgressBar* progressIndicator() const { return m_progressIndicator; }
    QCheckBox* doubleSpacedBox() const { return m_doubleSpaced; }
    QCheckBox* showDifferencesOnlyBox() const { return m_showDifferencesOnly; }
    QButtonGroup* modeMatrix() const { return m_modeMatrix; }

    // The actions of the window's controls.
    void findPerson();
    // The search menu's entry of that title: ticks it and searches again.
    void limitSearch(const QString& title);
    // 0 by name, 1 by id (anything else is ignored): stored, both lists sorted for it, the details rebuilt.
    void setMatchMode(int mode);
    void removeMatchedRecords();
    // The merge window for the two people selected, run modally; then their details again.
    void merge();
    void autoCompare();
    void printSelected();
    void refreshDisplay();
    // Selects the person's row in the other database's list (null: none), as a click does.
    void selectPerson1(const FTPerson* person);
    // The rows of the open database's list, as shown, that match a person of the other database.
    QList<int> findMatchForPerson(const FTPerson* person) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    QWidget* buildSide(int side);
    void createSearchFieldSubmenu();
    void otherDatabaseChanged(FTMoc* other);
    void tv1SelectionDidChange();
    void tv2SelectionDidChange();
    void reloadLists();
    void reloadCurrentDatabase();
    void restoreSelection();
    void selectRow(QTableView* table, int row);
    void setPeopleSortArrayForMode(int mode);
    void setBusy(bool busy);
    void observe();

    FTMoc* m_moc2;
    QString m_m2Filename;
    FTPerson* m_person1 = nullptr;
    FTPerson* m_person2 = nullptr;
    ComparePeopleList m_m1List;
    ComparePeopleList m_m2List;
    ComparisonDictionary::Details m_details;
    QString m_currentSearchMenuOption;
    bool m_restoring = false;
    bool m_busy = false;

    OtherDatabaseChooser* m_chooser = nullptr;
    ComparePeopleModel* m_m1Model = nullptr;
    ComparePeopleModel* m_m2Model = nullptr;
    QTableView* m_tv1 = nullptr;
    QTableView* m_tv2 = nullptr;
    QTextEdit* m_details1 = nullptr;
    QTextEdit* m_details2 = nullptr;
    QLineEdit* m_searchField = nullptr;
    QMenu* m_searchMenu = nullptr;
    QButtonGroup* m_modeMatrix = nullptr;
    QCheckBox* m_doubleSpaced = nullptr;
    QCheckBox* m_showDifferencesOnly = nullptr;
    QLabel* m_numDifferences = nullptr;
    QLabel* m_compareCount = nullptr;
    QProgressBar* m_progressIndicator = nullptr;
    QList<QWidget*> m_controls; // disabled while a pass runs
};
