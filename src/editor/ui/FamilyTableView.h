#pragma once

#include "editor/FamilyChildrenLayout.h"
#include "editor/FamilyTableKeys.h"
#include "editor/ui/EditorTableView.h"

#include <functional>

class FTMoc;
class FTPerson;
class FamilyChildrenModel;

// What the family page's children table and the family dialog's tables share: one click edits a cell (the gender's
// letter selected, elsewhere the caret at the end), a click with the Control key held opens the context menu, the
// keyboard moves the edit by the table's own rules (FamilyTableKeys), and what has changed is saved when the
// program is next idle after the table has drawn.
//
// Over a couple's children (FamilyChildrenModel) it also checks what is typed (dates, places, the gender, the
// name of a new child), grows a row while its notes are typed, draws notes cut to one line in dark red, completes
// places and shows the age at death as a tool tip. A column is known by its header's Qt::UserRole identifier.
class FamilyTableView : public EditorTableView {
    Q_OBJECT
public:
    explicit FamilyTableView(QWidget* parent = nullptr);

    void setMoc(FTMoc* moc) { m_moc = moc; }
    FTMoc* moc() const { return m_moc; }
    // The children's model, null over another model.
    FamilyChildrenModel* childrenModel() const;
    FamilyChildrenLayout& layout() { return m_layout; }
    const FamilyChildrenLayout& layout() const { return m_layout; }
    // Every row shows its notes in full (else only the selected row).
    void setMultiLineNotes(bool on);
    bool multiLineNotes() const { return m_multiLineNotes; }
    // The husband of the couple, whose family name a new child's name may take.
    std::function<FTPerson*()> husband;

    QString columnIdentifier(int column) const;
    int columnOf(const QString& identifier) const;
    int selectedRow() const;
    bool isRowSelected(int row) const { return row >= 0 && row == selectedRow(); }
    // Ends any edit, selects the row and edits its cell (the gender's text selected); false when the cell cannot be
    // edited or an edit elsewhere was refused.
    bool editColumn(int column, int row);
    bool editColumn(const QString& identifier, int row) { return editColumn(columnOf(identifier), row); }

    // Row heights from the rows' stored heights, and every row's again.
    void applyRowHeights();
    void applyRowHeight(int row) override;
    void calculateRowHeightForAllRows();
    // The columns' widths from the visible width.
    void setColumnWidths() override;
    // The text of a cell's tool tip: the age at death, a cut-off text in full, what a button column's buttons do.
    QString toolTipForCell(int row, int column) const override;

    // The children's cells: the check when an edit ends, and typing.
    bool shouldEndChildEditing(const QModelIndex& index, QWidget* editor);
    void textDidChange(const QModelIndex& index, QWidget* editor);
    // The key move of the table's rules.
    virtual FamilyTableKeys::Move keyMove(const QString& column, FamilyTableKeys::Command command, int row) const = 0;

Q_SIGNALS:
    // A click in a button column.
    void buttonClicked(int row, const QString& column);
    void contextMenuRequested(int row, const QPoint& globalPos);

protected:
    // The widths of the layout's columns for the visible width.
    virtual FamilyChildrenLayout::Widths columnWidthsFor(double visibleWidth) const = 0;
    bool editorKeyPress(QWidget* editor, QKeyEvent* event) override;
    void editingDidEnd(const QModelIndex& index) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool isButtonColumn(int column) const;
    FamilyChildrenLayout m_layout;
    FTMoc* m_moc = nullptr;
    bool m_multiLineNotes = true;
};
