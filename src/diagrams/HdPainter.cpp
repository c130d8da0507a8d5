#include "diagrams/HdPainter.h"

#include "diagrams/HdPageGeometry.h"
#include "diagrams/HdPrinting.h"
#include "diagrams/HierarchyLayout.h"

#include "model/FTPerson.h"
#include "model/Hierarchy.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
const QColor kBlue(0, 0, 255);
// The white stroke under a line across.
constexpr double kWipeWidth = 2.0;
const QColor kDarkGrey(0x55, 0x55, 0x55);

QColor blend(const QColor& from, const QColor& to, double fraction)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * fraction),
        float(from.greenF() + (to.greenF() - from.greenF()) * fraction),
        float(from.blueF() + (to.blueF() - from.blueF()) * fraction));
}

QFont arial(double size, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(size);
    font.setBold(bold);
    return font;
}

// Thin lines of black, thicker ones of any other colour.
double lineWidthFor(const QColor& colour)
{
    return colour == QColor(Qt::black) ? 0.5 : 1.0;
}

// A dashed pen whose dashes and gaps are in points (Qt counts them in line widths, a thin line's as 1).
QPen dashedPen(double width, double dash, double gap)
{
    QPen pen(Qt::black, width, Qt::CustomDashLine, Qt::FlatCap);
    const double unit = std::max(width, 1.0);
    pen.setDashPattern({ dash / unit, gap / unit });
    pen.setDashOffset(0);
    return pen;
}

// The size of a box document's first line with the padding on both sides: where the text ends.
QSizeF firstLineSize(QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (!layout || layout->lineCount() == 0)
            continue;
        const QTextLine line = layout->lineAt(0);
        const double left = document.documentLayout()->blockBoundingRect(block).left() + line.x();
        return QSizeF(left + line.naturalTextWidth() + HierarchyLayout::kTextPadding, line.height());
    }
    return {};
}

// The node's next generation as the diagram shows it.
QList<Hierarchy*> shownChildren(Hierarchy* h, int maxLevel)
{
    return h->level() < maxLevel ? h->nextGenArray() : QList<Hierarchy*> {};
}
}

HdPainter::HdPainter(HierarchyLayout& layout)
    : m_layout(layout)
{
}

int HdPainter::timelineYear(int year)
{
    const int remainder = ((year % 5) + 5) % 5;
    return remainder >= 3 ? year + 5 - remainder : year - remainder;
}

QString HdPainter::createdOnText(const QDateTime& when, const QString& byline)
{
    QString text = QStringLiteral("%1 %2").arg(LocalizedString(QStringLiteral("Created on")),
        QLocale::c().toString(when, QStringLiteral("dddd dd-MMM-yy 'at' HH:mm")));
    if (!byline.isEmpty())
        text += QStringLiteral(" %1 %2").arg(LocalizedString(QStringLiteral("ConjunctiveBy")), byline);
    return text;
}

QString HdPainter::footerText()
{
    return QStringLiteral("%1 %2 %3").arg(LocalizedString(QStringLiteral("CreatedOnAMac")),
        LocalizedString(QStringLiteral("ConjunctiveUsing")), QStringLiteral("Kinloom"));
}

void HdPainter::drawPageLabel(QPainter& painter, int row, int column)
{
    painter.save();
    painter.setFont(arial(8));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(10.0, 0, 100.0, 20.0), Qt::AlignLeft | Qt::AlignTop,
        QStringLiteral("R%1C%2").arg(row).arg(column));
    painter.restore();
}

QSizeF HdPainter::stringSize(Hierarchy* node) const
{
    if (!node)
        return {};
    if (!node->stringSize().isEmpty())
        return node->stringSize();
    const std::unique_ptr<QTextDocument> document = m_layout.getAttributedStringFor(node, true);
    document->setTextWidth(std::max(1.0, node->rclBox().width()));
    const QSizeF size = firstLineSize(*document);
    // A box without text keeps a size of its own, so that it is not measured again.
    node->setStringSize(size.isEmpty() ? QSizeF(0.001, 0.001) : size);
    return node->stringSize();
}

