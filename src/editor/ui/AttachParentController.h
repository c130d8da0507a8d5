#pragma once

#include "editor/ui/AttachPersonDialog.h"

class FTMoc;

// Attaches a person already in the database as a parent of `child`: the fathers (or mothers) of the ages chosen
// at the child's birth, less the child's parents. The link is natural where the child has no natural parent of
// the candidate's gender, else step. An empty list says which years were searched.
//
//   AttachParentController dialog(moc);
//   dialog.setChild(child);
//   dialog.run();
class AttachParentController : public AttachPersonDialog {
    Q_OBJECT
public:
    explicit AttachParentController(FTMoc* moc, QWidget* window = nullptr);
    void setChild(FTPerson* child);
    FTPerson* child() const { return m_child; }

protected:
    QList<FTPerson*> loadCandidates() override;
    QString detailsFor(const FTPerson* candidate) const override;
    bool attach(FTPerson* candidate) override;
    void candidatesLoaded() override;

private:
    FTMoc* m_moc;
    FTPerson* m_child = nullptr;
};
