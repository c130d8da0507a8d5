#include "pictures/ui/PictureWindowParts.h"

#include "pictures/CropGeometry.h"
#include "pictures/ImagePyramid.h"

#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"
#include "platform/Workspace.h"

#include <QDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

void preparePictureWindow(QDialog* window, const QString& title)
{
    window->setWindowTitle(title);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, PanelColour());
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

QPushButton* pictureWindowButton(const char* textKey, const char* iconName, const char* objectName)
{
    auto* b = new QPushButton(themeIcon(QString::fromLatin1(iconName)), LocalizedString(QString::fromLatin1(textKey)));
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    return b;
}

void openInDesktopApplication(const QString& path)
{
    if (QFileInfo(path).isDir())
        Workspace::shared().openUrl(QUrl::fromLocalFile(path));
    else
        Utils::displayFile(path, QString());
}

void drawExposedPicture(
    QPainter& p, ImagePyramid& pyramid, double scale, const QRectF& exposed, const QRectF& imageRect, bool smooth)
{
    double factor = 1.0;
    const QImage& level = pyramid.levelFor(scale, &factor);
    const QRectF target = exposed.intersected(imageRect);
    const double k = factor / scale;
    const QRectF source(target.x() * k, target.y() * k, target.width() * k, target.height() * k);
    p.setRenderHint(QPainter::SmoothPixmapTransform, smooth && scale < 1.0);
    p.drawImage(target, level, source);
}

void drawDragBox(QPainter& p, const QRectF& box)
{
    const double half = CropGeometry::kFrameWidth / 2;
    p.setPen(QPen(Qt::blue, CropGeometry::kFrameWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(-half, -half, half, half));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::red, 1));
    p.setBrush(Qt::red);
    p.drawEllipse(CropGeometry::handleRect(box));
}
