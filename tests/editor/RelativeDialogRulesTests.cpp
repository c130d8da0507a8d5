// The rules of the dialogs that type, complete and attach relatives: the parent-child type dialog's rows and
// saving, the add-child dialog's titles, ages and event types, the links removed when a dialog closes, the
// candidates of the attach dialogs and their confirmations, the same-sex partner, the assessment reset and the
// unconnected person.
#include "../model/PeopleFixture.h"
#include "../model/RecordingRelativeDialogs.h"

#include "editor/AttachCandidates.h"
#include "editor/AttachExistingPerson.h"
#include "editor/PcRelAssessment.h"
#include "editor/PcRelCleanup.h"
#include "editor/PcRelTypeChoice.h"
#include "editor/RelativeDialogTexts.h"
#include "editor/SameSexPartnership.h"
#include "editor/UnconnectedPersonEntry.h"

#include "model/FTMocUndoManager.h"
#include "model/Inconsistency.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class RelativeDialogRules : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        RelativeDialogs::install(&dialogs);
        NotificationCenter::defaultCenter().addObserver(
            "PCRelTypeChanged", nullptr, [this](const Notification&) { ++typeChanges; }, this);
        NotificationCenter::defaultCenter().addObserver(
            "RefreshAllViews", nullptr, [this](const Notification&) { ++refreshes; }, this);
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserversOf(this);
        RelativeDialogs::install(nullptr);
        PeopleFixture::TearDown();
    }

    RecordingDialogs dialogs;
    int typeChanges = 0;
    int refreshes = 0;
};

// ---- The parent-child type dialog --------------------------------------------------------------------------------

TEST_F(RelativeDialogRules, EachStoredTypeOpensOnItsRowAndEachRowWritesItsType)
{
    EXPECT_EQ(PcRelTypeChoice::typeForRow(5), -1);
    struct Case {
        int stored; // -1: no link
        int row;
    };
    for (const Case c : { Case { -1, 0 }, { 0, 0 }, { 1, 1 }, { 2, 2 }, { 4, 4 }, { 8, 3 }, { 4096, 0 } }) {
        FTPerson* dad = person("Dad", M());
        FTPerson* kid = person("Kid", M());
        if (c.stored >= 0)
            link(dad, kid, c.stored);
        PcRelTypeChoice choice(dad, kid);
        EXPECT_EQ(choice.initialRow(), c.row) << c.stored;
        EXPECT_EQ(choice.pcRelType(), std::max(c.stored, 0));

        // Closing on the row it opened with writes nothing: a "not related" or untyped link is kept.
        EXPECT_TRUE(choice.save());
        EXPECT_EQ(typeOf(dad, kid), c.stored) << c.stored;
    }
    EXPECT_EQ(typeChanges, 0);

    // Every other row writes its type, to the link or to a new one.
    const int expected[] = { 0, 1, 2, 8, 4 };
    for (int row = 1; row < PcRelTypeChoice::RowCount; ++row) {
        FTPerson* mum = person("Mum", F());
        FTPerson* kid = person("Kid", F());
        PcRelTypeChoice fresh(mum, kid);
        fresh.selectRow(row);
        EXPECT_TRUE(fresh.save());
        EXPECT_EQ(typeOf(mum, kid), expected[row]);
    }
    EXPECT_EQ(typeChanges, 4);
}

TEST_F(RelativeDialogRules, NotRelatedDeletesTheLinkUnderItsUndoName)
{
    FTPerson* dad = person("Dad", M());
    FTPerson* kid = person("Kid", M());
    link(dad, kid, FTPcRel::kStep);
    moc->undoManager()->closeOpenGroups();

    PcRelTypeChoice choice(dad, kid);
    choice.selectRow(PcRelTypeChoice::NotRelated);
    EXPECT_TRUE(choice.save());
    EXPECT_EQ(typeOf(dad, kid), -1);
    EXPECT_EQ(choice.pcRel(), nullptr);
    EXPECT_EQ(moc->undoManager()->actionName(), LocalizedString("DeletePCRel"));
    EXPECT_EQ(typeChanges, 1);

    // A chosen row for a child who is an ancestor of the parent makes no link, and the dialog still closes.
    FTPerson* grandson = person("Grandson", M());
    link(kid, grandson);
    PcRelTypeChoice loop(grandson, dad);
    loop.selectRow(PcRelTypeChoice::Natural);
    link(dad, kid);
    EXPECT_TRUE(loop.save());
    EXPECT_EQ(typeOf(grandson, dad), -1);
    EXPECT_EQ(prompts.records.size(), 1); // the family database's own message about the loop
}

