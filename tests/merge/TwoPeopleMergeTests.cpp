// Merging a duplicate into the focal person of one database: the refusals of each kind of relative, moves that
// keep every record with its one owner, citations with their duplicate test, and the delete that names what goes
// and comes back whole with an undo.

#include "MergeFixture.h"

#include "merge/MergeLists.h"
#include "merge/PersonFieldsMerge.h"
#include "merge/TwoPeopleMerge.h"

#include "model/FTAssociation.h"
#include "model/FTMocUndoManager.h"
#include "model/FTProjectView.h"

#include "platform/store/EntityDescription.h"
#include "platform/store/PropertyDescription.h"
#include "platform/store/StoreSchema.h"

#include <gmock/gmock.h>

namespace {
QList<ManagedObject*> liveRecords(const FTMoc& moc)
{
    QList<ManagedObject*> out;
    for (const EntityDescription* e : moc.schema().entities())
        if (!e->parent())
            moc.forEachObject(e->name(), [&](ManagedObject* o) {
                out << o;
                return true;
            });
    return out;
}

// Every live record with its stored values and links, as text: equal snapshots, equal databases.
QStringList snapshot(const FTMoc& moc)
{
    QStringList out;
    for (ManagedObject* o : liveRecords(moc)) {
        QStringList fields { o->entityName(), QString::number(o->primaryKey()) };
        for (const PropertyDescription* p : o->entity()->properties()) {
            if (p->transient || p->isDerived())
                continue;
            QString text;
            if (p->isToOne()) {
                ManagedObject* t = ManagedObject::fromVariant(o->value(p->key));
                text = t ? QString::number(t->primaryKey()) : "nil";
            } else if (p->isToMany()) {
                QList<qint64> keys;
                for (ManagedObject* t : o->objects(p->key))
                    keys << t->primaryKey();
                std::sort(keys.begin(), keys.end());
                for (qint64 k : keys)
                    text += QString::number(k) + ",";
            } else {
                const QVariant v = o->value(p->key);
                text = !v.isValid() ? "nil" : v.typeId() == QMetaType::QByteArray ? v.toByteArray().toHex() : v.toString();
            }
            fields << p->name + "=" + text;
        }
        out << fields.join(' ');
    }
    out.sort();
    return out;
}

QString label(const FTPerson* p)
{
    return p ? p->name() : "nobody";
}
}

// The Moss family, focal person Frank and his duplicate, with a relative of every kind the merge must refuse
// and some it may move. Frank's descendants make a loop: Xavier and Yorick are each other's child.
class TwoPeopleMergeTest : public MergeFixture {
protected:
    void SetUp() override
    {
        MergeFixture::SetUp();
        FTMoc* m = open.get();
        frank = person(m, "Frank Moss", "M", "1850");
        dup = person(m, "Frank Moss", "M", "1850");
        auto link = [](FTPerson* parent, FTPerson* child, int type) { parent->attachChild(child, type, false, nullptr); };

        peter = person(m, "Peter Moss", "M");
        mary = person(m, "Mary Moss", "F");
        link(peter, frank, 1);
        link(mary, frank, 1);
        xavier = person(m, "Xavier Moss", "M");
        yorick = person(m, "Yorick Moss", "M");
        link(frank, xavier, 1);
        link(xavier, yorick, 1);
        link(yorick, xavier, 1);
        sally = person(m, "Sally Moss", "F");
        marry(frank, sally);
        marry(dup, sally, "1875");
        shared = person(m, "Sam Moss", "M");
        link(frank, shared, 1);
        link(dup, shared, 1);

        paul = person(m, "Paul Moss", "M");
        maud = person(m, "Maud Moss", "F");
        alan = person(m, "Alan Moss", "M");
        unknownParent = person(m, "Lee Moss", "");
        link(paul, dup, 1);
        link(maud, dup, 1);
        link(alan, dup, 8);
        link(peter, dup, 2);
        link(yorick, dup, 2);
        link(unknownParent, dup, 1);
        link(dup, frank, 2);
        link(dup, mary, 2);
        wife = person(m, "Wendy Moss", "F");
        FTSpouseRel* couple = marry(dup, wife, "1880", "Bath");
        FTEvent::initInMoc(m, FTEvent::OtherMarriageEvent, couple, "DIV")->setDate("1890");
        son = person(m, "Carl Moss", "M");
        link(dup, son, 1);
        unknownChild = person(m, "Robin Moss", "");
        link(dup, unknownChild, 1);

        // Citations: of the duplicate's residence and birth (each naming the duplicate too, as event citations
        // do), and of the duplicate itself: one equal to Frank's, one differing only in its certainty, another.
        cite(frank, "Parish register", "p. 4");
        FTSource* register_ = frank->sourceRels().first()->source();
        FTSource* census = FTSource::initInMoc(m);
        census->setTitle("Census");
        residence = event(dup, "RESI", "1885", "Wells");
        FTSourceRel::initInMoc(m, census, residence, "Residence")->setReference("RG11");
        event(dup, "OCCU", "1881")->setName("Carter");
        FTSourceRel::initInMoc(m, register_, dup->birth(), "Birth")->setReference("p. 9");
        cite(dup, "Parish register", "p. 4");
        cite(dup, "Parish register", "p. 4")->setCertainty(3);
        cite(dup, "Census", "RG12");
        picture(dup, "frank.jpg");
        story(dup, "<p>A carter of Bath.</p>");
        FTAssociation* godfather = FTAssociation::initInMoc(m);
        godfather->setFromPerson(dup);
        godfather->setToPerson(paul);
        FTProjectView* view = FTProjectView::initInMoc(m);
        view->setRootPersonInAncestralView(dup);

        m->setFocalPerson(frank);
        ASSERT_TRUE(m->saveMoc());
        m->undoManager()->removeAllActions();
        prompts.clear();
        merge = std::make_unique<TwoPeopleMerge>(m, QList<FTPerson*> { dup });
        merge->setMergeFromPerson(dup);
    }

