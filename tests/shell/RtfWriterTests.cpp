#include "shell/RtfWriter.h"
#include "shell/Utils.h"

#include "platform/Localizer.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSizeF>
#include <QTextDocument>
#include <QUrl>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
std::string s(const QString& q) { return q.toStdString(); }

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class RtfFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::useFreshDefaults();
        tmp = std::make_unique<QTemporaryDir>(TestSupport::tempRoot() + "/rtf-XXXXXX");
        UserDefaults::standard().setString("KinloomDataDirectory", tmp->path());
        Prompts::install(&prompts);
    }
    void TearDown() override { Prompts::install(nullptr); }
    std::unique_ptr<QTemporaryDir> tmp;
    ScriptedPrompts prompts;
};

QString u(const char* utf8) { return QString::fromUtf8(utf8); }
}

TEST(RtfEscaping, UserTextCannotBreakOutOfItsParagraph)
{
    struct Case {
        QString text;
        const char* rtf;
    } cases[] = {
        {"plain text, 100% ASCII.", "plain text, 100% ASCII."},
        {"{braces}", " braces "},
        {"say \"hi\"", "say \\uc0\\u34 hi\\uc0\\u34 "},
        {u("Zo\xC3\xAB"), "Zo\\uc0\\u235 "},
        {u("caf\xC3\xA9 \xE2\x82\xAC"), "caf\\uc0\\u233  \\uc0\\u8364 "},
        {"C:\\new", "C:\\\\new"},
        {"note \\par \\b1 {\\rtf1}", "note \\\\par \\\\b1  \\\\rtf1 "},
        {u("\xE4\xB8\xAD"), "\\uc0\\u20013 "},                       // U+4E2D, below 32768
        {u("\xEF\xBF\xBD"), "\\uc0\\u-3 "},                          // U+FFFD: signed 16-bit
        {u("\xF0\x9F\x98\x80"), "\\uc0\\u-10179 \\uc0\\u-8704 "},     // U+1F600: a surrogate pair
        {u("\xC2\x80"), "\\uc0\\u128 "},
        {QString(QChar(127)), "\x7f"},
    };
    for (const Case& c : cases) {
        QString t = c.text;
        Utils::cleanTheRtfString(t);
        EXPECT_EQ(s(t), c.rtf) << s(c.text);
    }
}

TEST(RtfEscaping, LineBreaksBecomeParagraphs)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a\r\nb", "a \\par b"},
        {"a\rb\nc\n\nd", "a \\par b \\par c \\par  \\par d"},
        {"{x}", " x "},
        {"no breaks", "no breaks"},
    };
    for (const auto& [text, rtf] : cases) {
        QString t = text;
        RtfWriter::replaceLineFeedsInText(t);
        EXPECT_EQ(s(t), rtf) << text;
    }
    // Escaping comes first, so the paragraph breaks survive and a typed "\par" does not.
    EXPECT_EQ(s(RtfWriter::rtfText("C:\\par\r\n\"x\"", true)), "C:\\\\par \\par \\uc0\\u34 x\\uc0\\u34 ");
    EXPECT_EQ(s(RtfWriter::rtfText("a\nb", false)), "a\nb");
}

TEST_F(RtfFiles, GoldenHeaderAndShortReport)
{
    RtfWriter w;
    w.setFileType("rtf");
    w.setDate(QDate(2024, 3, 5));
    w.setColourTable(RtfWriter::standardColourTable(9));
    w.setStyles(RtfWriter::standardStyles({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 23, 24, 26}));
    ASSERT_TRUE(w.createOutputFileName(u("Royal92_Ancestors of Zo\xC3\xAB.rtf")));
    EXPECT_EQ(w.localFilename(), u("Royal92_Ancestors of Zo\xC3\xAB.rtf"));
    ASSERT_TRUE(w.openOutputFile());
    ASSERT_TRUE(w.printRTFHeader("A4"));
    w.write("{\\pard\\plain \\s1\\sb280\\sa100\\keepn \\b\\f2\\fs28\\lang1033 ");
    w.writeText(u("Zo\xC3\xAB \"Zed\" O'Brien {1900-1980}"));
    w.write("\\par}\r\n");
    w.write("{\\pard\\plain \\s23\\qj\\li400\\tx800 \\f0\\fs16\\cf2\\lang1033 Birth:\\tab ");
    w.writeText(u("5 Mar 1900, Dublin, \xC3\x89ire"));
    w.write("\\par}\r\n");
    w.write("{\\pard\\plain \\s2\\qj\\li400 \\f0\\fs20\\cf6\\lang1033 ");
    w.writeText(u("Notes: line one\r\nline two with \\par and {braces}\nEmoji \xF0\x9F\x98\x80, Chinese \xE4\xB8\xAD."));
    w.write("\\par}\r\n");
    w.write("{\\pard\\plain \\s0\\f0\\fs20\\lang1033 Report created " + w.dateText() + "\\par}\r\n");
    w.write("}");
    ASSERT_TRUE(w.closeOutputFile());

    const QByteArray written = readAll(w.rtfFilePath());
    EXPECT_TRUE(written.startsWith("{\\rtf1\\mac\\ansicpg10000 \\deff0 \r\n")) << "the header overwrites the mark";
    TestSupport::expectGolden(written, "rtf/short-report.rtf");
    EXPECT_EQ(w.dateText(), "5 March, 2024");
    EXPECT_EQ(w.savedMessage(), LocalizedString("ReportSavedToFile") + ": " + w.rtfFilePath());
}

