// Associated people: the chooser's word filter, adding a person associated with the focal person, the
// association found between two people, and deleting it with the offer to delete a person left unconnected.
#include "../model/PeopleFixture.h"

#include "editor/AssociatedPeople.h"
#include "editor/PersonNameFilter.h"

#include "model/FTAssociation.h"
#include "model/FTModelDefaults.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

namespace {

TEST_F(PeopleFixture, TheChooserFilterFindsWordsAtTheStartOfNameParts)
{
    for (const char* name : {"John Smith", "Smith, Joanna", "Bojo Smith", "Jo_Anne Smythe", "Smith\u00A0Jolene",
                             "Zoë Smèt", "Joseph Small", "Mary Jones"})
        person(QString::fromUtf8(name));
    PersonNameFilter list(moc->fetch<FTPerson>());
    const struct {
        const char* filter;
        QStringList found;
    } cases[] = {
        {"jo sm", {"John Smith", "Smith, Joanna", "Smith\u00A0Jolene", "Joseph Small", "Jo_Anne Smythe"}},
        {"JO", {"John Smith", "Jo_Anne Smythe", "Joseph Small", "Smith, Joanna", "Smith\u00A0Jolene", "Mary Jones"}},
        {"anne", {"Jo_Anne Smythe"}},
        {"zoe smet", {QString::fromUtf8("Zoë Smèt")}},
        {"ojo", {}},
        {"   ", {"Bojo Smith", "Jo_Anne Smythe", "John Smith", "Joseph Small", "Mary Jones", "Smith, Joanna",
                 "Smith\u00A0Jolene", QString::fromUtf8("Zoë Smèt")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        list.setFilterString(QString::fromUtf8(c.filter));
        QStringList expected;
        for (const QString& name : c.found)
            expected << name;
        EXPECT_THAT(names(list.shown()), ::testing::UnorderedElementsAreArray(expected));
    }
    // Typing on narrows what is shown; taking a word back widens it again.
    list.setFilterString("j");
    list.setFilterString("jo");
    list.setFilterString("jo s");
    list.setFilterString("jo sma");
    EXPECT_THAT(names(list.shown()), ElementsAre("Joseph Small"));
    list.setFilterString("jo");
    EXPECT_EQ(list.shown().size(), 6);
    // Everybody is listed by name with years.
    list.setFilterString("");
    EXPECT_EQ(names(list.shown()).first(), "Bojo Smith");
    EXPECT_EQ(list.totalCount(), 8);
}

class Associating : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        focal = person("Ian Smith", M());
        moc->setFocalPerson(focal);
    }
    FTPerson* focal = nullptr;
};

TEST_F(Associating, AddsAPersonAssociatedWithTheFocalPerson)
{
    FTPerson* godfather = AssociatedPeople::addAssociatedPerson(moc.get(), "  Karl Weber ", "m", " Godfather\n", "\nStood at the font. ");
    ASSERT_NE(godfather, nullptr);
    EXPECT_EQ(godfather->name(), "Karl Weber");
    EXPECT_EQ(godfather->gender(), M());
    FTAssociation* association = AssociatedPeople::associationBetween(focal, godfather);
    ASSERT_NE(association, nullptr);
    EXPECT_EQ(association->fromPerson(), focal);
    EXPECT_EQ(association->toPerson(), godfather);
    EXPECT_EQ(association->fromRelationship(), "Godfather");
    EXPECT_EQ(association->notes(), "Stood at the font.");
    EXPECT_EQ(AssociatedPeople::associationBetween(godfather, focal), association);
    EXPECT_EQ(moc->undoManager()->actionName(), "Add Associated Person Karl Weber");
}

TEST_F(Associating, ABlankNameOrAnUnknownGenderMakesNothing)
{
    const int people = int(moc->fetch<FTPerson>().size());
    EXPECT_EQ(AssociatedPeople::addAssociatedPerson(moc.get(), " \t ", "M", "", ""), nullptr);
    EXPECT_EQ(AssociatedPeople::addAssociatedPerson(moc.get(), "Karl Weber", "X", "", ""), nullptr);
    EXPECT_THAT(messages(), ElementsAre(LocalizedString("EmptyNameTryAgain"), LocalizedString("GenderQualification")));
    EXPECT_EQ(int(moc->fetch<FTPerson>().size()), people);
    EXPECT_THAT(moc->fetch<FTAssociation>(), IsEmpty());
}

// Deleting an association offers to delete each of its people who is linked to nobody, never the focal person.
TEST_F(Associating, DeletingAnAssociationOffersToDeleteAnUnconnectedPerson)
{
    FTPerson* loner = AssociatedPeople::addAssociatedPerson(moc.get(), "Karl Weber", "M", "Godfather", "");
    prompts.answer(0); // Yes
    EXPECT_EQ(AssociatedPeople::deleteAssociation(AssociatedPeople::associationBetween(focal, loner)), 1);
    EXPECT_TRUE(loner->isDeleted());
    EXPECT_FALSE(focal->isDeleted());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(prompts.records[0].text.toStdString(), ::testing::HasSubstr("Karl Weber"));
    EXPECT_THAT(moc->fetch<FTAssociation>(), IsEmpty());

    // A person with a parent, child or couple is not offered; "No" keeps the person.
    FTPerson* connected = AssociatedPeople::addAssociatedPerson(moc.get(), "Lena Weber", "F", "", "");
    link(person("Old Weber", M()), connected);
    FTPerson* kept = AssociatedPeople::addAssociatedPerson(moc.get(), "Otto Weber", "M", "", "");
    prompts.clear();
    EXPECT_EQ(AssociatedPeople::deleteAssociation(AssociatedPeople::associationBetween(connected, focal)), 0);
    EXPECT_THAT(prompts.records, IsEmpty());
    prompts.answer(1); // No
    EXPECT_EQ(AssociatedPeople::deleteAssociation(AssociatedPeople::associationBetween(kept, focal)), 0);
    EXPECT_EQ(prompts.records.size(), 1);
    EXPECT_FALSE(kept->isDeleted());
    EXPECT_FALSE(connected->isDeleted());
}

}
