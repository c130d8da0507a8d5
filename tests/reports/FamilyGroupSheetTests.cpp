// The family group sheet: its pages, tables and details, the guard that keeps edits inside the cells, and the RTF
// file it is saved as.
#include "ReportFixture.h"

#include "reports/FamilyGroupSheet.h"

#include "model/FTPicture.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <gmock/gmock.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

class FamilyGroupSheetTest : public ReportFixture {
protected:
    static FamilyGroupSheet::Options defaults() { return FamilyGroupSheet::Options(); }

    std::unique_ptr<QTextDocument> sheetOf(FTPerson* p, const FamilyGroupSheet::Options& o = defaults(),
        QString* title = nullptr)
    {
        FamilyGroupSheet sheet(p, o, moment());
        auto document = sheet.generateTables();
        if (title)
            *title = sheet.windowTitle();
        return document;
    }

    // The document's tables, in order.
    static QList<QTextTable*> tables(QTextDocument& document)
    {
        QList<QTextTable*> out;
        for (QTextFrame* frame : document.rootFrame()->childFrames())
            if (auto* table = qobject_cast<QTextTable*>(frame))
                out << table;
        return out;
    }
    static QString cellText(QTextTable* table, int row, int column)
    {
        QTextCursor c = table->cellAt(row, column).firstCursorPosition();
        c.setPosition(table->cellAt(row, column).lastPosition(), QTextCursor::KeepAnchor);
        return c.selectedText().replace(QChar::ParagraphSeparator, '\n');
    }
    // The first line of each row's details.
    static QStringList rowHeads(QTextTable* table)
    {
        QStringList out;
        for (int r = 0; r < table->rows(); ++r)
            out << cellText(table, r, 1).trimmed().section('\n', 0, 0);
        return out;
    }
    static int pageBreaks(QTextDocument& document)
    {
        int n = 0;
        for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
            n += (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) ? 1 : 0;
        return n;
    }
    static bool hasImage(QTextTable* table, int row)
    {
        const QTextTableCell cell = table->cellAt(row, 0);
        for (auto it = cell.begin(); !it.atEnd(); ++it)
            for (auto f = it.currentBlock().begin(); !f.atEnd(); ++f)
                if (f.fragment().charFormat().isImageFormat())
                    return true;
        return false;
    }
};

TEST_F(FamilyGroupSheetTest, EachCoupleGetsAPageAndChildrenNotInCommonComeLast)
{
    makeFamily();
    FTPerson* zed = person("Zed Zorn", M());
    year(zed, "birth", 1940);
    year(couple(ann, zed), "marriage", 2005);

    QString title;
    auto document = sheetOf(ann, defaults(), &title);
    const QList<QTextTable*> all = tables(*document);
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(title, "Family Group Sheets for Ann ROOT (1951 - 2020)");
    EXPECT_EQ(pageBreaks(*document), 1);
    const QByteArray rtf = Utils::encodeRTFwithPictures(*document).toLatin1();
    EXPECT_EQ(rtf.count("\\page"), 1);
    EXPECT_EQ(rtf.count("\\trowd"), 4 + 3 + 2) << "a row definition per table row";
    EXPECT_TRUE(wellFormed(rtf));
    const QString text = document->toPlainText();
    EXPECT_EQ(text.count("Printed on 05 Mar 2024 at 02:05 PM from Family"), 2);
    EXPECT_THAT(text.toStdString(), HasSubstr("Ann ROOT (1951 - 2020)\n and Hal HART (1949 - 2001)"));

    // Ivy is Hal's and Ann's; Jon, adopted, and Kim, Hal's daughter, are not children in common.
    EXPECT_THAT(rowHeads(all[0]), ::testing::ElementsAre("Name: Ann ROOT", "Spouse: Hal HART",
                                      "Children of Ann and Hal = 1", "Daughter: Ivy HART"));
    EXPECT_THAT(rowHeads(all[1]),
        ::testing::ElementsAre("Name: Ann ROOT", "Spouse: Zed ZORN", "Children of Ann and Zed = 0"));
    EXPECT_THAT(text.toStdString(), HasSubstr("Other children of Ann ROOT (1951 - 2020)"));
    EXPECT_THAT(rowHeads(all[2]), ::testing::UnorderedElementsAre("Son: Jon HART", "Daughter: Kim HART"));

    // Two columns of 100 and 500 points; borders of half a point that neighbours never draw twice.
    const QTextTableFormat format = all[0]->format();
    ASSERT_EQ(format.columnWidthConstraints().size(), 2);
    EXPECT_EQ(format.columnWidthConstraints()[0].rawValue(), 100);
    EXPECT_EQ(format.columnWidthConstraints()[1].rawValue(), 500);
    EXPECT_EQ(format.cellPadding(), 6);
    const QTextTableCellFormat first = all[0]->cellAt(0, 0).format().toTableCellFormat();
    const QTextTableCellFormat inner = all[0]->cellAt(1, 1).format().toTableCellFormat();
    EXPECT_EQ(first.topBorder(), 0.5);
    EXPECT_EQ(first.leftBorder(), 0.5);
    EXPECT_EQ(inner.topBorder(), 0);
    EXPECT_EQ(inner.leftBorder(), 0);
    EXPECT_EQ(inner.bottomBorder(), 0.5);
    EXPECT_EQ(inner.rightBorder(), 0.5);
}

