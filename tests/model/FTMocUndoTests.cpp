// The confirming undo manager and the undo names and change stamps of the records.

#include "ModelFixture.h"
#include "PeopleFixture.h"

#include "model/FTAssociation.h"
#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTStory.h"

#include "platform/Localizer.h"

class FTMocUndo : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        moc = newDatabase();
        ann = moc->insertObject<FTPerson>();
        ann->setName("Ann");
        endAction();
        ASSERT_TRUE(moc->saveMoc());
        prompts.clear();
    }
    // What the event loop does at the end of each user action.
    void endAction() { moc->undoManager()->closeOpenGroups(); }
    FTMocUndoManager* um() { return moc->undoManager(); }

    std::unique_ptr<FTMoc> moc;
    FTPerson* ann = nullptr;
};

TEST_F(FTMocUndo, UndoAndRedoAskFirstAndNoChangesNothing)
{
    ann->setName("Anne");
    endAction();
    const QStringList history = um()->undoActionsArray();
    ASSERT_EQ(history.first(), "Change Person's Name");

    prompts.answer(1); // No
    um()->undo();
    EXPECT_EQ(ann->name(), "Anne");
    EXPECT_EQ(um()->undoActionsArray(), history);
    EXPECT_TRUE(um()->canUndo());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "Undo: Change Person's Name");
    EXPECT_EQ(prompts.records[0].buttons, (QStringList {"Yes", "No"}));

    prompts.answer(0); // Yes
    um()->undo();
    EXPECT_EQ(ann->name(), "Ann");
    EXPECT_EQ(um()->undoActionsArray().first(), "Undid: Change Person's Name");

    prompts.answer(1);
    um()->redo();
    EXPECT_EQ(ann->name(), "Ann");
    EXPECT_EQ(prompts.records.last().text, "Redo: Change Person's Name");
    um()->redo();
    EXPECT_EQ(ann->name(), "Anne");
    EXPECT_EQ(um()->undoActionsArray().first(), "Redid: Change Person's Name");
    EXPECT_EQ(um()->undoActionsList().left(30), "  Redid: Change Person's Name\n");
}

TEST_F(FTMocUndo, AnUnnamedActionIsUndoneWithoutAQuestion)
{
    auto* event = static_cast<FTEvent*>(moc->insertObject("BirthEvent"));
    moc->setImportThreadIsActive(true); // names are ignored: the group stays unnamed
    event->setPlace("Leeds");
    moc->setImportThreadIsActive(false);
    endAction();
    um()->undo();
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(moc->count<FTEvent>(), 0);
}

TEST_F(FTMocUndo, TheHistoryKeepsTheNewestHundredNames)
{
    for (int i = 0; i < 150; ++i) {
        um()->setActionName(QString("Action %1").arg(i));
        endAction();
    }
    const QStringList history = um()->undoActionsArray();
    ASSERT_EQ(history.size(), 100);
    EXPECT_EQ(history.first(), "Action 149");
    EXPECT_EQ(history.last(), "Action 50");
}

TEST_F(FTMocUndo, TwentyLevels)
{
    for (int i = 0; i < 25; ++i) {
        ann->setNotes(QString::number(i));
        endAction();
    }
    EXPECT_EQ(um()->undoCount(), 20);
}

TEST_F(FTMocUndo, DuringAnImportNothingIsNamedNumberedOrStamped)
{
    const QStringList history = um()->undoActionsArray();
    const QDateTime stamp = ann->lastChange();
    moc->setImportThreadIsActive(true);
    um()->setActionName("Import");
    EXPECT_TRUE(um()->actionName().isEmpty());
    ann->setNotes("imported");
    EXPECT_EQ(ann->lastChange(), stamp);
    auto* bob = moc->insertObject<FTPerson>();
    EXPECT_EQ(bob->assignNumericId(FTCounter::Person), 0);
    EXPECT_EQ(bob->numericId(), 0);
    EXPECT_EQ(um()->undoActionsArray(), history);

    // Another open database is not importing and behaves as usual.
    auto other = newDatabase("Other.RezUdu");
    auto* cy = other->insertObject<FTPerson>();
    cy->setName("Cy");
    EXPECT_EQ(other->undoManager()->actionName(), "Change Person's Name");
    EXPECT_TRUE(cy->lastChange().isValid());
    EXPECT_EQ(cy->assignNumericId(FTCounter::Person), 1);
}

