#pragma once

#include <QAbstractTableModel>
#include <QList>

class FTPerson;

// A read-only table of people for the listing sheets: name with years, birth place and death place. It reads the
// people as rows are drawn, so a list of a whole large database fills at once.
class PeopleListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setPeople(const QList<FTPerson*>& people);
    const QList<FTPerson*>& people() const { return m_people; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<FTPerson*> m_people;
};
