// kinloom-bench-editor [PEOPLE]
// Builds a synthetic family database of PEOPLE people (default 100,000) in a temporary folder, opens it and times
// the work of the person editor that runs without a window, one figure a line as "name: value":
//  - story_ms: generating the story of the person with the most events and relatives, with every option on
//    (every group of relatives, sources, notes, comments, every relative's events), putting it before an
//    existing story and making the text that is stored (the median of several runs);
//  - story_large_ms: the same for a person added with 1,200 children and 500 events of their own;
//  - attach_children_ms, attach_parents_ms, attach_spouses_ms: rebuilding the candidates of the attach-child,
//    attach-parent and attach-spouse dialogs for that busiest person after an age was changed (the median of
//    several changes); attach_candidates_ms: the slowest of the three;
//  - select_filter_ms, select_filter_max_ms: the chooser of an existing person narrowing its list of everybody as
//    a filter is typed and erased, one keystroke (the median and the slowest).
// Settings and the data folder live in the temporary folder too.
#include "BenchSupport.h"
#include "editor/AttachCandidates.h"
#include "editor/PersonNameFilter.h"
#include "editor/StoryGenerator.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/SyntheticDatabase.h"

#include "platform/Prompts.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
StoryOptions everything()
{
    StoryOptions o;
    o.defaultPicture = o.defaultPicturesOfChildren = o.cropTo4x3 = true;
    o.titleOrOccupation = o.causeOfDeath = true;
    o.includeSources = o.includeNotes = o.includeComments = true;
    o.includeEvents = o.includeOthersEvents = o.includeStepRels = true;
    o.scope = -1;
    return o;
}

// The median time of generating the person's story, putting it before a short story and making the stored text.
double storyMs(FTPerson* person, int runs)
{
    return medianMs(runs, [person] {
        QTextDocument story;
        story.setPlainText(QStringLiteral("What the family remembers."));
        StoryGenerator generator(everything());
        const auto generated = generator.generateStory(person);
        StoryGenerator::insertGeneratedText(story, *generated, StoryOptions::Prepend);
        if (story.toHtml().isEmpty())
            std::abort();
    });
}
}

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int people = argc > 1 ? std::max(10, std::atoi(argv[1])) : 100000;
    ScriptedPrompts prompts; // no alert may wait for a click
    Prompts::install(&prompts);

    std::unique_ptr<FTMoc> moc = openSyntheticDatabase(sandbox.filePath("bench.RezUdu"), people);
    if (!moc)
        return 1;
    const QList<FTPerson*> all = moc->fetch<FTPerson>();
    std::printf("people: %lld\n", static_cast<long long>(all.size()));

    FTPerson* busiest = busiestPerson(all);
    std::printf("story_ms: %.2f\n", storyMs(busiest, 21));

    // A dialog reads the people once when it opens; each change of an age field then builds its list afresh.
    QElapsedTimer opening;
    opening.start();
    const AttachCandidates candidates(moc.get());
    std::printf("attach_opening_ms: %.2f\n", opening.nsecsElapsed() / 1e6);
    int change = 0;
    size_t listed = 0;
    const double children = medianMs(21, [&] {
        listed += size_t(candidates.childCandidates(busiest, 16 + change++ % 5, 45, true).size());
    });
    const double parents = medianMs(21, [&] {
        listed += size_t(candidates.parentCandidates(busiest, 18, 40 + change++ % 5, true).size());
    });
    const double spouses = medianMs(21, [&] {
        listed += size_t(candidates.spouseCandidates(busiest, 3 + change++ % 5, false).size());
    });
    std::printf("attach_children_ms: %.2f\nattach_parents_ms: %.2f\nattach_spouses_ms: %.2f\n", children, parents,
        spouses);
    std::printf("attach_candidates_ms: %.2f\n", std::max({ children, parents, spouses }));
    std::printf("attach_candidates_listed: %zu\n", listed / 63);

    moc->undoManager()->disableUndoRegistration();
    FTPerson* large = FTPerson::initInMoc(moc.get(), QStringLiteral("Abraham Large"), QStringLiteral("M"));
    large->setValueForKeyPath(QStringLiteral("birth.date"), QStringLiteral("3 Mar 1700"));
    large->setValueForKeyPath(QStringLiteral("death.date"), QStringLiteral("4 Apr 1790"));
    large->setNotes(QStringLiteral("A patriarch of the valley."));
    for (int i = 0; i < 500; ++i) {
        FTEvent* e = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, large, QStringLiteral("RESI"));
        e->setDate(QStringLiteral("%1 Jun %2").arg(1 + i % 28).arg(1720 + i % 70));
        e->setPlace(QStringLiteral("Farm %1, Valley").arg(i));
        if (i % 10 == 0)
            e->setNotes(QStringLiteral("Moved with the herd."));
    }
    for (int i = 0; i < 1200; ++i) {
        FTPerson* child = large->addChild(QStringLiteral("Child%1 Large").arg(i), i % 2 ? QStringLiteral("F")
                                                                                       : QStringLiteral("M"),
                                          FTPcRel::kNatural);
        child->setValueForKeyPath(QStringLiteral("birth.date"), QStringLiteral("%1").arg(1720 + i % 60));
    }
    std::printf("story_large_ms: %.2f\n", storyMs(large, 7));

    // The chooser's list narrowed as a name is typed letter by letter and then erased letter by letter (erasing
    // searches everybody again); the median and the slowest keystroke.
    PersonNameFilter chooser(moc->fetch<FTPerson>());
    const QString typed = QStringLiteral("jo sm");
    std::vector<double> keystrokes;
    qsizetype shown = 0;
    QElapsedTimer keystroke;
    for (int round = 0; round < 5; ++round) {
        QStringList steps;
        for (qsizetype n = 1; n <= typed.size(); ++n)
            steps << typed.left(n);
        for (qsizetype n = typed.size() - 1; n >= 0; --n)
            steps << typed.left(n);
        for (const QString& filter : steps) {
            keystroke.start();
            chooser.setFilterString(filter);
            shown += chooser.shown().size();
            keystrokes.push_back(keystroke.nsecsElapsed() / 1e6);
        }
    }
    if (chooser.shown().size() != chooser.totalCount() || shown == 0) {
        std::fprintf(stderr, "the chooser's filter went wrong\n");
        return 1;
    }
    std::sort(keystrokes.begin(), keystrokes.end());
    std::printf("select_filter_ms: %.2f\n", keystrokes[keystrokes.size() / 2]);
    std::printf("select_filter_max_ms: %.2f\n", keystrokes.back());
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());
    Prompts::install(nullptr);
    return 0;
}
