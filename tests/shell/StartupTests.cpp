// The start of the program: the data folder and its samples, the recent databases, new databases, the menu rules
// and the history of focal people.
#include "shell/AppStartup.h"
#include "shell/FocalPeopleHistory.h"
#include "shell/MenuRules.h"
#include "shell/NewDatabase.h"
#include "shell/RecentDocuments.h"

#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/SyntheticDatabase.h"

#include "platform/AppPaths.h"
#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include "../model/ModelFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

QStringList g_log;
void captureLog(const QString& line) { g_log << line; }

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A fresh data folder (not made yet) and shared support folder for each test, with logging captured.
class Startup : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        TestSupport::useFreshDefaults();
        data = dir.path() + "/home/KinloomData";
        support = dir.path() + "/share/kinloom";
        QDir().mkpath(support);
        UserDefaults::standard().setString("KinloomDataDirectory", data);
        // The string tables come from the real support folder, loaded before it is replaced.
        LocalizedString("OK");
        savedSupport = AppPaths::sharedSupportDirectory();
        AppPaths::setSharedSupportDirectory(support);
        UserDefaults::standard().setBool("loggingOn", true);
        g_log.clear();
        FTLogSetSink(captureLog);
    }
    void TearDown() override
    {
        FTLogSetSink(nullptr);
        UserDefaults::standard().setBool("loggingOn", false);
        AppPaths::setSharedSupportDirectory(savedSupport);
        ModelFixture::TearDown();
    }

    QString data, support, savedSupport;
};

TEST_F(Startup, FirstStartMakesTheDataFolderAndCopiesTheSamples)
{
    ASSERT_TRUE(SyntheticDatabase::create(support + "/Royal92.RezUdu", 5));
    writeFile(support + "/royal92.ged", "0 HEAD\n0 TRLR\n");
    writeFile(support + "/Other.GED", "0 HEAD\n0 TRLR\n");
    writeFile(support + "/Localizable.strings", "\"a\" = \"b\";\n");

    ASSERT_FALSE(QFileInfo::exists(data));
    EXPECT_TRUE(AppStartup::ensureDatabaseExists());
    EXPECT_TRUE(QFileInfo(data).isDir());
    QStringList copied = QDir(data).entryList(QDir::Files);
    copied.sort();
    EXPECT_THAT(copied, ElementsAre("Other.GED", "Royal92.RezUdu", "royal92.ged"));
    EXPECT_EQ(readFile(data + "/royal92.ged"), readFile(support + "/royal92.ged"));
    // Only the database is a document; GEDCOM files are for the import.
    EXPECT_THAT(RecentDocuments::paths(), ElementsAre(data + "/Royal92.RezUdu"));
    EXPECT_EQ(AppStartup::recentDocumentToOpenAtLaunch(), data + "/Royal92.RezUdu");

    // Once the folder holds a database nothing is copied again.
    QFile::remove(data + "/royal92.ged");
    EXPECT_TRUE(AppStartup::ensureDatabaseExists());
    EXPECT_FALSE(QFileInfo::exists(data + "/royal92.ged"));
}

TEST_F(Startup, WithoutASampleDatabaseOnlyTheGedcomFilesAreCopiedAndNothingOpens)
{
    writeFile(support + "/royal92.ged", "0 HEAD\n0 TRLR\n");
    EXPECT_TRUE(AppStartup::ensureDatabaseExists());
    EXPECT_TRUE(QFileInfo::exists(data + "/royal92.ged"));
    EXPECT_TRUE(RecentDocuments::paths().isEmpty());
    EXPECT_EQ(AppStartup::recentDocumentToOpenAtLaunch(), "");
}

TEST_F(Startup, AFailedCopyIsLoggedAndTheOthersGoOn)
{
    ASSERT_TRUE(SyntheticDatabase::create(support + "/A.RezUdu", 2));
    ASSERT_TRUE(SyntheticDatabase::create(support + "/B.RezUdu", 2));
    QDir().mkpath(data);
    writeFile(data + "/A.RezUdu.txt", "x"); // not a database: the folder still counts as empty
    QDir().mkpath(data + "/A.RezUdu");      // a folder in the way of the first copy
    EXPECT_TRUE(AppStartup::ensureDatabaseExists());
    EXPECT_TRUE(QFileInfo(data + "/B.RezUdu").isFile());
    EXPECT_THAT(RecentDocuments::paths(), ElementsAre(data + "/B.RezUdu"));
    EXPECT_TRUE(g_log.contains(QStringLiteral("Could not copy %1/A.RezUdu to %2/A.RezUdu").arg(support, data)))
        << g_log.join("\n").toStdString();
}

