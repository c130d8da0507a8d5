#include "RelativesTestSupport.h"

#include "model/EventInfo.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

// The rows of a person's events list: which events of relatives are shown, in what order, and with what text.

namespace {
class EventRowsFixture : public PeopleFixture {
protected:
    static FTEvent* on(FTEvent* e, int day, int month, int year)
    {
        e->setYear(year);
        e->setMonth(month);
        e->setDay(day);
        e->setDate(Dates::dateStringFor(0, day, month, year));
        return e;
    }
    FTEvent* other(FTManagedObject* owner, int type, const QString& subtype, const QString& name)
    {
        FTEvent* e = FTEvent::initInMoc(moc.get(), type, owner, subtype);
        if (!name.isEmpty())
            e->setName(name);
        return e;
    }
    static QStringList texts(const std::vector<std::unique_ptr<EventInfo>>& rows)
    {
        QStringList out;
        for (const auto& row : rows)
            out << row->eventName();
        return out;
    }
    FTSource* source(int number)
    {
        FTSource* s = moc->insertObject<FTSource>();
        s->setNumericId(number);
        s->setTitle(QStringLiteral("Register %1").arg(number));
        return s;
    }
    void cite(FTEvent* e, FTSource* s)
    {
        FTSourceRel* c = moc->insertObject<FTSourceRel>();
        c->setSource(s);
        c->setEvent(e);
    }
};
}

TEST_F(EventRowsFixture, RowsOfOwnAndRelativesEventsInDateOrder)
{
    FTPerson* tom = person("Tom Smith", M());
    date(tom, "birth", 10, 1, 1900);
    date(tom, "death", 1, 5, 1970);
    on(other(tom, FTEvent::OtherPersonalEvent, "BAPM", ""), 1, 2, 1900);
    other(tom, FTEvent::OtherPersonalEvent, "OCCU", "Farmer"); // empty, listed all the same
    on(other(tom, FTEvent::OtherPersonalEvent, "RESI", "Moved to Leeds"), 1, 6, 1925);

    FTPerson* wife = person("Wendy Brown", F());
    date(wife, "birth", 1, 1, 1902);
    date(wife, "death", 1, 3, 1960);
    FTSpouseRel* marriage = couple(tom, wife);
    date(marriage, "marriage", 1, 6, 1925);
    on(other(marriage, FTEvent::OtherMarriageEvent, "ENGA", "Engagement"), 1, 1, 1925);
    on(other(marriage, FTEvent::OtherMarriageEvent, "SLGS", "Sealing"), 1, 1, 1990); // after his death: LDS

    FTPerson* father = person("Frank Smith", M());
    FTPerson* mother = person("Mary Smith", F());
    date(father, "birth", 1, 1, 1850);
    date(father, "death", 1, 6, 1925);
    date(mother, "death", 1, 1, 1975); // after his death
    link(father, tom);
    link(mother, tom);

    FTPerson* ann = person("Ann Smith", F());
    FTPerson* dora = person("Dora Smith", F());
    FTPerson* xav = person("Xav Jones", M());
    FTPerson* late = person("Leo Smith", M());
    date(ann, "birth", 1, 6, 1925);
    date(dora, "birth", 1, 1, 1930);
    date(xav, "birth", 1, 1, 1928);
    date(xav, "death", 1, 2, 1950);
    date(late, "birth", 1, 1, 1940);
    date(late, "death", 1, 1, 1980); // after his death
    person("Undated Smith", M())->setValueForKeyPath("birth.notes", "born at sea");
    link(tom, ann);
    link(wife, ann);
    link(tom, dora, FTPcRel::kAdopted);
    link(tom, xav, FTPcRel::kStep);
    link(tom, late);

    const auto rows = tom->createEventInfoArray(true);
    EXPECT_EQ(texts(rows),
        (QStringList {
            "Farmer", // undated: first
            "Tom Smith was born", //
            "Baptism", //
            "Engagement (Wendy Brown)", //
            // One day, four events: birth, marriage, death, other.
            "Birth of daughter Ann Smith", "Married Wendy Brown (aged 23)", "Death of father Frank Smith (aged 75)",
            "Moved to Leeds", //
            "Birth of adopted daughter Dora Smith", //
            "Birth of son Leo Smith", //
            "Death of step son Xav Jones (aged 22)", //
            "Death of wife Wendy Brown (aged 58)", //
            "Tom Smith died", //
            "Sealing (Wendy Brown)", //
        }));
    for (const auto& row : rows)
        EXPECT_EQ(row->selectedPerson(), tom);
    EXPECT_EQ(rows[5]->relationship(), EventInfo::Spouse);
    EXPECT_EQ(rows[5]->owner(), wife);
    EXPECT_EQ(rows[5]->seqNo(), 1);
    EXPECT_EQ(rows[5]->selectedPersonsAgeAtEvent(), 25);
    EXPECT_EQ(rows[8]->pcRelType(), FTPcRel::kAdopted);
    EXPECT_EQ(rows[4]->eventType(), "BIRT");

    // Without children and parents: own events and the couple's.
    EXPECT_EQ(texts(tom->createEventInfoArray(false)),
        (QStringList { "Farmer", "Tom Smith was born", "Baptism", "Engagement (Wendy Brown)",
            "Married Wendy Brown (aged 23)", "Moved to Leeds", "Death of wife Wendy Brown (aged 58)", "Tom Smith died",
            "Sealing (Wendy Brown)" }));

    // Without a death date every relative's event is listed; an empty birth or death gives no own row.
    tom->death()->setDate("");
    tom->birth()->setDate("");
    const QStringList all = texts(tom->createEventInfoArray(true));
    EXPECT_TRUE(all.contains("Death of mother Mary Smith"));
    EXPECT_TRUE(all.contains("Death of son Leo Smith (aged 40)"));
    EXPECT_FALSE(all.contains("Tom Smith was born"));
    EXPECT_FALSE(all.join("|").contains("Tom Smith died"));
    // A death known only by its place has no date to show.
    tom->death()->setPlace("Leeds");
    EXPECT_TRUE(texts(tom->createEventInfoArray(false)).contains("Tom Smith died (no date)"));
}

