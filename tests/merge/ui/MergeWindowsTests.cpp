// The merge windows in the running program: a person of another database merged into the selected person (from
// the Merge menu and from the diagram's menu), and a duplicate folded into the focal person through Merge Two
// People, each modal window driven while it runs.

#include "../../shell/ui/ApplicationFixture.h"

#include "merge/OtherDatabaseMerge.h"
#include "merge/PersonFieldsMerge.h"
#include "merge/TwoPeopleMerge.h"
#include "merge/ui/CompareAndMergeController.h"
#include "merge/ui/MergeFieldsPanel.h"
#include "merge/ui/MergeIntoSelectedPerson.h"
#include "merge/ui/MergeIntoTheCurrentModel.h"
#include "merge/ui/MergeListsPanel.h"
#include "merge/ui/MergeMenuActions.h"
#include "merge/ui/MergeTwoPeople.h"

#include "sources/ui/OtherDatabaseChooser.h"

#include "diagrams/DiagramHooks.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"

#include "platform/store/ObjectContext.h"

#include "Screenshot.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
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

// Runs `drive` on the modal window of type W as soon as it shows; `seen` tells whether it did.
template <class W> void whenModal(std::function<void(W*)> drive, bool* seen)
{
    QTimer::singleShot(0, [drive, seen] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        *seen = w != nullptr;
        if (w) {
            drive(w);
            if (w->isVisible())
                w->close();
        }
    });
}
}

class MergeWindows : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        MergeIntoSelectedPerson::setPreviousDatabase({});
        start();
        MergeMenuActions::registerMenuItems(*app);
        MergeMenuActions::install();
    }
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<MergeIntoSelectedPerson*>(w))
                m->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ApplicationFixture::TearDown();
    }

    struct Someone {
        const char* name;
        const char* gender;
        const char* born;
        const char* title;
    };
    // A database in the data folder; `made` gets its people in order when given.
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
            if (*s.title)
                p->setTitle(s.title);
        }
        EXPECT_TRUE(moc->saveMoc());
        return path;
    }
    static FTPerson* named(FTMoc* moc, const QString& name, const QString& born = {})
    {
        return moc->fetchFirst<FTPerson>([&](const FTPerson* p) {
            return p->name() == name && (born.isEmpty() || (p->birth() && p->birth()->date().contains(born)));
        });
    }
    MergeIntoSelectedPerson* selectedPersonWindow(DOvurDocument* doc)
    {
        return doc->dovurWindow()->findChild<MergeIntoSelectedPerson*>();
    }
    static void choose(OtherDatabaseChooser* chooser, const QString& name)
    {
        const int index = chooser->comboBox()->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        Q_EMIT chooser->comboBox()->activated(index);
    }
};

