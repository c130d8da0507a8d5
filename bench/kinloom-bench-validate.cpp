// kinloom-bench-validate [PEOPLE] [--pictures N]
// Builds a synthetic family database of PEOPLE people (default 100,000) in a temporary folder, opens it as a
// family database and times each long pass over it: the first save with its one-time repairs, the relationship
// checks, the searches for second natural parents and cycles, the clean-ups, the renumbering and the event-type
// index. With --pictures, N pictures with an 8 kB stored thumbnail each are added to the database before it is
// opened, and the integrity check's removal of stored thumbnails is timed as the user runs it (with its save).
// Prints one figure a line as "name: value" (times in milliseconds; "_updates" counts the progress redraws a pass
// asked for, which shows that the window waiting for it can stay responsive).
#include "BenchSupport.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/ModelProgress.h"
#include "model/SyntheticDatabase.h"

#include "shell/DatabaseIntegrityChecks.h"

#include "platform/Prompts.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace {

struct CountingProgress : ModelProgress {
    int updates = 0;
    void setStatus(const QString&) override { }
    void setPercent(int) override { ++updates; }
};

void figure(const char* name, double value, int decimals = 1)
{
    std::printf("%s: %.*f\n", name, decimals, value);
}

SilentPrompts* gPrompts = nullptr;

// Times `pass`, printing "<name>_ms" and, when it reports progress or shows alerts, "<name>_updates" and
// "<name>_alerts".
template <class Pass> auto timed(const char* name, Pass pass)
{
    const int alerts = gPrompts ? gPrompts->count : 0;
    CountingProgress progress;
    QElapsedTimer timer;
    timer.start();
    auto result = pass(&progress);
    figure((std::string(name) + "_ms").c_str(), timer.nsecsElapsed() / 1e6);
    if (progress.updates > 0)
        std::printf("%s_updates: %d\n", name, progress.updates);
    if (gPrompts && gPrompts->count > alerts)
        std::printf("%s_alerts: %d\n", name, gPrompts->count - alerts);
    return result;
}

// Puts the faults the passes look for into the database, spread over it: links without a child, second natural
// fathers, cycles of two, ghosts, dates of early years typed in another form, and missing record numbers.
void damage(FTMoc& moc)
{
    static const Key kNumericId("numericId");
    moc.undoManager()->disableUndoRegistration();
    const QList<FTPcRel*> links = moc.fetch<FTPcRel>(
        [](const FTPcRel* l) { return l->intPcRelType() == FTPcRel::kNatural && l->parent() && l->parent()->isMale(); });
    const QList<FTPerson*> men = moc.fetch<FTPerson>([](const FTPerson* p) { return p->isMale(); });
    int broken = 0, doubled = 0, cycles = 0;
    for (qsizetype i = 0; i + 2 < links.size() && cycles < 100; i += links.size() / 300) {
        FTPcRel* l = links[i];
        if (broken < 100) {
            l->setChild(nullptr);
            ++broken;
        } else if (doubled < 100) {
            FTPcRel* second = FTPcRel::initInMoc(&moc);
            second->setParent(men[(i * 7) % men.size()]);
            second->setChild(l->child());
            second->setPcRelType(FTPcRel::kNatural);
            ++doubled;
        } else {
            FTPcRel* back = FTPcRel::initInMoc(&moc);
            back->setParent(l->child());
            back->setChild(l->parent());
            back->setPcRelType(FTPcRel::kNatural);
            ++cycles;
        }
    }
    for (int i = 0; i < 1000; ++i)
        moc.insertObject<FTPerson>()->setPrimitiveValue(Key("name"), QString());
    const QList<FTEvent*> dated = moc.fetch<FTEvent>([](const FTEvent* e) { return e->year() > 0; });
    for (qsizetype i = 0; i < dated.size(); i += std::max<qsizetype>(1, dated.size() / 1000)) {
        dated[i]->setPrimitiveValue(Key("year"), 800);
        dated[i]->setPrimitiveValue(Key("date"), QStringLiteral("800 AD"));
    }
    const QList<FTPerson*> all = moc.fetch<FTPerson>();
    for (qsizetype i = 0; i < all.size(); i += std::max<qsizetype>(1, all.size() / 1000))
        all[i]->setPrimitiveValue(kNumericId, 0);
    moc.undoManager()->enableUndoRegistration();
    std::printf("damage_links_without_child: %d\ndamage_second_fathers: %d\ndamage_cycles: %d\n", broken, doubled, cycles);
}

