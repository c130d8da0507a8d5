// Finding the other database's people among the open database's: the order of the lists, the search, the match
// of one person and the pass that leaves only the people without an identical counterpart.

#include "MergeFixture.h"

#include "merge/ComparePeopleList.h"
#include "merge/PeopleMatching.h"

#include "model/ModelProgress.h"

#include <gmock/gmock.h>

#include <random>

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using Field = PeopleMatching::SearchField;

namespace {
QStringList namesOf(const QList<FTPerson*>& people)
{
    QStringList names;
    for (const FTPerson* p : people)
        names << p->name();
    return names;
}

QStringList found(const QList<FTPerson*>& people, Field field, const QString& text)
{
    // Both ways a search is made: of each person, and of a list that keeps the folded texts.
    const PeopleSearch search(field, text);
    QList<FTPerson*> out;
    for (FTPerson* p : people)
        if (search.isEmpty() || search.matches(p))
            out << p;
    ComparePeopleList list;
    list.setPeople(people);
    list.setSearch(search);
    QList<FTPerson*> listed = list.arranged();
    std::sort(listed.begin(), listed.end(), [&](FTPerson* a, FTPerson* b) { return people.indexOf(a) < people.indexOf(b); });
    EXPECT_EQ(listed, out) << text.toStdString();
    return namesOf(out);
}

struct Recorder : ModelProgress {
    QStringList statuses;
    QList<int> percents;
    void setStatus(const QString& text) override { statuses << text; }
    void setPercent(int percent) override { percents << percent; }
};
}

using PeopleMatchingTest = MergeFixture;

TEST_F(PeopleMatchingTest, ASearchWordBeginsTheFieldOrOneOfItsWords)
{
    const QList<FTPerson*> people = { person(open.get(), "Anne Smith", "F", "1850", "Saint Éloi"),
        person(open.get(), "Mary Ann", "F", "1852"), person(open.get(), "Joanna Brown", "F", "1850", "Leeds"),
        person(open.get(), "Zoë_Annabel Grey", "F", {}, {}, 1850) };
    people[1]->setTitle("Farmer's wife");

    EXPECT_THAT(found(people, Field::Name, "an"), ElementsAre("Anne Smith", "Mary Ann", "Zoë_Annabel Grey"));
    EXPECT_THAT(found(people, Field::Name, "ANN smi"), ElementsAre("Anne Smith"));
    EXPECT_THAT(found(people, Field::Name, "zoe"), ElementsAre("Zoë_Annabel Grey"));
    EXPECT_THAT(found(people, Field::Title, "wife"), ElementsAre("Mary Ann"));
    EXPECT_THAT(found(people, Field::BirthPlace, "eloi"), ElementsAre("Anne Smith"));
    // A year or id search takes the number the first word begins with, whatever follows.
    EXPECT_THAT(found(people, Field::BirthYear, "1850 Smith"), ElementsAre("Anne Smith", "Joanna Brown"));
    EXPECT_THAT(found(people, Field::Id, "1850"), ElementsAre("Zoë_Annabel Grey"));
    EXPECT_THAT(found(people, Field::BirthYear, "Smith"), ElementsAre());
    // No words: no filter at all.
    EXPECT_TRUE(PeopleSearch(Field::BirthYear, "   ").isEmpty());
}

