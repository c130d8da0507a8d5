#include "StoreTestSchema.h"

#include "platform/store/FetchRequest.h"
#include "platform/store/Faults.h"

#include <QRegularExpression>
#include <QSet>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace {
using FR = FetchRequest;

// People with folded, word-indexed names and titles, texts that are not folded, numbers; and events of two kinds
// sharing one table, with a folded place. `folded` false declares the same tables as a store made before the folded columns.
void declareFetchEntities(StoreSchema& s, bool folded)
{
    const AttributeOptions words { .words = folded };
    const AttributeOptions fold { .folded = folded };
    s.entity("Person")
        .attribute("name", AttributeType::String, {}, words)
        .attribute("title", AttributeType::String, {}, words)
        .attribute("notes", AttributeType::String)
        .attribute("born", AttributeType::Integer32)
        .attribute("height", AttributeType::Double)
        .toMany("events", "Event", "person", DeleteRule::Cascade)
        .derived("label", [](const ManagedObject* o) { return QVariant(o->stringValue("name")); });
    s.entity("Event")
        .abstract()
        .attribute("place", AttributeType::String, {}, fold)
        .toOne("person", "Person", "events");
    s.entity("Birth").inherits("Event");
    s.entity("Death").inherits("Event");
}

const StoreSchema& fetchSchema()
{
    static StoreSchema* schema = [] {
        auto* s = new StoreSchema("FetchSchema");
        declareFetchEntities(*s, true);
        s->finalize();
        return s;
    }();
    return *schema;
}

const StoreSchema& olderFetchSchema()
{
    static StoreSchema* schema = [] {
        auto* s = new StoreSchema("FetchSchema");
        declareFetchEntities(*s, false);
        s->finalize();
        return s;
    }();
    return *schema;
}

struct PersonRow {
    const char* name;
    const char* title; // null: nil
    const char* notes;
    int born; // 0: nil
};

const PersonRow kPeople[] = {
    { "John Smith", "Sir", "farmer", 1850 },
    { "Zoë Ångström", nullptr, "Née Zoe", 1901 },
    { "Mary (Polly) O'Neil", "Mrs", nullptr, 1875 },
    { "jonathan_Smythe", nullptr, "", 0 },
    { "ÉMILE ZOLA", "Dr", "writer", 1840 },
    { "Bartholomew Featherstonehaugh-Cholmondeley", nullptr, nullptr, 1700 },
    { "", "", "blank", 1999 },
};

void fill(ObjectContext& ctx)
{
    for (const PersonRow& row : kPeople) {
        ManagedObject* p = ctx.insertObject("Person");
        p->setString("name", QString::fromUtf8(row.name));
        if (row.title)
            p->setString("title", QString::fromUtf8(row.title));
        if (row.notes)
            p->setString("notes", QString::fromUtf8(row.notes));
        if (row.born)
            p->setInteger("born", row.born);
        p->setDouble("height", 1.5 + row.born / 10000.0);
        ManagedObject* birth = ctx.insertObject("Birth");
        birth->setString("place", QStringLiteral("Sainte-Hélène"));
        birth->setObject("person", p);
        if (row.born < 1900) {
            ManagedObject* death = ctx.insertObject("Death");
            death->setString("place", QStringLiteral("Paris (Île-de-France)"));
            death->setObject("person", p);
        }
    }
}

QStringList namesOf(const QList<ManagedObject*>& found)
{
    QStringList names;
    for (const ManagedObject* o : found)
        names << (o->entity()->name() == QLatin1String("Person") ? o->stringValue("name") : o->entity()->name());
    return names;
}

// The answer of the request, and the answer of its conditions tried on every record in memory.
void expectSameAsInMemory(const ObjectContext& ctx, const FR& request, const QString& entity)
{
    QList<ManagedObject*> expected = ctx.fetch(entity, [&](const ManagedObject* o) { return request.matches(o); });
    EXPECT_EQ(namesOf(request.execute(ctx)), namesOf(expected));
    EXPECT_EQ(request.count(ctx), expected.size());
}

