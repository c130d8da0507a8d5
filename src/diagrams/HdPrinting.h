#pragma once

#include <QSizeF>
#include <QString>

class FTPerson;
class HdPainter;
struct HdPageGeometry;
class QPageLayout;
class QPagedPaintDevice;

// The hierarchy diagram on paper and as a PDF file. Printing puts each page's share of the diagram (HdPageGeometry)
// on a sheet of its own at its natural size, centred, with "R<row>C<column>" at the top left; the PDF file holds
// the whole diagram on one page with a margin of 50 points, in the reports folder:
// "<reports>/Descendants_of_<root's name with years>.PDF" (the words localised).
//
// The diagram's points are the screen's: its box texts are laid out at the screen's resolution (viewDpi()), so
// paper is measured in those units too, and a device is painted at that resolution, where every font comes out
// at the size it has on screen next to the boxes.
//
//   HdPrinting::printPages(painter, printer, pages, 1, pages.pageCount(), &error);
//   const QString path = HdPrinting::pdfPath(Utils::reportsDirectory(), root, false);
//   if (!HdPrinting::writePdf(painter, view->size(), path, &error)) ...
class HdPrinting {
public:
    // The resolution the diagram's texts are measured at: the screen's logical dots per inch, 96 without one.
    static int viewDpi();
    // The paper of the page layout in the diagram's points.
    static QSizeF paperSize(const QPageLayout& pageLayout);
    static QSizeF paperSizeFromPoints(const QSizeF& points);

    // Prints pages `first` to `last` (from 1; clipped to the pages there are) onto the device, one sheet each,
    // with the painter in printing mode. The device's resolution must be viewDpi(). False with the reason when
    // the device cannot be painted on or a sheet cannot be added.
    static bool printPages(HdPainter& painter, QPagedPaintDevice& device, const HdPageGeometry& pages, int first,
        int last, QString* error);

    // The PDF file of the diagram rooted at `root`, in `reportsFolder`: one file name by the family diagram's rule
    // (DiagramFileName), so it cannot lead out of the folder nor be too long.
    static QString pdfPath(const QString& reportsFolder, const FTPerson* root, bool ancestors);
    // Writes the whole view of `viewSize` as a one-page PDF file at `path`: all or nothing, an older file of that
    // name stays as it was when the writing fails. False with the reason.
    static bool writePdf(HdPainter& painter, const QSizeF& viewSize, const QString& path, QString* error);
};
