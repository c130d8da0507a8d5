#pragma once

#include "editor/PicturesMenuItem.h"

#include <QList>

class FTPerson;
class FTPicture;

// The context menus of the pictures page, with their literal titles: the menu of a picture and the menu of the
// empty space between pictures.
//
//   PicturesMenu menu = picture ? PicturesMenuBuilder::pictureMenu(picture, list.pictures(), list.person())
//                               : PicturesMenuBuilder::emptySpaceMenu(list.count(), imagesOnClipboard);
class PicturesMenuBuilder {
public:
    // "Open With" (for a picture with a file), edit, remove, make default (unless it is first in `pictures`),
    // transcribe, the citation of the active source, the two copies and the where-used section.
    static PicturesMenu pictureMenu(FTPicture* picture, const QList<FTPicture*>& pictures, FTPerson* pagePerson);
    // Add, paste (titled with the number of pictures the clipboard offers; disabled without any), the two sorts and
    // the removal of duplicates (disabled with fewer than 2 pictures).
    static PicturesMenu emptySpaceMenu(int count, int imagesOnClipboard);
    // The applications that open the picture's file (the default one first, then a separator), by name.
    static PicturesMenu openWithMenu(FTPicture* picture);
    // A separator, "People linked to the same file name: (n)" and one item a person for the other pictures of
    // the same file (UtilsPics::referencesToPicture), the page's own person marked.
    static void addWhereUsed(PicturesMenu& menu, FTPicture* picture, FTPerson* pagePerson);
};
