// Events: construction, the setters with their lists and notifications, the derived values, citing and cloning.

#include "ModelFixture.h"

#include "model/Dates.h"
#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/ModelFlags.h"

#include "platform/UserDefaults.h"
#include "platform/store/EntityDescription.h"

#include <QDate>

#include <stdexcept>

namespace {
struct Posted {
    QString name;
    const void* object;
    const void* context;
};
}

class FTEventTest : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        Dates::setReadingOrderOverride(Dates::DayFirst);
        moc = newDatabase();
        ASSERT_TRUE(moc);
        for (const char* name : {"EventNameOrDateChanged", "PersonNameOrDateChanged", "BDMInfoChanged",
                                 "NotesOrCommentsChanged", "RefreshAllViews"})
            NotificationCenter::defaultCenter().addObserver(
                name, nullptr, [this](const Notification& n) { posted.push_back({n.name, n.object, n.context}); },
                this);
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserversOf(this);
        Dates::setReadingOrderOverride(Dates::FollowUser);
        gMergeFromAnotherDatabase = false;
        gHebrewDates = false;
        moc.reset();
        ModelFixture::TearDown();
    }

    FTPerson* person(const QString& name, const QString& gender = "M")
    {
        auto* p = moc->insertObject<FTPerson>();
        p->setName(name);
        p->setFamilyName(name.section(' ', -1));
        p->setGender(gender);
        return p;
    }
    FTSpouseRel* couple(FTPerson* a, FTPerson* b)
    {
        auto* c = moc->insertObject<FTSpouseRel>();
        if (a)
            c->addPartnersObject(a);
        if (b)
            c->addPartnersObject(b);
        return c;
    }
    void naturalChild(FTPerson* parent, FTPerson* child)
    {
        auto* link = moc->insertObject<FTPcRel>();
        link->setParent(parent);
        link->setChild(child);
        link->setPcRelType(1);
    }
    FTEvent* dated(int type, FTManagedObject* owner, const QString& subtype, const QString& date)
    {
        FTEvent* e = FTEvent::initInMoc(moc.get(), type, owner, subtype);
        e->setDate(date);
        return e;
    }
    QList<Posted> postsNamed(const QString& name) const
    {
        QList<Posted> out;
        for (const Posted& p : posted)
            if (p.name == name)
                out << p;
        return out;
    }
    void forgetPostsAndMessages()
    {
        posted.clear();
        prompts.clear();
    }

    std::unique_ptr<FTMoc> moc;
    QList<Posted> posted;
};

TEST_F(FTEventTest, EachTypeIsMadeWithItsEntityTagNumberAndUndoName)
{
    struct Case {
        int type;
        const char* entity;
        const char* subtype;
        const char* undoName;
        const char* displayName;
    };
    const Case cases[] = {
        {300, "BirthEvent", "BIRT", "Add Birth Event", "Birth"},
        {301, "DeathEvent", "DEAT", "Add Death Event", "Death"},
        {302, "MarriageEvent", "MARR", "Add Marriage Event", "Marriage"},
        {303, "OtherPersonalEvent", "EVEN", "Add Other Personal Event", "Other Event"},
        {304, "OtherMarriageEvent", "EVEN", "Add Other Marriage Event", "Other Event"},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        moc->undoManager()->closeOpenGroups();
        FTEvent* e = FTEvent::initInMoc(moc.get(), c.type);
        ASSERT_TRUE(e);
        EXPECT_EQ(e->entityName(), c.entity);
        EXPECT_EQ(e->type(), c.type);
        EXPECT_EQ(e->subtype(), c.subtype);
        EXPECT_EQ(e->stringValue("name"), "");
        EXPECT_EQ(e->date(), "");
        EXPECT_EQ(e->name(), c.displayName);
        EXPECT_EQ(e->numericId(), ++number);
        EXPECT_EQ(moc->undoManager()->actionName(), c.undoName);
        ASSERT_TRUE(e->eventType());
        EXPECT_EQ(e->eventType()->gedcomCode(), c.subtype);
    }
    EXPECT_EQ(moc->modelDefaults()->maxEventId(), 5);
    EXPECT_EQ(moc->count<FTEvent>(), 5);

    EXPECT_EQ(FTEvent::initInMoc(moc.get(), 305), nullptr);
    EXPECT_EQ(messages(), QStringList {"FTEvent :: initInMoc - unknown eventType = 305"});
    EXPECT_EQ(moc->count<FTEvent>(), 5);
}

