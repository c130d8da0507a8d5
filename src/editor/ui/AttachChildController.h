#pragma once

#include "editor/ui/AttachPersonDialog.h"

// Attaches a person already in the database as a child of `parent`: the sons (or daughters) born when the parent
// was of the ages chosen, less the parent's children. A candidate with a natural parent of the parent's gender
// becomes a step child, after a question; the child is also linked to each of the parent's spouses, and its
// details dialog follows.
//
//   AttachChildController dialog;
//   dialog.setParentPerson(mother);
//   dialog.run();
class AttachChildController : public AttachPersonDialog {
    Q_OBJECT
public:
    explicit AttachChildController(QWidget* window = nullptr);
    void setParentPerson(FTPerson* parent);
    FTPerson* parentPerson() const { return m_parent; }

protected:
    QList<FTPerson*> loadCandidates() override;
    QString detailsFor(const FTPerson* candidate) const override;
    bool attach(FTPerson* candidate) override;

private:
    FTPerson* m_parent = nullptr;
};
