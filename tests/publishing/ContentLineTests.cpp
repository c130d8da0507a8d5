#include "publishing/ContentLine.h"

#include <QByteArray>
#include <QList>
#include <QStringDecoder>

#include <gtest/gtest.h>

TEST(ContentLines, TextEscapesTheCharactersThatWouldEndAValue)
{
    const std::pair<QString, QString> cases[] = {
        {"plain", "plain"},
        {"a, b; c\\d", "a\\, b\\; c\\\\d"},
        {"one\ntwo\r\nthree\rfour", "one\\ntwo\\nthree\\nfour"},
        {QString("bell\x07 and tab\t"), "bell and tab\t"},
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(ContentLine::escapedText(text), escaped) << text.toStdString();
}

TEST(ContentLines, FoldingKeepsEveryLineWithin75OctetsAndEveryCharacterWhole)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x8C\xB3"); // four octets, two UTF-16 units
    const QString lines[] = {
        "SUMMARY:" + QString(200, 'x'),
        "DESCRIPTION:" + QString(100, QChar(0xe9)), // two octets each
        "X:" + emoji.repeated(60),
        // A character that would straddle octet 75 moves whole to the next line.
        QString(73, 'a') + QString::fromUtf8("\xE2\x82\xAC") + "tail",
        QString(75, 'b'),
    };
    for (const QString& line : lines) {
        const QByteArray folded = ContentLine::folded(line);
        ASSERT_TRUE(folded.endsWith("\r\n"));
        QList<QByteArray> physical = folded.chopped(2).split('\n');
        QByteArray unfolded;
        for (qsizetype i = 0; i < physical.size(); ++i) {
            QByteArray part = physical[i];
            if (i + 1 < physical.size()) {
                ASSERT_TRUE(part.endsWith('\r'));
                part.chop(1);
            }
            EXPECT_LE(part.size(), 75) << line.toStdString();
            if (i > 0) {
                ASSERT_TRUE(part.startsWith(' '));
                part.remove(0, 1);
            }
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString decoded = utf8(part);
            EXPECT_FALSE(utf8.hasError()) << "a character was split at a fold: " << line.toStdString();
            unfolded += part;
        }
        EXPECT_EQ(QString::fromUtf8(unfolded), line);
    }
    EXPECT_EQ(ContentLine::folded(QString(75, 'b')), QByteArray(75, 'b') + "\r\n");
}
