// Taking a person's data from another database: each field group's replace and append rules, the name stored as
// the other database has it, events merged into a chosen event or made anew, undo of everything merged in the
// session, and the other database's file left as it was.

#include "MergeFixture.h"

#include "merge/MergeLists.h"
#include "merge/OtherDatabaseMerge.h"
#include "merge/PersonFieldsMerge.h"

#include "model/FTMocUndoManager.h"

#include <QFileInfo>

#include <gmock/gmock.h>

namespace {
// A text field's value on one side: absent (never set), empty, or a text.
const char* const kAbsent = nullptr;

void setText(FTPerson* p, const QString& key, const char* value)
{
    if (value)
        p->setValueForKey(key, QString::fromUtf8(value));
}

QString keyOf(int tag)
{
    switch (tag) {
    case MergeTag::Title: return "title";
    case MergeTag::CauseOfDeath: return "causeOfDeath";
    case MergeTag::NotesReplaced:
    case MergeTag::NotesAppended: return "notes";
    default: return "comments";
    }
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}

// The other database is written, then opened only for reading, as the merge windows open it.
class OtherDatabaseMergeTest : public MergeFixture {
protected:
    void SetUp() override
    {
        MergeFixture::SetUp();
        otherPath = other->databaseURL();
    }
    // Saves and reopens the other database for reading; `their` is found again by name.
    FTPerson* reopenOther(const QString& name)
    {
        EXPECT_TRUE(other->saveMoc());
        other.reset();
        otherBytes = bytesOf(otherPath);
        otherModified = QFileInfo(otherPath).lastModified();
        other = FTMoc::initForReadingStoreURL(otherPath);
        EXPECT_TRUE(other);
        return other->fetchFirst<FTPerson>([&](const FTPerson* p) { return p->name() == name; });
    }
    void expectOtherFileUnchanged()
    {
        other.reset();
        EXPECT_EQ(bytesOf(otherPath), otherBytes);
        EXPECT_EQ(QFileInfo(otherPath).lastModified(), otherModified);
    }
    QString lastText() const { return prompts.records.isEmpty() ? QString() : prompts.records.last().text; }

