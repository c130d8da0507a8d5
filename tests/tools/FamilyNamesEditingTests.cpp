// The family names editor's work: the one-word family names, the people of one, renaming person by person and
// writing every family name capitalised or in capitals.

#include "ToolsFixture.h"

#include "tools/FamilyNamesEditing.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FamilyNamesFixture : public ToolsFixture {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        // The names exactly as written; the program's default (family names in capitals) is back for the tests.
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        for (const char* name : {"John Smith", "Mary SMITH", "Anne McDONALD", "Ann O'Brien", "Jean de la Fontaine",
                                 "Tom Smith Jr", "Cher", "Eve Hart-Davis"})
            people << person(QString::fromUtf8(name));
        UserDefaults::standard().setBool("uppercaseFamilyName", true);
        settle();
    }
    QStringList names() const
    {
        QStringList out;
        for (const FTPerson* p : people)
            out << p->name();
        return out;
    }
    static QStringList namesOf(const QList<FTPerson*>& list)
    {
        QStringList out;
        for (const FTPerson* p : list)
            out << p->name();
        return out;
    }
    QList<FTPerson*> people;
};

TEST_F(FamilyNamesFixture, ListsOneWordFamilyNamesAndThePeopleWhoseNameEndsWithOne)
{
    FamilyNamesEditing editing(moc.get());
    EXPECT_EQ(editing.familyNames(), QStringList({"Hart-Davis", "McDONALD", "O'Brien", "SMITH", "Smith"}));
    EXPECT_EQ(FamilyNamesEditing::filtered(editing.familyNames(), "mi"), QStringList({"SMITH", "Smith"}));
    EXPECT_EQ(namesOf(editing.peopleWithFamilyName("SMITH")), QStringList({"John Smith", "Mary SMITH"}))
        << "case ignored; a suffix after the name leaves Tom out";
    EXPECT_EQ(editing.peopleWithFamilyName("").size(), people.size());
}

TEST_F(FamilyNamesFixture, RenamingAsksPersonByPersonAndStoresTheNameAsTyped)
{
    FamilyNamesEditing editing(moc.get());
    const QList<FTPerson*> smiths = editing.peopleWithFamilyName("Smith");

    EXPECT_EQ(editing.changeFamilyNamesFrom("Smith", " Smith ", smiths), 0);
    EXPECT_EQ(editing.changeFamilyNamesFrom("", "Smyth", smiths), 0);
    EXPECT_THAT(messages(), IsEmpty());
    EXPECT_EQ(editing.changeFamilyNamesFrom("Smith", "Smy th", smiths), 0);
    EXPECT_THAT(messages(), ElementsAre(L("SpaceNames")));

    // Mary's name does not end with "Smith" as written: she is not asked about a change that changes nothing.
    prompts.clear();
    EXPECT_EQ(editing.changeFamilyNamesFrom("Smith", " Smyth", smiths), 1);
    EXPECT_THAT(messages(), ElementsAre(QString("%1\n\nJohn Smith\n\n%2\n\nJohn Smyth\n").arg(L("Change"), L("ConjunctiveTo"))));
    EXPECT_EQ(prompts.records[0].buttons, QStringList({L("Yes"), L("No")}));
    EXPECT_EQ(people[0]->name(), "John Smyth") << "not in capitals";
    EXPECT_TRUE(UserDefaults::standard().boolForKey("uppercaseFamilyName")) << "the default is back";
    EXPECT_FALSE(moc->hasChanges());

    prompts.answer(1);
    EXPECT_EQ(editing.changeFamilyNamesFrom("SMITH", "Smythe", editing.peopleWithFamilyName("SMITH")), 0);
    EXPECT_EQ(people[1]->name(), "Mary SMITH");

    undo();
    EXPECT_EQ(people[0]->name(), "John Smith");
}

TEST_F(FamilyNamesFixture, ConvertingEveryFamilyNameLeavesOddNamesAloneAndListsThem)
{
    FamilyNamesEditing editing(moc.get());
    prompts.answer(1);
    EXPECT_EQ(editing.convertAllFamilyNamesUsingMode(FamilyNamesEditing::Uppercase), -1) << "cancelled";
    EXPECT_THAT(messages(), ElementsAre(L("Capitalize")));

    prompts.clear();
    EXPECT_EQ(editing.convertAllFamilyNamesUsingMode(FamilyNamesEditing::Uppercase), 2);
    EXPECT_EQ(names(), QStringList({"John SMITH", "Mary SMITH", "Anne MCDONALD", "Ann O'Brien", "Jean de la Fontaine",
                                    "Tom Smith Jr", "Cher", "Eve Hart-Davis"}));
    ASSERT_EQ(prompts.records.size(), 3);
    EXPECT_EQ(prompts.records[1].text, "2 " + L("NumNamesChanged"));
    EXPECT_EQ(prompts.records[2].kind, ScriptedPrompts::ShowMe);
    EXPECT_TRUE(prompts.records[2].info.endsWith(L("NamesIgnored") + "\n\n  de la Fontaine\n  Hart-Davis\n  O'Brien\n  Smith Jr\n"))
        << prompts.records[2].info.toStdString();
    EXPECT_TRUE(UserDefaults::standard().boolForKey("uppercaseFamilyName"));

    // A second time nobody changes.
    prompts.clear();
    EXPECT_EQ(editing.convertAllFamilyNamesUsingMode(FamilyNamesEditing::Uppercase), 0);
    EXPECT_EQ(prompts.records[1].text, "0 " + L("NumNamesChanged"));

    prompts.clear();
    EXPECT_EQ(editing.convertAllFamilyNamesUsingMode(FamilyNamesEditing::Capitalised), 3);
    EXPECT_EQ(names().mid(0, 3), QStringList({"John Smith", "Mary Smith", "Anne Mcdonald"}));
    EXPECT_EQ(prompts.records[0].text, L("Decapitalize"));

    undo();
    EXPECT_EQ(names().mid(0, 3), QStringList({"John SMITH", "Mary SMITH", "Anne MCDONALD"}));
}