TEST_F(FTEventTest, OwnersAreSetOnTheirSideAndAWrongKindOfOwnerIsIgnored)
{
    FTPerson* john = person("John Smith");
    FTPerson* mary = person("Mary Jones", "F");
    FTSpouseRel* pair = couple(john, mary);

    FTEvent* birth = FTEvent::initInMoc(moc.get(), 300, john, "BIRT");
    FTEvent* baptism = FTEvent::initInMoc(moc.get(), 303, john, "BAPM");
    FTEvent* marriage = FTEvent::initInMoc(moc.get(), 302, pair, "MARR");
    FTEvent* divorce = FTEvent::initInMoc(moc.get(), 304, pair, "DIV");
    EXPECT_EQ(john->birth(), birth);
    EXPECT_EQ(john->otherEvents(), QList<FTEvent*> {baptism});
    EXPECT_EQ(pair->marriage(), marriage);
    EXPECT_EQ(pair->otherMarriageEvents(), QList<FTEvent*> {divorce});
    EXPECT_EQ(birth->owner(), john);
    EXPECT_EQ(marriage->owner(), pair);

    // The tag names the event and links its type; an unknown tag falls back to the kind's name.
    EXPECT_EQ(baptism->name(), "Baptism");
    EXPECT_EQ(baptism->eventType()->gedcomCode(), "BAPM");
    EXPECT_EQ(divorce->name(), "Divorced");
    EXPECT_EQ(FTEvent::initInMoc(moc.get(), 303, john, "_XYZ")->name(), "Other Personal Event");
    EXPECT_EQ(FTEvent::initInMoc(moc.get(), 304, pair, "_XYZ")->name(), "Other Marriage Event");
    // An empty tag keeps the kind's own.
    EXPECT_EQ(FTEvent::initInMoc(moc.get(), 303, john, "")->subtype(), "EVEN");

    // A couple cannot own a birth; the event keeps its person.
    birth->setOwner(pair);
    EXPECT_EQ(birth->owner(), john);
    birth->setOwner(nullptr);
    EXPECT_EQ(john->birth(), nullptr);
}

