// The links of a transcription on its text document: making and removing them, what a stored transcription keeps
// of them, following them to their rectangle and range, and the commands' refusals.

#include "PicturesFixture.h"

#include "pictures/TranscriptionLinks.h"

#include "model/FTSource.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {
using Refusal = TranscriptionLinks::Refusal;

QTextCharFormat formatAt(const QTextDocument& document, int index)
{
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(index);
    cursor.setPosition(index + 1, QTextCursor::KeepAnchor);
    return cursor.charFormat();
}

bool isPlain(const QTextCharFormat& format)
{
    return !format.isAnchor() && format.foreground().color() == QColor(Qt::black) && !format.fontUnderline();
}

// The text and rectangle of every link, in order.
QList<std::pair<QString, QRectF>> links(const QTextDocument& document)
{
    QList<std::pair<QString, QRectF>> out;
    for (int i = 0; i < document.characterCount() - 1;) {
        const auto link = TranscriptionLinks::followLink(document, i);
        if (!link) {
            ++i;
            continue;
        }
        out.append({ document.toPlainText().mid(link->position, link->length), link->rectangle });
        i = link->position + link->length;
    }
    return out;
}

using TranscriptionLinksTest = PicturesFixture;
}

TEST_F(TranscriptionLinksTest, ALinkOnTheLastWordIsFollowedByAPlainBlank)
{
    QTextDocument document;
    document.setPlainText("Born at Kew");
    QTextCursor bold(&document);
    bold.setPosition(8);
    bold.setPosition(9, QTextCursor::KeepAnchor);
    QTextCharFormat heavy;
    heavy.setFontWeight(QFont::Bold);
    bold.mergeCharFormat(heavy);

    QTextCharFormat typing;
    ASSERT_EQ(TranscriptionLinks::createLink(document, 8, 3, QRectF(10, 20, 30.5, 40), &typing), Refusal::None);
    EXPECT_EQ(document.toPlainText(), "Born at Kew ");
    for (int i = 8; i < 11; ++i) {
        const QTextCharFormat f = formatAt(document, i);
        EXPECT_TRUE(f.isAnchor());
        EXPECT_EQ(f.anchorHref(), "{{10, 20}, {30.5, 40}}");
        EXPECT_EQ(f.foreground().color(), QColor(Qt::blue));
        EXPECT_TRUE(f.fontUnderline());
        // The first linked character's own attributes are the whole link's.
        EXPECT_EQ(f.fontWeight(), QFont::Bold) << i;
    }
    EXPECT_TRUE(isPlain(formatAt(document, 11)));
    EXPECT_TRUE(isPlain(typing));
    EXPECT_EQ(typing.fontWeight(), QFont::Bold);

    // Typing on after the blank writes plain text.
    QTextCursor after(&document);
    after.setPosition(12);
    after.insertText("in 1802");
    EXPECT_EQ(document.toPlainText(), "Born at Kew in 1802");
    EXPECT_TRUE(isPlain(formatAt(document, 13)));
    ASSERT_EQ(links(document).size(), 1);
    EXPECT_EQ(links(document).first().first, "Kew");
}

TEST_F(TranscriptionLinksTest, RemovingALinkDropsAllTheRangesAttributes)
{
    QTextDocument document;
    document.setPlainText("Mary Brown, widow");
    QTextCursor cursor(&document);
    cursor.setPosition(0);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    QTextCharFormat styled;
    styled.setFontItalic(true);
    styled.setFontFamilies({ "Liberation Serif" });
    cursor.mergeCharFormat(styled);
    ASSERT_EQ(TranscriptionLinks::createLink(document, 0, 10, QRectF(1, 2, 3, 4)), Refusal::None);

    QTextCharFormat typing;
    ASSERT_EQ(TranscriptionLinks::removeLink(document, 0, 10, &typing), Refusal::None);
    for (int i : { 0, 9 }) {
        const QTextCharFormat f = formatAt(document, i);
        EXPECT_TRUE(isPlain(f)) << i;
        EXPECT_FALSE(f.fontItalic());
        EXPECT_FALSE(f.hasProperty(QTextFormat::FontFamilies));
    }
    EXPECT_TRUE(isPlain(typing));
    EXPECT_TRUE(links(document).isEmpty());
}

