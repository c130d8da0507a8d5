// The listing reports' sheets in the running program, opened from the Reports menu on a database: each writes its
// file through its own buttons and hands it to the application chosen for it.
#include "ReportSheetsFixture.h"

#include "reports/ui/FilteredPeopleReport.h"
#include "reports/ui/PeopleListModel.h"
#include "reports/ui/PeopleWithoutAncestors.h"
#include "reports/ui/PicturesReport.h"
#include "reports/ui/ReportsMenuActions.h"
#include "reports/ui/SourcesReport.h"
#include "reports/ui/StatisticsReport.h"

#include "model/FTSource.h"

#include "shell/Utils.h"

#include "Screenshot.h"
#include "WithoutPermissionOverride.h"
#include "WorkspaceFixture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

class ListingSheets : public ReportSheetsFixture {
protected:
    QStringList reports() const { return QDir(Utils::reportsDirectory()).entryList(QDir::Files, QDir::Name); }
    QString report(const QString& name) const { return Utils::reportsDirectory() + "/" + name; }
};

TEST_F(ListingSheets, FilteredPeopleFollowTheFiltersAndWriteReportAfterReport)
{
    WorkspaceFixture apps(dir.path(), "text/rtf");
    ReportsMenuActions::generateFilteredPeopleReport();
    FilteredPeopleReport* window = sheet<FilteredPeopleReport>();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isModal());
    const int everybody = window->people()->rowCount();
    EXPECT_EQ(everybody, doc->moc()->count("Person"));

    QLineEdit* family = window->filterField(FilteredPeople::LastName);
    family->setText(doc->moc()->selectedPerson()->familyName());
    Q_EMIT family->editingFinished();
    const int some = window->people()->rowCount();
    EXPECT_GT(some, 0);
    EXPECT_LT(some, everybody);
    saveScreenshot(window, "report-filtered-people");

    const QString base = doc->modelName() + "_FilteredReport";
    window->generateButton()->click();
    EXPECT_EQ(apps.launched(), QStringList({ "--editor", report(base + ".rtf") }));
    window->oneLinePerPersonCheckBox()->click();
    window->generateButton()->click();
    EXPECT_EQ(reports(), QStringList({ base + ".rtf", base + "_1.rtf" }));
    EXPECT_TRUE(window->isVisible()) << "the sheet stays for the next report";
    EXPECT_EQ(apps.launched(), QStringList({ "--editor", report(base + "_1.rtf") }));
    EXPECT_THAT(window->progressMessage()->text().toStdString(), HasSubstr(base.toStdString() + "_1.rtf"));
    EXPECT_TRUE(prompts.records.isEmpty());
    window->closeButton()->click();
    EXPECT_FALSE(sheet<FilteredPeopleReport>());
    EXPECT_FALSE(doc->moc()->hasChanges());
}

TEST_F(ListingSheets, ALargeFilteredReportAsksFirstAndCancelWritesNothing)
{
    for (int i = 0; i < 1500; ++i)
        FTPerson::initInMoc(doc->moc(), QString("Extra Person%1").arg(i), LocalizedString("MaleShort"));
    WorkspaceFixture apps(dir.path(), "text/rtf");
    ReportsMenuActions::generateFilteredPeopleReport();
    FilteredPeopleReport* window = sheet<FilteredPeopleReport>();
    ASSERT_TRUE(window);
    prompts.answer(1);
    window->generateButton()->click();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr(" pages."));
    EXPECT_EQ(prompts.records[0].buttons, QStringList({ "Continue", "Cancel" }));
    EXPECT_TRUE(reports().isEmpty());
    // One line per person makes it short enough to write without asking.
    prompts.clear();
    window->oneLinePerPersonCheckBox()->click();
    window->generateButton()->click();
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(reports().size(), 1);
    EXPECT_EQ(apps.launched().size(), 2);
}

