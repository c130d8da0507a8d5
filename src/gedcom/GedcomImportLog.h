#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class GedRec;
class GedcomForest;
class GedcomReadObserver;
class QFile;

// The log files of an import, written beside the new database: every line the import did not take
// as written, with the reason the record readers gave it, every parser message, and the custom-tag
// lines apart. The record passes only mark lines (GedRec flags and error reasons); this writes them.
class GedcomImportLog {
public:
    static const QString kUnprocessedFileName;  // "UnprocessedGedRecs.txt"
    static const QString kCustomFileName;       // "UnprocessedCustomGedRecs.txt"
    static const QString kValidationFileName;   // "ValidationErrors.txt"

    // `folder` is the new database's folder; the paths go into the files' headers.
    GedcomImportLog(const QString& folder, const QString& gedcomPath, const QString& databasePath,
                    GedcomReadObserver* observer = nullptr);
    ~GedcomImportLog();

    // The date written into the headers (now, unless set).
    void setDateRead(const QDateTime& when);

    QString pathFor(const QString& fileName) const;

    // Creates (replacing) a log file: UTF-8 byte-order mark, then the header of its kind. Null, after
    // the message "Unable to create the file for the <name>", when it cannot be created.
    std::unique_ptr<QFile> createOutputFile(const QString& fileName) const;

    // The report pass: writes the parser messages, the error-reason lines and every line no pass
    // consumed, then the counts. The custom-tag file is removed when it got no line.
    void printUnprocessedGedRecs(GedcomForest& forest, const QStringList& parserMessages, int numLines,
                                 int blobRecordsIgnored);
    // Keeps what the report will write of the record's lines that are about to be released early
    // (GedRec::isReleasedEarly): no pass may change them any more. The report writes it in their
    // place, so that the logs read as if the lines had lived until then.
    void keepTextOfReleasedLines(GedRec* record);

    // Counters of the last report.
    int numCustomTagRecords() const { return m_numCustomTagRecords; }
    int totalUnprocessed() const { return m_totalUnprocessed; }

    // Texts of the error reasons and actions as the log prints them.
    static QString errorReasonText(const GedRec& rec);
    static QString errorActionText(int action);
    // "line N. path, reason, action[, text]"
    static QString errorLine(const GedRec& rec);

    // The log files present beside the database, in the order unprocessed, custom, validation.
    QStringList existingLogFiles() const;

private:
    // The text of a run of released sub-records of one record, in the three parts of the report.
    struct ReleasedText {
        qsizetype keptBefore = 0;  // the record's remaining sub-records that come before the run
        QByteArray errors;         // the error-reason lines
        QByteArray unprocessed;    // the unprocessed lines, less the record's own line
        QByteArray custom;
        int unprocessedCount = 0;
        int customCount = 0;
        bool needsRecordLine = false;  // the record's line must come first, unless written already
    };
    struct Printer;

    QHash<const GedRec*, std::vector<ReleasedText>> m_releasedText;

    QString m_folder;
    QString m_gedcomPath;
    QString m_databasePath;
    QDateTime m_dateRead;
    GedcomReadObserver* m_observer;
    int m_numCustomTagRecords = 0;
    int m_totalUnprocessed = 0;
};
