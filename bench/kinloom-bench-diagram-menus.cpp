// kinloom-bench-diagram-menus [PEOPLE] [FILE]
// The family diagram's context menus and its labels of an ancestral view, without windows, on a synthetic family
// database of PEOPLE people (default 100,000; kept at FILE when given and opened through a copy).
//  - The focus moves 1,000 times along families (as kinloom-bench-app-diagram moves it); each time the boxes are
//    rebuilt and the context menu of every box (and of the diagram itself) is built: menu_ms is the median time of
//    one menu, menu_ms_max the slowest.
//  - An ancestral view is rooted in the deepest generation; the focus moves 300 times among the root's ancestors,
//    and after each rebuild the ahnentafel and the consanguinity labels are computed: the median and slowest time
//    of each.
// Prints "name: value" lines, and peak_mb.
#include "AppBenchSupport.h"
#include "BenchSupport.h"

#include "diagrams/CdLayout.h"
#include "diagrams/CdPerson.h"
#include "diagrams/DiagramMenuBuilder.h"

#include "model/FTModelDefaults.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include "platform/Prompts.h"
#include "platform/ScriptedPrompts.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double maximum(const std::vector<double>& v)
{
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}
}

int main(int argc, char** argv)
{
    AppBench<QGuiApplication> bench(argc, argv);
    auto& [sandbox, app, prompts, path] = bench;
    if (path.isEmpty())
        return 1;
    std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(path, true);
    if (!moc) {
        for (const auto& r : prompts.records)
            std::fprintf(stderr, "%s\n", qPrintable(r.text));
        return 1;
    }
    moc->undoManager()->disableUndoRegistration();
    const QList<FTPerson*> all = moc->fetch<FTPerson>();
    CdLayout layout(moc.get());
    CdOptions options = CdOptions::fromUserDefaults();
    DiagramMenuBuilder::FamilyState state;
    state.moc = moc.get();
    state.openDatabases = {moc.get()};
    auto focusOn = [&](FTPerson* p) {
        moc->setFocalPerson(p);
        moc->setSelectedPerson(p);
        layout.setSelectedPerson(p);
        layout.setOptions(options);
        layout.refreshPersonArray();
    };

    // ---- Menus along 1,000 focus changes ----
    FTPerson* focal = moc->focalPerson();
    quint32 seed = 12345;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    std::vector<double> menus;
    QElapsedTimer timer;
    for (int i = 0; i < 1000; ++i) {
        QList<FTPerson*> relatives = focal->naturalChildren();
        relatives << focal->spouses() << focal->naturalParents();
        focal = relatives.isEmpty() || next() % 8 == 0 ? all[qsizetype(next() % quint32(all.size()))]
                                                        : relatives[qsizetype(next() % quint32(relatives.size()))];
        focusOn(focal);
        std::vector<CdPerson*> boxes {nullptr};
        for (const auto& box : layout.cdPersonsArray())
            boxes.push_back(box.get());
        for (CdPerson* box : boxes) {
            timer.start();
            const DiagramMenu menu = DiagramMenuBuilder::familyMenu(box, state);
            menus.push_back(timer.nsecsElapsed() / 1e6);
        }
    }

    // ---- Labels of an ancestral view rooted in the deepest generation ----
    QList<FTPerson*> byNumber = all;
    std::sort(byNumber.begin(), byNumber.end(),
              [](const FTPerson* a, const FTPerson* b) { return a->numericId() < b->numericId(); });
    QHash<const FTPerson*, int> depth; // parents are numbered before their children
    for (const FTPerson* p : byNumber) {
        int d = 0;
        for (const FTPerson* parent : p->naturalParents())
            d = std::max(d, depth.value(parent) + 1);
        depth.insert(p, d);
    }
    FTPerson* root = *std::max_element(byNumber.begin(), byNumber.end(),
                                       [&](const FTPerson* a, const FTPerson* b) { return depth[a] < depth[b]; });
    FTProjectView* view = FTProjectView::initInMoc(moc.get());
    view->setRootPersonInAncestralView(root);
    moc->modelDefaults()->setCurrentView(view);
    QSet<FTPerson*> ancestorSet;
    FTPerson::recurseAncestorsSet(ancestorSet, {root});
    const QList<FTPerson*> ancestors = ancestorSet.values();
    std::vector<double> ahnentafel, consanguinity;
    for (int i = 0; i < 300; ++i) {
        focusOn(ancestors[qsizetype(next() % quint32(ancestors.size()))]);
        timer.start();
        layout.addAhnentafelNumbersToCdPersons();
        ahnentafel.push_back(timer.nsecsElapsed() / 1e6);
        timer.start();
        layout.addConsanguinityToCdPersons();
        consanguinity.push_back(timer.nsecsElapsed() / 1e6);
    }

    std::printf("people: %lld\n", static_cast<long long>(all.size()));
    std::printf("menus_built: %zu\n", menus.size());
    std::printf("menu_ms: %.3f\n", median(menus));
    std::printf("menu_ms_max: %.3f\n", maximum(menus));
    std::printf("root_generation: %d\n", depth[root] + 1);
    std::printf("root_ancestors: %lld\n", static_cast<long long>(ancestors.size()));
    std::printf("ahnentafel_labels_ms: %.3f\n", median(ahnentafel));
    std::printf("ahnentafel_labels_ms_max: %.3f\n", maximum(ahnentafel));
    std::printf("consanguinity_labels_ms: %.3f\n", median(consanguinity));
    std::printf("consanguinity_labels_ms_max: %.3f\n", maximum(consanguinity));
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());

    layout.setMoc(nullptr);
    moc.reset();
    Prompts::install(nullptr);
    return 0;
}
