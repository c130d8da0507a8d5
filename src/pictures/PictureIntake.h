#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class FTMoc;
class FTPerson;
class FTPicture;
class QImage;
class QMimeData;

// What a paste or a drop offers as pictures, and turning it into Picture records. A clipboard or drag holds, in
// the order they are taken:
//  1. a picture record of this program ("KinloomPicturePlist", PicturePlist), dragged or copied from a person's
//     pictures: one picture of that file, with its title, date, notes and transcription;
//  2. file URLs: the local files whose extension is an accepted kind (UtilsPics::multimediaFileTypes; no movies
//     while the database is being imported into), each a picture;
//  3. image data in any format: written as "<name>.tiff" into the temporary pictures folder, then a picture.
//
//   const int offered = PictureIntake::numImageFilesInPasteboard(*mime, moc);   // 0: refuse the drop
//   auto added = PictureIntake::addPicturesFromPasteboard(*mime, person, [&](const QString& t) { label->setText(t); });
//   if (!added) ... nothing usable was offered: nothing changed, nothing said
//
// Files that cannot become pictures (a folder, an image file that does not decode) are left out, and the user is
// told which and why; the person is not changed for them.
class PictureIntake {
public:
    // The accepted kinds for a database: movies only when no import runs in it.
    static QSet<QString> acceptedFileTypes(const FTMoc* moc);

    // How many pictures the clipboard or drag offers: 1 for a picture record, the number of accepted files, 1 for
    // image data; else 0.
    static int numImageFilesInPasteboard(const QMimeData& mime, const FTMoc* moc = nullptr);

    // The dropped local files whose extension is accepted, in the order given.
    static QStringList imageFilesInFilenamesPasteboard(const QMimeData& mime, const FTMoc* moc = nullptr);

    // The picture files a clipboard or drag offers: the accepted dropped files as they are, or its image data
    // written as "<defaultFilename>.tiff" (TIFF) into a fresh temporary pictures folder. The name is made one
    // safe file-name part (safeFileName). Empty when nothing is offered, or when the image cannot be written (the
    // user has been told, and `told` is set when given).
    static QStringList copyImageFilesFromPasteboard(
        const QMimeData& mime, const QString& defaultFilename, const FTMoc* moc = nullptr, bool* told = nullptr);
    // `name` as one file name inside a folder: no "/" (written "|") or control characters, no leading dots or
    // blanks, at most 100 characters; "TiffImage" when nothing is left.
    static QString safeFileName(const QString& name);

    // Makes the offered pictures for `person`, each with its thumbnail, and answers them in the order offered.
    // `message` (when given) receives "3 pictures added - drag & drop complete" (in lower case). The undo action
    // is named "Add Picture(s) <person>" when any was added. Null when the clipboard or drag yields no file at all
    // (nothing said, nothing named); an empty list when its files were all left out.
    static std::optional<QList<FTPicture*>> addPicturesFromPasteboard(
        const QMimeData& mime, FTPerson* person, const std::function<void(const QString&)>& message = {});

    // The one picture file of a paste or drop, ready to be a picture's file: a picture record's file, the first
    // accepted dropped file, or image data written as "<defaultFilename>.tiff" and placed in the pictures folder.
    // An image file must give an image. Null when nothing usable is offered, or when the file is refused: then the
    // user has been told why, and `told` (when given) is set.
    static std::optional<QString> onePictureFile(
        const QMimeData& mime, const QString& defaultFilename, const FTMoc* moc = nullptr, bool* told = nullptr);

private:
    static bool checkFile(const QString& path, QImage* thumbnail, QString* whyNot);
};
