// The People, Compare-and-merge and Help menu commands in the running application: the launch pattern they
// share, sheets and child windows on the main window, and what each command hands to the windows of the other
// subsystems.
#include "ApplicationFixture.h"
#include "Screenshot.h"
#include "WithoutPermissionOverride.h"
#include "WorkspaceFixture.h"

#include "shell/UpdateCheck.h"
#include "shell/Utils.h"
#include "shell/ui/DownloadLatestRelease.h"
#include "shell/ui/FamilyDiagramPane.h"
#include "shell/ui/NoDatabaseWindow.h"
#include "shell/ui/PersonEditorPane.h"

#include "model/FTAssociation.h"
#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>

#include <gmock/gmock.h>

#include <functional>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

struct Seen {
    int deletes = 0, disconnects = 0, refreshArray = 0, firstPage = 0, nextPage = 0, previousPage = 0;
};
Seen* g_seen = nullptr;

class RecordingDiagram : public FamilyDiagramPane {
public:
    void setRefreshArray(bool refresh) override { g_seen->refreshArray += refresh; }
    void deletePerson() override { ++g_seen->deletes; }
    void disconnectPerson() override { ++g_seen->disconnects; }
};
class RecordingEditor : public PersonEditorPane {
public:
    void showFirstPage() override { ++g_seen->firstPage; }
    void selectNextTabViewItem() override { ++g_seen->nextPage; }
    void selectPreviousTabViewItem() override { ++g_seen->previousPage; }
};

QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

// Every item of a menu bar by title ("People/Delete Person").
QMap<QString, QAction*> itemsOf(QMenuBar* bar)
{
    QMap<QString, QAction*> items;
    for (QAction* menu : bar->actions())
        for (QAction* item : menu->menu()->actions())
            if (!item->isSeparator())
                items.insert(menu->text() + "/" + item->text(), item);
    return items;
}

class MenuActions : public ApplicationFixture {
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
        if (DownloadLatestRelease* window = DownloadLatestRelease::shared())
            window->close();
        ApplicationFixture::TearDown();
        DOvurDocument::setPaneFactories({});
        g_seen = nullptr;
    }
    DOvurDocument* open()
    {
        DOvurDocument* doc = app->openDocumentWithContentsOfURL(makeDatabase(data + "/Family.RezUdu"));
        EXPECT_NE(doc, nullptr) << texts().join("\n").toStdString();
        prompts.clear();
        return doc;
    }
    static QList<FTPerson*> people(DOvurDocument* doc) { return doc->moc()->fetch<FTPerson>(); }

    Seen seen;
};

}

TEST_F(MenuActions, ThePeopleAndHelpMenusCarryTheirCommands)
{
    app->applicationDidFinishLaunching();
    ASSERT_NE(app->noDatabaseWindow(), nullptr);
    QMap<QString, QAction*> items = itemsOf(app->noDatabaseWindow()->menuBar());
    ASSERT_TRUE(items.contains("Help/Download Latest Release..."));
    EXPECT_TRUE(items["Help/Download Latest Release..."]->isEnabled()) << "needs no database";
    EXPECT_FALSE(items["People/Delete Person"]->isEnabled());

    DOvurDocument* doc = open();
    items = itemsOf(doc->dovurWindow()->menuBar());
    for (const QString as : {"Child", "Parent", "Spouse"}) {
        prompts.clear();
        items["People/Attach Existing Person as " + as + "..."]->trigger();
        EXPECT_THAT(texts(), ElementsAre(L("AttachingPersonAdvice"))) << as.toStdString();
    }
    items["People/Delete Person"]->trigger();
    items["People/Disconnect Person..."]->trigger();
    EXPECT_EQ(seen.deletes, 1);
    EXPECT_EQ(seen.disconnects, 1);

    // An address the check may not use: the window opens and says so at once, without any network.
    prompts.clear();
    UserDefaults::standard().setString(UpdateCheck::kUpdateUrlKey, "http://kinloom.org");
    items["Help/Download Latest Release..."]->trigger();
    ASSERT_NE(DownloadLatestRelease::shared(), nullptr);
    EXPECT_TRUE(DownloadLatestRelease::shared()->isVisible());
    EXPECT_EQ(DownloadLatestRelease::shared()->state(), DownloadLatestRelease::State::Failed);
    EXPECT_EQ(texts().value(1), L("cnxnError"));
}

