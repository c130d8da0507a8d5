// The files of a page set, byte for byte, for the O'Brien family and for sites of 99 and 100 people.

#include "PublishFixture.h"

namespace {
class PublishedPages : public PublishFixture {
protected:
    // Every section of a person page that one run can show (the near-relatives table replaces the separate
    // parents, siblings and children tables; it has its own test).
    void everySection()
    {
        options.ancestorsTables = true;
        options.includeParents = options.includeChildren = options.includeSiblings = true;
        options.includeGrandchildren = options.includeStepRels = options.includeAdoptedRels = true;
        options.includeComments = true;
        options.includeTitleInIndex = true;
        options.includeConsanguinityInIndex = true;
    }

    // `count` people in five family names (two differing only in case) and some without a family name, dead long
    // ago, so that the index lists everyone.
    void peopleInFamilies(int count)
    {
        const QStringList families = {"Abbot", "Baker", "smith", "Smith", ""};
        for (int i = 0; i < count; ++i) {
            const QString family = families[i % families.size()];
            const QString name = QStringLiteral("Person%1").arg(i, 3, 10, QChar('0')) + (family.isEmpty() ? "" : " " + family);
            born(name, i % 2 ? F() : M(), 1700 + i, 1760 + i);
        }
    }
};

TEST_F(PublishedPages, PersonPageWithEverySectionItsAncestorsPageAndTheSiteFiles)
{
    const Family f = makeFamily();
    everySection();
    ASSERT_TRUE(publish(0));
    TestSupport::expectGolden(bytes(pageOf(f.john)), "publishing/person-page.html");
    TestSupport::expectGolden(bytes("AncestorsTables/Ancestors_01/" + PublishAsHtml::filenameForPerson(f.john) + "_Anc.html"),
                              "publishing/ancestors-page.html");
    TestSupport::expectGolden(bytes("indexPeople.txt"), "publishing/people-list.txt");
    TestSupport::expectGolden(bytes("styles.css"), "publishing/styles.css");
}

TEST_F(PublishedPages, DepersonalizedPageShowsNothingButTheNumber)
{
    const Family f = makeFamily();
    options.excludeLivingPeople = false;
    options.excludeRecentlyDeadPeople = false;
    options.depersonalizeLivingPeople = true;
    everySection();
    ASSERT_TRUE(publish(0));
    TestSupport::expectGolden(bytes(pageOf(f.lorna)), "publishing/person-page-depersonalized.html");
}

TEST_F(PublishedPages, MainIndexOf99PeopleHoldsEveryoneOnOnePage)
{
    peopleInFamilies(99);
    ASSERT_TRUE(publish(0));
    TestSupport::expectGolden(bytes("index.html"), "publishing/index-99.html");
    EXPECT_FALSE(QFileInfo::exists(root() + "/index_S.html"));
}

TEST_F(PublishedPages, From100PeopleEachInitialHasAPageOfItsOwn)
{
    peopleInFamilies(100);
    ASSERT_TRUE(publish(0));
    TestSupport::expectGolden(bytes("index.html"), "publishing/index-100.html");
    TestSupport::expectGolden(bytes("index_S.html"), "publishing/index-100-S.html");
    QStringList indexes = QDir(root()).entryList({"index*.html"}, QDir::Files);
    indexes.sort();
    EXPECT_EQ(indexes, QStringList({"index.html", "index_A.html", "index_B.html", "index_S.html", "index_none.html"}));
}
} // namespace
