#include "gedcom/AnselTable.h"
#include "gedcom/GedRec.h"
#include "gedcom/GedcomFileReader.h"
#include "gedcom/GedcomForest.h"
#include "gedcom/GedcomReadObserver.h"
#include "gedcom/GedcomTextDecoder.h"

#include "QtPrinters.h"
#include "TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

using Enc = GedcomTextDecoder;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Bytes of a literal that may hold zero bytes.
template <size_t N>
QByteArray B(const char (&s)[N])
{
    return QByteArray(s, qsizetype(N - 1));
}

} // namespace

TEST(GedcomTextDecoder, Utf8ReplacesEachBadSequenceAndNeverStoresNul)
{
    struct {
        QByteArray bytes;
        const char* text;
        QStringList messages;
    } cases[] = {
        {"ok \xC3\xA9", "ok é", {}},
        {"\xEF\xBB\xBF" "bom", "bom", {}},
        // Truncated at the very end of the data: nothing is read past it.
        {"end \xC3", "end \xEF\xBF\xBD", {"UTF-8 encoding error in line 1, 1 char = C3"}},
        {"end \xE2\x82", "end \xEF\xBF\xBD", {"UTF-8 encoding error in line 1, 2 chars = E2 82"}},
        {"end \xF0\x9F\x98", "end \xEF\xBF\xBD", {"UTF-8 encoding error in line 1, 3 chars = F0 9F 98"}},
        // A bad continuation: the byte that breaks the sequence is read afresh.
        {"a\n\xC3(b", "a\n\xEF\xBF\xBD(b", {"UTF-8 encoding error in line 2, 1 char = C3"}},
        {"\xE2\x82(", "\xEF\xBF\xBD(", {"UTF-8 encoding error in line 1, 2 chars = E2 82"}},
        {B("nul\0x"), "nul\xEF\xBF\xBDx", {"UTF-8 encoding error in line 1, 1 char = 0"}},
        {"\x80\xBF", "\xEF\xBF\xBD\xEF\xBF\xBD",
         {"UTF-8 encoding error in line 1, 1 char = 80", "UTF-8 encoding error in line 1, 1 char = BF"}},
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD",  // overlong "/"
         {"UTF-8 encoding error in line 1, 1 char = C0", "UTF-8 encoding error in line 1, 1 char = AF"}},
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",  // a surrogate written in UTF-8
         {"UTF-8 encoding error in line 1, 1 char = ED", "UTF-8 encoding error in line 1, 1 char = A0",
          "UTF-8 encoding error in line 1, 1 char = 80"}},
        {"\xF0\x9F\x98\x80!", "\xF0\x9F\x98\x80!", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        QStringList messages;
        const QString text = Enc::decodeUtf8(c.bytes, &messages);
        EXPECT_EQ(text, QString::fromUtf8(c.text));
        EXPECT_FALSE(text.contains(QChar(0)));
        EXPECT_EQ(messages, c.messages);
    }
}

