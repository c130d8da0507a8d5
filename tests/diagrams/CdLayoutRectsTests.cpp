#include "diagrams/CdLayout.h"
#include "diagrams/CdPerson.h"

#include "platform/Localizer.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QRectF& r, std::ostream* os)
{
    *os << "(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}

// Boxes without people, placed in a 1010 × 421 area with the timeline: dh = 400, the centre line at 216 and, with
// three generations, columns 200 wide.
class CdLayoutRects : public ::testing::Test {
protected:
    void SetUp() override
    {
        options.maxAncLevel = 3;
        options.showTimeline = true;
        options.childrenOnLeft = false;
    }
    CdPerson* add(long level, CdPerson* owner, const char* gender = "M", int type = 1, bool spouse = false)
    {
        auto box = std::make_unique<CdPerson>(nullptr, owner, spouse, nullptr, level, &layout);
        box->setGender(LocalizedString(QString::fromLatin1(gender[0] == 'M' ? "MaleShort" : "FemaleShort")));
        box->setPcRelType(type);
        return layout.addBox(std::move(box));
    }
    // An empty diagram with its focal box.
    CdPerson* start()
    {
        layout.refreshPersonArray();
        layout.setOptions(options);
        return add(0, nullptr);
    }
    void place()
    {
        layout.setBounds(QSizeF(1010, 421));
        layout.calculateFocalRect();
        layout.setPersonRects();
    }
    QList<QRectF> rectsOfLevel(long level) const
    {
        QList<QRectF> out;
        for (const auto& b : layout.cdPersonsArray())
            if (b->ancLevel() == level)
                out << b->rclBox();
        return out;
    }
    CdOptions options;
    CdLayout layout;
};

TEST_F(CdLayoutRects, TheFocalBoxSitsOnTheCentreLineInItsColumn)
{
    CdPerson* focal = start();
    place();
    EXPECT_EQ(focal->rclBox(), QRectF(620, 184, 160, 63));
    EXPECT_EQ(layout.diagramHeight(), 400);
    EXPECT_EQ(layout.diagramWidth(), 1010);

    options.childrenOnLeft = true;
    layout.setOptions(options);
    place();
    EXPECT_EQ(focal->rclBox(), QRectF(220, 184, 160, 63));
}

TEST_F(CdLayoutRects, ChildrenShareTheHeightOnlyWhenMoreThanEight)
{
    struct Case {
        int children;
        double firstY, lastY, height;
    };
    // 1: centred on the line; 8: dh / 8 each, meeting at the line; 9: dh / 9 each.
    for (const Case& c : {Case {1, 193, 193, 45}, Case {8, 18, 368, 45}, Case {9, 18, 373.5556, 40.4444}}) {
        SCOPED_TRACE(c.children);
        CdPerson* focal = start();
        for (int i = 0; i < c.children; ++i)
            add(CdPerson::kChild, focal, "F");
        place();
        const QList<QRectF> rects = rectsOfLevel(CdPerson::kChild);
        ASSERT_EQ(rects.size(), c.children);
        EXPECT_NEAR(rects.first().y(), c.firstY, 1e-3);
        EXPECT_NEAR(rects.last().y(), c.lastY, 1e-3);
        EXPECT_NEAR(rects.first().height(), c.height, 1e-3);
        EXPECT_EQ(rects.first().x(), 820);
    }
    options.childrenOnLeft = true;
    add(CdPerson::kChild, start());
    place();
    EXPECT_EQ(rectsOfLevel(CdPerson::kChild).first(), QRectF(20, 193, 160, 45));
}

TEST_F(CdLayoutRects, EachGenerationHalvesFromTheFourthAndMirrorsWithChildrenOnLeft)
{
    options.maxAncLevel = 5;
    for (const bool left : {false, true}) {
        SCOPED_TRACE(left);
        options.childrenOnLeft = left;
        CdPerson* owner = start();
        QList<CdPerson*> fathers;
        for (int level = 1; level <= 5; ++level)
            fathers << (owner = add(level, owner));
        CdPerson* mother = add(1, layout.cdPersonsArray()[0].get(), "F");
        place();
        const double cw = 1000.0 / 7;
        const double heights[] = {45, 45, 45, 23, 11.5}; // dh/8 for 1-3, then dh/16 and dh/32, inset
        for (int level = 1; level <= 5; ++level) {
            const QRectF r = fathers[level - 1]->rclBox();
            EXPECT_NEAR(r.height(), heights[level - 1], 1e-6) << level;
            EXPECT_NEAR(r.x(), (left ? cw * (level + 1) : cw * (5 - level)) + 14, 1e-6) << level;
        }
        // A parent stands dh / 4 above or below the child's centre: the focal centre is 215.5.
        EXPECT_NEAR(fathers[0]->rclBox().y(), 215.5 - 100 - 25 + 2, 1e-6);
        EXPECT_NEAR(mother->rclBox().y(), 215.5 + 100 - 25 + 2, 1e-6);
    }
}

TEST_F(CdLayoutRects, SpousesStackUnderTheFocalBoxAndStepParentsFillTheBand)
{
    CdPerson* focal = start();
    add(CdPerson::kSpouse, focal, "F", 1, true);
    add(CdPerson::kSpouse, focal, "F", 1, true);
    add(1, focal, "M", 2);
    add(1, focal, "F", 4);
    add(1, focal, "F", 8);
    place();
    EXPECT_EQ(rectsOfLevel(CdPerson::kSpouse), QList<QRectF>({QRectF(620, 254, 160, 46), QRectF(620, 304, 160, 46)}));
    // Three slots of (dh/2 - dh/8) / 3 = 50 from 141 down, in column maxAncLevel - 1.
    EXPECT_EQ(rectsOfLevel(1), QList<QRectF>({QRectF(420, 143, 160, 45), QRectF(420, 193, 160, 45),
                                              QRectF(420, 243, 160, 45)}));
}

TEST_F(CdLayoutRects, AssociatedPeopleFillRowsAboveTheFocalBoxLeftThenRight)
{
    CdPerson* focal = start();
    for (int i = 0; i < 3; ++i)
        add(CdPerson::kAssociated, focal, "M", 0);
    place();
    // Rows 50 high from 116 upwards, boxes 1.3 × half the focal width; the odd one out leaves the right empty.
    EXPECT_EQ(rectsOfLevel(CdPerson::kAssociated),
              QList<QRectF>({QRectF(586, 66, 104, 40), QRectF(710, 66, 104, 40), QRectF(586, 16, 104, 40)}));
}

TEST_F(CdLayoutRects, SlotsAreInsetByWholePoints)
{
    struct Case {
        QRectF slot, box;
    };
    for (const Case& c : {Case {{0, 0, 200, 70}, {20, 3, 160, 63}}, Case {{10, 10, 5, 5}, {10, 11, 4, 4}},
                          Case {{0, 0, 19.9, 0.5}, {1, 1, 16.9, 0.5}}, Case {{0, 0, 30, 1}, {3, 1, 24, 1}}}) {
        QRectF r = c.slot;
        CdLayout::resizeTheTextBox(&r);
        EXPECT_EQ(r, c.box);
    }
}

TEST_F(CdLayoutRects, TheGenerationsShownStayWithinOneAndNinetyNine)
{
    for (const auto& [asked, kept] : {std::pair {-2, 1}, std::pair {0, 1}, std::pair {9, 9}, std::pair {120, 99}}) {
        options.maxAncLevel = asked;
        start();
        place();
        EXPECT_EQ(layout.maxAncLevel(), kept);
        EXPECT_NEAR(layout.columnWidth(), 1000.0 / (kept + 2), 1e-9);
        EXPECT_GE(layout.rclFocalPerson().x(), 0);
    }
}

TEST_F(CdLayoutRects, HitTestsReachTwoPointsAboveAndBelowABox)
{
    CdPerson* focal = start();
    CdPerson* child = add(CdPerson::kChild, focal);
    CdPerson* grandfather = add(2, add(1, focal));
    place();
    const QRectF r = focal->rclBox();
    EXPECT_EQ(layout.getClickedPerson(QPointF(r.center().x(), r.y() - 1)), focal);
    EXPECT_EQ(layout.getClickedPerson(QPointF(r.center().x(), r.y() - 3)), nullptr);
    EXPECT_EQ(layout.getClickedPerson(QPointF(r.center().x(), r.bottom() + 1.5)), focal);
    // A change of selected child redraws everything of level 1 and below, and nothing for other boxes.
    const QRectF redraw = layout.getRedrawRectFor(focal, child);
    EXPECT_TRUE(redraw.contains(child->rclBox()));
    EXPECT_FALSE(redraw.intersects(grandfather->rclBox()));
    EXPECT_TRUE(layout.getRedrawRectFor(focal, grandfather).isNull());
}
