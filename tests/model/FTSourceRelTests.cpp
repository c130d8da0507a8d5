// Citations of people, events and pictures: numbering, where-used texts, setter side effects, the delete
// notification and what deleting an owner or a source does to them.

#include "ModelFixture.h"

#include "model/FTEvent.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

using FTSourceRelTest = ModelFixture;

namespace {
FTPerson* person(FTMoc& moc, const QString& name, const QString& gender = {}, int born = 0, int died = 0)
{
    auto* p = moc.insertObject<FTPerson>();
    p->setName(name);
    p->setGender(gender);
    if (born) {
        auto* b = static_cast<FTEvent*>(moc.insertObject("BirthEvent"));
        b->setType(300);
        b->setYear(born);
        p->setBirth(b);
    }
    if (died) {
        auto* d = static_cast<FTEvent*>(moc.insertObject("DeathEvent"));
        d->setType(301);
        d->setYear(died);
        p->setDeath(d);
    }
    return p;
}

FTEvent* event(FTMoc& moc, const char* entity, int type, const QString& name, const QString& date = {}, int day = 0)
{
    auto* e = static_cast<FTEvent*>(moc.insertObject(entity));
    e->setType(type);
    e->setName(name);
    e->setDate(date);
    e->setDay(day);
    return e;
}

FTSourceRel* cite(FTMoc& moc, FTSource* s)
{
    FTSourceRel* r = FTSourceRel::initInMoc(&moc);
    r->setSource(s);
    return r;
}
}

TEST_F(FTSourceRelTest, NumberComesFromTheRecordsIdentityAndSurvivesReopening)
{
    auto moc = newDatabase();
    moc->undoManager()->closeOpenGroups();
    FTSourceRel* a = FTSourceRel::initInMoc(moc.get());
    EXPECT_EQ(moc->undoManager()->actionName(), "Add Source Citation");
    FTSourceRel* b = FTSourceRel::initInMoc(moc.get());
    EXPECT_GT(a->numericId(), 0);
    EXPECT_NE(a->numericId(), b->numericId());
    EXPECT_EQ(a->numericId(), a->primaryKey());
    EXPECT_EQ(a->valueForKey("numericId").toInt(), a->numericId());
    const int number = b->numericId();
    // Cited sources: the first save deletes citations of no source.
    FTSource* source = FTSource::initInMoc(moc.get());
    a->setSource(source);
    b->setSource(source);
    a->setReference("p. 1");
    b->setReference("p. 2");
    ASSERT_TRUE(moc->saveMoc());
    const QString path = moc->databaseURL();
    moc.reset();

    auto again = reopen(path);
    const auto found = again->fetch<FTSourceRel>([](const FTSourceRel* r) { return r->reference() == "p. 2"; });
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0]->numericId(), number);
}

TEST_F(FTSourceRelTest, WhereUsedNamesTheCitingPersonEventOrPicture)
{
    auto moc = newDatabase();
    FTSource* s = FTSource::initInMoc(moc.get());
    FTPerson* john = person(*moc, "John Smith", "M", 1850, 1920);
    FTPerson* mary = person(*moc, "Mary Jones", "F");
    auto* couple = moc->insertObject<FTSpouseRel>();
    couple->addPartnersObject(mary); // the wife first: the husband is still named first
    couple->addPartnersObject(john);

    auto* census = event(*moc, "OtherPersonalEvent", 303, "Census", "03 Apr 1881", 3);
    census->setPerson(john);
    auto* wedding = event(*moc, "MarriageEvent", 302, "Marriage", "Jun 1875");
    wedding->setSpouseRel(couple);
    auto* divorce = event(*moc, "OtherMarriageEvent", 304, "Divorce", "1890");
    auto* baptism = event(*moc, "OtherPersonalEvent", 303, "Baptism", "12 May 1850", 12);
    baptism->setPerson(john);
    auto* picture = moc->insertObject<FTPicture>();
    picture->setName("Wedding photograph");

    struct Case {
        std::function<void(FTSourceRel*)> link;
        QString expected;
    };
    const Case cases[] = {
        // A personal event's citation names its person too: person and event, no date.
        {[&](FTSourceRel* r) { r->setEvent(census); r->setPerson(john); }, "Event: John Smith (1850 - 1920), Census"},
        // A couple's event: husband <-> wife, then the date "in" a month or year, "on" a day.
        {[&](FTSourceRel* r) { r->setEvent(wedding); }, "Event: John Smith <-> Mary Jones, Marriage in Jun 1875"},
        // A couple event without its two partners shows only its name.
        {[&](FTSourceRel* r) { r->setEvent(divorce); }, "Divorce"},
        // A personal event's citation that does not name the person: through the event's owner.
        {[&](FTSourceRel* r) { r->setEvent(baptism); }, "Event: John Smith (1850 - 1920), Baptism on 12 May 1850"},
        {[&](FTSourceRel* r) { r->setPerson(mary); }, "Person: Mary Jones"},
        {[&](FTSourceRel* r) { r->setPicture(picture); }, "Picture: Wedding photograph"},
        {[&](FTSourceRel*) {}, "Something is wrong here"},
    };
    for (const Case& c : cases) {
        FTSourceRel* r = cite(*moc, s);
        c.link(r);
        EXPECT_EQ(r->whereUsedString(), c.expected);
        EXPECT_EQ(r->valueForKey("whereUsedString").toString(), c.expected);
    }

    // Computed when read: a renamed person shows under the new name.
    FTSourceRel* r = cite(*moc, s);
    r->setPerson(mary);
    mary->setName("Mary Smith");
    EXPECT_EQ(r->whereUsedString(), "Person: Mary Smith");
}