    QString otherPath;
    QByteArray otherBytes;
    QDateTime otherModified;
};

// Every text field group on a pair whose values are present ("A" / "B"), empty or absent on each side.
TEST_F(OtherDatabaseMergeTest, EachTextFieldIsReplacedOrAppendedByItsRule)
{
    struct Case {
        int tag;
        const char* from;
        const char* into;
        const char* expected; // kAbsent: absent afterwards
    };
    const Case cases[] = {
        // Replacing copies whatever the other person has, nothing included.
        { MergeTag::Title, "B", "A", "B" },
        { MergeTag::Title, "", "A", "" },
        { MergeTag::Title, kAbsent, "A", kAbsent },
        { MergeTag::CauseOfDeath, "B", kAbsent, "B" },
        { MergeTag::CauseOfDeath, kAbsent, "A", kAbsent },
        { MergeTag::NotesReplaced, "B", "", "B" },
        { MergeTag::NotesReplaced, kAbsent, "A", kAbsent },
        { MergeTag::CommentsReplaced, "", kAbsent, "" },
        { MergeTag::CommentsReplaced, "B", "A", "B" },
        // Appending adds a line end only after a text that is there, even an empty one.
        { MergeTag::NotesAppended, "B", "A", "A\nB" },
        { MergeTag::NotesAppended, "B", "", "\nB" },
        { MergeTag::NotesAppended, "B", kAbsent, "B" },
        { MergeTag::NotesAppended, "", "A", "A" },
        { MergeTag::NotesAppended, kAbsent, "A", "A" },
        { MergeTag::NotesAppended, kAbsent, kAbsent, kAbsent },
        { MergeTag::CommentsAppended, "line 1\nline 2", "A", "A\nline 1\nline 2" },
        { MergeTag::CommentsAppended, "B", kAbsent, "B" },
        { MergeTag::CommentsAppended, "", "", "" },
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString name = QString("Person %1").arg(++n);
        SCOPED_TRACE(QString("tag %1, from %2, into %3")
                         .arg(c.tag)
                         .arg(c.from ? QString("'%1'").arg(c.from) : "absent", c.into ? QString("'%1'").arg(c.into) : "absent")
                         .toStdString());
        FTPerson* theirs = person(other.get(), name);
        FTPerson* ours = person(open.get(), name);
        setText(theirs, keyOf(c.tag), c.from);
        setText(ours, keyOf(c.tag), c.into);
        OtherDatabaseMerge merge(theirs, ours);
        merge.mergeField(c.tag, nullptr, nullptr);
        const QVariant after = ours->valueForKey(keyOf(c.tag));
        if (c.expected) {
            EXPECT_EQ(after.toString(), QString::fromUtf8(c.expected));
            EXPECT_TRUE(after.isValid()) << "an empty text stays a text";
        } else {
            EXPECT_TRUE(after.toString().isNull()) << after.toString().toStdString();
        }
        EXPECT_EQ(theirs->valueForKey(keyOf(c.tag)).toString(), c.from ? QString::fromUtf8(c.from) : QString());
    }
}

// Birth and death: the three values together; a side without the event gives absent values, and a person gets
// an event only when there is something to put in it.
TEST_F(OtherDatabaseMergeTest, BirthAndDeathTakeDatePlaceAndNotesTogether)
{
    FTPerson* theirs = person(other.get(), "Anne Gray", "F", "5 Jan 1900", "Leeds");
    theirs->birth()->setNotes("baptised the same week");
    FTPerson* ours = person(open.get(), "Anne Gray", "F");
    ours->setValueForKeyPath("death.date", "1970");
    ours->setValueForKeyPath("death.place", "York");

    OtherDatabaseMerge merge(theirs, ours);
    merge.mergeField(MergeTag::Birth, nullptr, nullptr);
    ASSERT_TRUE(ours->birth());
    EXPECT_EQ(ours->birth()->date(), theirs->birth()->date());
    EXPECT_EQ(ours->birth()->place(), "Leeds");
    EXPECT_EQ(ours->birth()->notes(), "baptised the same week");
    EXPECT_EQ(ours->birth()->year(), 1900);

    merge.mergeField(MergeTag::Death, nullptr, nullptr);
    ASSERT_TRUE(ours->death());
    EXPECT_EQ(ours->death()->date(), "");
    EXPECT_EQ(ours->death()->year(), 0);
    EXPECT_TRUE(ours->death()->place().isEmpty());

    FTPerson* bare = person(open.get(), "Bare");
    OtherDatabaseMerge none(person(other.get(), "Bare"), bare);
    none.mergeField(MergeTag::Death, nullptr, nullptr);
    EXPECT_EQ(bare->death(), nullptr);
}

// The name is stored as the other database has it although the user default would capitalise the family name;
// the default is on again afterwards.
TEST_F(OtherDatabaseMergeTest, TheNameIsStoredAsTheOtherDatabaseHasIt)
{
    FTPerson* theirs = person(other.get(), "Jean de la Fontaine");
    FTPerson* ours = person(open.get(), "J. Fontaine");
    UserDefaults::standard().setBool("uppercaseFamilyName", true);
    OtherDatabaseMerge merge(theirs, ours);
    merge.mergeField(MergeTag::Name, nullptr, nullptr);
    EXPECT_EQ(ours->name(), "Jean de la Fontaine");
    EXPECT_EQ(ours->familyName(), "de la Fontaine");
    EXPECT_TRUE(UserDefaults::standard().boolForKey("uppercaseFamilyName"));

    // Off before, off after.
    UserDefaults::standard().setBool("uppercaseFamilyName", false);
    merge.mergeField(MergeTag::Name, nullptr, nullptr);
    EXPECT_FALSE(UserDefaults::standard().boolForKey("uppercaseFamilyName"));
}

// Relatives are never merged across databases; an unknown tag does nothing either.
TEST_F(OtherDatabaseMergeTest, RelativesAreRefused)
{
    FTPerson* theirs = person(other.get(), "Tom Hall");
    parentOf(person(other.get(), "Old Hall"), theirs);
    FTPerson* ours = person(open.get(), "Tom Hall");
    OtherDatabaseMerge merge(theirs, ours);
    QObject window;
    merge.mergeField(MergeTag::Relative, nullptr, &window);
    merge.mergeField(999, nullptr, &window);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, ScriptedPrompts::Sheet);
    EXPECT_EQ(prompts.records[0].text, L("NoMergeRels"));
    EXPECT_TRUE(ours->parents().isEmpty());
    EXPECT_EQ(open->count<FTPerson>(), 1);
}

