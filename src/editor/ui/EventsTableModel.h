#pragma once

#include "editor/EventsPageList.h"

#include <QAbstractTableModel>

class EventInfo;
class FTEvent;

// The rows of the events page as a table: one EventInfo per row, the columns of EventsTableLayout. The event's
// name, date, place and notes are edited in place (a row without an event, the "no death date" row, is not); a
// written value goes straight to the record, whose setters keep the database's lists and notifications in step.
class EventsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Rows = EventsPageList::Rows;

    explicit EventsTableModel(QObject* parent = nullptr);
    ~EventsTableModel() override;

    void setRows(Rows rows);
    void clear();
    const Rows& rows() const { return m_rows; }
    Rows& rows() { return m_rows; }
    EventInfo* row(int r) const;
    // The first row showing the event; -1 when none does.
    int rowOf(const FTEvent* event) const;
    void insertAtTop(std::unique_ptr<EventInfo> row);
    std::unique_ptr<EventInfo> takeRow(int r);
    // The row's values were changed elsewhere.
    void rowChanged(int r);
    void setEventNameHeader(const QString& title);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // What a cell shows.
    QString text(int row, int column) const;

private:
    Rows m_rows;
    QString m_eventNameHeader;
};
