#pragma once

#include "editor/ui/NewParentDialog.h"

class FTSpouseRel;

// A new partner of the person's own gender. Nothing exists until a name is typed: then the partner is made with
// the couple and a step link to each of the person's natural children (SameSexPartnership), and the rows show
// those links by the children's birth years. The other fields (the partner's birth and death, the couple's date
// and place) write as they are edited. Links left "Not Related" are deleted when the dialog closes; closing
// before a name was entered leaves the database as it was.
//
//   AddSameSexPartner dialog(moc, person, nullptr);
//   dialog.run();
class AddSameSexPartner : public NewParentDialog {
    Q_OBJECT
public:
    // The couple's date and place.
    enum Tag { PartnershipDate = 20, PartnershipPlace = 21 };

    AddSameSexPartner(FTMoc* moc, FTPerson* person, FTPerson* partner, QWidget* parent = nullptr);

    FTPerson* person() const { return m_person; }
    FTPerson* partner() const { return m_partner; }
    FTSpouseRel* spouseRel() const { return m_spouseRel; }

private:
    bool nameEntered(const QString& name);
    void showPartner();

    FTPerson* m_person;
    FTPerson* m_partner;
    FTSpouseRel* m_spouseRel = nullptr;
};
