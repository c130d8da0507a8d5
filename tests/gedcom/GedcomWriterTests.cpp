#include "gedcom/GedcomDate.h"
#include "gedcom/GedcomWriter.h"
#include "platform/UserDefaults.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>

namespace {

using Piece = GedcomWriter::TextPiece;

QString repeated(QChar c, int n) { return QString(n, c); }

// Every line of a written file ends in CR LF, and no CR or LF stands anywhere else.
void expectCrLfLines(const QByteArray& bytes)
{
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    for (int i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at byte " << i;
        }
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at byte " << i;
        }
    }
}

struct BufferWriter {
    QBuffer buffer;
    GedcomWriter writer;
    explicit BufferWriter(const GedcomExportOptions& o = {}) : writer(o)
    {
        buffer.open(QIODevice::WriteOnly);
        writer.writeTo(&buffer);
    }
    QByteArray bytes()
    {
        EXPECT_TRUE(writer.finish());
        return buffer.data();
    }
};

const QDateTime kNow(QDate(2024, 1, 5), QTime(9, 7, 3));

TEST(GedcomTextSplitting, PiecesFollowTheLineRules)
{
    // Blanks only early in the text: pieces of exactly 150, 150 and 100.
    const QString early = "a b " + repeated('x', 396);
    const auto p1 = GedcomWriter::splitText(early);
    ASSERT_EQ(p1.size(), 3);
    EXPECT_EQ(p1[0].value.size(), 150);
    EXPECT_EQ(p1[1].value.size(), 150);
    EXPECT_EQ(p1[2].value.size(), 100);
    EXPECT_EQ(p1[0].tag, "CONC");
    EXPECT_EQ(p1[1].tag, "CONC");

    // A blank at position 100 ends the first piece and stays with it.
    const QString blank100 = repeated('y', 100) + ' ' + repeated('z', 99);
    EXPECT_EQ(GedcomWriter::splitText(blank100),
              (QList<Piece>{{"CONC", repeated('y', 100) + ' '}, {"CONC", repeated('z', 99)}}));

    // Line ends of every kind start CONT lines; an empty line is an empty CONT.
    EXPECT_EQ(GedcomWriter::splitText("a\r\n\r\nb"), (QList<Piece>{{"CONC", "a"}, {"CONT", ""}, {"CONT", "b"}}));
    EXPECT_EQ(GedcomWriter::splitText(QString("a\rb\nc") + QChar(0x2028) + "d"),
              (QList<Piece>{{"CONC", "a"}, {"CONT", "b"}, {"CONT", "c"}, {"CONT", "d"}}));
    // The second line's overflow continues as CONC.
    const auto p2 = GedcomWriter::splitText("first\n" + repeated('q', 160));
    EXPECT_EQ(p2, (QList<Piece>{{"CONC", "first"}, {"CONT", repeated('q', 150)}, {"CONC", repeated('q', 10)}}));

    // Tabs at the ends go, blanks stay; no-break spaces and daggers stay as they are.
    EXPECT_EQ(GedcomWriter::splitText(QString("\t a") + QChar(0x00A0) + "b \u2020 \t"),
              (QList<Piece>{{"CONC", QString(" a") + QChar(0x00A0) + "b \u2020 "}}));
    EXPECT_TRUE(GedcomWriter::splitText("").isEmpty());
}

TEST(GedcomTextSplitting, NeverCutsACharacter)
{
    const QString clef = QString::fromUtf8("\U0001D11E");       // outside the basic plane: two UTF-16 units
    const QString eAcute = QString::fromUtf8("e\u0301");        // a letter and its combining accent
    const QString emoji = QString::fromUtf8("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    const QStringList texts{
        repeated('x', 149) + clef + repeated('x', 10),
        repeated('x', 149) + eAcute + repeated('x', 10),
        repeated('x', 145) + emoji + repeated('x', 10),
        [&] { QString s; for (int i = 0; i < 200; ++i) s += clef; return s; }(),
    };
    for (const QString& text : texts) {
        const auto pieces = GedcomWriter::splitText(text);
        QString joined;
        for (const Piece& p : pieces) {
            EXPECT_LE(p.value.size(), 150);
            ASSERT_FALSE(p.value.isEmpty());
            EXPECT_FALSE(p.value.back().isHighSurrogate());
            EXPECT_FALSE(p.value.front().isLowSurrogate());
            EXPECT_NE(p.value.front(), QChar(0x0301));
            EXPECT_NE(p.value.front(), QChar(0x200D));
            joined += p.value;
        }
        EXPECT_EQ(joined, text);
        EXPECT_GE(pieces.size(), 2);
    }
    EXPECT_EQ(GedcomWriter::splitText(texts[0]).first().value.size(), 149);
    EXPECT_EQ(GedcomWriter::splitText(texts[1]).first().value.size(), 149);
}

