// The picture editor's geometry and image work without a window: the crop box from a drag, moving it, the view
// and image rectangles under a scale, the zoom, the quarter turns and the five display filters.

#include "pictures/CropGeometry.h"
#include "pictures/ImagePyramid.h"
#include "pictures/PictureAdjustments.h"
#include "pictures/PictureRotation.h"

#include "platform/Localizer.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

namespace {

const QRectF kImage(0, 0, 200, 200);

float ratioOf(const char* modeKey)
{
    return CropGeometry::ratioForCroppingMode(LocalizedString(QString::fromLatin1(modeKey)));
}

TEST(CropGeometry, ModesGiveTheirRatiosAndAnythingElseIsFree)
{
    const std::pair<const char*, float> modes[] = {{"AsCropped", 0.0f},    {"Portrait6x4", 1.5f},
                                                   {"Portrait4x3", 4.0f / 3}, {"Landscape6x4", 2.0f / 3},
                                                   {"Landscape4x3", 0.75f}, {"Square", 1.0f}};
    for (const auto& [key, ratio] : modes)
        EXPECT_FLOAT_EQ(ratioOf(key), ratio) << key;
    EXPECT_FLOAT_EQ(CropGeometry::ratioForCroppingMode("Panorama"), 0.0f);
    EXPECT_FLOAT_EQ(CropGeometry::ratioForCroppingMode(""), 0.0f);
}

TEST(CropGeometry, BoxFromTwoPoints)
{
    struct Case {
        const char* what;
        float ratio;
        QPointF start, current;
        QRectF box;
    };
    const Case cases[] = {
        { "square, 40 right and 10 down", 1.0f, { 10, 10 }, { 50, 20 }, { 10, 10, 40, 40 } },
        { "portrait 6x4, 40 right and 10 down", 1.5f, { 10, 10 }, { 50, 20 }, { 10, 10, 40, 60 } },
        { "free, up and left", 0.0f, { 100, 100 }, { 60, 70 }, { 60, 70, 40, 30 } },
        { "free, 5 wide is discarded", 0.0f, { 10, 10 }, { 15, 110 }, {} },
        { "free, 6 by 6 is kept", 0.0f, { 10, 10 }, { 16, 16 }, { 10, 10, 6, 6 } },
        { "along one axis", 1.0f, { 10, 10 }, { 10, 90 }, {} },
        { "square, up past the top stops at the top", 1.0f, { 50, 30 }, { 90, -20 }, { 50, 0, 30, 30 } },
        { "portrait, up past the top: width from the ratio", 1.5f, { 50, 30 }, { 90, -20 }, { 50, 0, 20, 30 } },
        { "square, down past the bottom", 1.0f, { 10, 180 }, { 60, 260 }, { 10, 180, 20, 20 } },
        { "free, the far point is held in the image", 0.0f, { 150, 150 }, { 400, 300 }, { 150, 150, 50, 50 } },
        // Grown to its ratio, a box would reach past the picture's side: it stops there instead.
        { "square, grown past the right side", 1.0f, { 180, 10 }, { 199, 100 }, { 180, 10, 20, 20 } },
        { "landscape, grown past the left side", 0.75f, { 20, 100 }, { 10, 190 }, { 0, 100, 20, 15 } },
    };
    for (const Case& c : cases) {
        const QRectF box = CropGeometry::boxFromPoints(c.start, c.current, kImage, c.ratio);
        EXPECT_NEAR(box.x(), c.box.x(), 1e-3) << c.what;
        EXPECT_NEAR(box.y(), c.box.y(), 1e-3) << c.what;
        EXPECT_NEAR(box.width(), c.box.width(), 1e-3) << c.what;
        EXPECT_NEAR(box.height(), c.box.height(), 1e-3) << c.what;
    }
}

TEST(CropGeometry, AMovedBoxStaysInsideThePicture)
{
    const QRectF box(10, 10, 40, 40);
    EXPECT_EQ(CropGeometry::movedBox(box, { 30, 30 }, { 40, 50 }, kImage), QRectF(20, 30, 40, 40));
    EXPECT_EQ(CropGeometry::movedBox(box, { 30, 30 }, { -100, 30 }, kImage), QRectF(0, 10, 40, 40));
    EXPECT_EQ(CropGeometry::movedBox(box, { 30, 30 }, { 500, 500 }, kImage), QRectF(160, 160, 40, 40));
}

TEST(CropGeometry, ViewAndImageRectanglesUnderAScale)
{
    const QRectF view(0, 0, 400, 300);
    EXPECT_EQ(CropGeometry::cropFromDragRect({ 20, 40, 60, 80 }, view, 2.0), QRectF(10, 20, 30, 40));
    EXPECT_EQ(CropGeometry::dragBoxFromCrop({ 10, 20, 30, 40 }, view, 2.0), QRectF(20, 40, 60, 80));
    EXPECT_EQ(CropGeometry::cropFromDragRect({ 20, 40, 0, 80 }, view, 2.0), QRectF());
    EXPECT_EQ(CropGeometry::dragBoxFromCrop({}, view, 2.0), QRectF());
}

TEST(CropGeometry, CornerAndMoveAreas)
{
    EXPECT_EQ(CropGeometry::cornerArea({ 0, 0, 100, 50 }), QRectF(90, 40, 20, 20));
    EXPECT_EQ(CropGeometry::cornerArea({ 0, 0, 20, 20 }), QRectF(14, 14, 12, 12)); // never under 12 points
    EXPECT_EQ(CropGeometry::moveArea({ 10, 10, 20, 20 }), QRectF(5, 5, 30, 30));
}

TEST(CropGeometry, ZoomNeverShowsLessThanHalfTheFittingSize)
{
    const QSizeF content(500, 400);
    EXPECT_DOUBLE_EQ(CropGeometry::zoomScale({ 1000, 500 }, content, 1.0), 0.5); // wide: by the width
    EXPECT_DOUBLE_EQ(CropGeometry::zoomScale({ 1000, 500 }, content, 0.1), 0.25);
    EXPECT_DOUBLE_EQ(CropGeometry::zoomScale({ 1000, 500 }, content, 3.0), 1.5);
    EXPECT_DOUBLE_EQ(CropGeometry::zoomScale({ 500, 1000 }, content, 1.0), 0.4); // tall: by the height
    EXPECT_EQ(CropGeometry::zoomScale({ 0, 100 }, content, 1.0), 0.0);
}

TEST(CropGeometry, ScrollTargetAfterAZoom)
{
    // No crop: the visible corner keeps its place in the picture.
    EXPECT_EQ(CropGeometry::scrollTarget({}, 1.0, 2.0, { 10, 20, 300, 300 }), QPointF(20, 40));
    EXPECT_FALSE(CropGeometry::scrollTarget({}, 0.0, 2.0, { 10, 20, 300, 300 }));
    // A crop out of view is brought in, 10 points clear; one in view stays.
    EXPECT_EQ(CropGeometry::scrollTarget({ 100, 100, 50, 50 }, 1.0, 2.0, { 0, 0, 250, 250 }), QPointF(190, 190));
    EXPECT_FALSE(CropGeometry::scrollTarget({ 100, 100, 50, 50 }, 1.0, 2.0, { 0, 0, 400, 400 }));
}

TEST(PictureRotation, ButtonsTurnByAQuarterAndFold)
{
    struct Case {
        int rotation;
        const char* title;
        int expected;
    };
    const Case cases[] = { { 270, "\u2212", 0 }, { 270, "-", 0 }, { 0, "+", 270 }, { 90, "-", 180 },
        { 180, "+", 90 }, { 90, "Turn", 90 } };
    for (const Case& c : cases)
        EXPECT_EQ(PictureRotation::rotationAfter(c.rotation, QString::fromUtf8(c.title)), c.expected)
            << c.rotation << " " << c.title;
}

// Four quadrants: red top left, green top right, blue bottom left, yellow bottom right.
QImage fourColours()
{
    QImage image(40, 20, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, 20, 10, Qt::red);
    p.fillRect(20, 0, 20, 10, Qt::green);
    p.fillRect(0, 10, 20, 10, Qt::blue);
    p.fillRect(20, 10, 20, 10, Qt::yellow);
    return image;
}

TEST(PictureRotation, TurnsCounterClockwise)
{
    struct Case {
        int rotation;
        QSize size;
        QColor topLeft, topRight, bottomLeft, bottomRight;
    };
    const Case cases[] = {
        { 90, { 20, 40 }, Qt::green, Qt::yellow, Qt::red, Qt::blue },
        { 180, { 40, 20 }, Qt::yellow, Qt::blue, Qt::green, Qt::red },
        { 270, { 20, 40 }, Qt::blue, Qt::red, Qt::yellow, Qt::green },
        { 0, { 40, 20 }, Qt::red, Qt::green, Qt::blue, Qt::yellow },
    };
    for (const Case& c : cases) {
        const QImage turned = PictureRotation::rotatedImage(fourColours(), c.rotation);
        ASSERT_EQ(turned.size(), c.size) << c.rotation;
        const int w = turned.width(), h = turned.height();
        EXPECT_EQ(turned.pixelColor(w / 4, h / 4), c.topLeft) << c.rotation;
        EXPECT_EQ(turned.pixelColor(3 * w / 4, h / 4), c.topRight) << c.rotation;
        EXPECT_EQ(turned.pixelColor(w / 4, 3 * h / 4), c.bottomLeft) << c.rotation;
        EXPECT_EQ(turned.pixelColor(3 * w / 4, 3 * h / 4), c.bottomRight) << c.rotation;
    }
}

// A picture with detail: a gradient with a hard edge and some colour.
QImage sample()
{
    QImage image(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            image.setPixel(x, y, qRgb(40 + x * 4, x < 16 ? 60 : 180, 30 + y * 5));
    return image;
}

double mean(const QImage& image, const std::function<double(QRgb)>& f)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += f(image.pixel(x, y));
    return sum / (image.width() * image.height());
}

TEST(PictureAdjustments, IdentityAtTheDefaultsButForTheSharpening)
{
    PictureAdjustments unsharpened;
    unsharpened.luminance = 0;
    EXPECT_EQ(unsharpened.apply(sample()), sample().convertToFormat(QImage::Format_ARGB32));
    // The default sharpening leaves a flat picture as it is, and changes one with edges.
    QImage flat(16, 16, QImage::Format_RGB32);
    flat.fill(QColor(90, 120, 150));
    EXPECT_EQ(PictureAdjustments().apply(flat), flat.convertToFormat(QImage::Format_ARGB32));
    EXPECT_NE(PictureAdjustments().apply(sample()), sample().convertToFormat(QImage::Format_ARGB32));
}

TEST(PictureAdjustments, EachFilterIsMonotonic)
{
    const auto brightness = [](QRgb c) { return qRed(c) + qGreen(c) + qBlue(c); };
    const auto chroma = [](QRgb c) {
        return std::max({ qRed(c), qGreen(c), qBlue(c) }) - std::min({ qRed(c), qGreen(c), qBlue(c) });
    };
    const auto redOverBlue = [](QRgb c) { return qRed(c) - qBlue(c); };
    struct Case {
        const char* what;
        std::function<void(PictureAdjustments&, float)> set;
        float values[3];
        std::function<double(QRgb)> measure;
        bool increasing;
    };
    const Case cases[] = {
        { "exposure", [](PictureAdjustments& a, float v) { a.exposure = v; }, { -1, 0, 0.5f }, brightness, true },
        { "gamma", [](PictureAdjustments& a, float v) { a.gamma = v; }, { 0.5f, 1, 2 }, brightness, false },
        { "brightness", [](PictureAdjustments& a, float v) { a.brightness = v; }, { -0.2f, 0, 0.2f }, brightness,
            true },
        { "saturation", [](PictureAdjustments& a, float v) { a.saturation = v; }, { 0, 1, 1.5f }, chroma, true },
        { "sepia", [](PictureAdjustments& a, float v) { a.sepia = v; }, { 0, 0.5f, 1 }, redOverBlue, true },
    };
    for (const Case& c : cases) {
        double previous = 0;
        for (int i = 0; i < 3; ++i) {
            PictureAdjustments a;
            a.luminance = 0;
            c.set(a, c.values[i]);
            const double m = mean(a.apply(sample()), c.measure);
            if (i > 0) {
                EXPECT_TRUE(c.increasing ? m > previous : m < previous) << c.what << " at " << c.values[i];
            }
            previous = m;
        }
    }
    // Contrast spreads the values about the middle grey.
    const auto spread = [](float contrast) {
        PictureAdjustments a;
        a.luminance = 0;
        a.contrast = contrast;
        const QImage out = a.apply(sample());
        return std::abs(qRed(out.pixel(31, 0)) - qRed(out.pixel(0, 0)));
    };
    EXPECT_LT(spread(0.5f), spread(1.0f));
    EXPECT_LT(spread(1.0f), spread(1.5f));
    // Sharpening deepens the step at the hard edge.
    const auto step = [](float sharpness) {
        PictureAdjustments a;
        a.luminance = sharpness;
        const QImage out = a.apply(sample());
        return qGreen(out.pixel(16, 8)) - qGreen(out.pixel(15, 8));
    };
    EXPECT_LT(step(0), step(0.4f));
    EXPECT_LT(step(0.4f), step(1.5f));
}

TEST(ImagePyramid, ThumbnailsOfCropsMatchTheWholeImage)
{
    QImage big(1600, 1200, QImage::Format_RGB32);
    big.fill(Qt::white);
    QPainter(&big).fillRect(800, 600, 400, 300, Qt::darkRed);
    ImagePyramid pyramid(big);
    const QImage whole = pyramid.thumbnail({});
    EXPECT_EQ(whole.size(), QSize(100, 75));
    const QImage crop = pyramid.thumbnail({ 800, 600, 400, 300 });
    EXPECT_EQ(crop.size(), QSize(100, 75));
    EXPECT_EQ(crop.pixelColor(50, 37).rgb(), QColor(Qt::darkRed).rgb());
    double factor = 0;
    EXPECT_EQ(pyramid.levelFor(0.2, &factor).width(), 400);
    EXPECT_DOUBLE_EQ(factor, 0.25);
    EXPECT_EQ(pyramid.levelFor(2.0, &factor).width(), 1600);
}

}
