// Where the hierarchy boxes go: bands and pages, columns, centring, compaction, size to width, extents, the path
// to the root and the timeline. Text is measured with fixed metrics.
#include "HierarchyFixture.h"

#include <gmock/gmock.h>

namespace {

constexpr double kMinimumBand = 11 * 3 * 1.4;

class HierarchyLayoutTest : public HierarchyFixture {
protected:
    // The boxes of each level, left to right (top to bottom), by the same-level links.
    QList<QList<Hierarchy*>> levels() const
    {
        QList<QList<Hierarchy*>> out;
        for (Hierarchy* h : nodes()) {
            if (h->previousAtLevel())
                continue;
            QList<Hierarchy*> level;
            for (Hierarchy* n = h; n; n = n->nextAtLevel())
                level << n;
            out << level;
        }
        return out;
    }
    // No two boxes of a level closer than the spacing (top-down) or overlapping (horizontal).
    void expectNoOverlap() const
    {
        for (const QList<Hierarchy*>& level : levels())
            for (qsizetype i = 1; i < level.size(); ++i) {
                const QRectF a = level[i - 1]->rclBox(), b = level[i]->rclBox();
                if (layout.bHorizontal())
                    EXPECT_GE(b.top(), a.bottom() - 1e-9) << level[i]->person()->name().toStdString();
                else
                    EXPECT_GE(b.left(), a.right() + layout.horizontalSpacing() - 1e-9)
                        << level[i]->person()->name().toStdString();
            }
    }
    // A family whose middle child has none: R has A (with A1 to A3), B, and C (with C1 to C3).
    void threeBranches()
    {
        r = person("R Root", M());
        const QList<FTPerson*> abc = children(r, { "A Kid", "B Kid", "C Kid" });
        a = abc[0];
        b = abc[1];
        c = abc[2];
        as = children(a, { "A1 Kid", "A2 Kid", "A3 Kid" });
        cs = children(c, { "C1 Kid", "C2 Kid", "C3 Kid" });
    }
    FTPerson *r = nullptr, *a = nullptr, *b = nullptr, *c = nullptr;
    QList<FTPerson*> as, cs;
};

TEST_F(HierarchyLayoutTest, BandsHoldTheTallestBoxAndNeverCrossAPage)
{
    FTPerson* root = person("Rob Root", M());
    const QList<FTPerson*> kids = children(root, { "Kid One", "Kid Two" });
    FTPerson* tall = person(QString(200, 'x') + " Long", M());
    link(kids[0], tall);
    FTPerson* last = children(tall, { "Last One" })[0];

    build(root, false);
    const std::vector<QRectF>& bands = layout.rowHeightsArray();
    ASSERT_EQ(bands.size(), 4u);
    EXPECT_DOUBLE_EQ(bands[0].height(), kMinimumBand);
    EXPECT_GT(bands[2].height(), kMinimumBand);
    EXPECT_EQ(bands[0].top(), 60);
    EXPECT_DOUBLE_EQ(bands[1].top(), 60 + kMinimumBand + 22);
    for (Hierarchy* h : nodes()) {
        EXPECT_EQ(h->rclBox().top(), bands[size_t(h->level())].top());
        EXPECT_EQ(h->rclBox().height(), bands[size_t(h->level())].height());
        EXPECT_EQ(h->rclBox().width(), 220);
    }

    // Pages of 150 points (paper 210): a band that would cross a page's foot starts 22 points below it; a band
    // taller than a page pushes the next one below itself.
    layout.setShowPageBreaks(true);
    for (double page : { 150.0, 80.0 }) {
        build(root, false, 800, QSizeF(612, page + 60));
        for (size_t level = 0; level < bands.size(); ++level) {
            const QRectF band = layout.rowHeightsArray()[level];
            if (level > 0) {
                EXPECT_GE(band.top(), layout.rowHeightsArray()[level - 1].bottom() + 22) << page << " " << level;
            }
            if (band.height() <= page - 22) {
                EXPECT_EQ(std::floor(band.top() / page), std::floor(band.bottom() / page)) << page << " " << level;
            }
        }
    }
    build(root, false, 800, QSizeF(612, 210));
    EXPECT_DOUBLE_EQ(layout.rowHeightsArray()[1].top(), 150 + 22);
    EXPECT_EQ(node(last)->rclBox().top(), layout.rowHeightsArray()[3].top());
}

TEST_F(HierarchyLayoutTest, AnAncestorsRootIsLowestAndMissingGenerationsLeaveNoGap)
{
    FTPerson* kid = person("Kid One", M());
    link(person("Dad One", M()), kid);
    link(person("Mum One", F()), kid);
    options.generations = 5;
    Hierarchy* root = build(kid, true);
    ASSERT_EQ(layout.rowHeightsArray().size(), 2u);
    EXPECT_EQ(layout.rowHeightsArray()[1].top(), 60);
    EXPECT_DOUBLE_EQ(root->rclBox().top(), 60 + kMinimumBand + 22);
    // The parents side by side, the child centred under them.
    const QList<Hierarchy*> parents = root->nextGenArray();
    EXPECT_EQ(parents[0]->rclBox().left(), 10);
    EXPECT_EQ(parents[1]->rclBox().left(), 10 + 220 + 22);
    EXPECT_DOUBLE_EQ(root->rclBox().center().x(), (parents[0]->rclBox().center().x() + parents[1]->rclBox().center().x()) / 2);
}

TEST_F(HierarchyLayoutTest, SizeToWidthOnlyWidensAndKeepsTheRootWide)
{
    options.sizeToWidth = true;
    FTPerson* root = person("Rob Root", M());
    children(root, { "Kid One", "Kid Two" });

    // Two rows in 300 points: columns of 300 / 3.3, the root 200 wide, then all widened to the window.
    Hierarchy* top = build(root, false, 300);
    EXPECT_DOUBLE_EQ(layout.columnWidth(), 300 / 3.3);
    EXPECT_GT(layout.mag(), 1.0);
    EXPECT_DOUBLE_EQ(layout.xExtent(), 300);
    EXPECT_DOUBLE_EQ(top->rclBox().width(), 200 * layout.mag());
    EXPECT_DOUBLE_EQ(top->nextGenArray()[1]->rclBox().width(), 300 / 3.3 * layout.mag());
    expectNoOverlap();

    // Wider than a narrow window: nothing shrinks, and the root box stays inside the view.
    top = build(person("Lone Root", M()), false, 100);
    EXPECT_EQ(layout.mag(), 1.0);
    EXPECT_EQ(top->rclBox().width(), 200);
    EXPECT_GE(top->rclBox().left(), layout.leftMargin());
    EXPECT_GT(layout.xExtent(), 100);

    // Page breaks keep the printed column width.
    layout.setShowPageBreaks(true);
    build(root, false, 300);
    EXPECT_EQ(layout.columnWidth(), 220);
}

TEST_F(HierarchyLayoutTest, HorizontalColumnsStackAndCentre)
{
    options.horizontal = true;
    FTPerson* root = person("Rob Root", M());
    const QList<FTPerson*> kids = children(root, { "Kid A", "Kid B", "Kid C" });
    const QList<FTPerson*> grand = children(kids[0], { "Gin One", "Gin Two" });

    Hierarchy* top = build(root, false);
    EXPECT_EQ(layout.horizontalSpacing(), 0);
    const QRectF k0 = node(kids[0])->rclBox(), k1 = node(kids[1])->rclBox(), k2 = node(kids[2])->rclBox();
    const QRectF g0 = node(grand[0])->rclBox(), g1 = node(grand[1])->rclBox();
    // Columns of 220 points, boxes 11 narrower; each box as tall as its text, one line more when not scrunched.
    EXPECT_EQ(k0.left(), 10 + 220);
    EXPECT_EQ(g0.left(), 10 + 440);
    EXPECT_EQ(k0.width(), 209);
    EXPECT_DOUBLE_EQ(g0.height(), 2 * 1.2 * 11 + 5.5 + 11);
    EXPECT_EQ(g0.top(), 60);
    EXPECT_EQ(g1.top(), g0.bottom());
    EXPECT_DOUBLE_EQ(k0.top(), (g0.top() + g1.top()) / 2);
    EXPECT_EQ(k1.top(), g1.bottom()) << "not scrunched: below the children of the box above";
    EXPECT_EQ(k2.top(), k1.bottom());
    EXPECT_DOUBLE_EQ(top->rclBox().top(), (k0.top() + k2.top()) / 2);
    EXPECT_EQ(top->rclBox().left(), 10);

    // Cascaded: each box level with its first child.
    options.cascaded = true;
    top = build(root, false);
    EXPECT_EQ(top->rclBox().top(), 60);
    EXPECT_EQ(node(kids[0])->rclBox().top(), 60);
    expectNoOverlap();
}

TEST_F(HierarchyLayoutTest, CompactionLeavesAChainAlone)
{
    QList<FTPerson*> line { person("Gen Zero", M()) };
    for (int g = 1; g < 4; ++g)
        line << children(line.last(), { "Gen More" })[0];
    for (bool horizontal : { false, true }) {
        options.horizontal = horizontal;
        QList<QPointF> plain, packed;
        for (bool scrunched : { false, true }) {
            options.scrunched = scrunched;
            build(line.first(), false);
            for (Hierarchy* h : nodes())
                (scrunched ? packed : plain) << h->rclBox().topLeft();
        }
        EXPECT_EQ(plain, packed) << "horizontal " << horizontal;
    }
}

// Top-down, C's children move back under B, until C1 is a spacing away from A3; horizontal, C moves up beside
// B's column as far as its outline allows.
TEST_F(HierarchyLayoutTest, CompactionPullsASubtreeBackUntilItTouches)
{
    threeBranches();
    build(r, false);
    const double plainC1 = node(cs[0])->rclBox().left();
    EXPECT_DOUBLE_EQ(plainC1, 10 + 4 * (220 + 22));

    options.scrunched = true;
    build(r, false);
    EXPECT_DOUBLE_EQ(node(cs[0])->rclBox().left(), node(as[2])->rclBox().right() + 22);
    EXPECT_DOUBLE_EQ(plainC1 - node(cs[0])->rclBox().left(), 220 + 22);
    EXPECT_DOUBLE_EQ(node(c)->rclBox().left(), node(b)->rclBox().right() + 22);
    EXPECT_DOUBLE_EQ(node(r)->rclBox().center().x(), (node(a)->rclBox().center().x() + node(c)->rclBox().center().x()) / 2);
    expectNoOverlap();

    options.horizontal = true;
    build(r, false);
    const QRectF bBox = node(b)->rclBox();
    const double h = bBox.height();
    EXPECT_DOUBLE_EQ(node(c)->rclBox().top(), bBox.bottom());
    EXPECT_DOUBLE_EQ(node(cs[0])->rclBox().top(), node(as[2])->rclBox().bottom());
    EXPECT_LT(node(cs[0])->rclBox().top(), bBox.bottom()) << "beside B, one column further";
    EXPECT_DOUBLE_EQ(node(c)->rclBox().top() - node(cs[0])->rclBox().top(), h);
    expectNoOverlap();
}

TEST_F(HierarchyLayoutTest, TheGapsStopAtTheMarginsAndSayWhenBoxesOverlap)
{
    threeBranches();
    options.scrunched = true;
    build(r, false);
    Hierarchy* first = node(a);
    EXPECT_EQ(layout.getMaxRightToLeftScrunch_V(first), 0) << "at the margin already";
    layout.recurseShiftLeftPixels_V(first, -30);
    EXPECT_DOUBLE_EQ(node(as[0])->rclBox().left(), 10 + 30) << "the subtree moves along";
    EXPECT_DOUBLE_EQ(layout.getMaxRightToLeftScrunch_V(first), 30);
    EXPECT_LT(layout.getMaxLeftToRightScrunch_V(first), 0) << "now over B";

    options.horizontal = true;
    build(r, false);
    first = node(a);
    layout.recurseShiftUpPixels_H(first, -25);
    EXPECT_DOUBLE_EQ(layout.getMaxBottomUpScrunchFor(first), 25);
    EXPECT_LT(layout.getMaxTopDownScrunchFor(first), 0);
}

TEST_F(HierarchyLayoutTest, CascadedHorizontalDiagramsAreNotCompacted)
{
    threeBranches();
    options.horizontal = options.cascaded = options.scrunched = true;
    build(r, false);
    // Every box where the plain cascaded rule puts it: below the box before it, level with its first child,
    // below the boxes before its owners.
    for (Hierarchy* h : nodes()) {
        double y = 60;
        if (Hierarchy* before = h->previousAtLevel())
            y = std::max(y, before->rclBox().bottom());
        if (h->level() < layout.maxLevel() && !h->nextGenArray().isEmpty())
            y = std::max(y, h->nextGenArray().first()->rclBox().top());
        for (Hierarchy* o = h->owner(); o; o = o->owner())
            if (o->previousAtLevel())
                y = std::max(y, o->previousAtLevel()->rclBox().bottom());
        EXPECT_DOUBLE_EQ(h->rclBox().top(), y) << h->person()->name().toStdString();
    }
}

TEST_F(HierarchyLayoutTest, ExtentsCoverEveryBox)
{
    threeBranches();
    for (bool horizontal : { false, true }) {
        options.horizontal = horizontal;
        build(r, false);
        double right = 0, bottom = 0;
        for (Hierarchy* h : nodes()) {
            right = std::max(right, h->rclBox().right());
            bottom = std::max(bottom, h->rclBox().bottom());
        }
        EXPECT_DOUBLE_EQ(layout.xExtent(), right + layout.horizontalSpacing());
        EXPECT_DOUBLE_EQ(layout.yExtent(), bottom + 30);
        EXPECT_EQ(layout.maxRow(), 6);
        EXPECT_EQ(layout.resetFrameSize(nullptr, QSizeF(100, 2000)), QSizeF(layout.xExtent(), 2000));
        EXPECT_EQ(layout.selectedHierarchy(), layout.rootHierarchy());
    }
}

TEST_F(HierarchyLayoutTest, TheRootPathRunsFromEveryBoxOfARepeatedPerson)
{
    const auto [old, g, h, a, b, x, y, z] = cousins();
    year(z, "birth", 1950);
    year(x, "birth", 1920);
    year(y, "birth", 1925);
    year(a, "birth", 1890);

    build(z, true);
    layout.resetFrameSize(g, QSizeF(800, 600));
    ASSERT_EQ(layout.selectedHierarchy(), nodesOf(g)[0]);
    layout.createRootPath();
    const QList<Hierarchy*> path = layout.pathToRoot();
    EXPECT_EQ(QSet<Hierarchy*>(path.begin(), path.end()),
        (QSet<Hierarchy*> { nodesOf(g)[0], node(a), node(x), node(z), nodesOf(g)[1], node(b), node(y) }));
    EXPECT_EQ(path.size(), 7) << "each box once";

    layout.resetFrameSize(x, QSizeF(800, 600));
    layout.createRootPath();
    EXPECT_EQ(layout.pathToRoot(), (QList<Hierarchy*> { node(x), node(z) }));
    EXPECT_EQ(layout.nextInSameColumn(node(a), layout.rootHierarchy()), node(b));
    EXPECT_EQ(layout.nextInSameColumn(node(b), layout.rootHierarchy()), nullptr);

    options.showRootPath = false;
    build(z, true);
    layout.resetFrameSize(g, QSizeF(800, 600));
    layout.createRootPath();
    EXPECT_TRUE(layout.pathToRoot().isEmpty());
    EXPECT_EQ(HierarchyLayout::pathFromNodeToRoot(layout.selectedHierarchy()).size(), 4);

    // The timeline: each generation's average birth year, whole years; horizontal diagrams only.
    EXPECT_EQ(layout.timelineArray(), (std::vector<int> { 0, 0, 0, 0, 0 }));
    options.horizontal = true;
    build(z, true);
    EXPECT_EQ(layout.timelineArray(), (std::vector<int> { 1950, 1922, 1890, 0, 0 }));
}

}
