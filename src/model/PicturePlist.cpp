#include "model/PicturePlist.h"

#include "model/FTMoc.h"
#include "model/FTPicture.h"

#include <QCborMap>
#include <QCborValue>
#include <QMimeData>

const QString PicturePlist::kMimeType = QStringLiteral("KinloomPicturePlist");
const QString PicturePlist::kDraggedPictureMimeType = QStringLiteral("DragPicturePasteboard");

namespace {
const QString kFilename = QStringLiteral("Filename");
const QString kOwner = QStringLiteral("Owner");
const QString kTitle = QStringLiteral("Title");
const QString kDate = QStringLiteral("Date");
const QString kNotes = QStringLiteral("Notes");
const QString kCropRect = QStringLiteral("CropRect");
const QString kTranscriptionData = QStringLiteral("TranscriptionData");
const QString kSeqNo = QStringLiteral("SeqNo");
}

PicturePlist PicturePlist::fromPicture(const FTPicture& picture)
{
    PicturePlist record;
    record.filename = picture.filename();
    record.owner = picture.ownersName();
    record.title = picture.name();
    record.date = picture.date();
    record.notes = picture.notes();
    record.cropRect = picture.rclCut();
    record.transcriptionData = picture.transcriptionData();
    if (!picture.isNil(Key("seqNo")))
        record.seqNo = picture.seqNo();
    return record;
}

QByteArray PicturePlist::toCbor() const
{
    // Texts are written even when empty (a null text is an empty CBOR text), in the order readers expect.
    QCborMap map;
    map.insert(kFilename, filename);
    map.insert(kOwner, owner);
    map.insert(kTitle, title);
    map.insert(kDate, date);
    map.insert(kNotes, notes);
    map.insert(kCropRect, cropRect);
    map.insert(kTranscriptionData, transcriptionData.isNull() ? QByteArray("") : transcriptionData);
    if (seqNo)
        map.insert(kSeqNo, *seqNo);
    return map.toCborValue().toCbor();
}

std::optional<PicturePlist> PicturePlist::fromCbor(const QByteArray& bytes)
{
    QCborParserError error;
    const QCborValue value = QCborValue::fromCbor(bytes, &error);
    if (error.error != QCborError::NoError || !value.isMap())
        return std::nullopt;
    const QCborMap map = value.toMap();
    PicturePlist record;
    record.filename = map.value(kFilename).toString();
    record.owner = map.value(kOwner).toString();
    record.title = map.value(kTitle).toString();
    record.date = map.value(kDate).toString();
    record.notes = map.value(kNotes).toString();
    record.cropRect = map.value(kCropRect).toString();
    record.transcriptionData = map.value(kTranscriptionData).toByteArray();
    const QCborValue seq = map.value(kSeqNo);
    if (seq.isInteger())
        record.seqNo = int(seq.toInteger());
    return record;
}

void PicturePlist::writeTo(QMimeData& mime) const
{
    mime.setData(kMimeType, toCbor());
}

bool PicturePlist::isOffered(const QMimeData& mime)
{
    return mime.hasFormat(kMimeType);
}

std::optional<PicturePlist> PicturePlist::readFrom(const QMimeData& mime)
{
    if (!isOffered(mime))
        return std::nullopt;
    return fromCbor(mime.data(kMimeType));
}

void PicturePlist::writeDraggedPicture(QMimeData& mime, const FTPicture& picture)
{
    mime.setData(kDraggedPictureMimeType, picture.objectURI().toUtf8());
    fromPicture(picture).writeTo(mime);
}

bool PicturePlist::isDraggedPicture(const QMimeData& mime)
{
    return mime.hasFormat(kDraggedPictureMimeType);
}

FTPicture* PicturePlist::draggedPicture(const QMimeData& mime, const FTMoc* moc)
{
    if (!moc || !isDraggedPicture(mime))
        return nullptr;
    auto* picture =
        dynamic_cast<FTPicture*>(moc->objectForURI(QString::fromUtf8(mime.data(kDraggedPictureMimeType))));
    return picture && !picture->isDeleted() ? picture : nullptr;
}
