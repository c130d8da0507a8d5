#pragma once

class AppController;
class DOvurDocument;
class FTMoc;
class FTPerson;

// The menu commands of the database-wide editors: "Edit Family Names...", the personal comments and notes editors
// and the pruning of minor family groups in the People menu; the places editor, the find and replace of places,
// the event names and event dates editors and the calculated birth and death dates in the Events menu (which the
// reports share); the project views editor and their combination in the Project Views menu; the to-do note and
// the to-do list in the To Do menu; the scratch pad in the Window menu. Each takes the current document (nothing
// without one that has a main window), ends editing and saves, shows its window as a sheet on the main window, and
// when the sheet has ended every view refreshes. The toolbar's Project View button opens the project views editor;
// the family diagram's menu and keys open the to-do note and the scratch pad.
//
//   ToolsMenuActions::registerMenuItems(controller);   // once at start-up, before the first menu bar is made
//   ToolsMenuActions::install();                        // the hooks through which other layers open these windows
//                                                       // (the event editor, the places combo box)
class ToolsMenuActions {
public:
    static void registerMenuItems(AppController& app);
    static void install();

    static void editEventPlaces();
    static void editEventPlacesFindAndReplace();
    static void editEventNames();
    static void editFamilyNames();
    static void editEventDates();
    static void calculateBirthsFromChristeningsOrBaptisms();
    static void calculateDeathsFromBurialsOrCremations();

    static void editPersonalComments();
    static void editPersonalNotes();
    static void pruneMinorDynasties();
    static void projectViewsEdit();
    static void projectViewsCombine();
    // The to-do note of the database's selected person (nothing without one).
    static void todoAdd();
    static void todoAddFor(FTPerson* person);
    static void todoReview();
    static void displayScratchPad();
    // The document of a database, null when none is open on it.
    static DOvurDocument* documentFor(FTMoc* moc);
};
