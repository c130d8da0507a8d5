#pragma once

#include <QString>
#include <QTemporaryDir>

// Shared by every test binary: each test process gets its own settings file and data folder under a
// temporary directory, so no test ever reads or writes the user's real preferences or data.
namespace TestSupport {
// The process-wide temporary folder (removed at exit).
QString tempRoot();
// A fresh, empty settings file for the defaults; answers its path.
QString useFreshDefaults();
// Path of a file in tests/data.
QString dataFile(const QString& name);
// The source tree's root.
QString sourceDir();
void installTestEnvironment();
}
