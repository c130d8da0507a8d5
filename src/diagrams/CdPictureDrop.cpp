#include "diagrams/CdPictureDrop.h"

#include "diagrams/DiagramHooks.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/PicturePlist.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"

#include <QMimeData>

CdPictureDrop::Offer CdPictureDrop::offerOf(const QMimeData& mime, FTMoc* moc)
{
    if (!moc)
        return Offer::None;
    // A page's drag also carries the picture's record, which the intake would count as a picture of any
    // database: the URI decides, and only pictures of this database move.
    if (PicturePlist::isDraggedPicture(mime))
        return PicturePlist::draggedPicture(mime, moc) ? Offer::PagePicture : Offer::None;
    const DiagramHooks& hooks = DiagramHooks::shared();
    return hooks.imagesInDrag && hooks.imagesInDrag(mime, moc) > 0 ? Offer::Pictures : Offer::None;
}

CdPictureDrop::Outcome CdPictureDrop::performDragOperation(const QMimeData& mime, FTPerson* person)
{
    Outcome outcome;
    FTMoc* moc = person ? person->moc() : nullptr;
    if (!moc || person->isDeleted())
        return outcome;
    if (PicturePlist::isDraggedPicture(mime)) {
        FTPicture* dragged = PicturePlist::draggedPicture(mime, moc);
        if (!dragged)
            return outcome;
        FTPicture* picture = FTPicture::initInMoc(moc, dragged->filename(), person);
        if (!picture)
            return outcome;
        picture->cloneSourceReferencesFrom(dragged);
        // The whole image, not the dragged picture's crop: the new picture starts uncut.
        QImage thumbnail = UtilsPics::makeThumbnailImageFrom(dragged->originalImage(), QRectF());
        if (thumbnail.isNull())
            thumbnail = dragged->thumbnailImage();
        if (!thumbnail.isNull())
            picture->setThumbnailImage(thumbnail);
        if (UndoManager* undo = moc->undoManager())
            undo->setActionName(QStringLiteral("%1 %2").arg(
                LocalizedString(QStringLiteral("AddPic")), person->nameWithBirthAndDeathYears()));
        outcome.draggedPicture = dragged;
        outcome.newPicture = picture;
        outcome.numPicturesAdded = 1;
        return outcome;
    }
    const DiagramHooks& hooks = DiagramHooks::shared();
    if (hooks.addPicturesFromDrag)
        outcome.numPicturesAdded = int(hooks.addPicturesFromDrag(mime, person).size());
    return outcome;
}

QString CdPictureDrop::confirmationMessage(int numPicturesAdded, const FTPerson* person)
{
    return QStringLiteral("%1 %2%3 %4\n%5.")
        .arg(QString::number(numPicturesAdded), LocalizedString(QStringLiteral("NumFiles")),
             numPicturesAdded > 1 ? QStringLiteral("s") : QString(), LocalizedString(QStringLiteral("AddedTo")),
             person ? person->name() : QString());
}
