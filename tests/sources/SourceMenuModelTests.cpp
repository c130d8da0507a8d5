// The menu of a source menu button: its groups by type and second-level option, the entry titles, the warning
// about untyped and untitled sources, and what choosing an entry does for the toolbar and for other owners.

#include "SourcesFixture.h"

#include "sources/SelectASourceDelegate.h"
#include "sources/SourceMenuModel.h"

#include "platform/Localizer.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {
// An owner that records what the menu tells it.
struct RecordingOwner : SelectASourceDelegate {
    bool toolbar = false;
    bool search = true;
    QList<FTSource*> activated, cited;
    QList<std::pair<QList<FTSource*>, QString>> searches;

    bool isToolbar() const override { return toolbar; }
    void setActiveSource(FTSource* s) override { activated << s; }
    void addReference(FTSource* s) override { cited << s; }
    bool respondsToSourceSearch() const override { return search; }
    void selectASourceFromArray(const QList<FTSource*>& sources, const QString& criteria) override
    {
        searches.push_back({sources, criteria});
    }
};

QString option(SourceMenuModel::Option o)
{
    return SourceMenuModel::optionNames().at(o);
}
}

class SourceMenuModelTest : public SourcesFixture {
protected:
    void SetUp() override
    {
        SourcesFixture::SetUp();
        SourceMenuModel::setGroupingWarningArmed(true);
    }
    void TearDown() override
    {
        SourceMenuModel::setGroupingWarningArmed(true);
        SourcesFixture::TearDown();
    }

    // The entry titles of every type, "type: entry, entry; ..." with "--" for a separator.
    static QStringList entries(const SourceMenuModel& menu)
    {
        QStringList out;
        for (int t = 0; t < menu.typeCount(); ++t) {
            QStringList items;
            for (const SourceMenuModel::Item& item : menu.itemsOfType(t))
                items << item.title + (item.separatorAfter ? " --" : "");
            out << menu.typeTitle(t) + ": " + items.join(", ");
        }
        return out;
    }
};