TEST_F(FTEventTest, DatesAreStoredAsTextAndNumbersTogether)
{
    struct Case {
        int type;
        const char* typed;
        const char* stored;
        int qual, day, month, year;
    };
    const Case cases[] = {
        {303, "abt 5/1/1900", "abt 05 Jan 1900", 1, 5, 1, 1900},
        {303, "Sept 1850", "Sep 1850", 0, 0, 9, 1850},
        {303, "bef 1900", "bef 1900", 2, 0, 0, 1900},
        {301, "y", "y", 0, 0, 0, 0},
        {302, "Y", "Y", 0, 0, 0, 0},
        {300, "y", "", 0, 0, 0, 0},
        {303, "", "", 0, 0, 0, 0},
    };
    FTPerson* john = person("John Smith");
    FTSpouseRel* pair = couple(john, person("Mary Jones", "F"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        FTManagedObject* owner = c.type == 302 ? static_cast<FTManagedObject*>(pair) : john;
        FTEvent* e = FTEvent::initInMoc(moc.get(), c.type);
        e->setOwner(owner);
        e->setDate("3 Mar 1777"); // something to replace
        e->setDate(c.typed);
        EXPECT_EQ(e->date(), c.stored);
        EXPECT_EQ(e->qual(), c.qual);
        EXPECT_EQ(e->day(), c.day);
        EXPECT_EQ(e->month(), c.month);
        EXPECT_EQ(e->year(), c.year);
        EXPECT_EQ(e->lDate(), Dates::getLongDate(c.qual, c.day, c.month, c.year));
    }
    EXPECT_TRUE(messages().isEmpty()) << messages().join("\n").toStdString();
}

TEST_F(FTEventTest, AnUnreadableDateIsRefusedAndTheOldDateStaysWhole)
{
    FTPerson* john = person("John Smith");
    FTEvent* burial = dated(303, john, "BURI", "abt 5 Jan 1900");
    ASSERT_TRUE(moc->saveMoc());
    const quint32 key = burial->lDate();
    const QDateTime stamp = burial->lastChange();
    forgetPostsAndMessages();

    for (const char* typed : {"sometime in spring", "5 Jan 1900 1901 1902 1903", "bet 1900", "1 1 3000"}) {
        SCOPED_TRACE(typed);
        prompts.clear();
        burial->setDate(typed);
        EXPECT_EQ(burial->date(), "abt 05 Jan 1900");
        EXPECT_EQ(burial->lDate(), key);
        EXPECT_EQ(burial->qual(), 1);
        EXPECT_EQ(messages(), QStringList {QString("FTEvent::setDate : invalid Date = %1").arg(typed)});
    }
    // An impossible day of February is announced by the reader, then refused.
    prompts.clear();
    burial->setDate("29 Feb 1900");
    EXPECT_EQ(messages(), (QStringList {"29 Feb is invalid for year 1900", "FTEvent::setDate : invalid Date = 29 Feb 1900"}));
    EXPECT_EQ(burial->date(), "abt 05 Jan 1900");

    // Nothing was changed, but the editors hear that the date is to be shown again.
    EXPECT_FALSE(burial->hasChanges());
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_EQ(burial->lastChange(), stamp);
    EXPECT_EQ(postsNamed("EventNameOrDateChanged").size(), 5);
}

TEST_F(FTEventTest, DateChangesTellTheOwnersAndWarnOfImpossibleLives)
{
    FTPerson* john = person("John Smith");
    FTPerson* mary = person("Mary Jones", "F");
    FTSpouseRel* pair = couple(john, mary);
    FTEvent* birth = dated(300, john, "BIRT", "10 Mar 1900");
    FTEvent* death = FTEvent::initInMoc(moc.get(), 301, john, "DEAT");
    forgetPostsAndMessages();

    death->setDate("1900"); // counts as the end of 1900: after the birth
    EXPECT_TRUE(messages().isEmpty());
    ASSERT_EQ(posted.size(), 2);
    EXPECT_EQ(posted[0].name, "PersonNameOrDateChanged");
    EXPECT_EQ(posted[0].object, john);
    EXPECT_EQ(posted[1].name, "EventNameOrDateChanged");
    EXPECT_EQ(posted[1].object, death);
    for (const Posted& p : posted)
        EXPECT_EQ(p.context, moc.get());

    const QString warning = "Warning - John Smith's birth and death dates are inconsistent.";
    struct Case {
        const char* deathDate;
        bool warns;
    };
    for (const Case c : {Case {"1899", true}, Case {"9 Mar 1900", true}, Case {"Mar 1900", false},
                         Case {"2021", true}, Case {"2020", false}}) {
        SCOPED_TRACE(c.deathDate);
        prompts.clear();
        death->setDate(c.deathDate);
        EXPECT_EQ(messages(), c.warns ? QStringList {warning} : QStringList {});
        EXPECT_EQ(death->checkOwnersBirthAndDeathDates(120), !c.warns);
    }
    prompts.clear();
    death->setDate("1850");
    birth->setDate("1851"); // the birth's own change is checked too
    EXPECT_EQ(messages(), (QStringList {warning, warning}));

    forgetPostsAndMessages();
    FTEvent* marriage = FTEvent::initInMoc(moc.get(), 302, pair, "MARR");
    posted.clear();
    marriage->setDate("1920");
    ASSERT_EQ(posted.size(), 3);
    EXPECT_EQ(QSet<const void*>({posted[0].object, posted[1].object}), QSet<const void*>({john, mary}));
    EXPECT_EQ(posted[2].object, marriage);

    // Other events tell only about themselves.
    FTEvent* census = FTEvent::initInMoc(moc.get(), 303, john, "CENS");
    posted.clear();
    census->setDate("1921");
    ASSERT_EQ(posted.size(), 1);
    EXPECT_EQ(posted[0].name, "EventNameOrDateChanged");
}

TEST_F(FTEventTest, NamesAndPlacesKeepTheContextListsInStep)
{
    FTPerson* john = person("John Smith");
    FTEvent* a = FTEvent::initInMoc(moc.get(), 303, john, "CENS");
    FTEvent* b = FTEvent::initInMoc(moc.get(), 303, john, "CENS");
    EXPECT_EQ(moc->eventNamesForSubtype("CENS"), QStringList {"Census"});
    EXPECT_TRUE(moc->places().isEmpty());
    forgetPostsAndMessages();

    a->setName("1881 Census");
    b->setName("1881 Census");
    EXPECT_EQ(moc->eventNamesForSubtype("CENS"), (QStringList {"1881 Census", "Census"}));
    b->setName("1891 Census"); // a still uses the old name
    EXPECT_EQ(moc->eventNamesForSubtype("CENS"), (QStringList {"1881 Census", "1891 Census", "Census"}));
    ASSERT_EQ(postsNamed("EventNameOrDateChanged").size(), 3);
    EXPECT_EQ(postsNamed("EventNameOrDateChanged")[0].object, a);

    // A new tag takes the name along, and links its event type.
    EXPECT_EQ(moc->eventNamesForSubtype("RESI"), QStringList {"Residence"});
    b->setSubtype("RESI");
    EXPECT_EQ(moc->eventNamesForSubtype("CENS"), (QStringList {"1881 Census", "Census"}));
    EXPECT_EQ(moc->eventNamesForSubtype("RESI"), (QStringList {"1891 Census", "Residence"}));
    EXPECT_EQ(b->eventType()->gedcomCode(), "RESI");
    b->setSubtype("_NOSUCHTAG"); // no such type: the old link stays
    EXPECT_EQ(b->eventType()->gedcomCode(), "RESI");

    posted.clear();
    a->setPlace("Leeds");
    b->setPlace("Leeds");
    EXPECT_EQ(moc->places(), QStringList {"Leeds"});
    b->setPlace("York");
    EXPECT_EQ(moc->places(), (QStringList {"Leeds", "York"}));
    a->setPlace("Bath"); // the last user of Leeds moves away
    EXPECT_EQ(moc->places(), (QStringList {"Bath", "York"}));
    ASSERT_EQ(postsNamed("BDMInfoChanged").size(), 4);
    EXPECT_EQ(postsNamed("BDMInfoChanged")[0].object, john);

    a->setNotes("Enumerated at home");
    ASSERT_EQ(postsNamed("NotesOrCommentsChanged").size(), 1);
    EXPECT_EQ(postsNamed("NotesOrCommentsChanged")[0].object, a);
}

TEST_F(FTEventTest, DuringAnImportTheSettersOnlyStore)
{
    FTSource* source = moc->insertObject<FTSource>();
    moc->setActiveSource(source);
    FTPerson* john = person("John Smith");
    FTEvent* before = FTEvent::initInMoc(moc.get(), 303, john, "CENS");
    before->setPlace("Leeds");
    EXPECT_EQ(moc->eventNamesForSubtype("CENS"), QStringList {"Census"});
    EXPECT_EQ(moc->eventNamesForSubtype("OCCU"), QStringList {"Occupation"});
    EXPECT_EQ(moc->places(), QStringList {"Leeds"});
    ASSERT_TRUE(moc->saveMoc());
    moc->undoManager()->closeOpenGroups();
    const int counter = moc->modelDefaults()->maxEventId();
    forgetPostsAndMessages();

    moc->setImportThreadIsActive(true);
    FTEvent* e = FTEvent::initInMoc(moc.get(), 303, john, "OCCU");
    EXPECT_EQ(e->numericId(), 0);
    EXPECT_EQ(moc->modelDefaults()->maxEventId(), counter);
    EXPECT_EQ(e->eventType(), nullptr);
    EXPECT_TRUE(e->sourceRels().isEmpty()) << "no automatic citation";
    e->setName("Weaver");
    e->setPlace("York");
    e->setNotes("noted");
    e->setDate("abt 1850");
    e->setDate("31 Feb 1851"); // refused quietly
    before->setPlace("Bath");
    EXPECT_EQ(e->date(), "abt 1850");
    EXPECT_EQ(e->year(), 1850);
    EXPECT_EQ(e->place(), "York");
    EXPECT_EQ(e->name(), "Weaver");
    moc->setImportThreadIsActive(false);

    EXPECT_TRUE(posted.isEmpty());
    EXPECT_TRUE(messages().isEmpty()) << messages().join("\n").toStdString();
    EXPECT_EQ(moc->places(), QStringList {"Leeds"});
    EXPECT_EQ(moc->eventNamesForSubtype("OCCU"), QStringList {"Occupation"});
    EXPECT_FALSE(e->lastChange().isValid());
    EXPECT_EQ(moc->undoManager()->actionName(), "");
}

TEST_F(FTEventTest, UndoBringsBackTheWholeDate)
{
    FTEvent* e = dated(303, person("John Smith"), "BAPM", "5 Jan 1900");
    moc->undoManager()->closeOpenGroups();
    e->setDate("aft Mar 1901");
    moc->undoManager()->closeOpenGroups();
    prompts.answer(0); // "Undo: ...?" Yes
    moc->undoManager()->undo();
    EXPECT_EQ(e->date(), "05 Jan 1900");
    EXPECT_EQ(e->lDate(), Dates::getLongDate(0, 5, 1, 1900));
    EXPECT_EQ(e->qual(), 0);
}

TEST_F(FTEventTest, EventsListKeysSortLaterForAfterAndLastWhenAnEndOfLifeEventIsUndated)
{
    struct Case {
        const char* subtype;
        const char* date;
        qint64 key;
    };
    const qint64 last = Dates::getLongDate(0, 1, 1, 10000);
    const Case cases[] = {
        {"BAPM", "aft 1900", qint64(1901) << 16},
        {"BAPM", "aft Mar 1900", (qint64(1900) << 16) + (4 << 8)},
        {"BAPM", "aft 31 Mar 1900", (qint64(1900) << 16) + (3 << 8) + 32},
        {"BAPM", "bef 5 Mar 1900", (qint64(1900) << 16) + (3 << 8) + 5},
        {"BAPM", "", 0},
        {"BURI", "", last},
        {"CREM", "", last},
        {"PROB", "", last},
        {"BURI", "1900", qint64(1900) << 16},
    };
    FTPerson* john = person("John Smith");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.subtype) + " " + c.date);
        EXPECT_EQ(dated(303, john, c.subtype, c.date)->lDateForEventsListSort(), c.key);
    }
    EXPECT_EQ(dated(301, john, "DEAT", "")->lDateForEventsListSort(), last);
}

