// The project views editor and the combining window as their menu and the toolbar open them.

#include "ToolsWindowFixture.h"

#include "tools/ui/ProjectViewsAddModDel.h"
#include "tools/ui/ProjectViewsCombine.h"
#include "tools/ui/VennDiagram.h"

#include "shell/ui/ToolbarController.h"

#include "model/FTModelDefaults.h"
#include "model/FTProjectView.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

#include <gmock/gmock.h>

using ProjectViewsWindows = ToolsWindowFixture;

namespace {
QStringList itemTexts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}
}

TEST_F(ProjectViewsWindows, TheEditorFromTheToolbarMakesViewsAndTheCurrentOne)
{
    FTPerson* focal = moc->focalPerson();
    ASSERT_NE(focal, nullptr);
    ToolbarController::itemHandler(ToolbarController::kProjectView)(*doc);
    auto* e = sheet<ProjectViewsAddModDel>();
    ASSERT_NE(e, nullptr);

    e->findChild<QPushButton*>("createAncestralViewForFocalPerson")->click();
    FTProjectView* ancestral = focal->ancestralView();
    ASSERT_NE(ancestral, nullptr);
    EXPECT_EQ(moc->projectView(), ancestral);
    const int row = e->projectViewsTableView()->currentRow();
    ASSERT_GE(row, 0);
    EXPECT_EQ(e->projectViewsTableView()->item(row)->text(), ancestral->name());
    EXPECT_EQ(e->projectViewsTableView()->item(row)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(e->peopleTableView()->count(), ancestral->persons().size());

    // A plain view, named and noted in place; then made current, which asks nothing.
    e->findChild<QPushButton*>("addView")->click();
    e->nameField()->setText("Cousins");
    Q_EMIT e->nameField()->editingFinished();
    e->notesField()->setPlainText("Those of {the} mill");
    FTProjectView* cousins = e->editing().selectedView();
    ASSERT_NE(cousins, nullptr);
    EXPECT_EQ(cousins->name(), "Cousins");
    EXPECT_EQ(cousins->notes(), "Those of {the} mill");
    EXPECT_TRUE(itemTexts(e->projectViewsTableView()).contains("Cousins"));
    prompts.clear();
    e->findChild<QPushButton*>("selectAsCurrentActiveView")->click();
    EXPECT_EQ(moc->projectView(), cousins);
    EXPECT_TRUE(prompts.records.isEmpty());
    saveScreenshot(e, "ProjectViewsAddModDel");

    e->findChild<QPushButton*>("deactivateActiveView")->click();
    EXPECT_EQ(moc->projectView(), nullptr);
    for (int i = 0; i < e->projectViewsTableView()->count(); ++i)
        EXPECT_EQ(e->projectViewsTableView()->item(i)->foreground().color(), QColor(Qt::black));

    e->findChild<QPushButton*>("removeView")->click();
    EXPECT_TRUE(cousins->isDeleted());
    e->close();
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_EQ(sheet<ProjectViewsAddModDel>(), nullptr);
}

TEST_F(ProjectViewsWindows, CombiningFollowsEveryChoiceAndDrawsEachOperator)
{
    QList<FTPerson*> people = moc->fetch<FTPerson>();
    ASSERT_GE(people.size(), 6);
    FTProjectView* first = FTProjectView::initInMoc(moc);
    first->setName("Alpha");
    FTProjectView* second = FTProjectView::initInMoc(moc);
    second->setName("Beta");
    for (int i = 0; i < 4; ++i)
        first->addPersonsObject(people[i]);
    for (int i = 2; i < 6; ++i)
        second->addPersonsObject(people[i]);
    moc->saveMoc();

    ToolsMenuActions::projectViewsCombine();
    auto* c = sheet<ProjectViewsCombine>();
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->operators()->button(0)->isChecked());
    EXPECT_EQ(c->messageLabel()->text(), L("ProjectViewAND"));
    EXPECT_EQ(c->peopleTableView()->count(), 0) << "nothing chosen yet";
    c->pv1ComboBox()->setCurrentIndex(c->pv1ComboBox()->findText("Alpha"));
    c->pv2ComboBox()->setCurrentIndex(c->pv2ComboBox()->findText("Beta"));
    EXPECT_EQ(c->peopleTableView()->count(), 2);
    const int expected[] = {2, 6, 4, 2};
    for (int op = 0; op < 4; ++op) {
        c->operators()->button(op)->click();
        EXPECT_EQ(c->peopleTableView()->count(), expected[op]) << op;
        if (op == ProjectViewsCombining::IOR) {
            // The core leaves the result unordered; the list shows it by name with years.
            QStringList rows;
            for (int row = 0; row < c->peopleTableView()->count(); ++row)
                rows << c->peopleTableView()->item(row)->text();
            EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(),
                [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; }))
                << rows.join(" | ").toStdString();
            EXPECT_TRUE(rows.contains(people[5]->nameWithBirthAndDeathYears()));
        }
        EXPECT_EQ(c->vennDiagram()->booleanOperator(), op);
        saveScreenshot(c->vennDiagram(), QString("VennDiagram-%1").arg(ProjectViewsCombining::operatorWord(op)));
    }
    VennDiagram wide;
    wide.setFixedSize(600, 100);
    wide.setBooleanOperator(ProjectViewsCombining::XOR);
    saveScreenshot(&wide, "VennDiagram-wide-XOR");

    c->findChild<QPushButton*>("createCombinedProjectView")->click();
    c->findChild<QPushButton*>("createCombinedProjectView")->click();
    EXPECT_EQ(c->pv1ComboBox()->count(), 4);
    EXPECT_EQ(c->pv1ComboBox()->currentText(), "Alpha") << "the choices stay";
    c->findChild<QPushButton*>("deleteNewProjectView")->click();
    EXPECT_EQ(c->pv1ComboBox()->count(), 3);
    EXPECT_NE(c->pv1ComboBox()->findText("Alpha NOT Beta"), -1);
    saveScreenshot(c, "ProjectViewsCombine");
    c->close();
    EXPECT_FALSE(moc->hasChanges());
}
