#pragma once

#include <QAbstractTableModel>
#include <QList>

class FTEvent;

// What the events tables of the database-wide editors share: one row an event, the columns a subclass names and
// fills, and the date edited in place. The caller checks what was typed (Dates::validateDateField) before it reaches
// setData, which stores it through the event's own date setter. A deleted event shows an empty row.
class EventTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    const QList<FTEvent*>& events() const { return m_events; }
    FTEvent* event(int row) const { return row >= 0 && row < m_events.size() ? m_events[row] : nullptr; }
    // The rows show their events' values again (after changes the model did not make).
    void refreshRows();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    // `headingKeys`: the text key of each column's heading, in column order; `toolTips`: cells answer the tool tip
    // role too.
    EventTableModel(QList<const char*> headingKeys, int dateColumn, bool toolTips, QObject* parent);
    // A cell of an event that is not deleted, for the display and edit roles (and the tool tip role when asked).
    virtual QVariant cellValue(const FTEvent* event, int column, int role) const = 0;

    QList<FTEvent*> m_events;

private:
    QList<const char*> m_headingKeys;
    int m_dateColumn;
    bool m_toolTips;
};
