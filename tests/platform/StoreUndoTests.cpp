#include "StoreTestSchema.h"

#include "platform/store/UndoManager.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {
// A store with an author, a book, a portrait, a club and notes, saved, with an empty undo stack.
struct UndoFixture : ::testing::Test {
    QString path = freshStorePath("undo");
    std::unique_ptr<ObjectContext> ctx = std::make_unique<ObjectContext>(testSchema());
    ManagedObject *a = nullptr, *b = nullptr, *book = nullptr, *portrait = nullptr, *club = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(ctx->open(path, ObjectContext::OpenMode::CreateIfMissing));
        a = ctx->insertObject("Author");
        a->setString("name", "A");
        a->setData("photo", QByteArray(5000, 'a'));
        b = ctx->insertObject("Author");
        b->setString("name", "B");
        book = ctx->insertObject("Book");
        book->setObject("author", a);
        portrait = ctx->insertObject("Portrait");
        portrait->setObject("author", a);
        club = ctx->insertObject("Club");
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
    QStringList fileSnapshot() { return storedSnapshot(path); }
    UndoManager* undo() { return ctx->undoManager(); }
};
}

// Each kind of change, undone and redone, gives back exactly the state before and after it, in memory and in the
// file when saves come between.
TEST_F(UndoFixture, EveryKindOfChangeUndoesAndRedoesExactly)
{
    struct Case {
        const char* what;
        std::function<void(UndoFixture&)> change;
    };
    const Case cases[] = {
        { "attribute", [](UndoFixture& f) { f.a->setString("name", "A2"); } },
        { "attribute to nil", [](UndoFixture& f) { f.a->setString("name", QString()); } },
        { "lazy value", [](UndoFixture& f) { f.a->setData("photo", QByteArray("new")); } },
        { "numbers",
            [](UndoFixture& f) {
                f.a->setInteger("born", 1850);
                f.a->setDouble("rating", 2.5);
                f.a->setBool("alive", false);
            } },
        { "to-one", [](UndoFixture& f) { f.book->setObject("author", f.b); } },
        { "one-to-one taken from another", [](UndoFixture& f) { f.b->setObject("portrait", f.portrait); } },
        { "many-to-many", [](UndoFixture& f) { f.a->removeObject("clubs", f.club); } },
        { "insert with links",
            [](UndoFixture& f) {
                ManagedObject* n = f.ctx->insertObject("ShortNote");
                n->setString("text", "new");
                n->setObject("author", f.b);
            } },
        { "insert, saved in the middle, changed again",
            [](UndoFixture& f) {
                ManagedObject* n = f.ctx->insertObject("ShortNote");
                n->setString("text", "first");
                f.save();
                n->setString("text", "second");
                n->setObject("author", f.a);
            } },
        { "delete with cascade and nullify", [](UndoFixture& f) { f.ctx->deleteObject(f.a); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QStringList before = snapshot(*ctx);
        c.change(*this);
        const QStringList after = snapshot(*ctx);
        ASSERT_NE(after, before);
        save();
        undo()->undo();
        EXPECT_EQ(snapshot(*ctx), before);
        save();
        EXPECT_EQ(fileSnapshot(), before);
        undo()->redo();
        EXPECT_EQ(snapshot(*ctx), after);
        save();
        EXPECT_EQ(fileSnapshot(), after);
        undo()->undo();
        save();
        EXPECT_EQ(fileSnapshot(), before);
        undo()->removeAllActions();
    }
}

// The values given to a record in the group that inserts it are not recorded (undoing the group takes the record
// out whole); a record inserted by an earlier group still has every change of its values undone and redone.
TEST_F(UndoFixture, ValuesOfARecordInsertedByAnEarlierGroupAreStillUndone)
{
    ManagedObject* n = ctx->insertObject("ShortNote");
    n->setString("text", "old");
    undo()->closeOpenGroups();
    n->setString("text", "new");
    n->setString("text", "newer");
    undo()->closeOpenGroups();
    undo()->undo();
    EXPECT_FALSE(n->isDeleted());
    EXPECT_EQ(n->stringValue("text"), QString("old"));
    undo()->redo();
    EXPECT_EQ(n->stringValue("text"), QString("newer"));
    undo()->undo();
    undo()->undo();
    EXPECT_TRUE(n->isDeleted());
    undo()->redo();
    EXPECT_FALSE(n->isDeleted());
    EXPECT_EQ(n->stringValue("text"), QString("old"));
}

TEST_F(UndoFixture, GroupsCloseAtTheEndOfTheEventLoopTurnOrExplicitly)
{
    a->setString("name", "1");
    a->setInteger("born", 1);
    EXPECT_EQ(undo()->groupingLevel(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(undo()->groupingLevel(), 0);
    b->setString("name", "2");
    undo()->closeOpenGroups();
    EXPECT_EQ(undo()->undoCount(), 2);

    undo()->beginUndoGrouping();
    undo()->setActionName("Rename both");
    a->setString("name", "x");
    QCoreApplication::processEvents(); // an explicit group outlives the turn
    b->setString("name", "y");
    undo()->endUndoGrouping();
    EXPECT_EQ(undo()->undoCount(), 3);
    undo()->undo();
    EXPECT_EQ(a->stringValue("name"), QString("1"));
    EXPECT_EQ(b->stringValue("name"), QString("2"));
    EXPECT_EQ(undo()->redoActionName(), QString("Rename both"));
    EXPECT_TRUE(undo()->canRedo());

    a->setString("name", "new");
    EXPECT_FALSE(undo()->canRedo()) << "a new change empties the redo stack";
}

// A window's own group taken back whole: inserts, deletes and links inside it undone, nothing offered to redo, and
// the groups before it still there to undo. An empty group takes nothing back.
TEST_F(UndoFixture, ANestedGroupIsTakenBackWithoutTouchingTheGroupsBeforeIt)
{
    a->setString("name", "before");
    undo()->closeOpenGroups();
    const QStringList before = snapshot(*ctx);

    undo()->beginUndoGrouping();
    undo()->setActionName("Window");
    EXPECT_FALSE(undo()->undoNestedGroup()) << "nothing changed yet";
    EXPECT_EQ(undo()->undoCount(), 1);

    undo()->beginUndoGrouping();
    b->setString("name", "changed");
    ManagedObject* note = ctx->insertObject("ShortNote");
    note->setObject("author", b);
    book->setObject("author", b);
    QCoreApplication::processEvents(); // the window's group outlives the turn
    ctx->deleteObject(portrait);
    EXPECT_TRUE(undo()->undoNestedGroup());
    EXPECT_EQ(snapshot(*ctx), before);
    EXPECT_EQ(undo()->groupingLevel(), 0);
    EXPECT_FALSE(undo()->canRedo());
    EXPECT_EQ(undo()->undoCount(), 1);
    save();
    EXPECT_EQ(fileSnapshot(), before);

    undo()->undo();
    EXPECT_EQ(a->stringValue("name"), QString("A")) << "the group before the window's is still undoable";
}

TEST_F(UndoFixture, ActionNamesRegistrationAndLevels)
{
    undo()->setActionName("Add Birth Event");
    EXPECT_EQ(undo()->actionName(), QString("Add Birth Event"));
    a->setString("name", "n");
    undo()->closeOpenGroups();
    EXPECT_EQ(undo()->actionName(), QString()) << "no group is open";
    EXPECT_EQ(undo()->undoActionName(), QString("Add Birth Event"));
    undo()->undo();
    EXPECT_EQ(undo()->redoActionName(), QString("Add Birth Event"));
    EXPECT_TRUE(undo()->canRedo());

    undo()->removeAllActions();
    undo()->disableUndoRegistration();
    a->setString("name", "import");
    ctx->insertObject("Book");
    undo()->enableUndoRegistration();
    EXPECT_FALSE(undo()->canUndo());

    undo()->setLevelsOfUndo(2);
    for (int i = 0; i < 5; ++i) {
        a->setInteger("born", i);
        undo()->closeOpenGroups();
    }
    EXPECT_EQ(undo()->undoCount(), 2);
    undo()->undo();
    undo()->undo();
    undo()->undo(); // nothing left
    EXPECT_EQ(a->integerValue("born"), 2);
}
