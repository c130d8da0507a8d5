#pragma once

#include "editor/ui/AttachPersonDialog.h"

class FTMoc;

// Attaches a person already in the database as a spouse of the database's focal person (whoever the command was
// given on): the people of the other gender, or of the same one for a same-sex couple, born up to the chosen
// number of years before or after, less the focal person's spouses.
//
//   AttachSpouseController dialog(moc, false);
//   dialog.run();
class AttachSpouseController : public AttachPersonDialog {
    Q_OBJECT
public:
    AttachSpouseController(FTMoc* moc, bool sameSexSpouse, QWidget* window = nullptr);
    FTPerson* focalPerson() const { return m_focalPerson; }

protected:
    QList<FTPerson*> loadCandidates() override;
    QString detailsFor(const FTPerson* candidate) const override;
    bool attach(FTPerson* candidate) override;

private:
    FTMoc* m_moc;
    FTPerson* m_focalPerson;
    bool m_sameSexSpouse;
};
