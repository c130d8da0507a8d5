#pragma once

#include <QString>

class FTMoc;
class ModelProgress;

// The checks and repairs that the user runs on the open family database from "Check Database Integrity...", one
// a row, each answering the report the window shows. Every row runs on the calling thread and may show alerts
// (through Prompts); rows 6 and 7 tell `progress` (may be null) how far they are.
//
//   DatabaseIntegrityChecks checks(*moc, &bar);
//   const QString report = checks.execute(DatabaseIntegrityChecks::RecursionCheckAll);
//   DatabaseIntegrityChecks::showReport(report);      // as a text file, in the desktop's text editor
class DatabaseIntegrityChecks {
public:
    enum Row {
        RemoveGhosts,
        RemoveIsolatedPeople,
        RecursionCheckAncestors,
        RecursionCheckAll,
        CleanDateFormats,
        MultipleNaturalParents,
        ValidateRelationships,
        RemoveStoredThumbnails,
        kRowCount
    };

    explicit DatabaseIntegrityChecks(FTMoc& moc, ModelProgress* progress = nullptr);

    // Runs the row's check (none for a row outside 0-7), then saves the database: the row's report followed by the
    // saving lines. The progress is back at 0 afterwards.
    QString execute(int row);

    // The rows, each answering its report without the saving lines.
    // Nameless people related to nobody are deleted.
    QString removeGhosts();
    // People related to nobody but the focal person are deleted, each named in the report.
    QString removeIsolatedPeople();
    // Cycles in the natural ancestry of the focal person; the links that close them are listed.
    QString recursionCheckAncestors();
    // Cycles anywhere in the database.
    QString recursionCheckAll();
    // Date texts of years 1 to 999 rewritten in the standard form.
    QString cleanDateFormats();
    // Children with more than one natural father or mother: listed, and the later parents' links made step links.
    QString multipleNaturalParents();
    // The relationship checks; an exception that stops them is shown and reported in the text.
    QString validateRelationships();
    // After the user agrees (it cannot be undone), every stored thumbnail (OriginalPicture record) is deleted; each
    // is made again from its picture file when next shown.
    QString removeStoredThumbnails();

    // The label of a row's radio button.
    static QString rowTitle(int row);

    // "<data folder>/<DbIntegrityFileName>"; empty when there is no data folder (the reason has been shown).
    static QString reportFilePath();
    // Makes or empties the file and writes the UTF-8 byte-order mark, then the report in UTF-8. False, after a
    // message, when the file cannot be written.
    static bool writeReportFile(const QString& path, const QString& report);
    // Writes the report file and opens it in the desktop's default application for it.
    static bool showReport(const QString& report);

private:
    // "\n\n<heading>:\n" and one line for each link that closes a cycle.
    QString recursionListing() const;

    FTMoc& m_moc;
    ModelProgress* m_progress;
};
