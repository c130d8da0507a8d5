// The preferences window on real documents (bound to one database and its diagram, rebinding, letting go when the
// database closes, following the diagram's name option, restoring the defaults) and the date sheet of an event.
#include "ApplicationFixture.h"
#include "Screenshot.h"

#include "shell/ui/DateDisplay.h"
#include "shell/ui/FamilyDiagramPane.h"
#include "shell/ui/PreferencesController.h"
#include "shell/ui/ToolbarController.h"

#include "model/Dates.h"
#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTProjectView.h"

#include <QApplication>
#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include <iterator>

namespace {

// A diagram that counts its rebuilds and keeps the base class's font and colour handling.
class CountingDiagram : public FamilyDiagramPane {
public:
    void setRefreshArray(bool refresh) override { refreshes += refresh; }
    int refreshes = 0;
};

class PreferencesWindow : public ApplicationFixture {
protected:
    void SetUp() override
    {
        ApplicationFixture::SetUp();
        // The help table, like the main one, comes from the real support folder.
        AppPaths::setSharedSupportDirectory(savedSupport);
        Localizer::shared().reset();
        LocalizedString("OK");
        LocalizedHelpString("helpForAlwaysDisplayChildOrFamilyDialogMsg");
        AppPaths::setSharedSupportDirectory(support);
        DOvurDocument::setDiagramFactory([](DOvurDocument&) { return new CountingDiagram; });
        start();
        PreferencesController::install(*app);
    }
    void TearDown() override
    {
        delete PreferencesController::shared();
        ToolbarController::setItemHandler(ToolbarController::kPreferences, {});
        PreferencesController::setDiagramColoursHandler({});
        ApplicationFixture::TearDown();
        DOvurDocument::setDiagramFactory({});
    }
    DOvurDocument* open(const QString& name, int people = 20)
    {
        DOvurDocument* doc = app->openDocumentWithContentsOfURL(makeDatabase(data + "/" + name, people));
        EXPECT_NE(doc, nullptr) << texts().join("\n").toStdString();
        return doc;
    }
    static CountingDiagram* diagramOf(DOvurDocument* doc) { return static_cast<CountingDiagram*>(doc->pcd()); }
    static QAction* menuItem(QMainWindow* window, const QString& menu, const QString& title)
    {
        for (QMenu* m : window->menuBar()->findChildren<QMenu*>())
            if (m->objectName() == menu)
                for (QAction* a : m->actions())
                    if (a->text() == title)
                        return a;
        return nullptr;
    }
    static QStringList viewNames(PreferencesController* window)
    {
        QStringList out;
        QAbstractItemModel* model = window->foundViewsTable()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            out << model->index(row, 0).data().toString();
        return out;
    }
};

}

TEST_F(PreferencesWindow, OpensOnTheDocumentItCameFromAndRebindsToAnother)
{
    DOvurDocument* first = open("First.RezUdu");
    DOvurDocument* second = open("Second.RezUdu");
    ASSERT_TRUE(first && second);
    FTProjectView* firstsView = FTProjectView::initInMoc(first->moc());
    firstsView->setName("Only in First");

    // From the toolbar of the first database.
    ASSERT_TRUE(ToolbarController::itemHandler(ToolbarController::kPreferences));
    ToolbarController::itemHandler(ToolbarController::kPreferences)(*first);
    PreferencesController* window = PreferencesController::shared();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->document(), first);
    EXPECT_EQ(window->moc(), first->moc());
    EXPECT_EQ(window->pcd(), first->pcd());
    EXPECT_EQ(window->parentWidget(), first->dovurWindow());
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(viewNames(window).contains("Only in First"));
    EXPECT_EQ(window->foundViewsTable()->font().pointSize(), QApplication::font().pointSize());

    // From the Edit menu of the second: the same window, now on the second database.
    DocumentController::shared().setCurrentDocument(second);
    QAction* item = menuItem(second->dovurWindow(), "Edit", "Preferences...");
    ASSERT_NE(item, nullptr);
    item->trigger();
    EXPECT_EQ(PreferencesController::shared(), window);
    EXPECT_EQ(window->moc(), second->moc());
    EXPECT_EQ(window->pcd(), second->pcd());
    EXPECT_EQ(window->parentWidget(), second->dovurWindow());
    EXPECT_FALSE(viewNames(window).contains("Only in First"));

    // Creating a view works on the second database.
    window->createAncestralViewForFocalPerson();
    FTPerson* focal = second->moc()->focalPerson();
    ASSERT_NE(focal->ancestralView(), nullptr);
    EXPECT_EQ(second->moc()->projectView(), focal->ancestralView());
    EXPECT_TRUE(viewNames(window).contains(focal->ancestralView()->name()));
    EXPECT_EQ(window->foundViewsTable()->selectionModel()->selectedRows().size(), 1);
}

