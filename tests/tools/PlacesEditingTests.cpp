// The places editor's work on a database: the word-start filter, renaming, cleaning, map information, moving
// places into notes and names, and the person an event makes focal.

#include "ToolsFixture.h"

#include "tools/PlacesEditing.h"

#include "shell/Utils.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
QStringList placesOf(const QList<FTEvent*>& events)
{
    QStringList out;
    for (const FTEvent* e : events)
        out << e->place();
    return out;
}
}

using PlacesEditor = ToolsFixture;

TEST_F(PlacesEditor, TheFilterWantsEveryWordAtTheStartOfTheTextOrOfAWordAfterABlankOrComma)
{
    FTPerson* p = person("Ann Lee", "F");
    for (const char* place : {"London, England", "New England", "Londonderry", "Paris,France", "Zoë Town", "Sandon"})
        residence(p, QString::fromUtf8(place));
    PlacesEditing editing(moc.get());
    const struct {
        const char* typed;
        QStringList shown;
    } cases[] = {
        {"lon eng", {"London, England"}},
        {"  LON   ", {"London, England", "Londonderry"}},
        {"eng", {"London, England", "New England"}},
        {"fra", {"Paris,France"}},       // after a comma without a blank
        {"don", {}},                      // inside a word
        {"zoe", {QString::fromUtf8("Zoë Town")}},
        {"lon fra", {}},
        {"", {"London, England", "Londonderry", "New England", "Paris,France", "Sandon", QString::fromUtf8("Zoë Town")}},
    };
    for (const auto& c : cases) {
        editing.setFilterText(c.typed);
        editing.refreshPlaceNamesArray(false);
        EXPECT_EQ(editing.places(), c.shown) << c.typed;
    }
}

TEST_F(PlacesEditor, RenamingChangesEveryEventOfThePlaceInOneUndoStepAndTheListFollows)
{
    FTPerson* ann = person("Ann Lee", "F");
    FTPerson* bob = person("Bob Lee");
    FTEvent* a = residence(ann, "Lodnon");
    FTEvent* b = event(bob, FTEvent::BirthEvent, "Lodnon", "1 Jan 1900");
    FTEvent* other = residence(bob, "York");
    settle();
    PlacesEditing editing(moc.get());

    // The same text again changes nothing and says nothing.
    EXPECT_FALSE(editing.renamePlace("Lodnon", "Lodnon", {a, b}));
    EXPECT_THAT(messages(), IsEmpty());

    ASSERT_TRUE(editing.renamePlace("Lodnon", "London", editing.eventsAtPlaces({"Lodnon"})));
    EXPECT_EQ(placesOf({a, b, other}), QStringList({"London", "London", "York"}));
    EXPECT_THAT(messages(), ElementsAre(QString("2 %1 \"Lodnon\" %2 \"London\".").arg(L("occurrencesOf"), L("areReplaced"))));
    EXPECT_EQ(moc->places(), QStringList({"London", "York"}));
    EXPECT_FALSE(moc->hasChanges()) << "saved";

    undo();
    EXPECT_EQ(placesOf({a, b, other}), QStringList({"Lodnon", "Lodnon", "York"}));
    EXPECT_EQ(moc->places(), QStringList({"Lodnon", "York"}));
}

