#include "pictures/ui/DocumentImage.h"

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
    // Only the exposed part, from the smallest copy of the picture that still has a pixel for each point.
    double factor = 1.0;
    const QImage& level = m_pyramid.levelFor(m_scale, &factor);
    const QRectF target = QRectF(event->rect()).intersected(imageRect());
    const double k = factor / m_scale;
    const QRectF source(target.x() * k, target.y() * k, target.width() * k, target.height() * k);
    p.setRenderHint(QPainter::SmoothPixmapTransform, m_scale < 1.0 && m_drag == Drag::None);
    p.drawImage(target, level, source);

    const QRectF box = rclDragBox();
    if (box.isEmpty())
        return;
    const double half = CropGeometry::kFrameWidth / 2;
    p.setPen(QPen(Qt::blue, CropGeometry::kFrameWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(-half, -half, half, half));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::red, 1));
    p.setBrush(Qt::red);
    p.drawEllipse(CropGeometry::handleRect(box));
}

void DocumentImage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_pyramid.isNull()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPointF p = event->position();
    const QRectF box = rclDragBox();
    if (!box.isEmpty() && CropGeometry::cornerArea(box).contains(p)) {
        m_drag = Drag::Resize;
        m_anchor = box.topLeft();
    } else if (!box.isEmpty() && CropGeometry::moveArea(box).contains(p)) {
        m_drag = Drag::Move;
        m_anchor = p;
        m_startBox = box;
        setCursor(Qt::ClosedHandCursor);
    } else {
        m_drag = Drag::New;
        m_anchor = p;
        m_rclCrop = QRectF();
        update();
    }
}

void DocumentImage::mouseMoveEvent(QMouseEvent* event)
{
    if (m_drag != Drag::None)
        trackTo(event->position());
}

void DocumentImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_drag == Drag::None || event->button() != Qt::LeftButton)
        return;
    trackTo(event->position());
    m_drag = Drag::None;
    unsetCursor();
    update();
    Q_EMIT rclCropChanged(m_rclCrop);
}

void DocumentImage::trackTo(QPointF q)
{
    const QRectF box = m_drag == Drag::Move ? CropGeometry::movedBox(m_startBox, m_anchor, q, imageRect())
                                            : CropGeometry::boxFromPoints(m_anchor, q, imageRect(), 0.0f);
    m_rclCrop = CropGeometry::cropFromDragRect(box, imageRect(), m_scale);
    update();
}