TEST_F(FTEventTest, AgesCountWholeYears)
{
    FTPerson* john = person("John Smith");
    dated(300, john, "BIRT", "15 Jun 1900");
    struct Case {
        const char* date;
        int age;
    };
    for (const Case c : {Case {"14 Jun 1950", 49}, Case {"15 Jun 1950", 50}, Case {"May 1950", 49},
                         Case {"Jun 1950", 50}, Case {"1950", 50}, Case {"1899", 0}, Case {"", 0}}) {
        SCOPED_TRACE(c.date);
        EXPECT_EQ(dated(303, john, "OCCU", c.date)->ownersAgeAtEvent(), c.age);
    }
    FTEvent* undatedBirth = FTEvent::initInMoc(moc.get(), 300);
    EXPECT_EQ(dated(303, john, "OCCU", "1950")->yearsSince(undatedBirth), 0);
    EXPECT_EQ(FTEvent::initInMoc(moc.get(), 303)->ownersAgeAtEvent(), 0);
}

TEST_F(FTEventTest, UndatedBirthsAndMarriagesBorrowTheirFamilysDates)
{
    FTPerson* father = person("John Smith");
    FTPerson* mother = person("Mary Jones", "F");
    FTPerson* elder = person("Ann Smith", "F");
    FTPerson* younger = person("Tom Smith");
    FTSpouseRel* parents = couple(father, mother);
    for (FTPerson* child : {elder, younger}) {
        naturalChild(father, child);
        naturalChild(mother, child);
    }
    FTEvent* marriage = FTEvent::initInMoc(moc.get(), 302, parents, "MARR");
    FTEvent* youngerBirth = dated(300, younger, "BIRT", "1905");
    dated(300, elder, "BIRT", "3 Feb 1903");

    EXPECT_EQ(marriage->lmDate(), Dates::getLongDate(0, 3, 2, 1903)) << "the first common child's birth";
    EXPECT_EQ(youngerBirth->lbDate(), youngerBirth->lDate());
    youngerBirth->setDate("");
    EXPECT_EQ(youngerBirth->lbDate(), 0u);
    marriage->setDate("1901");
    EXPECT_EQ(youngerBirth->lbDate(), Dates::getLongDate(0, 0, 0, 1901));
    EXPECT_EQ(marriage->lmDate(), marriage->lDate());

    // Without both natural parents there is nothing to borrow.
    FTPerson* orphan = person("Jim Nobody");
    naturalChild(father, orphan);
    EXPECT_EQ(FTEvent::initInMoc(moc.get(), 300, orphan, "BIRT")->lbDate(), 0u);
    FTSpouseRel* men = couple(person("Al One"), person("Bo Two"));
    EXPECT_EQ(FTEvent::initInMoc(moc.get(), 302, men, "MARR")->lmDate(), 0u);
}

