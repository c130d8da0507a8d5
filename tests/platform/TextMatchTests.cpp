#include "platform/store/TextMatch.h"

#include <gtest/gtest.h>

TEST(TextMatch, CaseAndDiacriticInsensitiveOperators)
{
    using namespace TextMatch;
    struct Case {
        const char* op;
        QVariant text;
        const char* pattern;
        bool expected;
        int options = CaseAndDiacriticInsensitive;
    };
    const Case cases[] = {
        { "equals", "Zoë", "ZOE", true },
        { "equals", "Zoë", "ZOE", false, CaseInsensitive },
        { "equals", "Ørsted", "orsted", true },
        { "equals", "Straße", "STRASSE", false },
        { "equals", "Anne", "Anna", false },
        { "contains", "John (Jo) Smith", "(jo", true },
        { "contains", "Bjorn Asmith", " sm", false },
        { "contains", "Müller-Lüdenscheidt", "LUDEN", true },
        { "contains", "Muller", "ü", true },
        { "beginsWith", "Émile Zola", "emi", true },
        { "beginsWith", "Émile Zola", "Zola", false },
        { "endsWith", "Émile Zola", "ZOLA", true },
        { "like", "Smith, John", "smith*", true },
        { "like", "Smith, John", "*JOHN", true },
        { "like", "Smith", "Sm?th", true },
        { "like", "Smyth", "Sm?th", true },
        { "like", "Smith", "Sm?", false },
        { "like", "Smith", "*", true },
        { "like", "", "*", true },
        { "like", "Smith", "", false },
        { "like", "aXbXc", "a*b*c", true },
        { "like", "aXbXd", "a*b*c", false },
        { "like", "Ångström", "ang*strom", true },
        // numbers meet text operators as their decimal text
        { "contains", 1901, "90", true },
        { "beginsWith", 1901, "19", true },
        { "equals", qlonglong(42), "42", true },
        { "like", 1850, "18?0", true },
        { "equals", 2.5, "2.5", true },
        { "equals", QVariant(), "", true },
    };
    for (const Case& c : cases) {
        const QString op = c.op;
        bool got = false;
        if (op == "equals")
            got = equals(c.text, c.pattern, c.options);
        else if (op == "contains")
            got = contains(c.text, c.pattern, c.options);
        else if (op == "beginsWith")
            got = beginsWith(c.text, c.pattern, c.options);
        else if (op == "endsWith")
            got = endsWith(c.text, c.pattern, c.options);
        else
            got = like(c.text, c.pattern, c.options);
        EXPECT_EQ(got, c.expected) << c.op << " '" << qPrintable(c.text.toString()) << "' '" << c.pattern << "'";
    }
}

// Texts of Latin letters fold through a table of characters: it must give what normalizing the whole text gives
// (a Greek letter at the end sends the same text the long way).
TEST(TextMatch, FoldsLatinTextsAsNormalizingThemDoes)
{
    QString latin;
    for (char16_t c = 0x20; c < 0x250; ++c)
        if (c < 0x7F || c >= 0xA0)
            latin += QChar(c);
    const QString omega = QString(QChar(0x3A9));
    EXPECT_EQ(TextMatch::fold(latin), TextMatch::fold(latin + omega).chopped(1));
    EXPECT_EQ(TextMatch::fold(QStringLiteral("Ĳsbrand Ødegård ½")), QStringLiteral("ijsbrand odegard 1⁄2"));

    for (const QString& text : { latin, latin + omega, QStringLiteral("Zoë \U0001F600 Ångström"), QString(),
             QStringLiteral("PLAIN ascii") }) {
        QByteArray utf8("kept");
        TextMatch::appendFolded(text, utf8);
        EXPECT_EQ(utf8, "kept" + TextMatch::fold(text).toUtf8()) << qPrintable(text);
    }
}

// The word starts a save writes from UTF-8 are those that searches and the rebuilding of a file take from the text.
TEST(TextMatch, WordStartsInUtf8AreTheWordStartsOfTheText)
{
    const QString emoji = QStringLiteral("\U0001F600");
    const QStringList texts = {
        QStringLiteral("emma ada brown"),
        QStringLiteral("anna anna maria anna"), // a start once
        QStringLiteral("mary (polly) o'neil_smythe"),
        QStringLiteral(" leading blank"),
        QStringLiteral("bartholomew featherstonehaugh-cholmondeley"), // cut after 16 characters
        QStringLiteral("ødegård åsa ßßßßßßßßßßßßßßßßßß"), // two bytes a character, cut after 16 of them
        QStringLiteral("a \u0001b"), // the mark inside the text starts no word
        QStringLiteral("aaaaaaaaaaaaaaa") + emoji + QStringLiteral("b c") + emoji, // a pair at the cut
        QStringLiteral("x"),
        QString(),
    };
    for (const QString& text : texts) {
        QByteArray buffer("before\x01");
        const qsizetype at = buffer.size();
        buffer += text.toUtf8();
        const qsizetype end = buffer.size();
        buffer += " after";
        std::vector<std::pair<qsizetype, qsizetype>> starts;
        TextMatch::wordStartsInUtf8(buffer, at, end, starts);
        QList<QByteArray> got, expected;
        for (const auto& [offset, size] : starts)
            got << buffer.mid(offset, size);
        for (const QString& start : TextMatch::wordStarts(text))
            expected << start.toUtf8();
        EXPECT_EQ(got, expected) << qPrintable(text);
    }
}
