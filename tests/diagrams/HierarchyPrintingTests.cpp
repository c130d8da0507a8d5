// The hierarchy diagram on paper: how it falls on pages, the page-break overlay, printing page by page onto a PDF
// device, and the PDF file of the whole diagram with its name and its failures.
#include "HierarchyFixture.h"
#include "PdfTools.h"
#include "ScreenshotImage.h"
#include "WithoutPermissionOverride.h"

#include "diagrams/HdPageGeometry.h"
#include "diagrams/HdPainter.h"
#include "diagrams/HdPrinting.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>

namespace {

TEST(HdPageGeometry, PagesOfWholeColumns)
{
    // Columns of 220 with 22 between them: two fit across 612 points, pages 484 wide and 732 high.
    struct Case {
        const char* what;
        double columnWidth, spacing, xExtent, yExtent;
        QSizeF paper;
        double pageWidth, pageHeight;
        int columns, rows;
    };
    const Case cases[] = {
        { "narrower than one page", 220, 22, 400, 500, { 612, 792 }, 484, 732, 1, 1 },
        { "three columns, two rows", 220, 22, 1083, 1100, { 612, 792 }, 484, 732, 3, 2 },
        { "across: no spacing", 220, 0, 1000, 700, { 612, 792 }, 440, 732, 3, 1 },
        { "landscape", 220, 22, 1083, 1100, { 792, 612 }, 726, 552, 2, 2 },
        { "one column exactly as wide as the paper", 612, 0, 400, 100, { 612, 792 }, 612, 732, 1, 1 },
        { "a column wider than the paper", 700, 70, 1083, 1100, { 612, 792 }, 0, 732, 0, 0 },
        { "paper no taller than the margin", 220, 22, 1083, 1100, { 612, 60 }, 484, 0, 0, 0 },
        { "no columns at all", 0, 0, 1083, 1100, { 612, 792 }, 0, 732, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const HdPageGeometry g = HdPageGeometry::calculate(c.columnWidth, c.spacing, 10, c.xExtent, c.yExtent, c.paper);
        EXPECT_DOUBLE_EQ(g.pageWidth, c.pageWidth);
        EXPECT_DOUBLE_EQ(g.pageHeight, c.pageHeight);
        EXPECT_EQ(g.fitsPaper(), c.columns > 0);
        EXPECT_EQ(g.columns, c.columns);
        EXPECT_EQ(g.rows, c.rows);
        EXPECT_EQ(g.pageCount(), c.columns * c.rows);
    }
}

TEST(HdPageGeometry, PagesRunRowByRowAndOverlap)
{
    const HdPageGeometry g = HdPageGeometry::calculate(220, 22, 10, 1083, 1100, { 612, 792 });
    ASSERT_EQ(g.pageCount(), 6);
    for (int n = 1; n <= 6; ++n) {
        const HdPageGeometry::Page page = g.page(n);
        EXPECT_EQ(page.row, (n - 1) / 3 + 1) << n;
        EXPECT_EQ(page.column, (n - 1) % 3 + 1) << n;
    }
    // 10 points beyond its share on every side: neighbours share 20.
    EXPECT_EQ(g.page(1).rect, QRectF(-10, -10, 504, 752));
    EXPECT_EQ(g.page(5).rect, QRectF(474, 722, 504, 752));
    EXPECT_TRUE(g.page(0).rect.isNull());
    EXPECT_TRUE(g.page(7).rect.isNull());
    // Nothing to divide by: no page at all.
    const HdPageGeometry wide = HdPageGeometry::calculate(700, 70, 10, 1083, 1100, { 612, 792 });
    EXPECT_TRUE(wide.page(1).rect.isNull());
}

TEST(HdPageGeometry, TheOverlaysLabelSaysWhereThePageLies)
{
    EXPECT_EQ(HdPainter::pageBreakLabel(5, 6, "A4", false, 2, 2, false),
        "Page 5 of 6\nA4 Portrait\nat 100% scaling\nRow = 2, Column = 2\n");
    EXPECT_EQ(HdPainter::pageBreakLabel(1, 1, "Letter", true, 1, 1, true),
        "Page 1 of 1\nLetter Landscape\nat 100% scaling\nRow = 1, Column = 1\n"
            + LocalizedString("SizeToWidthIgnored"));
}

class HierarchyPrinting : public HierarchyFixture {
protected:
    void SetUp() override
    {
        HierarchyFixture::SetUp();
        options.nameOnly = false;
        options.pointSize = 11;
        // Red belongs to the page breaks.
        options.nameColour = QColor(0, 0, 160);
        ASSERT_TRUE(QDir().mkpath(pathFor("Reports")));
    }

    // Robert with `count` children, top-down: one row of boxes that runs across many columns.
    FTPerson* family(int count)
    {
        FTPerson* robert = person("Robert Ashdown", M());
        year(robert, "birth", 1820);
        year(robert, "death", 1890);
        for (int i = 0; i < count; ++i)
            year(children(robert, { qPrintable(QStringLiteral("Child %1 Ashdown").arg(i)) })[0], "birth", 1845 + i);
        return robert;
    }
    void buildWithPageBreaks(FTPerson* root, const QSizeF& paper)
    {
        layout.setShowPageBreaks(true);
        build(root, false, 800, paper);
        layout.resetFrameSize(nullptr, QSizeF(800, 600));
        layout.createRootPath();
    }
    // The overlay's pink, translucent or not.
    static bool reddish(QColor c)
    {
        return c.red() > 220 && c.red() - c.green() > 35 && c.green() > 100 && std::abs(c.green() - c.blue()) < 20;
    }
    static int countPixels(const QImage& image, const std::function<bool(QColor)>& wanted)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += wanted(image.pixelColor(x, y));
        return n;
    }
};

TEST_F(HierarchyPrinting, TheOverlayShowsOnScreenOnlyAndNotWhenTheColumnsAreTooWide)
{
    FTPerson* root = family(6);
    const QSizeF a4 = HdPrinting::paperSize(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, {}));
    buildWithPageBreaks(root, a4);
    HdPainter painter(layout);
    painter.dialogTitle = "Descendants of Robert Ashdown";
    painter.pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, {});
    auto paint = [&](bool printing) {
        QImage image(QSize(int(layout.xExtent()) + 40, 900), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter p(&image);
        painter.printing = printing;
        painter.paint(p, QRectF(image.rect()), QSizeF(image.size()));
        return image;
    };
    const QImage screen = paint(false);
    saveScreenshotImage(screen, "hierarchy-page-breaks");
    // The line down the left edge, and the page labels.
    EXPECT_TRUE(reddish(screen.pixelColor(5, 400)));
    EXPECT_GT(countPixels(screen, reddish), 2000);
    EXPECT_EQ(countPixels(paint(true), reddish), 0);

    // A column wider than A4: nothing of pages is drawn.
    options.pointSize = 40;
    buildWithPageBreaks(root, a4);
    EXPECT_FALSE(HdPageGeometry::calculate(layout, a4).fitsPaper());
    EXPECT_EQ(countPixels(paint(false), reddish), 0);
}

