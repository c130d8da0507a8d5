// A store opened only for reading: it reads as an editing context does, beside one, in places nobody may write,
// and never changes or leaves anything on the disk.

#include "StoreTestSchema.h"
#include "WithoutPermissionOverride.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <functional>

namespace {
QStringList folderListing(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void rawExec(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &message), SQLITE_OK) << sql << ": " << (message ? message : "");
    sqlite3_free(message);
}

// Runs `during` with a raw connection on `path` and copies the store and its side files into `folder` while that
// connection is still open, as a program that stopped at that moment would leave them.
void copyWhileOpen(const QString& path, const QString& folder, const char* setup, const char* during)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    rawExec(db, setup);
    rawExec(db, during);
    for (const QString& suffix : { QString(), QStringLiteral("-journal"), QStringLiteral("-wal") })
        if (QFileInfo::exists(path + suffix)) {
            ASSERT_TRUE(QFile::copy(path + suffix, folder + "/Family.RezUdu" + suffix));
        }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}
}

TEST(StoreReadOnly, ReadsBesideAWriterRefusesToSaveAndNeverWrites)
{
    const QString path = freshStorePath("reader");
    auto writer = std::make_unique<ObjectContext>(testSchema());
    ASSERT_TRUE(writer->open(path, ObjectContext::OpenMode::CreateIfMissing));
    ManagedObject* author = writer->insertObject("Author");
    author->setString("name", "Ann");
    author->setValue("photo", QByteArray("lazy picture"));
    ManagedObject* book = writer->insertObject("Book");
    book->setObject("author", author);
    ManagedObject* club = writer->insertObject("Club");
    club->addObject("members", author);
    ASSERT_TRUE(writer->save());

    // Another context is the file's writer: reading it is allowed all the same, and keeps no one from writing.
    ObjectContext reader(testSchema());
    QString error;
    ASSERT_TRUE(reader.open(path, ObjectContext::OpenMode::ReadOnly, &error)) << qPrintable(error);
    EXPECT_TRUE(reader.isReadOnly());
    EXPECT_FALSE(writer->isReadOnly());
    EXPECT_EQ(snapshot(reader), snapshot(*writer)) << "links and lazy values read as the writer has them";
    author->setString("name", "Ann Smith");
    EXPECT_TRUE(writer->save(&error)) << qPrintable(error);
    writer.reset();
    ObjectContext editor(testSchema());
    ASSERT_TRUE(editor.open(path, ObjectContext::OpenMode::Existing, &error)) << qPrintable(error);
    editor.closeStore();

    const QByteArray bytes = fileBytes(path);
    const QDateTime modified = QFileInfo(path).lastModified();
    const QStringList listing = folderListing(QFileInfo(path).absolutePath());
    reader.fetch("Author").first()->setString("name", "changed in memory");
    reader.insertObject("Author");
    reader.setBulkWriting(true);
    EXPECT_FALSE(reader.isBulkWriting());
    EXPECT_FALSE(reader.save(&error));
    EXPECT_EQ(reader.lastErrorCode(), ObjectContext::ErrorCode::ReadOnly);
    EXPECT_TRUE(error.contains("is open only for reading")) << qPrintable(error);
    EXPECT_TRUE(reader.hasChanges()) << "the changes stay in memory";
    reader.closeStore();
    EXPECT_EQ(fileBytes(path), bytes);
    EXPECT_EQ(QFileInfo(path).lastModified(), modified);
    EXPECT_EQ(folderListing(QFileInfo(path).absolutePath()), listing) << "no lock or journal left beside it";
}

