#include "editor/UnconnectedPersonEntry.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"

QString UnconnectedPersonEntry::genderFor(const QString& typed)
{
    return typed.trimmed().toUpper();
}

QString UnconnectedPersonEntry::problemWith(const QString& name, const QString& gender)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("EnterNameTryAgain");
    const QString letter = genderFor(gender);
    if (letter != LocalizedString("MaleShort") && letter != LocalizedString("FemaleShort"))
        return QStringLiteral("GenderQualification");
    return {};
}

FTPerson* UnconnectedPersonEntry::create(FTMoc* moc, const QString& name, const QString& gender)
{
    if (!moc)
        return nullptr;
    if (const QString problem = problemWith(name, gender); !problem.isEmpty()) {
        Prompts::current().message(LocalizedString(problem));
        return nullptr;
    }
    const QString trimmed = name.trimmed();
    if (FTMocUndoManager* undo = moc->undoManager())
        undo->setActionName(QStringLiteral("%1 %2").arg(LocalizedString("AddUnconnected"), trimmed));
    return FTPerson::initInMoc(moc, trimmed, genderFor(gender));
}

void UnconnectedPersonEntry::focusOn(FTPerson* person)
{
    FTMoc* moc = person ? person->moc() : nullptr;
    if (!moc)
        return;
    if (FTMocUndoManager* undo = moc->undoManager()) {
        // Adding and focusing are two steps for undo: undoing the focus keeps the person.
        undo->closeOpenGroups();
        undo->beginUndoGrouping();
        undo->setActionName(
            QStringLiteral("%1 %2").arg(LocalizedString("FocusOn"), person->nameWithBirthAndDeathYears()));
        moc->setFocalPerson(person);
        undo->endUndoGrouping();
        return;
    }
    moc->setFocalPerson(person);
}