TEST_F(MenuActions, TheWindowMenuStepsTheEditorsPagesWithCtrlAndTheArrows)
{
    app->applicationDidFinishLaunching();
    QMap<QString, QAction*> items = itemsOf(app->noDatabaseWindow()->menuBar());
    EXPECT_FALSE(items["Window/Next TabView Pane"]->isEnabled()) << "no database, no pages";
    DOvurDocument* doc = open();
    items = itemsOf(doc->dovurWindow()->menuBar());
    QAction* next = items["Window/Next TabView Pane"];
    QAction* previous = items["Window/Previous TabView Pane"];
    ASSERT_NE(next, nullptr);
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(next->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Right));
    EXPECT_EQ(previous->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Left));
    next->trigger();
    next->trigger();
    previous->trigger();
    EXPECT_EQ(seen.nextPage, 2);
    EXPECT_EQ(seen.previousPage, 1);
}

TEST_F(MenuActions, HelpOpensTheGuideThatComesWithTheProgramOrSaysWhereItIs)
{
    app->applicationDidFinishLaunching();
    QMap<QString, QAction*> items = itemsOf(app->noDatabaseWindow()->menuBar());
    QAction* help = items["Help/Kinloom Help"];
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isEnabled()) << "needs no database";
    EXPECT_EQ(help->shortcut(), QKeySequence(QKeySequence::HelpContents));

    // No guide in the support folder: the message says where it belongs.
    const QString guide = support + "/help/index.html";
    EXPECT_EQ(AppController::helpBookPath(), guide);
    help->trigger();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(texts().first().toStdString(), HasSubstr(QDir::toNativeSeparators(support + "/help").toStdString()));

    QDir().mkpath(support + "/help");
    QFile page(guide);
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><h1 id=\"start_here\">Kinloom</h1></body></html>\n");
    page.close();
    {
        // The desktop's application for web pages gets the guide's first page.
        WorkspaceFixture browser(dir.path(), "text/html");
        prompts.clear();
        help->trigger();
        EXPECT_THAT(browser.launched(), ElementsAre("--editor", guide));
        EXPECT_TRUE(prompts.records.isEmpty()) << texts().join("\n").toStdString();
    }
    {
        // Nothing opens web pages: the message says where the guide is.
        const QString nothing = dir.path() + "/no-applications";
        QDir().mkpath(nothing);
        Workspace::shared().setSearchPaths({nothing}, {nothing});
        QList<QUrl> refused;
        Workspace::shared().setDesktopOpener([&refused](const QUrl& url) {
            refused << url;
            return false;
        });
        prompts.clear();
        help->trigger();
        ASSERT_EQ(prompts.records.size(), 1);
        EXPECT_THAT(texts().first().toStdString(), HasSubstr(QDir::toNativeSeparators(guide).toStdString()));

        // The forums and the questions likewise say so rather than nothing.
        // (The questions' item waits for a database, as the menu's rules say.)
        const std::function<void()> pages[] = {[&] { items["Help/Discussion Forums"]->trigger(); },
                                               [] { AppController::frequentlyAskedQuestions(); }};
        for (const auto& page : pages) {
            prompts.clear();
            page();
            ASSERT_EQ(prompts.records.size(), 1);
            EXPECT_THAT(texts().first().toStdString(), HasSubstr("https://kinloom.org/forums"));
        }
        Workspace::shared().setDesktopOpener({});
        Workspace::shared().setSearchPaths({}, {});
        // The desktop was asked for the guide at its first anchor, then for the two pages.
        ASSERT_EQ(refused.size(), 3);
        EXPECT_EQ(refused[0].fragment(), "start_here");
        EXPECT_EQ(refused[0].toLocalFile(), guide);
    }
}

