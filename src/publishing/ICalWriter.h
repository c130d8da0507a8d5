#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

class QIODevice;

// An iCalendar (RFC 5545) stream written property by property: names are given as they are written (with their
// parameters), text values are escaped and every line is folded (ContentLine). Dates are whole days
// ("VALUE=DATE"), times are floating local times, stamps are UTC.
//
//   ICalWriter ics(&file);
//   ics.beginCalendar();
//   ics.begin("VEVENT");
//   ics.text("SUMMARY", "Ann Smith b.1950");
//   ics.date("DTSTART", QDate(2025, 1, 31));
//   ics.end("VEVENT");
//   ics.endCalendar();
//   if (!ics.ok()) ...
class ICalWriter {
public:
    explicit ICalWriter(QIODevice* out);

    // "BEGIN:VCALENDAR", this program's PRODID, "CALSCALE:GREGORIAN", "VERSION:2.0".
    void beginCalendar();
    void endCalendar();
    void begin(const char* component);
    void end(const char* component);

    // A value written as given (a URI, a duration, a keyword).
    void property(const QString& name, const QString& value);
    void text(const QString& name, const QString& value);
    // "<name>;VALUE=DATE:yyyyMMdd".
    void date(const QString& name, const QDate& day);
    // "<name>:yyyyMMddTHHmmss", a floating time (the same hour wherever the calendar is read).
    void localDateTime(const QString& name, const QDate& day, const QTime& time);
    // "<name>:yyyyMMddTHHmmssZ".
    void utcDateTime(const QString& name, const QDateTime& moment);

    // False once a write has failed.
    bool ok() const { return m_ok; }

    // "-//Kinloom//Kinloom <version>//EN".
    static QString prodId();

private:
    void line(const QString& text);

    QIODevice* m_out;
    bool m_ok = true;
};
