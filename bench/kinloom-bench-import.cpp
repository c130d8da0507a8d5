// kinloom-bench-import [--keep DIR] FILE...
// Imports each GEDCOM file the way the import dialog does (the import worker on its own thread, progress and outcome
// through the main thread) into a new database in a temporary folder, or in DIR with --keep, and prints what it
// measured, one figure a line as "name: value". The run has a data folder of its own in that folder too
// ("KinloomData"): the picture files a GEDCOM file names are taken in there, never into the user's.
#include "BenchSupport.h"
#include "gedcom/ImportGedcomListener.h"
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"
#include "platform/FTLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

int linesIn(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return int(f.readAll().count('\n'));
}

struct Waiter : ImportGedcomListener {
    QEventLoop loop;
    ImportGedcomOutcome outcome;
    QStringList alerts;
    void showMessage(const QString& text) override { alerts << text; }
    void importFinished(const ImportGedcomOutcome& o) override
    {
        outcome = o;
        loop.quit();
    }
};

// A database name not taken yet in the folder.
QString freeDatabasePath(const QString& folder, const QString& gedcom)
{
    const QString base = QFileInfo(gedcom).completeBaseName();
    QString path = QStringLiteral("%1/%2.RezUdu").arg(folder, base);
    for (int n = 1; QFileInfo::exists(path); ++n)
        path = QStringLiteral("%1/%2_%3.RezUdu").arg(folder, base).arg(n);
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    QCoreApplication app(argc, argv);
    // With KINLOOM_DEVELOPMENT set, the time of each step goes to standard error.
    gDevelopmentVersion = qEnvironmentVariableIsSet("KINLOOM_DEVELOPMENT");
    QStringList files;
    QString keep;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--keep") && i + 1 < argc)
            keep = QString::fromLocal8Bit(argv[++i]);
        else
            files << arg;
    }
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: %s [--keep DIR] FILE.ged...\n", argv[0]);
        return 2;
    }
    const QString folder = keep.isEmpty() ? sandbox.path() : QDir(keep).absolutePath();
    QDir().mkpath(folder);
    BenchSandbox::useDataDirectory(folder + QStringLiteral("/KinloomData"));

    int failures = 0;
    for (const QString& file : files) {
        ImportGedcomThread::Request request;
        request.gedcomFilename = file;
        request.databaseFilename = freeDatabasePath(folder, file);
        request.tempFolder = folder + QStringLiteral("/temp");
        Waiter waiter;
        if (!ImportGedcomThread::startImport(request, &waiter)) {
            std::fprintf(stderr, "%s: another import is running\n", qPrintable(file));
            ++failures;
            continue;
        }
        waiter.loop.exec();
        const ImportGedcomOutcome& o = waiter.outcome;
        for (const QString& alert : waiter.alerts)
            std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(alert));
        if (!o.succeeded) {
            std::fprintf(stderr, "%s: import failed: %s\n", qPrintable(file), qPrintable(o.message));
            ++failures;
            continue;
        }
        int logLines = 0;
        for (const QString& log : o.logFiles)
            logLines += linesIn(log);
        std::printf("file: %s\n", qPrintable(QFileInfo(file).fileName()));
        std::printf("people: %d\n", o.people);
        std::printf("families: %d\n", o.families);
        std::printf("parent_child_links: %d\n", o.parentChildLinks);
        std::printf("events: %d\n", o.events);
        std::printf("sources: %d\n", o.sources);
        std::printf("citations: %d\n", o.citations);
        std::printf("pictures: %d\n", o.pictures);
        std::printf("log_lines: %d\n", logLines);
        std::printf("seconds: %.3f\n", o.seconds);
        std::printf("people_per_second: %.0f\n", o.seconds > 0 ? o.people / o.seconds : 0.0);
        std::printf("peak_mb: %.1f\n", peakResidentMegabytes());
        std::fflush(stdout);
    }
    return failures ? 1 : 0;
}
