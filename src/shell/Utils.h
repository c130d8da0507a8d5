#pragma once

#include <QString>

// Class-level helpers shared by every subsystem. Each group of members is defined in its own
// Utils_<Group>.cpp file.
class Utils {
public:
    // ---- Alerts, logging and the exception report (Utils_Alerts.cpp) ----
    // The plain alert DisplayMsg is in shell/DisplayMsg.h, the flags set by the system check in
    // shell/SystemFlags.h, the replaceable hooks in shell/AlertHooks.h. Texts are shown as given: callers
    // localise first. Called off the main thread, an alert is shown by the main thread while the caller waits.

    // The plain alert begun as a sheet on `window` (a QWidget in the app); returns at once.
    static void displayMsgAsSheet(class QObject* window, const QString& text);
    // An alert with `title` as its message and `info` as its informative text; an `info` of 51 or more
    // lines or more than 1,000 characters goes to the long-message window instead. Pauses 50 ms after.
    static void displayMsgWithTitle(const QString& title, const QString& info);
    // The long-message window, modal. A title longer than 50 characters moves into the text.
    static void showMe(const QString& title, const QString& info);
    // True when the first button was pressed.
    static bool displayYesNoQuery(const QString& message, const QString& firstButton, const QString& secondButton);
    // The question when the active source is to be cited and none is active: true when the user chose
    // "Activate a Source" (the caller then opens the sources window).
    static bool askToActivateSource();
    static void glassSound();
    // Waits `milliseconds` while the event loop keeps repainting (user input waits); off the main thread
    // it simply sleeps.
    static void sleep(double milliseconds);

    // The start-up system check: sets gVovadid, gMallocDebug and gDevelopmentVersion (development mode
    // when KINLOOM_DEVELOPMENT is set to anything but "" or "0"). Every Linux system is supported: true.
    static bool OSX10Point4OrLater();
    // The operating system's name and kernel, as the exception report and the log give it.
    static QString systemVersionString();

    // The last-resort handler: appends a record to "exceptionsLog.txt" in the data folder, tells the user,
    // opens the pre-filled e-mail to support and asks the program to end (AlertHooks::terminate). It
    // returns to the caller; the program ends when control is back in the event loop. `file` is the
    // source file's path (__FILE__), `method` the operation's name.
    static void reportException(const QString& name, const QString& reason, const QString& userInfo,
                                const char* file, int line, const QString& method);
    // The same for the exception being handled: call it inside a catch block (std::exception gives its
    // type and what(); anything else is reported as an unknown exception).
    static void reportCurrentException(const char* file, int line, const QString& method);
    // Inside a catch block: the exception's type and what() (std::exception), else "unknown exception" and an
    // empty reason.
    static void describeCurrentException(QString* name, QString* reason);
    // The record that reportException writes, for a given moment (the format of exceptionsLog.txt).
    static QString exceptionRecord(const QString& name, const QString& reason, const QString& userInfo,
                                   const char* file, int line, const QString& method);
    // The support address of the pre-filled e-mail.
    static QString supportEmailAddress();

    struct AlertHooks;
    struct ExceptionDocumentInfo;
    static AlertHooks& alertHooks();
    // ---- end of alerts ----

    // ---- Data folder, backups, report files and opening files (Utils_Folders.cpp) ----

    // The data folder (user default "KinloomDataDirectory", stored as ~/KinloomData when absent). Empty, after a
    // message, when a file stands at that path; a missing folder is reported but not re-created here.
    static QString KinloomDataDirectory();
    // "Reports", "Backups", "Pictures" and "temp" inside the data folder, each created when missing.
    static QString reportsDirectory();
    static QString backupsDirectory();
    static QString picturesDirectory();
    static QString tempDirectory();

    // The first free path "<folder>/<name>.<ext>", then "<folder>/<name>_<n>.<ext>" for n = 1 .. lastNumber
    // (lastNumber < 0: no limit). Never an existing path: empty with a reason in `error` when all are taken.
    static QString uniquePathInFolder(const QString& folder, const QString& name, const QString& extension,
                                      int lastNumber, QString* error = nullptr);
    // The first free report file in the reports folder for a base name, or for a database and a report
    // ("<reports>/<database>_<report>.<ext>", then "..._<n>.<ext>").
    static QString createReportFileName(const QString& name, const QString& extension);
    static QString createReportFileName(const QString& databaseName, const QString& reportName,
                                        const QString& extension);

    // THE way a user's text (a person's name, a title, a database name) becomes a file name: use it wherever
    // such text names a report, listing, CSV, RTF, picture, web page or folder, never the raw text.
    // "/" becomes "|", control characters (line ends, tabs, NUL) go, runs of blanks become one, leading dots and
    // blanks go (no hidden files, no "." or ".."), and the result is cut, never inside a character, to at most
    // `maxBytes` bytes of UTF-8. A file name may hold 255 bytes: the default leaves 55 for what callers add (a
    // suffix such as "_Relatives", the "_<n>" of a free name, the extension). `fallback` when nothing is left.
    // The result never leads out of the folder it is put in.
    static QString safeFileName(const QString& text, const QString& fallback = {}, int maxBytes = 200);