TEST_F(FTMocUndo, ASetterNamesTheActionOnlyWhenItHasNoNameOrTheTypingName)
{
    struct Case {
        QString before; // the action's name before the change; empty: none
        QString after;
    };
    const Case cases[] = {
        {"", "Change Person's Notes"},
        {LocalizedString("Typing"), "Change Person's Notes"},
        {"Add Birth Event", "Add Birth Event"},
    };
    for (const Case& c : cases) {
        if (!c.before.isEmpty())
            um()->setActionName(c.before);
        ann->setNotes("notes " + c.before);
        ann->setTitle("Dr " + c.before); // a second edit in the same action keeps the first name
        EXPECT_EQ(um()->actionName(), c.after) << qPrintable(c.before);
        endAction();
    }
    // The record and the field in the windows' words; ModelDefaults names no record.
    ann->setFamilyName("Smith");
    EXPECT_EQ(um()->actionName(), "Change Person's Family Name");
    endAction();
    moc->modelDefaults()->setMaxSourceId(7);
    EXPECT_EQ(um()->actionName(), "Change Max Source Id");
    endAction();
    ann->setValueForKeyPath("death.date", "1900");
    endAction();
    ann->setValueForKeyPath("death.qual", 2);
    EXPECT_EQ(um()->actionName(), "Change Death Date Qualifier");
    endAction();
    // Setters that give their own name follow the same rule.
    um()->setActionName(LocalizedString("Typing"));
    ann->nameChangeAction("Change Gender");
    EXPECT_EQ(um()->actionName(), "Change Gender");
    ann->nameChangeAction("Something Else");
    EXPECT_EQ(um()->actionName(), "Change Gender");
    endAction();
}

TEST_F(FTMocUndo, ConstructorsNameTheirActionOnlyWhenNoneIsSet)
{
    FTStory::initInMoc(moc.get());
    EXPECT_EQ(um()->actionName(), "Create Story");
    FTAssociation::initInMoc(moc.get());
    EXPECT_EQ(um()->actionName(), "Create Story");
    endAction();
    FTAssociation::initInMoc(moc.get());
    EXPECT_EQ(um()->actionName(), "Add Association");
    endAction();
    FTModelDefaults::initInMoc(moc.get());
    EXPECT_TRUE(um()->actionName().isEmpty());
}

TEST_F(FTMocUndo, ChangeStamps)
{
    const QDateTime start = QDateTime::currentDateTime();
    const QDateTime old(QDate(2000, 1, 1), QTime(12, 0));
    auto resetStamp = [&] {
        ann->setPrimitiveValue("lastChange", old);
        ASSERT_TRUE(moc->saveMoc());
    };

    resetStamp();
    ann->setNotes("attribute");
    EXPECT_GE(ann->lastChange(), start) << "an attribute change stamps";
    EXPECT_EQ(ann->lastChangeString(), QLocale::c().toString(ann->lastChange(), "dd MMM yy"));
    endAction();

    resetStamp();
    auto* birth = static_cast<FTEvent*>(moc->insertObject("BirthEvent"));
    birth->setPerson(ann);
    EXPECT_EQ(ann->lastChange(), old) << "a relationship does not stamp";
    moc->modelDefaults()->setSelectedPerson(ann);
    moc->modelDefaults()->setFocalPerson(ann);
    EXPECT_EQ(ann->lastChange(), old) << "selecting a person does not stamp";
    EXPECT_EQ(moc->modelDefaults()->selectedPerson(), ann);
    endAction();

    resetStamp();
    um()->disableUndoRegistration();
    ann->setNotes("unrecorded");
    um()->enableUndoRegistration();
    EXPECT_EQ(ann->lastChange(), old) << "no stamp with undo registration off";

    // A change made unstamped (as an import makes it) shows what undo and redo do themselves.
    moc->setImportThreadIsActive(true);
    ann->setNotes("imported");
    moc->setImportThreadIsActive(false);
    endAction();
    EXPECT_EQ(ann->lastChange(), old);
    um()->undo();
    EXPECT_EQ(ann->notes(), "unrecorded");
    EXPECT_EQ(ann->lastChange(), old) << "undo does not stamp";
    um()->redo();
    EXPECT_EQ(ann->notes(), "imported");
    EXPECT_GE(ann->lastChange(), start) << "redo stamps";

    // An entity without the attribute is never stamped; lastChange reads as none.
    EXPECT_FALSE(moc->modelDefaults()->lastChange().isValid());
    EXPECT_TRUE(moc->modelDefaults()->lastChangeString().isEmpty());
}

// ---- Deleting a person, undone ----

