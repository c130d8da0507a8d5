#pragma once

#include <QColor>
#include <QDateTime>
#include <QPageLayout>
#include <QRectF>
#include <QSet>
#include <QSizeF>
#include <QString>

class Hierarchy;
struct HdOptions;
class HierarchyLayout;
class QPainter;
class QPainterPath;
class QPen;

// One drawing pass of a laid-out hierarchy diagram (HierarchyLayout) onto any painter: the window's view, an
// image, a printed page or a PDF file. In order: the background with its soft band behind the selected box, the
// boxes (highlight, text, frames), the connector lines with the path to the root in blue, the marks of branches
// cut off at the last generation and of contracted branches, the timeline of a horizontal diagram, and the title
// block with the footer.
//
// On screen only what meets the exposed rectangle is drawn, and a point size below 2 leaves the boxes' text out.
// A printed page has a white background, no highlight and no page-break marks, keeps the lines below the selected
// box black, and draws every box's text. While the layout shows page breaks, the screen shows where the pages of
// `pageLayout`'s paper fall, each labelled with its number, paper and place in the grid.
//
//   HdPainter painter(layout);
//   painter.dialogTitle = window->windowTitle();
//   QPainter p(&image);
//   painter.paint(p, exposed, viewSize);
class HdPainter {
public:
    explicit HdPainter(HierarchyLayout& layout);

    bool printing = false;
    // The title block's first line.
    QString dialogTitle;
    // The moment the title block names; invalid: the time of painting.
    QDateTime createdOn;

    // The paper of the page-break overlay.
    QPageLayout pageLayout;

    // Paints what meets `exposed` of a view of `viewSize` (the background's band spans the whole view).
    void paint(QPainter& painter, const QRectF& exposed, const QSizeF& viewSize);
    // One printed page: the diagram as on paper, only what meets `page`, clipped to it.
    void paintPage(QPainter& painter, const QRectF& page);
    // The page-break overlay over `rect`: translucent red lines between the pages of pageLayout's paper and a
    // label on each page. Nothing when a column is wider than the paper.
    void drawPageBreaksInRect(QPainter& painter, const QRectF& rect) const;
    // The label of a page of the overlay: "Page 2 of 6", the paper, the scaling, the row and column, and a
    // note that size to width does not apply to paper.
    static QString pageBreakLabel(int page, int pageCount, const QString& paperName, bool landscape, int row,
        int column, bool sizeToWidth);

    // "R<row>C<column>" at the top left of a printed page.
    static void drawPageLabel(QPainter& painter, int row, int column);
    // A generation's average birth year as the timeline shows it: to a multiple of five, 3 and 4 rounding up.
    static int timelineYear(int averageBirthYear);
    // The title block's second line, for the moment given.
    static QString createdOnText(const QDateTime& when, const QString& byline);
    // The footer line.
    static QString footerText();

    // The size of the first text line of a box (horizontal diagrams), measured once a build and kept in the node:
    // lines and marks start where that line ends.
    QSizeF stringSize(Hierarchy* node) const;
    // The line from a box to its owner's; empty for the root.
    QPainterPath connectorPath(Hierarchy* node) const;
    // The width the title block needs: the title and the line under it, with a margin on either side.
    static double titleBlockWidth(const QString& title, const QString& byline);
    // The byline the title block shows: "authorsByline" when the options include it.
    static QString byline(const HdOptions& options);

private:
    void fillBackground(QPainter& painter, const QRectF& exposed, const QSizeF& viewSize) const;
    void drawPeople(QPainter& painter, const QRectF& exposed) const;
    void drawBox(QPainter& painter, Hierarchy* h, const QRectF& exposed, bool blue) const;
    void drawTextInBox(QPainter& painter, Hierarchy* h, const QRectF& box, double textWidth) const;
    void drawConnectors(QPainter& painter, const QRectF& exposed) const;
    void drawConnector(QPainter& painter, Hierarchy* h, const QColor& colour, const QRectF& exposed) const;
    QPainterPath topDownConnector(Hierarchy* h) const;
    QPainterPath horizontalConnector(Hierarchy* h) const;
    void drawContinuationLine(QPainter& painter, Hierarchy* h) const;
    void drawContractedIndicator(QPainter& painter, Hierarchy* h) const;
    void drawBranchMark(QPainter& painter, Hierarchy* h, const QPen& pen, double shortOfRight, double length) const;
    void displayTimeline(QPainter& painter) const;
    void displayDiagramTitle(QPainter& painter) const;

    HierarchyLayout& m_layout;
    // Set for the length of a paint.
    QSet<const Hierarchy*> m_onRootPath;
    // A printed page: the boxes beyond the page are left out, though on paper.
    bool m_onlyExposed = false;
};
