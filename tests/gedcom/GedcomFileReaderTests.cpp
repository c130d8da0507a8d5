#include "gedcom/GedRec.h"
#include "gedcom/GedcomFileReader.h"
#include "gedcom/GedcomForest.h"
#include "gedcom/GedcomHeaderInfo.h"
#include "gedcom/GedcomReadObserver.h"
#include "gedcom/GedcomTextDecoder.h"

#include "QtPrinters.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using Enc = GedcomTextDecoder;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

struct RecordingObserver : GedcomReadObserver {
    QStringList alerts;
    QStringList statuses;
    void showMessage(const QString& text) override { alerts.append(text); }
    void setDialogMessage(const QString& text) override { statuses.append(text); }
};

// Rewrites every LF of a fixture (in units of 1 or 2 bytes) as the given line end.
QByteArray withLineEnds(const QByteArray& bytes, int unit, bool bigEndian, const QByteArray& ending)
{
    QByteArray out;
    for (qsizetype i = 0; i + unit <= bytes.size(); i += unit) {
        const QByteArray u = bytes.mid(i, unit);
        const bool lf = unit == 1 ? u[0] == '\n' : (bigEndian ? (u[0] == 0 && u[1] == '\n') : (u[0] == '\n' && u[1] == 0));
        if (!lf) {
            out += u;
            continue;
        }
        for (char c : ending) {
            if (unit == 1)
                out += c;
            else if (bigEndian)
                out += QByteArray(1, '\0') + c;
            else
                out += QByteArray(1, c) + '\0';
        }
    }
    return out;
}

QStringList masterLines()
{
    QStringList lines = QString::fromUtf8(readBytes(TestSupport::dataFile("charsets/family-utf8.ged"))).split(u'\n');
    lines.removeLast();  // after the last line end
    return lines;
}

QString asciiOnly(QString s)
{
    s.replace(u'ß', QStringLiteral("ss")).replace(u'ø', u'o').replace(u'£', QStringLiteral("GBP "));
    QString out;
    for (QChar c : s.normalized(QString::NormalizationForm_D))
        if (!c.isMark())
            out += c;
    return out;
}

// A file from its lines, LF line ends.
QByteArray ged(std::initializer_list<const char*> lines)
{
    QByteArray b;
    for (const char* l : lines)
        b += QByteArray(l) + '\n';
    return b;
}

} // namespace