TEST_F(PreferencesWindow, ClosingTheDocumentClosesTheWindowAndLetsGoOfTheDatabase)
{
    DOvurDocument* first = open("First.RezUdu");
    DOvurDocument* second = open("Second.RezUdu");
    PreferencesController* window = PreferencesController::setUserPreferences(first);
    ASSERT_NE(window, nullptr);
    window->tabs()->setCurrentIndex(3);
    window->projectViewSearchField()->setText("x");

    DocumentController::shared().closeDocument(first);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(PreferencesController::shared(), window); // kept for the next use
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->document(), nullptr);
    EXPECT_EQ(window->moc(), nullptr);
    EXPECT_EQ(window->pcd(), nullptr);
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_EQ(window->foundViewsTable()->model()->rowCount(), 0);
    // Notifications reach nothing of the closed database.
    NotificationCenter::defaultCenter().post("RefreshAllViews");
    window->createAncestralViewForFocalPerson();
    window->selectNameOption(10);
    window->setDefaults();

    EXPECT_EQ(PreferencesController::setUserPreferences(second), window);
    EXPECT_EQ(window->moc(), second->moc());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->projectViewSearchField()->text(), "");
}

// An undo may take away a view the list shows: the list follows undo and redo of its database, never holding a
// view that is gone.
TEST_F(PreferencesWindow, TheViewsListFollowsUndoAndRedo)
{
    DOvurDocument* doc = open("Family.RezUdu");
    PreferencesController* window = PreferencesController::setUserPreferences(doc);
    ASSERT_NE(window, nullptr);
    window->tabs()->setCurrentIndex(3);
    const QStringList before = viewNames(window);
    window->createAncestralViewForFocalPerson();
    const QString name = doc->moc()->focalPerson()->ancestralView()->name();
    ASSERT_EQ(viewNames(window).size(), before.size() + 1);

    doc->undo();
    EXPECT_EQ(doc->moc()->focalPerson()->ancestralView(), nullptr);
    EXPECT_EQ(viewNames(window), before);
    EXPECT_EQ(window->viewsList().selectedView(), nullptr);

    doc->redo();
    EXPECT_TRUE(viewNames(window).contains(name));
    EXPECT_EQ(window->viewsList().selectedView(), doc->moc()->focalPerson()->ancestralView());
}

TEST_F(PreferencesWindow, TheNameOptionFollowsTheDiagramAndRestoringTheDefaultsRebuildsIt)
{
    DOvurDocument* doc = open("Family.RezUdu");
    PreferencesController* window = PreferencesController::setUserPreferences(doc);
    CountingDiagram* pcd = diagramOf(doc);
    doc->moc()->modelDefaults()->setCurrentView(nullptr);

    // The diagram's own menu changed the option.
    UserDefaults::standard().setInteger("cdNameOption", 5);
    int before = pcd->refreshes;
    NotificationCenter::defaultCenter().post("cdNameOptionChanged", pcd, doc->moc());
    EXPECT_EQ(window->nameOptions()->currentIndex(), 5);
    EXPECT_EQ(window->nameOptions()->currentText(), LocalizedString("DiagOptChildren"));
    EXPECT_GT(pcd->refreshes, before);

    // Chosen here: consanguinity without a current view warns.
    prompts.clear();
    window->nameOptions()->setCurrentIndex(10);
    Q_EMIT window->nameOptions()->activated(10);
    EXPECT_EQ(UserDefaults::standard().integerForKey("cdNameOption"), 10);
    EXPECT_EQ(texts(), QStringList {LocalizedString("AncestralViewNeeded")});

    UserDefaults::standard().setBool("showTimeline", false);
    UserDefaults::standard().setColor("tableViewHighlightColour", QColor(9, 9, 9));
    before = pcd->refreshes;
    window->findChild<QPushButton*>("setDefaults")->click();
    EXPECT_GT(pcd->refreshes, before);
    EXPECT_EQ(window->nameOptions()->currentIndex(), 0);
    EXPECT_TRUE(window->checkBox("showTimeline")->isChecked());
    EXPECT_EQ(UserDefaults::standard().colorForKey("tableViewHighlightColour"), QColor(9, 9, 9));
    // The base pane stored the font it was given.
    const QFont font = UserDefaults::standard().fontForKey("cdFont");
    EXPECT_EQ(font.family(), "Arial");
    EXPECT_TRUE(font.italic());
    EXPECT_EQ(font.pointSizeF(), 11);
}

