#include "DiagramFixture.h"

#include "diagrams/CdPainter.h"
#include "diagrams/CdRelationshipBand.h"
#include "diagrams/TextMeasurer.h"

#include "model/FTPcRel.h"

#include <QLineF>
#include <QPainter>

// The fixture's wider family with Mum's father above her, and the wife as Daughter's step mother and as "not related"
// to Son.
class CdRelationshipBandTest : public DiagramFixture {
protected:
    void SetUp() override
    {
        DiagramFixture::SetUp();
        makeWiderFamily();
        mumsDad = person("Mum's Dad", M(), 1875);
        link(mumsDad, mum);
        link(wife, daughter, FTPcRel::kStep);
        link(wife, son, FTPcRel::kNotRelated);
    }
    void layOut(bool childrenOnLeft)
    {
        options.childrenOnLeft = childrenOnLeft;
        build();
        place();
    }
    CdPerson* box(FTPerson* p) const { return layout.findPerson(p); }
    // "parent > child", "couple a + b", or "none"; with the label's key.
    QString drag(FTPerson* from, const CdPerson* over)
    {
        const CdRelationshipBand::Step s = CdRelationshipBand::classify(*box(from), over, QPointF(1, 1), options.childrenOnLeft);
        if (!s.drawn)
            return "no band";
        if (!s.hasTarget())
            return "none";
        const QString pair = s.isCouple() ? QStringLiteral("couple %1 + %2").arg(s.spouse1->name(), s.spouse2->name())
                                          : QStringLiteral("%1 > %2").arg(s.parent->name(), s.child->name());
        return pair + " " + CdRelationshipBand::labelKey(s.relationship);
    }
    QString drag(FTPerson* from, FTPerson* over) { return drag(from, box(over)); }

    FTPerson* mumsDad = nullptr;
};

