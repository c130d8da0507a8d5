#include "RelativesTestSupport.h"

#include "model/RelativesHierarchy.h"

#include <QColor>

// Blood relationships named through the nearest common ancestor, and kinship sets within a number of steps.

namespace {
// Four generations below George and Grace Gold:
//
//   George + Grace Gold
//   ├── Arthur Gold + Amy ──── Bert Gold + Beth ─┬── Carl Gold ── Dan Gold ── Eve Gold
//   │                     │                      ├── Cara Gold
//   │                     │       Beth + Gray ──── Hetty Gray (half-sister of Carl through the mother)
//   │                     └─── Bob Gold
//   └── Alice Gold + Adam Brown ── Bella Brown + Ben White ── Cleo White
class KinshipFixture : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        george = person("George Gold", M());
        grace = person("Grace Gold", F());
        arthur = person("Arthur Gold", M());
        amy = person("Amy Gold", F());
        alice = person("Alice Gold", F());
        adam = person("Adam Brown", M());
        bert = person("Bert Gold", M());
        beth = person("Beth Gold", F());
        bob = person("Bob Gold", M());
        bella = person("Bella Brown", F());
        ben = person("Ben White", M());
        carl = person("Carl Gold", M());
        cara = person("Cara Gold", F());
        gray = person("Gil Gray", M());
        hetty = person("Hetty Gray", F());
        cleo = person("Cleo White", F());
        dan = person("Dan Gold", M());
        eve = person("Eve Gold", F());
        parents(george, grace, { arthur, alice });
        parents(arthur, amy, { bert, bob });
        parents(adam, alice, { bella });
        parents(bert, beth, { carl, cara });
        parents(gray, beth, { hetty });
        parents(ben, bella, { cleo });
        link(carl, dan);
        link(dan, eve);
    }
    void parents(FTPerson* father, FTPerson* mother, std::initializer_list<FTPerson*> children)
    {
        couple(father, mother);
        for (FTPerson* child : children) {
            link(father, child);
            link(mother, child);
        }
    }
    FTPerson *george, *grace, *arthur, *amy, *alice, *adam, *bert, *beth, *bob, *bella, *ben, *carl, *cara, *gray,
        *hetty, *cleo, *dan, *eve;
};
}

TEST_F(KinshipFixture, RelationshipWordsThroughTheNearestCommonAncestor)
{
    const struct {
        FTPerson* self;
        FTPerson* other;
        const char* phrase; // what `other` is to `self`
        FTPerson* ancestor;
    } cases[] = {
        { carl, carl, "Same person as Carl Gold", carl },
        { carl, bert, "Father of Carl Gold", bert },
        { carl, beth, "Mother of Carl Gold", beth },
        { bert, carl, "Son of Bert Gold", bert },
        { bert, cara, "Daughter of Bert Gold", bert },
        { carl, arthur, "Grandfather of Carl Gold", arthur },
        { arthur, carl, "Grandson of Arthur Gold", arthur },
        { amy, cara, "Granddaughter of Amy Gold", amy },
        { dan, george, "2x Great Grandfather of Dan Gold", george },
        { george, eve, "3x Great Granddaughter of George Gold", george },
        { cara, carl, "Brother of Cara Gold", bert }, // full siblings: the father, men first
        { carl, hetty, "Sister of Carl Gold", beth }, // half-sister through the mother
        { carl, bob, "Uncle of Carl Gold", arthur },
        { bert, alice, "Aunt of Bert Gold", george },
        { bob, carl, "Nephew of Bob Gold", arthur },
        { bob, cara, "Niece of Bob Gold", arthur },
        { carl, alice, "Great Aunt of Carl Gold", george },
        { bob, dan, "Great Nephew of Bob Gold", arthur },
        { dan, alice, "2x Great Aunt of Dan Gold", george },
        { alice, dan, "2x Great Nephew of Alice Gold", george },
        { bob, eve, "2x Great Niece of Bob Gold", arthur },
        { bert, bella, "1st cousin of Bert Gold", george },
        { carl, bella, "1st cousin once removed of Carl Gold", george },
        { bella, carl, "1st cousin once removed of Bella Brown", george },
        { dan, bella, "1st cousin twice removed of Dan Gold", george },
        { eve, bella, "1st cousin 3 times removed of Eve Gold", george },
        { carl, cleo, "2nd cousin of Carl Gold", george },
        { eve, cleo, "2nd cousin twice removed of Eve Gold", george },
        { carl, ben, "None", nullptr }, // married in
        { carl, adam, "None", nullptr },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.phrase);
        FTPerson* ancestor = reinterpret_cast<FTPerson*>(1);
        EXPECT_EQ(c.self->consanguinityWithPerson(c.other, &ancestor), c.phrase);
        EXPECT_EQ(ancestor, c.ancestor);
    }
}

