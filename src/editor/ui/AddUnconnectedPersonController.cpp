#include "editor/ui/AddUnconnectedPersonController.h"

#include "editor/UnconnectedPersonEntry.h"

#include "platform/Localizer.h"

#include <QLineEdit>

AddUnconnectedPersonController::AddUnconnectedPersonController(FTMoc* moc, QWidget* parent)
    : AddPersonSheet(moc, LocalizedString("AddUnconnectedTitle"), 280, LocalizedString("AddUnconnectedGenderHint"),
                     parent)
{
    setObjectName(QStringLiteral("AddUnconnectedPerson"));
    setWindowTitle(LocalizedString("AddUnconnected"));
    layOut(false);
}

FTPerson* AddUnconnectedPersonController::createPerson()
{
    return UnconnectedPersonEntry::create(moc(), nameField()->text(), genderField()->text());
}