TEST_F(FTEventTest, OwnerTextsForPeopleAndCouples)
{
    FTPerson* mary = person("Mary Jones", "F");
    FTPerson* john = person("John Smith");
    john->setNumericId(12);
    FTSpouseRel* pair = couple(mary, john);
    pair->setNumericId(3);
    FTEvent* marriage = dated(302, pair, "MARR", "5 Jun 1920");
    FTEvent* banns = dated(304, pair, "MARB", "May 1920");
    FTEvent* baptism = dated(303, john, "BAPM", "1 Jan 1900");

    EXPECT_EQ(marriage->ownerName(), "John Smith +. Mary Jones");
    EXPECT_EQ(marriage->familyName(), "Smith");
    EXPECT_EQ(marriage->ownersNumericIdAsString(), "M.3");
    EXPECT_EQ(baptism->ownerName(), "John Smith");
    EXPECT_EQ(baptism->familyName(), "Smith");
    EXPECT_EQ(baptism->ownersNumericIdAsString(), "P.12");
    EXPECT_EQ(marriage->nameForSourceRefDialog(), "Event = Marriage of Mary Jones and John Smith on 05 Jun 1920");
    EXPECT_EQ(banns->nameForSourceRefDialog(), "Event = Marriage Banns of Mary Jones and John Smith in May 1920");
    EXPECT_EQ(baptism->nameForSourceRefDialog(), "Event = Baptism of John Smith on 01 Jan 1900");

    FTEvent* lonely = FTEvent::initInMoc(moc.get(), 302, couple(mary, nullptr), "MARR");
    EXPECT_EQ(lonely->ownerName(), "Marriage Event");
    EXPECT_EQ(lonely->nameForSourceRefDialog(), "Event = Marriage");
    FTEvent* unowned = FTEvent::initInMoc(moc.get(), 303);
    EXPECT_EQ(unowned->ownerName(), "");
    EXPECT_EQ(unowned->ownersNumericIdAsString(), "");

    baptism->setPlace("Leeds");
    baptism->setNotes("By the vicar");
    EXPECT_EQ(baptism->eventDescription(), "Type: BAPM, Name: Baptism, Date: 01 Jan 1900, Place: Leeds Notes: By the vicar");
    EXPECT_FALSE(baptism->isEmptyEvent());
    EXPECT_TRUE(unowned->isEmptyEvent());
    unowned->setNotes("x");
    EXPECT_FALSE(unowned->isEmptyEvent());
}

