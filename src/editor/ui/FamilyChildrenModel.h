#pragma once

#include "editor/FamilyChildrenLayout.h"

#include <QAbstractTableModel>
#include <QList>

#include <functional>

class FTPerson;

// A couple's children as a table: one ChildInfo per row, the new-child row last, the columns a choice of
// FamilyChildrenLayout's. A child's name, gender, birth and death with their places and notes are edited in place
// and written straight to the person; in the new-child row only the name can be typed, and `newChild` makes the
// child of that name, which takes its row just above the new-child row. A column's identifier is its header's
// Qt::UserRole.
class FamilyChildrenModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Rows = FamilyChildrenLayout::Rows;

    FamilyChildrenModel(QList<int> columns, QObject* parent = nullptr);

    // Makes the child typed into the new-child row; null when none was made.
    std::function<FTPerson*(const QString& name)> newChild;

    void setRows(Rows rows);
    void clear();
    const Rows& rows() const { return m_rows; }
    Rows& rows() { return m_rows; }
    const ChildInfo* row(int r) const;
    ChildInfo* row(int r);
    FTPerson* child(int r) const;
    int rowOf(const FTPerson* child) const;
    // The number of children (the rows without the new-child row).
    int childCount() const { return std::max(0, int(m_rows.size()) - 1); }
    bool isNewChildRow(int r) const { return r >= 0 && r == int(m_rows.size()) - 1; }
    // A child's row just above the new-child row.
    void insertChild(FTPerson* child, float rowHeight);
    void removeChildRow(int r);
    void rowChanged(int r);

    // FamilyChildrenLayout's column of a table column, and back (-1 when not shown).
    int layoutColumn(int column) const { return column >= 0 && column < m_columns.size() ? m_columns[column] : -1; }
    int tableColumn(int layoutColumn) const { return int(m_columns.indexOf(layoutColumn)); }
    QString identifier(int column) const { return FamilyChildrenLayout::identifier(layoutColumn(column)); }
    // What a cell shows.
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<int> m_columns;
    Rows m_rows;
};
