#include "tools/EventTableModel.h"

#include "model/FTEvent.h"

#include "platform/Localizer.h"

EventTableModel::EventTableModel(QList<const char*> headingKeys, int dateColumn, bool toolTips, QObject* parent)
    : QAbstractTableModel(parent)
    , m_headingKeys(std::move(headingKeys))
    , m_dateColumn(dateColumn)
    , m_toolTips(toolTips)
{
}

void EventTableModel::refreshRows()
{
    if (!m_events.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_events.size()) - 1, columnCount() - 1));
}

int EventTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_events.size()); }

int EventTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_headingKeys.size());
}

QVariant EventTableModel::data(const QModelIndex& index, int role) const
{
    const FTEvent* e = event(index.row());
    const bool wanted = role == Qt::DisplayRole || role == Qt::EditRole || (m_toolTips && role == Qt::ToolTipRole);
    if (!e || e->isDeleted() || !wanted)
        return {};
    return cellValue(e, index.column(), role);
}

bool EventTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    FTEvent* e = event(index.row());
    if (!e || e->isDeleted() || role != Qt::EditRole || index.column() != m_dateColumn)
        return false;
    const QString typed = value.toString();
    if (typed == e->date())
        return true;
    e->setDate(typed);
    Q_EMIT dataChanged(index, index);
    return true;
}

Qt::ItemFlags EventTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == m_dateColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant EventTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < 0 || section >= m_headingKeys.size())
        return {};
    return LocalizedString(QString::fromLatin1(m_headingKeys[section]));
}
