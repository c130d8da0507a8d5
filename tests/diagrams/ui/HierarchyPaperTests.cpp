// The hierarchy window's paper: the first print shows the page breaks and asks, the next prints at once, page by
// page through the printer; columns wider than the paper are refused; the PDF file goes into the reports folder
// and opens, or its failure is told and nothing opens.
#include "HierarchyWindowFixture.h"
#include "PdfTools.h"
#include "Screenshot.h"
#include "WithoutPermissionOverride.h"
#include "WorkspaceFixture.h"

#include "diagrams/HdPageGeometry.h"
#include "diagrams/HdPrinting.h"

#include "shell/ui/ElidedLabel.h"
#include "shell/ui/SharedPrinter.h"

#include "platform/UserDefaults.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QThread>

namespace {

class HierarchyPaper : public HierarchyWindow {
protected:
    void SetUp() override
    {
        HierarchyWindow::SetUp();
        QPrinter& printer = sharedPrinter();
        savedLayout = printer.pageLayout();
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10)));
        UserDefaults::standard().setBool("hdHorizontal", false);
    }
    void TearDown() override
    {
        QPrinter& printer = sharedPrinter();
        printer.setOutputFileName(QString());
        printer.setPageLayout(savedLayout);
        HierarchyWindow::TearDown();
    }

    // Robert and his two children, top-down.
    FTPerson* family()
    {
        FTPerson* robert = person("Robert Ashdown", M(), 1820, 1890);
        child(robert, "Albert Ashdown", M(), 1845);
        child(robert, "Beatrice Ashdown", F(), 1848);
        return robert;
    }
    // The print dialog: counts its runs and prints into a PDF file on paper of `paper` points.
    void printIntoPdf(const QString& path, const QSizeF& paper)
    {
        view()->runPrintDialog = [this, path, paper](QPrinter& printer) {
            ++printDialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Point, QString(), QPageSize::ExactMatch),
                QPageLayout::Portrait, QMarginsF()));
            return true;
        };
    }

    QPageLayout savedLayout;
    int printDialogs = 0;
};

TEST_F(HierarchyPaper, TheFirstPrintShowsThePageBreaksAndAsksTheNextPrintsAtOnce)
{
    open(family(), false);
    window->resize(900, 600);
    settle();
    const QString path = pathFor("printed.pdf");
    // One column across, and a page shorter than the diagram: the children's row starts a second row of pages.
    const double dpi = HdPrinting::viewDpi();
    const QSizeF paper(300 * 72.0 / dpi, (view()->layout().yExtent() * 0.6 + 60) * 72.0 / dpi);
    printIntoPdf(path, paper);

    // Cancel in the question prints nothing and takes the page breaks away again.
    prompts.answer(1);
    window->printButton()->click();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("PrintAsShown"));
    EXPECT_EQ(prompts.records[0].info, LocalizedString("PrintNote"));
    EXPECT_EQ(prompts.records[0].buttons, QStringList({ LocalizedString("Print"), LocalizedString("Cancel") }));
    EXPECT_EQ(printDialogs, 0) << "Cancel prints nothing";
    EXPECT_FALSE(view()->layout().showPageBreaks());

    // So does Cancel in the print dialog; while it is open the page breaks show.
    const auto printing = view()->runPrintDialog;
    bool shownDuringDialog = false;
    view()->runPrintDialog = [&](QPrinter&) {
        shownDuringDialog = view()->layout().showPageBreaks();
        saveScreenshot(window.get(), "hierarchy-window-page-breaks");
        return false;
    };
    prompts.clear();
    prompts.answer(0);
    window->printButton()->click();
    EXPECT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(shownDuringDialog);
    EXPECT_FALSE(view()->layout().showPageBreaks());
    settle();

    // Printed once, the page breaks stay: the next print goes straight to the dialog, then page after page.
    view()->runPrintDialog = printing;
    prompts.clear();
    prompts.answer(0);
    window->printButton()->click();
    EXPECT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(printDialogs, 1);
    EXPECT_TRUE(view()->layout().showPageBreaks());
    prompts.clear();
    window->printButton()->click();
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(printDialogs, 2);
    const HdPageGeometry pages = HdPageGeometry::calculate(view()->layout(), HdPrinting::paperSizeFromPoints(paper));
    ASSERT_EQ(pages.columns, 2);
    ASSERT_EQ(pages.rows, 2);
    ASSERT_EQ(PdfTools::pageCount(path), 4);
    const QStringList texts = PdfTools::pageTexts(path);
    ASSERT_EQ(texts.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(texts[i].contains(QStringLiteral("R%1C%2").arg(i / 2 + 1).arg(i % 2 + 1))) << qPrintable(texts[i]);
}

TEST_F(HierarchyPaper, ColumnsWiderThanThePaperAreRefused)
{
    open(family(), false);
    printIntoPdf(pathFor("never.pdf"), QSizeF(595, 842));
    // Columns of 60-point text are 1,200 points wide; A4 is not that wide.
    window->pointSizeStepper()->setValue(60);
    settle();
    window->printButton()->click();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("HdColumnsWiderThanPaper"));
    EXPECT_FALSE(view()->layout().showPageBreaks());
    EXPECT_EQ(printDialogs, 0);
    EXPECT_FALSE(QFileInfo::exists(pathFor("never.pdf")));
}

