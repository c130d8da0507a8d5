#include "StoreTestSchema.h"

#include "platform/store/UndoManager.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace {
struct Store {
    QString path;
    std::unique_ptr<ObjectContext> ctx;

    explicit Store(const QString& name)
        : path(freshStorePath(name))
    {
        reopen(ObjectContext::OpenMode::CreateIfMissing);
    }
    void reopen(ObjectContext::OpenMode mode = ObjectContext::OpenMode::Existing)
    {
        ctx.reset();
        ctx = std::make_unique<ObjectContext>(testSchema());
        QString error;
        EXPECT_TRUE(ctx->open(path, mode, &error)) << qPrintable(error);
    }
    void save()
    {
        QString error;
        EXPECT_TRUE(ctx->save(&error)) << qPrintable(error);
    }
    ManagedObject* make(const QString& entity, std::initializer_list<std::pair<const char*, QVariant>> values = {})
    {
        ManagedObject* o = ctx->insertObject(entity);
        for (const auto& [key, value] : values)
            o->setValueForKey(key, value);
        return o;
    }
    ManagedObject* get(const QString& entity, qint64 key) { return ctx->objectWithPrimaryKey(entity, key); }
};

// Runs one statement on the file through a connection of its own, as another program would.
void execOnFile(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    char* err = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
}
}

TEST(ObjectContext, EveryKindOfValueRoundTripsThroughTheFile)
{
    Store s("roundtrip");
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(1700000000123);
    auto* a = s.make("Author",
        { { "name", "Zoë Ørsted" }, { "born", 1901 }, { "rating", 4.25 }, { "alive", false }, { "updated", when },
            { "code", qlonglong(1) << 40 }, { "extra", QByteArray("x\0y", 3) }, { "photo", QByteArray(100000, 'p') },
            { "scratch", 7 } });
    auto* nilAuthor = s.make("Author", { { "name", "" } });
    nilAuthor->setValueForKey("alive", QVariant()); // a default can be set back to nil
    auto* book = s.make("Book", { { "title", "Sagas" }, { "year", 1930 } });
    book->setObject("author", a);
    auto* portrait = s.make("Portrait", { { "caption", "young" } });
    a->setObject("portrait", portrait);
    auto* club = s.make("Club", { { "name", "Pen" } });
    club->addObject("members", a);
    club->addObject("members", nilAuthor);
    auto* shortNote = s.make("ShortNote", { { "text", "short" } });
    shortNote->setObject("author", a);
    auto* longNote = s.make("LongNote", { { "text", "long" }, { "pages", 3 } });
    longNote->setObject("author", a);
    const QString uri = longNote->objectURI();
    const qint64 aKey = a->primaryKey(), nilKey = nilAuthor->primaryKey();
    const QStringList before = snapshot(*s.ctx);
    s.save();

    s.reopen();
    EXPECT_EQ(snapshot(*s.ctx), before);
    ManagedObject* a2 = s.get("Author", aKey);
    ASSERT_TRUE(a2);
    EXPECT_EQ(a2->stringValue("name"), QString("Zoë Ørsted"));
    EXPECT_EQ(a2->dateValue("updated"), when);
    EXPECT_EQ(a2->dataValue("photo").size(), 100000);
    EXPECT_TRUE(a2->isNil("scratch")) << "transient values are not stored";
    ManagedObject* n2 = s.get("Author", nilKey);
    EXPECT_FALSE(n2->isNil("name")) << "an empty text is not nil";
    EXPECT_TRUE(n2->isNil("rating"));
    EXPECT_TRUE(n2->isNil("alive"));
    EXPECT_TRUE(n2->isNil("photo"));
    ManagedObject* note = s.ctx->objectForURI(uri);
    ASSERT_TRUE(note) << "a URI resolves after reopening";
    EXPECT_EQ(note->entityName(), QString("LongNote"));
    EXPECT_TRUE(note->isKindOfEntity("Note"));
    EXPECT_EQ(note->objectValue("author"), a2);
    EXPECT_EQ(a2->objectValue("shortNote")->stringValue("text"), QString("short"));
    EXPECT_EQ(a2->valueForKeyPath("portrait.caption").toString(), QString("young"));
    EXPECT_EQ(a2->valueForKeyPath("books.@count").toInt(), 1);
    EXPECT_EQ(a2->valueForKey("label").toString(), QString("Zoë Ørsted (1901)"));
    EXPECT_EQ(s.ctx->count("Note"), 2) << "a fetch of the parent entity finds every sub-entity";
}

