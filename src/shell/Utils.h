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

    // ---- end of folders ----

    // ---- Vocabularies and small helpers (Utils_Vocabularies.cpp) ----

    // ---- end of vocabularies ----
};