// Plain ASCII is copied many bytes at a time: a character that is not plain ASCII must be found at any place in
// such a run, and the line of an error counted over the runs before it.
TEST(GedcomTextDecoder, Utf8AmongLongAsciiRuns)
{
    const struct {
        QByteArray bytes;
        QString text;
        bool bad;
    } odd[] = {{"\xC3\xA9", u("é"), false}, {B("\0"), u("\xEF\xBF\xBD"), true}, {"\xFF", u("\xEF\xBF\xBD"), true}};
    for (const auto& o : odd) {
        for (int at = 0; at < 40; ++at) {
            SCOPED_TRACE(o.bytes.toHex().toStdString() + " at " + std::to_string(at));
            // Lines of 7 bytes before and a long line after: the odd character lies in line at / 7 + 1.
            QByteArray before;
            for (int i = 0; i < at; ++i)
                before += (i % 7 == 6) ? '\n' : char('a' + i % 26);
            const QByteArray after(37, 'z');
            QStringList messages;
            EXPECT_EQ(Enc::decodeUtf8(before + o.bytes + after, &messages),
                      QString::fromLatin1(before) + o.text + QString::fromLatin1(after));
            if (o.bad)
                EXPECT_EQ(messages, QStringList(QStringLiteral("UTF-8 encoding error in line %1, 1 char = %2")
                                                    .arg(at / 7 + 1)
                                                    .arg(o.bytes.toHex().toUpper().replace("00", "0"))));
            else
                EXPECT_TRUE(messages.isEmpty());
        }
    }

    QStringList messages;
    Enc::decodeUtf8(QByteArray(20, 'a') + "\n\xFF" + QByteArray(20, 'b') + "\n\n" + QByteArray(20, 'c') + "\xFE", &messages);
    EXPECT_EQ(messages, QStringList({"UTF-8 encoding error in line 2, 1 char = FF", "UTF-8 encoding error in line 4, 1 char = FE"}));

    // Lines are read a block at a time: an error far into a large file names its line in the user's file.
    QByteArray ged = "0 HEAD\n1 CHAR UTF-8\n0 @M1@ OBJE\n1 BLOB\n2 CONT xx\n";
    for (int i = 0; i < 20000; ++i)
        ged += "0 @N" + QByteArray::number(i) + "@ NOTE " + (i == 15000 ? "bad \xC3 byte" : "plain text") + "\n";
    ged += "0 TRLR\n";
    GedcomFileReader reader;
    ASSERT_TRUE(reader.readData(ged));
    EXPECT_EQ(reader.errorMessages(), QStringList("UTF-8 encoding error in line 15006, 1 char = C3"));
    EXPECT_EQ(reader.forest().record(u"N15000")->value(), u("bad \xEF\xBF\xBD byte"));
}

TEST(GedcomTextDecoder, TruncatedCharacterAtTheEndOfAFile)
{
    // The file's last name ends in half a character and no line end; the message names the line of
    // the user's file, though the BLOB lines before it are gone from the cleaned copy.
    GedcomFileReader utf8;
    ASSERT_TRUE(utf8.readData("0 HEAD\n1 CHAR UTF-8\n0 @M1@ OBJE\n1 BLOB\n2 CONT xx\n2 CONT yy\n"
                              "0 @I1@ INDI\n1 NAME Jos\xC3"));
    EXPECT_EQ(utf8.forest().record("I1")->firstSubRecord("NAME")->value(), u("Jos\xEF\xBF\xBD"));
    EXPECT_EQ(utf8.errorMessages(), QStringList("UTF-8 encoding error in line 8, 1 char = C3"));

    GedcomFileReader utf16;
    ASSERT_TRUE(utf16.loadLinesArray(B("\xFF\xFE" "0\0 \0H\0E\0A\0D\0\n\0" "0\0 \0N\0O\0T\0E\0 \0x\0\xE9")));
    EXPECT_EQ(utf16.lines(), QStringList({"0 HEAD", u("0 NOTE x\xEF\xBF\xBD")}));
    utf16.createGedRecs();
    EXPECT_EQ(utf16.errorMessages(), QStringList("UTF-16 encoding error in line 2: incomplete last character"));

    GedcomFileReader ansel;
    ASSERT_TRUE(ansel.readData("0 HEAD\n1 CHAR ANSEL\n0 @N1@ NOTE Jos\xE2"));
    EXPECT_EQ(ansel.forest().record("N1")->value(), "Jos");
}

TEST(GedcomTextDecoder, Utf16SurrogatesAndZeroCharacters)
{
    const QByteArray be = B("\xD8\x3D\xDE\x00" "\xD8\x3D" "a\0\0\0\xDC\x00");
    QStringList messages;
    EXPECT_EQ(Enc::decodeUtf16(be + "A", true, &messages).size(), 7);  // the odd last byte is one more U+FFFD
    EXPECT_EQ(messages.last(), "UTF-16 encoding error in line 1: incomplete last character");
    messages.clear();
    const QString text = Enc::decodeUtf16(be, true, &messages);
    EXPECT_EQ(text, u("\xF0\x9F\x98\x80\xEF\xBF\xBD\xE6\x84\x80\xEF\xBF\xBD\xEF\xBF\xBD"));
    EXPECT_EQ(messages.size(), 3);
}

