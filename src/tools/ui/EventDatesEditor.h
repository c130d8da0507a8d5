#pragma once

#include <QDialog>
#include <QSize>

class EditorTableView;
class EventDatesModel;
class FTMoc;

// The event dates editor: every event of the database with its date, which is corrected in place, and the date
// text its GEDCOM file gave. The selected events' texts are read again as day-month-year, month-day-year or
// year-month-day, for an import that read them in the wrong order. A sheet on the database's main window; it
// keeps its size for the running program and saves the database when it closes.
class EventDatesEditor : public QDialog {
    Q_OBJECT
public:
    static QSize prevSize();
    static void setPrevSize(const QSize& size);

    explicit EventDatesEditor(FTMoc* moc, QWidget* parent = nullptr);
    ~EventDatesEditor() override;

    FTMoc* moc() const { return m_moc; }
    EventDatesModel* eventsModel() const { return m_model; }
    EditorTableView* tv_Events() const { return m_events; }

    void sortByYearMonthDate();
    void interpretDateAsDMY();
    void interpretDateAsMDY();
    void interpretDateAsYMD();
    // Reads the selected events' GEDCOM texts in the order `mode` (EventDatesEditing::Mode).
    void interpretGedcomDate(int mode);

public Q_SLOTS:
    void done(int result) override;

private:
    FTMoc* m_moc;
    EventDatesModel* m_model = nullptr;
    EditorTableView* m_events = nullptr;
};
