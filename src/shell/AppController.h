#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class DocumentController;
class DOvurDocument;
class FTMoc;
class QAction;
class QKeySequence;
class QMenuBar;
class QWidget;
class NoDatabaseWindow;

// The application's controller: start-up, shut-down, the menus and the application-wide commands. Each group of
// members is defined in its own AppController_<Group>.cpp file. The static groups (user defaults, the data folder
// at start-up, recent documents, new databases, menu rules) are in the core library; the instance, which opens
// documents and windows, is defined in shell/ui.
//
//   DOvurApplication app(argc, argv);
//   AppController controller;              // one per program; AppController::shared() reaches it
//   if (!controller.awakeFromNib()) return 1;
//   controller.applicationDidFinishLaunching(databasePathsFromTheCommandLine);
//   return app.exec();
class AppController {
public:
    // ---- User defaults (AppController_UserDefaults.cpp) ----

    // Run at every start before any window: writes the first-run value of every key still absent, resets
    // the keys that must start fresh each time, brings the main colours back once, clamps "fontSize" and
    // normalises "cdFont". A missing Arial (and no metric-compatible stand-in) is reported, never fatal.
    static void initialiseUserDefaults();
    // The groups of keys of each area, in the order initialiseUserDefaults runs them.
    static void initialiseHdUserDefaults();
    static void initialisePeopleIndexCsvUserDefaults();
    static void initialiseStoryUserDefaults();
    static void initialiseHtmlUserDefaults();
    static void initialiseAncestorsReportsDefaults();

    // True when `family`, or a font that fontconfig offers with the same metrics ("Liberation Sans" for
    // "Arial", ...), has regular, italic, bold and bold italic faces. Otherwise shows the "FontWarning"
    // message and answers false.
    static bool checkFontIsEnabled(const QString& family);
    // The first-run value ("#rrggbb") of one of the eight main colours; empty for any other key.
    static QString mainColourFirstRunValue(const QString& key);
    // ---- end of user defaults ----

    // ---- Data folder and recent documents at start-up (AppController_Startup.cpp, core) ----

    // The sample database of the shared support folder and of a new data folder.
    static const QString kSampleDatabaseName; // "Royal92.RezUdu"
    // The user default holding the recent databases: a list of absolute paths, newest first.
    static const QString kRecentDocumentsKey; // "RecentDocuments"
    static constexpr int kMaxRecentDocuments = 10;

    static QStringList recentDocumentPaths();
    // Puts the database at the front of the list (once), keeping the newest kMaxRecentDocuments.
    static void noteNewRecentDocument(const QString& path);
    static void clearRecentDocuments();

    // Makes the data folder when it is missing; when it holds no database yet, copies the sample databases and
    // GEDCOM files of the shared support folder into it and lists each copied database as a recent document.
    // False when there is no usable data folder (the reason has been shown).
    static bool ensureDatabaseExists();
    // Lists the sample database of the data folder as a recent document, first copying it from the shared
    // support folder when the data folder has none.
    static void addRoyal92ToRecentDocs();
    // Whether a path lies in a trash folder ("Trash" anywhere in it, in any letter case).
    static bool isInTrash(const QString& path);
    // The database to open at launch: the newest recent document not in the trash (each one skipped is logged);
    // the sample database is listed first when the list is empty. Empty when there is none.
    static QString recentDocumentToOpenAtLaunch();
    // ---- end of start-up ----

    // ---- New database (AppController_NewDatabase.cpp, core) ----

    // Creates a new database in the data folder under the first free name for `modelName`, with one person
    // (`personName`, gender letter `gender`), saves it and answers its path. The file is created exclusively:
    // an existing file is never touched. Empty after a message on failure (nothing is left behind).
    static QString createNewDatabase(const QString& modelName, const QString& personName, const QString& gender);
    // ---- end of new database ----

    // ---- Menu rules (AppController_MenuRules.cpp, core) ----

    // The items (by title) that stay enabled while no database is open.
    static const QStringList& itemsEnabledWithoutDocument();
    // Whether a menu item is enabled: the quit item not while a disc is burnt; without a document only the
    // items above; with one, none while its main window has a sheet, else all.
    static bool isMenuItemEnabled(const QString& title, bool isQuitItem, bool burning, bool documentOpen,
                                  bool sheetAttached);
    // ---- end of menu rules ----

    // ---- The application delegate (shell/ui: AppController.cpp, AppController_Launch.cpp,
    // AppController_Menus.cpp, AppController_Commands.cpp) ----

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

    // The panels a command runs, replaceable by tests: the Open panel (answers a path or empty), the folder panel
    // of "Move Data Directory..." and the new-database dialog (fills the three texts, answers false on cancel).
    struct Panels {
        std::function<QString()> openDatabase;
        std::function<QString(const QString& startFolder)> chooseFolder;
        std::function<bool(QString* modelName, QString* personName, QString* gender)> newDatabase;
    };
    Panels& panels();

    // The menu bar of a main window (and of the empty window). Later subsystems add their items once at start-up
    // with addMenuItem(); every menu bar made afterwards has them, in the order added, at the end of that menu
    // (a new menu goes before "Window"). Items are enabled by isMenuItemEnabled() each time a menu opens.
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
    // Enables the actions of one menu for the current state (also run each time a menu opens).
    void validateMenu(const QList<QAction*>& actions) const;

    // While set, quitting is refused (a disc is being written).
    bool bBurning = false;

    // The window shown while no database is open; null when none is shown.
    NoDatabaseWindow* noDatabaseWindow() const;
    // Shows or hides it to match the open documents.
    void updateNoDatabaseWindow();
    // ---- end of application delegate ----

private:
    struct Private;
    std::unique_ptr<Private> d;
};
