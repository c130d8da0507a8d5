#pragma once

#include "editor/ui/AddPersonSheet.h"

// The sheet that adds a person linked to nobody: a name and a gender.
//
//   auto* sheet = new AddUnconnectedPersonController(doc->moc());
//   QObject::connect(sheet, &QDialog::finished, ... sheet->person() ...);
//   doc->beginSheet(sheet);
class AddUnconnectedPersonController : public AddPersonSheet {
    Q_OBJECT
public:
    explicit AddUnconnectedPersonController(FTMoc* moc, QWidget* parent = nullptr);

protected:
    FTPerson* createPerson() override;
};
