#include "diagrams/CdShading.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

QColor CdShading::colourAt(const QColor& colour, double t)
{
    const QColor rgb = colour.toRgb();
    return QColor::fromRgbF(float(t * rgb.redF()), float(t * rgb.greenF()), float(t * rgb.blueF()), 1.0f);
}

QLinearGradient CdShading::linearGradient(const QColor& colour, double g, const QPointF& start, const QPointF& end)
{
    QLinearGradient gradient(start, end);
    gradient.setColorAt(0, colourAt(colour, std::clamp(1 - g, 0.0, 1.0)));
    gradient.setColorAt(1, colourAt(colour, 1));
    gradient.setSpread(QGradient::PadSpread);
    return gradient;
}

void CdShading::drawShadow(QPainter& painter, const QPainterPath& path, const QPointF& offset, double blurRadius)
{
    // White 0.1 at alpha 0.5; the blur is a few widening translucent strokes round the offset fill.
    const QColor shadow = QColor::fromRgbF(0.1f, 0.1f, 0.1f, 0.5f);
    const QPainterPath moved = path.translated(offset);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const int steps = std::max(1, int(blurRadius + 0.5));
    for (int i = steps; i >= 1; --i) {
        QColor c = shadow;
        c.setAlphaF(float(0.5 / (steps + 1)));
        painter.setPen(QPen(c, 2.0 * blurRadius * i / steps, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(moved);
    }
    painter.fillPath(moved, shadow);
    painter.restore();
}
