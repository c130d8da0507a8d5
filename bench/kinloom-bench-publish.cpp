// kinloom-bench-publish [--keep DIR] [--tabular] FILE [KINSHIP]
// Publishes a copy of a family database (FILE itself is only read) as web pages the way a full run of the web-page
// generator does, with the first-run options (context diagrams as images, the default picture and the spouses'
// pictures) but nobody left out (every person gets a page: the heaviest run); --tabular draws the diagrams as
// tables instead. KINSHIP levels around the focal person, 0 (the default) for everyone. The page set is written
// inside the benchmark's temporary folder and removed, or kept under DIR (a data folder of its own:
// DIR/Reports/tempHtmlDirectory_<n>) with --keep. Prints one figure a line as "name: value": the people of the run,
// the person pages, diagrams, thumbnails, media copies and files written, the size of the set, the seconds of the
// run (opening the database not included), pages per second, the progress reports the window would have drawn,
// and the peak resident memory. Then the set is copied into an empty site folder inside the temporary folder as
// publishing to a site folder does (SiteFolderCopy): the files copied, the seconds and the progress reports of the
// copy, and the seconds of copying the same set again (unchanged files are left alone).
#include "BenchSupport.h"

#include "publishing/PublishAsHtml.h"
#include "publishing/SiteFolderCopy.h"

#include "model/ModelProgress.h"
#include "shell/FirstRunDefaults.h"

#include <QGuiApplication>
#include <QDirIterator>

#include <cstdio>
#include <ctime>

namespace {
struct CountingProgress : ModelProgress {
    int updates = 0;
    void setStatus(const QString&) override { ++updates; }
    void setPercent(int) override { ++updates; }
};
} // namespace

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    // The diagrams are drawn with fonts: a GUI application, without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString keep;
    bool tabular = false;
    for (bool more = true; more;) {
        more = false;
        if (args.size() >= 2 && args[0] == QStringLiteral("--keep")) {
            keep = args[1];
            args = args.mid(2);
            more = true;
        } else if (!args.isEmpty() && args[0] == QStringLiteral("--tabular")) {
            tabular = true;
            args = args.mid(1);
            more = true;
        }
    }
    bool kinshipOk = true;
    const int kinship = args.size() == 2 ? args[1].toInt(&kinshipOk) : 0;
    if (args.isEmpty() || args.size() > 2 || !kinshipOk || kinship < 0) {
        std::fprintf(stderr, "usage: %s [--keep DIR] [--tabular] FILE [KINSHIP]\n", argv[0]);
        return 2;
    }
    if (!keep.isEmpty()) {
        if (QFileInfo::exists(keep + QStringLiteral("/Reports"))) {
            std::fprintf(stderr, "%s: holds a Reports folder already\n", qPrintable(keep));
            return 1;
        }
        BenchSandbox::useDataDirectory(QFileInfo(keep).absoluteFilePath());
    }
    SilentPrompts prompts;
    Prompts::install(&prompts);
    FirstRunDefaults::initialiseUserDefaults();

    // Opening a database may bring it up to date and save it: the benchmark works on a copy.
    const QString databasePath = sandbox.filePath(QStringLiteral("publish.RezUdu"));
    if (!QFile::copy(args[0], databasePath)) {
        std::fprintf(stderr, "%s: cannot be read\n", qPrintable(args[0]));
        return 1;
    }
    std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(databasePath, true);
    if (!moc) {
        std::fprintf(stderr, "%s: cannot be opened\n", qPrintable(args[0]));
        return 1;
    }

    HtmlOptions options = HtmlOptions::fromUserDefaults();
    options.tabularContextDiagram = tabular;
    options.excludeLivingPeople = false;
    options.excludeRecentlyDeadPeople = false;
    options.depersonalizeLivingPeople = false;
    options.kinship = kinship;
    PublishAsHtml generator(moc.get());
    generator.setOptions(options);
    generator.setKinship(kinship);
    CountingProgress progress;
    generator.setProgress(&progress);

    // The main thread's own processor time beside the wall-clock time: on a busy machine the two part.
    const auto threadSeconds = [] {
        timespec t {};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
    };
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = threadSeconds();
    const bool ok = generator.generateReport();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const double mainCpu = threadSeconds() - cpuStart;
    if (!ok) {
        std::fprintf(stderr, "the run failed (%d messages)\n", prompts.count);
        return 1;
    }

    qint64 files = 0, pages = 0, diagrams = 0, thumbnails = 0, media = 0, bytes = 0;
    const auto inFolder = [](const QFileInfo& file, const char* key) {
        return file.dir().dirName().startsWith(PublishAsHtml::typeFolder(key) + QLatin1Char('_'));
    };
    QDirIterator it(generator.directory(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++files;
        bytes += it.fileInfo().size();
        pages += inFolder(it.fileInfo(), "HtmlDirHTMLFiles");
        diagrams += inFolder(it.fileInfo(), "HtmlDirDiagrams");
        thumbnails += inFolder(it.fileInfo(), "HtmlDirThumbnails");
        media += inFolder(it.fileInfo(), "HtmlDirMedia");
    }
    std::printf("people: %lld\n", static_cast<long long>(generator.peopleSet().size()));
    std::printf("pages: %lld\n", static_cast<long long>(pages));
    std::printf("diagrams: %lld\n", static_cast<long long>(diagrams));
    std::printf("thumbnails: %lld\n", static_cast<long long>(thumbnails));
    std::printf("media_files: %lld\n", static_cast<long long>(media));
    std::printf("files: %lld\n", static_cast<long long>(files));
    std::printf("site_mb: %.1f\n", double(bytes) / 1048576.0);
    std::printf("seconds: %.3f\n", seconds);
    std::printf("main_thread_cpu_s: %.3f\n", mainCpu);
    std::printf("pages_per_s: %.0f\n", seconds > 0 ? double(pages) / seconds : 0.0);
    std::printf("progress_updates: %d\n", progress.updates);

    // Publishing the set into an empty site folder, then the same set again.
    const QString site = sandbox.filePath(QStringLiteral("site/") + QFileInfo(generator.directory()).fileName());
    int copyReports = 0;
    SiteFolderCopy::Callbacks callbacks;
    callbacks.progress = [&](const SiteFolderCopy::Progress&) { ++copyReports; };
    std::atomic_bool abort = false;
    timer.restart();
    SiteFolderCopy copy(generator.directory(), site);
    const bool listed = copy.estimate();
    const QStringList failed = copy.copy({}, abort, callbacks);
    const double copySeconds = double(timer.nsecsElapsed()) / 1e9;
    timer.restart();
    SiteFolderCopy again(generator.directory(), site);
    again.estimate();
    const QStringList failedAgain = again.copy({}, abort, {});
    const double recopySeconds = double(timer.nsecsElapsed()) / 1e9;
    if (!listed || !failed.isEmpty() || !failedAgain.isEmpty()) {
        std::fprintf(stderr, "the copy failed: %lld files\n", static_cast<long long>(failed.size()));
        return 1;
    }
    std::printf("copied_files: %d\n", copy.copiedFiles());
    std::printf("copy_s: %.3f\n", copySeconds);
    std::printf("copy_progress_reports: %d\n", copyReports);
    std::printf("recopy_s: %.3f\n", recopySeconds);
    std::printf("recopy_copied_files: %d\n", again.copiedFiles());
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());
    if (!keep.isEmpty())
        std::printf("kept: %s\n", qPrintable(generator.directory()));
    return 0;
}
