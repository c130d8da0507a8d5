// kinloom-bench-store [PEOPLE] [FILE]
// Builds a synthetic family database of PEOPLE people (default 100,000), saves it, opens it again, changes one
// person and saves again, then opens it a second time only for reading beside the editing context (after the peak
// memory is taken). Prints one figure a line as "name: value". The database is kept at FILE when given (a
// new file: an existing one is never replaced), otherwise written to a temporary folder and removed.
#include "BenchSupport.h"
#include "model/DOvurV6Schema.h"
#include "model/FTPerson.h"
#include "model/SyntheticDatabase.h"

#include "platform/store/ObjectContext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>


int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    QCoreApplication app(argc, argv);
    const int people = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2]) : sandbox.filePath("bench.RezUdu");
    if (QFileInfo(path).exists() || QFileInfo(path).isSymLink()) {
        std::fprintf(stderr, "%s exists: the benchmark makes a new database and never replaces a file\n",
                     qPrintable(path));
        return 1;
    }

    QElapsedTimer timer;
    QString error;
    SyntheticDatabase::Counts counts;
    {
        ObjectContext ctx(DOvurV6Schema());
        if (!ctx.open(path, ObjectContext::OpenMode::CreateIfMissing, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        timer.start();
        counts = SyntheticDatabase::build(ctx, people);
        const double buildSeconds = timer.nsecsElapsed() / 1e9;
        timer.restart();
        if (!ctx.save(&error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        std::printf("people: %d\n", counts.people);
        std::printf("events: %d\n", counts.events);
        std::printf("build_s: %.3f\n", buildSeconds);
        std::printf("save_all_s: %.3f\n", timer.nsecsElapsed() / 1e9);
    }

    ObjectContext ctx(DOvurV6Schema());
    timer.restart();
    if (!ctx.open(path, ObjectContext::OpenMode::Existing, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("open_s: %.3f\n", timer.nsecsElapsed() / 1e9);

    // One change, saved; repeated on different people, the median is the figure.
    const QList<FTPerson*> all = ctx.fetch<FTPerson>();
    std::vector<double> saves;
    for (int i = 0; i < 9; ++i) {
        FTPerson* p = all[qsizetype(i) * all.size() / 9];
        p->setNotes(QStringLiteral("Checked against the census, pass %1.").arg(i));
        timer.restart();
        if (!ctx.save(&error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        saves.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(saves.begin(), saves.end());
    std::printf("save_one_ms: %.2f\n", saves[saves.size() / 2]);
    std::printf("file_mb: %.1f\n", QFileInfo(path).size() / (1024.0 * 1024.0));
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());

    ObjectContext reader(DOvurV6Schema());
    timer.restart();
    if (!reader.open(path, ObjectContext::OpenMode::ReadOnly, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("open_read_only_s: %.3f\n", timer.nsecsElapsed() / 1e9);
    return 0;
}