// Merge > "Merge a Person from Another Database...": the other databases, the candidates of the same name and
// gender with the exact one chosen, the merge window run on the pair with Undo All, one Edit > Undo afterwards,
// and the database chosen again at once when the window next opens. The other file never changes.
TEST_F(MergeWindows, APersonOfAnotherDatabaseIsMergedIntoTheSelectedPerson)
{
    const QString cousins = database("Cousins.RezUdu",
        { { "Anne Smith", "F", "3 Mar 1850", "Teacher" }, { "anne smith", "F", "1851", "" },
            { "Anne Smith", "M", "1850", "" }, { "Tom Grey", "M", "1822", "" } });
    database("Old.RezUdu", {});
    {
        ObjectContext ctx(*FTMoc::schemaForMomVersion("DOvurV6"));
        ASSERT_TRUE(ctx.open(data + "/Old.RezUdu"));
        ctx.setMetadataValue(FTMoc::kMomKey, "DOvurV5");
        ASSERT_TRUE(ctx.save());
    }
    const QByteArray cousinsBytes = TestSupport::readFile(cousins);
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(database("Family.RezUdu",
        { { "Anne Smith", "F", "3 Mar 1850", "" }, { "Tom Grey", "M", "1822", "" } }));
    ASSERT_NE(doc, nullptr);
    FTMoc* moc = doc->moc();
    FTPerson* anne = named(moc, "Anne Smith");
    moc->setSelectedPerson(anne);
    moc->undoManager()->closeOpenGroups();
    const int stepsBefore = moc->undoManager()->undoCount();

    QAction* item = menuItem(doc->dovurWindow()->menuBar(), "Merge", "Merge a Person from Another Database...");
    ASSERT_NE(item, nullptr);
    item->trigger();
    MergeIntoSelectedPerson* w = selectedPersonWindow(doc);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->selectedPerson(), anne);
    EXPECT_EQ(w->m2Filename(), "Family.RezUdu");
    // The open database's own file is never offered; an older one is, and is refused when chosen.
    EXPECT_THAT(w->chooser()->modelNames(), ElementsAre("Cousins.RezUdu", "Old.RezUdu"));
    prompts.clear();
    choose(w->chooser(), "Old.RezUdu");
    EXPECT_THAT(texts(), ElementsAre(QString("%1 Old.RezUdu %2").arg(L("File"), L("BecauseOldModel"))));
    EXPECT_EQ(w->moc1(), nullptr);
    EXPECT_TRUE(w->peopleArray().isEmpty());

    // Same name in any case, same gender; the one with the same life years is chosen.
    choose(w->chooser(), "Cousins.RezUdu");
    ASSERT_NE(w->moc1(), nullptr);
    ASSERT_EQ(w->peopleArray().size(), 2);
    for (const FTPerson* p : w->peopleArray())
        EXPECT_EQ(p->gender(), "F");
    FTPerson* theirs = w->chosenPerson();
    ASSERT_NE(theirs, nullptr);
    EXPECT_EQ(theirs->title(), "Teacher");
    EXPECT_EQ(w->tvPersons()->model()->rowCount(), 2);
    saveScreenshot(w, "MergeIntoSelectedPerson");

    bool seen = false;
    whenModal<MergeIntoTheCurrentModel>([&](MergeIntoTheCurrentModel* m) {
        EXPECT_EQ(m->merge().mergeFromPerson(), theirs);
        EXPECT_EQ(m->merge().mergeIntoPerson(), anne);
        EXPECT_EQ(m->fields()->fromCaption()->text(), L("FromPerson") + "Cousins.RezUdu");
        EXPECT_EQ(m->fields()->intoCaption()->text(), L("ToPerson") + "Family.RezUdu");
        // Only the title differs: it alone is blue.
        EXPECT_EQ(m->fields()->colour("p1TitleColour"), QColor(Qt::blue));
        EXPECT_EQ(m->fields()->colour("p1NameColour"), QColor(Qt::black));
        EXPECT_FALSE(m->lists()->mergeRelsButton()->isVisible());
        saveScreenshot(m, "MergeIntoTheCurrentModel");

        m->fields()->button(MergeTag::Title)->click();
        EXPECT_EQ(anne->title(), "Teacher");
        EXPECT_EQ(m->fields()->colour("p1TitleColour"), QColor(Qt::black));
        m->undoAllButton()->click();
        EXPECT_EQ(anne->title(), "");
        EXPECT_EQ(m->fields()->colour("p1TitleColour"), QColor(Qt::blue));
        m->fields()->button(MergeTag::Title)->click();
    }, &seen);
    w->mergeButton()->click();
    ASSERT_TRUE(seen);

    // The whole merge is one step of Edit > Undo.
    EXPECT_EQ(anne->title(), "Teacher");
    FTMocUndoManager* undo = moc->undoManager();
    EXPECT_EQ(undo->undoCount(), stepsBefore + 1);
    EXPECT_EQ(undo->undoActionName(), L("MergePersonFromDb"));
    doc->undo();
    EXPECT_EQ(anne->title(), "");

    int refreshes = 0;
    NotificationCenter::defaultCenter().addObserver("RefreshAllViews", nullptr,
        [&](const Notification&) { ++refreshes; }, this);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    NotificationCenter::defaultCenter().flushQueue();
    NotificationCenter::defaultCenter().removeObserversOf(this);
    EXPECT_GE(refreshes, 1);
    EXPECT_EQ(selectedPersonWindow(doc), nullptr);
    EXPECT_EQ(TestSupport::readFile(cousins), cousinsBytes);

    // Opened again: the database chosen last is open and searched at once.
    item->trigger();
    w = selectedPersonWindow(doc);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->chooser()->chosenName(), "Cousins.RezUdu");
    EXPECT_EQ(w->peopleArray().size(), 2);
    EXPECT_NE(w->chosenPerson(), nullptr);
}

