// The report sheets of the Reports menu and of the person editor's hierarchy page, in the running program: each
// writes its report through its button, hands it to the word processor and closes itself; the file type is
// checked first; a report that cannot be written leaves its sheet open; previous reports open again.
#include "ReportSheetsFixture.h"

#include "reports/ui/AncestorsByGenerationReport.h"
#include "reports/ui/AncestorsReport.h"
#include "reports/ui/ReportsMenuActions.h"

#include "editor/ui/InfoArea_Hierarchy.h"

#include "shell/Utils.h"

#include "platform/Workspace.h"

#include "WithoutPermissionOverride.h"
#include "WorkspaceFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QThread>
#include <QTimer>

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

using ReportSheets = ReportSheetsFixture;

struct SheetCase {
    const char* name;
    std::function<void()> command;
    bool byGeneration;
    int reportType;
};

TEST_F(ReportSheets, EachSheetWritesItsReportThroughItsButtonAndClosesAfterwards)
{
    WorkspaceFixture apps(dir.path(), "text/rtf");
    const QString selected = doc->moc()->selectedPerson()->name();
    const SheetCase cases[] = {
        { "ancestors", [] { ReportsMenuActions::generateNarrativeReport(0); }, false, 0 },
        { "descendants", [] { ReportsMenuActions::generateNarrativeReport(1); }, false, 1 },
        { "individual", [] { ReportsMenuActions::generateNarrativeReport(2); }, false, 2 },
        { "by-generation", [] { ReportsMenuActions::ancestorsByGenerationReport(); }, true, 0 },
    };
    const QString expected[] = { selected + "'s Ancestors.rtf", selected + "'s Descendants.rtf", selected + ".rtf",
        selected + "'s Ancestors_1.rtf" };
    for (int i = 0; i < 4; ++i) {
        const SheetCase& c = cases[i];
        SCOPED_TRACE(c.name);
        c.command();
        ReportSheet* window = c.byGeneration ? static_cast<ReportSheet*>(sheet<AncestorsByGenerationReport>())
                                             : sheet<AncestorsReport>();
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->isModal());
        EXPECT_EQ(window->numGenerationsSpinBox()->isVisibleTo(window), c.reportType != 2);
        EXPECT_TRUE(window->rtfButton()->isChecked()) << "RTF from the first run on";
        if (i == 0 || i == 3)
            saveScreenshot(window, QString("report-sheet-%1").arg(c.name));

        window->generateButton()->click();
        const QString path = Utils::reportsDirectory() + "/" + expected[i];
        ASSERT_TRUE(QFileInfo::exists(path)) << filesIn(Utils::reportsDirectory()).join(", ").toStdString();
        EXPECT_EQ(apps.launched(), (QStringList { "--editor", path }));
        EXPECT_TRUE(prompts.records.isEmpty()) << texts().join("\n").toStdString();
        EXPECT_FALSE(window->generateButton()->isEnabled()) << "a sheet writes one report";
        EXPECT_EQ(window->exitButton()->text(), LocalizedString("Exit"));
        EXPECT_THAT(window->progressMessage()->toolTip().toStdString(), HasSubstr(path.toStdString()));
        EXPECT_FALSE(window->counter()->text().isEmpty());
        if (i == 0)
            saveScreenshot(window, "report-sheet-saved");

        auto* timer = window->findChild<QTimer*>("reportCloseTimer");
        ASSERT_TRUE(timer);
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 4000);
        QPointer<ReportSheet> open(window);
        timer->start(0);
        EXPECT_TRUE(TestSupport::waitUntil([&open] { return !open || !open->isVisible(); }, "the sheet closing"));
    }
    EXPECT_FALSE(doc->moc()->hasChanges());
}

