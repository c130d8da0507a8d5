#include "reports/OnThisDaySearch.h"

#include "model/Dates.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"

#include <QDate>

#include <algorithm>
#include <tuple>

QList<FTEvent*> OnThisDaySearch::gregorianEvents(const FTMoc* moc, int dayOfMonth, int monthOfYear, bool ascending)
{
    if (!moc)
        return {};
    QList<FTEvent*> events = moc->fetch<FTEvent>([dayOfMonth, monthOfYear](const FTEvent* e) {
        return e->month() == monthOfYear && e->year() != 0 && (dayOfMonth == 0 || e->day() == dayOfMonth);
    });
    sortByDate(events, ascending);
    return events;
}

QString OnThisDaySearch::hebrewTarget(int dayOfMonth, int monthOfYear, int year)
{
    const QDate day(year, monthOfYear, dayOfMonth);
    if (!day.isValid())
        return {};
    const QString text = Dates::hebrewDateFor(day);
    const qsizetype blank = text.lastIndexOf(QLatin1Char(' '));
    return blank > 0 ? text.left(blank) : QString();
}

bool OnThisDaySearch::hebrewDateMatches(const QString& hebrewDate, const QString& target)
{
    if (target.isEmpty())
        return false;
    for (qsizetype at = hebrewDate.indexOf(target, 0, Qt::CaseInsensitive); at >= 0;
         at = hebrewDate.indexOf(target, at + 1, Qt::CaseInsensitive)) {
        if (at == 0 || hebrewDate.at(at - 1) == QLatin1Char(' '))
            return true;
    }
    return false;
}

QList<FTEvent*> OnThisDaySearch::hebrewEvents(
    const FTMoc* moc, int dayOfMonth, int monthOfYear, int year, bool ascending)
{
    const QString target = hebrewTarget(dayOfMonth, monthOfYear, year);
    if (!moc || target.isEmpty())
        return {};
    QList<FTEvent*> events = moc->fetch<FTEvent>(
        [&target](const FTEvent* e) { return e->day() != 0 && hebrewDateMatches(e->hebrewDate(), target); });
    sortByDate(events, ascending);
    return events;
}

void OnThisDaySearch::sortByDate(QList<FTEvent*>& events, bool ascending)
{
    std::stable_sort(events.begin(), events.end(), [ascending](const FTEvent* a, const FTEvent* b) {
        const quint32 da = a->lDate(), db = b->lDate();
        if (da != db)
            return ascending ? da < db : da > db;
        return a->subtype() < b->subtype();
    });
}

void OnThisDaySearch::sortByDayMonthYear(QList<FTEvent*>& events, bool ascending)
{
    std::stable_sort(events.begin(), events.end(), [ascending](const FTEvent* a, const FTEvent* b) {
        const auto ka = std::make_tuple(a->day(), a->month(), a->year());
        const auto kb = std::make_tuple(b->day(), b->month(), b->year());
        if (ka != kb)
            return ascending ? ka < kb : kb < ka;
        return a->subtype() < b->subtype();
    });
}
