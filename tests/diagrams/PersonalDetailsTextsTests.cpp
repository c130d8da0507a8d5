// What the hierarchy diagram's details window says beyond the person's description: the blood relationship to the
// root of the current project view, and the notes buttons.
#include "../model/PeopleFixture.h"

#include "diagrams/PersonalDetailsTexts.h"

#include "model/FTModelDefaults.h"
#include "model/FTProjectView.h"

namespace {

class PersonalDetailsTextsTest : public PeopleFixture { };

TEST_F(PersonalDetailsTextsTest, BloodRelationshipToTheRootOfTheCurrentView)
{
    FTPerson* kim = person("Kim Gold", F());
    FTPerson* pat = person("Pat Gold", M());
    link(pat, kim);
    FTPerson* val = person("Val Else", F());
    year(val, "birth", 1950);

    // No current view, a view without a root, no person: nothing to say.
    EXPECT_EQ(PersonalDetailsTexts::consanguinity(pat), "");
    FTProjectView* view = FTProjectView::initInMoc(moc.get());
    moc->modelDefaults()->setCurrentView(view);
    EXPECT_EQ(PersonalDetailsTexts::consanguinity(pat), "");
    view->setRootPersonInAncestralView(kim);
    EXPECT_EQ(PersonalDetailsTexts::consanguinity(nullptr), "");

    EXPECT_EQ(PersonalDetailsTexts::consanguinity(pat), "Father of Kim Gold");
    // An unrelated person is unrelated to the root, who is named; the root itself has no line.
    year(kim, "birth", 1980);
    EXPECT_EQ(PersonalDetailsTexts::consanguinity(val), "No blood relationship to Kim Gold (1980 - )");
    EXPECT_EQ(PersonalDetailsTexts::consanguinity(kim), "");
}

TEST_F(PersonalDetailsTextsTest, NotesButtonsSayWhetherTheirTextHoldsAnything)
{
    using T = PersonalDetailsTexts;
    FTPerson* p = person("Ann Note", F());
    p->setComments("A comment");
    p->setValueForKeyPath("death.notes", "Buried at sea");
    const QString notes = LocalizedString("NotesPresent"), none = LocalizedString("NoNotes");
    EXPECT_EQ(T::notesButtonTitle(p, T::PersonNotes), none);
    EXPECT_EQ(T::notesButtonTitle(p, T::BirthNotes), none);
    EXPECT_EQ(T::notesButtonTitle(p, T::DeathNotes), notes);
    EXPECT_EQ(T::notesButtonTitle(p, T::Comments), LocalizedString("CommentsPresent"));
    p->setComments("");
    EXPECT_EQ(T::notesButtonTitle(p, T::Comments), LocalizedString("NoComments"));
    EXPECT_EQ(T::notesButtonTitle(nullptr, T::PersonNotes), "");

    const std::pair<int, const char*> tabs[]
        = { { 1000, "1" }, { 1001, "3" }, { 1002, "4" }, { 1003, "2" }, { 999, "" }, { 1004, "" } };
    for (const auto& [tag, tab] : tabs)
        EXPECT_EQ(T::notesTab(tag), tab) << tag;
}

} // namespace
