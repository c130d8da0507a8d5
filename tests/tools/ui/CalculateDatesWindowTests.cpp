// The calculated birth and death dates windows as the Events menu opens them: the candidates listed, one press
// filling the dates and opening the log, and a second opening finding nothing to do.

#include "ToolsWindowFixture.h"
#include "WorkspaceFixture.h"

#include "tools/ui/CalculateBirthDates.h"
#include "tools/ui/CalculateDeathDates.h"

#include "platform/Workspace.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

class CalculateDatesWindowTest : public ToolsWindowFixture {
protected:
    FTEvent* other(FTPerson* p, const char* tag, const QString& date)
    {
        FTEvent* e = FTEvent::initInMoc(moc, FTEvent::OtherPersonalEvent, p, tag);
        e->setDate(date);
        return e;
    }
    static int candidatesOf(FTMoc* moc, const char* a, const char* b, bool births)
    {
        return moc->count<FTEvent>([&](const FTEvent* e) {
            if (e->type() != FTEvent::OtherPersonalEvent || e->year() == 0 || (e->subtype() != a && e->subtype() != b))
                return false;
            const FTEvent* own = births ? e->person()->birth() : e->person()->death();
            return !own || own->year() == 0;
        });
    }
};

TEST_F(CalculateDatesWindowTest, OnePressFillsTheBirthDatesAndOpensTheLog)
{
    WorkspaceFixture apps(dir.path(), Workspace::shared().mimeTypeForFile("x.txt"));
    FTPerson* ann = FTPerson::initInMoc(moc, "Ann Lee", "F");
    other(ann, "BAPM", "5 Mar 1900");
    FTPerson* bob = FTPerson::initInMoc(moc, "Bob Lee", "M");
    other(bob, "CHR", "1850");
    moc->saveMoc();
    const int candidates = candidatesOf(moc, "BAPM", "CHR", true);

    ToolsMenuActions::calculateBirthsFromChristeningsOrBaptisms();
    auto* w = sheet<CalculateBirthDates>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), L("CalculateBirthDatesTitle"));
    EXPECT_EQ(w->candidatesTable()->model()->rowCount(), candidates);
    saveScreenshot(w, "CalculateBirthDates");

    w->findChild<QAbstractButton*>("createDates")->click();
    EXPECT_EQ(ann->birth()->date(), "bef 05 Mar 1900");
    EXPECT_EQ(bob->birth()->date(), "abt 1850");
    EXPECT_EQ(w->progressIndicator()->value(), 100);
    const QString added = w->progressMessageLabel()->text();
    EXPECT_TRUE(added.startsWith(L("Added"))) << added.toStdString();
    const QStringList launched = apps.launched();
    ASSERT_EQ(launched.size(), 2);
    EXPECT_EQ(launched[0], "--editor");
    EXPECT_EQ(QFileInfo(launched[1]).fileName(), "CalculateBirthDates.txt");
    EXPECT_EQ(QFileInfo(launched[1]).absolutePath(), data + "/Reports");
    saveScreenshot(w, "CalculateBirthDatesDone");

    // Closing saves and refreshes every view.
    refreshes = 0;
    w->done(0);
    settleEvents();
    NotificationCenter::defaultCenter().flushQueue();
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_EQ(refreshes, 1);

    // A second opening finds nothing to do.
    prompts.clear();
    ToolsMenuActions::calculateBirthsFromChristeningsOrBaptisms();
    auto* again = sheet<CalculateBirthDates>();
    ASSERT_NE(again, nullptr);
    EXPECT_THAT(texts(), ElementsAre(L("NothingToDo")));
    EXPECT_EQ(again->candidatesTable()->model()->rowCount(), 0);
    EXPECT_FALSE(again->findChild<QAbstractButton*>("createDates")->isEnabled());
    again->done(0);
}

TEST_F(CalculateDatesWindowTest, TheDeathWindowFillsDeathsFromBurials)
{
    WorkspaceFixture apps(dir.path(), Workspace::shared().mimeTypeForFile("x.txt"));
    FTPerson* cy = FTPerson::initInMoc(moc, "Cy Lee", "M");
    other(cy, "BURI", "Jun 1930");
    moc->saveMoc();
    ToolsMenuActions::calculateDeathsFromBurialsOrCremations();
    auto* w = sheet<CalculateDeathDates>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), L("CalculateDeathDatesTitle"));
    EXPECT_EQ(w->candidatesTable()->model()->rowCount(), candidatesOf(moc, "BURI", "CREM", false));
    w->createDates();
    EXPECT_EQ(cy->death()->date(), "bef Jun 1930");
    EXPECT_EQ(cy->death()->notes(), L("DateFromBurial"));
    EXPECT_EQ(QFileInfo(apps.launched().value(1)).fileName(), "CalculateDeathDates.txt");
    w->done(0);
}
