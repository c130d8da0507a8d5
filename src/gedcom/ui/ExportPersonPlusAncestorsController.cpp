#include "gedcom/ui/ExportPersonPlusAncestorsController.h"

#include "gedcom/ExportPersonPlusAncestors.h"

ExportPersonPlusAncestorsController::ExportPersonPlusAncestorsController(FTPerson* focalPerson, QWidget* parent)
    : ExportPersonPlusGenerationsController(std::make_unique<ExportPersonPlusAncestors>(focalPerson), true,
        QStringLiteral("ExportPersonPlusAncestors"), QStringLiteral("ExportAncestorsTitle"),
        QStringLiteral("ExportAncestorsInfo"), parent)
{
}