    // The duplicate's row for that relative.
    Relative rowOf(const FTPerson* relative) const
    {
        for (const Relative& r : MergeLists::relatives(dup, frank))
            if (r.person() == relative)
                return r;
        ADD_FAILURE() << "no row for " << label(relative).toStdString();
        return {};
    }
    bool moveRelative(const FTPerson* relative)
    {
        const Relative row = rowOf(relative);
        return merge->mergeField(MergeTag::Relative, &row, nullptr);
    }
    QString lastText() const { return prompts.records.isEmpty() ? QString() : prompts.records.last().text; }

    // The no-loss check after every move: every record that was there still is, and each belongs to exactly one
    // owner (an event's citation naming the event's own person).
    void expectNothingLost(const QList<ManagedObject*>& before)
    {
        const QList<ManagedObject*> now = liveRecords(*open);
        const QSet<ManagedObject*> live(now.begin(), now.end());
        for (ManagedObject* o : before)
            EXPECT_TRUE(live.contains(o) && !o->isDeleted()) << o->objectURI().toStdString();
        for (ManagedObject* o : now) {
            const std::string uri = o->objectURI().toStdString();
            if (auto* e = dynamic_cast<FTEvent*>(o)) {
                EXPECT_NE(e->person() == nullptr, e->spouseRel() == nullptr) << uri;
            } else if (auto* link = dynamic_cast<FTPcRel*>(o)) {
                EXPECT_TRUE(link->parent() && link->child()) << uri;
            } else if (auto* couple = dynamic_cast<FTSpouseRel*>(o)) {
                EXPECT_EQ(couple->partners().size(), 2) << uri;
            } else if (auto* c = dynamic_cast<FTSourceRel*>(o)) {
                EXPECT_TRUE(c->source()) << uri;
                if (c->event())
                    EXPECT_EQ(c->person(), c->event()->person()) << uri;
                else if (!c->picture())
                    EXPECT_TRUE(c->person()) << uri;
            } else if (auto* p = dynamic_cast<FTPicture*>(o)) {
                EXPECT_TRUE(p->owner() || p->source()) << uri;
            }
        }
    }

    FTPerson *frank, *dup, *peter, *mary, *xavier, *yorick, *sally, *shared, *paul, *maud, *alan, *unknownParent,
        *wife, *son, *unknownChild;
    FTEvent* residence = nullptr;
    std::unique_ptr<TwoPeopleMerge> merge;
};

