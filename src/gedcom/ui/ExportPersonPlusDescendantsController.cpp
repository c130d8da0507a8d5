#include "gedcom/ui/ExportPersonPlusDescendantsController.h"

#include "gedcom/ExportPersonPlusDescendants.h"

ExportPersonPlusDescendantsController::ExportPersonPlusDescendantsController(FTPerson* focalPerson, QWidget* parent)
    : ExportPersonPlusGenerationsController(std::make_unique<ExportPersonPlusDescendants>(focalPerson), false,
        QStringLiteral("ExportPersonPlusDescendants"), QStringLiteral("ExportDescendantsTitle"),
        QStringLiteral("ExportDescendantsInfo"), parent)
{
}
