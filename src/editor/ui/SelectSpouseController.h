#pragma once

#include "editor/ui/RelationshipDialog.h"

class FTPerson;
class QListWidget;

// Asks which of a person's spouses a family is about. OK without a choice asks again ("SelectSpouseTryAgain");
// closing the window leaves `spouse` null.
//
//   SelectSpouseController dialog(person);
//   dialog.run();
//   if (FTPerson* spouse = dialog.spouse()) ... the couple's family dialog
class SelectSpouseController : public RelationshipDialog {
    Q_OBJECT
public:
    explicit SelectSpouseController(FTPerson* person, QWidget* parent = nullptr);

    FTPerson* person() const { return m_person; }
    FTPerson* spouse() const { return m_spouse; }
    QListWidget* tv_spouses() const { return m_spouses; }
    // OK.
    void didOK();

private:
    FTPerson* m_person;
    FTPerson* m_spouse = nullptr;
    QList<FTPerson*> m_choices;
    QListWidget* m_spouses;
};
