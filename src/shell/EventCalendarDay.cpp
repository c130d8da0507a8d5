#include "shell/EventCalendarDay.h"

#include "model/Dates.h"
#include "model/FTEvent.h"

QDate EventCalendarDay::dayShown(int year, int month, int day, const QDate& today)
{
    if (year == 0)
        return today;
    if (const QDate full(year, month, day); full.isValid())
        return full;
    if (const QDate firstOfMonth(year, month, 1); firstOfMonth.isValid())
        return firstOfMonth;
    const QDate newYear(year, 1, 1);
    return newYear.isValid() ? newYear : today;
}

QDate EventCalendarDay::dayShown(const FTEvent* event, const QDate& today)
{
    return event ? dayShown(event->year(), event->month(), event->day(), today) : today;
}

bool EventCalendarDay::setPickedDay(FTEvent* event, const QDate& picked)
{
    if (!event || !picked.isValid() || picked.year() < 1)
        return false;
    const QString text = Dates::dateStringFor(event->qual(), picked.day(), picked.month(), picked.year());
    // The stored text, not date(), which answers the Hebrew form while Hebrew dates are shown.
    if (text == event->stringValue("date"))
        return false;
    event->setDate(text);
    return true;
}
