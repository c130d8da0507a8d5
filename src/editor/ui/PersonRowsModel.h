#pragma once

#include <QAbstractItemModel>
#include <QAbstractTableModel>

class FTPerson;

// What the rows of the relatives table and of the ancestors and descendants outline have in common (Base is
// QAbstractTableModel or QAbstractItemModel): a person in each row, whose fields (PersonFields) some columns show
// and edit, then the details and family button columns; the name column's heading is set by the page. Edits are
// written to the person only when they change something. A column's identifier is its header's Qt::UserRole.
template <class Base>
class PersonRowsModel : public Base {
public:
    PersonRowsModel(int nameColumn, int detailsColumn, int familyColumn, QObject* parent);

    void setNameHeading(const QString& heading);
    QString nameHeading() const { return m_nameHeading; }
    // The buttons' "detailsButton" and "familyButton", else columnIdentifier.
    QString identifier(int column) const;

    // The person's fields and the buttons' tool tips; rowData for the rest.
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

protected:
    // The row's person, none for an empty or separator row (or one whose person has been deleted).
    virtual FTPerson* rowPerson(const QModelIndex& index) const = 0;
    // The person's field a column shows (PersonFields), -1 for none.
    virtual int fieldTag(int column) const = 0;
    virtual QString columnIdentifier(int column) const = 0;
    // A column's heading (the name column's is nameHeading()).
    virtual QVariant heading(int section) const = 0;
    // An edit of `index` has been written to its person.
    virtual void personWritten(const QModelIndex& index) = 0;
    // What a row with a person shows besides its fields and tool tips.
    virtual QVariant rowData(const QModelIndex& index, FTPerson* person, int role) const = 0;

private:
    int m_nameColumn;
    int m_detailsColumn;
    int m_familyColumn;
    QString m_nameHeading;
};

extern template class PersonRowsModel<QAbstractItemModel>;
extern template class PersonRowsModel<QAbstractTableModel>;