// The diagram's menu on a box opens the window for that box's person, whoever is selected.
TEST_F(MergeWindows, TheDiagramsMenuMergesIntoThePersonOfTheBox)
{
    database("Cousins.RezUdu", { { "Tom Grey", "M", "1822", "Miller" }, { "Tom Grey", "M", "1822", "" } });
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(database("Family.RezUdu",
        { { "Anne Smith", "F", "1850", "" }, { "Tom Grey", "M", "1822", "" } }));
    ASSERT_NE(doc, nullptr);
    FTMoc* moc = doc->moc();
    moc->setSelectedPerson(named(moc, "Anne Smith"));
    FTPerson* tom = named(moc, "Tom Grey");
    // The hook the diagram's menu item calls with the person of its box.
    ASSERT_TRUE(DiagramHooks::shared().mergeSelectedPersonFromAnotherDatabase);
    DiagramHooks::shared().mergeSelectedPersonFromAnotherDatabase(tom);
    MergeIntoSelectedPerson* w = selectedPersonWindow(doc);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->selectedPerson(), tom);
    choose(w->chooser(), "Cousins.RezUdu");
    // Two with the same name and years: neither is chosen for the user, and Merge does nothing.
    EXPECT_EQ(w->peopleArray().size(), 2);
    EXPECT_EQ(w->chosenPerson(), nullptr);
    bool seen = false;
    whenModal<MergeIntoTheCurrentModel>([](MergeIntoTheCurrentModel*) {}, &seen);
    w->mergeButton()->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(seen);
}

// Merge > "Merge Two People...": the duplicate chosen among the candidates, a parent and an event moved, each a
// step of the document's undo, then the duplicate deleted after the question; the window closes and the database
// is saved.
TEST_F(MergeWindows, ADuplicateIsFoldedIntoTheFocalPersonAndDeleted)
{
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(database("Family.RezUdu",
        { { "Frank Moss", "M", "1850", "" }, { "Frank Moss", "M", "2 May 1850", "Farmer" },
            { "Francis Moss", "M", "1850", "" }, { "John Moss", "M", "1820", "" }, { "Jane Moss", "F", "1850", "" } }));
    ASSERT_NE(doc, nullptr);
    FTMoc* moc = doc->moc();
    FTPerson* frank = named(moc, "Frank Moss", "1850");
    FTPerson* dup = named(moc, "Frank Moss", "May");
    FTPerson* john = named(moc, "John Moss");
    ASSERT_NE(frank, dup);
    john->attachChild(dup, 1, false, nullptr);
    FTEvent* occupation = FTEvent::initInMoc(moc, FTEvent::OtherPersonalEvent, dup, "OCCU");
    occupation->setDate("1880");
    moc->setFocalPerson(frank);
    ASSERT_TRUE(moc->saveMoc());
    moc->undoManager()->closeOpenGroups();

    bool seen = false;
    whenModal<MergeTwoPeople>([&](MergeTwoPeople* m) {
        QComboBox* combo = m->mergeFromComboBox();
        ASSERT_EQ(combo->count(), 2) << "same gender and birth year, not Frank himself nor Jane";
        EXPECT_EQ(combo->currentIndex(), -1);
        EXPECT_FALSE(m->fields()->button(MergeTag::Name)->isEnabled());
        EXPECT_FALSE(m->lists()->mergeRelsButton()->isEnabled());
        const int index = combo->findText(dup->nameWithIdBirthAndDeathYears());
        ASSERT_GE(index, 0);
        combo->setCurrentIndex(index);
        EXPECT_EQ(m->merge().mergeFromPerson(), dup);
        EXPECT_TRUE(m->lists()->mergeRelsButton()->isEnabled());
        ASSERT_EQ(m->lists()->relativesOfMergeFromPerson().size(), 1);
        EXPECT_EQ(m->lists()->relativesOfMergeFromPerson()[0].person(), john);
        EXPECT_EQ(m->fields()->colour("p1TitleColour"), QColor(Qt::blue));
        saveScreenshot(m, "MergeTwoPeople");

        m->lists()->selectFromRelative(0);
        m->lists()->mergeRelsButton()->click();
        EXPECT_EQ(frank->naturalFather(), john);
        EXPECT_EQ(moc->undoManager()->undoActionName(), L("MergeTwoPeople"));
        // The moved parent is now shared: greyed, and refused a second time.
        ASSERT_EQ(m->lists()->relativesOfMergeIntoPerson().size(), 1);
        m->lists()->selectFromEvent(0);
        m->lists()->mergeEventsButton()->click();
        EXPECT_EQ(occupation->person(), frank);
        EXPECT_TRUE(m->lists()->eventsOfMergeFromPerson().isEmpty());
        ASSERT_EQ(m->lists()->eventsOfMergeIntoPerson().size(), 1);
        m->fields()->button(MergeTag::Title)->click();
        EXPECT_EQ(frank->title(), "Farmer");

        prompts.clear();
        prompts.answer(0); // OK
        m->findChild<QPushButton*>("deleteMergedPerson")->click();
        ASSERT_EQ(prompts.records.size(), 1);
        EXPECT_TRUE(prompts.records[0].text.contains(L("MergeAlert1")));
        EXPECT_FALSE(m->isVisible()) << "deleting the duplicate closes the window";
    }, &seen);
    QAction* item = menuItem(doc->dovurWindow()->menuBar(), "Merge", "Merge Two People...");
    ASSERT_NE(item, nullptr);
    item->trigger();
    ASSERT_TRUE(seen);

    EXPECT_TRUE(dup->isDeleted());
    EXPECT_FALSE(moc->hasChanges()) << "saved after the window";
    EXPECT_EQ(moc->undoManager()->undoActionName(), QString("%1 %2").arg(L("Delete"), "Frank Moss"));
    doc->undo();
    EXPECT_FALSE(dup->isDeleted());
    EXPECT_EQ(frank->naturalFather(), john) << "the moves stay: each was a step of its own";
    EXPECT_EQ(occupation->person(), frank);
}

