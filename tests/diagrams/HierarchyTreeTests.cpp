// The hierarchy diagram's tree: who gets a box, repeats and folds, rows and same-level links, and trees deep
// enough to break a recursive walk.
#include "HierarchyFixture.h"

#include "model/FTMoc.h"

#include "platform/AppPaths.h"

#include <QFile>
#include <QThread>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

class HierarchyTree : public HierarchyFixture { };

TEST_F(HierarchyTree, TheTypesOfLinkFollowedDependOnTheDirectionAndTheOptions)
{
    FTPerson* root = person("Rob Root", M());
    link(root, person("Ada Adopted", F()), FTPcRel::kAdopted);
    link(root, person("Fay Foster", F()), FTPcRel::kFoster);
    link(root, person("Nat Natural", M()));
    link(root, person("Sam Step", M()), FTPcRel::kStep);
    FTPerson* child = person("Cal Child", M());
    link(person("Abe Adoptive", M()), child, FTPcRel::kAdopted);
    link(person("Fred Foster", M()), child, FTPcRel::kFoster);
    link(person("Nils Natural", M()), child);
    link(person("Stan Step", M()), child, FTPcRel::kStep);

    const struct {
        bool ancestors, adopted, step;
        QStringList shown;
    } cases[] = {
        { false, false, false, { "Nat Natural" } },
        { false, true, false, { "Ada Adopted", "Nat Natural" } },
        { false, false, true, { "Nat Natural", "Sam Step" } },
        { false, true, true, { "Ada Adopted", "Nat Natural", "Sam Step" } },
        { true, true, true, { "Nils Natural" } },
        { true, false, false, { "Nils Natural" } },
    };
    for (const auto& c : cases) {
        options.includeAdoptedChildren = c.adopted;
        options.includeStepChildren = c.step;
        Hierarchy* top = build(c.ancestors ? child : root, c.ancestors);
        EXPECT_EQ(namesOf(top->nextGenArray()), c.shown)
            << "ancestors " << c.ancestors << " adopted " << c.adopted << " step " << c.step;
    }
}

// The grandparents G and H come twice. The later boxes are marked and not expanded, the first ones say that the
// person comes again.
TEST_F(HierarchyTree, APersonReachedTwiceIsExpandedOnceAndRowsFollowTheFirstChild)
{
    const auto [gg, g, h, a, b, x, y, z] = cousins();
    Hierarchy* root = build(z, true);
    const QList<Hierarchy*> all = nodes();
    EXPECT_EQ(namesOf(all), (QStringList { "Z Cousin", "X Cousin", "A Grand", "G Grand", "Old Grand", "H Grand",
                                "Y Cousin", "B Grand", "G Grand", "H Grand" }));
    const QList<Hierarchy*> gs = nodesOf(g);
    ASSERT_EQ(gs.size(), 2);
    EXPECT_TRUE(gs[0]->repeatedElsewhere());
    EXPECT_FALSE(gs[0]->repeatFlag());
    EXPECT_TRUE(gs[1]->repeatFlag());
    EXPECT_TRUE(gs[1]->nextGenArray().isEmpty());
    EXPECT_TRUE(nodesOf(h)[0]->repeatedElsewhere());
    EXPECT_FALSE(node(x)->repeatedElsewhere());
    EXPECT_EQ(layout.personSet().size(), 8);

    // A node's row is its first child's; each later sibling starts a new row.
    QList<float> rows;
    for (const Hierarchy* n : all)
        rows << n->row();
    EXPECT_EQ(rows, (QList<float> { 0, 0, 0, 0, 0, 1, 2, 2, 2, 3 }));
    EXPECT_EQ(layout.maxRow(), 3);
    EXPECT_EQ(layout.maxLevelFound(), 4);

    // The same-level links chain a generation across owners, in depth-first order.
    EXPECT_EQ(root->previousAtLevel(), nullptr);
    EXPECT_EQ(nodesOf(h)[0]->nextAtLevel(), gs[1]);
    EXPECT_EQ(gs[1]->previousAtLevel(), nodesOf(h)[0]);
    EXPECT_EQ(node(x)->nextAtLevel(), node(y));
    EXPECT_EQ(node(gg)->nextAtLevel(), nullptr);
}

