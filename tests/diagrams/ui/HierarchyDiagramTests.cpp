#include "HierarchyWindowFixture.h"
#include "../../shell/ui/ApplicationFixture.h"

#include "PdfTools.h"
#include "PopupMenuPress.h"
#include "Screenshot.h"

#include "diagrams/DiagramHooks.h"
#include "diagrams/HdPainter.h"
#include "diagrams/HdPrinting.h"
#include "diagrams/ui/DiagramPopupMenu.h"
#include "diagrams/ui/HdView.h"
#include "diagrams/ui/HierarchyDiagram.h"
#include "diagrams/ui/HierarchyDiagramSetup.h"

#include "shell/ui/ElidedLabel.h"
#include "shell/ui/ToolbarController.h"

#include "model/Hierarchy.h"

#include "platform/UserDefaults.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

TEST_F(HierarchyWindow, ATopDownDescendantsDiagram)
{
    // Four generations below Robert, of which three are shown: Albert's grandson Arthur has a son beyond them.
    FTPerson* robert = person("Robert Ashdown", M(), 1820, 1890);
    couple(robert, person("Mary Blake", F(), 1824, 1881));
    FTPerson* albert = child(robert, "Albert Ashdown", M(), 1845);
    FTPerson* beatrice = child(robert, "Beatrice Ashdown", F(), 1848);
    FTPerson* charles = child(robert, "Charles Ashdown", M(), 1851);
    FTPerson* alfred = child(albert, "Alfred Ashdown", M(), 1870);
    child(albert, "Alice Ashdown", F(), 1873);
    child(beatrice, "Bertha Cole", F(), 1875);
    child(charles, "Cecil Ashdown", M(), 1880);
    FTPerson* arthur = child(alfred, "Arthur Ashdown", M(), 1895);
    child(alfred, "Agnes Ashdown", F(), 1898);
    child(arthur, "Ambrose Ashdown", M(), 1921);

    UserDefaults& d = UserDefaults::standard();
    d.setBool("hdHorizontal", false);
    d.setColor("hdBgColour", QColor(222, 234, 244));
    d.setDouble("hdColourGradient", 0.4);
    open(robert, false);
    window->resize(1130, 640);
    EXPECT_EQ(window->windowTitle(), "Descendants of Robert Ashdown (1820 - 1890)");
    window->generationsStepper()->setValue(3);
    settle();
    commands().contractHierarchy(node(charles));
    settle();
    commands().setSelectedHierarchy(node(alfred));
    settle();
    EXPECT_TRUE(node(charles)->contracted());
    EXPECT_EQ(view()->layout().pathToRoot().size(), 3);
    EXPECT_TRUE(window->selectedPersonsInfoTextField()->text().startsWith("Alfred Ashdown"));
    saveScreenshot(window.get(), "hierarchy-descendants-top-down");
}

TEST_F(HierarchyWindow, AHorizontalAncestorsDiagram)
{
    FTPerson* zoe = person("Zoe Hartley", F(), 1902);
    auto parents = [&](FTPerson* of, const char* father, const char* mother, int born) {
        FTPerson* f = person(father, M(), born);
        FTPerson* m = person(mother, F(), born + 3);
        link(f, of);
        link(m, of);
        couple(f, m);
        return std::pair { f, m };
    };
    auto [frank, mabel] = parents(zoe, "Frank Hartley", "Mabel Greene", 1872);
    auto [fred, flora] = parents(frank, "Fred Hartley", "Flora Dean", 1846);
    auto [matthew, martha] = parents(mabel, "Matthew Greene", "Martha Hill", 1849);
    parents(fred, "George Hartley", "Grace Wood", 1815);
    parents(matthew, "Henry Greene", "Hannah Lowe", 1818);
    Q_UNUSED(flora);
    Q_UNUSED(martha);

    UserDefaults& d = UserDefaults::standard();
    d.setBool("hdHorizontal", true);
    d.setColor("hdBgColour", QColor(236, 230, 214));
    d.setDouble("hdColourGradient", 0.3);
    open(zoe, true);
    window->resize(900, 600);
    window->generationsStepper()->setValue(2);
    settle();
    commands().contractHierarchy(node(matthew));
    settle();
    commands().setSelectedHierarchy(node(fred));
    settle();
    EXPECT_TRUE(node(matthew)->contracted());
    EXPECT_EQ(view()->layout().timelineArray().size(), 3u);
    saveScreenshot(window.get(), "hierarchy-ancestors-horizontal");
}

