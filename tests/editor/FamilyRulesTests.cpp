// The rules of the family page and the family dialog: the couple shown and its labels, what can be used, the notes
// marks, the children's rows and geometry, the key moves of the two kinds of table, children and spouses typed in,
// and the dialog's title, couple and event types.
#include "../model/PeopleFixture.h"

#include "editor/FamilyChildren.h"
#include "editor/FamilyChildrenLayout.h"
#include "editor/FamilyCouple.h"
#include "editor/FamilyDialogRules.h"
#include "editor/FamilyTableKeys.h"

#include "diagrams/TextMeasurer.h"

#include "model/FTEvent.h"
#include "model/FTSpouseRel.h"

#include <gmock/gmock.h>

#include <numeric>

using ::testing::ElementsAre;
using Tag = FamilyCouple::Tag;
using Keys = FamilyTableKeys;
using Move = FamilyTableKeys::Move;
using Command = FamilyTableKeys::Command;

namespace {

class FamilyRules : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        NotificationCenter::defaultCenter().addObserver(
            "CdArrayNeedsRefresh", nullptr, [this](const Notification&) { ++cdRefreshes; }, this);
        NotificationCenter::defaultCenter().addObserver(
            "RefreshAllViews", nullptr, [this](const Notification&) { ++refreshes; }, this);
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserversOf(this);
        PeopleFixture::TearDown();
    }
    FTPerson* born(const QString& name, const QString& gender, const QString& date)
    {
        FTPerson* p = person(name, gender);
        p->setValueForKeyPath("birth.date", date);
        return p;
    }
    // A man with three wives, married in this order, the second of them the focal person.
    void threeWives()
    {
        john = born("John Smith", M(), "1900");
        for (const char* name : {"Ann Jones", "Beth Hill", "Cath Moor"}) {
            FTPerson* wife = born(QString::fromLatin1(name), F(), "1902");
            FTSpouseRel* c = couple(john, wife);
            c->setValueForKeyPath("marriage.date", QString::number(1920 + 5 * int(wives.size())));
            wives << wife;
        }
    }

    FTPerson* john = nullptr;
    QList<FTPerson*> wives;
    int cdRefreshes = 0;
    int refreshes = 0;
};

TEST_F(FamilyRules, TheSpouseShownIsTheFocalPersonElseTheOneInTheDiagramElseTheFirst)
{
    threeWives();
    struct Case {
        FTPerson* focal;
        FTPerson* inDiagram;
        FTPerson* shown;
    };
    const Case cases[] = {
        {wives[1], wives[2], wives[1]},
        {john, wives[2], wives[2]},
        {john, nullptr, wives[0]},
    };
    for (const Case& c : cases) {
        moc->setFocalPerson(c.focal);
        const FamilyCouple couple = FamilyCouple::forSelectedPerson(john, [&](FTPerson* p) { return p == c.inDiagram; });
        EXPECT_EQ(couple.husband(), john);
        EXPECT_EQ(couple.wife(), c.shown);
        EXPECT_EQ(couple.wives(), wives);
        EXPECT_TRUE(couple.husbands().isEmpty());
    }
    // Anyone who is not a man, an unknown gender too, is shown on the wife's side.
    FTPerson* pat = person("Pat Doe", QString());
    FTPerson* sam = person("Sam Doe", M());
    couple(pat, sam);
    const FamilyCouple mirrored = FamilyCouple::forSelectedPerson(pat, {});
    EXPECT_EQ(mirrored.wife(), pat);
    EXPECT_EQ(mirrored.husband(), sam);
    EXPECT_EQ(mirrored.husbands(), QList<FTPerson*> {sam});
}