TEST_F(FTSourceRelTest, OwnerSheetTitleAndNotesMark)
{
    auto moc = newDatabase();
    FTPerson* john = person(*moc, "John Smith", "M");
    auto* census = event(*moc, "OtherPersonalEvent", 303, "Census", "1881");
    census->setPerson(john);

    FTSourceRel* ofPerson = FTSourceRel::initInMoc(moc.get());
    ofPerson->setPerson(john);
    EXPECT_EQ(ofPerson->owner(), john);
    EXPECT_EQ(ofPerson->nameForSourceRefDialog(), "Source Citation");

    FTSourceRel* ofEvent = FTSourceRel::initInMoc(moc.get());
    ofEvent->setEvent(census);
    EXPECT_EQ(ofEvent->owner(), census);
    EXPECT_EQ(ofEvent->nameForSourceRefDialog(), "Event = Census of John Smith in 1881");
    ofEvent->setPerson(john);
    EXPECT_EQ(ofEvent->owner(), john) << "the person comes first";

    EXPECT_EQ(ofEvent->lengthIndicator(), "");
    ofEvent->setNotes(" \n\t ");
    EXPECT_EQ(ofEvent->lengthIndicator(), "");
    ofEvent->setNotes("\nsee the original\n");
    EXPECT_EQ(ofEvent->lengthIndicator(), "*");
}

TEST_F(FTSourceRelTest, TypedPageReferenceBecomesTheActiveSourcesAndChosenSourcesBecomeRecent)
{
    auto moc = newDatabase();
    FTSource* active = FTSource::initInMoc(moc.get());
    FTSource* other = FTSource::initInMoc(moc.get());
    FTSourceRel* r = FTSourceRel::initInMoc(moc.get());

    // Without an active source, typing clears a page reference left from before.
    moc->setActiveSourcePageRef("old");
    r->setReference("p. 12");
    EXPECT_TRUE(moc->activeSourcePageRef().isEmpty());

    moc->setActiveSource(active);
    r->setReference("p. 13"); // any citation, of any source
    EXPECT_EQ(moc->activeSourcePageRef(), "p. 13");
    r->setValueForKey("reference", "folio 4");
    EXPECT_EQ(moc->activeSourcePageRef(), "folio 4");

    r->setSource(other);
    r->setSource(active);
    r->setSource(nullptr);
    EXPECT_EQ(moc->recentSources(), (QList<FTSource*> {active, other}));

    // An import changes neither.
    moc->setImportThreadIsActive(true);
    r->setReference("import");
    FTSource* imported = FTSource::initInMoc(moc.get());
    r->setSource(imported);
    moc->setImportThreadIsActive(false);
    EXPECT_EQ(moc->activeSourcePageRef(), "folio 4");
    EXPECT_EQ(moc->recentSources(), (QList<FTSource*> {active, other}));
    EXPECT_EQ(r->reference(), "import");
}

