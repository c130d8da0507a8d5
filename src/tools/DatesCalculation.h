#pragma once

#include <QList>
#include <QString>

class FTEvent;
class FTMoc;
class FTPerson;
class ModelProgress;

// Calculated birth and death dates: people without a birth date get one from their christening or baptism, people
// without a death date one from their burial or cremation. A date with only a year gives "abt" that year, any
// other "bef" the date itself; the filled event gets a note of where the date came from. A person whose other
// date makes the new one implausible (a death before the baptism, or more than 120 years after it) is left alone
// and counted. The whole run is one undo step; the people given a date are listed in a text file in the reports
// folder, which is opened.
//
//   DatesCalculation births(moc, DatesCalculation::Births);
//   births.createEventsArray();             // the candidates; "NothingToDo" when there are none
//   DatesCalculation::Outcome done = births.createDates(&progress);
class DatesCalculation {
public:
    enum Kind { Births, Deaths };

    DatesCalculation(FTMoc* moc, Kind kind);

    FTMoc* moc() const { return m_moc; }
    Kind kind() const { return m_kind; }

    // The events a date may come from: dated christenings and baptisms (burials and cremations) of people whose
    // birth (death) has no year, sorted by the event's name. Says "NothingToDo" when there are none.
    const QList<FTEvent*>& createEventsArray();
    const QList<FTEvent*>& events() const { return m_events; }

    // Whether a birth and a death fit together: true when either is missing or undated; false when the death
    // (a missing month counted as December, a missing day as the 31st) lies before the birth or more than 120
    // years after it.
    static bool checkBirthDate(const FTEvent* birth, const FTEvent* death);

    struct Outcome {
        int added = 0;
        int ignored = 0;
        QString logPath; // empty when nobody was given a date
    };
    // Fills the dates of the candidates, in one undo step; tells how many were ignored, writes and opens the log.
    Outcome createDates(ModelProgress* progress = nullptr);
    // The result line the window shows ("Added 3 Birth Dates", or that none was added).
    QString progressMessage() const { return m_progressMessage; }

    // The first free "<reports folder>/<baseName>.txt", then "<baseName>_1.txt" and so on: never an existing file.
    static QString createOutputFilePath(const QString& baseName);
    // The log's text for the people given a date, in their order.
    QString logText(const QList<FTPerson*>& people) const;

private:
    FTEvent* filledEvent(FTPerson* person) const;

    FTMoc* m_moc;
    Kind m_kind;
    QList<FTEvent*> m_events;
    QString m_progressMessage;
};
