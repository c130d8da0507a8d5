#pragma once

#include "gedcom/ui/ExportPersonPlusGenerationsController.h"

class FTPerson;

// The export window of the focal person's descendants (with their spouses).
//
//   document->beginSheet(new ExportPersonPlusDescendantsController(moc->focalPerson()));
class ExportPersonPlusDescendantsController : public ExportPersonPlusGenerationsController {
    Q_OBJECT
public:
    explicit ExportPersonPlusDescendantsController(FTPerson* focalPerson, QWidget* parent = nullptr);
};
