#pragma once

#include <QString>

class FTPerson;

// Where a diagram is saved: a file in the reports folder named after a person with birth and death years. Names
// come from the user's data (imports bring any text), so the name is made one file name that stays inside the
// folder.
class DiagramFileName {
public:
    // The focal person's name with years as one file name (Utils::safeFileName). "Family Diagram" when nothing is
    // left (or no person).
    static QString baseName(const FTPerson* person);
    // Any text made one file name: Utils::safeFileName; `fallback` when nothing is left.
    static QString safeBaseName(QString name, const QString& fallback);
    // "<folder>/<baseName>.<extension>".
    static QString path(const QString& folder, const FTPerson* person, const QString& extension);
};