TEST_F(MenuActions, HelpSaysWhereTheGuideIsWhenTheDesktopOpenerFindsNoBrowser)
{
    // xdg-open starts even on a computer without a browser and says so only by its exit status, after the menu
    // item has returned: that late answer must still reach the user.
    app->applicationDidFinishLaunching();
    QAction* help = itemsOf(app->noDatabaseWindow()->menuBar())["Help/Kinloom Help"];
    ASSERT_NE(help, nullptr);
    const QString guide = support + "/help/index.html";
    QDir().mkpath(support + "/help");
    QFile page(guide);
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><h1 id=\"start_here\">Kinloom</h1></body></html>\n");
    page.close();
    const QString nothing = dir.path() + "/no-applications";
    QDir().mkpath(nothing);
    Workspace::shared().setSearchPaths({nothing}, {nothing});

    // One opener that finds a browser, then one that finds none, each on PATH in its own folder.
    const QByteArray path = qgetenv("PATH");
    const auto fakeOpener = [&](const QString& name, int status) {
        const QString folder = dir.path() + "/" + name;
        QDir().mkpath(folder);
        QFile script(folder + "/xdg-open");
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QString("#!/bin/sh\nprintf '%s' \"$1\" > '%1/asked.tmp'\nmv '%1/asked.tmp' '%1/asked'\nexit %2\n")
                         .arg(folder)
                         .arg(status)
                         .toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        qputenv("PATH", (folder + ":").toUtf8() + path);
        help->trigger();
        return folder + "/asked";
    };
    prompts.clear();
    const QString opened = fakeOpener("browser", 0);
    const QString refused = fakeOpener("no-browser", 3);
    qputenv("PATH", path);
    EXPECT_TRUE(prompts.records.isEmpty()) << "nothing is known yet when the item returns";

    QElapsedTimer waited;
    waited.start();
    while ((prompts.records.isEmpty() || !QFile::exists(opened)) && waited.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    Workspace::shared().setSearchPaths({}, {});

    ASSERT_EQ(prompts.records.size(), 1) << "the opener that found a browser stays silent";
    EXPECT_THAT(texts().first().toStdString(), HasSubstr(QDir::toNativeSeparators(guide).toStdString()));
    for (const QString& asked : {opened, refused}) {
        QFile file(asked);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << asked.toStdString();
        const QUrl url(QString::fromUtf8(file.readAll()));
        EXPECT_EQ(url.toLocalFile(), guide);
        EXPECT_EQ(url.fragment(), "start_here");
    }
}

TEST_F(MenuActions, OtherSubsystemsItemsFormAGroupAndQuitStaysLast)
{
    app->addMenuItem("File", "Import Something...", [] {});
    app->addMenuItem("File", "Export Something...", [] {});
    app->addMenuItem("Edit", "Preferences...", [] {});
    app->addMenuItem("Reports", "A Chart", [] {});
    DOvurDocument* doc = open();
    QMenuBar* bar = doc->dovurWindow()->menuBar();
    auto titles = [](const QMenu* menu) {
        QStringList list;
        for (const QAction* item : menu->actions())
            list << (item->isSeparator() ? QString("-") : item->text());
        return list;
    };
    QStringList menus;
    for (const QAction* menu : bar->actions())
        menus << menu->text();
    EXPECT_THAT(menus, ElementsAre("File", "Edit", "People", "Reports", "Window", "Help"));

    const QStringList file = titles(bar->findChild<QMenu*>("File"));
    EXPECT_THAT(file.mid(file.indexOf("Move Data Directory...")),
                ElementsAre("Move Data Directory...", "-", "Import Something...", "Export Something...", "-",
                            "Print...", "-", "Quit Kinloom"));
    const QStringList edit = titles(bar->findChild<QMenu*>("Edit"));
    EXPECT_THAT(edit.mid(edit.size() - 3), ElementsAre("Select All", "-", "Preferences..."));
    EXPECT_THAT(titles(bar->findChild<QMenu*>("Reports")), ElementsAre("A Chart"));
}

