#include "shell/PeopleCommands.h"

#include "shell/DisplayMsg.h"

#include "model/FTAssociation.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

bool PeopleCommands::personAdded(FTPerson* person, AddedAs as)
{
    if (!person || !person->context())
        return false;
    auto* moc = static_cast<FTMoc*>(person->context());
    // The add itself is one undo step; choosing the new person is another, named for it.
    FTMocUndoManager* undo = moc->undoManager();
    undo->closeOpenGroups();
    undo->beginUndoGrouping();
    const bool focal = as == AddedAs::Unconnected;
    undo->setActionName(QStringLiteral("%1 %2").arg(LocalizedString(focal ? QStringLiteral("FocusOn")
                                                                           : QStringLiteral("Select")),
                                                     person->nameWithBirthAndDeathYears()));
    if (focal)
        moc->setFocalPerson(person);
    else
        moc->setSelectedPerson(person);
    undo->endUndoGrouping();
    return true;
}

FTAssociation* PeopleCommands::attachExistingPersonAsAssociatedPerson(FTMoc* moc,
    const std::function<FTPerson*()>& selectExistingPerson,
    const std::function<void(FTAssociation* made)>& associatedPersonDialog)
{
    if (!moc || !selectExistingPerson)
        return nullptr;
    FTPerson* chosen = selectExistingPerson();
    FTPerson* focal = moc->focalPerson();
    // Nobody chosen, or the focal person with himself: there is nothing to associate.
    if (!chosen || chosen == focal)
        return nullptr;
    FTAssociation* association = FTAssociation::initInMoc(moc);
    association->setFromPerson(focal);
    association->setToPerson(chosen);
    if (associatedPersonDialog)
        associatedPersonDialog(association);
    return association;
}

void PeopleCommands::attachingPersonAdvice()
{
    DisplayMsg(LocalizedString(QStringLiteral("AttachingPersonAdvice")));
}
