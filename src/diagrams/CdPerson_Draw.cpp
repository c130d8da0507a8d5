#include "diagrams/CdPerson.h"

#include "diagrams/CdLayout.h"
#include "diagrams/TextMeasurer.h"

#include "model/FTPerson.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace {
const QChar kMaleSymbol(0x2642);
const QChar kFemaleSymbol(0x2640);

// A plain text in one font and colour, laid out at `width`; a leading gender symbol is set in Arial, which has it.
void fillDocument(QTextDocument& doc, const QString& text, const QFont& font, const QColor& colour, double width,
                  Qt::Alignment alignment)
{
    doc.setDocumentMargin(0);
    doc.setDefaultFont(font);
    doc.setTextWidth(std::max(1.0, width));
    QTextCursor cursor(&doc);
    QTextBlockFormat block;
    block.setAlignment(alignment);
    cursor.setBlockFormat(block);
    QTextCharFormat format;
    format.setFont(font);
    format.setForeground(colour);
    qsizetype from = 0;
    if (!text.isEmpty() && (text.at(0) == kMaleSymbol || text.at(0) == kFemaleSymbol)) {
        QTextCharFormat symbol = format;
        QFont arial(QStringLiteral("Arial"));
        arial.setPointSizeF(font.pointSizeF());
        symbol.setFont(arial);
        cursor.insertText(text.left(1), symbol);
        from = 1;
    }
    cursor.insertText(text.mid(from), format);
}

void drawDocument(QPainter& painter, QTextDocument& doc, const QPointF& at, const QRectF& clip)
{
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    painter.translate(at);
    doc.drawContents(&painter);
    painter.restore();
}

}

namespace {
constexpr QChar kEllipsis(0x2026);
// The connection handle's circle, in the box's bottom right corner, and the room kept beside it.
constexpr double kHandleSize = 6;
constexpr double kHandleReserve = kHandleSize + 3;
// How much taller than its frame the one line of a cut-short text may be.
constexpr double kLineSlack = 3;
}

void CdPerson::setIndent()
{
    m_indent = options().personColourGradient * 0.1 * m_rclBox.height();
}

QFont CdPerson::textFont(double size) const
{
    QFont font = m_pcd ? options().font : CdOptions::defaultFont();
    font.setPointSizeF(std::max(1.0, size));
    return font;
}

double CdPerson::minimumFontSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen && screen->logicalDotsPerInchY() > 0 ? screen->logicalDotsPerInchY() : 96.0;
    return 7.0 * 72.0 / dpi;
}

double CdPerson::designFontSize() const
{
    return m_pcd ? options().font.pointSizeF() : 10;
}

double CdPerson::startFontSize() const
{
    if (!m_pcd)
        return 10;
    const double pointSize = options().font.pointSizeF();
    return m_ancLevel < 4 ? pointSize : std::trunc(std::min(m_rclBox.height() / 1.5, pointSize));
}

double CdPerson::fitSize(const QString& text, const QRectF& frame, const QList<QRectF>& keepClear,
                         const TextMeasurer& measurer, double* textHeight) const
{
    const double minimum = minimumFontSize();
    double size = std::max(startFontSize(), minimum);
    *textHeight = frame.height();
    if (frame.width() <= 2 || frame.height() <= 2)
        return 2;
    // The lines are centred: a short one may sit between the marks in the corners.
    const auto clear = [&](const QFont& font, double height) {
        if (keepClear.isEmpty())
            return true;
        const QPointF at(frame.x(), frame.y() + (frame.height() - height) * 0.5);
        for (const QRectF& line : measurer.centredLineRects(text, font, frame.width()))
            for (const QRectF& mark : keepClear)
                if (line.translated(at).intersects(mark))
                    return false;
        return true;
    };
    QFont f = textFont(size);
    for (;;) {
        f.setPointSizeF(size);
        *textHeight = measurer.heightOfText(text, f, frame.width());
        if (*textHeight == 0)
            *textHeight = 100;
        const bool fits = *textHeight <= frame.height() && clear(f, *textHeight);
        if (fits || *textHeight <= 2 || size <= minimum)
            break;
        size = std::max(size - 1, minimum);
    }
    return size;
}

double CdPerson::calculateFontSize(const QString& text, const QFont& font, const TextMeasurer& measurer)
{
    (void)font; // the family is the diagram's; only the size is fitted
    const QRectF frame(m_rclBox.x(), m_rclBox.y(), m_rclBox.width() - m_indent, m_rclBox.height());
    return fitSize(text, frame, {}, measurer, &m_textHeight);
}

