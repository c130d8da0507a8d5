#pragma once

#include <QByteArray>
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
// Compares bytes with a golden file in tests/data, naming the first line that differs. With KINLOOM_UPDATE_GOLDEN
// set the golden file is rewritten instead (check the difference before committing it).
void expectGolden(const QByteArray& actual, const QString& name);
void installTestEnvironment();
// A file's bytes (empty when it cannot be read), and a file written with bytes (its folder made first).
QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);
}
