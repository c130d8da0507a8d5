// The sheets of the data checks and event lists in the running program, opened from the Reports and Events menus
// on a database: each runs its pass, lets the user act on a row and writes its file.
#include "ReportSheetsFixture.h"

#include "reports/ui/DataValidationReport.h"
#include "reports/ui/DatabaseChangesReport.h"
#include "reports/ui/EventsReport.h"
#include "reports/ui/EventsWithNoSourceReferences.h"
#include "reports/ui/PeopleListModel.h"

#include "tools/EventsByDateModel.h"

#include "editor/ui/AddEventButton.h"
#include "editor/ui/EditorTableView.h"
#include "editor/ui/NotesDialog.h"

#include "model/FTEvent.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "shell/Utils.h"

#include "platform/NotificationCenter.h"

#include "Screenshot.h"
#include "WorkspaceFixture.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

class DataChecksSheets : public ReportSheetsFixture {
protected:
    QStringList reports() const { return QDir(Utils::reportsDirectory()).entryList(QDir::Files, QDir::Name); }
    QString report(const QString& name) const { return Utils::reportsDirectory() + "/" + name; }
    static void selectRow(QTableView* table, int row)
    {
        table->selectionModel()->setCurrentIndex(
            table->model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    FTMoc* moc() const { return doc->moc(); }
};

TEST_F(DataChecksSheets, ValidationListsTheChosenChecksAndActsOnARow)
{
    WorkspaceFixture apps(dir.path(), "text/rtf");
    FTPerson* lone = newPerson(moc(), "Lone Wolf", LocalizedString("MaleShort"));
    ReportsMenuActions::generateDataValidationReport();
    DataValidationReport* window = sheet<DataValidationReport>();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isModal());
    EXPECT_FALSE(moc()->hasChanges()) << "saved before the sheet";

    window->reportButton()->click();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "Nothing to print.");
    prompts.clear();

    for (int i : { 0, 1, 2, 4, 5 })
        window->checkBox(i)->setChecked(false);
    window->checkButton()->click();
    ASSERT_FALSE(window->rows().isEmpty());
    int row = -1;
    for (int i = 0; i < window->rows().size(); ++i) {
        EXPECT_THAT(window->rows()[i].reason().toStdString(), HasSubstr("is not related to anyone"));
        if (window->rows()[i].person() == lone)
            row = i;
    }
    ASSERT_GE(row, 0);

    window->focalButton()->click();
    EXPECT_EQ(prompts.records.size(), 1) << "no row selected";
    prompts.clear();
    selectRow(window->table(), row);
    saveScreenshot(window, "report-data-validation");
    window->focalButton()->click();
    EXPECT_EQ(moc()->focalPerson(), lone);

    QString notesOf;
    whenModal([&notesOf](QDialog* dialog) {
        if (auto* notes = qobject_cast<NotesDialog*>(dialog))
            notesOf = notes->personName();
        dialog->reject();
    });
    window->notesButton()->click();
    EXPECT_EQ(notesOf, lone->name());

    prompts.answer(1);
    window->reportButton()->click();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].buttons, QStringList({ "With Details", "Names Only" }));
    const QString file = doc->modelName() + "_Inconsistencies.rtf";
    EXPECT_EQ(reports(), QStringList({ file }));
    EXPECT_EQ(apps.launched(), QStringList({ "--editor", report(file) }));
    EXPECT_TRUE(window->isVisible());
    window->closeButton()->click();
    EXPECT_FALSE(sheet<DataValidationReport>());
}

TEST_F(DataChecksSheets, ChangesListAfterShowingFollowTheDaysAndOpenTheirFile)
{
    WorkspaceFixture apps(dir.path(), "text/plain");
    // The synthetic database carries no change stamps; these two are changed now.
    FTPerson* ann = newPerson(moc(), "Ann Changed", LocalizedString("FemaleShort"), "1950");
    FTPerson* bob = newPerson(moc(), "Bob Changed", LocalizedString("MaleShort"));
    ReportsMenuActions::databaseChangesReport();
    DatabaseChangesReport* window = sheet<DatabaseChangesReport>();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->loadTimer()->isActive()) << "the list is built once the sheet shows";
    EXPECT_EQ(window->people().size(), 0);
    EXPECT_TRUE(TestSupport::waitUntil([window] { return !window->loadTimer()->isActive(); }, "the list"));
    const QSet<FTPerson*> changed { ann, bob };
    const QList<FTPerson*> listed = window->people();
    EXPECT_EQ(QSet<FTPerson*>(listed.begin(), listed.end()), changed);

    // A week ahead, nothing changed in the last two days; in the last eight days both did.
    window->setNow(QDateTime::currentDateTime().addDays(7));
    window->daysField()->setValue(2);
    EXPECT_TRUE(window->people().isEmpty());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "No changes have been made in the last 2 days");
    window->daysField()->setValue(8);
    EXPECT_EQ(window->people().size(), 2);

    window->focalButton()->click();
    EXPECT_EQ(prompts.records.size(), 2) << "no row selected";
    selectRow(window->table(), 1);
    window->focalButton()->click();
    EXPECT_EQ(moc()->focalPerson(), window->people()[1]);
    saveScreenshot(window, "report-database-changes");

    window->generateButton()->click();
    const QString file = doc->modelName() + "_LatestChanges.txt";
    EXPECT_EQ(reports(), QStringList({ file }));
    EXPECT_EQ(apps.launched(), QStringList({ "--editor", report(file) }));
    QFile text(report(file));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_THAT(text.readAll().toStdString(), HasSubstr(window->people()[0]->nameWithBirthAndDeathYears().toStdString()));

    window->resize(700, 520);
    window->closeButton()->click();
    ReportsMenuActions::databaseChangesReport();
    ASSERT_TRUE(sheet<DatabaseChangesReport>());
    EXPECT_EQ(sheet<DatabaseChangesReport>()->size(), QSize(700, 520)) << "the size kept for the run";
}

