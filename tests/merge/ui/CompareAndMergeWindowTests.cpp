// The compare-and-merge window in the running program, opened from its menu item: the other database chosen,
// a person selected on the left and matched on the right, the search, the match mode, the passes over the whole
// list and closing.

#include "../../shell/ui/ApplicationFixture.h"

#include "merge/ui/CompareAndMergeController.h"
#include "merge/ui/MergeMenuActions.h"

#include "sources/ui/OtherDatabaseChooser.h"

#include "shell/Utils.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"

#include "Screenshot.h"
#include "WorkspaceFixture.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

struct Someone {
    const char* name;
    const char* gender;
    const char* born;
    const char* place;
    int id;
};

QAction* menuItem(QMenuBar* bar, const QString& menu, const QString& title)
{
    for (QAction* m : bar->actions())
        if (m->text() == menu && m->menu())
            for (QAction* item : m->menu()->actions())
                if (item->text() == title)
                    return item;
    return nullptr;
}

FTPerson* selected(const QTableView* table, const ComparePeopleList& list)
{
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : list.at(rows.first().row());
}
}

class CompareAndMergeWindow : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        start();
        MergeMenuActions::registerMenuItems(*app);
    }
    void TearDown() override
    {
        if (window)
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ApplicationFixture::TearDown();
    }

    // A database of these people in the data folder.
    QString database(const QString& name, std::initializer_list<Someone> people)
    {
        const QString path = data + "/" + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(path, true);
        EXPECT_NE(moc, nullptr);
        for (const Someone& s : people) {
            FTPerson* p = FTPerson::initInMoc(moc.get(), s.name, s.gender);
            if (*s.born)
                p->setValueForKeyPath("birth.date", s.born);
            if (*s.place)
                p->setValueForKeyPath("birth.place", s.place);
            p->setNumericId(s.id);
        }
        EXPECT_TRUE(moc->saveMoc());
        return path;
    }

    // The window as the menu item opens it, the backup declined.
    CompareAndMergeController* openWindow(DOvurDocument* doc)
    {
        QAction* item = menuItem(doc->dovurWindow()->menuBar(), "Merge", "Compare and Merge...");
        EXPECT_NE(item, nullptr);
        if (!item)
            return nullptr;
        EXPECT_TRUE(item->isEnabled());
        QTimer::singleShot(0, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* panel = qobject_cast<QFileDialog*>(w); panel && panel->isVisible())
                    panel->reject();
        });
        prompts.clear();
        item->trigger();
        EXPECT_THAT(texts(), ElementsAre(L("bkupWarnTitle")));
        window = doc->dovurWindow()->findChild<CompareAndMergeController*>();
        return window;
    }
    static void choose(OtherDatabaseChooser* chooser, const QString& name)
    {
        const int index = chooser->comboBox()->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        Q_EMIT chooser->comboBox()->activated(index);
    }
    static FTPerson* named(const ComparePeopleList& list, const QString& name)
    {
        for (FTPerson* p : list.sorted())
            if (p->name() == name)
                return p;
        return nullptr;
    }

    QPointer<CompareAndMergeController> window;
};

