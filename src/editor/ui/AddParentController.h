#pragma once

#include "editor/ui/NewParentDialog.h"

// The dialog shown right after a person was made a parent (a new parent of a child, or a new spouse linked to
// the person's children): the new parent's name, gender, birth and death, and the type of its link to each of
// its children, by the children's names. Links left "Not Related" (or without a type) are deleted when the
// dialog closes; one that joins the focal person is announced first. The gender cannot be changed while the new
// parent has a spouse.
//
//   AddParentController dialog(moc);
//   dialog.setPParent(mother); dialog.setPChild(child); dialog.setPSpouse(father);
//   dialog.setParentToChildPcRelType(1);
//   dialog.run();
class AddParentController : public NewParentDialog {
    Q_OBJECT
public:
    explicit AddParentController(FTMoc* moc, QWidget* parent = nullptr);

    void setPParent(FTPerson* parent);
    void setPChild(FTPerson* child);
    void setPSpouse(FTPerson* spouse);
    void setParentToChildPcRelType(int type) { m_parentToChildPcRelType = type; }
    FTPerson* pParent() const { return m_parent; }
    FTPerson* pChild() const { return m_child; }
    FTPerson* pSpouse() const { return m_spouse; }
    int parentToChildPcRelType() const { return m_parentToChildPcRelType; }

    // Fills the window for the people set: fields, rows, gender field and title (run() does it first).
    void windowDidLoad();
    int run();

private:
    FTPerson* m_parent = nullptr;
    FTPerson* m_child = nullptr;
    FTPerson* m_spouse = nullptr;
    int m_parentToChildPcRelType = 0;
};