CdPerson::TextFit CdPerson::fitText(const QString& text, const QRectF& frame, const QList<QRectF>& keepClear,
                                    const TextMeasurer& measurer) const
{
    TextFit fit;
    fit.frame = frame;
    fit.text = text;
    fit.size = fitSize(text, frame, keepClear, measurer, &fit.height);
    // A text that had to shrink far runs on as one paragraph, when that lets it be larger: the name and the
    // years on lines of their own read better at the same size.
    if (fit.size < designFontSize() - 1 && text.contains(QLatin1Char('\n'))) {
        const bool fitted = fit.height <= frame.height();
        QString runOn = text;
        runOn.replace(QLatin1Char('\n'), QLatin1Char(' '));
        double height = 0;
        const double size = fitSize(runOn, frame, keepClear, measurer, &height);
        if (size > fit.size || (!fitted && height <= frame.height()) || (!fitted && size == fit.size)) {
            fit.text = runOn;
            fit.size = size;
            fit.height = height;
        }
    }
    fit.size = std::trunc(fit.size * 4) / 4;
    fit.fits = fit.height <= frame.height();
    if (fit.fits && !keepClear.isEmpty()) {
        const QPointF at(frame.x(), frame.y() + (frame.height() - fit.height) * 0.5);
        for (const QRectF& line : measurer.centredLineRects(fit.text, textFont(fit.size), frame.width()))
            for (const QRectF& mark : keepClear)
                fit.fits = fit.fits && !line.translated(at).intersects(mark);
    }
    return fit;
}

QList<QRectF> CdPerson::Indicators::nonEmpty() const
{
    QList<QRectF> out;
    for (const QRectF& r : { numericId, siblings, spouses, handle })
        if (!r.isEmpty())
            out << r;
    return out;
}

namespace {
// The rectangle the letters of `text` cover, with a point to spare around them, placed by its `corner`.
QRectF markRect(const QString& text, const QFont& font, const QPointF& corner, Qt::Corner which)
{
    const QSizeF size = QFontMetricsF(font).tightBoundingRect(text).size() + QSizeF(2, 2);
    QRectF r(QPointF(0, 0), size);
    switch (which) {
    case Qt::TopLeftCorner: r.moveTopLeft(corner); break;
    case Qt::TopRightCorner: r.moveTopRight(corner); break;
    case Qt::BottomLeftCorner: r.moveBottomLeft(corner); break;
    case Qt::BottomRightCorner: r.moveBottomRight(corner); break;
    }
    return r;
}

// Draws `text` so that its letters fill `rect` as markRect() made it.
void drawMark(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font, const QColor& colour)
{
    const QRectF tight = QFontMetricsF(font).tightBoundingRect(text);
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(rect.x() + 1 - tight.x(), rect.y() + 1 - tight.y()), text);
    painter.restore();
}
}

QFont CdPerson::siblingsIndicatorFont() const
{
    QFont font = textFont(11);
    font.setItalic(false); // the arrows are in every upright face
    return font;
}

QFont CdPerson::spousesIndicatorFont() const
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(std::max(1.0, spousesIndicatorSize()));
    return font;
}

CdPerson::Indicators CdPerson::indicatorRects() const
{
    Indicators ind;
    const QRectF& r = m_rclBox;
    if (!m_person || r.isEmpty())
        return ind;
    const double indent = options().personColourGradient * 0.1 * r.height();
    if (m_pcd)
        ind.handle = QRectF(r.right() - 7, r.bottom() - 7, kHandleSize, kHandleSize).adjusted(-1, -1, 1, 1);
    // Low boxes keep their marks inside them as far as they can.
    const double inset = std::min(2.0, r.height() * 0.1);
    if (m_pcd && m_ancLevel == kFocal && !m_owner) {
        if (options().showFocalPersonsId)
            ind.numericId = markRect(QString::number(m_person->numericId()), textFont(10),
                                     QPointF(r.right() - indent - 1, r.y() + inset), Qt::TopRightCorner);
        const QString siblings = siblingsIndicatorText();
        if (!siblings.isEmpty())
            ind.siblings = markRect(siblings, siblingsIndicatorFont(),
                                    QPointF(r.right() - std::max(indent, kHandleReserve), r.bottom() - inset),
                                    Qt::BottomRightCorner);
        // A box too low for the number above the siblings has the number beside them.
        if (ind.numericId.intersects(ind.siblings))
            ind.numericId.moveRight(ind.siblings.left() - 2);
    }
    const QString spouses = spousesIndicatorText();
    if (!spouses.isEmpty() && spousesIndicatorSize() > 0)
        ind.spouses = markRect(spouses, spousesIndicatorFont(), QPointF(r.x() + 2, r.bottom() - inset),
                               Qt::BottomLeftCorner);
    return ind;
}

