#pragma once

#include "editor/DisconnectLinks.h"
#include "editor/ui/RelationshipDialog.h"

class FTPerson;
class QTableWidget;

// The sheet that lists every direct link of a person (parents, spouses or partners, children, associations)
// with a check box each, and deletes the links ticked when "Disconnect" is pressed; the people stay. The list
// is shown again after each deletion; Close ends the sheet.
//
//   doc->beginSheet(new DisconnectPerson(person));
class DisconnectPerson : public RelationshipDialog {
    Q_OBJECT
public:
    explicit DisconnectPerson(FTPerson* person, QWidget* parent = nullptr);

    FTPerson* selectedPerson() const { return m_links.selectedPerson(); }
    DisconnectLinks& links() { return m_links; }
    QTableWidget* tableView() const { return m_tv; }
    // Ticks or unticks a row as its check box does.
    void setChecked(int row, bool checked);

    // Actions.
    void disconnectSelectedPeople();
    void close();

private:
    void showRows();

    DisconnectLinks m_links;
    QTableWidget* m_tv;
};
