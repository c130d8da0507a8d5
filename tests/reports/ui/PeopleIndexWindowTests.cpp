// The people index and the relationship path sheet in the running program: opened from the toolbar, the family
// diagram's command and the People menu, filtered, a person made focal, the CSV listing and the path report
// written and handed over.
#include "ReportSheetsFixture.h"

#include "reports/PeopleIndexCsv.h"
#include "reports/ui/IndexOfPeople.h"
#include "reports/ui/PeopleIndexCsvOptions.h"
#include "reports/ui/PeopleIndexTableModel.h"
#include "reports/ui/PeopleListModel.h"
#include "reports/ui/RelativesReport.h"

#include "diagrams/DiagramHooks.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "shell/Utils.h"
#include "shell/ui/ToolbarController.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include "Screenshot.h"
#include "WorkspaceFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>

namespace {

class PeopleIndexWindow : public ReportSheetsFixture {
protected:
    void TearDown() override
    {
        for (DOvurDocument* d : documents())
            if (IndexOfPeople* index = IndexOfPeople::indexOf(d))
                index->close();
        QApplication::processEvents();
        ReportSheetsFixture::TearDown();
    }
    QToolButton* peopleButton(DOvurDocument* d) const
    {
        QWidget* item = d->toolbarController()->itemView(ToolbarController::kPeopleIndex);
        auto* button = qobject_cast<QToolButton*>(item);
        return button ? button : item->findChild<QToolButton*>();
    }
    QStringList reports() const { return QDir(Utils::reportsDirectory()).entryList(QDir::Files, QDir::Name); }
};

TEST_F(PeopleIndexWindow, OpensOnceFromTheToolbarAndTheDiagramFiltersAndMakesAPersonFocal)
{
    QToolButton* button = peopleButton(doc);
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->isEnabled());
    button->click();
    IndexOfPeople* index = IndexOfPeople::indexOf(doc);
    ASSERT_TRUE(index);
    EXPECT_TRUE(index->isVisible());
    EXPECT_EQ(index->windowTitle(), LocalizedString("IndexOfPeopleIn") + " " + doc->modelName());
    // While "keep above" is on (the first-run value), the index is a tool window of the main window.
    EXPECT_EQ(index->parentWidget(), doc->dovurWindow());
    DiagramHooks::shared().peopleIndex(doc->moc());
    EXPECT_EQ(IndexOfPeople::indexOf(doc), index) << "one index per database";

    const int everybody = index->tableModel()->rowCount();
    EXPECT_EQ(everybody, doc->moc()->count("Person"));
    FTPerson* selected = doc->moc()->selectedPerson();
    retype(index->filterField(IndexOfPeople::FamilyNameFilter), selected->familyName());
    const int some = index->tableModel()->rowCount();
    EXPECT_GT(some, 0);
    EXPECT_LT(some, everybody);
    // Blanks typed into a year are taken out of the field.
    retype(index->filterField(IndexOfPeople::BirthYearFilter), "> 1");
    EXPECT_EQ(index->filterField(IndexOfPeople::BirthYearFilter)->text(), ">1");

    index->selectPerson(index->tableModel()->people().last());
    FTPerson* chosen = index->selectedPerson();
    ASSERT_TRUE(chosen);
    index->promoteToFocalPerson();
    EXPECT_EQ(doc->moc()->focalPerson(), chosen);
    EXPECT_FALSE(index->relationshipText().isEmpty());
    index->resize(900, 560);
    saveScreenshot(index, "people-index");

    // The People menu's item finds the same index.
    ReportsMenuActions::peopleIndex();
    EXPECT_EQ(IndexOfPeople::indexOf(doc), index);
    index->close();
    QApplication::processEvents();
    EXPECT_FALSE(IndexOfPeople::indexOf(doc));
    EXPECT_FALSE(UserDefaults::standard().stringForKey("peopleIndexFrame").isEmpty());
}

TEST_F(PeopleIndexWindow, ClosingOneDatabasesIndexLeavesTheOtherRefreshing)
{
    DOvurDocument* other = open("Other.RezUdu");
    ASSERT_TRUE(other);
    IndexOfPeople* first = IndexOfPeople::peopleIndexWindow(doc);
    IndexOfPeople* second = IndexOfPeople::peopleIndexWindow(other);
    ASSERT_TRUE(first && second && first != second);
    first->close();
    QApplication::processEvents();
    EXPECT_FALSE(IndexOfPeople::indexOf(doc));

    retype(second->filterField(IndexOfPeople::GivenNamesFilter), "zzz");
    retype(second->filterField(IndexOfPeople::SpousesNameFilter), "qq");
    EXPECT_EQ(second->tableModel()->rowCount(), 0);
    NotificationCenter::defaultCenter().post("RefreshAllViews", nullptr, doc->moc());
    EXPECT_EQ(second->filterField(IndexOfPeople::GivenNamesFilter)->text(), "");
    EXPECT_EQ(second->filterField(IndexOfPeople::SpousesNameFilter)->text(), "qq");
    EXPECT_EQ(second->tableModel()->rowCount(), other->moc()->count("Person"));

    // "Keep above" switched off in one index: every index follows.
    IndexOfPeople* again = IndexOfPeople::peopleIndexWindow(doc);
    again->alwaysOnTopCheckBox()->click();
    EXPECT_FALSE(UserDefaults::standard().boolForKey("peopleIndexAlwaysOnTop"));
    EXPECT_EQ(again->parentWidget(), nullptr);
    EXPECT_EQ(second->parentWidget(), nullptr);
    EXPECT_TRUE(second->isVisible());
    again->alwaysOnTopCheckBox()->click();
    EXPECT_EQ(second->parentWidget(), other->dovurWindow());

    // The database's index goes with it.
    other->close();
    QApplication::processEvents();
    EXPECT_FALSE(IndexOfPeople::indexOf(other));
}

