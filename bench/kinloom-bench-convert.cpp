// kinloom-bench-convert [PEOPLE]
// Fills a database of the older model "DOvurV5" with PEOPLE synthetic people (default 100,000) in a temporary
// folder, then converts it as the conversion window does: on a worker, its reports queued to the main thread,
// while a 10 ms timer on the main thread measures how long the main thread is ever kept from its events.
// Prints one figure a line as "name: value": the people, the records, attribute values and links copied, the
// seconds the conversion took, the peak resident memory, the reports the main thread received and the longest
// gap between two of the timer's ticks.
#include "BenchSupport.h"
#include "../tests/support/OlderModelDOvurV5.h"

#include "shell/DataMigrator.h"

#include "model/FTPerson.h"
#include "model/SyntheticDatabase.h"

#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    QCoreApplication app(argc, argv);
    const int people = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;

    const QString data = sandbox.filePath(QStringLiteral("KinloomData"));
    SilentPrompts prompts;
    Prompts::install(&prompts);
    RegisteredDOvurV5 v5;

    const QString old = data + QStringLiteral("/Synthetic.RezUdu");
    SyntheticDatabase::Counts counts;
    QString error;
    if (!createDOvurV5Store(old, [&](ObjectContext& ctx) { counts = SyntheticDatabase::build(ctx, people); }, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("people: %d\n", counts.people);
    // Alerts are counted from here on (the synthetic people's future dates are refused while they are made).
    prompts.count = 0;

    QObject receiver;
    QEventLoop loop;
    int reports = 0;
    DataMigrationOutcome outcome;
    QElapsedTimer sinceTick;
    QElapsedTimer wall;
    qint64 maxGapNs = 0;
    QTimer ticks;
    ticks.setInterval(10);
    QObject::connect(&ticks, &QTimer::timeout, &receiver, [&] {
        maxGapNs = std::max(maxGapNs, sinceTick.nsecsElapsed());
        sinceTick.start();
    });
    sinceTick.start();
    ticks.start();
    wall.start();
    DataMigrator::start(
        std::make_unique<DataMigrator>(old, data + QStringLiteral("/Synthetic_1.RezUdu")), &receiver,
        [&](const DataMigrationReport&) { ++reports; },
        [&](const DataMigrationOutcome& o) {
            outcome = o;
            loop.quit();
        });
    loop.exec();
    const double seconds = wall.nsecsElapsed() / 1e9;
    ticks.stop();
    if (!outcome.succeeded) {
        std::fprintf(stderr, "the conversion failed: %s\n", qPrintable(outcome.failure));
        return 1;
    }
    std::printf("records: %d\n", outcome.numObjects);
    std::printf("attributes: %d\n", outcome.numAttributes);
    std::printf("links: %d\n", outcome.numRels);
    std::printf("seconds: %.2f\n", seconds);
    std::printf("peak_mb: %.0f\n", peakResidentMegabytes());
    std::printf("progress_reports: %d\n", reports);
    std::printf("max_main_thread_gap_ms: %.1f\n", maxGapNs / 1e6);
    if (prompts.count > 0)
        std::printf("alerts: %d\n", prompts.count);

    // The new database holds everyone.
    ObjectContext converted(DOvurV6Schema());
    if (!converted.open(outcome.newStorePath, ObjectContext::OpenMode::Existing, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("converted_people: %d\n", converted.count<FTPerson>());
    return converted.count<FTPerson>() == counts.people ? 0 : 1;
}
