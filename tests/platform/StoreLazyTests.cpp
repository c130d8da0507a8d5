#include "StoreTestSchema.h"

#include "platform/store/Faults.h"
#include "platform/store/ReleasingWalk.h"
#include "platform/store/UndoManager.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

// Opening reads no record: records come into memory when they are first touched, their relationships with one
// statement per key column that points at them, and a walk over a whole entity reads the rest.

namespace {
// A saved store: two authors (Ada with 30 books, a portrait, a short and a long note and a club; Bea with two
// books and the same club), then closed, so that each test opens it anew with nothing in memory.
struct LazyFixture : ::testing::Test {
    QString path = freshStorePath("lazy");
    qint64 ada = 0, bea = 0, club = 0;
    QList<qint64> adaBooks;

    void SetUp() override
    {
        ObjectContext ctx(testSchema());
        ASSERT_TRUE(ctx.open(path, ObjectContext::OpenMode::CreateIfMissing));
        ManagedObject* a = ctx.insertObject("Author");
        a->setString("name", "Ada");
        ManagedObject* b = ctx.insertObject("Author");
        b->setString("name", "Bea");
        for (int i = 0; i < 30; ++i) {
            ManagedObject* book = ctx.insertObject("Book");
            book->setString("title", QStringLiteral("A%1").arg(i));
            book->setObject("author", a);
            adaBooks << book->primaryKey();
        }
        for (int i = 0; i < 2; ++i) {
            ManagedObject* book = ctx.insertObject("Book");
            book->setString("title", QStringLiteral("B%1").arg(i));
            book->setObject("author", b);
        }
        ctx.insertObject("Portrait")->setObject("author", a);
        ctx.insertObject("ShortNote")->setObject("author", a);
        ctx.insertObject("LongNote")->setObject("author", a);
        ManagedObject* c = ctx.insertObject("Club");
        c->setString("name", "Chess");
        c->addObject("members", a);
        c->addObject("members", b);
        QString error;
        ASSERT_TRUE(ctx.save(&error)) << qPrintable(error);
        ada = a->primaryKey();
        bea = b->primaryKey();
        club = c->primaryKey();
    }
    std::unique_ptr<ObjectContext> open()
    {
        auto ctx = std::make_unique<ObjectContext>(testSchema());
        EXPECT_TRUE(ctx->open(path));
        return ctx;
    }
    void execInFile(const char* sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    static QStringList titles(const ObjectSet& books)
    {
        QStringList out;
        for (ManagedObject* b : books)
            out << b->stringValue("title");
        out.sort();
        return out;
    }
};
}

// A touch reads one row; a relationship reads its members when it is first used, with one statement for the key
// column that points at the record (the notes' column fills the short and the long notes at once; the club comes
// through the join table), however many members there are, and reading the members' values then needs no statement
// at all; a relationship not used reads nothing; a link held by the record itself reads its target by key. One
// object per row throughout.
TEST_F(LazyFixture, RecordsAreReadOnFirstTouchAndRelationshipsOneStatementPerColumn)
{
    auto ctx = open();
    EXPECT_EQ(StoreFaults::registeredObjectCount(*ctx), 0);
    EXPECT_EQ(StoreFaults::readStatementCount(*ctx), 0);

    ManagedObject* a = ctx->objectWithPrimaryKey("Author", ada);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->stringValue("name"), "Ada");
    EXPECT_EQ(StoreFaults::registeredObjectCount(*ctx), 1);
    EXPECT_EQ(StoreFaults::readStatementCount(*ctx), 1);
    EXPECT_EQ(ctx->objectForURI(a->objectURI()), a);