// A pair of parents under a title far wider than their two boxes: the chart widens for its title, and the PDF
// shows the title whole with the program's own name in the footer.
TEST_F(HierarchyWindow, AChartNarrowerThanItsTitleWidensForIt)
{
    FTPerson* root = person("Augustus Frederick Edward Hanover-Saxe-Coburg-Gotha of_Sussex", M(), 1773, 1843);
    link(person("George Hanover", M(), 1738, 1820), root);
    link(person("Charlotte Strelitz", F(), 1744, 1818), root);
    UserDefaults::standard().setBool("hdHorizontal", false);
    open(root, true);
    window->resize(900, 500);
    settle();
    const QString title = window->windowTitle();
    EXPECT_TRUE(title.startsWith("Ancestors of Augustus Frederick"));
    const double needed = HdPainter::titleBlockWidth(title, {});
    QRectF boxes;
    for (const Hierarchy* h : { node(root), node(root)->nextGenArray().first(), node(root)->nextGenArray().last() })
        boxes |= h->rclBox();
    ASSERT_LT(boxes.width() + 80, needed) << "the boxes alone are narrower than the title";
    EXPECT_GE(view()->layout().xExtent(), needed);
    EXPECT_GE(view()->width(), needed);
    // Under the middle of the title.
    EXPECT_NEAR(boxes.center().x(), view()->layout().xExtent() / 2, 30);
    saveScreenshot(window.get(), "hierarchy-long-title-and-pair");

    const QString pdf = pathFor("chart.pdf");
    QString error;
    ASSERT_TRUE(HdPrinting::writePdf(view()->hdPainter(), QSizeF(view()->size()), pdf, &error)) << error.toStdString();
    const QString text = PdfTools::pageTexts(pdf).join("\n");
    EXPECT_TRUE(text.contains("Ancestors of Augustus Frederick Edward Hanover-Saxe-Coburg-Gotha")) << text.toStdString();
    EXPECT_TRUE(text.contains("Created with Kinloom")) << text.toStdString();
    EXPECT_FALSE(text.contains(QChar(0x2122)));
}

TEST_F(HierarchyWindow, AWindowTakesTheFrameOfTheLastOneClosed)
{
    FTPerson* root = person("Root Person", M(), 1900);
    // The first opens centred, as large as the screen allows.
    {
        HierarchyDiagram first(root, true, nullptr);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QSize size = QSize(HierarchyDiagram::kDefaultWidth, HierarchyDiagram::kDefaultHeight).boundedTo(screen.size());
        QRect centred(QPoint(0, 0), size);
        centred.moveCenter(screen.center());
        EXPECT_EQ(first.geometry(), centred);
    }
    EXPECT_TRUE(HierarchyDiagram::prevFrameRect().isNull());
    open(root, true);
    const QRect moved(40, 50, 700, 500);
    window->setGeometry(moved);
    QCoreApplication::processEvents();
    window->close();
    EXPECT_EQ(HierarchyDiagram::prevFrameRect(), window->geometry());
    const QRect closedAt = window->geometry();
    window.reset();

    HierarchyDiagram second(root, false, nullptr);
    EXPECT_EQ(second.geometry(), closedAt);
    EXPECT_EQ(second.windowTitle(), "Descendants of Root Person (1900 - )");
}

TEST_F(HierarchyWindow, TheFrontWindowTakesTheKeyboardAndTheFrameColour)
{
    open(person("Root Person", M(), 1900), true);
    QApplication::setActiveWindow(window.get());
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), view());
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(202, 220, 202));
    window->setFrameColour(false);
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(228, 237, 228));

    window->displayHelp();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedHelpString("HdHelpHeading"));
    EXPECT_EQ(prompts.records[0].info, LocalizedHelpString("HdHelp"));
    EXPECT_EQ(prompts.records[0].buttons, QStringList({ LocalizedString("Close") }));
}

