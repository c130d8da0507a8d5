#pragma once

#include <QAbstractTableModel>

class ComparePeopleList;
class FTPerson;

// A side's list of people as rows of a table: id, name, birth and death years. Only the rows in view are read,
// so a list of 100,000 people shows at once.
class ComparePeopleModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { IdColumn, NameColumn, BornColumn, DiedColumn, ColumnCount };

    ComparePeopleModel(const ComparePeopleList* list, QObject* parent = nullptr);

    // The list changed (people, order or filter).
    void reload();
    FTPerson* personAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const ComparePeopleList* m_list;
};