TEST_F(PeopleIndexWindow, TheKeptFrameIsCentredOnTheMainWindowWhenTheyDoNotMeet)
{
    const QRect main(100, 100, 1000, 700);
    EXPECT_EQ(IndexOfPeople::placedFrame(QRect(900, 700, 400, 300), main), QRect(900, 700, 400, 300));
    EXPECT_EQ(IndexOfPeople::placedFrame(QRect(3000, 50, 400, 300), main), QRect(400, 300, 400, 300));
    EXPECT_EQ(IndexOfPeople::rectFromString(IndexOfPeople::rectString(QRect(-5, 7, 30, 40))), QRect(-5, 7, 30, 40));
    EXPECT_EQ(IndexOfPeople::rectFromString("{{1, 2}, {3}}"), QRect());
}

TEST_F(PeopleIndexWindow, WritesTheListingShownAndOpensIt)
{
    WorkspaceFixture apps(dir.path(), "text/csv");
    IndexOfPeople* index = IndexOfPeople::peopleIndexWindow(doc);
    retype(index->filterField(IndexOfPeople::FamilyNameFilter), doc->moc()->selectedPerson()->familyName());
    const int shown = index->tableModel()->rowCount();
    UserDefaults::standard().setBool("piCsvIncludeSpousesMCol", false);
    whenModal([](QDialog* dialog) {
        auto* options = qobject_cast<PeopleIndexCsvOptions*>(dialog);
        ASSERT_TRUE(options);
        EXPECT_FALSE(options->checkBox(PeopleIndexCsv::SpousesMCol)->isChecked());
        options->checkBox(PeopleIndexCsv::ToDo)->click();
        saveScreenshot(options, "people-index-csv-options");
        options->generateButton()->click();
    });
    index->print();
    EXPECT_FALSE(UserDefaults::standard().boolForKey("piCsvIncludeToDo"));
    const QString name = doc->modelName() + "_" + LocalizedString("Index") + ".csv";
    EXPECT_EQ(reports(), QStringList{name});
    EXPECT_EQ(texts(), QStringList{LocalizedString("IndexCsvNote")});
    EXPECT_EQ(apps.launched(), (QStringList{"--editor", Utils::reportsDirectory() + "/" + name}));
    QFile file(Utils::reportsDirectory() + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('\n'), shown + 1);

    // Closing the options writes nothing.
    whenModal([](QDialog* dialog) { dialog->reject(); });
    index->print();
    EXPECT_EQ(reports().size(), 1);
}

TEST_F(PeopleIndexWindow, ThePathSheetRunsFromTheIndexAndFromTheMenu)
{
    WorkspaceFixture apps(dir.path(), "text/rtf");
    FTMoc* moc = doc->moc();
    IndexOfPeople* index = IndexOfPeople::peopleIndexWindow(doc);
    FTPerson* focal = moc->focalPerson();
    FTPerson* target = nullptr;
    for (FTPerson* p : focal->spouses())
        target = p;
    ASSERT_TRUE(target);
    index->selectPerson(target);
    index->relationshipToFocalPerson();
    RelativesReport* pathSheet = index->findChild<RelativesReport*>();
    ASSERT_TRUE(pathSheet);
    EXPECT_TRUE(pathSheet->isVisible());
    ASSERT_TRUE(TestSupport::waitUntil([pathSheet] { return pathSheet->chainTable()->rowCount() > 0; }, "the path search"));
    EXPECT_EQ(pathSheet->chainTable()->rowCount(), 2);
    EXPECT_FALSE(pathSheet->message().isEmpty());
    saveScreenshot(pathSheet, "relationship-path");

    pathSheet->printButton()->click();
    ASSERT_EQ(reports().size(), 1);
    EXPECT_TRUE(reports()[0].startsWith(LocalizedString("relnBtwn")));
    EXPECT_EQ(apps.launched().value(1), Utils::reportsDirectory() + "/" + reports()[0]);
    pathSheet->printButton()->click();
    ASSERT_EQ(reports().size(), 2);
    EXPECT_TRUE(reports()[1].endsWith("_1.rtf")) << reports()[1].toStdString();

    // Another family name narrows the people table; no choice there is asked for.
    pathSheet->familyNameFilterField()->setText("no such family");
    EXPECT_EQ(pathSheet->peopleModel()->rowCount(), 0);
    pathSheet->printButton()->click();
    EXPECT_EQ(texts().value(0), LocalizedString("SelectPersonTryAgain"));
    pathSheet->close();

    // From the People menu: focal person to the selected person, as a sheet on the main window.
    moc->setSelectedPerson(target);
    ReportsMenuActions::relationshipToFocalPerson();
    auto* fromMenu = sheet<RelativesReport>();
    ASSERT_TRUE(fromMenu);
    EXPECT_EQ(fromMenu->path().sourcePerson(), focal);
    EXPECT_EQ(fromMenu->path().targetPerson(), target);
    fromMenu->close();
}

} // namespace