TEST(GedcomFileReader, SameFamilyFromEveryCharacterSetAndLineEnd)
{
    struct Fixture {
        const char* file;
        const char* charLine;
        unsigned encoding;
        int unit;
        bool bigEndian;
        bool ascii;
    } fixtures[] = {
        {"family-utf8.ged", "UTF-8", Enc::UTF8, 1, false, false},
        {"family-utf8-bom.ged", "UTF-8", Enc::UTF8, 1, false, false},
        {"family-ansel.ged", "ANSEL", Enc::ANSEL, 1, false, false},
        {"family-ascii.ged", "ASCII", Enc::ASCII, 1, false, true},
        {"family-cp1252.ged", "ANSI", Enc::CP1252, 1, false, false},
        {"family-macroman.ged", "MACINTOSH", Enc::MacRoman, 1, false, false},
        {"family-utf16le-bom.ged", "UNICODE", Enc::Unicode, 2, false, false},
        {"family-utf16be-bom.ged", "UNICODE", Enc::Unicode, 2, true, false},
        {"family-utf16le.ged", "UNICODE", Enc::UTF16LE, 2, false, false},
        {"family-utf16be.ged", "UNICODE", Enc::UTF16BE, 2, true, false},
    };
    const QByteArray endings[] = {"\n", "\r", "\r\n"};
    for (const Fixture& f : fixtures) {
        QStringList expected = masterLines();
        expected.replaceInStrings(QStringLiteral("1 CHAR UTF-8"), QStringLiteral("1 CHAR ") + f.charLine);
        if (f.ascii)
            for (QString& l : expected)
                l = asciiOnly(l);
        const QByteArray lf = readBytes(TestSupport::dataFile(QStringLiteral("charsets/") + f.file));
        for (const QByteArray& ending : endings) {
            SCOPED_TRACE(std::string(f.file) + " with line end " + ending.toHex().toStdString());
            RecordingObserver observer;
            GedcomFileReader reader(&observer);
            ASSERT_TRUE(reader.loadLinesArray(withLineEnds(lf, f.unit, f.bigEndian, ending), f.file));
            EXPECT_EQ(reader.gedFileEncoding(), f.encoding);
            EXPECT_EQ(reader.lines(), expected);
            reader.createGedRecs();
            EXPECT_EQ(reader.lineCount(), 0);  // the records hold the text now
            EXPECT_TRUE(reader.errorMessages().isEmpty()) << reader.errorMessages().join('\n').toStdString();
            EXPECT_TRUE(observer.alerts.isEmpty());

            // The forest: six records, the names decoded, continuation lines kept as lines with their blanks.
            GedcomForest& forest = reader.forest();
            ASSERT_EQ(forest.size(), 6);
            EXPECT_EQ(forest.keyOf(forest.records().front()), "_HEAD_");
            EXPECT_EQ(forest.keyOf(forest.records().back()), "_TRLR_");
            GedRec* jose = forest.record("I1");
            ASSERT_NE(jose, nullptr);
            const QString name = jose->firstSubRecord("NAME")->value();
            EXPECT_EQ(name, f.ascii ? QStringLiteral("Jose /Muller/") : QStringLiteral("José /Müller/"));
            GedRec* note = jose->firstSubRecord("NOTE");
            ASSERT_EQ(note->subRecords().size(), 2);
            EXPECT_TRUE(note->value().endsWith(QStringLiteral("was ")));
            EXPECT_EQ(note->subRecords()[0]->type(), "CONC");
            EXPECT_TRUE(note->subRecords()[0]->value().startsWith(QStringLiteral(" a baker")));
            EXPECT_EQ(note->subRecords()[1]->value(), "  Second paragraph, kept as written.  ");
            EXPECT_EQ(note->subRecords()[1]->lineNo(), 18);
            EXPECT_EQ(forest.record("I3")->firstSubRecord("NOTE")->value().left(24), "Mail: soren@example.com,");
            EXPECT_EQ(forest.record("F1")->wifePtr(), "I2");
            EXPECT_EQ(reader.headerInfo().characterSet, f.charLine);
        }
    }
}

// Blank lines carry nothing, before the header as anywhere else: a file that begins with them is read as if they
// were not there, whatever its character set and line ends.
TEST(GedcomFileReader, BlankLinesBeforeTheHeaderAreSkipped)
{
    struct {
        const char* file;
        int unit;
        bool bigEndian;
        int bomBytes;
    } fixtures[] = {
        {"family-utf8.ged", 1, false, 0},          {"family-utf8-bom.ged", 1, false, 3},
        {"family-ansel.ged", 1, false, 0},         {"family-utf16le-bom.ged", 2, false, 2},
        {"family-utf16be.ged", 2, true, 0},
    };
    for (const auto& f : fixtures) {
        for (const QByteArray ending : {QByteArray("\n"), QByteArray("\r\n"), QByteArray("\r")}) {
            SCOPED_TRACE(std::string(f.file) + " with line end " + ending.toHex().toStdString());
            const QByteArray lf = readBytes(TestSupport::dataFile(QStringLiteral("charsets/") + f.file));
            // An empty line and a line of blanks and a tab between the byte-order mark and the header.
            QByteArray blanks = "\n \t \n";
            if (f.unit == 2) {
                QByteArray wide;
                for (char c : blanks)
                    wide += f.bigEndian ? QByteArray(1, '\0') + c : QByteArray(1, c) + '\0';
                blanks = wide;
            }
            const QByteArray bytes = lf.left(f.bomBytes) + blanks + lf.mid(f.bomBytes);
            RecordingObserver observer;
            GedcomFileReader reader(&observer);
            ASSERT_TRUE(reader.loadLinesArray(withLineEnds(bytes, f.unit, f.bigEndian, ending), f.file))
                << observer.alerts.join('\n').toStdString();
            reader.createGedRecs();
            EXPECT_TRUE(observer.alerts.isEmpty());
            ASSERT_EQ(reader.forest().size(), 6);
            EXPECT_EQ(reader.forest().keyOf(reader.forest().records().front()), "_HEAD_");
            ASSERT_NE(reader.forest().record("I1"), nullptr);
            EXPECT_EQ(reader.forest().record("I1")->firstSubRecord("NAME")->value(), QStringLiteral("José /Müller/"));
        }
    }
}