// Nobody else of the focal person's birth year and gender: the warning, and no window.
TEST_F(MergeWindows, MergeTwoPeopleWithoutCandidatesWarns)
{
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(
        database("Family.RezUdu", { { "Frank Moss", "M", "1850", "" }, { "Jane Moss", "F", "1850", "" } }));
    ASSERT_NE(doc, nullptr);
    doc->moc()->setFocalPerson(named(doc->moc(), "Frank Moss"));
    bool seen = false;
    whenModal<MergeTwoPeople>([](MergeTwoPeople*) {}, &seen);
    prompts.clear();
    menuItem(doc->dovurWindow()->menuBar(), "Merge", "Merge Two People...")->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(seen);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_TRUE(prompts.records[0].text.startsWith(L("MergeWarn3"))) << prompts.records[0].text.toStdString();
}

// The compare window's Merge button runs the merge window on the pair shown, whose details follow the merge.
TEST_F(MergeWindows, TheCompareWindowsMergeButtonMergesThePairShown)
{
    database("Cousins.RezUdu", { { "Anne Smith", "F", "3 Mar 1850", "Teacher" } });
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(
        database("Family.RezUdu", { { "Anne Smith", "F", "3 Mar 1850", "" } }));
    ASSERT_NE(doc, nullptr);
    auto* w = static_cast<CompareAndMergeController*>(MergeMenuActions::makeCompareAndMerge(*doc));
    ASSERT_NE(w, nullptr);
    doc->addChildWindow(w);
    auto* mergeButton = w->findChild<QPushButton*>("merge");
    ASSERT_NE(mergeButton, nullptr);
    prompts.clear();
    mergeButton->click();
    EXPECT_THAT(texts(), ElementsAre(L("SelectPeopleTryAgain")));

    choose(w->chooser(), "Cousins.RezUdu");
    w->tv1()->selectRow(0);
    FTPerson* anne = w->person2();
    ASSERT_NE(anne, nullptr);
    EXPECT_EQ(w->numDifferences(), 1);
    bool seen = false;
    whenModal<MergeIntoTheCurrentModel>([&](MergeIntoTheCurrentModel* m) {
        EXPECT_EQ(m->merge().mergeFromPerson(), w->person1());
        EXPECT_EQ(m->merge().mergeIntoPerson(), anne);
        EXPECT_EQ(m->fields()->fromCaption()->text(), L("MergeFrom") + " Cousins.RezUdu");
        EXPECT_EQ(m->fields()->intoCaption()->text(), L("MergeTo") + " Family.RezUdu");
        m->fields()->button(MergeTag::Title)->click();
    }, &seen);
    mergeButton->click();
    ASSERT_TRUE(seen);
    EXPECT_EQ(anne->title(), "Teacher");
    EXPECT_EQ(w->person2(), anne);
    EXPECT_EQ(w->numDifferences(), 0);
    w->close();
}
