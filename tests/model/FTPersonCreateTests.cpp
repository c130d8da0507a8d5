// Creating relatives and attaching them: the refusals of a new parent-child link, couples, citing a source, and
// which relatives and dialogs the four create commands of the family diagram bring in.

#include "PeopleFixture.h"
#include "RecordingRelativeDialogs.h"

#include "model/CitationDialogs.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/ModelFlags.h"
#include "model/RelativeDialogs.h"

namespace {
struct RecordingCitations : CitationDialogs {
    QList<FTSourceRel*> sheets;
    void beginCitationSheet(Kind kind, FTSourceRel* citation, std::function<void()>) override
    {
        EXPECT_EQ(kind, Kind::Person);
        sheets << citation;
    }
};

class FTPersonCreate : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        RelativeDialogs::install(&dialogs);
        CitationDialogs::install(&citations);
    }
    void TearDown() override
    {
        RelativeDialogs::install(nullptr);
        CitationDialogs::install(nullptr);
        PeopleFixture::TearDown();
    }

    RecordingDialogs dialogs;
    RecordingCitations citations;
};
}

TEST_F(FTPersonCreate, AttachChildRefusesItselfAndAChildLinkedAlready)
{
    FTPerson* dad = person("Tom Ware", M());
    FTPerson* son = person("Sam Ware", M());
    link(dad, son, FTPcRel::kStep);
    const int links = moc->count<FTPcRel>();

    QString reason;
    EXPECT_EQ(dad->attachChild(dad, FTPcRel::kNatural, true, &reason), nullptr);
    EXPECT_EQ(reason, LocalizedString("MergeChild1"));
    EXPECT_EQ(dad->attachChild(son, FTPcRel::kNatural, true, &reason), nullptr) << "a step child is a child already";
    EXPECT_EQ(reason, "Sam Ware " + LocalizedString("MergeChild2") + " Tom Ware");
    // Without a reason to fill, nothing is said.
    EXPECT_EQ(dad->attachChild(son, FTPcRel::kNatural, false, nullptr), nullptr);
    EXPECT_EQ(moc->count<FTPcRel>(), links);
    EXPECT_TRUE(messages().isEmpty());

    FTPerson* daughter = person("Ann Ware", F());
    FTPcRel* made = dad->attachChild(daughter, FTPcRel::kAdopted, true, &reason);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->parent(), dad);
    EXPECT_EQ(made->child(), daughter);
    EXPECT_EQ(made->intPcRelType(), FTPcRel::kAdopted);
}

TEST_F(FTPersonCreate, AnAncestorCannotBecomeAChildUnlessReachedThroughAStepLink)
{
    FTPerson* grandma = person("Edith Cole", F());
    FTPerson* mum = person("Jane Cole", F());
    FTPerson* me = person("Lily Cole", F());
    FTPerson* stepGrandpa = person("Bert Hale", M());
    link(grandma, mum);
    link(mum, me, FTPcRel::kAdopted);
    link(stepGrandpa, mum, FTPcRel::kStep);

    QString reason;
    EXPECT_EQ(me->attachChild(grandma, FTPcRel::kNatural, true, &reason), nullptr);
    EXPECT_EQ(reason, LocalizedString("RecursionFound"));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], QStringLiteral("%1 Lily Cole %2 Edith Cole")
                                 .arg(LocalizedString("AttachChildRecursion"), LocalizedString("ConjunctiveAnd")));
    // The message comes without a reason to fill as well.
    EXPECT_EQ(me->attachChild(grandma, FTPcRel::kNatural, true, nullptr), nullptr);
    EXPECT_EQ(messages().size(), 2);

    EXPECT_TRUE(me->attachChild(stepGrandpa, FTPcRel::kNatural, true, &reason)) << "only a step link leads to him";
    // The check is by person, not by number: people without numbers (a GEDCOM import) are told apart.
    FTPerson* stranger = person("Max Ray", M());
    stranger->setNumericId(0);
    grandma->setNumericId(0);
    EXPECT_TRUE(me->attachChild(stranger, FTPcRel::kNatural, true, &reason));
}

