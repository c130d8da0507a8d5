// Merging sources: two sources of one database (their differences, the move of the citations, deleting or keeping
// the first), and the fields of a source of another database brought into the same-titled source here.

#include "SourcesFixture.h"

#include "sources/SourceFieldsMerge.h"
#include "sources/SourcePairMerge.h"

#include "model/FTMocUndoManager.h"

#include "platform/Localizer.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
QString L(const char* key)
{
    return LocalizedString(key);
}
}

using SourcePairMergeTest = SourcesFixture;

TEST_F(SourcePairMergeTest, DifferencesLeaveOutTheNumberAndListTheFieldsWithAnd)
{
    struct Case {
        SourcesFixture::Fields second;
        QStringList different;
        QString text;
    };
    const SourcesFixture::Fields first
        = { { "type", "Census" }, { "title", "1881 census" }, { "author", "GRO" }, { "notes", "Piece 12" } };
    const Case cases[] = {
        { first, {}, L("SameFields") },
        { { { "type", "Census" }, { "title", "1881 Census" }, { "author", "GRO" }, { "notes", "Piece 13" } },
            { "title", "notes" }, L("DifferentFields") + "title " + L("ConjunctiveAnd") + " notes" },
        { { { "type", "Will" }, { "title", "1881 census" }, { "notes", "Piece 12" } }, { "type", "author" },
            L("DifferentFields") + "type " + L("ConjunctiveAnd") + " author" },
        { { { "title", "1881 census" }, { "author", "GRO" }, { "date", "1881" }, { "notes", "" } },
            { "type", "date", "notes" }, L("DifferentFields") + "type, date " + L("ConjunctiveAnd") + " notes" },
    };
    for (const Case& c : cases) {
        FTSource* a = source(first);
        FTSource* b = source(c.second);
        ASSERT_NE(a->numericId(), b->numericId());
        SourcePairMerge pair(a, b);
        EXPECT_EQ(pair.differentFields(), c.different);
        EXPECT_EQ(pair.differences(), c.text);
        for (const QString& field : SourcePairMerge::shownFields())
            EXPECT_EQ(pair.differs(field), c.different.contains(field)) << field.toStdString();
    }
}

TEST_F(SourcePairMergeTest, MergeMovesTheCitationsThenDeletesOrKeepsTheFirstAndSaves)
{
    for (const bool keep : { false, true }) {
        prompts.clear();
        toBeDeleted.clear();
        FTSource* a = source({ { "title", "Register" } });
        FTSource* b = source({ { "title", "Register" } });
        const QList<FTSourceRel*> moved = cite(a, 3);
        cite(b, 1);
        moc->setActiveSource(a);
        SourcePairMerge pair(a, b);
        EXPECT_EQ(pair.mergeButtonTitle(),
            L("MergeSource1") + QString::number(a->numericId()) + L("MergeSource2") + QString::number(b->numericId()));
        prompts.answer(keep ? 1 : 0);

        const SourcePairMerge::Outcome outcome = pair.merge();

        EXPECT_EQ(outcome.moved, 3);
        EXPECT_EQ(outcome.deleted, !keep);
        for (const FTSourceRel* c : moved)
            EXPECT_EQ(c->source(), b);
        EXPECT_EQ(b->numSourceRels(), 4);
        ASSERT_EQ(prompts.records.size(), 1);
        const QString a1 = QString::number(a->numericId()), b1 = QString::number(b->numericId());
        EXPECT_EQ(prompts.records[0].text,
            "3" + L("RefsMoved1") + a1 + L("RefsMoved2") + b1 + "\n\n" + L("RefsMoved3") + a1 + L("RefsMoved4"));
        EXPECT_THAT(
            prompts.records[0].buttons, ElementsAre(L("DeleteSource") + " " + a1, L("RetainSource") + " " + a1));
        if (keep) {
            EXPECT_FALSE(a->isDeleted());
            EXPECT_EQ(a->numSourceRels(), 0);
            EXPECT_EQ(pair.source1(), a);
            EXPECT_EQ(moc->activeSource(), a);
        } else {
            // Through the one deletion routine: announced, and the active source cleared.
            EXPECT_TRUE(a->isDeleted());
            EXPECT_EQ(pair.source1(), nullptr);
            EXPECT_THAT(toBeDeleted, ElementsAre(a));
            EXPECT_EQ(moc->activeSource(), nullptr);
        }
        EXPECT_FALSE(moc->hasChanges());
    }
}