TEST_F(PreferencesWindow, SwitchesAndColoursAreStoredAndReachTheViews)
{
    DOvurDocument* doc = open("Family.RezUdu");
    PreferencesController* window = PreferencesController::setUserPreferences(doc);
    CountingDiagram* pcd = diagramOf(doc);

    QCheckBox* shadows = window->checkBox("showShadows");
    ASSERT_NE(shadows, nullptr);
    const bool was = UserDefaults::standard().boolForKey("showShadows");
    EXPECT_EQ(shadows->isChecked(), was);
    const int before = pcd->refreshes;
    shadows->click();
    EXPECT_EQ(UserDefaults::standard().boolForKey("showShadows"), !was);
    EXPECT_GT(pcd->refreshes, before); // every view is refreshed

    window->setColour("cdBgColour", QColor(10, 20, 30));
    EXPECT_EQ(UserDefaults::standard().colorForKey("cdBgColour"), QColor(10, 20, 30));
    window->setColour("panelsBgColour", QColor(200, 100, 50));
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(200, 100, 50));
    window->setColour("mainWindowBgColour", QColor(50, 60, 70));
    EXPECT_EQ(UserDefaults::standard().colorForKey("mainWindowBgColour"), QColor(50, 60, 70));

    // The diagram colours button shows only once the diagrams subsystem installed its window.
    EXPECT_FALSE(window->diagramColoursButton()->isVisibleTo(window));
    FamilyDiagramPane* opened = nullptr;
    PreferencesController::setDiagramColoursHandler([&](FamilyDiagramPane& p, QWidget*) { opened = &p; });
    EXPECT_TRUE(window->diagramColoursButton()->isVisibleTo(window));
    window->diagramColoursButton()->click();
    EXPECT_EQ(opened, pcd);
}

// The picture editor's crop shape: the pop-up lists the six shapes, shows what is stored and stores what the user
// picks; a stored text that names no shape shows as "As Cropped" and is kept until the user picks.
TEST_F(PreferencesWindow, TheCropShapePopUpShowsAndStoresTheShape)
{
    DOvurDocument* doc = open("Family.RezUdu");
    PreferencesController* window = PreferencesController::setUserPreferences(doc);
    ASSERT_NE(window, nullptr);
    QComboBox* popup = window->croppingMode();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->currentText(), LocalizedString("AsCropped")); // the first-run value
    const char* const keys[] = {"AsCropped", "Portrait6x4", "Portrait4x3", "Landscape6x4", "Landscape4x3", "Square"};
    ASSERT_EQ(popup->count(), int(std::size(keys)));
    auto choose = [&](int index) {
        popup->setCurrentIndex(index);
        Q_EMIT popup->activated(index);
    };
    // Each shape as stored shows when the window opens; another one picked is stored at once (and differs from
    // the shape stored next, so that each opening has to show a change).
    for (int i = 0; i < popup->count(); ++i) {
        SCOPED_TRACE(keys[i]);
        EXPECT_EQ(popup->itemText(i), LocalizedString(keys[i]));
        UserDefaults::standard().setString("croppingMode", LocalizedString(keys[i]));
        PreferencesController::setUserPreferences(doc);
        EXPECT_EQ(popup->currentIndex(), i);
        const int picked = (i + 3) % popup->count();
        choose(picked);
        EXPECT_EQ(UserDefaults::standard().stringForKey("croppingMode"), LocalizedString(keys[picked]));
    }

    // Restoring the diagram's defaults leaves the crop shape alone.
    choose(5);
    window->findChild<QPushButton*>("setDefaults")->click();
    EXPECT_EQ(UserDefaults::standard().stringForKey("croppingMode"), LocalizedString("Square"));
    EXPECT_EQ(popup->currentIndex(), 5);

    UserDefaults::standard().setString("croppingMode", "Panorama");
    PreferencesController::setUserPreferences(doc);
    EXPECT_EQ(popup->currentText(), LocalizedString("AsCropped"));
    window->findChild<QPushButton*>("setDefaults")->click();
    EXPECT_EQ(UserDefaults::standard().stringForKey("croppingMode"), "Panorama");
    choose(0); // the shape it shows, picked
    EXPECT_EQ(UserDefaults::standard().stringForKey("croppingMode"), LocalizedString("AsCropped"));
}