TEST(ObjectContext, RelationshipsKeepBothSidesInStep)
{
    Store s("inverses");
    auto* a = s.make("Author", { { "name", "A" } });
    auto* b = s.make("Author", { { "name", "B" } });
    auto* book = s.make("Book");
    auto* portrait = s.make("Portrait");
    auto* club = s.make("Club");

    // to-one side of a one-to-many: moving the book moves it between the authors' sets
    book->setObject("author", a);
    EXPECT_TRUE(a->objects("books").contains(book));
    book->setObject("author", b);
    EXPECT_FALSE(a->objects("books").contains(book));
    EXPECT_TRUE(b->objects("books").contains(book));
    // to-many side: adding to a's set takes the book from b
    a->addObject("books", book);
    EXPECT_EQ(book->objectValue("author"), a);
    EXPECT_TRUE(b->objects("books").isEmpty());
    // one-to-one: giving b the portrait that a has leaves a without one
    a->setObject("portrait", portrait);
    b->setObject("portrait", portrait);
    EXPECT_EQ(a->objectValue("portrait"), nullptr);
    EXPECT_EQ(portrait->objectValue("author"), b);
    // many-to-many, both directions
    club->addObject("members", a);
    b->addObject("clubs", club);
    EXPECT_EQ(club->objects("members").size(), 2);
    EXPECT_TRUE(a->objects("clubs").contains(club));
    a->removeObject("clubs", club);
    EXPECT_FALSE(club->objects("members").contains(a));
    // a whole to-many value set by key
    club->setValueForKey("members", QVariant::fromValue(QList<ManagedObject*> { a }));
    EXPECT_TRUE(a->objects("clubs").contains(club));
    EXPECT_TRUE(b->objects("clubs").isEmpty());

    const QStringList before = snapshot(*s.ctx);
    s.save();
    s.reopen();
    EXPECT_EQ(snapshot(*s.ctx), before);
}

// Sets small and large (a large one searches through an index once it is searched), whose other side is one
// object (books of an author) or a set again (members of a club): no duplicates, both sides in step through adds,
// moves, removals and a set that empties and fills again, and the same members after a save and reopen.
TEST(ObjectContext, SmallAndLargeSetsKeepTheirMembersExactly)
{
    for (const int n : { 5, 100 }) {
        Store s(QStringLiteral("sets%1").arg(n));
        auto* author = s.make("Author", { { "name", "A" } });
        auto* other = s.make("Author", { { "name", "B" } });
        auto* club = s.make("Club", { { "name", "C" } });
        QList<ManagedObject*> books, members;
        for (int i = 0; i < n; ++i) {
            books << s.make("Book", { { "title", QString::number(i) } });
            books.back()->setObject("author", author);
            members << s.make("Author", { { "name", QString::number(i) } });
            club->addObject("members", members.back());
        }
        author->addObject("books", books[1]); // already there
        club->addObject("members", members[1]);
        EXPECT_EQ(author->objects("books").toList(), books) << "in the order linked, once each";
        EXPECT_EQ(club->objects("members").toList(), members);

        // Moves and removals from the middle and both ends.
        for (const int i : { 0, n / 2, n - 1 }) {
            books[i]->setObject("author", other);
            club->removeObject("members", members[i]);
        }
        for (auto* set : { &author->objects("books"), &club->objects("members") })
            EXPECT_EQ(set->size(), n - 3);
        for (int i = 0; i < n; ++i) {
            const bool moved = i == 0 || i == n / 2 || i == n - 1;
            EXPECT_EQ(author->objects("books").contains(books[i]), !moved) << i;
            EXPECT_EQ(other->objects("books").contains(books[i]), moved) << i;
            EXPECT_EQ(club->objects("members").contains(members[i]), !moved) << i;
            EXPECT_EQ(members[i]->objects("clubs").contains(club), !moved) << i;
        }
        if (n < 32) {
            const QList<ManagedObject*> kept { books[1], books[3] };
            EXPECT_EQ(author->objects("books").toList(), kept) << "a small set keeps its order";
        }

        // Emptied, then filled again.
        for (ManagedObject* b : author->objects("books").toList())
            b->setObject("author", other);
        EXPECT_TRUE(author->objects("books").isEmpty());
        books[2]->setObject("author", author);
        author->addObject("books", books[4]);
        EXPECT_EQ(author->objects("books").toList(), (QList<ManagedObject*> { books[2], books[4] }));
        EXPECT_EQ(other->objects("books").size(), n - 2);

        s.save();
        const QStringList before = snapshot(*s.ctx);
        s.reopen();
        EXPECT_EQ(snapshot(*s.ctx), before) << n;
    }
}

