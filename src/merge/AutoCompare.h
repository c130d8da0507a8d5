#pragma once

#include "merge/ComparisonDictionary.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>

class ComparePeopleList;
class FTMoc;
class FTPerson;
class ModelProgress;
class QTextDocument;

// The comparison of the whole other database with the open one, in one run: every person of the other database
// (the source) is matched with at most one person of the open database (the target), by name, gender and years
// (mode 0) or by id (mode 1); each matched pair that differs has its account in the report (PersonComparison),
// and the people of either side without a match are listed. The report is an RTF file in the reports folder,
// opened in the user's word processor. Neither database is changed.
//
//   AutoCompare::Result r = AutoCompare::autoCompare(otherList, openList, moc1, moc2, mode, now, &progress, &report);
//   const QString path = AutoCompare::writeReport(*report);
class AutoCompare {
public:
    // What the report's heading block says.
    struct Header {
        QDateTime now;
        QString version;
        int matchMode = 0;
        QString sourceFile, targetFile;
        QDateTime sourceCreated, sourceModified, targetCreated, targetModified;
    };
    // The heading of a run now: the program's version, and each store file's name and dates.
    static Header headerFor(const FTMoc* moc1, const FTMoc* moc2, int matchMode, const QDateTime& now);

    struct Result {
        int matchedPairs = 0;
        int sourceCount = 0;
        int targetCount = 0;
        QList<FTPerson*> unmatchedSource, unmatchedTarget;
    };

    // The whole run on the window's two lists: both are shown unfiltered and by name first (the order the name
    // match needs; the stored match mode is not changed), the report is made with its heading, the pairs and the
    // summaries. Progress: "<i> of <count>" every tenth person and the share done, then the final count.
    static Result autoCompare(ComparePeopleList& source, ComparePeopleList& target, FTMoc* moc1, FTMoc* moc2,
        const Header& header, ModelProgress* progress, std::unique_ptr<QTextDocument>* report);

    // The parts of the run, for lists already by name.
    static std::unique_ptr<QTextDocument> newReport();
    static void createReportHeader(QTextDocument* report, const Header& header);
    static Result compareBasedOnNameGenderBirthDeathAndNumericId(QTextDocument* report,
        const QList<FTPerson*>& source, const QList<FTPerson*>& target, ModelProgress* progress);
    static Result compareBasedOnNumericId(QTextDocument* report, const QList<FTPerson*>& source,
        const QList<FTPerson*>& target, FTMoc* moc2, ModelProgress* progress);
    static void appendSummaries(QTextDocument* report, const Result& result);
    // "<pairs> of <source people> people matched".
    static QString finalCountText(const Result& result);

    // The people's index of their other personal events, which the person comparison reads while it exists.
    static void createEventIndexesInMoc(FTMoc* moc);
    static void removeEventIndexesInMoc(FTMoc* moc);

    // Writes the report as a new RTF file in the reports folder and opens it; answers its path (empty after a
    // message when it cannot be written).
    static QString writeReport(const QTextDocument& report);
    // The printout of a pair shown side by side: a heading and the text of each side, written as "temp.rtf" in the
    // reports folder over an earlier printout, and opened; answers its path (empty after a message).
    static QString printSelected(const QString& m1Filename, const ComparisonDictionary::SideText& person1Details,
        const QString& m2Filename, const ComparisonDictionary::SideText& person2Details);
    // Writes an RTF file in one piece (a crash leaves the old file or none, never half of one); a message and
    // false when it cannot.
    static bool writeRtf(const QTextDocument& document, const QString& path);
};