TEST_F(HierarchyTree, TheFindListNamesEachPersonShownOnceByRecordNumber)
{
    const auto [gg, g, h, a, b, x, y, z] = cousins();
    auto names = [](const QList<FTPerson*>& people) {
        QStringList out;
        for (const FTPerson* p : people)
            out << p->name();
        return out;
    };
    // G and H stand in two boxes each; the people were made in this order.
    build(z, true);
    EXPECT_EQ(names(layout.loadPeopleArray()), (QStringList { "G Grand", "H Grand", "Old Grand", "A Grand", "B Grand",
                                                   "X Cousin", "Y Cousin", "Z Cousin" }));
    // No one below the last generation shown.
    options.generations = 2;
    build(z, true);
    EXPECT_EQ(names(layout.loadPeopleArray()),
        (QStringList { "A Grand", "B Grand", "X Cousin", "Y Cousin", "Z Cousin" }));
}

TEST_F(HierarchyTree, AFoldedPersonKeepsTheBoxButShowsNoNextGeneration)
{
    FTPerson* root = person("Rob Root", M());
    FTPerson* kid = children(root, { "Kid One" })[0];
    children(kid, { "Grand One", "Grand Two" });
    layout.contractedPeople().insert(kid->objectURI());

    build(root, false);
    Hierarchy* folded = node(kid);
    ASSERT_TRUE(folded);
    EXPECT_TRUE(folded->contracted());
    EXPECT_TRUE(folded->nextGenArray().isEmpty());
    EXPECT_EQ(nodes().size(), 2);
    EXPECT_FALSE(layout.personSet().contains(kid));
    // The name line says so, even when the box shows nothing but the name.
    EXPECT_EQ(folded->lines(), QStringList { "Name:Kid One\n(Descendants hidden)" });

    layout.contractedPeople().clear();
    build(root, false);
    EXPECT_EQ(nodes().size(), 4);
    EXPECT_FALSE(node(kid)->contracted());
}

TEST_F(HierarchyTree, NoGenerationsShowTheRootAloneAndTheLastGenerationIsNotExpanded)
{
    FTPerson* root = person("Rob Root", M());
    FTPerson* kid = children(root, { "Kid One" })[0];
    children(kid, { "Grand One" });
    for (bool horizontal : { false, true }) {
        options.horizontal = horizontal;
        options.generations = 0;
        options.sizeToWidth = true; // the horizontal diagram then has one column over the width
        build(root, false, 600);
        EXPECT_EQ(nodes().size(), 1);
        EXPECT_EQ(layout.maxLevelFound(), 0);
        if (horizontal) {
            EXPECT_DOUBLE_EQ(layout.columnWidth(), 600);
        }

        options.generations = 1;
        build(root, false, 600);
        EXPECT_EQ(namesOf(nodes()), (QStringList { "Rob Root", "Kid One" }));
        EXPECT_TRUE(layout.personSet().contains(kid));
    }
}

// Builds on a thread with a small stack: a walk that recursed once a generation would overflow it.
void onSmallStack(const std::function<void()>& work)
{
    std::unique_ptr<QThread> thread(QThread::create(work));
    thread->setStackSize(128 * 1024);
    thread->start();
    thread->wait();
}