TEST_F(FTEventTest, WeekdayAndHebrewForms)
{
    FTEvent* e = dated(303, person("John Smith"), "BAPM", "abt 1 Jan 2000");
    EXPECT_EQ(e->dateWithWeekday(), QLocale().toString(QDate(2000, 1, 1), "dddd, dd MMMM yyyy"));
    EXPECT_EQ(e->hebrewDate(), "abt " + Dates::hebrewDateFor(QDate(2000, 1, 1)));
    gHebrewDates = true;
    EXPECT_EQ(e->date(), e->hebrewDate());
    gHebrewDates = false;
    EXPECT_EQ(e->date(), "abt 01 Jan 2000");

    e->setDate("Jan 2000");
    EXPECT_TRUE(e->dateWithWeekday().isNull());
    EXPECT_EQ(e->hebrewDate(), "");
}

TEST_F(FTEventTest, KeysReachTheSettersAndTheDerivedValues)
{
    FTPerson* john = person("John Smith");
    FTEvent* birth = FTEvent::initInMoc(moc.get(), 300, john, "BIRT");
    forgetPostsAndMessages();
    john->setValueForKeyPath("birth.date", "abt 5/1/1900");
    john->setValueForKeyPath("birth.place", "Leeds");
    EXPECT_EQ(birth->year(), 1900);
    EXPECT_EQ(moc->places(), QStringList {"Leeds"});
    EXPECT_EQ(postsNamed("PersonNameOrDateChanged").size(), 1);
    EXPECT_EQ(john->valueForKeyPath("birth.lDate").toLongLong(), Dates::getLongDate(1, 5, 1, 1900));
    EXPECT_EQ(john->valueForKeyPath("birth.name").toString(), "Birth");
    EXPECT_EQ(birth->valueForKey("ownerName").toString(), "John Smith");
    EXPECT_EQ(ManagedObject::fromVariant(birth->valueForKey("owner")), john);
    birth->setValueForKey("ldsStatus", "BIC");
    EXPECT_EQ(birth->ldsStatus(), "BIC");
    // Stored keys still work as stored keys.
    birth->setValueForKey("comments", "c");
    EXPECT_EQ(birth->comments(), "c");
}