TEST_F(FTSourceRelTest, DeletingACitationAnnouncesItWhileItIsStillLinked)
{
    auto moc = newDatabase();
    FTSource* s = FTSource::initInMoc(moc.get());
    FTPerson* john = person(*moc, "John Smith");
    FTSourceRel* r = cite(*moc, s);
    r->setPerson(john);

    QList<const void*> announced;
    FTSource* sourceWhenAnnounced = nullptr;
    NotificationCenter::defaultCenter().addObserver(
        "SourceRelToBeDeleted", nullptr,
        [&](const Notification& n) {
            announced << n.object;
            EXPECT_EQ(n.context, moc.get());
            sourceWhenAnnounced = static_cast<const FTSourceRel*>(n.object)->source();
        },
        this);
    moc->deleteObject(r);
    EXPECT_EQ(announced, QList<const void*> {r});
    EXPECT_EQ(sourceWhenAnnounced, s);
    EXPECT_TRUE(s->sourceRels().isEmpty());
    EXPECT_TRUE(john->sourceRels().isEmpty());
    EXPECT_FALSE(s->isDeleted()) << "the source and person stay";
    EXPECT_FALSE(john->isDeleted());

    // Also while an import runs.
    moc->setImportThreadIsActive(true);
    FTSourceRel* imported = cite(*moc, s);
    moc->deleteObject(imported);
    moc->setImportThreadIsActive(false);
    EXPECT_EQ(announced.size(), 2);
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

TEST_F(FTSourceRelTest, CitationsGoWithWhatTheyCiteAndWithTheirSource)
{
    auto moc = newDatabase();
    FTSource* kept = FTSource::initInMoc(moc.get());
    FTSource* dropped = FTSource::initInMoc(moc.get());
    FTPerson* john = person(*moc, "John Smith");
    FTPerson* ann = person(*moc, "Ann Smith");
    auto* census = event(*moc, "OtherPersonalEvent", 303, "Census");
    census->setPerson(ann);
    auto* picture = moc->insertObject<FTPicture>();
    picture->setOwner(ann);
    auto* thumb = FTOriginalPicture::initInMoc(moc.get());
    picture->setOriginalPicture(thumb);

    FTSourceRel* ofJohn = cite(*moc, kept);
    ofJohn->setPerson(john);
    FTSourceRel* ofCensus = cite(*moc, kept);
    ofCensus->setEvent(census);
    ofCensus->setPerson(ann);
    FTSourceRel* ofPicture = cite(*moc, kept);
    ofPicture->setPicture(picture);
    FTSourceRel* ofAnn = cite(*moc, dropped);
    ofAnn->setPerson(ann);
    dropped->setPicture(moc->insertObject<FTPicture>());
    FTPicture* sourcesPicture = dropped->picture();
    ASSERT_TRUE(moc->saveMoc());

    // A deleted event takes its citations, and so does a deleted picture (with its thumbnail record).
    moc->deleteObject(census);
    EXPECT_TRUE(ofCensus->isDeleted());
    EXPECT_FALSE(ann->isDeleted());
    moc->deleteObject(picture);
    EXPECT_TRUE(ofPicture->isDeleted());
    EXPECT_TRUE(thumb->isDeleted());
    // A deleted source takes its citations and its picture, and nothing they cite.
    moc->deleteObject(dropped);
    EXPECT_TRUE(ofAnn->isDeleted());
    EXPECT_TRUE(sourcesPicture->isDeleted());
    EXPECT_FALSE(ann->isDeleted());
    // A deleted person takes its citations; the source stays with the rest.
    moc->deleteObject(john);
    EXPECT_TRUE(ofJohn->isDeleted());
    EXPECT_FALSE(kept->isDeleted());
    EXPECT_TRUE(kept->sourceRels().isEmpty());
    ASSERT_TRUE(moc->saveMoc());

    const QString path = moc->databaseURL();
    moc.reset();
    auto again = reopen(path);
    EXPECT_EQ(again->count<FTSourceRel>(), 0);
    EXPECT_EQ(again->count<FTSource>(), 1);
    EXPECT_EQ(again->count<FTPicture>(), 0);
    EXPECT_EQ(again->count<FTOriginalPicture>(), 0);
    EXPECT_EQ(again->count<FTPerson>(), 1);
}