TEST_F(HierarchyTree, ALoopOfLinksAndAThousandGenerationsEndWithoutDeepRecursion)
{
    FTPerson* a = person("Al Loop", M());
    FTPerson* b = person("Bo Loop", M());
    FTPerson* c = person("Cy Loop", M());
    link(b, a);
    link(c, b);
    link(a, c);
    options.generations = 999;
    build(a, true);
    EXPECT_EQ(namesOf(nodes()), (QStringList { "Al Loop", "Bo Loop", "Cy Loop", "Al Loop" }));
    EXPECT_TRUE(nodes().last()->repeatFlag());

    QList<FTPerson*> line { person("Gen 0", M()) };
    for (int g = 1; g < 1000; ++g)
        line << children(line.last(), { "Gen" })[0];
    UserDefaults::standard().setInteger("hdGenerations", 999);
    const HdOptions fromDefaults = HdOptions::fromUserDefaults();
    EXPECT_EQ(fromDefaults.generations, 999);
    options.generations = fromDefaults.generations;
    for (bool horizontal : { false, true })
        for (bool scrunched : { false, true }) {
            options.horizontal = horizontal;
            options.scrunched = scrunched;
            options.showRootPath = true;
            onSmallStack([&] {
                build(line.first(), false);
                layout.resetFrameSize(line.last(), QSizeF(800, 600));
                layout.createRootPath();
            });
            EXPECT_EQ(layout.maxLevelFound(), 999);
            EXPECT_EQ(layout.selectedHierarchy()->person(), line.last());
            EXPECT_EQ(layout.pathToRoot().size(), 1000);
            EXPECT_EQ(layout.rowHeightsArray().size(), 1000u);
        }
}

TEST_F(HierarchyTree, GenerationsAreReadWithinTheLevelsATreeCanHold)
{
    const struct {
        qlonglong stored;
        int read;
    } cases[] = { { 5, 5 }, { 999, 999 }, { 1000, 999 }, { 5000000, 999 }, { -3, 0 } };
    for (const auto& c : cases) {
        UserDefaults::standard().setInteger("hdGenerations", c.stored);
        EXPECT_EQ(HdOptions::fromUserDefaults().generations, c.read) << c.stored;
    }
    // Grandchildren off: the siblings' descendants are two generations, also in the defaults.
    UserDefaults::standard().setInteger("hdMaxSiblingsDescendants", 7);
    EXPECT_EQ(HdOptions::fromUserDefaults().maxSiblingsDescendants, 2);
    EXPECT_EQ(UserDefaults::standard().integerForKey("hdMaxSiblingsDescendants"), 2);
    UserDefaults::standard().setBool("hdIncludeAllSiblingsGrandchildren", true);
    UserDefaults::standard().setInteger("hdMaxSiblingsDescendants", 7);
    EXPECT_EQ(HdOptions::fromUserDefaults().maxSiblingsDescendants, 7);
    // Sizes that would divide by nothing keep their factory values.
    UserDefaults::standard().setDouble("hdColWidthFactor", 0);
    UserDefaults::standard().setDouble("hdPointSize", -4);
    EXPECT_EQ(HdOptions::fromUserDefaults().colWidthFactor, 1.0);
    EXPECT_EQ(HdOptions::fromUserDefaults().pointSize, 11.0);
}

// The sample database's royal families marry within themselves: the first-node map must mark the same boxes as
// a search from the root for each repeated person.
TEST_F(HierarchyTree, RepeatMarksOnRoyal92MatchASearchFromTheRoot)
{
    const QString sample = AppPaths::sharedSupportDirectory() + "/Royal92.RezUdu";
    ASSERT_TRUE(QFile::exists(sample)) << "the build makes " << sample.toStdString();
    const QString copy = pathFor("Royal92.RezUdu");
    ASSERT_TRUE(QFile::copy(sample, copy));
    std::unique_ptr<FTMoc> royal = FTMoc::initForStoreURL(copy, true);
    ASSERT_TRUE(royal);
    FTPerson* william = nullptr;
    for (FTPerson* p : royal->fetch<FTPerson>({}))
        if (p->name() == "William Arthur Philip Windsor")
            william = p;
    ASSERT_TRUE(william);

    options.generations = 20;
    options.nameOnly = false;
    build(william, true);
    int repeats = 0;
    QSet<Hierarchy*> expected;
    for (Hierarchy* n : nodes())
        if (n->repeatFlag()) {
            ++repeats;
            expected.insert(layout.findFirstPerson(n->person(), layout.rootHierarchy()));
        }
    EXPECT_GT(repeats, 30);
    QSet<Hierarchy*> marked;
    for (Hierarchy* n : nodes())
        if (n->repeatedElsewhere())
            marked.insert(n);
    EXPECT_EQ(marked, expected);
    for (Hierarchy* n : marked)
        EXPECT_FALSE(n->repeatFlag());
}

}
