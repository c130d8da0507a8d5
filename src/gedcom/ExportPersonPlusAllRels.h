#pragma once

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class ExportToGedcom;
class FTMoc;
class FTPerson;
class RtfWriter;

// Everybody connected to the focal person by any chain of parent-child links and couples, beside the people who
// are not, in their separate groups. Opened with the layout "ExportPersonPlusAllRels" it hands the connected
// people to the GEDCOM export; with "DynastiesReport" it writes the dynasties report (RTF) of both lists.
//
//   ExportPersonPlusAllRels search(moc, moc->focalPerson(), ExportPersonPlusAllRels::kDynastiesReport);
//   search.createArrays();                        // the window starts it once it shows
//   search.relatedPeopleArray();                  // first table
//   search.unrelatedPeopleArray();                // second table; null entries are the dashed rows
//   search.generate();                            // GEDCOM: see generateToGedcom(); report: written and opened
class ExportPersonPlusAllRels {
public:
    static inline const QString kExportPersonPlusAllRels = QStringLiteral("ExportPersonPlusAllRels");
    static inline const QString kDynastiesReport = QStringLiteral("DynastiesReport");
    // The text of a dashed row between two groups of unconnected people.
    static inline const QString kSeparatorText = QStringLiteral("-----------------------------------");

    ExportPersonPlusAllRels(FTMoc* moc, FTPerson* focalPerson, const QString& nibName);
    ~ExportPersonPlusAllRels();

    FTMoc* moc() const { return m_moc; }
    FTPerson* focalPerson() const { return m_focalPerson; }
    QString modelName() const { return m_modelName; }
    QString nibName() const { return m_nibName; }

    // Progress of the search and of the report, 0 to 100.
    std::function<void(int percent)> progressChanged;

    // The search: fills the lists below. Each person is visited once, however long the chains.
    void createArrays();
    // The focal person and everybody connected to it.
    const QSet<FTPerson*>& relatedPeopleSet() const { return m_relatedPeopleSet; }
    // The same sorted by name: the first table and the report's order.
    QList<FTPerson*> relatedPeopleArray() const;
    // The unconnected people, group after group (each sorted by name), a null entry between two groups.
    const QList<FTPerson*>& unrelatedPeopleArray() const { return m_unrelatedPeopleArray; }
    int numUnrelated() const { return m_numUnrelated; }
    int totPeopleInMoc() const { return m_totPeopleInMoc; }
    // A row of the unconnected table: the person's name with years, or the dashes of a separator.
    static QString rowText(const FTPerson* person);

    // The Generate button, by layout: for the GEDCOM layout it answers the export to show (see
    // generateToGedcom()); for the report it writes and opens the report and answers null.
    std::unique_ptr<ExportToGedcom> generate();
    // Saves the database and makes a selective export of the connected people.
    std::unique_ptr<ExportToGedcom> generateToGedcom();
    // Writes the dynasties report into the reports folder ("<database>_DynastiesReport.rtf", or "..._<n>.rtf"
    // with the first free number; an existing file is never replaced). The path, or empty after a message.
    QString writeDynastiesReport();
    // writeDynastiesReport(), then opens the report in the user's RTF application.
    bool generateDynastiesReport();
    // The writer of the last report written (its file, its saved message, its hand-over); null before one was.
    const RtfWriter* reportWriter() const { return m_report.get(); }
    // The time the report's title names (now unless set).
    void setNow(const QDateTime& now) { m_now = now; }

private:
    void setProgress(int percent);
    QString peopleText(const QList<FTPerson*>& people);

    FTMoc* m_moc;
    FTPerson* m_focalPerson;
    QString m_modelName;
    QString m_nibName;
    QSet<FTPerson*> m_relatedPeopleSet;
    QList<FTPerson*> m_unrelatedPeopleArray;
    int m_totPeopleInMoc = 0;
    int m_numUnrelated = 0;
    int m_lastProgress = -1;
    QDateTime m_now;
    std::unique_ptr<RtfWriter> m_report;
};
