#include "DiagramFixture.h"

#include "diagrams/DiagramMenuBuilder.h"

#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTProjectView.h"
#include "model/FTSource.h"
#include "model/Hierarchy.h"

namespace {
using Action = DiagramMenuItem::Action;

// One line per item: "title [key]", "title >" with a submenu, "(disabled)" when it shows disabled, "---".
QStringList lines(const DiagramMenu& menu)
{
    QStringList out;
    for (const DiagramMenuItem& i : menu) {
        if (i.isSeparator) {
            out << "---";
            continue;
        }
        QString line = i.title;
        if (!i.keyEquivalent.isEmpty())
            line += " [" + i.keyEquivalent.toString(QKeySequence::PortableText) + "]";
        if (!i.submenu.empty())
            line += " >";
        if (!i.isEnabled())
            line += " (disabled)";
        out << line;
    }
    return out;
}

const DiagramMenuItem* find(const DiagramMenu& menu, const QString& titleStart)
{
    for (const DiagramMenuItem& i : menu)
        if (!i.isSeparator && i.title.startsWith(titleStart))
            return &i;
    return nullptr;
}
}

// The menus over the fixture's small family (makeFamily), with the empty slots shown.
class DiagramMenuBuilderTest : public DiagramFixture {
protected:
    void SetUp() override
    {
        DiagramFixture::SetUp();
        options.showGhostOutlines = true;
        makeFamily();
        state.moc = moc.get();
        state.openDatabases = {moc.get()};
        build();
    }
    DiagramMenu menuFor(FTPerson* p) { return DiagramMenuBuilder::familyMenu(layout.findPerson(p), state); }
    CdPerson* emptySlot(long level)
    {
        for (const auto& b : layout.cdPersonsArray())
            if (b->isGhost() && b->ancLevel() == level)
                return b.get();
        return nullptr;
    }
    QStringList relatives(FTPerson* p, FTPerson* focal = nullptr)
    {
        DiagramMenu menu;
        DiagramMenuBuilder::addRelativesSections(menu, p, Action::PromoteToFocalPerson, focal);
        return lines(menu);
    }

    DiagramMenuBuilder::FamilyState state;
};

TEST_F(DiagramMenuBuilderTest, TheFourFamilyMenusInOrder)
{
    EXPECT_EQ(lines(DiagramMenuBuilder::familyMenu(nullptr, state)),
              (QStringList {"Save Diagram...", "Scratch Pad [S]", "People Index [I]", "Preferences..."}));

    const QStringList common {"Cite a Source... [R]", "Add to the Project View (disabled)", "To-Do Note... [T]",
                              "---", "Ancestors Chart...", "Merge a Person from Another Database...", "---",
                              "Paste Pictures (disabled)"};
    const QStringList focalMenu = QStringList {"Attach an Existing Person >", "Add a New Associated Person...",
                           "Same-Sex Partner >", "Disconnect...", "Change Gender...", "---"}
                  + common
                  + QStringList {"---", "Previous Sibling [Ctrl+Up] (disabled)", "Next Sibling [Ctrl+Down] (disabled)",
                                 "---", "Parents (1) >", "Grandparents (1) >", "Siblings (0) (disabled)",
                                 "Spouses (1) >", "Children (2) >", "Grandchildren (0) (disabled)",
                                 "Nephews and Nieces (0) (disabled)", "Aunts and Uncles (0) (disabled)",
                                 "Cousins (0) (disabled)"};
    EXPECT_EQ(lines(menuFor(me)), focalMenu);
    const DiagramMenu attach = menuFor(me)[0].submenu;
    EXPECT_EQ(lines(attach), (QStringList {"Attach an Existing Person as a Child...",
                                           "Attach an Existing Person as a Parent...",
                                           "Attach an Existing Person as a Spouse...",
                                           "Attach an Existing Person as an Associated Person..."}));
    EXPECT_EQ(attach[3].action, Action::AttachExistingPersonAsAssociatedPerson);
    EXPECT_EQ(attach[3].person(), me);

    const QStringList otherMenu = QStringList {"Make Focal Person (Ctrl+Click) [Ctrl+Up]", "Delete [Del]", "Disconnect...",
                           "Change Gender...", "---"}
                  + common
                  + QStringList {"---", "Parents (1) >", "Grandparents (1) >", "Siblings (1) >",
                                 "Spouses (0) (disabled)", "Children (0) (disabled)", "Grandchildren (0) (disabled)",
                                 "Nephews and Nieces (0) (disabled)", "Aunts and Uncles (0) (disabled)",
                                 "Cousins (0) (disabled)"};
    EXPECT_EQ(lines(menuFor(son)), otherMenu);

    const QList<std::pair<long, QStringList>> slots {
        {CdPerson::kSpouse,
         {"Attach an Existing Person as a spouse...", "Same-Sex Partner >", "Copy a Person from Another Database..."}},
        {CdPerson::kChild, {"Attach an Existing Person as a child...", "Copy a Person from Another Database..."}},
        {1, {"Attach an Existing Person as a parent...", "Copy a Person from Another Database..."}},
        {2, {"Attach an Existing Person as a parent...", "Copy a Person from Another Database..."}},
    };
    for (const auto& [level, expected] : slots) {
        SCOPED_TRACE(level);
        CdPerson* slot = emptySlot(level);
        ASSERT_TRUE(slot);
        const DiagramMenu menu = DiagramMenuBuilder::familyMenu(slot, state);
        EXPECT_EQ(lines(menu), expected);
        EXPECT_EQ(menu[0].box(), slot);
    }

    // Without a database nothing shows.
    EXPECT_TRUE(DiagramMenuBuilder::familyMenu(nullptr, DiagramMenuBuilder::FamilyState {}).empty());
}