TEST_F(HierarchyPaper, ThePdfFileIsWrittenIntoTheReportsFolderAndOpened)
{
    const QString data = pathFor("data");
    ASSERT_TRUE(QDir().mkpath(data));
    UserDefaults::standard().setString("KinloomDataDirectory", data);
    WorkspaceFixture apps(dir.path(), "application/pdf");
    FTPerson* robert = family();
    open(robert, false);

    window->pdfButton()->click();
    const QString path = data + "/Reports/Descendants_of_Robert Ashdown (1820 - 1890).PDF";
    EXPECT_EQ(apps.launched(), QStringList({ "--editor", path }));
    EXPECT_EQ(PdfTools::pageCount(path), 1);
    EXPECT_TRUE(prompts.records.isEmpty());
    // The window says where the file went.
    auto* info = window->findChild<ElidedLabel*>("selectedPersonsInfo");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->text(), "The diagram was saved as " + path);
    // The message has the window's width, beside no button.
    QApplication::processEvents();
    EXPECT_GE(info->width(), window->width() * 9 / 10);
    EXPECT_TRUE(info->shownText().startsWith("The diagram was saved as /")) << info->shownText().toStdString();
    EXPECT_TRUE(info->shownText().endsWith("/Reports/Descendants_of_Robert Ashdown (1820 - 1890).PDF"))
        << info->shownText().toStdString();
    saveScreenshot(window.get(), "hierarchy-saved-as-pdf");
    // A path longer than the window keeps the message's beginning and the file's name.
    const QString deep = pathFor(QString(60, 'd') + "/" + QString(60, 'e') + "/" + QString(60, 'p'));
    ASSERT_TRUE(QDir().mkpath(deep));
    UserDefaults::standard().setString("KinloomDataDirectory", deep);
    window->pdfButton()->click();
    QApplication::processEvents();
    const QString deepPath = deep + "/Reports/Descendants_of_Robert Ashdown (1820 - 1890).PDF";
    EXPECT_EQ(apps.launched(), QStringList({ "--editor", deepPath }));
    EXPECT_EQ(info->text(), "The diagram was saved as " + deepPath);
    EXPECT_NE(info->shownText(), info->text());
    EXPECT_TRUE(info->shownText().startsWith("The diagram")) << info->shownText().toStdString();
    EXPECT_TRUE(info->shownText().endsWith("1890).PDF")) << info->shownText().toStdString();
    saveScreenshot(window.get(), "hierarchy-saved-as-pdf-long-path");
    UserDefaults::standard().setString("KinloomDataDirectory", data);

    // A folder that cannot be written: the path and the reason, the older file as it was, nothing opened.
    QFile older(path);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly | QIODevice::Truncate));
    older.write("older");
    older.close();
    const QString reports = data + "/Reports";
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::ExeOwner);
    {
        WithoutPermissionOverride asUser;
        window->pdfButton()->click();
    }
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(prompts.records[0].text.contains(path)) << qPrintable(prompts.records[0].text);
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), "older");
    QThread::msleep(300);
    EXPECT_FALSE(QFileInfo::exists(apps.record)) << "nothing was opened";
}

TEST_F(HierarchyPaper, ALivingRootsBirthYearStaysOffTheTitleAndThePdfWhenBirthDatesOfTheLivingAreExcluded)
{
    const QString data = pathFor("data");
    ASSERT_TRUE(QDir().mkpath(data));
    UserDefaults::standard().setString("KinloomDataDirectory", data);
    WorkspaceFixture apps(dir.path(), "application/pdf");
    const QString born = QString::number(QDate::currentDate().year() - 30);
    FTPerson* jane = person("Jane Doe", F(), born.toInt());
    child(jane, "Tom Doe", M(), born.toInt() + 25);
    open(jane, false);
    EXPECT_EQ(window->windowTitle(), "Descendants of Jane Doe (" + born + " - )");

    // Turned on as the customise window does it: the tree is built again, and the title with it.
    UserDefaults::standard().setBool("hdExcludeBirthDatesOfLiving", true);
    commands().markForRebuild();
    settle();
    EXPECT_EQ(window->windowTitle(), "Descendants of Jane Doe");
    window->pdfButton()->click();
    const QString path = data + "/Reports/Descendants_of_Jane Doe.PDF";
    ASSERT_EQ(apps.launched(), QStringList({ "--editor", path }));
    EXPECT_TRUE(PdfTools::run("pdfinfo", { path }).contains(QRegularExpression("Title:\\s+Descendants of Jane Doe\\n")));
    const QString text = PdfTools::pageTexts(path).value(0);
    EXPECT_TRUE(text.contains("Descendants of Jane Doe")) << qPrintable(text);
    EXPECT_FALSE(text.contains(born)) << qPrintable(text);
}

} // namespace
