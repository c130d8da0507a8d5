#include "diagrams/HdPageGeometry.h"

#include "diagrams/HierarchyLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// A count of pages that the diagram's extent divided by the page's gives; never below one, never beyond what an
// int holds (a diagram of absurd extent stays countable).
int pagesFor(double quotient)
{
    if (!std::isfinite(quotient))
        return 1;
    return int(std::clamp(std::trunc(quotient), 1.0, double(std::numeric_limits<int>::max() / 65536)));
}
}

HdPageGeometry HdPageGeometry::calculate(const HierarchyLayout& layout, const QSizeF& paperSize)
{
    return calculate(layout.columnWidth(), layout.horizontalSpacing(), layout.leftMargin(), layout.xExtent(),
        layout.yExtent(), paperSize);
}

HdPageGeometry HdPageGeometry::calculate(double columnWidth, double horizontalSpacing, double leftMargin,
    double xExtent, double yExtent, const QSizeF& paperSize)
{
    HdPageGeometry g;
    const double pitch = columnWidth + horizontalSpacing;
    if (pitch > 0 && std::isfinite(pitch) && paperSize.width() >= pitch)
        g.pageWidth = pitch * std::trunc(paperSize.width() / pitch);
    g.pageHeight = std::max(0.0, paperSize.height() - 60.0);
    if (!g.fitsPaper())
        return g;
    g.columns = pagesFor((xExtent - leftMargin - 5.0) / g.pageWidth + 1.0);
    g.rows = pagesFor(yExtent / g.pageHeight + 1.0);
    return g;
}

int HdPageGeometry::pageCount() const
{
    return fitsPaper() ? columns * rows : 0;
}

HdPageGeometry::Page HdPageGeometry::page(int n) const
{
    if (n < 1 || n > pageCount())
        return {};
    const int i = n - 1;
    const int row = i / columns;
    const int column = i - row * columns;
    return { row + 1, column + 1,
        QRectF(pageWidth * column - 10.0, pageHeight * row - 10.0, pageWidth + 20.0, pageHeight + 20.0) };
}
