#pragma once

#include "gedcom/ui/ExportPersonPlusGenerationsController.h"

class FTPerson;

// The export window of the focal person's ancestors.
//
//   document->beginSheet(new ExportPersonPlusAncestorsController(moc->focalPerson()));
class ExportPersonPlusAncestorsController : public ExportPersonPlusGenerationsController {
    Q_OBJECT
public:
    explicit ExportPersonPlusAncestorsController(FTPerson* focalPerson, QWidget* parent = nullptr);
};