TEST_F(MenuActions, TheStandardItemsShowTheDesktopsIcons)
{
    QMenuBar* bar = open()->dovurWindow()->menuBar();
    QMap<QString, QAction*> items = itemsOf(bar);
    const QMap<QString, QString> icons {
        {"File/New...", "document-new"}, {"File/Open...", "document-open"}, {"File/Open Recent", "document-open-recent"},
        {"File/Close", "window-close"}, {"File/Save", "document-save"}, {"File/Print...", "document-print"},
        {"File/Quit Kinloom", "application-exit"}, {"Edit/Undo", "edit-undo"}, {"Edit/Redo", "edit-redo"},
        {"Edit/Cut", "edit-cut"}, {"Edit/Copy", "edit-copy"}, {"Edit/Paste", "edit-paste"},
        {"Edit/Select All", "edit-select-all"}, {"Help/About Kinloom", "help-about"},
        {"Help/Kinloom Help", "help-contents"}, {"Window/Next TabView Pane", "go-next"},
        {"Window/Previous TabView Pane", "go-previous"},
        {"Help/Download Latest Release...", "system-software-update"}};
    for (auto it = icons.begin(); it != icons.end(); ++it) {
        ASSERT_TRUE(items.contains(it.key())) << it.key().toStdString();
        EXPECT_EQ(items[it.key()]->icon().name(), it.value()) << it.key().toStdString();
        EXPECT_FALSE(items[it.key()]->icon().pixmap(16).isNull()) << it.key().toStdString();
    }
    for (const char* name : {"File", "Edit"}) {
        QMenu* menu = bar->findChild<QMenu*>(name);
        menu->popup(QPoint(0, 0));
        QCoreApplication::processEvents();
        saveScreenshot(menu, QString("menu-") + name);
        menu->close();
    }
}

TEST_F(MenuActions, TheLaunchPatternNeedsAMainWindowAndEndsEditingBeforeSaving)
{
    EXPECT_EQ(AppController::documentForCommand(), nullptr);
    DOvurDocument* doc = open();
    FTPerson* someone = people(doc).first();

    someone->setName("Typed Name");
    EXPECT_EQ(AppController::documentForCommand(false), doc);
    EXPECT_TRUE(doc->moc()->hasChanges()) << "no save asked";
    EXPECT_EQ(AppController::documentForCommand(), doc);
    EXPECT_FALSE(doc->moc()->hasChanges());
}

TEST_F(MenuActions, ASheetReportsItsEndOnceAndAChildWindowStaysAboveTheMainWindowUntilItCloses)
{
    DOvurDocument* doc = open();
    QList<int> ends;
    QPointer<QDialog> sheet = new QDialog;
    doc->beginSheet(sheet, [&](int result) { ends << result; });
    EXPECT_TRUE(doc->hasAttachedSheet());
    sheet->done(7);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_THAT(ends, ElementsAre(7));
    EXPECT_TRUE(sheet.isNull());
    EXPECT_FALSE(doc->hasAttachedSheet());

    QPointer<QWidget> child = new QWidget;
    doc->addChildWindow(child);
    EXPECT_EQ(child->parentWidget(), doc->dovurWindow());
    EXPECT_TRUE(child->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(child->isVisible());
    EXPECT_FALSE(doc->hasAttachedSheet()) << "a child window leaves the menus working";
    child->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(child.isNull());
}

TEST_F(MenuActions, APersonAddedByTheEditorsSheetIsShownOnItsFirstPage)
{
    DOvurDocument* doc = open();
    FTMoc* moc = doc->moc();
    FTPerson* focal = moc->focalPerson();
    AppController::personAdded(*doc, nullptr, PeopleCommands::AddedAs::Unconnected);
    EXPECT_EQ(seen.firstPage, 0);
    EXPECT_EQ(moc->focalPerson(), focal);

    FTPerson* added = FTPerson::initInMoc(moc, "Una Connected", "F");
    AppController::personAdded(*doc, added, PeopleCommands::AddedAs::Unconnected);
    EXPECT_EQ(seen.firstPage, 1);
    EXPECT_EQ(moc->focalPerson(), added);
}

TEST_F(MenuActions, AttachingAnAssociatedPersonRunsTheEditorsDialogsAndRedrawsTheDiagram)
{
    DOvurDocument* doc = open();
    FTMoc* moc = doc->moc();
    FTPerson* focal = moc->focalPerson();
    FTPerson* other = moc->firstPersonInDatabaseWhoIsNot(focal);
    const int redraws = seen.refreshArray;

    AppController::attachExistingPersonAsAssociatedPerson([](FTMoc*) { return nullptr; }, {});
    EXPECT_TRUE(moc->fetch<FTAssociation>().isEmpty());
    EXPECT_EQ(seen.refreshArray, redraws);

    QList<FTAssociation*> dialog;
    AppController::attachExistingPersonAsAssociatedPerson(
        [&](FTMoc* m) { return m == moc ? other : nullptr; }, [&](FTAssociation* shown) { dialog << shown; });
    ASSERT_EQ(moc->fetch<FTAssociation>().size(), 1);
    EXPECT_EQ(moc->fetch<FTAssociation>()[0]->toPerson(), other);
    EXPECT_EQ(moc->fetch<FTAssociation>()[0]->fromPerson(), focal);
    EXPECT_THAT(dialog, ElementsAre(moc->fetch<FTAssociation>()[0]));
    EXPECT_EQ(seen.refreshArray, redraws + 1);
}

TEST_F(MenuActions, MergingTwoPeopleRunsTheMergeWindowOnTheCandidates)
{
    DOvurDocument* doc = open();
    FTMoc* moc = doc->moc();
    FTPerson* focal = moc->focalPerson();
    FTPerson* twin = FTPerson::initInMoc(moc, "Twin", focal->gender());
    focal->setValueForKeyPath("birth.year", 1777);
    twin->setValueForKeyPath("birth.year", 1777);
    QList<FTPerson*> shown;
    AppController::mergeTwoPeopleWithinTheCurrentDatabase([&](FTMoc* m, const QList<FTPerson*>& candidates) {
        EXPECT_EQ(m, moc);
        shown = candidates;
        auto* dialog = new QDialog;
        QTimer::singleShot(0, dialog, &QDialog::reject);
        return dialog;
    });
    EXPECT_THAT(shown, ElementsAre(twin));
    EXPECT_FALSE(moc->hasChanges());
}

TEST_F(MenuActions, CompareAndMergeWarnsWhenTheBackupIsCancelledAndOpensItsWindowAllTheSame)
{
    DOvurDocument* doc = open();
    // The real save panel, cancelled as soon as it shows.
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* panel = qobject_cast<QFileDialog*>(w))
                panel->reject();
    });
    QPointer<QWidget> window;
    AppController::compareAndMerge([&](DOvurDocument& d) {
        EXPECT_EQ(&d, doc);
        window = new QWidget;
        return window.data();
    });
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, L("bkupWarnTitle"));
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(window->parentWidget(), doc->dovurWindow());
    EXPECT_TRUE(window->isVisible());
}

