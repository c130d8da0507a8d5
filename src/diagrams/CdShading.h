#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QPointF>

class QPainter;
class QPainterPath;

// The diagrams' shadings and shadows. A shading darkens a colour linearly: t × (red, green, blue) for t running
// from 1 - g at its start to 1 at its end, so two colour stops give it exactly.
namespace CdShading {
// The colour at strength t (alpha 1).
QColor colourAt(const QColor& colour, double t);
// From `start` (strength 1 - g) to `end` (full colour); beyond `end` the full colour continues.
QLinearGradient linearGradient(const QColor& colour, double g, const QPointF& start, const QPointF& end);
// A soft shadow of the path, offset by `offset`: a translucent dark fill with edges blurred over `blurRadius`.
void drawShadow(QPainter& painter, const QPainterPath& path, const QPointF& offset, double blurRadius);
}
