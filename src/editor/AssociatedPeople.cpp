#include "editor/AssociatedPeople.h"

#include "shell/DisplayMsg.h"
#include "shell/Utils.h"

#include "model/FTAssociation.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

FTPerson* AssociatedPeople::addAssociatedPerson(FTMoc* moc, const QString& name, const QString& gender,
                                                const QString& description, const QString& notes)
{
    if (!moc)
        return nullptr;
    // A name of blanks would make a nameless person.
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        DisplayMsg(LocalizedString("EmptyNameTryAgain"));
        return nullptr;
    }
    const QString letter = gender.trimmed().toUpper();
    if (letter != LocalizedString("MaleShort") && letter != LocalizedString("FemaleShort")) {
        DisplayMsg(LocalizedString("GenderQualification"));
        return nullptr;
    }
    moc->undoManager()->setActionName(QStringLiteral("%1 %2").arg(LocalizedString("AddAssociated"), trimmed));
    FTPerson* person = FTPerson::initInMoc(moc, trimmed, letter);
    FTAssociation* association = FTAssociation::initInMoc(moc);
    association->setFromPerson(moc->focalPerson());
    association->setToPerson(person);
    association->setFromRelationship(description.trimmed());
    association->setNotes(notes.trimmed());
    return person;
}

FTAssociation* AssociatedPeople::associationBetween(const FTPerson* first, const FTPerson* second)
{
    if (!first || !second)
        return nullptr;
    for (FTAssociation* a : first->assocPersonsArray())
        if (!a->isDeleted()
            && ((a->fromPerson() == first && a->toPerson() == second)
                || (a->toPerson() == first && a->fromPerson() == second)))
            return a;
    return nullptr;
}

int AssociatedPeople::deleteAssociation(FTAssociation* association)
{
    if (!association || association->isDeleted())
        return 0;
    FTMoc* moc = association->moc();
    FTPerson* to = association->toPerson();
    FTPerson* from = association->fromPerson();
    moc->deleteObject(association);
    int deleted = 0;
    for (FTPerson* person : {from, to}) {
        if (!person || person->isDeleted() || !person->isUnconnected() || person == moc->focalPerson())
            continue;
        const QString name = person->nameWithBirthAndDeathYears();
        const QString question = QStringLiteral("%1\n\n%2\n\n%3")
                                     .arg(LocalizedString("ConfirmDelete1"), name, LocalizedString("ConfirmDelete2"));
        if (!Utils::displayYesNoQuery(question, LocalizedString("Yes"), LocalizedString("No")))
            continue;
        NotificationCenter::defaultCenter().post(QStringLiteral("PersonToBeDeleted"), person, moc);
        moc->undoManager()->setActionName(QStringLiteral("%1 %2").arg(LocalizedString("Delete"), name));
        moc->deleteObject(person);
        ++deleted;
    }
    return deleted;
}