    const qint64 before = StoreFaults::readStatementCount(*ctx);
    const ObjectSet& books = a->objects("books");
    EXPECT_EQ(books.size(), 30);
    EXPECT_EQ(StoreFaults::readStatementCount(*ctx) - before, 1) << "the books alone";
    EXPECT_EQ(titles(books).size(), 30);
    EXPECT_TRUE(a->objectValue("portrait"));
    EXPECT_TRUE(a->objectValue("shortNote"));
    EXPECT_EQ(a->objects("longNotes").size(), 1);
    ASSERT_EQ(a->objects("clubs").size(), 1);
    EXPECT_EQ(a->objects("clubs").first()->stringValue("name"), "Chess");
    EXPECT_EQ(StoreFaults::readStatementCount(*ctx) - before, 4) << "the notes once, the clubs, the portrait by key";

    // Identity: the book reached by key is the member, and its author the record asked for first.
    ManagedObject* first = ctx->objectWithPrimaryKey("Book", adaBooks.first());
    EXPECT_TRUE(books.contains(first));
    EXPECT_EQ(first->objectValue("author"), a);
    EXPECT_EQ(books.first(), first) << "members in key order";
    // Bea is not read until she is reached.
    EXPECT_EQ(StoreFaults::registeredObjectCount(*ctx), 1 + 30 + 1 + 2 + 1);
}

// A relationship read after changes in memory shows memory's side: a book moved away or deleted is not there, a book
// moved in or new is, a new club membership too; undo and the save that follows keep both sides in step.
TEST_F(LazyFixture, RelationshipsReadLaterSeeUnsavedChangesAndUndoAcrossThem)
{
    auto ctx = open();
    ManagedObject* moved = ctx->objectWithPrimaryKey("Book", adaBooks[0]);
    ManagedObject* gone = ctx->objectWithPrimaryKey("Book", adaBooks[1]);
    ManagedObject* b = ctx->objectWithPrimaryKey("Author", bea);
    ManagedObject* c = ctx->objectWithPrimaryKey("Club", club);
    ASSERT_TRUE(moved && gone && b && c);
    ctx->undoManager()->beginUndoGrouping();
    moved->setObject("author", b);
    ctx->deleteObject(gone);
    ManagedObject* fresh = ctx->insertObject("Book");
    fresh->setString("title", "New");
    ManagedObject* a = ctx->objectWithPrimaryKey("Author", ada);
    fresh->setObject("author", a);
    ManagedObject* club2 = ctx->insertObject("Club");
    club2->addObject("members", a);
    ctx->undoManager()->endUndoGrouping();

    QStringList expected;
    for (int i = 2; i < 30; ++i)
        expected << QStringLiteral("A%1").arg(i);
    expected << "New";
    expected.sort();
    EXPECT_EQ(titles(a->objects("books")), expected);
    EXPECT_EQ(titles(b->objects("books")), QStringList({ "A0", "B0", "B1" }));
    EXPECT_EQ(a->objects("clubs").size(), 2);
    EXPECT_EQ(c->objects("members").size(), 2);

    ctx->undoManager()->undo();
    EXPECT_EQ(a->objects("books").size(), 30);
    EXPECT_EQ(b->objects("books").size(), 2);
    EXPECT_EQ(a->objects("clubs").size(), 1);
    ctx->undoManager()->redo();
    QString error;
    ASSERT_TRUE(ctx->save(&error)) << qPrintable(error);
    const QStringList saved = snapshot(*ctx);
    ctx.reset();
    auto again = open();
    EXPECT_EQ(snapshot(*again), saved);
    EXPECT_EQ(titles(again->objectWithPrimaryKey("Author", bea)->objects("books")), QStringList({ "A0", "B0", "B1" }));
}

