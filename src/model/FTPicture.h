#pragma once

#include "model/FTManagedObject.h"

#include <QRectF>

class FTOriginalPicture;
class FTPerson;
class FTSource;
class FTSourceRel;
class FTThumbnail;
class QImage;
class StoreSchema;

// A picture: an image, scanned document, sound, movie or text file attached to a person (`owner`) or to a source.
// The file stays on disk, copied into the data folder's "Pictures" folder or reached through a symbolic link placed
// there; the record keeps its path, title, date, notes, order among the owner's pictures, crop rectangle,
// transcription, thumbnail (TIFF, in the related OriginalPicture record) and the user's thumbnail enhancements.
//
//   FTPicture* picture = FTPicture::initInMoc(moc, "/home/me/scans/My_Family_1900.jpg", person);
//   if (!picture) ... the owner was neither a person nor a source (the user has been told)
//   picture->name();              // "My Family 1900"
//   picture->filename();          // the file in (or linked from) the pictures folder
//   picture->thumbnailImage();    // made from the file and stored on first use
class FTPicture : public FTManagedObject {
public:
    static constexpr const char* kEntityName = "Picture";

    // The stored path, except that a path under the data folder of an older installation ("KinloomData/" or
    // "KinloomForVovovData/" anywhere in it, and not under the current data folder) reads as the same path under
    // the current data folder.
    QString filename() const;
    // Places the file and stores where it went (see initInMoc), then clears the transcription.
    void setFilename(const QString& value);
    QString originalFilename() const;
    void setOriginalFilename(const QString& value);
    QString name() const;
    void setName(const QString& value);
    QString date() const;
    void setDate(const QString& value);
    QString notes() const;
    void setNotes(const QString& value);
    int seqNo() const;
    void setSeqNo(int value);
    int rotation() const;
    void setRotation(int value);
    QString rclCut() const;
    void setRclCut(const QString& value);
    QByteArray transcriptionData() const;
    void setTranscriptionData(const QByteArray& value);
    int numericId() const;
    void setNumericId(int value);
    QByteArray extraData() const;
    void setExtraData(const QByteArray& value);
    QByteArray thumbNailImageData() const;
    void setThumbNailImageData(const QByteArray& value);
    QDateTime lastChange() const;
    void setLastChange(const QDateTime& value);

    // A picture belongs to a person or to a source, never to nobody: nothing could show, export or delete it
    // again. So taking away the one it has is refused (delete the picture instead), and giving a source this
    // picture deletes the picture the source held until now.
    FTPerson* owner() const;
    void setOwner(FTPerson* value);
    FTSource* source() const;
    void setSource(FTSource* value);
    // Deletes `picture` when it has neither a person nor a source (nothing when null).
    static void deleteIfOwnerless(FTPicture* picture);
    FTPerson* defaultPictureOwner() const;
    void setDefaultPictureOwner(FTPerson* value);
    FTOriginalPicture* originalPicture() const;
    void setOriginalPicture(FTOriginalPicture* value);
    FTThumbnail* thumbnail() const;
    void setThumbnail(FTThumbnail* value);
    QList<FTSourceRel*> sourceRels() const;
    void addSourceRelsObject(FTSourceRel* value);
    void removeSourceRelsObject(FTSourceRel* value);

    // ---- Creating and placing the file (FTPicture.cpp, FTPicture_Files.cpp) ----

    // A new picture of `path` for `owner`, a person or a source; any other owner (or none) is refused with the
    // "AddPictureError" message and nothing is added. Names the open undo action "Add Picture" when it has no name
    // yet; takes the number (none while an import runs); titles the picture after the file; orders it after the
    // owner's other pictures (a person's first picture becomes the default one); while people are copied in from
    // another database, cites the active source. The file is placed by setFilename:
    //  - a missing file (or empty path): kept as originalFilename, no filename;
    //  - a file in the temporary pictures folder: copied into the pictures folder, no originalFilename (when the
    //    copy fails, no filename either: the temporary file does not last);
    //  - a file outside the home folder, or any file but a movie while the user default
    //    "alwaysCopyToPicturesFolder" is on: copied into the pictures folder;
    //  - otherwise (a file in the home folder, or any movie): a symbolic link "<name> alias" in the pictures folder.
    static FTPicture* initInMoc(FTMoc* moc, const QString& path, FTManagedObject* owner);
    // The title from a path: the file name without its extension, "_" as blanks; a single blank for no path.
    void setTitleFromFileName(const QString& path);
    // seqNo after the owner's other pictures (1 for the first, and for a source's picture); a person's first
    // picture becomes the person's default picture.
    void setSequenceNumber();
    // Copies `path` into `directory` under its own name, or "<name>_<n>.<ext>" (the first free n from 1) when that
    // is taken by other contents; a file there with equal contents is used instead of a new copy. Empty for an empty path,
    // the path itself for a missing file; on failure the user is told and the path itself is the answer.
    static QString copyPictureFile(const QString& path, const QString& directory);
    // A symbolic link to `path` in the pictures folder, "<name> alias", or "<name>_<n>.<ext> alias" when that is
    // taken by another file; a link or file there with equal contents is used instead. A file already in the
    // pictures folder is its own answer. Refused (with a message; the path is the answer) for a file outside the
    // home folder or in the temporary pictures folder; a failure is told and the path is the answer.
    static QString createAliasLinkInPicturesDirectory(const QString& path);

