#include "tools/EventsByDateModel.h"

#include "model/FTEvent.h"

#include <algorithm>
#include <utility>

EventsByDateModel::EventsByDateModel(QObject* parent)
    : EventTableModel({"EventOwner", "Event", "Date", "EventName", "Place", "Notes"}, DateColumn, true, parent)
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

void EventsByDateModel::toggleDateOrder()
{
    beginResetModel();
    m_dateAscending = !m_dateAscending;
    sortEvents();
    endResetModel();
}

QVariant EventsByDateModel::cellValue(const FTEvent* e, int column, int role) const
{
    switch (column) {
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
