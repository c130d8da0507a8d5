#include "pictures/ImagePyramid.h"

#include "model/UtilsPics.h"

#include <algorithm>

namespace {
// Copies are made down to this size on their longer side.
constexpr int kSmallestSide = 64;
}

void ImagePyramid::setImage(const QImage& image)
{
    m_image = image;
    m_levels.clear();
}

const QImage& ImagePyramid::level(int index)
{
    if (index <= 0)
        return m_image;
    while (m_levels.size() < index) {
        const QImage& previous = m_levels.isEmpty() ? m_image : m_levels.last();
        m_levels << previous.scaled(std::max(1, previous.width() / 2), std::max(1, previous.height() / 2),
            Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return m_levels[index - 1];
}

const QImage& ImagePyramid::levelFor(double scale, double* factor)
{
    int index = 0;
    double f = 1.0;
    const int longer = std::max(m_image.width(), m_image.height());
    while (!m_image.isNull() && f / 2 >= scale && longer * f / 2 >= kSmallestSide) {
        f /= 2;
        ++index;
    }
    if (factor)
        *factor = f;
    return level(index);
}

QImage ImagePyramid::thumbnail(const QRectF& crop)
{
    if (m_image.isNull())
        return {};
    const QRectF whole(0, 0, m_image.width(), m_image.height());
    const QRectF source = crop.width() > 0 && crop.height() > 0 ? crop : whole;
    const double longer = std::max(source.width(), source.height());
    double factor = 1.0;
    const QImage& image = levelFor(2.0 * UtilsPics::kThumbnailSize / longer, &factor);
    const QRectF scaled(source.x() * factor, source.y() * factor, source.width() * factor, source.height() * factor);
    return UtilsPics::makeThumbnailImageFrom(image, crop.width() > 0 && crop.height() > 0 ? scaled : QRectF());
}
