#pragma once

#include "editor/ui/CellEditingView.h"
#include "editor/ui/EditorTableView.h"

#include <QList>

class FTMoc;
class FTPerson;
class QContextMenuEvent;

// What the table of the relatives and immediate-family pages and the outline of the ancestors and descendants
// pages have in common (Base is EditorTableView or CellEditingView<QTreeView>): a person in each row, whose
// names, dates and places are edited in place and checked as the person editor checks them; a click with Ctrl
// makes the row's person the focal person, the details and family button columns open the person's details and
// family, a secondary click opens the row's menu. The buttons keep their width and the text columns share the
// rest; what has changed is saved when the program is next idle after the view has drawn.
template <class Base>
class PersonRowsView : public Base {
public:
    PersonRowsView(int detailsColumn, int familyColumn, QWidget* parent);

    void setMoc(FTMoc* moc) { m_moc = moc; }
    FTMoc* moc() const { return m_moc; }

    // Makes the person (when there is one still in its database) the focal person.
    static void promoteToFocalPerson(FTPerson* person);

protected:
    // The row's person, none for an empty or separator row.
    virtual FTPerson* rowPerson(const QModelIndex& index) const = 0;
    // The person's field a column shows (PersonFields), -1 for none.
    virtual int fieldTag(int column) const = 0;
    virtual void selectRowOf(const QModelIndex& index) = 0;
    // Opens the cell's editor; false when it cannot be edited.
    virtual bool editPersonCell(const QModelIndex& index) = 0;
    virtual void buttonClickedAt(const QModelIndex& index) = 0;
    virtual void contextMenuAt(const QModelIndex& index, const QPoint& globalPos) = 0;

    bool isButtonColumn(int column) const { return column == m_detailsColumn || column == m_familyColumn; }
    // The width the text columns share.
    int textColumnsRoom() const;
    // The least width of a date column, so that a date is never cut off.
    int dateColumnMinimum() const;
    // Ends any edit, then gives the text columns (the first ones) their widths and the buttons theirs.
    void applyColumnWidths(const QList<int>& textWidths);
    // A left click on a cell of a person's row that is not being edited.
    void clickPersonCell(QMouseEvent* event, const QModelIndex& index, FTPerson* person);

    // Only what the user changed is checked: a stored value the checks would refuse can still be looked at.
    bool acceptEdit(const QModelIndex& index, QWidget* editor) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    FTMoc* m_moc = nullptr;
    int m_detailsColumn;
    int m_familyColumn;
};

extern template class PersonRowsView<EditorTableView>;
extern template class PersonRowsView<CellEditingView<QTreeView>>;
