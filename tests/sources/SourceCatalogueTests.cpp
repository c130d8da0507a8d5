// The catalogue of sources as the sources editor changes it: deleting, the active source, numbers, merging equal
// sources, notes into titles, the notes format.

#include "SourcesFixture.h"
#include "WorkspaceFixture.h"

#include "sources/SourceCatalogue.h"

#include "model/FTMocUndoManager.h"

#include "platform/Localizer.h"

#include <QFile>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

using SourceCatalogueTest = SourcesFixture;

TEST_F(SourceCatalogueTest, DeletingAsksAboutCitationsThenPostsClearsTheActiveSourceAndDeletes)
{
    struct Case {
        int citations;
        QString question; // empty: nothing asked
    };
    const Case cases[] = {
        {0, ""},
        {1, LocalizedString("OneCitationAssociated")},
        {3, LocalizedString("MultipleCitationsAssociated").arg(3)},
    };
    for (const Case& c : cases) {
        prompts.clear();
        toBeDeleted.clear();
        buttonRedraws.clear();
        FTSource* s = source({{"title", "Parish register"}});
        const QList<FTSourceRel*> citations = cite(s, c.citations);
        moc->setActiveSource(s);

        ASSERT_TRUE(SourceCatalogue(moc.get()).deleteSource(s)) << c.citations;
        if (c.question.isEmpty()) {
            EXPECT_TRUE(prompts.records.isEmpty());
        } else {
            ASSERT_EQ(prompts.records.size(), 1);
            EXPECT_EQ(prompts.records[0].text, c.question);
            EXPECT_EQ(prompts.records[0].info, LocalizedString("DeleteCitationsAlert"));
        }
        EXPECT_THAT(toBeDeleted, ElementsAre(s));
        EXPECT_EQ(moc->activeSource(), nullptr);
        EXPECT_THAT(buttonRedraws, ElementsAre(moc.get()));
        EXPECT_TRUE(s->isDeleted());
        for (const FTSourceRel* r : citations)
            EXPECT_TRUE(r->isDeleted());
        EXPECT_FALSE(moc->hasChanges()); // saved
    }
}

TEST_F(SourceCatalogueTest, DeletingStopsWhenCancelledOrWithoutASource)
{
    FTSource* s = source();
    cite(s, 2);
    prompts.answer(1); // Cancel
    EXPECT_FALSE(SourceCatalogue(moc.get()).deleteSource(s));
    EXPECT_FALSE(s->isDeleted());
    EXPECT_EQ(s->sourceRels().size(), 2);
    EXPECT_TRUE(toBeDeleted.isEmpty());

    prompts.clear();
    EXPECT_FALSE(SourceCatalogue(moc.get()).deleteSource(nullptr));
    EXPECT_THAT(messages(), ElementsAre(LocalizedString("PleaseReselectSource")));
}

TEST_F(SourceCatalogueTest, DeletingAnotherSourceKeepsTheActiveOne)
{
    FTSource* active = source();
    FTSource* other = source();
    moc->setActiveSource(active);
    SourceCatalogue::deleteSourceRecord(other);
    EXPECT_EQ(moc->activeSource(), active);
    EXPECT_TRUE(buttonRedraws.isEmpty());
}

TEST_F(SourceCatalogueTest, TheActiveSourceIsSetWithoutAPageReferenceAndCleared)
{
    FTSource* s = source();
    moc->setActiveSourcePageRef("p. 4");
    SourceCatalogue catalogue(moc.get());
    ASSERT_TRUE(catalogue.setAsActiveSource(s));
    EXPECT_EQ(moc->activeSource(), s);
    EXPECT_TRUE(moc->activeSourcePageRef().isEmpty());
    catalogue.deactivateActiveSource();
    EXPECT_EQ(moc->activeSource(), nullptr);
    EXPECT_EQ(buttonRedraws.size(), 2);
    EXPECT_FALSE(catalogue.setAsActiveSource(nullptr));
    EXPECT_THAT(messages(), ElementsAre(LocalizedString("PleaseReselectSource")));
}

TEST_F(SourceCatalogueTest, RenumberingGivesOneToNInNumberOrderAndSetsTheCounter)
{
    SourceCatalogue catalogue(moc.get());
    EXPECT_TRUE(catalogue.renumberAll());
    EXPECT_EQ(moc->modelDefaults()->maxSourceId(), 0); // an empty catalogue

    FTSource* eight = numbered(8, {{"title", "c"}});
    FTSource* three = numbered(3, {{"title", "a"}});
    FTSource* seven = numbered(7, {{"title", "b"}});
    moc->modelDefaults()->setMaxSourceId(12);
    prompts.answer(1);
    EXPECT_FALSE(catalogue.renumberAll());
    EXPECT_EQ(three->numericId(), 3);

    EXPECT_TRUE(catalogue.renumberAll());
    EXPECT_EQ(three->numericId(), 1);
    EXPECT_EQ(seven->numericId(), 2);
    EXPECT_EQ(eight->numericId(), 3);
    EXPECT_EQ(moc->modelDefaults()->maxSourceId(), 3);
}