TEST(GedcomFileReader, CharacterSetFromTheHeader)
{
    struct {
        const char* charLine;  // nullptr: no CHAR line
        unsigned expected;
    } cases[] = {
        {"1 CHAR ANSEL", Enc::ANSEL},       {"1 CHAR ansel", Enc::ANSEL},
        {"1 CHAR ANSEL ", Enc::CP1252},     {"1  CHAR  ANSEL", Enc::ANSEL},
        {"1 CHAR ASCII", Enc::ASCII},       {"1 CHAR IBM WINDOWS", Enc::CP1252},
        {"1 CHAR IBMPC", Enc::CP1252},      {"1 CHAR ANSI", Enc::CP1252},
        {"1 CHAR utf-8", Enc::UTF8},        {"1 CHAR MACINTOSH", Enc::MacRoman},
        {"1 CHAR UNICODE", Enc::CP1252},    {"1 CHAR KLINGON", Enc::CP1252},
        {nullptr, Enc::CP1252},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.charLine ? c.charLine : "(none)");
        QByteArray bytes = "0 HEAD\r\n1 SOUR X\r\n";
        if (c.charLine)
            bytes += QByteArray(c.charLine) + "\r\n";
        bytes += "0 TRLR\r\n";
        QStringList alerts;
        EXPECT_EQ(GedcomFileReader::getEncoding(bytes, nullptr, &alerts), c.expected);
        EXPECT_EQ(alerts.size(), c.charLine && QByteArray(c.charLine).endsWith("UNICODE") ? 1 : 0);
    }
    EXPECT_EQ(GedcomFileReader::getEncoding("0"), Enc::Undetermined);
    EXPECT_EQ(GedcomFileReader::getEncoding("1 HEAD\n"), Enc::Undetermined);
    EXPECT_EQ(GedcomFileReader::getEncoding("\xEF\xBB\xBF" "0 HEAD\n1 CHAR ANSEL\n"), Enc::UTF8);
    EXPECT_EQ(GedcomFileReader::getEncoding("\xFF\xFE" "0\0"), Enc::Unicode);

    // An undetermined character set is read as UTF-8 after telling the user; a file that is not
    // GEDCOM at all then fails with the first-line message.
    RecordingObserver observer;
    GedcomFileReader reader(&observer);
    EXPECT_FALSE(reader.readData("Dear Sir,\nthis is a letter.\n"));
    ASSERT_EQ(observer.alerts.size(), 2);
    EXPECT_TRUE(observer.alerts[0].startsWith("Unable to determine the character encoding"));
    EXPECT_TRUE(observer.alerts[1].startsWith("Wrong format in the first line of the Gedcom file."));
    EXPECT_EQ(reader.lineCount(), 0);

    RecordingObserver emptyObserver;
    GedcomFileReader empty(&emptyObserver);
    EXPECT_FALSE(empty.readData(""));
    EXPECT_EQ(emptyObserver.alerts.last(), "Unable to determine the correct character encoding in the Gedcom file");

    RecordingObserver missingObserver;
    GedcomFileReader missing(&missingObserver);
    EXPECT_FALSE(missing.readFile(TestSupport::tempRoot() + "/no-such-file.ged"));
    EXPECT_TRUE(missingObserver.alerts.value(0).startsWith("Unable to open gedcom file:"));
}

