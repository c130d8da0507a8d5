#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class FTMoc;
class FTPicture;
class QMimeData;

// The pictures of a database whose files are gone (a database moved from another computer, or restored without
// its pictures folder), and re-linking them to files the user offers, matched by file name without regard to
// letter case: first by the picture's file name, then by the file name the user first chose. A matched file is
// copied into the pictures folder once, and every missing picture of that name takes the copy. The
// ImportPictureFiles window shows it.
//
//   MissingPictureFiles missing(moc);
//   missing.findMissingPictures(MissingPictureFiles::contentsOfPicturesDirectory());   // what is there already
//   missing.findMissingPictures(droppedFiles);
//   missing.filenamesArray();                        // the names still missing
//   missing.printListOfMissingPictures();            // the list as a text file, for the user to open
class MissingPictureFiles {
public:
    explicit MissingPictureFiles(FTMoc* moc);

    std::function<void(const QString& text)> messageChanged;
    std::function<void(int percent)> progressChanged;

    // The entries of the pictures folder, as full paths.
    static QStringList contentsOfPicturesDirectory();
    // The accepted picture files directly inside `folder` (not in its sub-folders), as full paths, by name.
    static QStringList imageFilesInFolder(const QString& folder, const FTMoc* moc = nullptr);
    // What a drop or paste offers the window: the accepted files dropped; when there are none, the accepted files
    // of the first folder dropped (a folder dropped beside files is not looked into).
    static QStringList filesOffered(const QMimeData& mime, const FTMoc* moc = nullptr);

    // A picture is missing when it has a file name that is not an existing file directly in the pictures folder
    // (a link there whose target is gone counts as missing), or no file name but the one the user first chose.
    // Pictures with neither are counted and the user is told how many, once.
    void loadMissingPicsArray();
    const QList<FTPicture*>& picsWithMissingFile() const { return m_missing; }
    // The names still missing (file name, else the first chosen one), once each, sorted without regard to case.
    const QStringList& filenamesArray() const { return m_filenames; }

    // Re-links the missing pictures to `paths` (the last of two equal names wins), saves when any was re-linked,
    // and announces the result. The database's import flag is set for the run: no undo names, stamps or
    // notifications for each picture. Answers the number re-linked.
    int findMissingPictures(const QStringList& paths);
    // One pass by "filename" or "originalFilename" over the missing pictures with `byName` (upper-case file
    // name -> path). Answers the number re-linked.
    int matchMissingFilenamesAgainst(const QHash<QString, QString>& byName, const QString& key);

    // "200 of 2000 records processed. Estimated Total Time = 10 seconds, Time Remaining = 9 seconds".
    static QString progressText(qint64 elapsedMilliseconds, qsizetype done, qsizetype total);

    // Writes the list of the missing pictures into the data folder. The file's path, or empty after telling the
    // user why (nothing missing, the file cannot be written).
    QString printListOfMissingPictures();

private:
    FTMoc* m_moc;
    bool m_loaded = false;
    QList<FTPicture*> m_missing;
    QStringList m_filenames;
};
