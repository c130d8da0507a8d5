// What the hierarchy view does with keys, the selection, folding, nudging and its controls, over a small family.
// Text is measured with fixed metrics; the options reach the tree through the user defaults, as in the window.
#include "HierarchyFixture.h"

#include "../model/RecordingRelativeDialogs.h"

#include "diagrams/DiagramHooks.h"
#include "diagrams/HierarchyDiagramCommands.h"

#include "shell/AlertHooks.h"

#include "platform/NotificationCenter.h"

#include <gmock/gmock.h>

namespace {

// The view's side: what it was asked to do.
struct RecordingHdHost : HierarchyDiagramCommands::Host {
    int rebuildRequests = 0;
    int redraws = 0;
    QList<QRectF> redrawnRects;
    QList<QRectF> scrolledTo;
    QString info;
    QString title;
    QStringList detailsShown;
    QList<Hierarchy*> menusShown;

    void setNeedsRebuild() override { ++rebuildRequests; }
    void redraw() override { ++redraws; }
    void redrawRect(const QRectF& rect) override { redrawnRects << rect; }
    void scrollRectToVisible(const QRectF& rect) override { scrolledTo << rect; }
    void scrollToOrigin() override { scrolledTo << QRectF(); }
    void selectedPersonChanged(FTPerson*, const QString& text) override { info = text; }
    void dialogTitleChanged(const QString& text) override { title = text; }
    void showMiniPersonalDetails(FTPerson* p) override { detailsShown << p->name(); }
    void showPopupMenu(Hierarchy* node, const QPointF&) override { menusShown << node; }
};

class HierarchyCommandsTest : public HierarchyFixture {
protected:
    void SetUp() override
    {
        HierarchyFixture::SetUp();
        savedBeep = Utils::alertHooks().beep;
        Utils::alertHooks().beep = [this] { ++beeps; };
    }
    void TearDown() override
    {
        Utils::alertHooks().beep = savedBeep;
        HierarchyFixture::TearDown();
    }

    // R's children A (A1, A2) and B (B1); A1 has A1a.
    void descendantsFamily()
    {
        r = person("R Root", M());
        const QList<FTPerson*> ab = children(r, { "A Kid", "B Kid" });
        a = ab[0];
        b = ab[1];
        const QList<FTPerson*> as = children(a, { "A1 Kid", "A2 Kid" });
        a1 = as[0];
        a2 = as[1];
        b1 = children(b, { "B1 Kid" })[0];
        a1a = children(a1, { "A1a Kid" })[0];
    }
    // Z's parents F and M, and their parents FF, FM, MF, MM.
    void ancestorsFamily()
    {
        z = person("Z Child", M());
        f = person("F Father", M());
        m = person("M Mother", F());
        link(f, z);
        link(m, z);
        for (auto [child, names] : { std::pair { f, std::pair { "FF Grand", "FM Grand" } },
                 std::pair { m, std::pair { "MF Grand", "MM Grand" } } }) {
            FTPerson* father = person(names.first, M());
            FTPerson* mother = person(names.second, F());
            link(father, child);
            link(mother, child);
        }
    }

    // Writes the fixture's options as the user's, then builds as the view does.
    void show(FTPerson* root, bool ancestors)
    {
        options.writeToUserDefaults();
        commands.setRootPerson(root, ancestors);
        commands.prepare(QSizeF(900, 600), QSizeF(612, 792));
    }
    void select(const FTPerson* p) { commands.setSelectedHierarchy(node(p)); }
    QString selectedName() const
    {
        return commands.selectedHierarchy() ? commands.selectedHierarchy()->person()->name() : QString();
    }
    bool key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
    {
        return commands.keyDown(k, text, mods);
    }
    void rebuild() { commands.prepare(QSizeF(900, 600), QSizeF(612, 792)); }