TEST_F(RtfFiles, HeaderVariants)
{
    RtfWriter w;
    w.setFileType("rtf");
    w.setColourTable(RtfWriter::standardColourTable(8));
    w.setStyles({});
    w.setFooter(false);
    ASSERT_TRUE(w.createOutputFileName("Todo"));
    ASSERT_TRUE(w.openOutputFile());
    ASSERT_TRUE(w.printRTFHeader("US Letter"));
    w.write("}");
    w.closeOutputFile();
    const QByteArray rtf = readAll(w.rtfFilePath());
    EXPECT_TRUE(rtf.contains("{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;"
                             "\\red0\\green255\\blue0;\\red255\\green255\\blue0;\\red255\\green0\\blue0;"
                             "\\red255\\green0\\blue255;\\red0\\green128\\blue0;}\r\n"));
    EXPECT_TRUE(rtf.contains("}\r\n\\paperw12240\\paperh15840\r\n"));
    EXPECT_FALSE(rtf.contains("stylesheet"));
    EXPECT_FALSE(rtf.contains("{\\footer") || rtf.contains("s242"));
    EXPECT_TRUE(rtf.endsWith("\\endnhere\r\n}"));
    EXPECT_EQ(RtfWriter::standardStyles({0}, 14), QStringList{"{\\s0 \\f0\\fs28\\lang1033 \\snext0 Normal;}"});
}

TEST_F(RtfFiles, NamesRunOutAfterOneHundredAndNothingIsOverwritten)
{
    const QString reports = Utils::reportsDirectory();
    QFile(reports + "/List.rtf").open(QIODevice::WriteOnly);
    for (int n = 1; n <= 99; ++n)
        QFile(QStringLiteral("%1/List_%2.rtf").arg(reports).arg(n)).open(QIODevice::WriteOnly);
    RtfWriter w;
    w.setFileType("rtf");
    ASSERT_TRUE(w.createOutputFileName("List"));
    EXPECT_EQ(w.rtfFilePath(), reports + "/List_100.rtf");
    EXPECT_EQ(w.localFilename(), "List_100.rtf");

    // Someone else takes the name between choosing and creating: the report stops, the file is untouched.
    {
        QFile other(w.rtfFilePath());
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write("someone else's");
    }
    EXPECT_FALSE(w.openOutputFile());
    EXPECT_EQ(readAll(w.rtfFilePath()), "someone else's");
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("UnableToCreateReport") + ": " + w.rtfFilePath());

    RtfWriter again;
    again.setFileType("rtf");
    EXPECT_FALSE(again.createOutputFileName("List"));
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_TRUE(prompts.records[1].text.contains("already taken"));
    EXPECT_FALSE(again.openOutputFile());
}

TEST_F(RtfFiles, CsvThroughTheSameOpeningKeepsTheByteOrderMark)
{
    RtfWriter w;
    w.setFileType("csv");
    ASSERT_TRUE(w.createOutputFileName("People/Index"));
    EXPECT_EQ(w.localFilename(), "People|Index.csv");
    ASSERT_TRUE(w.openOutputFile());
    w.write("Name,Born\r\n");
    w.closeOutputFile();
    EXPECT_EQ(readAll(w.rtfFilePath()), "\xEF\xBB\xBFName,Born\r\n");
}

