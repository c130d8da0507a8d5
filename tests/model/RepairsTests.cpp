// The one-time repairs of old data run by the first save, and the clean-ups offered by the integrity checks:
// tidied texts and names, doubled and broken citations, event-type groups, ghosts, isolated people, old date texts
// and record numbers.

#include "PeopleFixture.h"

#include "model/FTEventType.h"
#include "model/FTModelDefaults.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

namespace {
class Repairs : public PeopleFixture {
protected:
    // Writes a value as an older version left it: no cleaning setter, no stamp.
    static void raw(ManagedObject* record, const char* key, const QVariant& value)
    {
        record->setPrimitiveValue(Key(QString::fromLatin1(key)), value);
    }
    FTSourceRel* cite(FTSource* source, FTEvent* event, FTPerson* who, const QString& reference)
    {
        FTSourceRel* c = FTSourceRel::initInMoc(moc.get());
        c->setSource(source);
        c->setEvent(event);
        c->setPerson(who);
        if (!reference.isNull())
            raw(c, "reference", reference);
        return c;
    }
};
}

TEST_F(Repairs, TextsAreTidiedAndNamesLoseTheirLineBreaks)
{
    struct Case {
        const char* stored;
        const char* tidied;
    };
    const Case notes[] = {
        { "Line one\n second line\n", "Line one\nsecond line" },
        { "  padded  ", "padded" },
        { "\n  two blanks", "two blanks" }, // the blank after the break goes, then the ends are trimmed
        { "a\n  b", "a\n b" }, // one blank after a break goes, once
        { "clean", "clean" },
    };
    for (const Case& c : notes) {
        FTPerson* p = person("Ann");
        raw(p, "notes", QString::fromUtf8(c.stored));
        raw(p, "comments", QString::fromUtf8(c.stored));
        FTEvent* e = year(p, "birth", 1900);
        raw(e, "notes", QString::fromUtf8(c.stored));
        FTSource* s = FTSource::initInMoc(moc.get());
        raw(s, "author", QString::fromUtf8(c.stored));
        moc->fixPersonFields();
        moc->fixEventNotes();
        moc->fixSourceFields();
        EXPECT_EQ(s->stringValue(Key("author")), QString::fromUtf8(c.tidied)) << c.stored;
        // People and events are looked at only when a break followed by a blank is in the text.
        const QString expected = QString::fromUtf8(QByteArray(c.stored).contains("\n ") ? c.tidied : c.stored);
        EXPECT_EQ(p->notes(), expected) << c.stored;
        EXPECT_EQ(p->comments(), expected) << c.stored;
        EXPECT_EQ(e->notes(), expected) << c.stored;
    }

    const Case names[] = {
        { "John\nSmith", "John Smith" },
        { "Ann \r\n Lee", "Ann Lee" },
    };
    for (const Case& c : names) {
        FTPerson* p = person("x");
        raw(p, "name", QString::fromUtf8(c.stored));
        EXPECT_EQ(moc->fixPersonNames(), 1);
        EXPECT_EQ(p->name(), QString::fromUtf8(c.tidied));
        EXPECT_EQ(p->familyName(), QString::fromUtf8(c.tidied).section(' ', -1)) << "the name's parts follow";
    }
}

TEST_F(Repairs, TheFirstSaveOfAnOldDatabaseRunsTheRepairsThroughItsFlags)
{
    const QString path = moc->databaseURL();
    FTPerson* p = person("x");
    raw(p, "name", QStringLiteral("Jane\nDoe"));
    raw(p, "familyName", QString());
    FTPicture* picture = moc->insertObject<FTPicture>();
    raw(picture, "filename", QStringLiteral("/Users/al/kinloomforvovovdata/Pictures/a.jpg"));
    raw(picture, "originalFilename", QStringLiteral("/old/KinloomForVovovData/b.jpg"));
    FTSourceRel* sourceless = FTSourceRel::initInMoc(moc.get());
    sourceless->setPerson(p);
    moc->setMetadata({ { "MomKey", "DOvurV6" } });
    ASSERT_TRUE(moc->save());
    moc.reset();

    moc = reopen(path);
    moc->undoManager()->closeOpenGroups();
    person("Trigger");
    ASSERT_TRUE(moc->saveMoc());
    p = moc->fetchFirst<FTPerson>([](const FTPerson* q) { return q->numericId() == 1; });
    ASSERT_TRUE(p);
    EXPECT_EQ(p->name(), "Jane Doe");
    EXPECT_EQ(p->familyName(), "Doe");
    picture = moc->fetchFirst<FTPicture>();
    EXPECT_EQ(picture->stringValue(Key("filename")), "/Users/al/KinloomData/Pictures/a.jpg");
    EXPECT_EQ(picture->stringValue(Key("originalFilename")), "/old/KinloomData/b.jpg");
    EXPECT_EQ(moc->count<FTSourceRel>(), 0);
    const QVariantMap stored = ObjectContext::metadataForStoreAt(path);
    EXPECT_EQ(stored.value("PersonNamesFixed"), true);
    EXPECT_EQ(stored.value("RedundantSourceRelsRemoved"), true);
}