TEST_F(HierarchyWindow, DraggingScrollsTheDiagramAndShiftDraggingMovesTheSelectedBox)
{
    FTPerson* root = person("Root Person", M(), 1900);
    for (int i = 0; i < 12; ++i)
        child(root, QStringLiteral("Child %1 Person").arg(i), M(), 1930 + i);
    UserDefaults::standard().setBool("hdHorizontal", false);
    open(root, false);
    window->resize(600, 400);
    settle();
    QScrollBar* across = window->scrollArea()->horizontalScrollBar();
    ASSERT_GT(across->maximum(), 200);
    across->setValue(0);
    auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {}) {
        QMouseEvent event(type, QPointF(at), QPointF(view()->mapToGlobal(at)),
            type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, mods);
        QCoreApplication::sendEvent(view(), &event);
    };
    // Outside every box: the diagram follows the pointer.
    const QPoint start(300, 55);
    mouse(QEvent::MouseButtonPress, start, Qt::LeftButton);
    mouse(QEvent::MouseMove, start - QPoint(150, 0), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, start - QPoint(150, 0), Qt::NoButton);
    EXPECT_EQ(across->value(), 150);

    // With Shift the selected box moves along its row.
    Hierarchy* third = view()->layout().rootHierarchy()->nextGenArray()[2];
    const QRectF before = third->rclBox();
    const QPoint inside = before.center().toPoint();
    mouse(QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(commands().selectedHierarchy(), third);
    mouse(QEvent::MouseMove, inside + QPoint(20, 3), Qt::LeftButton, Qt::ShiftModifier);
    mouse(QEvent::MouseButtonRelease, inside + QPoint(20, 3), Qt::NoButton, Qt::ShiftModifier);
    EXPECT_EQ(third->rclBox(), before.translated(20, 0));
}

TEST_F(HierarchyWindow, TheMenuAndTheKeysWorkOnTheBoxes)
{
    FTPerson* root = person("Root Person", M(), 1900);
    FTPerson* son = child(root, "Son Person", M(), 1930);
    FTPerson* grandson = child(son, "Grandson Person", M(), 1960);
    UserDefaults::standard().setBool("hdHorizontal", false);
    open(root, false);
    EXPECT_EQ(selectedName(), "Root Person");

    // A secondary press selects the box and shows its menu; "Make Root Person" starts the tree there.
    ASSERT_TRUE(pressSecondary(view(), node(son)->rclBox().center(), [](DiagramPopupMenu* menu) {
        saveScreenshot(menu, "hierarchy-menu");
        choose(menu, actionTitled(menu, LocalizedString("PromoteToRoot")));
    }));
    settle();
    EXPECT_EQ(view()->layout().rootHierarchy()->person(), son);
    EXPECT_EQ(window->windowTitle(), "Descendants of Son Person (1930 - )");

    // Down goes to the child; "m" opens the menu at the selected box.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(view(), &down);
    EXPECT_EQ(selectedName(), "Grandson Person");
    bool menuShown = false;
    QTimer::singleShot(0, view(), [&] {
        if (auto* menu = qobject_cast<DiagramPopupMenu*>(QApplication::activePopupWidget())) {
            menuShown = menu->geometry().contains(view()->mapToGlobal(node(grandson)->rclBox().center().toPoint()));
            menu->close();
        }
    });
    QKeyEvent m(QEvent::KeyPress, Qt::Key_M, Qt::NoModifier, "m");
    QCoreApplication::sendEvent(view(), &m);
    EXPECT_TRUE(menuShown);

    // Renaming a person of the tree rebuilds it; the title follows its root.
    const int rebuilds = view()->rebuildCount();
    son->setName("Sonny Person");
    EXPECT_EQ(window->windowTitle(), "Descendants of Sonny Person (1930 - )");
    settle();
    EXPECT_EQ(view()->rebuildCount(), rebuilds + 1);
    EXPECT_EQ(selectedName(), "Grandson Person");
}

// The program as it starts on the sample database.
class HierarchyWindowInApp : public ApplicationFixture {};