TEST_F(FTPersonCreate, CouplesOfOneSexAreWarnedAboutAndMadeAllTheSame)
{
    FTPerson* a = person("Alan Pike", M());
    FTPerson* b = person("Bill Pike", M());
    FTSpouseRel* couple = a->addSpouseRel(b);
    ASSERT_TRUE(couple);
    EXPECT_EQ(couple->partners().size(), 2);
    EXPECT_TRUE(a->spouseRels().contains(couple) && b->spouseRels().contains(couple));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], QStringLiteral("%1 Alan Pike %2 Bill Pike")
                                 .arg(LocalizedString("AddSameSexUnion"), LocalizedString("ConjunctiveAnd")));

    // A man and a woman, or two people of unknown gender: no warning. Asking twice makes two couples.
    FTPerson* c = person("Cora Pike", F());
    FTPerson* d = person("Dale Pike");
    FTPerson* e = person("Eden Pike");
    a->addSpouseRel(c);
    a->addSpouseRel(c);
    d->addSpouseRel(e);
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(c->spouseRels().size(), 2);
}

TEST_F(FTPersonCreate, ANewChildIsNaturalToTheFirstSpouseAndStepToTheOthers)
{
    defaults().setBool("showAddChildDialog", false);
    FTPerson* dad = person("John Ash", M());
    FTPerson* first = person("Mary Ash", F());
    FTPerson* second = person("Rose Ash", F());
    couple(dad, first);
    couple(dad, second);

    FTPerson* child = dad->createChildNamed("Tim Ash", M());
    ASSERT_TRUE(child);
    EXPECT_EQ(child->gender(), M());
    EXPECT_GT(child->numericId(), 0);
    EXPECT_EQ(typeOf(dad, child), FTPcRel::kNatural);
    EXPECT_EQ(typeOf(first, child), FTPcRel::kNatural);
    EXPECT_EQ(typeOf(second, child), FTPcRel::kStep);
    EXPECT_EQ(dialogs.calls, QStringList { "addChild Tim Ash" }) << "asked for with two spouses";

    // One spouse: the dialog only when the user wants it.
    FTPerson* mum = person("Ivy Oak", F());
    FTPerson* husband = person("Ned Oak", M());
    couple(mum, husband);
    dialogs.calls.clear();
    mum->createChildNamed("Pip Oak", F());
    EXPECT_TRUE(dialogs.calls.isEmpty());
    defaults().setBool("showAddChildDialog", true);
    mum->createChildNamed("Kit Oak", F());
    EXPECT_EQ(dialogs.calls, QStringList { "addChild Kit Oak" });

    // No spouse: no dialog even then.
    dialogs.calls.clear();
    FTPerson* single = person("Una Bell", F());
    FTPerson* only = single->createChildNamed("Leo Bell", M());
    EXPECT_EQ(typeOf(single, only), FTPcRel::kNatural);
    EXPECT_EQ(only->parents().size(), 1);
    EXPECT_TRUE(dialogs.calls.isEmpty());
}

TEST_F(FTPersonCreate, ANewNaturalParentJoinsTheOtherParentAndTheirChildren)
{
    FTPerson* child = person("Amy Fox", F());
    // The first parent: only the add-parent dialog.
    FTPerson* dad = child->createNaturalParentNamed("Ben Fox", M());
    ASSERT_TRUE(dad);
    EXPECT_EQ(typeOf(dad, child), FTPcRel::kNatural);
    EXPECT_EQ(dialogs.calls, QStringList { "addParent Amy Fox Ben Fox 1 -" });

    // A second natural father is refused before anything is made.
    const int people = moc->count<FTPerson>();
    EXPECT_EQ(child->createNaturalParentNamed("Carl Fox", M()), nullptr);
    EXPECT_EQ(messages().last(), LocalizedString("NoTwoNatDads"));
    EXPECT_EQ(moc->count<FTPerson>(), people);

    // The mother: joined to the father, whose other natural child becomes hers (he now has one spouse).
    FTPerson* brother = person("Dan Fox", M());
    link(dad, brother);
    dialogs.calls.clear();
    FTPerson* mum = child->createNaturalParentNamed("Eve Fox", F());
    ASSERT_TRUE(mum);
    EXPECT_EQ(typeOf(mum, child), FTPcRel::kNatural);
    EXPECT_EQ(typeOf(mum, brother), FTPcRel::kNatural);
    EXPECT_EQ(mum->spouses(), QList<FTPerson*> { dad });
    EXPECT_EQ(dialogs.calls, (QStringList { "addParent Amy Fox Eve Fox 1 Ben Fox", "family Eve Fox Ben Fox" }));
    EXPECT_EQ(child->createNaturalParentNamed("Fay Fox", F()), nullptr);
    EXPECT_EQ(messages().last(), LocalizedString("NoTwoNatMums"));
}