TEST_F(Startup, TheLaunchSkipsDatabasesInTheTrashWhateverTheirCase)
{
    const QStringList recent = {
        "/home/u/.local/share/Trash/files/Old.RezUdu",
        "/home/u/trash/Older.RezUdu",
        "/home/u/KinloomData/Family.RezUdu",
        "/home/u/KinloomData/Second.RezUdu",
    };
    UserDefaults::standard().setObject(RecentDocuments::kKey, recent);
    EXPECT_EQ(AppStartup::recentDocumentToOpenAtLaunch(), "/home/u/KinloomData/Family.RezUdu");
    EXPECT_THAT(g_log, ElementsAre("File /home/u/.local/share/Trash/files/Old.RezUdu was ignored because it is in "
                                   "the trash.",
                                   "File /home/u/trash/Older.RezUdu was ignored because it is in the trash."));

    UserDefaults::standard().setObject(RecentDocuments::kKey, QStringList {recent[0]});
    EXPECT_EQ(AppStartup::recentDocumentToOpenAtLaunch(), "");
}

TEST_F(Startup, AnEmptyRecentListStartsWithTheSampleOfTheDataFolderInAnyCase)
{
    writeFile(data + "/ROYAL92.rezudu", "");
    EXPECT_EQ(AppStartup::recentDocumentToOpenAtLaunch(), data + "/ROYAL92.rezudu");
}

TEST_F(Startup, AnEmptyRecentListCopiesTheSampleWhenTheDataFolderHasNone)
{
    QDir().mkpath(data);
    writeFile(data + "/Family.RezUdu", "");
    ASSERT_TRUE(SyntheticDatabase::create(support + "/Royal92.RezUdu", 3));
    EXPECT_EQ(AppStartup::recentDocumentToOpenAtLaunch(), data + "/Royal92.RezUdu");
    EXPECT_EQ(readFile(data + "/Royal92.RezUdu"), readFile(support + "/Royal92.RezUdu"));
}

TEST_F(Startup, RecentDatabasesAreNewestFirstOnceEachAndAtMostTen)
{
    for (int i = 0; i < 12; ++i)
        RecentDocuments::noteNewRecentDocument(QStringLiteral("/d/%1.RezUdu").arg(i));
    RecentDocuments::noteNewRecentDocument("/d/5.RezUdu");
    const QStringList recent = RecentDocuments::paths();
    ASSERT_EQ(recent.size(), RecentDocuments::kMaxCount);
    EXPECT_EQ(recent[0], "/d/5.RezUdu");
    EXPECT_EQ(recent[1], "/d/11.RezUdu");
    EXPECT_EQ(recent.count("/d/5.RezUdu"), 1);
    EXPECT_FALSE(recent.contains("/d/1.RezUdu"));
}

TEST_F(Startup, ANewDatabaseHoldsItsFirstPersonAndNeverReplacesAFile)
{
    QDir().mkpath(data);
    writeFile(data + "/Smith Family.RezUdu", "someone else's data");

    const QString path = NewDatabase::create("Smith Family", "John Smith", "M");
    ASSERT_EQ(path, data + "/Smith Family_1.RezUdu");
    EXPECT_EQ(readFile(data + "/Smith Family.RezUdu"), "someone else's data");

    auto moc = reopen(path);
    ASSERT_TRUE(moc);
    const QList<FTPerson*> people = moc->fetch<FTPerson>();
    ASSERT_EQ(people.size(), 1);
    EXPECT_EQ(people[0]->name(), "John Smith");
    EXPECT_EQ(people[0]->gender(), "M");
    EXPECT_EQ(people[0]->numericId(), 1);
    EXPECT_EQ(moc->modelDefaults()->focalPerson(), people[0]);
    EXPECT_EQ(moc->modelDefaults()->maxPersonId(), 1);
}

