#include "StoreTestSchema.h"

#include "platform/store/Faults.h"
#include "platform/store/UndoManager.h"

#include <QDateTime>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace {
// A saved store whose first author has a value of every kind, links of every kind, and nothing to undo.
struct FaultFixture : ::testing::Test {
    QString path = freshStorePath("faults");
    std::unique_ptr<ObjectContext> ctx = std::make_unique<ObjectContext>(testSchema());
    ManagedObject *a = nullptr, *b = nullptr, *book = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(ctx->open(path, ObjectContext::OpenMode::CreateIfMissing));
        a = ctx->insertObject("Author");
        a->setString("name", "Ada");
        a->setInteger("born", 1815);
        a->setDouble("rating", 4.5);
        a->setBool("alive", false);
        a->setDate("updated", QDateTime::fromMSecsSinceEpoch(1700000000000));
        a->setInteger("code", qint64(1) << 40);
        a->setData("extra", QByteArray("xyz"));
        a->setData("photo", QByteArray(5000, 'p'));
        a->setInteger("scratch", 7);
        b = ctx->insertObject("Author");
        b->setString("name", "Bea");
        book = ctx->insertObject("Book");
        book->setString("title", "Notes");
        book->setObject("author", a);
        ctx->insertObject("Portrait")->setObject("author", a);
        ManagedObject* club = ctx->insertObject("Club");
        club->addObject("members", a);
        club->addObject("members", b);
        ctx->insertObject("LongNote")->setObject("author", a);
        save();
        ctx->undoManager()->removeAllActions();
    }
    void save()
    {
        QString error;
        ASSERT_TRUE(ctx->save(&error)) << qPrintable(error);
    }
    // A change made behind the store's back, as a repair of the file would.
    void execInFile(const char* sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
};
}

// A refreshed record lets its values go but keeps its links; whichever way a value is asked for, the whole row
// comes back as it was (lazy values still read on demand, values kept only in memory untouched).
TEST_F(FaultFixture, ARefreshedRecordReadsItsRowBackOnAnyAccess)
{
    const QStringList before = snapshot(*ctx);
    struct Access {
        const char* what;
        std::function<QVariant(ManagedObject*)> read;
        QVariant expected;
    };
    const Access accesses[] = {
        { "typed text", [](ManagedObject* o) { return QVariant(o->stringValue("name")); }, QVariant("Ada") },
        { "typed number", [](ManagedObject* o) { return QVariant(o->integerValue("born")); }, QVariant(1815) },
        { "typed double", [](ManagedObject* o) { return QVariant(o->doubleValue("rating")); }, QVariant(4.5) },
        { "typed bool", [](ManagedObject* o) { return QVariant(o->boolValue("alive")); }, QVariant(false) },
        { "date", [](ManagedObject* o) { return QVariant(o->dateValue("updated").toMSecsSinceEpoch()); },
            QVariant(qlonglong(1700000000000)) },
        { "nil test", [](ManagedObject* o) { return QVariant(o->isNil("code")); }, QVariant(false) },
        { "lazy data", [](ManagedObject* o) { return QVariant(int(o->dataValue("photo").size())); }, QVariant(5000) },
        { "by name, derived", [](ManagedObject* o) { return o->valueForKey("label"); }, QVariant("Ada (1815)") },
        { "primitive", [](ManagedObject* o) { return o->primitiveValue("extra"); }, QVariant(QByteArray("xyz")) },
    };
    for (const Access& access : accesses) {
        SCOPED_TRACE(access.what);
        ASSERT_TRUE(StoreFaults::refreshObject(a));
        EXPECT_TRUE(StoreFaults::isFault(a));
        EXPECT_EQ(StoreFaults::faultCount(*ctx), 1);
        // Links and values kept only in memory are there without reading the row.
        EXPECT_EQ(a->objects("books").size(), 1);
        EXPECT_EQ(book->objectValue("author"), a);
        EXPECT_TRUE(StoreFaults::isFault(a));
        EXPECT_EQ(access.read(a).toString(), access.expected.toString());
        EXPECT_FALSE(StoreFaults::isFault(a));
        EXPECT_EQ(StoreFaults::faultCount(*ctx), 0);
        EXPECT_EQ(snapshot(*ctx), before);
        EXPECT_EQ(a->integerValue("scratch"), 7);
        EXPECT_FALSE(ctx->hasChanges());
    }

    // Writing into a fault reads the row first: the other values survive, the same value changes nothing.
    ASSERT_TRUE(StoreFaults::refreshObject(a));
    a->setString("name", "Ada");
    EXPECT_FALSE(ctx->hasChanges());
    ASSERT_TRUE(StoreFaults::refreshObject(a));
    a->setInteger("born", 1816);
    save();
    EXPECT_EQ(a->stringValue("name"), QString("Ada"));
    EXPECT_EQ(storedSnapshot(path), snapshot(*ctx));

    // Closing the file keeps the records readable.
    ASSERT_TRUE(StoreFaults::refreshObject(b));
    ctx->closeStore();
    EXPECT_EQ(b->stringValue("name"), QString("Bea"));
}

