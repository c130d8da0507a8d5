#pragma once

#include <QString>

class FTMoc;
class FTPerson;
class FTPicture;
class QMimeData;

// Pictures dropped on a person's box of the family diagram: picture files or image data from another program,
// taken in through the pictures subsystem (DiagramHooks::imagesInDrag, addPicturesFromDrag), or a picture dragged
// from the pictures page of the same database, which becomes a new picture of the person with the same file and
// citations. The view asks what a drag offers while it passes, and hands over the drop:
//
//   if (CdPictureDrop::offerOf(*mime, moc) == CdPictureDrop::Offer::None) ... refuse the drag
//   const CdPictureDrop::Outcome outcome = CdPictureDrop::performDragOperation(*mime, boxPerson);
//   if (outcome.newPicture) ... the title and the picture editor for it
//   else if (outcome.numPicturesAdded) ... CdPictureDrop::confirmationMessage(outcome.numPicturesAdded, boxPerson)
class CdPictureDrop {
public:
    enum class Offer {
        None, // nothing the diagram can take, or a picture of another database
        Pictures, // files or image data
        PagePicture, // a picture of this database dragged from its pictures page
    };
    // What the drag offers the diagram of `moc`. A picture dragged from a pictures page counts only when it is a
    // picture of `moc` that still exists.
    static Offer offerOf(const QMimeData& mime, FTMoc* moc);

    struct Outcome {
        // The drop was taken: at least one picture was added.
        bool dropped() const { return numPicturesAdded > 0; }
        int numPicturesAdded = 0;
        // A page picture's drop: the picture dragged and the person's new picture made from it.
        FTPicture* draggedPicture = nullptr;
        FTPicture* newPicture = nullptr;
    };
    // Adds what the drag offers to `person`. A page picture that no longer resolves to a picture of the person's
    // database, or that cannot be made, adds nothing; so does a drag whose files are all refused.
    static Outcome performDragOperation(const QMimeData& mime, FTPerson* person);

    // The confirmation of a drop of files: "3 pictures added to\nMary Brown." from the localised "NumFiles" and
    // "AddedTo".
    static QString confirmationMessage(int numPicturesAdded, const FTPerson* person);
};
