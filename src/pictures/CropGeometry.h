#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

// The geometry of the picture editor's crop view. The view shows the (rotated) picture at `scale` view points per
// image pixel, with y growing downward; `imageRect` is the picture's rectangle in the view. A crop rectangle is
// kept in image pixels (the zero rectangle means the whole picture) and drawn as a box in view points.
//
//   const float ratio = CropGeometry::ratioForCroppingMode(UserDefaults::standard().stringForKey("croppingMode"));
//   QRectF box = CropGeometry::boxFromPoints(pressed, now, imageRect, ratio);   // zero: too small to keep
//   QRectF crop = CropGeometry::cropFromDragRect(box, imageRect, scale);
class CropGeometry {
public:
    // A box must be wider and higher than this many points to be kept.
    static constexpr double kMinimumSide = 5.0;
    // The blue frame is drawn this far outside the box, and the move area reaches as far.
    static constexpr double kFrameWidth = 5.0;

    // The height / width ratio a cropping mode keeps: the localized titles of "Portrait6x4" (1.5),
    // "Portrait4x3" (4/3), "Landscape6x4" (2/3), "Landscape4x3" (3/4) and "Square" (1); 0 (free) for any other,
    // "AsCropped" included.
    static float ratioForCroppingMode(const QString& modeTitle);
    // The ratio of the user default "croppingMode".
    static float currentRatio();
    // Whether the user default chooses a fixed ratio (the guide lines are drawn only then).
    static bool hasFixedRatio() { return currentRatio() != 0.0f; }

    // The box spanned from `start` to `current` (clamped into `imageRect`). With a ratio the box first grows on its
    // short side to the ratio, then shrinks, keeping the ratio, so that it ends at the image's edges. Zero when it
    // is not wider and higher than kMinimumSide.
    static QRectF boxFromPoints(QPointF start, QPointF current, const QRectF& imageRect, float ratio);
    // `startBox` moved by current - start (current clamped into `imageRect`), held inside `imageRect`.
    static QRectF movedBox(const QRectF& startBox, QPointF start, QPointF current, const QRectF& imageRect);

    // Image pixels from a box in view points; zero for an empty box.
    static QRectF cropFromDragRect(const QRectF& box, const QRectF& imageRect, double scale);
    // The box in view points of a crop; zero for an empty crop.
    static QRectF dragBoxFromCrop(const QRectF& crop, const QRectF& imageRect, double scale);

    // Where a press moves the box: the box grown by kFrameWidth on every side.
    static QRectF moveArea(const QRectF& box);
    // Where a press resizes the box: a square of max(0.2 × width, 12) centred on its bottom-right corner.
    static QRectF cornerArea(const QRectF& box);
    // The red handle: the square (right − 3, bottom − 3, 9, 9).
    static QRectF handleRect(const QRectF& box);

    // The scale that shows `image` in a view of `content` at `sliderScale` times its fitting size, never below half
    // of it; 0 for an empty image. The fitting size is set by the width for a wide picture, else by the height.
    static double zoomScale(QSizeF image, QSizeF content, double sliderScale);
    // Where the view scrolls after a zoom from `oldScale` to `newScale`: with no crop, the visible origin keeps
    // its place in the picture; with one, the box is brought into view (10 points clear) when `visible` does not
    // hold it. Nothing when the view need not move.
    static std::optional<QPointF> scrollTarget(
        const QRectF& crop, double oldScale, double newScale, const QRectF& visible);
};
