#include "PeopleFixture.h"

#include "model/FTModelDefaults.h"

#include "platform/NotificationCenter.h"
#include "platform/store/UndoManager.h"

TEST_F(PeopleFixture, GenderChangeOfAPersonWithoutSpouses)
{
    FTPerson* p = person("Sam Smith");
    int posted = 0;
    NotificationCenter::defaultCenter().addObserver(
        "GenderChanged", p, [&](const Notification&) { ++posted; }, this);
    EXPECT_TRUE(p->acceptGenderChange(F()));
    EXPECT_EQ(p->gender(), F());
    EXPECT_EQ(posted, 1);
    EXPECT_TRUE(p->acceptGenderChange(F()));
    EXPECT_EQ(posted, 1) << "unchanged";
    NotificationCenter::defaultCenter().removeObserversOf(this);

    QString error;
    EXPECT_TRUE(p->canGenderBeChangedTo(M(), &error));
    couple(p, person("Alex", M()));
    EXPECT_TRUE(p->canGenderBeChangedTo(F(), &error));
    EXPECT_FALSE(p->canGenderBeChangedTo(M(), &error));
    EXPECT_EQ(error, "Sam Smith is married");
}

TEST_F(PeopleFixture, GenderChangeIsRefusedWithTwoSpouses)
{
    FTPerson* p = person("Sam Smith", M());
    couple(p, person("Ann", F()));
    couple(p, person("Eve", F()));
    EXPECT_FALSE(p->acceptGenderChange(F()));
    EXPECT_EQ(p->gender(), M());
    EXPECT_EQ(messages(),
        QStringList { "Sam Smith's gender may not be changed to Female because he/she has more than one spouse" });
}

TEST_F(PeopleFixture, GenderChangeToTheSpousesGenderChangesTheSpouseOnYes)
{
    FTPerson* p = person("Sam Smith", F());
    FTPerson* spouse = person("Kim Smith", M());
    couple(p, spouse);
    moc->undoManager()->closeOpenGroups();
    prompts.answer(0);
    EXPECT_TRUE(p->acceptGenderChange(M()));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text,
        "Sam Smith has one spouse called Kim Smith who is Male.\n\nDo you also want to change Kim Smith's gender to "
        "Female?");
    EXPECT_EQ(p->gender(), M());
    EXPECT_EQ(spouse->gender(), F());
    EXPECT_EQ(moc->undoManager()->actionName(), "Change Gender");

    // A spouse of the other gender raises no question.
    EXPECT_TRUE(p->acceptGenderChange(M()));
    FTPerson* q = person("Pat Jones");
    couple(q, person("Lee Jones", M()));
    EXPECT_TRUE(q->acceptGenderChange(F()));
    EXPECT_EQ(prompts.records.size(), 1);
}

TEST_F(PeopleFixture, GenderChangeAnsweredNoMakesTheSpouseAStepParentOfTheSharedChildrenOnly)
{
    FTPerson* p = person("Sam Smith", F());
    FTPerson* spouse = person("Kim Smith", M());
    FTPerson* former = person("Lou Brown", F());
    couple(p, spouse);
    FTPerson* shared1 = person("Al Smith");
    FTPerson* shared2 = person("Bo Smith");
    FTPerson* his = person("Cy Brown"); // the spouse's child by an earlier partner
    FTPcRel* l1 = link(spouse, shared1);
    FTPcRel* l2 = link(spouse, shared2);
    FTPcRel* l3 = link(spouse, his);
    link(p, shared1);
    link(p, shared2);
    link(former, his);
    prompts.answer(1);
    EXPECT_TRUE(p->acceptGenderChange(M()));
    EXPECT_EQ(p->gender(), M());
    EXPECT_EQ(spouse->gender(), M());
    EXPECT_EQ(l1->intPcRelType(), FTPcRel::kStep);
    EXPECT_EQ(l2->intPcRelType(), FTPcRel::kStep);
    EXPECT_EQ(l3->intPcRelType(), FTPcRel::kNatural);
    EXPECT_EQ(messages().last(),
        "2 of Kim Smith's children have been changed to be STEP children to avoid having two "
        "natural parents of the same gender.");
}

