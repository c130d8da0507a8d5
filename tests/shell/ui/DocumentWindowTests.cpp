// One database's main window: the views it feeds, the toolbar's history, undo, closing and quitting.
#include "ApplicationFixture.h"
#include "Screenshot.h"
#include "WithoutPermissionOverride.h"

#include "shell/RecentDocuments.h"
#include "shell/ui/DefaultWindowSize.h"
#include "shell/ui/FamilyDiagramPane.h"
#include "shell/ui/PersonEditorPane.h"
#include "shell/ui/ToolbarController.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"

#include "platform/store/Faults.h"
#include "platform/ui/QtPrompts.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>

#include <sqlite3.h>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Views that record what the document tells them.
struct Seen {
    QList<FTPerson*> focal, selected;
    int refreshArray = 0, refreshDisplay = 0;
    double fontSize = 0;
};
Seen* g_seen = nullptr;

class RecordingDiagram : public FamilyDiagramPane {
public:
    void setFocalPerson(FTPerson* person) override { g_seen->focal << person; }
    void setRefreshArray(bool refresh) override { g_seen->refreshArray += refresh; }
};
class RecordingEditor : public PersonEditorPane {
public:
    void setSelectedPerson(FTPerson* person) override { g_seen->selected << person; }
    void refreshDisplay() override { ++g_seen->refreshDisplay; }
    void setFontSize(double size) override { g_seen->fontSize = size; }
};

class DocumentWindow : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        g_seen = &seen;
        DOvurDocument::setPaneFactories({[](DOvurDocument&) { return new RecordingDiagram; },
                                         [](DOvurDocument&) { return new RecordingEditor; }});
        start();
    }
    void TearDown() override
    {
        ApplicationFixture::TearDown();
        DOvurDocument::setPaneFactories({});
        g_seen = nullptr;
    }
    DOvurDocument* open(const QString& name, int people = 20)
    {
        DOvurDocument* doc = app->openDocumentWithContentsOfURL(makeDatabase(data + "/" + name, people));
        EXPECT_NE(doc, nullptr) << texts().join("\n").toStdString();
        return doc;
    }
    static FTPerson* personNumbered(FTMoc* moc, int id)
    {
        return moc->fetchFirst<FTPerson>([id](const FTPerson* p) { return p->numericId() == id; });
    }
    Seen seen;
};

TEST_F(DocumentWindow, EveryViewStartsOnTheFocalPersonAndFollowsItsChanges)
{
    DOvurDocument* doc = open("Family.RezUdu");
    FTMoc* moc = doc->moc();
    FTPerson* focal = moc->modelDefaults()->focalPerson();
    ASSERT_NE(focal, nullptr);
    EXPECT_THAT(seen.focal, ElementsAre(focal));
    EXPECT_THAT(seen.selected, ElementsAre(focal));
    // The start-up values are not undoable.
    EXPECT_FALSE(moc->undoManager()->canUndo());

    FTPerson* other = personNumbered(moc, 5);
    moc->modelDefaults()->setFocalPerson(other);
    moc->modelDefaults()->setSelectedPerson(focal);
    EXPECT_EQ(seen.focal.last(), other);
    EXPECT_EQ(seen.selected.last(), focal);
    QComboBox* combo = doc->toolbarController()->focalPeopleComboBox();
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentText(), QStringLiteral("%1 (%2)").arg(other->name()).arg(other->birth() ? other->birth()->year() : 0));

    NotificationCenter::defaultCenter().post("RefreshAllViews");
    EXPECT_EQ(seen.refreshArray, 1);
    EXPECT_EQ(seen.refreshDisplay, 1);
    // Another database's refresh is not this one's.
    int otherContext = 0;
    NotificationCenter::defaultCenter().post("RefreshAllViews", nullptr, &otherContext);
    EXPECT_EQ(seen.refreshDisplay, 1);
}

