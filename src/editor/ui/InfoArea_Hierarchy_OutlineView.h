#pragma once

#include "editor/ui/PersonRowsView.h"

class HierarchyTreeModel;

// The outline of the ancestors and descendants pages (PersonRowsView). One click edits a cell; a click with Alt
// only says how branches are opened. Branches open to a depth (expandAll) and close with everything below them.
// The columns share the visible width (HierarchyOutlineRules::columnWidths).
class InfoArea_Hierarchy_OutlineView : public PersonRowsView<CellEditingView<QTreeView>> {
    Q_OBJECT
public:
    explicit InfoArea_Hierarchy_OutlineView(QWidget* parent = nullptr);

    HierarchyTreeModel* hierarchyModel() const;

    void setColumnWidths();
    // The selected row (column 0), invalid for none.
    QModelIndex selectedIndex() const;
    // Opens the row and the rows below it down to `generations` below the row's own level; the rows outside
    // the branch stay as they are.
    void expandBranch(const QModelIndex& index, int generations);
    // Closes the row and every row below it.
    void collapseBranch(const QModelIndex& index);
    // Opens every row down to `level` (counted from the top row, 0).
    void expandToLevel(int level);


Q_SIGNALS:
    void buttonClicked(const QModelIndex& index, int column);
    void contextMenuRequested(const QModelIndex& index, const QPoint& globalPos);
    // An edit has ended, written or not.
    void editingEnded();

protected:
    FTPerson* rowPerson(const QModelIndex& index) const override;
    int fieldTag(int column) const override;
    void selectRowOf(const QModelIndex& index) override { setCurrentIndex(index.siblingAtColumn(0)); }
    bool editPersonCell(const QModelIndex& index) override { return editCell(index); }
    void buttonClickedAt(const QModelIndex& index) override { Q_EMIT buttonClicked(index, index.column()); }
    void contextMenuAt(const QModelIndex& index, const QPoint& globalPos) override
    {
        Q_EMIT contextMenuRequested(index.siblingAtColumn(0), globalPos);
    }
    // Up and Down go to the row before or after.
    bool editorKeyPress(QWidget* editor, QKeyEvent* event) override;
    void editingDidEnd(const QModelIndex&) override { Q_EMIT editingEnded(); }
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setBranchExpanded(const QModelIndex& index, int lastLevel, bool expand);

    int m_lastVisibleWidth = -1;
};