TEST_F(HierarchyPrinting, EachPageOnASheetOfItsOwnWithItsRowAndColumn)
{
    // Two children side by side below Robert, on paper one column wide and three quarters of the diagram high:
    // 2 x 2 pages.
    FTPerson* root = family(2);
    build(root, false);
    layout.resetFrameSize(nullptr, QSizeF(300, 200));
    const QSizeF paper(300, layout.yExtent() * 0.75 + 60);
    const HdPageGeometry pages = HdPageGeometry::calculate(layout, paper);
    ASSERT_EQ(pages.columns, 2);
    ASSERT_EQ(pages.rows, 2);

    const QString path = pathFor("pages.pdf");
    {
        QPdfWriter writer(path);
        writer.setResolution(HdPrinting::viewDpi());
        writer.setPageLayout(QPageLayout(
            QPageSize(paper * (72.0 / HdPrinting::viewDpi()), QPageSize::Point), QPageLayout::Portrait, QMarginsF()));
        HdPainter painter(layout);
        painter.dialogTitle = "Descendants of Robert";
        QString error;
        ASSERT_TRUE(HdPrinting::printPages(painter, writer, pages, 1, pages.pageCount(), &error)) << qPrintable(error);
        EXPECT_FALSE(painter.printing) << "the painter is back as it was";
    }
    ASSERT_EQ(PdfTools::pageCount(path), 4);
    const QStringList texts = PdfTools::pageTexts(path);
    ASSERT_EQ(texts.size(), 4);
    const QStringList labels = { "R1C1", "R1C2", "R2C1", "R2C2" };
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(texts[i].contains(labels[i])) << qPrintable(texts[i]);
    // Robert's box on the first row, the children's on the second, side by side.
    EXPECT_TRUE(texts[0].contains("b. 1820"));
    EXPECT_TRUE(texts[2].contains("Child 0 Ashdown"));
    EXPECT_TRUE(texts[3].contains("Child 1 Ashdown"));

    // A range beyond the pages prints nothing and says so.
    HdPainter painter(layout);
    QPdfWriter writer(pathFor("none.pdf"));
    QString error;
    EXPECT_FALSE(HdPrinting::printPages(painter, writer, pages, 5, 9, &error));
    EXPECT_EQ(error, LocalizedString("HdNothingToPrint"));
}