TEST_F(FamilyGroupSheetTest, WithoutACoupleThePersonStandsAloneOrOverTheOtherChildren)
{
    FTPerson* lone = person("Lee Lone", M());
    QString title;
    auto alone = sheetOf(lone, defaults(), &title);
    ASSERT_EQ(tables(*alone).size(), 1);
    EXPECT_THAT(rowHeads(tables(*alone)[0]), ::testing::ElementsAre("Name: Lee LONE"));
    EXPECT_EQ(title, "Family Group Sheet for Lee LONE");
    EXPECT_EQ(pageBreaks(*alone), 0);

    FTPerson* parent = person("Pat Page", F());
    FTPerson* son = person("Sam Page", M());
    link(parent, son);
    auto withChild = sheetOf(parent);
    ASSERT_EQ(tables(*withChild).size(), 1);
    EXPECT_THAT(rowHeads(tables(*withChild)[0]), ::testing::ElementsAre("Son: Sam PAGE"));
    EXPECT_TRUE(withChild->toPlainText().contains("Other children of Pat PAGE"));
}

TEST_F(FamilyGroupSheetTest, DetailsFollowTheOptions)
{
    makeFamily();
    for (const char* tag : {"SLGC", "BAPL", "ENDL", "CONL", "BURI"})
        FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, ann, tag)->setDate("1999");
    FTSpouseRel* marriage = ann->spouseRelsArray().first();

    FamilyGroupSheet full(ann, defaults(), moment());
    const QString block = full.blockForPerson(ann, 0, hal, marriage);
    EXPECT_THAT(block.toStdString(), HasSubstr("Name: Ann ROOT\nTitle or occupation: Teacher\n"
                                               "Born: 12 May 1951 at Leeds\nDied: 03 Jun 2020 at York\n"
                                               "Buried: 1999\nMarriage: 1975 at York. A June wedding.\n"
                                               "Father: Bob ROOT (1905 - 1975)\nMother: Cat LANE (1907 - 1990)\n\n"
                                               "LDS baptism: 1999\nLDS confirmation: 1999\nLDS endowment: 1999\n"
                                               "LDS sealing to parents: 1999\n \n"));
    // A living daughter's birth, shown or hidden; the child's line names her spouses.
    FTPerson* ivysHusband = person("Ian Ince", M());
    couple(ivy, ivysHusband);
    EXPECT_THAT(full.blockForPerson(ivy, 2, nullptr, nullptr).toStdString(),
        HasSubstr("Daughter: Ivy HART\nTitle or occupation: \nBorn: 1985\nDied: \nSpouse: Ian INCE\n"));

    FamilyGroupSheet::Options less = defaults();
    less.showBirthDatesOfLiving = false;
    less.showLDSEvents = false;
    less.showTitleOccupation = false;
    less.includeEventNotes = false;
    FamilyGroupSheet brief(ann, less, moment());
    EXPECT_THAT(brief.blockForPerson(ivy, 2, nullptr, nullptr).toStdString(), HasSubstr("Born: Living person\n"));
    const std::string annBrief = brief.blockForPerson(ann, 0, hal, marriage).toStdString();
    EXPECT_THAT(annBrief, HasSubstr("Born: 12 May 1951 at Leeds\n"));  // Ann has died
    EXPECT_THAT(annBrief, HasSubstr("Marriage: 1975 at York\n"));
    EXPECT_THAT(annBrief, Not(HasSubstr("LDS")));
    EXPECT_THAT(annBrief, Not(HasSubstr("Title")));

    // Other spouses leave out the row's partner.
    FTPerson* zed = person("Zed Zorn", M());
    FTPerson* max = person("Max Moor", M());
    couple(ann, zed);
    couple(ann, max);
    EXPECT_EQ(FamilyGroupSheet::otherSpouses(ann, zed), "Other spouses(2): Max MOOR, Hal HART (1949 - 2001)\n");
    EXPECT_EQ(FamilyGroupSheet::otherSpouses(hal, ann), "");
}