TEST_F(FamilyRules, LabelsOfEachStyleWithOneAndWithThreeSpouses)
{
    threeWives();
    moc->setFocalPerson(wives[1]);
    const FamilyCouple three = FamilyCouple::forSelectedPerson(john, {});
    FTPerson* tom = born("Tom Brown", M(), "1930");
    FTPerson* ruth = born("Ruth Green", F(), "1932");
    couple(tom, ruth)->setValueForKeyPath("marriage.place", "Leeds");
    const FamilyCouple one = FamilyCouple::forSelectedPerson(ruth, {});
    struct Case {
        int style;
        QString threeWives;
        QString oneHusband;
    };
    // The second wife's couple has a marriage event, as every couple here does.
    const Case cases[] = {
        {0, "Wives (3)", "Husband"},
        {1, "Spouses (3)", "Spouse"},
        {2, "Partners (3)", "Partner"},
        {3, " (3)", ""},
        {4, "Wife (3)", "Husband"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(three.labels(c.style), (FamilyCouple::Labels {"", c.threeWives})) << c.style;
        EXPECT_EQ(one.labels(c.style), (FamilyCouple::Labels {c.oneHusband, ""})) << c.style;
    }
    // Automatic labels without a marriage event.
    FTPerson* al = born("Al Grey", M(), "1940");
    FTPerson* di = born("Di Grey", F(), "1941");
    couple(al, di);
    EXPECT_EQ(FamilyCouple::forSelectedPerson(al, {}).labels(4), (FamilyCouple::Labels {"", "Spouse/Partner"}));
    EXPECT_EQ(FamilyCouple::forSelectedPerson(person("Lone Man", M()), {}).labels(0), (FamilyCouple::Labels {"", "Wife"}));
}

TEST_F(FamilyRules, FieldsAreUsableForThePartnersShown)
{
    FTPerson* man = person("Jim Alone", M());
    FTPerson* bob = person("Bob Two", M());
    FTPerson* eve = person("Eve Two", F());
    couple(bob, eve);
    const FamilyCouple none;
    const FamilyCouple onlyHusband = FamilyCouple::forSelectedPerson(man, {});
    const FamilyCouple both = FamilyCouple::forSelectedPerson(bob, {});
    const int tags[] = {Tag::HusbandName, Tag::HusbandBirthDate, Tag::WifeName, Tag::WifeDeathPlace,
        Tag::MarriageDate, Tag::ChildrenTable};
    const bool expected[][6] = {
        {true, false, true, false, false, false},
        {true, true, true, false, false, false},
        {true, true, true, true, true, true},
    };
    const FamilyCouple* couples[] = {&none, &onlyHusband, &both};
    for (int c = 0; c < 3; ++c)
        for (int t = 0; t < 6; ++t)
            EXPECT_EQ(couples[c]->isEnabled(tags[t]), expected[c][t]) << c << " " << tags[t];
}

TEST_F(FamilyRules, NotesButtonsReadThePartnersAndTheMarriage)
{
    FTPerson* bob = person("Bob Two", M());
    FTPerson* eve = person("Eve Two", F());
    bob->setNotes("A miller.");
    eve->setValueForKeyPath("death.notes", "Of a fever.");
    couple(bob, eve)->setValueForKeyPath("marriage.notes", "By licence.");
    const FamilyCouple c = FamilyCouple::forSelectedPerson(eve, {});
    EXPECT_EQ(c.notesFor(Tag::HusbandNotesButton), "A miller.");
    EXPECT_EQ(c.notesFor(Tag::HusbandBirthNotesButton), "");
    EXPECT_EQ(c.notesFor(Tag::WifeDeathNotesButton), "Of a fever.");
    EXPECT_EQ(c.notesFor(Tag::MarriageNotesButton), "By licence.");
}

TEST_F(FamilyRules, TheRowsAreTheCommonNaturalChildrenThenTheNewChildRow)
{
    FTPerson* bob = person("Bob Two", M());
    FTPerson* eve = person("Eve Two", F());
    couple(bob, eve);
    FTPerson* second = born("Zoe Two", F(), "1932");
    FTPerson* first = born("Al Two", M(), "1930");
    FTPerson* hisOnly = born("Hal Two", M(), "1931");
    FTPerson* stepOfHers = born("Sid Two", M(), "1929");
    for (FTPerson* c : {second, first}) {
        link(bob, c);
        link(eve, c);
    }
    link(bob, hisOnly);
    link(bob, stepOfHers);
    link(eve, stepOfHers, FTPcRel::kStep);
    EXPECT_THAT(FamilyChildren::commonChildren(bob, eve), ElementsAre(first, second));
    EXPECT_THAT(FamilyChildren::commonChildren(bob, nullptr), ElementsAre(stepOfHers, first, hisOnly, second));
    const std::vector<ChildInfo> rows = FamilyChildren::rows(bob, eve);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows.back().child(), nullptr);
    EXPECT_EQ(FamilyChildren::rows(nullptr, nullptr).size(), 1u);
}