TEST_F(RelativeDialogRules, TheNaturalRowIsClosedWhileTheChildHasANaturalParentOfThatGender)
{
    FTPerson* mother = person("Mary Smith", F());
    FTPerson* stepMother = person("Jane Brown", F());
    FTPerson* father = person("John Smith", M());
    FTPerson* tom = person("Tom Smith", M());
    link(mother, tom);
    link(stepMother, tom, FTPcRel::kStep);

    PcRelTypeChoice second(stepMother, tom);
    EXPECT_EQ(second.otherNaturalParent(), mother);
    EXPECT_FALSE(second.isRowEnabled(PcRelTypeChoice::Natural));
    const QString was = LocalizedString("was");
    EXPECT_THAT(second.rowTitles(),
        ElementsAre(LocalizedString("notRelatedTo"),
            "( Tom Smith'" + LocalizedString("possessiveSuffix") + " " + LocalizedString("Natural") + " "
                + LocalizedString("mother") + was + " Mary Smith )",
            " " + LocalizedString("Step") + " " + LocalizedString("mother") + " " + LocalizedString("ConjunctiveOf"),
            " " + LocalizedString("Adopted") + " " + LocalizedString("mother") + " " + LocalizedString("ConjunctiveOf"),
            " " + LocalizedString("Foster") + " " + LocalizedString("mother") + " " + LocalizedString("ConjunctiveOf")));

    // The natural mother herself and a man keep the row.
    EXPECT_TRUE(PcRelTypeChoice(mother, tom).isRowEnabled(PcRelTypeChoice::Natural));
    PcRelTypeChoice man(father, tom);
    EXPECT_TRUE(man.isRowEnabled(PcRelTypeChoice::Natural));
    EXPECT_EQ(man.rowTitles()[1], " " + LocalizedString("Natural") + " " + LocalizedString("father") + " "
            + LocalizedString("ConjunctiveOf"));
}

TEST_F(RelativeDialogRules, TheReasonsTextHeadsEachPartAndColoursParentAndChild)
{
    FTPerson* dad = person("Adam Old", M());
    FTPerson* kid = person("Cain Young", M());
    year(dad, "birth", 1900);
    year(kid, "birth", 1905); // a father of five
    FTPcRel* l = link(dad, kid);
    l->setNotes("From the parish register");
    l->setDirectEvidence(true);

    QTextDocument text;
    text.setHtml(PcRelTypeChoice(dad, kid).reasonForUncertainty());
    const QString plain = text.toPlainText();
    EXPECT_TRUE(plain.startsWith(LocalizedString("Inconsistencies") + "\n\n" + l->reasonsForUncertainty()[0].reason()));
    EXPECT_TRUE(plain.contains(LocalizedString("RelNotes") + "\n\nFrom the parish register\n\n" + LocalizedString("Direct")));

    // Each piece of text as "<colour>[ underlined]: <text>".
    std::vector<std::string> runs;
    for (QTextBlock b = text.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            runs.push_back(QStringLiteral("%1%2: %3")
                               .arg(f.charFormat().foreground().color().name(),
                                   f.charFormat().fontUnderline() ? " underlined" : "", f.text())
                               .toStdString());
        }
    using ::testing::Contains;
    using ::testing::StartsWith;
    EXPECT_THAT(runs, Contains(("#000000 underlined: " + LocalizedString("Inconsistencies")).toStdString()));
    EXPECT_THAT(runs, Contains(("#dc0000 underlined: " + LocalizedString("Parent")).toStdString()));
    EXPECT_THAT(runs, Contains(StartsWith("#dc0000: Adam Old")));
    EXPECT_THAT(runs, Contains(("#0000dc underlined: " + LocalizedString("Child")).toStdString()));
    EXPECT_THAT(runs, Contains(StartsWith("#0000dc: Cain Young")));

    // Without a link: nothing found, no notes.
    text.setHtml(PcRelTypeChoice(kid, person("Abel", M())).reasonForUncertainty());
    EXPECT_TRUE(text.toPlainText().contains(LocalizedString("RelNotes") + "\n\n" + LocalizedString("None")));
}

