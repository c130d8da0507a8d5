// To-do notes: who is listed, clearing a note, and the RTF listing (golden file in tests/data/tools), which never
// replaces an earlier one and is not opened when it could not be written.

#include "ToolsFixture.h"
#include "WithoutPermissionOverride.h"
#include "WorkspaceFixture.h"

#include "tools/TodoNotes.h"

#include "shell/Utils.h"

#include "platform/Workspace.h"

#include <QFile>
#include <QFileInfo>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
QStringList namesOf(const QList<FTPerson*>& people)
{
    QStringList out;
    for (const FTPerson* p : people)
        out << p->name();
    return out;
}
QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}

using TodoNotesFixture = ToolsFixture;

TEST_F(TodoNotesFixture, ThePeopleWithANoteAndClearingOne)
{
    FTPerson* zed = person("Zed Lee");
    zed->setTodo("Find the will");
    FTPerson* amy = person("Amy Lee", "F");
    amy->setTodo("  Ask \"Aunt\" Jo\nabout the farm  ");
    FTPerson* other = person("Other Lee");
    other->setTodo("x");
    other->setTodo("");      // the key goes, other extra data may stay
    FTPerson* blank = person("Blank Lee");
    blank->setTodo(" \n  ");
    settle();
    EXPECT_EQ(blank->todo(), "") << "blanks alone are no note";
    TodoNotes todos(moc.get());
    todos.loadPeopleArray();
    EXPECT_THAT(namesOf(todos.people()), ElementsAre("Amy Lee", "Zed Lee"));
    todos.remove(zed);
    EXPECT_EQ(zed->todo(), "");
    EXPECT_THAT(namesOf(todos.people()), ElementsAre("Amy Lee"));
}

TEST_F(TodoNotesFixture, TheListingShowsEachNoteInRedAndNeverReplacesAnEarlierOne)
{
    WorkspaceFixture apps(dir.path(), Workspace::shared().mimeTypeForFile("x.rtf"));
    UserDefaults::standard().setString("rtfApplication", "");
    FTPerson* amy = person("Amy Lee", "F");
    amy->setTodo("Ask \"Aunt\" Jo\nabout the {farm}");
    event(amy, FTEvent::BirthEvent, "Kew", "1901");
    person("Zed Lee")->setTodo("Find the will");
    settle();
    TodoNotes todos(moc.get());
    todos.setDateTime(QDateTime(QDate(2026, 12, 10), QTime(14, 5)));
    todos.loadPeopleArray();
    const QString base = dataFolder() + "/Reports/Family_" + L("ToDoList");
    const QString path = todos.printAll();
    EXPECT_EQ(path, base + ".rtf");
    const QByteArray bytes = readFile(path);
    TestSupport::expectGolden(bytes, "tools/todo-list.rtf");
    EXPECT_TRUE(bytes.startsWith("{\\rtf1"));
    EXPECT_TRUE(bytes.contains("\\cf6 Ask \\uc0\\u34 Aunt\\uc0\\u34  Jo \\par about the  farm  \\par "))
        << "a quote escaped, a line break a paragraph, in red";
    EXPECT_EQ(apps.launched(), QStringList({"--editor", path}));

    EXPECT_EQ(todos.printAll(), base + "_1.rtf");
    EXPECT_EQ(readFile(path), bytes) << "the first listing kept";

    // No notes: the header and the closing brace.
    moc = newDatabase("Empty.RezUdu");
    TodoNotes none(moc.get());
    none.loadPeopleArray();
    const QByteArray empty = readFile(none.writeListing());
    EXPECT_TRUE(empty.startsWith("{\\rtf1"));
    EXPECT_TRUE(empty.endsWith("}"));
    EXPECT_FALSE(empty.contains("\\par")) << empty.toStdString();
}

TEST_F(TodoNotesFixture, AListingThatCannotBeWrittenIsNotOpened)
{
    UserDefaults::standard().setString("rtfApplication", "");
    person("Zed Lee")->setTodo("Find the will");
    settle();
    const QString reports = Utils::reportsDirectory();
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::ExeOwner);
    TodoNotes todos(moc.get());
    todos.loadPeopleArray();
    {
        WithoutPermissionOverride asAUser;
        EXPECT_EQ(todos.printAll(), "");
    }
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Opening a file that is not there would have told of it too.
    EXPECT_EQ(messages().size(), 1) << "one message, then nothing more: " << messages().join("|").toStdString();
}
