// Reads each GEDCOM file given as argument the way an import does (character set, cleaned copy in
// memory, decoding, parsing into the record forest) and prints what it measured as name: value lines.
#include "BenchSupport.h"
#include "gedcom/GedRecArena.h"
#include "gedcom/GedcomFileReader.h"
#include "gedcom/GedcomForest.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <sys/resource.h>

#include <cstdio>

static double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

// A line of /proc/self/status in megabytes ("VmRSS:" is the memory resident now).
static double residentMegabytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s [--as-import] FILE.ged...\n", argv[0]);
        return 2;
    }
    int failures = 0;
    // With --as-import, the forest builds the person lines apart as the import has it do.
    bool asImport = false;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--as-import") == 0) {
            asImport = true;
            continue;
        }
        const QString path = QString::fromLocal8Bit(argv[i]);
        QElapsedTimer timer;
        timer.start();
        GedcomFileReader reader;
        if (asImport)
            reader.setReleasedEarly(QStringLiteral("INDI"), {QStringLiteral("SOUR"), QStringLiteral("FAMC"),
                                                             QStringLiteral("ADOP"), QStringLiteral("SLGC")});
        const bool ok = reader.readFile(path);
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        if (!ok) {
            std::fprintf(stderr, "%s: not readable as GEDCOM\n", argv[i]);
            ++failures;
            continue;
        }
        std::printf("file: %s\n", qPrintable(QFileInfo(path).fileName()));
        std::printf("lines: %d\n", reader.numLines());
        std::printf("records: %lld\n", static_cast<long long>(reader.forest().size()));
        std::printf("seconds: %.4f\n", seconds);
        std::printf("peak_mb: %.1f\n", peakMegabytes());
        // What the forest keeps while the record passes run (the file's text is gone by then).
        std::printf("forest_mb: %.1f\n", double(reader.forest().bytesAllocated()) / (1024.0 * 1024.0));
        std::printf("resident_mb: %.1f\n", residentMegabytes("VmRSS:"));
        std::fflush(stdout);
    }
    return failures ? 1 : 0;
}
