#include "publishing/HtmlEscape.h"

#include <QSet>
#include <QUrl>

#include <gtest/gtest.h>

namespace {
struct Case {
    const char* value;
    const char* text;
    const char* attribute;
};

TEST(HtmlEscape, TextAndAttributeEscapeWhatWouldBecomeMarkup)
{
    const Case cases[] = {
        {"O'Brien", "O'Brien", "O&#39;Brien"},
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;",
         "&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"Smith & Jones", "Smith &amp; Jones", "Smith &amp; Jones"},
        {"&amp;", "&amp;amp;", "&amp;amp;"},
        {"say \"hi\"", "say \"hi\"", "say &quot;hi&quot;"},
        {"Zoë -- Ann", "Zoë -- Ann", "Zoë -- Ann"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HtmlEscape::text(QString::fromUtf8(c.value)), QString::fromUtf8(c.text)) << c.value;
        EXPECT_EQ(HtmlEscape::attribute(QString::fromUtf8(c.value)), QString::fromUtf8(c.attribute)) << c.value;
    }
    EXPECT_TRUE(HtmlEscape::text(QString()).isNull());
}

TEST(HtmlEscape, CommentsNeverHoldTwoHyphensInARow)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a--b", "a- -b"},
        {"--> <script>", " - -> <script>"},
        {"----", " - - - - "},
        {"a-b", "a-b"},
        {">x", " >x"},
        {"<!-", "<!- "},
    };
    for (const auto& [value, expected] : cases) {
        const QString out = HtmlEscape::comment(value);
        EXPECT_EQ(out, expected) << value;
        EXPECT_FALSE(("<!--" + out + "-->").mid(4).chopped(3).contains("--")) << value;
    }
}

TEST(HtmlEscape, AnchorsAreSafeAndTellDistinctNamesApart)
{
    EXPECT_EQ(HtmlEscape::anchor("Smith"), "Smith");
    EXPECT_EQ(HtmlEscape::anchor("O'Brien"), "O_0027Brien");
    EXPECT_EQ(HtmlEscape::anchor(QString::fromUtf8("Müller-Lüdenscheidt")), "M_00FCller-L_00FCdenscheidt");
    EXPECT_EQ(HtmlEscape::anchor(""), "_");
    // Names that a looser encoding would merge.
    const QStringList names = {"Smith & Jones", "Smith_Jones", "Smith Jones", "Smith_0026Jones", "smith jones",
                               "<b>", "_", ""};
    QSet<QString> anchors;
    for (const QString& name : names) {
        const QString a = HtmlEscape::anchor(name);
        anchors.insert(a);
        for (const QChar c : a)
            EXPECT_TRUE((c.isLetterOrNumber() && c.unicode() < 128) || c == '_' || c == '-') << qPrintable(a);
    }
    EXPECT_EQ(anchors.size(), names.size());
}

TEST(HtmlEscape, OnlyHttpAndHttpsLinksAreWritten)
{
    const std::pair<const char*, const char*> cases[] = {
        {"https://maps.example.org/?q=Leeds&ll=53.8,-1.5", "https://maps.example.org/?q=Leeds&amp;ll=53.8,-1.5"},
        {"HTTP://example.org/a'b", "http://example.org/a&#39;b"},
        {"http://example.org/<x>", "http://example.org/%3Cx%3E"},
        {"javascript:alert(1)", ""},
        {"JavaScript://example.org/%0Aalert(1)", ""},
        {"data:text/html,<script>alert(1)</script>", ""},
        {"file:///etc/passwd", ""},
        {"//example.org/x", ""},
        {"maps/leeds.html", ""},
        {"http://", ""},
        {"", ""},
    };
    for (const auto& [url, expected] : cases)
        EXPECT_EQ(HtmlEscape::httpLink(QString::fromUtf8(url)), QString::fromUtf8(expected)) << url;
    EXPECT_EQ(HtmlEscape::httpLink(QUrl()), "");
}

TEST(HtmlEscape, MultilineTextEscapesFirstThenMarksEveryLineBreak)
{
    const std::pair<const char*, const char*> cases[] = {
        {"first\r\nsecond\n", "first\n<br/>second"},
        {"  a\rb\xE2\x80\xA8" "c\xE2\x80\xA9" "d  ", "a\n<br/>b\n<br/>c\n<br/>d"},
        {"x\n\ny", "x\n<br/>\n<br/>y"},
        {"<br/> & <script>", "&lt;br/&gt; &amp; &lt;script&gt;"},
        {"\n\n", ""},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(HtmlEscape::multiline(QString::fromUtf8(value)), QString::fromUtf8(expected)) << value;
    EXPECT_TRUE(HtmlEscape::multiline(QString()).isNull());
}
} // namespace
