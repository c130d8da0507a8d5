#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class FTMoc;
class FTPicture;
class QMimeData;

// One picture's record on the clipboard or in a drag, under the private type "KinloomPicturePlist": the keys
// "Filename", "Owner", "Title", "Date", "Notes", "CropRect" (texts, "" when empty), "TranscriptionData" (bytes,
// empty when none) and "SeqNo" (a number, left out when the picture has none), as a CBOR map. The pictures page
// writes it beside the file's URL; the pasteboard intake reads it back into a new picture.
//
//   PicturePlist::fromPicture(*picture).writeTo(*mimeData);
//   if (auto record = PicturePlist::readFrom(*mimeData)) ... record->filename ...
struct PicturePlist {
    static const QString kMimeType; // "KinloomPicturePlist"

    QString filename; // the full path of the file
    QString owner; // the owner's name with years
    QString title;
    QString date; // as typed
    QString notes;
    QString cropRect; // "{{x, y}, {w, h}}"
    QByteArray transcriptionData;
    std::optional<int> seqNo;

    static PicturePlist fromPicture(const FTPicture& picture);

    QByteArray toCbor() const;
    // Null for bytes that are not a CBOR map; a key that is missing or of another type reads as empty.
    static std::optional<PicturePlist> fromCbor(const QByteArray& bytes);

    void writeTo(QMimeData& mime) const;
    static bool isOffered(const QMimeData& mime);
    static std::optional<PicturePlist> readFrom(const QMimeData& mime);

    // A picture dragged out of a person's pictures page carries its record and, under this type of its own (the
    // drag's pasteboard), the picture's URI: the page takes such a drag back only as a reorder of its own list, the
    // family diagram as a new picture of a person of the same database. No file URL is written.
    static const QString kDraggedPictureMimeType; // "DragPicturePasteboard"
    static void writeDraggedPicture(QMimeData& mime, const FTPicture& picture);
    static bool isDraggedPicture(const QMimeData& mime);
    // The dragged picture, when the URI names a picture of `moc` that is not deleted; else null.
    static FTPicture* draggedPicture(const QMimeData& mime, const FTMoc* moc);
};