struct FetchFixture : ::testing::Test {
    QString path = freshStorePath("fetch");
    std::unique_ptr<ObjectContext> ctx = std::make_unique<ObjectContext>(fetchSchema());

    void SetUp() override
    {
        ASSERT_TRUE(ctx->open(path, ObjectContext::OpenMode::CreateIfMissing));
        fill(*ctx);
        save();
    }
    void save()
    {
        QString error;
        ASSERT_TRUE(ctx->save(&error)) << qPrintable(error);
    }
    void reopen(const StoreSchema& schema = fetchSchema(), ObjectContext::OpenMode mode = ObjectContext::OpenMode::Existing)
    {
        ctx.reset();
        ctx = std::make_unique<ObjectContext>(schema);
        QString error;
        ASSERT_TRUE(ctx->open(path, mode, &error)) << qPrintable(error);
    }
    ManagedObject* person(const char* name)
    {
        const QString wanted = QString::fromUtf8(name);
        return ctx->fetch("Person", [&](const ManagedObject* o) { return o->stringValue("name") == wanted; }).value(0);
    }
    QStringList queryPlan(const QString& sql)
    {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        QStringList plan;
        sqlite3_stmt* st = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, ("EXPLAIN QUERY PLAN " + sql).toUtf8().constData(), -1, &st, nullptr),
            SQLITE_OK)
            << sqlite3_errmsg(db);
        while (sqlite3_step(st) == SQLITE_ROW)
            plan << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return plan;
    }
    QString schemaText()
    {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        QString text;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT group_concat(sql, ';') FROM sqlite_master", -1, &st, nullptr);
        if (sqlite3_step(st) == SQLITE_ROW)
            text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return text;
    }
};
}

// Class template for a row of the table below: a request on Person (or another entity) that must run in the file.
struct FetchCase {
    const char* what;
    QString entity;
    FR::Condition condition;
    bool inFile;
};

TEST_F(FetchFixture, AnswersInTheFileWhatTheRecordsAnswerInMemory)
{
    using TM = TextMatch::Option;
    const QString person = QStringLiteral("Person");
    ctx->insertObject("Person")->setString("name", "Smith Smithers"); // its first word and a later one match "smi"
    save();
    const std::vector<FetchCase> cases = {
        { "equal ignoring case and marks", person, FR::equals("name", "zoe angstrom"), true },
        { "equal as written", person, FR::equals("name", "John Smith", TM::Exact), true },
        { "equal as written, other case", person, FR::equals("name", "john smith", TM::Exact), true },
        { "empty text equals nil and empty", person, FR::equals("title", ""), true },
        { "begins with, folded", person, FR::beginsWith("name", "émi"), true },
        { "begins with, as written", person, FR::beginsWith("name", "Jo", TM::Exact), true },
        { "contains, folded", person, FR::contains("name", "SMI"), true },
        { "contains, not folded", person, FR::contains("notes", "Zoe", TM::Exact), true },
        { "contains ignoring case on a text that is not folded", person, FR::contains("notes", "zoe"), false },
        { "word start", person, FR::beginsWord("name", "smy"), true },
        { "word after a parenthesis", person, FR::beginsWord("name", "pol"), true },
        { "word inside a word is no start", person, FR::beginsWord("name", "ith"), true },
        { "word longer than the indexed starts", person,
            FR::beginsWord("name", "featherstonehaugh-cholmondeley"), true },
        { "long word that differs after the indexed part", person,
            FR::beginsWord("name", "featherstonehaugh-cholmondeleX"), true },
        { "word start on a folded column without words", QStringLiteral("Event"), FR::beginsWord("place", "fr"),
            true },
        { "two words of one record", person, FR::beginsWord("name", "smi"), true },
        { "all words", person, FR::allOf({ FR::beginsWord("name", "jo"), FR::beginsWord("name", "smi") }), true },
        { "any word", person, FR::anyOf({ FR::beginsWord("name", "zo"), FR::beginsWord("title", "sir") }), true },
        { "number below", person, FR::compare("born", FR::Op::Less, 1850), true },
        { "number at or above", person, FR::compare("born", FR::Op::GreaterOrEqual, 1875), true },
        { "number equal", person, FR::equals("born", 1901), true },
        { "double above", person, FR::compare("height", FR::Op::Greater, 1.69), true },
        { "nil", person, FR::isNil("born"), true },
        { "not nil", person, FR::isNotNil("title"), true },
        { "nothing asked", person, FR::Condition(), true },
        { "a sub-entity's rows only", QStringLiteral("Death"), FR::contains("place", "ile"), true },
        { "the abstract entity's rows", QStringLiteral("Event"), FR::beginsWith("place", "SAINTE"), true },
        { "a derived key", person, FR::equals("label", "x"), false },
    };
    for (const FetchCase& c : cases) {
        SCOPED_TRACE(c.what);
        FR request(c.entity);
        request.where(c.condition);
        EXPECT_EQ(!request.sql(*ctx).isEmpty(), c.inFile) << qPrintable(request.sql(*ctx));
        expectSameAsInMemory(*ctx, request, c.entity);
    }
    // Not only agreeing: the answers themselves.
    EXPECT_EQ(namesOf(FR(person).where(FR::beginsWord("name", "jo")).execute(*ctx)),
        QStringList({ "John Smith", "jonathan_Smythe" }));
    EXPECT_EQ(namesOf(FR(person).where(FR::beginsWord("name", "zol")).execute(*ctx)), QStringList({ "ÉMILE ZOLA" }));
    EXPECT_EQ(FR(person).where(FR::beginsWord("name", "ith")).count(*ctx), 0);
    EXPECT_EQ(FR(person).where(FR::beginsWord("name", "featherstonehaugh-cholmondeleX")).count(*ctx), 0);
    EXPECT_EQ(FR(person).where(FR::beginsWord("name", "featherstonehaugh-cholmondeley")).count(*ctx), 1);
}