TEST(ObjectContext, DeleteCascadesAndNullifies)
{
    Store s("deletes");
    auto* a = s.make("Author", { { "name", "A" } });
    auto* other = s.make("Author", { { "name", "O" } });
    auto* book = s.make("Book");
    book->setObject("author", a);
    auto* portrait = s.make("Portrait");
    a->setObject("portrait", portrait);
    auto* club = s.make("Club");
    club->addObject("members", a);
    club->addObject("members", other);
    auto* longNote = s.make("LongNote");
    longNote->setObject("author", a);
    s.save();

    const qint64 bookKey = book->primaryKey();
    s.ctx->deleteObject(a);
    EXPECT_TRUE(book->isDeleted()) << "books cascade";
    EXPECT_TRUE(portrait->isDeleted()) << "the portrait cascades";
    EXPECT_FALSE(club->isDeleted()) << "clubs nullify";
    EXPECT_EQ(club->objects("members").toList(), QList<ManagedObject*> { other });
    EXPECT_FALSE(longNote->isDeleted());
    EXPECT_EQ(longNote->objectValue("author"), nullptr);
    EXPECT_EQ(s.ctx->count("Book"), 0) << "fetches leave pending deletes out";
    s.save();

    s.reopen();
    EXPECT_EQ(s.ctx->count("Author"), 1);
    EXPECT_EQ(s.ctx->count("Book"), 0);
    EXPECT_EQ(s.ctx->count("Portrait"), 0);
    EXPECT_EQ(s.ctx->fetch("Club").first()->objects("members").size(), 1);
    EXPECT_EQ(s.ctx->fetch("Note").first()->objectValue("author"), nullptr);
    // Keys are never given again, not even after reopening.
    EXPECT_GT(s.make("Book")->primaryKey(), bookKey);
}

TEST(ObjectContext, SaveWritesOnlyTheChangedRowsAndColumns)
{
    Store s("onlychanged");
    auto* a = s.make("Author", { { "name", "A" }, { "born", 1800 } });
    auto* b = s.make("Author", { { "name", "B" } });
    s.save();
    EXPECT_FALSE(s.ctx->hasChanges());
    EXPECT_FALSE(a->hasChanges());

    // Another program changes the file behind the context's back; a save must not write those rows back.
    execOnFile(
        s.path, "UPDATE Author SET born = 1999 WHERE name = 'A'; UPDATE Author SET name = 'B2' WHERE name = 'B'");
    a->setString("name", "A2");
    EXPECT_TRUE(a->isUpdated());
    EXPECT_FALSE(b->hasChanges());
    s.save();
    s.reopen();
    auto people = s.ctx->fetch("Author");
    ASSERT_EQ(people.size(), 2);
    EXPECT_EQ(people[0]->stringValue("name"), QString("A2"));
    EXPECT_EQ(people[0]->integerValue("born"), 1999) << "an unchanged column of a changed row is not written";
    EXPECT_EQ(people[1]->stringValue("name"), QString("B2")) << "an unchanged row is not written";
}

