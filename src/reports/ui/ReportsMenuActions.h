#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class AppController;
class FamilyGroupSheetDialog;

// The commands of the Reports menu, each on the current database: it takes the current document (nothing without
// one that has a main window), ends editing in the main window, saves, and shows the report's sheet on the main
// window. "Previous Reports..." opens reports written before. Later reports add their items in
// registerMenuItems() and their windows the same way.
//
//   ReportsMenuActions::registerMenuItems(controller);   // once at start-up, before the first menu bar is made
//   ReportsMenuActions::install();                       // the reports other windows open
class ReportsMenuActions {
public:
    static void registerMenuItems(AppController& app);
    // The windows the person editor opens: the narrative report, one line per person, from its hierarchy pages'
    // Print Report, and the person's timeline; the toolbar's People button and the family diagram's people index
    // command open the people index.
    static void install();
    static void uninstall();

    // The narrative report of the selected person: ancestors (0), descendants (1) or the person alone (2).
    static void generateNarrativeReport(int reportType);
    static void ancestorsByGenerationReport();
    // The listings of the whole database, each in its sheet on the main window.
    static void generateFilteredPeopleReport();
    static void generatePeopleWithoutAncestorsReport();
    static void sourcesReport();
    static void generatePicturesReport();
    static void statisticsReport();
    // The data checks and event lists, each in its sheet on the main window after saving.
    static void generateDataValidationReport();
    static void databaseChangesReport();
    static void generateTableOfEvents();
    // In the Events menu: its end refreshes every view, which may show the new citations.
    static void eventsWithNoSourceReferences();
    // Asks for reports in the reports folder (several may be chosen) and opens each in the desktop's
    // application for it.
    static void previousReports();
    // The People menu: the database's people index (also the toolbar's People button and the family diagram's
    // command), and the relationship path from the focal person to the selected person.
    static void peopleIndex();
    static void relationshipToFocalPerson();
    // The family group sheet of the selected person, in a window of its own in front; null without a
    // selected person.
    static FamilyGroupSheetDialog* generateFamilyGroupSheet();
    // On This Day for the current database, modal; nothing without one.
    static void onThisDay();

    // The panel previousReports() asks with: the reports folder in, the chosen files out (none: cancelled).
    // A file dialog unless replaced (tests script it).
    using OpenPanel = std::function<QStringList(const QString& folder)>;
    static OpenPanel& openPanel();
};
