#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <functional>

// Where the person editor's pictures page puts a person's pictures, in points with y growing downwards. Each
// picture has a cell kCellWidth wide and one row high (rowHeight(): 120 + 10 × the user default
// "picturesRowSpacing"); cells fill a row from the left, and a new row starts before a cell would pass the width.
// In its cell the picture's thumbnail (its drawing rectangle) is centred in the band 10 to 110 below the cell's
// top, and the title stands under it. Every drawing rectangle is centred on the same point of its cell and lies
// inside it, so a point can only be over the picture of the cell that holds it.
//
//   const double h = PicturesGrid::rowHeight();
//   const QList<QRectF> cells = PicturesGrid::cells(pictures.size(), viewportWidth, h);
//   const QRectF drawn = PicturesGrid::drawingRect(cells[i], thumbnail.size());
//   const int under = PicturesGrid::pictureAt(cells, point, [&](int i) { return drawingRectOf(i); });
class PicturesGrid {
public:
    static constexpr double kCellWidth = 120;
    // The page's height is estimated with columns this wide.
    static constexpr double kEstimatedColumnWidth = 130;
    // A thumbnail is at most this wide and high; a picture without one has a square of kNoThumbnailSide.
    static constexpr double kThumbnailSide = 100;
    static constexpr double kNoThumbnailSide = 50;
    static constexpr int kMaxRowSpacing = 10;

    // 120 + 10 × spacing, the spacing taken within 0 to kMaxRowSpacing.
    static double rowHeight(qlonglong rowSpacing);
    // From the user default "picturesRowSpacing".
    static double rowHeight();

    // The cells of `count` pictures within `width`; the first row's top is `top`.
    static QList<QRectF> cells(int count, double width, double rowHeight, double top = 0);
    // The page's height: max(1.2 × contentHeight, H × (count ÷ c + 2)) with c = max(1, trunc(width ÷ 130)) and
    // an integer division, so that at least two empty rows follow the last picture.
    static double viewHeight(int count, double width, double contentHeight, double rowHeight);

    // A thumbnail's size on the page: its own, or a larger one shrunk to fit kThumbnailSide keeping proportions.
    static QSizeF shownSize(const QSizeF& thumbnail);
    // The thumbnail's place in the cell, centred; without a thumbnail (an empty size) the 50 × 50 square at
    // (35, 35) in the cell.
    static QRectF drawingRect(const QRectF& cell, const QSizeF& thumbnail);
    static QPointF centreOf(const QRectF& cell) { return cell.topLeft() + QPointF(60, 60); }
    // The title's box: 120 × 120 at (trunc(cx − 60), trunc(cy + 53)) from the drawing rectangle's centre.
    static QRectF titleRect(const QRectF& drawingRect);
    // The selection frame: the thumbnail's size (50 × 50 without one) about the drawing rectangle's centre,
    // 4 larger on every side.
    static QRectF selectionRect(const QRectF& drawingRect, const QSizeF& thumbnail);

    // The pictures a printed page shows of the area `rect`: placed as on screen, but wrapped within the area's
    // width and moved down by its top; only those whose 120 × 120 square lies wholly inside the area.
    struct PrintedCell {
        int index;
        QRectF cell;
    };
    static QList<PrintedCell> printedCells(int count, const QRectF& rect, double rowHeight);

    // The index of the cell that holds the point, or -1.
    static int cellAt(const QList<QRectF>& cells, const QPointF& point);
    // The picture whose drawing rectangle (`drawingRectAt`) holds the point, or -1.
    static int pictureAt(
        const QList<QRectF>& cells, const QPointF& point, const std::function<QRectF(int)>& drawingRectAt);

    // The picture an arrow key selects from `selected`, or -1 for no change: left and right step through the
    // list; up and down take the picture a row height above or below the selected one's centre.
    enum class Move { Left, Right, Up, Down };
    static int moved(const QList<QRectF>& cells, int selected, Move move, double rowHeight,
        const std::function<QRectF(int)>& drawingRectAt);

    // Where a dragged picture whose image is centred at `point` would go: the index it would be inserted at, or
    // -1. Before picture i is the area one cell wide left of its centre, a row high; after the last picture of a
    // row (but not the last of all) the area two cells wide right of its centre. `boundsWidth` is the page's.
    //
    // With `marker` the drop marker's place is given for the picture at `dragged`: its x is -1 where the drop
    // would change nothing (no zone, or the gap just before or after the dragged picture), 5 for a zone at a row's
    // very start, and anywhere outside every zone it stands right of the last picture (unless that is the dragged
    // one).
    struct Marker {
        int x = 0;
        int y = 0;
    };
    static int insertionIndex(const QList<QRectF>& cells, const QPointF& point, double rowHeight,
        double boundsWidth, Marker* marker = nullptr, int dragged = -1);
    // The drop marker (x, y − 60, 1.3, 120); the empty rectangle for an x of -1.
    static QRectF dropMarker(const Marker& marker);
    // The second mark of a marker at a row's start (x at most 10): the same rectangle at the end of the row
    // above. Empty for any other marker.
    static QRectF rowEndMarker(const QRectF& marker, double boundsWidth, double rowHeight);

    // Whether the point is in the rectangle, its right and bottom edges left out.
    static bool holds(const QRectF& rect, const QPointF& point);
};