void CdPerson::layOutText(const QString& text, const TextMeasurer& measurer)
{
    const QRectF& r = m_rclBox;
    const QRectF full(r.x(), r.y(), r.width() - m_indent, r.height());
    struct Candidate {
        QRectF frame;
        QList<QRectF> keepClear;
    };
    QList<Candidate> candidates;
    const QList<QRectF> reserved = indicatorRects().nonEmpty();
    // The whole box, as long as no line of the text meets what the box shows in its corners.
    candidates << Candidate {full, reserved};
    if (!reserved.isEmpty()) {
        // Else above and below those marks, or beside them (the same room on both sides keeps the text in the
        // middle; the room each side needs leaves more width): whichever lets the text be largest.
        double top = 0, bottom = 0, left = 0, right = 0;
        for (const QRectF& c : reserved) {
            if (c.center().y() < r.center().y())
                top = std::max(top, c.bottom() - r.top());
            else
                bottom = std::max(bottom, r.bottom() - c.top());
            if (c.center().x() < r.center().x())
                left = std::max(left, c.right() - full.left());
            else
                right = std::max(right, full.right() - c.left());
        }
        candidates << Candidate {QRectF(full.x(), r.y() + top, full.width(), r.height() - top - bottom), {}};
        const double side = std::max(left, right) + 1;
        candidates << Candidate {QRectF(full.x() + side, r.y(), full.width() - 2 * side, r.height()), {}};
        candidates << Candidate {QRectF(full.x() + left + 1, r.y(), full.width() - left - right - 2, r.height()), {}};
    }

    TextFit best;
    bool found = false;
    // When nothing fits, the text is cut short in the largest frame that is clear of the marks by itself.
    TextFit roomiest;
    bool anyClear = false;
    for (const Candidate& c : std::as_const(candidates)) {
        if (c.frame.width() <= 2 || c.frame.height() <= 2)
            continue;
        const TextFit fit = fitText(text, c.frame, c.keepClear, measurer);
        if (fit.fits && (!found || fit.size > best.size)) {
            best = fit;
            found = true;
        }
        const auto area = [](const QRectF& f) { return f.width() * f.height(); };
        if (c.keepClear.isEmpty() && (!anyClear || area(fit.frame) > area(roomiest.frame))) {
            roomiest = fit;
            anyClear = true;
        }
    }
    if (!found && anyClear) {
        best = roomiest;
        found = true;
    }
    m_fullText = text;
    if (!found) {
        m_textFrame = full;
        m_drawnText = text;
        m_fontSize = 2;
        m_textHeight = full.height();
        return;
    }
    if (!best.fits && best.size <= minimumFontSize() + 0.25) {
        // Even the smallest size is too large: as much as fits, and an ellipsis. A line may be a little taller
        // than a low box: what it loses is the space above and below the letters.
        const QFont font = textFont(best.size);
        const double room = best.frame.height() + kLineSlack;
        const auto fitsWith = [&](qsizetype n) {
            return measurer.heightOfText(best.text.left(n).trimmed() + kEllipsis, font, best.frame.width()) <= room;
        };
        qsizetype lo = 0, hi = best.text.size();
        while (lo < hi) {
            const qsizetype mid = (lo + hi + 1) / 2;
            if (fitsWith(mid))
                lo = mid;
            else
                hi = mid - 1;
        }
        best.text = best.text.left(lo).trimmed() + kEllipsis;
        best.height = std::min(room, measurer.heightOfText(best.text, font, best.frame.width()));
    }
    m_textFrame = best.frame;
    m_drawnText = best.text;
    m_fontSize = best.size;
    m_textHeight = best.height;
}

void CdPerson::drawBoxText(QPainter& painter) const
{
    if (m_textFrame.isEmpty() || m_drawnText.isEmpty())
        return;
    QTextDocument doc;
    fillDocument(doc, m_drawnText, textFont(m_fontSize), m_person ? textColour() : QColor(Qt::gray),
                 m_textFrame.width(), Qt::AlignHCenter);
    // Centred in the frame; a line a little taller than a low box loses as much above as below.
    const double down = m_textHeight > 0 ? (m_textFrame.height() - m_textHeight) * 0.5 : 0;
    drawDocument(painter, doc, QPointF(m_textFrame.x(), m_textFrame.y() + std::max(-kLineSlack / 2, down)),
                 m_textFrame);
}

void CdPerson::displayTextInBox(QPainter& painter, bool addTrackingRects)
{
    displayTextInBox(painter, addTrackingRects, DocumentTextMeasurer::shared());
}