// Each relative the merge must not move is refused with its reason, and nothing changes. The walk over Frank's
// descendants meets the Xavier-Yorick loop and still ends.
TEST_F(TwoPeopleMergeTest, RelativesThatCannotMoveAreRefusedWithTheirReason)
{
    const struct {
        const char* what;
        FTPerson* relative;
        QString message;
    } cases[] = {
        { "the person itself", frank, L("MergeChild1") },
        { "already a parent", peter,
            QString("%1 %2 %3").arg(peter->nameWithIdBirthAndDeathYears(), L("MergeParent2"), frank->name()) },
        { "already a child", shared, QString("%1 %2 %3.").arg(shared->name(), L("MergeChild2"), frank->name()) },
        { "already a spouse", sally, QString("%1 %2 %3").arg(sally->name(), L("MergeSpouse2"), frank->name()) },
        { "a second natural father", paul, QString("%1 %2").arg(frank->name(), L("MergeParent3")) },
        { "a second natural mother", maud, QString("%1 %2").arg(frank->name(), L("MergeParent4")) },
        { "a descendant as parent", yorick, L("MergeParent5") },
        { "an ancestor as child", mary,
            QString("%1 %2 %3 %4.\n\n%5")
                .arg(L("MergeChild3"), mary->name(), L("ConjunctiveAnd"), frank->name(), L("MergeChild4")) },
        { "a parent of unknown gender", unknownParent,
            L("MergeUnknownGender").arg(unknownParent->nameWithBirthAndDeathYears()) },
        { "a child of unknown gender", unknownChild,
            L("MergeUnknownGender").arg(unknownChild->nameWithBirthAndDeathYears()) },
    };
    const QStringList before = snapshot(*open);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompts.clear();
        EXPECT_FALSE(moveRelative(c.relative));
        ASSERT_EQ(prompts.records.size(), 1);
        EXPECT_EQ(prompts.records[0].text, c.message);
        EXPECT_EQ(snapshot(*open), before);
    }
    EXPECT_EQ(rowOf(unknownParent).relationship(), L("Parent"));
    EXPECT_EQ(rowOf(unknownChild).relationship(), L("Child"));
    EXPECT_FALSE(open->undoManager()->canUndo());
}

// Moves, one at a time, each a named undo step, with the no-loss check after each: a parent keeps its type, a
// spouse takes the couple's marriage events, a child becomes a step child, an event takes its citations, and
// citations move but for the one equal to Frank's.
TEST_F(TwoPeopleMergeTest, MovesKeepEveryRecordWithItsOneOwner)
{
    const QList<ManagedObject*> records = liveRecords(*open);
    FTMocUndoManager* undo = open->undoManager();
    auto expectStep = [&] {
        EXPECT_EQ(undo->undoActionName(), L("MergeTwoPeople"));
        expectNothingLost(records);
    };

    ASSERT_TRUE(moveRelative(alan));
    EXPECT_EQ(frank->parentsOfType(8), QList<FTPerson*> { alan });
    EXPECT_FALSE(dup->parentsOfType(-1).contains(alan));
    EXPECT_EQ(lastText(),
        QString("%1\n\n%2\n\n%3\n\n%4 Adopted %5\n\n%6.\n")
            .arg(alan->name(), L("MergeClarify4"), dup->name(), L("MergeClarify5"), L("MergeClarify6"), frank->name()));
    expectStep();

    prompts.clear();
    ASSERT_TRUE(moveRelative(wife));
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].text, QString("%1\n\n%2 2 %3").arg(frank->name(), L("MergeSpouse3"), L("spouses")));
    EXPECT_TRUE(lastText().endsWith(QString("\n\n2 %1%2 %3 %4 %5 %6")
                                        .arg(L("MergeClarifySpouse3"), L("hasPlural"), L("MergeClarifySpouse4"),
                                            frank->name(), L("ConjunctiveAnd"), wife->name())))
        << lastText().toStdString();
    EXPECT_TRUE(frank->spouses().contains(wife));
    EXPECT_FALSE(dup->spouses().contains(wife));
    int wifeEvents = 0;
    for (const FTEvent* e : frank->marriageEvents())
        wifeEvents += e->spouseRel()->partners().contains(wife) ? 1 : 0;
    EXPECT_EQ(wifeEvents, 2);
    expectStep();

    prompts.clear();
    ASSERT_TRUE(moveRelative(son));
    EXPECT_EQ(frank->childrenOfType(2), QList<FTPerson*> { son }) << "a moved child is a step child";
    EXPECT_TRUE(lastText().contains(L("MergeClarify3")));
    EXPECT_TRUE(L("MergeClarify3").contains("step child")) << "the message says the child is now a step child";
    EXPECT_EQ(open->focalPerson(), frank);
    expectStep();

    ASSERT_TRUE(merge->mergeField(MergeTag::Event, nullptr, residence));
    EXPECT_EQ(residence->person(), frank);
    ASSERT_EQ(residence->sourceRels().size(), 1);
    EXPECT_EQ(residence->sourceRels().first()->person(), frank);
    expectStep();

    prompts.clear();
    EXPECT_EQ(merge->mergeSourceReferences(), 2);
    EXPECT_EQ(lastText(),
        QString("2 %1%2 %3\n\n%4\n\n%5\n\n%6")
            .arg(L("SourceRef"), L("hasPlural"), L("MergeScRef1"), dup->name(), L("ConjunctiveTo"), frank->name()));
    QStringList kept;
    for (const FTSourceRel* c : dup->sourceRels())
        kept << c->reference();
    kept.sort();
    EXPECT_EQ(kept, QStringList({ "p. 4", "p. 9" })) << "the equal citation and the birth's stay";
    expectStep();

    prompts.clear();
    EXPECT_EQ(merge->mergeSourceReferences(), 0);
    EXPECT_EQ(lastText(), QString("%1 %2.").arg(L("MergeScRef2"), dup->name()));

    // Each move is a step of the document's undo.
    for (int i = 0; i < 5; ++i)
        undo->undo();
    EXPECT_EQ(dup->parentsOfType(8), QList<FTPerson*> { alan });
    EXPECT_TRUE(dup->spouses().contains(wife));
    EXPECT_EQ(residence->person(), dup);
    expectNothingLost(records);
}

