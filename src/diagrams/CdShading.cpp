#include "diagrams/CdShading.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

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

namespace {
// White 0.1 at alpha 0.5; the blur is a few widening translucent strokes round the fill.
void paintShadow(QPainter& painter, const QPainterPath& path, double blurRadius)
{
    const QColor shadow = QColor::fromRgbF(0.1f, 0.1f, 0.1f, 0.5f);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const int steps = std::max(1, int(blurRadius + 0.5));
    for (int i = steps; i >= 1; --i) {
        QColor c = shadow;
        c.setAlphaF(float(0.5 / (steps + 1)));
        painter.setPen(QPen(c, 2.0 * blurRadius * i / steps, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(path);
    }
    painter.fillPath(path, shadow);
    painter.restore();
}

bool isRaster(const QPaintDevice* device)
{
    const int type = device ? device->devType() : 0;
    return type == QInternal::Image || type == QInternal::Pixmap || type == QInternal::Widget;
}

// The exact shape of a path placed at a whole-pixel origin, as a key. Exact, not rounded: a shadow copied from
// the cache is then the one the shape itself paints, and a picture never depends on what its thread drew before
// (the web pages draw their diagrams on several threads, in no fixed order).
QByteArray shapeKey(const QPainterPath& path, double blurRadius, qreal ratio)
{
    QByteArray key;
    key.reserve(path.elementCount() * 17 + 16);
    const auto add = [&key](double v) { key.append(reinterpret_cast<const char*>(&v), sizeof v); };
    add(blurRadius);
    add(ratio);
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        key.append(char(e.type));
        add(e.x);
        add(e.y);
    }
    return key;
}
}

void CdShading::drawShadow(QPainter& painter, const QPainterPath& path, const QPointF& offset, double blurRadius)
{
    const QTransform world = painter.worldTransform();
    if (world.type() > QTransform::TxTranslate || !isRaster(painter.device())) {
        paintShadow(painter, path.translated(offset), blurRadius);
        return;
    }
    // Stroking a soft edge is the dearest part of painting a box, and most boxes of a diagram share a few sizes:
    // each shape is painted once into an image, placed on whole pixels, and copied from then on.
    const QPainterPath placed = world.map(path.translated(offset));
    const double pad = blurRadius + 2;
    const QRectF bounds = placed.boundingRect();
    const QPointF origin(std::floor(bounds.left() - pad), std::floor(bounds.top() - pad));
    const QPainterPath local = placed.translated(-origin);
    const qreal ratio = painter.device()->devicePixelRatioF();
    static thread_local QHash<QByteArray, QImage> shadows;
    const QByteArray key = shapeKey(local, blurRadius, ratio);
    auto found = shadows.constFind(key);
    if (found == shadows.constEnd()) {
        if (shadows.size() > 256)
            shadows.clear();
        const QSizeF size(std::ceil(bounds.right() + pad - origin.x()), std::ceil(bounds.bottom() + pad - origin.y()));
        QImage image((size * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter p(&image);
        paintShadow(p, local, blurRadius);
        p.end();
        found = shadows.insert(key, image);
    }
    painter.save();
    painter.resetTransform();
    painter.drawImage(origin, *found);
    painter.restore();
}
