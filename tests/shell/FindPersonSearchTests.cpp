// The find-person search: its kinds and their titles, what each kind finds and in which order, the rows of the
// result list with their texts, sorting by a column, and rows whose person has gone.
#include "shell/FindPersonSearch.h"

#include "shell/SystemFlags.h"

#include "../model/PeopleFixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// A small family: Queen Victoria, Albert and their daughter, a few unrelated people whose notes and names test
// the word rules, and fillers so that numbers reach two digits.
class FindPersonSearchTest : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        UndoManager* undo = moc->undoManager();
        undo->disableUndoRegistration();
        victoria = person("Alexandrina Victoria", F()); // 1
        victoria->setTitle("Queen of the United Kingdom");
        victoria->setUserId("QV-1");
        victoria->setCauseOfDeath("Cerebral haemorrhage");
        victoria->setValueForKeyPath("birth.place", "Kensington Palace, London");
        victoria->setValueForKeyPath("death.place", "Osborne House, Isle of Wight");
        date(victoria, "birth", 24, 5, 1819);
        date(victoria, "death", 22, 1, 1901);
        victoria->setValueForKeyPath("birth.notes", "Baptised privately at home");

        albert = person("Albert Saxe-Coburg", M()); // 2
        albert->setCauseOfDeath("Typhoid fever");
        albert->setNotes("Prince Consort\ncourtier");
        albert->setValueForKeyPath("birth.place", "Schloss Rosenau, Coburg");
        albert->setValueForKeyPath("death.place", "Windsor Castle");
        date(albert, "birth", 26, 8, 1819);
        date(albert, "death", 14, 12, 1861);
        FTSpouseRel* marriage = couple(victoria, albert);
        date(marriage, "marriage", 10, 2, 1840);
        marriage->setValueForKeyPath("marriage.notes", "At the Chapel Royal, St James's Palace");

        daughter = person("Victoria Adelaide", F()); // 3
        daughter->setValueForKeyPath("birth.place", "Buckingham Palace, London");
        date(daughter, "birth", 21, 11, 1840);
        daughter->setNotes("Empress\u00a0court");
        link(victoria, daughter);
        link(albert, daughter);

        john = person("John Smith", M()); // 4
        john->setNotes("went to court in 1880");
        date(john, "birth", 1, 1, 1850);
        joAnn = person("Jo-Ann Smith", F()); // 5
        joAnn->setNotes("Escort duty");
        joAnn->setComments("line one\ncourtly manners");
        bjorn = person("Bjorn Asmith", M()); // 6
        bjorn->setNotes("a_court");
        bjorn->setValueForKeyPath("birth.place", "Oslo"); // a birth without a date
        zoe = person("Zoë Court", F()); // 7
        zoe->setNotes("COURTING the press");
        for (int i = 8; i <= 11; ++i)
            fillers << person(QStringLiteral("Filler %1").arg(i));
        undo->enableUndoRegistration();
        FindPersonSearch::setCurrentSearchMenuOption(FindPersonSearch::kindTitle(FindPersonSearch::NamesTitles));
    }

    FindPersonSearch search { nullptr };
    FTPerson *victoria, *albert, *daughter, *john, *joAnn, *bjorn, *zoe;
    QList<FTPerson*> fillers;
};