TEST_F(SourceCatalogueTest, ResettingTheCounterLowersItToTheHighestNumberOrSaysItAlreadyIs)
{
    numbered(2);
    numbered(5);
    moc->modelDefaults()->setMaxSourceId(5);
    SourceCatalogue catalogue(moc.get());
    prompts.clear();
    EXPECT_TRUE(catalogue.resetMaxSourceId());
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("resetMaxSourceIdMsg"));
    EXPECT_EQ(prompts.records[1].text, LocalizedString("resetMaxSourceIdFail").arg(5));
    EXPECT_EQ(moc->modelDefaults()->maxSourceId(), 5);

    moc->modelDefaults()->setMaxSourceId(9); // sources deleted from the top
    prompts.clear();
    EXPECT_TRUE(catalogue.resetMaxSourceId());
    EXPECT_EQ(prompts.records.last().text, LocalizedString("resetMaxSourceIdSuccess").arg(5));
    EXPECT_EQ(moc->modelDefaults()->maxSourceId(), 5);

    moc->modelDefaults()->setMaxSourceId(9);
    prompts.clear();
    prompts.answer(1);
    EXPECT_FALSE(catalogue.resetMaxSourceId());
    EXPECT_EQ(moc->modelDefaults()->maxSourceId(), 9);
}

class SourceMergeTest : public SourcesFixture {
protected:
    WorkspaceFixture workspace {TestSupport::tempRoot(), "text/plain"};
};

TEST_F(SourceMergeTest, ARunOfEqualSourcesMergesIntoItsFirstInOnePassAndIsLogged)
{
    const Fields census {{"type", "Census"}, {"title", "1881 census"}, {"date", "1881"}};
    FTSource* first = numbered(4, census);
    FTSource* other = numbered(5, {{"type", "Census"}, {"title", "1891 census"}});
    FTSource* second = numbered(6, census);
    FTSource* third = numbered(9, census);
    cite(first, 1);
    cite(second, 2);
    cite(third, 3);
    moc->setActiveSource(third);
    moc->undoManager()->closeOpenGroups();

    const auto result = SourceCatalogue(moc.get()).mergeAllEqualSources({first, other, second, third});
    EXPECT_EQ(result.merged, 2);
    EXPECT_EQ(result.moved, 5);
    EXPECT_THAT(result.remaining, ElementsAre(first, other));
    EXPECT_TRUE(second->isDeleted());
    EXPECT_TRUE(third->isDeleted());
    EXPECT_EQ(first->sourceRels().size(), 6);
    EXPECT_THAT(toBeDeleted, ElementsAre(second, third));
    EXPECT_EQ(moc->activeSource(), nullptr); // the merged active source no longer stands
    EXPECT_THAT(buttonRedraws, ElementsAre(moc.get()));

    const QString summary = LocalizedString("MergeSourcesSummary").arg(2).arg(5);
    EXPECT_THAT(messages(), ElementsAre(LocalizedString("UndoAdviceWithSummary").arg(summary)));
    QFile log(dataFolder() + "/Reports/SourceMerge.txt");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString description = first->sourceDescriptionForCompareAndMerge();
    EXPECT_EQ(QString::fromUtf8(log.readAll()),
              LocalizedString("MergedSourcesConfirmation").arg(6).arg(4).arg(description) + "\n" +
                  LocalizedString("MergedSourcesConfirmation").arg(9).arg(4).arg(description) + "\n\n" + summary +
                  "\n\n");
    EXPECT_EQ(result.logPath, log.fileName());
    EXPECT_THAT(workspace.launched(), testing::Contains(log.fileName()));

    // One undo brings both sources and their citations back.
    moc->undoManager()->closeOpenGroups();
    moc->undoManager()->undo();
    EXPECT_FALSE(third->isDeleted());
    EXPECT_EQ(third->sourceRels().size(), 3);
    EXPECT_EQ(first->sourceRels().size(), 1);
}

