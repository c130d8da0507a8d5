#pragma once

#include <QString>

// GEDCOM DATE values: writing a stored date (qualifier, day, month, year) with the GEDCOM keywords, and
// reading the DATE value of an imported event into those four numbers.
//
// Qualifiers: 0 none, 1 about, 2 before, 3 after, 4 between. Day, month and year are 0 when absent;
// a year of 0 means no date.
class GedcomDate {
public:
    // What the import makes of one DATE value.
    struct Reading {
        // The codes the import log gives the DATE line: 0/0 when the date was read as written;
        // reason 16 (date not valid) with action 32 (converted to an about date) when it was read
        // only after editing; reason 16 with action 2 (appended to Notes) when it could not be read.
        int errorReason = 0;
        int errorAction = 0;
        bool hasDate = false;   // the four numbers and `date` are set
        int qual = 0;
        int day = 0;
        int month = 0;
        int year = 0;
        QString date;           // the display text of the four numbers ("abt 05 Jan 1900")
        QString editedText;     // the text that was finally read
        // Text to append to the event's notes: the value as written, when part of it could not be
        // kept in the date (a range, a dual year) or when it could not be read at all. Empty otherwise.
        QString notes;
    };

    static constexpr int kReasonDateNotValid = 16;
    static constexpr int kActionToNotes = 2;
    static constexpr int kActionConvertedToAbout = 32;

    // The DATE value for a stored date: "ABT 05 JAN 1900", "BEF MAR 1850", "1850". A qualifier of 4
    // (between) has no second date to name, so it is written "BET d AND d". When the year is 0 the
    // fallback `text` is written instead (on one line, upper-cased), for the "Y" of a death or marriage
    // without date.
    static QString gedcomDate(int qual, int day, int month, int year, const QString& text = {});

    // Reads the DATE value of an imported event: readPlainEventDate() when it can, else readEventDate().
    static Reading processEventDate(const QString& value);
    // The general reading of a DATE value, with every edit below, for any text.
    static Reading readEventDate(const QString& value);
    // The same reading as readEventDate(), made without temporaries, for the forms most files write:
    // a plain date (readPlainDate) or "BET <plain date> AND <plain date>". False, leaving `r` as it
    // was, for any other text.
    static bool readPlainEventDate(const QString& value, Reading* r);
    // "1850", "ABT 1850", "MAR 1850", "12 MAR 1850", "ABT 12 MAR 1850" (any case; qualifiers as
    // readDate reads them, months by their three letters), words one space apart and nothing else.
    // Answers as readDate() does when the text is such a valid date; false otherwise, whatever
    // readDate() would make of it.
    static bool readPlainDate(QStringView text, int* qual, int* day, int* month, int* year);

    // The edits the import makes before reading a date; each returns the text unchanged when its form
    // does not apply.
    // "WFT Est 1820-1830" -> "BET 1820 AND 1830".
    static QString processWorldFamilyTreeEstimatedDate(const QString& text);
    // "1750/51" -> "abt 1750": a dual year is read as about its first year.
    static QString processDateWithSlash(const QString& text);
    // "BET 1850 AND 1860" -> "abt 1855"; equal years keep the first date as an about date.
    static QString processBetweenDate(const QString& text);
    // "FROM 1 JAN 1900 TO 1910" -> "01 Jan 1900": the start of the period.
    static QString processFromToDate(const QString& text);
    // True for a value whose first "/" separates a year from its alternative ("1750/51", "5 FEB 1750/1751").
    static bool isDualYear(const QString& text);

    // Reads a date text, day first, with the English month names: the optional qualifier word (C,
    // CIRCA, ABOUT, ABT, BEF, BEFORE, AFT, AFTER), day, month (number or name) and year. The empty
    // text, "Y" and "y" read as no date. Answers false, leaving the outputs alone, when the text is
    // not a valid date of at most the current year.
    static bool readDate(const QString& text, int* qual, int* day, int* month, int* year);
    // The normalised text of a date: qualifier word, two-digit day, month name, four-digit year.
    // English names when `localized` is false, the "Localizable" table's otherwise.
    static QString dateString(int qual, int day, int month, int year, bool localized);
    static bool isValidDate(int qual, int year, int month, int day);
};