TEST_F(SourcePairMergeTest, ASourceWithoutCitationsReportsNoneMovedAndMayStillBeDeleted)
{
    FTSource* a = source({ { "title", "Empty" } });
    FTSource* b = source({ { "title", "Full" } });
    cite(b, 2);
    EXPECT_EQ(SourcePairMerge::citationCount(a), L("NumRefs") + " = 0");
    EXPECT_EQ(SourcePairMerge::citationCount(b), L("NumRefs") + " = 2");
    const SourcePairMerge::Outcome outcome = SourcePairMerge(a, b).merge();
    EXPECT_EQ(outcome.moved, 0);
    EXPECT_TRUE(outcome.deleted);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(prompts.records[0].text.startsWith("0" + L("RefsMoved1")));
    EXPECT_TRUE(a->isDeleted());
    EXPECT_EQ(b->numSourceRels(), 2);
}

TEST_F(SourcePairMergeTest, DeletingTheFirstSourceMovesItsPictureOrSaysFirstThatItGoes)
{
    for (const bool secondHasPicture : { false, true }) {
        prompts.clear();
        FTSource* a = source({ { "title", "Deed" } });
        FTSource* b = source({ { "title", "Deed" } });
        FTPicture* picture = pictureOf(a, "<p>Witnessed by</p>");
        FTPicture* secondsPicture = secondHasPicture ? pictureOf(b, "<p>Copy</p>") : nullptr;
        ASSERT_TRUE(moc->saveMoc());
        const QString a1 = QString::number(a->numericId()), b1 = QString::number(b->numericId());

        EXPECT_TRUE(SourcePairMerge(a, b).merge().deleted);

        ASSERT_EQ(prompts.records.size(), 1);
        EXPECT_TRUE(prompts.records[0].text.endsWith(
            L("RefsMoved4") + "\n\n" + L(secondHasPicture ? "MergeDeletesPicture" : "MergeMovesPicture").arg(a1, b1)));
        EXPECT_TRUE(a->isDeleted());
        if (secondHasPicture) {
            EXPECT_TRUE(picture->isDeleted()); // as the question said
            EXPECT_EQ(b->picture(), secondsPicture);
        } else {
            ASSERT_FALSE(picture->isDeleted());
            EXPECT_EQ(b->picture(), picture);
            EXPECT_EQ(picture->transcription(), "<p>Witnessed by</p>");
        }
        EXPECT_FALSE(moc->hasChanges());
    }
}

using SourceFieldsMergeTest = SourcesFixture;

TEST_F(SourceFieldsMergeTest, FindMatchIgnoresLetterCase)
{
    const QList<FTSource*> here = { source({ { "title", "Kew census" } }), source({ { "title", "Parish register" } }),
        source({ { "title", "PARISH REGISTER" } }), source() };
    auto match = [&](FTSource* other) { return SourceFieldsMerge::findMatch(here, other); };
    EXPECT_THAT(match(source({ { "title", "parish Register" } })), ElementsAre(1, 2));
    EXPECT_THAT(match(source({ { "title", "Will" } })), ElementsAre());
    EXPECT_THAT(match(source()), ElementsAre(3)); // no title matches no title, not everything
    EXPECT_THAT(match(nullptr), ElementsAre());
}

