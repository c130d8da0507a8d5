#pragma once

#include "tools/EventTableModel.h"

class FTMoc;

// Every event of a database for the event dates editor: its owner, name, date, the date text its GEDCOM file gave
// and its place. The rows come in the database's order until they are sorted by date. A large database has a
// quarter of a million events: a row's values are read only when it is drawn. The date is edited in place.
class EventDatesModel : public EventTableModel {
    Q_OBJECT
public:
    enum Column { OwnerColumn, NameColumn, DateColumn, GedcomDateColumn, PlaceColumn, ColumnCount };

    explicit EventDatesModel(QObject* parent = nullptr);

    // Every event of the database.
    void loadEvents(FTMoc* moc);
    // Orders the rows by date, earliest first (undated ones first); events of one date keep their order.
    void sortByDate();

protected:
    QVariant cellValue(const FTEvent* event, int column, int role) const override;
};
