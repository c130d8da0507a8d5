#pragma once

#include <QList>

#include <functional>

class AppController;
class DOvurDocument;
class FTPicture;

// The menu commands of the GEDCOM windows: the import (which needs no open database), the export of the whole
// database, the exports of the focal person's ancestors, descendants or all relatives, and the dynasties report.
// Each command that works on a database takes the current document; without one that has a main window it does
// nothing. It ends editing in the main window, saves where the export reads what was just typed, and shows its
// window as a sheet on the main window.
//
//   GedcomMenuActions::registerMenuItems(controller);   // once at start-up, before the first menu bar is made
class GedcomMenuActions {
public:
    static void registerMenuItems(AppController& app);

    // File > "Import Gedcom...": the import window, run modally; a database imported opens.
    static void loadGedcomFile();
    // The whole database.
    static void exportToGedcomFile();
    // The people of the family diagram's boxes, up to the generations it shows; with `allSpouses` each one's
    // spouses too. It ends as the whole database's export does.
    static void exportSelectionToGedcomFile(bool allSpouses);
    static void exportFocalPersonPlusAncestorsToGedcomFile();
    static void exportFocalPersonPlusDescendantsToGedcomFile();
    static void exportFocalPersonPlusAllRelsToGedcomFile();
    static void generateDynastiesReport();

    // The picture steps that follow, installed at start-up by the pictures subsystem (empty: none follow): the
    // import-pictures sheet on the window of a database just imported, and the export-pictures sheet on the
    // pictures whose files a whole-database export named, once its sheet has ended.
    struct PictureSteps {
        std::function<void(DOvurDocument& document)> importPictures;
        std::function<void(DOvurDocument& document, const QList<FTPicture*>& pictures)> exportPictures;
    };
    static PictureSteps& pictureSteps();
};