TEST_F(DiagramMenuBuilderTest, ParentsShowTheirLinkType)
{
    const QList<std::pair<int, QString>> cases {
        {FTPcRel::kAdopted, "Wife (1932 - ) (adopted)"},
        {FTPcRel::kStep, "Wife (1932 - ) (step)"},
        {FTPcRel::kFoster, "Wife (1932 - ) (foster)"},
        {FTPcRel::kNatural, "Wife (1932 - )"},
        {0, "Wife (1932 - )"},
    };
    for (const auto& [type, entry] : cases) {
        FTPerson* child = person("Foundling", F(), 1960);
        link(wife, child, type);
        DiagramMenu menu;
        DiagramMenuBuilder::addRelativesSections(menu, child, Action::PromoteToFocalPerson, nullptr);
        ASSERT_EQ(menu[0].title, "Parents (1)");
        ASSERT_EQ(menu[0].submenu.size(), 1u);
        EXPECT_EQ(menu[0].submenu[0].title, entry);
        EXPECT_EQ(menu[0].submenu[0].person(), wife);
        EXPECT_EQ(menu[0].submenu[0].action, Action::PromoteToFocalPerson);
    }
}

TEST_F(DiagramMenuBuilderTest, SiblingsAroundTheFocalPerson)
{
    FTPerson* youngest = person("Youngest", M(), 1960);
    link(me, youngest);
    focusOn(daughter);
    build();
    const DiagramMenu menu = menuFor(daughter);
    const DiagramMenuItem* previous = find(menu, "Previous Sibling");
    const DiagramMenuItem* next = find(menu, "Next Sibling");
    ASSERT_TRUE(previous && next);
    EXPECT_EQ(previous->title, "Previous Sibling (Son)");
    EXPECT_EQ(previous->person(), son);
    EXPECT_EQ(next->title, "Next Sibling (Youngest)");
    EXPECT_EQ(next->keyEquivalent, QKeySequence(Qt::CTRL | Qt::Key_Down));

    const DiagramMenuItem* siblings = find(menu, "Siblings");
    ASSERT_TRUE(siblings);
    EXPECT_EQ(siblings->title, "Siblings (2)");
    ASSERT_EQ(siblings->submenu.size(), 3u);
    const DiagramMenuItem& own = siblings->submenu[1];
    EXPECT_EQ(own.person(), daughter);
    EXPECT_EQ(own.colour, QColor(Qt::red));
    ASSERT_TRUE(own.font);
    EXPECT_EQ(own.font->family(), "Arial");
    EXPECT_EQ(own.font->pointSizeF(), 11);
    EXPECT_EQ(siblings->submenu[0].keyEquivalent, QKeySequence(Qt::CTRL | Qt::Key_Up));
    EXPECT_EQ(siblings->submenu[2].keyEquivalent, QKeySequence(Qt::CTRL | Qt::Key_Down));
    EXPECT_FALSE(siblings->submenu[0].colour.isValid());

    // On the hierarchy (no focal person) the siblings carry no keys.
    DiagramMenu plain;
    DiagramMenuBuilder::addRelativesSections(plain, daughter, Action::PromoteToRootPerson, nullptr);
    for (const DiagramMenuItem& entry : find(plain, "Siblings")->submenu) {
        EXPECT_TRUE(entry.keyEquivalent.isEmpty());
        EXPECT_EQ(entry.action, Action::PromoteToRootPerson);
    }
}