TEST_F(FamilyRules, ARowIsAsHighAsItsLongerNotesAndTheNewChildRowOneLine)
{
    FixedTextMeasurer measurer(0.5, 1.2);
    FamilyChildrenLayout layout(&measurer);
    QFont font;
    font.setPointSizeF(10);
    layout.setFont(font);
    EXPECT_EQ(layout.lineHeight(), 12); // 12 x 1.077, truncated
    FamilyChildrenLayout::Widths widths = FamilyChildrenLayout::pageColumnWidths(1125);
    widths[FamilyChildrenLayout::BirthNotes] = 56; // 50 points of text: ten characters a line
    widths[FamilyChildrenLayout::DeathNotes] = 56;
    layout.setColumnWidths(widths);
    FTPerson* kid = person("Kid Two", F());
    kid->setValueForKeyPath("birth.notes", "0123456789abcdefghij");        // two lines
    kid->setValueForKeyPath("death.notes", "0123456789abcdefghij0123456789"); // three lines
    std::vector<ChildInfo> rows {ChildInfo(kid), ChildInfo(nullptr)};
    layout.calculateRowHeightForAllRows(rows);
    EXPECT_FLOAT_EQ(rows[0].rowHeight(), 36);
    EXPECT_FLOAT_EQ(rows[1].rowHeight(), 12);
    const QString typed = "0123456789abcdefghij0123456789abcdefghij";
    EXPECT_FLOAT_EQ(layout.calculateRowHeightForRow(rows, 0, FamilyChildrenLayout::BirthNotes, &typed), 48);
    EXPECT_EQ(layout.heightOfRow(rows[0], false, false), 15);
    EXPECT_EQ(layout.heightOfRow(rows[0], true, false), 39);
    EXPECT_TRUE(layout.notesAreCutOff(rows[0], false, false));
    EXPECT_FALSE(layout.notesAreCutOff(rows[0], true, false));
}

