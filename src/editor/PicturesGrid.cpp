#include "editor/PicturesGrid.h"

#include "platform/UserDefaults.h"

#include <algorithm>
#include <cmath>

double PicturesGrid::rowHeight(qlonglong rowSpacing)
{
    return 120 + 10 * double(std::clamp<qlonglong>(rowSpacing, 0, kMaxRowSpacing));
}

double PicturesGrid::rowHeight()
{
    return rowHeight(UserDefaults::standard().integerForKey(QStringLiteral("picturesRowSpacing")));
}

QList<QRectF> PicturesGrid::cells(int count, double width, double rowHeight, double top)
{
    QList<QRectF> out;
    out.reserve(std::max(0, count));
    int column = 0;
    double rowTop = top;
    for (int i = 0; i < count; ++i) {
        // The test comes before every picture, the first included: on a page narrower than a cell every
        // picture starts a row of its own, below an empty first one.
        if ((column + 1) * kCellWidth > width) {
            rowTop += rowHeight;
            column = 0;
        }
        out << QRectF(column * kCellWidth, rowTop, kCellWidth, rowHeight);
        ++column;
    }
    return out;
}

double PicturesGrid::viewHeight(int count, double width, double contentHeight, double rowHeight)
{
    const int columns = std::max(1, int(width / kEstimatedColumnWidth));
    return std::max(1.2 * contentHeight, rowHeight * (count / columns + 2));
}

QSizeF PicturesGrid::shownSize(const QSizeF& thumbnail)
{
    if (thumbnail.width() <= kThumbnailSide && thumbnail.height() <= kThumbnailSide)
        return thumbnail;
    return thumbnail.scaled(kThumbnailSide, kThumbnailSide, Qt::KeepAspectRatio);
}

QRectF PicturesGrid::drawingRect(const QRectF& cell, const QSizeF& thumbnail)
{
    if (thumbnail.isEmpty())
        return QRectF(cell.x() + 35, cell.y() + 35, kNoThumbnailSide, kNoThumbnailSide);
    const QSizeF size = shownSize(thumbnail);
    return QRectF(cell.x() + (kCellWidth - size.width()) * 0.5,
        cell.y() + 10 + (kThumbnailSide - size.height()) * 0.5, size.width(), size.height());
}

QRectF PicturesGrid::titleRect(const QRectF& drawingRect)
{
    const QPointF c = drawingRect.center();
    return QRectF(std::trunc(c.x() - 60), std::trunc(c.y() + 53), 120, 120);
}

QRectF PicturesGrid::selectionRect(const QRectF& drawingRect, const QSizeF& thumbnail)
{
    const QSizeF size =
        thumbnail.isEmpty() ? QSizeF(kNoThumbnailSide, kNoThumbnailSide) : shownSize(thumbnail);
    QRectF frame(QPointF(), size);
    frame.moveCenter(drawingRect.center());
    return frame.adjusted(-4, -4, 4, 4);
}

QList<PicturesGrid::PrintedCell> PicturesGrid::printedCells(int count, const QRectF& rect, double rowHeight)
{
    QList<PrintedCell> out;
    const QList<QRectF> placed = cells(count, rect.width(), rowHeight, rect.y());
    for (int i = 0; i < placed.size(); ++i) {
        const QRectF square(placed[i].topLeft(), QSizeF(kCellWidth, kCellWidth));
        if (rect.contains(square))
            out << PrintedCell {i, placed[i]};
    }
    return out;
}

bool PicturesGrid::holds(const QRectF& rect, const QPointF& point)
{
    return point.x() >= rect.left() && point.x() < rect.right() && point.y() >= rect.top()
        && point.y() < rect.bottom();
}

int PicturesGrid::cellAt(const QList<QRectF>& cells, const QPointF& point)
{
    for (int i = 0; i < cells.size(); ++i)
        if (holds(cells[i], point))
            return i;
    return -1;
}

int PicturesGrid::pictureAt(
    const QList<QRectF>& cells, const QPointF& point, const std::function<QRectF(int)>& drawingRectAt)
{
    const int i = cellAt(cells, point);
    return i >= 0 && holds(drawingRectAt(i), point) ? i : -1;
}

int PicturesGrid::moved(const QList<QRectF>& cells, int selected, Move move, double rowHeight,
    const std::function<QRectF(int)>& drawingRectAt)
{
    const int n = int(cells.size());
    if (selected < 0 || selected >= n)
        return -1;
    switch (move) {
    case Move::Left:
        return selected > 0 ? selected - 1 : -1;
    case Move::Right:
        return selected < n - 1 ? selected + 1 : -1;
    case Move::Up:
    case Move::Down: {
        const QPointF target
            = drawingRectAt(selected).center() + QPointF(0, move == Move::Up ? -rowHeight : rowHeight);
        return pictureAt(cells, target, drawingRectAt);
    }
    }
    return -1;
}

int PicturesGrid::insertionIndex(const QList<QRectF>& cells, const QPointF& point, double rowHeight,
    double boundsWidth, Marker* marker, int dragged)
{
    const int n = int(cells.size());
    const double half = double(int(rowHeight) / 2);
    int index = -1;
    Marker at;
    for (int i = 0; i < n; ++i) {
        const QPointF c = centreOf(cells[i]);
        at.y = int(std::trunc(c.y()));
        if (holds(QRectF(c.x() - kCellWidth, c.y() - half, kCellWidth, rowHeight), point)) {
            index = i;
            at.x = int(std::trunc(c.x() - 60));
            break;
        }
        if (c.x() + 180 > boundsWidth && i < n - 1
            && holds(QRectF(c.x(), c.y() - half, 2 * kCellWidth, rowHeight), point)) {
            index = i + 1;
            at.x = int(std::trunc(c.x() + 60));
            break;
        }
    }
    if (marker) {
        if (index == -1 || index == dragged || index == dragged + 1)
            at.x = -1;
        if (at.x == 0)
            at.x = 5;
        if (index == -1 && dragged != n - 1 && n > 0) {
            const QPointF last = centreOf(cells[n - 1]);
            at.x = int(std::trunc(last.x() + 60));
            at.y = int(std::trunc(last.y()));
        }
        *marker = at;
    }
    return index;
}

QRectF PicturesGrid::dropMarker(const Marker& marker)
{
    if (marker.x == -1)
        return {};
    return QRectF(marker.x, marker.y - 60, 1.3, 120);
}

QRectF PicturesGrid::rowEndMarker(const QRectF& marker, double boundsWidth, double rowHeight)
{
    if (marker.isEmpty() || marker.x() > 10)
        return {};
    return QRectF((int(boundsWidth) / int(kCellWidth)) * kCellWidth, marker.y() - rowHeight, marker.width(),
        marker.height());
}
