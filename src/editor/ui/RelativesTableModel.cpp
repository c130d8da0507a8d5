#include "editor/ui/RelativesTableModel.h"

#include "editor/PersonFields.h"
#include "editor/RelativesPageRows.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QFont>

using Rows = RelativesPageRows;

RelativesTableModel::RelativesTableModel(QObject* parent)
    : QAbstractTableModel(parent)
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

void RelativesTableModel::setNameHeading(const QString& heading)
{
    if (heading == m_nameHeading)
        return;
    m_nameHeading = heading;
    Q_EMIT headerDataChanged(Qt::Horizontal, Rows::Name, Rows::Name);
}

QString RelativesTableModel::identifier(int column)
{
    if (column == DetailsButton)
        return QStringLiteral("detailsButton");
    if (column == FamilyButton)
        return QStringLiteral("familyButton");
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

QVariant RelativesTableModel::data(const QModelIndex& index, int role) const
{
    FTPerson* p = person(index.row());
    if (!p)
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column == Rows::Relationship)
            return m_rows[index.row()].relationship();
        if (column == Rows::AgeAtDeath)
            return p->ageAtDeath().trimmed();
        if (const int tag = Rows::fieldTag(column); tag >= 0)
            return PersonFields::read(tag, p);
        return {};
    case Qt::FontRole:
        if (p == m_self) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ToolTipRole:
        if (column == DetailsButton)
            return LocalizedString("RelativesDetailsTip");
        if (column == FamilyButton)
            return LocalizedString("RelativesFamilyTip");
        return {};
    default:
        return {};
    }
}

bool RelativesTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    FTPerson* p = person(index.row());
    const int tag = Rows::fieldTag(index.column());
    if (role != Qt::EditRole || !p || tag < 0)
        return false;
    const QString text = value.toString();
    if (text == PersonFields::read(tag, p))
        return true;
    PersonFields::write(tag, p, text);
    // The same person may stand in more than one row (a cousin who is also a sibling-in-law).
    Q_EMIT dataChanged(this->index(0, 0), this->index(rowCount() - 1, ColumnCount - 1));
    return true;
}

Qt::ItemFlags RelativesTableModel::flags(const QModelIndex& index) const
{
    if (!person(index.row()))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Rows::fieldTag(index.column()) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant RelativesTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::UserRole)
        return identifier(section);
    if (role != Qt::DisplayRole)
        return {};
    static const char* const keys[] = {"RelativesRelationship", nullptr, "RelativesBorn", "RelativesBirthPlace",
                                       "RelativesDied", "RelativesDeathPlace", "RelativesAge", nullptr, nullptr};
    if (section == Rows::Name)
        return m_nameHeading.isEmpty() ? LocalizedString("SelfName") : m_nameHeading;
    return section >= 0 && section < ColumnCount && keys[section] ? LocalizedString(keys[section]) : QString();
}
