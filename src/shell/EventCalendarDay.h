#pragma once

#include <QDate>

class FTEvent;

// An event's date on a calendar that shows one day: the day to show for a date that may lack its day, month or
// year, and the date text that a day picked on the calendar gives the event.
class EventCalendarDay {
public:
    // The day itself for a full date; the first day of the known period for a partial one (a year and month: the
    // 1st of that month; a year alone: 1 January); `today` without a year.
    static QDate dayShown(int year, int month, int day, const QDate& today);
    static QDate dayShown(const FTEvent* event, const QDate& today);
    // Gives the event the picked day, its qualifier kept ('abt 1900' and 5 March 1900 give 'abt 05 Mar 1900').
    // Writes only when the text differs from the event's own, so that an unchanged date gets no change stamp and
    // no undo entry. Answers whether it wrote.
    static bool setPickedDay(FTEvent* event, const QDate& picked);
};