    RecordingHdHost host;
    HierarchyDiagramCommands commands { host, layout };
    std::function<void()> savedBeep;
    int beeps = 0;
    FTPerson *r = nullptr, *a = nullptr, *b = nullptr, *a1 = nullptr, *a2 = nullptr, *b1 = nullptr, *a1a = nullptr;
    FTPerson *z = nullptr, *f = nullptr, *m = nullptr;
};

TEST_F(HierarchyCommandsTest, ArrowKeysMoveAsTheDiagramRuns)
{
    descendantsFamily();
    ancestorsFamily();
    struct Case {
        bool horizontal, ancestors;
        int key;
        const char *from, *to;
    };
    const Case cases[] = {
        // Horizontal: generations run left to right, a generation top to bottom.
        { true, false, Qt::Key_Left, "A1 Kid", "A Kid" },
        { true, false, Qt::Key_Right, "A Kid", "A1 Kid" },
        { true, false, Qt::Key_Up, "A2 Kid", "A1 Kid" },
        { true, false, Qt::Key_Down, "A2 Kid", "B1 Kid" }, // across owners
        { true, false, Qt::Key_Up, "A1 Kid", "A1 Kid" },   // nothing before
        { true, false, Qt::Key_Right, "B1 Kid", "B1 Kid" }, // no children
        { true, false, Qt::Key_Left, "R Root", "R Root" },
        // Top-down ancestors: older generations above.
        { false, true, Qt::Key_Left, "M Mother", "F Father" },
        { false, true, Qt::Key_Right, "FM Grand", "MF Grand" },
        { false, true, Qt::Key_Up, "Z Child", "F Father" },
        { false, true, Qt::Key_Up, "M Mother", "MF Grand" },
        { false, true, Qt::Key_Down, "MF Grand", "M Mother" },
        { false, true, Qt::Key_Down, "Z Child", "Z Child" },
        // Top-down descendants: younger generations below.
        { false, false, Qt::Key_Up, "B1 Kid", "B Kid" },
        { false, false, Qt::Key_Down, "B Kid", "B1 Kid" },
        { false, false, Qt::Key_Left, "B Kid", "A Kid" },
        { false, false, Qt::Key_Right, "A Kid", "B Kid" },
        { false, false, Qt::Key_Right, "B Kid", "B Kid" },
    };
    for (const Case& c : cases) {
        options.horizontal = c.horizontal;
        show(c.ancestors ? z : r, c.ancestors);
        FTPerson* from = moc->fetch<FTPerson>([&](const FTPerson* p) { return p->name() == c.from; }).value(0);
        select(from);
        EXPECT_TRUE(key(c.key));
        EXPECT_EQ(selectedName(), QString::fromUtf8(c.to))
            << c.from << " key " << std::hex << c.key << (c.horizontal ? " horizontal" : " top-down");
    }
    // The selection tells the window and comes into view.
    EXPECT_TRUE(host.info.startsWith("B Kid")) << host.info.toStdString();
    EXPECT_FALSE(host.scrolledTo.isEmpty());
}

TEST_F(HierarchyCommandsTest, TheLastGenerationAsksToAddOne)
{
    descendantsFamily();
    FTPerson* c = children(r, { "C Kid" })[0];
    options.generations = 1;
    show(r, false);
    select(a);
    const int requests = host.rebuildRequests;

    prompts.answer(1); // "DontAdd"
    EXPECT_TRUE(key(Qt::Key_Down));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("AddGeneration"));
    EXPECT_EQ(prompts.records[0].buttons, QStringList({ LocalizedString("Add"), LocalizedString("DontAdd") }));
    EXPECT_EQ(defaults().integerForKey("hdGenerations"), 1);
    EXPECT_FALSE(commands.needsRebuild());
    EXPECT_EQ(host.rebuildRequests, requests);
    EXPECT_EQ(selectedName(), "A Kid");

    // A box without children asks nothing.
    select(c);
    prompts.answer(0);
    key(Qt::Key_Down);
    EXPECT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(selectedName(), "C Kid");

    select(a);
    prompts.answer(0); // "Add"
    key(Qt::Key_Down);
    EXPECT_EQ(defaults().integerForKey("hdGenerations"), 2);
    EXPECT_TRUE(commands.needsRebuild());
    rebuild();
    EXPECT_EQ(layout.maxLevel(), 2);
    EXPECT_EQ(selectedName(), "A1 Kid");
}

