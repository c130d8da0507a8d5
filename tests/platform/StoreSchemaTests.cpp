#include "StoreTestSchema.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(StoreSchema, SubEntitiesShareTheirRootTableAndLinkColumn)
{
    const StoreSchema& s = testSchema();
    const QString ddl = s.createStatements().join('\n');
    EXPECT_TRUE(ddl.contains("CREATE TABLE \"Note\"")) << qPrintable(ddl);
    EXPECT_FALSE(ddl.contains("CREATE TABLE \"ShortNote\""));
    // ShortNote.author and LongNote.author point to the same table: one column serves both.
    const auto* shortAuthor = s.entityNamed("ShortNote")->property("author");
    const auto* longAuthor = s.entityNamed("LongNote")->property("author");
    EXPECT_EQ(shortAuthor->column, longAuthor->column);
    EXPECT_NE(shortAuthor->inverse, longAuthor->inverse);
    // A many-to-many pair gets a join table; transient and derived keys get no column.
    EXPECT_TRUE(ddl.contains("\"Author_clubs\"") || ddl.contains("\"Club_members\""));
    EXPECT_FALSE(ddl.contains("\"scratch\""));
    EXPECT_FALSE(ddl.contains("\"label\""));
    // Inherited properties sit at the same place in every sub-entity.
    EXPECT_EQ(s.entityNamed("Note")->property("text"), s.entityNamed("LongNote")->property("text"));
    EXPECT_EQ(s.entityNamed("LongNote")->attributeNames(), QStringList({ "text", "pages" }));
    EXPECT_EQ(s.entityNamed("Author")->property("label")->kind, PropertyDescription::Kind::Derived);
}

TEST(StoreSchema, RefusesInconsistentDeclarations)
{
    struct Case {
        const char* what;
        std::function<void(StoreSchema&)> declare;
    };
    const Case cases[] = {
        { "unknown target", [](StoreSchema& s) { s.entity("A").toOne("b", "Nowhere", "a"); } },
        { "missing inverse",
            [](StoreSchema& s) {
                s.entity("A").toOne("b", "B", "a");
                s.entity("B");
            } },
        { "inverse pointing elsewhere",
            [](StoreSchema& s) {
                s.entity("A").toOne("b", "B", "a").toOne("c", "B", "a");
                s.entity("B").toMany("a", "A", "c");
            } },
        { "sub-entity redeclaring a key",
            [](StoreSchema& s) {
                s.entity("A").attribute("x", AttributeType::String);
                s.entity("A2").inherits("A").attribute("x", AttributeType::String);
            } },
        { "unknown parent", [](StoreSchema& s) { s.entity("A").inherits("Nobody"); } },
        { "lazy text",
            [](StoreSchema& s) { s.entity("A").attribute("x", AttributeType::String, {}, { .lazy = true }); } },
    };
    for (const Case& c : cases) {
        StoreSchema s("Bad");
        EXPECT_THROW(
            {
                c.declare(s);
                s.finalize();
            },
            std::logic_error)
            << c.what;
    }
}
