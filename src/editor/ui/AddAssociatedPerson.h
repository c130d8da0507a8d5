#pragma once

#include "editor/ui/RelationshipDialog.h"

class FTMoc;
class FTPerson;
class QLineEdit;
class QPlainTextEdit;

// The sheet that adds a new person associated with the database's focal person: the name and gender of the
// new person, what the person is to the focal person, and notes. Add makes the person and the association
// (refusing a blank name or a gender other than M or F, with a message, the sheet staying open); Cancel makes
// nothing. The opener tells the two apart by person().
class AddAssociatedPerson : public RelationshipDialog {
    Q_OBJECT
public:
    explicit AddAssociatedPerson(FTMoc* moc, QWidget* parent = nullptr);

    FTMoc* moc() const { return m_moc; }
    FTPerson* person() const { return m_person; }
    QLineEdit* nameField() const { return m_name; }
    QLineEdit* genderField() const { return m_gender; }
    QLineEdit* associationDescriptionField() const { return m_description; }
    QPlainTextEdit* notesField() const { return m_notes; }

    // Actions.
    void save();
    void cancel();

private:
    FTMoc* m_moc;
    FTPerson* m_person = nullptr;
    QLineEdit* m_name;
    QLineEdit* m_gender;
    QLineEdit* m_description;
    QPlainTextEdit* m_notes;
};
