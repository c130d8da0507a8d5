#pragma once

#include "pictures/ImagePyramid.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

#include <optional>

class FTManagedObject;
class FTMoc;
class FTPerson;
class FTPicture;

// What the picture editor does to one picture of its owner (a person or a source): loading its file (turned by its
// rotation), the crop rectangle, the adjusted preview stored as the thumbnail, replacing the file, turning the
// picture, its place among the owner's pictures and moving to the next or previous one, and the rules for saving.
// The edits of one picture form one undo action, named "Edit Picture - <title>" (or "Add Picture" for a new one).
//
//   PictureEditing editing(person, picture);      // loaded; picture null: added when the first file is chosen
//   editing.setRclCrop(crop); editing.displayThumbnail();
//   if (const std::optional<int> code = editing.closeCode()) ... 1 when the picture changed
class PictureEditing {
public:
    PictureEditing(FTManagedObject* owner, FTPicture* picture);
    ~PictureEditing();
    PictureEditing(const PictureEditing&) = delete;
    PictureEditing& operator=(const PictureEditing&) = delete;

    FTMoc* moc() const { return m_moc; }
    FTManagedObject* owner() const { return m_owner; }
    FTPerson* personOwner() const;
    FTPicture* picture() const { return m_picture; }
    // The person's name with years, or the source's short description on one line; else empty.
    static QString ownersNameFor(const FTManagedObject* owner);
    QString ownersName() const { return m_ownersName; }

    // Takes the picture's crop, loads its file without a preview, lists the other references and the position.
    void initialiseVariables();
    // Loads the picture's file and turns it by its rotation; with `preview`, renders the preview.
    void loadPictureData(bool preview);

    // The picture as shown (turned), and smaller copies of it for drawing.
    const QImage& displayedImage() const { return m_pyramid.image(); }
    ImagePyramid& pyramid() { return m_pyramid; }
    bool originalImageExists() const { return !m_pyramid.isNull(); }
    // Why the picture's file gave no image (empty when it did, or when it is not an image file).
    QString loadError() const { return m_loadError; }
    // "640 x 480 pixels"; empty without an image.
    QString pictureSize() const;
    // "2 of 5" for a person's picture; empty otherwise.
    QString pictureNo() const { return m_pictureNo; }
    // "Source References (2)".
    QString sourceReferencesTitle() const;

    QRectF rclCrop() const { return m_rclCrop; }
    void setRclCrop(const QRectF& crop) { m_rclCrop = crop; }

    // The adjusted preview of the crop. With `store` it becomes the picture's thumbnail (a drag shows it on every
    // step and stores it when the mouse is let go). Without an image nothing is stored and the stored thumbnail is
    // answered.
    QImage displayThumbnail(bool store = true);
    // The preview last rendered (after a turn, a new file or a crop).
    const QImage& lastPreview() const { return m_lastPreview; }

    // The people's pictures that share this picture's file.
    QList<FTPicture*> otherReferences() const { return m_otherReferences; }
    void displayOtherReferences();
    void displayPicsCount();

    bool dateError() const { return m_dateError; }
    void setDateError(bool error) { m_dateError = error; }

    // Makes `path` the picture's file (a new picture of the owner when there is none). An image file that gives
    // no image is refused with the reason and nothing changes. When the picture had a title, date or notes, the
    // user is asked whether to keep them; otherwise they become `title` (or the file's name) and `date` and `notes`.
    // The crop and the adjustments start afresh. False when nothing was changed.
    bool setFilename(const QString& path, const QString& title = {}, const QString& date = {},
        const QString& notes = {});

    // An image file other than PDF (by its extension).
    bool isImageFile() const;
    // Turns the shown picture by a quarter, as the button titled `buttonTitle` asks (PictureRotation), and starts
    // the crop afresh. Only for an image file that gave an image.
    bool rotateOriginalImage(const QString& buttonTitle);
    // The whole picture: no crop.
    bool cropAll();
    void setDefaultEnhancements();

    // Moves to the owner's next (+1) or previous (−1) picture after saving the current one. A person's picture
    // at the end of the list beeps; a source's picture does nothing. False when it did not move.
    bool movePicture(int step);
    // Ends the picture's editing: the crop is written and, when the picture changed, the undo action is named and
    // "DefaultPictureChanged" posted. A refused date keeps the picture ("PleaseCorrectDate"): false.
    bool saveCurrentChanges();
    // The closing: null while the date is refused ("PleaseCorrectDateBeforeClosing"); else 1 when the picture
    // changed, 0 otherwise.
    std::optional<int> closeCode();

private:
    bool commitChanges();
    bool hasChanged() const;
    void takeSnapshot();
    void takeImage(const QImage& original);
    void storeThumbnailOfKind(const QString& path);
    void beginPictureUndo();
    void endPictureUndo();

    FTMoc* m_moc;
    FTManagedObject* m_owner;
    FTPicture* m_picture;
    QString m_ownersName;
    QRectF m_rclCrop;
    bool m_dateError = false;
    QString m_pictureNo;
    QList<FTPicture*> m_otherReferences;
    QImage m_original; // as the file gives it, before the turn
    ImagePyramid m_pyramid;
    QString m_loadError;
    QImage m_lastPreview;
    QList<QVariant> m_snapshot;
    bool m_undoGroupOpen = false;
};
