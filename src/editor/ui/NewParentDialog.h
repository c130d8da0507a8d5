#pragma once

#include "editor/PcRelCleanup.h"
#include "editor/ui/PcRelTypesTable.h"
#include "editor/ui/RelationshipDialog.h"

class FTMoc;
class FTPcRel;
class FTPerson;
class PersonFieldSet;
class QGridLayout;
class QLabel;

// What the add-parent and same-sex partner dialogs share: the new parent's name, gender, birth and death, a
// caption over the new parent's links to its children with a type pop-up each, and on closing the deletion of
// every one of those links left "Not Related" or without a type.
class NewParentDialog : public RelationshipDialog {
    Q_OBJECT
public:
    FTMoc* moc() const { return m_moc; }
    PersonFieldSet& fields() const { return *m_fields; }
    PcRelTypesTable* tv() const { return m_tv; }
    QLabel* tableViewLabel() const { return m_tableViewLabel; }

protected:
    NewParentDialog(FTMoc* moc, PcRelTypesTable::Shows shows, PcRelCleanup::Message message, QWidget* parent);
    // The grid of fields: rows 0 to 2 hold the name and gender, the birth and the death; a dialog adds its own rows.
    QGridLayout* grid() const { return m_grid; }
    // Shows `parent` in the fields and its links to its children in the table, in `links` order.
    void showParent(FTPerson* parent, const QList<FTPcRel*>& links);
    bool windowShouldClose() override;

private:
    FTMoc* m_moc;
    PcRelCleanup m_cleanup;
    PersonFieldSet* m_fields;
    QGridLayout* m_grid;
    QLabel* m_tableViewLabel;
    PcRelTypesTable* m_tv;
};