TEST_F(Startup, WhenEveryNameIsTakenNothingIsCreatedOrChanged)
{
    QDir().mkpath(data);
    writeFile(data + "/Full.RezUdu", "original");
    for (int n = 1; n <= 1000; ++n)
        writeFile(QStringLiteral("%1/Full_%2.RezUdu").arg(data).arg(n), "taken");
    const int before = int(QDir(data).entryList(QDir::Files).size());

    EXPECT_EQ(NewDatabase::create("Full", "Ann", "F"), "");
    EXPECT_EQ(QDir(data).entryList(QDir::Files).size(), before);
    EXPECT_EQ(readFile(data + "/Full.RezUdu"), "original");
    EXPECT_EQ(readFile(data + "/Full_1000.RezUdu"), "taken");
    ASSERT_FALSE(prompts.records.isEmpty());
    EXPECT_THAT(prompts.records.last().text.toStdString(), ::testing::HasSubstr("already taken"));
}

TEST(MenuRules, WhatIsEnabledWithAndWithoutADatabase)
{
    struct Case {
        const char* title;
        bool quit, burning, document, sheet, enabled;
    } cases[] = {
        {"Open...", false, false, false, false, true},
        {"New...", false, false, false, false, true},
        {"Move Data Directory...", false, false, false, false, true},
        {"Quit Kinloom", true, false, false, false, true},
        {"Quit Kinloom", true, true, false, false, false},
        {"Quit Kinloom", true, true, true, false, false},
        {"Undo", false, false, false, false, false},
        {"Close", false, false, false, false, false},
        {"Undo", false, false, true, false, true},
        {"Open...", false, false, true, true, false},
        {"Close", false, false, true, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MenuRules::isMenuItemEnabled(c.title, c.quit, c.burning, c.document, c.sheet), c.enabled)
            << c.title << " document " << c.document << " sheet " << c.sheet << " burning " << c.burning;
}

class History : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        // Names as typed: the first-run "uppercaseFamilyName" would write "BROWN".
        TestSupport::useFreshDefaults();
        moc = newDatabase();
        ASSERT_TRUE(moc);
        for (int i = 0; i < 60; ++i)
            people << FTPerson::initInMoc(moc.get(), QStringLiteral("Person %1").arg(i), "F");
        history.setMoc(moc.get());
    }
    std::unique_ptr<FTMoc> moc;
    QList<FTPerson*> people;
    FocalPeopleHistory history;
};

TEST_F(History, NewestFirstWithoutDuplicates)
{
    for (int i = 0; i < 6; ++i)
        history.setFocalPerson(people[i]);
    history.setFocalPerson(people[2]);
    history.setFocalPerson(people[2]);
    EXPECT_THAT(history.people(), ElementsAre(people[2], people[5], people[4], people[3], people[1], people[0]));
    EXPECT_EQ(history.previousFocalPerson(), people[5]);
}

TEST_F(History, FiftyOneFocalPeopleKeepTheNewestFifty)
{
    for (int i = 0; i < 51; ++i)
        history.setFocalPerson(people[i]);
    EXPECT_EQ(history.count(), 50);
    EXPECT_EQ(history.personAt(0), people[50]);
    EXPECT_EQ(history.personAt(49), people[1]);
    EXPECT_FALSE(history.people().contains(people[0]));
}

TEST_F(History, EntriesShowTheBirthYearOrZero)
{
    people[0]->setName("Mary Brown");
    auto* birth = static_cast<FTEvent*>(moc->insertObject("BirthEvent"));
    birth->setYear(1862);
    people[0]->setBirth(birth);
    history.setFocalPerson(people[1]);
    history.setFocalPerson(people[0]);
    EXPECT_EQ(history.entryText(0), "Mary Brown (1862)");
    EXPECT_EQ(history.entryText(1), "Person 1 (0)");
    EXPECT_EQ(history.entryText(-1), "");
}

TEST_F(History, ADeletedPersonLeavesAtTheNextCheckAndThereIsNoPreviousWithOne)
{
    history.setFocalPerson(people[0]);
    EXPECT_EQ(history.previousFocalPerson(), nullptr);
    history.setFocalPerson(people[1]);
    history.setFocalPerson(people[2]);
    moc->deleteObject(people[1]);
    EXPECT_EQ(history.people().size(), 2); // unreadable entries are skipped even before the check
    history.setNeedsValidating();
    EXPECT_EQ(history.count(), 2);
    EXPECT_EQ(history.previousFocalPerson(), people[0]);
    moc->deleteObject(people[0]);
    EXPECT_EQ(history.previousFocalPerson(), nullptr);
}

}