TEST_F(ReportSheets, OptionsStartFreshButEndNotesAndTheByGenerationChoicesCarryOver)
{
    ReportsMenuActions::generateNarrativeReport(0);
    AncestorsReport* first = sheet<AncestorsReport>();
    ASSERT_TRUE(first);
    first->option("showEventNotesAsEndnotes")->setChecked(false);
    first->option("bPrintComments")->setChecked(false);
    first->numGenerationsSpinBox()->setValue(3);
    EXPECT_EQ(first->report().options().numGenerations, 3);
    EXPECT_FALSE(first->report().options().bPrintComments);
    first->exitButton()->click();
    EXPECT_FALSE(sheet<AncestorsReport>());

    ReportsMenuActions::generateNarrativeReport(1);
    AncestorsReport* second = sheet<AncestorsReport>();
    ASSERT_TRUE(second);
    EXPECT_FALSE(second->option("showEventNotesAsEndnotes")->isChecked());
    EXPECT_TRUE(second->option("bPrintComments")->isChecked());
    EXPECT_EQ(second->numGenerationsSpinBox()->value(), 100);
    second->option("showEventNotesAsEndnotes")->setChecked(true);
    second->reject();

    ReportsMenuActions::ancestorsByGenerationReport();
    AncestorsByGenerationReport* byGeneration = sheet<AncestorsByGenerationReport>();
    ASSERT_TRUE(byGeneration);
    EXPECT_EQ(byGeneration->numGenerationsSpinBox()->value(), 16);
    EXPECT_TRUE(byGeneration->option("includeDefaultPicture")->isChecked());
    byGeneration->option("oneLinePerPerson")->setChecked(true);
    EXPECT_TRUE(UserDefaults::standard().boolForKey("arOneLinePerPerson"));
    EXPECT_TRUE(byGeneration->report().options().oneLinePerPerson);
    byGeneration->exitButton()->click();
    EXPECT_TRUE(NarrativeReportOptions::appendEventNotes());
}

TEST_F(ReportSheets, AnRtfdFolderIsQuestionedAndChoosingAWordProcessorMeansRtf)
{
    WorkspaceFixture apps(dir.path(), "text/rtf");
    ReportsMenuActions::generateNarrativeReport(2);
    AncestorsReport* window = sheet<AncestorsReport>();
    ASSERT_TRUE(window);
    window->rtfdButton()->click();
    EXPECT_EQ(UserDefaults::standard().stringForKey("rtfFileType"), "rtfd");

    // Cancelled: nothing written, the sheet as it was.
    prompts.answer(0);
    window->generateButton()->click();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr("The selected options are unsuitable."));
    EXPECT_THAT(prompts.records[0].info.toStdString(), HasSubstr("File type = rtfd\n"));
    EXPECT_THAT(prompts.records[0].info.toStdString(), HasSubstr("Includes pictures = YES"));
    EXPECT_EQ(prompts.records[0].buttons, (QStringList { "Cancel the Report", "Continue" }));
    EXPECT_TRUE(filesIn(Utils::reportsDirectory()).filter(".rtf").isEmpty());
    EXPECT_TRUE(window->generateButton()->isEnabled());

    // A word processor chosen: RTF again, kept for the next report.
    ASSERT_GE(window->rtfAppsComboBox()->count(), 2);
    const int editor = window->rtfAppsComboBox()->findText("Test Editor");
    ASSERT_GE(editor, 0);
    window->rtfAppsComboBox()->setCurrentIndex(editor);
    Q_EMIT window->rtfAppsComboBox()->activated(editor);
    EXPECT_TRUE(window->rtfButton()->isChecked());
    EXPECT_EQ(UserDefaults::standard().stringForKey("rtfFileType"), "rtf");
    EXPECT_EQ(UserDefaults::standard().stringForKey("rtfApplication"), "editor.desktop");

    // Continue: the folder is written all the same, and opened.
    window->rtfdButton()->click();
    prompts.clear();
    prompts.answer(1);
    window->generateButton()->click();
    const QString folder = Utils::reportsDirectory() + "/" + doc->moc()->selectedPerson()->name() + ".rtfd";
    EXPECT_TRUE(QFileInfo::exists(folder + "/TXT.rtf"));
    EXPECT_EQ(apps.launched(), (QStringList { "--editor", folder }));
}

TEST_F(ReportSheets, AReportThatCannotBeWrittenLeavesItsSheetOpen)
{
    ReportsMenuActions::ancestorsByGenerationReport();
    AncestorsByGenerationReport* window = sheet<AncestorsByGenerationReport>();
    ASSERT_TRUE(window);
    const QString reports = Utils::reportsDirectory();
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::ExeOwner);
    {
        WithoutPermissionOverride asAUser;
        window->generateButton()->click();
    }
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr(LocalizedString("UnableToOpenReport").toStdString()));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->generateButton()->isEnabled());
    EXPECT_TRUE(window->exitButton()->isEnabled());
    EXPECT_FALSE(window->findChild<QTimer*>("reportCloseTimer"));
    EXPECT_FALSE(doc->moc()->hasChanges());
}

