// What the People and Compare-and-merge menu commands do around their windows: choosing a person just added,
// attaching an existing person as an associated person, finding whom the focal person may be merged with, and the
// backup before another database is compared.
#include "shell/AlertHooks.h"
#include "shell/BackupPanel.h"
#include "shell/MergeCommands.h"
#include "shell/PeopleCommands.h"

#include "model/FTAssociation.h"
#include "model/FTModelDefaults.h"

#include "../model/PeopleFixture.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <gmock/gmock.h>

#include <stdexcept>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

class RefusingPanel : public BackupPanel {
public:
    QString answer;
    int runs = 0;
    QString run(const QString&, const QString&, const QString&, const QString&) override
    {
        ++runs;
        return answer;
    }
};

// Ann (1900, F) is the focal person; Bob (1900, M) and Cora (1900, F), Dora (1901, F) and Eve (no year, F).
class MenuCommands : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        data = dir.path() + "/data";
        QDir().mkpath(data);
        defaults().setString("KinloomDataDirectory", data);
        ann = person("Ann Ash", F());
        year(ann, "birth", 1900);
        bob = person("Bob Ash", M());
        year(bob, "birth", 1900);
        zoe = person("Zoe Ash", F());
        year(zoe, "birth", 1900);
        cora = person("Cora Ash", F());
        year(cora, "birth", 1900);
        dora = person("Dora Ash", F());
        year(dora, "birth", 1901);
        eve = person("Eve Ash", F());
        moc->setFocalPerson(ann);
        moc->setSelectedPerson(ann);
        undo()->closeOpenGroups();
        ASSERT_TRUE(moc->saveMoc());
        prompts.clear();
        Utils::alertHooks() = {};
        Utils::alertHooks().terminate = [this] { ++terminations; };
        Utils::alertHooks().openUrl = [](const QUrl&) { return true; };
    }
    void TearDown() override
    {
        Utils::alertHooks() = {};
        PeopleFixture::TearDown();
    }
    FTMocUndoManager* undo() { return moc->undoManager(); }
    QList<FTAssociation*> associations() { return moc->fetch<FTAssociation>(); }

    QString data;
    FTPerson *ann = nullptr, *bob = nullptr, *zoe = nullptr, *cora = nullptr, *dora = nullptr, *eve = nullptr;
    int terminations = 0;
};

}

TEST_F(MenuCommands, APersonAddedBecomesFocalOrSelectedInAnUndoGroupNamedForThemAndACancelChangesNothing)
{
    const int groups = undo()->undoCount();
    EXPECT_FALSE(PeopleCommands::personAdded(nullptr, PeopleCommands::AddedAs::Unconnected));
    EXPECT_FALSE(PeopleCommands::personAdded(nullptr, PeopleCommands::AddedAs::Associated));
    undo()->closeOpenGroups();
    EXPECT_EQ(undo()->undoCount(), groups);
    EXPECT_EQ(moc->focalPerson(), ann);
    EXPECT_EQ(moc->selectedPerson(), ann);

    // The add itself may still be open when the sheet ends: the choice is a step of its own.
    FTPerson* added = person("Fay Oak", F());
    year(added, "birth", 1930);
    EXPECT_TRUE(PeopleCommands::personAdded(added, PeopleCommands::AddedAs::Unconnected));
    EXPECT_EQ(moc->focalPerson(), added);
    EXPECT_EQ(undo()->undoActionName(), L("FocusOn") + " Fay Oak (1930 - )");
    EXPECT_EQ(undo()->groupingLevel(), 0);

    EXPECT_TRUE(PeopleCommands::personAdded(bob, PeopleCommands::AddedAs::Associated));
    EXPECT_EQ(moc->selectedPerson(), bob);
    EXPECT_EQ(moc->focalPerson(), added);
    EXPECT_EQ(undo()->undoActionName(), L("Select") + " Bob Ash (1900 - )");

    // Undoing the choice leaves the added person in the database.
    prompts.answer(0);
    undo()->undo();
    EXPECT_EQ(moc->modelDefaults()->selectedPerson(), ann);
    prompts.answer(0);
    undo()->undo();
    EXPECT_EQ(moc->modelDefaults()->focalPerson(), ann);
    EXPECT_FALSE(added->isDeleted());
}

TEST_F(MenuCommands, AttachingAsAssociatedPersonMakesOneAssociationOnlyForAnotherPersonChosen)
{
    struct Case {
        const char* what;
        FTPerson* chosen;
        bool made;
    };
    const Case cases[] = {{"nobody chosen", nullptr, false}, {"the focal person", ann, false}, {"Bob", bob, true}};
    for (const Case& c : cases) {
        QList<FTAssociation*> dialogs;
        FTAssociation* made = PeopleCommands::attachExistingPersonAsAssociatedPerson(
            moc.get(), [&] { return c.chosen; },
            [&](FTAssociation* shown) { dialogs.push_back(shown); });
        if (!c.made) {
            EXPECT_EQ(made, nullptr) << c.what;
            EXPECT_TRUE(associations().isEmpty()) << c.what;
            EXPECT_TRUE(dialogs.isEmpty()) << c.what;
            continue;
        }
        ASSERT_NE(made, nullptr);
        EXPECT_THAT(associations(), ElementsAre(made));
        EXPECT_EQ(made->fromPerson(), ann);
        EXPECT_EQ(made->toPerson(), bob);
        EXPECT_THAT(dialogs, ElementsAre(made));
    }
}

