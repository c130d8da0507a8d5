#include "pictures/ui/ThumbView.h"

#include <QPainter>

#include <cmath>

ThumbView::ThumbView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ThumbView::setImage(const QImage& image)
{
    m_image = image;
    update();
}

QRect ThumbView::boundsRectToFitImage() const
{
    const QRectF bounds = rect();
    if (m_image.isNull() || bounds.isEmpty())
        return {};
    const double imageAspect = double(m_image.width()) / m_image.height();
    const double boundsAspect = bounds.width() / bounds.height();
    QRectF r;
    if (imageAspect < boundsAspect) {
        const double w = m_image.width() * bounds.height() / m_image.height();
        r = QRectF(bounds.x() + (bounds.width() - w) / 2, bounds.y(), w, bounds.height());
    } else {
        const double h = m_image.height() * bounds.width() / m_image.width();
        r = QRectF(bounds.x(), bounds.y() + (bounds.height() - h) / 2, bounds.width(), h);
    }
    const int left = int(std::floor(r.left())), top = int(std::floor(r.top()));
    return QRect(QPoint(left, top), QPoint(int(std::ceil(r.right())) - 1, int(std::ceil(r.bottom())) - 1));
}

void ThumbView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor::fromRgbF(0.95f, 0.95f, 0.95f));
    if (!m_image.isNull())
        p.drawImage(boundsRectToFitImage(), m_image);
}
