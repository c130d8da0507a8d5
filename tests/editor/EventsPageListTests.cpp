// The events page's list: which of the person's and the relatives' events it shows, and in which order.
#include "../model/PeopleFixture.h"

#include "editor/EventsPageList.h"

#include "model/EventInfo.h"

#include <gmock/gmock.h>

using ::testing::ElementsAreArray;

namespace {

class EventsPageListTest : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        // John's birth is known to have happened and nothing else; he died in 1950.
        john = person("John Smith", M());
        FTEvent::initInMoc(moc.get(), FTEvent::BirthEvent, john, "BIRT");
        year(john, "death", 1950);
        for (const char* tag : {"RESI", "CENS", "OCCU"})
            dated(FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, john, tag), 1920);

        mary = person("Mary Brown", F());
        FTSpouseRel* couple = john->addSpouseRel(mary);
        year(couple, "marriage", 1924);
        dated(FTEvent::initInMoc(moc.get(), FTEvent::OtherMarriageEvent, couple, "DIV"), 1960);

        FTPerson* father = person("Adam Smith", M());
        father->attachChild(john, FTPcRel::kNatural, false, nullptr);
        year(father, "birth", 1870);
        year(father, "death", 1930);

        // Ann died after her father; Bob was born after him and sealed to his parents later still.
        FTPerson* ann = child("Ann Smith", 1925, 1960);
        FTPerson* bob = child("Bob Smith", 1955, 0);
        dated(FTEvent::initInMoc(moc.get(), FTEvent::DeathEvent, bob, "SLGC"), 1970);
        FTPerson* carl = child("Carl Smith", 1956, 0);
        dated(FTEvent::initInMoc(moc.get(), FTEvent::DeathEvent, carl, "SLGCX"), 1971);
        Q_UNUSED(ann);
        // A step-son: only his dated death is offered.
        FTPerson* tom = person("Tom Green", M());
        john->attachChild(tom, FTPcRel::kStep, false, nullptr);
        year(tom, "birth", 1930);
        year(tom, "death", 1940);
    }

    FTPerson* child(const QString& name, int born, int died)
    {
        FTPerson* c = person(name);
        john->attachChild(c, FTPcRel::kNatural, false, nullptr);
        mary->attachChild(c, FTPcRel::kNatural, false, nullptr);
        year(c, "birth", born);
        if (died)
            year(c, "death", died);
        return c;
    }
    static void dated(FTEvent* e, int y) { e->setDate(QString::number(y)); }

    // Each row as "<owner>: <tag>", the placeholder as its text.
    QStringList rows(FTPerson* p, bool includeRelated = true, bool showStepRels = true)
    {
        EventsPageList list;
        list.setSelectedPerson(p);
        list.showStepRels = showStepRels;
        QStringList out;
        for (const auto& row : list.createEventInfoArray(includeRelated)) {
            EXPECT_EQ(row->selectedPerson(), p);
            out << (row->pEvent() ? row->owner()->name() + ": " + row->pEvent()->subtype() : row->placeHolderName());
        }
        return out;
    }

    FTPerson* john = nullptr;
    FTPerson* mary = nullptr;
};

TEST_F(EventsPageListTest, OwnAndRelatedEventsByDateTypeAndTag)
{
    const QString noDeath = "(" + LocalizedString("NoDeathDate") + " Mary Brown)";
    struct Case {
        const char* what;
        FTPerson* person;
        bool includeRelated;
        bool showStepRels;
        QStringList expected;
    };
    const QList<Case> cases = {
        {"John: empty birth first, same-year events by tag, a child's later death left out but the birth and an "
         "LDS ordinance kept, a five-letter tag filtered as a death, the divorce after his death kept",
         john, true, true,
         {"John Smith: BIRT", "John Smith: CENS", "John Smith: OCCU", "John Smith: RESI", "Mary Brown: MARR",
          "Ann Smith: BIRT", "Adam Smith: DEAT", "Tom Green: DEAT", "John Smith: DEAT", "Bob Smith: BIRT",
          "Carl Smith: BIRT", "Mary Brown: DIV", "Bob Smith: SLGC"}},
        {"John without step relatives", john, true, false,
         {"John Smith: BIRT", "John Smith: CENS", "John Smith: OCCU", "John Smith: RESI", "Mary Brown: MARR",
          "Ann Smith: BIRT", "Adam Smith: DEAT", "John Smith: DEAT", "Bob Smith: BIRT", "Carl Smith: BIRT",
          "Mary Brown: DIV", "Bob Smith: SLGC"}},
        {"John without related events: the couple's events stay", john, false, true,
         {"John Smith: BIRT", "John Smith: CENS", "John Smith: OCCU", "John Smith: RESI", "Mary Brown: MARR",
          "John Smith: DEAT", "Mary Brown: DIV"}},
        {"Mary has no death: nothing is cut by date and the placeholder comes last", mary, false, true,
         {"John Smith: MARR", "John Smith: DEAT", "John Smith: DIV", noDeath}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THAT(rows(c.person, c.includeRelated, c.showStepRels), ElementsAreArray(c.expected));
    }

    // An empty death event is a death event: no placeholder, and its row is kept.
    FTEvent::initInMoc(moc.get(), FTEvent::DeathEvent, mary, "DEAT");
    EXPECT_THAT(rows(mary, false),
                ElementsAreArray({"John Smith: MARR", "John Smith: DEAT", "John Smith: DIV", "Mary Brown: DEAT"}));
}

TEST_F(EventsPageListTest, TheBuildKeepsThePersonsBirthAndDeathKeys)
{
    EventsPageList list;
    list.setSelectedPerson(john);
    list.createEventInfoArray(true);
    EXPECT_EQ(list.selObjBirth, john->birth());
    EXPECT_EQ(list.lBirthDate, 0u);
    EXPECT_EQ(list.lDeathDate, john->death()->lDate());
    EXPECT_NE(list.lDeathDate, 0u);

    // The user default decides about relatives' events; a build without a person is empty.
    defaults().setBool("includeRelatedEvents", false);
    EXPECT_EQ(list.createEventInfoArray().size(), 7u);
    list.setSelectedPerson(nullptr);
    EXPECT_TRUE(list.createEventInfoArray().empty());
    EXPECT_EQ(list.selObjBirth, nullptr);
}

}
