// The source menu button: the toolbar's (choosing the active source, Ctrl+1) and an owner's (citing), its menu
// with the recent sources, the options and the types filled as they open.

#include "CitingFixture.h"

#include "sources/SelectASourceDelegate.h"

#include <QKeyEvent>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
struct CitingOwner : SelectASourceDelegate {
    QList<FTSource*> cited;
    void addReference(FTSource* s) override { cited << s; }
};

// An owner's button in a window of its own, in front (a menu closes when the application loses the focus).
struct OwnersWindow {
    explicit OwnersWindow(FTMoc* moc)
    {
        button = new SelectASourceButton(&window);
        button->setMoc(moc);
        button->setDelegate(&owner);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    QWidget window;
    CitingOwner owner;
    SelectASourceButton* button;
};
}

namespace {
// A key pressed as the keyboard does it (shortcuts first).
void press(QWidget* w, int key, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(w, &up);
}
}

using SelectASourceButtonTest = CitingFixture;

TEST_F(SelectASourceButtonTest, TheToolbarsMenuSetsTheActiveSourceAndTurnsItsButtonGreen)
{
    FTSource* kew = source(1, {{"type", "Census"}, {"title", "Kew 1881"}});
    FTSource* will = source(2, {{"type", "Will"}, {"title", "Will of Ann Smith"}, {"author", "Ann Smith"}});
    source(3, {{"type", "Census"}, {"title", "Richmond 1891"}});
    moc->addRecentSource(kew);
    moc->setActiveSource(kew);
    moc->setActiveSourcePageRef("Folio 3");
    ToolbarController* toolbar = doc->toolbarController();
    auto* button = qobject_cast<SelectASourceButton*>(toolbar->selectASourceButton());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->subMenuOption(), "Title");

    QMenu* menu = click(button);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->isVisible());
    QStringList titles;
    for (QAction* a : menu->actions())
        titles << (a->isSeparator() ? "--" : a->text());
    // The toolbar has no source search.
    EXPECT_THAT(titles, ElementsAre("A/S and Recent Sources Used", "Set 2nd Menu Option (Title)", "--", "Census (2)", "Will"));
    QAction* recent = entry(menu, "A/S and Recent Sources Used");
    ASSERT_TRUE(recent && recent->menu());
    QStringList recentTitles;
    for (QAction* a : recent->menu()->actions())
        recentTitles << (a->isSeparator() ? "--" : a->text());
    EXPECT_THAT(recentTitles, ElementsAre("A/S - Kew 1881\tR", "--", "Kew 1881"));
    saveScreenshot(menu, "SourcesMenu");
    QMenu* wills = entry(menu, "Will")->menu();
    ASSERT_NE(wills, nullptr);
    EXPECT_TRUE(wills->isEmpty()); // filled when it opens
    wills->popup(menu->geometry().topRight());
    ASSERT_EQ(wills->actions().size(), 1);
    saveScreenshot(wills, "SourcesMenu-type");

    entry(wills, "Will of Ann Smith")->trigger();
    EXPECT_EQ(moc->activeSource(), will);
    // The page reference typed for the former active source does not follow.
    EXPECT_TRUE(moc->activeSourcePageRef().isEmpty());
    EXPECT_TRUE(toolbar->activeSourceButton()->styleSheet().contains("#c8ffc8"));
    EXPECT_EQ(toolbar->activeSourceButton()->toolTip(), will->shortDescriptionWithNumericId());
    saveScreenshot(toolbar->toolbar(), "Toolbar-activeSource");

    // Two sources in one group: the toolbar asks for unique titles and changes nothing.
    QMenu* again = click(button);
    QMenu* census = entry(again, "Census (2)")->menu();
    ASSERT_TRUE(entry(census, "Kew 1881"));
    source(4, {{"type", "Census"}, {"title", "Kew 1881"}});
    again = click(button);
    entry(entry(again, "Census (3)")->menu(), "Kew 1881 (2)")->trigger();
    EXPECT_EQ(moc->activeSource(), will);
    EXPECT_EQ(texts().last(), SourceMenuModel::kRenameMessage);
}

