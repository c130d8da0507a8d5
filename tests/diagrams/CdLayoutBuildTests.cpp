#include "DiagramFixture.h"

class CdLayoutBuild : public DiagramFixture {};

TEST_F(CdLayoutBuild, APersonWithoutRelativesGetsEverySlotInOrder)
{
    focusOn(person("Solo"));
    options.showGhostOutlines = true;
    options.maxAncLevel = 1;
    build();
    EXPECT_EQ(describe(), QStringList({"0:1:Solo", "-2:1:ghost F", "-1:1:ghost F", "1:1:ghost M", "1:2:ghost F",
                                       "1:1:ghost F"}));
    // A woman's empty spouse slot is a man's.
    focusOn(person("Sola", F()));
    build();
    EXPECT_EQ(describe().at(1), "-2:1:ghost M");
}

TEST_F(CdLayoutBuild, StepFosterAndAdoptiveParentsStandBetweenFatherAndMother)
{
    FTPerson* kid = person("Kid");
    link(person("Dad"), kid);
    link(person("Mum", F()), kid);
    link(person("Step"), kid, FTPcRel::kStep);
    link(person("Foster", F()), kid, FTPcRel::kFoster);
    focusOn(kid);
    options.maxAncLevel = 1;
    build();
    EXPECT_EQ(describe(), QStringList({"0:1:Kid", "1:1:Dad", "1:2:Step", "1:4:Foster", "1:1:Mum"}));

    // The empty step-parent slot comes after the step fathers; nothing is added above a ghost.
    options.showGhostOutlines = true;
    build();
    EXPECT_EQ(describe(), QStringList({"0:1:Kid", "-2:1:ghost F", "-1:1:ghost F", "1:1:Dad", "1:2:Step",
                                       "1:2:ghost F", "1:4:Foster", "1:1:Mum"}));

    // Without step relationships only the natural parents show.
    options.showStepRelsOfFocalPerson = false;
    options.showGhostOutlines = false;
    build();
    EXPECT_EQ(describe(), QStringList({"0:1:Kid", "1:1:Dad", "1:1:Mum"}));

    // An adoptive parent alone (no natural mother) is added after the walk.
    FTPerson* orphan = person("Orphan");
    link(person("Adopter"), orphan, FTPcRel::kAdopted);
    focusOn(orphan);
    options.showStepRelsOfFocalPerson = true;
    build();
    EXPECT_EQ(describe(), QStringList({"0:1:Orphan", "1:8:Adopter"}));
}

TEST_F(CdLayoutBuild, ASecondNaturalFatherMovesToTheStepBandWithOneWarningPerRebuild)
{
    FTPerson* kid = person("Kid");
    link(person("Dad"), kid);
    link(person("Other Dad"), kid);
    link(person("Mum", F()), kid);
    focusOn(kid);
    build();
    place();
    const QStringList warnings = layout.takeWarnings();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith("WARNING: Kid has more than one natural father.")) << warnings[0].toStdString();
    const CdPerson* second = layout.cdPersonsArray()[2].get();
    EXPECT_EQ(second->pcRelType(), 0);
    // The step band's column (maxAncLevel - 1 = 0, children on the left: 2 × cw) and the band's middle.
    EXPECT_EQ(second->rclBox(), QRectF(420, 193, 160, 45));

    place();
    EXPECT_TRUE(layout.takeWarnings().isEmpty());
    build();
    place();
    EXPECT_EQ(layout.takeWarnings().size(), 1);
}

TEST_F(CdLayoutBuild, ChildrenFollowTheOptionsAndALinkWithoutAChildIsHandedBack)
{
    FTPerson* mum = person("Mum", F());
    link(mum, person("Second", M(), 1902));
    link(mum, person("First", F(), 1900));
    link(mum, person("Stepson", M(), 1890), FTPcRel::kStep);
    FTPcRel* empty = link(mum, nullptr);
    focusOn(mum);
    build();
    EXPECT_EQ(describe(), QStringList({"0:1:Mum", "-1:2:Stepson", "-1:1:First", "-1:1:Second"}));
    EXPECT_EQ(layout.takeLinksWithoutChild(), QList<FTPcRel*>({empty}));
    EXPECT_TRUE(layout.takeLinksWithoutChild().isEmpty());
    options.showStepRelsOfFocalPerson = false;
    build();
    EXPECT_EQ(describe(), QStringList({"0:1:Mum", "-1:1:First", "-1:1:Second"}));
}