// ---- The pass ------------------------------------------------------------------------------------------------

void HdPainter::paint(QPainter& painter, const QRectF& exposed, const QSizeF& viewSize)
{
    if (exposed.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    fillBackground(painter, exposed, viewSize);
    if (m_layout.rootHierarchy()) {
        m_onRootPath.clear();
        for (const Hierarchy* h : m_layout.pathToRoot())
            m_onRootPath.insert(h);
        drawPeople(painter, exposed);
        drawConnectors(painter, exposed);
        if (m_layout.showPageBreaks() && !printing)
            drawPageBreaksInRect(painter, exposed);
        if (m_layout.bHorizontal() && m_layout.options().displayTimeline)
            displayTimeline(painter);
        displayDiagramTitle(painter);
        m_onRootPath.clear();
    }
    painter.restore();
}

void HdPainter::paintPage(QPainter& painter, const QRectF& page)
{
    // Paper shows every box's text whatever the size; a page needs only the boxes that meet it, the rest would be
    // clipped away after all the work of laying their text out.
    const bool wasPrinting = printing;
    printing = true;
    m_onlyExposed = true;
    painter.save();
    painter.setClipRect(page, Qt::IntersectClip);
    paint(painter, page, QSizeF(m_layout.xExtent(), m_layout.yExtent()));
    painter.restore();
    m_onlyExposed = false;
    printing = wasPrinting;
}

void HdPainter::fillBackground(QPainter& painter, const QRectF& exposed, const QSizeF& viewSize) const
{
    if (printing) {
        painter.fillRect(exposed, Qt::white);
        return;
    }
    const HdOptions& o = m_layout.options();
    const QColor bg = o.bgColour.isValid() ? o.bgColour.toRgb() : QColor(Qt::white);
    painter.fillRect(exposed, bg);
    const Hierarchy* selected = m_layout.selectedHierarchy();
    const double w = viewSize.width();
    const double h = viewSize.height();
    if (!selected || w <= 0 || h <= 0)
        return;

    // A band that fades from the background to nearly white along the selected box's centre line: as wide as
    // the column (horizontal) or as tall as the box (top-down) with no gradient setting, a hundred times that
    // at the full setting. Two linear shadings meet at the centre; neither reaches beyond its ends.
    const double g = o.colourGradient;
    const QRectF s = selected->rclBox();
    const QColor centre = blend(bg, Qt::white, 0.9);
    painter.save();
    painter.setClipRect(exposed, Qt::IntersectClip);
    // Whole pixels: the two halves meet without a seam.
    painter.setRenderHint(QPainter::Antialiasing, false);
    auto shade = [&](double from, double to, bool alongX) {
        if (from == to)
            return;
        QLinearGradient gradient = alongX ? QLinearGradient(from, 0, to, 0) : QLinearGradient(0, from, 0, to);
        gradient.setColorAt(0, bg);
        gradient.setColorAt(1, centre);
        gradient.setSpread(QGradient::PadSpread);
        const double lo = std::min(from, to), hi = std::max(from, to);
        painter.fillRect(alongX ? QRectF(lo, 0, hi - lo, h) : QRectF(0, lo, w, hi - lo), gradient);
    };
    if (m_layout.bHorizontal()) {
        const double extent = m_layout.xExtent();
        if (extent <= 0) {
            painter.restore();
            return;
        }
        const double b = m_layout.columnWidth() / (1 - 0.99 * g) / w;
        const double c = (s.x() + s.width() / 2) / w;
        shade((c - b / 2 - 5.0 / extent) * w, c * w, true);
        shade((c + b / 2 - 10.0 / extent) * w, c * w, true);
    } else {
        const double b = s.height() / (1 - 0.99 * g) / h;
        const double c = (s.y() + s.height() / 2) / h;
        shade((c - b / 2) * h, c * h, false);
        shade((c + b / 2) * h, c * h, false);
    }
    painter.restore();
}

// ---- Boxes -----------------------------------------------------------------------------------------------------

void HdPainter::drawPeople(QPainter& painter, const QRectF& exposed) const
{
    // Every box of the selected person is framed in blue, and so is everything below it.
    const Hierarchy* selected = m_layout.selectedHierarchy();
    const FTPerson* selectedPerson = selected ? selected->person() : nullptr;
    const int maxLevel = m_layout.maxLevel();
    std::vector<std::pair<Hierarchy*, bool>> pending { { m_layout.rootHierarchy(), false } };
    while (!pending.empty()) {
        auto [h, blue] = pending.back();
        pending.pop_back();
        if (h->level() > maxLevel)
            continue;
        blue = blue || (selectedPerson && h->person() == selectedPerson);
        drawBox(painter, h, exposed, blue);
        const QList<Hierarchy*> next = shownChildren(h, maxLevel);
        for (qsizetype i = next.size(); i-- > 0;)
            pending.emplace_back(next[i], blue);
    }
}

void HdPainter::drawBox(QPainter& painter, Hierarchy* h, const QRectF& exposed, bool blue) const
{
    const QRectF box = h->rclBox();
    const double p = m_layout.pointSize();
    const bool horizontal = m_layout.bHorizontal();
    // Across, the text's box starts a padding left of the box, so that the text itself starts at its edge.
    const double pad = HierarchyLayout::kTextPadding;
    const bool meets = box.adjusted(horizontal ? -pad - 1 : -2, -2, 2, 2).intersects(exposed);
    if ((printing && !m_onlyExposed) || (meets && (printing || p >= 2.0))) {
        if (horizontal)
            drawTextInBox(painter, h, box.translated(-pad, 0), box.width());
        else
            drawTextInBox(painter, h, box, box.width() - 1.0);
    }
    if ((!printing || m_onlyExposed) && !meets)
        return;
    painter.setBrush(Qt::NoBrush);
    if (!horizontal) {
        const QColor colour = m_onRootPath.contains(h) || blue ? kBlue : QColor(Qt::black);
        painter.setPen(QPen(colour, lineWidthFor(colour)));
        painter.drawRect(box);
    } else if (h->repeatFlag() || h->repeatedElsewhere()) {
        // Only a person shown more than once is framed, so that the eye finds the other boxes.
        painter.setPen(QPen(QColor(127, 127, 127), 0.5));
        painter.drawRect(QRectF(box.x() - 0.25 * p, box.y(), box.width() - p, box.height() - 0.25 * p));
    }
}

void HdPainter::drawTextInBox(QPainter& painter, Hierarchy* h, const QRectF& box, double textWidth) const
{
    const Hierarchy* selected = m_layout.selectedHierarchy();
    if (!printing && selected && h->person() == selected->person()) {
        QColor highlight = m_layout.options().highlightColour;
        if (h != selected)
            highlight = blend(highlight, Qt::white, 0.5);
        painter.fillRect(box, highlight);
    }
    const bool horizontal = m_layout.bHorizontal();
    if (!horizontal && box.width() < m_layout.pointSize() * 1.5)
        return;
    const std::unique_ptr<QTextDocument> document = m_layout.getAttributedStringFor(h, true);
    document->setTextWidth(std::max(1.0, textWidth));
    painter.save();
    const QPointF origin = horizontal ? box.topLeft() : box.topLeft() + QPointF(1.0, 1.0);
    painter.translate(origin);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(QPointF(0, 0), box.size());
    painter.setClipRect(context.clip, Qt::IntersectClip);
    document->documentLayout()->draw(&painter, context);
    painter.restore();
    if (horizontal && h->stringSize().isEmpty()) {
        // The document just drawn gives the width of the first line at once.
        const QSizeF size = firstLineSize(*document);
        if (!size.isEmpty())
            h->setStringSize(size);
    }
}

// ---- Lines ------------------------------------------------------------------------------------------------------

void HdPainter::drawConnectors(QPainter& painter, const QRectF& exposed) const
{
    const Hierarchy* selected = m_layout.selectedHierarchy();
    const int maxLevel = m_layout.maxLevel();
    const bool marks = m_layout.options().showContinuationLines;
    const double reach = std::max(m_layout.verticalSpacing(), m_layout.pointSize()) + 4;
    std::vector<std::pair<Hierarchy*, QColor>> pending { { m_layout.rootHierarchy(), QColor(Qt::black) } };
    while (!pending.empty()) {
        auto [h, colour] = pending.back();
        pending.pop_back();
        drawConnector(painter, h, colour, exposed);
        // On screen the lines below the selected box are blue; on paper they stay black.
        if (!printing && h == selected)
            colour = kBlue;
        const bool near = h->rclBox().adjusted(-reach, -reach, reach, reach).intersects(exposed);
        if (h->contracted()) {
            if (near)
                drawContractedIndicator(painter, h);
            continue;
        }
        if (h->level() >= maxLevel) {
            if (near && marks && h->level() == maxLevel && h->hasNextGen())
                drawContinuationLine(painter, h);
            continue;
        }
        const QList<Hierarchy*> next = h->nextGenArray();
        for (qsizetype i = next.size(); i-- > 0;)
            pending.emplace_back(next[i], colour);
    }
    // The path from the selected box to the root again, over every other line.
    for (Hierarchy* h : m_layout.pathToRoot())
        drawConnector(painter, h, kBlue, exposed);
}

void HdPainter::drawConnector(QPainter& painter, Hierarchy* h, const QColor& colour, const QRectF& exposed) const
{
    Hierarchy* owner = h->owner();
    if (!owner)
        return;
    const double p = m_layout.pointSize();
    const QRectF area = h->rclBox().united(owner->rclBox()).adjusted(-p - 3, -p - 3, p + 3, p + 3);
    if (!area.intersects(exposed))
        return;
    const bool horizontal = m_layout.bHorizontal();
    const QPainterPath path = horizontal ? horizontalConnector(h) : topDownConnector(h);
    painter.setBrush(Qt::NoBrush);
    // White first: a line drawn earlier along the same way is wiped.
    const QPen wipe(Qt::white, horizontal ? kWipeWidth : 1.0);
    painter.strokePath(path, wipe);
    painter.strokePath(path, wipe);
    if (m_onRootPath.contains(h))
        painter.strokePath(path, QPen(kBlue, 2.0));
    else
        painter.strokePath(path, QPen(colour, lineWidthFor(colour)));
}

QPainterPath HdPainter::topDownConnector(Hierarchy* h) const
{
    const QRectF box = h->rclBox();
    const QRectF owner = h->owner()->rclBox();
    const double vs = m_layout.verticalSpacing();
    QPainterPath path;
    if (m_layout.bAncestors()) {
        path.moveTo(box.center().x(), box.bottom());
        path.lineTo(box.center().x(), box.bottom() + vs / 2);
        path.lineTo(owner.center().x(), box.bottom() + vs / 2);
        path.lineTo(owner.center().x(), owner.top());
    } else {
        path.moveTo(box.center().x(), box.top());
        path.lineTo(box.center().x(), box.top() - vs / 2);
        path.lineTo(owner.center().x(), box.top() - vs / 2);
        path.lineTo(owner.center().x(), owner.bottom());
    }
    return path;
}

QPainterPath HdPainter::connectorPath(Hierarchy* h) const
{
    if (!h || !h->owner())
        return {};
    return m_layout.bHorizontal() ? horizontalConnector(h) : topDownConnector(h);
}

QPainterPath HdPainter::horizontalConnector(Hierarchy* h) const
{
    // From the start of the box's first line left to an elbow, then along to the end of the owner's first line.
    const QRectF box = h->rclBox();
    const QRectF owner = h->owner()->rclBox();
    const double p = m_layout.pointSize();
    const double sw = stringSize(h->owner()).width();
    const double elbow = box.x() - 0.7 * p;
    // The owner's first line is drawn from a padding left of its box and has a padding after its letters. The
    // line stops short of them by as much as it starts short of the box, and by the wiping stroke's half width:
    // with large text the elbow's own distance no longer keeps it off the last letter.
    const double pad = HierarchyLayout::kTextPadding;
    const double lettersEnd = owner.x() - pad + sw - pad;
    const double end = std::min(elbow,
        std::max(elbow - std::max(0.0, m_layout.columnWidth() - sw), lettersEnd + 0.2 * p + kWipeWidth / 2));
    QPainterPath path;
    path.moveTo(box.x() - 0.2 * p, box.y() + 0.5 * p);
    path.lineTo(elbow, box.y() + 0.5 * p);
    path.lineTo(elbow, owner.y() + 0.5 * p);
    path.lineTo(end, owner.y() + 0.5 * p);
    return path;
}

void HdPainter::drawContinuationLine(QPainter& painter, Hierarchy* h) const
{
    // More generations exist than are shown.
    drawBranchMark(painter, h, dashedPen(0.5, 5, 5), 0, m_layout.verticalSpacing());
}

void HdPainter::drawContractedIndicator(QPainter& painter, Hierarchy* h) const
{
    drawBranchMark(painter, h, dashedPen(2.5, 2, 3), 1.5 * m_layout.pointSize(), m_layout.verticalSpacing() / 3);
}

void HdPainter::drawBranchMark(QPainter& painter, Hierarchy* h, const QPen& pen, double shortOfRight,
    double length) const
{
    // Across: after the box's first line, towards its right edge. Top-down: from the middle of the edge that
    // faces the next generation.
    const QRectF box = h->rclBox();
    painter.setPen(pen);
    if (m_layout.bHorizontal()) {
        const double y = box.y() + 0.5 * m_layout.pointSize();
        painter.drawLine(QPointF(box.x() + stringSize(h).width(), y), QPointF(box.right() - shortOfRight, y));
    } else if (m_layout.bAncestors()) {
        painter.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.top() - length));
    } else {
        painter.drawLine(QPointF(box.center().x(), box.bottom()), QPointF(box.center().x(), box.bottom() + length));
    }
}

