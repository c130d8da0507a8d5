#pragma once

#include <QAbstractTableModel>
#include <QList>

class FTEvent;

// The events of the places and event names editors: one row an event with its owner, type, date, name, place and
// notes, ordered by date (ascending or descending: a click on the date column's header flips it), then by owner. The date is
// edited in place: the caller checks what was typed (Dates::validateDateField) before it reaches setData, which
// stores it through the event's own date setter.
class EventsByDateModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { OwnerColumn, TypeColumn, DateColumn, NameColumn, PlaceColumn, NotesColumn, ColumnCount };

    explicit EventsByDateModel(QObject* parent = nullptr);

    void setEvents(const QList<FTEvent*>& events);
    const QList<FTEvent*>& events() const { return m_events; }
    FTEvent* event(int row) const { return row >= 0 && row < m_events.size() ? m_events[row] : nullptr; }
    int rowOf(const FTEvent* event) const;
    // Takes a deleted event out.
    void removeEvent(FTEvent* event);
    // The rows show their events' values again (after a change the model did not make).
    void refreshRows();

    bool dateAscending() const { return m_dateAscending; }
    // The date column's header: descending after ascending, else ascending; the owner stays the second key.
    void toggleDateOrder();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void sortEvents();

    QList<FTEvent*> m_events;
    bool m_dateAscending = true;
};