TEST(FindPersonSearchKinds, MenuOrderKeysAndTitles)
{
    TestSupport::useFreshDefaults();
    struct Case {
        FindPersonSearch::Kind kind;
        const char* key;
        const char* title;
    } cases[] = {
        { FindPersonSearch::Names, "TbSearchNames", "Names" },
        { FindPersonSearch::NamesTitles, "TbSearchNamesTitles", "Names and Titles" },
        { FindPersonSearch::Notes, "TbSearchNotes", "Notes" },
        { FindPersonSearch::Comments, "TbSearchComments", "Comments" },
        { FindPersonSearch::BirthPlace, "TbSearchBirthPlace", "Place of Birth" },
        { FindPersonSearch::DeathPlace, "TbSearchDeathPlace", "Place of Death" },
        { FindPersonSearch::BirthYear, "TbSearchBirthYear", "Year of Birth" },
        { FindPersonSearch::DeathYear, "TbSearchDeathYear", "Year of Death" },
        { FindPersonSearch::CauseOfDeath, "TbSearchCauseOfDeath", "Cause of Death" },
        { FindPersonSearch::MarriageYear, "TbSearchMarriageYear", "Year of Marriage" },
        { FindPersonSearch::MarriageNotes, "TbSearchMarriageNotes", "Marriage Notes" },
        { FindPersonSearch::PersonalEventNotes, "TbSearchPersonalEventNotes", "Personal Event Notes" },
        { FindPersonSearch::NumericId, "TbSearchNumericId", "ID Number" },
        { FindPersonSearch::ReferenceNo, "TbSearchReferenceNo", "Reference Number" },
        { FindPersonSearch::UnconnectedPeople, "TbSearchUnconnectedPeople", "Unconnected People" },
    };
    ASSERT_EQ(std::size(cases), size_t(FindPersonSearch::kKindCount));
    for (int i = 0; i < FindPersonSearch::kKindCount; ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(int(c.kind), i) << c.key;
        EXPECT_EQ(FindPersonSearch::kindKey(c.kind), c.key);
        EXPECT_EQ(FindPersonSearch::kindTitle(c.kind), c.title);
        EXPECT_EQ(FindPersonSearch::kindForTitle(c.title), c.kind);
    }
    // The option is kept as the title, not the key: a key or an unknown title names no kind.
    EXPECT_EQ(FindPersonSearch::kindForTitle("TbSearchNames"), FindPersonSearch::NoKind);
    EXPECT_EQ(FindPersonSearch::kindTitle(FindPersonSearch::NoKind), "");

    // Absent, the option becomes names and titles, and stays stored.
    EXPECT_FALSE(UserDefaults::standard().contains("currentSearchMenuOption"));
    EXPECT_EQ(FindPersonSearch::currentKind(), FindPersonSearch::NamesTitles);
    EXPECT_EQ(UserDefaults::standard().stringForKey("currentSearchMenuOption"), "Names and Titles");
    EXPECT_EQ(FindPersonSearch::findInLabel(), "Find in Names and Titles");
    EXPECT_EQ(FindPersonSearch::foundInTitle(), "Found in Names and Titles");
    FindPersonSearch::setCurrentSearchMenuOption("Year of Birth");
    EXPECT_EQ(FindPersonSearch::currentKind(), FindPersonSearch::BirthYear);
    EXPECT_EQ(FindPersonSearch::findInLabel(), "Find in Year of Birth");
}

TEST_F(FindPersonSearchTest, EachKindFindsItsPeopleInItsOrder)
{
    search.setMoc(moc.get());
    using K = FindPersonSearch;
    struct Case {
        FindPersonSearch::Kind kind;
        QString text;
        QStringList expected; // in this order
    } cases[] = {
        // A word matches at the start of the name or of one of its words, never inside a word.
        { K::Names, "jo sm", { "Jo-Ann Smith", "John Smith" } },
        { K::Names, "jo  sm", { "Jo-Ann Smith", "John Smith" } },
        { K::Names, "smith", { "Jo-Ann Smith", "John Smith" } },
        { K::Names, "zoe", { "Zoë Court" } },
        { K::Names, "queen", {} },
        { K::NamesTitles, "queen", { "Alexandrina Victoria" } },
        { K::NamesTitles, "victoria", { "Alexandrina Victoria", "Victoria Adelaide" } },
        // Notes: at the start, after a blank, an underscore, a no-break space or a line end; any case.
        { K::Notes, "court", { "Albert Saxe-Coburg", "Bjorn Asmith", "John Smith", "Victoria Adelaide", "Zoë Court" } },
        { K::Notes, "escort", { "Jo-Ann Smith" } },
        { K::Notes, "scort", {} },
        { K::Comments, "courtly", { "Jo-Ann Smith" } },
        { K::BirthPlace, "london", { "Alexandrina Victoria", "Victoria Adelaide" } },
        { K::BirthPlace, "palace london", { "Alexandrina Victoria", "Victoria Adelaide" } },
        { K::BirthPlace, "ensington", {} },
        { K::BirthPlace, "windsor", {} },
        { K::DeathPlace, "windsor", { "Albert Saxe-Coburg" } },
        { K::BirthYear, "18", { "Albert Saxe-Coburg", "Alexandrina Victoria", "John Smith", "Victoria Adelaide" } },
        { K::BirthYear, "1819", { "Albert Saxe-Coburg", "Alexandrina Victoria" } },
        // An undated birth has no year to find.
        { K::BirthYear, "0", {} },
        { K::DeathYear, "19", { "Alexandrina Victoria" } },
        { K::CauseOfDeath, "typh", { "Albert Saxe-Coburg" } },
        { K::CauseOfDeath, "haem", { "Alexandrina Victoria" } },
        { K::MarriageYear, "184", { "Alexandrina Victoria", "Albert Saxe-Coburg" } },
        { K::MarriageYear, " 1840 ", { "Alexandrina Victoria", "Albert Saxe-Coburg" } },
        { K::MarriageYear, "1841", {} },
        { K::MarriageNotes, "chapel royal", { "Alexandrina Victoria", "Albert Saxe-Coburg" } },
        { K::MarriageNotes, "hapel", {} },
        { K::PersonalEventNotes, "home", { "Alexandrina Victoria" } },
        // Numbers in numeric order, not as text.
        { K::NumericId, "1", { "Alexandrina Victoria", "Filler 10", "Filler 11" } },
        { K::ReferenceNo, "qv", { "Alexandrina Victoria" } },
        // The typed text does not matter to the unconnected people.
        { K::UnconnectedPeople, "whatever",
            { "John Smith", "Jo-Ann Smith", "Bjorn Asmith", "Zoë Court", "Filler 8", "Filler 9", "Filler 10",
                "Filler 11" } },
        { K::NoKind, "victoria", {} },
    };
    for (const Case& c : cases)
        EXPECT_EQ(names(search.searchFor(c.text, c.kind)), c.expected)
            << FindPersonSearch::kindKey(c.kind).toStdString() << " \"" << c.text.toStdString() << "\"";

    // The two name kinds set whether titles count for the other name searches too.
    search.searchFor("x", K::Names);
    EXPECT_FALSE(UserDefaults::standard().boolForKey("includeTitlesInSearch"));
    search.searchFor("x", K::NamesTitles);
    EXPECT_TRUE(UserDefaults::standard().boolForKey("includeTitlesInSearch"));
}