// The fields replace or append as from another database, but the name is stored as the setting says.
TEST_F(TwoPeopleMergeTest, FieldsAndTheNothingChosenCases)
{
    dup->setNotes("B");
    frank->setNotes("A");
    open->undoManager()->closeOpenGroups();
    ASSERT_TRUE(merge->mergeField(MergeTag::NotesAppended, nullptr, nullptr));
    EXPECT_EQ(frank->notes(), "A\nB");
    EXPECT_EQ(open->undoManager()->undoActionName(), L("MergeTwoPeople"));
    UserDefaults::standard().setBool("uppercaseFamilyName", true);
    dup->setName("Francis Moss");
    ASSERT_TRUE(merge->mergeField(MergeTag::Name, nullptr, nullptr));
    EXPECT_EQ(frank->name(), "Francis MOSS");

    prompts.clear();
    EXPECT_FALSE(merge->mergeField(MergeTag::Relative, nullptr, nullptr));
    EXPECT_FALSE(merge->mergeField(MergeTag::Event, nullptr, nullptr));
    EXPECT_EQ(messages(), QStringList({ L("SelectRelTryAgain"), L("SelectEventTryAgain") }));

    TwoPeopleMerge none(open.get(), { dup });
    const QStringList before = snapshot(*open);
    prompts.clear();
    for (int tag = MergeTag::Name; tag <= MergeTag::Event; ++tag)
        EXPECT_FALSE(none.mergeField(tag, nullptr, nullptr));
    EXPECT_FALSE(none.deleteMergedPerson());
    EXPECT_EQ(messages(), QStringList { L("SelectMerger") });
    EXPECT_EQ(snapshot(*open), before);
}

