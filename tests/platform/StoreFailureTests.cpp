#include "StoreTestSchema.h"
#include "WithoutPermissionOverride.h"

#include "platform/store/UndoManager.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <poll.h>
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

// ---- A process killed in the middle of a save ----
//
// The child process saves through a file layer of its own between SQLite and the disk: at the first write into the
// store file itself (the rollback journal is written and synced by then, the transaction still open), it tells the
// parent through a pipe and waits to be killed. The parent kills it at exactly that moment, whatever the speed of
// the machine.
namespace {

struct StoppingFile {
    sqlite3_file base;
    sqlite3_file* real;
    bool storeFile;
};

sqlite3_vfs* g_realVfs = nullptr;
int g_signalFd = -1;
bool g_armed = false;

StoppingFile* stopping(sqlite3_file* f) { return reinterpret_cast<StoppingFile*>(f); }

int fileClose(sqlite3_file* f) { return stopping(f)->real->pMethods->xClose(stopping(f)->real); }
int fileRead(sqlite3_file* f, void* b, int n, sqlite3_int64 o)
{
    return stopping(f)->real->pMethods->xRead(stopping(f)->real, b, n, o);
}
int fileWrite(sqlite3_file* f, const void* b, int n, sqlite3_int64 o)
{
    const int rc = stopping(f)->real->pMethods->xWrite(stopping(f)->real, b, n, o);
    if (g_armed && stopping(f)->storeFile) {
        const char ready = 'w';
        (void)!write(g_signalFd, &ready, 1);
        for (;;)
            pause();
    }
    return rc;
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    return stopping(f)->real->pMethods->xTruncate(stopping(f)->real, size);
}
int fileSync(sqlite3_file* f, int flags) { return stopping(f)->real->pMethods->xSync(stopping(f)->real, flags); }
int fileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return stopping(f)->real->pMethods->xFileSize(stopping(f)->real, size);
}
int fileLock(sqlite3_file* f, int lock) { return stopping(f)->real->pMethods->xLock(stopping(f)->real, lock); }
int fileUnlock(sqlite3_file* f, int lock) { return stopping(f)->real->pMethods->xUnlock(stopping(f)->real, lock); }
int fileCheckReservedLock(sqlite3_file* f, int* out)
{
    return stopping(f)->real->pMethods->xCheckReservedLock(stopping(f)->real, out);
}
int fileControl(sqlite3_file* f, int op, void* arg)
{
    return stopping(f)->real->pMethods->xFileControl(stopping(f)->real, op, arg);
}
int fileSectorSize(sqlite3_file* f) { return stopping(f)->real->pMethods->xSectorSize(stopping(f)->real); }
int fileDeviceCharacteristics(sqlite3_file* f)
{
    return stopping(f)->real->pMethods->xDeviceCharacteristics(stopping(f)->real);
}

// Version 1: no shared memory and no memory mapping, which a rollback journal never needs.
const sqlite3_io_methods kStoppingMethods = { 1, fileClose, fileRead, fileWrite, fileTruncate, fileSync, fileSize,
    fileLock, fileUnlock, fileCheckReservedLock, fileControl, fileSectorSize, fileDeviceCharacteristics, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr };

int vfsOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    StoppingFile* f = stopping(file);
    f->real = reinterpret_cast<sqlite3_file*>(f + 1);
    f->storeFile = flags & SQLITE_OPEN_MAIN_DB;
    const int rc = g_realVfs->xOpen(g_realVfs, name, f->real, flags, outFlags);
    f->base.pMethods = f->real->pMethods ? &kStoppingMethods : nullptr;
    return rc;
}
int vfsDelete(sqlite3_vfs*, const char* name, int sync) { return g_realVfs->xDelete(g_realVfs, name, sync); }
int vfsAccess(sqlite3_vfs*, const char* name, int flags, int* out)
{
    return g_realVfs->xAccess(g_realVfs, name, flags, out);
}
int vfsFullPathname(sqlite3_vfs*, const char* name, int n, char* out)
{
    return g_realVfs->xFullPathname(g_realVfs, name, n, out);
}

void installStoppingFileLayer(int signalFd)
{
    static sqlite3_vfs vfs;
    g_realVfs = sqlite3_vfs_find(nullptr);
    g_signalFd = signalFd;
    vfs = *g_realVfs;
    vfs.zName = "stop-mid-save";
    vfs.szOsFile = int(sizeof(StoppingFile)) + g_realVfs->szOsFile;
    vfs.xOpen = vfsOpen;
    vfs.xDelete = vfsDelete;
    vfs.xAccess = vfsAccess;
    vfs.xFullPathname = vfsFullPathname;
    sqlite3_vfs_register(&vfs, 1);
}

// Arguments: the store, the pipe's writing end. Ends only when the save never wrote into the store (status 3).
const TestSupport::ChildRoutine kSaveAndStop("save-and-stop-mid-write", [](const QStringList& args) {
    installStoppingFileLayer(args.value(1).toInt());
    ObjectContext ctx(testSchema());
    if (!ctx.open(args.value(0)))
        return 2;
    for (int i = 0; i < 2000; ++i)
        ctx.insertObject("Author")->setString("name", QString("Later author number %1").arg(i));
    ctx.fetch("Author").first()->setString("name", "renamed");
    g_armed = true;
    ctx.save();
    return 3;
});

} // namespace

TEST(StoreFailures, AProcessKilledDuringASaveLeavesThePreviousState)
{
    const QString path = storeWithAuthors("killed", 10);
    const QString journal = path + "-journal";
    const QByteArray before = fileBytes(path);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    TestSupport::ReapedChild child(
        TestSupport::spawnChild("save-and-stop-mid-write", { path, QString::number(fds[1]) }));
    close(fds[1]);
    ASSERT_GT(child.pid(), 0);

    pollfd ready { fds[0], POLLIN, 0 };
    const int polled = poll(&ready, 1, TestSupport::kHungRunMilliseconds);
    char signal = 0;
    const bool stopped = polled == 1 && read(fds[0], &signal, 1) == 1;
    close(fds[0]);
    if (!stopped) {
        const int status = child.kill();
        if (polled == 0)
            FAIL() << "the child hung before writing into the store: gave up waiting for it";
        FAIL() << "the child ended before writing into the store, exit status "
               << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }
    // Caught half-way: the store file already differs, and only the journal knows what it was.
    EXPECT_TRUE(QFileInfo::exists(journal));
    EXPECT_NE(fileBytes(path), before);
    EXPECT_TRUE(WIFSIGNALED(child.kill()));

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
