#pragma once

#include "publishing/HtmlPictures.h"

#include <QHash>
#include <QImage>
#include <QString>

class FTPicture;

// The pictures section of person pages: a captioned JPEG thumbnail of the person's default picture, of the
// spouses' and children's default pictures and of all the person's pictures, each drawn once per run into the
// person's numbered thumbnails folder and reused by every page that shows it; and, when asked, a copy of the picture
// file in the media folder that the thumbnail links to, reduced to a JPEG at most 750 pixels wide when it is large.
//
// Media copies are named after the file, with blanks as "_" and every character other than a-z, A-Z, 0-9, "_" and
// "." as "_<code>_" ("My Photo (1).JPG" -> "My_Photo__40_1_41_.JPG"). Two different files that come to the same name
// in one folder keep apart: the first takes the name, later ones "_2", "_3" before the extension, so that no
// thumbnail ever opens another picture.
//
//   HtmlPictureWriter pictures;
//   generator.setPictures(&pictures);             // the generator's own default is one of these
class HtmlPictureWriter : public HtmlPictures {
public:
    int writeDefaultPictureFor(PublishAsHtml& generator, FTPerson* person, HtmlPicturesSection& section,
                               const QString& label) override;
    int writePicturesOfSpousesOf(PublishAsHtml& generator, FTPerson* person, HtmlPicturesSection& section) override;
    int writePicturesOfChildrenOf(PublishAsHtml& generator, FTPerson* person, HtmlPicturesSection& section) override;
    int writeAllPicturesFor(PublishAsHtml& generator, FTPerson* person, HtmlPicturesSection& section) override;

    // The thumbnail's markup, and the image map to the media copy when media are copied; 1.
    int writeThumbnailFor(PublishAsHtml& generator, FTPicture* picture, const QString& thumbNailPath, int picNum,
                          FTPerson* person, HtmlPicturesSection& section);
    // The image over a grey caption strip `captionHeight` high, framed, as JPEG at `quality`; false when it could
    // not be written.
    static bool saveJPEGImageFor(const QImage& image, const QString& path, const QString& caption, int captionHeight,
                                 int quality);
    // The picture file copied (or reduced) into the person's media folder; its path, or empty when the file is
    // missing or could not be copied.
    QString copyMediaFile(PublishAsHtml& generator, FTPicture* picture, FTPerson* person);

    // The media name of a file name.
    static QString mediaName(const QString& fileName);
    // The picture's stored thumbnail, else one made from its file (not stored: publishing changes nothing in the
    // database); null when there is none.
    static QImage thumbnailImageOf(FTPicture* picture);
    // A map picture saved from the map window ("<MapImageFilenamePrefix>_..."): never shown on pages.
    static bool isMapImage(const FTPicture* picture);

    static constexpr int kReducedWidth = 750;
    static constexpr qint64 kSmallFileBytes = 50000;

private:
    void beginRunIfNew(const PublishAsHtml& generator);
    // `target`, or the first of "<name>_2.<ext>", "<name>_3.<ext>" ... that no other file of the run holds.
    QString freeNameFor(const QString& target, const QString& source) const;

    QString m_run; // the working folder the records below belong to
    QHash<QString, QString> m_sourceOfTarget; // media file written -> the file it came from
    QHash<QString, QString> m_targetOfSource; // "<folder>|<file it came from>" -> media file written
};