TEST_F(SourceMenuModelTest, AnEmptyDatabaseHasNoGroupsAndNoWarning)
{
    SourceMenuModel menu(moc.get());
    EXPECT_TRUE(menu.loadSourcesArray(option(SourceMenuModel::Title)));
    EXPECT_EQ(menu.typeCount(), 0);
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(SourceMenuModelTest, OptionNamesAreTheLocalisedTextsAndTheChoiceIsStored)
{
    EXPECT_EQ(SourceMenuModel::optionNames(),
        QStringList({"Numeric Id, Title", "Short Title", "Title", "Author", "Publisher", "Date", "Location", "Notes",
            "Long Description"}));
    EXPECT_EQ(SourceMenuModel::optionForName("Author"), SourceMenuModel::Author);
    EXPECT_EQ(SourceMenuModel::optionForName("Colour"), SourceMenuModel::OptionCount);
    // Nothing stored yet: the title option is stored and answered.
    EXPECT_EQ(SourceMenuModel::storedOptionName(), "Title");
    EXPECT_EQ(UserDefaults::standard().stringForKey("sourcesSubMenu"), "Title");

    RecordingOwner owner;
    QString chosen = "Title";
    SourceMenuModel::Choice choice;
    choice.kind = SourceMenuModel::Choice::OptionName;
    choice.optionName = "Author";
    EXPECT_TRUE(SourceMenuModel::selectSource(choice, moc.get(), &owner, &chosen));
    EXPECT_EQ(chosen, "Author");
    EXPECT_EQ(SourceMenuModel::storedOptionName(), "Author");
    choice.optionName = "Colour"; // not one of the nine: ignored
    EXPECT_FALSE(SourceMenuModel::selectSource(choice, moc.get(), &owner, &chosen));
    EXPECT_EQ(chosen, "Author");
    EXPECT_EQ(SourceMenuModel::storedOptionName(), "Author");
}

TEST_F(SourceMenuModelTest, AnUnknownOptionIsReportedAndOffersNoSources)
{
    numbered(1, {{"type", "Census"}, {"title", "Kew 1881"}});
    SourceMenuModel menu(moc.get());
    EXPECT_FALSE(menu.loadSourcesArray("Colour"));
    EXPECT_EQ(menu.typeCount(), 0);
    EXPECT_THAT(messages(), ElementsAre("gSubMenuOption = Colour"));
}

TEST_F(SourceMenuModelTest, TwoCensusSourcesFormOneGroupByTitleAndOneEntryEachByNumber)
{
    FTSource* a = numbered(9, {{"type", "Census"}, {"title", "Census"}});
    FTSource* b = numbered(4, {{"type", "Census"}, {"title", "Census"}});
    SourceMenuModel menu(moc.get());
    ASSERT_TRUE(menu.loadSourcesArray(option(SourceMenuModel::Title)));
    EXPECT_THAT(entries(menu), ElementsAre("Census (2): Census (2)"));
    EXPECT_THAT(menu.itemsOfType(0).first().sources, ElementsAre(b, a)); // by number within the group

    ASSERT_TRUE(menu.loadSourcesArray(option(SourceMenuModel::NumericIdTitle)));
    EXPECT_THAT(entries(menu), ElementsAre("Census (2): 0004,  Census, 0009,  Census"));
}

TEST_F(SourceMenuModelTest, GroupsFollowTypesThenTheOptionIgnoringCaseWithUntitledSourcesFirst)
{
    numbered(1, {{"type", "Will"}, {"title", "will of John"}});
    numbered(2, {{"type", "Will"}});
    numbered(3, {{"type", "Will"}, {"title", "Will of Ann"}});
    numbered(4, {{"type", "Will"}, {"title", ""}});
    numbered(5, {{"type", "Census"}, {"title", "Kew 1881"}});
    numbered(6, {{"title", "Family Bible"}});
    SourceMenuModel menu(moc.get());
    ASSERT_TRUE(menu.loadSourcesArray(option(SourceMenuModel::Title)));
    EXPECT_THAT(entries(menu),
        ElementsAre("No Source Type: Family Bible", "Census: Kew 1881",
            "Will (4): Others - No Title (2) --, Will of Ann, will of John"));

    // The last group without a value needs no separator.
    ASSERT_TRUE(menu.loadSourcesArray(option(SourceMenuModel::Author)));
    EXPECT_EQ(entries(menu)[2], "Will (4): Others - No Author (4)");
}

TEST_F(SourceMenuModelTest, TheWarningShowsOnceAboveFivePercentWithOneDecimal)
{
    struct Case {
        int untyped;
        bool warned;
    };
    for (const Case& c : {Case {1, false}, Case {2, true}}) {
        for (FTSource* s : moc->fetch<FTSource>())
            moc->deleteObject(s);
        prompts.clear();
        SourceMenuModel::setGroupingWarningArmed(true);
        for (int i = 1; i <= 20; ++i)
            numbered(i, {{"type", i <= c.untyped ? "" : "Census"}, {"title", i == 20 ? "Kew" : "Kew 18"}});
        SourceMenuModel(moc.get()).loadSourcesArray(option(SourceMenuModel::Title));
        if (!c.warned) {
            EXPECT_THAT(messages(), IsEmpty()) << c.untyped;
            continue;
        }
        ASSERT_EQ(messages().size(), 1);
        EXPECT_THAT(messages()[0].toStdString(),
            HasSubstr("2 of 20 (or 10.0%) of your Sources do not currently have a Source Type."));
        EXPECT_THAT(messages()[0].toStdString(),
            HasSubstr("0 of 20 (or 0.0%) of your Sources do not currently have a Title."));
        // 19 titled "Kew 18": 18 neighbours equal to the next.
        EXPECT_THAT(messages()[0].toStdString(),
            HasSubstr("18 of 20 (or 90.0%) of your Sources do not currently have a Unique Title."));
        EXPECT_THAT(messages()[0].toStdString(), HasSubstr("a button called \"Assign Types...\" that may"));
        SourceMenuModel(moc.get()).loadSourcesArray(option(SourceMenuModel::Title));
        EXPECT_EQ(messages().size(), 1); // once per run
    }
}

TEST_F(SourceMenuModelTest, TitlesOfTheActiveAndRecentSourcesNeedAUniqueTitle)
{
    FTSource* unique = numbered(1, {{"title", "Kew parish register"}});
    FTSource* twin = numbered(2, {{"title", "Census"}});
    numbered(3, {{"title", "CENSUS"}});
    FTSource* untitled = numbered(4, {{"author", "GRO"}});
    SourceMenuModel menu(moc.get());
    EXPECT_EQ(menu.titleForSource(unique), "Kew parish register");
    EXPECT_EQ(menu.titleForSource(twin), twin->shortDescriptionWithNumericIdNoLinefeed());
    EXPECT_EQ(menu.titleForSource(untitled), "ID:     4  Auth: GRO");
    EXPECT_EQ(SourceMenuModel::activeSourceItemTitle("Kew"), "A/S - Kew");
    EXPECT_EQ(SourceMenuModel::optionItemTitle("Author"), "Set 2nd Menu Option (Author)");
}

TEST_F(SourceMenuModelTest, ChoosingTellsTheOwnerOrTheToolbar)
{
    FTSource* four = numbered(4, {{"type", "Census"}, {"title", "Census"}});
    FTSource* nine = numbered(9, {{"type", "Census"}, {"title", "Census"}});
    FTSource* one = numbered(1, {{"type", "Will"}, {"title", "Will of Ann"}});
    auto pick = [](QList<FTSource*> sources, QString type = "Census (2)", QString item = "Census (2)") {
        SourceMenuModel::Choice c;
        c.kind = SourceMenuModel::Choice::Sources;
        c.sources = std::move(sources);
        c.typeTitle = std::move(type);
        c.itemTitle = std::move(item);
        return c;
    };
    SourceMenuModel::Choice search;
    search.kind = SourceMenuModel::Choice::SearchEntry;

    RecordingOwner owner;
    EXPECT_FALSE(SourceMenuModel::selectSource(pick({one}), moc.get(), &owner, nullptr));
    EXPECT_THAT(owner.cited, ElementsAre(one));
    SourceMenuModel::selectSource(pick({four, nine}), moc.get(), &owner, nullptr);
    ASSERT_EQ(owner.searches.size(), 1);
    EXPECT_THAT(owner.searches[0].first, ElementsAre(four, nine));
    EXPECT_EQ(owner.searches[0].second, "Sources have been prefiltered to include only:\nType = Census (2), Census (2)");
    SourceMenuModel::selectSource(search, moc.get(), &owner, nullptr);
    ASSERT_EQ(owner.searches.size(), 2);
    EXPECT_THAT(owner.searches[1].first, ElementsAre(one, four, nine));
    EXPECT_EQ(owner.searches[1].second, "All Sources are included");

    RecordingOwner noSearch;
    noSearch.search = false;
    SourceMenuModel::selectSource(pick({four, nine}), moc.get(), &noSearch, nullptr);
    SourceMenuModel::selectSource(search, moc.get(), &noSearch, nullptr);
    EXPECT_TRUE(noSearch.searches.isEmpty());

    RecordingOwner toolbar;
    toolbar.toolbar = true;
    SourceMenuModel::selectSource(pick({one}), moc.get(), &toolbar, nullptr);
    EXPECT_THAT(toolbar.activated, ElementsAre(one));
    EXPECT_TRUE(toolbar.cited.isEmpty());
    SourceMenuModel::selectSource(pick({four, nine}), moc.get(), &toolbar, nullptr);
    EXPECT_THAT(toolbar.activated, ElementsAre(one));
    EXPECT_TRUE(toolbar.searches.isEmpty());
    EXPECT_THAT(messages(), ElementsAre(SourceMenuModel::kRenameMessage));
}
