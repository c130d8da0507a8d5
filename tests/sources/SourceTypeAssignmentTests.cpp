// Types guessed for untyped sources from the words of their texts.

#include "SourcesFixture.h"

#include "sources/SourceTypeAssignment.h"

#include "platform/Localizer.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

using SourceTypeAssignmentTest = SourcesFixture;

TEST_F(SourceTypeAssignmentTest, CandidatesAreLongestFirstWithTheDatabasesOwnTypesAndWithoutTheExcludedNames)
{
    source({{"type", "Tombstone Photographs of the Parish"}});
    const QStringList names = SourceTypeAssignment::getSourceTypeNames(moc.get());
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.first(), "Tombstone Photographs of the Parish");
    for (qsizetype i = 1; i < names.size(); ++i) {
        ASSERT_GE(names[i - 1].size(), names[i].size());
        if (names[i - 1].size() == names[i].size()) {
            EXPECT_LT(names[i - 1], names[i]);
        }
    }
    EXPECT_TRUE(names.contains(LocalizedString("FTMocSrcTypArray4")));
    EXPECT_TRUE(names.contains(LocalizedHelpString("SrcsAutoType102")));
    EXPECT_FALSE(names.contains(LocalizedHelpString("SrcsAutoType103")));
    EXPECT_FALSE(names.contains(LocalizedHelpString("SrcsAutoType104")));
    EXPECT_FALSE(names.contains("SrcsAutoType101"));
}

TEST_F(SourceTypeAssignmentTest, NamesMatchAsTheRulesSay)
{
    const QStringList types {"Parish Register", "Directory", "Register", "Will", "Book"};
    struct Case {
        Fields fields;
        QString expected; // empty: no type
    };
    const Case cases[] = {
        // The plural of a name ending in "y" finds the singular name.
        {{{"title", "Kelly's trade directories 1890"}}, "Directory"},
        // Short names only as words: followed by a blank or ending the field.
        {{{"title", "Williamson papers"}}, ""},
        {{{"title", "Last will"}}, "Will"},
        {{{"notes", "Bookplate only"}}, ""},
        {{{"author", "A book of days"}}, "Book"},
        // The longest name wins in whatever field it is found.
        {{{"abbreviatedTitle", "Register of deeds"}, {"notes", "from the parish register of Kew"}}, "Parish Register"},
        {{{"location", "Kew"}}, ""},
    };
    for (const Case& c : cases) {
        FTSource* s = source(c.fields);
        EXPECT_EQ(SourceTypeAssignment::setSourceTypeFor(s, types), !c.expected.isEmpty());
        EXPECT_EQ(s->type(), c.expected) << s->shortDescription().toStdString();
    }
}

TEST_F(SourceTypeAssignmentTest, OnlyUntypedSourcesAreTypedAndTheCountIsReported)
{
    FTSource* typed = source({{"type", "Letter"}, {"title", "Baptism register of Kew"}});
    FTSource* blank = source({{"type", "  "}, {"title", "Baptism register of Kew"}});
    FTSource* plain = source({{"title", "Notes of a visit"}});

    prompts.answer(1); // Cancel
    EXPECT_EQ(SourceTypeAssignment::autoPopulateSourceTypes(moc.get()), std::nullopt);
    EXPECT_EQ(blank->type(), "  ");

    prompts.clear();
    EXPECT_EQ(SourceTypeAssignment::autoPopulateSourceTypes(moc.get()), 1);
    EXPECT_EQ(typed->type(), "Letter");
    EXPECT_EQ(blank->type(), LocalizedHelpString("SrcsAutoType6"));
    EXPECT_TRUE(plain->type().isEmpty());
    EXPECT_EQ(prompts.records.first().text, LocalizedHelpString("helpForSourcesAutoPopulateMsg"));
    EXPECT_EQ(messages().last(), "1 " + LocalizedString("SrcRecTypeUpdated"));

    prompts.clear();
    EXPECT_EQ(SourceTypeAssignment::autoPopulateSourceTypes(moc.get()), 0);
    EXPECT_EQ(messages().last(), "0 " + LocalizedString("SrcRecTypeUpdated"));
}

TEST_F(SourceTypeAssignmentTest, TrailingBlanksOfTypesAreTrimmed)
{
    FTSource* trailing = source({{"type", "Census \n "}});
    FTSource* inner = source({{"type", "Parish  Register"}});
    SourceTypeAssignment::correctSourceTypesWithTrailingSpaces(moc.get());
    EXPECT_EQ(trailing->type(), "Census");
    EXPECT_EQ(inner->type(), "Parish  Register");
}
