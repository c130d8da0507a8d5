#include "diagrams/TextMeasurer.h"

#include <QFont>
#include <QTextDocument>

#include <gtest/gtest.h>

TEST(TextMeasurer, FixedMetricsWrapEachParagraph)
{
    const FixedTextMeasurer m; // 0.5 × size per character, 1.2 × size per line
    QFont font;
    font.setPointSizeF(10);
    EXPECT_EQ(m.heightOfText(QString(), font, 100), 0);
    EXPECT_DOUBLE_EQ(m.heightOfText(QStringLiteral("abcd"), font, 100), 12);       // 20 points wide: one line
    EXPECT_DOUBLE_EQ(m.heightOfText(QString(20, QLatin1Char('x')), font, 100), 12); // exactly the width
    EXPECT_DOUBLE_EQ(m.heightOfText(QString(21, QLatin1Char('x')), font, 100), 24);
    EXPECT_DOUBLE_EQ(m.heightOfText(QStringLiteral("a\n\nb"), font, 100), 36); // an empty paragraph is a line
}

TEST(TextMeasurer, QtLayoutGrowsWithLinesAndShrinksWithWidth)
{
    const DocumentTextMeasurer& m = DocumentTextMeasurer::shared();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(12);
    const QString words = QStringLiteral("one two three four five six seven eight nine ten eleven twelve");
    const double wide = m.heightOfText(words, font, 2000);
    EXPECT_GT(wide, 0);
    EXPECT_GT(m.heightOfText(words, font, 60), 2 * wide);
    EXPECT_GT(m.heightOfText(QStringLiteral("a\nb"), font, 2000), 1.5 * m.heightOfText(QStringLiteral("a"), font, 2000));

    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(font);
    document.setPlainText(words);
    EXPECT_DOUBLE_EQ(m.heightOfDocument(document, 60), m.heightOfText(words, font, 60));
    EXPECT_EQ(document.textWidth(), -1); // the caller's document is left as it was
}
