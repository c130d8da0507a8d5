#pragma once

#include "editor/ui/AddPersonSheet.h"

class QPlainTextEdit;

// The sheet that adds a new person associated with the database's focal person: the name and gender of the
// new person, what the person is to the focal person, and notes. Add makes the person and the association.
class AddAssociatedPerson : public AddPersonSheet {
    Q_OBJECT
public:
    explicit AddAssociatedPerson(FTMoc* moc, QWidget* parent = nullptr);

    QLineEdit* associationDescriptionField() const { return m_description; }
    QPlainTextEdit* notesField() const { return m_notes; }

protected:
    FTPerson* createPerson() override;

private:
    QLineEdit* m_description;
    QPlainTextEdit* m_notes;
};