TEST_F(PeopleFixture, DuplicateNamesAreLookedForInABirthYearWindow)
{
    FTPerson* relative = person("John Smith", M());
    EXPECT_TRUE(FTPerson::checkDuplicateNames("Tom Smith", M(), relative, -1)) << "the warning is off";
    defaults().setBool("duplicateNameWarning", true);
    EXPECT_TRUE(FTPerson::checkDuplicateNames("Tom Smith", M(), relative, -1));
    EXPECT_TRUE(prompts.records.isEmpty());

    FTPerson* tom = person("Tom Smith", M());
    struct Case {
        int relativeBorn;
        int relation;
        int tomBorn;
        bool found;
    } cases[] = {
        { 1900, 1, 1800, true },
        { 1900, 1, 1900, true },
        { 1900, 1, 1799, false },
        { 1900, 1, 1901, false },
        { 1900, -1, 1880, true },
        { 1900, -1, 2000, true },
        { 1900, -1, 1879, false },
        { 1900, -1, 2001, false },
        { 1900, -2, 1800, true },
        { 1900, -2, 2000, true },
        { 1900, -2, 2001, false },
        { 0, -1, 2500, true },
    };
    for (const Case& c : cases) {
        year(relative, "birth", c.relativeBorn);
        year(tom, "birth", c.tomBorn);
        prompts.clear();
        prompts.answer(1);
        EXPECT_EQ(FTPerson::checkDuplicateNames("tom  smith ", M(), relative, c.relation), !c.found)
            << c.relativeBorn << " " << c.relation << " " << c.tomBorn;
        EXPECT_EQ(prompts.records.size(), c.found ? 1 : 0);
    }
    year(tom, "birth", 1900);
    year(relative, "birth", 1900);
    prompts.clear();
    EXPECT_TRUE(FTPerson::checkDuplicateNames("Tom Smith", M(), relative, 1)) << "Create New Person";
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "The following person with the same name already exists in the database:");
    EXPECT_TRUE(prompts.records[0].info.startsWith("\nTom Smith (1900 - )\n\nTo attach an existing person"));
    EXPECT_EQ(prompts.records[0].buttons, (QStringList { "Create New Person", "Discard" }));
    prompts.clear();
    EXPECT_TRUE(FTPerson::checkDuplicateNames("Tom Smith", F(), relative, 1)) << "another gender";
    EXPECT_TRUE(FTPerson::checkDuplicateNames("Tom Smith", M(), relative, 0));
    EXPECT_TRUE(prompts.records.isEmpty());
    year(person("Tom Smith", M()), "birth", 1890);
    prompts.answer(1);
    EXPECT_FALSE(FTPerson::checkDuplicateNames("Tom Smith", "", relative, 1));
    EXPECT_EQ(prompts.records[0].text, "The following people with the same name already exist in the database:");
}

TEST_F(PeopleFixture, DuplicateNamesAreMatchedLiterally)
{
    defaults().setBool("duplicateNameWarning", true);
    FTPerson* relative = person("John Smith", M());
    year(person("Tom Smith", M()), "birth", 1950);
    EXPECT_TRUE(FTPerson::checkDuplicateNames("T?m Sm*", M(), relative, -1));
    EXPECT_TRUE(FTPerson::checkDuplicateNames("*", "", relative, -1));
    EXPECT_TRUE(prompts.records.isEmpty());
    year(person("Baby *", M()), "birth", 1950);
    prompts.answer(1);
    EXPECT_FALSE(FTPerson::checkDuplicateNames("baby *", M(), relative, -1));
}

TEST_F(PeopleFixture, DeletionIsRefusedForLinkedAndFocalPeopleAndConfirmed)
{
    EXPECT_FALSE(FTPerson::confirmDeletionOfPerson(nullptr));
    FTPerson* mid = person("Mary Smith", F());
    link(person("Old Smith", M()), mid);
    link(mid, person("Young Smith", M()));
    EXPECT_FALSE(FTPerson::confirmDeletionOfPerson(mid));
    EXPECT_EQ(messages().last(),
        "You may not delete\nMary Smith \nwhile she has both Parents and Children.\n\nPlease "
        "disconnect all her parents (or all her children) and try again.");

    FTPerson* focal = person("Focal Person");
    moc->setFocalPerson(focal);
    EXPECT_FALSE(FTPerson::confirmDeletionOfPerson(focal));
    EXPECT_EQ(messages().last(), "Focal Person \ncannot be deleted whilst he/she is the focal person in the diagram");

    FTPerson* other = person("Other Person");
    prompts.clear();
    EXPECT_TRUE(FTPerson::confirmDeletionOfPerson(other));
    EXPECT_TRUE(prompts.records.isEmpty());
    defaults().setBool("showDeleteWarnings", true);
    prompts.answer(1);
    EXPECT_FALSE(FTPerson::confirmDeletionOfPerson(other));
    EXPECT_EQ(prompts.records.last().text, "Are you sure you want to delete \n  Other Person ?");
    EXPECT_TRUE(FTPerson::confirmDeletionOfPerson(other));
}
