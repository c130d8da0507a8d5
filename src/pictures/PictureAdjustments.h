#pragma once

#include <QImage>

class FTPicture;

// The seven display adjustments of a picture's thumbnail, applied as five filters in this order: luminance
// sharpening, exposure (× 2^EV), gamma (a power), colour controls (saturation, then brightness added, then contrast
// about the middle grey) and sepia toning. At the defaults every filter but the sharpening is an identity.
//
//   const QImage shown = PictureAdjustments::of(*picture).apply(thumbnail);
struct PictureAdjustments {
    float luminance = 0.4f; // sharpness
    float exposure = 0.0f;
    float gamma = 1.0f;
    float saturation = 1.0f;
    float brightness = 0.0f;
    float contrast = 1.0f;
    float sepia = 0.0f;

    static PictureAdjustments of(const FTPicture& picture);

    // The adjusted copy of `image` (its alpha kept); a null image for a null image.
    QImage apply(const QImage& image) const;
};
