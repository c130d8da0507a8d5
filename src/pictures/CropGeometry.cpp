#include "pictures/CropGeometry.h"

#include "shell/CroppingModes.h"

#include "platform/UserDefaults.h"

#include <algorithm>
#include <cmath>
#include <iterator>

float CropGeometry::ratioForCroppingMode(const QString& modeTitle)
{
    static constexpr float ratios[] = {0.0f, 1.5f, 1.3333334f, 0.6666667f, 0.75f, 1.0f};
    static_assert(std::size(ratios) == CroppingModes::Count);
    return ratios[CroppingModes::modeOfTitle(modeTitle)];
}

float CropGeometry::currentRatio()
{
    return ratioForCroppingMode(UserDefaults::standard().stringForKey(QStringLiteral("croppingMode")));
}

QRectF CropGeometry::boxFromPoints(QPointF s, QPointF q, const QRectF& imageRect, float ratio)
{
    q.setX(std::clamp(q.x(), imageRect.left(), imageRect.right()));
    q.setY(std::clamp(q.y(), imageRect.top(), imageRect.bottom()));
    if (q.x() == s.x() || q.y() == s.y())
        return {};
    double w = std::abs(q.x() - s.x());
    double h = std::abs(q.y() - s.y());
    QRectF box;
    if (ratio == 0.0f) {
        box = QRectF(std::min(s.x(), q.x()), std::min(s.y(), q.y()), w, h);
    } else {
        const double r = ratio;
        if (h >= r * w)
            w = h / r;
        else
            h = r * w;
        const bool down = q.y() > s.y();
        const bool right = q.x() > s.x();
        // The box shrinks, keeping its ratio, to end at the edge it would pass: first the top or bottom, then the
        // side it grows towards (a box reaching past the picture's side would crop what is not there).
        const double room = down ? imageRect.bottom() - s.y() : s.y() - imageRect.top();
        if (h > room) {
            h = room;
            w = h / r;
        }
        const double sideRoom = right ? imageRect.right() - s.x() : s.x() - imageRect.left();
        if (w > sideRoom) {
            w = sideRoom;
            h = r * w;
        }
        box = QRectF(right ? s.x() : s.x() - w, down ? s.y() : s.y() - h, w, h);
    }
    if (box.width() > kMinimumSide && box.height() > kMinimumSide)
        return box;
    return {};
}

QRectF CropGeometry::movedBox(const QRectF& startBox, QPointF p, QPointF q, const QRectF& imageRect)
{
    q.setX(std::clamp(q.x(), imageRect.left(), imageRect.right()));
    q.setY(std::clamp(q.y(), imageRect.top(), imageRect.bottom()));
    QRectF box = startBox.translated(q - p);
    if (box.x() < imageRect.x())
        box.moveLeft(imageRect.x());
    if (box.y() < imageRect.y())
        box.moveTop(imageRect.y());
    if (box.right() > imageRect.right())
        box.moveLeft(imageRect.right() - box.width());
    if (box.bottom() > imageRect.bottom())
        box.moveTop(imageRect.bottom() - box.height());
    return box;
}

QRectF CropGeometry::cropFromDragRect(const QRectF& box, const QRectF& imageRect, double scale)
{
    if (!(box.width() > 0 && box.height() > 0) || scale <= 0)
        return {};
    return QRectF((box.x() - imageRect.x()) / scale, (box.y() - imageRect.y()) / scale, box.width() / scale,
        box.height() / scale);
}

QRectF CropGeometry::dragBoxFromCrop(const QRectF& crop, const QRectF& imageRect, double scale)
{
    if (crop.isEmpty())
        return {};
    return QRectF(imageRect.x() + scale * crop.x(), imageRect.y() + scale * crop.y(), scale * crop.width(),
        scale * crop.height());
}

QRectF CropGeometry::moveArea(const QRectF& box)
{
    return box.adjusted(-kFrameWidth, -kFrameWidth, kFrameWidth, kFrameWidth);
}

QRectF CropGeometry::cornerArea(const QRectF& box)
{
    const double side = std::max(0.2 * box.width(), 12.0);
    return QRectF(box.right() - side / 2, box.bottom() - side / 2, side, side);
}

QRectF CropGeometry::handleRect(const QRectF& box)
{
    return QRectF(box.right() - 3, box.bottom() - 3, 9, 9);
}

double CropGeometry::zoomScale(QSizeF image, QSizeF content, double sliderScale)
{
    if (image.width() <= 0 || image.height() <= 0)
        return 0.0;
    const double fit
        = image.width() > image.height() ? content.width() / image.width() : content.height() / image.height();
    return std::max(fit * sliderScale, fit * 0.5);
}

std::optional<QPointF> CropGeometry::scrollTarget(
    const QRectF& crop, double oldScale, double newScale, const QRectF& visible)
{
    if (crop.isEmpty()) {
        if (oldScale <= 0)
            return std::nullopt;
        return visible.topLeft() * (newScale / oldScale);
    }
    const QRectF box(crop.x() * newScale, crop.y() * newScale, crop.width() * newScale, crop.height() * newScale);
    if (visible.contains(box))
        return std::nullopt;
    return box.topLeft() - QPointF(10, 10);
}
