// kinloom-bench-export DATABASE OUT.ged
// Opens a copy of a family database (DATABASE itself is only read) and exports all of it as a GEDCOM file the way
// the whole-database export does, with the export's default options. Prints one figure a line as "name: value": the people written, the lines of the
// file, the seconds of the export (opening the database not included) and the peak resident memory.
#include "BenchSupport.h"
#include "gedcom/ExportToGedcom.h"
#include "gedcom/GedcomExportOptions.h"

#include "model/FTMoc.h"

#include "platform/FTLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <fstream>
#include <string>


int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    QCoreApplication app(argc, argv);
    // The export logs the seconds of each of its passes for a developer who sets this.
    gDevelopmentVersion = qEnvironmentVariableIsSet("KINLOOM_DEVELOPMENT");
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATABASE OUT.ged\n", argv[0]);
        return 2;
    }
    // Opening a database may bring it up to date and save it: the benchmark works on a copy.
    const QString databasePath = sandbox.filePath(QStringLiteral("export.RezUdu"));
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), databasePath)) {
        std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
        return 1;
    }
    const QString outPath = QString::fromLocal8Bit(argv[2]);

    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(databasePath, true);
    if (!moc) {
        std::fprintf(stderr, "%s: cannot be opened\n", argv[1]);
        return 1;
    }
    const double openSeconds = double(timer.nsecsElapsed()) / 1e9;

    QFile out(outPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[2], qPrintable(out.errorString()));
        return 1;
    }
    ExportToGedcom exporter(moc.get());
    exporter.setOptions(GedcomExportOptions());
    timer.restart();
    const bool ok = exporter.writeTo(&out);
    out.close();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!ok || out.error() != QFileDevice::NoError) {
        std::fprintf(stderr, "%s: the export failed\n", argv[2]);
        return 1;
    }

    qint64 lines = 0;
    QFile written(outPath);
    if (written.open(QIODevice::ReadOnly)) {
        char buffer[1 << 16];
        qint64 n;
        while ((n = written.read(buffer, sizeof buffer)) > 0)
            for (qint64 i = 0; i < n; ++i)
                lines += buffer[i] == '\n';
    }

    std::printf("people: %d\n", exporter.statistics().individuals);
    std::printf("families: %d\n", exporter.statistics().families);
    std::printf("lines: %lld\n", static_cast<long long>(lines));
    std::printf("open_seconds: %.3f\n", openSeconds);
    std::printf("seconds: %.3f\n", seconds);
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());
    return 0;
}
