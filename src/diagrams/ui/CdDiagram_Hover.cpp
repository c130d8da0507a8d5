// The pointer resting on the family diagram: a ring on a line's marker (the line can be pressed), and after 0.2 s on
// a mug shot its enlarged picture, on the focal picture its rings and page count. Only in the active window, and
// not while the toolbar's list of found people covers the diagram.
#include "diagrams/ui/CdDiagram.h"

#include "diagrams/CdPerson.h"

#include "shell/ui/DOvurDocument.h"
#include "shell/ui/ToolbarController.h"

#include "model/FTPerson.h"
#include "model/FTPicture.h"

bool CdDiagram::hoverAllowed() const
{
    if (!isActiveWindow())
        return false;
    return !(m_document && m_document->toolbarController() && m_document->toolbarController()->isFoundPeopleVisible());
}

CdDiagram::Hover CdDiagram::hoverTargetAt(const QPointF& point) const
{
    Hover hover;
    for (const auto& box : m_layout.cdPersonsArray())
        for (const QRectF& marker : box->trackingRects())
            if (marker.contains(point)) {
                hover.kind = Hover::Marker;
                hover.marker = marker;
                return hover;
            }
    CdPerson* focal = m_layout.focalBox();
    if (focal && m_layout.pictureState().defaultImageRect.contains(point)) {
        hover.kind = Hover::Picture;
        hover.box = focal;
        return hover;
    }
    for (const auto& box : m_layout.cdPersonsArray())
        if (box.get() != focal && box->person() && box->rclMugShot().contains(point)) {
            hover.kind = Hover::Picture;
            hover.box = box.get();
            return hover;
        }
    return hover;
}

void CdDiagram::hoverAt(const QPointF& point)
{
    const Hover target = hoverAllowed() && !m_rubberBand ? hoverTargetAt(point) : Hover();
    if (target == m_hover)
        return;
    if (m_hover.kind != Hover::None)
        mouseExited();
    m_hover = target;
    if (target.kind == Hover::Marker) {
        setCursor(Qt::PointingHandCursor);
        update(target.marker.adjusted(-4, -4, 4, 4).toAlignedRect());
    } else if (target.kind == Hover::Picture) {
        m_hoverTimer.start();
    }
}

void CdDiagram::mouseEnteredPictureRect()
{
    CdPerson* box = m_hover.kind == Hover::Picture && m_layout.containsBox(m_hover.box) ? m_hover.box : nullptr;
    FTPerson* person = box ? box->person() : nullptr;
    if (!person || !hoverAllowed())
        return;
    const QList<FTPicture*> pictures = person->picturesArray();
    // The pictures can be paged with the arrows and the wheel.
    if (pictures.size() > 1)
        setCursor(Qt::IBeamCursor);
    if (box == m_layout.focalBox()) {
        if (!m_pointerInside || !m_layout.pictureState().defaultImageRect.contains(m_pointer)) {
            mouseExited();
            return;
        }
        m_focalPictureRing = true;
        update();
        return;
    }
    m_layout.pictureState().gPicNum = 0;
    FTPicture* picture = person->defaultPicture();
    const QImage thumbnail = picture ? picture->thumbnailImage() : QImage();
    if (thumbnail.isNull() || !m_pointerInside || !box->rclMugShot().contains(m_pointer)) {
        mouseExited();
        return;
    }
    displayMugshotImage(thumbnail, box->rclMugShot(), int(pictures.size()));
}

void CdDiagram::mouseExited()
{
    m_hoverTimer.stop();
    m_hover = {};
    unsetCursor();
    CdLayout::PictureState& state = m_layout.pictureState();
    state.bDrawFocusRing = false;
    state.gPicNum = 0;
    state.bMiniPicExpanded = false;
    m_focalPictureRing = false;
    m_enlargedImage = QImage();
    // The focal person's own default picture again, after paging.
    if (std::exchange(m_focalPicturePaged, false))
        m_layout.loadFocalPicture();
    update();
}

void CdDiagram::leaveEvent(QEvent* event)
{
    m_pointerInside = false;
    if (m_hover.kind != Hover::None)
        mouseExited();
    FamilyDiagramPane::leaveEvent(event);
}