TEST_F(PeopleMatchingTest, ByNameTheSameBirthDateWinsAndTheSameIdEndsTheSearch)
{
    FTPerson* s = person(other.get(), "John Smith", "M", "1 Jan 1850", {}, 7);
    ComparePeopleList list;
    list.setPeople({ person(open.get(), "john smith", "M", "1851", {}, 3),
        person(open.get(), "John Smith", "M", "1 Jan 1850", {}, 5),
        person(open.get(), "JOHN SMITH", "M", "1 Jan 1850", {}, 7), person(open.get(), "John Smith", "M", "1860", {}, 9),
        person(open.get(), "Jon Smith", "M", "1 Jan 1850", {}, 7) });
    list.setSortMode(0);
    // By name ignoring letter case, then birth year, then id.
    ASSERT_THAT(namesOf(list.arranged()),
        ElementsAre("John Smith", "JOHN SMITH", "john smith", "John Smith", "Jon Smith"));

    auto match = [&](int mode) { return PeopleMatching::findMatchForPerson(s, list.arranged(), mode); };
    EXPECT_THAT(match(0), ElementsAre(1)) << "same name, birth date and id";
    s->setNumericId(8);
    EXPECT_THAT(match(0), ElementsAre(1, 2, 3)) << "the last same birth date and the same names after it";
    s->birth()->setDate("1 Jan 1700");
    EXPECT_THAT(match(0), ElementsAre(0, 1, 2, 3)) << "every same name";
    EXPECT_THAT(match(1), ElementsAre()) << "no id 8";
    s->setNumericId(7);
    EXPECT_THAT(match(1), ElementsAre(1)) << "the first of the id";
    EXPECT_THAT(match(2), ElementsAre());
}

// The pass over the whole list looks people up in an index; it must answer what the search of the list answers.
TEST_F(PeopleMatchingTest, TheIndexOfAPassAnswersAsTheSearchOfTheList)
{
    std::mt19937 random(3);
    const char* const names[] = { "Ann Lee", "ann lee", "Bob Ray", "Cy Fox", "ÅSA ÖBERG", "åsa öberg" };
    const char* const dates[] = { "", "1 Jan 1850", "1851" };
    auto make = [&](FTMoc* moc) {
        return person(moc, names[random() % 6], "M", dates[random() % 3], {}, int(random() % 8) + 1);
    };
    QList<FTPerson*> target;
    for (int i = 0; i < 60; ++i)
        target << make(open.get());
    for (int mode : { 0, 1 }) {
        PeopleMatching::sortPeople(target, mode);
        const PeopleMatching::MatchIndex index(target, mode);
        for (int i = 0; i < 40; ++i) {
            const FTPerson* s = make(other.get());
            ASSERT_EQ(index.findMatchForPerson(s), PeopleMatching::findMatchForPerson(s, target, mode))
                << "mode " << mode << " " << s->nameWithIdBirthAndDeathYears().toStdString();
        }
    }
}

TEST_F(PeopleMatchingTest, RemovingMatchedRecordsKeepsThePeopleWithoutAnIdenticalMatch)
{
    auto pair = [&](const QString& name, const QString& born) {
        FTPerson* t = person(open.get(), name, "M", born);
        FTPerson* s = person(other.get(), name, "M", born);
        s->setNumericId(t->numericId());
        return std::pair { s, t };
    };
    const auto [same, sameTwin] = pair("Adam Smith", "1850");
    const auto [title, titleTwin] = pair("Bob Smith", "1851");
    title->setTitle("Miller");
    // An occupation is part of a person: differing in it alone keeps the person.
    const auto [occupation, occupationTwin] = pair("Carl Smith", "1852");
    event(occupation, "OCCU", "1880")->setName("Farmer");
    FTPerson* alone = person(other.get(), "Dan Smith");
    // Two matches of the same name, the second identical: the person goes.
    FTPerson* eve = person(other.get(), "Eve Smith", "F", "1860");
    person(open.get(), "Eve Smith", "F", "1861");
    person(open.get(), "Eve Smith", "F", "1860")->setNumericId(eve->numericId());

    for (int mode : { 0, 1 }) {
        ComparePeopleList source, target;
        source.setPeople(other->fetch<FTPerson>());
        target.setPeople(open->fetch<FTPerson>());
        source.setSortMode(mode);
        target.setSortMode(mode);
        Recorder progress;
        const QList<FTPerson*> kept
            = PeopleMatching::removeMatchedRecords(source.arranged(), target.arranged(), mode, &progress);
        EXPECT_THAT(kept, UnorderedElementsAre(title, occupation, alone)) << "mode " << mode;
        EXPECT_THAT(progress.statuses, ElementsAre("0 " + L("ConjunctiveOf") + " 5"));
        EXPECT_FALSE(progress.percents.isEmpty());
    }
    (void)same, (void)sameTwin, (void)titleTwin, (void)occupationTwin;
}
