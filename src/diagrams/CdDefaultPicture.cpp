#include "diagrams/CdDefaultPicture.h"

#include "diagrams/CdLayout.h"

#include <QFont>
#include <QPainter>

QRectF CdDefaultPicture::square(const QRectF& f)
{
    const double h = f.height();
    return QRectF(f.center().x() - h / 2, f.y() - h - 5, h, h);
}

QRectF CdDefaultPicture::drawnRect(const QRectF& f, const QSizeF& imageSize)
{
    const double h = f.height();
    const double cx = f.center().x();
    if (imageSize.width() <= 0 || imageSize.height() <= 0)
        return square(f);
    const double a = imageSize.height() / imageSize.width();
    if (a > 1)
        return QRectF(cx - (h / a) / 2, f.y() - h - 5, h / a, h);
    if (a < 1)
        return QRectF(cx - h / 2, f.y() - h * a - 5, h, h * a);
    return square(f);
}

QString CdDefaultPicture::countLabel(int pictureCount, int gPicNum, bool focusRing)
{
    if (focusRing)
        return QStringLiteral("%1 of %2").arg(gPicNum + 1, 2).arg(pictureCount);
    return QString::number(pictureCount);
}

void CdDefaultPicture::displayFocalPersonsDefaultPicture(QPainter& painter, CdLayout& layout)
{
    CdLayout::PictureState& state = layout.pictureState();
    state.defaultImageRect = QRectF();
    const QImage& image = layout.focalPicture();
    const QRectF f = layout.rclFocalPerson();
    if (image.isNull() || f.height() <= 0) {
        state.bDrawFocusRing = false;
        return;
    }
    const QColor bg = layout.options().bgColour;
    const QRectF drawn = drawnRect(f, image.size());
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(drawn, image);
    state.defaultImageRect = square(f);
    if (state.bDrawFocusRing) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 2));
        painter.drawRect(drawn.adjusted(-2, -2, 2, 2));
        painter.setPen(QPen(Qt::gray, 2));
        painter.drawRect(drawn.adjusted(-4, -4, 4, 4));
    }
    const int count = layout.focalPictureCount();
    if (count > 0) {
        const QString label = countLabel(count, state.gPicNum, state.bDrawFocusRing);
        const QRectF box(drawn.right() + 1 + (state.bDrawFocusRing ? 7 : 0), drawn.bottom() - 13, 6.0 * label.size(), 13);
        painter.fillRect(box, state.bDrawFocusRing ? QColor(Qt::white) : bg);
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(10);
        painter.setFont(font);
        painter.setPen(state.bDrawFocusRing ? QColor(Qt::black) : QColor(Qt::darkGray));
        painter.drawText(QRectF(box.x() + 2, box.y(), box.width() + 20, 14), Qt::AlignLeft | Qt::AlignVCenter, label);
    }
    painter.restore();
    state.bDrawFocusRing = false;
}

QRectF CdDefaultPicture::enlargedRect(const QRectF& mugShot, const QSizeF& imageSize)
{
    const QPointF c = mugShot.center();
    QRectF r(c.x() - 37.5, c.y() - 37.5, 75, 75);
    if (imageSize.width() > 0 && imageSize.height() > 0) {
        const double a = imageSize.height() / imageSize.width();
        if (a > 1)
            r = QRectF(c.x() - (75 / a) / 2, c.y() - 37.5, 75 / a, 75);
        else if (a < 1)
            r = QRectF(c.x() - 37.5, c.y() - 75 * a / 2, 75, 75 * a);
    }
    if (c.x() - 37.5 < 5)
        r.moveLeft(5);
    return r;
}

void CdDefaultPicture::displayMugshotImage(QPainter& painter, const QImage& image, const QRectF& mugShot, int gPicNum,
                                           int pictureCount)
{
    if (image.isNull())
        return;
    const QRectF r = enlargedRect(mugShot, image.size());
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(r, image);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawRect(r.adjusted(-2, -2, 2, 2));
    painter.setPen(QPen(Qt::gray, 2));
    painter.drawRect(r.adjusted(-4, -4, 4, 4));
    const QRectF label(r.center().x() - 25, r.bottom() + 4, 50, 14);
    painter.fillRect(label, Qt::white);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(label, Qt::AlignCenter, QStringLiteral("%1 of %2").arg(gPicNum + 1).arg(pictureCount));
    painter.restore();
}
