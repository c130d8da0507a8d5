#pragma once

#include "editor/ui/PersonRowsView.h"

class RelativesTableModel;

// The table of the relatives and immediate-family pages (PersonRowsView). One click edits a name, date or place;
// a click on the relationship selects the row. Separator rows take no clicks. While a cell is edited, Up and Down
// go to the row before or after. The text columns share the visible width (RelativesPageRows::columnWidths).
class InfoArea_Relatives_TableView : public PersonRowsView<EditorTableView> {
    Q_OBJECT
public:
    explicit InfoArea_Relatives_TableView(QWidget* parent = nullptr);

    RelativesTableModel* relativesModel() const;
    void setColumnWidths() override;
    int selectedRow() const;
    // Selects the row when it has a person; false otherwise.
    bool selectPersonRow(int row);
    // Ends any edit and edits the cell; false when it cannot be edited or an edit elsewhere was refused.
    bool editColumn(int column, int row);

Q_SIGNALS:
    void buttonClicked(int row, int column);
    void contextMenuRequested(int row, const QPoint& globalPos);

protected:
    FTPerson* rowPerson(const QModelIndex& index) const override;
    int fieldTag(int column) const override;
    void selectRowOf(const QModelIndex& index) override { selectPersonRow(index.row()); }
    bool editPersonCell(const QModelIndex& index) override { return editColumn(index.column(), index.row()); }
    void buttonClickedAt(const QModelIndex& index) override { Q_EMIT buttonClicked(index.row(), index.column()); }
    void contextMenuAt(const QModelIndex& index, const QPoint& globalPos) override
    {
        Q_EMIT contextMenuRequested(index.row(), globalPos);
    }
    bool editorKeyPress(QWidget* editor, QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