TEST_F(SelectASourceButtonTest, CtrlOneOpensTheToolbarsMenuOnly)
{
    source(1, {{"type", "Census"}, {"title", "Kew 1881"}});
    auto* button = qobject_cast<SelectASourceButton*>(doc->toolbarController()->selectASourceButton());
    ASSERT_NE(button, nullptr);
    QMainWindow* window = doc->dovurWindow();
    window->show();
    QApplication::setActiveWindow(window);
    press(window, Qt::Key_1, "1", Qt::ControlModifier);
    ASSERT_NE(button->shownMenu(), nullptr);
    EXPECT_TRUE(button->shownMenu()->isVisible());
    button->shownMenu()->close();

    // Another owner's button has no such key.
    SelectASourceButton other;
    CitingOwner owner;
    other.setDelegate(&owner);
    EXPECT_EQ(other.findChild<QAction*>("openSourcesMenu"), nullptr);
    EXPECT_NE(button->findChild<QAction*>("openSourcesMenu"), nullptr);
}

TEST_F(SelectASourceButtonTest, AnOptionReopensTheMenuAndStaysForLaterButtonsButNotTheToolbars)
{
    FTSource* will = source(1, {{"type", "Will"}, {"title", "Will of Ann"}, {"author", "Ann Smith"}});
    OwnersWindow owners(moc);
    SelectASourceButton& button = *owners.button;
    CitingOwner& owner = owners.owner;
    QMenu* menu = click(&button);
    QMenu* options = entry(menu, "Set 2nd Menu Option (Title)")->menu();
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(entry(options, "Title")->isChecked());
    QPointer<QMenu> first(menu);
    entry(options, "Author")->trigger();
    QApplication::processEvents(); // the menu opens again at once, in place of the first
    QMenu* reopened = button.shownMenu();
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(first.isNull());
    ASSERT_NE(entry(reopened, "Set 2nd Menu Option (Author)"), nullptr);
    entry(entry(reopened, "Will")->menu(), "Ann Smith")->trigger();
    EXPECT_THAT(owner.cited, ElementsAre(will));

    // Grouped by the long description, whose "Title:" stands out.
    source(2, {{"type", "Will"}, {"title", "Will of John"}, {"date", "1790"}});
    entry(entry(click(&button), "Set 2nd Menu Option (Author)")->menu(), "Long Description")->trigger();
    QApplication::processEvents();
    QMenu* wills = entry(button.shownMenu(), "Will (2)")->menu();
    wills->popup(owners.window.mapToGlobal(QPoint(0, 0)));
    ASSERT_EQ(wills->actions().size(), 2);
    EXPECT_EQ(wills->actions()[0]->text(), will->shortDescriptionWithNumericIdNoLinefeed());
    saveScreenshot(wills, "SourcesMenu-longDescription");
    wills->close();
    SourceMenuModel::storeOptionName("Author");

    SelectASourceButton later;
    EXPECT_EQ(later.subMenuOption(), "Author");
    DOvurDocument* second = app->openDocumentWithContentsOfURL(makeDatabase(data + "/Second.RezUdu", 3));
    ASSERT_NE(second, nullptr);
    auto* toolbarButton = qobject_cast<SelectASourceButton*>(second->toolbarController()->selectASourceButton());
    ASSERT_NE(toolbarButton, nullptr);
    EXPECT_EQ(toolbarButton->subMenuOption(), "Title");
}

TEST_F(SelectASourceButtonTest, TheKeyRChoosesTheActiveSourceFromAnyLevelOfTheMenu)
{
    FTSource* kew = source(1, {{"type", "Census"}, {"title", "Kew 1881"}});
    OwnersWindow owners(moc);
    SelectASourceButton& button = *owners.button;
    CitingOwner& owner = owners.owner;
    QMenu* menu = click(&button);
    QAction* recent = entry(menu, "A/S and Recent Sources Used");
    ASSERT_EQ(recent->menu(), nullptr); // neither active nor recent
    EXPECT_FALSE(recent->isEnabled());
    press(menu, Qt::Key_R, "r");
    EXPECT_TRUE(owner.cited.isEmpty());
    menu->close();

    moc->setActiveSource(kew);
    menu = click(&button);
    press(menu, Qt::Key_R, "r");
    EXPECT_THAT(owner.cited, ElementsAre(kew));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}