TEST_F(FamilyRules, ColumnWidthsOfThePageAndOfTheDialog)
{
    using L = FamilyChildrenLayout;
    const L::Widths page = L::pageColumnWidths(1125);
    // S = 800: the proportions read as points.
    EXPECT_EQ(page[L::Name], 219);
    EXPECT_EQ(page[L::BirthPlace], 139);
    EXPECT_EQ(page[L::DeathNotes], 149);
    EXPECT_EQ(page[L::BirthDate], 100);
    EXPECT_EQ(page[L::ChildsDetails], 20);
    // Empty notes columns give the name their room but for a third, kept for the heading.
    const L::Widths noDeathNotes = L::pageColumnWidths(1125, 1, false, true);
    EXPECT_EQ(noDeathNotes[L::DeathNotes], 49);
    EXPECT_EQ(noDeathNotes[L::Name], 219 + 100);
    EXPECT_EQ(noDeathNotes[L::BirthNotes], 149);
    const L::Widths noNotes = L::pageColumnWidths(1125, 1, true, true);
    EXPECT_EQ(noNotes[L::Name], 219 + 200);
    EXPECT_EQ(std::accumulate(noNotes.begin(), noNotes.end(), 0), std::accumulate(page.begin(), page.end(), 0));
    // A heading wider than the third keeps its width; never more than the column had.
    const L::Widths wideHeading = L::pageColumnWidths(1125, 1, true, true, 80);
    EXPECT_EQ(wideHeading[L::BirthNotes], 80);
    EXPECT_EQ(wideHeading[L::Name], 219 + 2 * (149 - 80));
    EXPECT_EQ(L::pageColumnWidths(1125, 1, true, true, 400)[L::DeathNotes], 149);
    // The dialog's weights add up to 1060: the columns fill the table.
    const L::Widths dialog = L::dialogColumnWidths(1060);
    EXPECT_THAT(std::vector<int>(dialog.begin(), dialog.end()),
        ElementsAre(0, 0, 220, 40, 90, 150, 140, 90, 150, 140, 40));
    EXPECT_EQ(L::dialogColumnWidths(530)[L::Name], 110);
    // Dates too narrow to be read whole take their width from the free-text columns.
    const L::Widths dated = L::dialogColumnWidths(530, 80);
    EXPECT_EQ(dated[L::BirthDate], 80);
    EXPECT_EQ(dated[L::DeathDate], 80);
    EXPECT_EQ(std::accumulate(dated.begin(), dated.end(), 0), std::accumulate(dialog.begin(), dialog.end(), 0) / 2);
    EXPECT_LT(dated[L::Name], 110);
    EXPECT_EQ(dated[L::Gender], 20);
    // Too narrow a table to give them all: the free-text columns keep half their widths, the dates share the rest.
    const L::Widths narrow = L::dialogColumnWidths(106, 80);
    const L::Widths plain = L::dialogColumnWidths(106);
    EXPECT_GE(narrow[L::Name], plain[L::Name] / 2 - 1);
    EXPECT_GE(narrow[L::BirthPlace], plain[L::BirthPlace] / 2);
    EXPECT_LT(narrow[L::BirthDate], 80);
    EXPECT_EQ(narrow[L::BirthDate], narrow[L::DeathDate]);
    EXPECT_EQ(std::accumulate(narrow.begin(), narrow.end(), 0), std::accumulate(plain.begin(), plain.end(), 0));
}