TEST_F(FetchFixture, SeesUnsavedChangesTogetherWithStoredRows)
{
    FR smiths(QStringLiteral("Person"));
    smiths.where(FR::beginsWord("name", "smi")).sortBy("name");
    ASSERT_FALSE(smiths.sql(*ctx).isEmpty());
    ASSERT_EQ(namesOf(smiths.execute(*ctx)), QStringList({ "John Smith" }));

    ManagedObject* gone = ctx->insertObject("Person");
    gone->setString("name", "Smith Gone");
    save();
    ASSERT_EQ(smiths.count(*ctx), 2);

    // None of these is saved.
    person("Zoë Ångström")->setString("name", "Zoë Smithson"); // renamed into the match
    person("John Smith")->setString("name", "John Brown"); // and out of it
    ctx->insertObject("Person")->setString("name", "Anna SMITH"); // new
    ctx->deleteObject(gone);
    const QStringList expected { "Anna SMITH", "Zoë Smithson" };
    EXPECT_EQ(namesOf(smiths.execute(*ctx)), expected);
    EXPECT_EQ(smiths.count(*ctx), 2);

    // What the save wrote answers the same once nothing is pending.
    save();
    EXPECT_EQ(namesOf(smiths.execute(*ctx)), expected);
    reopen();
    EXPECT_EQ(namesOf(smiths.execute(*ctx)), expected);
    EXPECT_EQ(smiths.count(*ctx), 2);
    EXPECT_EQ(FR(QStringLiteral("Person")).where(FR::equals("name", "john brown")).count(*ctx), 1);
}

TEST_F(FetchFixture, FiltersInCodeAndSortsIgnoringCase)
{
    FR request(QStringLiteral("Person"));
    request.where(FR::isNotNil("born"))
        .filter([](const ManagedObject* o) { return o->integerValue("born") < 1900; })
        .sortBy("name", false);
    EXPECT_EQ(namesOf(request.execute(*ctx)),
        QStringList({ "ÉMILE ZOLA", "Mary (Polly) O'Neil", "John Smith", "Bartholomew Featherstonehaugh-Cholmondeley" }));
    EXPECT_EQ(request.count(*ctx), 4);
}

