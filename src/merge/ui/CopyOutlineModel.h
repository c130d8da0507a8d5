#pragma once

#include <QAbstractItemModel>

class CopyOutline;
class Hierarchy;

// The people a copy may take along, as an outline: one top row, the person copied, and under each row the next
// generation as CopyOutline gives it (a repeated person's row, greyed, has nothing under it). Columns: the name with
// the years, then the generation. Read only.
class CopyOutlineModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { NameColumn, LevelColumn, ColumnCount };

    explicit CopyOutlineModel(CopyOutline& outline, QObject* parent = nullptr);

    Hierarchy* node(const QModelIndex& index) const;
    QModelIndex indexOf(Hierarchy* node, int column = 0) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    CopyOutline& m_outline;
};
