// Find and replace as the Events menu opens it: typing the texts, choosing the places, replacing.

#include "ToolsWindowFixture.h"

#include "tools/PlaceReplacementModel.h"
#include "tools/ui/EventPlacesFindAndReplace.h"

#include "editor/ui/EditorTableView.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

using FindAndReplaceWindow = ToolsWindowFixture;

TEST_F(FindAndReplaceWindow, TheSecondColumnFollowsTheReplacementAndTheRunEndsWithEveryPlaceShown)
{
    ToolsMenuActions::editEventPlacesFindAndReplace();
    auto* w = sheet<EventPlacesFindAndReplace>();
    ASSERT_NE(w, nullptr);
    const int everyPlace = w->model()->rowCount();
    EXPECT_EQ(everyPlace, moc->places().size());

    w->filterSearchField()->setText("England");
    w->replacementTextField()->setText("Angleterre");
    const QStringList found = w->replacement().foundPlaces();
    EXPECT_EQ(found, QStringList({"London, England", "Manchester, Lancashire, England", "York, England"}));
    EXPECT_EQ(w->model()->index(0, PlaceReplacementModel::ReplacementPlaceNameColumn).data().toString(),
              "London, Angleterre");
    w->selectPlaces({"London, England", "York, England"});
    saveScreenshot(w, "EventPlacesFindAndReplace");

    const int londonEvents = moc->count<FTEvent>([](const FTEvent* e) { return e->place() == "London, England"; });
    prompts.answer(3); // replace all without asking
    w->findChild<QPushButton*>("replaceSelectedPlaceNames")->click();
    EXPECT_EQ(moc->count<FTEvent>([](const FTEvent* e) { return e->place() == "London, Angleterre"; }), londonEvents);
    EXPECT_EQ(moc->count<FTEvent>([](const FTEvent* e) { return e->place() == "Manchester, Lancashire, England"; }) > 0, true)
        << "not selected, not changed";
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_TRUE(prompts.records[1].text.startsWith("2 " + L("placesUpdated")));
    EXPECT_EQ(w->filterSearchField()->text(), "");
    EXPECT_EQ(w->replacementTextField()->text(), "");
    EXPECT_FALSE(w->tv()->selectionModel()->hasSelection());
    EXPECT_EQ(w->model()->rowCount(), everyPlace);
    EXPECT_TRUE(w->replacement().foundPlaces().contains("London, Angleterre"));
    EXPECT_FALSE(w->progressIndicator()->isVisible());

    // Edit > Undo takes the whole run back, and the places offered everywhere are those of the events again (the
    // copy saved with the database still names the replaced places).
    w->done(0);
    doc->undo();
    EXPECT_EQ(moc->count<FTEvent>([](const FTEvent* e) { return e->place() == "London, England"; }), londonEvents);
    EXPECT_TRUE(moc->places().contains("London, England"));
    EXPECT_FALSE(moc->places().contains("London, Angleterre"));
    doc->redo();
    EXPECT_TRUE(moc->places().contains("York, Angleterre"));
    EXPECT_FALSE(moc->places().contains("York, England"));
}
