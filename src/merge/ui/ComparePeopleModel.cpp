#include "merge/ui/ComparePeopleModel.h"

#include "merge/ComparePeopleList.h"

#include "model/FTEvent.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

namespace {
QString yearOf(const FTEvent* event)
{
    return event && event->year() != 0 ? QString::number(event->year()) : QString();
}
}

ComparePeopleModel::ComparePeopleModel(const ComparePeopleList* list, QObject* parent)
    : QAbstractTableModel(parent)
    , m_list(list)
{
}

void ComparePeopleModel::reload()
{
    beginResetModel();
    endResetModel();
}

FTPerson* ComparePeopleModel::personAt(int row) const
{
    return m_list->at(row);
}

int ComparePeopleModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_list->count());
}

int ComparePeopleModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ComparePeopleModel::data(const QModelIndex& index, int role) const
{
    const FTPerson* p = personAt(index.row());
    // A person deleted in the main window stays listed until the list is read again, but shows nothing.
    if (!p || p->isDeleted())
        return {};
    if (role == Qt::TextAlignmentRole && index.column() != NameColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case IdColumn:
        return p->numericId();
    case NameColumn:
        return p->name();
    case BornColumn:
        return yearOf(p->birth());
    case DiedColumn:
        return yearOf(p->death());
    default:
        return {};
    }
}

QVariant ComparePeopleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const kKeys[] = { "CompareColumnId", "CompareColumnName", "CompareColumnBorn", "CompareColumnDied" };
    return section >= 0 && section < ColumnCount ? LocalizedString(QString::fromLatin1(kKeys[section])) : QVariant();
}
