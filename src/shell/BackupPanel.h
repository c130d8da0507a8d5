#pragma once

#include <QString>

// The save panel of a backup: the ui shows a file dialog titled `title` with `message` above it, starting in
// `folder` with `proposedName`, for files of type "RezUdu". It should refuse a typed name that
// Utils::panelUserEnteredFilename() refuses. Answers the chosen path, or empty when the user cancels.
class BackupPanel {
public:
    virtual ~BackupPanel() = default;
    virtual QString run(const QString& title, const QString& message, const QString& folder,
                        const QString& proposedName) = 0;
};
