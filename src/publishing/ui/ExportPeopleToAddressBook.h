#pragma once

#include <QDialog>
#include <QList>

class FTMoc;
class FTPerson;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The window that exports living people as contact cards (AddressBookExport): the candidates, of whom the user
// selects some; the groups earlier exports made, of which the user picks one or types a new name. Export writes the
// cards into the group's file in the reports folder (after the cards it holds, once the user agrees) and opens it
// in the desktop's contacts program. Run modally; nothing in the database changes.
//
//   ExportPeopleToAddressBook window(doc->moc(), doc->dovurWindow());
//   window.exec();
class ExportPeopleToAddressBook : public QDialog {
    Q_OBJECT
public:
    explicit ExportPeopleToAddressBook(FTMoc* moc, QWidget* parent = nullptr);

    const QList<FTPerson*>& people() const { return m_people; }
    // The selected candidates, in the list's order.
    QList<FTPerson*> selectedPeople() const;
    void selectPeople(const QList<FTPerson*>& people);
    // The Export button.
    void exportSelectedPeople();
    void showExistingAddressBookGroups();

    QListWidget* peopleList() const { return m_peopleList; }
    QListWidget* groupsList() const { return m_groupsList; }
    QLineEdit* groupNameField() const { return m_abName; }
    QPushButton* exportButton() const { return m_exportButton; }
    QPushButton* closeButton() const { return m_closeButton; }

private:
    void updateSelectionCount();

    FTMoc* m_moc;
    QList<FTPerson*> m_people;
    QListWidget* m_peopleList = nullptr;
    QLabel* m_selectionCount = nullptr;
    QListWidget* m_groupsList = nullptr;
    QLineEdit* m_abName = nullptr;
    QPushButton* m_exportButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};