// ---- The add-child and person details dialog --------------------------------------------------------------------

TEST_F(RelativeDialogRules, TheDetailsTitleNamesTheNaturalParents)
{
    FTPerson* tom = person("Tom Smith", M());
    EXPECT_EQ(RelativeDialogTexts::addChildTitle(tom), "Tom Smith");
    FTPerson* mary = person("Mary Jones", F());
    link(mary, tom);
    const QString childOf = LocalizedString("childOf");
    EXPECT_EQ(RelativeDialogTexts::addChildTitle(tom), "Tom Smith, " + childOf + " Mary Jones");
    link(person("Bill Step", M()), tom, FTPcRel::kStep);
    EXPECT_EQ(RelativeDialogTexts::addChildTitle(tom), "Tom Smith, " + childOf + " Mary Jones");
    link(person("John Smith", M()), tom);
    EXPECT_EQ(RelativeDialogTexts::addChildTitle(tom),
        "Tom Smith, " + childOf + " John Smith " + LocalizedString("ConjunctiveAnd") + " Mary Jones");
}

TEST_F(RelativeDialogRules, TheAgeAtAnEventCountsWholeYears)
{
    FTPerson* p = person("Ann Old", F());
    date(p, "birth", 15, 6, 1900);
    FTEvent* e = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, p, "RESI");
    for (const auto& [typed, age] : { std::pair { "1 Jun 1950", 49 }, { "15 Jun 1950", 50 }, { "1950", 50 } }) {
        e->setDate(typed);
        EXPECT_EQ(RelativeDialogTexts::ageAtEvent(e, p), age) << typed;
    }
    EXPECT_EQ(RelativeDialogTexts::ageAtEvent(e, person("No Birth", F())), 0);
}

TEST_F(RelativeDialogRules, ChoosingAnEventTypeAsksToRenameOnlyWhenTheNamesDiffer)
{
    FTPerson* p = person("Ann Old", F());
    FTEvent* unnamed = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, p, "RESI");
    FTEvent* named = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, p, "RESI");
    named->setName("Farm in Kent");
    const QString baptism = "Baptism";
    ASSERT_EQ(RelativeDialogTexts::tagForEventTypeName("Baptism"), "BAPM");
    EXPECT_EQ(RelativeDialogTexts::tagForEventTypeName("No such type"), "");

    // An event named after its type takes the new type's name without a question.
    EXPECT_TRUE(RelativeDialogTexts::chooseEventType(unnamed, baptism));
    EXPECT_EQ(unnamed->subtype(), "BAPM");
    EXPECT_TRUE(prompts.records.isEmpty());
    // The same type again, or an unknown one, changes nothing.
    EXPECT_FALSE(RelativeDialogTexts::chooseEventType(unnamed, baptism));
    EXPECT_FALSE(RelativeDialogTexts::chooseEventType(unnamed, "No such type"));

    // A name of its own is kept unless the user says "Change".
    EXPECT_TRUE(RelativeDialogTexts::chooseEventType(named, baptism));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("ChangeEventName") + "\n\n \"Farm in Kent\"\n\n to\n\n \"Baptism\"?");
    EXPECT_THAT(prompts.records[0].buttons, ElementsAre(LocalizedString("NoChange"), LocalizedString("Change")));
    EXPECT_EQ(named->subtype(), "BAPM");
    EXPECT_EQ(named->name(), "Farm in Kent");
    prompts.answer(1);
    EXPECT_TRUE(RelativeDialogTexts::chooseEventType(named, "Burial"));
    EXPECT_EQ(named->name(), "Burial");
}

