#pragma once

#include <QString>
#include <QStringList>

// How one GEDCOM import ended, as the import dialog and the benchmark receive it.
struct ImportGedcomOutcome {
    bool succeeded = false;
    QString gedcomFilename;
    // The new database; empty after a failure, when the half-made file has been removed.
    QString databaseFilename;
    // The new database's file name without folder and extension.
    QString modelName;
    // After a failure: why, for the user. After success: the closing status line.
    QString message;
    // The log files written beside the database (unprocessed lines, custom tags, validation), those present.
    QStringList logFiles;

    // What the new database holds.
    int people = 0;
    int families = 0;
    int parentChildLinks = 0;
    int events = 0;
    int sources = 0;
    int citations = 0;
    int pictures = 0;
    int associations = 0;

    int numLines = 0;             // lines read from the file
    int unprocessedLines = 0;     // lines listed as not imported
    int recordsWithErrors = 0;    // records an error stopped part-way (each is named in the log)
    double seconds = 0;
};
