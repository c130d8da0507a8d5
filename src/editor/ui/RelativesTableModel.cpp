#include "editor/ui/RelativesTableModel.h"

#include "editor/RelativesPageRows.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QFont>

using Rows = RelativesPageRows;

RelativesTableModel::RelativesTableModel(QObject* parent)
    : PersonRowsModel(Rows::Name, DetailsButton, FamilyButton, parent)
{
}

void RelativesTableModel::setRows(const QList<Relative>& rows, FTPerson* self)
{
    beginResetModel();
    m_rows = rows;
    m_self = self;
    endResetModel();
}

void RelativesTableModel::clear()
{
    setRows({}, nullptr);
}

FTPerson* RelativesTableModel::person(int row) const
{
    FTPerson* p = row >= 0 && row < m_rows.size() ? m_rows[row].person() : nullptr;
    return p && !p->isDeleted() ? p : nullptr;
}

int RelativesTableModel::fieldTag(int column) const
{
    return Rows::fieldTag(column);
}

QString RelativesTableModel::columnIdentifier(int column) const
{
    return Rows::identifier(column);
}

int RelativesTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RelativesTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RelativesTableModel::rowData(const QModelIndex& index, FTPerson* p, int role) const
{
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column == Rows::Relationship)
            return m_rows[index.row()].relationship();
        if (column == Rows::AgeAtDeath)
            return p->ageAtDeath().trimmed();
        return {};
    case Qt::FontRole:
        if (p == m_self) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

void RelativesTableModel::personWritten(const QModelIndex&)
{
    // The same person may stand in more than one row (a cousin who is also a sibling-in-law).
    Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

QVariant RelativesTableModel::heading(int section) const
{
    static const char* const keys[] = {"RelativesRelationship", nullptr, "RelativesBorn", "RelativesBirthPlace",
                                       "RelativesDied", "RelativesDeathPlace", "RelativesAge", nullptr, nullptr};
    if (section == Rows::Name)
        return nameHeading().isEmpty() ? LocalizedString("SelfName") : nameHeading();
    return section >= 0 && section < ColumnCount && keys[section] ? LocalizedString(keys[section]) : QString();
}