TEST_F(Repairs, CitationsOfNoSourceGoAndCitedPersonalEventsNameTheirPerson)
{
    FTSource* source = FTSource::initInMoc(moc.get());
    FTPerson* p = person("Bea Cox", F());
    FTEvent* birth = year(p, "birth", 1900);
    FTPerson* q = person("Cal Cox", M());
    FTEvent* marriage = year(couple(p, q), "marriage", 1920);
    FTSourceRel* ofBirth = cite(source, birth, nullptr, {});
    FTSourceRel* ofMarriage = cite(source, marriage, nullptr, {});
    FTSourceRel* ofNothing = cite(nullptr, nullptr, p, {});
    moc->removeRedundantSourceRels();
    EXPECT_TRUE(ofNothing->isDeleted());
    EXPECT_EQ(ofBirth->person(), p);
    EXPECT_EQ(ofMarriage->person(), nullptr);
}

TEST_F(Repairs, DoubledCitationsOfAMarriageWithAPersonAreMergedIntoOne)
{
    FTSource* source = FTSource::initInMoc(moc.get());
    FTPerson* p = person("Dee Fry", F());
    FTPerson* q = person("Ed Fry", M());
    FTEvent* marriage = year(couple(p, q), "marriage", 1920);
    FTSourceRel* first = cite(source, marriage, p, "p. 4");
    FTSourceRel* second = cite(source, marriage, q, "p. 4");
    FTSourceRel* otherPage = cite(source, marriage, q, "p. 5");

    // Two couples' events sharing a number (as an unnumbered import leaves them) are not one event.
    FTEvent* wedding1 = year(couple(person("F1"), person("F2")), "marriage", 1930);
    FTEvent* wedding2 = year(couple(person("G1"), person("G2")), "marriage", 1931);
    wedding1->setNumericId(0);
    wedding2->setNumericId(0);
    FTSourceRel* a = cite(source, wedding1, wedding1->spouseRel()->partners().first(), {});
    FTSourceRel* b = cite(source, wedding2, wedding2->spouseRel()->partners().first(), {});

    EXPECT_EQ(moc->validateSourceRels(), 5);
    EXPECT_TRUE(first->isDeleted());
    EXPECT_FALSE(second->isDeleted());
    EXPECT_EQ(second->event(), marriage);
    EXPECT_EQ(second->person(), nullptr);
    EXPECT_EQ(second->flagBits(), 1u);
    EXPECT_EQ(otherPage->person(), q);
    EXPECT_FALSE(a->isDeleted());
    EXPECT_FALSE(b->isDeleted());
    EXPECT_NE(a->person(), nullptr);
}

TEST_F(Repairs, OldEventTypeGroupsAndNamesAreRenewedFromTheVocabulary)
{
    FTEventType* baptism = moc->eventTypeForEventGedcomCode("BAPM");
    FTEventType* census = moc->eventTypeForEventGedcomCode("CENS");
    ASSERT_TRUE(baptism && census);
    raw(baptism, "group", QStringLiteral("OtherPersonalEvents"));
    raw(census, "name", QStringLiteral("Old Census"));
    FTEventType* unknown = FTEventType::initInMoc(moc.get());
    unknown->setGedcomCode("_ZZZ");
    unknown->setGroup("OtherPersonalEvents");
    EXPECT_EQ(moc->fixEventTypeGroupNames(), 2);
    EXPECT_EQ(baptism->group(), "Other Personal Events");
    EXPECT_TRUE(unknown->group().isNull());
    EXPECT_EQ(moc->fixEventTypeNames(), 1);
    EXPECT_EQ(census->name(), "Census");
}

