#pragma once

#include <QDialog>
#include <QList>

class FTEvent;
class FTMoc;
class QComboBox;
class QLabel;
class QSpinBox;
class QTableView;
class OnThisDayModel;

// The events of the database that fell on a day of the year, in any year, or in a whole month (day 0); by the
// Gregorian calendar or, for a day, by the Hebrew one. Run modally (exec()); it opens on today. While a Hebrew
// search is shown every event date of the program reads as its Hebrew date (gHebrewDates); a Gregorian search
// and every way of closing the window clear that again.
class OnThisDay : public QDialog {
    Q_OBJECT
public:
    explicit OnThisDay(FTMoc* moc, QWidget* parent = nullptr);
    ~OnThisDay() override;

    int dayOfMonth() const { return m_dayOfMonth; }
    int monthOfYear() const { return m_monthOfYear; }
    bool hebrewCalendar() const { return m_hebrewCalendar; }
    bool ascending() const { return m_ascending; }
    // Setting a control runs the search again, as the user's change does.
    void setDayOfMonth(int day);
    void setMonthOfYear(int month);
    void setHebrewCalendar(bool on);

    // The search: the events of the chosen day or month. A Hebrew search for a whole month is refused with a
    // message and leaves the list as it was.
    void loadEvents();
    // The date column's header: reverses the order (for a whole month: by day, month and year).
    void dateColumnClicked();

    const QList<FTEvent*>& eventsArray() const;
    QTableView* tableView() const { return m_table; }

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    FTMoc* m_moc;
    int m_dayOfMonth = 1;
    int m_monthOfYear = 1;
    bool m_ascending = false;
    bool m_hebrewCalendar = false;
    bool m_filling = false;
    QSpinBox* m_day = nullptr;
    QComboBox* m_month = nullptr;
    QComboBox* m_calendar = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_count = nullptr;
    OnThisDayModel* m_model = nullptr;
};