// Thousands of new rows go to the file many to a statement: every row of every block, and the rows left over after
// the last full block, must arrive whole, each with its own sub-entity and nil values, in bulk mode and out of it.
TEST(ObjectContext, ManyNewRowsOfSeveralSubEntitiesRoundTrip)
{
    for (const bool bulk : { false, true }) {
        Store s(bulk ? "manyrowsbulk" : "manyrows");
        s.ctx->setBulkWriting(bulk);
        for (int round = 0; round < 2; ++round) { // the second save adds to rows already in the file
            for (int i = 0; i < 333; ++i) {
                auto* a = s.make("Author", { { "name", QStringLiteral("Author %1").arg(i) } });
                if (i % 3)
                    a->setValueForKey("rating", i / 4.0);
                else
                    a->setValueForKey("born", QVariant());
                auto* note = s.make(i % 2 ? "LongNote" : "ShortNote", { { "text", QString::number(i) } });
                if (i % 5)
                    note->setObject("author", a);
                if (i % 2 && i % 7)
                    note->setValueForKey("pages", i);
            }
            s.save();
        }
        s.ctx->setBulkWriting(false);
        EXPECT_FALSE(s.ctx->isBulkWriting());
        const QStringList before = snapshot(*s.ctx);
        s.reopen();
        EXPECT_EQ(snapshot(*s.ctx), before) << "bulk " << bulk;
        EXPECT_EQ(s.ctx->fetch("Author").size(), 666);
    }
}

// Bulk writing shares repeated values and stops looking up a column whose values are all different: either way
// each record keeps its own value, in memory and in the file.
TEST(ObjectContext, BulkWritingSharesRepeatedValuesAndKeepsDistinctOnes)
{
    Store s("bulkshare");
    s.ctx->setBulkWriting(true);
    constexpr int kCount = 12000; // well past the point where the distinct column stops being shared
    for (int i = 0; i < kCount; ++i) {
        ManagedObject* a = s.ctx->insertObject("Author");
        a->setString("name", QStringLiteral("Name %1").arg(i % 7));
        a->setData("extra", QByteArray::number(i));
    }
    const QList<ManagedObject*> authors = s.ctx->fetch("Author");
    ASSERT_EQ(authors.size(), kCount);
    for (int i = 0; i < kCount; ++i) {
        ASSERT_EQ(authors[i]->dataValue("extra"), QByteArray::number(i));
        ASSERT_EQ(authors[i]->stringValue("name"), QStringLiteral("Name %1").arg(i % 7));
        if (i >= 7) {
            ASSERT_EQ(authors[i]->stringValue("name").constData(), authors[i % 7]->stringValue("name").constData());
        }
    }
    s.save();
    s.ctx->setBulkWriting(false);
    const QStringList before = snapshot(*s.ctx);
    s.reopen();
    EXPECT_EQ(snapshot(*s.ctx), before);
}

// Bulk writing leaves the checking of link keys to the context; the saves after it must check them in the file
// again. Another program removes a row that the context still links to: only a bulk save writes a link to it.
TEST(ObjectContext, KeysOfLinksAreCheckedAgainAfterBulkWriting)
{
    Store s("bulkkeys");
    auto* a = s.make("Author", { { "name", "A" } });
    s.save();
    execOnFile(s.path, QStringLiteral("DELETE FROM Author WHERE _pk = %1").arg(a->primaryKey()).toUtf8().constData());

    s.ctx->setBulkWriting(true);
    s.make("Book", { { "title", "written in bulk" } })->setObject("author", a);
    s.save();
    s.ctx->setBulkWriting(false);

    s.make("Book", { { "title", "written normally" } })->setObject("author", a);
    QString error;
    EXPECT_FALSE(s.ctx->save(&error)) << "a link to a row that is gone is refused";
    EXPECT_TRUE(error.contains("FOREIGN KEY")) << qPrintable(error);
    EXPECT_TRUE(s.ctx->hasChanges());
}