TEST_F(FetchFixture, TheFirstOfAnOrderCountUnsavedChanges)
{
    FR earliest(QStringLiteral("Person"));
    earliest.where(FR::isNotNil("born")).sortBy("born").limit(2);
    EXPECT_EQ(namesOf(earliest.execute(*ctx)),
        QStringList({ "Bartholomew Featherstonehaugh-Cholmondeley", "ÉMILE ZOLA" }));
    person("Mary (Polly) O'Neil")->setInteger("born", 1600);
    ctx->deleteObject(person("ÉMILE ZOLA"));
    EXPECT_EQ(namesOf(earliest.execute(*ctx)),
        QStringList({ "Mary (Polly) O'Neil", "Bartholomew Featherstonehaugh-Cholmondeley" }));
    FR latest(QStringLiteral("Person"));
    latest.sortBy("born", false).limit(3);
    EXPECT_EQ(namesOf(latest.execute(*ctx)), QStringList({ "", "Zoë Ångström", "John Smith" }));
}

TEST_F(FetchFixture, SearchesByTheIndexes)
{
    const auto uses = [&](const QString& entity, const FR::Condition& condition, const QString& index) {
        FR request(entity);
        request.where(condition);
        const QString plan = queryPlan(request.sql(*ctx)).join('\n');
        EXPECT_TRUE(plan.contains(index)) << qPrintable(plan);
        // Only what the indexes found is walked: no table nor index read whole.
        EXPECT_FALSE(plan.contains(QRegularExpression("SCAN (?!\\(subquery)"))) << qPrintable(plan);
    };
    const QString person = QStringLiteral("Person");
    uses(person, FR::beginsWord("name", "jo"), QStringLiteral("Person_name_words"));
    uses(person, FR::anyOf({ FR::beginsWord("name", "jo"), FR::beginsWord("title", "sir") }),
        QStringLiteral("Person_title_words"));
    uses(person, FR::beginsWith("name", "jo"), QStringLiteral("Person_name_words"));
    uses(person, FR::equals("title", "sir"), QStringLiteral("Person_title_words"));
    uses(person, FR::allOf({ FR::beginsWord("name", "jo"), FR::beginsWord("name", "smi") }),
        QStringLiteral("INTERSECT"));
    uses(QStringLiteral("Event"), FR::beginsWith("place", "par"), QStringLiteral("Event_place_cd"));
}

TEST_F(FetchFixture, AnOlderStoreGetsItsFoldedColumnsOnItsFirstWritableOpen)
{
    // A store of the same tables made before they were folded: no folded columns, no words.
    ctx.reset();
    path = freshStorePath("older");
    reopen(olderFetchSchema(), ObjectContext::OpenMode::CreateIfMissing);
    fill(*ctx);
    save();
    ASSERT_FALSE(schemaText().contains("_cd"));

    // Read only: nothing is changed, the records answer.
    reopen(fetchSchema(), ObjectContext::OpenMode::ReadOnly);
    FR request(QStringLiteral("Person"));
    request.where(FR::beginsWord("name", "smi"));
    EXPECT_TRUE(request.sql(*ctx).isEmpty());
    EXPECT_EQ(namesOf(request.execute(*ctx)), QStringList({ "John Smith" }));
    EXPECT_FALSE(schemaText().contains("_cd"));

    reopen(fetchSchema());
    EXPECT_FALSE(request.sql(*ctx).isEmpty());
    EXPECT_EQ(namesOf(request.execute(*ctx)), QStringList({ "John Smith" }));
    expectSameAsInMemory(*ctx, FR(QStringLiteral("Death")).where(FR::contains("place", "ILE")), "Death");
    // Still a plain file: nothing in it names a function of ours.
    const QString schema = schemaText();
    EXPECT_TRUE(schema.contains("Person_name_words"));
    EXPECT_FALSE(schema.contains("kinloom", Qt::CaseInsensitive));
    EXPECT_EQ(ctx->metadata().value(StoreSchema::kFoldedColumnsKey).toInt(), StoreSchema::kFoldedColumnsVersion);
    // The caller's dictionary does not take the store's own record away.
    ctx->setMetadata({ { "Other", 1 } });
    EXPECT_TRUE(ctx->metadata().contains(StoreSchema::kFoldedColumnsKey));

    // Made once: a change saved afterwards is found, by the file, after the next opening too.
    person("John Smith")->setString("name", "John Brown");
    save();
    reopen(fetchSchema());
    EXPECT_TRUE(namesOf(request.execute(*ctx)).isEmpty());
    EXPECT_EQ(FR(QStringLiteral("Person")).where(FR::beginsWord("name", "bro")).count(*ctx), 1);
}

