#pragma once

#include "editor/ui/EditorTableView.h"

class EventInfo;
class EventsTableModel;
class FTEvent;
class InfoArea_Events;
class QMenu;

// The table of the events page: one click edits the name, date, place or notes of a row (the caret at the end), a
// click on the details button or the source numbers opens the event editor, Tab and the arrows move between rows
// while editing, the columns keep their share of the width, each row is as high as its notes need when it is
// shown in full, the source numbers explain the citations in a tool tip, and the context menu offers the commands
// of a row.
class InfoArea_Events_TableView : public EditorTableView {
    Q_OBJECT
public:
    // The details buttons' column.
    static constexpr int kDetailsButtonsWidth = 22;

    explicit InfoArea_Events_TableView(InfoArea_Events* page);

    InfoArea_Events* page() const { return m_page; }
    EventsTableModel* eventsModel() const;
    EventInfo* rowAt(int row) const;
    int selectedRow() const;
    bool isRowSelected(int row) const { return row >= 0 && row == selectedRow(); }

    // The columns' widths from the visible width; all heights again when the notes column changed.
    void setColumnWidths() override;
    // Each row's height from its stored height (all rows, or one).
    void applyRowHeights();
    void applyRowHeight(int row) override;
    // Selects the row and edits the cell of the column (EventsTableLayout::Column); false when the cell is not
    // editable or an edit elsewhere was refused.
    bool editColumn(int column, int row);

    // The context menu of a row (-1: below the last row); null when it would be empty. The caller owns it.
    QMenu* createContextMenu(int row);
    // Shows it at a point of the screen.
    void displayPopupMenu(int row, const QPoint& globalPos);
    // The tool tip of a cell: the citations over the source numbers, the full text of a cut-off cell.
    QString toolTipForCell(int row, int column) const override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool editorKeyPress(QWidget* editor, QKeyEvent* event) override;
    void editingDidEnd(const QModelIndex& index) override;

private:
    // Tab and Shift-Tab outside the notes: the next or previous editable cell of the row.
    bool editNeighbour(int step);
    InfoArea_Events* m_page;
    bool m_settingWidths = false;
};