// A walk over an entity reads its rows once: a small table alone, a large one together with everything else (its
// walkers go on to use the rest). Records already in memory keep their unsaved values and links; the result is the
// graph of the file with the changes laid over it.
TEST_F(LazyFixture, AWalkReadsTheRestAndKeepsWhatMemoryHolds)
{
    {
        auto ctx = open();
        ManagedObject* b = ctx->objectWithPrimaryKey("Author", bea);
        for (int i = 0; i < 2100; ++i)
            ctx->insertObject("Book")->setObject("author", b);
        ASSERT_TRUE(ctx->save());
    }
    auto ctx = open();
    ManagedObject* a = ctx->objectWithPrimaryKey("Author", ada);
    a->setString("name", "Ada L.");
    ManagedObject* book = ctx->objectWithPrimaryKey("Book", adaBooks[5]);
    ManagedObject* b = ctx->objectWithPrimaryKey("Author", bea);
    book->setObject("author", b);
    QStringList names;
    ctx->forEachObject("Author", [&](ManagedObject* o) {
        names << o->stringValue("name");
        return true;
    });
    EXPECT_EQ(names, QStringList({ "Ada L.", "Bea" })) << "key order, unsaved name kept";
    EXPECT_EQ(ctx->objectWithPrimaryKey("Author", ada), a);
    EXPECT_LT(StoreFaults::registeredObjectCount(*ctx), 10) << "a small table is read alone";

    EXPECT_EQ(ctx->count("Book"), 32 + 2100);
    EXPECT_EQ(a->objects("books").size(), 29);
    EXPECT_EQ(b->objects("books").size(), 3 + 2100);
    EXPECT_EQ(a->objects("clubs").size(), 1);
    EXPECT_EQ(a->objectValue("portrait")->objectValue("author"), a);
    const qint64 statements = StoreFaults::readStatementCount(*ctx);
    EXPECT_EQ(ctx->count("Note"), 2);
    EXPECT_EQ(ctx->count("Club"), 1);
    EXPECT_EQ(StoreFaults::readStatementCount(*ctx), statements) << "the whole graph came in with the large table";
    ctx->undoManager()->closeOpenGroups();
    ctx->undoManager()->undo();
    EXPECT_EQ(a->objects("books").size(), 30);
    EXPECT_EQ(a->stringValue("name"), "Ada");
}

// The records in memory are found without going through every record, whether they were read one by one or all
// at once with the whole file, or made and then saved; those given back leave them.
TEST_F(LazyFixture, TheRecordsInMemoryAreThoseReadOrSavedAndNotGivenBack)
{
    {
        auto ctx = open();
        for (int i = 0; i < 2100; ++i)
            ctx->insertObject("Book")->setString("title", QString::number(i));
        ASSERT_TRUE(ctx->save());
    }
    auto ctx = open();
    const auto booksInMemory = [&ctx] {
        QSet<ManagedObject*> books;
        StoreFaults::forEachLoadedObject(*ctx, [&books](ManagedObject* o) {
            if (o->entity()->name() == "Book")
                books.insert(o);
            return true;
        });
        return books;
    };
    ManagedObject* first = ctx->objectWithPrimaryKey("Book", adaBooks[0]);
    first->stringValue("title");
    EXPECT_EQ(booksInMemory(), QSet<ManagedObject*>({ first }));

    // A table this large is read with the whole file.
    QList<ManagedObject*> books;
    ctx->forEachObject("Book", [&books](ManagedObject* o) {
        books << o;
        return true;
    });
    ASSERT_EQ(books.size(), 32 + 2100);
    EXPECT_EQ(booksInMemory().size(), books.size());
    for (ManagedObject* o : books)
        if (o != first && o != books.last())
            EXPECT_TRUE(StoreFaults::refreshObject(o));
    const QSet<ManagedObject*> kept { first, books.last() };
    EXPECT_EQ(booksInMemory(), kept);
    EXPECT_EQ(booksInMemory(), kept) << "a second time, from the list the first made";
    EXPECT_EQ(books[7]->stringValue("title"), "A7");
    EXPECT_EQ(booksInMemory(), kept + QSet<ManagedObject*>({ books[7] })) << "read again";

    ManagedObject* added = ctx->insertObject("Book");
    EXPECT_FALSE(booksInMemory().contains(added)) << "not saved, it cannot be given back";
    ASSERT_TRUE(ctx->save());
    EXPECT_TRUE(booksInMemory().contains(added));
    EXPECT_TRUE(StoreFaults::refreshObject(added));
    EXPECT_FALSE(booksInMemory().contains(added));
}

