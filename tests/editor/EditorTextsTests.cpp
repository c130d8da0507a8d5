// Texts the person editor works out from the data: the other-events summary, the notes buttons, the notes
// dialogs' tab labels and the couple's heading.
#include "../model/ModelFixture.h"
#include "QtPrinters.h"

#include "editor/NotesDialogTexts.h"
#include "editor/SelfPageTexts.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/store/Key.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

class EditorTexts : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        // Names as typed: the first-run "uppercaseFamilyName" would write "SMITH".
        TestSupport::useFreshDefaults();
        moc = newDatabase();
        john = FTPerson::initInMoc(moc.get(), "John Smith", "M");
    }
    FTEvent* event(FTManagedObject* owner, int type, const char* tag, const char* date)
    {
        FTEvent* e = FTEvent::initInMoc(moc.get(), type, owner, tag);
        e->setDate(date);
        return e;
    }
    std::unique_ptr<FTMoc> moc;
    FTPerson* john = nullptr;
};

TEST_F(EditorTexts, OtherEventsAreSummedUpByDateOnOneLine)
{
    EXPECT_EQ(SelfPageTexts::otherEventsSummary(john), "");

    event(john, 303, "OCCU", "");
    event(john, 303, "RESI", "1910");
    event(john, 303, "BAPM", "5 Jan 1900");
    FTSpouseRel* couple = john->addSpouseRel(FTPerson::initInMoc(moc.get(), "Mary Jones", "F"));
    couple->setValueForKeyPath("marriage.date", "1905");
    // A date written with hyphens by an older program shows them as blanks.
    FTEvent* census = event(john, 303, "CENS", "1920");
    census->setPrimitiveValue(Key("date"), QStringLiteral("1-Apr-1920"));

    EXPECT_EQ(SelfPageTexts::otherEventsSummary(john),
              "OCCU,  BAPM 05 Jan 1900,  MARR 1905,  RESI 1910,  CENS 1 Apr 1920");
}

TEST_F(EditorTexts, NotesButtonsSayWhetherThereAreNotes)
{
    EXPECT_EQ(SelfPageTexts::notesButtonTitle(""), LocalizedString("NoNotes"));
    EXPECT_EQ(SelfPageTexts::notesButtonTitle("Baptised at home"), LocalizedString("NotesPresent"));
    EXPECT_TRUE(SelfPageTexts::isMultiLine("one\ntwo"));
    EXPECT_FALSE(SelfPageTexts::isMultiLine("one line"));
}

TEST_F(EditorTexts, TheBirthDateCheckSeesParentsAndChildrenOfEveryLinkType)
{
    FTPerson* father = FTPerson::initInMoc(moc.get(), "Adam Smith", "M");
    FTPerson* stepChild = FTPerson::initInMoc(moc.get(), "Tom Brown", "M");
    father->attachChild(john, 1, false, nullptr);
    john->attachChild(stepChild, 2, false, nullptr);
    father->setValueForKeyPath("birth.date", "1850");

    const Dates::Person seen = SelfPageTexts::birthDateCheckPerson(john);
    EXPECT_EQ(seen.name, "John Smith");
    ASSERT_EQ(seen.parents.size(), 1);
    EXPECT_EQ(seen.parents[0].firstName, "Adam");
    EXPECT_EQ(seen.parents[0].birthYear, 1850);
    EXPECT_NE(seen.parents[0].birthKey, 0u);
    ASSERT_EQ(seen.children.size(), 1);
    EXPECT_EQ(seen.children[0].birthKey, 0u); // no birth: the check skips him
}

TEST_F(EditorTexts, NotesTabsWithTextAreMarked)
{
    john->setComments("Kind to animals");
    QStringList labels;
    for (const char* tab : {"1", "2", "3", "4"})
        labels << NotesDialogTexts::notesTabLabel(tab, john);
    EXPECT_THAT(labels, ElementsAre(LocalizedString("PersonNotes"), "*" + LocalizedString("PersonComments"),
                                    LocalizedString("BirthNotes"), LocalizedString("DeathNotes")));
    john->setValueForKeyPath("death.notes", "Lost at sea");
    EXPECT_EQ(NotesDialogTexts::notesTabLabel("4", john), "*" + LocalizedString("DeathNotes"));
    EXPECT_EQ(NotesDialogTexts::notesTabLabel("5", john), "");
}

TEST_F(EditorTexts, TheDivorceTabNeedsExactlyOneDivorce)
{
    FTPerson* mary = FTPerson::initInMoc(moc.get(), "Mary Jones", "F");
    FTSpouseRel* couple = john->addSpouseRel(mary);
    EXPECT_EQ(NotesDialogTexts::divorceEventOf(couple), nullptr);
    EXPECT_EQ(NotesDialogTexts::marriageTabLabel("2", couple, nullptr), "---");
    EXPECT_EQ(NotesDialogTexts::marriageTabLabel("1", couple, nullptr), LocalizedString("MarriageNotes"));

    FTEvent* divorce = event(couple, 304, "DIV", "1920");
    EXPECT_EQ(NotesDialogTexts::divorceEventOf(couple), divorce);
    EXPECT_EQ(NotesDialogTexts::marriageTabLabel("2", couple, divorce), LocalizedString("DivorceNotes"));
    divorce->setNotes("By consent");
    EXPECT_EQ(NotesDialogTexts::marriageTabLabel("2", couple, divorce), LocalizedString("*DivorceNotes"));

    event(couple, 304, "DIV", "1930"); // which one is meant cannot be told
    EXPECT_EQ(NotesDialogTexts::divorceEventOf(couple), nullptr);

    couple->setValueForKeyPath("marriage.notes", "In church");
    EXPECT_EQ(NotesDialogTexts::marriageTabLabel("1", couple, nullptr), LocalizedString("*MarriageNotes"));
}

TEST_F(EditorTexts, TheCouplesHeadingNamesHusbandWifeDateAndPlace)
{
    FTPerson* mary = FTPerson::initInMoc(moc.get(), "Mary Jones", "F");
    FTSpouseRel* couple = mary->addSpouseRel(john);
    EXPECT_EQ(NotesDialogTexts::marriageNotesTitle(couple), "John Smith\n+. Mary Jones");
    EXPECT_EQ(NotesDialogTexts::couplesNames(couple), "John Smith and Mary Jones");

    couple->setValueForKeyPath("marriage.date", "3 May 1905");
    couple->setValueForKeyPath("marriage.place", "Leeds");
    EXPECT_EQ(NotesDialogTexts::marriageNotesTitle(couple), "John Smith\nm. Mary Jones\non 03 May 1905\nat Leeds");

    // Two partners of one gender are both named.
    FTSpouseRel* same = john->addSpouseRel(FTPerson::initInMoc(moc.get(), "Paul Brown", "M"));
    const auto partners = NotesDialogTexts::partnersOf(same);
    EXPECT_NE(partners.husband, nullptr);
    EXPECT_NE(partners.wife, nullptr);
}

} // namespace
