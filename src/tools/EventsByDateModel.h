#pragma once

#include "tools/EventTableModel.h"

// The events of the places and event names editors: one row an event with its owner, type, date, name, place and
// notes, ordered by date (ascending or descending: a click on the date column's header flips it), then by owner. The
// date is edited in place.
class EventsByDateModel : public EventTableModel {
    Q_OBJECT
public:
    enum Column { OwnerColumn, TypeColumn, DateColumn, NameColumn, PlaceColumn, NotesColumn, ColumnCount };

    explicit EventsByDateModel(QObject* parent = nullptr);

    void setEvents(const QList<FTEvent*>& events);
    int rowOf(const FTEvent* event) const;
    // Takes a deleted event out.
    void removeEvent(FTEvent* event);

    bool dateAscending() const { return m_dateAscending; }
    // The date column's header: descending after ascending, else ascending; the owner stays the second key.
    void toggleDateOrder();

protected:
    QVariant cellValue(const FTEvent* event, int column, int role) const override;

private:
    void sortEvents();

    bool m_dateAscending = true;
};