// The question before the delete names, by kind and count, everything that goes with the duplicate (what is
// left of it after the moves); cancelled, nothing goes; answered OK, exactly that goes, and one undo brings the
// duplicate back with its links, events, pictures and citations.
TEST_F(TwoPeopleMergeTest, DeletingTheDuplicateNamesWhatGoesAndUndoBringsItBack)
{
    ASSERT_TRUE(moveRelative(son));
    merge->mergeSourceReferences();
    open->undoManager()->closeOpenGroups();
    const QStringList before = snapshot(*open);
    const QList<ManagedObject*> records = liveRecords(*open);
    // What each record is to the duplicate, read before the delete cuts the links.
    QMap<ManagedObject*, const char*> kinds;
    for (ManagedObject* o : records) {
        const QString entity = o->entityName();
        if (entity == "PcRel")
            kinds[o] = static_cast<FTPcRel*>(o)->child() == dup ? "MergeHoldsParents" : "MergeHoldsChildren";
        else if (entity == "MarriageEvent" || entity == "OtherMarriageEvent")
            kinds[o] = "MergeHoldsMarriageEvents";
        else if (entity.endsWith("Event"))
            kinds[o] = "MergeHoldsEvents";
        else if (entity == "SpouseRel")
            kinds[o] = "MergeHoldsCouples";
        else if (entity == "SourceRel")
            kinds[o] = "MergeHoldsCitations";
        else if (entity == "Picture")
            kinds[o] = "MergeHoldsPictures";
        else if (entity == "Story")
            kinds[o] = "MergeHoldsStory";
        else if (entity == "Association")
            kinds[o] = "MergeHoldsAssociations";
        else if (entity == "ProjectView")
            kinds[o] = "MergeHoldsAncestralView";
    }

    prompts.clear();
    prompts.answer(1); // Cancel
    EXPECT_FALSE(merge->deleteMergedPerson());
    EXPECT_EQ(snapshot(*open), before);
    ASSERT_EQ(prompts.records.size(), 1);
    const auto question = prompts.records[0];
    EXPECT_EQ(question.text,
        QString("%1\n%2 %3 %4").arg(dup->nameWithIdBirthAndDeathYears(), L("MergeAlert1"), L("his"), L("MergeAlert2")));
    EXPECT_EQ(question.buttons, QStringList({ L("OK"), L("Cancel") }));

    int toBeDeletedPosts = 0;
    NotificationCenter::defaultCenter().addObserver("PersonToBeDeleted", nullptr, [&](const Notification& n) {
        toBeDeletedPosts += n.object == dup && !dup->isDeleted() ? 1 : 0;
    }, this);
    EXPECT_TRUE(merge->deleteMergedPerson());
    NotificationCenter::defaultCenter().removeObserversOf(this);
    EXPECT_EQ(toBeDeletedPosts, 1);
    EXPECT_TRUE(dup->isDeleted());
    EXPECT_EQ(merge->mergeFromPerson(), nullptr);

    QMap<QString, int> gone;
    const QList<ManagedObject*> after = liveRecords(*open);
    const QSet<ManagedObject*> live(after.begin(), after.end());
    for (ManagedObject* o : records) {
        if (live.contains(o) || o == dup || o->entityName() == "Thumbnail" || o->entityName() == "OriginalPicture")
            continue;
        ASSERT_TRUE(kinds.contains(o)) << "deleted unannounced: " << o->objectURI().toStdString();
        ++gone[kinds[o]];
    }
    QStringList lines { L("MergeAlertHolds") };
    for (const char* key : { "MergeHoldsEvents", "MergeHoldsCouples", "MergeHoldsMarriageEvents", "MergeHoldsParents",
             "MergeHoldsChildren", "MergeHoldsCitations", "MergeHoldsPictures", "MergeHoldsStory",
             "MergeHoldsAssociations", "MergeHoldsAncestralView" })
        if (gone.value(key))
            lines << L(key).arg(gone.value(key));
    EXPECT_EQ(prompts.records.last().info, lines.join('\n'));
    EXPECT_EQ(gone.value("MergeHoldsCitations"), 3) << "the birth's, the residence's and the kept equal one";
    EXPECT_EQ(gone.value("MergeHoldsParents"), 6);
    EXPECT_EQ(gone.value("MergeHoldsMarriageEvents"), 3);

    FTMocUndoManager* undo = open->undoManager();
    EXPECT_EQ(undo->undoActionName(), QString("%1 %2").arg(L("Delete"), "Frank Moss"));
    undo->undo();
    EXPECT_FALSE(dup->isDeleted());
    EXPECT_EQ(snapshot(*open), before);
    ASSERT_TRUE(open->saveMoc());
}

// The walk down from a person ends on a loop of links, and finds a descendant behind it.
TEST_F(TwoPeopleMergeTest, TheDescendantWalkEndsOnALoop)
{
    FTPerson* behind = person(open.get(), "Zed Moss", "M");
    yorick->attachChild(behind, 4, false, nullptr);
    EXPECT_TRUE(TwoPeopleMerge::recurseCheckDescendantsOf(frank, behind));
    EXPECT_TRUE(TwoPeopleMerge::recurseCheckDescendantsOf(xavier, xavier)) << "a person in a loop descends from itself";
    EXPECT_FALSE(TwoPeopleMerge::recurseCheckDescendantsOf(frank, paul));
    EXPECT_FALSE(TwoPeopleMerge::recurseCheckDescendantsOf(son, frank));
}
