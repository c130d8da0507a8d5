#pragma once

#include "editor/ui/PersonRowsModel.h"

#include "model/Relative.h"

#include <QList>

class FTPerson;

// The rows of the relatives and immediate-family pages: relationship, name, birth date and place, death date and
// place, age at death, then the details and family buttons (PersonRowsModel). The person's own row is bold; a
// separator row has no person, cannot be selected and shows nothing. Names, dates and places are written straight
// to the row's person (a missing birth or death event is made for a value).
class RelativesTableModel : public PersonRowsModel<QAbstractTableModel> {
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

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;

protected:
    QVariant rowData(const QModelIndex& index, FTPerson* person, int role) const override;
    FTPerson* rowPerson(const QModelIndex& index) const override { return person(index.row()); }
    int fieldTag(int column) const override;
    QString columnIdentifier(int column) const override;
    QVariant heading(int section) const override;
    void personWritten(const QModelIndex& index) override;

private:
    QList<Relative> m_rows;
    FTPerson* m_self = nullptr;
};