TEST_F(HierarchyCommandsTest, ModifiersLimitWhatTheKeysDo)
{
    descendantsFamily();
    options.horizontal = true;
    show(r, false);
    select(a);
    const QRectF box = node(a)->rclBox();

    // Alt with an arrow has no meaning across: a message, nothing moved.
    for (int k : { Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down })
        EXPECT_TRUE(key(k, Qt::AltModifier));
    ASSERT_EQ(prompts.records.size(), 4);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("IncorrectHorizontalUse"));
    EXPECT_EQ(selectedName(), "A Kid");
    EXPECT_EQ(node(a)->rclBox(), box);

    // Shift with anything but Left and Right does nothing at all.
    prompts.clear();
    for (auto [k, text] : { std::pair { int(Qt::Key_M), QString("M") }, std::pair { int(Qt::Key_Up), QString() },
             std::pair { int(Qt::Key_Down), QString() }, std::pair { int(Qt::Key_Return), QString("\r") } })
        EXPECT_TRUE(key(k, Qt::ShiftModifier, text));
    EXPECT_TRUE(host.menusShown.isEmpty());
    EXPECT_TRUE(host.detailsShown.isEmpty());
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(selectedName(), "A Kid");
    EXPECT_FALSE(commands.needsRebuild());

    // Shift-Left folds the selected branch, Shift-Right opens it again.
    key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_TRUE(layout.contractedPeople().contains(a->objectURI()));
    rebuild();
    EXPECT_TRUE(node(a)->contracted());
    EXPECT_FALSE(node(a1));
    EXPECT_EQ(selectedName(), "A Kid");
    key(Qt::Key_Right, Qt::ShiftModifier);
    rebuild();
    EXPECT_TRUE(node(a1));

    // Plain keys: "m" shows the menu of the selected box, Return the details, an unknown key is not ours.
    EXPECT_TRUE(key(Qt::Key_M, Qt::NoModifier, "m"));
    EXPECT_EQ(host.menusShown, QList<Hierarchy*>({ node(a) }));
    EXPECT_TRUE(key(Qt::Key_Return));
    EXPECT_EQ(host.detailsShown, QStringList({ "A Kid" }));
    EXPECT_TRUE(key(Qt::Key_Delete));
    EXPECT_FALSE(key(Qt::Key_X, Qt::NoModifier, "x"));
}

TEST_F(HierarchyCommandsTest, NudgingStopsAtTheMarginAndOnlyWhereRowsRunAcross)
{
    descendantsFamily();
    show(r, false);
    Hierarchy* first = node(a1a); // a leaf of the first row
    ASSERT_NEAR(first->rclBox().x(), layout.leftMargin(), 1e-9);
    select(b);
    const double bx = node(b)->rclBox().x();
    key(Qt::Key_Left, Qt::AltModifier);
    EXPECT_DOUBLE_EQ(node(b)->rclBox().x(), bx - 5);
    key(Qt::Key_Right, Qt::AltModifier);
    key(Qt::Key_Right, Qt::AltModifier);
    EXPECT_DOUBLE_EQ(node(b)->rclBox().x(), bx + 5);
    ASSERT_FALSE(host.redrawnRects.isEmpty());
    // The lines around the box are drawn again, far to either side.
    const QRectF both = node(b)->rclBox().united(node(b)->rclBox().translated(-5, 0));
    EXPECT_TRUE(host.redrawnRects.last().contains(both.adjusted(-990, -49, 990, 49)));

    // At the margin a box goes no further left; 3 points from it, it stops there.
    commands.nudgeLeft(first);
    EXPECT_DOUBLE_EQ(first->rclBox().x(), layout.leftMargin());
    first->setRclBox(first->rclBox().translated(3, 0));
    commands.nudgeLeft(first);
    EXPECT_DOUBLE_EQ(first->rclBox().x(), layout.leftMargin());

    // Refused across and when the diagram is fitted to the window.
    for (bool horizontal : { true, false }) {
        options.horizontal = horizontal;
        options.sizeToWidth = !horizontal;
        show(r, false);
        const QRectF before = node(b)->rclBox();
        commands.nudgeRight(node(b));
        commands.nudgeLeft(node(b));
        EXPECT_EQ(node(b)->rclBox(), before) << horizontal;
    }
}

TEST_F(HierarchyCommandsTest, ContractingToTheBloodLineKeepsThePathAndTheSelectedPersonsDescendants)
{
    // R: A (A1 (A1a), A2), B (B1 (B1a)), C (C1).
    descendantsFamily();
    FTPerson* b1a = children(b1, { "B1a Kid" })[0];
    FTPerson* c = children(r, { "C Kid" })[0];
    FTPerson* c1 = children(c, { "C1 Kid" })[0];
    Q_UNUSED(b1a);
    Q_UNUSED(c1);
    for (bool rootPath : { true, false }) {
        options.showRootPath = rootPath;
        show(r, false);
        select(a1);
        EXPECT_EQ(layout.pathToRoot().isEmpty(), !rootPath);
        commands.contractToBloodLine();
        EXPECT_EQ(QSet<QString>(layout.contractedPeople()),
            QSet<QString>({ b->objectURI(), b1->objectURI(), c->objectURI() }))
            << rootPath;
        rebuild();
        EXPECT_THAT(namesOf(nodes()),
            ::testing::ElementsAre("R Root", "A Kid", "A1 Kid", "A1a Kid", "A2 Kid", "B Kid", "C Kid"))
            << rootPath;
        EXPECT_TRUE(node(b)->contracted());
        EXPECT_TRUE(node(c)->contracted());
        EXPECT_EQ(selectedName(), "A1 Kid");

        commands.expandAll();
        rebuild();
        EXPECT_EQ(nodes().size(), 10);
    }
}