// A long one-line value (a web address as a page reference, a place) is written whole, its pieces cut between two
// characters that are not blanks, so that a reader that trims values loses nothing.
TEST(GedcomTextSplitting, LongValuesAreCutBetweenTwoCharactersThatAreNotBlanks)
{
    const QString clef = QString::fromUtf8("\U0001D11E");
    const struct {
        const char* what;
        QString value;
        QStringList pieces;
    } cases[] = {
        {"short enough", repeated('a', 246), {repeated('a', 246)}},
        {"no blanks", repeated('u', 300), {repeated('u', 246), repeated('u', 54)}},
        {"blank at the cut", repeated('a', 245) + " " + repeated('b', 20),
         {repeated('a', 244), "a " + repeated('b', 20)}},
        {"blanks before the cut", repeated('a', 240) + repeated(' ', 10) + repeated('b', 20),
         {repeated('a', 239), "a" + repeated(' ', 10) + repeated('b', 20)}},
        {"nothing but blanks near the cut", "a" + repeated(' ', 300), {"a" + repeated(' ', 245), repeated(' ', 55)}},
        {"a character of two units at the cut", repeated('a', 245) + clef + "b", {repeated('a', 245), clef + "b"}},
    };
    for (const auto& c : cases) {
        const QStringList pieces = GedcomWriter::splitValue(c.value, 246);
        EXPECT_EQ(pieces, c.pieces) << c.what;
        EXPECT_EQ(pieces.join(QString()), c.value) << c.what;
    }

    BufferWriter out;
    out.writer.writeLongValue(2, "PAGE", repeated('p', 250) + "\nq");
    EXPECT_EQ(out.bytes(), "\xEF\xBB\xBF" "2 PAGE " + QByteArray(246, 'p') + "\r\n3 CONC pppp q\r\n");
}

TEST(GedcomLines, AtSignsAreDoubledAndOnlyPointersPoint)
{
    EXPECT_EQ(GedcomWriter::formatLine(1, {}, "NOTE", "@I1@", false, false), "1 NOTE @@I1@@");
    EXPECT_EQ(GedcomWriter::formatLine(1, {}, "EMAIL", "ann@@example.com", false, false), "1 EMAIL ann@@@@example.com");
    EXPECT_EQ(GedcomWriter::formatLine(1, {}, "FAMS", "@F3@", true, false), "1 FAMS @F3@");
    EXPECT_EQ(GedcomWriter::formatLine(0, "I12", "INDI", {}, false, false), "0 @I12@ INDI");
    EXPECT_EQ(GedcomWriter::formatLine(2, {}, "CONT", {}, false, false), "2 CONT");
    EXPECT_EQ(GedcomWriter::formatLine(2, {}, "DATE", "1900", false, true), "      2 DATE 1900");
    EXPECT_EQ(GedcomWriter::formatLine(1, {}, "PLAC", "Leeds\r\nYorkshire\nEngland", false, false),
              "1 PLAC Leeds Yorkshire England");
}

TEST(GedcomLines, SmallValueRules)
{
    EXPECT_EQ(GedcomWriter::gedcomSex("M"), "M");
    EXPECT_EQ(GedcomWriter::gedcomSex("f"), "F");
    EXPECT_EQ(GedcomWriter::gedcomSex(""), "U");
    EXPECT_EQ(GedcomWriter::gedcomSex("?"), "U");

    EXPECT_EQ(GedcomWriter::individualXref(12), "I12");
    EXPECT_EQ(GedcomWriter::familyXref(3), "F3");
    EXPECT_EQ(GedcomWriter::multimediaXref(7), "M7");
    EXPECT_EQ(GedcomWriter::sourceXref(5), "S5");

    EXPECT_EQ(GedcomWriter::ldsDataFor(QString("12 High St\nSpringfield")), "12 High St, Springfield");
    EXPECT_EQ(GedcomWriter::ldsDataFor(QString("12 High St,\r\nSpringfield")), "12 High St, Springfield");
    EXPECT_EQ(GedcomWriter::ldsDataFor(QVariant(3)), "");
    EXPECT_EQ(GedcomWriter::ldsDataFor(QVariant()), "");
    EXPECT_EQ(GedcomWriter::ldsDataFor(QString("  ")), "");
}

