#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class AppController;
class QWidget;

// The publishing subsystem's commands and the windows other layers open: Publish > Generate Web Pages... (the
// web-page generator's window as a sheet on the main window, once the database is saved); the File menu's exports
// of birthdays and anniversaries to a calendar file and of living people to contact cards, each run modally on the
// current database after field editing has ended (no save: they only read); and the map window of an event's place
// (ModelHooks::openMapWindow), which the events page and the places editor open.
//
// Publishing a saved page set: Publish > "Prepare Pages for Another Web Site..." (PrepareForUpload) and "Publish to
// a Site Folder..." (UploadToSiteFolder, after the privacy question), each run modally once the database is saved;
// "Burn Latest Web Pages to CD or DVD..." and "Burn Other Folder to CD or DVD..." (BurnDiscSheet, a sheet); "Sync to
// iPhone" and File > "Export to XML File..." only say that the program does not do that.
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
    static void prepareForUploadToOtherWebSite();
    static void uploadToSiteFolder();
    // `title` beginning with "Other" asks for the folder; any other names a folder of the Reports folder (the
    // latest web pages): when it is gone, a message, and "mostRecentWebPagesFolder" is forgotten.
    static void burnCdOrDvd(const QString& title);
    static void syncToiPhone();
    static void exportToXMLFile();

    // What the burn command asks the computer, replaceable by tests: the folder panel (empty: cancelled) and the
    // drives (DiscBurner::drives).
    struct BurnPanels {
        std::function<QString(QWidget* parent, const QString& start)> chooseFolder;
        std::function<QStringList(QString* error)> drives;
    };
    static BurnPanels& burnPanels();
};
