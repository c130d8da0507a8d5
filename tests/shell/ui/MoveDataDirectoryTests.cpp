// "Move Data Directory...": the data folder goes, whole, under the folder the user chooses, and the program
// follows it; a folder inside the data folder itself is refused, and nothing is lost either way.
#include "ApplicationFixture.h"

#include "shell/RecentDocuments.h"
#include "shell/Utils.h"

namespace {

class MoveDataDirectory : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        start();
        database = makeDatabase(data + "/Family.RezUdu");
        databaseBytes = TestSupport::readFile(database);
        ASSERT_TRUE(TestSupport::writeFile(data + "/Pictures/scan.jpg", "scan"));
        UserDefaults::standard().setObject(RecentDocuments::kKey,
            QStringList { database, dir.path() + "/elsewhere/Other.RezUdu" });
        app->panels().chooseFolder = [this](const QString& start) {
            ++panelRuns;
            panelStart = start;
            return chosen;
        };
    }

    QString database;
    QByteArray databaseBytes;
    QString chosen;
    QString panelStart;
    int panelRuns = 0;
};

// A sibling whose name begins with the data folder's name is another folder: the move goes there.
TEST_F(MoveDataDirectory, MovesUnderTheChosenFolderAndTheProgramFollows)
{
    chosen = dir.path() + "/KinloomDataOld";
    QDir().mkpath(chosen);
    app->moveDataDirectory();

    const QString target = chosen + "/KinloomData";
    EXPECT_EQ(panelStart, data);
    EXPECT_FALSE(QFileInfo::exists(data));
    EXPECT_EQ(TestSupport::readFile(target + "/Family.RezUdu"), databaseBytes);
    EXPECT_EQ(TestSupport::readFile(target + "/Pictures/scan.jpg"), "scan");
    EXPECT_EQ(UserDefaults::standard().stringForKey("KinloomDataDirectory"), target);
    EXPECT_EQ(Utils::KinloomDataDirectory(), target);
    EXPECT_EQ(RecentDocuments::paths(),
        (QStringList { target + "/Family.RezUdu", dir.path() + "/elsewhere/Other.RezUdu" }));
    EXPECT_EQ(texts(), QStringList { data + "\n\nhas been moved to:\n\n" + target });
}

// Every refusal says why and leaves the data folder, its files and the setting as they were.
TEST_F(MoveDataDirectory, RefusesWhatWouldLoseOrReplaceAFolder)
{
    const QString inside = QStringLiteral("You cannot move the folder to be a sub-folder of itself");
    const QString occupied = dir.path() + "/occupied";
    QDir().mkpath(occupied + "/KinloomData");
    QDir().mkpath(data + "/Backups");
    ASSERT_TRUE(QFile::link(data + "/Backups", dir.path() + "/shortcut"));
    const struct {
        const char* what;
        QString folder;
        QString message;
    } cases[] = {
        { "the data folder itself", data, inside },
        { "a folder inside it", data + "/Backups", inside },
        { "a link to a folder inside it", dir.path() + "/shortcut", inside },
        { "a folder that holds a data folder already", occupied,
            "Unable to move the KinloomData folder to:\n\n" + occupied + "/KinloomData" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.clear();
        chosen = c.folder;
        app->moveDataDirectory();
        EXPECT_EQ(texts(), QStringList { c.message });
        EXPECT_EQ(TestSupport::readFile(database), databaseBytes);
        EXPECT_EQ(TestSupport::readFile(data + "/Pictures/scan.jpg"), "scan");
        EXPECT_EQ(UserDefaults::standard().stringForKey("KinloomDataDirectory"), data);
        EXPECT_EQ(RecentDocuments::paths().value(0), database);
    }
    EXPECT_TRUE(QDir(occupied + "/KinloomData").isEmpty());

    // Cancelling the panel changes nothing and says nothing.
    prompts.clear();
    chosen.clear();
    app->moveDataDirectory();
    EXPECT_TRUE(texts().isEmpty());
    EXPECT_EQ(TestSupport::readFile(database), databaseBytes);
}

TEST_F(MoveDataDirectory, NotWhileADatabaseIsOpen)
{
    ASSERT_TRUE(app->openDocumentWithContentsOfURL(database));
    prompts.clear();
    chosen = dir.path() + "/Elsewhere";
    QDir().mkpath(chosen);
    app->moveDataDirectory();
    EXPECT_EQ(panelRuns, 0);
    EXPECT_EQ(texts(), QStringList { "Please close all open databases and try again." });
    EXPECT_TRUE(QFileInfo::exists(database));
    EXPECT_FALSE(QFileInfo::exists(chosen + "/KinloomData"));
}

} // namespace