// Rows gone from the file behind the store's back: a key that finds no row answers nothing, and a link to a missing
// row reads as empty once its record is read and is written empty with the next save; never a crash.
TEST_F(LazyFixture, RowsGoneFromTheFileAreErrorsTheCallerSees)
{
    execInFile(QStringLiteral("PRAGMA foreign_keys=OFF; DELETE FROM Book WHERE _pk=%1; DELETE FROM Author WHERE _pk=%2")
                   .arg(adaBooks[3])
                   .arg(bea)
                   .toUtf8()
                   .constData());
    auto ctx = open();
    EXPECT_EQ(ctx->objectWithPrimaryKey("Book", adaBooks[3]), nullptr);
    EXPECT_EQ(ctx->objectWithPrimaryKey("Author", bea), nullptr);
    QList<ManagedObject*> orphans;
    ctx->forEachObject("Book", [&](ManagedObject* o) {
        if (o->stringValue("title").startsWith('B'))
            orphans << o;
        return true;
    });
    ASSERT_EQ(orphans.size(), 2);
    for (ManagedObject* o : orphans)
        EXPECT_EQ(o->objectValue("author"), nullptr);
    EXPECT_TRUE(ctx->hasChanges());
    QString error;
    ASSERT_TRUE(ctx->save(&error)) << qPrintable(error);
    ctx.reset();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM Book WHERE author IS NOT NULL", -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 29) << "the broken links written empty";
    sqlite3_finalize(st);
    sqlite3_close(db);

}

// Records turned back into faults come back together when a list of them is used: a relationship's faults with
// one statement for up to 64 of them, an entity walked whole with one statement, never one a record.
TEST_F(LazyFixture, FaultsComeBackInBatchesWhenTheirListIsUsed)
{
    auto ctx = open();
    ManagedObject* a = ctx->objectWithPrimaryKey("Author", ada);
    const QStringList all = titles(a->objects("books"));
    for (ManagedObject* b : a->objects("books"))
        ASSERT_TRUE(StoreFaults::refreshObject(b));
    qint64 before = StoreFaults::readStatementCount(*ctx);
    EXPECT_EQ(titles(a->objects("books")), all);
    EXPECT_EQ(StoreFaults::readStatementCount(*ctx) - before, 1);

    for (ManagedObject* b : a->objects("books"))
        ASSERT_TRUE(StoreFaults::refreshObject(b));
    ASSERT_TRUE(StoreFaults::refreshObject(a));
    before = StoreFaults::readStatementCount(*ctx);
    QStringList walked;
    ctx->forEachObject("Book", [&](ManagedObject* o) {
        if (o->stringValue("title").startsWith('A'))
            walked << o->stringValue("title");
        return true;
    });
    walked.sort();
    EXPECT_EQ(walked, all);
    EXPECT_EQ(StoreFaults::readStatementCount(*ctx) - before, 1) << "the table read once, faults filled on the way";
    EXPECT_EQ(StoreFaults::faultCount(*ctx), 1) << "only the author, not walked";
    EXPECT_EQ(a->stringValue("name"), "Ada");
}

// A fault read on its own brings along as many of the faults after it as twice the records in memory just before
// it: one read at random (a family drawn after memory was given back) reads next to nothing it was not asked for,
// and a walk in key order reads more with each statement until it reads 64 rows at a time.
TEST_F(LazyFixture, AFaultBringsTheFaultsAfterItByHowFarAWalkHasComeInKeyOrder)
{
    auto ctx = open();
    QList<ManagedObject*> books;
    for (const qint64 key : std::as_const(adaBooks)) {
        books << ctx->objectWithPrimaryKey("Book", key);
        books.last()->stringValue("title");
    }
    for (ManagedObject* b : std::as_const(books))
        ASSERT_TRUE(StoreFaults::refreshObject(b));
    const auto read = [&](int i) {
        const qint64 faults = StoreFaults::faultCount(*ctx);
        EXPECT_EQ(books[i]->stringValue("title"), QStringLiteral("A%1").arg(i));
        return faults - StoreFaults::faultCount(*ctx);
    };
    EXPECT_EQ(read(20), 1) << "the one before it is a fault: alone";
    EXPECT_EQ(read(21), 2) << "one in memory before it: itself and the next";

    // From the second of the list on: 1 row, then 2, 6, and the 17 faults left (past 20 to 22, which are in memory).
    const qint64 before = StoreFaults::readStatementCount(*ctx);
    for (int i = 1; i < books.size(); ++i)
        EXPECT_EQ(books[i]->stringValue("title"), QStringLiteral("A%1").arg(i));
    EXPECT_EQ(StoreFaults::readStatementCount(*ctx) - before, 4);
    EXPECT_EQ(StoreFaults::faultCount(*ctx), 1) << "the first, not used";
}