TEST_F(CompareAndMergeWindow, ThePersonSelectedOnTheLeftIsMatchedOnTheRightWithItsDifferencesHighlighted)
{
    database("Cousins.RezUdu",
        { { "Anne Smith", "F", "3 Mar 1850", "Leeds", 1 }, { "Mary Ann Jones", "F", "1852", "", 2 },
            { "Joanna Brown", "F", "1855", "York", 3 }, { "Walter Grey", "M", "1820", "Hull", 4 } });
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(database("Family.RezUdu",
        { { "Anne Smith", "F", "3 Mar 1850", "Leeds Minster", 7 }, { "Anne Smith", "F", "1851", "", 1 },
            { "Joanna Brown", "F", "1855", "York", 3 }, { "Tom Grey", "M", "1822", "", 4 } }));
    ASSERT_NE(doc, nullptr);
    CompareAndMergeController* w = openWindow(doc);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->parentWidget(), doc->dovurWindow());
    EXPECT_EQ(w->m2People().count(), 4);

    // Nothing to compare before a database is chosen.
    prompts.clear();
    w->autoCompare();
    EXPECT_THAT(texts(), ElementsAre(L("SelectDb")));
    EXPECT_EQ(w->chooser()->comboBox()->currentText(), L("SelectDb"));

    choose(w->chooser(), "Cousins.RezUdu");
    ASSERT_NE(w->moc1(), nullptr);
    EXPECT_TRUE(w->moc1()->isReadOnly());
    EXPECT_EQ(w->m1People().count(), 4);

    // By name: of the two Anne Smiths here, the one with the same birth date.
    FTPerson* anne = named(w->m1People(), "Anne Smith");
    w->tv1()->selectRow(w->m1People().rowOf(anne));
    EXPECT_EQ(w->person1(), anne);
    ASSERT_NE(w->person2(), nullptr);
    EXPECT_EQ(w->person2()->numericId(), 7);
    EXPECT_EQ(selected(w->tv2(), w->m2People()), w->person2());
    // Id and birth differ: the other side's text is highlighted from where it differs.
    EXPECT_EQ(w->numDifferences(), 2);
    const QString left = w->person1DetailsView()->toPlainText();
    EXPECT_EQ(left, w->details().person1Details.text);
    EXPECT_TRUE(left.contains(L("CompareDictBorn") + ": 03 Mar 1850 at Leeds")) << left.toStdString();
    QTextCursor at(w->person1DetailsView()->document());
    at.setPosition(int(left.indexOf(": 1\n")) + 3);
    EXPECT_EQ(at.charFormat().background().color(), QColor(200, 255, 255));
    EXPECT_TRUE(w->person2DetailsView()->toPlainText().contains("Leeds Minster"));
    saveScreenshot(w, "CompareAndMerge");

    // No match on the right: its text says so.
    w->tv1()->selectRow(w->m1People().rowOf(named(w->m1People(), "Walter Grey")));
    EXPECT_EQ(w->person2(), nullptr);
    EXPECT_TRUE(w->tv2()->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(w->person2DetailsView()->toPlainText(), "\n\n" + L("NoMatchingName") + ": Walter Grey");

    // By id the same person finds Tom Grey, and both lists are in id order at once.
    w->findChild<QRadioButton*>("modeMatrix1")->click();
    EXPECT_EQ(UserDefaults::standard().integerForKey("matchMode"), 1);
    EXPECT_EQ(w->m2People().at(0)->numericId(), 1);
    EXPECT_EQ(w->person1()->name(), "Walter Grey") << "the selection stays";
    w->tv1()->selectRow(w->m1People().rowOf(anne));
    EXPECT_EQ(w->person2()->name(), "Anne Smith");
    EXPECT_EQ(w->person2()->numericId(), 1);
    w->findChild<QRadioButton*>("modeMatrix0")->click();

    // The search narrows both lists: "an" begins Anne and Ann, not Joanna.
    w->searchField()->setText("an");
    QStringList left1;
    for (const FTPerson* p : w->m1People().arranged())
        left1 << p->name();
    EXPECT_THAT(left1, ElementsAre("Anne Smith", "Mary Ann Jones"));
    EXPECT_EQ(w->m2People().count(), 2);
    w->limitSearch(L("CompareSearchMenuBYear"));
    w->searchField()->setText("1855 Brown");
    EXPECT_EQ(w->m1People().count(), 1);
    EXPECT_EQ(w->m2People().count(), 1);
    w->searchField()->clear();
    EXPECT_EQ(w->m1People().count(), 4);

    // The pair shown is printed into temp.rtf, the highlight kept.
    WorkspaceFixture workspace { TestSupport::tempRoot(), "application/rtf" };
    w->tv1()->selectRow(w->m1People().rowOf(anne));
    w->printSelected();
    const QString printout = Utils::reportsDirectory() + "/temp.rtf";
    EXPECT_THAT(workspace.launched(), testing::Contains(printout));
    const QByteArray rtf = TestSupport::readFile(printout);
    EXPECT_TRUE(rtf.contains("\\red200\\green255\\blue255;")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("Cousins.RezUdu") && rtf.contains("Family.RezUdu"));

    // Leaving only the unmatched people: Joanna is the same on both sides.
    prompts.clear();
    w->removeMatchedRecords();
    EXPECT_THAT(texts(), ElementsAre("3 " + L("ConjunctiveOf") + " 4 " + L("NumLeftInSource")));
    EXPECT_EQ(named(w->m1People(), "Joanna Brown"), nullptr);
    EXPECT_EQ(w->m1People().count(), 3);
    EXPECT_EQ(w->progressIndicator()->value(), 0);
    EXPECT_TRUE(w->findChild<QPushButton*>("autoCompare")->isEnabled());
}

