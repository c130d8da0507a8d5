#pragma once

#include <QAbstractTableModel>
#include <QList>

class FTEvent;
class FTMoc;

// Every event of a database for the event dates editor: its owner, name, date, the date text its GEDCOM file gave
// and its place. The rows come in the database's order until they are sorted by date. A large database has a
// quarter of a million events: a row's values are read only when it is drawn. The date is edited in place; the
// caller checks what was typed (Dates::validateDateField) before it reaches setData, which stores it through the
// event's date setter.
class EventDatesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { OwnerColumn, NameColumn, DateColumn, GedcomDateColumn, PlaceColumn, ColumnCount };

    explicit EventDatesModel(QObject* parent = nullptr);

    // Every event of the database.
    void loadEvents(FTMoc* moc);
    const QList<FTEvent*>& events() const { return m_events; }
    FTEvent* event(int row) const { return row >= 0 && row < m_events.size() ? m_events[row] : nullptr; }
    // Orders the rows by date, earliest first (undated ones first); events of one date keep their order.
    void sortByDate();
    // The rows show their events' values again (after changes the model did not make).
    void refreshRows();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<FTEvent*> m_events;
};
