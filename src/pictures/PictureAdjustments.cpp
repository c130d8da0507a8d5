#include "pictures/PictureAdjustments.h"

#include "model/FTPicture.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr float kLumaR = 0.2126f, kLumaG = 0.7152f, kLumaB = 0.0722f;

float luma(float r, float g, float b)
{
    return kLumaR * r + kLumaG * g + kLumaB * b;
}
}

PictureAdjustments PictureAdjustments::of(const FTPicture& picture)
{
    PictureAdjustments a;
    a.luminance = picture.tnLuminance();
    a.exposure = picture.tnExposure();
    a.gamma = picture.tnGamma();
    a.saturation = picture.tnSaturation();
    a.brightness = picture.tnBrightness();
    a.contrast = picture.tnContrast();
    a.sepia = picture.tnSepia();
    return a;
}

QImage PictureAdjustments::apply(const QImage& source) const
{
    if (source.isNull())
        return {};
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    const size_t n = size_t(w) * size_t(h);
    std::vector<float> r(n), g(n), b(n);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            r[i] = qRed(line[x]) / 255.0f;
            g[i] = qGreen(line[x]) / 255.0f;
            b[i] = qBlue(line[x]) / 255.0f;
        }
    }

    // 1. Sharpening of the luminance: the difference from a small blur, scaled, added to every channel.
    if (luminance != 0.0f) {
        std::vector<float> l(n);
        for (size_t i = 0; i < n; ++i)
            l[i] = luma(r[i], g[i], b[i]);
        const auto at = [&](int x, int y) { return l[size_t(std::clamp(y, 0, h - 1)) * w + std::clamp(x, 0, w - 1)]; };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const float blur = (4 * at(x, y) + 2 * (at(x - 1, y) + at(x + 1, y) + at(x, y - 1) + at(x, y + 1))
                                       + at(x - 1, y - 1) + at(x + 1, y - 1) + at(x - 1, y + 1) + at(x + 1, y + 1))
                    / 16.0f;
                const float delta = luminance * (at(x, y) - blur);
                const size_t i = size_t(y) * w + x;
                r[i] += delta;
                g[i] += delta;
                b[i] += delta;
            }
    }

    const float gain = std::exp2(exposure);
    const float sepiaMix = std::clamp(sepia, 0.0f, 1.0f);
    for (size_t i = 0; i < n; ++i) {
        float c[3] = { r[i], g[i], b[i] };
        // 2. Exposure and 3. gamma, channel by channel.
        for (float& v : c) {
            v *= gain;
            if (gamma != 1.0f)
                v = std::pow(std::max(v, 0.0f), gamma);
        }
        // 4. Colour controls.
        const float l = luma(c[0], c[1], c[2]);
        for (float& v : c) {
            v = l + saturation * (v - l);
            v += brightness;
            v = (v - 0.5f) * contrast + 0.5f;
        }
        // 5. Sepia toning, mixed in by its intensity.
        if (sepiaMix > 0.0f) {
            const float sr = 0.393f * c[0] + 0.769f * c[1] + 0.189f * c[2];
            const float sg = 0.349f * c[0] + 0.686f * c[1] + 0.168f * c[2];
            const float sb = 0.272f * c[0] + 0.534f * c[1] + 0.131f * c[2];
            c[0] += sepiaMix * (sr - c[0]);
            c[1] += sepiaMix * (sg - c[1]);
            c[2] += sepiaMix * (sb - c[2]);
        }
        r[i] = c[0];
        g[i] = c[1];
        b[i] = c[2];
    }

    const auto byte = [](float v) { return int(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            line[x] = qRgba(byte(r[i]), byte(g[i]), byte(b[i]), qAlpha(line[x]));
        }
    }
    return image;
}