TEST_F(HierarchyWindowInApp, TheToolbarsAncestorsButtonOpensTheSelectedPersonsAncestors)
{
    HierarchyDiagram::setPrevFrameRect({});
    const QString sample = QCoreApplication::applicationDirPath() + "/../share/kinloom/Royal92.RezUdu";
    ASSERT_TRUE(QFileInfo::exists(sample)) << sample.toStdString();
    const QString path = data + "/Royal92.RezUdu";
    ASSERT_TRUE(QFile::copy(sample, path));
    start();
    installHierarchyDiagram(*app);
    DOvurDocument* doc = DocumentController::shared().openDocumentWithContentsOfURL(path, true);
    ASSERT_TRUE(doc);
    QCoreApplication::processEvents();
    FTPerson* focal = doc->moc()->focalPerson();
    ASSERT_TRUE(focal);
    ASSERT_EQ(doc->moc()->selectedPerson(), focal);

    QWidget* item = doc->toolbarController()->itemView(ToolbarController::kAncestors);
    ASSERT_TRUE(item);
    auto* button = item->findChild<QToolButton*>();
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->isEnabled());
    button->click();
    QCoreApplication::processEvents();
    const QList<HierarchyDiagram*> windows = doc->dovurWindow()->findChildren<HierarchyDiagram*>();
    ASSERT_EQ(windows.size(), 1);
    HierarchyDiagram* diagram = windows.first();
    EXPECT_TRUE(diagram->isVisible());
    EXPECT_TRUE(diagram->isWindow());
    diagram->hdView()->prepare();
    QCoreApplication::processEvents();
    EXPECT_EQ(diagram->hdView()->layout().rootHierarchy()->person(), focal);
    EXPECT_TRUE(diagram->hdView()->layout().bAncestors());
    EXPECT_GT(diagram->hdView()->layout().personSet().size(), 7);
    EXPECT_EQ(diagram->windowTitle(), "Ancestors of " + focal->nameWithBirthAndDeathYears());
    saveScreenshot(diagram, "hierarchy-royal92-ancestors");

    // A line about the person too long for the room beside the buttons ends in an ellipsis, not mid-word.
    ElidedLabel* info = diagram->selectedPersonsInfoTextField();
    EXPECT_TRUE(info->text().startsWith("Victoria Hanover, ID 1, Queen of England"));
    diagram->resize(640, diagram->height());
    QCoreApplication::processEvents();
    EXPECT_TRUE(info->shownText().endsWith(QChar(0x2026))) << info->shownText().toStdString();
    EXPECT_LE(info->fontMetrics().horizontalAdvance(info->shownText()), info->contentsRect().width());
    EXPECT_TRUE(info->text().startsWith(info->shownText().chopped(1)));
    for (const QPushButton* button : diagram->findChildren<QPushButton*>())
        EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    saveScreenshot(diagram, "hierarchy-royal92-ancestors-narrow");

    // A crowded chart: the queen's nine children and their families.
    diagram->descendantsButton()->click();
    diagram->hdView()->prepare();
    QCoreApplication::processEvents();
    EXPECT_FALSE(diagram->hdView()->layout().bAncestors());
    saveScreenshot(diagram, "hierarchy-royal92-descendants");

    // The Reports menu's chart saves what was typed first; the family diagram's command opens the window too.
    QWidget holder;
    QMenuBar* bar = app->createMainMenu(&holder);
    QAction* chart = nullptr;
    for (QMenu* menu : bar->findChildren<QMenu*>())
        for (QAction* a : menu->actions())
            if (a->text() == "Descendants Chart")
                chart = a;
    ASSERT_TRUE(chart);
    focal->setValueForKey("notes", "A note");
    ASSERT_TRUE(doc->moc()->hasChanges());
    chart->trigger();
    EXPECT_FALSE(doc->moc()->hasChanges());
    ASSERT_TRUE(DiagramHooks::shared().hierarchyDiagram);
    DiagramHooks::shared().hierarchyDiagram(focal, true);
    const QList<HierarchyDiagram*> opened = doc->dovurWindow()->findChildren<HierarchyDiagram*>();
    ASSERT_EQ(opened.size(), 3);
    EXPECT_FALSE(opened[1]->hdView()->commands().bAncestors());
    EXPECT_TRUE(opened[2]->hdView()->commands().bAncestors());
    for (HierarchyDiagram* w : opened)
        if (w != diagram)
            w->close();

    // Closing it deletes it once control is back in the event loop, and the main window closes cleanly.
    diagram->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(doc->dovurWindow()->findChildren<HierarchyDiagram*>().isEmpty());
    ToolbarController::setItemHandler(ToolbarController::kAncestors, {});
    ToolbarController::setItemHandler(ToolbarController::kDescendants, {});
    DiagramHooks::shared().hierarchyDiagram = {};
}

} // namespace
