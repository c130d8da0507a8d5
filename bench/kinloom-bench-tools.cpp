// kinloom-bench-tools [PEOPLE]
// Builds a synthetic family database of PEOPLE people (default 100,000) in a temporary folder and times the work of
// the database-wide editors on it: the places list, its filter and one place's events, find and replace over ten
// thousand places with its save and its undo, the events-by-place listing, the event names of a type and a rename
// of one, the family names, the people of one, and capitalising every family name (all in capitals before). Before
// anything is timed the events get 20,000 distinct place texts, half of them beginning with "St ". Prints one
// figure a line as "name: value" (times in milliseconds).
#include "BenchSupport.h"

#include "tools/EventNamesEditing.h"
#include "tools/FamilyNamesEditing.h"
#include "tools/PlacesEditing.h"
#include "tools/PlacesListing.h"
#include "tools/PlacesReplacement.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"

#include "platform/Prompts.h"
#include "platform/store/Key.h"

#include <QCoreApplication>
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

    std::printf("peak_mb: %.1f\n", peakResidentMegabytes());
    return 0;
}