TEST_F(DocumentWindow, ChoosingFromTheHistoryMakesThatPersonFocalUndoably)
{
    DOvurDocument* doc = open("Family.RezUdu");
    FTMoc* moc = doc->moc();
    FTPerson* original = moc->modelDefaults()->focalPerson();
    QList<FTPerson*> chosen;
    for (int id : {3, 4, 5}) {
        chosen << personNumbered(moc, id);
        moc->modelDefaults()->setFocalPerson(chosen.last());
        moc->undoManager()->closeOpenGroups();
    }
    ToolbarController* toolbar = doc->toolbarController();
    QComboBox* combo = toolbar->focalPeopleComboBox();
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->maxVisibleItems(), 4);

    toolbar->comboBoxSelectionDidChange(0); // the current one: nothing
    EXPECT_EQ(moc->modelDefaults()->focalPerson(), chosen[2]);
    toolbar->comboBoxSelectionDidChange(2);
    EXPECT_EQ(moc->modelDefaults()->focalPerson(), chosen[0]);
    EXPECT_EQ(moc->undoManager()->undoActionName(),
              QStringLiteral("Focus on %1").arg(chosen[0]->nameWithBirthAndDeathYears()));
    EXPECT_THAT(toolbar->history().people(), ElementsAre(chosen[0], chosen[2], chosen[1], original));
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->count(), 4);
}

TEST_F(DocumentWindow, TheActiveSourceButtonDescribesTheSource)
{
    DOvurDocument* doc = open("Family.RezUdu");
    FTSource* source = FTSource::initInMoc(doc->moc());
    source->setTitle("Parish register of St Mary");
    ToolbarController* toolbar = doc->toolbarController();
    auto* button = doc->dovurWindow()->findChild<QToolButton*>("ActiveSourceButton");
    ASSERT_NE(button, nullptr);
    toolbar->setActiveSource(source);
    EXPECT_EQ(doc->moc()->activeSource(), source);
    EXPECT_THAT(button->toolTip().toStdString(), HasSubstr("Parish register of St Mary"));
    EXPECT_EQ(button->toolTip(), source->shortDescriptionWithNumericId());
    toolbar->setActiveSource(nullptr);
    EXPECT_EQ(button->toolTip(), "Activate or Deactivate Active Source");
}

TEST_F(DocumentWindow, UndoAsksRefreshesEveryViewAndForgetsThePlacesOfAPlaceChange)
{
    DOvurDocument* doc = open("Family.RezUdu");
    FTMoc* moc = doc->moc();
    moc->setPlaces({"Stale Place"});
    moc->undoManager()->setActionName("Change Event's Place");
    personNumbered(moc, 2)->setName("Renamed");
    moc->undoManager()->closeOpenGroups();

    prompts.answer(1); // No
    doc->undo();
    EXPECT_EQ(personNumbered(moc, 2)->name(), "Renamed");
    EXPECT_EQ(seen.refreshDisplay, 0);

    prompts.answer(0); // Yes
    doc->undo();
    EXPECT_NE(personNumbered(moc, 2)->name(), "Renamed");
    EXPECT_EQ(seen.refreshDisplay, 1);
    EXPECT_EQ(seen.refreshArray, 1);
    EXPECT_FALSE(moc->places().contains("Stale Place"));
    EXPECT_EQ(prompts.records.last().text, "Undo: Change Event's Place");

    prompts.answer(0);
    doc->redo();
    EXPECT_EQ(personNumbered(moc, 2)->name(), "Renamed");
    EXPECT_EQ(seen.refreshDisplay, 2);
}

TEST_F(DocumentWindow, AFontSizeChangeReachesTheEditor)
{
    DOvurDocument* doc = open("Family.RezUdu");
    doc->toolbarController()->changeFontSize(14);
    EXPECT_EQ(seen.fontSize, 14);
    EXPECT_EQ(UserDefaults::standard().doubleForKey("fontSize"), 14);
}

