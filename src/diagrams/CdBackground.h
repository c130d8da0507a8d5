#pragma once

#include <QColor>
#include <QSizeF>

class QPainter;

// The family diagram's graded background: the colour at full strength down the focal person's column, darkened
// towards both edges to (1 - "cdColourGradient") of it.
namespace CdBackground {
// Where the focal column's middle lies, as a fraction of the width.
double focalColumnFraction(double width, int maxAncLevel, bool childrenOnLeft);
// Fills the area with the shading (white under it); nothing at a gradient of 0.1 or less.
void fillBackground(QPainter& painter, const QSizeF& bounds, const QColor& colour, double gradient, int maxAncLevel,
                    bool childrenOnLeft);
// The shading at any gradient, its full colour at `focalFraction` of the width (the web pages' diagrams shade at
// 0.1 where the main window would show none).
void fillShading(QPainter& painter, const QSizeF& bounds, const QColor& colour, double gradient, double focalFraction);
}
