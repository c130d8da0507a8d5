#pragma once

#include <QDialog>

class FTEvent;
class QCalendarWidget;
class QPushButton;

// One event's date on a calendar, shown as a sheet on the main window (the person editor's family page opens it
// for an event row). The user may pick another day; the button writes a picked day back into the event, keeping
// its qualifier, and closes. The close box and Escape close without writing. Nothing is written when no day was
// picked, so that a partial date ('abt 1900') never gains a day and month nobody gave.
//
//   document->beginSheet(new DateDisplay(event));
class DateDisplay : public QDialog {
    Q_OBJECT
public:
    explicit DateDisplay(FTEvent* event, QWidget* parent = nullptr);

    FTEvent* event() const { return m_event; }
    QCalendarWidget* datePicker() const { return m_datePicker; }
    QPushButton* button() const { return m_button; }
    // Whether the user picked a day (clicked one, or moved the selection).
    bool dayPicked() const { return m_picked; }

    // Writes the picked day into the event when the user picked one and the text differs.
    void saveEventDate();
    // The button: saveEventDate(), then closes.
    void accept() override;

private:
    FTEvent* m_event = nullptr;
    QCalendarWidget* m_datePicker = nullptr;
    QPushButton* m_button = nullptr;
    bool m_picked = false;
};