TEST_F(TranscriptionLinksTest, TwoLinksSurviveTheStoredTranscriptionAndAReopening)
{
    {
        auto moc = newDatabase();
        auto* source = moc->insertObject<FTSource>();
        FTPicture* picture = FTPicture::initInMoc(moc.get(), image("in/register.png", 400, 300), source);
        QTextDocument document;
        document.setPlainText("Baptism of John, son of William Hall.\nWitness: Ann Hall");
        ASSERT_EQ(TranscriptionLinks::createLink(document, 11, 4, QRectF(12, 30, 80, 20)), Refusal::None);
        const int ann = document.toPlainText().indexOf("Ann Hall");
        ASSERT_EQ(TranscriptionLinks::createLink(document, ann, 8, QRectF(200.25, 250, 90, 18)), Refusal::None);
        picture->setTranscription(document.toHtml());
        ASSERT_TRUE(moc->saveMoc());
    }
    auto moc = reopen(pathFor("Family.RezUdu"));
    ASSERT_TRUE(moc);
    const QList<FTPicture*> pictures = moc->fetch<FTPicture>();
    ASSERT_EQ(pictures.size(), 1);
    QTextDocument reopened;
    reopened.setHtml(pictures.first()->transcription());
    const auto found = links(reopened);
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0].first, "John");
    EXPECT_EQ(found[0].second, QRectF(12, 30, 80, 20));
    EXPECT_EQ(found[1].first, "Ann Hall");
    EXPECT_EQ(found[1].second, QRectF(200.25, 250, 90, 18));
    EXPECT_EQ(pictures.first()->transcriptionString(), "Baptism of John , son of William Hall.\nWitness: Ann Hall ");
}

TEST_F(TranscriptionLinksTest, FollowingALinkGivesItsRectangleAndWholeRange)
{
    QTextDocument document;
    document.setPlainText("Buried at St Mary's churchyard");
    ASSERT_EQ(TranscriptionLinks::createLink(document, 10, 9, QRectF(5, 6, 70, 8)), Refusal::None);
    // A bold word inside the link splits its run; the link still goes as a whole.
    QTextCursor cursor(&document);
    cursor.setPosition(13);
    cursor.setPosition(15, QTextCursor::KeepAnchor);
    QTextCharFormat heavy;
    heavy.setFontWeight(QFont::Bold);
    cursor.mergeCharFormat(heavy);

    for (int index : { 10, 14, 18 }) {
        const auto link = TranscriptionLinks::followLink(document, index);
        ASSERT_TRUE(link) << index;
        EXPECT_EQ(link->rectangle, QRectF(5, 6, 70, 8));
        EXPECT_EQ(link->position, 10);
        EXPECT_EQ(link->length, 9);
    }
    for (int index : { 0, 9, 19, 30, 31, 500, -1 })
        EXPECT_FALSE(TranscriptionLinks::followLink(document, index)) << index;

    // A link that names no rectangle is no link to follow.
    QTextDocument web;
    web.setHtml("<p>See <a href=\"https://example.org/register\">the register</a></p>");
    EXPECT_FALSE(TranscriptionLinks::followLink(web, 5));
}

TEST_F(TranscriptionLinksTest, RectanglesAreReadOnlyFromTheirOwnText)
{
    const std::pair<const char*, std::optional<QRectF>> cases[] = {
        { "{{10, 20}, {30, 40}}", QRectF(10, 20, 30, 40) },
        { " { {1.5,-2} ,{3e2, .5} } ", QRectF(1.5, -2, 300, 0.5) },
        { "{{0, 0}, {0, 0}}", QRectF() },
        { "https://example.org", std::nullopt },
        { "{{1, 2}, {3}}", std::nullopt },
        { "{{1, 2}, {3, 4}} and more", std::nullopt },
        { "{{a, b}, {c, d}}", std::nullopt },
        { "", std::nullopt },
    };
    for (const auto& [text, rectangle] : cases)
        EXPECT_EQ(TranscriptionLinks::rectangleOfLink(text), rectangle) << text;
}

TEST_F(TranscriptionLinksTest, TheLinkCommandsRefuseWithoutTextOrRectangle)
{
    struct Case {
        const char* what;
        bool create;
        int position, length;
        QRectF rectangle;
        const char* message;
    };
    const Case cases[] = {
        { "link without selected text", true, 3, 0, QRectF(1, 1, 20, 20), "CreateLinkTxt2" },
        { "link without a rectangle", true, 0, 4, QRectF(), "CreateLinkTxt3" },
        { "link to a line", true, 0, 4, QRectF(1, 1, 20, 0), "CreateLinkTxt3" },
        { "unlink without a selection", false, 2, 0, QRectF(), "CreateLinkTxt1" },
    };
    for (const Case& c : cases) {
        QTextDocument document;
        document.setPlainText("Will of John Hall");
        const QString before = document.toHtml();
        const Refusal refusal = c.create ? TranscriptionLinks::createLink(document, c.position, c.length, c.rectangle)
                                         : TranscriptionLinks::removeLink(document, c.position, c.length);
        EXPECT_EQ(TranscriptionLinks::messageKey(refusal), c.message) << c.what;
        EXPECT_EQ(document.toHtml(), before) << c.what;
    }
}