TEST_F(CdRelationshipBandTest, EachKindOfSourceReachesItsTargets)
{
    layOut(true);
    struct Case {
        FTPerson* from;
        FTPerson* over;
        const char* expected;
    } cases[] = {
        {son, me, "Me > Son NaturalInitial"},
        {son, wife, "Wife > Son "}, // typed "not related": a white box without a letter
        {wife, me, "couple Wife + Me MarriedInitial"},
        {wife, daughter, "Wife > Daughter StepInitial"},
        {me, son, "Me > Son NaturalInitial"},
        {me, wife, "couple Me + Wife MarriedInitial"},
        {me, dad, "Dad > Me NaturalInitial"},
        {me, stepDad, "Stepdad > Me StepInitial"},
        {dad, me, "Dad > Me NaturalInitial"},
        {dad, mum, "couple Dad + Mum MarriedInitial"},
        {dad, grandad, "Grandad > Dad NaturalInitial"},
        {grandad, dad, "Grandad > Dad NaturalInitial"},
        // No target: a sibling, a box two generations away, one of the same generation with another owner, one of
        // the same gender, the source itself.
        {son, daughter, "none"},
        {dad, son, "none"},
        {grandad, mumsDad, "none"},
        {dad, stepDad, "none"},
        {mum, mum, "none"},
        {friendOfMe, me, "no band"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(drag(c.from, c.over), c.expected) << c.from->name().toStdString() << " to " << c.over->name().toStdString();

    // Empty slots and the background are no targets.
    options.showGhostOutlines = true;
    const CdPerson* slot = nullptr;
    layOut(true);
    for (const auto& b : layout.cdPersonsArray())
        if (b->isGhost() && b->ancLevel() == CdPerson::kChild)
            slot = b.get();
    ASSERT_TRUE(slot);
    EXPECT_EQ(drag(me, slot), "none");
    EXPECT_EQ(drag(me, static_cast<const CdPerson*>(nullptr)), "none");
    // Without a link the pair is unknown.
    FTPerson* newChild = person("New", F(), 1960);
    EXPECT_EQ(CdRelationshipBand::labelKey(CdRelationshipBand::existingRelationship(wife, newChild)), "UnkInitial");
}

TEST_F(CdRelationshipBandTest, AnchorsFaceEachOtherAndSwapWithTheChildrensSide)
{
    for (const bool onLeft : {true, false}) {
        layOut(onLeft);
        const QRectF s = box(son)->rclBox();
        const QRectF m = box(me)->rclBox();
        const QRectF d = box(dad)->rclBox();
        const QRectF w = box(wife)->rclBox();
        const QRectF u = box(mum)->rclBox();
        const auto line = [&](FTPerson* from, FTPerson* over) {
            return CdRelationshipBand::classify(*box(from), box(over), QPointF(1, 1), onLeft).line;
        };
        // A child's ancestor side to the parent's descendant side, and back.
        const double sonSide = onLeft ? s.right() : s.left();
        const double meChildSide = onLeft ? m.left() : m.right();
        const double meParentSide = onLeft ? m.right() : m.left();
        EXPECT_EQ(line(son, me), QLineF(sonSide, s.center().y(), meChildSide, m.center().y())) << onLeft;
        EXPECT_EQ(line(me, son), QLineF(meChildSide, m.center().y(), sonSide, s.center().y())) << onLeft;
        EXPECT_EQ(line(me, dad), QLineF(meParentSide, m.center().y(), onLeft ? d.left() : d.right(), d.center().y()));
        // A couple: centre to centre, and between an ancestor couple's facing edges.
        EXPECT_EQ(line(wife, me), QLineF(w.center(), m.center()));
        ASSERT_LT(d.y(), u.y());
        EXPECT_EQ(line(dad, mum), QLineF(d.center().x(), d.bottom(), u.center().x(), u.top()));
        EXPECT_EQ(line(mum, dad), QLineF(u.center().x(), u.top(), d.center().x(), d.bottom()));
    }
    // Without a target the band runs from the source's centre to the pointer.
    const CdRelationshipBand::Step loose = CdRelationshipBand::classify(*box(son), nullptr, QPointF(3, 4), false);
    EXPECT_TRUE(loose.drawn);
    EXPECT_EQ(loose.line, QLineF(box(son)->rclBox().center(), QPointF(3, 4)));
    EXPECT_TRUE(loose.targetRect.isNull());
}

TEST_F(CdRelationshipBandTest, TheLabelNamesTheLinkType)
{
    const std::pair<int, const char*> cases[] = {{0, "UnkInitial"},     {1, "NaturalInitial"},
                                                 {2, "StepInitial"},    {4, "FosterInitial"},
                                                 {8, "AdoptedInitial"}, {999, "MarriedInitial"},
                                                 {4096, ""},            {3, ""}};
    for (const auto& [type, key] : cases)
        EXPECT_EQ(CdRelationshipBand::labelKey(type), key) << type;
}

// The squares in the middle of the lines, as the last painting left them.
TEST_F(CdRelationshipBandTest, APressOnALinesMiddleFindsItsLink)
{
    layOut(true);
    QImage image(1010, 421, QImage::Format_ARGB32_Premultiplied);
    const FixedTextMeasurer measurer;
    const auto paint = [&] {
        QPainter painter(&image);
        CdPainter::paintDiagram(painter, layout, QRectF(), measurer);
    };
    paint();
    const auto middle = [&](FTPerson* p) { return QLineF(box(p)->pathToOwner().pointAtPercent(0), box(p)->pathToOwner().pointAtPercent(1)).center(); };
    const auto pressed = [&](const QPointF& at) {
        const CdLayout::ClickedPath c = layout.getClickedPath(at);
        if (c.associatedBox)
            return "association " + c.associatedBox->person()->name();
        if (!c.hit)
            return QStringLiteral("nothing");
        if (!c.parent || !c.child)
            return QStringLiteral("a line without a link");
        return c.parent->name() + " > " + c.child->name();
    };
    EXPECT_EQ(pressed(middle(son) + QPointF(5, 5)), "Me > Son");
    EXPECT_EQ(pressed(middle(son) + QPointF(7, 0)), "nothing");
    EXPECT_EQ(pressed(middle(grandad)), "Grandad > Dad");
    EXPECT_EQ(pressed(middle(friendOfMe)), "association Friend");

    // With a child selected, the other children's lines are not drawn and cannot be pressed (not even at the
    // corner where an unpainted line would lie), and the child's line to its step mother can.
    layout.setSelectedPerson(son);
    paint();
    EXPECT_TRUE(box(daughter)->pathToOwner().isEmpty());
    EXPECT_EQ(pressed(QPointF(2, 2)), "nothing");
    EXPECT_EQ(pressed(box(son)->lineEndsTo(*box(wife)).center()), "Wife > Son");
}
