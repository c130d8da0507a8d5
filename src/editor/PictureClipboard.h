#pragma once

#include <QString>

#include <memory>

class FTPicture;
class QMimeData;

// What the pictures page copies to the clipboard: a picture's image as TIFF with the picture's record
// (PicturePlist), which the pictures intake reads back as a picture of the same file.
//
//   if (auto data = PictureClipboard::originalImage(picture))
//       QGuiApplication::clipboard()->setMimeData(data.release());
class PictureClipboard {
public:
    static const QString kTiffMimeType; // "image/tiff"

    // The file's whole image, or its thumbnail (with the message "No original image so thumbnail has been copied")
    // when the file gives none, and the record; the file's URL too when the file exists. Null, after "No image found
    // to copy", when there is neither.
    static std::unique_ptr<QMimeData> originalImage(FTPicture* picture);
    // The thumbnail and the record, never the file. Null, after "No thumbnail image to copy", without a thumbnail.
    static std::unique_ptr<QMimeData> thumbnailImage(FTPicture* picture);
};