TEST(GedcomFileReader, LineGrammar)
{
    GedcomFileReader reader;
    ASSERT_TRUE(reader.readData(ged({
        "0 HEAD",
        "1 CHAR UTF-8",
        "0 @I1@ INDI",
        "   1 NAME John /Smith/",      // leading blanks
        "1   SEX M",                   // three blanks after the level
        "3 DATE too deep",             // level jumps by two
        "4 PLAC under it",             // and its sub-line with it
        "1 NOTE  two blanks before",   // the value keeps one of them
        "2 CONC a@@b",
        "",                            // empty line
        "x",                           // one character: nothing at all
        "1 @X1@",                      // identifier but no tag
        "ABC no level",
        "-1 NAME negative",
        "1 EVEN",
        "2 TYPE Census",
        "0 TRLR",
    })));
    const QStringList& m = reader.errorMessages();
    EXPECT_EQ(m, QStringList({
                     "Record ignored because of inconsistent levels in Gedcom file at line 6. The record was: 3 DATE too deep",
                     "Record ignored because of inconsistent levels in Gedcom file at line 7. The record was: 4 PLAC under it",
                     "Empty line in Gedcom file at line 10 was ignored.",
                     "Bad record format at line 12. The record was: 1 @X1@",
                     "Record ignored because of inconsistent levels in Gedcom file at line 13. The record was: ABC no level",
                     "Record ignored because of inconsistent levels in Gedcom file at line 14. The record was: -1 NAME negative",
                 }));
    GedRec* indi = reader.forest().record("I1");
    ASSERT_NE(indi, nullptr);
    ASSERT_EQ(indi->subRecords().size(), 4);
    EXPECT_EQ(indi->subRecords()[0]->value(), "John /Smith/");
    EXPECT_EQ(indi->subRecords()[0]->lineNo(), 4);
    EXPECT_EQ(indi->subRecords()[1]->type(), "SEX");
    EXPECT_EQ(indi->subRecords()[1]->value(), "M");
    GedRec* note = indi->subRecords()[2];
    EXPECT_EQ(note->value(), " two blanks before");
    EXPECT_EQ(note->subRecords().value(0)->value(), "a@b");
    EXPECT_EQ(indi->subRecords()[3]->firstSubRecord("TYPE")->value(), "Census");
    EXPECT_EQ(reader.numLines(), 17);
    EXPECT_EQ(reader.numGedRecs(), 10);
}

TEST(GedcomFileReader, NestingIsCappedAndDeeperLinesAreLogged)
{
    QByteArray bytes = "0 HEAD\n0 @N1@ NOTE deep\n";
    for (int level = 1; level <= 150; ++level)
        bytes += QByteArray::number(level) + " CONT line " + QByteArray::number(level) + "\n";
    bytes += "1 CONT back at the top\n0 TRLR\n";
    GedcomFileReader reader;
    ASSERT_TRUE(reader.readData(bytes));
    GedRec* note = reader.forest().record("N1");
    ASSERT_NE(note, nullptr);
    int deepest = 0, lines = 0;
    note->forEachLine([&](GedRec* r) {
        deepest = std::max(deepest, r->level());
        ++lines;
    });
    EXPECT_EQ(deepest, 99);
    EXPECT_EQ(lines, 1 + 99 + 1);
    EXPECT_EQ(note->subRecords().size(), 2);
    EXPECT_EQ(note->subRecords().back()->value(), "back at the top");
    ASSERT_EQ(reader.errorMessages().size(), 51);
    EXPECT_TRUE(reader.errorMessages()[0].startsWith("Record ignored because it is nested deeper than 99 levels"));
    EXPECT_TRUE(reader.errorMessages()[0].contains("at line 102."));
    EXPECT_TRUE(reader.errorMessages()[50].contains("line 152."));
    EXPECT_NE(reader.forest().record("_TRLR_"), nullptr);
}

TEST(GedcomFileReader, DuplicateIdentifiersKeepBothRecords)
{
    GedcomFileReader reader;
    ASSERT_TRUE(reader.readData(ged({
        "0 HEAD",
        "0 @I1@ INDI",
        "1 NAME First /One/",
        "0 @I1@ INDI",
        "1 NAME Second /One/",
        "0 NOTE unnamed",
        "0 @UNK_1@ NOTE named like an unnamed record",
        "0 @I1@ INDI",
        "0 TRLR",
    })));
    GedcomForest& forest = reader.forest();
    ASSERT_EQ(forest.size(), 7);
    EXPECT_EQ(forest.record("I1")->lineNo(), 2);
    ASSERT_NE(forest.record("I1 #2"), nullptr);
    EXPECT_EQ(forest.record("I1 #2")->firstSubRecord("NAME")->value(), "Second /One/");
    EXPECT_EQ(forest.record("I1 #3")->lineNo(), 8);
    // The real identifier wins its key; the unnamed record moves to another.
    EXPECT_EQ(forest.record("UNK_1")->lineNo(), 7);
    EXPECT_EQ(forest.keyOf(forest.records()[3]), "UNK_2");
    EXPECT_EQ(reader.errorMessages(),
              QStringList({"Duplicate identifier @I1@ at line 4, first used at line 2: both records were kept, the "
                           "later one under the key \"I1 #2\".",
                           "Duplicate identifier @I1@ at line 8, first used at line 2: both records were kept, the "
                           "later one under the key \"I1 #3\"."}));
}

