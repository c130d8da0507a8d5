#include "diagrams/CdPerson.h"

#include "diagrams/CdLayout.h"
#include "diagrams/TextMeasurer.h"

#include "model/FTPerson.h"

#include <QPainter>
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

void drawLine(QPainter& painter, const QString& text, const QFont& font, const QColor& colour, const QRectF& frame,
              Qt::Alignment alignment)
{
    QTextDocument doc;
    fillDocument(doc, text, font, colour, frame.width(), alignment);
    drawDocument(painter, doc, frame.topLeft(), frame.adjusted(0, 0, 0, 20));
}
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

double CdPerson::calculateFontSize(const QString& text, const QFont& font, const TextMeasurer& measurer)
{
    const double h = m_rclBox.height();
    double size = 10;
    if (m_pcd) {
        const double pointSize = options().font.pointSizeF();
        size = m_ancLevel < 4 ? pointSize : std::trunc(std::min(h / 1.5, pointSize));
    }
    m_textHeight = h;
    if (m_rclBox.width() <= 2 || h <= 2)
        return 2;
    QFont f = font;
    const double width = m_rclBox.width() - m_indent;
    for (;;) {
        f.setPointSizeF(std::max(1.0, size));
        m_textHeight = measurer.heightOfText(text, f, width);
        if (m_textHeight == 0)
            m_textHeight = 100;
        if (m_textHeight <= h || m_textHeight <= 2 || size <= 1)
            break;
        size -= 1;
    }
    return size;
}

void CdPerson::truncateTextForChildren(QString& text, const TextMeasurer& measurer)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_fontSize = std::trunc(calculateFontSize(text, textFont(m_fontSize), measurer));
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

    QString text = boxText();
    const double designSize = m_pcd ? options().font.pointSizeF() : 10;
    m_fontSize = std::trunc(calculateFontSize(text, textFont(designSize), measurer));
    if (m_fontSize < designSize - 1)
        truncateTextForChildren(text, measurer);

    if (m_person) {
        drawTheBox(painter);
        m_rclMugShot = displayMugShot(painter, addTrackingRects);
    }

    QTextDocument doc;
    fillDocument(doc, text, textFont(m_fontSize), m_person ? textColour() : QColor(Qt::gray), r.width() - m_indent,
                 Qt::AlignHCenter);
    const double down = m_textHeight > 0 ? (r.height() - m_textHeight) * 0.5 : 0;
    drawDocument(painter, doc, QPointF(r.x(), r.y() + down), QRectF(r.x(), r.y(), r.width() - m_indent, r.height()));

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
    drawLine(painter, QString::number(m_person->numericId()), textFont(10), Qt::black,
             QRectF(m_rclBox.x(), m_rclBox.y(), m_rclBox.width() - m_indent, 14), Qt::AlignRight);
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
    const QString text = siblingsIndicatorText();
    if (text.isEmpty())
        return;
    QFont font = textFont(11);
    font.setItalic(false); // the arrows are in every upright face
    drawLine(painter, text, font, Qt::black,
             QRectF(m_rclBox.x(), m_rclBox.y() + m_rclBox.height() - 13, m_rclBox.width() - m_indent, 14), Qt::AlignRight);
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

void CdPerson::displaySpousesIndicator(QPainter& painter) const
{
    const QString text = spousesIndicatorText();
    if (text.isEmpty())
        return;
    const double size = m_pcd ? std::max(options().font.pointSizeF() - 2, 0.0) : 10;
    if (size <= 0)
        return;
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(size);
    drawLine(painter, text, font, Qt::darkGray,
             QRectF(m_rclBox.x() + 2, m_rclBox.y() + m_rclBox.height() - size * 1.5, m_rclBox.width(), size * 1.5),
             Qt::AlignLeft);
}
