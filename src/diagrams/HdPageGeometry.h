#pragma once

#include <QRectF>
#include <QSizeF>

class HierarchyLayout;

// How a laid-out hierarchy diagram falls on the pages of a printer's paper: whole columns of boxes across a
// page, the paper's height less 60 points down it, page after page row by row from the top left. Each page
// prints a little more than its share, 10 points on every side, so that neighbouring pages overlap by 20 points.
//
// A column wider than the paper leaves no page at all (fitsPaper() is false): such a diagram cannot be printed
// until the columns are narrower or the paper turns to landscape.
//
//   HdPageGeometry pages = HdPageGeometry::calculate(layout, paperSizeInPoints);
//   if (!pages.fitsPaper()) { ...tell the user... }
//   for (int n = 1; n <= pages.pageCount(); ++n) { HdPageGeometry::Page page = pages.page(n); ... }
struct HdPageGeometry {
    // A page's share of the diagram: its place in the grid (from 1) and the area it prints, in view points.
    struct Page {
        int row = 0;
        int column = 0;
        QRectF rect;
    };

    // Of the diagram as laid out last, on paper of that size in points.
    static HdPageGeometry calculate(const HierarchyLayout& layout, const QSizeF& paperSize);
    // The same from the layout's measures: the column pitch is the column width plus the spacing.
    static HdPageGeometry calculate(double columnWidth, double horizontalSpacing, double leftMargin, double xExtent,
        double yExtent, const QSizeF& paperSize);

    double pageWidth = 0;
    double pageHeight = 0;
    int columns = 0;
    int rows = 0;

    // False when not one column fits across the paper, or the paper is no taller than the page's margin.
    bool fitsPaper() const { return pageWidth > 0 && pageHeight > 0; }
    // Columns times rows; 0 when the diagram does not fit the paper.
    int pageCount() const;
    // Page n, from 1 to pageCount(), row by row; an empty page outside that range.
    Page page(int n) const;
};