TEST_F(DocumentWindow, ClosingTheOnlyDatabaseAsks)
{
    DOvurDocument* doc = open("Family.RezUdu");
    const QString path = doc->fileURL();
    doc->moc()->modelDefaults()->focalPerson()->setName("Edited Before Close");

    prompts.answer(2); // Cancel, from the window's own close button
    doc->dovurWindow()->close();
    QCoreApplication::processEvents();
    ASSERT_EQ(documents().size(), 1);
    EXPECT_TRUE(doc->dovurWindow()->isVisible());
    const auto& question = prompts.records.last();
    EXPECT_EQ(question.text, "Close Family ?");
    EXPECT_EQ(question.buttons, (QStringList {"Close & Quit", "Close", "Cancel"}));
    // The changes were saved before the question.
    EXPECT_FALSE(doc->moc()->hasChanges());

    prompts.answer(1); // Close
    doc->performClose();
    EXPECT_TRUE(documents().isEmpty());
    ASSERT_NE(app->noDatabaseWindow(), nullptr);
    EXPECT_EQ(RecentDocuments::paths().first(), path);
    auto moc = FTMoc::initForStoreURL(path, true);
    ASSERT_TRUE(moc);
    // The family name is stored in capitals.
    EXPECT_EQ(moc->modelDefaults()->focalPerson()->name(), "Edited Before CLOSE");
}

TEST_F(DocumentWindow, CloseAndQuitKeepsTheFrameAndEndsEverything)
{
    DOvurDocument* doc = open("Family.RezUdu");
    UserDefaults::standard().removeObject(DOvurDocument::kFrameName);
    prompts.answer(0); // Close & Quit
    doc->performClose();
    EXPECT_TRUE(documents().isEmpty());
    EXPECT_FALSE(UserDefaults::standard().stringForKey(DOvurDocument::kFrameName).isEmpty());
    EXPECT_EQ(app->noDatabaseWindow(), nullptr);
}

TEST_F(DocumentWindow, OneOfTwoDatabasesClosesAtOnceAndTheSecondKeepsTheDefaultFrame)
{
    DOvurDocument* first = open("First.RezUdu");
    first->dovurWindow()->resize(1100, 750);
    first->saveFrame();
    DocumentController::shared().closeAllDocuments();

    first = app->openDocumentWithContentsOfURL(data + "/First.RezUdu");
    ASSERT_NE(first, nullptr);
    DOvurDocument* second = open("Second.RezUdu");
    EXPECT_EQ(first->dovurWindow()->size(), QSize(1100, 750));
    QMainWindow* window = second->dovurWindow();
    EXPECT_EQ(window->size(), defaultWindowSize(window->screen()->availableGeometry(),
                                                window->style()->pixelMetric(QStyle::PM_TitleBarHeight)));

    const qsizetype asked = prompts.records.size();
    first->performClose();
    EXPECT_EQ(prompts.records.size(), asked);
    ASSERT_EQ(documents().size(), 1);
    EXPECT_EQ(documents().first(), second);
}

