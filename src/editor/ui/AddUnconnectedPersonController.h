#pragma once

#include "editor/ui/RelationshipDialog.h"

class FTMoc;
class FTPerson;
class QLineEdit;

// The sheet that adds a person linked to nobody: a name and a gender. Save makes the person (refusing a blank
// name or a gender other than M or F, with a message, the sheet staying open); Cancel makes nothing. Both end the
// sheet the same way: the opener tells them apart by person().
//
//   auto* sheet = new AddUnconnectedPersonController(doc->moc());
//   QObject::connect(sheet, &QDialog::finished, ... sheet->person() ...);
//   doc->beginSheet(sheet);
class AddUnconnectedPersonController : public RelationshipDialog {
    Q_OBJECT
public:
    explicit AddUnconnectedPersonController(FTMoc* moc, QWidget* parent = nullptr);

    FTMoc* moc() const { return m_moc; }
    FTPerson* person() const { return m_person; }
    QLineEdit* nameField() const { return m_name; }
    QLineEdit* genderField() const { return m_gender; }

    // Actions.
    void save();
    void cancel();

private:
    FTMoc* m_moc;
    FTPerson* m_person = nullptr;
    QLineEdit* m_name;
    QLineEdit* m_gender;
};
