#include "editor/ui/FamilyChildrenModel.h"

#include "editor/PersonFields.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

using Layout = FamilyChildrenLayout;

namespace {
// The person's field shown in a column (PersonFields' tag); 0 for the others.
int fieldTag(int layoutColumn)
{
    switch (layoutColumn) {
    case Layout::Name:
        return PersonFields::Name;
    case Layout::Gender:
        return PersonFields::Gender;
    case Layout::BirthDate:
        return PersonFields::BirthDate;
    case Layout::BirthPlace:
        return PersonFields::BirthPlace;
    case Layout::BirthNotes:
        return PersonFields::BirthNotes;
    case Layout::DeathDate:
        return PersonFields::DeathDate;
    case Layout::DeathPlace:
        return PersonFields::DeathPlace;
    case Layout::DeathNotes:
        return PersonFields::DeathNotes;
    default:
        return 0;
    }
}
}

FamilyChildrenModel::FamilyChildrenModel(QList<int> columns, QObject* parent)
    : QAbstractTableModel(parent)
    , m_columns(std::move(columns))
{
}

void FamilyChildrenModel::setRows(Rows rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void FamilyChildrenModel::clear()
{
    setRows({});
}

const ChildInfo* FamilyChildrenModel::row(int r) const
{
    return r >= 0 && r < int(m_rows.size()) ? &m_rows[size_t(r)] : nullptr;
}

ChildInfo* FamilyChildrenModel::row(int r)
{
    return r >= 0 && r < int(m_rows.size()) ? &m_rows[size_t(r)] : nullptr;
}

FTPerson* FamilyChildrenModel::child(int r) const
{
    const ChildInfo* info = row(r);
    FTPerson* child = info ? info->child() : nullptr;
    return child && !child->isDeleted() ? child : nullptr;
}

int FamilyChildrenModel::rowOf(const FTPerson* child) const
{
    for (size_t i = 0; child && i < m_rows.size(); ++i)
        if (m_rows[i].child() == child)
            return int(i);
    return -1;
}

void FamilyChildrenModel::insertChild(FTPerson* child, float rowHeight)
{
    const int at = std::max(0, int(m_rows.size()) - 1);
    beginInsertRows({}, at, at);
    ChildInfo info(child);
    info.setRowHeight(rowHeight);
    m_rows.insert(m_rows.begin() + at, info);
    endInsertRows();
}

void FamilyChildrenModel::removeChildRow(int r)
{
    if (r < 0 || r >= childCount())
        return;
    beginRemoveRows({}, r, r);
    m_rows.erase(m_rows.begin() + r);
    endRemoveRows();
}

void FamilyChildrenModel::rowChanged(int r)
{
    if (r >= 0 && r < rowCount())
        Q_EMIT dataChanged(index(r, 0), index(r, columnCount() - 1));
}

QString FamilyChildrenModel::text(int r, int column) const
{
    const FTPerson* c = child(r);
    if (!c)
        return {};
    const int layoutColumn = this->layoutColumn(column);
    if (layoutColumn == Layout::AgeAtDeath)
        return c->ageAtDeath().trimmed();
    const int tag = fieldTag(layoutColumn);
    return tag ? PersonFields::read(tag, c) : QString();
}

int FamilyChildrenModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FamilyChildrenModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant FamilyChildrenModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && layoutColumn(index.column()) == Layout::AgeAtDeath)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

bool FamilyChildrenModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    const int layoutColumn = this->layoutColumn(index.column());
    if (isNewChildRow(index.row())) {
        if (layoutColumn != Layout::Name || text.trimmed().isEmpty() || !newChild)
            return false;
        newChild(text);
        return true;
    }
    FTPerson* c = child(index.row());
    const int tag = fieldTag(layoutColumn);
    if (!c || !tag)
        return false;
    if (text != PersonFields::read(tag, c)) {
        PersonFields::write(tag, c, text);
        if (FTMoc* moc = c->moc())
            moc->deferredSave();
    }
    rowChanged(index.row());
    return true;
}

Qt::ItemFlags FamilyChildrenModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const int layoutColumn = this->layoutColumn(index.column());
    // No person stands behind the new-child row: only its name is typed.
    if (isNewChildRow(index.row()))
        return layoutColumn == Layout::Name ? f | Qt::ItemIsEditable : f;
    if (child(index.row()) && fieldTag(layoutColumn))
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant FamilyChildrenModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    static const char* const keys[Layout::ColumnCount] = {
        nullptr, nullptr, "FamilyColumnName", "FamilyColumnGender", "FamilyColumnBorn", "FamilyColumnBirthPlace",
        "FamilyColumnBirthNotes", "FamilyColumnDied", "FamilyColumnDeathPlace", "FamilyColumnDeathNotes",
        "FamilyColumnAge",
    };
    const int layoutColumn = this->layoutColumn(section);
    if (layoutColumn < 0)
        return {};
    if (role == Qt::UserRole)
        return FamilyChildrenLayout::identifier(layoutColumn);
    if (role == Qt::DisplayRole)
        return keys[layoutColumn] ? LocalizedString(QString::fromLatin1(keys[layoutColumn])) : QString();
    if (role == Qt::ToolTipRole && !keys[layoutColumn])
        return LocalizedString(QString::fromLatin1(
            layoutColumn == Layout::ChildsDetails ? "FamilyChildDetails" : "FamilyChildFamily"));
    return {};
}