    // ---- What the file is ----

    // An image Qt reads, other than PDF (by extension, " alias" cut off).
    bool isImageFile() const;
    // A movie, by extension; `path` empty: the picture's own file. Movies are not recognised while an import runs.
    bool isMovie(const QString& path = {}) const;
    // The packed date key of `date`; 0 when the text is not a valid date.
    quint32 lDate() const;
    // The whole image of the file; null when it is not an image or cannot be read.
    QImage originalImage() const;
    // The owner's name with birth and death years, else the source's short description; empty for neither.
    QString ownersName() const;
    // Title, date, file, original file, thumbnail size, crop rectangle and notes, one a line.
    QString pictureDescription() const;
    // "Picture: <Attribute>, <Attribute>..." naming the filled attributes, for a citation made while copying from
    // another database.
    QString attributesBeingMerged() const;

    // The transcription as rich text (HTML); empty when none. Setting an empty one stores empty data.
    QString transcription() const;
    void setTranscription(const QString& html);
    QString transcriptionString() const;

    // Where the picture was last drawn (scratch, never stored).
    QRectF drawingRect() const { return m_drawingRect; }
    void setDrawingRect(const QRectF& rect) { m_drawingRect = rect; }

    // ---- Citations ----

    // The picture's citation of `source`: an existing one (the user is told, and with several the first is taken),
    // else a new one ("Image, Date, Notes" as the item described; the active source's page reference when it is the
    // active source), saved at once. Then, unless importing or copying from another database, the picture citation
    // sheet opens on it. Null for no source.
    FTSourceRel* addReferenceToSource(FTSource* source);
    // A copy of each of `other`'s citations, of the same source, for this picture (FTSourceRel::copyFor: a citation
    // of another database's source is left out).
    void cloneSourceReferencesFrom(const FTPicture* other);

    // ---- Thumbnail and enhancements (FTPicture_Thumbnails.cpp) ----

    // The stored thumbnail; without one, made from the file (cut by rclCut), stored and answered. Null when the file
    // gives no image.
    QImage thumbnailImage();
    // Stores `image` as TIFF in the picture's OriginalPicture record (made when missing); announces "thumbnailImage".
    void setThumbnailImage(const QImage& image);
    // The thumbnail of the whole file, stored.
    void setDefaultThumbnailImage();

    // The thumbnail enhancements kept in extraData under "f" and the accessor's name from its third letter
    // ("tnGamma" as "fGamma"); each reads its default until set.
    QCborMap extraDataDictionary() const { return extraDataMap(); }
    float enhancementValueForKey(const QString& accessorKey, float defaultValue) const;
    void setEnhancementValue(float value, const QString& accessorKey);
    void setTnEnhancementDefaults();
    float tnBrightness() const; // default 0
    void setTnBrightness(float value);
    float tnContrast() const; // default 1
    void setTnContrast(float value);
    float tnExposure() const; // default 0
    void setTnExposure(float value);
    float tnGamma() const; // default 1
    void setTnGamma(float value);
    float tnLuminance() const; // default 0.4
    void setTnLuminance(float value);
    float tnSaturation() const; // default 1
    void setTnSaturation(float value);
    float tnSepia() const; // default 0
    void setTnSepia(float value);

    // "filename" by name goes through filename() and setFilename() like the accessors, "owner" and "source"
    // through their setters.
    QVariant valueForKey(const QString& key) const override;
    void setValueForKey(const QString& key, const QVariant& value) override;

    // The computed keys readable by name: "thumbnailImage" and the seven enhancements ("tnGamma" ...).
    static void declareDerivedKeys(StoreSchema& schema);

private:
    QRectF m_drawingRect;
};