TEST_F(Repairs, GhostsAreNamelessPeopleRelatedToNobody)
{
    QList<FTPerson*> nameless;
    for (int i = 0; i < 10; ++i) {
        FTPerson* p = person("x");
        raw(p, "name", QString());
        nameless << p;
    }
    FTPerson* named = person("Flo Gray", F());
    // Seven of the ten are related to someone.
    link(named, nameless[0]);
    link(nameless[1], named);
    couple(nameless[2], named);
    link(nameless[3], nameless[4]);
    couple(nameless[5], nameless[6]);

    EXPECT_EQ(moc->removeGhosts(nullptr, true), 3);
    EXPECT_EQ(messages(),
        QStringList { "Removed 3 ghosts.\n\n(A ghost has no name, no parents, no children and no spouse.)" });
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(nameless[i]->isDeleted(), i >= 7) << i;
    EXPECT_FALSE(named->isDeleted());
    prompts.clear();
    EXPECT_EQ(moc->removeGhosts(nullptr, true), 0);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Repairs, IsolatedPeopleAreRemovedButNeverTheFocalPerson)
{
    FTPerson* focal = person("Gail Hunt", F());
    moc->setFocalPerson(focal);
    FTPerson* alone = person("Hugh Hunt", M());
    year(alone, "birth", 1901);
    FTPerson* dad = person("Ian Hunt", M());
    FTPerson* kid = person("Jo Hunt", F());
    link(dad, kid);

    QString report;
    EXPECT_EQ(moc->removeIsolatedPeople(&report, true), 1);
    EXPECT_FALSE(focal->isDeleted());
    EXPECT_TRUE(alone->isDeleted());
    EXPECT_FALSE(dad->isDeleted() || kid->isDeleted());
    EXPECT_EQ(messages(), (QStringList { "Deleted Hugh Hunt", "Removed 1 isolated people from the database" }));
    EXPECT_EQ(report, QStringLiteral("\nHugh Hunt (1901 - ) with ID = %1 was not related to anyone else and has been "
                                     "removed from the database")
                          .arg(alone->numericId()));
}

TEST_F(Repairs, DateTextsOfYearsBelowAThousandAreWrittenInFull)
{
    FTPerson* p = person("Kay Law", F());
    FTEvent* early = year(p, "birth", 45);
    raw(early, "date", QStringLiteral("5/3/45"));
    raw(early, "day", 5);
    raw(early, "month", 3);
    FTEvent* standard = year(p, "death", 999);
    const QString standardText = standard->date();
    FTEvent* late = year(person("Lu"), "birth", 1000);
    raw(late, "date", QStringLiteral("1000 AD"));
    moc->undoManager()->closeOpenGroups();
    const int undoable = moc->undoManager()->undoCount();
    const QDateTime stamp = early->lastChange();

    EXPECT_EQ(moc->cleanDateFormats(), 1);
    EXPECT_EQ(early->date(), "05 Mar 0045");
    EXPECT_EQ(standard->date(), standardText);
    EXPECT_EQ(late->date(), "1000 AD");
    moc->undoManager()->closeOpenGroups();
    EXPECT_EQ(moc->undoManager()->undoCount(), undoable) << "no undo";
    EXPECT_EQ(early->lastChange(), stamp) << "no stamp";
    EXPECT_TRUE(early->hasChanges()) << "saved with the next save";
}

TEST_F(Repairs, MissingAndSharedNumbersAreRenumberedAboveTheCounter)
{
    QList<FTPerson*> people;
    for (int n : { 0, 0, 5, 5, 9 }) {
        FTPerson* p = person("p");
        raw(p, "numericId", n);
        people << p;
    }
    moc->modelDefaults()->setMaxPersonId(7);
    EXPECT_EQ(moc->validateNumericIds(true), 3);
    QList<int> numbers;
    for (const FTPerson* p : people)
        numbers << p->numericId();
    EXPECT_EQ(numbers, (QList<int> { 10, 11, 5, 12, 9 }));
    EXPECT_EQ(moc->modelDefaults()->maxPersonId(), 12);
    EXPECT_FALSE(moc->hasChanges()) << "saved";

    // The next person takes the next number; nothing more to do.
    EXPECT_EQ(person("q")->numericId(), 13);
    EXPECT_EQ(moc->validateNumericIds(false), 0);
}

TEST_F(Repairs, EveryNumberedEntityIsRenumbered)
{
    FTSource* s1 = FTSource::initInMoc(moc.get());
    FTSource* s2 = FTSource::initInMoc(moc.get());
    raw(s2, "numericId", s1->numericId());
    FTSpouseRel* c1 = couple(person("a"), person("b"));
    raw(c1, "numericId", 0);
    FTEvent* e = year(person("c"), "birth", 1900);
    raw(e, "numericId", 0);
    moc->modelDefaults()->setMaxSourceId(40);
    EXPECT_EQ(moc->validateNumericIdsFor("Source", "modelDefaults.maxSourceId"), 1);
    EXPECT_EQ(s2->numericId(), 41);
    EXPECT_EQ(moc->validateNumericIds(false), 2);
    EXPECT_GT(c1->numericId(), 0);
    EXPECT_GT(e->numericId(), 0);
}
