#pragma once

#include "shell/PeopleCommands.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class DocumentController;
class DOvurDocument;
class FTMoc;
class FTPerson;
class QAction;
class QDialog;
class QKeySequence;
class QMenuBar;
class QWidget;
class NoDatabaseWindow;

// The application's controller: start-up, shut-down, the menus and the application-wide commands. Each group of
// members is defined in its own AppController_<Group>.cpp file. What needs no window lives in the shell core:
// FirstRunDefaults, AppStartup, RecentDocuments, MenuRules, NewDatabase.
//
//   DOvurApplication app(argc, argv);
//   AppController controller;              // one per program; AppController::shared() reaches it
//   if (!controller.awakeFromNib()) return 1;
//   controller.applicationDidFinishLaunching(databasePathsFromTheCommandLine);
//   return app.exec();
class AppController {
public:
    AppController();
    ~AppController();
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;

    // The controller of the running program; null before one is made.
    static AppController* shared();
    DocumentController& docController() const;

    // Start-up: the system check, the data folder, the defaults, the observers and the application-wide hooks.
    // False when the program must end (the reason has been shown).
    bool awakeFromNib();
    // Opens the databases named on the command line; when none opened, the most recent one (or the sample).
    // Shows the empty window when no database is open at the end.
    void applicationDidFinishLaunching(const QStringList& paths = {});
    // The desktop's "open file": opens the database at `path`.
    bool openFile(const QString& path);

    // Every road that opens a database: refuses a path in the trash, opens the database in its window and lists
    // it as a recent document. An old-model database queues the conversion offer; any other failure falls back
    // to the sample database, then to the Open panel. Answers the document that opened, if any.
    DOvurDocument* openDocumentWithContentsOfURL(const QString& path);
    // The conversion offer for an old database ("MigrateDatabase").
    void migrateDatabase(const QString& path);

    // Quitting: saves the front window's frame and every open database. A database that cannot be saved asks
    // "Retry", "Close Without Saving" or "Cancel"; Cancel keeps the program running: false.
    bool applicationShouldTerminate();
    // The Quit command: applicationShouldTerminate, then closes every database and leaves the event loop.
    bool terminate();
    // Ends the program at once after a fatal error (an exception report): no further saving, exit status 1.
    void terminateAfterFailure();

    // Commands of the menus.
    void newDocument();
    void openDocument(); // the Open panel
    void moveDataDirectory();
    void closeCurrentDocument();
    void backupCurrentDatabase();
    // Saves, then opens the integrity-check sheet on the front database's main window.
    void checkDatabaseIntegrity();
    void metadataFromGedcomLoad();
    void printDocument();
    void promoteToFocalPerson();
    void saveData();
    void undo();
    void redo();
    void comingSoon(const QString& menuTitle, const QString& itemTitle);

    // The launch pattern of every menu command that opens a window on the front database: its document when it
    // has a main window, with field editing ended and, with `save`, the database saved. Null (and nothing done)
    // without one. The command then shows its window with DOvurDocument::beginSheet() or addChildWindow().
    //
    //   app.addMenuItem("Tools", "Edit Family Names...", [] {
    //       if (DOvurDocument* doc = AppController::documentForCommand())
    //           doc->beginSheet(new FamilyNamesEditor(doc->moc()));
    //   });
    static DOvurDocument* documentForCommand(bool save = true);

    // People menu (AppController_People.cpp).
    // Attach Existing Person as Child, Parent or Spouse: only says where that is done.
    static void attachingPersonAdvice();
    // The family diagram deletes the selected person's box (with its questions), or opens the dialog that
    // disconnects the selected person.
    static void deletePerson();
    static void disconnectPerson();
    // An add-person sheet of the person editor has ended with `person` (null when cancelled): the editor shows
    // its first page and the person becomes the selected person (an associated person) or the focal person (an
    // unconnected one), in an undo group of its own. Nothing happens on cancel.
    static void personAdded(DOvurDocument& doc, FTPerson* person, PeopleCommands::AddedAs as);
    // Attach Existing Person as Associated Person: the person editor's chooser and association dialog, each run
    // modally (see PeopleCommands); the diagram then lays its boxes out again.
    static void attachExistingPersonAsAssociatedPerson(
        const std::function<FTPerson*(FTMoc* moc)>& selectExistingPerson,
        const std::function<void(FTAssociation* made)>& associatedPersonDialog);

    // Compare-and-merge menu (AppController_CompareAndMerge.cpp), given the merge subsystem's windows.
    // Merge Two People: the candidates of MergeCommands, then the window made for them, run modally.
    static void mergeTwoPeopleWithinTheCurrentDatabase(
        const std::function<QDialog*(FTMoc* moc, const QList<FTPerson*>& candidates)>& makeMergeTwoPeople);
    // Compare and Merge: saves, offers a backup (warning when none is written), then shows the window made for
    // the database as a child window of its main window.
    static void compareAndMerge(const std::function<QWidget*(DOvurDocument& doc)>& makeCompareAndMerge);

    // Help > "Download Latest Release...".
    static void downloadLatestRelease();

    // Window > "Next TabView Pane" and "Previous TabView Pane": the front database's person editor shows its next
    // (previous) page, from the last to the first (the first to the last).
    static void selectNextTabViewItem();
    static void selectPreviousTabViewItem();
    // Help > "Kinloom Help": the user guide that comes with the program (share/kinloom/help/index.html), in the
    // desktop's browser at the anchor "start_here"; when no browser opens it, a message says where it is.
    static void showHelp();
    // The user guide's first page.
    static QString helpBookPath();
    // Help > "Discussion Forums" and "Frequently Asked Questions": the web pages in the browser, or a message
    // with their address when no browser opens.
    static void kinloomForum();
    static void frequentlyAskedQuestions();

    // The panels a command runs, replaceable by tests: the Open panel (answers a path or empty), the folder panel
    // of "Move Data Directory..." and the new-database dialog (fills the three texts, answers false on cancel).
    struct Panels {
        std::function<QString()> openDatabase;
        std::function<QString(const QString& startFolder)> chooseFolder;
        std::function<bool(QString* modelName, QString* personName, QString* gender)> newDatabase;
    };
    Panels& panels();

    // The menu bar of a main window (and of the empty window). Later subsystems add their items once at start-up
    // with addMenuItem(); every menu bar made afterwards has them, in the order added, as a group at the end of
    // that menu (in "File" before printing and quitting; a new menu goes before "Help"). Items are enabled by
    // MenuRules each time a menu opens.
    //
    //   controller.addMenuItem("Reports", "Ancestors Report...", [] { ... currentDocument ... });
    struct MenuItem {
        QString menu;
        QString title;
        std::function<void()> action;
        QString shortcut; // a QKeySequence text, "Ctrl+R"; empty for none
    };
    void addMenuItem(const QString& menu, const QString& title, std::function<void()> action,
                     const QString& shortcut = {});
    QMenuBar* createMainMenu(QWidget* window);
    // Enables the actions of one menu for the current state (MenuRules; also run each time a menu opens).
    void validateMenu(const QList<QAction*>& actions) const;

    // While set, quitting is refused (a disc is being written).
    bool bBurning = false;

    // The window shown while no database is open; null when none is shown.
    NoDatabaseWindow* noDatabaseWindow() const;
    // Shows or hides it to match the open documents.
    void updateNoDatabaseWindow();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
