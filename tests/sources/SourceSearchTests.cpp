// The search over a list of sources: the field options, the number by its leading digits, the stored choice.

#include "SourcesFixture.h"

#include "sources/SourceSearch.h"

#include "platform/Localizer.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

using SourceSearchTest = SourcesFixture;

namespace {
QList<int> numbers(const QList<FTSource*>& sources)
{
    QList<int> out;
    for (const FTSource* s : sources)
        out << s->numericId();
    std::sort(out.begin(), out.end());
    return out;
}
}

TEST_F(SourceSearchTest, NumberMatchesByItsLeadingDigits)
{
    QList<FTSource*> all;
    for (int n = 1; n <= 1300; ++n)
        all << numbered(n);
    SourceSearch search;
    const QList<int> found = numbers(search.filter(all, SourceSearch::Number, "12"));
    QList<int> expected { 12 };
    for (int n = 120; n <= 129; ++n)
        expected << n;
    for (int n = 1200; n <= 1299; ++n)
        expected << n;
    EXPECT_EQ(found, expected); // never 112 or 312
}

TEST_F(SourceSearchTest, EachOptionLooksInItsOwnFieldAndAnyInAllOfThem)
{
    FTSource* census = numbered(1, {{"type", "Census"}, {"title", "1881 census of Kew"}});
    FTSource* will = numbered(2, {{"title", "Will of John"}, {"author", "Zoë Brown"}});
    FTSource* notesOnly = numbered(3, {{"notes", "found in the Kew archive"}});
    const QList<FTSource*> all { census, will, notesOnly };
    SourceSearch search;
    struct Case {
        SourceSearch::Option option;
        const char* text;
        QList<int> expected;
    };
    const Case cases[] = {
        {SourceSearch::Any, "kew", {1, 3}}, // the notes alone are enough
        {SourceSearch::Title, "kew", {1}},
        {SourceSearch::Notes, "KEW", {3}},
        {SourceSearch::Author, "zoe", {2}}, // case and diacritics ignored
        {SourceSearch::Type, "ensu", {1}}, // anywhere in the text
        {SourceSearch::Number, "3", {3}},
        {SourceSearch::Any, "2", {2}},
        {SourceSearch::Title, "", {1, 2, 3}}, // no text, no filter
        {SourceSearch::None, "kew", {1, 2, 3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numbers(search.filter(all, c.option, c.text)), c.expected) << c.option << " " << c.text;

    // What was kept of a source follows its changes.
    will->setTitle("Will of Kew");
    EXPECT_EQ(numbers(search.filter(all, SourceSearch::Title, "kew")), QList<int>({1, 2}));
    census->setNotes(QString());
    census->setTitle(QString());
    EXPECT_EQ(numbers(search.filter(all, SourceSearch::Any, "kew")), QList<int>({2, 3}));
}

TEST_F(SourceSearchTest, TheChoiceIsKeptAsItsTitleAndAnUnknownTitleFiltersNothing)
{
    const QStringList titles = SourceSearch::optionTitles();
    ASSERT_EQ(titles.size(), SourceSearch::kOptionCount);
    EXPECT_EQ(QSet<QString>(titles.begin(), titles.end()).size(), titles.size()); // told apart by their texts

    EXPECT_FALSE(UserDefaults::standard().contains("sourceSearchMenuOption"));
    EXPECT_EQ(SourceSearch::storedOptionTitle(), LocalizedString("SourceSearchAny"));
    EXPECT_EQ(UserDefaults::standard().stringForKey("sourceSearchMenuOption"), LocalizedString("SourceSearchAny"));
    EXPECT_EQ(SourceSearch::optionForTitle(LocalizedString("SourceSearchNotes")), SourceSearch::Notes);

    // A title stored by another language: no option, and every source stays listed.
    SourceSearch::storeOptionTitle("Titel");
    EXPECT_EQ(SourceSearch::storedOptionTitle(), "Titel");
    const SourceSearch::Option option = SourceSearch::optionForTitle("Titel");
    EXPECT_EQ(option, SourceSearch::None);
    const QList<FTSource*> all { numbered(1, {{"title", "a"}}), numbered(2, {{"title", "b"}}) };
    SourceSearch search;
    EXPECT_EQ(search.filter(all, option, "a").size(), 2);
    EXPECT_EQ(SourceSearch::placeholder("Titel"), LocalizedString("FindIn") + " Titel");
}
