#include "gedcom/GedcomDate.h"

#include "model/Dates.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <climits>

namespace {

const char* const kEnglishMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kGedcomMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                       "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// The word that stands where a day-first date has its day: the first of three words unless it is a qualifier, the
// second of four. Empty when the date has no day's place.
QString dayWordOf(const QString& text)
{
    QStringList words;
    QString word;
    for (QChar c : text.toUpper() + u' ') {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            words << word;
            word.clear();
        }
    }
    if (words.size() == 3 && !Dates::qualifierWords().contains(words[0]))
        return words[0];
    if (words.size() == 4)
        return words[1];
    return {};
}

QString oneLineText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar c : {QChar(u'\r'), QChar(u'\n'), QChar(0x2028), QChar(0x2029)})
        text.replace(c, u' ');
    return text;
}

// The Gregorian calendar escape names the calendar every date is read in anyway.
QString withoutGregorianEscape(const QString& value)
{
    static const QRegularExpression escape(QStringLiteral(R"(^\s*@#DGREGORIAN@\s*)"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (!value.contains(u'@'))
        return value;
    QString text = value;
    return text.remove(escape);
}

// True when the upper-cased text starts with `prefix` (upper case ASCII). Only the first characters are upper-cased:
// a date is read for every event of a file. Upper-casing never shortens a character ("ß" -> "SS"), so the prefix's
// length of the text is enough.
bool upperStartsWith(const QString& text, QLatin1StringView prefix)
{
    return text.first(std::min(text.size(), prefix.size())).toUpper().startsWith(prefix);
}

} // namespace

QString GedcomDate::gedcomDate(int qual, int day, int month, int year, const QString& text)
{
    if (year <= 0)
        return oneLineText(text).trimmed().toUpper();
    QString core;
    const bool hasMonth = month >= 1 && month <= 12;
    if (hasMonth && day >= 1 && day <= Dates::daysInMonth(month, year))
        core += QStringLiteral("%1 ").arg(day, 2, 10, QLatin1Char('0'));
    if (hasMonth)
        core += QLatin1String(kGedcomMonths[month - 1]) + u' ';
    core += QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'));
    switch (qual) {
    case 1: return QStringLiteral("ABT ") + core;
    case 2: return QStringLiteral("BEF ") + core;
    case 3: return QStringLiteral("AFT ") + core;
    case 4: return QStringLiteral("BET %1 AND %1").arg(core);
    default: return core;
    }
}

bool GedcomDate::isValidDate(int qual, int year, int month, int day)
{
    return Dates::isValidDate(qual, year, month, day, true);
}

namespace {

// The reading behind readDate(), with the normalised text the reader made along with the numbers.
std::optional<DateValue> readDateValue(const QString& text)
{
    // The family database's own reader, day first with the English month names, without its messages.
    Dates::ReadOptions options;
    options.useEnglishNames = true;
    options.quiet = true;
    options.order = Dates::DayFirst;
    std::optional<DateValue> v = Dates::getDateComponents(text, options);
    if (!v)
        return std::nullopt;
    // A word in the day's place that is no number ("ca Jan 1900") would vanish and leave an exact month the text
    // never gave: GEDCOM's own qualifiers (CAL, EST, INT ...) are read only through the edits of processEventDate.
    if (v->hasDate() && v->day() == 0) {
        const QString dayWord = dayWordOf(text);
        if (!dayWord.isEmpty() && !dayWord.front().isDigit())
            return std::nullopt;
    }
    return v;
}

} // namespace

bool GedcomDate::readDate(const QString& text, int* qual, int* day, int* month, int* year)
{
    const std::optional<DateValue> v = readDateValue(text);
    if (!v)
        return false;
    *qual = v->qual();
    *day = v->day();
    *month = v->month();
    *year = v->year();
    return true;
}

QString GedcomDate::dateString(int qual, int day, int month, int year, bool localized)
{
    if (localized)
        return Dates::dateStringFor(qual, day, month, year, true);
    if (year == 0)
        return {};
    auto word = [](const char* english) { return QString::fromLatin1(english); };
    QString qualifier;
    switch (qual) {
    case 1: qualifier = word("abt"); break;
    case 2: qualifier = word("bef"); break;
    case 3: qualifier = word("aft"); break;
    case 4: qualifier = word("bet"); break;
    default: break;
    }
    QString result = qualifier;
    if (!qualifier.isEmpty())
        result += u' ';
    if (day != 0)
        result += QStringLiteral("%1 ").arg(day, 2, 10, QLatin1Char('0'));
    if (month >= 1 && month <= 12)
        result += word(kEnglishMonths[month - 1]) + u' ';
    result += QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'));
    return result;
}

QString GedcomDate::processWorldFamilyTreeEstimatedDate(const QString& text)
{
    QString t = text.trimmed();
    const int at = t.indexOf(QLatin1String("WFT Est"), 0, Qt::CaseInsensitive);
    if (at >= 0)
        t.remove(at, 7);
    for (QChar c : {QChar(u'-'), QChar(u'/'), QChar(u'.')})
        t.replace(c, u' ');
    while (t.contains(QLatin1String("  ")))
        t.replace(QLatin1String("  "), QLatin1String(" "));
    const QStringList pieces = t.trimmed().split(u' ');
    if (pieces.size() == 2 && pieces[0].size() == 4 && pieces[1].size() == 4)
        return QStringLiteral("BET %1 AND %2").arg(pieces[0], pieces[1]);
    return text;
}

QString GedcomDate::processDateWithSlash(const QString& text)
{
    const int slash = text.indexOf(u'/');
    if (slash < 0)
        return text;
    // A date that already has its qualifier ("ABT 1103/1104", "BEF 1750/51") keeps it; two qualifiers would make it
    // unreadable.
    const QString before = text.left(slash);
    const QString firstWord = before.trimmed().section(u' ', 0, 0).toUpper().remove(u'.');
    if (Dates::qualifierWords().contains(firstWord))
        return before;
    return QStringLiteral("abt %1").arg(before);
}

bool GedcomDate::isDualYear(const QString& text)
{
    static const QRegularExpression dual(QStringLiteral(R"(^\s*([^/]*\s)?\d{3,4}/\d{1,4}(\s|$))"));
    return dual.match(text).hasMatch();
}

QString GedcomDate::processBetweenDate(const QString& text)
{
    QString upper = text.toUpper();
    upper.replace(QLatin1String("BET"), QLatin1String(" "));
    const QStringList pieces = upper.split(QLatin1String("AND"));
    int q1, d1, m1, y1, q2, d2, m2, y2;
    // Both ends must name a year: an empty end reads as "no date", which is no end of a period.
    if (pieces.size() != 2 || !readDate(pieces[0], &q1, &d1, &m1, &y1) || !readDate(pieces[1], &q2, &d2, &m2, &y2)
        || y1 == 0 || y2 == 0)
        return text;
    if (y1 == y2)
        return dateString(1, d1, m1, y1, false);
    return dateString(1, 0, 0, (y1 + y2) / 2, false);
}

QString GedcomDate::processFromToDate(const QString& text)
{
    QString upper = text.toUpper();
    upper.replace(QLatin1String("FROM"), QLatin1String(" "));
    const QStringList pieces = upper.split(QLatin1String(" TO "));
    int q1, d1, m1, y1, q2, d2, m2, y2;
    if (pieces.size() != 2 || !readDate(pieces[0], &q1, &d1, &m1, &y1) || !readDate(pieces[1], &q2, &d2, &m2, &y2)
        || y1 == 0)
        return text;
    return dateString(0, d1, m1, y1, false);
}

GedcomDate::Reading GedcomDate::processEventDate(const QString& value)
{
    Reading r;
    QString text = withoutGregorianEscape(value);
    const QString asWritten = text;

    // Estimates and quarters become about dates; prefixes are matched as written.
    if (text.startsWith(QLatin1String("Est")) || text.startsWith(QLatin1String("EST")))
        text.replace(0, 3, QStringLiteral("abt"));
    else if (text.startsWith(QLatin1String("cir CA")) || text.startsWith(QLatin1String("Cir CA")))
        text.replace(0, 6, QStringLiteral("abt"));
    else if (text.startsWith(QLatin1String("Q1")))
        text.replace(0, 2, QStringLiteral("abt Feb"));
    else if (text.startsWith(QLatin1String("Q2")))
        text.replace(0, 2, QStringLiteral("abt May"));
    else if (text.startsWith(QLatin1String("Q3")))
        text.replace(0, 2, QStringLiteral("abt Aug"));
    else if (text.startsWith(QLatin1String("Q4")))
        text.replace(0, 2, QStringLiteral("abt Nov"));
    else if (upperStartsWith(text, QLatin1String("WFT EST")))
        text = processWorldFamilyTreeEstimatedDate(text);

    // Ranges and dual years keep one date; the whole value goes to the notes so nothing is lost.
    bool readable = true;
    if (text.contains(u'/')) {
        r.notes = value;
        // Only a dual year may be cut at its slash; "5/1/1900" cut there would read as the year 5.
        if (isDualYear(text))
            text = processDateWithSlash(text);
        else
            readable = false;
    } else if (upperStartsWith(text, QLatin1String("BET"))) {
        r.notes = value;
        text = processBetweenDate(text);
    } else if (upperStartsWith(text, QLatin1String("FROM "))) {
        r.notes = value;
        text = processFromToDate(text);
    }
    r.editedText = text;

    // The reader's own text is the localised display text of the four numbers (dateString(..., true)).
    if (const std::optional<DateValue> v = readable ? readDateValue(text) : std::nullopt) {
        r.hasDate = true;
        r.qual = v->qual();
        r.day = v->day();
        r.month = v->month();
        r.year = v->year();
        r.date = v->text();
        if (text != asWritten) {
            r.errorReason = kReasonDateNotValid;
            r.errorAction = kActionConvertedToAbout;
        }
    } else {
        // The notes keep the value as the file wrote it, once, never a half-edited copy of it.
        r.notes = value;
        r.errorReason = kReasonDateNotValid;
        r.errorAction = kActionToNotes;
    }
    return r;
}
