#pragma once

class AppController;

// The publishing subsystem's commands and the windows other layers open: Publish > Generate Web Pages... (the
// web-page generator's window as a sheet on the main window, once the database is saved); the File menu's exports
// of birthdays and anniversaries to a calendar file and of living people to contact cards, each run modally on the
// current database after field editing has ended (no save: they only read); and the map window of an event's place
// (ModelHooks::openMapWindow), which the events page and the places editor open.
//
//   PublishingMenuActions::registerMenuItems(controller);   // once at start-up, before the first menu bar is made
//   PublishingMenuActions::install();                      // the map window hook
class PublishingMenuActions {
public:
    static void registerMenuItems(AppController& app);
    static void install();

    static void exportBirthDaysToICal();
    static void exportPeopleToAddressBook();
    static void generateHtmlWebPages();
};
