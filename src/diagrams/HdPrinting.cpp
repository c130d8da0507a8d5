#include "diagrams/HdPrinting.h"

#include "diagrams/DiagramFileName.h"
#include "diagrams/HdOptions.h"
#include "diagrams/HdPageGeometry.h"
#include "diagrams/HdPainter.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QScreen>

#include <algorithm>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// The painter in printing mode for the length of a job, every page naming the same moment.
class Printing {
public:
    explicit Printing(HdPainter& painter)
        : m_painter(painter)
        , m_was(painter.printing)
        , m_createdOn(painter.createdOn)
    {
        painter.printing = true;
        if (!painter.createdOn.isValid())
            painter.createdOn = QDateTime::currentDateTime();
    }
    ~Printing()
    {
        m_painter.printing = m_was;
        m_painter.createdOn = m_createdOn;
    }

private:
    HdPainter& m_painter;
    bool m_was;
    QDateTime m_createdOn;
};
}

int HdPrinting::viewDpi()
{
    // The resolution a text document without a device of its own is laid out at.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            return std::max(1, qRound(screen->logicalDotsPerInchY()));
    return 96;
}

QSizeF HdPrinting::paperSizeFromPoints(const QSizeF& points)
{
    return points * (viewDpi() / 72.0);
}

QSizeF HdPrinting::paperSize(const QPageLayout& pageLayout)
{
    return paperSizeFromPoints(pageLayout.fullRectPoints().size());
}

bool HdPrinting::printPages(
    HdPainter& painter, QPagedPaintDevice& device, const HdPageGeometry& pages, int first, int last, QString* error)
{
    first = std::max(first, 1);
    last = std::min(last, pages.pageCount());
    if (first > last) {
        if (error)
            *error = L("HdNothingToPrint");
        return false;
    }
    // The painter starts at the top left of the printable area; a page is placed on the whole sheet.
    const QPageLayout layout = device.pageLayout();
    const double unitsPerPoint = device.logicalDpiY() / 72.0;
    const QSizeF paper = layout.fullRectPoints().size() * unitsPerPoint;
    const QPointF printable = layout.paintRectPoints().topLeft() * unitsPerPoint;

    const Printing printing(painter);
    QPainter p;
    if (!p.begin(&device)) {
        if (error)
            *error = L("HdPrinterNotStarted");
        return false;
    }
    p.setRenderHint(QPainter::Antialiasing);
    for (int n = first; n <= last; ++n) {
        if (n > first && !device.newPage()) {
            p.end();
            if (error)
                *error = L("HdPrinterNoNewPage");
            return false;
        }
        const HdPageGeometry::Page page = pages.page(n);
        p.save();
        p.translate(-printable);
        HdPainter::drawPageLabel(p, page.row, page.column);
        p.translate((paper.width() - page.rect.width()) / 2 - page.rect.x(),
            (paper.height() - page.rect.height()) / 2 - page.rect.y());
        painter.paintPage(p, page.rect);
        p.restore();
    }
    if (!p.end()) {
        if (error)
            *error = L("HdPrinterNotFinished");
        return false;
    }
    return true;
}

QString HdPrinting::pdfPath(const QString& reportsFolder, const FTPerson* root, bool ancestors)
{
    const QString kind = L(ancestors ? "Ancestors" : "Descendants");
    const QString name = QStringLiteral("%1_%2_%3").arg(kind, L("ConjunctiveOf"), HdOptions::nameWithYearsNow(root));
    return QStringLiteral("%1/%2.PDF").arg(reportsFolder, DiagramFileName::safeBaseName(name, kind));
}

bool HdPrinting::writePdf(HdPainter& painter, const QSizeF& viewSize, const QString& path, QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const int dpi = viewDpi();
    const QSizeF page = (viewSize + QSizeF(100.0, 100.0)) * (72.0 / dpi);
    {
        QPdfWriter writer(&file);
        writer.setResolution(dpi);
        writer.setCreator(QStringLiteral("Kinloom"));
        writer.setTitle(painter.dialogTitle);
        writer.setPageLayout(QPageLayout(
            QPageSize(page, QPageSize::Point, QString(), QPageSize::ExactMatch), QPageLayout::Portrait, QMarginsF()));
        const Printing printing(painter);
        QPainter p;
        if (!p.begin(&writer))
            return fail(file.errorString().isEmpty() ? L("HdPdfNotStarted") : file.errorString());
        p.translate(50.0, 50.0);
        painter.paint(p, QRectF(QPointF(0, 0), viewSize), viewSize);
        p.end();
    }
    // Nothing reaches the path unless every byte was written.
    if (file.error() != QFileDevice::NoError || !file.commit())
        return fail(file.errorString());
    return true;
}