TEST_F(DiagramMenuBuilderTest, TheCommonBlockFollowsSourceViewEventAndClipboard)
{
    auto title = [&](const QString& start) {
        const DiagramMenu menu = menuFor(son);
        const DiagramMenuItem* i = find(menu, start);
        return i ? lines({*i}).first() : QString();
    };
    FTSource* source = FTSource::initInMoc(moc.get());
    source->setNumericId(4);
    moc->setActiveSource(source);
    EXPECT_EQ(title("Cite"), "Cite the Active Source: 4 [R]");
    source->setType("Book");
    EXPECT_EQ(title("Cite"), "Cite the Active Source: 4 (Book) [R]");

    FTProjectView* view = FTProjectView::initInMoc(moc.get());
    moc->modelDefaults()->setCurrentView(view);
    EXPECT_EQ(title("Add to"), "Add to the Project View");
    view->addPersonsObject(son);
    EXPECT_EQ(title("Remove"), "Remove from the Project View");

    EXPECT_EQ(find(menuFor(son), "Clone"), nullptr);
    FTEvent* baptism = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, me, "BAPM");
    baptism->setName("Baptism");
    baptism->setDate("12 Mar 1930");
    moc->setActiveEventURI(baptism->objectURI());
    const DiagramMenu withEvent = menuFor(son);
    const DiagramMenuItem* clone = find(withEvent, "Clone");
    ASSERT_TRUE(clone);
    EXPECT_EQ(clone->title, "Clone the Active Event \"Baptism on " + baptism->date() + "\"");
    EXPECT_EQ(clone->event(), baptism);

    const QList<std::pair<int, QString>> clipboard {
        {0, "Paste Pictures (disabled)"},
        {1, "Paste 1 Image from the Clipboard"},
        {3, "Paste 3 Images from the Clipboard"},
    };
    for (const auto& [n, expected] : clipboard) {
        state.imagesOnClipboard = n;
        EXPECT_EQ(title("Paste"), expected);
    }
    EXPECT_EQ(find(menuFor(son), "Paste")->person(), son);
}

TEST_F(DiagramMenuBuilderTest, DeleteIsOfferedForAnUnconnectedFocalPersonAndAnyoneElse)
{
    EXPECT_EQ(find(menuFor(me), "Delete"), nullptr);
    EXPECT_EQ(find(menuFor(dad), "Delete")->box(), layout.findPerson(dad));
    FTPerson* loner = person("Loner", F());
    focusOn(loner);
    build();
    const DiagramMenu lonersMenu = menuFor(loner);
    const DiagramMenuItem* del = find(lonersMenu, "Delete");
    ASSERT_TRUE(del);
    EXPECT_EQ(del->box(), layout.focalBox());
    EXPECT_EQ(del->keyEquivalent, QKeySequence(Qt::Key_Delete));
}

