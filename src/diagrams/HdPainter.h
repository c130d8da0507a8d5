#pragma once

#include <QColor>
#include <QDateTime>
#include <QRectF>
#include <QSet>
#include <QSizeF>
#include <QString>

class Hierarchy;
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
// box black, and draws every box's text.
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

    // Paints what meets `exposed` of a view of `viewSize` (the background's band spans the whole view).
    void paint(QPainter& painter, const QRectF& exposed, const QSizeF& viewSize);

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
};