// Adds `count` pictures, spread over the people, each with an 8 kB stored thumbnail, and saves them.
bool addPictures(const QString& path, int count)
{
    std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(path, true);
    if (!moc)
        return false;
    moc->undoManager()->disableUndoRegistration();
    const QList<FTPerson*> people = moc->fetch<FTPerson>();
    QByteArray thumbnail(8192, '\0');
    for (int i = 0; i < count; ++i) {
        for (qsizetype b = 0; b < thumbnail.size(); b += 64)
            thumbnail[b] = char(i + b); // no two alike
        auto* picture = moc->insertObject<FTPicture>();
        picture->setOwner(people[(qsizetype(i) * 7) % people.size()]);
        picture->setName(QStringLiteral("Picture %1").arg(i));
        FTOriginalPicture* stored = FTOriginalPicture::initInMoc(moc.get());
        stored->setData(thumbnail);
        picture->setOriginalPicture(stored);
    }
    return moc->save();
}
}

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    QCoreApplication app(argc, argv);
    int people = 100000;
    int pictures = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--pictures" && i + 1 < argc)
            pictures = std::max(0, std::atoi(argv[++i]));
        else
            people = std::max(1, std::atoi(argv[i]));
    }
    SilentPrompts prompts;
    Prompts::install(&prompts);

    const QString path = sandbox.filePath("validate.RezUdu");
    QString error;
    SyntheticDatabase::Counts counts;
    if (!SyntheticDatabase::create(path, people, &error, &counts)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("people: %d\n", counts.people);
    std::printf("events: %d\n", counts.events);
    std::printf("parent_child_links: %d\n", counts.parentChildLinks);
    if (pictures > 0) {
        if (!addPictures(path, pictures)) {
            std::fprintf(stderr, "cannot add the pictures\n");
            return 1;
        }
        std::printf("pictures: %d\n", pictures);
    }
    // Alerts are counted from here on (the synthetic people's future dates are refused while they are made).
    prompts.count = 0;
    gPrompts = &prompts;

    std::unique_ptr<FTMoc> moc = timed("open", [&](ModelProgress*) { return FTMoc::initForStoreURL(path, true); });
    if (!moc) {
        std::fprintf(stderr, "cannot open the database\n");
        return 1;
    }

    // The first save runs every pending one-time repair (all of them on this database).
    timed("first_save_with_repairs", [&](ModelProgress*) {
        moc->fetchFirst<FTPerson>()->setNotes(QStringLiteral("Opened for the benchmark."));
        return moc->saveMoc();
    });
    timed("populate_name_components", [&](ModelProgress*) { return moc->populateNameComponents(); });

    damage(*moc);

    QString report;
    timed("validate_pc_rels", [&](ModelProgress* p) { return moc->validatePcRels(p); });
    timed("validate_person_rels", [&](ModelProgress* p) { return moc->validatePersonRels(p); });
    timed("validate_spouse_rel_rels", [&](ModelProgress* p) { return moc->validateSpouseRelRels(p); });
    timed("validate_event_rels", [&](ModelProgress* p) { return moc->validateEventRels(p); });
    timed("validate_source_rel_rels", [&](ModelProgress* p) { return moc->validateSourceRelRels(p); });
    const int gaps = timed("validate_parent_child_birth_dates",
        [&](ModelProgress* p) { return moc->validateParentChildBirthDates(p, &report); });
    std::printf("birth_gap_lines: %d\n", gaps);
    timed("validate_all_relationships", [&](ModelProgress* p) { return moc->validateAllRelationships(p, nullptr); });

    const QList<FTPerson*> doubled = timed("find_multiple_natural_parents",
        [&](ModelProgress*) { return moc->findChildrenWithMultipleNaturalParents(&report, false); });
    std::printf("children_with_multiple_natural_parents: %lld\n", static_cast<long long>(doubled.size()));
    timed("convert_multiple_natural_parents", [&](ModelProgress*) { return moc->convertMultipleNaturalParentsIntoStepRels(doubled); });
    const int cycles = timed("recursion_check", [&](ModelProgress*) { return moc->recursionCheck(false); });
    std::printf("cycles: %d\n", cycles);

    const int ghosts = timed("remove_ghosts", [&](ModelProgress*) { return moc->removeGhosts(nullptr, false); });
    std::printf("ghosts_removed: %d\n", ghosts);
    const int isolated = timed("remove_isolated_people", [&](ModelProgress*) { return moc->removeIsolatedPeople(&report, false); });
    std::printf("isolated_removed: %d\n", isolated);
    timed("clean_date_formats", [&](ModelProgress*) { return moc->cleanDateFormats(); });
    timed("validate_numeric_ids", [&](ModelProgress*) { return moc->validateNumericIds(true); });

    // The event-type index of an old database: every event without its type.
    const QList<FTEvent*> events = moc->fetch<FTEvent>();
    moc->undoManager()->disableUndoRegistration();
    for (FTEvent* e : events)
        e->setEventType(nullptr);
    moc->undoManager()->enableUndoRegistration();
    timed("link_events_to_event_types", [&](ModelProgress* p) { return moc->linkEventsToEventTypes(events, p); });

    if (pictures > 0) {
        timed("thumbs_remove", [&](ModelProgress* p) {
            DatabaseIntegrityChecks checks(*moc, p);
            return checks.execute(DatabaseIntegrityChecks::RemoveStoredThumbnails);
        });
        std::printf("thumbs_left: %d\n", moc->count<FTOriginalPicture>());
    }

    figure("peak_mb", peakResidentMegabytes());
    std::printf("alerts_total: %d\n", prompts.count);
    Prompts::install(nullptr);
    return 0;
}