TEST_F(PreferencesWindow, EveryPageLooksRightOnTheSampleDatabase)
{
    const QString path = copySampleDatabase(data);
    ASSERT_TRUE(QFileInfo(path).isFile());
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(path);
    ASSERT_NE(doc, nullptr);
    PreferencesController* window = PreferencesController::setUserPreferences(doc);
    window->createAncestralViewForFocalPerson();
    window->resize(window->sizeHint().expandedTo(QSize(560, 460)));
    const char* pages[] = {"preferences-diagram", "preferences-colours", "preferences-general",
                           "preferences-views"};
    for (int i = 0; i < 4; ++i) {
        window->tabs()->setCurrentIndex(i);
        QCoreApplication::processEvents();
        const QImage image = saveScreenshot(window, pages[i]);
        EXPECT_GE(image.width(), window->tabs()->currentWidget()->minimumSizeHint().width());
    }
    // Every switch fits its column.
    for (const QString& key : {QStringLiteral("alwaysShowFamilyDialog"), QStringLiteral("showStepRelsOfFocalPerson")})
        EXPECT_GE(window->checkBox(key)->width(), window->checkBox(key)->sizeHint().width()) << key.toStdString();
    // The crop shape sits under the pictures switch, its label in line with the switches and nothing cut off.
    window->tabs()->setCurrentIndex(2);
    QCoreApplication::processEvents();
    QCheckBox* copy = window->checkBox("alwaysCopyToPicturesFolder");
    QComboBox* shape = window->croppingMode();
    const QWidget* group = shape->parentWidget();
    QLabel* label = nullptr;
    for (QLabel* l : group->findChildren<QLabel*>())
        if (l->buddy() == shape)
            label = l;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), LocalizedString("PrefsCropShape"));
    EXPECT_EQ(label->mapTo(group, QPoint()).x(), copy->mapTo(group, QPoint()).x());
    EXPECT_GT(label->mapTo(group, QPoint()).y(), copy->mapTo(group, QPoint()).y());
    const QWidget* nextSwitch = window->checkBox("cdCheckForMissingCitations");
    EXPECT_LT(label->mapTo(group, QPoint()).y(), nextSwitch->mapTo(group, QPoint()).y());
    EXPECT_GE(label->width(), label->sizeHint().width());
    EXPECT_GE(shape->width(), shape->sizeHint().width());
    EXPECT_LE(shape->mapTo(group, QPoint(shape->width(), 0)).x(), group->contentsRect().right());

    window->findChild<QToolButton*>("helpForAlwaysDisplayChildOrFamilyDialog")->click();
    auto* help = window->findChild<QMessageBox*>("helpForAlwaysDisplayChildOrFamilyDialog");
    ASSERT_NE(help, nullptr);
    EXPECT_NE(help->text(), "helpForAlwaysDisplayChildOrFamilyDialogMsg"); // the texts were found
    EXPECT_EQ(help->windowTitle(), LocalizedHelpString("helpForAlwaysDisplayChildOrFamilyDialogTitle"));
    EXPECT_EQ(help->text(), LocalizedHelpString("helpForAlwaysDisplayChildOrFamilyDialogMsg"));
    EXPECT_EQ(help->informativeText(), LocalizedHelpString("helpForAlwaysDisplayChildOrFamilyDialogInfo"));
    saveScreenshot(help, "preferences-help");
    help->close();
}

// The window closes like any other: with its Close button, or with Escape.
TEST_F(PreferencesWindow, CloseAndEscapeCloseTheWindow)
{
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(copySampleDatabase(data));
    ASSERT_NE(doc, nullptr);
    PreferencesController* window = PreferencesController::setUserPreferences(doc);
    ASSERT_TRUE(window->isVisible());
    auto* buttons = window->findChild<QDialogButtonBox*>("closeButtons");
    ASSERT_NE(buttons, nullptr);
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    ASSERT_NE(close, nullptr);
    // The button keeps the style's margin from the window's edge.
    const QRect inWindow(close->mapTo(window, QPoint()), close->size());
    EXPECT_GE(window->width() - inWindow.right(), 12);
    EXPECT_GE(window->height() - inWindow.bottom(), 12);
    close->click();
    EXPECT_FALSE(window->isVisible());

    window = PreferencesController::setUserPreferences(doc);
    ASSERT_TRUE(window->isVisible());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(window->tabs()->currentWidget(), &escape);
    EXPECT_FALSE(window->isVisible());
}

