#include "merge/CompareFormats.h"

#include <QColor>
#include <QFont>

namespace {
QTextCharFormat arialBold(qreal points)
{
    QTextCharFormat f;
    f.setFontFamilies({ QStringLiteral("Arial") });
    f.setFontPointSize(points);
    f.setFontWeight(QFont::Bold);
    return f;
}
}

QFont CompareFormats::documentFont()
{
    QFont font(QStringLiteral("Helvetica"));
    font.setPointSize(12);
    return font;
}

QTextCharFormat CompareFormats::plain()
{
    // Spelled out rather than left to the document, so that a run reads the same in every document it is copied to.
    QTextCharFormat f;
    f.setFontFamilies({ documentFont().family() });
    f.setFontPointSize(documentFont().pointSizeF());
    f.setFontWeight(QFont::Normal);
    return f;
}

QTextCharFormat CompareFormats::bold()
{
    return arialBold(12);
}

QTextCharFormat CompareFormats::boldRed()
{
    QTextCharFormat f = arialBold(12);
    f.setForeground(QColor(255, 0, 0));
    return f;
}

QTextCharFormat CompareFormats::header()
{
    QTextCharFormat f = arialBold(18);
    f.setFontUnderline(true);
    return f;
}

QTextCharFormat CompareFormats::highlight()
{
    QTextCharFormat f;
    f.setBackground(QColor(200, 255, 255));
    return f;
}
