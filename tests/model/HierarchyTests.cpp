#include "RelativesTestSupport.h"

#include "model/Hierarchy.h"

namespace {
QStringList people(const QList<Hierarchy*>& nodes)
{
    QStringList out;
    for (const Hierarchy* n : nodes)
        out << n->person()->name();
    return out;
}
}

TEST_F(PeopleFixture, DescendantTreesFollowTheTypeMask)
{
    FTPerson* root = person("Rob Smith", M());
    FTPerson* natural = person("Nat Smith", M());
    FTPerson* adopted = person("Ada Smith", F());
    FTPerson* foster = person("Fay Smith", F());
    FTPerson* step = person("Sam Smith", M());
    FTPerson* grandchild = person("Gil Smith", M());
    link(root, natural);
    link(root, adopted, FTPcRel::kAdopted);
    link(root, foster, FTPcRel::kFoster);
    link(root, step, FTPcRel::kStep);
    link(natural, grandchild);
    // Adoption written by an older version as type 3 reads as adopted.
    FTPcRel* old = adopted->parents().first();
    old->setPrimitiveValue(Key("pcRelType"), 3);

    Hierarchy naturalOnly(root, nullptr, false, FTPcRel::kNatural);
    EXPECT_EQ(people(naturalOnly.nextGenArray()), (QStringList { "Nat Smith" }));

    Hierarchy tree(root, nullptr, false, 0); // 0 means natural and adopted
    EXPECT_EQ(tree.pcRelType(), 9);
    const QList<Hierarchy*> children = tree.nextGenArray();
    ASSERT_EQ(people(children), (QStringList { "Ada Smith", "Nat Smith" }));
    EXPECT_EQ(children[0]->intPcRelToOwner(), FTPcRel::kAdopted);
    EXPECT_EQ(children[1]->seqNo(), 1);
    EXPECT_EQ(children[1]->level(), 1);
    EXPECT_EQ(children[1]->owner(), &tree);
    EXPECT_EQ(tree.childAtIndex(1), children[1]);
    EXPECT_EQ(tree.childAtIndex(2), nullptr);
    EXPECT_EQ(people(children[1]->nextGenArray()), (QStringList { "Gil Smith" }));
    EXPECT_EQ(children[1]->childAtIndex(0)->level(), 2);
    // A person without matching links is a leaf.
    EXPECT_TRUE(children[0]->nextGenArray().isEmpty());
    EXPECT_EQ(children[0]->numberInNextGen(), 0);

    // Folding keeps the generation already built and gives the same nodes back.
    tree.setContracted(true);
    EXPECT_TRUE(tree.nextGenArray().isEmpty());
    EXPECT_EQ(tree.numberInNextGen(), 0);
    link(root, person("New Smith", M()));
    tree.setContracted(false);
    EXPECT_EQ(tree.nextGenArray(), children);
}

TEST_F(PeopleFixture, AncestorTreeOfALoopEnds)
{
    FTPerson* a = person("Al Smith", M());
    FTPerson* b = person("Bo Smith", M());
    FTPerson* c = person("Cy Smith", M());
    link(b, a);
    link(c, b);
    link(a, c); // a loop an import can bring in
    Hierarchy root(a, nullptr, true, 0);
    // Expanding every node, as the diagram does, ends: the person who comes round again is not expanded.
    QList<Hierarchy*> pending { &root };
    int nodes = 0;
    Hierarchy* last = nullptr;
    while (!pending.isEmpty() && nodes < 100) {
        last = pending.takeFirst();
        ++nodes;
        pending << last->nextGenArray();
    }
    EXPECT_EQ(nodes, 4);
    EXPECT_EQ(last->person(), a);
    EXPECT_TRUE(last->repeatFlag());
}