// ---- The links removed when a dialog closes ---------------------------------------------------------------------

TEST_F(RelativeDialogRules, TheDetailsDialogDeletesOnlyTheLinksSetToNotRelatedInIt)
{
    FTPerson* tom = person("Tom Smith", M());
    FTPerson* dad = person("John Smith", M());
    FTPerson* mum = person("Mary Jones", F());
    FTPerson* oldUnknown = person("Old Unknown", M());
    link(oldUnknown, tom, FTPcRel::kUnknown);
    FTPcRel* oldNotRelated = link(person("Old Stranger", F()), tom, FTPcRel::kNotRelated);
    FTPcRel* toDad = link(dad, tom);
    FTPcRel* toMum = link(mum, tom);
    moc->setFocalPerson(dad);

    PcRelCleanup cleanup(PcRelCleanup::ParentIsFocalPerson);
    cleanup.setStringPcRelType(toDad, LocalizedString("Not Related"));
    cleanup.setStringPcRelType(toMum, LocalizedString("Not Related"));
    cleanup.setStringPcRelType(toMum, LocalizedString("Adopted")); // changed back: kept
    cleanup.setStringPcRelType(oldNotRelated, LocalizedString("Not Related")); // no change
    EXPECT_EQ(cleanup.deleteChosenLinks(), 1);

    EXPECT_EQ(typeOf(dad, tom), -1);
    EXPECT_EQ(typeOf(mum, tom), FTPcRel::kAdopted);
    EXPECT_EQ(typeOf(oldUnknown, tom), FTPcRel::kUnknown);
    EXPECT_EQ(oldNotRelated->intPcRelType(), FTPcRel::kNotRelated);
    // The focal person's child is no longer shown around him: said first.
    EXPECT_THAT(messages(), ElementsAre("\"Tom Smith\"\n" + LocalizedString("personNotDisplayed") + "\n\"John Smith\""));
    EXPECT_EQ(moc->undoManager()->actionName(), LocalizedString("DeletePCRel"));
}

TEST_F(RelativeDialogRules, TheNewParentsDialogsDeleteEveryUnwantedLink)
{
    FTPerson* parent = person("New Parent", F());
    FTPerson* focal = person("Focal Child", M());
    FTPerson* other = person("Other Child", F());
    QList<FTPcRel*> links { link(parent, focal, FTPcRel::kNotRelated), link(parent, other, FTPcRel::kUnknown),
        link(parent, person("Kept Child", M()), FTPcRel::kStep) };
    moc->setFocalPerson(focal);

    // The add-parent dialog names the focal person's parent first.
    EXPECT_EQ(PcRelCleanup(PcRelCleanup::ChildIsFocalPerson).deleteUnwantedLinks(links), 2);
    EXPECT_THAT(messages(), ElementsAre("\"New Parent\"\n" + LocalizedString("personNotDisplayed") + "\n\"Focal Child\""));
    ASSERT_EQ(parent->childRels().size(), 1);
    EXPECT_EQ(parent->childRels()[0]->child()->name(), "Kept Child");

    // The same-sex partner dialog says nothing.
    prompts.clear();
    EXPECT_EQ(PcRelCleanup().deleteUnwantedLinks({ link(parent, focal, FTPcRel::kNotRelated) }), 1);
    EXPECT_THAT(messages(), IsEmpty());
}

// ---- The attach dialogs -------------------------------------------------------------------------------------------

TEST_F(RelativeDialogRules, TypedAgesAreClampedAndEmptiedOnesTakeTheirDefaults)
{
    using F = AttachCandidates::AgeField;
    struct Case {
        F field;
        const char* typed;
        int value;
    };
    for (const Case c : { Case { F::Minimum, "5", 10 }, { F::Minimum, "25", 25 }, { F::Minimum, "", 10 },
             { F::Maximum, "95", 80 }, { F::Maximum, "60", 60 }, { F::Maximum, "", 80 }, { F::Range, "95", 95 },
             { F::Range, "", 0 } })
        EXPECT_EQ(AttachCandidates::ageForText(c.field, c.typed), c.value) << c.typed;
}

