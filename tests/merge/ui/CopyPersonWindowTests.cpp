// Copying a person between two open databases in the running program, from the family diagram's empty box into the
// copy window; the window on the sample database's most collapsed pedigree; the duplicate-people sheet from the
// People menu.

#include "../../diagrams/ui/PopupMenuPress.h"
#include "../../shell/ui/ApplicationFixture.h"

#include "merge/PersonCopier.h"
#include "merge/ui/CopyOutlineModel.h"
#include "merge/ui/CopyPersonFromOtherModel.h"
#include "merge/ui/DuplicatePeople.h"
#include "merge/ui/MergeMenuActions.h"

#include "diagrams/CdPerson.h"
#include "diagrams/ui/CdDiagram.h"
#include "diagrams/ui/FamilyDiagramSetup.h"

#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"
#include "model/Hierarchy.h"

#include "CollapsedPedigree.h"
#include "Screenshot.h"
#include "WorkspaceFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// Runs `script` on the first modal window of class W that shows while `action` runs.
template <class W>
bool whileModalShows(const std::function<void(W*)>& script, const std::function<void()>& action)
{
    bool shown = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w || shown)
            return;
        shown = true;
        poll.stop();
        script(w);
    });
    poll.start();
    action();
    return shown;
}

QAction* menuItem(QMenuBar* bar, const QString& menu, const QString& title)
{
    for (QAction* m : bar->actions())
        if (m->text() == menu && m->menu())
            for (QAction* item : m->menu()->actions())
                if (item->text() == title)
                    return item;
    return nullptr;
}

QStringList names(const QList<FTPerson*>& people)
{
    QStringList out;
    for (const FTPerson* p : people)
        out << p->name();
    return out;
}
}

class CopyPersonWindow : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        installFamilyDiagram();
        MergeMenuActions::install();
        start();
        MergeMenuActions::registerMenuItems(*app);
    }
    void TearDown() override
    {
        ApplicationFixture::TearDown();
        uninstallFamilyDiagram();
    }
    // A database in the data folder, filled by `fill`, its focal person the first person made.
    QString database(const QString& name, const std::function<void(FTMoc*)>& fill)
    {
        const QString path = data + "/" + name + ".RezUdu";
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(path, true);
        EXPECT_TRUE(moc);
        fill(moc.get());
        EXPECT_TRUE(moc->saveMoc());
        return path;
    }
    static FTPerson* person(FTMoc* moc, const char* name, const char* gender, const char* born)
    {
        FTPerson* p = FTPerson::initInMoc(moc, name, gender);
        p->setValueForKeyPath("birth.date", born);
        return p;
    }
    DOvurDocument* open(const QString& path)
    {
        DOvurDocument* doc = app->openDocumentWithContentsOfURL(path);
        EXPECT_TRUE(doc);
        if (doc)
            DocumentController::shared().setCurrentDocument(doc);
        return doc;
    }
};

