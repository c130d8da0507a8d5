#pragma once

#include "editor/ui/RelationshipDialog.h"

class FTAssociation;
class FTMoc;
class FTPerson;
class QLineEdit;
class QPlainTextEdit;

// Shows and edits the association between two people (made from either of them): what the one is to the
// other and notes, written when the dialog closes. "Delete Association" deletes it and offers to delete each of
// the two people who is then linked to nobody, never the focal person. Without an association between them the
// dialog closes at once.
//
//   AssociatedPersonDialog dialog(associated, person);
//   dialog.run();
class AssociatedPersonDialog : public RelationshipDialog {
    Q_OBJECT
public:
    // The first association between the two people, either way round.
    AssociatedPersonDialog(FTPerson* first, FTPerson* second, QWidget* parent = nullptr);
    explicit AssociatedPersonDialog(FTAssociation* association, QWidget* parent = nullptr);

    FTMoc* moc() const { return m_moc; }
    FTAssociation* association() const { return m_association; }
    QLineEdit* relationshipField() const { return m_relationship; }
    QPlainTextEdit* notesField() const { return m_notes; }
    // Runs the dialog modally; returns at once when there is no association.
    int run();

    // Actions.
    void deleteAssociation();

protected:
    bool windowShouldClose() override;

private:
    FTMoc* m_moc = nullptr;
    FTAssociation* m_association = nullptr;
    bool m_deleted = false;
    QLineEdit* m_relationship = nullptr;
    QPlainTextEdit* m_notes = nullptr;
};