TEST_F(CompareAndMergeWindow, TheWholeComparisonWritesItsReportAndTheWindowCloses)
{
    const QString cousins = database("Cousins.RezUdu", { { "Anne Smith", "F", "1850", "Leeds", 1 } });
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(
        database("Family.RezUdu", { { "Anne Smith", "F", "1850", "York", 1 } }));
    ASSERT_NE(doc, nullptr);
    CompareAndMergeController* w = openWindow(doc);
    ASSERT_NE(w, nullptr);
    choose(w->chooser(), "Cousins.RezUdu");
    UserDefaults::standard().setInteger("matchMode", 1);

    WorkspaceFixture workspace { TestSupport::tempRoot(), "application/rtf" };
    prompts.clear();
    w->autoCompare();
    EXPECT_THAT(texts(), ElementsAre(L("CmContInfo")));
    const QString report = Utils::reportsDirectory() + "/" + L("AutoCompareReportFileName") + ".rtf";
    EXPECT_THAT(workspace.launched(), testing::Contains(report));
    EXPECT_TRUE(TestSupport::readFile(report).contains("Leeds"));
    EXPECT_EQ(w->compareCount()->text(), "1 " + L("ConjunctiveOf") + " 1 " + L("peopleMatched"));
    // The lists show the run's order; the stored mode stays.
    EXPECT_TRUE(w->findChild<QRadioButton*>("modeMatrix0")->isChecked());
    EXPECT_EQ(UserDefaults::standard().integerForKey("matchMode"), 1);

    const QByteArray before = TestSupport::readFile(cousins);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(TestSupport::readFile(cousins), before);
}

// The window stays open beside the main window: people added or deleted there come and go in the right-hand list,
// and a person deleted there is never shown again.
TEST_F(CompareAndMergeWindow, TheOpenDatabaseListFollowsPeopleAddedAndDeletedInTheMainWindow)
{
    database("Cousins.RezUdu", { { "Anne Smith", "F", "1850", "Leeds", 1 } });
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(database("Family.RezUdu",
        { { "Anne Smith", "F", "1850", "York", 1 }, { "Tom Grey", "M", "1822", "", 2 } }));
    ASSERT_NE(doc, nullptr);
    CompareAndMergeController* w = openWindow(doc);
    ASSERT_NE(w, nullptr);
    choose(w->chooser(), "Cousins.RezUdu");
    w->tv1()->selectRow(0);
    FTPerson* anne = w->person2();
    ASSERT_NE(anne, nullptr);
    FTMoc* moc = doc->moc();

    FTPerson::initInMoc(moc, "Walter Grey", "M");
    moc->undoManager()->closeOpenGroups();
    NotificationCenter::defaultCenter().post("RefreshAllViews", nullptr, moc);
    EXPECT_EQ(w->m2People().count(), 3);
    w->searchField()->setText("grey");
    EXPECT_EQ(w->m2People().count(), 2);

    NotificationCenter::defaultCenter().post("PersonToBeDeleted", anne, moc);
    moc->deleteObject(anne);
    NotificationCenter::defaultCenter().post("RefreshAllViews", nullptr, moc);
    EXPECT_EQ(w->person2(), nullptr);
    EXPECT_EQ(w->m2People().rowOf(anne), -1);
    w->searchField()->clear();
    EXPECT_EQ(w->m2People().count(), 2);
    // Undone: she is back in the list.
    doc->undo();
    EXPECT_EQ(w->m2People().count(), 3);
    EXPECT_GE(w->m2People().rowOf(anne), 0);
}
