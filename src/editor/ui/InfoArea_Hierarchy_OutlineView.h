#pragma once

#include "editor/ui/CellEditingView.h"

#include <QTreeView>

class FTMoc;
class FTPerson;
class HierarchyTreeModel;

// The outline of the ancestors and descendants pages. One click edits a cell (a refused edit stays open with
// what was typed until it is corrected or abandoned with Escape); a click with Ctrl makes the row's person the
// focal person; a click with Alt only says how branches are opened; the button columns open the person's
// details and family; a secondary click opens the row's menu. Branches open to a depth (expandAll) and close
// with everything below them. The columns share the visible width (HierarchyOutlineRules::columnWidths) and
// what has changed is saved when the program is next idle after the outline has drawn.
class InfoArea_Hierarchy_OutlineView : public CellEditingView<QTreeView> {
    Q_OBJECT
public:
    explicit InfoArea_Hierarchy_OutlineView(QWidget* parent = nullptr);

    void setMoc(FTMoc* moc) { m_moc = moc; }
    FTMoc* moc() const { return m_moc; }
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

protected:
    // The check of an edit: names, titles, birth dates (against the row's person's relatives) and places.
    bool acceptEdit(const QModelIndex& index, QWidget* editor) override;
    // Up and Down go to the row before or after.
    bool editorKeyPress(QWidget* editor, QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setBranchExpanded(const QModelIndex& index, int lastLevel, bool expand);

    FTMoc* m_moc = nullptr;
    int m_lastVisibleWidth = -1;
};
