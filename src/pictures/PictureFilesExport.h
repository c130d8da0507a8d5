#pragma once

#include <QList>
#include <QString>

#include <functional>

class FTMoc;
class FTPicture;

// Copies the picture files of a database, or only their thumbnails, into a new folder of the data folder
// ("<database>_Exported Pictures", "<database>_Exported Thumbnails"), with the disk space that takes, and writes the
// list of the files. The ExportPictureFiles window shows it. An export never removes or writes over anything it did
// not write itself: when that folder holds anything, it goes into the first of "... 2", "... 3" that is absent or
// empty, and the user is told so.
//
//   PictureFilesExport exporter(moc, picturesFromTheGedcomExport);   // none: loadPictures() offers them all
//   if (exporter.picturesArray().isEmpty()) exporter.loadPictures();
//   exporter.exportEnabled();                     // false when the disk is too full (the user has been warned)
//   exporter.exportPictureFiles();                // or exportThumbnails(); the user is told the outcome
class PictureFilesExport {
public:
    // Kept free beyond what the export needs.
    static constexpr quint64 kSpareBytes = 10485760;
    // Each file's share beyond its size (folder entries and the like).
    static constexpr quint64 kBytesPerFile = 2048;

    PictureFilesExport(FTMoc* moc, QList<FTPicture*> pictures = {});

    std::function<void(int percent)> progressChanged;
    // The free bytes on the data folder's disk; replaceable by tests.
    std::function<quint64()> freeDiskSpace;

    QString dialogTitle() const;
    const QList<FTPicture*>& picturesArray() const { return m_pictures; }
    qsizetype numPictures() const { return m_pictures.size(); }
    bool exportThumbnailsOnly = false;

    // Every picture file of the database, each file once, by name; then the space it needs.
    void loadPictures();
    quint64 bytesNeeded() const { return m_bytesNeeded; }

    // "2 Gb", "1024 Mb", "5 Kb": the largest unit the count is above, in whole units; empty for 1024 bytes or less.
    static QString sizeText(quint64 bytes);
    // Sets the two texts ("Required Disk Space = 5 Gb") and, when the export would leave less than 10 Mb, warns
    // and refuses the export.
    void displayDiskSpaceRequirements(quint64 bytesNeeded);
    const QString& requiredDiskSpace() const { return m_required; }
    const QString& availableDiskSpace() const { return m_available; }
    bool exportEnabled() const { return m_exportEnabled; }

    // The folder's name: "<data folder>/<database>_Exported Pictures" (or "..._Exported Thumbnails").
    QString exportFolder(bool thumbnails) const;
    // The folder the last export of this exporter wrote into; empty before one.
    const QString& lastExportFolder() const { return m_lastFolder; }
    // The export the switch chooses. Answers the number of files written (-1 when the folder could not be made).
    int exportPictures() { return exportThumbnailsOnly ? exportThumbnails() : exportPictureFiles(); }
    // Each file under its own name; a picture whose file is gone gives its thumbnail under the file's name. A name
    // that is taken already is not written over: those pictures are counted and reported once.
    int exportPictureFiles();
    // Each thumbnail as "<file name without extension>.tif"; a second of the same name becomes "<name>_1.tif".
    int exportThumbnails();

    // Writes the list of the files (" (file not found)" after a missing one) into the data folder. Its path, or
    // empty after telling the user why.
    QString printListOfPictures();

private:
    // The export folder, or the first free variant of its name, made; empty after a message.
    QString makeExportFolder(bool thumbnails);
    QString doneText(int count, const char* copiedKey, const QString& folder, bool thumbnails) const;
    void progress(qsizetype index, int* shown) const;

    FTMoc* m_moc;
    QList<FTPicture*> m_pictures;
    quint64 m_bytesNeeded = 0;
    QString m_required;
    QString m_available;
    bool m_exportEnabled = true;
    QString m_lastFolder;
};