void CdPerson::displayTextInBox(QPainter& painter, bool addTrackingRects, const TextMeasurer& measurer)
{
    setIndent();
    const QRectF& r = m_rclBox;
    if (r.height() <= 0 || r.width() <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!m_person) {
        QPen dashed(Qt::black, 0.5);
        dashed.setDashPattern({1, 1});
        painter.setPen(dashed);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r);
    }

    layOutText(boxText(), measurer);

    if (m_person) {
        drawTheBox(painter);
        m_rclMugShot = displayMugShot(painter, addTrackingRects);
    }
    drawBoxText(painter);

    if (m_pcd && m_person && m_ancLevel == kFocal && !m_owner) {
        if (options().showFocalPersonsId)
            displayNumericId(painter);
        displaySiblingsIndicator(painter);
    }
    displaySpousesIndicator(painter);
    painter.restore();
}

QRectF CdPerson::mugShotRect() const
{
    const double h = m_rclBox.height();
    const double width = std::trunc(h / 1.4 * 0.5);
    const double height = std::trunc(h * 0.5);
    return QRectF(std::trunc(m_rclBox.x() - width * 0.5), std::trunc(m_rclBox.y() + h * 0.5 - height * 0.5), width,
                  height);
}

QRectF CdPerson::displayMugShot(QPainter& painter, bool addTrackingRect)
{
    if (!m_pcd || !options().showMugShots || m_ancLevel == kFocal || !m_person || m_mugShotImage.isNull()
        || m_mugShotImage.width() == 0)
        return {};
    const QRectF rect = mugShotRect();
    painter.save();
    painter.fillRect(rect.adjusted(2, 2, -2, -2), Qt::white);
    // The middle of the picture at 1.4 : 1 (height to width): the sides go when it is wider, top and bottom when
    // it is taller.
    const QSizeF size = m_mugShotImage.size();
    QRectF source(QPointF(0, 0), size);
    if (size.height() / size.width() < 1.4) {
        const double w = size.height() / 1.4;
        source = QRectF((size.width() - w) / 2, 0, w, size.height());
    } else {
        const double h = size.width() * 1.4;
        source = QRectF(0, (size.height() - h) / 2, size.width(), h);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect, m_mugShotImage, source);
    const QRectF frame = rect.adjusted(-1, -1, 1, 1);
    painter.setPen(QPen(Qt::gray, 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    painter.restore();
    (void)addTrackingRect; // the frame is recorded as rclMugShot, which the hit tests read
    return frame;
}

void CdPerson::displayNumericId(QPainter& painter) const
{
    const QRectF rect = indicatorRects().numericId;
    if (!rect.isEmpty())
        drawMark(painter, rect, QString::number(m_person->numericId()), textFont(10), Qt::black);
}

QString CdPerson::siblingsIndicatorText() const
{
    if (!m_person)
        return {};
    const QList<FTPerson*> siblings = m_person->siblingsArrayWithSelf();
    const qsizetype n = siblings.size();
    const qsizetype i = siblings.indexOf(m_person);
    if (n <= 1 || i < 0)
        return {};
    const QChar arrow = i == 0 ? QChar(0x2193) : (i == n - 1 ? QChar(0x2191) : QChar(0x21C5));
    return QStringLiteral("%1 %2").arg(n - 1).arg(arrow);
}

void CdPerson::displaySiblingsIndicator(QPainter& painter) const
{
    const QRectF rect = indicatorRects().siblings;
    if (!rect.isEmpty())
        drawMark(painter, rect, siblingsIndicatorText(), siblingsIndicatorFont(), Qt::black);
}

QString CdPerson::spousesIndicatorText() const
{
    if (m_textsKept)
        return m_keptSpousesIndicator;
    const qsizetype n = m_person ? m_person->spouses().size() : 0;
    if (n <= 0)
        return {};
    return n <= 3 ? QString(n, QLatin1Char('+')) : QStringLiteral("+%1").arg(n);
}

double CdPerson::spousesIndicatorSize() const
{
    const double size = m_pcd ? std::max(options().font.pointSizeF() - 2, 0.0) : 10;
    if (size <= 0)
        return 0;
    // In a small box the plus signs shrink with it, as far as the smallest text size.
    const double dpi = 72.0 * 7.0 / minimumFontSize();
    const double boxPoints = m_rclBox.height() * 72.0 / dpi;
    return std::max(minimumFontSize(), std::min(size, boxPoints * 0.6));
}

void CdPerson::displaySpousesIndicator(QPainter& painter) const
{
    const QRectF rect = indicatorRects().spouses;
    if (!rect.isEmpty())
        drawMark(painter, rect, spousesIndicatorText(), spousesIndicatorFont(), Qt::darkGray);
}
