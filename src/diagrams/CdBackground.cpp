#include "diagrams/CdBackground.h"

#include "diagrams/CdShading.h"

#include <QPainter>

double CdBackground::focalColumnFraction(double width, int maxAncLevel, bool childrenOnLeft)
{
    if (width <= 0)
        return 0.5;
    const double cw = (width - 10) / (maxAncLevel + 2);
    return childrenOnLeft ? 1.5 * cw / width : (maxAncLevel + 0.5) * cw / width;
}

void CdBackground::fillBackground(QPainter& painter, const QSizeF& bounds, const QColor& colour, double gradient,
                                  int maxAncLevel, bool childrenOnLeft)
{
    if (gradient <= 0.1 || bounds.isEmpty())
        return;
    fillShading(painter, bounds, colour, gradient, focalColumnFraction(bounds.width(), maxAncLevel, childrenOnLeft));
}

void CdBackground::fillShading(QPainter& painter, const QSizeF& bounds, const QColor& colour, double gradient,
                               double focalFraction)
{
    if (bounds.isEmpty())
        return;
    // The shading's unit square spans the width plus one point.
    const double w = bounds.width() + 1;
    const double h = bounds.height();
    const double p = focalFraction * w;
    painter.save();
    // The two halves meet at a fractional x: smoothing their edges would let the white show as a seam there.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(0, 0, w, h), Qt::white);
    painter.fillRect(QRectF(0, 0, p, h), CdShading::linearGradient(colour, gradient, QPointF(0, 0), QPointF(p, 0)));
    painter.fillRect(QRectF(p, 0, w - p, h), CdShading::linearGradient(colour, gradient, QPointF(w, 0), QPointF(p, 0)));
    painter.restore();
}