TEST(GedcomTextDecoder, CodePagesAgainstTheirTables)
{
    // Bytes 80-FF of each code page, as iconv reads them (CP1252's five unassigned bytes as U+FFFD).
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high += char(b);
    const QString cp1252 = Enc::decodeCp1252(high);
    EXPECT_EQ(cp1252.left(8), u("€\xEF\xBF\xBD‚ƒ„…†‡"));
    EXPECT_EQ(cp1252.mid(0x1D, 3), u("\xEF\xBF\xBDžŸ"));
    EXPECT_EQ(cp1252.mid(0x20), QString::fromLatin1(high.mid(0x20)));
    const QString macRoman = Enc::decodeMacRoman(high);
    EXPECT_EQ(macRoman.left(8), u("ÄÅÇÉÑÖÜá"));
    EXPECT_EQ(macRoman.mid(0x5B, 1), u("€"));
    EXPECT_EQ(macRoman.mid(0x70, 16), u("\xEF\xA3\xBFÒÚÛÙıˆ˜¯˘˙˚¸˝˛ˇ"));
    EXPECT_TRUE(Enc::decodeAscii("caf\xE9").isNull());
    EXPECT_EQ(Enc::decodeCp1252(B("a\0b")), u("a\xEF\xBF\xBD" "b"));
}

TEST(GedcomTextDecoder, AsciiFileWithHighBytesFallsBackToTheGenericDecoder)
{
    struct Observer : GedcomReadObserver {
        QStringList alerts;
        void showMessage(const QString& t) override { alerts.append(t); }
    } observer;
    GedcomFileReader reader(&observer);
    ASSERT_TRUE(reader.readData("0 HEAD\n1 CHAR ASCII\n0 @N1@ NOTE caf\xE9\n0 TRLR\n", "cafe.ged"));
    EXPECT_EQ(reader.forest().record("N1")->value(), u("café"));
    ASSERT_EQ(observer.alerts.size(), 1);
    EXPECT_TRUE(observer.alerts[0].startsWith("Unable to read the data in file: \n\ncafe.ged\n\nusing the ASCII decoder."));
}

TEST(AnselTable, DecodesLikeAnIndependentMarc8Converter)
{
    // oracle.ged was written by yaz-iconv from text using every ANSEL character and mark;
    // oracle-expected.txt is yaz-iconv's own reading of those bytes, composed.
    const AnselTable& table = AnselTable::shared();
    ASSERT_FALSE(table.isEmpty()) << AnselTable::sharedTablePath().toStdString();
    const QByteArray bytes = readBytes(TestSupport::dataFile("ansel/oracle.ged"));
    const QStringList expected = QString::fromUtf8(readBytes(TestSupport::dataFile("ansel/oracle-expected.txt"))).split(u'\n');
    QStringList messages;
    const QStringList decoded = table.decode(bytes, false, &messages).split(u'\n');
    ASSERT_EQ(decoded.size(), expected.size());
    for (qsizetype i = 0; i < decoded.size(); ++i)
        EXPECT_EQ(decoded[i], expected[i]) << "line " << i + 1;
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

    // The same file through the whole reader.
    GedcomFileReader reader;
    ASSERT_TRUE(reader.loadLinesArray(bytes));
    EXPECT_EQ(reader.gedFileEncoding(), Enc::ANSEL);
    EXPECT_EQ(reader.lines(), expected.mid(0, expected.size() - 1));
    reader.createGedRecs();
    EXPECT_EQ(reader.forest().record("N1")->value(), expected[3].mid(12));
    EXPECT_TRUE(reader.errorMessages().isEmpty()) << reader.errorMessages().join('\n').toStdString();
}