TEST_F(HierarchyCommandsTest, ControlsFollowTheirRules)
{
    descendantsFamily();
    options.generations = 2;
    show(r, false);

    // More generations than the tree holds: one beep at the next build, none after.
    defaults().setInteger("hdGenerations", 6);
    commands.refreshDisplay(HierarchyDiagramCommands::Control::GenerationsStepper);
    EXPECT_TRUE(commands.needsRebuild());
    rebuild();
    EXPECT_EQ(beeps, 1);
    commands.markForRebuild();
    rebuild();
    EXPECT_EQ(beeps, 1);

    // Fewer: a selected box below the last generation hands the selection to its owner.
    select(a1a);
    defaults().setInteger("hdGenerations", 2);
    commands.refreshDisplay(HierarchyDiagramCommands::Control::GenerationsStepper);
    rebuild();
    EXPECT_EQ(selectedName(), "A1 Kid");

    // Descendants run cascaded across; the direction switches clear the selection.
    defaults().setBool("hdHorizontal", true);
    commands.refreshDisplay(HierarchyDiagramCommands::Control::HorizontalSwitch);
    EXPECT_TRUE(defaults().boolForKey("hdCascaded"));
    rebuild();
    EXPECT_EQ(selectedName(), "R Root");
    commands.setBAncestors(true);
    commands.refreshDisplay(HierarchyDiagramCommands::Control::AncestorsSwitch);
    EXPECT_FALSE(defaults().boolForKey("hdCascaded"));
    EXPECT_EQ(host.title, "Ancestors of R Root");

    // A size the window works out itself: a message, and nothing else.
    struct Case {
        HierarchyDiagramCommands::Control control;
        bool horizontal;
        const char* help;
    };
    defaults().setBool("hdSizeToWidth", true);
    for (const Case& c : { Case { HierarchyDiagramCommands::Control::PointSizeStepper, true, "HorizontalHelp" },
             Case { HierarchyDiagramCommands::Control::ColumnWidthStepper, false, "VerticalHelp" },
             Case { HierarchyDiagramCommands::Control::TruncateSwitch, true, "SizeToWidthHelp" } }) {
        rebuild();
        prompts.clear();
        defaults().setBool("hdHorizontal", c.horizontal);
        commands.refreshDisplay(c.control);
        ASSERT_EQ(prompts.records.size(), 1);
        EXPECT_EQ(prompts.records[0].text, LocalizedString(c.help));
        EXPECT_FALSE(commands.needsRebuild());
    }
}

TEST_F(HierarchyCommandsTest, TheUsersOwnDefaultsComeBackWithoutTheCascade)
{
    descendantsFamily();
    show(r, false);
    auto snapshot = [] {
        QVariantMap all;
        for (const QString& key : defaults().allKeys())
            all.insert(key, defaults().objectForKey(key));
        return all;
    };

    // Nothing saved yet: nothing is copied, the diagram is only built again.
    const QVariantMap before = snapshot();
    const int requests = host.rebuildRequests;
    commands.setUserDefaults();
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(host.rebuildRequests, requests + 1);
    EXPECT_TRUE(commands.needsRebuild());

    defaults().setBool("hdCascaded", true);
    defaults().setBool("hdFullName", false);
    defaults().setColor("hdNameColour", QColor(1, 2, 3));
    defaults().setString("authorsByline", "A. Author");
    HdOptions::saveAsUserDefaults();
    const QVariantMap saved = defaults().objectForKey("hdUserDefaults").toMap();
    EXPECT_FALSE(saved.contains("hdCascaded"));
    EXPECT_EQ(saved.value("authorsByline").toString(), "A. Author");

    defaults().setBool("hdCascaded", false);
    defaults().setBool("hdFullName", true);
    defaults().setColor("hdNameColour", Qt::red);
    defaults().setString("authorsByline", "");
    commands.setUserDefaults();
    EXPECT_FALSE(defaults().boolForKey("hdFullName"));
    EXPECT_EQ(defaults().colorForKey("hdNameColour"), QColor(1, 2, 3));
    EXPECT_EQ(defaults().stringForKey("authorsByline"), "A. Author");
    EXPECT_FALSE(defaults().boolForKey("hdCascaded")) << "the cascade belongs to the open diagram";

    // A dictionary edited by hand brings back the options and nothing else.
    QVariantMap edited = saved;
    edited.insert("hdCascaded", true);
    edited.insert("KinloomDataDirectory", "/elsewhere");
    defaults().setObject("hdUserDefaults", edited);
    const QString data = defaults().stringForKey("KinloomDataDirectory");
    commands.setUserDefaults();
    EXPECT_FALSE(defaults().boolForKey("hdCascaded"));
    EXPECT_EQ(defaults().stringForKey("KinloomDataDirectory"), data);
}