TEST_F(FindPersonSearchTest, EmptyAndBlankTexts)
{
    search.setMoc(moc.get());
    const int everyone = 11;
    for (int k = 0; k < FindPersonSearch::kKindCount; ++k) {
        const auto kind = FindPersonSearch::Kind(k);
        const QList<FTPerson*> found = search.searchFor("", kind);
        if (kind == FindPersonSearch::UnconnectedPeople)
            EXPECT_EQ(found.size(), 8);
        else
            EXPECT_THAT(found, IsEmpty()) << FindPersonSearch::kindKey(kind).toStdString();
    }
    // Blanks only are no word: every candidate of the kind.
    EXPECT_EQ(search.searchFor("  ", FindPersonSearch::Names).size(), everyone);
    EXPECT_EQ(search.searchFor("  ", FindPersonSearch::Notes).size(), everyone);
    EXPECT_EQ(search.searchFor(" ", FindPersonSearch::BirthPlace).size(), 5);
    EXPECT_EQ(search.searchFor(" ", FindPersonSearch::MarriageYear).size(), 2);
}

TEST_F(FindPersonSearchTest, RowsTheirTextsAndTheMessageWhenNothingIsFound)
{
    search.setMoc(moc.get());
    struct Case {
        FindPersonSearch::Kind kind;
        QString text;
        QString firstName; // the name column of the first row
    } cases[] = {
        { FindPersonSearch::Names, "alexandrina", "Alexandrina Victoria (1819 - 1901) + Albert" },
        { FindPersonSearch::NamesTitles, "alexandrina",
            "Alexandrina Victoria (1819 - 1901), Queen of the United Kingdom" },
        { FindPersonSearch::BirthPlace, "kensington",
            "Alexandrina Victoria (1819 - 1901), born Kensington Palace, London" },
        { FindPersonSearch::DeathPlace, "osborne",
            "Alexandrina Victoria (1819 - 1901), died Osborne House, Isle of Wight" },
        { FindPersonSearch::CauseOfDeath, "cerebral", "Alexandrina Victoria (1819 - 1901), Cerebral haemorrhage" },
        { FindPersonSearch::ReferenceNo, "QV", "Alexandrina Victoria (1819 - 1901), Ref No = QV-1" },
        { FindPersonSearch::DeathYear, "1901", "Alexandrina Victoria (1819 - 1901)" },
        // Without the value, no detail.
        { FindPersonSearch::NamesTitles, "john", "John Smith (1850 - )" },
        { FindPersonSearch::Names, "john", "John Smith (1850 - )" },
    };
    for (const Case& c : cases) {
        FindPersonSearch::setCurrentSearchMenuOption(FindPersonSearch::kindTitle(c.kind));
        EXPECT_FALSE(search.findPerson(c.text));
        ASSERT_GE(search.rowCount(), 1);
        EXPECT_EQ(search.cellValue(0, FindPersonSearch::NameColumn).toString(), c.firstName);
    }

    FindPersonSearch::setCurrentSearchMenuOption("Names");
    search.findPerson("victoria");
    EXPECT_THAT(search.people(), ElementsAre(victoria, daughter));
    EXPECT_EQ(search.cellValue(0, FindPersonSearch::IdColumn), QVariant(1));
    EXPECT_EQ(search.cellValue(0, FindPersonSearch::BirthYearColumn), QVariant(1819));
    EXPECT_EQ(search.cellValue(0, FindPersonSearch::WhateverColumn), QVariant("Kensington Palace, London"));
    EXPECT_FALSE(search.cellValue(2, FindPersonSearch::NameColumn).isValid()); // outside the list

    search.findPerson("bjorn"); // born, but on no known date
    EXPECT_FALSE(search.cellValue(0, FindPersonSearch::BirthYearColumn).isValid());

    // No hit: one row that says so and holds no person.
    search.findPerson("xyz");
    ASSERT_EQ(search.rowCount(), 1);
    EXPECT_TRUE(search.hasMessageRow());
    EXPECT_EQ(search.personAt(0), nullptr);
    EXPECT_FALSE(search.cellValue(0, FindPersonSearch::IdColumn).isValid());
    EXPECT_EQ(search.cellValue(0, FindPersonSearch::NameColumn), QVariant("No Names found for \"xyz\""));
    EXPECT_EQ(search.cellValue(0, FindPersonSearch::BirthYearColumn), QVariant("No Names found for \"xyz\""));
    search.findPerson("");
    EXPECT_EQ(search.message(), "No Names found for \"\"");

    // A stored title of no kind finds nothing.
    FindPersonSearch::setCurrentSearchMenuOption("Obsolete Kind");
    search.findPerson("victoria");
    EXPECT_EQ(search.message(), "No Obsolete Kind found for \"victoria\"");

    FindPersonSearch::setCurrentSearchMenuOption("Unconnected People");
    search.findPerson("");
    EXPECT_EQ(search.rowCount(), 8);
    EXPECT_FALSE(search.hasMessageRow());
    for (FTPerson* p : { john, joAnn, bjorn, zoe })
        link(victoria, p);
    for (FTPerson* p : fillers)
        couple(p, nullptr);
    search.findPerson("");
    EXPECT_EQ(search.message(), "There are no unconnected people in this database.");
}