// The colour of each field: blue where the two differ, black where they agree or both are absent.
TEST_F(OtherDatabaseMergeTest, OnlyFieldsThatDifferAreHighlighted)
{
    FTPerson* theirs = person(other.get(), "Ann Lee", "F", "1901", "Hull");
    FTPerson* ours = person(open.get(), "Ann Lee", "F", "1901");
    theirs->setNotes("");
    ours->setTitle("Miller");
    QStringList differing;
    for (const PersonFieldsMerge::Field& f : PersonFieldsMerge::fields())
        if (PersonFieldsMerge::differs(theirs, ours, f))
            differing << f.colourField;
    EXPECT_EQ(differing, QStringList({ "p1BirthPlaceColour", "p1TitleColour" }));
}

class OtherDatabaseEvents : public OtherDatabaseMergeTest {
protected:
    void SetUp() override
    {
        OtherDatabaseMergeTest::SetUp();
        FTPerson* t = person(other.get(), "Will Cole", "M", "1850", "Frome");
        t->setTitle("Farmer");
        FTEvent* occupation = event(t, "OCCU", "1880", "Bath");
        occupation->setName("Farmer");
        occupation->setNotes("on the census");
        occupation->setCauseOfEvent("inherited");
        occupation->setComments("check the parish");
        event(t, "RESI", "1890", "Wells")->setName("Residence");
        marry(t, person(other.get(), "May Cole", "F"), "1875", "Bath");
        ours = person(open.get(), "Will Cole", "M", "1850");
        theirs = reopenOther("Will Cole");
        ASSERT_TRUE(theirs);
    }
    FTEvent* theirEvent(const QString& subtype)
    {
        for (FTEvent* e : MergeLists::eventsWithMarriages(theirs))
            if (e->subtype() == subtype)
                return e;
        return nullptr;
    }
    FTPerson* theirs = nullptr;
    FTPerson* ours = nullptr;
};

// Two events of the tag: each is offered in turn, the question naming how many there are; "Ignore" goes on to
// the next, "Merge" copies the values into that one, which keeps its own tag and type.
TEST_F(OtherDatabaseEvents, SameTagCandidatesAreOfferedInTurn)
{
    FTEvent* first = event(ours, "OCCU", "1870");
    FTEvent* second = event(ours, "OCCU", "1885");
    OtherDatabaseMerge merge(theirs, ours);
    prompts.answer(1); // Ignore the first
    prompts.answer(0); // Merge into the second
    merge.mergeField(MergeTag::Event, theirEvent("OCCU"), nullptr);

    ASSERT_EQ(prompts.records.size(), 2);
    for (const auto& r : prompts.records) {
        EXPECT_EQ(r.buttons, QStringList({ L("Merge"), L("Ignore") }));
        EXPECT_TRUE(r.text.startsWith(QString("%1 2 %2 OCCU").arg(L("ConfirmMrgEvnt1"), L("ConfirmMrgEvnt2"))))
            << r.text.toStdString();
    }
    EXPECT_TRUE(prompts.records[0].text.contains(first->eventDescription()));
    EXPECT_TRUE(prompts.records[1].text.contains(second->eventDescription()));
    EXPECT_EQ(first->date(), "1870");
    EXPECT_EQ(second->date(), "1880");
    EXPECT_EQ(second->place(), "Bath");
    EXPECT_EQ(second->name(), "Farmer");
    EXPECT_EQ(second->notes(), "on the census");
    EXPECT_EQ(second->causeOfEvent(), "inherited");
    EXPECT_EQ(second->comments(), "check the parish");
    EXPECT_EQ(second->subtype(), "OCCU");
    EXPECT_EQ(ours->otherEvents().size(), 2);
}

// An event already there is only reported; a marriage with no event of its kind on this side cannot be placed;
// no event selected asks for one.
TEST_F(OtherDatabaseEvents, IdenticalEventsAndUnplacedMarriagesAreReported)
{
    FTEvent* same = event(ours, "RESI", "1890", "Wells");
    same->setName("Residence");
    OtherDatabaseMerge merge(theirs, ours);
    QObject window;
    merge.mergeField(MergeTag::Event, theirEvent("RESI"), &window);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, ScriptedPrompts::Message);
    EXPECT_EQ(prompts.records[0].text, QString("%1\n\n%2\n\n").arg(L("MergeEvent3"), same->eventDescription()));

    prompts.clear();
    merge.mergeField(MergeTag::Event, theirEvent("MARR"), &window);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, QString("%1 MARR %2").arg(L("MergeEvent1"), L("MergeEvent2")));
    EXPECT_TRUE(ours->spouseRels().isEmpty());

    prompts.clear();
    merge.mergeField(MergeTag::Event, nullptr, &window);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, ScriptedPrompts::Sheet);
    EXPECT_EQ(prompts.records[0].text, L("SelectEventTryAgain"));
    EXPECT_EQ(ours->otherEvents().size(), 1);
}

