#pragma once

#include <QList>

class AppController;
class FTPicture;

// The picture-file commands of the File menu, "Import Pictures..." and "Export Pictures...", and the picture
// windows and services that other layers open: the thumbnail move of an older database as it opens, the picture
// steps after a GEDCOM import or whole-database export, the intake of the person editor's pasted and dropped
// pictures, its transcription window, and the picture well of the sources editor. Each command takes the current document; without one that has
// a main window it does nothing.
//
//   PicturesMenuActions::registerMenuItems(controller);   // once at start-up, before the first menu bar is made
//   PicturesMenuActions::install();     // the hooks of the model, GEDCOM, editor, sources editor and diagram
class PicturesMenuActions {
public:
    static void registerMenuItems(AppController& app);
    static void install();
    static void uninstall();

    // Saves the database and shows the import-pictures sheet; the database is saved again when it ends.
    static void importPictures();
    // Shows the export-pictures sheet on `pictures`, or on every picture file of the database when none are given.
    static void exportPictures(const QList<FTPicture*>& pictures = {});
};
