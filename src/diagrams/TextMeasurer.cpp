#include "diagrams/TextMeasurer.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QRegularExpression>
#include <QStringList>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <memory>

double DocumentTextMeasurer::heightOfText(const QString& text, const QFont& font, double width) const
{
    if (text.isEmpty())
        return 0;
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(font);
    document.setPlainText(text);
    // The document is this call's own: it is laid out in place, without the copy heightOfDocument() makes.
    return heightOfDocumentAtWidth(document, width);
}

double CachingTextMeasurer::heightOfText(const QString& text, const QFont& font, double width) const
{
    // Everything that changes the height: the font's family, style and size, the width and the text.
    QString key = font.family();
    key += QLatin1Char('\x1f') + QString::number(font.pointSizeF()) + QLatin1Char('\x1f') + QString::number(width, 'g', 17)
           + QLatin1Char('\x1f') + QString::number(int(font.italic()) | int(font.bold()) << 1 | font.weight() << 2)
           + QLatin1Char('\x1f') + text;
    if (const auto it = m_heights.constFind(key); it != m_heights.cend())
        return *it;
    if (m_heights.size() >= m_capacity)
        m_heights.clear();
    const double height = m_measurer.heightOfText(text, font, width);
    m_heights.insert(key, height);
    return height;
}

double DocumentTextMeasurer::heightOfDocument(const QTextDocument& document, double width) const
{
    if (document.isEmpty())
        return 0;
    // Layout changes the document's width; measure a clone so that callers can pass the document they draw.
    std::unique_ptr<QTextDocument> copy(document.clone());
    copy->setTextWidth(std::max(1.0, width));
    return copy->documentLayout()->documentSize().height();
}

double DocumentTextMeasurer::heightOfDocumentAtWidth(QTextDocument& document, double width) const
{
    if (document.isEmpty())
        return 0;
    document.setTextWidth(std::max(1.0, width));
    return document.documentLayout()->documentSize().height();
}

const DocumentTextMeasurer& DocumentTextMeasurer::shared()
{
    static const DocumentTextMeasurer measurer;
    return measurer;
}

int FixedTextMeasurer::lineCount(const QString& text, double pointSize, double width) const
{
    if (text.isEmpty())
        return 0;
    const double charWidth = m_charWidthFactor * pointSize;
    int lines = 0;
    for (const QString& paragraph : text.split(QRegularExpression(QStringLiteral("\\r\\n|\\n|\\r|\\x2029")))) {
        const double needed = paragraph.size() * charWidth;
        lines += std::max(1, int(std::ceil(needed / std::max(1.0, width) - 1e-9)));
    }
    return lines;
}

double FixedTextMeasurer::heightOfText(const QString& text, const QFont& font, double width) const
{
    const double size = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
    return lineCount(text, size, width) * m_lineHeightFactor * size;
}

double FixedTextMeasurer::heightOfDocument(const QTextDocument& document, double width) const
{
    return heightOfText(document.toPlainText(), document.defaultFont(), width);
}
