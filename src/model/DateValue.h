#pragma once

#include <QString>
#include <QtGlobal>

// One date as the family database keeps it: the qualifier, day, month and year and the normalised
// text made from them ("abt 05 Jan 1900"). The text is always derived from the numbers, so the two
// can never disagree; a value is made only by the date reader (Dates::getDateComponents) or from
// numbers that are already stored.
class DateValue {
public:
    enum Qualifier { None = 0, About = 1, Before = 2, After = 3, Between = 4 };

    // No date: every field 0, empty text.
    DateValue() = default;
    // From stored numbers; the text is written with the English month abbreviations of the table.
    DateValue(int qual, int day, int month, int year);
    // "Y" typed into a date field: valid, no date; `typed` is kept as the user wrote it ("Y" or "y").
    static DateValue undatedY(const QString& typed);

    int qual() const { return m_qual; }
    int day() const { return m_day; }
    int month() const { return m_month; }
    int year() const { return m_year; }
    // The normalised text; empty when the year is 0.
    const QString& text() const { return m_text; }
    // The packed sort key (Dates::getLongDate).
    quint32 longDate() const;
    bool hasDate() const { return m_year != 0; }
    // The text was "Y" or "y": the event happened, its date is unknown.
    bool isUndatedY() const { return !m_typedY.isEmpty(); }

    // The text an event stores: a death or marriage keeps "Y" as it was typed, everything else the
    // normalised text (a birth typed "y" thus stores the empty text).
    QString eventDateText(bool deathOrMarriage) const;

    bool operator==(const DateValue& o) const = default;

private:
    int m_qual = 0;
    int m_day = 0;
    int m_month = 0;
    int m_year = 0;
    QString m_text;
    QString m_typedY;
};
