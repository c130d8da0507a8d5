#pragma once

#include "shell/BackupPanel.h"

// The save panel of a backup: a file dialog for ".RezUdu" files that refuses a name that exists.
class QtBackupPanel : public BackupPanel {
public:
    QString run(const QString& title, const QString& message, const QString& folder,
                const QString& proposedName) override;
};