TEST_F(FTEventTest, TheActiveSourceIsCitedOnceAndReusedAfterwards)
{
    FTSource* source = moc->insertObject<FTSource>();
    source->setNumericId(7);
    moc->setActiveSource(source);
    moc->setActiveSourcePageRef("p. 12");
    citationSheets.endAtOnce = true;
    QString page = "pSources";
    ModelHooks::shared().personEditorPage = [&] { return page; };

    FTPerson* john = person("John Smith");
    FTEvent* baptism = FTEvent::initInMoc(moc.get(), 303, john, "BAPM");
    ASSERT_EQ(baptism->sourceRels().size(), 1);
    FTSourceRel* citation = baptism->sourceRels().first();
    EXPECT_EQ(citation->source(), source);
    EXPECT_EQ(citation->person(), john);
    EXPECT_EQ(citation->reference(), "p. 12");
    EXPECT_EQ(citation->itemDescribed(), "Baptism");
    EXPECT_FALSE(moc->hasChanges()) << "the new citation is saved";
    EXPECT_EQ(citationSheets.sheets, (QList<std::pair<CitationDialogs::Kind, FTSourceRel*>> {
                                         {CitationDialogs::Kind::Event, citation}}));
    EXPECT_EQ(postsNamed("RefreshAllViews").size(), 1);
    EXPECT_TRUE(messages().isEmpty());

    // Citing again takes the same citation and says so.
    EXPECT_EQ(baptism->addReferenceToSource(source), citation);
    EXPECT_EQ(baptism->sourceRels().size(), 1);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith("The existing Source Reference has been chosen."));

    // Two citations of one source: the first is taken, with a request to amalgamate them.
    auto* second = moc->insertObject<FTSourceRel>();
    second->setSource(source);
    second->setEvent(baptism);
    prompts.clear();
    FTSourceRel* taken = baptism->addReferenceToSource(source);
    EXPECT_TRUE(taken == citation || taken == second);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith("There are 2 references to the Active Source (Source No. 7)"));

    // A couple's event names no person; the sheet's end refreshes only for the sources page (or the events page
    // while missing citations are checked).
    page = "pEvents";
    posted.clear();
    FTEvent* marriage = FTEvent::initInMoc(moc.get(), 302, couple(john, person("Mary Jones", "F")), "MARR");
    EXPECT_EQ(marriage->sourceRels().first()->person(), nullptr);
    EXPECT_TRUE(postsNamed("RefreshAllViews").isEmpty());
    UserDefaults::standard().setBool("cdCheckForMissingCitations", false);
    marriage->addReferenceToSourceDidEnd();
    EXPECT_EQ(postsNamed("RefreshAllViews").size(), 1);
    UserDefaults::standard().removeObject("cdCheckForMissingCitations");

    EXPECT_EQ(baptism->addReferenceToSource(nullptr), nullptr);
    EXPECT_EQ(baptism->sourceReferenceNumbers(), "7, 7");

    // A citation made while an import runs opens no sheet.
    const qsizetype opened = citationSheets.sheets.size();
    moc->setImportThreadIsActive(true);
    EXPECT_TRUE(baptism->addReferenceToSource(moc->insertObject<FTSource>()));
    moc->setImportThreadIsActive(false);
    EXPECT_EQ(citationSheets.sheets.size(), opened);
}

TEST_F(FTEventTest, CitationsMadeWhileMergingDescribeTheCopiedValuesAndOpenNoSheet)
{
    FTSource* source = moc->insertObject<FTSource>();
    FTEvent* e = dated(303, person("John Smith"), "BAPM", "1 Jan 1900");
    e->setPlace("Leeds");
    e->setName("Infant baptism");
    e->setCauseOfEvent("custom");
    EXPECT_EQ(e->attributesBeingMerged(), "Baptism: Causeofevent, Date, Event Name, Place");

    gMergeFromAnotherDatabase = true;
    FTSourceRel* c = e->addReferenceToSource(source);
    gMergeFromAnotherDatabase = false;
    EXPECT_EQ(c->itemDescribed(), "Baptism: Causeofevent, Date, Event Name, Place");
    EXPECT_TRUE(citationSheets.sheets.isEmpty());
}

TEST_F(FTEventTest, CloningCopiesAnOtherPersonalEventThroughItsSetters)
{
    FTPerson* john = person("John Smith");
    FTPerson* tom = person("Tom Smith");
    FTSource* source = moc->insertObject<FTSource>();
    FTEvent* census = dated(303, john, "CENS", "abt 3 Apr 1881");
    census->setName("1881 Census");
    census->setPlace("Leeds");
    census->setNotes("Household of 6");
    census->saveGoogleMapUrl("http://maps.example/?ll=53.8,-1.55");
    auto* cited = moc->insertObject<FTSourceRel>();
    cited->setSource(source);
    cited->setEvent(census);
    cited->setPerson(john);
    cited->setReference("RG11/4512");
    cited->setItemDescribed("Census");
    cited->setNotes("fol. 3");
    auto* uncertain = moc->insertObject<FTSourceRel>();
    uncertain->setSource(source);
    uncertain->setEvent(census);
    uncertain->setCertainty(0);
    moc->setActiveSource(source);
    moc->setActiveSourcePageRef("p. 1");
    moc->undoManager()->closeOpenGroups();
    forgetPostsAndMessages();

    FTEvent* clone = FTEvent::cloneEvent(census, tom);
    ASSERT_TRUE(clone);
    EXPECT_EQ(moc->undoManager()->actionName(), "Clone Event");
    EXPECT_EQ(clone->person(), tom);
    EXPECT_EQ(clone->subtype(), "CENS");
    EXPECT_EQ(clone->stringValue("name"), "1881 Census");
    EXPECT_EQ(clone->date(), "abt 03 Apr 1881");
    EXPECT_EQ(clone->lDate(), census->lDate());
    EXPECT_EQ(clone->place(), "Leeds");
    EXPECT_EQ(clone->notes(), "Household of 6");
    EXPECT_FLOAT_EQ(clone->latitude(), 53.8f);
    EXPECT_EQ(clone->eventType(), census->eventType());
    EXPECT_NE(clone->numericId(), census->numericId());
    EXPECT_GT(clone->numericId(), 0);
    EXPECT_FALSE(postsNamed("EventNameOrDateChanged").isEmpty());
    EXPECT_FALSE(postsNamed("BDMInfoChanged").isEmpty());
    EXPECT_TRUE(clone->sourceRels().isEmpty());

    EXPECT_EQ(clone->cloneSourceRefsfromEvent(census), 2);
    EXPECT_EQ(moc->activeSourcePageRef(), "p. 1") << "a copied page reference is not one the user typed";
    ASSERT_EQ(clone->sourceRels().size(), 2);
    for (FTSourceRel* c : clone->sourceRels()) {
        EXPECT_EQ(c->source(), source);
        EXPECT_EQ(c->person(), tom);
        if (c->reference() == "RG11/4512") {
            EXPECT_EQ(c->itemDescribed(), "Census");
            EXPECT_EQ(c->notes(), "fol. 3");
            EXPECT_TRUE(c->isNil("certainty"));
        } else {
            EXPECT_FALSE(c->isNil("certainty"));
            EXPECT_EQ(c->certainty(), 0);
        }
    }
    EXPECT_EQ(census->sourceRels().size(), 2);

    // Only other personal events are cloned, and only to a person.
    EXPECT_EQ(FTEvent::cloneEvent(dated(300, john, "BIRT", "1850"), tom), nullptr);
    EXPECT_EQ(FTEvent::cloneEvent(census, couple(john, nullptr)), nullptr);
    EXPECT_EQ(FTEvent::cloneEvent(census, nullptr), nullptr);
}