TEST_F(RelativeDialogRules, CandidatesAreOfOneGenderWithinTheYearsLessThoseLinked)
{
    FTPerson* mother = person("Mary Old", F());
    year(mother, "birth", 1900);
    for (const auto& [name, gender, born] : { std::tuple { "zed Young", "M", 1920 }, { "Abel Young", "M", 1940 },
             { "Too Young", "M", 1911 }, { "Too Old", "M", 1946 }, { "Ann Young", "F", 1925 }, { "bob young", "M", 1930 } })
        year(person(name, gender), "birth", born);
    FTPerson* linked = person("Linked Son", M());
    year(linked, "birth", 1925);
    link(mother, linked);

    EXPECT_EQ(AttachCandidates::childYears(mother, 18, 45), (AttachCandidates::Years { 1918, 1945 }));
    EXPECT_THAT(names(AttachCandidates(moc.get()).childCandidates(mother, 18, 45, true)),
        ElementsAre("Abel Young", "bob young", "zed Young"));
    EXPECT_THAT(names(AttachCandidates(moc.get()).childCandidates(mother, 18, 45, false)), ElementsAre("Ann Young"));
    // A minimum below ten is ten; a minimum above the maximum finds nobody.
    EXPECT_THAT(names(AttachCandidates(moc.get()).childCandidates(mother, 5, 11, true)), ElementsAre("Too Young"));
    EXPECT_THAT(AttachCandidates(moc.get()).childCandidates(mother, 50, 40, true), IsEmpty());

    // The parents of a child born in 1930: fathers 18 to 45 years older, less the present ones.
    FTPerson* child = person("Carl Child", M());
    year(child, "birth", 1930);
    FTPerson* father = person("Frank Father", M());
    year(father, "birth", 1900);
    year(person("Greg Other", M()), "birth", 1890);
    EXPECT_EQ(AttachCandidates::parentYears(child, 18, 45), (AttachCandidates::Years { 1885, 1912 }));
    EXPECT_THAT(names(AttachCandidates(moc.get()).parentCandidates(child, 18, 45, true)),
        ElementsAre("Frank Father", "Greg Other", "Too Young"));
    link(father, child);
    EXPECT_THAT(names(AttachCandidates(moc.get()).parentCandidates(child, 18, 45, true)), ElementsAre("Greg Other", "Too Young"));
    // An emptied minimum and maximum: 10 and 80 years.
    EXPECT_EQ(AttachCandidates::parentYears(child, AttachCandidates::ageForText(AttachCandidates::AgeField::Minimum, ""),
                  AttachCandidates::ageForText(AttachCandidates::AgeField::Maximum, "")),
        (AttachCandidates::Years { 1850, 1920 }));

    // Spouses: the other gender within the range, never the person or a present spouse; the same gender on request.
    FTPerson* wife = person("Wendy Wife", F());
    year(wife, "birth", 1929);
    couple(child, wife);
    FTPerson* single = person("Sue Single", F());
    year(single, "birth", 1934);
    year(person("Sam Same", M()), "birth", 1931);
    EXPECT_THAT(names(AttachCandidates(moc.get()).spouseCandidates(child, 5, false)), ElementsAre("Ann Young", "Sue Single"));
    EXPECT_THAT(names(AttachCandidates(moc.get()).spouseCandidates(child, 0, false)), IsEmpty());
    EXPECT_THAT(names(AttachCandidates(moc.get()).spouseCandidates(child, 2, true)), ElementsAre("bob young", "Sam Same"));
}

