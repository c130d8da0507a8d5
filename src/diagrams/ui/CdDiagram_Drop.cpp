// Picture drops: files, image data and pictures of the person editor's pictures page dropped on a person's box.
// While such a drag passes, the diagram shows a snapshot of itself with the box under the pointer framed; the
// drop adds the pictures (CdPictureDrop), then confirms what was added, or asks the new picture's title.
#include "diagrams/ui/CdDiagram.h"

#include "diagrams/CdPerson.h"
#include "diagrams/CdPictureDrop.h"
#include "diagrams/DiagramHooks.h"
#include "diagrams/ui/DragDropConfirmation.h"

#include "shell/Utils.h"

#include "model/FTPerson.h"
#include "model/FTPicture.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>

namespace {
const QString kPicturesDropped = QStringLiteral("PicturesDropped");
}

void CdDiagram::dragEnterEvent(QDragEnterEvent* event)
{
    CdLayout::PictureState& pictures = m_layout.pictureState();
    pictures.bScrollDefaultPicture = pictures.bMiniPicExpanded = pictures.bDrawFocusRing = false;
    m_focalPictureRing = false;
    m_dragTarget = nullptr;
    m_gDragOK = !m_rubberBand && !isEditBoxActive() && event->mimeData()
        && CdPictureDrop::offerOf(*event->mimeData(), moc()) != CdPictureDrop::Offer::None;
    if (!m_gDragOK) {
        event->ignore();
        return;
    }
    // The diagram as it is, before any frame: painted under the frame while the drag lasts.
    if (m_cdBitmap.isNull())
        m_cdBitmap = grab();
    // Accepted so that the moves arrive; the move that follows at once decides over which box a drop is taken.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
}

void CdDiagram::dragMoveEvent(QDragMoveEvent* event)
{
    if (!m_gDragOK) {
        event->ignore();
        return;
    }
    CdPerson* box = getClickedPerson(event->position());
    if (box && !box->person())
        box = nullptr;
    if (box != m_dragTarget) {
        m_dragTarget = box;
        update();
    }
    if (!box) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept(box->rclBox().toAlignedRect());
}

void CdDiagram::dragLeaveEvent(QDragLeaveEvent* event)
{
    endPictureDrag();
    event->accept();
}

void CdDiagram::dropEvent(QDropEvent* event)
{
    CdPerson* box = m_gDragOK ? getClickedPerson(event->position()) : nullptr;
    FTPerson* dropPerson = box ? box->person() : nullptr;
    CdPictureDrop::Outcome outcome;
    if (dropPerson && event->mimeData())
        outcome = CdPictureDrop::performDragOperation(*event->mimeData(), dropPerson);
    if (outcome.dropped()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }

    // The drop is over: the program comes to the front, as the user now works with what was dropped.
    activateWindow();
    if (outcome.newPicture) {
        // After the drag has ended in the program it came from.
        FTPicture* dragged = outcome.draggedPicture;
        FTPicture* picture = outcome.newPicture;
        QTimer::singleShot(0, this, [this, dragged, picture, dropPerson] {
            if (!picture->isDeleted() && !dropPerson->isDeleted())
                setNewPictureTitle(dragged, picture, dropPerson);
        });
    } else if (outcome.dropped()) {
        if (!UserDefaults::standard().boolForKey(QStringLiteral("suppressDragDropConfirmation"))) {
            Notification n {kPicturesDropped, this, moc(), {}};
            n.userInfo.insert(QStringLiteral("msg"),
                              CdPictureDrop::confirmationMessage(outcome.numPicturesAdded, dropPerson));
            NotificationCenter::defaultCenter().enqueue(n);
        } else {
            Utils::glassSound();
        }
    }
    endPictureDrag();
    NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"));
}

void CdDiagram::endPictureDrag()
{
    const bool wasDragging = m_gDragOK || m_dragTarget || !m_cdBitmap.isNull();
    m_gDragOK = false;
    m_dragTarget = nullptr;
    if (!m_rubberBand)
        m_cdBitmap = QPixmap();
    if (!wasDragging)
        return;
    update();
    if (m_refreshArray)
        schedulePrepare();
}

void CdDiagram::setNewPictureTitle(FTPicture* draggedPicture, FTPicture* newPicture, FTPerson* person)
{
    DiagramHooks& hooks = DiagramHooks::shared();
    if (DiagramHooks::isAvailable(hooks.pictureTitle, LocalizedString(QStringLiteral("PictureTitleWindow"))))
        hooks.pictureTitle(draggedPicture && !draggedPicture->isDeleted() ? draggedPicture : newPicture, newPicture,
                           person);
    if (newPicture->isDeleted())
        return;
    if (DiagramHooks::isAvailable(hooks.pictureEditor, LocalizedString(QStringLiteral("PictureEditorWindow"))))
        hooks.pictureEditor(newPicture->owner() ? static_cast<FTManagedObject*>(newPicture->owner()) : person,
                            newPicture);
}

void CdDiagram::picturesDropped(const Notification& n)
{
    if (n.object != this)
        return;
    DragDropConfirmation confirmation(n.userInfo.value(QStringLiteral("msg")).toString(), window());
    confirmation.exec();
}