// ---- Page breaks ----------------------------------------------------------------------------------------------

QString HdPainter::pageBreakLabel(int page, int pageCount, const QString& paperName, bool landscape, int row,
    int column, bool sizeToWidth)
{
    const auto L = [](const char* key) { return LocalizedString(QString::fromLatin1(key)); };
    // The print dialog's scaling never reaches the page size, so the label shows paper at its natural size.
    const int scaling = 100;
    return QStringList {
        QStringLiteral("%1 %2 %3 %4").arg(L("PageNum"), QString::number(page), L("ConjunctiveOf"),
            QString::number(pageCount)),
        QStringLiteral("%1 %2").arg(paperName, L(landscape ? "Landscape" : "Portrait")),
        QStringLiteral("%1 %2% %3").arg(L("ConjunctiveAt"), QString::number(scaling), L("scaling")),
        QStringLiteral("%1 = %2, %3 = %4").arg(L("RowShort"), QString::number(row), L("ColumnShort"),
            QString::number(column)),
        sizeToWidth ? L("SizeToWidthIgnored") : QString() }
        .join(QLatin1Char('\n'));
}

void HdPainter::drawPageBreaksInRect(QPainter& painter, const QRectF& rect) const
{
    const HdPageGeometry pages = HdPageGeometry::calculate(m_layout, HdPrinting::paperSize(pageLayout));
    if (!pages.fitsPaper())
        return;
    const double pw = pages.pageWidth;
    const double ph = pages.pageHeight;
    const QColor red = QColor::fromRgbF(1.0f, 0.5f, 0.5f);
    painter.save();
    QColor translucent = red;
    translucent.setAlphaF(0.4f);
    painter.setPen(QPen(translucent, 10.0, Qt::SolidLine, Qt::FlatCap));

    const double bottom = m_layout.topMargin() + ph * pages.rows;
    for (int c = 0; c <= pages.columns; ++c) {
        const double x = c == 0 ? 5.0 : m_layout.leftMargin() + pw * c - m_layout.pointSize();
        if (x >= rect.left() && x <= rect.right())
            painter.drawLine(QPointF(x, 0), QPointF(x, bottom));
    }
    const double right = pw * pages.columns;
    for (int r = 0; r <= pages.rows; ++r) {
        const double y = r == 0 ? 5.0 : m_layout.topMargin() + ph * r;
        if (y >= rect.top() && y <= rect.bottom())
            painter.drawLine(QPointF(0, y), QPointF(right, y));
    }

    // The labels of the pages that meet the rectangle, found without walking every page of a large grid.
    painter.setPen(red);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(36);
    painter.setFont(font);
    const int count = pages.pageCount();
    const bool sizeToWidth = m_layout.options().sizeToWidth;
    const QString paperName = pageLayout.pageSize().name();
    const bool landscape = pageLayout.orientation() == QPageLayout::Landscape;
    const auto first = [](double at, double step, int limit) {
        return int(std::clamp(std::floor(at / step), 0.0, double(limit - 1)));
    };
    const int lastColumn = first(rect.right(), pw, pages.columns);
    const int lastRow = first(rect.bottom() - 36.0, ph, pages.rows);
    for (int row = first(rect.top() - 36.0 - ph, ph, pages.rows); row <= lastRow; ++row) {
        for (int column = first(rect.left() - pw, pw, pages.columns); column <= lastColumn; ++column) {
            const QRectF label(pw * column, ph * row + 36.0, pw, ph);
            if (!label.intersects(rect))
                continue;
            painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop,
                pageBreakLabel(row * pages.columns + column + 1, count, paperName, landscape, row + 1, column + 1,
                    sizeToWidth));
        }
    }
    painter.restore();
}