TEST_F(ReportSheets, PrintReportOnTheHierarchyPagesOpensTheOneLineReport)
{
    InfoAreaController* editor = editorOf(doc);
    ASSERT_TRUE(editor);
    for (const char* page : { "pAncestors", "pDescendants" }) {
        SCOPED_TRACE(page);
        ASSERT_TRUE(editor->choosePage(page));
        auto* hierarchy = qobject_cast<InfoArea_Hierarchy*>(editor->page(page));
        ASSERT_TRUE(hierarchy);
        auto* print = hierarchy->findChild<QAbstractButton*>("printReport");
        ASSERT_TRUE(print);
        print->click();
        AncestorsReport* window = sheet<AncestorsReport>();
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->option("oneLinePerPerson")->isChecked());
        EXPECT_TRUE(window->report().options().oneLinePerPerson);
        EXPECT_EQ(window->report().options().reportType, hierarchy->bAncestors() ? 0 : 1);
        EXPECT_EQ(
            window->windowTitle(), LocalizedString(hierarchy->bAncestors() ? "AncestorsReport" : "DescendantsReport"));
        window->exitButton()->click();
    }
    EXPECT_TRUE(prompts.records.isEmpty()) << texts().join("\n").toStdString();
}

TEST_F(ReportSheets, PreviousReportsOpensEveryChosenFile)
{
    // An application that notes each file it is started with.
    const QString apps = dir.path() + "/apps";
    QDir().mkpath(apps + "/data/applications");
    QDir().mkpath(apps + "/config");
    const QString log = apps + "/opened.txt";
    const QString script = apps + "/note.sh";
    auto write = [](const QString& path, const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"" + log.toUtf8() + "\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    write(apps + "/data/applications/note.desktop",
        "[Desktop Entry]\nType=Application\nName=Note\nExec=" + script.toUtf8() + " %f\nMimeType=text/rtf;\n");
    write(apps + "/config/mimeapps.list", "[Default Applications]\ntext/rtf=note.desktop;\n");
    Workspace::shared().setSearchPaths({ apps + "/data" }, { apps + "/config" });
    QStringList reports;
    for (const char* name : { "a.rtf", "b.rtf", "c.rtf" }) {
        reports << Utils::reportsDirectory() + "/" + name;
        write(reports.last(), "{\\rtf1 x}");
    }

    QString shownFolder;
    ReportsMenuActions::openPanel() = [&shownFolder](const QString& folder) {
        shownFolder = folder;
        return QStringList();
    };
    ReportsMenuActions::previousReports();
    EXPECT_EQ(shownFolder, Utils::reportsDirectory());
    QThread::msleep(200);
    EXPECT_FALSE(QFileInfo::exists(log)) << "cancelled: nothing opens";

    ReportsMenuActions::openPanel() = [&reports](const QString&) { return reports; };
    ReportsMenuActions::previousReports();
    auto opened = [&log] {
        QFile f(log);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)
                                           : QStringList();
    };
    const QDeadlineTimer limit(TestSupport::kHungRunMilliseconds);
    while (opened().size() < 3 && !limit.hasExpired())
        QThread::msleep(20);
    QStringList got = opened();
    got.sort();
    EXPECT_EQ(got, reports);
    Workspace::shared().setSearchPaths({}, {});
}

TEST_F(ReportSheets, TheReportsMenuListsTheReportsAndNeedsADatabase)
{
    std::unique_ptr<QMenuBar> bar(app->createMainMenu(doc->dovurWindow()));
    QStringList titles;
    for (QAction* menu : bar->actions())
        if (menu->menu() && menu->text() == "Reports")
            for (QAction* item : menu->menu()->actions())
                titles << item->text();
    for (const char* item : { "Ancestors Report...", "Descendants Report...", "Individual's Report...",
             "Ancestors by Generation Report...", "Filtered People Report...", "People Without Ancestors...",
             "Sources Report...", "Pictures Report...", "Statistics...", "Previous Reports..." })
        EXPECT_TRUE(titles.contains(item)) << item;

    DocumentController::shared().closeAllDocuments();
    prompts.clear();
    ReportsMenuActions::generateNarrativeReport(0);
    ReportsMenuActions::ancestorsByGenerationReport();
    EXPECT_TRUE(prompts.records.isEmpty());
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<ReportSheet*>(w) && w->isVisible());
}

} // namespace