// Run without the administrator's override, so that a read-only file or folder is one for the store too.
TEST(StoreReadOnly, ReadsWhereNothingMayBeWrittenOrSaysWhatIsLeftUnfinished)
{
    struct Case {
        const char* what;
        // Puts "Family.RezUdu" (holding two authors unless the case leaves it unfinished) into the folder.
        std::function<void(const QString& folder)> make;
        bool folderReadOnly;
        const char* refusal; // the side file named when the store cannot be read without finishing it
    };
    const auto plain = [](const QString& folder) {
        ASSERT_TRUE(QFile::copy(storeWithAuthors("plain", 2), folder + "/Family.RezUdu"));
    };
    const auto walMode = [](const QString& folder) {
        const QString path = storeWithAuthors("wal", 2);
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        rawExec(db, "PRAGMA journal_mode=WAL");
        sqlite3_close(db); // the log is written back into the file and removed
        ASSERT_TRUE(QFile::copy(path, folder + "/Family.RezUdu"));
    };
    const Case cases[] = {
        { "read-only file", [&](const QString& f) {
             plain(f);
             QFile::setPermissions(f + "/Family.RezUdu", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
         }, false, nullptr },
        { "read-only folder", plain, true, nullptr },
        { "WAL store in a read-only folder", walMode, true, nullptr },
        { "WAL store in a writable folder", walMode, false, nullptr },
        { "WAL store with changes in its log", [](const QString& f) {
             copyWhileOpen(storeWithAuthors("wal-log", 2), f, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0",
                 "UPDATE \"Author\" SET \"name\"='changed'");
         }, true, "-wal" },
        { "save cut off", [](const QString& f) {
             copyWhileOpen(storeWithAuthors("cut", 2), f, "BEGIN IMMEDIATE", "UPDATE \"Author\" SET \"name\"='changed'");
             // Written and synced before the store itself is touched, the journal's header makes it one to roll
             // back: its mark, and the number of pages it holds.
             QFile journal(f + "/Family.RezUdu-journal");
             ASSERT_TRUE(journal.open(QIODevice::ReadWrite));
             QByteArray header = QByteArray::fromHex("d9d505f920a163d7");
             const quint32 pages = quint32((journal.size() - 512) / (4096 + 8));
             ASSERT_GT(pages, 0u);
             for (int shift = 24; shift >= 0; shift -= 8)
                 header.append(char((pages >> shift) & 0xff));
             journal.write(header);
         }, true, "-journal" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir(TestSupport::tempRoot() + "/read-only-XXXXXX");
        const QString path = dir.path() + "/Family.RezUdu";
        c.make(dir.path());
        const QByteArray bytes = fileBytes(path);
        const QStringList listing = folderListing(dir.path());
        if (c.folderReadOnly)
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        {
            WithoutPermissionOverride asUser;
            ObjectContext ctx(testSchema());
            QString error;
            const bool opened = ctx.open(path, ObjectContext::OpenMode::ReadOnly, &error);
            if (c.refusal) {
                EXPECT_FALSE(opened);
                EXPECT_EQ(ctx.lastErrorCode(), ObjectContext::ErrorCode::ReadOnly);
                EXPECT_TRUE(error.contains("cannot be read without changing it")) << qPrintable(error);
                EXPECT_TRUE(error.contains(path + c.refusal + "\"")) << qPrintable(error);
                // Opening it in the program is no way out where the folder cannot be written: a copy is.
                EXPECT_TRUE(error.contains(QString("Copy the database together with \"Family.RezUdu") + c.refusal
                                           + "\" to a folder you can write to")) << qPrintable(error);
                EXPECT_FALSE(error.contains("File - Open")) << qPrintable(error);
            } else {
                ASSERT_TRUE(opened) << qPrintable(error);
                QString metadataError;
                EXPECT_TRUE(ObjectContext::metadataForStoreAt(path, &metadataError).contains("StoreUUID"))
                    << qPrintable(metadataError);
                ASSERT_EQ(ctx.count("Author"), 2);
                EXPECT_EQ(ctx.fetch("Author").first()->stringValue("name"), "Author 0");
            }
        }
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(fileBytes(path), bytes);
        EXPECT_EQ(folderListing(dir.path()), listing);
    }
}
