#pragma once

#include "model/Relative.h"

#include <QAbstractTableModel>
#include <QList>

class FTPerson;

// The rows of the relatives and immediate-family pages: relationship, name, birth date and place, death date and
// place, age at death, then the details and family buttons. The person's own row is bold; a separator row has
// no person, cannot be selected and shows nothing. Names, dates and places are written straight to the row's
// person (a missing birth or death event is made for a value). A column's identifier is its header's
// Qt::UserRole.
class RelativesTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum { DetailsButton = 7, FamilyButton = 8, ColumnCount = 9 };

    explicit RelativesTableModel(QObject* parent = nullptr);

    void setRows(const QList<Relative>& rows, FTPerson* self);
    void clear();
    const QList<Relative>& rows() const { return m_rows; }
    FTPerson* person(int row) const;
    // The person whose relatives are listed (bold row).
    FTPerson* self() const { return m_self; }
    void setNameHeading(const QString& heading);
    static QString identifier(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<Relative> m_rows;
    FTPerson* m_self = nullptr;
    QString m_nameHeading;
};