TEST_F(FamilyGroupSheetTest, PicturesButNeverASavedMap)
{
    makeFamily();
    const QString folder = dir.path() + "/Pictures";
    QDir().mkpath(folder);
    map->setFilename(folder + "/GoogleMap_York.jpg");
    FTPicture::initInMoc(moc.get(), imageFile("hal.png", QSize(80, 60), Qt::blue), hal);
    ASSERT_TRUE(hal->defaultPicture());

    auto document = sheetOf(ann);
    QTextTable* couple = tables(*document).first();
    EXPECT_FALSE(hasImage(couple, 0)) << "Ann's default picture is a map";
    EXPECT_TRUE(hasImage(couple, 1));

    FamilyGroupSheet::Options crop = defaults();
    FamilyGroupSheet whole(ann, crop, moment());
    crop.cropImagesTo4x3 = true;
    FamilyGroupSheet cropped(ann, crop, moment());
    const QImage wide = whole.defaultPictureForPerson(hal);
    const QImage portrait = cropped.defaultPictureForPerson(hal);
    EXPECT_NEAR(double(wide.width()) / wide.height(), 4.0 / 3, 0.05);
    EXPECT_NEAR(double(portrait.width()) / portrait.height(), 0.75, 0.05);
    EXPECT_TRUE(whole.defaultPictureForPerson(ann).isNull());
}

TEST_F(FamilyGroupSheetTest, EditsStayInsideTheirCell)
{
    makeFamily();
    auto document = sheetOf(ann);
    QTextTable* table = tables(*document).first();
    const QTextTableCell details = table->cellAt(0, 1);
    const int start = details.firstPosition();
    const int last = details.lastPosition();

    struct Edit {
        const char* what;
        int position, length;
        bool allowed;
    } edits[] = {
        {"typing at the start of the cell", start, 0, true},
        {"replacing a word", start + 6, 3, true},
        {"typing at the cell's end", last, 0, false},
        {"deleting the cell's last character", last - 1, 1, false},
        {"a selection running into the next cell", start, last - start + 2, false},
        {"typing in the heading above the table", 2, 0, true},
    };
    for (const Edit& e : edits)
        EXPECT_EQ(FamilyGroupSheet::shouldChangeText(*document, e.position, e.length), e.allowed) << e.what;

    // A selection that leaves its cell ends at the cell's end, whichever way it was made.
    const int nextCell = table->cellAt(1, 0).firstPosition() + 1;
    EXPECT_EQ(FamilyGroupSheet::adjustedSelection(*document, start, nextCell), std::pair(start, last));
    EXPECT_EQ(FamilyGroupSheet::adjustedSelection(*document, start + 4, start), std::pair(start + 4, start));
    EXPECT_EQ(FamilyGroupSheet::adjustedSelection(*document, 1, 5), std::pair(1, 5));
}

TEST_F(FamilyGroupSheetTest, TheRtfFileOfASmallFamily)
{
    makeFamily();
    // Ann's default picture a saved map: her cell stays blank, so no picture bytes.
    QDir().mkpath(dir.path() + "/Pictures");
    map->setFilename(dir.path() + "/Pictures/GoogleMap_York.jpg");
    auto document = sheetOf(bob);
    const QByteArray rtf = Utils::encodeRTFwithPictures(*document).toLatin1();
    EXPECT_TRUE(wellFormed(rtf));
    // The window's 600-point rows would run off a printed page: no cell may end past the 9,000-twip text
    // width, and the picture column keeps its 100 points.
    const QRegularExpression cellEdge("\\\\cellx(\\d+)");
    int cells = 0;
    for (const QRegularExpressionMatch& edge : cellEdge.globalMatch(QString::fromLatin1(rtf))) {
        EXPECT_LE(edge.captured(1).toInt(), 9000);
        EXPECT_TRUE(++cells % 2 == 0 || edge.captured(1).toInt() == 2000) << cells;
    }
    EXPECT_GT(cells, 0);
    TestSupport::expectGolden(rtf, "reports/family-group-sheet.rtf");
}

TEST_F(FamilyGroupSheetTest, SavingKeepsEveryCharacterOfANameAndNeverOverwrites)
{
    FTPerson* odd = person("Al \"Bo\" {E}", M());
    year(odd, "birth", 1900)->setPlace("C:\\Parish {North}");
    auto document = sheetOf(odd);
    const QString path = FamilyGroupSheet::outputPath(odd);
    ASSERT_FALSE(path.isEmpty());
    QString error;
    ASSERT_TRUE(FamilyGroupSheet::writeRtf(*document, path, &error)) << error.toStdString();
    const QByteArray rtf = readAll(path);
    EXPECT_TRUE(wellFormed(rtf));
    EXPECT_THAT(rtf.toStdString(), HasSubstr("Name: Al \"Bo\" \\{E\\}"));
    EXPECT_THAT(rtf.toStdString(), HasSubstr("Born: 1900 at C:\\\\Parish \\{North\\}"));

    // A hundred and one earlier sheets: the next takes the first free number.
    const QString base = path.chopped(4);
    for (int n = 1; n <= 100; ++n) {
        QFile f(QStringLiteral("%1_%2.rtf").arg(base).arg(n));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(FamilyGroupSheet::outputPath(odd), base + "_101.rtf");
    EXPECT_EQ(readAll(base + "_100.rtf"), "");

    // A file that cannot be written leaves nothing and says why.
    const QString nowhere = dir.path() + "/missing/sheet.rtf";
    EXPECT_FALSE(FamilyGroupSheet::writeRtf(*document, nowhere, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr(nowhere.toStdString()));
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}

}