TEST(AnselTable, MarksComeAfterTheirLetterAndNoLetterIsLost)
{
    const AnselTable& table = AnselTable::shared();
    struct {
        QByteArray bytes;
        const char* text;
        int messages;
    } cases[] = {
        {"Jos\xE2" "e", "José", 0},
        {"\xE2\xE8" "a", "á\xCC\x88", 0},                  // two marks, one precomposed step
        {"\xE3\xF2" "e", "ệ", 0},                          // composed whichever order they come in
        {"\xE4q", "q\xCC\x83", 0},                         // no precomposed form: letter, then mark
        {"\xE2\xA2", "Ǿ", 0},                              // a mark on a special letter
        {"\xEB" "t\xEC" "s", "t\xEF\xB8\xA0s\xEF\xB8\xA1", 0},  // ligature halves
        {"\xFA" "n\xFB" "g", "n\xEF\xB8\xA2g\xEF\xB8\xA3", 0},  // double tilde halves
        {"\xBE\xBF\xCD\xCE\xCF", "□■eoß", 0},              // additions of GEDCOM
        {"\xFC" "o", "o\xCC\xB8", 0},
        {"x\x88the \x89y", "xthe y", 0},                   // non-sorting markers stand for nothing
        {"\xE2\n1 CONT", "\n1 CONT", 0},                   // a mark before a line end goes, the line stays
        {"a\xE2", "a", 0},                                 // a mark at the end of the data
        {"\xAF!", "\xEF\xBF\xBD!", 1},                     // unknown byte
        {"\xFD" "a", "a\xEF\xBF\xBD", 1},                  // unknown mark: the letter stays
        {"\xE2\xAF", "\xEF\xBF\xBD\xCC\x81", 1},           // a mark on an unknown byte
        {B("a\0b"), "a\xEF\xBF\xBD" "b", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        QStringList messages;
        EXPECT_EQ(table.decode(c.bytes, false, &messages), u(c.text));
        EXPECT_EQ(messages.size(), c.messages) << messages.join('\n').toStdString();
    }
    QStringList messages;
    table.decode("ok\n\xAF", false, &messages);
    EXPECT_EQ(messages, QStringList("ANSEL character AF in line 2 is unknown and was read as U+FFFD."));
}

TEST(AnselTable, TableFormatAndTheQuirkOfOneProgram)
{
    const AnselTable table = AnselTable::parse("# comment line\n"
                                               "  A1=141   # leading blanks and a comment\n"
                                               "B2=F8\nB5=E6\nC5=BF\n"
                                               "E2=301\n"
                                               "E2+65=1EB9  # a pair of its own wins over composing\n"
                                               "C8=20AC=1\n"     // three fields: skipped
                                               "ZZ=41\n"         // not hexadecimal: skipped
                                               "41=42\n"         // the ASCII half is fixed
                                               "88=0\n");
    EXPECT_EQ(table.size(), 7);
    EXPECT_EQ(table.codePoint(0xA1), 0x141);
    EXPECT_EQ(table.codePoint(0xC8), -1);
    EXPECT_EQ(table.codePoint(0x88), 0);
    EXPECT_EQ(table.codePoint('A'), 'A');
    EXPECT_EQ(table.decode("\xE2" "e\xE2" "a"), u("ẹá"));
    EXPECT_EQ(table.decode("\xC5\xB2"), u("¿ø"));
    EXPECT_EQ(table.decode("\xC5\xB2", true), u("øæ"));

    EXPECT_TRUE(AnselTable::load(TestSupport::tempRoot() + "/missing.con").isEmpty());
    // Every line of the shipped table is used.
    const QByteArray shipped = readBytes(AnselTable::sharedTablePath());
    int entries = 0;
    for (const QByteArray& line : shipped.split('\n'))
        entries += !line.trimmed().isEmpty() && !line.trimmed().startsWith('#');
    EXPECT_EQ(AnselTable::shared().size(), entries);
}