TEST_F(RelativeDialogRules, DetailsWarnOfNaturalParentsAndSpouses)
{
    FTPerson* tom = person("Tom Smith", M());
    date(tom, "birth", 1, 2, 1900)->setPlace("Leeds");
    FTPerson* john = person("John Smith", M());
    link(john, tom);
    const QString base = "\n" + LocalizedString("Name") + ": Tom Smith\n\n" + LocalizedString("Born") + ": 01 Feb 1900 "
        + LocalizedString("ConjunctiveAt") + " Leeds\n\n" + LocalizedString("Died") + ": \n\n"
        + LocalizedString("NaturalFather") + ": John Smith\n\n" + LocalizedString("NaturalMother") + ": ";
    EXPECT_EQ(AttachCandidates::details(tom), base);

    const QString warning = "\n\n" + LocalizedString("WARNING") + ":\n";
    FTPerson* otherMan = person("Bill Other", M());
    FTPerson* woman = person("Ann Other", F());
    EXPECT_EQ(AttachCandidates::childDetails(otherMan, tom),
        base + warning + "Tom Smith " + LocalizedString("hasNatural") + " " + LocalizedString("father"));
    EXPECT_EQ(AttachCandidates::childDetails(woman, tom), base);
    // The parent dialog warns about the child: Tom has a natural father, so another man would be a step father.
    EXPECT_EQ(AttachCandidates::parentDetails(tom, otherMan),
        AttachCandidates::details(otherMan) + warning + "Tom Smith " + LocalizedString("hasNatural") + " "
            + LocalizedString("father"));
    EXPECT_EQ(AttachCandidates::parentDetails(tom, woman), AttachCandidates::details(woman));

    couple(otherMan, woman);
    EXPECT_EQ(AttachCandidates::spouseDetails(woman), AttachCandidates::details(woman) + warning + "Ann Other "
            + LocalizedString("alreadyHas") + " 1 " + LocalizedString("spouse"));
    couple(person("Carl Third", M()), woman);
    EXPECT_TRUE(AttachCandidates::spouseDetails(woman).endsWith(" 2 " + LocalizedString("spouse") + LocalizedString("pluralization")));

    EXPECT_EQ(AttachCandidates::noParentsTitle(true, { 1950, 1940 }),
        LocalizedString("AttachParentMsgTitle1") + " " + LocalizedString("father") + " "
            + LocalizedString("AttachParentMsgTitle2") + " 1950 " + LocalizedString("ConjunctiveAnd") + " 1940.");
    EXPECT_EQ(AttachCandidates::noParentsInfo(60, 50),
        "\n" + LocalizedString("AttachParentMsg1") + " 60 - 50\n\n" + LocalizedString("AttachParentMsg2"));
}

TEST_F(RelativeDialogRules, AChildAttachedToAFatherIsTheStepChildOfWivesWhenItHasANaturalMother)
{
    FTPerson* father = person("John Smith", M());
    FTPerson* first = person("Ann First", F());
    FTPerson* second = person("Bea Second", F());
    couple(father, first);
    couple(father, second);
    FTPerson* tom = person("Tom Brown", M());
    link(person("Mary Brown", F()), tom);

    EXPECT_TRUE(AttachExistingPerson::attachChild(father, tom));
    EXPECT_EQ(typeOf(father, tom), FTPcRel::kNatural);
    EXPECT_EQ(typeOf(first, tom), FTPcRel::kStep);
    EXPECT_EQ(typeOf(second, tom), FTPcRel::kStep);
    EXPECT_THAT(dialogs.calls, ElementsAre("addChild Tom Brown"));
    EXPECT_EQ(refreshes, 1);

    // Without a natural mother the first wife is the natural one, the second a step mother.
    FTPerson* sam = person("Sam Smith", M());
    EXPECT_TRUE(AttachExistingPerson::attachChild(father, sam));
    EXPECT_EQ(typeOf(first, sam), FTPcRel::kNatural);
    EXPECT_EQ(typeOf(second, sam), FTPcRel::kStep);
    EXPECT_THAT(messages(), IsEmpty());
}

