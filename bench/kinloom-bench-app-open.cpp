// kinloom-bench-app-open [PEOPLE] [FILE]
// Opens a synthetic family database of PEOPLE people (default 100,000) as the program opens a database: a document
// with its context and its main window, shown on the offscreen platform. Prints one figure a line as
// "name: value": people, open_s (reading the database up to the window drawn), focal_change_ms (the median time of
// a change of focal person, which also releases memory the visible family does not need), prefs_views_ms (the
// median time the preferences take to make the focal person's ancestral view current and fill their list of views
// again), merge_candidates_ms (the median time of finding the people the focal person may be merged with: same
// birth year and gender) and peak_mb. It works on a copy of the database in its own temporary folder
// (AppBenchSupport.h).
#include "AppBenchSupport.h"
#include "BenchSupport.h"
#include "shell/AncestralViewsList.h"
#include "shell/MergeCommands.h"
#include "shell/ui/DOvurApplication.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/SyntheticDatabase.h"

#include "platform/Prompts.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    AppBench<DOvurApplication> bench(argc, argv);
    auto& [sandbox, app, prompts, path] = bench;
    if (path.isEmpty())
        return 1;

    QElapsedTimer timer;
    timer.start();
    DOvurDocument* doc = DocumentController::shared().openDocumentWithContentsOfURL(path, true);
    if (!doc) {
        for (const auto& r : prompts.records)
            std::fprintf(stderr, "%s\n", qPrintable(r.text));
        return 1;
    }
    doc->dovurWindow()->grab(); // drawn once
    QCoreApplication::processEvents();
    const double openSeconds = timer.nsecsElapsed() / 1e9;

    FTMoc* moc = doc->moc();
    const QList<FTPerson*> all = moc->fetch<FTPerson>();
    std::vector<double> changes;
    for (int i = 1; i <= 9; ++i) {
        timer.restart();
        moc->modelDefaults()->setFocalPerson(all[qsizetype(i) * all.size() / 10]);
        changes.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(changes.begin(), changes.end());

    AncestralViewsList views(moc);
    views.findView({});
    std::vector<double> creations;
    for (int i = 1; i <= 9; ++i) {
        moc->modelDefaults()->setFocalPerson(all[qsizetype(i) * all.size() / 10 - 1]);
        timer.restart();
        views.createAncestralViewForFocalPerson();
        creations.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(creations.begin(), creations.end());

    // Merge Two People looks for the focal person's namesakes by birth year and gender among everyone.
    FTPerson* born = nullptr;
    for (qsizetype i = all.size() / 2; i < all.size() && !born; ++i)
        if (all[i]->birth() && all[i]->birth()->year() != 0)
            born = all[i];
    if (born)
        moc->modelDefaults()->setFocalPerson(born);
    qsizetype candidates = 0;
    const double mergeCandidatesMs = medianMs(9, [&] {
        QString warning;
        candidates = MergeCommands::mergeCandidates(moc, &warning).size();
    });

    std::printf("people: %lld\n", static_cast<long long>(all.size()));
    std::printf("open_s: %.3f\n", openSeconds);
    std::printf("focal_change_ms: %.2f\n", changes[changes.size() / 2]);
    std::printf("prefs_views_ms: %.2f\n", creations[creations.size() / 2]);
    std::printf("merge_candidates_ms: %.2f\n", mergeCandidatesMs);
    std::printf("merge_candidates: %lld\n", static_cast<long long>(candidates));
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());

    DocumentController::shared().closeAllDocuments();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Prompts::install(nullptr);
    return 0;
}