TEST_F(EventRowsFixture, PlaceholderEditingAndTypesOfRows)
{
    FTPerson* tom = person("Tom Smith", M());
    EventInfo placeholder(nullptr, tom, EventInfo::Own, 0);
    EXPECT_EQ(placeholder.eventName(), "(No death date for Tom Smith)");

    FTEvent* birth = date(tom, "birth", 1, 1, 1900);
    FTEvent* job = other(tom, FTEvent::OtherPersonalEvent, "OCCU", "Farmer");
    EventInfo birthRow(birth, tom, EventInfo::Own, 0);
    EventInfo jobRow(job, tom, EventInfo::Own, 0);
    birthRow.setEditingMode(true);
    jobRow.setEditingMode(true);
    EXPECT_EQ(birthRow.eventName(), "Tom Smith");
    EXPECT_EQ(jobRow.eventName(), "Farmer");
    job->setSubtype("");
    EXPECT_EQ(jobRow.eventType(), "Other Personal Event");
}

TEST_F(EventRowsFixture, RenamingARowRenamesThePersonOrTheEvent)
{
    FTPerson* tom = person("Tom Smith", M());
    FTPerson* ann = person("Ann Smith", F());
    link(tom, ann);
    date(ann, "birth", 1, 1, 1930);
    FTEvent* job = on(other(tom, FTEvent::OtherPersonalEvent, "OCCU", "Farmer"), 1, 1, 1920);
    const auto rows = tom->createEventInfoArray(true);
    ASSERT_EQ(texts(rows), (QStringList { "Farmer", "Birth of daughter Ann Smith" }));

    rows[1]->setEventName("Ann   Mary  Smith");
    EXPECT_EQ(ann->name(), "Ann Mary Smith");
    rows[0]->setEventName("Blacksmith");
    EXPECT_EQ(job->name(), "Blacksmith");
    EXPECT_EQ(tom->name(), "Tom Smith");

    for (const char* blank : { "", " ", "    " }) {
        prompts.records.clear();
        rows[1]->setEventName(blank);
        EXPECT_EQ(messages(), QStringList { "The name cannot be blank." });
        EXPECT_EQ(ann->name(), "Ann Mary Smith");
    }
}

TEST_F(EventRowsFixture, SourceNumbersFollowTheEventsCitations)
{
    FTPerson* tom = person("Tom Smith", M());
    FTEvent* birth = date(tom, "birth", 1, 1, 1900);
    FTSource* s3 = source(3);
    FTSource* s12 = source(12);
    cite(birth, s12);
    cite(birth, s3);
    cite(birth, s3);
    auto row = std::make_unique<EventInfo>(birth, tom, EventInfo::Own, 0);
    EXPECT_EQ(row->sourceNumbers(), "3, 12");
    cite(birth, source(7));
    EXPECT_EQ(row->sourceNumbers(), "3, 7, 12");
    birth->sourceRels().first()->setSource(source(1)); // the citation of 12 now cites 1
    EXPECT_EQ(row->sourceNumbers(), "1, 3, 7");
    row.reset();
    cite(birth, source(20)); // no row observes any more
}
