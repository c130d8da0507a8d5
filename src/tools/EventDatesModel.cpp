#include "tools/EventDatesModel.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"

#include "platform/Localizer.h"

#include <QHash>

#include <algorithm>
#include <utility>
#include <vector>

namespace {
QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }
}

EventDatesModel::EventDatesModel(QObject* parent)
    : QAbstractTableModel(parent)
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

void EventDatesModel::refreshRows()
{
    if (!m_events.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_events.size()) - 1, ColumnCount - 1));
}

int EventDatesModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_events.size()); }

int EventDatesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant EventDatesModel::data(const QModelIndex& index, int role) const
{
    const FTEvent* e = event(index.row());
    if (!e || e->isDeleted() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    switch (index.column()) {
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

bool EventDatesModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    FTEvent* e = event(index.row());
    if (!e || e->isDeleted() || role != Qt::EditRole || index.column() != DateColumn)
        return false;
    const QString typed = value.toString();
    if (typed == e->date())
        return true;
    e->setDate(typed);
    Q_EMIT dataChanged(index, index);
    return true;
}

Qt::ItemFlags EventDatesModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == DateColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant EventDatesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case OwnerColumn:
        return L("EventOwner");
    case NameColumn:
        return L("Event");
    case DateColumn:
        return L("Date");
    case GedcomDateColumn:
        return L("GedcomDateHeader");
    case PlaceColumn:
        return L("Place");
    default:
        return {};
    }
}