// ---- Timeline and title ------------------------------------------------------------------------------------------

void HdPainter::displayTimeline(QPainter& painter) const
{
    const double width = m_layout.columnWidth();
    painter.setFont(arial(std::min(width / 3.0, 12.0)));
    painter.setPen(Qt::black);
    const std::vector<int>& years = m_layout.timelineArray();
    for (int level = 0; level <= m_layout.maxLevelFound() && size_t(level) < years.size(); ++level) {
        const int year = years[size_t(level)];
        if (year == 0)
            continue;
        painter.drawText(QRectF(level * width + width / 3.0, 35.0, width, 20.0), Qt::AlignLeft | Qt::AlignTop,
            QString::number(timelineYear(year)));
    }
}

QString HdPainter::byline(const HdOptions& options)
{
    return options.includeAuthorsByline
        ? UserDefaults::standard().stringForKey(QStringLiteral("authorsByline")).trimmed()
        : QString();
}

double HdPainter::titleBlockWidth(const QString& title, const QString& byline)
{
    // Any moment's line is as wide as the widest day and month would make it.
    const QDateTime widest(QDate(2000, 9, 27), QTime(23, 59));
    const double margin = 20.0;
    return std::max(QFontMetricsF(arial(14, true)).horizontalAdvance(title),
               QFontMetricsF(arial(10)).horizontalAdvance(createdOnText(widest, byline)))
        + 2 * margin;
}

void HdPainter::displayDiagramTitle(QPainter& painter) const
{
    const HdOptions& o = m_layout.options();
    const double width = m_layout.xExtent();
    const QString byline = HdPainter::byline(o);
    const QFont titleFont = arial(14, true);
    const double titleHeight = QFontMetricsF(titleFont).height();
    painter.setPen(Qt::black);
    painter.setFont(titleFont);
    painter.drawText(QRectF(0, 0, width, titleHeight), Qt::AlignHCenter | Qt::AlignTop, dialogTitle);
    painter.setFont(arial(10));
    painter.drawText(QRectF(0, titleHeight, width, 40.0 - titleHeight), Qt::AlignHCenter | Qt::AlignTop,
        createdOnText(createdOn.isValid() ? createdOn : QDateTime::currentDateTime(), byline));
    if (o.includeKinloomFooter) {
        painter.setFont(arial(9));
        painter.setPen(kDarkGrey);
        painter.drawText(QRectF(0, m_layout.yExtent() - 16.0, width, 40.0), Qt::AlignHCenter | Qt::AlignTop,
            footerText());
    }
}