TEST_F(CdLayoutBuild, AssociatedPeopleAreSortedByNameAndShownOncePerLink)
{
    FTPerson* ann = person("Ann", F());
    FTPerson* bob = person("Bob");
    associate(ann, person("Zed"));
    associate(ann, bob);
    associate(bob, ann);
    focusOn(ann);
    build();
    EXPECT_EQ(describe(), QStringList({"0:1:Ann", "-10:0:Bob", "-10:0:Bob", "-10:0:Zed"}));
}

TEST_F(CdLayoutBuild, CountsAndCertaintyAreRecordedOnTheBoxes)
{
    FTPerson* me = person("Me");
    FTPerson* wife = person("Wife", F());
    couple(me, wife);
    couple(me, person("Second Wife", F()));
    link(person("Wifes Dad"), wife);
    link(person("Wifes Mum", F()), wife);
    FTPerson* son = person("Son", M(), 1950);
    link(me, son)->setCertainty(40);
    link(me, person("Daughter", F(), 1952));
    for (int i = 0; i < 3; ++i)
        link(son, person(QStringLiteral("Grandchild %1").arg(i)));
    FTPerson* dad = person("Dad");
    link(dad, me);
    link(person("Grandad"), dad);
    focusOn(me);
    options.maxAncLevel = 1;
    build();
    const auto& boxes = layout.cdPersonsArray();
    const CdPerson* focal = boxes[0].get();
    EXPECT_EQ(focal->numSpouses(), 2);
    EXPECT_EQ(focal->numChildren(), 2);
    EXPECT_EQ(focal->numParents(), 1);
    const CdPerson* wifeBox = layout.findPerson(wife);
    EXPECT_EQ(wifeBox->numParents(), 2);
    EXPECT_TRUE(wifeBox->bSpouse());
    EXPECT_EQ(layout.findPerson(son)->numChildren(), 3);
    EXPECT_EQ(layout.findPerson(son)->pcRelCertainty(), 100); // not highlighted
    // The grandfather is beyond the generations shown but still counted: the father's box shows a stub.
    EXPECT_EQ(layout.findPerson(dad)->numParents(), 1);
    EXPECT_FALSE(layout.findPerson(dad)->moreAncestorsStub().isNull());

    options.highlightBadPcRels = true;
    options.showGhostOutlines = true;
    build();
    EXPECT_EQ(layout.findPerson(son)->pcRelCertainty(), 40);
    EXPECT_EQ(layout.cdPersonsArray()[0]->numSpouses(), 3);
    EXPECT_EQ(layout.cdPersonsArray()[0]->numChildren(), 3);
    EXPECT_EQ(layout.cdPersonsArray()[0]->numParents(), 2); // the father and the empty mother slot
}

TEST_F(CdLayoutBuild, LoopedAndVeryLongAncestrySeldomDeepensAndAlwaysEnds)
{
    // A man who is his own grandfather: the walk stops at the generations shown.
    FTPerson* a = person("A");
    FTPerson* b = person("B");
    link(b, a);
    link(a, b);
    focusOn(a);
    options.maxAncLevel = 5;
    build();
    // (B is also A's child.)
    EXPECT_EQ(describe(), QStringList({"0:1:A", "-1:1:B", "1:1:B", "2:1:A", "3:1:B", "4:1:A", "5:1:B"}));

    // A line of 150 generations shows 99 of them; the walk keeps its own stack.
    FTPerson* child = person("Gen 0");
    focusOn(child);
    for (int g = 1; g <= 150; ++g) {
        FTPerson* parent = person(QStringLiteral("Gen %1").arg(g));
        link(parent, child);
        child = parent;
    }
    options.maxAncLevel = 500;
    build();
    ASSERT_EQ(layout.cdPersonsArray().size(), 100u);
    EXPECT_EQ(layout.cdPersonsArray().back()->ancLevel(), 99);
    EXPECT_EQ(layout.cdPersonsArray().back()->numParents(), 1);
    place();
    EXPECT_GT(layout.cdPersonsArray().back()->rclBox().x(), 0);
}

TEST_F(CdLayoutBuild, RemovingAPersonShownTwiceRemovesBothBoxes)
{
    FTPerson* ann = person("Ann", F());
    FTPerson* bob = person("Bob");
    couple(ann, bob);
    associate(ann, bob);
    focusOn(ann);
    build();
    ASSERT_EQ(layout.findPerson(bob), layout.cdPersonsArray()[1].get());
    EXPECT_EQ(layout.removeBoxesOf(bob), 2);
    EXPECT_EQ(layout.findPerson(bob), nullptr);
    EXPECT_EQ(describe(), QStringList({"0:1:Ann"}));
}