// The backup copies the file on the disk: it is refused, with the reason, while the changes in memory cannot be
// written, and once they can the backup holds them.
TEST_F(MenuActions, BackupIsRefusedWhileTheChangesCannotBeSavedAndHoldsThemOnceTheyAre)
{
    const QString folder = data + "/shared";
    DOvurDocument* doc = app->openDocumentWithContentsOfURL(makeDatabase(folder + "/Family.RezUdu"));
    ASSERT_TRUE(doc);
    const auto writable = [&](bool on) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | (on ? QFile::WriteOwner : QFile::Permissions()));
    };
    int panels = 0;
    const auto acceptThePanel = [&] {
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* panel = qobject_cast<QFileDialog*>(w); panel && panel->isVisible()) {
                    ++panels;
                    static_cast<QDialog*>(panel)->accept();
                }
        });
    };
    const QString backup = Utils::backupsDirectory() + "/Family_Backup01.RezUdu";
    {
        WithoutPermissionOverride asUser;
        writable(false);
        doc->moc()->modelDefaults()->focalPerson()->setName("Not Yet Saved");
        prompts.clear();
        acceptThePanel();
        app->backupCurrentDatabase();
        QCoreApplication::processEvents();
        writable(true);
    }
    EXPECT_EQ(panels, 0);
    EXPECT_FALSE(QFile::exists(backup));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, L("bkupWarnTitle"));
    EXPECT_THAT(prompts.records[0].info.toStdString(), HasSubstr("The latest changes to \"Family\" could not be saved"));
    EXPECT_THAT(prompts.records[0].info.toStdString(), HasSubstr("would not hold them"));

    prompts.clear();
    acceptThePanel();
    app->backupCurrentDatabase();
    EXPECT_EQ(panels, 1);
    EXPECT_TRUE(prompts.records.isEmpty()) << texts().join("\n").toStdString();
    auto copy = FTMoc::initForStoreURL(backup, true);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->modelDefaults()->focalPerson()->name(), doc->moc()->modelDefaults()->focalPerson()->name());
}
