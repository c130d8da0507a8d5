// kinloom-bench-tools [PEOPLE]
// Builds a synthetic family database of PEOPLE people (default 100,000) in a temporary folder and times the work of
// the database-wide editors on it: the places list, its filter and one place's events, find and replace over ten
// thousand places with its save and its undo, the events-by-place listing, the event names of a type and a rename
// of one, the family names, the people of one, capitalising every family name (all in capitals before), the event
// dates table, re-reading the GEDCOM date texts of 10,000 events, and calculating birth dates from baptisms (for a
// tenth of the baptised people, whose birth dates are cleared first) with its undo. Then the project views (the
// deepest person's ancestral view combined with a view of half the people by each operator, and the largest result
// sorted as the window lists it), opening the notes editor and its filter,
// deleting the comment lines of a tenth of the people without questions, joining every broken note, grouping the
// people into families and pruning a thousand people, and the to-do listing. Before anything is timed the events
// get 20,000 distinct place texts, half of them beginning with "St ". Prints one figure a line as "name: value"
// (times in milliseconds).
#include "BenchSupport.h"

#include "tools/DatesCalculation.h"
#include "tools/EventDatesEditing.h"
#include "tools/EventDatesModel.h"
#include "tools/EventNamesEditing.h"
#include "tools/FamilyNamesEditing.h"
#include "tools/MinorDynasties.h"
#include "tools/PersonalTextEditing.h"
#include "tools/PlacesEditing.h"
#include "tools/PlacesListing.h"
#include "tools/PlacesReplacement.h"
#include "tools/ProjectViewsCombining.h"
#include "tools/RtfText.h"
#include "tools/TodoNotes.h"

#include "shell/BackupPanel.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include "platform/Prompts.h"
#include "platform/Workspace.h"
#include "platform/store/Key.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>
#include <string>

namespace {
constexpr int kPlaces = 20000;

// Answers every question with one button, chosen per pass; messages are only counted.
struct AnsweringPrompts : Prompts {
    int answer = 0;
    int count = 0;
    void message(const QString&, const QString&) override { ++count; }
    void messageAsSheet(QObject*, const QString&) override { ++count; }
    void showMe(const QString&, const QString&) override { ++count; }
    int choose(const QString&, const QString&, const QStringList&) override { return ++count, answer; }
};

template <class Work> auto timed(const char* name, Work work)
{
    QElapsedTimer timer;
    timer.start();
    auto result = work();
    std::printf("%s_ms: %.1f\n", name, timer.nsecsElapsed() / 1e6);
    std::fflush(stdout);
    return result;
}

// The place texts of the run: "St Town 17, Shire 17, England" for the even numbers, "Town 18, ..." for the odd.
QString placeText(int i)
{
    return QStringLiteral("%1Town %2, Shire %3, England").arg(i % 2 == 0 ? QStringLiteral("St ") : QString()).arg(i).arg(i % 97);
}

// The backup's save panel, cancelled: pruning goes on without a copy.
struct CancellingPanel : BackupPanel {
    QString run(const QString&, const QString&, const QString&, const QString&) override { return {}; }
};

// Every event gets one of the place texts in turn, written raw (no undo), then saved.
void spreadPlaces(FTMoc& moc)
{
    static const Key kPlace("place");
    int i = 0;
    for (FTEvent* e : moc.fetch<FTEvent>())
        e->setPrimitiveValue(kPlace, placeText(i++ % kPlaces));
    moc.rebuildPlaces();
    moc.saveMoc();
}
}