TEST_F(ListingSheets, SourcesAsCsvOpenInTheChosenApplicationAndTheSheetClosesItself)
{
    FTSource::initInMoc(doc->moc())->setTitle("Census 1881");
    WorkspaceFixture apps(dir.path(), "text/csv");
    ReportsMenuActions::sourcesReport();
    SourcesReport* window = sheet<SourcesReport>();
    ASSERT_TRUE(window);
    EXPECT_FALSE(doc->moc()->hasChanges()) << "the command saves first";
    window->csvButton()->click();
    EXPECT_FALSE(window->oneLinePerSourceCheckBox()->isEnabled());
    const int editor = window->applicationsComboBox()->findText("Test Editor");
    ASSERT_GE(editor, 0);
    window->applicationsComboBox()->setCurrentIndex(editor);
    saveScreenshot(window, "report-sources");

    window->generateButton()->click();
    const QString path = report(doc->modelName() + "_Sources.csv");
    ASSERT_EQ(reports(), QStringList({ QFileInfo(path).fileName() }));
    EXPECT_EQ(apps.launched(), QStringList({ "--editor", path }));
    EXPECT_FALSE(window->generateButton()->isEnabled());
    auto* timer = window->findChild<QTimer*>("reportCloseTimer");
    ASSERT_TRUE(timer);
    timer->start(0);
    EXPECT_TRUE(TestSupport::waitUntil([this] { return !sheet<SourcesReport>(); }, "the sheet closing"));
    EXPECT_EQ(UserDefaults::standard().stringForKey("csvApplication"), "editor.desktop");
}

TEST_F(ListingSheets, StatisticsCountAfterShowingAddLifespansOnceAndSaveAgain)
{
    WorkspaceFixture apps(dir.path(), "text/rtf");
    ReportsMenuActions::statisticsReport();
    StatisticsReport* window = sheet<StatisticsReport>();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->table()->rowCount(), 0);
    EXPECT_TRUE(TestSupport::waitUntil([window] { return window->table()->rowCount() > 0; }, "the counting"));
    prompts.answer(1);
    window->lifespanButton()->click();
    EXPECT_FALSE(window->lifespanButton()->isVisible());
    EXPECT_TRUE(window->statistics().lifespansAdded());
    saveScreenshot(window, "report-statistics");
    const QString base = doc->modelName() + "_Statistics";
    window->saveButton()->click();
    EXPECT_EQ(apps.launched(), QStringList({ "--editor", report(base + ".rtf") }));
    window->saveButton()->click();
    EXPECT_EQ(apps.launched(), QStringList({ "--editor", report(base + "_1.rtf") }));
    EXPECT_EQ(reports(), QStringList({ base + ".rtf", base + "_1.rtf" }));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ListingSheets, PicturesReportClosesWhenWrittenAndStaysWhenItCannotBe)
{
    WorkspaceFixture apps(dir.path(), "text/rtf");
    ReportsMenuActions::generatePicturesReport();
    PicturesReport* window = sheet<PicturesReport>();
    ASSERT_TRUE(window);
    window->sortSequence()->button(2)->click();
    saveScreenshot(window, "report-pictures");

    QFile::setPermissions(Utils::reportsDirectory(), QFile::ReadOwner | QFile::ExeOwner);
    {
        WithoutPermissionOverride asAUser;
        window->generateButton()->click();
    }
    QFile::setPermissions(Utils::reportsDirectory(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(reports().isEmpty());

    window->generateButton()->click();
    EXPECT_EQ(reports(), QStringList({ "PicturesReport.rtf" }));
    EXPECT_EQ(apps.launched(), QStringList({ "--editor", report("PicturesReport.rtf") }));
    EXPECT_FALSE(sheet<PicturesReport>());
}

TEST_F(ListingSheets, PeopleWithoutAncestorsWriteTheSelectedPeopleAfterOneQuestion)
{
    WorkspaceFixture apps(dir.path(), "text/rtf");
    ReportsMenuActions::generatePeopleWithoutAncestorsReport();
    PeopleWithoutAncestors* window = sheet<PeopleWithoutAncestors>();
    ASSERT_TRUE(window);
    ASSERT_GE(window->people()->rowCount(), 2);
    for (FTPerson* p : window->people()->people())
        EXPECT_TRUE(p->parents().isEmpty());

    window->printButton()->click();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("TryAgain"));
    EXPECT_TRUE(reports().isEmpty());

    prompts.clear();
    window->table()->selectionModel()->select(window->people()->index(0, 0),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    window->table()->selectionModel()->select(window->people()->index(1, 0),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    saveScreenshot(window, "report-no-ancestors");
    prompts.answer(1);
    window->printButton()->click();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].buttons, QStringList({ "With Details", "Names Only" }));
    const QString path = report(doc->modelName() + "_NoAncestors.rtf");
    ASSERT_EQ(reports(), QStringList({ QFileInfo(path).fileName() }));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    EXPECT_EQ(rtf.count("\n   "), 2) << "two short entries";
    EXPECT_EQ(apps.launched(), QStringList({ "--editor", path }));
    EXPECT_TRUE(window->isVisible());
}
}