TEST_F(FindPersonSearchTest, AnEmptyOrBlankSearchOfAVeryLargeListWarns)
{
    // The warning comes with more than 8000 rows: 8000 people and the 11 of the fixture.
    moc->undoManager()->disableUndoRegistration();
    for (int i = 0; i < 8000; ++i)
        FTPerson::initInMoc(moc.get(), QStringLiteral("Person %1").arg(i), M());
    moc->undoManager()->enableUndoRegistration();
    search.setMoc(moc.get());
    FindPersonSearch::setCurrentSearchMenuOption("Notes");
    EXPECT_TRUE(search.findPerson(" "));
    EXPECT_EQ(search.rowCount(), 8000 + 11);
    EXPECT_FALSE(search.findPerson("court"));
    FindPersonSearch::setCurrentSearchMenuOption("Unconnected People");
    EXPECT_TRUE(search.findPerson(""));
    EXPECT_FALSE(search.findPerson("x")); // a typed text is the user's own choice
    FindPersonSearch::setCurrentSearchMenuOption("Names");
    EXPECT_FALSE(search.findPerson("")); // nothing listed at all
}

TEST_F(FindPersonSearchTest, SortingByAColumn)
{
    date(fillers[0], "birth", 1, 1, 1700);
    search.setMoc(moc.get());
    FindPersonSearch::setCurrentSearchMenuOption("Names and Titles");
    search.findPerson("victoria smith filler"); // nobody has all three words
    ASSERT_TRUE(search.hasMessageRow());
    search.sortByColumn(FindPersonSearch::IdColumn); // the message row stays as it is
    EXPECT_TRUE(search.hasMessageRow());

    FindPersonSearch::setCurrentSearchMenuOption("Notes");
    search.findPerson(" "); // everyone, by name
    ASSERT_EQ(search.rowCount(), 11);
    EXPECT_EQ(search.personAt(0), albert);
    EXPECT_EQ(search.sortColumn(), -1);

    auto ids = [&] {
        QList<int> out;
        for (FTPerson* p : search.people())
            out << p->numericId();
        return out;
    };
    // "ID" ascending, then descending on the next click, then ascending again.
    search.sortByColumn(FindPersonSearch::IdColumn);
    EXPECT_EQ(ids(), (QList<int> { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 }));
    EXPECT_TRUE(search.sortAscending());
    search.sortByColumn(FindPersonSearch::IdColumn);
    EXPECT_EQ(ids(), (QList<int> { 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1 }));
    EXPECT_FALSE(search.sortAscending());
    search.sortByColumn(FindPersonSearch::IdColumn);
    EXPECT_EQ(ids().first(), 1);

    // Another column between two clicks: "ID" starts ascending again.
    search.sortByColumn(FindPersonSearch::NameColumn);
    EXPECT_EQ(search.sortColumn(), FindPersonSearch::NameColumn);
    EXPECT_EQ(names(search.people()),
        (QStringList { "Albert Saxe-Coburg", "Alexandrina Victoria", "Bjorn Asmith", "Filler 10", "Filler 11",
            "Filler 8", "Filler 9", "Jo-Ann Smith", "John Smith", "Victoria Adelaide", "Zoë Court" }));
    search.sortByColumn(FindPersonSearch::IdColumn);
    EXPECT_EQ(ids().first(), 1);

    // By year: the unknown years first, then the earliest.
    search.sortByColumn(FindPersonSearch::BirthYearColumn);
    const QList<FTPerson*> byYear = search.people();
    EXPECT_EQ(byYear.mid(6), (QList<FTPerson*> { fillers[0], victoria, albert, daughter, john }));

    search.sortByColumn(FindPersonSearch::WhateverColumn);
    EXPECT_EQ(search.people().mid(7), (QList<FTPerson*> { daughter, victoria, bjorn, albert }));

    // A new search comes in its own order again.
    search.findPerson(" ");
    EXPECT_EQ(search.sortColumn(), -1);
    EXPECT_EQ(search.personAt(0), albert);
}

