// kinloom-bench-reports [PEOPLE]
// Writes the reports of the Reports menu as their sheets do, with the program's first-run choices, on a synthetic
// database of PEOPLE people (default 100,000), into the reports folder of its own temporary data folder:
//  - the narrative descendants report of the founder with the most descendants within 10 generations;
//  - the narrative ancestors report of a person of the deepest generation, every generation; people married into
//    a synthetic database have no parents, so the bench first gives every ancestor within 10 generations the
//    natural parents they lack (and saves), making a full pedigree of 2,047 people and more above;
//  - the ancestors-by-generation report of that person (16 generations, its first-run choices).
// Each time is the median of three runs. Prints one figure a line as "name: value": people, open_peak_mb (the
// peak after opening the database), narrative_descendants_people (sections written), narrative_descendants_ms,
// narrative_ancestors_people, narrative_ancestors_ms, ancestors_by_generation_ms, then fgs_build_ms and fgs_rtf_ms
// (the family group sheet of the person with the most couples and children), on_this_day_ms (14 July),
// on_this_day_month_ms (July) and on_this_day_hebrew_ms (the Hebrew day of 14 July 2026) with the events found,
// report_kb (the descendants report's file), the listings' times, then validation_ms (all six data checks, sorted
// as the sheet shows them), validation_rows, validation_report_ms (those rows with details), changes_list_ms (the
// people changed in the last 30 days), uncited_filter_ms (the events without citations, of every
// event), events_grid_ms (the CSV grid of everybody) and peak_mb.
#include "BenchSupport.h"

#include "reports/AncestorsByGeneration.h"
#include "reports/DataValidation.h"
#include "reports/DatabaseChanges.h"
#include "reports/EventsGrid.h"
#include "reports/UncitedEvents.h"
#include "reports/DatabaseStatistics.h"
#include "reports/FilteredPeople.h"
#include "reports/PeopleWithoutAncestorsListing.h"
#include "reports/SourcesListing.h"
#include "reports/FamilyGroupSheet.h"
#include "reports/NarrativeReport.h"
#include "reports/OnThisDaySearch.h"

#include "model/FTPcRel.h"

#include "shell/FirstRunDefaults.h"
#include "shell/RtfWriter.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QTextDocument>