// Only a saved, unchanged, unobserved record can let its values go: anything else would lose a change or leave an
// observer with values that are not there.
TEST_F(FaultFixture, OnlySavedUnchangedUnobservedRecordsBecomeFaults)
{
    struct Case {
        const char* what;
        std::function<ManagedObject*(FaultFixture&)> make;
    };
    int owner = 0;
    const Case cases[] = {
        { "changed", [](FaultFixture& f) { f.a->setString("name", "Changed"); return f.a; } },
        { "inserted", [](FaultFixture& f) { return f.ctx->insertObject("Author"); } },
        { "deleted", [](FaultFixture& f) { f.ctx->deleteObject(f.book); return f.book; } },
        { "observed",
            [&owner](FaultFixture& f) {
                f.b->addObserver("name", &owner, [](const KeyPathChange&) { });
                return f.b;
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ManagedObject* o = c.make(*this);
        EXPECT_FALSE(StoreFaults::refreshObject(o));
        EXPECT_FALSE(StoreFaults::isFault(o));
    }
    EXPECT_EQ(a->stringValue("name"), QString("Changed"));
    EXPECT_EQ(StoreFaults::faultCount(*ctx), 0);
}

// A fault whose row has gone from the file reads as a deleted record with nil values, and the context says why;
// the rest of the store goes on working.
TEST_F(FaultFixture, AFaultWhoseRowIsGoneIsAnErrorNotACrash)
{
    ASSERT_TRUE(StoreFaults::refreshObject(b));
    execInFile("PRAGMA foreign_keys=OFF; DELETE FROM Author_clubs WHERE src=2; DELETE FROM Author WHERE _pk=2");

    EXPECT_EQ(b->stringValue("name"), QString());
    EXPECT_TRUE(b->isDeleted());
    EXPECT_FALSE(StoreFaults::isFault(b));
    EXPECT_EQ(ctx->lastErrorCode(), ObjectContext::ErrorCode::Damaged);
    EXPECT_TRUE(ctx->lastError().contains("Author 2")) << qPrintable(ctx->lastError());
    EXPECT_EQ(ctx->fetch("Author"), QList<ManagedObject*> { a });
    EXPECT_EQ(ctx->objectWithPrimaryKey("Author", 2), nullptr);

    a->setString("name", "Ada again");
    save();
    EXPECT_EQ(storedSnapshot(path).filter("Author ").size(), 1);
}

// Undo and redo reach records that were turned back into faults after the change was saved: the old values come
// back in memory and in the file, a deleted record whole with its links.
TEST_F(FaultFixture, UndoReachesAcrossFaults)
{
    UndoManager* undo = ctx->undoManager();
    struct Case {
        const char* what;
        std::function<void(FaultFixture&)> change;
    };
    const Case cases[] = {
        { "rename", [](FaultFixture& f) { f.a->setString("name", "Renamed"); } },
        { "delete with cascade", [](FaultFixture& f) { f.ctx->deleteObject(f.a); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QStringList before = snapshot(*ctx);
        ASSERT_TRUE(StoreFaults::refreshObject(a));
        ASSERT_TRUE(StoreFaults::refreshObject(book));
        c.change(*this);
        undo->closeOpenGroups();
        const QStringList after = snapshot(*ctx);
        save();
        for (ManagedObject* o : { a, b, book })
            StoreFaults::refreshObject(o);
        undo->undo();
        EXPECT_EQ(snapshot(*ctx), before);
        save();
        EXPECT_EQ(storedSnapshot(path), before);
        for (ManagedObject* o : { a, b, book })
            StoreFaults::refreshObject(o);
        undo->redo();
        EXPECT_EQ(snapshot(*ctx), after);
        save();
        EXPECT_EQ(storedSnapshot(path), after);
        undo->undo();
        save();
        undo->removeAllActions();
    }
}