// Each delete of a row makes the file look up the rows that link to it; the link indexes hold only rows that link,
// and must still answer that look-up, or every delete in a large file would scan whole tables.
TEST(ObjectContext, LinkLookUpsUseTheLinkIndexes)
{
    Store s("linkindexes");
    s.make("Book", { { "title", "no author" } });
    s.save();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(s.path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "EXPLAIN QUERY PLAN SELECT _pk FROM \"Book\" WHERE \"author\" = ?", -1, &st, nullptr),
        SQLITE_OK);
    QString plan;
    while (sqlite3_step(st) == SQLITE_ROW)
        plan += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3))) + '\n';
    sqlite3_finalize(st);
    sqlite3_close(db);
    EXPECT_TRUE(plan.contains("INDEX \"Book_author\"") || plan.contains("INDEX Book_author")) << qPrintable(plan);
}

TEST(ObjectContext, FetchesFilterSortAndSeePendingChanges)
{
    Store s("fetch");
    for (const char* name : { "Carl", "anna", "Bert", "Dora" })
        s.make("Author", { { "name", name } });
    s.save();
    s.make("Author", { { "name", "Abel" } });
    s.ctx->deleteObject(s.ctx->fetchFirst<TestAuthor>([](const TestAuthor* a) { return a->name() == "Dora"; }));

    const auto sorted = s.ctx->fetch<TestAuthor>([](const TestAuthor* a) { return !a->name().startsWith('C'); },
        [](const TestAuthor* x, const TestAuthor* y) { return x->name().compare(y->name(), Qt::CaseInsensitive) < 0; });
    QStringList names;
    for (const TestAuthor* a : sorted)
        names << a->name();
    EXPECT_EQ(names, QStringList({ "Abel", "anna", "Bert" }));
    EXPECT_EQ(s.ctx->count<TestAuthor>(), 4);
}