TEST_F(RtfFiles, PicturesInRtfdAndInlineInRtf)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);

    RtfWriter d;
    d.setFileType("rtfd");
    ASSERT_TRUE(d.createOutputFileName("Pictures"));
    EXPECT_TRUE(QFileInfo(d.wrapperPath()).isDir());
    EXPECT_EQ(d.rtfFilePath(), d.wrapperPath() + "/TXT.rtf");
    EXPECT_EQ(d.outputPath(), d.wrapperPath());
    ASSERT_TRUE(d.openOutputFile());
    ASSERT_TRUE(d.printRTFHeader("A4"));
    ASSERT_TRUE(d.writePicture(image, "Mary Ann/Smith", "12", QSizeF(80, 40)));
    const QString tiff = d.wrapperPath() + "/Mary_Ann|Smith_P12.tiff";
    ASSERT_TRUE(QFileInfo::exists(tiff));
    const qint64 size = QFileInfo(tiff).size();
    QImage other(10, 10, QImage::Format_RGB32);
    other.fill(Qt::red);
    ASSERT_TRUE(d.writePicture(other, "Mary Ann/Smith", "12", QSizeF(80, 40))) << "an existing picture is kept";
    EXPECT_EQ(QFileInfo(tiff).size(), size);
    d.write("}");
    d.closeOutputFile();
    const QByteArray text = readAll(d.rtfFilePath());
    EXPECT_TRUE(text.contains("{{\\NeXTGraphic Mary_Ann|Smith_P12.tiff \\width1600 \\height800 } \xC2\xAC}"));
    EXPECT_EQ(QImage(tiff).size(), QSize(40, 20));

    RtfWriter r;
    r.setFileType("rtf");
    ASSERT_TRUE(r.createOutputFileName("Pictures"));
    ASSERT_TRUE(r.openOutputFile());
    ASSERT_TRUE(r.writePicture(image, "Mary", "12", QSizeF(80, 40)));
    r.closeOutputFile();
    const QByteArray inlineRtf = readAll(r.rtfFilePath());
    const QByteArray head = "{\\*\\shppict {\\pict \\picw40 \\pich20 \\picwgoal1600 \\pichgoal800 \\jpegblip \\bin";
    const qsizetype at = inlineRtf.indexOf(head);
    ASSERT_GE(at, 0);
    const qsizetype blank = inlineRtf.indexOf(' ', at + head.size());
    const qsizetype count = inlineRtf.mid(at + head.size(), blank - at - head.size()).toLongLong();
    const QByteArray jpeg = inlineRtf.mid(blank + 1, count);
    EXPECT_TRUE(jpeg.startsWith("\xFF\xD8")) << "JPEG bytes follow the count";
    EXPECT_EQ(inlineRtf.mid(blank + 1 + count), "}} ");
    EXPECT_EQ(QImage::fromData(jpeg, "JPEG").size(), QSize(40, 20));
}

TEST(RichTextToRtf, FormattingTextAndPictures)
{
    QTextDocument doc;
    doc.setDefaultFont(QFont("Liberation Serif", 12));
    QImage picture(30, 15, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    doc.addResource(QTextDocument::ImageResource, QUrl("portrait"), picture);
    doc.setHtml(u("<p align=\"center\"><b>Story</b></p>"
                  "<p>Braces {kept} \\par typed, <i>italic</i> <u>under</u> "
                  "<span style=\"color:#ff0000\">red</span> <span style=\"background-color:#c8ffff\">marked</span> "
                  "Zo\xC3\xAB \xF0\x9F\x98\x80<img src=\"portrait\"/></p>"));
    const QString rtf = Utils::encodeRTFwithPictures(doc);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi")) << s(rtf);
    EXPECT_TRUE(rtf.endsWith("}"));
    EXPECT_TRUE(rtf.contains("{\\colortbl;\\red255\\green0\\blue0;\\red200\\green255\\blue255;}")) << s(rtf);
    EXPECT_TRUE(rtf.contains("\\pard\\qc\\sb240")) << s(rtf);
    EXPECT_TRUE(rtf.contains("\\b Story}"));
    EXPECT_TRUE(rtf.contains("Braces \\{kept\\} \\\\par typed, }")) << s(rtf);
    EXPECT_TRUE(rtf.contains("\\i italic}") && rtf.contains("\\ul under}") && rtf.contains("\\cf1 red}"));
    EXPECT_TRUE(rtf.contains("\\chcbpat2\\cb2 marked}")) << s(rtf);
    EXPECT_TRUE(rtf.contains("Zo\\uc0\\u235  \\uc0\\u-10179 \\uc0\\u-8704 }"));
    // Balanced groups: no user brace escapes its group.
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
    const qsizetype pict = rtf.indexOf("{\\*\\shppict {\\pict \\jpegblip ");
    ASSERT_GE(pict, 0);
    const qsizetype start = pict + QString("{\\*\\shppict {\\pict \\jpegblip ").size();
    const QByteArray jpeg = QByteArray::fromHex(rtf.mid(start, rtf.indexOf('}', start) - start).toLatin1());
    EXPECT_EQ(QImage::fromData(jpeg, "JPEG").size(), QSize(30, 15));
}