// A personal event no event takes may become a new one, of the same type and tag, owned by the person here.
TEST_F(OtherDatabaseEvents, CreateEventMakesANewEventWithTheCopiedValues)
{
    OtherDatabaseMerge merge(theirs, ours);
    prompts.answer(1); // first "Ignore": nothing is made
    merge.mergeField(MergeTag::Event, theirEvent("OCCU"), nullptr);
    EXPECT_TRUE(ours->otherEvents().isEmpty());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, L("ConfirmMrgEvnt5"));
    EXPECT_EQ(prompts.records[0].buttons, QStringList({ L("CreateEvent"), L("Ignore") }));

    merge.mergeField(MergeTag::Event, theirEvent("OCCU"), nullptr);
    ASSERT_EQ(ours->otherEvents().size(), 1);
    const FTEvent* made = ours->otherEvents().first();
    EXPECT_EQ(made->type(), FTEvent::OtherPersonalEvent);
    EXPECT_EQ(made->subtype(), "OCCU");
    EXPECT_EQ(made->person(), ours);
    EXPECT_EQ(made->eventDescription(), theirEvent("OCCU")->eventDescription());
    EXPECT_EQ(made->causeOfEvent(), "inherited");
    EXPECT_EQ(made->comments(), "check the parish");
    expectOtherFileUnchanged();
}

// Undo All takes back every merge of the session and nothing before it; a second one has nothing to take back.
// After the window closes, one Edit > Undo removes the whole merge. The other database's file never changes.
TEST_F(OtherDatabaseEvents, UndoAllAndEditUndoTakeBackTheWholeMerge)
{
    ours->setNotes("own notes");
    ours->setTitle("Carter");
    open->undoManager()->closeOpenGroups();
    const int stepsBefore = open->undoManager()->undoCount();
    const QList<FTEvent*> eventsBefore = MergeLists::eventsWithMarriages(ours);
    auto state = [&] {
        return QStringList { ours->title(), ours->notes(), ours->birth() ? ours->birth()->place() : "-" }
            << QString::number(MergeLists::eventsWithMarriages(ours).size());
    };
    const QStringList before = state();

    {
        OtherDatabaseMerge merge(theirs, ours);
        merge.mergeField(MergeTag::Title, nullptr, nullptr);
        merge.mergeField(MergeTag::NotesAppended, nullptr, nullptr); // their notes are absent: no change
        merge.mergeField(MergeTag::Birth, nullptr, nullptr);
        merge.mergeField(MergeTag::Event, theirEvent("OCCU"), nullptr); // created
        ASSERT_NE(state(), before);
        EXPECT_TRUE(merge.bEdited());

        QObject window;
        EXPECT_TRUE(merge.undoAll(&window));
        EXPECT_EQ(state(), before);
        EXPECT_EQ(MergeLists::eventsWithMarriages(ours), eventsBefore);
        EXPECT_FALSE(merge.bEdited());
        prompts.clear();
        EXPECT_FALSE(merge.undoAll(&window));
        ASSERT_EQ(prompts.records.size(), 1);
        EXPECT_EQ(prompts.records[0].kind, ScriptedPrompts::Sheet);
        EXPECT_EQ(prompts.records[0].text, L("NothingToUndo"));

        merge.mergeField(MergeTag::Title, nullptr, nullptr);
        merge.mergeField(MergeTag::Event, theirEvent("RESI"), nullptr);
        EXPECT_EQ(ours->title(), "Farmer");
        merge.close();
    }
    FTMocUndoManager* undo = open->undoManager();
    EXPECT_EQ(undo->undoCount(), stepsBefore + 1);
    EXPECT_EQ(undo->undoActionName(), L("MergePersonFromDb"));
    EXPECT_FALSE(undo->canRedo()) << "Undo All leaves nothing to redo";
    undo->undo();
    EXPECT_EQ(state(), before);
    EXPECT_EQ(ours->title(), "Carter") << "the change before the merge is not part of it";
    EXPECT_TRUE(open->saveMoc());
    expectOtherFileUnchanged();
}