TEST_F(KinshipFixture, AnAncestorSetBuiltOnceServesManyComparisons)
{
    QSet<FTPerson*> ancestors;
    FTPerson::recurseAncestorsSet(ancestors, { dan });
    EXPECT_EQ(ancestors, (QSet<FTPerson*> { dan, carl, bert, beth, arthur, amy, george, grace }));
    EXPECT_EQ(dan->consanguinityWithPerson(cleo, nullptr, &ancestors), "2nd cousin once removed of Dan Gold");
    EXPECT_EQ(dan->consanguinityWithPerson(hetty, nullptr, &ancestors), "Aunt of Dan Gold");
    EXPECT_EQ(FTPerson::recurseAncestors2(ancestors, { cleo }), george);
    EXPECT_EQ(FTPerson::recurseAncestors3({ cleo }, 0, george), 3);
    EXPECT_EQ(FTPerson::recurseAncestors3({ cleo }, 0, arthur), -1);
}

TEST_F(KinshipFixture, OnlyNaturalLinksMakeBloodRelatives)
{
    FTPerson* adopted = person("Ann Gold", F());
    FTPerson* stepSon = person("Sid Gold", M());
    FTPerson* fosterSon = person("Fred Gold", M());
    link(bert, adopted, FTPcRel::kAdopted);
    link(bert, stepSon, FTPcRel::kStep);
    link(bert, fosterSon, FTPcRel::kFoster);
    for (FTPerson* p : { adopted, stepSon, fosterSon })
        EXPECT_EQ(carl->consanguinityWithPerson(p), "None");
}

TEST_F(KinshipFixture, AParentOfUnknownGenderIsStillTheNearestAncestor)
{
    FTPerson* pat = person("Pat Gold");
    FTPerson* kim = person("Kim Gold");
    FTPerson* lee = person("Lee Gold", M());
    link(bert, pat);
    link(pat, kim);
    link(pat, lee);
    FTPerson* ancestor = nullptr;
    EXPECT_EQ(kim->consanguinityWithPerson(pat, &ancestor), "Parent of Kim Gold");
    EXPECT_EQ(ancestor, pat);
    EXPECT_EQ(pat->consanguinityWithPerson(kim), "Child of Pat Gold");
    EXPECT_EQ(lee->consanguinityWithPerson(kim), "Sibling of Lee Gold");
    EXPECT_EQ(kim->consanguinityWithPerson(kim), "Same person as Kim Gold");
}

TEST_F(PeopleFixture, BloodRelationshipsEndOnALoopOfLinks)
{
    FTPerson* a = person("Al Smith", M());
    FTPerson* b = person("Bo Smith", M());
    FTPerson* c = person("Cy Smith", M());
    FTPerson* stranger = person("Dee Jones", F());
    link(b, a);
    link(c, b);
    link(a, c);
    QSet<FTPerson*> ancestors;
    FTPerson::recurseAncestorsSet(ancestors, { a });
    EXPECT_EQ(ancestors, (QSet<FTPerson*> { a, b, c }));
    EXPECT_EQ(a->consanguinityWithPerson(stranger), "None");
    EXPECT_EQ(FTPerson::recurseAncestors3({ a }, 0, stranger), -1);
    EXPECT_EQ(a->consanguinityWithPerson(b), "Father of Al Smith");
}

