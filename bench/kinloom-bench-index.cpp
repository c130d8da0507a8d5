// kinloom-bench-index [PEOPLE]
// The people index on a synthetic database of PEOPLE people (default 100,000), with the program's first-run
// choices, in a temporary data folder of its own:
//  - index_fill_ms: the list of everybody made again (the index opening, "RefreshAllViews");
//  - filter_first_ms: the first family-name filter of a list, which folds each person's names once;
//  - filter_family_name_ms, filter_birth_year_prefix_ms (">=1900"), filter_spouse_ms (the spouse-name field)
//    and filter_kinship_3_ms (three steps from the busiest person): one keystroke's filter each, on a list
//    already folded;
//  - sort_ms: everybody sorted by name and birth year from a fresh list (collation keys made anew);
//  - duplicates_ms: the duplicates of name, birth and death year among everybody (sort included);
//  - csv_everybody_ms: the CSV listing of everybody with every column; csv_kb its size;
//  - path_ms: the relationship path from the busiest person to the relative farthest from them (path_links
//    links away).
// Each time is the median of three runs. Prints "name: value" lines, then peak_mb.
#include "BenchSupport.h"

#include "reports/PeopleIndexCsv.h"
#include "reports/PeopleIndexModel.h"
#include "reports/RelationshipPath.h"

#include "model/RelativesHierarchy.h"

#include "shell/FirstRunDefaults.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <deque>

namespace {
// The relative reached last by a walk outward from `source` one link at a time (parents, partners, children),
// and how many links away.
FTPerson* farthestRelative(FTPerson* source, int* links)
{
    QSet<FTPerson*> seen {source};
    RelativesHierarchy root(source, nullptr, QString());
    std::deque<RelativesHierarchy*> queue {&root};
    RelativesHierarchy* last = &root;
    while (!queue.empty()) {
        RelativesHierarchy* node = queue.front();
        queue.pop_front();
        last = node;
        if (node->level() >= RelationshipPath::kMaxLevel)
            continue;
        for (RelativesHierarchy* next : node->nextGenArray(seen))
            queue.push_back(next);
    }
    *links = last->level();
    return last->person();
}
}

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    FirstRunDefaults::initialiseUserDefaults();
    SilentPrompts prompts;
    Prompts::install(&prompts);
    const int target = argc > 1 ? std::max(100, std::atoi(argv[1])) : 100000;
    std::unique_ptr<FTMoc> moc = openSyntheticDatabase(sandbox.filePath(QStringLiteral("bench.RezUdu")), target);
    if (!moc)
        return 1;
    const QList<FTPerson*> people = moc->fetch<FTPerson>();
    std::printf("people: %lld\n", static_cast<long long>(people.size()));
    if (people.isEmpty())
        return 1;
    FTPerson* focal = busiestPerson(people);
    moc->setFocalPerson(focal);

    PeopleIndexModel index(moc.get());
    std::printf("index_fill_ms: %.1f\n", medianMs(3, [&] { index.refresh(); }));
    const QString family = focal->familyName().left(3);
    QElapsedTimer timer;
    timer.start();
    index.filters.familyName = family;
    index.changeFilter();
    std::printf("filter_first_ms: %.1f\n", timer.nsecsElapsed() / 1e6);

    const auto filter = [&](auto set) {
        return medianMs(3, [&] {
            index.filters = PeopleIndexModel::Filters();
            set(index.filters);
            index.changeFilter();
        });
    };
    std::printf("filter_family_name_ms: %.1f\n", filter([&](auto& f) { f.familyName = family; }));
    std::printf("filter_family_name_shown: %lld\n", static_cast<long long>(index.shown().size()));
    std::printf("filter_birth_year_prefix_ms: %.1f\n", filter([](auto& f) { f.birthYear = ">=1900"; }));
    const QString spouse = focal->spouses().isEmpty() ? QStringLiteral("a") : focal->spouses().first()->givenNames();
    std::printf("filter_spouse_ms: %.1f\n", filter([&](auto& f) { f.spousesName = spouse; }));
    std::printf("filter_spouse_shown: %lld\n", static_cast<long long>(index.shown().size()));
    std::printf("filter_kinship_3_ms: %.1f\n", filter([](auto& f) { f.kinship = 3; }));
    std::printf("filter_kinship_3_shown: %lld\n", static_cast<long long>(index.shown().size()));

    // The large-list warning answers "Continue" (the first button) once; sorts and duplicates start from a fresh
    // list each time, so the collation keys are made anew in every run.
    const auto fresh = [&](const std::function<void()>& work) {
        std::vector<double> times;
        for (int i = 0; i < 3; ++i) {
            index.refresh();
            timer.start();
            work();
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        return median(times);
    };
    std::printf("sort_ms: %.1f\n", fresh([&] { index.sortByFamilyName(); }));
    std::printf("duplicates_ms: %.1f\n", fresh([&] { index.showDuplicates(PeopleIndexModel::NameBirthDeath); }));
    std::printf("duplicates_shown: %lld\n", static_cast<long long>(index.shown().size()));

    index.refresh();
    QString csvPath;
    std::printf("csv_everybody_ms: %.1f\n", medianMs(3, [&] {
        csvPath = PeopleIndexCsv::everything().write(index.shown(), QStringLiteral("bench"));
    }));
    if (csvPath.isEmpty()) {
        std::fprintf(stderr, "the CSV listing could not be written\n");
        return 1;
    }
    std::printf("csv_kb: %.0f\n", QFileInfo(csvPath).size() / 1024.0);

    int links = 0;
    FTPerson* far = farthestRelative(focal, &links);
    RelationshipPath path(focal, far);
    bool found = false;
    std::printf("path_ms: %.1f\n", medianMs(3, [&] { found = path.createPath(); }));
    std::printf("path_links: %lld\n", static_cast<long long>(found ? path.pathArray().size() - 1 : -1));
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());
    return found ? 0 : 1;
}
