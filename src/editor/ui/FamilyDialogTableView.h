#pragma once

#include "editor/ui/FamilyTableView.h"

// A table of the family dialog: the couple's children (ending with the new-child row) or their other marriage
// events. The arrows and Return move between rows from every column; the children's columns share the width in
// the proportions 220:40:90:150:140:90:150:140:40 (the dates no narrower than a whole date), the events' in their
// own.
class FamilyDialogTableView : public FamilyTableView {
    Q_OBJECT
public:
    explicit FamilyDialogTableView(QWidget* parent = nullptr);

    // The last row is the new-child row (the children's table); cleared for the events' table.
    void setUsesDummyObject(bool uses) { m_usesDummyObject = uses; }
    bool usesDummyObject() const { return m_usesDummyObject; }

    FamilyTableKeys::Move keyMove(const QString& column, FamilyTableKeys::Command command, int row) const override;
    void setColumnWidths() override;

protected:
    FamilyChildrenLayout::Widths columnWidthsFor(double visibleWidth) const override;

private:
    bool m_usesDummyObject = true;
};
