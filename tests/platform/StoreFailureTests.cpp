#include "StoreTestSchema.h"
#include "WithoutPermissionOverride.h"

#include "platform/store/UndoManager.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

TEST(StoreFailures, SaveToAReadOnlyFileChangesNothingAndKeepsTheChanges)
{
    const QString path = storeWithAuthors("readonly", 3);
    const QByteArray before = fileBytes(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    {
        WithoutPermissionOverride asUser;
        ObjectContext ctx(testSchema());
        ASSERT_TRUE(ctx.open(path));
        ctx.insertObject("Author")->setString("name", "new");
        ctx.fetch("Author").first()->setString("name", "changed");
        QString error;
        EXPECT_FALSE(ctx.save(&error));
        EXPECT_EQ(ctx.lastErrorCode(), ObjectContext::ErrorCode::ReadOnly) << qPrintable(error);
        EXPECT_TRUE(error.contains("cannot be written")) << qPrintable(error);
        EXPECT_TRUE(ctx.hasChanges()) << "the changes stay pending";
        EXPECT_EQ(fileBytes(path), before);
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    ObjectContext ctx(testSchema());
    ASSERT_TRUE(ctx.open(path));
    EXPECT_EQ(ctx.count("Author"), 3);
}

TEST(StoreFailures, SaveToALockedFileFailsThenSucceedsOnceReleased)
{
    const QString path = storeWithAuthors("locked", 2);
    ObjectContext ctx(testSchema());
    ASSERT_TRUE(ctx.open(path));
    ctx.setBusyTimeout(50);
    ctx.insertObject("Author")->setString("name", "new");

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const QByteArray before = fileBytes(path);
    QString error;
    EXPECT_FALSE(ctx.save(&error));
    EXPECT_EQ(ctx.lastErrorCode(), ObjectContext::ErrorCode::Locked) << qPrintable(error);
    EXPECT_EQ(fileBytes(path), before);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    EXPECT_TRUE(ctx.save(&error)) << qPrintable(error);
    EXPECT_EQ(storedSnapshot(path), snapshot(ctx));
    EXPECT_EQ(ctx.count("Author"), 3);
}

TEST(StoreFailures, AProcessKilledDuringASaveLeavesThePreviousState)
{
    const QString path = storeWithAuthors("killed", 10);
    const QString journal = path + "-journal";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ObjectContext ctx(testSchema());
        if (!ctx.open(path))
            _exit(2);
        for (int i = 0; i < 300000; ++i)
            ctx.insertObject("Author")->setString("name", QString("Later author number %1").arg(i));
        ctx.fetch("Author").first()->setString("name", "renamed");
        ctx.save();
        _exit(0);
    }
    // Kill it once the save has written into the store file itself (the page cache spilled inside the transaction):
    // only the rollback journal can then give back the previous state.
    const qint64 sizeBefore = QFileInfo(path).size();
    QElapsedTimer timer;
    timer.start();
    bool killedMidSave = false;
    int status = 0;
    while (timer.elapsed() < 60000) {
        if (QFileInfo::exists(journal) && QFileInfo(path).size() > sizeBefore) {
            kill(child, SIGKILL);
            killedMidSave = true;
            break;
        }
        if (waitpid(child, &status, WNOHANG) == child)
            break;
        usleep(200);
    }
    if (killedMidSave)
        waitpid(child, &status, 0);
    ASSERT_TRUE(killedMidSave) << "the child ended before it was caught saving";

    ObjectContext ctx(testSchema());
    QString error;
    ASSERT_TRUE(ctx.open(path, ObjectContext::OpenMode::Existing, &error)) << qPrintable(error);
    EXPECT_EQ(ctx.count("Author"), 10);
    EXPECT_EQ(ctx.fetch("Author").first()->stringValue("name"), QString("Author 0"));
    EXPECT_FALSE(QFileInfo::exists(journal)) << "the journal was played back and removed";
}

TEST(StoreFailures, FilesThatAreNotStoresAreRefusedUntouched)
{
    const QString good = storeWithAuthors("damage-source", 20);
    struct Case {
        const char* what;
        std::function<void(const QString& path)> make;
        ObjectContext::ErrorCode code;
    };
    auto writeBytes = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    auto execSql = [](const QString& path, const char* sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    };
    const Case cases[] = {
        { "a text file", [&](const QString& p) { writeBytes(p, QByteArray("0 HEAD\n1 SOUR x\n").repeated(200)); },
            ObjectContext::ErrorCode::NotAStore },
        { "an empty file", [&](const QString& p) { writeBytes(p, QByteArray()); },
            ObjectContext::ErrorCode::NotAStore },
        { "another program's database",
            [&](const QString& p) { execSql(p, "CREATE TABLE t(x); INSERT INTO t VALUES(1)"); },
            ObjectContext::ErrorCode::NotAStore },
        { "a store missing a table",
            [&](const QString& p) {
                QFile::copy(good, p);
                execSql(p, "DROP TABLE Book");
            },
            ObjectContext::ErrorCode::Damaged },
        { "a store cut short",
            [&](const QString& p) { writeBytes(p, fileBytes(good).left(int(fileBytes(good).size() / 2))); },
            ObjectContext::ErrorCode::Damaged },
        { "a store with a record of an unknown kind",
            [&](const QString& p) {
                QFile::copy(good, p);
                execSql(p, "UPDATE Author SET _entity = 'Dragon' WHERE _pk = 1");
            },
            ObjectContext::ErrorCode::Damaged },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = freshStorePath("damaged");
        c.make(path);
        const QByteArray before = fileBytes(path);
        ObjectContext ctx(testSchema());
        QString error;
        EXPECT_FALSE(ctx.open(path, ObjectContext::OpenMode::Existing, &error));
        EXPECT_EQ(ctx.lastErrorCode(), c.code) << qPrintable(error);
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << qPrintable(error);
        EXPECT_FALSE(ctx.isOpen());
        EXPECT_EQ(fileBytes(path), before) << "opening changed the file";
    }
    ObjectContext ctx(testSchema());
    EXPECT_FALSE(ctx.open(TestSupport::tempRoot() + "/missing.RezUdu"));
    EXPECT_EQ(ctx.lastErrorCode(), ObjectContext::ErrorCode::FileNotFound);
}

TEST(StoreFailures, AWorkerThreadUsesAContextOfItsOwn)
{
    const QString path = storeWithAuthors("worker", 1);
    bool saved = false;
    std::thread worker([&] {
        ObjectContext ctx(testSchema());
        if (!ctx.open(path))
            return;
        ctx.undoManager()->disableUndoRegistration();
        for (int i = 0; i < 100; ++i)
            ctx.insertObject("Book")->setInteger("year", i);
        saved = ctx.save();
    });
    worker.join();
    ASSERT_TRUE(saved);
    ObjectContext ctx(testSchema());
    ASSERT_TRUE(ctx.open(path));
    EXPECT_EQ(ctx.count("Book"), 100);
}