// Records of one kind used one after another bring the same relationship of those that follow them: Bea's books,
// club and notes come with Ada's, each to its own owner. Used out of that order (Bea's before Ada's, who waits for
// hers), a relationship comes alone.
TEST_F(LazyFixture, TheNextRecordsRelationshipsComeWithTheSameStatements)
{
    auto ctx = open();
    ManagedObject* a = ctx->objectWithPrimaryKey("Author", ada);
    ManagedObject* b = ctx->objectWithPrimaryKey("Author", bea);
    qint64 before = StoreFaults::readStatementCount(*ctx);
    EXPECT_EQ(a->objects("books").size(), 30);
    EXPECT_EQ(titles(b->objects("books")), QStringList({ "B0", "B1" }));
    EXPECT_EQ(a->objects("clubs").size(), 1);
    EXPECT_EQ(b->objects("clubs").size(), 1);
    EXPECT_EQ(a->objects("clubs").first(), b->objects("clubs").first());
    EXPECT_EQ(StoreFaults::readStatementCount(*ctx) - before, 2) << "the books and the clubs of both";

    before = StoreFaults::readStatementCount(*ctx);
    EXPECT_EQ(b->objects("longNotes").size(), 0);
    EXPECT_EQ(a->objects("longNotes").size(), 1);
    EXPECT_EQ(StoreFaults::readStatementCount(*ctx) - before, 2) << "Bea's notes, then Ada's";
}

// Closing reads nothing more, however large the file: what was not in memory is read afterwards through a connection
// that only reads, which leaves the file free for a writer at once.
TEST_F(LazyFixture, AClosedStoreReadsLaterWhatItHadNotReadAndLeavesTheFileFree)
{
    auto ctx = open();
    ManagedObject* a = ctx->objectWithPrimaryKey("Author", ada);
    ASSERT_TRUE(a);
    ctx->closeStore();
    EXPECT_FALSE(ctx->isOpen());
    EXPECT_EQ(StoreFaults::registeredObjectCount(*ctx), 1);

    QString error;
    {
        ObjectContext writer(testSchema());
        ASSERT_TRUE(writer.open(path, ObjectContext::OpenMode::Existing, &error)) << qPrintable(error);
        writer.objectWithPrimaryKey("Book", adaBooks.first())->setString("title", "Renamed");
        ASSERT_TRUE(writer.save(&error)) << qPrintable(error);
    }
    const ObjectSet& books = a->objects("books");
    EXPECT_EQ(books.size(), 30);
    EXPECT_TRUE(titles(books).contains("Renamed")) << "read after the close, from the file as it is now";
    ASSERT_EQ(a->objects("clubs").size(), 1);
    EXPECT_EQ(a->objects("clubs").first()->objects("members").size(), 2);

    a->setString("name", "Changed");
    EXPECT_FALSE(ctx->save(&error)) << "a closed store is not written";
}

