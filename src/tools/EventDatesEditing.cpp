#include "tools/EventDatesEditing.h"

#include "model/Dates.h"
#include "model/FTEvent.h"

#include <QStringList>

namespace {
// The month abbreviations in capitals, as the words of a GEDCOM text are compared with them.
const QStringList& monthWords()
{
    static const QStringList words = [] {
        QStringList out;
        for (const QString& m : Dates::englishMonthNames())
            out << m.toUpper();
        return out;
    }();
    return words;
}

// The number the word begins with (as "12TH" gives 12); 0 without one.
int intValue(const QString& word)
{
    int value = 0;
    for (const QChar c : word) {
        if (!c.isDigit())
            break;
        value = value * 10 + c.digitValue();
        if (value > 100000)
            break;
    }
    return value;
}

// The month a word names: the first abbreviation that the word equals or begins with (JAN, JANUARY); -1 for none.
int monthOf(const QString& word)
{
    const QStringList& months = monthWords();
    for (int m = 0; m < months.size(); ++m)
        if (word.startsWith(months[m]))
            return m + 1;
    return -1;
}

// The words of a GEDCOM date text: capitals, punctuation as blanks, a letter and a digit that touch parted
// ("ABT1850" is ABT and 1850).
QStringList wordsOf(const QString& text)
{
    const QString upper = text.toUpper();
    QString spaced;
    spaced.reserve(upper.size() + 4);
    for (qsizetype i = 0; i < upper.size(); ++i) {
        const QChar c = upper[i];
        spaced += c.isLetterOrNumber() ? c : QLatin1Char(' ');
        if (c.isLetter() && i + 1 < upper.size() && upper[i + 1].isDigit())
            spaced += QLatin1Char(' ');
    }
    QStringList words = spaced.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // A month written out ("JANUARY", "SEPT") is read as its abbreviation, so that the orders that look for a month
    // word among the numbers find it.
    for (QString& w : words)
        if (!w.isEmpty() && w.at(0).isLetter() && monthOf(w) > 0)
            w = monthWords()[monthOf(w) - 1];
    return words;
}

int qualifierOf(const QString& word)
{
    if (word.isEmpty())
        return 0;
    switch (Dates::qualifierWords().indexOf(word)) {
    case 0: case 1: case 2: case 3:
        return 1; // C, CIRCA, ABOUT, ABT
    case 4: case 5:
        return 2; // BEF, BEFORE
    case 6: case 7:
        return 3; // AFT, AFTER
    default:
        return -1;
    }
}
}

std::optional<EventDatesEditing::Reading> EventDatesEditing::readGedcomDate(const QString& text, Mode mode)
{
    if (text.isEmpty() || text == QLatin1String("Y") || text == QLatin1String("y"))
        return std::nullopt;
    const QStringList words = wordsOf(text);
    if (words.isEmpty() || words.size() > 4)
        return std::nullopt;
    const QStringList& quals = Dates::qualifierWords();
    const QStringList& months = monthWords();
    Dates::Words parts;
    if (mode == MDY)
        parts = Dates::getDateComponentsForMDY(words, quals, months);
    else if (mode == YMD)
        parts = Dates::getDateComponentsForYMD(words, quals, months);
    else
        parts = Dates::getDateComponentsForDMY(words, quals, months);
    Reading r;
    r.qual = qualifierOf(parts.qual);
    r.year = intValue(parts.year);
    r.day = intValue(parts.day);
    if (!parts.month.isEmpty()) {
        r.month = intValue(parts.month);
        if (r.month == 0)
            r.month = monthOf(parts.month);
    }
    return r;
}

EventDatesEditing::Outcome EventDatesEditing::interpretGedcomDate(const QList<FTEvent*>& events, Mode mode)
{
    Outcome outcome;
    for (FTEvent* event : events) {
        if (!event || event->isDeleted())
            continue;
        const std::optional<Reading> r = readGedcomDate(event->gedcomDate(), mode);
        if (!r) {
            outcome.stopped = true;
            break;
        }
        ++outcome.read;
        if (!Dates::isValidDate(r->qual, r->year, r->month, r->day, true))
            continue;
        const QString date = Dates::dateStringFor(r->qual, r->day, r->month, r->year, true);
        if (date == event->date())
            continue;
        event->setDate(date);
        ++outcome.changed;
    }
    return outcome;
}
