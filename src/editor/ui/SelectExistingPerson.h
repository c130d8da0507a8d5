#pragma once

#include "editor/PersonNameFilter.h"
#include "editor/ui/RelationshipDialog.h"

class FTMoc;
class FTPerson;
class QLabel;
class QLineEdit;
class QListView;
class ExistingPeopleListModel;

// Picks one person of the database: everybody listed by name with years, narrowed as words are typed (each
// word begins the name or one of its parts). Closing the window hands back the person selected, none when
// nothing is selected; Cancel hands back none.
//
//   SelectExistingPerson dialog(moc);
//   dialog.run();
//   if (FTPerson* chosen = dialog.selectedPerson()) ...
class SelectExistingPerson : public RelationshipDialog {
    Q_OBJECT
public:
    explicit SelectExistingPerson(FTMoc* moc, QWidget* parent = nullptr);
    ~SelectExistingPerson() override;

    FTMoc* moc() const { return m_moc; }
    FTPerson* selectedPerson() const { return m_selectedPerson; }
    QLineEdit* filterField() const { return m_filterField; }
    QListView* peopleList() const { return m_list; }
    const PersonNameFilter& people() const { return m_people; }

    // Actions.
    void setFilter();
    void cancel();
    // Selects the row of the list shown.
    void selectRow(int row);

protected:
    bool windowShouldClose() override;
    // Escape cancels, as the Cancel button does; the window's close box still hands back the selection.
    void keyPressEvent(QKeyEvent* event) override;

private:
    FTMoc* m_moc;
    FTPerson* m_selectedPerson = nullptr;
    bool m_cancelled = false;
    PersonNameFilter m_people;
    ExistingPeopleListModel* m_model;
    QLineEdit* m_filterField;
    QListView* m_list;
    QLabel* m_count;
};
