// The personal comments and notes editors as the People menu opens them.

#include "ToolsWindowFixture.h"

#include "tools/TextListModel.h"
#include "tools/ui/PersonalTextEditor.h"

#include "editor/ui/EditorTableView.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

using PersonalTextWindows = ToolsWindowFixture;

TEST_F(PersonalTextWindows, CommentsFilteredEditedAndTheirLinesDeleted)
{
    QList<FTPerson*> people = moc->fetch<FTPerson>();
    ASSERT_GE(people.size(), 4);
    people[0]->setComments("census 1881\nborn at sea");
    people[1]->setComments("Census 1891");
    people[2]->setComments("Only a comment");
    moc->saveMoc();

    ToolsMenuActions::editPersonalComments();
    auto* e = sheet<EditPersonalComments>();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->peopleModel()->texts().size(), 3);
    e->filterField()->setText("census");
    EXPECT_EQ(e->peopleModel()->texts().size(), 2);
    e->selectPerson(people[0]);
    EXPECT_EQ(e->textView()->toPlainText(), "census 1881\nborn at sea");
    saveScreenshot(e, "EditPersonalComments");

    prompts.answer(PersonalTextEditing::ReplaceAll);
    e->findChild<QPushButton*>("deleteAllLinesThatContainTheFilterString")->click();
    EXPECT_EQ(people[0]->comments(), "born at sea");
    EXPECT_EQ(people[1]->comments(), "");
    EXPECT_EQ(texts().last(), "2 " + L("NumCommentsChanged"));
    EXPECT_TRUE(e->peopleModel()->texts().isEmpty()) << "neither holds the filter any more";
    EXPECT_EQ(e->progressIndicator()->value(), 0);

    // Typing in the text view edits the chosen person.
    e->filterField()->clear();
    e->selectPerson(people[2]);
    e->textView()->setPlainText("Changed here");
    EXPECT_EQ(people[2]->comments(), "Changed here");
    e->findChild<QPushButton*>("deleteText")->click();
    EXPECT_EQ(people[2]->comments(), "");
    e->resize(700, 500);
    e->close();
    ToolsMenuActions::editPersonalComments();
    EXPECT_EQ(sheet<EditPersonalComments>()->size(), QSize(700, 500)) << "the size kept for the run";
}

TEST_F(PersonalTextWindows, NotesJoinedForOnePersonAndForAll)
{
    QList<FTPerson*> people = moc->fetch<FTPerson>();
    people[0]->setNotes("Pasted \nfrom a \nletter");
    people[1]->setNotes("Indented\n  text");
    moc->saveMoc();
    ToolsMenuActions::editPersonalNotes();
    auto* e = sheet<EditPersonalNotes>();
    ASSERT_NE(e, nullptr);
    ASSERT_NE(e->familyNameFilterField(), nullptr);
    e->selectPerson(people[0]);
    e->findChild<QPushButton*>("replaceSpaceLinefeedWithSpace")->click();
    EXPECT_EQ(people[0]->notes(), "Pasted from a letter");
    EXPECT_EQ(e->textView()->toPlainText(), "Pasted from a letter");
    EXPECT_EQ(texts().last(), L("NoteUpdated"));
    saveScreenshot(e, "EditPersonalNotes");

    prompts.answer(0);
    e->findChild<QPushButton*>("replaceLinefeedSpaceWithLinefeedAll")->click();
    EXPECT_EQ(people[1]->notes(), "Indented\ntext");
    EXPECT_EQ(texts().last(), "1 " + L("NotesUpdated"));
    e->close();
    EXPECT_FALSE(moc->hasChanges()) << "the notes window saves as it closes";
}
