#pragma once

#include <QString>

class FTPerson;
class PublishAsHtml;

// What the writers of a page's pictures section add to the page: the thumbnails' table cells, the image maps of
// thumbnails that link to copied media, and the picture notes gathered on the way (shown below the pictures when
// the options ask for them).
struct HtmlPicturesSection {
    QString msPics;
    QString imageMaps;
    QString notes;
};

// Writes the thumbnails (and media copies) of a person page. The generator installs none by itself: without one a
// page has no pictures section. The generator decides which writers run, in which order, and wraps what they add
// in the section's table; each writer answers how many thumbnails it added. Writers follow the run's options and
// privacy (generator.options(), generator.privacy()) and place files with generator.folderPath() and
// generator.folderNumberFor().
class HtmlPictures {
public:
    virtual ~HtmlPictures() = default;
    // The person's default picture, captioned with `label`; 0 or 1.
    virtual int writeDefaultPictureFor(PublishAsHtml& generator, FTPerson* person, HtmlPicturesSection& section,
                                       const QString& label) = 0;
    virtual int writePicturesOfSpousesOf(PublishAsHtml& generator, FTPerson* person, HtmlPicturesSection& section) = 0;
    virtual int writePicturesOfChildrenOf(PublishAsHtml& generator, FTPerson* person, HtmlPicturesSection& section) = 0;
    virtual int writeAllPicturesFor(PublishAsHtml& generator, FTPerson* person, HtmlPicturesSection& section) = 0;
};
