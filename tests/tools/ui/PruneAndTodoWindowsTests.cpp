// Pruning minor family groups, the to-do windows and the scratch pad, from the menus and the family diagram.

#include "ToolsWindowFixture.h"

#include "tools/TextListModel.h"
#include "tools/ui/PruneMinorDynasties.h"
#include "tools/ui/ScratchPadController.h"
#include "tools/ui/TodoAdd.h"
#include "tools/ui/TodoReview.h"

#include "diagrams/DiagramMenuItem.h"
#include "diagrams/FamilyDiagramCommands.h"
#include "diagrams/ui/CdDiagram.h"
#include "diagrams/ui/FamilyDiagramSetup.h"

#include "editor/ui/EditorTableView.h"

#include "shell/BackupPanel.h"

#include "model/FTModelDefaults.h"

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

namespace {
struct ScriptedBackupPanel : BackupPanel {
    int runs = 0;
    QString run(const QString&, const QString&, const QString& folder, const QString& proposedName) override
    {
        ++runs;
        return folder + "/" + proposedName;
    }
};
}

class PruneAndTodoWindows : public ToolsWindowFixture {
protected:
    void SetUp() override
    {
        // The main windows then get their family diagram.
        installFamilyDiagram();
        ToolsWindowFixture::SetUp();
    }
    void TearDown() override
    {
        if (ScratchPadController* pad = ScratchPadController::shared()) {
            pad->clearAll();
            pad->hide();
        }
        ToolsWindowFixture::TearDown();
        uninstallFamilyDiagram();
    }
    void runDiagramCommand(DOvurDocument* document, DiagramMenuItem::Action action)
    {
        auto* diagram = qobject_cast<CdDiagram*>(document->pcd());
        ASSERT_NE(diagram, nullptr);
        DiagramMenuItem item;
        item.action = action;
        diagram->commands().perform(item);
    }
};

TEST_F(PruneAndTodoWindows, PruningListsTheMinorGroupsAndDeletesTheChosenPeople)
{
    FTPerson* loner = FTPerson::initInMoc(moc, "Loner Bay", "M");
    FTPerson* pair = FTPerson::initInMoc(moc, "Pair Ash", "M");
    pair->addSpouse("Pairs Wife", "F");
    moc->saveMoc();
    ToolsMenuActions::pruneMinorDynasties();
    auto* p = sheet<PruneMinorDynasties>();
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->loaded()) << "the grouping waits for the window to show";
    ASSERT_TRUE(TestSupport::waitUntil([p] { return p->loaded(); }, "grouping"));
    EXPECT_FALSE(p->progressIndicator()->isVisible());
    const QStringList rows = p->otherModel()->texts();
    ASSERT_GE(rows.size(), 5);
    EXPECT_TRUE(rows.contains(loner->nameWithBirthAndDeathYears()));
    p->searchField()->setText(moc->focalPerson()->name().section(' ', 0, 0).toLower());
    EXPECT_GE(p->mainModel()->texts().size(), 1);
    p->tv1()->selectRow(0);
    EXPECT_FALSE(p->textView1()->toPlainText().isEmpty());

    ScriptedBackupPanel panel;
    p->setBackupPanel(&panel);
    const int pairRow = int(rows.indexOf(pair->nameWithBirthAndDeathYears()));
    p->selectRows({pairRow - 1, pairRow, pairRow + 1});
    EXPECT_TRUE(p->textView2()->toPlainText().startsWith("2 " + L("peopleAre"))) << "the header is nobody";
    saveScreenshot(p, "PruneMinorDynasties");
    p->findChild<QPushButton*>("deleteSelectedPeople")->click();
    EXPECT_EQ(panel.runs, 1);
    EXPECT_TRUE(pair->isDeleted());
    EXPECT_EQ(texts().last(), QString("2 %1 %2").arg(L("peopleWere"), L("PruneComplete")));
    EXPECT_FALSE(p->otherModel()->texts().contains("Pairs Wife"));
    p->close();
}

TEST_F(PruneAndTodoWindows, ToDoNotesFromTheMenuAndTheDiagramAndTheirReview)
{
    FTPerson* selected = moc->selectedPerson();
    ASSERT_NE(selected, nullptr);
    runDiagramCommand(doc, DiagramMenuItem::Action::TodoAdd);
    auto* add = sheet<TodoAdd>();
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->person(), selected);
    add->textView()->setPlainText("Ask about \"the farm\"\nand the mill  ");
    saveScreenshot(add, "TodoAdd");
    add->close();
    EXPECT_EQ(selected->todo(), "Ask about \"the farm\"\nand the mill");

    QList<FTPerson*> people = moc->fetch<FTPerson>();
    FTPerson* other = people.first() == selected ? people[1] : people.first();
    moc->modelDefaults()->setSelectedPerson(other);
    ToolsMenuActions::todoAdd();
    add = sheet<TodoAdd>();
    ASSERT_NE(add, nullptr);
    add->textView()->setPlainText("Find the will");
    add->close();

    ToolsMenuActions::todoReview();
    auto* review = sheet<TodoReview>();
    ASSERT_NE(review, nullptr);
    ASSERT_EQ(review->peopleModel()->texts().size(), 2);
    review->selectRows({0, 1});
    review->findChild<QPushButton*>("delete")->click();
    EXPECT_EQ(texts().last(), L("SelectPersonTryAgain"));
    review->selectRows({0});
    EXPECT_FALSE(review->noteView()->toPlainText().isEmpty());
    saveScreenshot(review, "TodoReview");
    review->findChild<QPushButton*>("delete")->click();
    EXPECT_EQ(review->peopleModel()->texts().size(), 1);
    review->close();
    EXPECT_FALSE(moc->hasChanges());
}

TEST_F(PruneAndTodoWindows, TheScratchPadKeepsItsTextAndPicturesAcrossHidingAndDatabases)
{
    runDiagramCommand(doc, DiagramMenuItem::Action::DisplayScratchPad);
    ScratchPadController* pad = ScratchPadController::shared();
    ASSERT_TRUE(pad->isVisible());
    EXPECT_EQ(pad->parentWindow(), doc->dovurWindow());
    pad->textView()->setPlainText("Check the 1881 census");
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    pad->imageWells()[0]->setImage(picture);
    saveScreenshot(pad, "ScratchPad");
    pad->close();
    EXPECT_FALSE(pad->isVisible()) << "closing hides";

    // Another database, the pad from the Window menu: the same pad, above the other window.
    DOvurDocument* other = app->openDocumentWithContentsOfURL(makeDatabase(data + "/Other.RezUdu", 5));
    ASSERT_NE(other, nullptr);
    DocumentController::shared().setCurrentDocument(other);
    ToolsMenuActions::displayScratchPad();
    EXPECT_EQ(ScratchPadController::shared(), pad);
    EXPECT_TRUE(pad->isVisible());
    EXPECT_EQ(pad->parentWindow(), other->dovurWindow());
    EXPECT_EQ(pad->textView()->toPlainText(), "Check the 1881 census");
    EXPECT_EQ(pad->imageWells()[0]->image(), picture);

    // Its first window closing leaves it whole.
    DocumentController::shared().closeDocument(doc);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(pad->textView()->toPlainText(), "Check the 1881 census");
    pad->findChild<QPushButton*>("clearAll")->click();
    EXPECT_TRUE(pad->textView()->toPlainText().isEmpty());
    EXPECT_TRUE(pad->imageWells()[0]->image().isNull());
}
