#pragma once

class AppController;

// The menu commands of the database-wide editors: "Edit Family Names..." in the People menu; the places editor,
// the find and replace of places and the event names editor in the Events menu (which the reports share). Each
// takes the current document (nothing without one that has a main window), ends editing and saves, shows its
// window as a sheet on the main window, and when the sheet has ended every view refreshes.
//
//   ToolsMenuActions::registerMenuItems(controller);   // once at start-up, before the first menu bar is made
//   ToolsMenuActions::install();                        // the hooks through which other layers open these windows
class ToolsMenuActions {
public:
    static void registerMenuItems(AppController& app);
    static void install();

    static void editEventPlaces();
    static void editEventPlacesFindAndReplace();
    static void editEventNames();
    static void editFamilyNames();
};