TEST_F(RelativeDialogRules, AStepLinkIsAskedAboutAndARefusedLinkReported)
{
    FTPerson* father = person("John Smith", M());
    FTPerson* wife = person("Ann Smith", F());
    couple(father, wife);
    FTPerson* tom = person("Tom Brown", M());
    link(person("Bill Brown", M()), tom);

    QString warning;
    EXPECT_EQ(AttachExistingPerson::childLinkType(father, tom, &warning), FTPcRel::kStep);
    EXPECT_EQ(warning, "\n\n" + LocalizedString("WARNING") + ":\n\"Tom Brown\" " + LocalizedString("hasNatural") + " "
            + LocalizedString("father") + ", \"Bill Brown\"");
    const int links = moc->count<FTPcRel>();
    prompts.answer(1); // Cancel
    EXPECT_FALSE(AttachExistingPerson::attachChild(father, tom));
    EXPECT_EQ(moc->count<FTPcRel>(), links);
    EXPECT_THAT(prompts.records[0].buttons, ElementsAre(LocalizedString("Continue"), LocalizedString("Cancel")));
    EXPECT_THAT(dialogs.calls, IsEmpty());

    // Continue: a step son of the father, a natural son of his wife.
    EXPECT_TRUE(AttachExistingPerson::attachChild(father, tom));
    EXPECT_EQ(typeOf(father, tom), FTPcRel::kStep);
    EXPECT_EQ(typeOf(wife, tom), FTPcRel::kNatural);

    // The father's own father cannot be his child: reported with the reason, nothing else tried.
    FTPerson* grandfather = person("Old Smith", M());
    link(grandfather, father);
    prompts.clear();
    EXPECT_FALSE(AttachExistingPerson::attachChild(father, grandfather));
    EXPECT_EQ(messages().last(), QStringLiteral("%1 Old Smith %2 John Smith.\n\n%3: %4")
                                     .arg(LocalizedString("AttachChild1"), LocalizedString("AttachChild2"),
                                         LocalizedString("Reason"), LocalizedString("RecursionFound")));
    EXPECT_EQ(typeOf(wife, grandfather), -1);
}

TEST_F(RelativeDialogRules, AnAttachedParentIsNaturalOnlyWhereTheChildHasNone)
{
    FTPerson* tom = person("Tom", M());
    EXPECT_EQ(AttachExistingPerson::parentLinkType(person("Bill", M()), tom), FTPcRel::kNatural);
    EXPECT_EQ(AttachExistingPerson::parentLinkType(person("Nobody", ""), tom), FTPcRel::kStep);
    FTPerson* mary = person("Mary", F());
    AttachExistingPerson::attachParent(mary, tom);
    EXPECT_EQ(typeOf(mary, tom), FTPcRel::kNatural);
    FTPerson* jane = person("Jane", F());
    AttachExistingPerson::attachParent(jane, tom);
    EXPECT_EQ(typeOf(jane, tom), FTPcRel::kStep);

    AttachExistingPerson::attachSpouse(tom, jane);
    EXPECT_THAT(tom->spouses(), ElementsAre(jane));
    EXPECT_EQ(messages().last(), LocalizedString("AttSpouseInfo"));
    EXPECT_EQ(refreshes, 3);
}

// ---- The same-sex partner, the assessment and the unconnected person ----------------------------------------------

TEST_F(RelativeDialogRules, ASameSexPartnerHasThePersonsGenderAndStepLinksByBirthYear)
{
    FTPerson* anne = person("Anne Smith", F());
    for (const auto& [name, born] : { std::pair { "Cara Smith", 1960 }, { "Abe Smith", 1965 }, { "Bea Smith", 1955 } })
        year(link(anne, person(name, M()))->child(), "birth", born);
    link(anne, person("Step Child", M()), FTPcRel::kStep);

    FTSpouseRel* rel = nullptr;
    FTPerson* partner = SameSexPartnership::createPartner(anne, "Mary Jones", &rel);
    ASSERT_NE(partner, nullptr);
    EXPECT_EQ(partner->gender(), F());
    EXPECT_THAT(anne->spouses(), ElementsAre(partner));
    EXPECT_THAT(rel->partners(), ::testing::UnorderedElementsAre(anne, partner));
    EXPECT_THAT(messages(), IsEmpty()); // no warning about a couple of one sex
    QStringList rows;
    for (const FTPcRel* l : RelativeDialogTexts::childLinksByBirthYear(partner))
        rows << QStringLiteral("%1 %2").arg(l->child()->name()).arg(l->intPcRelType());
    EXPECT_THAT(rows, ElementsAre("Bea Smith 2", "Cara Smith 2", "Abe Smith 2"));
    EXPECT_EQ(RelativeDialogTexts::sameSexPartnerCaption(partner, anne),
        "Mary Jones " + LocalizedString("relDesc") + " Anne Smith'" + LocalizedString("possessiveSuffix") + " "
            + LocalizedString("children"));
}

