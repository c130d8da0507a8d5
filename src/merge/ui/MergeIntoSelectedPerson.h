#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class FTMoc;
class FTPerson;
class OtherDatabaseChooser;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

// The window beside the main window that merges a person of another database into the selected person: the
// other databases of the data folder (an older one is named and refused), the people there of the same name and
// gender, the one with the same life years chosen first, and the merge window for the chosen pair. The database
// chosen last is chosen again, and searched, when the window next opens in this run of the program. Closing it
// refreshes every view.
//
//   doc->addChildWindow(new MergeIntoSelectedPerson(moc, moc->modelName()));
class MergeIntoSelectedPerson : public QWidget {
    Q_OBJECT
public:
    // `person`: the person to merge into; the database's selected person when none is given.
    MergeIntoSelectedPerson(FTMoc* moc, const QString& modelName, FTPerson* person = nullptr, QWidget* parent = nullptr);
    ~MergeIntoSelectedPerson() override;

    // The actions of the window's controls.
    void search();
    void mergeSelectedPerson();

    FTMoc* moc1() const;
    FTMoc* moc2() const { return m_moc2; }
    FTPerson* selectedPerson() const { return m_selectedPerson; }
    QString m1Filename() const;
    QString m2Filename() const { return m_m2Filename; }
    const QList<FTPerson*>& peopleArray() const { return m_peopleArray; }
    // The candidate chosen in the list; null when none.
    FTPerson* chosenPerson() const;

    OtherDatabaseChooser* chooser() const { return m_chooser; }
    QTableView* tvPersons() const { return m_tvPersons; }
    QPushButton* mergeButton() const { return m_mergeButton; }

    // The database chosen last in this run of the program (tests start afresh with an empty one).
    static QString previousDatabase();
    static void setPreviousDatabase(const QString& fileName);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void otherDatabaseChanged(FTMoc* other);
    void showCandidates();

    FTMoc* m_moc2;
    FTPerson* m_selectedPerson;
    QString m_m2Filename;
    QList<FTPerson*> m_peopleArray;
    OtherDatabaseChooser* m_chooser = nullptr;
    QLabel* m_personLabel = nullptr;
    QStandardItemModel* m_peopleModel = nullptr;
    QTableView* m_tvPersons = nullptr;
    QPushButton* m_mergeButton = nullptr;
};