    // A database that takes long to build (a GEDCOM import) is built in "<its path>.part" beside it and moved
    // into place only when complete (moveDatabaseIntoPlace), so that the final name never holds a partial
    // database, whatever stops the program. While it is built its store holds the file locked.
    static QString partialDatabasePath(const QString& databasePath);
    // Puts the complete database at `partialPath` under `databasePath`, synced to disk, never over an existing
    // file; false with the reason in `error` (the partial file is then left where it was).
    static bool moveDatabaseIntoPlace(const QString& partialPath, const QString& databasePath, QString* error);
    // Removes the partial databases in `folder` that nothing builds any more (a build killed, a power cut, a
    // logout), with their journals; one that a program is still building (it holds the file locked) stays.
    // Answers the files removed.
    static QStringList removeOrphanedPartialDatabases(const QString& folder);

    // Backups of a database: "<backups>/<name>_BackupNN.RezUdu", NN the first free number of 01 .. 99.
    // Empty after the "maximum of 99 backups" message when all are taken.
    static QString proposedBackupPath(const QString& databasePath);
    // "The Kinloom Backups folder contains N files totalling M Mb" (M in units of 2^20 bytes).
    static QString backupsFolderSummary();
    // The save panel's check of a typed name: refuses, with a message, a file that exists.
    static bool panelUserEnteredFilename(const QString& path);
    // Copies the database to a new backup file through SQLite's online backup (consistent while another
    // connection writes, synced to disk), never over an existing one; messages on failure.
    static bool copyDatabaseToBackup(const QString& databasePath, const QString& backupPath);
    // The whole backup: proposes the name, runs the panel, copies. The caller saves the database first.
    // Answers true when a backup was written.
    static bool backupCurrentModel(const QString& databasePath, class BackupPanel& panel);
    // Saves `moc` before its backup: empty when the file now holds every change, else why no backup may be made
    // (a backup copies the file, so it would silently lack what could not be written).
    static QString saveBeforeBackup(class FTMoc& moc);

    // Opens a file in the named application ("defaultRtfApp": the user default "rtfApplication"; empty: the
    // system's default for the file); a message when that fails. `anchor` is a place in an HTML page that the
    // browser shows; `failure`, when given, is the message instead of the usual one (%1: the path).
    static bool displayFile(const QString& path, const QString& application, const QString& anchor = {},
                            const QString& failure = {});
    // The applications (desktop-file ids) that open the file, sorted, the default one first.
    static QStringList applicationsThatOpenFile(const QString& path);
    static QStringList rtfApplications();
    static QStringList csvApplications();

    // Makes user text safe inside RTF, in place: braces become blanks; backslashes, double quotes and
    // every character above 127 become RTF escapes. Run it once, before the line breaks are turned into \par.
    static void cleanTheRtfString(QString& text);
    // A rich text (a story, a family group sheet) as a complete RTF document: fonts, sizes, bold, italic,
    // underline, strike-through, text and background colours, alignment and indents, with its pictures embedded as
    // JPEG.
    static QString encodeRTFwithPictures(const class QTextDocument& document);

    // ---- end of folders ----

    // ---- Vocabularies and small helpers (Utils_Vocabularies.cpp) ----

    // GEDCOM event tag -> English event name, for the groups whose bits are set in `mask`: 1 birth and death,
    // 2 other personal events, 4 attributes, 8 LDS ordinances, 16 marriage, 32 other marriage events,
    // 64 LDS spouse sealing, 128 other.
    static QMap<QString, QString> eventTypesDictionary(int mask);
    static QMap<QString, QString> allEventTypesDictionary();
    static QStringList otherPersonalEventTypesArray();
    static QStringList otherMarriageEventTypesArray();

    static QSet<QString> familyNamePrefixes();
    static QSet<QString> familyNameSuffixes();

    // "Unknown", "Natural", "Step", "Adopted", "Foster", "Not Related" (text beginning with) -> type bits.
    static int intPcRelTypeFromString(const QString& text);

    // The last of two or more words in capitals, unless it holds punctuation ("O'Brien").
    static QString uppercaseFamilyName(const QString& name);
    // Tidies commas, blanks and full stops of a place text. `importRunning` keeps the full stops (GEDCOM
    // imports pass the model's import flag).
    static QString cleanPlaceName(const QString& place, bool importRunning = false);

    static class QColor tableViewHighlightColour();
    // Two lower-case hexadecimal digits per byte.
    static QString hexadecimalRepresentation(const QByteArray& data);
    // "2 minutes and 5 seconds", "59 seconds".
    static QString timeToText(int seconds);
    // "/" becomes "|" and control characters (line ends, tabs, NUL ...) blanks, for names used in file names.
    static QString replaceForwardSlashInString(const QString& text);

    // ---- end of vocabularies ----

    // ---- People: checks before a person is made or deleted (Utils_People.cpp) ----

    // Before a new person named in a dialog becomes a relative of `relative` (-1 a child, -2 a spouse, any other
    // non-zero value a parent): false when the user discards it because people of that name already exist.
    static bool checkDuplicateNames(const QString& name, const QString& gender, class FTPerson* relative,
                                    int relation);
    // False, after saying why, for a person who may not be deleted or whose deletion the user cancels.
    static bool confirmDeletionOfPerson(class FTPerson* person);

    // ---- end of people ----
};
