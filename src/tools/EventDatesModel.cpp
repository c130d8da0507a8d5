#include "tools/EventDatesModel.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"

#include <QHash>

#include <algorithm>
#include <utility>
#include <vector>

EventDatesModel::EventDatesModel(QObject* parent)
    : EventTableModel({"EventOwner", "Event", "Date", "GedcomDateHeader", "Place"}, DateColumn, false, parent)
{
}

void EventDatesModel::loadEvents(FTMoc* moc)
{
    beginResetModel();
    m_events = moc ? moc->fetch<FTEvent>() : QList<FTEvent*>();
    endResetModel();
}

void EventDatesModel::sortByDate()
{
    // Each date's key once, not once per comparison.
    std::vector<std::pair<quint32, FTEvent*>> keyed;
    keyed.reserve(m_events.size());
    for (FTEvent* e : std::as_const(m_events))
        keyed.emplace_back(e->isDeleted() ? 0 : e->lDate(), e);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<FTEvent*> oldOrder = m_events;
    for (qsizetype i = 0; i < qsizetype(keyed.size()); ++i)
        m_events[i] = keyed[size_t(i)].second;
    // Selected rows follow their events.
    if (!before.isEmpty()) {
        QHash<const FTEvent*, int> newRow;
        newRow.reserve(m_events.size());
        for (qsizetype i = 0; i < m_events.size(); ++i)
            newRow.insert(m_events[i], int(i));
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& index : before)
            after << this->index(newRow.value(oldOrder.value(index.row()), -1), index.column());
        changePersistentIndexList(before, after);
    }
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QVariant EventDatesModel::cellValue(const FTEvent* e, int column, int) const
{
    switch (column) {
    case OwnerColumn:
        return e->ownerName();
    case NameColumn:
        return e->name();
    case DateColumn:
        return e->date();
    case GedcomDateColumn:
        return e->gedcomDate();
    case PlaceColumn:
        return e->place();
    default:
        return {};
    }
}
