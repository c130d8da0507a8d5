#pragma once

class AppController;
class DOvurDocument;
class FTMoc;
class FTSource;
struct Notification;

// The menu commands of the sources windows and the hooks the sources library needs of the application. The
// sources editor opens from the Sources menu, showing the active source, and for the notification
// "SourcesAddModDel", showing the notification's source (the windows that offer "manage the sources" post it).
// The Sources menu also reviews a source's citations and copies or merges sources from another database.
//
//   SourcesMenuActions::registerMenuItems(controller);   // once at start-up, before the first menu bar is made
class SourcesMenuActions {
public:
    static void registerMenuItems(AppController& app);
    // The hooks alone (tests of the windows without the application's menus).
    static void installHooks();
    static void removeObservers();

    // The launch pattern: the current document with its main window (nothing without one), editing ended, saved;
    // the editor as a sheet on the main window showing `source`, else the active source.
    static void sourcesAddModDel(FTSource* source = nullptr);
    // The active source panel of the current document (its toolbar's active-source button does the same).
    static void activateActiveSource();
    // The review of source citations with the current document, run modally (editing ended, nothing saved).
    static void reviewSourceReferences();
    // The launch pattern, then the sheet that copies sources from another database.
    static void cloneSourcesFromAnotherDatabase();
    // Editing ended and saved, then the window that merges a source of another database, run modally.
    static void mergeSourcesFromAnotherDatabase();
    // The observer of "SourcesAddModDel": the editor of the notification's database, showing its object.
    static void sourcesAddModDelNotification(const Notification& notification);
    // The editor of `moc`'s own window (whichever window is in front), showing `source`, else the active source.
    static void sourcesAddModDel(FTMoc* moc, FTSource* source);

    // The open document of a database; null when none shows it.
    static DOvurDocument* documentOf(const FTMoc* moc);
};
