#pragma once

#include <QImage>
#include <QList>
#include <QRectF>

// A large picture with copies of half, a quarter, ... its size, made when first needed, so that drawing it small
// and cutting thumbnails from it read a few pixels rather than millions.
//
//   ImagePyramid pyramid(image);
//   double factor = 1;
//   const QImage& level = pyramid.levelFor(0.1, &factor);   // draw `level` at 0.1 / factor
//   const QImage thumbnail = pyramid.thumbnail(crop);
class ImagePyramid {
public:
    ImagePyramid() = default;
    explicit ImagePyramid(const QImage& image) { setImage(image); }

    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }
    bool isNull() const { return m_image.isNull(); }

    // The smallest copy that still has at least one pixel for each view point at `scale` (view points per pixel
    // of the whole picture); `factor` receives its pixels per pixel of the whole picture.
    const QImage& levelFor(double scale, double* factor);
    // The thumbnail of `crop` (pixels of the whole picture; empty: all of it) as UtilsPics::makeThumbnailImageFrom
    // makes it, cut from a copy with at least twice the thumbnail's pixels.
    QImage thumbnail(const QRectF& crop);

private:
    const QImage& level(int index);
    QImage m_image;
    QList<QImage> m_levels; // half, quarter, ...
};