TEST(GedcomFileReader, TrailerEndsTheFileAndItsAbsenceDoesNot)
{
    GedcomFileReader reader;
    ASSERT_TRUE(reader.readData(ged({"0 HEAD", "0 TRLR", "0 @I1@ INDI", "1 NAME Lost", "\x1A"})));
    EXPECT_EQ(reader.forest().size(), 2);
    EXPECT_EQ(reader.errorMessages(), QStringList("2 lines after the trailer record at line 2 were not read."));

    // No trailer, and no line end after the last line: every line is read.
    GedcomFileReader open;
    ASSERT_TRUE(open.readData("0 HEAD\n0 @I1@ INDI\n1 NAME Last /Line/"));
    EXPECT_EQ(open.forest().size(), 2);
    EXPECT_EQ(open.forest().record("I1")->firstSubRecord("NAME")->value(), "Last /Line/");
    EXPECT_TRUE(open.errorMessages().isEmpty());
}

TEST(GedcomFileReader, LineEndsAndStrayCarriageReturns)
{
    // A CR inside an LF file disappears; a CR file may still hold CR LF pairs.
    GedcomFileReader lf;
    ASSERT_TRUE(lf.readData("0 HEAD\n0 @N1@ NOTE a\rb\n0 TRLR\n"));
    EXPECT_EQ(lf.forest().record("N1")->value(), "ab");

    GedcomFileReader cr;
    ASSERT_TRUE(cr.loadLinesArray("0 HEAD\r0 @N1@ NOTE a\r\n1 CONT b\n1 CONT c\r0 TRLR\r"));
    EXPECT_EQ(cr.lines(), QStringList({"0 HEAD", "0 @N1@ NOTE a", "1 CONT b", "1 CONT c", "0 TRLR"}));
    EXPECT_EQ(cr.lineNumber(3), 4);
    cr.createGedRecs();
    EXPECT_TRUE(cr.errorMessages().isEmpty());
}

TEST(GedcomFileReader, OverLongLinesAreReadWhole)
{
    const QByteArray longValue(200000, 'x');
    GedcomFileReader reader;
    ASSERT_TRUE(reader.readData("0 HEAD\n0 @N1@ NOTE " + longValue + "\n1 CONT end\n0 TRLR\n"));
    EXPECT_EQ(reader.forest().record("N1")->value().size(), longValue.size());
    EXPECT_EQ(reader.forest().record("N1")->subRecords().size(), 1);
}

TEST(GedcomFileReader, BlobDataIsLeftOutAndCounted)
{
    // 8-bit files lose the BLOB stretch while cleaning; line numbers still point into the user's file.
    const QByteArray file = ged({
        "0 HEAD",
        "0 @M1@ OBJE",
        "1 FORM bmp",
        "1 BLOB",
        "2 CONT .HM.......k.1..F.jwA.Dzzzzw............A....1.........0U.66..E.8",
        "2 CONT .HM.......k.1..F.jwA.Dzzzzw............A....1.........0U.66..E.8",
        "0 @I1@ INDI",
        "1 NAME After /Blob/",
        "0 TRLR",
    });
    GedcomFileReader bytes;
    ASSERT_TRUE(bytes.readData(file));
    GedRec* obje = bytes.forest().record("M1");
    ASSERT_EQ(obje->subRecords().size(), 1);
    EXPECT_EQ(bytes.forest().record("I1")->firstSubRecord("NAME")->lineNo(), 8);
    EXPECT_EQ(bytes.blobRecordsIgnored(), 3);

    // UTF-16 is not cleaned: the BLOB line stays a record, its sub-lines are dropped by the parser.
    QByteArray utf16 = "\xFF\xFE";
    for (char c : file)
        utf16 += QByteArray(1, c) + '\0';
    GedcomFileReader wide;
    ASSERT_TRUE(wide.readData(utf16));
    obje = wide.forest().record("M1");
    ASSERT_EQ(obje->subRecords().size(), 2);
    EXPECT_EQ(obje->subRecords()[1]->type(), "BLOB");
    EXPECT_FALSE(obje->subRecords()[1]->hasSubRecords());
    EXPECT_EQ(wide.blobRecordsIgnored(), 2);
    EXPECT_EQ(wide.forest().record("I1")->firstSubRecord("NAME")->value(), "After /Blob/");
    EXPECT_TRUE(wide.errorMessages().isEmpty());
}