TEST_F(FamilyRules, KeyMovesOfThePageTable)
{
    // Two children and the new-child row.
    struct Case {
        const char* column;
        Command command;
        int row;
        Move move;
    };
    const Case cases[] = {
        {"birthDate", Command::MoveDown, 1, {Move::Consumed, -1, {}}},
        {"name", Command::MoveDown, 1, {Move::Edit, 2, "name"}},
        {"birthDate", Command::MoveDown, 0, {Move::Edit, 1, "birthDate"}},
        {"birthNotes", Command::MoveDown, 0, {Move::FieldEditor, -1, {}}},
        {"gender", Command::MoveUp, 0, {Move::Consumed, -1, {}}},
        {"deathNotes", Command::InsertTab, 0, {Move::Edit, 1, "name"}},
        {"deathNotes", Command::InsertTab, 2, {Move::Table, -1, {}}},
        {"birthPlace", Command::InsertTab, 0, {Move::Table, -1, {}}},
        {"name", Command::InsertBacktab, 1, {Move::Edit, 0, "name"}},
        {"name", Command::InsertNewline, 2, {Move::Edit, 2, "gender"}},
        {"birthDate", Command::InsertNewline, 2, {Move::Table, -1, {}}},
        {"birthDate", Command::InsertNewline, 0, {Move::Edit, 1, "name"}},
        {"deathNotes", Command::InsertNewline, 0, {Move::FieldEditor, -1, {}}},
        {"name", Command::InsertNewlineIgnoringFieldEditor, 0, {Move::Consumed, -1, {}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Keys::pageMove(c.column, c.command, c.row, 3), c.move) << c.column << " " << int(c.command);
}

TEST_F(FamilyRules, KeyMovesOfTheDialogTables)
{
    struct Case {
        const char* column;
        Command command;
        int row;
        bool placeholder;
        Move move;
    };
    const Case cases[] = {
        {"birthDate", Command::MoveDown, 1, true, {Move::Consumed, -1, {}}},
        {"name", Command::MoveDown, 1, true, {Move::Edit, 2, "name"}},
        // The arrows and Return leave the notes too.
        {"birthNotes", Command::MoveDown, 0, true, {Move::Edit, 1, "birthNotes"}},
        {"deathNotes", Command::InsertNewline, 0, true, {Move::Edit, 1, "name"}},
        {"name", Command::InsertNewline, 2, true, {Move::Edit, 2, "gender"}},
        {"place", Command::InsertNewline, 2, true, {Move::Table, -1, {}}},
        {"deathNotes", Command::InsertTab, 0, true, {Move::Edit, 1, "name"}},
        {"name", Command::InsertBacktab, 0, true, {Move::Table, -1, {}}},
        // The events: the last row is an event like the others.
        {"date", Command::MoveDown, 1, false, {Move::Edit, 2, "date"}},
        {"date", Command::MoveDown, 2, false, {Move::Consumed, -1, {}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Keys::dialogMove(c.column, c.command, c.row, 3, c.placeholder), c.move)
            << c.column << " " << int(c.command) << " " << c.row;
}

TEST_F(FamilyRules, AChildTypedInTakesTheUsualGenderOfItsFirstNameAndBothParents)
{
    FTPerson* bob = born("Bob Two", M(), "1900");
    FTPerson* eve = born("Eve Two", F(), "1902");
    couple(bob, eve);
    person("Robin Hood", M());
    person("Robin Day", M());
    cdRefreshes = 0;
    FTPerson* robin = FamilyChildren::createChild(moc.get(), "Robin Two", bob, eve);
    ASSERT_NE(robin, nullptr);
    EXPECT_EQ(robin->gender(), M());
    EXPECT_EQ(typeOf(bob, robin), FTPcRel::kNatural);
    EXPECT_EQ(typeOf(eve, robin), FTPcRel::kNatural);
    EXPECT_EQ(cdRefreshes, 1);
    FTPerson* quill = FamilyChildren::createChild(moc.get(), "Quillon Two", bob, eve);
    ASSERT_NE(quill, nullptr);
    EXPECT_EQ(quill->gender(), F());

    // A name already in use that the user discards makes nobody.
    defaults().setBool("duplicateNameWarning", true);
    quill->setValueForKeyPath("birth.date", "1930");
    const int people = moc->count<FTPerson>();
    prompts.answer(1);
    EXPECT_EQ(FamilyChildren::createChild(moc.get(), "Quillon Two", bob, eve), nullptr);
    EXPECT_EQ(moc->count<FTPerson>(), people);
    EXPECT_EQ(FamilyChildren::createChild(moc.get(), "   ", bob, eve), nullptr);
}

TEST_F(FamilyRules, ABlankNewChildNameIsRefusedWithItsMessage)
{
    FTPerson* bob = person("Bob Two", M());
    EXPECT_EQ(FamilyChildren::newChildName("   ", bob), "");
    EXPECT_THAT(messages(), ElementsAre("Name field may not be blank"));
    defaults().setBool("autoAddFamilyName", true);
    EXPECT_EQ(FamilyChildren::newChildName("  Ann  ", bob), "Ann Two");
}

TEST_F(FamilyRules, ANewSpouseTakesThePartnersChildrenAsNaturalOnlyWhereThatParentIsMissing)
{
    FTPerson* bob = born("Bob Two", M(), "1900");
    FTPerson* first = born("Ann First", F(), "1901");
    couple(bob, first);
    FTPerson* older = born("Al Two", M(), "1925");
    FTPerson* younger = born("Cy Two", M(), "1927");
    FTPerson* foundling = born("Fay Two", F(), "1929");
    for (FTPerson* c : {older, younger}) {
        link(bob, c);
        link(first, c);
    }
    link(bob, foundling);
    refreshes = 0;
    FTPerson* second = FamilyCouple::createSpouse(bob, "Bea Next", F());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->gender(), F());
    EXPECT_THAT(bob->spouses(), ElementsAre(first, second));
    // The children of the first marriage keep one natural mother.
    EXPECT_EQ(typeOf(second, older), FTPcRel::kStep);
    EXPECT_EQ(typeOf(second, younger), FTPcRel::kStep);
    EXPECT_EQ(older->naturalMother(), first);
    EXPECT_EQ(typeOf(second, foundling), FTPcRel::kNatural);
    EXPECT_EQ(refreshes, 1);
}

TEST_F(FamilyRules, TheDialogsTitleCoupleAndEventTypes)
{
    FTPerson* bob = person("Bob Two", M());
    FTPerson* eve = person("Eve Two", F());
    EXPECT_EQ(FamilyDialogRules::partners(eve, bob).husband, bob);
    EXPECT_EQ(FamilyDialogRules::partners(bob, nullptr).wife, nullptr);
    EXPECT_EQ(FamilyDialogRules::title(bob, nullptr, 0), "Add a wife for Bob Two");
    EXPECT_EQ(FamilyDialogRules::title(nullptr, eve, 0), "Add a husband for Eve Two");
    EXPECT_EQ(FamilyDialogRules::title(nullptr, eve, 1), "Add a spouse for Eve Two");
    EXPECT_EQ(FamilyDialogRules::title(bob, nullptr, 4), "Add a partner for Bob Two");
    EXPECT_EQ(FamilyDialogRules::title(bob, eve, 0), "");

    // No couple yet: one is made at once.
    cdRefreshes = 0;
    FTSpouseRel* made = FamilyDialogRules::coupleOf(bob, eve);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(cdRefreshes, 1);
    EXPECT_EQ(FamilyDialogRules::coupleOf(bob, eve), made);
    EXPECT_EQ(cdRefreshes, 1);

    EXPECT_EQ(FamilyDialogRules::abbreviatedEventType("Marriage Banns"), "Marr. Banns");
    EXPECT_EQ(FamilyDialogRules::abbreviatedEventType("Divorce Filed"), "Div. Filed");
    EXPECT_EQ(FamilyDialogRules::expandedEventType("Div. Filed"), "Divorce Filed");
    FTEvent* event = FTEvent::initInMoc(moc.get(), FTEvent::OtherMarriageEvent, made, "ENGA");
    event->setName("Engaged at Whitby");
    prompts.answer(1);
    EXPECT_TRUE(FamilyDialogRules::chooseEventType(event, "Marr. Banns"));
    EXPECT_EQ(event->subtype(), "MARB");
    EXPECT_EQ(event->name(), "Marriage Banns");
    const int questions = int(prompts.records.size());
    EXPECT_TRUE(FamilyDialogRules::chooseEventType(event, "Marr. Contract"));
    EXPECT_EQ(int(prompts.records.size()), questions + 1);
    EXPECT_FALSE(FamilyDialogRules::chooseEventType(event, "No Such Type"));
    EXPECT_EQ(event->subtype(), "MARC");
}

TEST_F(FamilyRules, TheMissingPartnerIsMadeUnlessTheNameIsDiscarded)
{
    FTPerson* bob = born("Bob Two", M(), "1900");
    FTPerson* eve = FamilyDialogRules::createMissingPartner(bob, " Eve Two ", false);
    ASSERT_NE(eve, nullptr);
    EXPECT_EQ(eve->name(), "Eve Two");
    EXPECT_EQ(eve->gender(), F());
    EXPECT_THAT(bob->spouses(), ElementsAre(eve));
    eve->setValueForKeyPath("birth.date", "1901");
    defaults().setBool("duplicateNameWarning", true);
    prompts.answer(1);
    EXPECT_EQ(FamilyDialogRules::createMissingPartner(bob, "Eve Two", false), nullptr);
    EXPECT_EQ(bob->spouses().size(), 1);
}

} // namespace
