#include "model/FTPerson.h"

#include "model/FTEvent.h"

#include <QDate>

namespace {
int yearOf(const FTEvent* e)
{
    return e ? e->year() : 0;
}

bool hasFullDate(const FTEvent* e)
{
    return e && e->qual() == 0 && e->year() != 0 && e->month() != 0 && e->day() != 0;
}

QDate dateOf(const FTEvent* e)
{
    return QDate(e->year(), e->month(), e->day());
}

QString plural(int n)
{
    return n == 1 ? QString() : QStringLiteral("s");
}

// Whole years, months and days from `from` to `to` (to >= from), as a calendar counts them.
void difference(const QDate& from, const QDate& to, int* years, int* months, int* days)
{
    int total = (to.year() - from.year()) * 12 + (to.month() - from.month());
    if (from.addMonths(total) > to)
        --total;
    *days = int(from.addMonths(total).daysTo(to));
    *years = total / 12;
    *months = total % 12;
}

QString plainQuotes(QString s)
{
    s.replace(QChar(0x2018), QChar('\''));
    s.replace(QChar(0x2019), QChar('\''));
    return s;
}
}

QString FTPerson::yearsSuffix(const QString& separator) const
{
    const int born = yearOf(birth());
    const int died = yearOf(death());
    if (born == 0 && died == 0)
        return QString();
    return QStringLiteral(" (%1%2%3)")
        .arg(born ? QString::number(born) : QString(), separator, died ? QString::number(died) : QString());
}

QString FTPerson::nameWithBirthAndDeathYears() const
{
    const QString n = name();
    return plainQuotes((n.isNull() ? QString(QLatin1String("")) : n) + yearsSuffix(QStringLiteral(" - ")));
}

QString FTPerson::shortNameWithBirthAndDeathYears() const
{
    return plainQuotes(shortName() + yearsSuffix(QStringLiteral("-")));
}

QString FTPerson::nameWithIdBirthAndDeathYears() const
{
    return QStringLiteral("[%1] %2").arg(numericId(), 4, 10, QChar('0')).arg(name())
        + yearsSuffix(QStringLiteral(" - "));
}

QString FTPerson::spousesString() const
{
    QStringList names;
    for (const FTPerson* spouse : spouses())
        names << spouse->nameWithBirthAndDeathYears();
    return names.join(QStringLiteral(", "));
}

QString FTPerson::naturalFathersNameWithBirthAndDeathYears() const
{
    const FTPerson* father = naturalFather();
    return father ? father->nameWithBirthAndDeathYears() : QString();
}

QString FTPerson::naturalMothersNameWithBirthAndDeathYears() const
{
    const FTPerson* mother = naturalMother();
    return mother ? mother->nameWithBirthAndDeathYears() : QString();
}

// ---- Ages ------------------------------------------------------------------------------------------------------

int FTPerson::currentAge() const
{
    const FTEvent* b = birth();
    const QDate today = QDate::currentDate();
    if (!b || b->year() == 0 || b->year() > today.year())
        return 0;
    int age = today.year() - b->year();
    if (age >= 1 && (b->month() > today.month() || (b->month() == today.month() && b->day() > today.day())))
        --age;
    return age;
}

QString FTPerson::currentAgeString() const
{
    if (const FTEvent* d = death())
        if (!d->date().isEmpty() || !d->place().isEmpty() || !d->notes().isEmpty())
            return QString(QLatin1String(""));
    const int age = currentAge();
    if (age == 0 || age > 110)
        return QString(QLatin1String(""));
    return QString::number(age);
}

QString FTPerson::ageAtDeath() const
{
    const int years = death() ? death()->yearsSince(birth()) : 0;
    if (years != 0)
        return QString::number(years);
    return yearOf(birth()) != 0 && yearOf(death()) != 0 ? QStringLiteral("0") : QStringLiteral(" ");
}

QString FTPerson::ageAtDeathInYearsMonthsAndDays() const
{
    const FTEvent* b = birth();
    const FTEvent* d = death();
    int years = 0;
    int months = 0;
    int days = 0;
    if (hasFullDate(b) && hasFullDate(d) && dateOf(b).isValid() && dateOf(d).isValid() && dateOf(b) <= dateOf(d)) {
        difference(dateOf(b), dateOf(d), &years, &months, &days);
        return QStringLiteral("Died at %1 year%2, %3 month%4 and %5 day%6")
            .arg(years)
            .arg(plural(years))
            .arg(months)
            .arg(plural(months))
            .arg(days)
            .arg(plural(days));
    }
    const QString age = ageAtDeath().trimmed();
    if (!age.isEmpty())
        return QStringLiteral("Died at about %1 years").arg(age);
    if (yearOf(b) == 0)
        return QString(QLatin1String(""));
    const QDate today = QDate::currentDate();
    if (hasFullDate(b) && dateOf(b).isValid() && dateOf(b) <= today) {
        difference(dateOf(b), today, &years, &months, &days);
        return QStringLiteral("Now %1 year%2, %3 month%4 and %5 day%6 since %7's birth")
            .arg(years)
            .arg(plural(years))
            .arg(months)
            .arg(plural(months))
            .arg(days)
            .arg(plural(days))
            .arg(firstName());
    }
    return QStringLiteral("Now about %1 years since %2's birth").arg(today.year() - b->year()).arg(firstName());
}

bool FTPerson::isLiving() const
{
    return isLiving(QDate::currentDate().year());
}

bool FTPerson::isRecentlyDead(int years) const
{
    return isRecentlyDead(years, QDate::currentDate().year());
}

bool FTPerson::isLiving(int thisYear) const
{
    if (const FTEvent* d = death())
        if (d->year() != 0 || d->date().compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0)
            return false;
    int born = yearOf(birth());
    if (born == 0)
        born = estimatedBirthYear();
    if (born == 0)
        return false;
    return born >= thisYear - 100;
}

bool FTPerson::isRecentlyDead(int years, int thisYear) const
{
    const int died = yearOf(death());
    return died != 0 && thisYear <= died + years;
}

int FTPerson::estimatedBirthYearBasedOn(const QList<FTPerson*>& persons, int increment)
{
    for (qsizetype i = persons.size() - 1; i >= 0; --i)
        if (const int year = persons[i] ? yearOf(persons[i]->birth()) : 0)
            return year + increment;
    return 0;
}

int FTPerson::estimatedBirthYear() const
{
    // The relatives of a person, each with the years to add to its birth year.
    auto chain = [](const FTPerson* p) -> int {
        const std::pair<QList<FTPerson*> (FTPerson::*)() const, int> steps[] = {
            { &FTPerson::naturalParents, 30 },
            { &FTPerson::naturalChildren, -30 },
            { &FTPerson::naturalGrandParents, 60 },
            { &FTPerson::grandChildren, -60 },
            { &FTPerson::greatGrandChildren, -90 },
            { &FTPerson::siblings, 0 },
        };
        for (const auto& [list, increment] : steps)
            if (const int year = estimatedBirthYearBasedOn((p->*list)(), increment))
                return year;
        return 0;
    };
    const QList<FTPerson*> partners = spouses();
    if (const int year = estimatedBirthYearBasedOn(partners, 0))
        return year;
    if (const int year = chain(this))
        return year;
    // The last spouse that tells anything; a later spouse without relatives does not undo an earlier estimate.
    int year = 0;
    for (const FTPerson* spouse : partners)
        if (const int estimate = chain(spouse))
            year = estimate;
    return year;
}
