#include "gedcom/GedcomDate.h"

#include "model/Dates.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

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

namespace {

// One word of a plain date, upper-cased: a run of digits, a qualifier word or a month's three letters.
struct PlainWord {
    enum Kind { Number, Qualifier, Month } kind;
    int value; // the number, the qualifier (1 about, 2 before, 3 after) or the month (1-12)
};

// Classifies a word of at most nine ASCII letters or digits the way the full reader would read it in that place;
// false for any other word.
bool plainWordOf(QStringView word, PlainWord* out)
{
    const qsizetype n = word.size();
    if (n == 0 || n > 9)
        return false;
    char upper[10];
    bool digits = true;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = word[i].unicode();
        if (c >= '0' && c <= '9') {
            upper[i] = char(c);
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            upper[i] = char(c & ~0x20);
            digits = false;
        } else {
            return false;
        }
    }
    upper[n] = 0;
    if (digits) {
        int v = 0;
        for (qsizetype i = 0; i < n; ++i)
            v = v * 10 + (upper[i] - '0');
        *out = {PlainWord::Number, v};
        return true;
    }
    // The qualifier words in Dates::qualifierWords() order: four for about, two for before, two for after.
    static const std::pair<const char*, int> kQualifiers[] = {{"C", 1},   {"CIRCA", 1},  {"ABOUT", 1}, {"ABT", 1},
                                                              {"BEF", 2}, {"BEFORE", 2}, {"AFT", 3},   {"AFTER", 3}};
    for (const auto& [w, q] : kQualifiers)
        if (std::strcmp(upper, w) == 0) {
            *out = {PlainWord::Qualifier, q};
            return true;
        }
    if (n == 3)
        for (int m = 0; m < 12; ++m)
            if (std::memcmp(upper, kGedcomMonths[m], 3) == 0) {
                *out = {PlainWord::Month, m + 1};
                return true;
            }
    return false;
}

// True when `text` is `upper` (upper-case ASCII letters and spaces) in any case of the ASCII letters.
bool isAsciiWord(QStringView text, const char* upper)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != char16_t(upper[i]) && !(c >= 'a' && c <= 'z' && char16_t(c & ~0x20) == char16_t(upper[i])))
            return false;
    }
    return true;
}

// Splits `text` at single spaces into at most `max` plain words and answers their number; -1 for anything else (a
// leading, trailing or doubled space, punctuation, a word no plain date has, more words).
int plainWordsOf(QStringView text, PlainWord* words, int max)
{
    int count = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u' ')
            continue;
        if (count == max || !plainWordOf(text.sliced(start, i - start), &words[count]))
            return -1;
        ++count;
        start = i + 1;
    }
    return count;
}

// The places the day-first reader gives 1 to 4 words (Dates::getDateComponentsForDMY), for plain words only.
bool plainDateOf(const PlainWord* w, int count, int* qual, int* day, int* month, int* year)
{
    using K = PlainWord;
    int q = 0, d = 0, m = 0, y = 0;
    switch (count) {
    case 1:
        if (w[0].kind != K::Number)
            return false;
        y = w[0].value;
        break;
    case 2:
        if (w[0].kind == K::Qualifier)
            q = w[0].value;
        else if (w[0].kind == K::Month)
            m = w[0].value;
        else
            return false;
        if (w[1].kind != K::Number)
            return false;
        y = w[1].value;
        break;
    case 3:
        if (w[0].kind == K::Qualifier)
            q = w[0].value;
        else if (w[0].kind == K::Number)
            d = w[0].value;
        else
            return false;
        if (w[1].kind != K::Month || w[2].kind != K::Number)
            return false;
        m = w[1].value;
        y = w[2].value;
        break;
    case 4:
        if (w[0].kind != K::Qualifier || w[1].kind != K::Number || w[2].kind != K::Month || w[3].kind != K::Number)
            return false;
        q = w[0].value;
        d = w[1].value;
        m = w[2].value;
        y = w[3].value;
        break;
    default:
        return false;
    }
    if (!Dates::isValidDate(q, y, m, d, true))
        return false;
    *qual = q;
    *day = d;
    *month = m;
    *year = y;
    return true;
}

} // namespace

bool GedcomDate::readPlainDate(QStringView text, int* qual, int* day, int* month, int* year)
{
    PlainWord words[4];
    const int count = plainWordsOf(text, words, 4);
    return count > 0 && plainDateOf(words, count, qual, day, month, year);
}

bool GedcomDate::readPlainEventDate(const QString& value, Reading* r)
{
    // No edit of the general reading applies to these forms: their first word is a number, a qualifier or a month
    // (never "Est", "Q1", "cir CA", "WFT Est", "BET" or "FROM"), and they have no "/" and no "@".
    if (readPlainDate(value, &r->qual, &r->day, &r->month, &r->year)) {
        r->hasDate = true;
        r->date = DateValue(r->qual, r->day, r->month, r->year).text();
        r->editedText = value;
        return true;
    }
    // "BET <plain date> AND <plain date>": no plain word holds "BET" or "AND", so the general reading cuts the text
    // just there too, and re-reads its own "abt ..." text as the numbers it wrote.
    const QStringView text(value);
    if (text.size() < 4 || !isAsciiWord(text.first(4), "BET "))
        return false;
    qsizetype and_ = 4;
    while (and_ + 5 <= text.size() && !isAsciiWord(text.sliced(and_, 5), " AND "))
        ++and_;
    int q1, d1, m1, y1, q2, d2, m2, y2;
    if (and_ + 5 > text.size() || !readPlainDate(text.sliced(4, and_ - 4), &q1, &d1, &m1, &y1)
        || !readPlainDate(text.sliced(and_ + 5), &q2, &d2, &m2, &y2))
        return false;
    r->hasDate = true;
    r->qual = 1;
    r->day = y1 == y2 ? d1 : 0;
    r->month = y1 == y2 ? m1 : 0;
    r->year = y1 == y2 ? y1 : (y1 + y2) / 2;
    r->date = DateValue(r->qual, r->day, r->month, r->year).text();
    r->editedText = dateString(r->qual, r->day, r->month, r->year, false);
    r->notes = value;
    r->errorReason = kReasonDateNotValid;
    r->errorAction = kActionConvertedToAbout;
    return true;
}

GedcomDate::Reading GedcomDate::processEventDate(const QString& value)
{
    Reading r;
    if (readPlainEventDate(value, &r))
        return r;
    return readEventDate(value);
}

GedcomDate::Reading GedcomDate::readEventDate(const QString& value)
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
