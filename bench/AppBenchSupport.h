#pragma once

// What the benchmarks of windows (kinloom-bench-app-*) share: their arguments [PEOPLE] [FILE] and their database.

#include "shell/FirstRunDefaults.h"

#include "model/SyntheticDatabase.h"

#include "platform/UserDefaults.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// Settings in `temp`, the program's user defaults, and the database to open: FILE when given (made there as a
// synthetic database of PEOPLE people, default 100,000, when missing), else a new one in `temp`. Empty after a
// message when it cannot be made.
inline QString prepareBenchDatabase(int argc, char** argv, const QTemporaryDir& temp)
{
    const int people = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    UserDefaults::useSettingsFile(temp.filePath("settings.ini"));
    const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.filePath("bench.RezUdu");
    QString error;
    if (!QFileInfo::exists(path) && !SyntheticDatabase::create(path, people, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return {};
    }
    FirstRunDefaults::initialiseUserDefaults();
    return path;
}
