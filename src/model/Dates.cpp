#include "model/Dates.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

#include <atomic>
#include <ctime>

namespace {
// printf's "%0<width>d", without its cost: imports write this for every date.
void appendZeroPadded(QString& out, int value, int width)
{
    if (value < 0) {
        out += QString::asprintf("%0*d", width, value);
        return;
    }
    char digits[16];
    int n = 0;
    do {
        digits[n++] = char('0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int i = n; i < width; ++i)
        out += QLatin1Char('0');
    while (n > 0)
        out += QLatin1Char(digits[--n]);
}

std::atomic<int> g_readingOrderOverride{Dates::FollowUser};

// Upper case, no diacritics: "févr." and "FEVR." compare equal once both pass through here.
QString foldWord(const QString& upper)
{
    bool ascii = true;
    for (QChar c : upper) {
        if (c.unicode() > 127) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return upper;
    const QString decomposed = upper.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing && c.category() != QChar::Mark_SpacingCombining
            && c.category() != QChar::Mark_Enclosing)
            out += c;
    }
    return out;
}

// A month name as the reader compares it: upper-cased, without punctuation at either end, folded.
QString normaliseMonthName(const QString& name)
{
    QString s = name.toUpper();
    int from = 0;
    int to = s.size();
    while (from < to && !s[from].isLetterOrNumber())
        ++from;
    while (to > from && !s[to - 1].isLetterOrNumber())
        --to;
    return foldWord(s.mid(from, to - from));
}

QStringList normaliseMonthNames(const QStringList& names)
{
    QStringList out;
    out.reserve(names.size());
    for (const QString& n : names)
        out << normaliseMonthName(n);
    return out;
}

const QStringList& englishMonthNamesUpper()
{
    static const QStringList upper = normaliseMonthNames(Dates::englishMonthNames());
    return upper;
}

// The integer value of a word's leading digits (0 when it starts with none), capped far beyond
// any day, month or year so that a long run of digits cannot overflow.
int leadingInt(const QString& word)
{
    qint64 n = 0;
    for (QChar c : word) {
        if (!c.isDigit())
            break;
        n = n * 10 + c.digitValue();
        if (n > 1000000000)
            return 1000000000;
    }
    return int(n);
}

bool isQualifier(const QString& word, const QStringList& quals) { return quals.contains(word); }

bool isMonthName(const QString& word, const QStringList& months)
{
    const QString w = foldWord(word);
    for (const QString& m : months) {
        if (!m.isEmpty() && w == m)
            return true;
    }
    return false;
}

int qualifierOf(const QString& word, const QStringList& quals)
{
    if (word.isEmpty())
        return 0;
    const int i = quals.indexOf(word);
    if (i < 0)
        return -1;
    if (i <= 3)
        return DateValue::About;
    if (i <= 5)
        return DateValue::Before;
    return DateValue::After;
}

int monthOf(const QString& word, const QStringList& months)
{
    if (word.isEmpty())
        return 0;
    if (const int n = leadingInt(word))
        return n;
    const QString w = foldWord(word);
    for (int i = 0; i < months.size(); ++i) {
        const QString& m = months[i];
        if (!m.isEmpty() && w.startsWith(m))
            return i + 1;
    }
    return -1;
}

// Splits upper-cased text into words: every character that is neither a letter nor a digit separates.
QStringList splitWords(const QString& upper)
{
    QStringList words;
    words.reserve(4);
    int start = -1;
    for (int i = 0; i <= upper.size(); ++i) {
        const bool part = i < upper.size() && upper[i].isLetterOrNumber();
        if (part && start < 0)
            start = i;
        else if (!part && start >= 0) {
            words << upper.mid(start, i - start);
            start = -1;
        }
    }
    return words;
}

// The local calendar year. Asking the system for the local date reads the time-zone file each time,
// which would dominate reading dates in bulk; the year is looked up again at most once a minute.
int currentYear()
{
    static std::atomic<int> year{0};
    static std::atomic<qint64> validUntil{0};
    // The coarse clock is a read of memory the kernel keeps up to date; the precise one reads the hardware clock,
    // which costs more than the rest of reading a date. A minute's precision needs no more.
    timespec coarse;
    const qint64 now = clock_gettime(CLOCK_REALTIME_COARSE, &coarse) == 0
        ? qint64(coarse.tv_sec) * 1000 + coarse.tv_nsec / 1000000
        : QDateTime::currentMSecsSinceEpoch();
    if (now >= validUntil.load(std::memory_order_relaxed)) {
        year.store(QDate::currentDate().year(), std::memory_order_relaxed);
        validUntil.store(now + 60000, std::memory_order_relaxed);
    }
    return year.load(std::memory_order_relaxed);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Packing and text

quint32 Dates::getLongDate(int qual, int day, int month, int year)
{
    const qint64 d = day;
    const qint64 m = month;
    const qint64 y = year;
    qint64 key;
    if (y == 0) {
        key = m * 256 + d;
    } else {
        const qint64 plain = y * 65536 + m * 256 + d;
        key = plain;
        if (qual == DateValue::Before) {
            if (d != 0 && m != 0)
                key = plain - 1;
            else if (m != 0)
                key = y * 65536 + (m - 1) * 256;
            else if (d == 0)
                key = (y - 1) * 65536;
        } else if (qual == DateValue::After) {
            if (d != 0 && m != 0)
                key = plain + 1;
            else if (m != 0)
                key = y * 65536 + (m + 1) * 256;
            else if (d == 0)
                key = (y + 1) * 65536;
        }
    }
    return quint32(key);
}

namespace {
// The table's texts of the qualifier words and English month names. Every date written asks for them (an import
// writes hundreds of thousands), so each thread keeps them until the tables are reloaded.
struct DateWords {
    int generation = -1;
    QString quals[4]; // about, before, after, between
    QString months[12];
};

const DateWords& localizedDateWords()
{
    thread_local DateWords words;
    const int generation = Localizer::generation();
    if (words.generation != generation) {
        const char* const quals[4] = {"abt", "bef", "aft", "bet"};
        for (int i = 0; i < 4; ++i)
            words.quals[i] = LocalizedString(QString::fromLatin1(quals[i]));
        for (int i = 0; i < 12; ++i)
            words.months[i] = LocalizedString(Dates::englishMonthNames()[i]);
        words.generation = generation;
    }
    return words;
}
} // namespace

QString Dates::dateStringFor(int qual, int day, int month, int year, bool useEnglishNames)
{
    if (year == 0)
        return {};
    const DateWords& words = localizedDateWords();
    QString word;
    if (qual >= DateValue::About && qual <= DateValue::Between)
        word = words.quals[qual - DateValue::About];
    QString out;
    out.reserve(20);
    if (!word.isEmpty()) {
        out += word;
        out += QLatin1Char(' ');
    }
    if (day != 0) {
        appendZeroPadded(out, day, 2);
        out += QLatin1Char(' ');
    }
    if (month >= 1 && month <= 12) {
        out += useEnglishNames ? words.months[month - 1] : userShortMonthNames()[month - 1];
        out += QLatin1Char(' ');
    }
    appendZeroPadded(out, year, 4);
    return out;
}

// ---------------------------------------------------------------------------------------------
// Reading

int Dates::readingOrderOfFormat(const QString& format)
{
    int month = 0;
    int year = 0;
    int day = 0;
    bool quoted = false;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        const int pos = i + 1;
        switch (c.unicode()) {
        case 'B': case 'b': case 'm': case 'M': month = pos; break;
        case 'Y': case 'y': year = pos; break;
        case 'd': case 'e': day = pos; break;
        default: break;
        }
    }
    if (month < day && year > day)
        return MonthFirst;
    if (month > year && month < day)
        return YearFirst;
    return DayFirst;
}

void Dates::setReadingOrderOverride(int order) { g_readingOrderOverride = order; }

int Dates::defaultShortDateFormat()
{
    if (const int forced = g_readingOrderOverride.load())
        return forced;
    const QString userFormat = UserDefaults::standard().stringForKey(QStringLiteral("NSShortDateFormatString"));
    if (!userFormat.isEmpty())
        return readingOrderOfFormat(userFormat);
    // The locale's format does not change while the program runs; read it once per locale.
    thread_local QString cachedLocale;
    thread_local int cachedOrder = DayFirst;
    const QLocale locale;
    if (locale.name() != cachedLocale || cachedLocale.isEmpty()) {
        cachedLocale = locale.name();
        cachedOrder = readingOrderOfFormat(locale.dateFormat(QLocale::ShortFormat));
    }
    return cachedOrder;
}

const QStringList& Dates::englishMonthNames()
{
    static const QStringList names{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return names;
}

const QStringList& Dates::qualifierWords()
{
    static const QStringList words{"C", "CIRCA", "ABOUT", "ABT", "BEF", "BEFORE", "AFT", "AFTER"};
    return words;
}

QStringList Dates::userShortMonthNames()
{
    const QStringList fromUser = UserDefaults::standard().stringListForKey(QStringLiteral("NSShortMonthNameArray"));
    if (fromUser.size() == 12)
        return fromUser;
    const QLocale locale;
    QStringList names;
    for (int m = 1; m <= 12; ++m)
        names << locale.monthName(m, QLocale::ShortFormat);
    return names;
}

Dates::Words Dates::getDateComponentsForDMY(const QStringList& w, const QStringList& quals, const QStringList&)
{
    Words out;
    switch (w.size()) {
    case 1:
        out.year = w[0];
        break;
    case 2:
        if (isQualifier(w[0], quals))
            out.qual = w[0];
        else
            out.month = w[0];
        out.year = w[1];
        break;
    case 3:
        if (isQualifier(w[0], quals))
            out.qual = w[0];
        else
            out.day = w[0];
        out.month = w[1];
        out.year = w[2];
        break;
    case 4:
        out.qual = w[0];
        out.day = w[1];
        out.month = w[2];
        out.year = w[3];
        break;
    default:
        break;
    }
    return out;
}

Dates::Words Dates::getDateComponentsForMDY(const QStringList& w, const QStringList& quals, const QStringList& months)
{
    Words out;
    switch (w.size()) {
    case 1:
    case 2:
        return getDateComponentsForDMY(w, quals, months);
    case 3:
        if (isQualifier(w[0], quals)) {
            out.qual = w[0];
            out.month = w[1];
        } else if (isMonthName(w[1], months)) {
            out.day = w[0];
            out.month = w[1];
        } else {
            out.month = w[0];
            out.day = w[1];
        }
        out.year = w[2];
        break;
    case 4:
        out.qual = w[0];
        if (isMonthName(w[2], months)) {
            out.day = w[1];
            out.month = w[2];
        } else {
            out.month = w[1];
            out.day = w[2];
        }
        out.year = w[3];
        break;
    default:
        break;
    }
    return out;
}

Dates::Words Dates::getDateComponentsForYMD(const QStringList& w, const QStringList& quals, const QStringList&,
                                            Words out)
{
    switch (w.size()) {
    case 1:
        out.year = w[0];
        break;
    case 2:
        if (isQualifier(w[0], quals)) {
            out.qual = w[0];
            out.year = w[1];
        } else {
            out.year = w[0];
            out.month = w[1];
        }
        break;
    case 3:
        if (isQualifier(w[0], quals)) {
            out.qual = w[0];
            out.year = w[1];
            out.month = w[2];
        } else {
            out.year = w[0];
            out.month = w[1];
            out.day = w[2];
        }
        break;
    case 4:
        out.qual = w[0];
        out.year = w[1];
        out.month = w[2];
        out.day = w[3];
        break;
    default:
        break;
    }
    return out;
}

std::optional<DateValue> Dates::getDateComponents(const QString& text, const ReadOptions& options)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return DateValue();
    if (trimmed == QLatin1String("Y") || trimmed == QLatin1String("y"))
        return DateValue::undatedY(trimmed);

    const QStringList words = splitWords(trimmed.toUpper());
    if (words.isEmpty() || words.size() > 4)
        return std::nullopt;

    const QStringList userMonths = options.useEnglishNames ? QStringList() : normaliseMonthNames(userShortMonthNames());
    const QStringList& months = options.useEnglishNames ? englishMonthNamesUpper() : userMonths;
    const QStringList& quals = qualifierWords();

    const int order = options.order == FollowUser ? defaultShortDateFormat() : options.order;
    Words w;
    if (order == MonthFirst)
        w = getDateComponentsForMDY(words, quals, months);
    else if (order == YearFirst && options.order == YearFirst)
        w = getDateComponentsForYMD(words, quals, months);
    else
        w = getDateComponentsForDMY(words, quals, months);

    const int qual = qualifierOf(w.qual, quals);
    const int year = w.year.isEmpty() ? 0 : leadingInt(w.year);
    const int month = monthOf(w.month, months);
    const int day = w.day.isEmpty() ? 0 : leadingInt(w.day);
    if (!isValidDate(qual, year, month, day, options.quiet))
        return std::nullopt;
    return DateValue(qual, day, month, year);
}

// ---------------------------------------------------------------------------------------------
// Validity

bool Dates::isLeapYear(int year)
{
    return year != 0 && (year % 400 == 0 || (year % 4 == 0 && year % 100 != 0));
}

int Dates::daysInMonth(int month, int year)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool Dates::isValidDate(int qual, int year, int month, int day, bool quiet)
{
    if (!quiet && month == 2 && day > daysInMonth(2, year)) {
        Prompts::current().message(
            LocalizedString(QStringLiteral("InvalidFebruaryDay")).arg(QString::number(day), QString::number(year)));
        return false;
    }
    if (qual < DateValue::None || qual > DateValue::After || year <= 0)
        return false;
    if (year > currentYear() || month < 0 || month > 12 || day < 0)
        return false;
    if (month == 0)
        return day == 0;
    return day <= daysInMonth(month, year);
}
