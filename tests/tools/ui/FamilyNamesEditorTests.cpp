// The family names editor as the People menu opens it: the names, their people, the filter, renaming by editing
// the list and capitalising every name.

#include "ToolsWindowFixture.h"

#include "tools/TextListModel.h"
#include "tools/ui/FamilyNamesEditor.h"

#include "editor/ui/EditorTableView.h"

#include "platform/UserDefaults.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

using FamilyNamesWindow = ToolsWindowFixture;

TEST_F(FamilyNamesWindow, ChoosingFilteringAndRenamingAFamilyName)
{
    for (const char* name : {"John Smith", "Jane Smith", "Joan Smithers", "Jim van Dijk"})
        FTPerson::initInMoc(moc, name, "M");
    ToolsMenuActions::editFamilyNames();
    auto* e = sheet<FamilyNamesEditor>();
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->familyNamesModel()->texts().contains("van Dijk")) << "two words";
    EXPECT_EQ(e->selectedFamilyName(), e->familyNamesModel()->text(0));

    e->filterSearchField()->setText("smi");
    EXPECT_EQ(e->familyNamesModel()->texts(), QStringList({"Smith", "Smithers"}));
    e->filterSearchField()->setText("smith");
    EXPECT_EQ(e->selectedFamilyName(), "Smith");
    const QList<FTPerson*> smiths = e->people();
    ASSERT_FALSE(smiths.isEmpty());
    for (const FTPerson* p : smiths)
        EXPECT_TRUE(p->name().endsWith(" Smith"));
    saveScreenshot(e, "FamilyNamesEditor");

    e->filterSearchField()->setText("smi th");
    EXPECT_THAT(texts(), ElementsAre(L("RemoveSpace")));
    EXPECT_EQ(e->familyNamesModel()->texts(), QStringList({"Smith", "Smithers"})) << "the filter stays as it was";

    // Renaming with the default to write family names in capitals: stored as typed, the default kept.
    UserDefaults::standard().setBool("uppercaseFamilyName", true);
    e->filterSearchField()->setText("");
    prompts.clear();
    const int row = e->familyNamesModel()->rowOf("Smith");
    ASSERT_GE(row, 0);
    ASSERT_TRUE(e->tv1()->editCell(e->familyNamesModel()->index(row, 0)));
    EditorTableView::setEditorText(e->tv1()->currentEditor(), "Smyth");
    ASSERT_TRUE(e->tv1()->endEditing());
    settleEvents();
    EXPECT_EQ(prompts.records.size(), smiths.size()) << "one question a person";
    for (const FTPerson* p : smiths)
        EXPECT_TRUE(p->name().endsWith(" Smyth")) << p->name().toStdString();
    EXPECT_TRUE(UserDefaults::standard().boolForKey("uppercaseFamilyName"));
    EXPECT_EQ(e->selectedFamilyName(), "Smyth") << "the new name is listed and chosen";
    EXPECT_FALSE(e->familyNamesModel()->texts().contains("Smith"));
    EXPECT_EQ(e->people().size(), smiths.size());
}

TEST_F(FamilyNamesWindow, UppercasingEveryNameTwiceChangesNobodyTheSecondTime)
{
    ToolsMenuActions::editFamilyNames();
    auto* e = sheet<FamilyNamesEditor>();
    ASSERT_NE(e, nullptr);
    QPushButton* upper = e->findChild<QPushButton*>("uppercaseAllFamilyNames");
    upper->click();
    ASSERT_GE(prompts.records.size(), 2);
    EXPECT_NE(prompts.records[1].text, "0 " + L("NumNamesChanged"));
    EXPECT_TRUE(e->people().first()->name().endsWith(e->people().first()->familyName().toUpper()));
    prompts.clear();
    upper->click();
    EXPECT_EQ(prompts.records[1].text, "0 " + L("NumNamesChanged"));
    EXPECT_EQ(e->progressIndicator()->value(), 0);
}