// The words a save writes, changes and takes away are those the file would be given from its texts anew: none is
// left behind by a rename or a deletion, and texts of several bytes a character, longer than the indexed starts or
// with characters outside the BMP are cut alike.
TEST_F(FetchFixture, SavesKeepTheWordsTheTextsWouldBeGivenAnew)
{
    const QString emoji = QStringLiteral("\U0001F600");
    for (const QString& name : { QStringLiteral("Ødegård Åsa Ødegård"), QStringLiteral("aaaaaaaaaaaaaaa") + emoji + " b",
             QStringLiteral("SSßßßßßßßßßßßßßßßßß (Ærø)"), QStringLiteral("Jörg_Müller-Lüdenscheidt von Ötztal"),
             QStringLiteral("To Be Deleted") })
        ctx->insertObject("Person")->setString("name", name);
    save();
    person("Ødegård Åsa Ødegård")->setString("name", "Åsa Nowak");
    person("Zoë Ångström")->setString("title", "Dr Émile");
    person("John Smith")->setString("title", QString());
    ctx->deleteObject(person("To Be Deleted"));
    // Changes the fold does not see keep the words they had, next to one it does see.
    person("Jörg_Müller-Lüdenscheidt von Ötztal")->setString("name", "JÖRG_MÜLLER-LÜDENSCHEIDT VON ÖTZTAL");
    person(QString("aaaaaaaaaaaaaaa" + emoji + " b").toUtf8().constData())
        ->setString("name", "AAAAAAAAAAAAAAA" + emoji + " B");
    person("SSßßßßßßßßßßßßßßßßß (Ærø)")->setString("name", "SSßßßßßßßßßßßßßßßßß (Ærø) Jr");
    save();

    const auto words = [&] {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        QStringList rows;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db,
            "SELECT 'name', hex(word), pk FROM Person_name_words UNION ALL "
            "SELECT 'title', hex(word), pk FROM Person_title_words ORDER BY 1, 2, 3",
            -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            rows << QStringLiteral("%1 %2 %3")
                        .arg(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))),
                            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1))))
                        .arg(sqlite3_column_int64(st, 2));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return rows;
    };
    const QStringList saved = words();
    EXPECT_GT(saved.size(), 20);
    ctx.reset();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE Person_name_words; DROP TABLE Person_title_words", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    reopen();
    EXPECT_EQ(saved, words());
}

TEST_F(FetchFixture, AWordsTableTakenAwayByAnotherProgramIsMadeAgain)
{
    ctx.reset();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE Person_name_words", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    reopen();
    FR smiths(QStringLiteral("Person"));
    smiths.where(FR::beginsWord("name", "smi"));
    EXPECT_EQ(namesOf(smiths.execute(*ctx)), QStringList({ "John Smith" }));
    ctx->insertObject("Person")->setString("name", "Eve Smith");
    save();
    reopen();
    EXPECT_FALSE(smiths.sql(*ctx).isEmpty());
    EXPECT_EQ(smiths.count(*ctx), 2);
}

TEST_F(FetchFixture, WhatIsFoundIsReadTogether)
{
    for (int i = 0; i < 200; ++i)
        ctx->insertObject("Person")->setString("name", QStringLiteral("Walter Number%1").arg(i));
    save();
    reopen();
    const qint64 before = StoreFaults::readStatementCount(*ctx);
    FR walters(QStringLiteral("Person"));
    walters.where(FR::beginsWord("name", "walt")).sortBy("name");
    const QList<ManagedObject*> found = walters.execute(*ctx);
    ASSERT_EQ(found.size(), 200);
    EXPECT_EQ(found.first()->stringValue("name"), QStringLiteral("Walter Number0"));
    // Four statements of 64 keys, not one a record.
    EXPECT_LE(StoreFaults::readStatementCount(*ctx) - before, 4);
}