namespace {
constexpr int kGenerations = 10;

// Counts the alerts and keeps the first, for the message that says something went wrong.
struct CountedPrompts : SilentPrompts {
    QString first;
    void message(const QString& text, const QString& info) override
    {
        if (first.isEmpty())
            first = text + QLatin1Char(' ') + info;
        SilentPrompts::message(text, info);
    }
};

// The people within `generations` below `founder` along natural or adopted links, the founder included.
int descendantsWithin(FTPerson* founder, int generations)
{
    QSet<FTPerson*> seen { founder };
    QList<FTPerson*> level { founder };
    for (int g = 0; g < generations && !level.isEmpty(); ++g) {
        QList<FTPerson*> next;
        for (FTPerson* p : level)
            for (FTPerson* child : p->childrenOfType(FTPcRel::kNatural | FTPcRel::kAdopted))
                if (!seen.contains(child)) {
                    seen.insert(child);
                    next << child;
                }
        level = next;
    }
    return int(seen.size());
}
}

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    FirstRunDefaults::initialiseUserDefaults();
    CountedPrompts prompts;
    Prompts::install(&prompts);
    const int target = argc > 1 ? std::max(100, std::atoi(argv[1])) : 100000;
    std::unique_ptr<FTMoc> moc = openSyntheticDatabase(sandbox.filePath(QStringLiteral("bench.RezUdu")), target);
    if (!moc)
        return 1;
    const QList<FTPerson*> people = moc->fetch<FTPerson>(
        {}, [](const FTPerson* a, const FTPerson* b) { return a->numericId() < b->numericId(); });
    std::printf("people: %lld\n", static_cast<long long>(people.size()));
    std::printf("open_peak_mb: %.1f\n", peakResidentMegabytes());
    if (people.isEmpty())
        return 1;

    // A person's depth is one more than the deepest natural parent's; parents are made first.
    QHash<const FTPerson*, int> depth;
    for (const FTPerson* p : people) {
        int d = 0;
        for (const FTPerson* parent : p->naturalParents())
            d = std::max(d, depth.value(parent) + 1);
        depth.insert(p, d);
    }
    FTPerson* deepest = *std::max_element(
        people.begin(), people.end(), [&](const FTPerson* a, const FTPerson* b) { return depth[a] < depth[b]; });
    FTPerson* founder = nullptr;
    int most = 0;
    for (FTPerson* p : people) {
        if (depth[p] != 0 || p->children().isEmpty())
            continue;
        if (const int n = descendantsWithin(p, kGenerations); n > most) {
            most = n;
            founder = p;
        }
    }
    if (!founder)
        founder = people.first();
    completePedigree(*moc, deepest, kGenerations);
    if (!moc->saveMoc())
        return 1;
    // Only what the reports say counts (making the database refuses a few dates and repairs names of its own).
    prompts.count = 0;
    prompts.first.clear();

    QString descendantsFile;
    auto narrative = [&](FTPerson* person, int type, int generations, int* sections, QString* file) {
        NarrativeReportOptions options = NarrativeReportOptions::forType(type);
        options.numGenerations = generations;
        return medianMs(3, [&] {
            NarrativeReport report(moc.get(), person, options);
            RtfWriter writer;
            writer.setFileType(QStringLiteral("rtf"));
            if (!report.generate(writer))
                std::fprintf(stderr, "the report could not be written\n");
            *sections = report.numPrinted();
            if (file)
                *file = writer.rtfFilePath();
        });
    };
    int descendants = 0;
    const double descendantsMs
        = narrative(founder, NarrativeReportOptions::Descendants, kGenerations, &descendants, &descendantsFile);
    std::printf("narrative_descendants_people: %d\n", descendants);
    std::printf("narrative_descendants_ms: %.1f\n", descendantsMs);
    int ancestors = 0;
    const double ancestorsMs = narrative(deepest, NarrativeReportOptions::Ancestors, 100, &ancestors, nullptr);
    std::printf("narrative_ancestors_people: %d\n", ancestors);
    std::printf("narrative_ancestors_ms: %.1f\n", ancestorsMs);
    std::printf("ancestors_by_generation_ms: %.1f\n", medianMs(3, [&] {
        AncestorsByGeneration report(moc.get(), deepest, NarrativeReportOptions::fromAncestorsReportDefaults());
        RtfWriter writer;
        writer.setFileType(QStringLiteral("rtf"));
        if (!report.generate(writer))
            std::fprintf(stderr, "the report could not be written\n");
    }));

    // The family group sheet of the person with the most couples and children, and On This Day over every event.
    FTPerson* family = *std::max_element(people.begin(), people.end(), [](const FTPerson* a, const FTPerson* b) {
        return a->spouseRelsArray().size() + a->childRels().size() < b->spouseRelsArray().size() + b->childRels().size();
    });
    std::unique_ptr<QTextDocument> sheet;
    std::printf("fgs_build_ms: %.1f\n", medianMs(3, [&] {
        FamilyGroupSheet builder(family, FamilyGroupSheet::Options());
        sheet = builder.generateTables();
    }));
    std::printf("fgs_rtf_ms: %.1f\n", medianMs(3, [&] {
        if (!FamilyGroupSheet::writeRtf(*sheet, FamilyGroupSheet::outputPath(family), nullptr))
            std::fprintf(stderr, "the family group sheet could not be written\n");
    }));
    qsizetype found = 0;
    std::printf("on_this_day_ms: %.1f\n",
        medianMs(3, [&] { found = OnThisDaySearch::gregorianEvents(moc.get(), 14, 7, false).size(); }));
    std::printf("on_this_day_events: %lld\n", static_cast<long long>(found));
    std::printf("on_this_day_month_ms: %.1f\n",
        medianMs(3, [&] { found = OnThisDaySearch::gregorianEvents(moc.get(), 0, 7, false).size(); }));
    std::printf("on_this_day_hebrew_ms: %.1f\n",
        medianMs(3, [&] { found = OnThisDaySearch::hebrewEvents(moc.get(), 14, 7, 2026, false).size(); }));
    std::printf("on_this_day_hebrew_events: %lld\n", static_cast<long long>(found));
    std::printf("report_kb: %.0f\n", QFileInfo(descendantsFile).size() / 1024.0);

    auto failed = [](bool ok) {
        if (!ok)
            std::fprintf(stderr, "a listing could not be written\n");
    };
    std::printf("filtered_everybody_ms: %.1f\n", medianMs(3, [&] {
        FilteredPeople report(moc.get());
        report.modelName = moc->modelName();
        RtfWriter writer;
        writer.setFileType(QStringLiteral("rtf"));
        failed(report.generate(writer, report.people()));
    }));
    std::printf("sources_report_ms: %.1f\n", medianMs(3, [&] {
        SourcesListing listing(moc.get());
        listing.modelName = moc->modelName();
        RtfWriter writer;
        failed(listing.generate(writer));
    }));
    std::printf("statistics_counts_ms: %.1f\n", medianMs(3, [&] {
        DatabaseStatistics stats(moc.get());
        stats.countRecords();
    }));
    std::printf("statistics_lifespan_ms: %.1f\n", medianMs(3, [&] {
        DatabaseStatistics stats(moc.get());
        stats.addLifespans(DatabaseStatistics::ByAgeAtDeath);
    }));
    std::printf("no_ancestors_ms: %.1f\n", medianMs(3, [&] {
        PeopleWithoutAncestorsListing listing(moc.get());
        listing.modelName = moc->modelName();
        RtfWriter writer;
        failed(listing.generate(writer, listing.people(), true));
    }));

    // The data checks and event lists.
    QList<Inconsistency> findings;
    std::printf("validation_ms: %.1f\n", medianMs(3, [&] {
        findings = DataValidation::sorted(DataValidation(moc.get()).run());
    }));
    std::printf("validation_rows: %lld\n", static_cast<long long>(findings.size()));
    std::printf("validation_report_ms: %.1f\n", medianMs(3, [&] {
        DataValidation checks(moc.get());
        checks.modelName = moc->modelName();
        RtfWriter writer;
        failed(checks.generate(writer, findings, true));
    }));
    const QDateTime now = QDateTime::currentDateTime();
    std::printf("changes_list_ms: %.1f\n", medianMs(3, [&] {
        DatabaseChanges changes(moc.get());
        changes.changedWithin(30, now);
    }));
    const QList<FTEvent*> events = UncitedEvents::allEvents(moc.get());
    std::printf("uncited_filter_ms: %.1f\n", medianMs(3, [&] { UncitedEvents::filter(events, true); }));
    std::printf("events_grid_ms: %.1f\n", medianMs(3, [&] {
        EventsGrid grid(moc.get());
        grid.modelName = moc->modelName();
        failed(grid.generate(grid.shownPeople(), nullptr));
    }));
    if (moc->hasChanges())
        std::fprintf(stderr, "the reports changed the database\n");
    if (prompts.count)
        std::fprintf(stderr, "%d alerts, the first: %s\n", prompts.count, qPrintable(prompts.first));
    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());
    Prompts::install(nullptr);
    return 0;
}
