// Find and replace over the places: what is found and what it becomes, and the run with its four answers.

#include "ToolsFixture.h"

#include "tools/PlacesReplacement.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
QStringList placesOf(const QList<FTEvent*>& events)
{
    QStringList out;
    for (const FTEvent* e : events)
        out << e->place();
    return out;
}
}

class PlacesFindAndReplace : public ToolsFixture {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        FTPerson* p = person("Ann Lee", "F");
        for (const char* place : {"St Ives", "St Albans", "St Albans", "St Neots", "St Kew", "Stow", "Kirkby st Mary"})
            events << residence(p, place);
        settle();
    }
    QList<int> rowsOf(const PlacesReplacement& r, const QStringList& places)
    {
        QList<int> rows;
        for (const QString& place : places)
            rows << int(r.foundPlaces().indexOf(place));
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    QList<FTEvent*> events;
    QList<int> deselected;
};

TEST_F(PlacesFindAndReplace, FindsAsWrittenAndShowsWhatEachPlaceBecomes)
{
    PlacesReplacement r(moc.get());
    EXPECT_EQ(r.foundPlaces().size(), 6) << "every place before anything is typed";
    r.setFindString("st");
    EXPECT_EQ(r.foundPlaces(), QStringList({"Kirkby st Mary"})) << "case counts";
    r.setFindString("St ");
    EXPECT_EQ(r.foundPlaces(), QStringList({"St Albans", "St Ives", "St Kew", "St Neots"}));
    r.setReplacementString("Saint ");
    EXPECT_EQ(r.replacementStringFor("St Ives"), "Saint Ives");
    r.setReplacementString("");
    EXPECT_EQ(r.replacementStringFor("St Ives"), "Ives") << "an empty replacement removes the text";
    EXPECT_EQ(r.replacementStringFor(""), "");
    r.setFindString("");
    EXPECT_EQ(r.replacementStringFor("St Ives"), "");
}

TEST_F(PlacesFindAndReplace, ReplaceIgnoreAndReplaceAllInOneUndoStep)
{
    PlacesReplacement r(moc.get());
    r.setFindString("St ");
    r.setReplacementString("Saint ");
    // St Albans replaced, St Ives ignored, the rest replaced without asking.
    prompts.answer(0);
    prompts.answer(1);
    prompts.answer(3);
    const QList<int> rows = rowsOf(r, {"St Albans", "St Ives", "St Kew", "St Neots"});
    const auto outcome = r.replaceSelectedPlaceNames(rows, [this](int row) { deselected << row; });
    EXPECT_EQ(outcome.places, 3);
    EXPECT_EQ(outcome.events, 4);
    EXPECT_EQ(deselected, rows) << "each row replaced or ignored is deselected";
    EXPECT_EQ(placesOf(events), QStringList({"St Ives", "Saint Albans", "Saint Albans", "Saint Neots", "Saint Kew",
                                             "Stow", "Kirkby st Mary"}));
    ASSERT_EQ(prompts.records.size(), 4) << "no question after Replace All";
    EXPECT_EQ(prompts.records[0].text, QString("%1\n\nSt Albans\n\n%2\n\nSaint Albans\n\n%3 2 %4")
                                           .arg(L("ReplacePlaceName"), L("ReplacePlaceWith"), L("ConjunctiveIn"),
                                                L("Events").toLower()));
    EXPECT_EQ(prompts.records[0].buttons,
              QStringList({L("ReplacePlaceButton"), L("Ignore"), L("Abort"), L("ReplaceAllNoPrompt")}));
    EXPECT_EQ(prompts.records[3].text, QString("3 %1 4 %2").arg(L("placesUpdated"), L("Events").toLower()));
    // Afterwards: saved, the texts cleared and every place shown, built from the events.
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_EQ(r.findString(), "");
    EXPECT_EQ(r.replacementString(), "");
    EXPECT_EQ(r.foundPlaces(), QStringList({"Kirkby st Mary", "Saint Albans", "Saint Kew", "Saint Neots", "St Ives", "Stow"}));
    EXPECT_EQ(moc->undoManager()->undoActionName(), L("ReplaceEventPlaceNames") + ": St  -> Saint ");

    undo();
    EXPECT_EQ(placesOf(events),
              QStringList({"St Ives", "St Albans", "St Albans", "St Neots", "St Kew", "Stow", "Kirkby st Mary"}));
    EXPECT_EQ(moc->places().size(), 6);
}

TEST_F(PlacesFindAndReplace, AbortOrClosingTheQuestionKeepsWhatWasDone)
{
    for (const int abort : {2, ScriptedPrompts::kEscape}) {
        PlacesReplacement r(moc.get());
        r.setFindString("St ");
        r.setReplacementString("");
        prompts.clear();
        prompts.answer(0);
        prompts.answer(abort);
        const auto outcome = r.replaceSelectedPlaceNames(rowsOf(r, r.foundPlaces()), {});
        EXPECT_EQ(outcome.places, 1);
        EXPECT_EQ(outcome.events, 2);
        EXPECT_EQ(prompts.records.size(), 3);
        EXPECT_EQ(prompts.records.last().text, QString("1 %1 2 %2").arg(L("placesUpdated"), L("Events").toLower()));
        undo();
    }
    EXPECT_EQ(placesOf(events).mid(0, 3), QStringList({"St Ives", "St Albans", "St Albans"}));
}

TEST_F(PlacesFindAndReplace, APlaceWhoseEventsWentIsDeselectedWithoutAQuestion)
{
    PlacesReplacement r(moc.get());
    r.setFindString("St Kew");
    r.setReplacementString("Kew");
    const QList<int> rows = rowsOf(r, {"St Kew"});
    events[4]->setPlace("Elsewhere");
    prompts.clear();
    const auto outcome = r.replaceSelectedPlaceNames(rows, [this](int row) { deselected << row; });
    EXPECT_EQ(deselected, rows);
    EXPECT_EQ(outcome.places, 0);
    EXPECT_THAT(messages(), ElementsAre(QString("0 %1 0 %2").arg(L("placesUpdated"), L("Events").toLower())));
}

TEST_F(PlacesFindAndReplace, NothingRunsWithoutAFindTextOrARow)
{
    PlacesReplacement r(moc.get());
    EXPECT_FALSE(r.replaceSelectedPlaceNames({0}, {}).ran);
    r.setFindString("St");
    EXPECT_FALSE(r.replaceSelectedPlaceNames({}, {}).ran);
    EXPECT_THAT(messages(), ElementsAre(L("EnterFindTryAgain"), L("SelectRows")));
    EXPECT_EQ(events[0]->place(), "St Ives");
}
