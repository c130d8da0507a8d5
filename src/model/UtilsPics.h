#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSet>
#include <QString>

class FTPicture;

// The picture files of a family database: the pictures folder, which files count as pictures, loading a picture
// file's image and making thumbnails. Picture records use them; the pictures subsystem builds its windows on them.
class UtilsPics {
public:
    // The longest side of a thumbnail, in pixels.
    static constexpr int kThumbnailSize = 100;

    // "<data folder>/Pictures", made when missing; empty when there is no data folder or it cannot be made.
    static QString picturesDirectory();
    // "<data folder>/tempPicsDir", where pasted and dropped images wait for a picture record; not made here.
    static QString tempPicsDirectory();
    // Deletes the temporary folder with everything in it. False when something could not be removed.
    static bool removeTempPicsDirectory();
    // The path after following at most five symbolic links (a longer chain answers the fifth link's target). A
    // link whose target is missing, and any path that is not a link, is answered as it is. A relative target is
    // taken from the link's own folder.
    static QString resolveAliasedPath(const QString& path);
    // The people's pictures that use the same file as `picture` (itself included): the same stored path, or a file
    // of the same name in the pictures folder of any "KinloomData" folder. Sources' pictures never count. Sorted by
    // the owner's name with birth and death years. Empty for a picture without a file.
    static QList<FTPicture*> referencesToPicture(const FTPicture* picture);

    // The file extensions a picture may have: images (as Qt reads them), sounds, text documents, "htm" and "HTM",
    // plus movies unless `includeMovies` is false (while a GEDCOM import runs). Matched case-sensitively, so each
    // type is listed in lower and upper case. The movie types that are not also of another kind are added to
    // `movieTypes` when given (nothing while movies are left out).
    static QSet<QString> multimediaFileTypes(QSet<QString>* movieTypes = nullptr, bool includeMovies = true);
    // The lower-case extensions of the image formats Qt reads here.
    static QSet<QString> imageFileTypes();
    // The lower-case extensions of sounds and of movies.
    static QSet<QString> soundFileTypes();
    static QSet<QString> movieFileTypes();
    // A path's extension in lower case, cut before " alias" (links in the pictures folder carry that suffix).
    static QString fileKindOf(const QString& path);

    // Images are decoded within this budget: room for a picture of 100 megapixels.
    static constexpr qint64 kMaxImagePixels = 100'000'000;

    // The whole image of a picture file; a null image for an empty path, a path without an extension, a file of
    // a kind that is not an image, or one that cannot be read. `cropRect`, when given, becomes the empty rectangle.
    // For an image file that gives no image, `whyNot` (when given) says why in a sentence for the user: the file
    // cannot be read, is not a picture of its kind or ends early, or is too large (with its pixel size, and its depth
    // when the pixels fit but their bytes do not).
    static QImage originalImageForFile(const QString& path, QRectF* cropRect = nullptr, QString* whyNot = nullptr);
    // The thumbnail of an image file cut by `cropRect` (empty: the whole image), decoded no larger than needed
    // (a JPEG at a reduced scale). Null, with the reason in `whyNot`, when the file gives no image.
    static QImage thumbnailImageForFile(const QString& path, const QRectF& cropRect, QString* whyNot = nullptr);
    // About the most memory, in bytes, that making the thumbnail of `path` by `cropRect` takes at once: the whole
    // file, which is read into memory, and what the decoder holds (the whole image, or far less when it decodes
    // straight to a smaller size). Read from the file's header only. 0 for a file that is not an image or cannot
    // be opened; without a size in the header, as much as the decoder may allocate.
    static qint64 thumbnailDecodeBytes(const QString& path, const QRectF& cropRect);
    // A thumbnail of the part of `image` inside `cropRect` (origin top left; an empty rectangle means the whole
    // image), scaled smoothly to at most kThumbnailSize on its longer side with its proportions kept. A null image
    // for a null image.
    static QImage makeThumbnailImageFrom(const QImage& image, const QRectF& cropRect);
    // The image as TIFF data, as thumbnails are stored.
    static QByteArray tiffRepresentation(const QImage& image);

    // Rectangles as stored text: "{{x, y}, {w, h}}". Missing numbers read as 0.
    static QString stringFromRect(const QRectF& rect);
    static QRectF rectFromString(const QString& text);
};
