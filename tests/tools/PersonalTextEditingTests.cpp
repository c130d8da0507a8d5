// The personal comments and notes editors' work: the filters, deleting the lines that hold the filter text (each
// answer of the question), joining broken lines and removing indentation, and the CSV listing (golden file in
// tests/data/tools, read back by an independent reader).

#include "ToolsFixture.h"
#include "CsvReader.h"

#include "tools/PersonalTextEditing.h"

#include "shell/Utils.h"

#include "model/FTMocUndoManager.h"

#include <QFile>
#include <QFileInfo>

#include <functional>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
using PTE = PersonalTextEditing;

QStringList namesOf(const QList<FTPerson*>& people)
{
    QStringList out;
    for (const FTPerson* p : people)
        out << p->name();
    return out;
}
}

class PersonalTextFixture : public ToolsFixture {
protected:
    FTPerson* withComments(const QString& name, const QString& comments, const QString& gender = "M")
    {
        FTPerson* p = person(name, gender);
        p->setComments(comments);
        return p;
    }
};

TEST_F(PersonalTextFixture, TheListHoldsPeopleWithTextNarrowedByTheFilters)
{
    withComments("Zoe Adams", "Born in Zoë's Town", "F");
    withComments("Al Brown", "census 1881\nsee the register");
    FTPerson* empty = person("Cy Brown");
    FTPerson* noted = person("Di Ford", "F");
    noted->setNotes("A note");
    FTPerson* alsoNoted = person("Ed Brownlow");
    alsoNoted->setNotes("Another note");
    settle();

    PTE comments(moc.get(), PTE::Comments);
    EXPECT_THAT(namesOf(comments.people()), ElementsAre("Al Brown", "Zoe Adams")) << "by name, the empty left out";
    comments.setFilter("  ZOE'S  ");
    EXPECT_THAT(namesOf(comments.people()), ElementsAre("Zoe Adams")) << "trimmed, any case, any accent";
    comments.setFilter("");
    comments.setNotEmptyOnly(false);
    EXPECT_TRUE(comments.people().contains(empty));

    PTE notes(moc.get(), PTE::Notes);
    EXPECT_THAT(namesOf(notes.people()), ElementsAre("Di Ford", "Ed Brownlow"));
    notes.setFamilyNameFilter("brown");
    EXPECT_THAT(namesOf(notes.people()), ElementsAre("Ed Brownlow"));
}

// The filter keeps each text's folded form between keystrokes: a text changed in any way must be found (or no
// longer found) by the very next filtering, without the list being read again.
TEST_F(PersonalTextFixture, AChangedTextIsFilteredAsItNowIs)
{
    FTPerson* al = person("Al Adams");
    al->setNotes("farm at Kew");
    FTPerson* bo = person("Bo Brown");
    bo->setNotes("the old mill");
    settle();
    PTE notes(moc.get(), PTE::Notes);
    notes.setFilter("mill");
    ASSERT_THAT(namesOf(notes.people()), ElementsAre("Bo Brown"));

    const struct {
        const char* how;
        std::function<void()> change;
        QStringList found;
    } steps[] = {
        {"this editor", [&] { notes.setText(al, "sold the MILL"); }, {"Al Adams", "Bo Brown"}},
        {"undone", [&] { undo(); }, {"Bo Brown"}},
        {"redone", [&] { moc->undoManager()->redo(); }, {"Al Adams", "Bo Brown"}},
        {"another window", [&] { bo->setNotes("the old barn"); }, {"Al Adams"}},
        {"a raw write", [&] { bo->setPrimitiveValue(Key("notes"), QString("Mïll lane")); }, {"Al Adams", "Bo Brown"}},
        {"emptied", [&] { al->setNotes({}); }, {"Bo Brown"}},
    };
    for (const auto& step : steps) {
        step.change();
        notes.rearrange();
        EXPECT_THAT(namesOf(notes.people()), ::testing::ElementsAreArray(step.found)) << step.how;
    }
    notes.setFilter("MILL LANE");
    EXPECT_THAT(namesOf(notes.people()), ElementsAre("Bo Brown")) << "the new filter over the cached texts";
}