TEST(GedcomHeader, HeaderAndSubmissionRecords)
{
    GedcomExportOptions o;
    o.depersonalizeLivingPeople = true;
    o.depersonalizeOption = 1;
    o.submissionData = {
        {"LdsSubmitterName", "Ann Lee @ Home"},
        {"LdsSubmitterAddress", "12 High St\nSpringfield\r\nIllinois"},
        {"LdsSubmitterPhone", 5551234},   // not text: left out
        {"LdsSubmitterLanguage", "English"},
        {"LdsSubmitterRegisteredRFN", ""},
        {"LdsSubmissionFamilyFile", "lee.ged"},
        {"LdsSubmissionTemple", "SLAKE"},
        {"LdsSubmissionGenerationsOfAncestors", "3"},
        {"LdsSubmissionGenerationsOfDescendants", "2"},
        {"LdsSubmissionOrdinanceProcessFlag", "yes"},
        {"LdsSubmissionRecordId", "42"},
    };
    BufferWriter w(o);
    w.writer.writeHeaderRecords({"Lee @ Family", "Lee.GED", "1.0", kNow});
    w.writer.writeTrailer();
    const QByteArray bytes = w.bytes();
    expectCrLfLines(bytes);
    TestSupport::expectGolden(bytes, "gedcom-export-header.ged");
}

TEST(GedcomHeader, FreshInstallationWithIndentation)
{
    GedcomExportOptions o;
    o.includeRecentlyDead = false;
    o.includeLivingPeople = false;
    o.recentlyDeadYears = 30;
    o.indentGedcomLines = true;
    o.depersonalizeOption = 7;
    BufferWriter w(o);
    w.writer.writeHeaderRecords({"Empty", "Empty.GED", "1.0", kNow});
    w.writer.writeTrailer();
    const QByteArray bytes = w.bytes();
    expectCrLfLines(bytes);
    TestSupport::expectGolden(bytes, "gedcom-export-minimal.ged");
}

TEST(GedcomRecords, TextsSplitAndEscaped)
{
    BufferWriter w;
    GedcomWriter& g = w.writer;
    const QString person = GedcomWriter::individualXref(1);
    g.writeLine(0, "INDI", {}, person);
    g.writeLine(1, "NAME", "John\nSmith /Smith/");
    g.writeLine(1, "SEX", GedcomWriter::gedcomSex("M"));
    g.writePointerLine(1, "NOTE", "IN1");
    g.writeLine(1, "TITL", "@Lord@ of the manor");
    g.writeLine(1, "BIRT");
    g.writeLine(2, "DATE", GedcomDate::gedcomDate(1, 5, 1, 1900));
    g.writePointerLine(1, "FAMS", "@" + GedcomWriter::familyXref(3) + "@");

    QString note = "a b " + repeated('x', 396) + "\r\n";                 // 150, 150, 100
    note += repeated('y', 100) + ' ' + repeated('z', 99) + "\r\n\r\n";     // cut after the blank, then an empty line
    note += repeated('w', 149) + QString::fromUtf8("\U0001D11E") + "rest\n";  // the pair moves to the next piece
    note += "mail ann@example.com, or @@ twice";
    g.writeNoteRecord("IN1", "  " + note + "\n\n");
    g.writeNoteRecord("EN2", " \n ");
    g.writeText(0, "_CMTS", "Comments\tand more\nSecond line", "IC1");

    g.writeLine(0, "SOUR", {}, GedcomWriter::sourceXref(5));
    g.writeShortText(1, "AUTH", "Parish clerk\nof Leeds");
    g.writeShortText(1, "TITL", repeated('t', 150));
    g.writeShortText(1, "PUBL", repeated('p', 201));
    g.writeShortText(1, "ABBR", "");
    g.writeTrailer();

    const QByteArray bytes = w.bytes();
    expectCrLfLines(bytes);
    TestSupport::expectGolden(bytes, "gedcom-export-text.ged");
}

