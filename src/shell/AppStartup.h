#pragma once

#include <QString>

// The files the program looks at when it starts: the data folder, the sample database and the database to open.
//
//   AppStartup::ensureDatabaseExists();
//   const QString path = AppStartup::recentDocumentToOpenAtLaunch();
class AppStartup {
public:
    // The sample database of the shared support folder and of a new data folder.
    static const QString kSampleDatabaseName; // "Royal92.RezUdu"

    // Makes the data folder when it is missing and removes the partial databases that imports killed half-way
    // left in it (Utils::removeOrphanedPartialDatabases); when it holds no database yet, copies the sample databases and
    // GEDCOM files of the shared support folder into it and lists each copied database as a recent document.
    // False when there is no usable data folder (the reason has been shown).
    static bool ensureDatabaseExists();
    // Lists the sample database of the data folder as a recent document, first copying it from the shared
    // support folder when the data folder has none.
    static void addRoyal92ToRecentDocs();
    // Whether a path lies in a trash folder ("Trash" anywhere in it, in any letter case).
    static bool isInTrash(const QString& path);
    // The database to open at launch: the newest recent document not in the trash (each one skipped is logged);
    // the sample database is listed first when the list is empty. Empty when there is none.
    static QString recentDocumentToOpenAtLaunch();
};
