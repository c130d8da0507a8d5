#pragma once

#include "editor/ui/RelationshipDialog.h"

class FTMoc;
class FTPerson;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;

// A sheet that adds a new person: a bold heading, the name and gender fields (with a hint after the gender) in
// a grid a subclass may add rows to, then Cancel and Add. Add makes the person (createPerson, which refuses a
// blank name or a gender other than M or F with a message, the sheet staying open); Cancel makes nothing. Both
// end the sheet the same way: the opener tells them apart by person().
class AddPersonSheet : public RelationshipDialog {
    Q_OBJECT
public:
    FTMoc* moc() const { return m_moc; }
    FTPerson* person() const { return m_person; }
    QLineEdit* nameField() const { return m_name; }
    QLineEdit* genderField() const { return m_gender; }

    // Actions.
    void save();
    void cancel();

protected:
    AddPersonSheet(FTMoc* moc, const QString& heading, int nameWidth, const QString& genderHint, QWidget* parent);

    // The person made from what was typed; none when it was refused.
    virtual FTPerson* createPerson() = 0;

    QLabel* heading() const { return m_heading; }
    // The fields, the name in row 0 and the gender in row 1, each over columns 1 and 2 after its label.
    QGridLayout* grid() const { return m_grid; }
    // Lays the sheet out once the grid is complete; the fields take the height the sheet has to spare when
    // `fieldsGrow`, else it goes below them.
    void layOut(bool fieldsGrow);

private:
    FTMoc* m_moc;
    FTPerson* m_person = nullptr;
    QLabel* m_heading;
    QLineEdit* m_name;
    QLineEdit* m_gender;
    QGridLayout* m_grid;
    QHBoxLayout* m_buttons;
};