namespace {
// Everything of one family that a delete of one of its people touches, as text: what undo must bring back.
QStringList familyAsText(FTMoc& moc)
{
    // A link that undo left half-made shows as "-", so that the comparison names it.
    const auto nameOf = [](const FTPerson* p) { return p ? p->name() : QStringLiteral("-"); };
    QStringList out;
    for (FTPerson* p : moc.fetch<FTPerson>()) {
        QStringList events;
        for (FTEvent* e : p->birth() ? QList<FTEvent*> {p->birth()} : QList<FTEvent*> {})
            events << "birth " + e->date() + " at " + e->place();
        for (FTEvent* e : p->death() ? QList<FTEvent*> {p->death()} : QList<FTEvent*> {})
            events << "death " + e->date() + " at " + e->place();
        for (FTEvent* e : p->otherEvents())
            events << e->subtype() + " " + e->date() + " at " + e->place();
        events.sort();
        const QString who = p->name();
        out << who + ": " + events.join(", ");
        for (FTPcRel* l : p->parents())
            out << who + " child of " + nameOf(l->parent()) + " type " + QString::number(l->pcRelType());
        for (FTSpouseRel* c : p->spouseRels()) {
            QStringList partners;
            for (FTPerson* partner : c->partners())
                partners << nameOf(partner);
            partners.sort();
            out << who + " in couple " + partners.join(" & ") + " married at "
                    + (c->marriage() ? c->marriage()->place() : QString("-"));
        }
        for (FTAssociation* a : p->associationsTo())
            out << who + " " + a->fromRelationship() + " of " + nameOf(a->toPerson());
        if (p->story())
            out << who + " story of " + QString::number(p->story()->data().size()) + " bytes";
    }
    for (FTSourceRel* c : moc.fetch<FTSourceRel>())
        out << "cites " + (c->source() ? c->source()->title() : QStringLiteral("-")) + " p. " + c->reference() + " for "
                + (c->event() ? c->event()->subtype() + " of " : QString()) + nameOf(c->person());
    out << QStringLiteral("%1 events, %2 links, %3 couples, %4 associations, %5 stories, %6 citations")
               .arg(moc.count<FTEvent>())
               .arg(moc.count<FTPcRel>())
               .arg(moc.count<FTSpouseRel>())
               .arg(moc.count<FTAssociation>())
               .arg(moc.count<FTStory>())
               .arg(moc.count<FTSourceRel>());
    out.sort();
    return out;
}
}

TEST_F(PeopleFixture, DeletingAPersonIsUndoneWithEverythingThatWentWithHim)
{
    FTPerson* pa = person("Pa Lee", M());
    FTPerson* tom = person("Tom Lee", M());
    FTPerson* ann = person("Ann Lee", F());
    FTPerson* kid = person("Kid Lee", F());
    link(pa, tom);
    link(tom, kid);
    link(ann, kid, FTPcRel::kStep);
    year(tom, "birth", 1900)->setPlace("Leeds");
    year(tom, "death", 1970)->setPlace("York");
    FTEvent* census = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, tom, "CENS");
    census->setDate("1911");
    census->setPlace("Hull");
    year(couple(tom, ann), "marriage", 1925)->setPlace("Whitby");
    year(ann, "birth", 1902)->setPlace("Leeds");
    FTAssociation* godfather = FTAssociation::initInMoc(moc.get());
    godfather->setFromPerson(tom);
    godfather->setToPerson(kid);
    godfather->setFromRelationship("Godfather");
    FTStory* story = FTStory::initInMoc(moc.get());
    story->setData(QByteArray("<p>He kept the lighthouse.</p>"));
    tom->setStory(story);
    FTSource* register_ = FTSource::initInMoc(moc.get());
    register_->setTitle("Parish register");
    FTSourceRel::initInMoc(moc.get(), register_, tom, "Name")->setReference("12");
    FTSourceRel::initInMoc(moc.get(), register_, census, "Census")->setReference("34");
    FTSourceRel::initInMoc(moc.get(), register_, ann, "Name")->setReference("56");
    moc->setFocalPerson(kid);
    ASSERT_TRUE(moc->saveMoc());
    moc->undoManager()->closeOpenGroups();

    const QStringList before = familyAsText(*moc);
    const QStringList places = moc->places();
    ASSERT_EQ(places, (QStringList {"Hull", "Leeds", "Whitby", "York"}));

    moc->deleteObject(tom);
    moc->undoManager()->closeOpenGroups();
    ASSERT_TRUE(moc->saveMoc());
    const QStringList gone = familyAsText(*moc);
    EXPECT_FALSE(gone.join('\n').contains("Tom")) << gone.join('\n').toStdString();
    EXPECT_TRUE(gone.contains("cites Parish register p. 56 for Ann Lee"));

    prompts.answer(0); // "Undo: ...?" Yes
    moc->undoManager()->undo();
    EXPECT_EQ(familyAsText(*moc), before);
    EXPECT_EQ(moc->places(), places);

    // And so it is saved: the file holds the family as it was.
    ASSERT_TRUE(moc->saveMoc());
    const QString path = moc->databaseURL();
    moc.reset();
    moc = reopen(path);
    ASSERT_TRUE(moc);
    EXPECT_EQ(familyAsText(*moc), before);
    EXPECT_EQ(moc->places(), places);
}