TEST_F(HierarchyCommandsTest, MenuCommandsActOnTheirNodeOrPerson)
{
    descendantsFamily();
    FTPerson* wife = person("W Wife", F());
    FTPerson* second = person("S Second", F());
    couple(a, wife);
    show(r, false);
    select(a);
    DiagramHooks saved = DiagramHooks::shared();
    RecordingDialogs dialogs;
    RelativeDialogs::install(&dialogs);

    // One spouse: the family dialog for that couple.
    commands.perform(commands.popupMenu(node(a))[4]);
    EXPECT_THAT(dialogs.calls, ::testing::ElementsAre("family A Kid W Wife"));

    // Two: the user chooses, or the window that asks is not there yet.
    couple(a, second);
    DiagramHooks::shared() = DiagramHooks();
    commands.invokeFamilyDialog(nullptr);
    EXPECT_EQ(dialogs.calls.size(), 1);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(prompts.records[0].text.toStdString(), ::testing::HasSubstr("not available"));
    DiagramHooks::shared().selectSpouse = [&](FTPerson*) { return second; };
    commands.invokeFamilyDialog(a);
    DiagramHooks::shared().selectSpouse = [](FTPerson*) { return nullptr; };
    commands.invokeFamilyDialog(a);
    EXPECT_THAT(dialogs.calls, ::testing::ElementsAre("family A Kid W Wife", "family A Kid S Second"));

    commands.invokePersonalDetailsDialog(b);
    EXPECT_EQ(dialogs.calls.last(), "addChild B Kid");

    // Making a person the root starts a new tree at the origin.
    commands.promoteToRootPerson(a);
    EXPECT_TRUE(host.scrolledTo.contains(QRectF()));
    EXPECT_EQ(host.title, "Descendants of A Kid");
    rebuild();
    EXPECT_EQ(layout.rootHierarchy()->person(), a);
    EXPECT_EQ(selectedName(), "A Kid");

    RelativeDialogs::install(nullptr);
    DiagramHooks::shared() = saved;
}

TEST_F(HierarchyCommandsTest, OnlyChangesToPeopleShownInThisDatabaseRebuild)
{
    descendantsFamily();
    FTPerson* stranger = person("Stranger", M());
    show(r, false);
    NotificationCenter::defaultCenter().post("TitleChanged", stranger, moc.get());
    NotificationCenter::defaultCenter().post("TitleChanged", a1, nullptr);
    EXPECT_FALSE(commands.needsRebuild());
    Notification n { "TitleChanged", a1, moc.get(), {} };
    commands.personalDataChanged(n);
    EXPECT_TRUE(commands.needsRebuild());
}

TEST_F(HierarchyCommandsTest, ThePointerSelectsAndOpens)
{
    descendantsFamily();
    show(r, false);
    const QPointF inB = node(b)->rclBox().center();
    commands.mouseDown(inB, false, Qt::NoModifier);
    EXPECT_EQ(selectedName(), "B Kid");
    EXPECT_TRUE(host.detailsShown.isEmpty());
    commands.mouseDown(inB, true, Qt::NoModifier);
    commands.mouseDown(node(a)->rclBox().center(), false, Qt::ControlModifier);
    EXPECT_EQ(host.detailsShown, QStringList({ "B Kid", "A Kid" }));
    commands.mouseDown(QPointF(1, 1), false, Qt::NoModifier);
    EXPECT_EQ(selectedName(), "A Kid");

    commands.rightMouseDown(node(b1)->rclBox().center());
    EXPECT_EQ(selectedName(), "B1 Kid");
    EXPECT_EQ(host.menusShown, QList<Hierarchy*>({ node(b1) }));
    commands.rightMouseDown(QPointF(1, 1));
    EXPECT_EQ(host.menusShown.size(), 1);

    // Shift-dragging moves the selected box along its row; the area repainted holds both places and the lines.
    const QRectF before = node(b1)->rclBox();
    const QRectF area = commands.moveSelectedBoxSideways(-30);
    EXPECT_EQ(node(b1)->rclBox(), before.translated(-30, 0));
    EXPECT_TRUE(area.contains(before.united(before.translated(-30, 0)).adjusted(0, -layout.verticalSpacing(), 0,
        layout.verticalSpacing())));
}

} // namespace