TEST(GedcomOutputFile, NeverReplacesAFile)
{
    const QString folder = TestSupport::tempRoot() + "/never-replace";
    ASSERT_TRUE(QDir().mkpath(folder));
    auto make = [&](const QString& name) {
        QFile f(folder + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("older export");
    };
    make("Lee.GED");

    GedcomWriter taken;
    QString error;
    EXPECT_FALSE(taken.create(folder + "/Lee.GED", &error));
    EXPECT_EQ(error, "Unable to create the file for the Gedcom output");

    // With the name and the numbers 1 to 1000 all taken, the next number is used.
    for (int n = 1; n <= 1000; ++n)
        make(QStringLiteral("Lee_%1.GED").arg(n));
    EXPECT_EQ(GedcomWriter::uniquePath(folder, "Lee", "GED"), folder + "/Lee_1001.GED");
    GedcomWriter writer;
    const QString path = writer.createUnique(folder, "Lee", "GED", &error);
    EXPECT_EQ(path, folder + "/Lee_1001.GED");
    writer.writeHeaderRecords({"Lee", {}, "1.0", kNow});
    writer.writeTrailer();
    ASSERT_TRUE(writer.finish(&error)) << error.toStdString();

    QFile older(folder + "/Lee_1000.GED");
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), "older export");
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    expectCrLfLines(bytes);
    EXPECT_TRUE(bytes.contains("\r\n1 FILE Lee_1001.GED\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n0 TRLR\r\n"));

    GedcomWriter nowhere;
    EXPECT_EQ(nowhere.createUnique(folder + "/missing-folder", "Lee", "GED", &error), "");
    EXPECT_EQ(error, "Unable to create the file for the Gedcom output");
}

TEST(GedcomOutputFile, AFailedWriteIsReported)
{
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    GedcomWriter writer;
    writer.writeTo(&readOnly);
    writer.writeTrailer();
    QString error;
    EXPECT_FALSE(writer.finish(&error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(GedcomExportOptions, ReadFromTheUserDefaults)
{
    TestSupport::useFreshDefaults();
    GedcomExportOptions fresh = GedcomExportOptions::fromUserDefaults();
    EXPECT_TRUE(fresh.includeLivingPeople);
    EXPECT_TRUE(fresh.includeRecentlyDead);
    EXPECT_EQ(fresh.recentlyDeadYears, 50);
    EXPECT_FALSE(fresh.indentGedcomLines);
    EXPECT_TRUE(fresh.submissionData.isEmpty());

    UserDefaults& d = UserDefaults::standard();
    d.setBool("geIncludeRecentlyDead", false);
    d.setBool("geIncludeLivingPeople", true);
    d.setInteger("geRecentlyDeadYears", 20);
    d.setBool("geIndentGedcomLines", true);
    d.setString("LdsSubmitterName", "Ann Lee");
    const GedcomExportOptions set = GedcomExportOptions::fromUserDefaults();
    EXPECT_FALSE(set.includeLivingPeople);   // held back with the recently dead
    EXPECT_EQ(set.recentlyDeadYears, 20);
    EXPECT_TRUE(set.indentGedcomLines);
    EXPECT_EQ(set.submissionData.value("LdsSubmitterName").toString(), "Ann Lee");

    GedcomExportOptions::restoreUserDefaults();
    EXPECT_EQ(d.integerForKey("geRecentlyDeadYears"), 50);
    EXPECT_FALSE(d.boolForKey("geIndentGedcomLines"));
    EXPECT_TRUE(d.boolForKey("geIncludeRecentlyDead"));

    GedcomExportOptions::ensureSubmissionKeys();
    EXPECT_EQ(d.stringForKey("LdsSubmitterName"), "Ann Lee");
    EXPECT_TRUE(d.contains("LdsSubmissionRecordId"));
    EXPECT_EQ(d.stringForKey("LdsSubmissionRecordId"), "");
}

} // namespace
