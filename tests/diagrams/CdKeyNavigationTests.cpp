#include "DiagramFixture.h"

#include "diagrams/CdInputThrottle.h"
#include "diagrams/CdKeyNavigation.h"

#include "model/FTProjectView.h"

using CdKeyNavigation::Arrow;

// The fixture's wider family with Great Grandad above Grandad, Mum's mother above her, and two ancestors' generations
// shown (Grandad stands in the outermost column).
class CdKeyNavigationTest : public DiagramFixture {
protected:
    void SetUp() override
    {
        DiagramFixture::SetUp();
        makeWiderFamily();
        link(person("Great Grandad", M(), 1840), grandad);
        mumsMum = person("Mum's Mum", F(), 1880);
        link(mumsMum, mum);
        options.maxAncLevel = 2;
    }
    // "select <name>", "focus <name>" or "nothing" for the arrow from the person's box.
    QString press(FTPerson* from, Arrow arrow, bool childrenOnLeft)
    {
        options.childrenOnLeft = childrenOnLeft;
        build();
        place();
        const CdKeyNavigation::Move m = CdKeyNavigation::move(
            layout, layout.findPerson(from), CdKeyNavigation::direction(arrow, childrenOnLeft));
        if (m.focus)
            return "focus " + m.focus->name();
        return m.select ? "select " + m.select->person()->name() : QStringLiteral("nothing");
    }

    FTPerson* mumsMum = nullptr;
};

TEST_F(CdKeyNavigationTest, ArrowsMoveByKindOfBoxInBothOrientations)
{
    struct Case {
        FTPerson* from;
        Arrow towardsChildren; // on the left: Left; on the right: Right
        const char* children;
        const char* ancestors;
    };
    const Case cases[] = {
        {me, Arrow::Left, "select Son", "select Dad"},
        {wife, Arrow::Left, "select Son", "nothing"},
        {son, Arrow::Left, "focus Son", "select Me"},
        {dad, Arrow::Left, "select Me", "select Grandad"},
        {mum, Arrow::Left, "select Me", "select Mum's Mum"},
        // The outermost column: a person with parents becomes focal, one without stays.
        {grandad, Arrow::Left, "select Dad", "focus Grandad"},
        {mumsMum, Arrow::Left, "select Mum", "nothing"},
        {friendOfMe, Arrow::Left, "nothing", "nothing"},
    };
    for (const bool onLeft : {true, false})
        for (const Case& c : cases) {
            const Arrow toChildren = onLeft ? Arrow::Left : Arrow::Right;
            const Arrow toAncestors = onLeft ? Arrow::Right : Arrow::Left;
            EXPECT_EQ(press(c.from, toChildren, onLeft), c.children) << c.from->name().toStdString() << " " << onLeft;
            EXPECT_EQ(press(c.from, toAncestors, onLeft), c.ancestors) << c.from->name().toStdString() << " " << onLeft;
        }
}

TEST_F(CdKeyNavigationTest, UpAndDownStayInTheirGroup)
{
    const struct {
        FTPerson* from;
        Arrow arrow;
        const char* expected;
    } cases[] = {
        {son, Arrow::Up, "nothing"},         {son, Arrow::Down, "select Daughter"},
        {daughter, Arrow::Up, "select Son"}, {daughter, Arrow::Down, "nothing"},
        {wife, Arrow::Up, "select Me"},      {me, Arrow::Down, "select Wife"},
        {me, Arrow::Up, "nothing"},          {dad, Arrow::Down, "select Stepdad"},
        {grandad, Arrow::Down, "select Mum's Mum"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(press(c.from, c.arrow, true), c.expected) << c.from->name().toStdString();
}

TEST_F(CdKeyNavigationTest, AChildInTheProjectViewIsPreferred)
{
    FTProjectView* view = FTProjectView::initInMoc(moc.get());
    moc->modelDefaults()->setCurrentView(view);
    view->addPersonsObject(daughter);
    EXPECT_EQ(press(me, Arrow::Left, true), "select Daughter");
}

TEST_F(CdKeyNavigationTest, SiblingsStepInBirthOrderAndStopAtTheEnds)
{
    FTPerson* elder = person("Elder", F(), 1925);
    FTPerson* younger = person("Younger", M(), 1935);
    link(dad, elder);
    link(dad, younger);
    EXPECT_EQ(CdKeyNavigation::sibling(me, +1), younger);
    EXPECT_EQ(CdKeyNavigation::sibling(me, -1), elder);
    EXPECT_EQ(CdKeyNavigation::sibling(younger, +1), nullptr);
    EXPECT_EQ(CdKeyNavigation::sibling(elder, -1), nullptr);
    EXPECT_EQ(CdKeyNavigation::sibling(friendOfMe, +1), nullptr);
    EXPECT_EQ(CdKeyNavigation::sibling(nullptr, +1), nullptr);
}

TEST_F(CdKeyNavigationTest, PicturesAndDetailsStepWithinTheirRange)
{
    using namespace CdKeyNavigation;
    EXPECT_EQ(pagedPicture(0, 3, true), 1);
    EXPECT_EQ(pagedPicture(2, 3, true), 2); // past the last stays on it
    EXPECT_EQ(pagedPicture(0, 3, false), 0);
    EXPECT_EQ(pagedPictureByWheel(0, 3, 0, -120), 1); // towards the user: forward
    EXPECT_EQ(pagedPictureByWheel(1, 3, 0, 120), 0);
    EXPECT_EQ(pagedPictureByWheel(0, 3, -120, 0), 1);
    EXPECT_EQ(pagedPictureByWheel(0, 1, 0, -120), 0); // one picture: nothing to page
    EXPECT_EQ(steppedNameOption(12, -120), 13);
    EXPECT_EQ(steppedNameOption(13, -120), 13);
    EXPECT_EQ(steppedNameOption(0, 120), 0);
    EXPECT_EQ(steppedNameOption(5, 120), 4);
    EXPECT_EQ(steppedNameOption(20, 0), 13);
}

TEST(CdInputThrottle, KeysAndWheelKeepTheirPace)
{
    CdInputThrottle keys;
    EXPECT_TRUE(keys.acceptKey(100000));
    EXPECT_FALSE(keys.acceptKey(100100)); // within 0.15 s: one step only
    EXPECT_TRUE(keys.acceptKey(100150));
    EXPECT_TRUE(keys.acceptKey(5000)); // another clock

    CdInputThrottle overBox;
    EXPECT_TRUE(overBox.acceptWheel(10000, false));
    EXPECT_FALSE(overBox.acceptWheel(10200, false)); // 0.2 s apart over a box: ignored
    EXPECT_TRUE(overBox.acceptWheel(10250, false));

    CdInputThrottle overPicture;
    EXPECT_TRUE(overPicture.acceptWheel(10000, true));
    EXPECT_TRUE(overPicture.acceptWheel(10200, true)); // over a picture: handled
    EXPECT_FALSE(overPicture.acceptWheel(10350, true)); // 0.15 s and less is too soon
    // One clock for both: a step over a picture holds the box back too.
    EXPECT_FALSE(overPicture.acceptWheel(10400, false));
}
