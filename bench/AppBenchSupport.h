#pragma once

// What the benchmarks of windows (kinloom-bench-app-*) share: their arguments [PEOPLE] [FILE] and their database.

#include "BenchSupport.h"

#include "shell/FirstRunDefaults.h"

#include "model/SyntheticDatabase.h"

#include "platform/ScriptedPrompts.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// The program's user defaults (in the sandbox), and the database to open, always a copy in the sandbox: opening
// a database saves the window's state into it, and the benchmarks change it. FILE, when given, is only read (made
// there once as a synthetic database of PEOPLE people, default 100,000, when missing, so that later runs open the
// same database); without it a new one is made in the sandbox. Empty after a message when it cannot be made.
inline QString prepareBenchDatabase(int argc, char** argv, const BenchSandbox& sandbox)
{
    const int people = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const QString given = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString path = sandbox.filePath(QStringLiteral("bench.RezUdu"));
    QString error;
    if (!given.isEmpty() && !QFileInfo::exists(given) && !SyntheticDatabase::create(given, people, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return {};
    }
    if (given.isEmpty() ? !SyntheticDatabase::create(path, people, &error) : !QFile::copy(given, path)) {
        std::fprintf(stderr, "%s\n", given.isEmpty() ? qPrintable(error) : qPrintable(given + ": cannot be read"));
        return {};
    }
    FirstRunDefaults::initialiseUserDefaults();
    return path;
}

// What a window benchmark starts with, in this order: its sandbox, the application on the offscreen platform,
// prompts that never wait for a click, and the database to open (empty after a message when it cannot be made):
//   AppBench<DOvurApplication> bench(argc, argv);
//   auto& [sandbox, app, prompts, path] = bench;
template <class Application>
struct AppBench {
    AppBench(int& argc, char** argv)
        : app((qputenv("QT_QPA_PLATFORM", "offscreen"), argc), argv)
    {
        Prompts::install(&prompts);
        path = prepareBenchDatabase(argc, argv, sandbox);
    }
    BenchSandbox sandbox;
    Application app;
    ScriptedPrompts prompts;
    QString path;
};
