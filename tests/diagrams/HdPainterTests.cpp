// The hierarchy diagram painted onto images: on screen and on paper, small text, frames of repeated people, the
// band behind the selected box, the timeline's years and the title block's lines.
#include "HierarchyFixture.h"

#include "diagrams/HdPainter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPainterPathStroker>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <functional>

namespace {

class HdPainterTest : public HierarchyFixture {
protected:
    void SetUp() override
    {
        HierarchyFixture::SetUp();
        options.bgColour = QColor(200, 230, 200);
        options.highlightColour = QColor(255, 255, 0);
        options.nameColour = QColor(255, 0, 0);
    }

    // R with A (A1, A2) and B; A is selected.
    void family()
    {
        r = person("R Root", M());
        const QList<FTPerson*> ab = children(r, { "A Kid", "B Kid" });
        a = ab[0];
        const QList<FTPerson*> kids = children(a, { "A1 Kid", "A2 Kid" });
        a1 = kids[0];
        a2 = kids[1];
        build(r, false);
        layout.resetFrameSize(a, QSizeF(900, 500));
        layout.createRootPath();
    }

    // The diagram painted onto a white image as large as the view, only `exposed` (the whole view when empty).
    QImage paint(bool printing, QRectF exposed = {})
    {
        const QSize size(int(std::max(900.0, layout.xExtent())), int(std::max(500.0, layout.yExtent())));
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter p(&image);
        HdPainter painter(layout);
        painter.printing = printing;
        painter.dialogTitle = "Title";
        painter.paint(p, exposed.isEmpty() ? QRectF(QPointF(0, 0), QSizeF(size)) : exposed, QSizeF(size));
        return image;
    }