// A large database is never read whole: a walk reads a table a block at a time, and inside a ReleasingWalk the
// records it read go back to being faults at its release points. They stay the same objects, and their values and
// relationships are read again when used; unsaved changes, new records and what was read before the walk stay.
TEST_F(LazyFixture, AWalkOfALargeDatabaseGivesBackWhatItRead)
{
    struct Limits {
        Limits() { ReleasingWalk::setLimits(0, 0); }
        ~Limits() { ReleasingWalk::setLimits(-1, -1); }
    } everyDatabaseIsLarge;
    auto ctx = open();
    ManagedObject* a = ctx->objectWithPrimaryKey("Author", ada);
    ManagedObject* renamed = ctx->objectWithPrimaryKey("Book", adaBooks[3]);
    renamed->setString("title", "Renamed");
    ManagedObject* added = ctx->insertObject("Book");
    added->setString("title", "New");
    added->setObject("author", a);

    QStringList seen;
    QHash<qint64, ManagedObject*> walked;
    QString error;
    {
        ReleasingWalk walk(*ctx);
        ctx->forEachObject("Book", [&](ManagedObject* b) {
            seen << b->stringValue("title") + '/' + b->objectValue("author")->stringValue("name");
            walked.insert(b->primaryKey(), b);
            walk.releasePoint();
            return true;
        });
        // The walk reads inside one transaction of its own, which a save in the middle of it ends first.
        ctx->objectWithPrimaryKey("Author", bea)->setString("name", "Bea Saved");
        EXPECT_TRUE(ctx->save(&error)) << qPrintable(error);
        ctx->objectWithPrimaryKey("Book", adaBooks[5])->setString("title", "Pending");
        walk.releasePoint();
        EXPECT_EQ(ctx->objectWithPrimaryKey("Book", adaBooks[1])->stringValue("title"), "A1");
    }
    // Once it is over, the file is free for another writer.
    execInFile("UPDATE Author SET name = 'Bea' WHERE name = 'Bea Saved'");
    EXPECT_EQ(seen.size(), 33);
    for (const char* s : { "A0/Ada", "New/Ada", "B1/Bea" })
        EXPECT_TRUE(seen.contains(QString::fromLatin1(s))) << s;

    EXPECT_TRUE(StoreFaults::isFault(walked.value(adaBooks[0])));
    EXPECT_FALSE(StoreFaults::isFault(a)) << "read before the walk";
    EXPECT_FALSE(StoreFaults::isFault(walked.value(adaBooks[5]))) << "unsaved change";
    EXPECT_EQ(renamed->stringValue("title"), "Renamed");
    EXPECT_EQ(added->stringValue("title"), "New");
    EXPECT_EQ(StoreFaults::faultCount(*ctx), 31) << "the 32 books of the file and Bea, less the two changed";

    EXPECT_EQ(ctx->objectWithPrimaryKey("Book", adaBooks[0]), walked.value(adaBooks[0]));
    ManagedObject* second = walked.value(adaBooks.last() + 1)->objectValue("author");
    EXPECT_EQ(titles(second->objects("books")), QStringList({ "B0", "B1" }));
    EXPECT_EQ(walked.value(adaBooks[0])->objectValue("author"), a);
    QStringList expected;
    for (int i = 0; i < 30; ++i)
        expected << (i == 3 ? QStringLiteral("Renamed") : QStringLiteral("A%1").arg(i));
    expected << "New";
    QStringList inMemory = expected;
    inMemory.replace(5, "Pending");
    inMemory.sort();
    expected.sort();
    EXPECT_EQ(titles(a->objects("books")), inMemory);

    ctx.reset();
    ctx = open();
    EXPECT_EQ(titles(ctx->objectWithPrimaryKey("Author", ada)->objects("books")), expected);
    EXPECT_EQ(titles(ctx->objectWithPrimaryKey("Author", bea)->objects("books")), QStringList({ "B0", "B1" }));

    // A record the walk read, deleted and saved inside it, is forgotten by the walk before it is freed.
    {
        ReleasingWalk walk(*ctx);
        ctx->forEachObject("Book", [](ManagedObject*) { return true; });
        ctx->deleteObject(ctx->objectWithPrimaryKey("Book", adaBooks[7]));
        ctx->undoManager()->removeAllActions();
        ASSERT_TRUE(ctx->save(&error)) << qPrintable(error);
        walk.releasePoint();
    }
    EXPECT_EQ(ctx->objectWithPrimaryKey("Book", adaBooks[7]), nullptr);
    EXPECT_EQ(ctx->count("Book"), 32);
}