TEST_F(PlacesEditor, CleaningAsksPlaceByPlaceAndStopKeepsAndReportsWhatWasDone)
{
    FTPerson* p = person("Ann Lee", "F");
    FTEvent* leeds1 = residence(p, "Leeds ,Yorkshire");
    FTEvent* leeds2 = residence(p, "Leeds ,Yorkshire");
    FTEvent* paris = residence(p, " Paris,France");
    FTEvent* york = residence(p, "York.");
    FTEvent* clean = residence(p, "Bath, Somerset");
    settle();
    PlacesEditing editing(moc.get());
    editing.refreshPlaceNamesArray(false);

    // In list order: " Paris,France" changed, "Bath, Somerset" passed over, "Leeds ,Yorkshire" changed, then Stop.
    prompts.answer(0);
    prompts.answer(0);
    prompts.answer(2);
    EXPECT_EQ(editing.autoClean(true), 3);
    EXPECT_EQ(placesOf({leeds1, leeds2, paris, york, clean}),
              QStringList({"Leeds, Yorkshire", "Leeds, Yorkshire", "Paris, France", "York.", "Bath, Somerset"}));
    ASSERT_EQ(prompts.records.size(), 4);
    EXPECT_EQ(prompts.records[0].text, QString("%1\n\n Paris,France\n\n%2\n\nParis, France\n\n%3 1 %4")
                                           .arg(L("ChangePlaceName"), L("ConjunctiveTo"), L("ConjunctiveIn"), L("Event").toLower()));
    EXPECT_EQ(prompts.records[0].info, L("PlaceWithLeadingSpace"));
    EXPECT_EQ(prompts.records[0].buttons, QStringList({L("Change"), L("Skip"), L("Stop")}));
    EXPECT_EQ(prompts.records[1].text.section("\n\n", 1, 1), "Leeds ,Yorkshire");
    EXPECT_TRUE(prompts.records[1].text.endsWith("2 " + L("Events").toLower()));
    EXPECT_EQ(prompts.records[1].info, "");
    EXPECT_EQ(prompts.records[2].text.section("\n\n", 1, 1), "York.");
    EXPECT_EQ(prompts.records[3].text, QString("3 %1%2 %3.").arg(L("PlaceName"), L("wasPlural"), L("changed")));
    EXPECT_FALSE(moc->hasChanges()) << "saved after Stop";
    EXPECT_EQ(moc->places(), QStringList({"Bath, Somerset", "Leeds, Yorkshire", "Paris, France", "York."}));

    undo();
    EXPECT_EQ(placesOf({leeds1, leeds2, paris}), QStringList({"Leeds ,Yorkshire", "Leeds ,Yorkshire", " Paris,France"}));
}

TEST_F(PlacesEditor, CleaningWithoutAskingTouchesOnlyPlacesWithACommaAFullStopOrALeadingBlank)
{
    FTPerson* p = person("Ann Lee", "F");
    const QStringList before{"A  B", "Hull ", " Leeds", "York.", "Bath ,Somerset", "Kew, Surrey"};
    QList<FTEvent*> events;
    for (const QString& place : before)
        events << residence(p, place);
    settle();
    PlacesEditing editing(moc.get());
    EXPECT_EQ(editing.autoClean(false), 3);
    EXPECT_EQ(placesOf(events), QStringList({"A  B", "Hull ", "Leeds", "York", "Bath, Somerset", "Kew, Surrey"}));
    EXPECT_THAT(messages(), ElementsAre(QString("3 %1%2 %3.").arg(L("PlaceName"), L("wasPlural"), L("changed"))));

    // One change is "was"; none is plural again.
    prompts.clear();
    events[0]->setPlace("Ely.");
    editing.autoClean(false);
    editing.autoClean(false);
    EXPECT_THAT(messages(), ElementsAre(QString("1 %1%2 %3.").arg(L("PlaceName"), L("was"), L("changed")),
                                        QString("0 %1%2 %3.").arg(L("PlaceName"), L("wasPlural"), L("changed"))));
}

TEST_F(PlacesEditor, ClearingMapInformationAsksOnlyWhenOtherEventsShareThePlace)
{
    FTPerson* p = person("Ann Lee", "F");
    const QString link = "https://maps.example/?q=Kew&ll=51.48,-0.29";
    FTEvent* alone = residence(p, "Ely");
    FTEvent* kew1 = residence(p, "Kew");
    FTEvent* kew2 = residence(p, "Kew");
    FTEvent* kew3 = residence(p, "Kew");
    for (FTEvent* e : {alone, kew1, kew2, kew3})
        e->saveGoogleMapUrl(link);
    settle();
    PlacesEditing editing(moc.get());

    EXPECT_TRUE(editing.deleteMapInfo(alone));
    EXPECT_THAT(messages(), IsEmpty());
    EXPECT_FALSE(alone->googleMapUrl().isValid());

    prompts.answer(1); // the selected event only
    EXPECT_TRUE(editing.deleteMapInfo(kew1));
    EXPECT_THAT(messages(), ElementsAre(QString("%1 2 %2 %3 %4?")
                                            .arg(L("DeleteGeocodeFor"), L("other"), L("Events").toLower(), L("withSamePlaceName"))));
    EXPECT_EQ(kew1->latitude(), 0.0f);
    EXPECT_NE(kew2->latitude(), 0.0f);

    prompts.answer(0); // all of them
    editing.deleteMapInfo(kew2);
    EXPECT_FALSE(kew3->googleMapUrl().isValid());
    EXPECT_EQ(kew3->longitude(), 0.0f);

    undo();
    EXPECT_TRUE(kew3->googleMapUrl().isValid());
    EXPECT_NE(kew2->latitude(), 0.0f);

    kew1->setPlace("");
    EXPECT_FALSE(editing.deleteMapInfo(kew1)) << "an event without a place";
}