int main(int argc, char** argv)
{
    BenchSandbox sandbox;
    QCoreApplication app(argc, argv);
    const int people = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    AnsweringPrompts prompts;
    Prompts::install(&prompts);

    std::unique_ptr<FTMoc> moc = openSyntheticDatabase(sandbox.filePath("tools.RezUdu"), people);
    if (!moc)
        return 1;
    moc->saveMoc(); // the first save's one-time repairs, before anything is timed
    spreadPlaces(*moc);
    std::printf("people: %d\n", moc->count<FTPerson>());
    std::printf("events: %d\n", moc->count<FTEvent>());

    // ---- Places ----
    PlacesEditing places(moc.get());
    timed("places_list", [&] {
        moc->rebuildPlaces();
        places.refreshPlaceNamesArray(false);
        return places.places().size();
    });
    std::printf("places: %lld\n", static_cast<long long>(places.places().size()));
    const qsizetype filtered = timed("places_filter", [&] {
        places.setFilterText(QStringLiteral("town 1234 shire"));
        places.refreshPlaceNamesArray(false);
        return places.places().size();
    });
    std::printf("places_filtered: %lld\n", static_cast<long long>(filtered));
    const QString onePlace = placeText(4321);
    const qsizetype atPlace = timed("places_events", [&] { return places.eventsAtPlaces({onePlace}).size(); });
    std::printf("places_events_count: %lld\n", static_cast<long long>(atPlace));

    PlacesReplacement replacement(moc.get());
    const qsizetype found = timed("find", [&] {
        replacement.setFindString(QStringLiteral("St "));
        return replacement.foundPlaces().size();
    });
    std::printf("found: %lld\n", static_cast<long long>(found));
    replacement.setReplacementString(QStringLiteral("Saint "));
    QList<int> rows;
    for (int row = 0; row < found; ++row)
        rows << row;
    prompts.answer = 3; // replace the rest without asking
    const auto outcome = timed("replace_10000_places", [&] { return replacement.replaceSelectedPlaceNames(rows, {}); });
    std::printf("replaced_places: %d\nreplaced_events: %d\n", outcome.places, outcome.events);
    prompts.answer = 0;
    timed("undo_replace", [&] {
        moc->rebuildPlaces();
        moc->undoManager()->undo();
        return moc->places().size();
    });
    moc->saveMoc();

    places.setFilterText({});
    places.refreshPlaceNamesArray(false);
    PlacesListing listing(moc.get(), places.places());
    timed("places_csv", [&] { return listing.writeCsv(); });

    // ---- Event names ----
    EventNamesEditing names(moc.get());
    const qsizetype occupations = timed("event_names", [&] {
        moc->resetEventNames();
        names.setSubtypeFilter(QStringLiteral("Occupation"));
        return names.eventNames().size();
    });
    std::printf("occupation_names: %lld\n", static_cast<long long>(occupations));
    const QList<FTEvent*> farmers = names.eventsNamed(QStringLiteral("Farmer"));
    std::printf("renamed_events: %lld\n", static_cast<long long>(farmers.size()));
    timed("event_name_rename",
        [&] { return names.renameEventName(QStringLiteral("Farmer"), QStringLiteral("Agriculturalist"), farmers); });

    // ---- Family names ----
    FamilyNamesEditing families(moc.get());
    const qsizetype familyCount = timed("family_names", [&] { return families.familyNames().size(); });
    std::printf("family_name_count: %lld\n", static_cast<long long>(familyCount));
    const qsizetype smiths = timed("family_name_people", [&] { return families.peopleWithFamilyName(QStringLiteral("Smith")).size(); });
    std::printf("family_name_people_count: %lld\n", static_cast<long long>(smiths));
    // Every family name in capitals first (not timed), so that capitalising changes every person's name.
    families.convertAllFamilyNamesUsingMode(FamilyNamesEditing::Uppercase);
    const int changed = timed("capitalise_all", [&] { return families.convertAllFamilyNamesUsingMode(FamilyNamesEditing::Capitalised); });
    std::printf("capitalised_names: %d\n", changed);

    // ---- Event dates ----
    const int tableRows = timed("event_dates_table", [&] {
        EventDatesModel table;
        table.loadEvents(moc.get());
        // The first screen of rows drawn.
        for (int row = 0; row < 40; ++row)
            for (int column = 0; column < EventDatesModel::ColumnCount; ++column)
                table.data(table.index(row, column));
        return table.rowCount();
    });
    std::printf("event_dates_rows: %d\n", tableRows);
    {
        EventDatesModel table;
        table.loadEvents(moc.get());
        timed("event_dates_sort", [&] {
            table.sortByDate();
            return table.rowCount();
        });
    }
    // 10,000 dated events are given their dates as month/day/year texts, as an import would have kept them.
    QList<FTEvent*> imported;
    for (FTEvent* e : moc->fetch<FTEvent>()) {
        if (e->day() == 0 || e->month() == 0)
            continue;
        e->setGedcomDate(QStringLiteral("%1/%2/%3").arg(e->month()).arg(e->day()).arg(e->year()));
        imported << e;
        if (imported.size() == 10000)
            break;
    }
    moc->saveMoc();
    moc->undoManager()->closeOpenGroups();
    const EventDatesEditing::Outcome reread
        = timed("reread_10000", [&] { return EventDatesEditing::interpretGedcomDate(imported, EventDatesEditing::DMY); });
    std::printf("reread_events: %d\nreread_changed: %d\n", reread.read, reread.changed);
    moc->saveMoc();
    moc->undoManager()->closeOpenGroups();

    // ---- Calculated birth dates ----
    // A tenth of the baptised people lose their birth dates (not timed); the log opens in no application.
    Workspace::shared().setSearchPaths({sandbox.filePath(QStringLiteral("no-applications"))},
        {sandbox.filePath(QStringLiteral("no-applications"))});
    int baptised = 0;
    for (FTEvent* e : moc->fetch<FTEvent>()) {
        if (e->subtype() != QLatin1String("BAPM") || !e->person() || !e->person()->birth())
            continue;
        if (baptised++ % 10 == 0)
            e->person()->birth()->setDate(QString());
    }
    moc->saveMoc();
    moc->undoManager()->closeOpenGroups();
    DatesCalculation births(moc.get(), DatesCalculation::Births);
    const DatesCalculation::Outcome calculated = timed("calculate_births", [&] {
        births.createEventsArray();
        return births.createDates();
    });
    std::printf("calculated_candidates: %lld\ncalculated_added: %d\ncalculated_ignored: %d\n",
        static_cast<long long>(births.events().size()), calculated.added, calculated.ignored);
    timed("calculate_undo", [&] {
        moc->undoManager()->closeOpenGroups();
        moc->undoManager()->undo();
        return 0;
    });
    int undone = 0;
    for (const FTEvent* e : births.events())
        undone += !e->person()->birth() || e->person()->birth()->date().isEmpty();
    std::printf("calculate_undone: %d\n", undone);
    // ---- Project views ----
    // The deepest person: the one with the most ancestors among the last thousand made (the youngest).
    QList<FTPerson*> everybody = moc->fetch<FTPerson>({}, [](const FTPerson* a, const FTPerson* b) {
        return a->numericId() < b->numericId();
    });
    FTProjectView* ancestral = FTProjectView::initInMoc(moc.get());
    ancestral->setName(QStringLiteral("Deepest"));
    qsizetype deepest = -1;
    for (qsizetype i = std::max<qsizetype>(0, everybody.size() - 1000); i < everybody.size(); ++i) {
        ancestral->setRootPersonInAncestralView(everybody[i]);
        const qsizetype n = ancestral->persons().size();
        if (n > deepest) {
            deepest = n;
            ancestral->setName(everybody[i]->name());
        }
    }
    for (qsizetype i = std::max<qsizetype>(0, everybody.size() - 1000); i < everybody.size(); ++i) {
        ancestral->setRootPersonInAncestralView(everybody[i]);
        if (ancestral->persons().size() == deepest)
            break;
    }
    FTProjectView* half = FTProjectView::initInMoc(moc.get());
    half->setName(QStringLiteral("Half"));
    for (qsizetype i = 0; i < everybody.size(); i += 2)
        half->addPersonsObject(everybody[i]);
    moc->saveMoc();
    std::printf("ancestral_view_people: %lld\nhalf_view_people: %lld\n", static_cast<long long>(deepest),
                static_cast<long long>(half->storedPersons().size()));
    ProjectViewsCombining combining(moc.get());
    combining.setViews(ancestral, half);
    double slowest = 0;
    for (int op = ProjectViewsCombining::AND; op <= ProjectViewsCombining::NOT; ++op) {
        QElapsedTimer timer;
        timer.start();
        combining.setOperator(op);
        const double ms = timer.nsecsElapsed() / 1e6;
        slowest = std::max(slowest, ms);
        std::printf("views_combine_%s_ms: %.1f\nviews_combine_%s_people: %lld\n",
                    qPrintable(ProjectViewsCombining::operatorWord(op).toLower()), ms,
                    qPrintable(ProjectViewsCombining::operatorWord(op).toLower()),
                    static_cast<long long>(combining.people().size()));
    }
    std::printf("views_combine_ms: %.1f\n", slowest);
    // What the combining window adds to the largest result: its people sorted by name with years for the list.
    combining.setOperator(ProjectViewsCombining::IOR);
    timed("views_combine_listed", [&] {
        QList<FTPerson*> listed = combining.people();
        return sortByNameWithYears(listed).size();
    });

    // ---- Comments and notes ----
    // Half the people get a note broken at every line end by a blank, a tenth a comment with a census line.
    static const Key kNotes("notes");
    static const Key kComments("comments");
    for (qsizetype i = 0; i < everybody.size(); ++i) {
        if (i % 2 == 0)
            everybody[i]->setPrimitiveValue(
                kNotes, QStringLiteral("Letter %1 from the parish \nabout the farm at Kew \nsigned: \nthe vicar").arg(i));
        if (i % 10 == 0)
            everybody[i]->setPrimitiveValue(kComments, QStringLiteral("census 1881 entry %1\nborn at sea").arg(i));
    }
    moc->saveMoc();
    // Opening reads, sorts and folds every note once, so that each keystroke of the filter only compares.
    QElapsedTimer opening;
    opening.start();
    PersonalTextEditing notes(moc.get(), PersonalTextEditing::Notes);
    std::printf("notes_open_ms: %.1f\n", opening.nsecsElapsed() / 1e6);
    std::printf("noted_people: %lld\n", static_cast<long long>(notes.people().size()));
    const qsizetype notesFound = timed("notes_filter", [&] {
        notes.setFilter(QStringLiteral("farm at kew"));
        return notes.people().size();
    });
    std::printf("notes_filter_people: %lld\n", static_cast<long long>(notesFound));
    notes.setFilter({});
    PersonalTextEditing comments(moc.get(), PersonalTextEditing::Comments);
    comments.setFilter(QStringLiteral("census"));
    prompts.answer = PersonalTextEditing::ReplaceAll;
    const int commentsChanged
        = timed("comments_delete_lines", [&] { return comments.deleteAllLinesThatContainTheFilterString(); });
    std::printf("comments_changed: %d\n", commentsChanged);
    prompts.answer = 0; // Proceed
    const int joined = timed("notes_join_all", [&] { return notes.replaceSpaceLinefeedWithSpaceAll(); });
    std::printf("notes_joined: %d\n", joined);

    // ---- Pruning ----
    // A thousand people with nobody, the minor groups to prune.
    for (int i = 0; i < 1000; ++i)
        FTPerson::initInMoc(moc.get(), QStringLiteral("Stray Person%1").arg(i), QStringLiteral("M"));
    moc->saveMoc();
    MinorDynasties dynasties(moc.get());
    timed("prune_grouping", [&] {
        dynasties.loadDynasties();
        return dynasties.rows().size();
    });
    std::printf("prune_main_people: %lld\nprune_other_people: %d\n",
                static_cast<long long>(dynasties.mainDynasty().size()), dynasties.numOtherPeople());
    QList<int> strays;
    for (int row = 0; row < dynasties.rows().size() && strays.size() < 1000; ++row)
        if (dynasties.rows()[row].person)
            strays << row;
    CancellingPanel panel;
    const int pruned = timed("prune_delete_1000",
        [&] { return dynasties.deleteSelectedPeople(strays, moc->path(), &panel); });
    std::printf("pruned_people: %d\n", pruned);

    // ---- To-do notes ----
    for (qsizetype i = 0; i < everybody.size(); i += 100)
        if (!everybody[i]->isDeleted())
            everybody[i]->setTodo(QStringLiteral("Find the \"will\" of %1\nand the deeds").arg(i));
    moc->saveMoc();
    TodoNotes todos(moc.get());
    timed("todo_list", [&] {
        todos.loadPeopleArray();
        return todos.writeListing();
    });
    std::printf("todo_people: %lld\n", static_cast<long long>(todos.people().size()));

    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());
    return 0;
}