TEST_F(FTPersonCreate, ANewNaturalMotherGetsStepChildrenOfAFatherWithAnotherWife)
{
    FTPerson* dad = person("Gus Lane", M());
    FTPerson* wife = person("Hana Lane", F());
    couple(dad, wife);
    FTPerson* half = person("Ian Lane", M());
    link(dad, half);
    link(wife, half);
    FTPerson* child = person("Joy Lane", F());
    link(dad, child);

    dialogs.familyPage = true; // the family page is showing: no family dialog
    FTPerson* mum = child->createNaturalParentNamed("Kay Lane", F());
    ASSERT_TRUE(mum);
    EXPECT_EQ(typeOf(mum, child), FTPcRel::kNatural);
    EXPECT_EQ(typeOf(mum, half), FTPcRel::kStep);
    EXPECT_EQ(dialogs.calls, QStringList { "addParent Joy Lane Kay Lane 1 Gus Lane" });

    // Unless the user always wants it.
    defaults().setBool("alwaysShowFamilyDialog", true);
    FTPerson* other = person("Lou Lane", M());
    link(mum, other);
    dialogs.calls.clear();
    FTPerson* otherDad = other->createNaturalParentNamed("Mel Lane", M());
    EXPECT_EQ(dialogs.calls, (QStringList { "addParent Lou Lane Mel Lane 1 Kay Lane", "family Mel Lane Kay Lane" }));
    EXPECT_EQ(typeOf(otherDad, child), FTPcRel::kStep) << "Kay now has two spouses";
}

TEST_F(FTPersonCreate, ANewStepParentIsAStepParentOfTheOtherParentsChildren)
{
    FTPerson* child = person("Nia Dew", F());
    // Without another natural parent only the parent and its link are made: no dialog.
    FTPerson* first = child->createStepParentNamed("Ola Dew", F());
    EXPECT_EQ(typeOf(first, child), FTPcRel::kStep);
    EXPECT_TRUE(dialogs.calls.isEmpty());
    EXPECT_TRUE(first->spouseRels().isEmpty());

    FTPerson* dad = person("Pat Dew", M());
    link(dad, child);
    FTPerson* brother = person("Quin Dew", M());
    link(dad, brother);
    FTPerson* step = child->createStepParentNamed("Rita Dew", F());
    EXPECT_EQ(typeOf(step, child), FTPcRel::kStep);
    EXPECT_EQ(typeOf(step, brother), FTPcRel::kStep);
    EXPECT_EQ(step->spouses(), QList<FTPerson*> { dad });
    EXPECT_EQ(dialogs.calls, (QStringList { "addParent Nia Dew Rita Dew 2 Pat Dew", "family Rita Dew Pat Dew" }));
}

