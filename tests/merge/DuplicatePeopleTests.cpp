// The search for people entered twice: which neighbours count as a pair under each criterion, and the CSV listing.

#include "MergeFixture.h"

#include "merge/DuplicatePeopleSearch.h"

#include "shell/Utils.h"

#include "platform/store/Key.h"

#include <QFile>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
struct Someone {
    const char* name;
    const char* gender;
    const char* born;
    const char* died;
    const char* father; // empty: none
};

QStringList listed(const QList<FTPerson*>& people)
{
    QStringList out;
    for (const FTPerson* p : people)
        out << QString("%1 %2").arg(p->name()).arg(p->numericId());
    return out;
}
}

class DuplicatePeopleTest : public MergeFixture {
protected:
    void add(FTMoc* moc, const Someone& s)
    {
        FTPerson* p = person(moc, s.name, s.gender, s.born);
        if (*s.died)
            FTEvent::initInMoc(moc, FTEvent::DeathEvent, p, {})->setDate(s.died);
        // Fathers of different years, so that they never pair among themselves.
        if (*s.father)
            parentOf(person(moc, s.father, "M", QString::number(1800 + ++fathers)), p);
    }
    int fathers = 0;
};

TEST_F(DuplicatePeopleTest, NeighboursArePairedOnEveryTickedCriterion)
{
    using C = DuplicatePeopleSearch::Criteria;
    C nameOnly;
    C withYears;
    withYears.bBirthYear = withYears.bDeathYear = true;
    C withFather = withYears;
    withFather.bFathersName = true;
    C deathWithoutBirth; // the death year needs the birth year: unticked with it
    deathWithoutBirth.bDeathYear = true;
    C nothing;
    nothing.bName = false;
    nothing.bBirthYear = true;

    struct Case {
        const char* what;
        C criteria;
        std::vector<Someone> people;
        QStringList expected; // "<name> <number>", numbers from 1 in the order made
    } cases[] = {
        {"three alike in a row, each listed once", nameOnly,
         {{"Ann Lee", "F", "1900", "", ""}, {"ANN LEE", "F", "1950", "", ""}, {"ann lee", "F", "", "", ""},
          {"Ann Leigh", "F", "1900", "", ""}},
         {"ann lee 3", "Ann Lee 1", "ANN LEE 2"}},
        {"genders of different first letters", nameOnly,
         {{"Pat Doe", "M", "", "", ""}, {"Pat Doe", "F", "", "", ""}, {"Sam Roe", "M", "", "", ""},
          {"Sam Roe", "Male", "", "", ""}},
         {"Sam Roe 3", "Sam Roe 4"}},
        {"years", withYears,
         {{"Tom Hay", "M", "1900", "1950", ""}, {"Tom Hay", "M", "1900", "1951", ""}, {"Tom Hay", "M", "1901", "1951", ""},
          {"Tim Hay", "M", "1900", "1960", ""}, {"Tim Hay", "M", "1900", "1960", ""}},
         {"Tim Hay 4", "Tim Hay 5"}},
        {"one father missing is no pair, both missing is", withFather,
         {{"Bob Kay", "M", "1900", "", "John Kay"}, {"Bob Kay", "M", "1900", "", ""}, {"Rob Kay", "M", "1900", "", ""},
          {"Rob Kay", "M", "1900", "", ""}, {"Ed Kay", "M", "1900", "", "JOHN KAY"},
          {"Ed Kay", "M", "1900", "", "john kay"}},
         {"Ed Kay 6", "Ed Kay 8", "Rob Kay 4", "Rob Kay 5"}},
        {"the cascade unticks the death year", deathWithoutBirth,
         {{"Ida Fox", "F", "1900", "1950", ""}, {"Ida Fox", "F", "1910", "1970", ""}},
         {"Ida Fox 1", "Ida Fox 2"}},
        {"without the name everyone is listed", nothing,
         {{"Al One", "M", "", "", ""}, {"Bo Two", "M", "", "", ""}},
         {"Al One 1", "Bo Two 2"}},
    };
    int n = 0;
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto moc = newDatabase(QString("case%1.RezUdu").arg(++n));
        for (const Someone& s : c.people)
            add(moc.get(), s);
        DuplicatePeopleSearch search(moc.get());
        C criteria = c.criteria;
        QStringList found = listed(search.findDuplicates(criteria, nullptr));
        EXPECT_EQ(found, c.expected);
    }
}

TEST_F(DuplicatePeopleTest, UntickingOneCriterionUnticksEveryOneAfterIt)
{
    DuplicatePeopleSearch::Criteria c;
    c.bName = c.bBirthYear = c.bFathersName = c.bMothersName = c.bSpouses = true; // the death year is off
    c.cascade();
    EXPECT_TRUE(c.bName && c.bBirthYear);
    EXPECT_FALSE(c.bDeathYear || c.bFathersName || c.bMothersName || c.bSpouses);
}

TEST_F(DuplicatePeopleTest, TheCsvQuotesTextFieldsAndKeepsEachPersonOnOneLine)
{
    FTPerson* dad = person(open.get(), "Old Jo", "M", "1870");
    FTPerson* mum = person(open.get(), "Ma Jo", "F", "1872");
    FTPerson* jo = person(open.get(), "Jo", "M", "1900", {}, 7);
    // Stored by an older program: the name holds a quote and a line break.
    jo->setValue(Key("name"), QString("Jo \"Jay\"\nJones"));
    FTEvent::initInMoc(open.get(), FTEvent::DeathEvent, jo, {})->setDate("1960");
    parentOf(dad, jo);
    parentOf(mum, jo);
    marry(jo, person(open.get(), "Kay Wife", "F", "1902"));
    FTPerson* alone = person(open.get(), "Ben Alone", "M", {}, {}, 8);

    QString path;
    ASSERT_TRUE(DuplicatePeopleSearch::writeCsv({jo, alone}, "Family", nullptr, &path));
    EXPECT_EQ(path, Utils::reportsDirectory() + "/Family_DuplicatePeople.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    TestSupport::expectGolden(file.readAll(), "merge/duplicate-people.csv");

    // A name already taken gets the next number; when all are, nothing is overwritten.
    QString second;
    ASSERT_TRUE(DuplicatePeopleSearch::writeCsv({alone}, "Family", nullptr, &second));
    EXPECT_EQ(second, Utils::reportsDirectory() + "/Family_DuplicatePeople_1.csv");
    for (int i = 2; i <= 100; ++i) {
        QFile taken(QString("%1/Family_DuplicatePeople_%2.csv").arg(Utils::reportsDirectory()).arg(i));
        ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
        taken.write("mine");
    }
    prompts.clear();
    EXPECT_FALSE(DuplicatePeopleSearch::writeCsv({alone}, "Family", nullptr, nullptr));
    EXPECT_EQ(prompts.records.size(), 1);
    QFile last(Utils::reportsDirectory() + "/Family_DuplicatePeople_100.csv");
    ASSERT_TRUE(last.open(QIODevice::ReadOnly));
    EXPECT_EQ(last.readAll(), "mine");
}
