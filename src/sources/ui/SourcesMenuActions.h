#pragma once

class AppController;
class FTSource;
struct Notification;

// The menu commands of the sources windows and the hooks the sources library needs of the application. The
// sources editor opens from the Sources menu, showing the active source, and for the notification
// "SourcesAddModDel", showing the notification's source (the windows that offer "manage the sources" post it).
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
    // The observer of "SourcesAddModDel": the editor of the notification's database, showing its object.
    static void sourcesAddModDelNotification(const Notification& notification);
};
