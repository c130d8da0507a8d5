// One writer per store, stores refused for what they are (in use, in a folder that cannot be written, hostile
// keys), new stores made only in files of their own, and backups taken while another connection writes.
#include "StoreTestSchema.h"
#include "WithoutPermissionOverride.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <atomic>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
bool sql(const QString& path, const char* statements)
{
    sqlite3* db = nullptr;
    const bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK
        && sqlite3_exec(db, statements, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

ino_t inode(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

QString lockFileOf(const QString& path)
{
    const QFileInfo info(path);
    return info.absolutePath() + "/." + info.fileName() + ".lock";
}
}

TEST(StoreSafety, AStoreHasOneContextAtATimeWhateverItsName)
{
    const QString path = storeWithAuthors("one-writer", 2);
    const QString symlink = freshStorePath("symlink");
    const QString hardlink = freshStorePath("hardlink");
    ASSERT_TRUE(QFile::link(path, symlink));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(hardlink).constData()), 0);

    auto first = std::make_unique<ObjectContext>(testSchema());
    ASSERT_TRUE(first->open(path));
    EXPECT_TRUE(QFileInfo::exists(lockFileOf(path)));
    for (const QString& name : {path, symlink, hardlink}) {
        SCOPED_TRACE(name.toStdString());
        ObjectContext second(testSchema());
        QString error;
        EXPECT_FALSE(second.open(name, ObjectContext::OpenMode::Existing, &error));
        EXPECT_EQ(second.lastErrorCode(), ObjectContext::ErrorCode::InUse);
        EXPECT_TRUE(error.contains("\"" + QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath()) + "\""))
            << qPrintable(error);
        EXPECT_TRUE(error.contains("already open in another Kinloom window or program")) << qPrintable(error);
        EXPECT_FALSE(second.isOpen());
    }
    first->insertObject("Author")->setString("name", "still the writer");
    EXPECT_TRUE(first->save());

    first.reset();
    EXPECT_FALSE(QFileInfo::exists(lockFileOf(path)));
    ObjectContext next(testSchema());
    ASSERT_TRUE(next.open(hardlink));
    EXPECT_EQ(next.count("Author"), 3);
}

// Arguments: the store, the pipe's writing end. Tells whether it opened the store ('y' or 'n'), then waits to be
// killed.
const TestSupport::ChildRoutine kOpenAndWait("open-and-wait", [](const QStringList& args) {
    ObjectContext ctx(testSchema());
    const char opened = ctx.open(args.value(0)) ? 'y' : 'n';
    if (write(args.value(1).toInt(), &opened, 1) != 1)
        return 2;
    for (;;)
        pause(); // killed: its lock file stays behind
});

TEST(StoreSafety, AnotherProcessIsRefusedWhileItsWriterLivesAndTakesOverOnceItIsGone)
{
    const QString path = storeWithAuthors("process", 1);
    // Whatever name the other process uses: a hard link has a lock file name of its own.
    const QString symlink = freshStorePath("process-symlink");
    const QString hardlink = freshStorePath("process-hardlink");
    ASSERT_TRUE(QFile::link(path, symlink));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(hardlink).constData()), 0);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    TestSupport::ReapedChild child(TestSupport::spawnChild("open-and-wait", { path, QString::number(ready[1]) }));
    close(ready[1]);
    ASSERT_GT(child.pid(), 0);
    char opened = 0;
    ASSERT_EQ(read(ready[0], &opened, 1), 1) << "the child ended before it said";
    close(ready[0]);
    ASSERT_EQ(opened, 'y');

    for (const QString& name : {path, symlink, hardlink}) {
        SCOPED_TRACE(name.toStdString());
        ObjectContext ctx(testSchema());
        QString error;
        EXPECT_FALSE(ctx.open(name, ObjectContext::OpenMode::Existing, &error));
        EXPECT_EQ(ctx.lastErrorCode(), ObjectContext::ErrorCode::InUse) << qPrintable(error);
        EXPECT_TRUE(error.contains("already open in another Kinloom window or program")) << qPrintable(error);
    }
    // A refusal leaves no lock of its own behind.
    EXPECT_FALSE(QFileInfo::exists(lockFileOf(hardlink)));
    child.kill();
    ASSERT_TRUE(QFileInfo::exists(lockFileOf(path))) << "the killed writer left its lock";

    ObjectContext ctx(testSchema());
    QString error;
    ASSERT_TRUE(ctx.open(hardlink, ObjectContext::OpenMode::Existing, &error)) << qPrintable(error);
    EXPECT_EQ(ctx.count("Author"), 1);
}

TEST(StoreSafety, AStoreInAFolderThatCannotBeWrittenIsRefusedWithItsOwnMessage)
{
    const QString folder = TestSupport::tempRoot() + "/read-only-folder";
    QDir().mkpath(folder);
    const QString path = folder + "/Family.RezUdu";
    QFile::remove(path);
    QFile::copy(storeWithAuthors("to-copy", 2), path);
    const QByteArray before = fileBytes(path);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    {
        WithoutPermissionOverride asUser;
        ObjectContext ctx(testSchema());
        QString error;
        EXPECT_FALSE(ctx.open(path, ObjectContext::OpenMode::Existing, &error));
        EXPECT_EQ(ctx.lastErrorCode(), ObjectContext::ErrorCode::ReadOnly);
        EXPECT_TRUE(error.contains("cannot be changed where it is")) << qPrintable(error);
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(folder))) << qPrintable(error);
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(fileBytes(path), before);
}