TEST_F(PeopleFixture, KinshipReachesParentsSpousesAndChildrenStepByStep)
{
    FTPerson* me = person("Ian Smith", M());
    FTPerson* father = person("Dan Smith", M());
    FTPerson* fosterMother = person("Fay Green", F());
    FTPerson* stepFather = person("Sam Black", M());
    FTPerson* wife = person("Wyn Jones", F());
    FTPerson* partner = person("Pam Black", F());
    FTPerson* son = person("Sid Smith", M());
    FTPerson* adopted = person("Ada Smith", F());
    FTPerson* stepSon = person("Ted Jones", M());
    FTPerson* grandfather = person("Gus Smith", M());
    FTPerson* halfBrother = person("Hal Smith", M());
    link(father, me);
    link(fosterMother, me, FTPcRel::kFoster);
    link(stepFather, me, FTPcRel::kStep);
    date(couple(me, wife), "marriage", 1, 1, 1950);
    couple(me, partner);
    year(son, "birth", 1951);
    year(adopted, "birth", 1952);
    link(me, son);
    link(wife, son);
    link(me, adopted, FTPcRel::kAdopted);
    link(me, stepSon, FTPcRel::kStep);
    link(grandfather, father);
    link(father, halfBrother);

    EXPECT_EQ(me->peopleInKinship(0), (QSet<FTPerson*> { me }));
    QList<int> progress;
    EXPECT_EQ(me->peopleInKinship(1, [&progress](int p) { progress << p; }),
        (QSet<FTPerson*> { me, father, fosterMother, wife, partner, son, adopted }));
    EXPECT_EQ(progress, (QList<int> { 0, 100, 0 }));
    EXPECT_EQ(me->peopleInKinship(2),
        (QSet<FTPerson*> { me, father, fosterMother, wife, partner, son, adopted, grandfather, halfBrother }));

    // The tree itself: labels, arrows and colours; Wyn, reached as a wife, is not reached again as the mother of
    // Sid.
    QSet<FTPerson*> reached { me };
    RelativesHierarchy root(me, nullptr, LocalizedString("Self"));
    EXPECT_EQ(root.relationship(), "Focal Person");
    QStringList labels;
    for (const RelativesHierarchy* n : root.nextGenArray(reached))
        labels << n->person()->name() + ": " + n->relToOwner() + " | " + n->relationship();
    EXPECT_EQ(labels,
        (QStringList { "Dan Smith: Father | \u2191 Father", "Fay Green: Foster Mother | \u2191 Foster Mother",
            "Pam Black: Spouse/Partner | \u2192 Spouse/Partner", "Wyn Jones: Wife | \u2192 Wife",
            "Sid Smith: Son | \u2193 Son", "Ada Smith: Adopted Daughter | \u2193 Adopted Daughter" }));
    const QList<RelativesHierarchy*> level1 = root.builtNextGen();
    EXPECT_EQ(level1[3]->displayColour(), QColor(255, 0, 0));
    EXPECT_EQ(level1[4]->displayColour(), QColor(0, 0, 0));
    EXPECT_EQ(level1[4]->level(), 1);
    FTPerson::addLevelToHierarchy(&root, 2, reached);
    EXPECT_TRUE(level1[4]->builtNextGen().isEmpty()); // Sid's mother is already in the tree
    EXPECT_EQ(level1[0]->builtNextGen().size(), 2); // Gus and Hal under Dan
    EXPECT_EQ(level1[0]->builtNextGen()[0]->level(), 2);
}
