#include "pictures/ui/DocumentImage.h"

#include "pictures/ui/PictureWindowParts.h"

#include "pictures/CropGeometry.h"
#include "pictures/PictureRotation.h"

#include "model/FTPicture.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <cmath>

DocumentImage::DocumentImage(QScrollArea* scrollArea)
    : m_scrollArea(scrollArea)
{
    setObjectName(QStringLiteral("documentImage"));
    scrollArea->setWidget(this);
    scrollArea->setWidgetResizable(false);
    scrollArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scrollArea->setBackgroundRole(QPalette::Mid);
    resize(1, 1);
}

void DocumentImage::setPicture(FTPicture* picture)
{
    m_picture = picture;
    m_rclCrop = QRectF();
    m_loadError.clear();
    QImage image;
    const QString path = picture ? picture->filename() : QString();
    if (picture && path.isEmpty()) {
        m_loadError = LocalizedString(QStringLiteral("TranscriptionNoFile"));
    } else if (picture) {
        image = UtilsPics::originalImageForFile(path, nullptr, &m_loadError);
        if (image.isNull() && m_loadError.isEmpty())
            m_loadError = LocalizedString(QStringLiteral("NoPicFile"));
        // Shown as the picture editor shows it, so that its rectangles are those of the picture the user sees.
        image = PictureRotation::rotatedImage(image, picture->rotation());
    }
    m_pyramid.setImage(image);
    m_scale = 1.0;
    fitToScale();
    update();
}

QRectF DocumentImage::imageRect() const
{
    const QImage& image = m_pyramid.image();
    return QRectF(0, 0, image.width() * m_scale, image.height() * m_scale);
}

QRectF DocumentImage::rclDragBox() const
{
    return CropGeometry::dragBoxFromCrop(m_rclCrop, imageRect(), m_scale);
}

QRectF DocumentImage::visibleRect() const
{
    return QRectF(m_scrollArea->horizontalScrollBar()->value(), m_scrollArea->verticalScrollBar()->value(),
        m_scrollArea->viewport()->width(), m_scrollArea->viewport()->height());
}

void DocumentImage::fitToScale()
{
    const QRectF r = imageRect();
    resize(std::max(1, int(std::lround(r.width()))), std::max(1, int(std::lround(r.height()))));
}

void DocumentImage::setScale(double scale)
{
    const double old = m_scale > 0 ? m_scale : 1.0;
    m_scale = scale > 0 ? scale : 1.0;
    const QRectF visible = visibleRect();
    fitToScale();
    if (const auto target = CropGeometry::scrollTarget(m_rclCrop, old, m_scale, visible)) {
        m_scrollArea->horizontalScrollBar()->setValue(int(target->x()));
        m_scrollArea->verticalScrollBar()->setValue(int(target->y()));
    }
    update();
}

void DocumentImage::setRclCrop(const QRectF& rectangle)
{
    m_rclCrop = rectangle;
    scrollDragRectVisible();
    update();
}

void DocumentImage::scrollDragRectVisible()
{
    const QRectF box = rclDragBox();
    if (box.isEmpty() || visibleRect().contains(box))
        return;
    m_scrollArea->horizontalScrollBar()->setValue(int(box.x() - 10));
    m_scrollArea->verticalScrollBar()->setValue(int(box.y() - 10));
}

void DocumentImage::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Mid));
    if (m_pyramid.isNull())
        return;
    // Only the exposed part, plainly while the rectangle is dragged.
    drawExposedPicture(p, m_pyramid, m_scale, event->rect(), imageRect(), !m_drag.isActive());
    if (const QRectF box = rclDragBox(); !box.isEmpty())
        drawDragBox(p, box);
}

void DocumentImage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_pyramid.isNull()) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_drag.begin(rclDragBox(), event->position());
    if (m_drag.kind() == CropDrag::Kind::Move) {
        setCursor(Qt::ClosedHandCursor);
    } else if (m_drag.kind() == CropDrag::Kind::New) {
        m_rclCrop = QRectF();
        update();
    }
}

void DocumentImage::mouseMoveEvent(QMouseEvent* event)
{
    if (m_drag.isActive())
        trackTo(event->position());
}

void DocumentImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_drag.isActive() || event->button() != Qt::LeftButton)
        return;
    trackTo(event->position());
    m_drag.end();
    unsetCursor();
    update();
    Q_EMIT rclCropChanged(m_rclCrop);
}

void DocumentImage::trackTo(QPointF q)
{
    // Any shape: a link's rectangle keeps no ratio.
    m_rclCrop = CropGeometry::cropFromDragRect(m_drag.boxAt(q, imageRect(), 0.0f), imageRect(), m_scale);
    update();
}
