#include "PeopleFixture.h"

#include "model/FTModelDefaults.h"
#include "model/FTProjectView.h"
#include "model/FTSource.h"

namespace {
QStringList namesOf(const QList<ManagedObject*>& objects)
{
    QStringList out;
    for (const ManagedObject* o : objects)
        out << o->valueForKey("name").toString();
    return out;
}
}

TEST_F(PeopleFixture, FocalPersonOfAnEmptyDatabaseIsMadeOnce)
{
    FTPerson* focal = moc->focalPerson();
    ASSERT_TRUE(focal);
    EXPECT_EQ(focal->name(), "name");
    EXPECT_EQ(focal->gender(), M());
    EXPECT_EQ(messages(), QStringList { "Empty model" });
    EXPECT_EQ(moc->focalPerson(), focal);
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(moc->selectedPerson(), focal);
    EXPECT_EQ(moc->modelDefaults()->selectedPerson(), focal);
    EXPECT_EQ(moc->modelName(), "Family");
}

TEST_F(PeopleFixture, FocalPersonDefaultsToTheLowestNumberWithAnAncestralView)
{
    FTPerson* first = person("Ann Smith");
    FTPerson* second = person("Bob Smith");
    EXPECT_EQ(moc->firstPersonInDatabaseWhoIsNot(nullptr), first);
    EXPECT_EQ(moc->firstPersonInDatabaseWhoIsNot(first), second);
    EXPECT_EQ(moc->focalPerson(), first);
    EXPECT_TRUE(messages().isEmpty());
    ASSERT_TRUE(moc->projectView());
    EXPECT_EQ(moc->projectView()->rootPersonInAncestralView(), first);
    EXPECT_EQ(moc->projectView()->name(), "Ann Smith's ancestors");
    moc->setSelectedPerson(second);
    EXPECT_EQ(moc->selectedPerson(), second);
    EXPECT_EQ(moc->fetchAllForEntity("Person").size(), 2);

    moc->deleteObject(second);
    EXPECT_EQ(moc->firstPersonInDatabaseWhoIsNot(first), nullptr);
}

TEST_F(PeopleFixture, WordSearchesMatchTheStartOfAnyWordOfTheName)
{
    for (const char* n :
        { "Smith, John", "John (Jo) Smith", "Bjorn Asmith", "Escort Lee", "Ann Court", "Zoë Smart", "Mary_Jones" })
        person(QString::fromUtf8(n));
    person("Peter Piper")->setTitle("Court jester");
    struct Case {
        const char* text;
        QStringList found;
    } cases[] = {
        { "jo sm", { "John (Jo) Smith", "Smith, John" } },
        { "sm  jo", { "John (Jo) Smith", "Smith, John" } },
        { "court", { "Ann Court" } },
        { "zoe", { "Zoë Smart" } },
        { "jones", { "Mary_Jones" } },
        { "", {} },
    };
    for (const Case& c : cases)
        EXPECT_EQ(namesOf(moc->findObjectName(QString::fromUtf8(c.text), "Person")), c.found) << c.text;
    defaults().setBool("includeTitlesInSearch", true);
    EXPECT_EQ(namesOf(moc->findObjectName("court", "Person")), (QStringList { "Ann Court", "Peter Piper" }));
    moc->insertObject<FTSource>()->setValueForKey("name", "x"); // sources have no name: nothing matches
    EXPECT_TRUE(moc->findObjectName("court", "Source").isEmpty());
}

TEST_F(PeopleFixture, NamePatternsUseWildcards)
{
    FTPerson* john = person("John Smith");
    year(john, "birth", 1900);
    person("Jon Smyth");
    person("Joan Smith");
    QStringList found;
    for (const FTPerson* p : moc->findPeopleWithName("jo?n sm*"))
        found << p->nameWithBirthAndDeathYears();
    EXPECT_EQ(found, (QStringList { "Joan Smith", "John Smith (1900 - )" }));
    EXPECT_TRUE(moc->findPeopleWithName("").isEmpty());
}

TEST_F(PeopleFixture, UsualGenderOfAFirstName)
{
    person("Leslie Brown", M());
    person("Leslie Green", M());
    person("Leslie_White", F());
    person("Leslieann Grey", F());
    QString first;
    EXPECT_EQ(moc->genderForName("leslie smith", &first), M());
    EXPECT_EQ(first, "Leslie");
    person("Leslie Black", F());
    EXPECT_TRUE(moc->genderForName("Leslie Smith").isNull()) << "a tie";
    EXPECT_TRUE(moc->genderForName("L Smith", &first).isNull());
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(moc->genderForName("Nobody Here").isNull());

    person("Hilary Jones", F());
    EXPECT_EQ(moc->confirmGender("Hilary Smith", F()), F());
    EXPECT_TRUE(messages().isEmpty());
    prompts.answer(0);
    EXPECT_EQ(moc->confirmGender("Hilary Smith", M()), M());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "Please confirm Hilary Smith's gender");
    EXPECT_EQ(prompts.records[0].info, "You entered \"Male\" but \"Hilary\" is usually \"Female\"");
    EXPECT_EQ(prompts.records[0].buttons, (QStringList { "Male", "Female", "Cancel" }));
    prompts.answer(2);
    EXPECT_TRUE(moc->confirmGender("Hilary Smith", M()).isNull());
    prompts.answer(1);
    EXPECT_EQ(moc->confirmGender("Hilary Smith", ""), F());
    EXPECT_EQ(prompts.records.last().info, "You entered \"Unknown\" but \"Hilary\" is usually \"Female\"");
}

TEST_F(PeopleFixture, SourceTypesAndMatchingSources)
{
    FTSource* census = moc->insertObject<FTSource>();
    census->setType("Census");
    FTSource* diary = moc->insertObject<FTSource>();
    diary->setType("diary");
    diary->setTitle("Diary of Ann");
    const QStringList types = moc->sourceTypes();
    EXPECT_EQ(types.size(), 20);
    EXPECT_EQ(types.count("Census"), 1);
    EXPECT_TRUE(types.contains("diary"));
    EXPECT_FALSE(types.contains(LocalizedString("FTMocSrcTypArray9")));
    EXPECT_TRUE(std::is_sorted(types.begin(), types.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; }));

    auto other = newDatabase("Other.RezUdu");
    FTSource* theirs = other->insertObject<FTSource>();
    theirs->setType("diary");
    theirs->setTitle("Diary of Ann");
    theirs->setNumericId(99);
    FTSource* unmatched = other->insertObject<FTSource>();
    unmatched->setTitle("Letters");
    const QHash<QString, FTSource*> matches = moc->findMatchingSources({ theirs, unmatched });
    EXPECT_EQ(matches.size(), 1);
    EXPECT_EQ(matches.value(theirs->objectURI()), diary);
}