// ---- The date sheet -------------------------------------------------------------------------------------------

TEST_F(PreferencesWindow, TheDateSheetWritesOnlyAPickedDayAndOnlyThroughItsButton)
{
    DOvurDocument* doc = open("Family.RezUdu");
    FTMoc* moc = doc->moc();
    FTPerson* person = moc->focalPerson();
    enum Close { Button, CloseBox, Escape };
    struct Case {
        const char* name;
        QString before;
        QDate picked; // invalid: no pick
        Close close;
        QString after;
    };
    const Case cases[] = {
        {"full date unchanged", "24 May 1819", QDate(), Button, "24 May 1819"},
        {"full date picked as it is", "24 May 1819", QDate(1819, 5, 24), Button, "24 May 1819"},
        {"partial date picked", "abt 1900", QDate(1900, 3, 5), Button, "abt 05 Mar 1900"},
        {"partial date without a pick", "abt 1900", QDate(), Button, "abt 1900"},
        {"month and year without a pick", "bef Mar 1900", QDate(), Button, "bef Mar 1900"},
        {"close box after a pick", "abt 1900", QDate(1900, 3, 5), CloseBox, "abt 1900"},
        {"escape after a pick", "24 May 1819", QDate(1820, 1, 2), Escape, "24 May 1819"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        moc->undoManager()->disableUndoRegistration();
        person->setValueForKeyPath("birth.date", c.before);
        moc->undoManager()->enableUndoRegistration();
        auto* birth = static_cast<FTEvent*>(ManagedObject::fromVariant(person->valueForKey("birth")));
        ASSERT_EQ(birth->date(), c.before);
        ASSERT_TRUE(moc->saveMoc());
        moc->undoManager()->closeOpenGroups();
        moc->undoManager()->removeAllActions();
        const QDateTime stamp = person->lastChange();

        auto* sheet = new DateDisplay(birth);
        QPointer<DateDisplay> alive(sheet);
        doc->beginSheet(sheet);
        ASSERT_TRUE(sheet->isVisible());
        EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
        if (c.before == "abt 1900")
            EXPECT_EQ(sheet->datePicker()->selectedDate(), QDate(1900, 1, 1));
        if (c.before == "bef Mar 1900")
            EXPECT_EQ(sheet->datePicker()->selectedDate(), QDate(1900, 3, 1));
        if (c.picked.isValid()) {
            if (c.picked == sheet->datePicker()->selectedDate())
                Q_EMIT sheet->datePicker()->clicked(c.picked);
            else
                sheet->datePicker()->setSelectedDate(c.picked);
        }
        EXPECT_EQ(sheet->dayPicked(), c.picked.isValid());
        if (c.close == Button)
            sheet->button()->click();
        else if (c.close == CloseBox)
            sheet->close();
        else {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(sheet, &escape);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(alive.isNull());

        EXPECT_EQ(birth->date(), c.after);
        moc->undoManager()->closeOpenGroups();
        const bool changed = c.after != c.before;
        EXPECT_EQ(moc->hasChanges(), changed);
        EXPECT_EQ(moc->undoManager()->canUndo(), changed);
        if (!changed)
            EXPECT_EQ(person->lastChange(), stamp);
    }
}

TEST_F(PreferencesWindow, TheDateSheetLooksRight)
{
    DOvurDocument* doc = open("Family.RezUdu");
    FTPerson* person = doc->moc()->focalPerson();
    person->setValueForKeyPath("birth.date", "abt 05 Mar 1900");
    auto* birth = static_cast<FTEvent*>(ManagedObject::fromVariant(person->valueForKey("birth")));
    auto* sheet = new DateDisplay(birth);
    doc->beginSheet(sheet);
    QCoreApplication::processEvents();
    EXPECT_EQ(sheet->datePicker()->selectedDate(), QDate(1900, 3, 5));
    EXPECT_EQ(sheet->datePicker()->minimumDate().year(), 1);
    const QImage image = saveScreenshot(sheet, "date-display");
    EXPECT_GE(image.width(), sheet->datePicker()->sizeHint().width());
    sheet->close();
}