TEST_F(PersonalTextFixture, DeletingTheLinesThatHoldTheFilterAsksPersonByPerson)
{
    const QString kAl = "census 1881\nkeep me\nCENSUS 1891";
    const QString kBo = "Census\nkeep";
    const QString kCy = "keep\ncensus";
    const QString kDi = "nothing here";
    const struct {
        const char* what;
        QList<int> answers;
        QStringList after; // Al, Bo, Cy, Di
        int changed;
        int questions;
    } cases[] = {
        {"replace each", {PTE::Replace, PTE::Replace, PTE::Replace}, {"keep me", "keep", "keep", kDi}, 3, 3},
        {"skip the second", {PTE::Replace, PTE::Skip, PTE::Replace}, {"keep me", kBo, "keep", kDi}, 2, 3},
        {"stop at the second", {PTE::Replace, PTE::Stop}, {"keep me", kBo, kCy, kDi}, 1, 2},
        {"closing stops", {ScriptedPrompts::kEscape}, {kAl, kBo, kCy, kDi}, 0, 1},
        {"replace all asks no more", {PTE::Skip, PTE::ReplaceAll}, {kAl, "keep", "keep", kDi}, 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        moc = newDatabase(QString("Lines%1.RezUdu").arg(&c - cases));
        FTPerson* al = withComments("Al", kAl);
        FTPerson* bo = withComments("Bo", kBo);
        FTPerson* cy = withComments("Cy", kCy);
        FTPerson* di = withComments("Di", kDi);
        settle();
        PTE editing(moc.get(), PTE::Comments);
        editing.setFilter("census");
        for (int answer : c.answers)
            prompts.answer(answer);
        EXPECT_EQ(editing.deleteAllLinesThatContainTheFilterString(), c.changed);
        EXPECT_EQ(QStringList({al->comments(), bo->comments(), cy->comments(), di->comments()}), c.after);
        ASSERT_EQ(prompts.records.size(), c.questions + 1);
        EXPECT_EQ(prompts.records.last().text, QString("%1 %2").arg(c.changed).arg(L("NumCommentsChanged")));
        EXPECT_EQ(prompts.records[0].text,
                  QString("%1 Al\n\n%2\n\n%3\n\n%4\n\nkeep me")
                      .arg(L("For"), L("replaceComments"), kAl, L("ReplaceCommentsWith")));
        EXPECT_EQ(prompts.records[0].buttons, QStringList({L("ReplaceCommentsButton"), L("Skip"), L("Stop"),
                                                           L("ReplaceAllComments")}));
        if (c.changed > 0) {
            EXPECT_FALSE(moc->hasChanges()) << "saved once";
            EXPECT_EQ(moc->undoManager()->undoActionName(), L("DeleteCommentLines"));
            undo();
            EXPECT_EQ(al->comments(), kAl) << "one undo step for the whole pass";
            EXPECT_EQ(cy->comments(), kCy);
        }
    }
}

TEST_F(PersonalTextFixture, LinesOfTheFilterAndTheEdgesOfDeletingThem)
{
    FTPerson* all = withComments("Al", "census one\nCensus two");
    FTPerson* across = withComments("Bo", "end of a\nline");
    settle();
    PTE editing(moc.get(), PTE::Comments);
    editing.deleteAllLinesThatContainTheFilterString();
    EXPECT_THAT(messages(), ElementsAre(L("EnterSearchTryAgain")));

    // Every line goes: the comments are emptied, and the person leaves the list.
    prompts.clear();
    editing.setFilter("census");
    prompts.answer(PTE::Replace);
    EXPECT_EQ(editing.deleteAllLinesThatContainTheFilterString(), 1);
    EXPECT_EQ(all->comments(), "");
    EXPECT_FALSE(editing.people().contains(all));

    // A filter across a line break matches the text but no line: the text is offered, and stored, unchanged.
    editing.setFilter("a\nline");
    prompts.clear();
    prompts.answer(PTE::Replace);
    EXPECT_EQ(editing.deleteAllLinesThatContainTheFilterString(), 1);
    EXPECT_EQ(across->comments(), "end of a\nline");
}

TEST(PersonalNotesCleaning, JoiningBrokenLinesAndRemovingIndentation)
{
    const struct {
        const char* note;
        std::optional<QString> joined;
    } joins[] = {
        {"one  \ntwo \nthree", QString("one two three")},
        {"Heading: \nbody \ntext", QString("Heading:\nbody text")},
        {"no blank\nat the ends", std::nullopt},
        {"Heading: \nno blank", std::nullopt},
        {"a \nb\n\n\n\nc", QString("a b\n\n\nc")},
        {"  a \nb  ", QString("a b")},
    };
    for (const auto& j : joins)
        EXPECT_EQ(PTE::joinedLines(j.note), j.joined) << j.note;

    const struct {
        const char* note;
        std::optional<QString> unindented;
    } indents[] = {
        {"one\n   two\n three", QString("one\ntwo\nthree")},
        {"  lead\n  next", QString("lead\nnext")},
        {"flat\nlines", std::nullopt},
        {"  only the start", std::nullopt},
    };
    for (const auto& i : indents)
        EXPECT_EQ(PTE::unindented(i.note), i.unindented) << i.note;
}

TEST_F(PersonalTextFixture, CleaningOneNoteOrEveryListedNote)
{
    FTPerson* broken = person("Al");
    broken->setNotes("one \ntwo");
    FTPerson* fine = person("Bo");
    fine->setNotes("fine\nlines");
    FTPerson* indented = person("Cy");
    indented->setNotes("x\n  y");
    settle();
    PTE notes(moc.get(), PTE::Notes);
    EXPECT_FALSE(notes.replaceSpaceLinefeedWithSpace(nullptr));
    EXPECT_FALSE(notes.replaceSpaceLinefeedWithSpace(fine));
    EXPECT_TRUE(notes.replaceSpaceLinefeedWithSpace(broken));
    EXPECT_EQ(broken->notes(), "one two");
    EXPECT_THAT(messages(), ElementsAre(L("SelectPersonTryAgain"), L("NoNotesUpdated"), L("NoteUpdated")));

    broken->setNotes("one \ntwo");
    settle();
    prompts.answer(1);
    EXPECT_EQ(notes.replaceSpaceLinefeedWithSpaceAll(), -1);
    EXPECT_EQ(broken->notes(), "one \ntwo") << "cancelled";
    prompts.clear();
    prompts.answer(0);
    EXPECT_EQ(notes.replaceLinefeedSpaceWithLinefeedAll(), 1);
    EXPECT_EQ(prompts.records[0].text, L("ReplaceAllLineFeedJustified"));
    EXPECT_EQ(prompts.records[0].buttons, QStringList({L("Proceed"), L("Cancel")}));
    EXPECT_EQ(messages().last(), "1 " + L("NotesUpdated"));
    EXPECT_EQ(indented->notes(), "x\ny");
    prompts.answer(0);
    EXPECT_EQ(notes.replaceSpaceLinefeedWithSpaceAll(), 1);
    EXPECT_EQ(broken->notes(), "one two");
    EXPECT_FALSE(moc->hasChanges());
    undo();
    EXPECT_EQ(broken->notes(), "one \ntwo");
    EXPECT_EQ(indented->notes(), "x\ny") << "each pass its own undo step";
}

TEST_F(PersonalTextFixture, CommentsListingQuotesTextsAndKeepsItsLineBreaks)
{
    FTPerson* al = withComments("Al \"Big\" Lee", "Said \"hello\"\nthen left, quickly");
    event(al, FTEvent::BirthEvent, "", "1901");
    event(al, FTEvent::DeathEvent, "", "1950");
    withComments("Bo Lee", "No dates");
    settle();
    PTE comments(moc.get(), PTE::Comments);
    const QString base = dataFolder() + "/Reports/Family_" + L("PersonalCommentsFileName");
    const QString path = comments.writeCsv();
    EXPECT_EQ(path, base + ".csv");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    TestSupport::expectGolden(bytes, "tools/personal-comments.csv");
    bool wellFormed = false;
    const QList<QStringList> rows = CsvReader::parse(bytes, &wellFormed);
    EXPECT_TRUE(wellFormed);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], L("CommentsCsvHeaderLine").split(','));
    EXPECT_EQ(rows[1].mid(1), QStringList({"Al \"Big\" Lee", "1901", "1950", "Said \"hello\"\nthen left, quickly"}));
    EXPECT_EQ(rows[2].mid(1), QStringList({"Bo Lee", "", "", "No dates"})) << "no year: an empty field";

    // Every name up to the hundredth taken: the listing is refused, never written over one.
    for (int n = 1; n <= 100; ++n)
        ASSERT_TRUE(TestSupport::writeFile(QString("%1_%2.csv").arg(base).arg(n), "x"));
    prompts.clear();
    EXPECT_EQ(comments.writeCsv(), "");
    EXPECT_EQ(messages().size(), 1);
    QFile hundredth(base + "_100.csv");
    ASSERT_TRUE(hundredth.open(QIODevice::ReadOnly));
    EXPECT_EQ(hundredth.readAll(), "x");
}
