#include "diagrams/CdPainter.h"

#include "diagrams/CdBackground.h"
#include "diagrams/CdDefaultPicture.h"
#include "diagrams/CdLayout.h"
#include "diagrams/CdPerson.h"
#include "diagrams/CdTimeline.h"
#include "diagrams/TextMeasurer.h"

#include <QPainter>

namespace {
// A box's lines reach from it to its owner, and its stubs 25 points beyond.
QRectF lineArea(const CdPerson& box)
{
    QRectF area = box.rclBox();
    if (const CdPerson* owner = box.owner())
        area = area.united(owner->rclBox());
    return area.adjusted(-30, -5, 30, 5);
}
}

void CdPainter::paintDiagram(QPainter& painter, CdLayout& layout, const QRectF& dirty)
{
    paintDiagram(painter, layout, dirty, DocumentTextMeasurer::shared());
}

void CdPainter::paintDiagram(QPainter& painter, CdLayout& layout, const QRectF& dirty, const TextMeasurer& measurer)
{
    const CdOptions& o = layout.options();
    const QRectF all(QPointF(0, 0), layout.bounds());
    const QRectF area = dirty.isNull() ? all : dirty;
    layout.setShowShadows(true);
    painter.save();
    painter.fillRect(all, o.bgColour);
    CdBackground::fillBackground(painter, layout.bounds(), o.bgColour, o.colourGradient, o.maxAncLevel, o.childrenOnLeft);
    for (const auto& box : layout.cdPersonsArray())
        if (lineArea(*box).intersects(area))
            box->drawConnectionLines(painter);
    for (const auto& box : layout.cdPersonsArray())
        if (box->rclBox().intersects(area))
            box->displayTextInBox(painter, true, measurer);
    if (o.showTimeline)
        CdTimeline::displayTimeline(painter, CdTimeline::labels(layout.cdPersonsArray(), o.maxAncLevel));
    CdDefaultPicture::displayFocalPersonsDefaultPicture(painter, layout);
    painter.restore();
    layout.setShowShadows(false);
}
