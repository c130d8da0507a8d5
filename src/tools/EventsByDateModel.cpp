#include "tools/EventsByDateModel.h"

#include "model/FTEvent.h"

#include "platform/Localizer.h"

#include <algorithm>
#include <utility>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

EventsByDateModel::EventsByDateModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void EventsByDateModel::setEvents(const QList<FTEvent*>& events)
{
    beginResetModel();
    m_events = events;
    sortEvents();
    endResetModel();
}

void EventsByDateModel::sortEvents()
{
    // Each owner's name once, not once per comparison.
    QList<std::pair<QString, FTEvent*>> keyed;
    keyed.reserve(m_events.size());
    for (FTEvent* e : std::as_const(m_events))
        keyed.append({e->ownerName(), e});
    const bool ascending = m_dateAscending;
    std::stable_sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
        const quint32 da = a.second->lDate(), db = b.second->lDate();
        if (da != db)
            return ascending ? da < db : da > db;
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    for (qsizetype i = 0; i < keyed.size(); ++i)
        m_events[i] = keyed[i].second;
}

int EventsByDateModel::rowOf(const FTEvent* event) const
{
    for (qsizetype i = 0; i < m_events.size(); ++i)
        if (m_events[i] == event)
            return int(i);
    return -1;
}

void EventsByDateModel::removeEvent(FTEvent* event)
{
    const int row = rowOf(event);
    if (row < 0)
        return;
    beginRemoveRows({}, row, row);
    m_events.removeAt(row);
    endRemoveRows();
}

void EventsByDateModel::refreshRows()
{
    if (!m_events.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_events.size()) - 1, ColumnCount - 1));
}

void EventsByDateModel::toggleDateOrder()
{
    beginResetModel();
    m_dateAscending = !m_dateAscending;
    sortEvents();
    endResetModel();
}

int EventsByDateModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_events.size()); }

int EventsByDateModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant EventsByDateModel::data(const QModelIndex& index, int role) const
{
    const FTEvent* e = event(index.row());
    if (!e || e->isDeleted() || (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole))
        return {};
    switch (index.column()) {
    case OwnerColumn:
        return e->ownerName();
    case TypeColumn:
        return e->subtypeName();
    case DateColumn:
        return e->date();
    case NameColumn:
        return e->name();
    case PlaceColumn:
        return e->place();
    case NotesColumn: {
        QString notes = e->notes();
        // One line a row; the tool tip shows the notes as written.
        return role == Qt::ToolTipRole ? notes : notes.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    default:
        return {};
    }
}

bool EventsByDateModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    FTEvent* e = event(index.row());
    if (!e || role != Qt::EditRole || index.column() != DateColumn)
        return false;
    const QString typed = value.toString();
    if (typed == e->date())
        return true;
    e->setDate(typed);
    Q_EMIT dataChanged(index, index);
    return true;
}

Qt::ItemFlags EventsByDateModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == DateColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant EventsByDateModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case OwnerColumn:
        return L("EventOwner");
    case TypeColumn:
        return L("Event");
    case DateColumn:
        return L("Date");
    case NameColumn:
        return L("EventName");
    case PlaceColumn:
        return L("Place");
    case NotesColumn:
        return L("Notes");
    default:
        return {};
    }
}
