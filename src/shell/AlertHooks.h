#pragma once

#include "shell/Utils.h"

#include <QDateTime>
#include <QStringList>

#include <functional>
#include <optional>

class QUrl;

// What the exception report reads from the open database: filled in by the document layer.
struct Utils::ExceptionDocumentInfo {
    QString databaseName;
    QStringList recentActions; // the undo history's action names, newest first
    QDateTime lastRefresh;
    QDateTime sessionStart;
};

// The services the alerts and the exception report reach outside the core. An empty hook means the
// built-in behaviour; the app installs its own at start-up and tests replace them.
struct Utils::AlertHooks {
    // The current document's fields for the exception report; nullopt (or no hook) when none is open.
    std::function<std::optional<ExceptionDocumentInfo>()> currentDocument;
    // Opens a URL in the user's program for it (default: the desktop's opener). Answers false on failure.
    std::function<bool(const QUrl&)> openUrl;
    // Ends the program after an exception report (default: leave the event loop with status 1).
    std::function<void()> terminate;
    // The system's alert sound (default: none; the app installs the windowing system's beep).
    std::function<void()> beep;
    // The clock of the exception report (default: the current local time).
    std::function<QDateTime()> now;

    // Set by the first exception report: the program is ending, so later reports are only logged.
    bool terminating = false;
};
