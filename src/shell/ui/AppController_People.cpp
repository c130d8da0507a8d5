#include "shell/ui/AppController.h"

#include "shell/PeopleCommands.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/FamilyDiagramPane.h"
#include "shell/ui/PersonEditorPane.h"

#include "model/FTMoc.h"

void AppController::attachingPersonAdvice()
{
    PeopleCommands::attachingPersonAdvice();
}

void AppController::deletePerson()
{
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    if (doc && doc->dovurWindow() && doc->pcd())
        doc->pcd()->deletePerson();
}

void AppController::disconnectPerson()
{
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    if (doc && doc->dovurWindow() && doc->pcd())
        doc->pcd()->disconnectPerson();
}

void AppController::personAdded(DOvurDocument& doc, FTPerson* person, PeopleCommands::AddedAs as)
{
    if (!person)
        return;
    if (PersonEditorPane* editor = doc.pInfoArea())
        editor->showFirstPage();
    PeopleCommands::personAdded(person, as);
}

void AppController::attachExistingPersonAsAssociatedPerson(
    const std::function<FTPerson*(FTMoc* moc)>& selectExistingPerson,
    const std::function<void(FTAssociation* made)>& associatedPersonDialog)
{
    DOvurDocument* doc = documentForCommand();
    if (!doc || !selectExistingPerson)
        return;
    FTMoc* moc = doc->moc();
    if (!PeopleCommands::attachExistingPersonAsAssociatedPerson(
            moc, [&] { return selectExistingPerson(moc); }, associatedPersonDialog))
        return;
    if (doc->pcd())
        doc->pcd()->setRefreshArray(true);
}