TEST_F(FTPersonCreate, ANewSpouseIsOfTheOtherGenderAndParentOfTheNaturalChildren)
{
    FTPerson* noGender = person("Sky Vale");
    FTPerson* husband = noGender->createSpouseNamed("Tor Vale", F());
    EXPECT_EQ(husband->gender(), M()) << "unknown gender: a man";
    EXPECT_EQ(dialogs.calls, QStringList { "family Sky Vale Tor Vale" });

    FTPerson* mum = person("Uma Wynn", F());
    FTPerson* kid = person("Vic Wynn", M());
    FTPerson* stepKid = person("Wes Wynn", M());
    link(mum, kid);
    link(mum, stepKid, FTPcRel::kStep);
    dialogs.calls.clear();
    FTPerson* first = mum->createSpouseNamed("Xan Wynn", F());
    EXPECT_EQ(first->gender(), M());
    EXPECT_EQ(typeOf(first, kid), FTPcRel::kNatural);
    EXPECT_EQ(typeOf(first, stepKid), -1) << "only natural children";
    EXPECT_EQ(dialogs.calls, (QStringList { "addParent Vic Wynn Xan Wynn 1 Uma Wynn", "family Uma Wynn Xan Wynn" }));

    FTPerson* second = mum->createSpouseNamed("Yul Wynn", M());
    EXPECT_EQ(typeOf(second, kid), FTPcRel::kStep);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(FTPersonCreate, CitingASourceTwiceKeepsOneCitation)
{
    FTSource* source = FTSource::initInMoc(moc.get());
    FTPerson* p = person("Zoe Hart", F());
    EXPECT_EQ(p->addReferenceToSource(nullptr), nullptr);

    moc->setActiveSource(source);
    moc->setActiveSourcePageRef("p. 12");
    FTSourceRel* first = p->addReferenceToSource(source);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->person(), p);
    EXPECT_EQ(first->itemDescribed(), LocalizedString("Name") + ", " + LocalizedString("Notes"));
    EXPECT_EQ(first->reference(), "p. 12");
    EXPECT_FALSE(moc->hasChanges()) << "saved at once";
    EXPECT_TRUE(messages().isEmpty());

    // The person made while the source was active cites it already; the second call takes that citation.
    FTPerson* q = person("Al Hart", M());
    ASSERT_EQ(q->sourceRels().size(), 1);
    EXPECT_EQ(q->addReferenceToSource(source), q->sourceRels().first());
    EXPECT_EQ(messages(), QStringList { LocalizedString("SourceChosenSingle") });
    EXPECT_EQ(citations.sheets, (QList<FTSourceRel*> { first, q->sourceRels().first() }));

    // Copying from another database: the copied attributes are described and no sheet opens.
    moc->setActiveSource(nullptr);
    FTSource* other = FTSource::initInMoc(moc.get());
    gMergeFromAnotherDatabase = true;
    FTSourceRel* merged = p->addReferenceToSource(other);
    gMergeFromAnotherDatabase = false;
    EXPECT_EQ(merged->itemDescribed(), LocalizedString("Person") + ": Gender, Name");
    EXPECT_TRUE(merged->reference().isEmpty());
    EXPECT_EQ(citations.sheets.size(), 2);
}

TEST_F(FTPersonCreate, AttributesBeingMergedNameTheValuesSetInCapitalisedWords)
{
    FTPerson* p = person("Bo Reed", M());
    p->setNotes("tall");
    p->setCauseOfDeath("fever");
    p->setNickName("Bob"); // name parts are left out
    EXPECT_EQ(p->attributesBeingMerged(), LocalizedString("Person") + ": Causeofdeath, Gender, Name, Notes");
}

TEST_F(FTPersonCreate, TheAttachDialogsAreOpenedForThePerson)
{
    FTPerson* p = person("Cy Moss", M());
    FTPerson* s = person("Di Moss", F());
    p->invokeAttachExistingPersonAsChildDialog();
    p->invokeAttachExistingPersonAsParentDialog();
    p->invokeAttachExistingPersonAsSpouseDialog(true);
    int refreshes = 0;
    auto token = NotificationCenter::defaultCenter().addObserver(
        "RefreshAllViews", nullptr, [&refreshes](const Notification&) { ++refreshes; });
    p->invokeFamilyDialogForSpouse(s);
    NotificationCenter::defaultCenter().removeObserver(token);
    EXPECT_EQ(dialogs.calls,
        (QStringList { "attachChild Cy Moss", "attachParent Cy Moss", "attachSpouse Cy Moss 1", "family Cy Moss Di Moss" }));
    EXPECT_EQ(refreshes, 1);
}
