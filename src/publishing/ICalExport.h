#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class FTEvent;
class FTMoc;
class FTPerson;
class FTSpouseRel;
class ICalWriter;
class QIODevice;

// The birthdays, death anniversaries and wedding anniversaries of the family (or of the focal person's close kin)
// as an iCalendar file in the reports folder, each on its day of the current year, with optional alarms a day
// before. A 29 February falls on 28 February in a common year. Each anniversary keeps its UID from one export to
// the next (the kind, the person's or couple's record and the database's identity), so that a calendar that reads
// the file again updates its events instead of adding them twice.
//
//   ICalExport ical(moc);
//   ical.options.kinship = 3;
//   if (ical.exportToICal()) ... ical.outputFilePath(), ical.statistics() ...
class ICalExport {
public:
    explicit ICalExport(FTMoc* moc);

    struct Options {
        // 0 everybody; n > 0 the people within n steps of the focal person.
        int kinship = 0;
        // Summaries with the full name, or with the first and family names only.
        bool showFullNameOnCalendar = true;
        bool includeBirths = true;
        bool includeDeaths = true;
        bool includeMarriages = true;
        // Whole days, or 00:01 to 23:59.
        bool bAllDayEvent = true;
        bool emailAlarm = false;
        bool displayAlarm = false;
    };
    Options options;

    // The moment of the export (the current year, DTSTAMP); the clock's when not set.
    void setNow(const QDateTime& now) { m_now = now; }

    // The people the kinship choice covers: everybody in record order, or the focal person's kin by record.
    QList<FTPerson*> people() const;

    // The whole export: the e-mail address from the user default "iCalEmailAddress" (refused with "iCalEmailWarn"
    // when an e-mail alarm has none), the first free "<database>_<CalendarFilename>[_n].ics" in the reports
    // folder, the events. False after a message when nothing was written.
    bool exportToICal();
    // The events of `people` written as a calendar into `out`; false when a write failed.
    bool write(QIODevice* out, const QList<FTPerson*>& people);

    QString outputFilePath() const { return m_outputFilePath; }
    QString emailAddress;
    long numPeople = 0;
    long numBirths = 0;
    long numDeaths = 0;
    long numMarriages = 0;
    long numAlarms = 0;

    // What the window says before an export, and the figures it adds after one.
    QString instructions() const;
    QString statistics() const;

    // The eight characters double quote, backslash, ( ) { } [ ] become blanks.
    static QString cleanString(const QString& text);

private:
    void exportBirthForPerson(ICalWriter& ics, FTPerson* person);
    void exportDeathForPerson(ICalWriter& ics, FTPerson* person);
    void exportMarriageAnniversaries(ICalWriter& ics, const QList<FTPerson*>& people);
    QString personNotes(const QString& headKey, FTPerson* person) const;
    // The anniversary's day in the current year; invalid when the stored date has no day, month or year.
    QDate anniversary(const FTEvent* event) const;
    void writeEvent(ICalWriter& ics, const QString& uid, const QDate& day, const QString& summary,
                    const QString& notes);
    QString uid(const char* kind, qint64 key) const;

    FTMoc* m_moc;
    QDateTime m_now;
    QDateTime m_stamp;
    int m_currentYear = 0;
    QString m_storeId;
    QString m_outputFilePath;
};
