#pragma once

#include "model/DateValue.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QDate;
class QLocale;

// The date vocabulary of the family database: reading typed dates, the packed sort key, the
// normalised text, the validity rule, the date-field validator and the Hebrew form of a date.
// Nothing here keeps state except the reading-order override that tests set.
//
// Stored form of a date (an event's `date`, `qual`, `day`, `month`, `year`): qualifier 0 none,
// 1 about, 2 before, 3 after, 4 between; day 0 or 1-31; month 0 or 1-12; year 0 (no date) or
// 1 up to the current year. The text is always day, month, year: "abt 05 Jan 1900", "Mar 1850".
//
// How an event stores a typed date (FTEvent::setDate):
//
//     const std::optional<DateValue> v = Dates::getDateComponents(typed, {.quiet = gImportThreadIsActive});
//     if (!v) {
//         // Refused: keep the stored text AND the stored numbers exactly as they were, and say so
//         // ("FTEvent::setDate : invalid Date = %@"). Never write the text alone: an event whose
//         // text is emptied but whose numbers stay would sort and count by a date no longer shown.
//         return;
//     }
//     set qual/day/month/year from v->qual(), v->day(), v->month(), v->year();
//     set date to v->eventDateText(type == 301 || type == 302);   // death/marriage keep "Y"
//
// The numbers and the text always come from the same DateValue, so they cannot drift apart.
// lDate is Dates::getLongDate(qual, day, month, year) (or DateValue::longDate()).
class Dates {
public:
    // Reading orders (defaultShortDateFormat): the order of day and month in a typed date.
    enum ReadingOrder { FollowUser = 0, DayFirst = 1, MonthFirst = 2, YearFirst = 3 };

    struct ReadOptions {
        // Month names read: the English "Jan".."Dec" (true) or the user's short month names.
        bool useEnglishNames = true;
        // No message for an impossible day of February (a GEDCOM import passes true).
        bool quiet = false;
        // FollowUser reads day first unless the user's short date format puts the month first
        // (a year-first format reads day first too); the dates editor may ask for YearFirst.
        int order = FollowUser;
    };

    // The words of a typed date assigned to its fields (empty when absent).
    struct Words {
        QString qual;
        QString day;
        QString month;
        QString year;
    };

    // ---- Packing and text ----

    // Sort key: year * 65536 + month * 256 + day, moved one smallest step earlier for "before" (2)
    // and later for "after" (3). 0 means no date.
    static quint32 getLongDate(int qual, int day, int month, int year);
    // "abt 05 Jan 1900"; empty when the year is 0. English names (passed through the "Localizable"
    // table) or, with false, the user's short month names.
    static QString dateStringFor(int qual, int day, int month, int year, bool useEnglishNames = true);

    // ---- Reading ----

    // DayFirst, MonthFirst or YearFirst from the user's short date format: the user default
    // "NSShortDateFormatString" when set, else the locale's short date format.
    static int defaultShortDateFormat();
    // The reading order from a date format text ("dd/MM/yyyy", "M/d/yy", "%m/%d/%Y", "yyyy-MM-dd").
    static int readingOrderOfFormat(const QString& format);
    // Forces the answer of defaultShortDateFormat (tests, or a user's explicit choice); FollowUser
    // goes back to the user's format.
    static void setReadingOrderOverride(int order);

    // Reads a typed date: all of its fields and its normalised text together, or nothing when the
    // text is not a valid date. The empty text and "Y"/"y" are valid dates without a year.
    static std::optional<DateValue> getDateComponents(const QString& text, const ReadOptions& options);
    static std::optional<DateValue> getDateComponents(const QString& text) { return getDateComponents(text, ReadOptions{}); }

    // The word-assigning steps of the reader (1 to 4 words; more assign nothing). The day-first and
    // month-first readers start from empty words; the year-first reader changes only the words it
    // assigns. `quals` and `months` are the upper-cased qualifier words and month names.
    static Words getDateComponentsForDMY(const QStringList& words, const QStringList& quals, const QStringList& months);
    static Words getDateComponentsForMDY(const QStringList& words, const QStringList& quals, const QStringList& months);
    static Words getDateComponentsForYMD(const QStringList& words, const QStringList& quals, const QStringList& months,
                                         Words start = {});

    // Validity of the four numbers (note the order: qualifier, year, month, day). Without `quiet`,
    // an impossible day of February is announced ("29 Feb is invalid for year 1900").
    static bool isValidDate(int qual, int year, int month, int day, bool quiet = false);
    static bool isLeapYear(int year);
    // 0 for a month outside 1-12.
    static int daysInMonth(int month, int year);

    // "Jan".."Dec" (the words stored in databases) and the qualifier words in search order.
    static const QStringList& englishMonthNames();
    static const QStringList& qualifierWords();
    // The user default "NSShortMonthNameArray" when it holds twelve names, else the locale's.
    static QStringList userShortMonthNames();

    // ---- The date-field validator ----

    // The text being edited in a date cell or field.
    class Field {
    public:
        virtual ~Field() = default;
        virtual QString string() const = 0;
        virtual void setString(const QString& s) = 0;
        // Red text marks a date that was refused.
        virtual void setTextRed(bool red) = 0;
    };

    // A field that is only a text (table cells that hand over the typed value, tests).
    class TextField : public Field {
    public:
        explicit TextField(const QString& s = {}) : text(s) {}
        QString string() const override { return text; }
        void setString(const QString& s) override { text = s; }
        void setTextRed(bool r) override { red = r; }
        QString text;
        bool red = false;
    };

    // A relative of the person whose birth date is edited: the values the birth-gap check reads.
    struct Relative {
        QString firstName;
        QString gender;        // the stored gender text ("M" is the localised "MaleShort")
        quint32 birthKey = 0;  // packed key of the relative's birth; 0 skips the relative
        int birthYear = 0;     // the birth event's year
    };

    // The person whose birth date a field holds, with the children and parents of every link type.
    struct Person {
        QString name;
        QString firstName;
        QString gender;
        QList<Relative> children;
        QList<Relative> parents;
    };

    // Run when the user ends editing a date. Accepts (true) and writes the normalised text back,
    // or refuses (false): the field keeps the cleaned typed text in red, the format help is shown
    // and nothing may be stored, so the caller keeps the old date and editing goes on.
    // With a person (the field holds that person's birth date) implausible ages of the person's
    // parents and children at the births give one warning; the date is still accepted.
    static bool validateDateField(Field& field, const Person* person);
    // The warning text of that check; empty when nothing is implausible or the key is 0.
    static QString birthGapWarnings(quint32 enteredKey, int enteredYear, const Person& person);

    // ---- Hebrew calendar ----

    // The Gregorian day `date` written in the Hebrew calendar in the locale's long date style
    // ("23 Tevet 5760" in British English); `month`, when given, receives the Hebrew month's name
    // (empty for an invalid date).
    static QString hebrewDateFor(const QDate& date, QString* month = nullptr);
    static QString hebrewDateFor(const QDate& date, QString* month, const QLocale& locale);
};
