// The pictures page's geometry: cells and rows, the page's height, where thumbnails, titles and the selection
// frame go, the printed layout, the arrow keys and where a dragged picture would be inserted.

#include "editor/PicturesGrid.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QRectF& r, std::ostream* os)
{
    *os << "(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}

namespace {
// Picture i's drawing rectangle for a thumbnail of 100 × 50 (every picture here has one).
std::function<QRectF(int)> drawnIn(const QList<QRectF>& cells)
{
    return [cells](int i) { return PicturesGrid::drawingRect(cells[i], QSizeF(100, 50)); };
}
}

TEST(PicturesGrid, CellsFillRowsAndWrapBeforeACellWouldPassTheWidth)
{
    EXPECT_EQ(PicturesGrid::rowHeight(3), 150);
    EXPECT_EQ(PicturesGrid::rowHeight(0), 120);
    EXPECT_EQ(PicturesGrid::rowHeight(-4), 120);
    EXPECT_EQ(PicturesGrid::rowHeight(99), 220);

    const QList<QRectF> cells = PicturesGrid::cells(5, 500, 150);
    ASSERT_EQ(cells.size(), 5);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(cells[i], QRectF(i * 120, 0, 120, 150));
    EXPECT_EQ(cells[4], QRectF(0, 150, 120, 150)); // 5 × 120 = 600 is wider than 500
    EXPECT_EQ(PicturesGrid::cells(4, 480, 150).last(), QRectF(360, 0, 120, 150));

    // Narrower than one cell: the test before the first picture already starts a new row.
    const QList<QRectF> narrow = PicturesGrid::cells(2, 100, 120);
    EXPECT_EQ(narrow[0], QRectF(0, 120, 120, 120));
    EXPECT_EQ(narrow[1], QRectF(0, 240, 120, 120));
}

TEST(PicturesGrid, ThePageKeepsTwoEmptyRowsBelowTheLastPicture)
{
    struct Case {
        int count;
        double width, contentHeight, expected;
    };
    const Case cases[] = {
        {7, 400, 300, 600}, // c = 3: 150 × (7 ÷ 3 + 2)
        {7, 400, 600, 720}, // 1.2 × the scroll view's height wins
        {0, 400, 100, 300},
        {3, 100, 100, 750}, // never fewer than one column
        {12, 520, 200, 750}, // c = 4, estimated with 130 a column
    };
    for (const Case& c : cases)
        EXPECT_EQ(PicturesGrid::viewHeight(c.count, c.width, c.contentHeight, 150), c.expected) << c.count;
}

TEST(PicturesGrid, ThumbnailsTitlesAndTheSelectionAreCentredInTheCell)
{
    const QRectF cell(120, 150, 120, 150);
    const QRectF wide = PicturesGrid::drawingRect(cell, QSizeF(100, 50));
    EXPECT_EQ(wide, QRectF(130, 185, 100, 50));
    EXPECT_EQ(PicturesGrid::drawingRect(cell, QSizeF(33, 100)), QRectF(163.5, 160, 33, 100));
    // Too large a stored thumbnail is shown within the band, keeping its proportions.
    EXPECT_EQ(PicturesGrid::drawingRect(cell, QSizeF(300, 150)), wide);
    const QRectF none = PicturesGrid::drawingRect(cell, QSizeF());
    EXPECT_EQ(none, QRectF(155, 185, 50, 50));
    // Every one is centred on the same point of its cell.
    for (const QRectF& r : {wide, none})
        EXPECT_EQ(r.center(), PicturesGrid::centreOf(cell));

    EXPECT_EQ(PicturesGrid::titleRect(wide), QRectF(120, 263, 120, 120));
    EXPECT_EQ(PicturesGrid::selectionRect(wide, QSizeF(100, 50)), QRectF(126, 181, 108, 58));
    EXPECT_EQ(PicturesGrid::selectionRect(none, QSizeF()), QRectF(151, 181, 58, 58));
}

TEST(PicturesGrid, ThePrintedPageWrapsWithinItsAreaAndLeavesOutCutCells)
{
    // Rows at 40, 190 and 340: the third row's squares would pass the area's bottom at 370.
    const QList<PicturesGrid::PrintedCell> printed = PicturesGrid::printedCells(10, QRectF(0, 40, 500, 330), 150);
    ASSERT_EQ(printed.size(), 8);
    EXPECT_EQ(printed[0].cell, QRectF(0, 40, 120, 150));
    EXPECT_EQ(printed[7].index, 7);
    EXPECT_EQ(printed[7].cell, QRectF(360, 190, 120, 150));
    // A narrower area wraps sooner.
    EXPECT_EQ(PicturesGrid::printedCells(3, QRectF(0, 0, 250, 400), 150).last().cell, QRectF(0, 150, 120, 150));
}

TEST(PicturesGrid, PointsHitOnlyThePictureItself)
{
    const QList<QRectF> cells = PicturesGrid::cells(5, 500, 150);
    const auto drawn = drawnIn(cells);
    EXPECT_EQ(PicturesGrid::pictureAt(cells, QPointF(250, 40), drawn), 2);
    EXPECT_EQ(PicturesGrid::pictureAt(cells, QPointF(245, 30), drawn), -1); // above the thumbnail, in the cell
    EXPECT_EQ(PicturesGrid::pictureAt(cells, QPointF(130, 85), drawn), -1); // its bottom edge is outside
    EXPECT_EQ(PicturesGrid::pictureAt(cells, QPointF(300, 200), drawn), -1); // no picture there
}

TEST(PicturesGrid, ArrowKeysStopAtTheEdges)
{
    // Five pictures in a page 500 wide: A B C D on the first row, E below A.
    const QList<QRectF> cells = PicturesGrid::cells(5, 500, 150);
    using Move = PicturesGrid::Move;
    struct Case {
        int from;
        Move move;
        int to;
    };
    const Case cases[] = {
        {0, Move::Right, 1}, {4, Move::Right, -1}, {1, Move::Left, 0}, {0, Move::Left, -1},
        {0, Move::Down, 4}, {4, Move::Up, 0}, {2, Move::Up, -1}, {1, Move::Down, -1}, {-1, Move::Right, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PicturesGrid::moved(cells, c.from, c.move, 150, drawnIn(cells)), c.to)
            << c.from << " " << int(c.move);
}

TEST(PicturesGrid, ADraggedPictureGoesBeforeOrAfterThePictureNearIt)
{
    // A B C D on the first row (centres at y 60), E below A (centre (60, 210)).
    const QList<QRectF> cells = PicturesGrid::cells(5, 500, 150);
    struct Case {
        QPointF probe;
        int dragged;
        int index;
        int markerX, markerY;
    };
    const Case cases[] = {
        {{350, 60}, 0, 3, 360, 60}, // before D
        {{100, 60}, 3, 1, 120, 60}, // before B
        {{100, 60}, 0, 1, -1, 60}, // just after the dragged A: no change, no marker
        {{30, 60}, 0, 0, -1, 60}, // just before itself
        {{450, 60}, 0, 4, 480, 60}, // after D, the last of its row
        {{10, 210}, 0, 4, 5, 210}, // before E at the row's start: the marker moves off the edge
        {{300, 400}, 0, -1, 120, 210}, // outside every zone: right of the last picture
        {{300, 400}, 4, -1, -1, 210}, // ... unless that is the one dragged
    };
    for (const Case& c : cases) {
        PicturesGrid::Marker marker;
        EXPECT_EQ(PicturesGrid::insertionIndex(cells, c.probe, 150, 500, &marker, c.dragged), c.index)
            << c.probe.x() << "," << c.probe.y();
        EXPECT_EQ(marker.x, c.markerX) << c.probe.x() << "," << c.probe.y();
        EXPECT_EQ(marker.y, c.markerY) << c.probe.x() << "," << c.probe.y();
    }
    // No "after" zone behind the very last picture, and none inside a row.
    EXPECT_EQ(PicturesGrid::insertionIndex(cells, QPointF(150, 210), 150, 500), -1);
    EXPECT_EQ(PicturesGrid::insertionIndex(cells, QPointF(190, 60), 150, 500), 2);

    EXPECT_EQ(PicturesGrid::dropMarker({360, 60}), QRectF(360, 0, 1.3, 120));
    EXPECT_TRUE(PicturesGrid::dropMarker({-1, 60}).isEmpty());
    // A marker at a row's start is also shown at the end of the row above.
    EXPECT_EQ(PicturesGrid::rowEndMarker(PicturesGrid::dropMarker({5, 210}), 500, 150), QRectF(480, 0, 1.3, 120));
    EXPECT_TRUE(PicturesGrid::rowEndMarker(PicturesGrid::dropMarker({360, 60}), 500, 150).isEmpty());
}