TEST(StoreSafety, AnEmptyFileBecomesAStoreInPlaceAndOnlyAnEmptyOne)
{
    const QString path = freshStorePath("placeholder");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const ino_t made = inode(path);
    {
        ObjectContext ctx(testSchema());
        ASSERT_TRUE(ctx.open(path, ObjectContext::OpenMode::ExistingOrEmpty));
        ctx.insertObject("Author")->setString("name", "first");
        ASSERT_TRUE(ctx.save());
    }
    EXPECT_EQ(inode(path), made) << "filled in place, not removed and made again";
    ObjectContext ctx(testSchema());
    ASSERT_TRUE(ctx.open(path, ObjectContext::OpenMode::ExistingOrEmpty));
    EXPECT_EQ(ctx.count("Author"), 1);
}

// Argument: the store. Opens it with two gigabytes of memory at most: 0 when refused as damaged, 1 when opened,
// 2 when refused with another message, 3 when the limit cannot be set.
const TestSupport::ChildRoutine kOpenInTwoGigabytes("open-in-two-gigabytes", [](const QStringList& args) {
    const rlimit twoGigabytes {rlim_t(2) << 30, rlim_t(2) << 30};
    if (setrlimit(RLIMIT_AS, &twoGigabytes) != 0)
        return 3;
    ObjectContext ctx(testSchema());
    QString error;
    if (ctx.open(args.value(0), ObjectContext::OpenMode::Existing, &error))
        return 1;
    const bool damaged = ctx.lastErrorCode() == ObjectContext::ErrorCode::Damaged
        && error.contains("is damaged and cannot be opened");
    return damaged ? 0 : 2;
});

// A key far beyond the records present must not size the key index: the file is refused like any damaged one,
// within the memory an ordinary opening needs.
TEST(StoreSafety, AHostileKeyGivesTheDamagedMessageWithinNormalMemory)
{
#if defined(__SANITIZE_ADDRESS__)
    constexpr bool addressSanitizer = true;
#elif defined(__has_feature)
    constexpr bool addressSanitizer = __has_feature(address_sanitizer);
#else
    constexpr bool addressSanitizer = false;
#endif
    if (addressSanitizer)
        GTEST_SKIP() << "AddressSanitizer maps terabytes of shadow memory: no limit on the address space can hold";
    const struct {
        const char* label;
        const char* statement;
    } cases[] = {
        {"a record's key", "INSERT INTO \"Author\" (\"_pk\", \"_entity\", \"name\") VALUES (4000000000000, 'Author', 'x')"},
        {"the key counter", "UPDATE sqlite_sequence SET seq = 4000000000000 WHERE name = 'Author'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const QString path = storeWithAuthors("hostile", 3);
        ASSERT_TRUE(sql(path, c.statement));
        TestSupport::ReapedChild child(TestSupport::spawnChild("open-in-two-gigabytes", { path }));
        ASSERT_GT(child.pid(), 0);
        const int status = child.wait();
        ASSERT_TRUE(WIFEXITED(status)) << "the opening was killed, signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: opened; 2: another message; 3: no limit";
    }
}

TEST(StoreSafety, ABackupTakenWhileAnotherConnectionWritesIsConsistent)
{
    const QString path = storeWithAuthors("busy-source", 0);
    // Another program adds authors a hundred at a time, each hundred in one transaction.
    std::atomic<bool> stop = false;
    std::atomic<int> batches = 0;
    std::thread writer([&] {
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        sqlite3_busy_timeout(db, 5000);
        while (!stop) {
            sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            for (int i = 0; i < 100; ++i)
                sqlite3_exec(db, "INSERT INTO \"Author\" (\"_entity\", \"name\") VALUES ('Author', 'written')", nullptr,
                             nullptr, nullptr);
            if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
                ++batches;
        }
        sqlite3_close(db);
    });
    while (batches < 3)
        std::this_thread::yield();
    QStringList backups;
    for (int i = 0; i < 3; ++i) {
        const QString backup = freshStorePath("backup");
        QString error;
        EXPECT_TRUE(ObjectContext::backupStore(path, backup, &error)) << qPrintable(error);
        backups << backup;
    }
    stop = true;
    writer.join();

    for (const QString& backup : backups) {
        ObjectContext ctx(testSchema());
        QString error;
        ASSERT_TRUE(ctx.open(backup, ObjectContext::OpenMode::Existing, &error)) << qPrintable(error);
        EXPECT_GT(ctx.count("Author"), 0);
        EXPECT_EQ(ctx.count("Author") % 100, 0) << "only whole transactions";
        EXPECT_FALSE(QFileInfo::exists(backup + "-journal"));
    }

    // Never over an existing file, and nothing left behind when the copy cannot be made.
    const QByteArray kept = fileBytes(backups.first());
    QString error;
    EXPECT_FALSE(ObjectContext::backupStore(path, backups.first(), &error));
    EXPECT_EQ(fileBytes(backups.first()), kept);
    const QString nowhere = freshStorePath("no-backup");
    EXPECT_FALSE(ObjectContext::backupStore(path + ".missing", nowhere, &error));
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}