TEST_F(FTEventTest, FullDescriptionListsTheCitationsBySourceNumber)
{
    FTEvent* e = dated(303, person("John Smith"), "BAPM", "1 Jan 1900");
    for (int number : {9, 2}) {
        auto* s = moc->insertObject<FTSource>();
        s->setNumericId(number);
        s->setTitle(QString("Register %1").arg(number));
        auto* c = moc->insertObject<FTSourceRel>();
        c->setSource(s);
        c->setEvent(e);
        c->setReference(QString("p%1").arg(number));
    }
    EXPECT_EQ(e->eventDescription_full(),
              "Person: John Smith\n\nType: BAPM\n\nName: Baptism\n\nDate: 01 Jan 1900\n\nPlace: \n\nNotes: "
              "\n\nSources:\n"
              "\nSource No: 2\nTitle: Register 2\nPage Ref = p2; Topic = ; Notes = \n\n"
              "\nSource No: 9\nTitle: Register 9\nPage Ref = p9; Topic = ; Notes = ");
}

TEST_F(FTEventTest, TheMapOpensOnlyForAPlace)
{
    FTEvent* e = FTEvent::initInMoc(moc.get(), 303, person("John Smith"), "RESI");
    QList<FTEvent*> opened;
    ModelHooks::shared().openMapWindow = [&](FTEvent& event, QObject*, std::function<void()>) { opened << &event; };
    e->findInGoogleMaps();
    EXPECT_EQ(messages(), QStringList {"Please select an Event with a Place name"});
    EXPECT_TRUE(opened.isEmpty());
    e->setPlace("Leeds");
    e->findInGoogleMaps();
    EXPECT_EQ(opened, QList<FTEvent*> {e});

    ModelHooks::shared().openMapWindow = [](FTEvent&, QObject*, std::function<void()>) {
        throw std::runtime_error("no map");
    };
    e->findInGoogleMaps();
    EXPECT_EQ(reported, QStringList {"findInGoogleMaps"});
}

TEST_F(FTEventTest, ExportSetIsOrderedByCitationNumber)
{
    FTEvent* e = FTEvent::initInMoc(moc.get(), 303);
    EXPECT_TRUE(e->sourceRelsArrayFromSourceRelsSet().isEmpty());
    auto* first = moc->insertObject<FTSourceRel>();
    auto* second = moc->insertObject<FTSourceRel>();
    e->addSourceRelToSourceRelsSet(second);
    e->addSourceRelToSourceRelsSet(first);
    e->addSourceRelToSourceRelsSet(second);
    e->addSourceRelToSourceRelsSet(nullptr);
    EXPECT_EQ(e->sourceRelsArrayFromSourceRelsSet(), (QList<FTSourceRel*> {first, second}));
    e->removeGedcomExportIndexes();
    EXPECT_TRUE(e->sourceRelsArrayFromSourceRelsSet().isEmpty());
}