TEST_F(CopyPersonWindow, TheDiagramsEmptyChildBoxCopiesThePersonSelectedInTheOtherDatabase)
{
    WorkspaceFixture workspace {TestSupport::tempRoot(), "text/plain"};
    DOvurDocument* there = open(database("Other", [](FTMoc* m) {
        FTPerson* kit = person(m, "Kit Kid", "M", "1925");
        FTPerson* wyn = person(m, "Wyn Wife", "F", "1927");
        kit->addSpouseRel(wyn);
        for (const char* g : {"Gus Grand", "Amy Grand"}) {
            FTPerson* c = person(m, g, g[0] == 'G' ? "M" : "F", "1955");
            kit->attachChild(c, 1, false, nullptr);
            wyn->attachChild(c, 1, false, nullptr);
        }
        m->setFocalPerson(kit);
        m->setSelectedPerson(kit);
    }));
    DOvurDocument* here = open(database("Family", [](FTMoc* m) {
        FTPerson* owen = person(m, "Owen Owner", "M", "1900");
        owen->addSpouseRel(person(m, "Ann Owner", "F", "1902"));
        m->setFocalPerson(owen);
    }));
    ASSERT_TRUE(there && here);
    auto* diagram = qobject_cast<CdDiagram*>(here->pcd());
    ASSERT_TRUE(diagram);
    here->dovurWindow()->show();
    QCoreApplication::processEvents();
    diagram->prepare();
    const CdPerson* slot = nullptr;
    for (const auto& b : diagram->cdLayout().cdPersonsArray())
        if (b->isGhost() && b->ancLevel() == CdPerson::kChild)
            slot = b.get();
    ASSERT_TRUE(slot);

    QStringList rows;
    bool reportShown = false;
    const bool shown = whileModalShows<CopyPersonFromOtherModel>(
        [&](CopyPersonFromOtherModel* w) {
            EXPECT_EQ(w->windowTitle(), L("CopyPerson") + " Other");
            EXPECT_EQ(w->targetField()->text(), "Child of Owen Owner (1900 - )");
            EXPECT_FALSE(w->outlineView()->isVisible());
            saveScreenshot(w, "copy-person-window");
            w->includeButton()->click();
            EXPECT_TRUE(w->outlineView()->isVisible());
            QTreeView* olv = w->outlineView();
            for (QModelIndex i = olv->model()->index(0, 0); i.isValid(); i = olv->indexBelow(i))
                rows << QString("%1%2").arg(olv->selectionModel()->isSelected(i) ? "+" : "-",
                                             i.data().toString());
            saveScreenshot(w, "copy-person-window-outline");
            w->backupButton()->setChecked(false);
            w->copyButton()->click();
            EXPECT_FALSE(w->copyButton()->isEnabled());
            reportShown = w->personsDetails()->isVisible() && w->printButton()->isVisible();
            EXPECT_TRUE(w->personsDetails()->toPlainText().contains("Gus Grand (1955 - )"));
            saveScreenshot(w, "copy-person-window-report");
            w->reject();
        },
        [&] {
            EXPECT_TRUE(pressSecondary(diagram, slot->rclBox().bottomRight() - QPointF(3, 3), [&](DiagramPopupMenu* menu) {
                choose(menu, actionTitled(menu, "Copy \"Kit Kid\" from"));
            }));
        });
    ASSERT_TRUE(shown);
    EXPECT_THAT(rows, ElementsAre("+Kit Kid (1925 - )", "+Amy Grand (1955 - )", "+Gus Grand (1955 - )"));
    EXPECT_TRUE(reportShown);
    EXPECT_THAT(workspace.launched(), ElementsAre("--editor", Utils::reportsDirectory() + "/MergePersonFromOtherModel.txt"));

    FTMoc* moc = here->moc();
    FTPerson* kit = moc->fetchFirst<FTPerson>([](const FTPerson* p) { return p->name() == "Kit Kid"; });
    ASSERT_TRUE(kit);
    EXPECT_THAT(names(kit->parentsOfType(1)), ElementsAre("Owen Owner", "Ann Owner"));
    EXPECT_THAT(names(kit->childrenOfType(1)), ElementsAre("Amy Grand", "Gus Grand"));
    EXPECT_THAT(names(kit->spouses()), ElementsAre("Wyn Wife"));
    EXPECT_FALSE(there->moc()->hasChanges());
    // The diagram shows the new child.
    QCoreApplication::processEvents();
    diagram->prepare();
    bool boxed = false;
    for (const auto& b : diagram->cdLayout().cdPersonsArray())
        boxed = boxed || b->person() == kit;
    EXPECT_TRUE(boxed);
    saveScreenshot(here->dovurWindow(), "copy-person-diagram-after");
}