TEST_F(PlacesEditor, APlaceBecomesAnEventNameWithItsLittleWordsPutBackOnlyBetweenBlanks)
{
    const struct {
        const char* place;
        const char* name;
    } cases[] = {
        {"\" served in THE royal navy \"", "Served in the Royal Navy"},
        {"of mice and men", "Of Mice and Men"},          // a little word first stays capitalised
        {"the end of", "The End Of"},                    // and last too
        {"isle of a an at or", "Isle of a an at Or"},
        {"  \"\"  ", ""},
        {"say \"hello\" in york", "Say hello in York"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlacesEditing::placeAsEventName(c.place), c.name) << c.place;
}

TEST_F(PlacesEditor, MovingPlacesToNotesOrNamesClearsThemInOneUndoStep)
{
    FTPerson* p = person("Ann Lee", "F");
    FTEvent* noted = residence(p, "\"Served in the navy\" ");
    noted->setNotes("Seaman");
    FTEvent* bare = residence(p, "Lived abroad");
    FTEvent* named = event(p, FTEvent::OtherPersonalEvent, "farmer of the parish", {}, "OCCU");
    FTEvent* kept = residence(p, "\"\"");
    settle();
    PlacesEditing editing(moc.get());

    EXPECT_EQ(editing.movePlaceNamesToNotes({}), 0);
    EXPECT_THAT(messages(), ElementsAre(L("SelectEventsTryAgain")));

    EXPECT_EQ(editing.movePlaceNamesToNotes({noted, bare, kept}), 2);
    EXPECT_EQ(noted->notes(), "Seaman Served in the navy");
    EXPECT_EQ(bare->notes(), "Lived abroad");
    EXPECT_EQ(placesOf({noted, bare, kept}), QStringList({"", "", "\"\""})) << "nothing to move, nothing lost";
    EXPECT_EQ(moc->undoManager()->undoActionName(), L("MoveEventToNotes"));

    EXPECT_EQ(editing.movePlaceNamesToNameField({named}), 1);
    EXPECT_EQ(named->name(), "Farmer of the Parish");
    EXPECT_EQ(named->place(), "");
    EXPECT_TRUE(moc->eventNamesForSubtype("OCCU").contains("Farmer of the Parish"));
    EXPECT_EQ(moc->places(), QStringList({"\"\""}));

    undo();
    undo();
    EXPECT_EQ(placesOf({noted, bare, named}), QStringList({"\"Served in the navy\" ", "Lived abroad", "farmer of the parish"}));
    EXPECT_EQ(noted->notes(), "Seaman");
    EXPECT_EQ(bare->notes(), "");
}

TEST_F(PlacesEditor, TheFocalPersonOfACouplesEventIsTheHusbandElseTheWife)
{
    FTPerson* ann = person("Ann Lee", "F");
    FTPerson* bob = person("Bob Lee");
    FTEvent* own = residence(ann, "Kew");
    FTEvent* marriage = event(couple(bob, ann), FTEvent::MarriageEvent, "Kew");
    FTEvent* widow = event(couple(nullptr, ann), FTEvent::MarriageEvent, "Kew");
    FTEvent* nobody = event(couple(nullptr, nullptr), FTEvent::MarriageEvent, "Kew");
    EXPECT_EQ(PlacesEditing::personForEvent(own), ann);
    EXPECT_EQ(PlacesEditing::personForEvent(marriage), bob);
    EXPECT_EQ(PlacesEditing::personForEvent(widow), ann);
    EXPECT_EQ(PlacesEditing::personForEvent(nobody), nullptr);
}