TEST_F(SourceMergeTest, APictureMovesToASurvivorWithoutOneAndTwoPicturesKeepTheirSourcesApart)
{
    const Fields will {{"title", "Will of John Lee"}};
    FTSource* first = numbered(1, will);
    FTSource* second = numbered(2, will);
    FTSource* third = numbered(3, will);
    FTPicture* secondsPicture = pictureOf(second, "<p>I leave my house</p>");
    FTPicture* thirdsPicture = pictureOf(third, "<p>Codicil</p>");
    ASSERT_TRUE(moc->saveMoc());

    const auto result = SourceCatalogue(moc.get()).mergeAllEqualSources({first, second, third});
    EXPECT_EQ(result.merged, 1);
    EXPECT_EQ(result.keptApart, 1);
    EXPECT_THAT(result.remaining, ElementsAre(first, third));
    EXPECT_TRUE(second->isDeleted());
    ASSERT_FALSE(secondsPicture->isDeleted());
    EXPECT_EQ(secondsPicture->source(), first);
    EXPECT_EQ(first->picture(), secondsPicture);
    EXPECT_EQ(secondsPicture->transcription(), "<p>I leave my house</p>");
    EXPECT_EQ(secondsPicture->sourceRels().size(), 1); // its citation, moved to the first source
    EXPECT_EQ(third->picture(), thirdsPicture);
    EXPECT_FALSE(thirdsPicture->isDeleted());
    ASSERT_TRUE(moc->saveMoc());
    EXPECT_EQ(moc->fetch<FTPicture>().size(), 2);

    const QString summary = LocalizedString("MergeSourcesSummary").arg(1).arg(1) + " "
        + LocalizedString("MergeSourcesKeptApartSummary").arg(1);
    EXPECT_THAT(messages(), ElementsAre(LocalizedString("UndoAdviceWithSummary").arg(summary)));
    QFile log(dataFolder() + "/Reports/SourceMerge.txt");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString description = first->sourceDescriptionForCompareAndMerge();
    EXPECT_EQ(QString::fromUtf8(log.readAll()),
              LocalizedString("MergedSourcesConfirmation").arg(2).arg(1).arg(description) + "\n" +
                  LocalizedString("SourcesKeptApartForPictures").arg(3).arg(1).arg(description) + "\n\n" +
                  summary + "\n\n");
}

TEST_F(SourceMergeTest, AnAbsentFieldAndAnEmptyOneDifferAndNothingMergedWritesNoLog)
{
    FTSource* absent = numbered(1, {{"title", "Register"}});
    FTSource* empty = numbered(2, {{"title", "Register"}, {"author", ""}});
    FTSource* caseOnly = numbered(3, {{"title", "register"}});
    const auto result = SourceCatalogue(moc.get()).mergeAllEqualSources({absent, empty, caseOnly});
    EXPECT_EQ(result.merged, 0);
    EXPECT_EQ(result.remaining.size(), 3);
    EXPECT_FALSE(QFile::exists(dataFolder() + "/Reports/SourceMerge.txt"));
    EXPECT_TRUE(result.logPath.isEmpty());
    EXPECT_EQ(messages().size(), 1); // the summary of nothing
}

TEST_F(SourceMergeTest, ALogThatCannotBeWrittenIsReportedAndTheMergesStand)
{
    QFile blocker(dataFolder() + "/Reports"); // a file where the reports folder belongs
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FTSource* a = numbered(1, {{"title", "Will"}});
    FTSource* b = numbered(2, {{"title", "Will"}});
    cite(b, 1);
    const auto result = SourceCatalogue(moc.get()).mergeAllEqualSources({a, b});
    EXPECT_EQ(result.merged, 1);
    EXPECT_TRUE(b->isDeleted());
    EXPECT_EQ(a->sourceRels().size(), 1);
    ASSERT_EQ(messages().size(), 2);
    EXPECT_EQ(messages()[1], LocalizedString("UnableToWriteFile") + ": " + dataFolder() + "/Reports/SourceMerge.txt");
}