// Without a stored frame the window takes most of a large screen, keeps its usual size on a middling one, fits a
// small one with a margin, and never goes below its minimum.
TEST(DefaultWindowSize, FromTheScreensFreeArea)
{
    const struct {
        QRect available;
        QSize size;
    } cases[] = {
        {{0, 0, 2560, 1400}, {2048, 1190}},
        {{0, 0, 1600, 1000}, {1280, 850}},
        {{0, 32, 1280, 768}, {1024, 690}},
        {{0, 0, 1024, 700}, {976, 624}},
        {{0, 0, 800, 600}, {DOvurDocument::kMinWidth, DOvurDocument::kMinHeight}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(defaultWindowSize(c.available, 28), c.size) << c.available.width() << "x" << c.available.height();
}

TEST_F(DocumentWindow, AWindowOfTheDatabaseClosesFirstAndTheDatabaseStaysOpen)
{
    DOvurDocument* doc = open("Family.RezUdu");
    auto* index = new QWidget(doc->dovurWindow(), Qt::Tool);
    index->show();
    doc->performClose();
    EXPECT_FALSE(index->isVisible());
    EXPECT_EQ(documents().size(), 1);
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(DocumentWindow, QuittingSavesEveryDatabase)
{
    DOvurDocument* a = open("A.RezUdu");
    DOvurDocument* b = open("B.RezUdu");
    const QString pathA = a->fileURL(), pathB = b->fileURL();
    personNumbered(a->moc(), 1)->setName("Changed In A");
    personNumbered(b->moc(), 1)->setName("Changed In B");
    EXPECT_TRUE(app->terminate());
    EXPECT_TRUE(documents().isEmpty());
    for (const auto& [path, name] : {std::pair {pathA, "Changed In A"}, std::pair {pathB, "Changed In B"}}) {
        auto moc = FTMoc::initForStoreURL(path, true);
        ASSERT_TRUE(moc);
        EXPECT_EQ(personNumbered(moc.get(), 1)->name(), name);
    }
}

TEST_F(DocumentWindow, QuittingWaitsForASheetOpenInAnyDatabasesWindow)
{
    DOvurDocument* a = open("A.RezUdu");
    DOvurDocument* b = open("B.RezUdu");
    auto* sheet = new QDialog;
    a->beginSheet(sheet);
    b->dovurWindow()->activateWindow();
    EXPECT_FALSE(app->terminate());
    EXPECT_EQ(documents().size(), 2);
    EXPECT_TRUE(sheet->isVisible());
    sheet->reject();
    EXPECT_TRUE(app->terminate());
    EXPECT_TRUE(documents().isEmpty());
}

TEST_F(DocumentWindow, QuittingAsksForEachDatabaseThatCannotBeSaved)
{
    DOvurDocument* a = open("A.RezUdu");
    DOvurDocument* b = open("B.RezUdu");
    personNumbered(a->moc(), 1)->setName("Changed In A");
    personNumbered(b->moc(), 1)->setName("Changed In B");
    b->moc()->setBusyTimeout(10);

    // Another program holds B's file.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(b->fileURL().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    prompts.clear();
    prompts.answer(0); // Retry: still held
    prompts.answer(2); // Cancel
    EXPECT_FALSE(app->terminate());
    EXPECT_EQ(documents().size(), 2);
    ASSERT_EQ(prompts.records.size(), 2);
    for (const auto& question : prompts.records) {
        EXPECT_THAT(question.text.toStdString(), HasSubstr("The changes to \"B\" could not be saved:"));
        EXPECT_THAT(question.text.toStdString(), HasSubstr("in use by another program"));
        EXPECT_EQ(question.buttons, (QStringList{"Retry", "Close Without Saving", "Cancel"}));
    }
    EXPECT_FALSE(a->moc()->hasChanges());
    EXPECT_TRUE(b->moc()->hasChanges());

    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    const QString pathB = b->fileURL();
    EXPECT_TRUE(app->terminate());
    EXPECT_TRUE(documents().isEmpty());
    auto moc = FTMoc::initForStoreURL(pathB, true);
    ASSERT_TRUE(moc);
    EXPECT_EQ(personNumbered(moc.get(), 1)->name(), "Changed In B");
}

// "Close Without Saving" answers the quit it was given for: once that quit is cancelled for another database, the
// first one saves again when it closes, and asks again while it cannot.
TEST_F(DocumentWindow, ACancelledQuitWithdrawsCloseWithoutSaving)
{
    DOvurDocument* a = open("A.RezUdu");
    DOvurDocument* b = open("B.RezUdu");
    const QString pathA = a->fileURL();
    sqlite3* holders[2] = {};
    for (int i = 0; i < 2; ++i) {
        DOvurDocument* doc = i == 0 ? a : b;
        personNumbered(doc->moc(), 1)->setName("Changed");
        doc->moc()->setBusyTimeout(10);
        ASSERT_EQ(sqlite3_open(doc->fileURL().toUtf8().constData(), &holders[i]), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(holders[i], "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    }

    prompts.clear();
    prompts.answer(1); // A: Close Without Saving
    prompts.answer(2); // B: Cancel
    EXPECT_FALSE(app->terminate());
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(documents().size(), 2);
    EXPECT_FALSE(a->discardsChanges());

    // Still held: closing A asks rather than dropping its changes.
    personNumbered(a->moc(), 1)->setName("Kept After The Cancelled Quit");
    const QString kept = personNumbered(a->moc(), 1)->name();
    prompts.answer(2); // Cancel
    a->performClose();
    EXPECT_EQ(prompts.records.size(), 3);
    EXPECT_EQ(documents().size(), 2);

    for (sqlite3* other : holders) {
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
    }
    a->performClose();
    EXPECT_EQ(documents(), QList<DOvurDocument*>{b});
    EXPECT_EQ(prompts.records.size(), 3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto moc = FTMoc::initForStoreURL(pathA, true);
    ASSERT_TRUE(moc);
    EXPECT_EQ(personNumbered(moc.get(), 1)->name(), kept);
}

// A failed save ends nothing: the window stays with its changes, the next save stores them, and a window whose
// changes cannot be saved asks before it closes.
TEST_F(DocumentWindow, ASaveIntoAFolderMadeReadOnlyKeepsTheWindowAndItsChanges)
{
    const QString folder = data + "/shared";
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(makeDatabase(folder + "/Family.RezUdu"));
    ASSERT_TRUE(doc);
    const QString path = doc->fileURL();
    QString kept;
    const auto writable = [&](bool on) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | (on ? QFile::WriteOwner : QFile::Permissions()));
    };
    {
        WithoutPermissionOverride asUser;
        writable(false);
        personNumbered(doc->moc(), 1)->setName("Kept Through The Failure");
        kept = personNumbered(doc->moc(), 1)->name();
        prompts.clear();
        EXPECT_FALSE(doc->moc()->saveMoc());
        ASSERT_EQ(prompts.records.size(), 1);
        EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr("Nothing is lost yet"));
        EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr("cannot be written"));
        EXPECT_EQ(documents(), QList<DOvurDocument*>{doc});
        EXPECT_TRUE(doc->dovurWindow()->isVisible());
        EXPECT_TRUE(doc->moc()->hasChanges());

        prompts.answer(2); // Cancel
        doc->performClose();
        EXPECT_EQ(documents(), QList<DOvurDocument*>{doc});
        EXPECT_EQ(prompts.records.size(), 2);
        EXPECT_EQ(personNumbered(doc->moc(), 1)->name(), kept);

        writable(true);
        EXPECT_TRUE(doc->moc()->saveMoc());
        EXPECT_FALSE(doc->moc()->hasChanges());

        // Close Without Saving gives up only what could not be saved, and asks nothing more.
        writable(false);
        personNumbered(doc->moc(), 1)->setName("Given Up");
        prompts.clear();
        prompts.answer(1);
        doc->performClose();
        writable(true);
        EXPECT_TRUE(documents().isEmpty());
        ASSERT_EQ(prompts.records.size(), 1);
        EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr("The changes to \"Family\" could not be saved"));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto moc = FTMoc::initForStoreURL(path, true);
    ASSERT_TRUE(moc) << texts().join("\n").toStdString();
    EXPECT_EQ(personNumbered(moc.get(), 1)->name(), kept);
}

// The question as the program shows it: the reason, the report's place and the three answers.
TEST_F(DocumentWindow, TheUnsavedChangesQuestionLooksRight)
{
    DOvurDocument* doc = open("Family.RezUdu");
    personNumbered(doc->moc(), 1)->setName("Changed");
    doc->moc()->setBusyTimeout(10);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(doc->fileURL().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    doc->moc()->saveMoc(); // the first failure writes the report the question names

    QtPrompts real;
    Prompts::install(&real);
    QStringList answers;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        saveScreenshot(box, "unsaved-changes-question");
        for (QAbstractButton* button : box->buttons())
            answers << button->text();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == "Cancel")
                button->click();
    });
    doc->performClose();
    Prompts::install(&prompts);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(documents(), QList<DOvurDocument*>{doc});
    answers.sort();
    EXPECT_EQ(answers, (QStringList{"Cancel", "Close Without Saving", "Retry"}));
}

TEST_F(DocumentWindow, ANewDatabaseOpensInASecondWindow)
{
    DOvurDocument* first = open("Family.RezUdu");
    newDatabaseAnswer = {"  Ann's Tree ", "Ann Jones", "f"};
    app->newDocument();
    ASSERT_EQ(documents().size(), 2);
    DOvurDocument* created = DocumentController::shared().currentDocument();
    ASSERT_NE(created, first);
    EXPECT_EQ(created->fileURL(), data + "/Ann's Tree.RezUdu");
    EXPECT_NE(created->dovurWindow(), first->dovurWindow());
    FTPerson* person = created->moc()->modelDefaults()->focalPerson();
    ASSERT_NE(person, nullptr);
    EXPECT_EQ(person->name(), "Ann JONES");
    EXPECT_EQ(person->gender(), "F");

    newDatabaseAnswer.clear(); // cancelled
    app->newDocument();
    EXPECT_EQ(documents().size(), 2);
}

TEST_F(DocumentWindow, EveryMenuItemWaitsWhileASheetIsOnTheWindow)
{
    DOvurDocument* doc = open("Family.RezUdu");
    auto* sheet = new QDialog;
    doc->beginSheet(sheet);
    EXPECT_TRUE(doc->hasAttachedSheet());
    QList<QAction*> items;
    for (QAction* menu : doc->dovurWindow()->menuBar()->actions())
        items << menu->menu()->actions();
    app->validateMenu(items);
    for (QAction* item : items)
        if (!item->isSeparator())
            EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
    sheet->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(doc->hasAttachedSheet());
    app->validateMenu(items);
    for (QAction* item : items)
        if (!item->isSeparator())
            EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
}

TEST_F(DocumentWindow, PicturesOutsideTheVisibleFamilyAreReleasedUnlessADeleteIsPending)
{
    DOvurDocument* doc = open("Family.RezUdu", 40);
    FTMoc* moc = doc->moc();
    FTPerson* far = personNumbered(moc, 30);
    auto* picture = moc->insertObject<FTPicture>();
    picture->setOwner(far);
    picture->setTranscriptionData(QByteArray(1000, 'x'));
    ASSERT_TRUE(moc->saveMoc());
    EXPECT_EQ(picture->transcriptionData().size(), 1000); // read: held in memory
    ASSERT_TRUE(moc->hasLoadedLazyValues(picture));

    moc->deleteObject(personNumbered(moc, 35));
    moc->modelDefaults()->setFocalPerson(personNumbered(moc, 3));
    EXPECT_TRUE(moc->hasLoadedLazyValues(picture));

    ASSERT_TRUE(moc->saveMoc());
    moc->modelDefaults()->setFocalPerson(personNumbered(moc, 4));
    EXPECT_FALSE(moc->hasLoadedLazyValues(picture));
    EXPECT_EQ(picture->transcriptionData(), QByteArray(1000, 'x')); // read again when wanted

    // The focal person's own pictures stay.
    moc->modelDefaults()->setFocalPerson(far);
    EXPECT_TRUE(moc->hasLoadedLazyValues(picture));
}

// With more than a thousand records in memory, a change of focal person turns every one the visible family does not
// need back into a fault: the same objects stay (read again when used), their values go; records with unsaved
// changes, observed ones and sources stay as they are.
TEST_F(DocumentWindow, AFocalChangeGivesBackTheRecordsTheFamilyDoesNotNeed)
{
    DOvurDocument* doc = open("Many.RezUdu", 400);
    FTMoc* moc = doc->moc();
    const auto loaded = [moc] {
        qint64 n = 0;
        StoreFaults::forEachRegisteredObject(*moc, [&n](ManagedObject* o) {
            n += StoreFaults::isFault(o) ? 0 : 1;
            return true;
        });
        return n;
    };
    FTPerson* next = personNumbered(moc, 7);
    FTPerson* changed = personNumbered(moc, 9);
    FTPerson* far = personNumbered(moc, 300);
    ASSERT_TRUE(next && changed && far);
    const QString farName = far->name();
    // Everyone read, with their events and families, as a whole-database walk leaves them.
    for (FTPerson* p : moc->fetch<FTPerson>()) {
        p->name();
        if (FTEvent* birth = p->birth())
            birth->date();
        p->parents();
        p->spouseRels();
    }
    changed->setNotes(QStringLiteral("not saved yet"));
    const qint64 registered = StoreFaults::registeredObjectCount(*moc);
    const qint64 before = loaded();
    ASSERT_GT(before, 1000);

    moc->modelDefaults()->setFocalPerson(next);
    const qint64 after = loaded();
    // What stays is the new family as the diagram and the editor read it (with their neighbours in the file).
    EXPECT_LT(after, before / 5) << "of " << before;
    EXPECT_GE(StoreFaults::registeredObjectCount(*moc), registered) << "the records themselves stay";
    EXPECT_FALSE(StoreFaults::isFault(next));
    EXPECT_FALSE(StoreFaults::isFault(changed));
    EXPECT_FALSE(StoreFaults::isFault(moc->modelDefaults()));
    EXPECT_TRUE(StoreFaults::isFault(far));
    EXPECT_EQ(far->name(), farName);
    EXPECT_EQ(changed->notes(), QStringLiteral("not saved yet"));
}

TEST_F(DocumentWindow, TheMainWindowLooksRight)
{
    DOvurDocument::setPaneFactories({});
    DOvurDocument* doc = open("Royal92.RezUdu");
    QMainWindow* window = doc->dovurWindow();
    window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->windowTitle(), "Royal92 - Kinloom");
    EXPECT_GE(window->width(), DOvurDocument::kMinWidth);
    QToolBar* toolbar = window->findChild<QToolBar*>("KinloomToolbar");
    ASSERT_NE(toolbar, nullptr);
    EXPECT_TRUE(toolbar->isVisible());
    for (const QString& id : ToolbarController::toolbarDefaultItemIdentifiers())
        if (QWidget* item = doc->toolbarController()->itemView(id)) {
            EXPECT_TRUE(item->isVisible()) << id.toStdString();
            EXPECT_TRUE(toolbar->geometry().contains(item->mapTo(window, QPoint(1, 1)))) << id.toStdString();
        }
    // Every item's label stands on the same line, whatever the height of its view (a label's text is centred in
    // its height, so its height is that of its text).
    QMap<int, QString> labelTops;
    for (const QString& id : ToolbarController::toolbarDefaultItemIdentifiers())
        if (QWidget* item = doc->toolbarController()->itemView(id))
            if (auto* label = item->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
                labelTops[label->mapTo(toolbar, QPoint()).y()] += id + " ";
                EXPECT_EQ(label->height(), label->sizeHint().height()) << id.toStdString();
            }
    EXPECT_EQ(labelTops.size(), 1) << QStringList(labelTops.values()).join("| ").toStdString();

    // Given the room, the history shows a long name whole (the item may grow to 300), and the search field its
    // whole prompt.
    FTPerson* focal = doc->moc()->modelDefaults()->focalPerson();
    ASSERT_NE(focal, nullptr);
    focal->setName("Alexandrina Victoria HANOVER-SAXE-COBURG");
    doc->toolbarController()->setFocalPerson(focal);
    const QSize frame = window->size();
    window->resize(1400, frame.height());
    QCoreApplication::processEvents();
    auto* combo = toolbar->findChild<QComboBox*>("focalPeopleComboBox");
    ASSERT_NE(combo, nullptr);
    EXPECT_GE(combo->width(), std::min(300, combo->sizeHint().width()));
    EXPECT_GT(combo->width(), 250);
    auto* search = toolbar->findChild<QLineEdit*>("findPersonSearchField");
    ASSERT_NE(search, nullptr);
    EXPECT_GE(search->width(), search->fontMetrics().horizontalAdvance(search->placeholderText()) + 30);
    window->resize(frame);
    QCoreApplication::processEvents();

    QSplitter* split = doc->pHorizSplitView();
    EXPECT_GE(split->sizes().value(0), DOvurDocument::kMinDiagramHeight);
    EXPECT_GE(split->sizes().value(1), DOvurDocument::kMinEditorHeight);

    const QImage image = window->grab().toImage();
    const QString png = dir.path() + "/main-window.png";
    ASSERT_TRUE(image.save(png));
    if (const QByteArray keep = qgetenv("KINLOOM_SCREENSHOT_DIR"); !keep.isEmpty())
        image.save(QString::fromLocal8Bit(keep) + "/main-window.png");
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 10);
    // The toolbar band holds drawing (labels, fields), not one flat colour.
    QSet<QRgb> toolbarColours;
    const QRect band = toolbar->geometry();
    for (int y = band.top(); y < band.bottom(); ++y)
        for (int x = band.left(); x < band.right(); x += 2)
            toolbarColours.insert(image.pixel(x, y));
    EXPECT_GT(toolbarColours.size(), 5);
}

}