TEST_F(DiagramMenuBuilderTest, AnAssociatedPersonsBoxOffersTheAssociation)
{
    FTPerson* friendOfMe = person("Friend", M());
    associate(me, friendOfMe);
    build();
    const CdPerson* box = nullptr;
    for (const auto& b : layout.cdPersonsArray())
        if (b->ancLevel() == CdPerson::kAssociated)
            box = b.get();
    ASSERT_TRUE(box);
    const DiagramMenu menu = DiagramMenuBuilder::familyMenu(const_cast<CdPerson*>(box), state);
    EXPECT_EQ(lines(menu).mid(0, 5), (QStringList {"Make Focal Person (Ctrl+Click) [Ctrl+Up]", "Delete [Del]",
                                                   "Disconnect...", "Edit the Association...", "Change Gender..."}));
    EXPECT_EQ(menu[3].box(), box);
    EXPECT_EQ(find(menu, "Edit"), &menu[3]);
    EXPECT_EQ(find(menuFor(son), "Edit"), nullptr);
}

TEST_F(DiagramMenuBuilderTest, TheCopyItemNamesThePersonOfTheOnlyOtherDatabase)
{
    auto second = newDatabase("Second.RezUdu");
    FTPerson* there = FTPerson::initInMoc(second.get(), "Cousin Jack", M());
    second->setFocalPerson(there);
    second->setSelectedPerson(there);
    auto third = newDatabase("Third.RezUdu");
    CdPerson* slot = emptySlot(CdPerson::kChild);

    state.openDatabases = {second.get(), moc.get()};
    const DiagramMenuItem two = DiagramMenuBuilder::familyMenu(slot, state).back();
    EXPECT_EQ(two.title, "Copy \"Cousin Jack\" from  Second");
    EXPECT_EQ(two.action, Action::CopyPersonFromOtherModel);
    ASSERT_TRUE(two.copyRequest());
    EXPECT_EQ(two.copyRequest()->sourcePerson, there);
    EXPECT_EQ(two.copyRequest()->targetCdPerson, slot);
    EXPECT_EQ(two.copyRequest()->sourceDocument, second.get());
    EXPECT_EQ(two.copyRequest()->targetDocument, moc.get());

    state.openDatabases = {moc.get(), second.get(), third.get()};
    const DiagramMenuItem three = DiagramMenuBuilder::familyMenu(slot, state).back();
    EXPECT_EQ(three.title, "Copy a Person from Another Database...");
    EXPECT_EQ(three.action, Action::CopyPersonFromOtherModel);
    EXPECT_FALSE(three.copyRequest());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(three.representedObject));
}

TEST_F(DiagramMenuBuilderTest, TheHierarchyMenuNudgesOnlyInAnUnfittedTopDownTree)
{
    Hierarchy root(me, nullptr, true, 1);
    Hierarchy* father = root.nextGenArray().value(0);
    ASSERT_TRUE(father);
    DiagramMenuBuilder::HierarchyState hs;
    hs.selected = father;
    const DiagramMenu menu = DiagramMenuBuilder::hierarchyMenu(father, hs);
    EXPECT_EQ(lines(menu),
              (QStringList {"Make Root Person", "---", "Details...", "Personal Details...", "Family Details...", "---",
                            "Contract [Shift+Left]", "Expand [Shift+Right]", "Contract to the Bloodline", "---",
                            "Nudge Left [Alt+Left]", "Nudge Right [Alt+Right]", "---", "Parents (1) >",
                            "Grandparents (0) (disabled)", "Siblings (0) (disabled)", "Spouses (0) (disabled)",
                            "Children (1) >", "Grandchildren (2) >", "Nephews and Nieces (0) (disabled)",
                            "Aunts and Uncles (0) (disabled)", "Cousins (0) (disabled)"}));
    EXPECT_EQ(menu[0].person(), dad);
    EXPECT_EQ(menu[6].node(), father);
    EXPECT_EQ(find(menu, "Children")->submenu[0].action, Action::PromoteToRootPerson);

    for (const auto& [horizontal, sizeToWidth] : {std::pair {true, false}, std::pair {false, true}}) {
        hs.horizontal = horizontal;
        hs.sizeToWidth = sizeToWidth;
        EXPECT_EQ(find(DiagramMenuBuilder::hierarchyMenu(father, hs), "Nudge"), nullptr);
    }

    EXPECT_EQ(lines(DiagramMenuBuilder::hierarchyMenu(nullptr, hs)), QStringList {"Save Diagram... (disabled)"});
}