TEST_F(SourceCatalogueTest, NotesMoveOnlyIntoEmptyTitlesWithoutUndo)
{
    FTSource* untitled = source({{"notes", "  Kew parish register\n"}});
    untitled->setFlags(5);
    FTSource* blankTitle = source({{"title", "  "}, {"notes", "Census"}});
    FTSource* titled = source({{"title", "Will"}, {"notes", "kept"}});
    FTSource* noNotes = source();
    moc->saveMoc();
    moc->undoManager()->closeOpenGroups();

    SourceCatalogue catalogue(moc.get());
    prompts.answer(0); // the first button is Cancel
    EXPECT_EQ(catalogue.moveNotesToTitle({untitled}), std::nullopt);
    EXPECT_EQ(untitled->title(), QString());

    prompts.clear();
    prompts.answer(1);
    EXPECT_EQ(catalogue.moveNotesToTitle({untitled, blankTitle, titled, noNotes}), 2);
    EXPECT_EQ(untitled->title(), "Kew parish register");
    EXPECT_TRUE(untitled->isNil(Key("notes")));
    EXPECT_EQ(untitled->flags(), 0);
    EXPECT_EQ(blankTitle->title(), "Census");
    EXPECT_EQ(titled->title(), "Will");
    EXPECT_EQ(titled->notes(), "kept");
    EXPECT_EQ(messages().last(), LocalizedString("MoveNotesToTitleConfirm").arg(2));
    EXPECT_FALSE(moc->hasChanges()); // saved

    // The texts were written raw: an undo of what was recorded leaves them.
    moc->undoManager()->closeOpenGroups();
    while (moc->undoManager()->canUndo())
        moc->undoManager()->undo();
    EXPECT_EQ(untitled->title(), "Kew parish register");
}

TEST_F(SourceCatalogueTest, TypedNumbersAboveTheCounterRaiseItAndNumbersOfOthersOrNonNumbersAreRefused)
{
    FTSource* mine = numbered(3);
    numbered(5);
    moc->modelDefaults()->setMaxSourceId(5);
    SourceCatalogue catalogue(moc.get());
    QString restored;
    EXPECT_TRUE(catalogue.setTypedNumber(mine, "3", &restored)); // its own number
    EXPECT_TRUE(catalogue.setTypedNumber(mine, "4", &restored));
    EXPECT_EQ(mine->numericId(), 4);
    EXPECT_EQ(moc->modelDefaults()->maxSourceId(), 5);
    EXPECT_TRUE(catalogue.setTypedNumber(mine, " 12 ", &restored));
    EXPECT_EQ(mine->numericId(), 12);
    EXPECT_EQ(moc->modelDefaults()->maxSourceId(), 12);
    EXPECT_TRUE(messages().isEmpty());

    struct Case {
        const char* typed;
        QString message;
    };
    const Case refused[] = {
        {"5", LocalizedString("DuplicateSourceAlready").arg("5")},
        {"12a", LocalizedString("SourceNumberNotANumber").arg("12a")},
        {"0", LocalizedString("SourceNumberNotANumber").arg("0")},
        {"", LocalizedString("SourceNumberNotANumber").arg("")},
    };
    for (const Case& c : refused) {
        prompts.clear();
        restored.clear();
        EXPECT_FALSE(catalogue.setTypedNumber(mine, c.typed, &restored)) << c.typed;
        EXPECT_THAT(messages(), ElementsAre(c.message));
        EXPECT_EQ(restored, "12");
        EXPECT_EQ(mine->numericId(), 12);
    }
}

TEST_F(SourceCatalogueTest, TheNotesFormatIsDefinedFromNotesAndAppendedAfterABlankLine)
{
    EXPECT_EQ(SourceCatalogue::appendNotesFormat("x"), std::nullopt);
    EXPECT_FALSE(SourceCatalogue::defineNotesFormat(" \n "));
    EXPECT_THAT(messages(), ElementsAre(LocalizedString("DefineFormatTryAgain"), LocalizedString("RetryDefineNotesFormat")));
    EXPECT_FALSE(UserDefaults::standard().contains("sourceNotesFormat"));

    EXPECT_TRUE(SourceCatalogue::defineNotesFormat("\nVolume: \nPage: \n"));
    EXPECT_EQ(UserDefaults::standard().stringForKey("sourceNotesFormat"), "Volume: \nPage:");
    EXPECT_EQ(messages().last(), LocalizedString("NotesFormatSaved").arg("Volume: \nPage:"));
    EXPECT_EQ(SourceCatalogue::appendNotesFormat("  "), "Volume: \nPage:");
    EXPECT_EQ(SourceCatalogue::appendNotesFormat(" Seen 1990\n"), "Seen 1990\n\nVolume: \nPage:");
}

TEST_F(SourceCatalogueTest, AnEditOfSeveralSourcesIsAskedAbout)
{
    EXPECT_TRUE(SourceCatalogue::confirmEditOfSeveral(1));
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_TRUE(SourceCatalogue::confirmEditOfSeveral(2));
    prompts.answer(1);
    EXPECT_FALSE(SourceCatalogue::confirmEditOfSeveral(5));
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("EditAppliesToBoth"));
    EXPECT_EQ(prompts.records[1].text, LocalizedString("AppliesToXNumberOfSources").arg(5));
    EXPECT_EQ(prompts.records[1].buttons, QStringList({LocalizedString("Continue"), LocalizedString("Cancel")}));
}