TEST_F(FindPersonSearchTest, PeopleOfOneNameSortByTheirYearsWhenTheListShowsThem)
{
    FTPerson* older = person("Victoria Adelaide");
    date(older, "birth", 1, 1, 1800);
    search.setMoc(moc.get());
    FindPersonSearch::setCurrentSearchMenuOption("Names");
    search.findPerson("adelaide");
    ASSERT_THAT(search.people(), ElementsAre(daughter, older));
    const bool saved = gVovadid;
    gVovadid = true;
    search.sortByColumn(FindPersonSearch::NameColumn);
    EXPECT_THAT(search.people(), ElementsAre(older, daughter));
    gVovadid = false; // by the name alone: as they were
    search.findPerson("adelaide");
    search.sortByColumn(FindPersonSearch::NameColumn);
    EXPECT_THAT(search.people(), ElementsAre(daughter, older));
    gVovadid = saved;
}

TEST_F(FindPersonSearchTest, RowsOfPeopleWhoAreGoneDropOut)
{
    search.setMoc(moc.get());
    FindPersonSearch::setCurrentSearchMenuOption("Names");
    search.findPerson("smith");
    ASSERT_THAT(search.people(), ElementsAre(joAnn, john));

    moc->deleteObject(joAnn);
    // Until the check the row stays, but it holds no one and shows nothing.
    EXPECT_EQ(search.rowCount(), 2);
    EXPECT_EQ(search.personAt(0), nullptr);
    EXPECT_FALSE(search.cellValue(0, FindPersonSearch::NameColumn).isValid());
    search.validate(); // not marked: nothing happens
    EXPECT_EQ(search.rowCount(), 2);
    search.setNeedsValidating();
    search.validate();
    EXPECT_THAT(search.people(), ElementsAre(john));
    EXPECT_EQ(search.rowCount(), 1);

    search.removePerson(john);
    EXPECT_EQ(search.rowCount(), 0);

    // Another database empties the rows.
    search.findPerson("victoria");
    search.setMoc(nullptr);
    EXPECT_EQ(search.rowCount(), 0);
    EXPECT_THAT(search.searchFor("victoria", FindPersonSearch::Names), IsEmpty());
}

}
