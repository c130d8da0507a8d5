#include "editor/SameSexPartnership.h"

#include "shell/Utils.h"

#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

FTPerson* SameSexPartnership::createPartner(FTPerson* person, const QString& name, FTSpouseRel** couple)
{
    if (!person || !person->moc() || !Utils::checkDuplicateNames(name, person->gender(), person, -2))
        return nullptr;
    FTMoc* moc = person->moc();
    FTPerson* partner = FTPerson::initInMoc(moc, name, person->gender());
    FTSpouseRel* rel = FTSpouseRel::initInMoc(moc);
    rel->addPartnersObject(person);
    rel->addPartnersObject(partner);
    for (FTPerson* child : person->naturalChildren())
        partner->attachChild(child, FTPcRel::kStep, true, nullptr);
    if (couple)
        *couple = rel;
    return partner;
}
