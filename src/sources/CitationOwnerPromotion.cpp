#include "sources/CitationOwnerPromotion.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

#include "shell/Utils.h"

#include "platform/Localizer.h"

FTPerson* CitationOwnerPromotion::promoteToFocalPerson(FTSourceRel* citation)
{
    if (!citation || citation->isDeleted() || !citation->moc())
        return nullptr;
    FTPerson* person = nullptr;
    FTManagedObject* owner = citation->owner();
    if (auto* p = dynamic_cast<FTPerson*>(owner)) {
        person = p;
    } else if (auto* event = dynamic_cast<FTEvent*>(owner)) {
        FTManagedObject* eventOwner = event->owner();
        if (auto* p = dynamic_cast<FTPerson*>(eventOwner)) {
            person = p;
        } else if (auto* couple = dynamic_cast<FTSpouseRel*>(eventOwner)) {
            FTPerson* husband = couple->husband();
            FTPerson* wife = couple->wife();
            if (!husband || !wife)
                return nullptr;
            person = Utils::displayYesNoQuery(
                         LocalizedString(QStringLiteral("promoteHusbandOrWife")), husband->firstName(), wife->firstName())
                ? husband
                : wife;
        }
    }
    if (person)
        citation->moc()->setFocalPerson(person);
    return person;
}