// The cleaned copy takes a new name of its own, create-only, and goes with the reader: the file being read may
// lie in the temp folder itself, under the name the copy was once given.
TEST(GedcomFileReader, TheCleanedCopyNeverReplacesAFileAndGoesWithTheReader)
{
    QTemporaryDir dir(TestSupport::tempRoot() + "/clean-XXXXXX");
    const QString temp = dir.path() + "/data/temp";
    QDir().mkpath(temp);
    const QByteArray original = "0 HEAD\r\n   1 CHAR ANSI\r\n0 @M1@ OBJE\r\n1 BLOB\r\n2 CONT xx\r\n0 TRLR\r\n";
    const QString gedPath = temp + "/Smith.ged";
    {
        QFile f(gedPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(original);
    }
    QString copy;
    {
        GedcomFileReader reader;
        reader.setTempFolder(temp);
        ASSERT_TRUE(reader.readFile(gedPath));
        copy = reader.cleanedCopyPath();
        EXPECT_NE(copy, gedPath);
        EXPECT_EQ(QFileInfo(copy).absolutePath(), temp);
        EXPECT_TRUE(QFileInfo(copy).fileName().startsWith("Smith-")) << qPrintable(copy);
        EXPECT_EQ(readBytes(copy), QByteArray("0 HEAD\n1 CHAR ANSI\n0 @M1@ OBJE\n0 TRLR\n"));
        EXPECT_EQ(reader.fileSize(), original.size());
    }
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_EQ(readBytes(gedPath), original);
    EXPECT_EQ(QDir(temp).entryList(QDir::Files), QStringList{"Smith.ged"});
}

TEST(GedcomFileReader, ReunionCitationsUnderNoteLinesMoveUp)
{
    const QByteArray body = "0 @I1@ INDI\n1 NOTE text\n2 CONT more\n3 SOUR @S1@\n4 PAGE 12\n0 TRLR\n";
    GedcomFileReader reunion;
    ASSERT_TRUE(reunion.readData("0 HEAD\n1 SOUR Reunion\n" + body));
    EXPECT_TRUE(reunion.headerInfo().bReunion);
    GedRec* note = reunion.forest().record("I1")->firstSubRecord("NOTE");
    ASSERT_EQ(note->subRecords().size(), 2);
    GedRec* sour = note->subRecords()[1];
    EXPECT_EQ(sour->type(), "SOUR");
    EXPECT_EQ(sour->level(), 2);
    ASSERT_EQ(sour->subRecords().size(), 1);
    EXPECT_EQ(sour->subRecords()[0]->path(), "INDI.NOTE.SOUR.PAGE");

    GedcomFileReader other;
    ASSERT_TRUE(other.readData("0 HEAD\n1 SOUR Other\n" + body));
    note = other.forest().record("I1")->firstSubRecord("NOTE");
    ASSERT_EQ(note->subRecords().size(), 1);
    EXPECT_EQ(note->subRecords()[0]->subRecords().value(0)->type(), "SOUR");
}

TEST(GedcomFileReader, Royal92ReadsWhole)
{
    GedcomFileReader reader;
    ASSERT_TRUE(reader.readFile(TestSupport::dataFile("royal92.ged")));
    EXPECT_EQ(reader.gedFileEncoding(), Enc::ANSEL);
    EXPECT_EQ(reader.numLines(), 30682);
    EXPECT_EQ(reader.numGedRecs(), 30682);
    EXPECT_TRUE(reader.errorMessages().isEmpty()) << reader.errorMessages().join('\n').toStdString();
    int people = 0, families = 0;
    for (GedRec* r : reader.forest().records()) {
        people += r->type() == QLatin1String("INDI");
        families += r->type() == QLatin1String("FAM");
    }
    EXPECT_EQ(people, 3010);
    EXPECT_EQ(families, 1422);
    EXPECT_EQ(reader.headerInfo().sourceApplication, "PAF 2.2");
    EXPECT_EQ(reader.headerInfo().creationDate, "20 NOV 1992");
    GedRec* first = reader.forest().record("I1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->numericId(), 1);
    // Every FAMS pointer of a person finds its family.
    int pointers = 0;
    for (GedRec* r : reader.forest().records())
        for (GedRec* sub : r->subRecords())
            if (sub->type() == QLatin1String("FAMS")) {
                ++pointers;
                ASSERT_NE(reader.forest().record(sub->fwdPtr()), nullptr) << sub->fwdPtr().toStdString();
            }
    EXPECT_GT(pointers, 1000);
}