TEST_F(RelativeDialogRules, TheAddParentTitleNamesThePartnerOrTheChild)
{
    FTPerson* john = person("John Smith", M());
    FTPerson* tom = person("Tom Smith", M());
    const QString of = LocalizedString("ConjunctiveOf");
    EXPECT_EQ(RelativeDialogTexts::addParentTitle(tom, john, 0), LocalizedString("Add") + " " + LocalizedString("wife") + " " + of + " John Smith");
    EXPECT_EQ(RelativeDialogTexts::addParentTitle(tom, john, 1), LocalizedString("Add") + " " + LocalizedString("spouse") + " " + of + " John Smith");
    EXPECT_EQ(RelativeDialogTexts::addParentTitle(tom, person("Mary", F()), 0),
        LocalizedString("Add") + " " + LocalizedString("husband") + " " + of + " Mary");
    EXPECT_EQ(RelativeDialogTexts::addParentTitle(tom, john, 4), LocalizedString("Add") + " " + LocalizedString("partner") + " " + of + " John Smith");
    EXPECT_EQ(RelativeDialogTexts::addParentTitle(tom, nullptr, 0), LocalizedString("AddParent") + " " + of + " Tom Smith");
}

TEST_F(RelativeDialogRules, TheAssessmentResetLeavesNoExtraData)
{
    FTPerson* dad = person("Dad", M());
    year(dad, "birth", 1900);
    FTPcRel* plausible = link(dad, person("Kid", M()));
    year(plausible->child(), "birth", 1925);
    FTPcRel* doubtful = link(dad, person("Late Kid", M()));
    year(doubtful->child(), "birth", 1990); // a father of ninety
    for (FTPcRel* l : { plausible, doubtful }) {
        l->setCertainty(80);
        l->setNotes("Family bible");
        l->setOriginalSource(true);
        PcRelAssessment::resetToDefaults(l);
        EXPECT_TRUE(l->extraData().isEmpty());
        EXPECT_TRUE(l->notes().isNull());
        EXPECT_FALSE(l->originalSource());
    }
    EXPECT_EQ(plausible->certainty(), 50);
    EXPECT_EQ(doubtful->certainty(), 20);
}

TEST_F(RelativeDialogRules, AnUnconnectedPersonNeedsANameAndAGender)
{
    EXPECT_EQ(UnconnectedPersonEntry::problemWith("   ", "M"), "EnterNameTryAgain");
    EXPECT_EQ(UnconnectedPersonEntry::problemWith("Ann", "X"), "GenderQualification");
    EXPECT_EQ(UnconnectedPersonEntry::problemWith("Ann", "f"), "");
    const int people = moc->count<FTPerson>();
    EXPECT_EQ(UnconnectedPersonEntry::create(moc.get(), "  ", "M"), nullptr);
    EXPECT_THAT(messages(), ElementsAre(LocalizedString("EnterNameTryAgain")));
    EXPECT_EQ(moc->count<FTPerson>(), people);

    moc->undoManager()->closeOpenGroups();
    FTPerson* ann = UnconnectedPersonEntry::create(moc.get(), "  Ann Alone ", "f");
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(ann->name(), "Ann Alone");
    EXPECT_EQ(ann->gender(), F());
    EXPECT_TRUE(ann->isUnconnected());
    EXPECT_EQ(moc->undoManager()->actionName(), LocalizedString("AddUnconnected") + " Ann Alone");

    // The focus is an undo step of its own: undoing it keeps the person.
    UnconnectedPersonEntry::focusOn(ann);
    EXPECT_EQ(moc->focalPerson(), ann);
    EXPECT_EQ(moc->undoManager()->undoActionName(), LocalizedString("FocusOn") + " Ann Alone");
}

}
