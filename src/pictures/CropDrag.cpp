#include "pictures/CropDrag.h"

#include "pictures/CropGeometry.h"

void CropDrag::begin(const QRectF& box, QPointF pressed)
{
    if (!box.isEmpty() && CropGeometry::cornerArea(box).contains(pressed)) {
        m_kind = Kind::Resize;
        m_anchor = box.topLeft();
    } else if (!box.isEmpty() && CropGeometry::moveArea(box).contains(pressed)) {
        m_kind = Kind::Move;
        m_anchor = pressed;
        m_startBox = box;
    } else {
        m_kind = Kind::New;
        m_anchor = pressed;
    }
}

QRectF CropDrag::boxAt(QPointF current, const QRectF& imageRect, float ratio) const
{
    if (m_kind == Kind::Move)
        return CropGeometry::movedBox(m_startBox, m_anchor, current, imageRect);
    return CropGeometry::boxFromPoints(m_anchor, current, imageRect, ratio);
}