TEST_F(CopyPersonWindow, ARowBringsTheRowsAboveItAndAPedigreeOpensEachPersonOnce)
{
    const QString sample = copySampleDatabase(data);
    std::unique_ptr<FTMoc> royals = FTMoc::initForStoreURL(sample, true);
    ASSERT_TRUE(royals);
    double lines = 0;
    FTPerson* collapsed = mostCollapsedPedigree(royals->fetch<FTPerson>(), &lines);
    ASSERT_TRUE(collapsed);
    std::unique_ptr<FTMoc> family = FTMoc::initForStoreURL(database("Family", [&](FTMoc* m) {
        person(m, collapsed->gender() == "M" ? "Ann Owner" : "Owen Owner", collapsed->gender() == "M" ? "F" : "M", "1950");
    }), true);
    ASSERT_TRUE(family);
    FTPerson* owner = family->fetch<FTPerson>().first();

    CopyPersonFromOtherModel w(collapsed, owner, PersonCopier::kSpouseBox, 1);
    w.includeButton()->click();
    w.show();
    const CopyOutline& outline = w.copier().outline();
    // Every line followed would be far more rows than people: each person is opened once.
    QSet<const FTPerson*> people;
    int repeated = 0;
    for (const Hierarchy* row : outline.rows()) {
        people.insert(row->person());
        if (row->repeatedElsewhere()) {
            ++repeated;
            EXPECT_TRUE(outline.rowsUnder(const_cast<Hierarchy*>(row)).isEmpty());
        }
    }
    EXPECT_EQ(outline.rows().size(), people.size() + repeated);
    EXPECT_GT(lines, 2.0 * outline.rows().size());
    QTreeView* olv = w.outlineView();
    int shownRows = 0;
    for (QModelIndex i = olv->model()->index(0, 0); i.isValid(); i = olv->indexBelow(i))
        ++shownRows;
    EXPECT_EQ(shownRows, outline.rows().size());
    EXPECT_EQ(olv->selectionModel()->selectedRows().size(), outline.rows().size());
    saveScreenshot(&w, "copy-person-window-pedigree");

    // Choosing a great-grandparent's row alone keeps the line from the person to them.
    const Hierarchy* deep = nullptr;
    for (const Hierarchy* row : outline.rows())
        if (row->level() == 3 && !row->repeatedElsewhere()) {
            deep = row;
            break;
        }
    ASSERT_TRUE(deep);
    auto* model = static_cast<CopyOutlineModel*>(olv->model());
    olv->selectionModel()->select(model->indexOf(const_cast<Hierarchy*>(deep)),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QStringList line;
    for (const QModelIndex& i : olv->selectionModel()->selectedRows())
        line << model->node(i)->person()->name();
    QStringList expected;
    for (const Hierarchy* up = deep; up; up = up->owner())
        expected.prepend(up->person()->name());
    line.sort();
    expected.sort();
    EXPECT_EQ(line, expected);
    EXPECT_TRUE(w.copier().personIsSelected(deep->owner()->person()));
}

TEST_F(CopyPersonWindow, TheDuplicatePeopleSheetListsFiltersAndSavesThePairs)
{
    WorkspaceFixture workspace {TestSupport::tempRoot(), "text/csv"};
    DOvurDocument* doc = open(database("Family", [](FTMoc* m) {
        m->setFocalPerson(person(m, "Owen Owner", "M", "1900"));
        person(m, "Ann Lee", "F", "1900");
        person(m, "ANN LEE", "F", "1900");
        person(m, "Bob Stone", "M", "1910");
        person(m, "Bob Stone", "M", "1950");
        person(m, "Zoë Ng", "F", "1920");
        person(m, "Zoe Ng", "F", "1920");
    }));
    ASSERT_TRUE(doc);
    doc->dovurWindow()->show();
    QAction* item = menuItem(doc->dovurWindow()->menuBar(), "People", "Find Duplicate People...");
    ASSERT_TRUE(item);
    item->trigger();
    auto* sheet = doc->dovurWindow()->findChild<DuplicatePeople*>();
    ASSERT_TRUE(sheet);
    // The first search starts on its own once the sheet shows.
    ASSERT_TRUE(TestSupport::waitUntil([&] { return !sheet->arrangedObjects().isEmpty(); }, "the first search"));
    EXPECT_THAT(names(sheet->arrangedObjects()), ElementsAre("Ann Lee", "ANN LEE", "Bob Stone", "Bob Stone"));
    saveScreenshot(sheet, "duplicate-people");

    sheet->criterionButton(1)->setChecked(true); // the birth year
    sheet->findDuplicates();
    EXPECT_THAT(names(sheet->arrangedObjects()), ElementsAre("Ann Lee", "ANN LEE"));
    sheet->filterField()->setText("  ann ");
    EXPECT_EQ(sheet->arrangedObjects().size(), 2);
    sheet->filterField()->setText("bob");
    EXPECT_TRUE(sheet->arrangedObjects().isEmpty());
    sheet->filterField()->clear();

    prompts.clear();
    sheet->promoteToFocalPerson();
    EXPECT_EQ(texts(), QStringList({L("SelectPersonTryAgain")}));
    sheet->table()->selectRow(1);
    sheet->promoteToFocalPerson();
    EXPECT_EQ(doc->moc()->focalPerson()->name(), "ANN LEE");

    sheet->print();
    const QString csv = Utils::reportsDirectory() + "/Family_DuplicatePeople.csv";
    EXPECT_EQ(sheet->outputFilePath(), csv);
    EXPECT_THAT(workspace.launched(), ElementsAre("--editor", csv));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('\n'), 3);
}
