// kinloom-bench-import [--keep DIR] FILE...
// Imports each GEDCOM file the way the import dialog does (the import worker on its own thread, progress and outcome
// through the main thread) into a new database in a temporary folder, or in DIR with --keep, and prints what it
// measured, one figure a line as "name: value". The run has a data folder of its own in that folder too
// ("KinloomData"): the picture files a GEDCOM file names are taken in there, never into the user's.
// After each import it also measures the physical floor of that import on this machine, in the same run:
// `floor_s` is the time to insert the very rows the import wrote into a new file of the same tables and indexes,
// through one prepared statement a table in one transaction, with the file settings of the import's bulk writing
// and no model logic at all (synced to disk at the end, as the import's file is); `floor_ratio` is the import's
// seconds over it.
#include "BenchSupport.h"
#include "gedcom/ImportGedcomListener.h"
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"
#include "platform/FTLog.h"
#include "platform/store/SqliteDatabase.h"
#include "platform/store/SqliteStatement.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

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

// One stored value as the file gave it; texts keep their UTF-8 bytes, so that binding them costs no conversion.
struct StoredValue {
    int type = SQLITE_NULL;
    qint64 integer = 0;
    double real = 0;
    QByteArray bytes;
};

struct StoredTable {
    QString name;
    int columns = 0;
    std::vector<StoredValue> values; // row after row
};

QString quotedName(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

bool syncFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// The seconds it takes to insert the rows of the store at `imported` into a new file at `scratch` (removed
// afterwards), or a negative number with `error` set. Only the inserting, the commit and the sync are timed:
// reading the rows and making the empty tables are no part of the floor.
double floorSeconds(const QString& imported, const QString& scratch, QString* error)
{
    SqliteDatabase source;
    if (!source.open(imported, SqliteDatabase::Mode::ReadOnly, error))
        return -1;
    QStringList schema;
    std::vector<StoredTable> tables;
    {
        // Tables before indexes, so that each index is kept up while the rows go in, as it was for the import.
        SqliteStatement st(source.handle(),
            QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL "
                           "AND name NOT LIKE 'sqlite_%' ORDER BY type = 'index', rowid"));
        while (st.next()) {
            schema << st.columnText(2);
            if (st.columnText(0) == QLatin1String("table"))
                tables.push_back({ st.columnText(1), 0, {} });
        }
        if (!st.ok()) {
            *error = source.lastError();
            return -1;
        }
    }
    for (StoredTable& t : tables) {
        SqliteStatement info(source.handle(), QStringLiteral("PRAGMA table_info(%1)").arg(quotedName(t.name)));
        while (info.next())
            ++t.columns;
        // In the table's own key order (join tables have no row id), the order the rows go back in.
        SqliteStatement st(source.handle(), QStringLiteral("SELECT * FROM %1").arg(quotedName(t.name)));
        while (st.next()) {
            for (int c = 0; c < t.columns; ++c) {
                StoredValue v;
                v.type = st.columnType(c);
                if (v.type == SQLITE_INTEGER)
                    v.integer = st.columnInt(c);
                else if (v.type == SQLITE_FLOAT)
                    v.real = st.columnDouble(c);
                else if (v.type == SQLITE_TEXT || v.type == SQLITE_BLOB)
                    v.bytes = st.columnBytes(c).toByteArray();
                t.values.push_back(std::move(v));
            }
        }
        if (!st.ok()) {
            *error = source.lastError();
            return -1;
        }
    }
    source.close();

    SqliteDatabase target;
    if (!target.open(scratch, SqliteDatabase::Mode::ReadWriteCreate, error))
        return -1;
    // The settings of the import's bulk writing into a brand-new file.
    for (const char* pragma : { "PRAGMA journal_mode=OFF", "PRAGMA synchronous=OFF", "PRAGMA cache_size=-16384",
             "PRAGMA foreign_keys=OFF" })
        target.exec(QString::fromLatin1(pragma));
    for (const QString& statement : schema)
        if (!target.exec(statement, error))
            return -1;

    QElapsedTimer timer;
    timer.start();
    if (!target.exec(QStringLiteral("BEGIN"), error))
        return -1;
    for (const StoredTable& t : tables) {
        if (t.values.empty() || t.columns == 0)
            continue;
        QStringList marks;
        for (int c = 0; c < t.columns; ++c)
            marks << QStringLiteral("?");
        SqliteStatement insert(target.handle(),
            QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(quotedName(t.name), marks.join(QLatin1Char(','))));
        for (size_t row = 0; row < t.values.size(); row += size_t(t.columns)) {
            for (int c = 0; c < t.columns; ++c) {
                const StoredValue& v = t.values[row + size_t(c)];
                switch (v.type) {
                case SQLITE_INTEGER:
                    insert.bindInt(c + 1, v.integer);
                    break;
                case SQLITE_FLOAT:
                    insert.bindDouble(c + 1, v.real);
                    break;
                case SQLITE_TEXT:
                    insert.bindStaticUtf8(c + 1, v.bytes);
                    break;
                case SQLITE_BLOB:
                    insert.bindBlob(c + 1, v.bytes);
                    break;
                default:
                    break; // left unbound: NULL
                }
            }
            if (!insert.execute()) {
                *error = QStringLiteral("%1: %2").arg(t.name, target.lastError());
                return -1;
            }
        }
    }
    if (!target.exec(QStringLiteral("COMMIT"), error))
        return -1;
    target.close();
    if (!syncFile(scratch)) {
        *error = QStringLiteral("%1 could not be synced to disk").arg(scratch);
        return -1;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    QFile::remove(scratch);
    return seconds;
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
        // After the peak is taken: the rows held for the floor are no part of the import's memory.
        QString floorError;
        const double floor = floorSeconds(request.databaseFilename,
            sandbox.filePath(QStringLiteral("floor-%1.sqlite").arg(QFileInfo(file).completeBaseName())), &floorError);
        if (floor < 0) {
            std::fprintf(stderr, "%s: the floor could not be measured: %s\n", qPrintable(file), qPrintable(floorError));
            ++failures;
        } else {
            std::printf("floor_s: %.3f\n", floor);
            std::printf("floor_ratio: %.2f\n", floor > 0 ? o.seconds / floor : 0.0);
        }
        std::fflush(stdout);
    }
    return failures ? 1 : 0;
}
