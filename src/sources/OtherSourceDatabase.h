#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class FTMoc;

// The second database that the clone-sources and merge-sources windows read sources from: the candidate files of
// a folder, the check of a file chosen by browsing, and opening it beside the open database. The other database
// is opened only for reading: it need not be writable, may be open for editing elsewhere, and is never changed;
// it closes when its context goes (with the window).
//
//   QStringList names = OtherSourceDatabase::candidates(folder, openMoc);
//   std::unique_ptr<FTMoc> other = OtherSourceDatabase::open(folder + "/" + names[0], openMoc);
class OtherSourceDatabase {
public:
    // The ".RezUdu" files of `folder` that hold a database of this program's model ("DOvurV6"), by name ignoring
    // case, without the open database's own file. Only each file's metadata is read. `olderModels`: the files of
    // an older model are listed too (a window that tells the user why they cannot be opened).
    static QStringList candidates(const QString& folder, const FTMoc* openMoc, bool olderModels = false);
    // The file's metadata names another model than this program's: a database to convert before it is opened.
    static bool holdsOlderModel(const QString& path);
    // A file chosen by browsing may be opened when its metadata can be read and names this program's model;
    // otherwise "UnkDbModel" is shown with the file's path and what its metadata says.
    static bool checkChosenFile(const QString& path);
    // Whether `path` is the store file of `moc` (by any name that leads to it).
    static bool isFileOf(const QString& path, const FTMoc* moc);
    // Opens the other database; the open database's own file is refused with "SameDbSelected" before anything
    // is tried. Null after a message (the store's own error when it cannot be opened).
    static std::unique_ptr<FTMoc> open(const QString& path, const FTMoc* openMoc);
};
