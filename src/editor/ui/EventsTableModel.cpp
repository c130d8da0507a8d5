#include "editor/ui/EventsTableModel.h"

#include "editor/EventsTableLayout.h"

#include "model/EventInfo.h"
#include "model/FTEvent.h"

#include "platform/Localizer.h"

using Layout = EventsTableLayout;

namespace {
// A row's event as long as it exists.
FTEvent* liveEvent(const EventInfo* row)
{
    FTEvent* e = row ? row->pEvent() : nullptr;
    return e && !e->isDeleted() ? e : nullptr;
}
}

EventsTableModel::EventsTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

EventsTableModel::~EventsTableModel() = default;

void EventsTableModel::setRows(Rows rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void EventsTableModel::clear()
{
    setRows({});
}

EventInfo* EventsTableModel::row(int r) const
{
    return r >= 0 && r < int(m_rows.size()) ? m_rows[size_t(r)].get() : nullptr;
}

int EventsTableModel::rowOf(const FTEvent* event) const
{
    if (!event)
        return -1;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i]->pEvent() == event)
            return int(i);
    return -1;
}

void EventsTableModel::insertAtTop(std::unique_ptr<EventInfo> row)
{
    beginInsertRows({}, 0, 0);
    m_rows.insert(m_rows.begin(), std::move(row));
    endInsertRows();
}

std::unique_ptr<EventInfo> EventsTableModel::takeRow(int r)
{
    if (r < 0 || r >= int(m_rows.size()))
        return {};
    beginRemoveRows({}, r, r);
    std::unique_ptr<EventInfo> taken = std::move(m_rows[size_t(r)]);
    m_rows.erase(m_rows.begin() + r);
    endRemoveRows();
    return taken;
}

void EventsTableModel::rowChanged(int r)
{
    if (r >= 0 && r < int(m_rows.size()))
        Q_EMIT dataChanged(index(r, 0), index(r, Layout::ColumnCount - 1));
}

void EventsTableModel::setEventNameHeader(const QString& title)
{
    if (m_eventNameHeader == title)
        return;
    m_eventNameHeader = title;
    Q_EMIT headerDataChanged(Qt::Horizontal, Layout::EventName, Layout::EventName);
}

int EventsTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int EventsTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Layout::ColumnCount;
}

QString EventsTableModel::text(int r, int column) const
{
    const EventInfo* info = row(r);
    if (!info)
        return {};
    if (column == Layout::EventName)
        return info->pEvent() ? (liveEvent(info) ? info->eventName() : QString()) : info->placeHolderName();
    const FTEvent* e = liveEvent(info);
    if (!e)
        return {};
    switch (column) {
    case Layout::EventType:
        return info->eventType();
    case Layout::AgeAtEvent: {
        const int age = info->selectedPersonsAgeAtEvent();
        return age > 0 ? QString::number(age) : QString();
    }
    case Layout::Date:
        return e->date();
    case Layout::Place:
        return e->place();
    case Layout::Sources:
        return info->sourceNumbers();
    case Layout::Notes:
        return e->notes();
    default:
        return {};
    }
}

QVariant EventsTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == Layout::AgeAtEvent)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool EventsTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    EventInfo* info = row(index.row());
    FTEvent* e = liveEvent(info);
    if (role != Qt::EditRole || !e)
        return false;
    const QString text = value.toString();
    switch (index.column()) {
    case Layout::EventName:
        if (text != info->eventName())
            info->setEventName(text);
        break;
    case Layout::Date:
        if (text != e->date())
            e->setDate(text);
        break;
    case Layout::Place:
        if (text != e->place())
            e->setPlace(text);
        break;
    case Layout::Notes:
        if (text != e->notes())
            e->setNotes(text);
        break;
    default:
        return false;
    }
    rowChanged(index.row());
    return true;
}

Qt::ItemFlags EventsTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid())
        return f;
    switch (index.column()) {
    case Layout::EventName:
    case Layout::Date:
    case Layout::Place:
    case Layout::Notes:
        if (liveEvent(row(index.row())))
            f |= Qt::ItemIsEditable;
        break;
    default:
        break;
    }
    return f;
}

QVariant EventsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Layout::DetailsButtons:
        return QString();
    case Layout::EventType:
        return LocalizedString(QStringLiteral("EventsTypeColumn"));
    case Layout::AgeAtEvent:
        return LocalizedString(QStringLiteral("EventsAgeColumn"));
    case Layout::EventName:
        return m_eventNameHeader;
    case Layout::Date:
        return LocalizedString(QStringLiteral("EventsDateColumn"));
    case Layout::Place:
        return LocalizedString(QStringLiteral("EventsPlaceColumn"));
    case Layout::Sources:
        return LocalizedString(QStringLiteral("EventsSourcesColumn"));
    case Layout::Notes:
        return LocalizedString(QStringLiteral("EventsNotesColumn"));
    default:
        return {};
    }
}