    static int countPixels(const QImage& image, const QRectF& area, const std::function<bool(QColor)>& wanted)
    {
        int n = 0;
        const QRect r = area.toAlignedRect().intersected(image.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += wanted(image.pixelColor(x, y));
        return n;
    }
    static bool near(QColor c, QColor want, int tolerance = 2)
    {
        return std::abs(c.red() - want.red()) <= tolerance && std::abs(c.green() - want.green()) <= tolerance
            && std::abs(c.blue() - want.blue()) <= tolerance;
    }
    static bool bluish(QColor c) { return c.blue() > c.red() + 60 && c.blue() > c.green() + 60; }
    static bool darkGrey(QColor c) { return c.red() < 200 && std::abs(c.red() - c.blue()) < 12 && std::abs(c.red() - c.green()) < 12; }
    static bool reddish(QColor c) { return c.red() > 150 && c.green() < 110 && c.blue() < 110; }

    FTPerson *r = nullptr, *a = nullptr, *a1 = nullptr, *a2 = nullptr;
};

TEST_F(HdPainterTest, PaperHasNoScreenColoursAndEveryText)
{
    family();
    const QRectF boxA = node(a)->rclBox();
    const QRectF boxA1 = node(a1)->rclBox();
    // The line up from A1 towards its owner A, just above A1's box.
    const QRectF line(boxA1.center().x() - 2, boxA1.top() - layout.verticalSpacing() / 2 + 2, 4, 4);
    const QPointF empty(layout.xExtent() + 20, 10);

    const QImage screen = paint(false);
    EXPECT_TRUE(near(screen.pixelColor(empty.toPoint()), options.bgColour));
    EXPECT_GT(countPixels(screen, boxA, [](QColor c) { return near(c, QColor(255, 255, 0)); }), 100);
    EXPECT_GT(countPixels(screen, line, bluish), 0);

    const QImage paper = paint(true);
    EXPECT_EQ(paper.pixelColor(empty.toPoint()), QColor(Qt::white));
    EXPECT_EQ(countPixels(paper, boxA, [](QColor c) { return near(c, QColor(255, 255, 0), 40); }), 0);
    EXPECT_EQ(countPixels(paper, line, bluish), 0);
    EXPECT_GT(countPixels(paper, line, darkGrey), 0);
    // The selected person's frame stays blue.
    EXPECT_GT(countPixels(paper, QRectF(boxA.left() - 1, boxA.center().y(), 2, 2), bluish), 0);

    // Only the corner is exposed: the screen leaves A2's box alone, paper gets its name all the same.
    const QRectF corner(0, 0, 20, 20);
    const QRectF boxA2 = node(a2)->rclBox();
    EXPECT_EQ(countPixels(paint(false, corner), boxA2, reddish), 0);
    EXPECT_GT(countPixels(paint(true, corner), boxA2, reddish), 0);
}

TEST_F(HdPainterTest, TextBelowTwoPointsIsLeftOutButFramesStay)
{
    for (double size : { 1.9, 2.0 }) {
        options.pointSize = size;
        family();
        const QRectF box = node(a2)->rclBox();
        const QImage image = paint(false);
        // The frame's top edge, and the inside clear of it.
        const auto marked = [&](QColor c) { return !near(c, options.bgColour, 6); };
        EXPECT_GT(countPixels(image, QRectF(box.left() + 2, box.top() - 0.5, box.width() - 4, 1), marked), 0);
        const int marks = countPixels(image, box.adjusted(1.5, 1.5, -1.5, -1.5), marked);
        if (size < 2)
            EXPECT_EQ(marks, 0);
        else
            EXPECT_GT(marks, 0);
    }
}

TEST_F(HdPainterTest, AcrossOnlyRepeatedPeopleAreFramedInGrey)
{
    options.horizontal = true;
    options.bgColour = Qt::white;
    const Cousins c = cousins();
    build(c.z, true);
    layout.resetFrameSize(nullptr, QSizeF(900, 500));
    const QImage image = paint(false);
    const double p = layout.pointSize();
    int repeated = 0;
    for (Hierarchy* h : nodes()) {
        const QRectF box = h->rclBox();
        const double bottom = box.y() + box.height() - 0.25 * p;
        const QRectF edge(box.x() + box.width() / 3, bottom - 1, box.width() / 3, 2);
        const int grey = countPixels(image, edge, [](QColor px) {
            return px.red() < 245 && px.red() == px.green() && px.green() == px.blue();
        });
        const bool framed = h->repeatFlag() || h->repeatedElsewhere();
        repeated += framed;
        if (framed)
            EXPECT_GT(grey, 0) << h->person()->name().toStdString();
        else
            EXPECT_EQ(grey, 0) << h->person()->name().toStdString();
    }
    EXPECT_EQ(repeated, 4); // G and H, each twice
}

TEST_F(HdPainterTest, TheBandBehindTheSelectedBoxShadesLinearly)
{
    options.bgColour = QColor(100, 150, 200);
    options.colourGradient = 0;
    family();
    const QRectF box = node(a)->rclBox();
    const QImage image = paint(false);
    const int x = image.width() - 2; // beside every box
    auto at = [&](double y) { return image.pixelColor(x, int(std::floor(y))); };
    // From the background at the box's top to 90 % of the way to white at its middle, in a straight line.
    const QColor middle(235, 240, 245);
    EXPECT_TRUE(near(at(box.top() - 3), options.bgColour)) << at(box.top() - 3).name().toStdString();
    EXPECT_TRUE(near(at(box.top() + 0.5), options.bgColour, 7)) << at(box.top()).name().toStdString();
    EXPECT_TRUE(near(at(box.top() + box.height() / 4), QColor(170, 197, 225), 4))
        << at(box.top() + box.height() / 4).name().toStdString();
    EXPECT_TRUE(near(at(box.center().y()), middle, 4)) << at(box.center().y()).name().toStdString();
    EXPECT_TRUE(near(at(box.bottom() - 0.5), options.bgColour, 7)) << at(box.bottom() - 0.5).name().toStdString();
    EXPECT_TRUE(near(at(box.bottom() + 3), options.bgColour));
}

TEST_F(HdPainterTest, TimelineYearsAndTitleLines)
{
    const std::pair<int, int> years[] = { { 1850, 1850 }, { 1851, 1850 }, { 1852, 1850 }, { 1853, 1855 },
        { 1854, 1855 }, { 1855, 1855 } };
    for (auto [average, shown] : years)
        EXPECT_EQ(HdPainter::timelineYear(average), shown) << average;

    const QDateTime when(QDate(2009, 1, 5), QTime(14, 30));
    EXPECT_EQ(HdPainter::createdOnText(when, {}), "Created on Monday 05-Jan-09 at 14:30");
    EXPECT_EQ(HdPainter::createdOnText(when, "Jane Smith"), "Created on Monday 05-Jan-09 at 14:30 by Jane Smith");
    EXPECT_EQ(HdPainter::footerText(), "Created with Kinloom");
}

// Two generations of parents above Z, each a pair, with long names; drawn across and top-down, up and down the
// tree, at small, normal and large text: no line of the chart meets the letters of a name, nor does the white
// stroke that goes under a line across.
TEST_F(HdPainterTest, ChartLinesMeetNoName)
{
    const auto named = [this](const char* name, const QString& gender, int born) {
        FTPerson* p = person(name, gender);
        p->setValueForKeyPath("birth.date", QString::number(born));
        return p;
    };
    FTPerson* z = named("Alexandrina Victoria of_Kent", F(), 1819);
    FTPerson* x = named("Edward Augustus Hanover", M(), 1767);
    FTPerson* y = named("Mary Louisa Victoria of_Saxe-Coburg-Saalfeld", F(), 1786);
    link(x, z);
    link(y, z);
    FTPerson* a = named("George_III Hanover", M(), 1738);
    link(a, x);
    link(named("Sophia Charlotte of_Mecklenburg-Strelitz", F(), 1744), x);
    link(named("Francis Frederick Anton of_Saxe-Coburg-Saalfeld", M(), 1750), y);
    link(named("Augusta Reuss-Ebersdorf", F(), 1757), y);
    link(a, named("Frederick Augustus of_York", M(), 1763));

    HierarchyLayout real(DocumentTextMeasurer::shared());
    for (const bool horizontal : { true, false })
        for (const bool ancestors : { true, false })
            for (const double size : { 8.0, 11.0, 16.0 }) {
                SCOPED_TRACE(QString("%1 %2 %3").arg(horizontal ? "across" : "top-down", ancestors ? "ancestors" : "descendants").arg(size).toStdString());
                options.horizontal = horizontal;
                options.pointSize = size;
                options.nameOnly = false;
                options.showGender = true;
                real.setRootPerson(ancestors ? z : a);
                real.setBAncestors(ancestors);
                real.createHierarchy(options, 900, QSizeF(612, 792));
                real.resetFrameSize(nullptr, QSizeF(900, 600));
                real.createRootPath();
                HdPainter painter(real);
                painter.printing = true;
                painter.dialogTitle = "Title";
                QImage image(int(real.xExtent()) + 40, int(real.yExtent()) + 40, QImage::Format_ARGB32_Premultiplied);
                image.fill(Qt::white);
                {
                    QPainter p(&image);
                    painter.paint(p, QRectF(image.rect()), QSizeF(image.size()));
                }
                int lines = 0;
                QList<Hierarchy*> pending { real.rootHierarchy() };
                QList<Hierarchy*> all;
                while (!pending.isEmpty()) {
                    Hierarchy* h = pending.takeLast();
                    all << h;
                    if (h->level() < real.maxLevel())
                        pending << h->nextGenArray();
                }
                for (Hierarchy* h : all) {
                    // The letters of the name: the lines of the box text's first paragraph, as drawn.
                    const std::unique_ptr<QTextDocument> doc = real.getAttributedStringFor(h, true);
                    const QRectF box = h->rclBox();
                    const double pad = HierarchyLayout::kTextPadding;
                    doc->setTextWidth(horizontal ? box.width() : box.width() - 1.0);
                    const QPointF origin = horizontal ? box.topLeft() - QPointF(pad, 0) : box.topLeft() + QPointF(1, 1);
                    const QTextBlock block = doc->begin();
                    const QRectF blockRect = doc->documentLayout()->blockBoundingRect(block);
                    QList<QRectF> letters;
                    for (int i = 0; i < block.layout()->lineCount(); ++i) {
                        const QTextLine line = block.layout()->lineAt(i);
                        letters << QRectF(blockRect.left() + line.x(), blockRect.top() + line.y(), line.naturalTextWidth(),
                                          line.height())
                                       .translated(origin)
                                       .adjusted(0, 1.5, 0, 0); // a box's frame may touch the line's top
                    }
                    ASSERT_FALSE(letters.isEmpty());
                    for (Hierarchy* other : all) {
                        const QPainterPath path = painter.connectorPath(other);
                        if (path.isEmpty())
                            continue;
                        ++lines;
                        QPainterPathStroker wipe;
                        wipe.setWidth(2.0);
                        const QPainterPath stroke = wipe.createStroke(path);
                        for (const QRectF& r : letters)
                            EXPECT_FALSE(stroke.intersects(r)) << h->person()->name().toStdString() << " and the line of "
                                                               << other->person()->name().toStdString();
                    }
                    for (const QRectF& r : letters) {
                        const QRect area = r.toAlignedRect().intersected(image.rect());
                        int lineColoured = 0;
                        for (int py = area.top(); py <= area.bottom(); ++py)
                            for (int px = area.left(); px <= area.right(); ++px) {
                                const QColor c = image.pixelColor(px, py);
                                lineColoured += darkGrey(c) || bluish(c);
                            }
                        EXPECT_EQ(lineColoured, 0) << h->person()->name().toStdString();
                    }
                }
                EXPECT_GT(lines, 5);
            }
}

} // namespace