TEST_F(SourceFieldsMergeTest, DifferencesCountPresentFieldsOfTheOtherSourceAndTheNumber)
{
    FTSource* here = numbered(4, { { "type", "Census" }, { "title", "Kew" }, { "author", "GRO" } });
    struct Case {
        FTSource* other;
        FTSource* target;
        QList<bool> different;
        QString message;
    };
    const Case cases[] = {
        // Equal but for the number: one field.
        { numbered(9, { { "type", "Census" }, { "title", "Kew" }, { "author", "GRO" } }), here,
            { true, false, false, false, false, false, false, false, false },
            "1 " + L("field") + L("is") + " " + L("different") + "." },
        // A field the other source lacks never differs; an empty text does.
        { numbered(4, { { "title", "KEW" }, { "notes", "" } }), here,
            { false, false, true, false, false, false, false, false, true },
            "2 " + L("field") + L("isPlural") + " " + L("different") + "." },
        { numbered(4, { { "type", "Census" }, { "title", "Kew" }, { "author", "GRO" } }), here,
            { false, false, false, false, false, false, false, false, false }, L("SourceAndTargetSame") },
        // Nothing selected here: every present field differs.
        { numbered(7, { { "title", "Kew" } }), nullptr, { true, false, true, false, false, false, false, false, false },
            "2 " + L("field") + L("isPlural") + " " + L("different") + "." },
        { nullptr, here, QList<bool>(9, false), L("SourceAndTargetSame") },
    };
    for (const Case& c : cases) {
        const SourceFieldsMerge::Comparison result = SourceFieldsMerge::highlightDifferences(c.other, c.target);
        EXPECT_EQ(result.different, c.different);
        EXPECT_EQ(result.message, c.message);
    }
}

TEST_F(SourceFieldsMergeTest, MergeCopiesTheDifferingTextsAsOneUndoableAction)
{
    FTSource* here = numbered(4, { { "type", "Census" }, { "title", "Kew" }, { "author", "GRO" }, { "date", "1881" } });
    FTSource* other = numbered(9,
        { { "type", "Census return" }, { "title", "Kew" }, { "author", "" }, { "location", "TNA" },
            { "notes", "RG11/123" } });
    moc->saveMoc();
    moc->undoManager()->closeOpenGroups();

    EXPECT_EQ(SourceFieldsMerge::merge(other, here), 4);

    EXPECT_EQ(here->type(), "Census return");
    EXPECT_EQ(here->author(), ""); // an empty text overwrites
    EXPECT_EQ(here->location(), "TNA");
    EXPECT_EQ(here->notes(), "RG11/123");
    EXPECT_EQ(here->date(), "1881"); // absent there: kept
    EXPECT_EQ(here->numericId(), 4); // the number is never merged
    EXPECT_THAT(messages(), ElementsAre("4 " + L("field") + L("wasPlural") + " " + L("merged")));

    EXPECT_EQ(moc->undoManager()->undoActionName(), L("MergeSourceFromDb"));
    moc->undoManager()->undo();
    EXPECT_EQ(here->type(), "Census");
    EXPECT_EQ(here->author(), "GRO");
    EXPECT_TRUE(here->isNil(Key("location")));
    EXPECT_TRUE(here->isNil(Key("notes")));
}

TEST_F(SourceFieldsMergeTest, MergeOfEqualSourcesChangesNothingAndWithoutASideAsksForOne)
{
    FTSource* here = numbered(4, { { "title", "Kew" } });
    FTSource* other = numbered(9, { { "title", "Kew" } });
    moc->saveMoc();
    EXPECT_EQ(SourceFieldsMerge::merge(other, here), 0);
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_NE(moc->undoManager()->undoActionName(), L("MergeSourceFromDb"));

    prompts.clear();
    EXPECT_EQ(SourceFieldsMerge::merge(nullptr, here), std::nullopt);
    EXPECT_EQ(SourceFieldsMerge::merge(other, nullptr), std::nullopt);
    EXPECT_THAT(messages(),
        ElementsAre(L("MergeSrcTryAgain1") + " " + L("SourceDb") + " " + L("MergeSrcTryAgain2"),
            L("MergeSrcTryAgain1") + " " + L("TargetDb") + " " + L("MergeSrcTryAgain2")));
}
