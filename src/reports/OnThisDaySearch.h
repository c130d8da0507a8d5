#pragma once

#include <QList>
#include <QString>

class FTEvent;
class FTMoc;

// The events of a database that fell on a day of the year, in any year: by the Gregorian calendar (a day and
// month, or a whole month when the day is 0), or by the Hebrew calendar (the Hebrew day and month of this
// year's occurrence of the chosen Gregorian day).
//
//   auto events = OnThisDaySearch::gregorianEvents(moc, 14, 7, false);       // newest first
//   auto hebrew = OnThisDaySearch::hebrewEvents(moc, 14, 7, 2026, false);
class OnThisDaySearch {
public:
    // Events dated `dayOfMonth` (0: any day) of `monthOfYear` in a known year, sorted by sortByDate().
    static QList<FTEvent*> gregorianEvents(const FTMoc* moc, int dayOfMonth, int monthOfYear, bool ascending);

    // The Hebrew day and month of the Gregorian day in `year` ("7 Av"): the Hebrew date without its year;
    // empty when that day does not exist in `year` (29 February of a common year).
    static QString hebrewTarget(int dayOfMonth, int monthOfYear, int year);
    // Whether an event's Hebrew date text holds `target`, case ignored, at its start or right after a blank
    // (so that day 2 does not match day 12). An empty target matches nothing.
    static bool hebrewDateMatches(const QString& hebrewDate, const QString& target);
    // Events with a day whose Hebrew date matches the target of the chosen day in `year`, sorted by
    // sortByDate().
    static QList<FTEvent*> hebrewEvents(const FTMoc* moc, int dayOfMonth, int monthOfYear, int year, bool ascending);

    // By the packed date (newest first unless `ascending`), then by GEDCOM tag.
    static void sortByDate(QList<FTEvent*>& events, bool ascending);
    // By day, then month, then year (each in the direction), then by GEDCOM tag: a whole month in calendar order.
    static void sortByDayMonthYear(QList<FTEvent*>& events, bool ascending);
};