TEST_F(HierarchyPrinting, ThePdfFileHoldsTheWholeDiagramUnderItsOwnName)
{
    FTPerson* root = family(3);
    build(root, false);
    layout.resetFrameSize(nullptr, QSizeF(700, 400));
    const QString folder = pathFor("Reports");
    const QString path = HdPrinting::pdfPath(folder, root, false);
    EXPECT_EQ(path, folder + "/Descendants_of_Robert Ashdown (1820 - 1890).PDF");

    HdPainter painter(layout);
    painter.dialogTitle = "Descendants of Robert Ashdown (1820 - 1890)";
    const QSizeF view(std::max(700.0, layout.xExtent()), std::max(400.0, layout.yExtent()));
    QString error;
    ASSERT_TRUE(HdPrinting::writePdf(painter, view, path, &error)) << qPrintable(error);
    EXPECT_EQ(PdfTools::pageCount(path), 1);
    // The view with 50 points all round, in the screen's points.
    const QSizeF page = PdfTools::pageSize(path);
    const double scale = 72.0 / HdPrinting::viewDpi();
    EXPECT_NEAR(page.width(), (view.width() + 100) * scale, 1.0);
    EXPECT_NEAR(page.height(), (view.height() + 100) * scale, 1.0);
    const QString text = PdfTools::pageTexts(path).value(0);
    EXPECT_TRUE(text.contains("Descendants of Robert Ashdown")) << qPrintable(text);
    EXPECT_TRUE(text.contains("Child 2 Ashdown")) << qPrintable(text);

    const QImage image = PdfTools::firstPageImage(path, HdPrinting::viewDpi());
    ASSERT_FALSE(image.isNull());
    saveScreenshotImage(image, "hierarchy-pdf");
    // Paper is white; the root's box frame lies 50 points in.
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::white));
    const QRectF box = layout.rootHierarchy()->rclBox().translated(50, 50);
    int dark = 0;
    for (int y = int(box.top()) - 2; y <= int(box.top()) + 2; ++y)
        dark += image.pixelColor(int(box.center().x()), y).lightness() < 160;
    EXPECT_GT(dark, 0);
}

TEST_F(HierarchyPrinting, ANameCannotLeadOutOfTheReportsFolderNorBeTooLong)
{
    const QString folder = pathFor("Reports");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString longName = QString(300, QChar(0x00E9)); // two bytes each
    const struct {
        QString name;
        QString fileName;
    } cases[] = {
        { "AC/DC ../../etc Band", "Ancestors_of_AC|DC ..|..|etc Band.PDF" },
        { QString("Bell\a\x1b[31m Ring\nEnd"), "Ancestors_of_Bell[31m RingEnd.PDF" },
        { longName, "Ancestors_of_" + longName.left(93) + ".PDF" },
    };
    for (const auto& c : cases) {
        FTPerson* root = person("x", M());
        root->setPrimitiveValue("name", c.name);
        const QString path = HdPrinting::pdfPath(folder, root, true);
        EXPECT_EQ(QFileInfo(path).absolutePath(), folder);
        EXPECT_EQ(QFileInfo(path).fileName(), c.fileName);
        EXPECT_LE(QFileInfo(path).fileName().toUtf8().size(), 255);
        // A file of that name can be made.
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(file.errorString());
    }
}

TEST_F(HierarchyPrinting, AFailedWriteLeavesTheOlderFileAsItWas)
{
    FTPerson* root = family(1);
    build(root, false);
    HdPainter painter(layout);
    const QString folder = pathFor("Reports");
    const QString path = HdPrinting::pdfPath(folder, root, false);
    QFile older(path);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("older file");
    older.close();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    QString error;
    {
        WithoutPermissionOverride asUser;
        EXPECT_FALSE(HdPrinting::writePdf(painter, QSizeF(600, 400), path, &error));
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), "older file");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList { QFileInfo(path).fileName() }) << "no temporary left";

    EXPECT_FALSE(HdPrinting::writePdf(painter, QSizeF(600, 400), pathFor("Missing/x.PDF"), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