// One number of every record: the file's for records not in memory, which it does not read in a large database,
// memory's for the others; deleted records left out, new ones in, and a sub-entity's records told by their kind.
TEST_F(LazyFixture, OneNumberOfEveryRecordComesWithoutReadingTheRecords)
{
    execInFile("UPDATE Book SET year = _pk + 1000; UPDATE Note SET pages = 12 WHERE _entity = 'LongNote'");
    for (const bool large : { false, true }) {
        SCOPED_TRACE(large ? "large" : "read whole");
        ReleasingWalk::setLimits(large ? 0 : -1, large ? 0 : -1);
        auto ctx = open();
        ctx->objectWithPrimaryKey("Book", adaBooks[2])->setInteger("year", 5);
        ctx->deleteObject(ctx->objectWithPrimaryKey("Book", adaBooks[4]));
        ManagedObject* added = ctx->insertObject("Book");
        added->setInteger("year", 7);
        const qint64 inMemory = StoreFaults::registeredObjectCount(*ctx);
        const qint64 statements = StoreFaults::readStatementCount(*ctx);

        const auto years = ctx->storedIntegers("Book", "year");
        std::vector<std::pair<qint64, qint64>> expected;
        for (qint64 key = adaBooks.first(); key <= adaBooks.last() + 2; ++key)
            if (key != adaBooks[4])
                expected.emplace_back(key, key == adaBooks[2] ? 5 : key + 1000);
        expected.emplace_back(added->primaryKey(), 7);
        EXPECT_EQ(years, expected);
        if (large) {
            EXPECT_EQ(StoreFaults::readStatementCount(*ctx) - statements, 1);
            EXPECT_EQ(StoreFaults::registeredObjectCount(*ctx), inMemory) << "no record made";
        }
        const auto pages = ctx->storedIntegers("LongNote", "pages");
        ASSERT_EQ(pages.size(), 1u) << "the short note in the same table is not a long one";
        EXPECT_EQ(pages[0].second, 12);
    }
    ReleasingWalk::setLimits(-1, -1);
}

// In a large database a fault gives its relationships back with its values, unless asked to keep them: then it
// reads only its row when used again, and its lists answer without a statement.
TEST_F(LazyFixture, AFaultMayKeepItsRelationshipsInALargeDatabase)
{
    ReleasingWalk::setLimits(0, 0);
    auto ctx = open();
    ReleasingWalk::setLimits(-1, -1);
    ManagedObject* c = ctx->objectWithPrimaryKey("Club", club);
    ASSERT_EQ(c->objects("members").size(), 2);
    for (const bool keep : { true, false }) {
        SCOPED_TRACE(keep ? "kept" : "given back");
        ASSERT_TRUE(keep ? StoreFaults::refreshKeepingRelationships(c) : StoreFaults::refreshObject(c));
        EXPECT_TRUE(StoreFaults::isFault(c));
        const qint64 statements = StoreFaults::readStatementCount(*ctx);
        EXPECT_EQ(c->objects("members").size(), 2);
        EXPECT_EQ(StoreFaults::readStatementCount(*ctx) - statements, keep ? 0 : 2) << "its row, then its members";
        EXPECT_EQ(c->stringValue("name"), "Chess");
    }
}

// Many small reads in a row share one read of the file, which another program may write only once they are done;
// a save in the middle ends it first.
TEST_F(LazyFixture, AReadBurstHoldsTheFileOnlyWhileItLasts)
{
    auto ctx = open();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
    {
        const ReadBurst reads(ctx.get());
        EXPECT_EQ(ctx->objectWithPrimaryKey("Author", ada)->objects("books").size(), 30);
        EXPECT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_BUSY);
        ctx->objectWithPrimaryKey("Author", ada)->setString("name", "Ada B");
        QString error;
        EXPECT_TRUE(ctx->save(&error)) << qPrintable(error);
        EXPECT_EQ(ctx->objectWithPrimaryKey("Author", bea)->objects("books").size(), 2);
    }
    EXPECT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
}
