#pragma once

#include "editor/ui/EditorTableView.h"

#include <functional>

class FTMoc;
class FTPerson;
class RelativesTableModel;

// The table of the relatives and immediate-family pages. One click edits a name, date or place; a click on the
// relationship selects the row; a click with Ctrl makes the row's person the focal person; the two button columns
// open the person's details and family. Separator rows take no clicks. While a cell is edited, Up and Down go to
// the row before or after. The text columns share the visible width (RelativesPageRows::columnWidths) and what
// has changed is saved when the program is next idle after the table has drawn.
class InfoArea_Relatives_TableView : public EditorTableView {
    Q_OBJECT
public:
    explicit InfoArea_Relatives_TableView(QWidget* parent = nullptr);

    void setMoc(FTMoc* moc) { m_moc = moc; }
    FTMoc* moc() const { return m_moc; }
    RelativesTableModel* relativesModel() const;
    void setColumnWidths() override;
    int selectedRow() const;
    // Selects the row when it has a person; false otherwise.
    bool selectPersonRow(int row);
    // Ends any edit and edits the cell; false when it cannot be edited or an edit elsewhere was refused.
    bool editColumn(int column, int row);
    // The check of an edit: names, dates (a birth date against the row's person's relatives) and places.
    bool shouldEndRelativeEditing(const QModelIndex& index, QWidget* editor);

    static void promoteToFocalPerson(FTPerson* person);

Q_SIGNALS:
    void buttonClicked(int row, int column);
    void contextMenuRequested(int row, const QPoint& globalPos);

protected:
    bool editorKeyPress(QWidget* editor, QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    FTMoc* m_moc = nullptr;
};