TEST_F(MenuCommands, MergeCandidatesShareTheFocalPersonsBirthYearAndGenderSortedByName)
{
    QString warning;
    EXPECT_THAT(MergeCommands::mergeCandidates(moc.get(), &warning), ElementsAre(cora, zoe));
    EXPECT_TRUE(warning.isEmpty());

    moc->setFocalPerson(bob);
    EXPECT_TRUE(MergeCommands::mergeCandidates(moc.get(), &warning).isEmpty());
    EXPECT_EQ(warning, QString("%1 %2 %3 1900 %4").arg(L("MergeWarn3"), L("male"), L("MergeWarn4"), L("MergeWarn5")));

    moc->setFocalPerson(eve);
    EXPECT_TRUE(MergeCommands::mergeCandidates(moc.get(), &warning).isEmpty());
    EXPECT_EQ(warning, QString("%1 Eve Ash %2 %3 %4").arg(L("MergeWarn1"), L("because"), L("she"), L("MergeWarn2")));

    // Neither gender: the neutral words, and only others of no gender.
    FTPerson* kim = person("Kim Ash");
    moc->setFocalPerson(kim);
    MergeCommands::mergeCandidates(moc.get(), &warning);
    EXPECT_EQ(warning,
              QString("%1 Kim Ash %2 %3 %4").arg(L("MergeWarn1"), L("because"), L("heOrShe"), L("MergeWarn2")));
    year(kim, "birth", 1900);
    MergeCommands::mergeCandidates(moc.get(), &warning);
    EXPECT_EQ(warning,
              QString("%1 %2 %3 1900 %4").arg(L("MergeWarn3"), L("person"), L("MergeWarn4"), L("MergeWarn5")));
}

TEST_F(MenuCommands, MergingTwoPeopleRunsTheWindowOnTheCandidatesThenSavesAndRefreshes)
{
    int refreshes = 0;
    NotificationCenter::defaultCenter().addObserver(
        "RefreshAllViews", nullptr, [&](const Notification&) { ++refreshes; }, this);
    QList<QList<FTPerson*>> runs;
    MergeCommands::mergeTwoPeopleWithinTheCurrentDatabase(moc.get(), [&](FTMoc* m, const QList<FTPerson*>& people) {
        EXPECT_EQ(m, moc.get());
        runs << people;
        people.first()->setName("Cora Merged");
    });
    EXPECT_THAT(runs, ElementsAre(ElementsAre(cora, zoe)));
    EXPECT_FALSE(moc->hasChanges()) << "saved after the window";
    EXPECT_EQ(refreshes, 1);

    // A warning instead of the window.
    moc->setFocalPerson(eve);
    runs.clear();
    MergeCommands::mergeTwoPeopleWithinTheCurrentDatabase(moc.get(), [&](FTMoc*, const QList<FTPerson*>& people) {
        runs << people;
    });
    EXPECT_TRUE(runs.isEmpty());
    EXPECT_THAT(messages(), ElementsAre(QString("%1 Eve Ash %2 %3 %4").arg(L("MergeWarn1"), L("because"), L("she"),
                                                                             L("MergeWarn2"))));
    EXPECT_EQ(refreshes, 1);
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

TEST_F(MenuCommands, AnExceptionInTheMergeWindowIsReportedAndNothingIsSaved)
{
    MergeCommands::mergeTwoPeopleWithinTheCurrentDatabase(moc.get(), [&](FTMoc*, const QList<FTPerson*>& people) {
        people.first()->setName("Half merged");
        throw std::runtime_error("merge went wrong");
    });
    EXPECT_TRUE(moc->hasChanges());
    EXPECT_EQ(terminations, 1);
    QFile log(data + "/exceptionsLog.txt");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(text.contains("in AppController_CompareAndMerge : mergeTwoPeople_2 at line 102")) << text.toStdString();
    EXPECT_TRUE(text.contains("merge went wrong"));
}

// A backup copies the file: while the changes cannot be written it would silently lack them, so none is offered.
TEST_F(MenuCommands, NoBackupBeforeComparingWhileTheChangesCannotBeSaved)
{
    moc->setBusyTimeout(10);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(moc->databaseURL().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    ann->setName("Ann Unsaved");
    RefusingPanel panel;
    panel.answer = data + "/Backups/Before compare.RezUdu";
    EXPECT_FALSE(MergeCommands::backUpBeforeComparing(moc.get(), panel));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    EXPECT_EQ(panel.runs, 0);
    EXPECT_FALSE(QFile::exists(panel.answer));
    EXPECT_TRUE(moc->hasChanges());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, L("bkupWarnTitle"));
    const std::string info = prompts.records[0].info.toStdString();
    EXPECT_THAT(info, HasSubstr("The latest changes to \"Family\" could not be saved"));
    EXPECT_THAT(info, HasSubstr("in use by another program"));
    EXPECT_THAT(info, HasSubstr(L("bkupWarn").toStdString()));
}

TEST_F(MenuCommands, ARefusedBackupBeforeComparingWarnsAndAWrittenOneDoesNot)
{
    RefusingPanel panel;
    ann->setName("Ann Saved");
    EXPECT_FALSE(MergeCommands::backUpBeforeComparing(moc.get(), panel));
    EXPECT_FALSE(moc->hasChanges()) << "saved first";
    EXPECT_EQ(panel.runs, 1);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, L("bkupWarnTitle"));
    EXPECT_EQ(prompts.records[0].info, L("bkupWarn"));

    prompts.clear();
    panel.answer = data + "/Backups/Before compare.RezUdu";
    EXPECT_TRUE(MergeCommands::backUpBeforeComparing(moc.get(), panel));
    EXPECT_TRUE(QFile::exists(panel.answer));
    EXPECT_TRUE(prompts.records.isEmpty());
}
