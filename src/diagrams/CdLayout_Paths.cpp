#include "diagrams/CdLayout.h"

#include "diagrams/CdPerson.h"

#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include <QLineF>

namespace {
// The square a press must land in, centred on a line's middle.
bool onMiddleOf(const QLineF& line, const QPointF& point)
{
    const QPointF m = line.center();
    return QRectF(m.x() - 6, m.y() - 6, 12, 12).contains(point);
}

// The segment a painted path ran along: from its last move to its last line point.
QLineF segmentOf(const QPainterPath& path)
{
    QPointF start;
    QPointF end;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo())
            start = e;
        else if (e.isLineTo())
            end = e;
    }
    return QLineF(start, end);
}
}

CdLayout::ClickedPath CdLayout::getClickedPath(const QPointF& point) const
{
    ClickedPath clicked;
    for (const auto& box : m_boxes) {
        // A line that was not painted (another child is selected, or the box has no owner) cannot be pressed;
        // its square would otherwise sit at the view's corner.
        if (box->pathToOwner().isEmpty() || !onMiddleOf(segmentOf(box->pathToOwner()), point))
            continue;
        clicked.hit = true;
        if (box->ancLevel() == CdPerson::kAssociated) {
            clicked.associatedBox = box.get();
            return clicked;
        }
        FTPerson* own = box->person();
        FTPerson* owners = box->owner() ? box->owner()->person() : nullptr;
        clicked.parent = box->ancLevel() >= 0 ? own : owners;
        clicked.child = box->ancLevel() >= 0 ? owners : own;
        return clicked;
    }
    // The selected child's lines to its other parents, as drawConnectionLines draws them.
    const CdPerson* selected = findPerson(m_selectedPerson);
    if (!selected || selected->ancLevel() != CdPerson::kChild)
        return clicked;
    const FTPerson* focal = selected->owner() ? selected->owner()->person() : nullptr;
    for (const FTPcRel* link : m_selectedPerson->parentRels()) {
        FTPerson* parent = link->parent();
        const CdPerson* parentBox = parent && parent != focal ? findPerson(parent) : nullptr;
        if (parentBox && onMiddleOf(selected->lineEndsTo(*parentBox), point)) {
            clicked.hit = true;
            clicked.parent = parent;
            clicked.child = m_selectedPerson;
            return clicked;
        }
    }
    return clicked;
}