TEST_F(DataChecksSheets, UncitedEventsAreEditedCitedAndRefreshedFromAnyDatabase)
{
    FTPerson* ann = newPerson(moc(), "Ann Uncited", LocalizedString("FemaleShort"), "1900", "Leeds");
    FTEvent* birth = ann->birth();
    FTSource* parish = FTSource::initInMoc(moc());
    parish->setTitle("Parish Register");
    FTEvent* cited = FTEvent::initInMoc(moc(), FTEvent::OtherPersonalEvent, ann, "OCCU");
    FTSourceRel::initInMoc(moc(), parish, cited, QString());
    FTEvent* burial = FTEvent::initInMoc(moc(), FTEvent::OtherPersonalEvent, ann, "BURI");
    burial->setPlace("Hull");

    int refreshes = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        "RefreshAllViews", nullptr, [&refreshes](const Notification&) { ++refreshes; });
    ReportsMenuActions::eventsWithNoSourceReferences();
    EventsWithNoSourceReferences* window = sheet<EventsWithNoSourceReferences>();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->events().contains(birth));
    EXPECT_FALSE(window->events().contains(cited));

    auto* model = static_cast<EventsByDateModel*>(window->table()->model());
    const int row = model->rowOf(birth);
    selectRow(window->table(), row);
    EXPECT_THAT(window->description()->toPlainText().toStdString(), HasSubstr("Leeds"));
    EXPECT_TRUE(model->flags(model->index(row, EventsByDateModel::PlaceColumn)) & Qt::ItemIsEditable);
    ASSERT_TRUE(model->setData(model->index(row, EventsByDateModel::PlaceColumn), "York"));
    EXPECT_EQ(birth->place(), "York");
    EXPECT_THAT(window->description()->toPlainText().toStdString(), HasSubstr("York"));
    saveScreenshot(window, "report-uncited-events");

    // Citing keeps the event until the list is filtered again; the citation sheet that opens is closed here.
    window->addReference(parish);
    QApplication::processEvents();
    for (QDialog* open : doc->dovurWindow()->findChildren<QDialog*>())
        if (open != window && open->isVisible())
            open->accept();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(birth->sourceRels().size(), 1);
    EXPECT_TRUE(window->events().contains(birth));
    window->excludeCheckBox()->click();
    EXPECT_TRUE(window->events().contains(cited)) << "every event with the option off";
    window->excludeCheckBox()->click();
    EXPECT_FALSE(window->events().contains(birth));

    // A refresh posted for another database shows the description again.
    selectRow(window->table(), model->rowOf(burial));
    EXPECT_THAT(window->description()->toPlainText().toStdString(), HasSubstr("Hull"));
    burial->setPlace("Whitby");
    int elsewhere = 0;
    NotificationCenter::defaultCenter().post("RefreshAllViews", &elsewhere);
    EXPECT_THAT(window->description()->toPlainText().toStdString(), HasSubstr("Whitby"));

    const int before = refreshes;
    window->closeButton()->click();
    EXPECT_GT(refreshes, before) << "the end refreshes every view";
    NotificationCenter::defaultCenter().removeObserver(token);
}

TEST_F(DataChecksSheets, EventsReportFiltersPeopleShowsTheirEventsAndWritesTheGrid)
{
    WorkspaceFixture apps(dir.path(), "text/csv");
    FTPerson* ann = newPerson(moc(), "Ann Grid", LocalizedString("FemaleShort"), "1850");
    FTEvent* job = FTEvent::initInMoc(moc(), FTEvent::OtherPersonalEvent, ann, "NATU");
    job->setDate("1875");
    ReportsMenuActions::generateTableOfEvents();
    EventsReport* window = sheet<EventsReport>();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->people()->rowCount(), moc()->count("Person"));
    EXPECT_THAT(window->eventTypeButton()->eventNamesArray(), ::testing::Contains("Naturalisation (1)"));

    window->searchField()->setText("ann gri");
    ASSERT_EQ(window->people()->rowCount(), 1);
    EXPECT_EQ(window->events(), QList<FTEvent*>({ ann->birth(), job })) << "the first person's events, by date";
    window->eventsTable()->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(window->events(), QList<FTEvent*>({ job, ann->birth() })) << "the date heading flips the order";

    window->searchField()->clear();
    window->eventTypeButton()->addEvent("Naturalisation (1)");
    EXPECT_EQ(window->people()->people(), QList<FTPerson*>({ ann }));
    window->notTheEventTypeCheckBox()->click();
    EXPECT_FALSE(window->people()->people().contains(ann));
    EXPECT_EQ(window->people()->rowCount(), moc()->count("Person") - 1);
    window->notTheEventTypeCheckBox()->click();
    QApplication::processEvents();
    saveScreenshot(window, "report-events");

    window->generateButton()->click();
    const QString file = doc->modelName() + "_EventsReport.csv";
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "Report saved to file: " + report(file));
    EXPECT_EQ(apps.launched(), QStringList({ "--editor", report(file) }));
    QFile csv(report(file));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_THAT(csv.readAll().toStdString(), HasSubstr("\"NATU 1875\""));
    EXPECT_TRUE(window->progressMessage()->text().isEmpty());
}

}