TEST(ObjectContext, MetadataIsReadFromAClosedFile)
{
    Store s("metadata");
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(1600000000000);
    s.ctx->setMetadataValue("MomKey", "DOvurV6");
    s.ctx->setMetadataValue(
        "GedcomLoadInformation", QVariantMap { { "file", "royal.ged" }, { "when", when }, { "people", 3 } });
    s.ctx->setMetadataValue("PcRelTypesConverted2", false);
    EXPECT_TRUE(s.ctx->hasChanges()) << "metadata goes with the next save";
    s.save();
    const QString uuid = s.ctx->storeUUID();
    s.ctx.reset();

    QString error;
    const QVariantMap m = ObjectContext::metadataForStoreAt(s.path, &error);
    EXPECT_TRUE(error.isEmpty()) << qPrintable(error);
    EXPECT_EQ(m.value("MomKey").toString(), QString("DOvurV6"));
    EXPECT_EQ(m.value("StoreUUID").toString(), uuid);
    EXPECT_TRUE(m.contains("PcRelTypesConverted2"));
    EXPECT_FALSE(m.value("PcRelTypesConverted2").toBool());
    const QVariantMap info = m.value("GedcomLoadInformation").toMap();
    EXPECT_EQ(info.value("file").toString(), QString("royal.ged"));
    EXPECT_EQ(info.value("when").toDateTime(), when);
    EXPECT_EQ(info.value("people").toInt(), 3);

    const QString text = TestSupport::tempRoot() + "/not-a-store.txt";
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("just some words, not a database at all, long enough to fill a header..........................");
    f.close();
    EXPECT_TRUE(ObjectContext::metadataForStoreAt(text, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

TEST(ObjectContext, URIsAreStableFromInsertionAndRefuseOtherStores)
{
    Store s("uris");
    auto* a = s.make("Author");
    const QString uri = a->objectURI();
    EXPECT_TRUE(uri.startsWith("x-kinloom://" + s.ctx->storeUUID() + "/Author/p")) << qPrintable(uri);
    EXPECT_EQ(s.ctx->objectForURI(uri), a) << "resolves before any save";
    s.save();
    EXPECT_EQ(a->objectURI(), uri);

    Store other("uris-other");
    EXPECT_EQ(other.ctx->objectForURI(uri), nullptr) << "a URI of another store";
    for (const QString& bad : { QString("x-kinloom://%1/Nobody/p1"), QString("x-kinloom://%1/Author/q1"),
             QString("x-kinloom://%1/Book/p1"), QString("http://%1/Author/p1") })
        EXPECT_EQ(s.ctx->objectForURI(bad.arg(s.ctx->storeUUID())), nullptr) << qPrintable(bad);
    s.ctx->deleteObject(a);
    EXPECT_EQ(s.ctx->objectForURI(uri), nullptr) << "a deleted object";
}

TEST(ObjectContext, ChangePathRunsHooksRawWritesDoNot)
{
    Store s("hooks");
    auto* a = static_cast<TestAuthor*>(s.make("Author"));
    auto* book = s.make("Book");
    a->hookLog.clear();

    a->setName("Ann");
    a->setName("Ann"); // the same value: no change at all
    EXPECT_EQ(a->hookLog, (std::vector<QString> { "will:name", "did:name" }));

    a->hookLog.clear();
    book->setObject("author", a); // the inverse side is told too
    EXPECT_EQ(a->hookLog, (std::vector<QString> { "will:books", "did:books" }));

    a->hookLog.clear();
    s.ctx->undoManager()->closeOpenGroups();
    const int groups = s.ctx->undoManager()->undoCount();
    a->setPrimitiveValue("born", 1750);
    EXPECT_TRUE(a->hookLog.empty());
    EXPECT_EQ(s.ctx->undoManager()->undoCount(), groups) << "a raw write is not undoable";
    s.save();
    s.reopen();
    EXPECT_EQ(s.ctx->fetch("Author").first()->integerValue("born"), 1750) << "but it is saved";
}

// The typed setters write a value of the slot's own kind directly and hand any other pairing to setValue(): either
// way the result, the hooks and the save must be those of setValue() with the same value.
TEST(ObjectContext, TypedSettersActAsSetValue)
{
    struct Case {
        const char* key;
        std::function<void(ManagedObject*)> typed;
        QVariant same; // what setValue() is given for it
    };
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(1700000000000);
    const Case cases[] = {
        { "name", [](ManagedObject* o) { o->setString("name", "Åsa"); }, QString("Åsa") },
        { "name", [](ManagedObject* o) { o->setString("name", ""); }, QString("") },
        { "name", [](ManagedObject* o) { o->setString("name", QString()); }, QVariant() },
        { "born", [](ManagedObject* o) { o->setInteger("born", (qint64(1) << 40) + 7); }, qlonglong(1) << 40 | 7 },
        { "code", [](ManagedObject* o) { o->setInteger("code", qint64(1) << 40); }, qlonglong(1) << 40 },
        { "rating", [](ManagedObject* o) { o->setInteger("rating", 3); }, qlonglong(3) },
        { "rating", [](ManagedObject* o) { o->setDouble("rating", -0.5); }, -0.5 },
        { "born", [](ManagedObject* o) { o->setDouble("born", 2.75); }, 2.75 },
        { "alive", [](ManagedObject* o) { o->setBool("alive", false); }, false },
        { "code", [](ManagedObject* o) { o->setBool("code", true); }, true },
        { "born", [](ManagedObject* o) { o->setString("born", "12"); }, QString("12") },
        { "updated", [](ManagedObject* o) { o->setInteger("updated", 5); }, qlonglong(5) },
        { "updated", [&](ManagedObject* o) { o->setDate("updated", when); }, when },
        { "extra", [](ManagedObject* o) { o->setData("extra", QByteArray("", 0)); }, QByteArray("", 0) },
        { "photo", [](ManagedObject* o) { o->setData("photo", QByteArray(3000, 'q')); }, QByteArray(3000, 'q') },
        { "label", [](ManagedObject* o) { o->setString("label", "x"); }, QString("x") },
    };
    Store s("typed");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " = " + qPrintable(c.same.toString()));
        auto* typed = static_cast<TestAuthor*>(s.make("Author", { { "name", "n" } }));
        auto* reference = static_cast<TestAuthor*>(s.make("Author", { { "name", "n" } }));
        s.save();
        typed->hookLog.clear();
        reference->hookLog.clear();
        c.typed(typed);
        c.typed(typed); // the same value again changes nothing
        reference->setValue(c.key, c.same);
        EXPECT_EQ(typed->value(c.key), reference->value(c.key));
        EXPECT_EQ(typed->isNil(c.key), reference->isNil(c.key));
        EXPECT_EQ(typed->hookLog, reference->hookLog);
        EXPECT_EQ(typed->isUpdated(), reference->isUpdated());
        const qint64 typedKey = typed->primaryKey(), referenceKey = reference->primaryKey();
        s.save();
        s.reopen();
        EXPECT_EQ(s.get("Author", typedKey)->value(c.key), s.get("Author", referenceKey)->value(c.key));
    }
}

TEST(ObjectContext, ObserversFollowKeyPaths)
{
    Store s("observers");
    auto* a = s.make("Author", { { "name", "A" } });
    auto* b = s.make("Author", { { "name", "B" } });
    auto* book = s.make("Book");
    book->setObject("author", a);

    QStringList seen;
    int owner = 0;
    book->addObserver("author.name", &owner, [&](const KeyPathChange& c) {
        seen << c.key.name() + "=" + c.object->valueForKeyPath(c.object == book ? "author.name" : "name").toString();
    });
    a->setString("name", "A2");
    book->setObject("author", b);
    a->setString("name", "A3"); // no longer on the path
    b->setString("name", "B2");
    EXPECT_EQ(seen, QStringList({ "name=A2", "author=B", "name=B2" }));

    // A derived key is announced when a key it depends on changes.
    int labels = 0;
    a->addObserver("label", &owner, [&](const KeyPathChange&) { ++labels; });
    a->setInteger("born", 1900);
    EXPECT_EQ(labels, 1);

    // Undo tells observers too.
    seen.clear();
    s.ctx->undoManager()->undo();
    EXPECT_FALSE(seen.isEmpty());

    s.ctx->removeObserversOf(&owner);
    seen.clear();
    b->setString("name", "B3");
    EXPECT_TRUE(seen.isEmpty());
}

namespace {
// A context with a key of its own, as the application's context offers "modelDefaults".
class FavouriteContext : public ObjectContext {
public:
    using ObjectContext::ObjectContext;
    ManagedObject* favourite = nullptr;
    void setFavourite(ManagedObject* o)
    {
        favourite = o;
        didChangeValueForKey("favourite");
    }
    QVariant valueForKey(const QString& key) const override
    {
        return key == "favourite" ? ManagedObject::toVariant(favourite) : ObjectContext::valueForKey(key);
    }
};
}

TEST(ObjectContext, ObserversFromTheContext)
{
    FavouriteContext ctx(testSchema());
    ASSERT_TRUE(ctx.open(freshStorePath("ctxobs"), ObjectContext::OpenMode::CreateIfMissing));
    auto* a = ctx.insertObject("Author");
    auto* b = ctx.insertObject("Author");
    int calls = 0;
    ctx.addObserver("favourite.name", &ctx, [&](const KeyPathChange&) { ++calls; });
    ctx.setFavourite(a);
    a->setString("name", "x");
    b->setString("name", "y"); // not the favourite
    ctx.setFavourite(b);
    a->setString("name", "z");
    EXPECT_EQ(calls, 3);
}

TEST(ObjectContext, LargeValuesAreReadOnFirstAccess)
{
    Store s("lazy");
    s.make("Author", { { "name", "A" }, { "photo", QByteArray("old picture") } });
    s.make("Author", { { "name", "B" } });
    s.save();
    s.reopen();
    ManagedObject* a = s.ctx->fetch("Author").first();
    ManagedObject* b = s.ctx->fetch("Author").last();
    EXPECT_FALSE(a->isNil("photo")) << "nil-ness is known without reading the value";
    EXPECT_TRUE(b->isNil("photo"));
    // Written behind the context's back after it opened: only a value read now can see it.
    execOnFile(s.path, "UPDATE Author SET photo = x'6e6577' WHERE name = 'A'");
    EXPECT_EQ(a->dataValue("photo"), QByteArray("new"));
}
