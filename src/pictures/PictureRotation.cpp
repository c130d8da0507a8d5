#include "pictures/PictureRotation.h"

#include <QTransform>

int PictureRotation::folded(int rotation)
{
    return ((rotation % 360) + 360) % 360;
}

int PictureRotation::rotationAfter(int rotation, const QString& buttonTitle)
{
    if (buttonTitle.contains(QLatin1Char('-')) || buttonTitle.contains(QChar(0x2212)))
        rotation += 90;
    else if (buttonTitle.contains(QLatin1Char('+')))
        rotation -= 90;
    return folded(rotation);
}

QImage PictureRotation::rotatedImage(const QImage& image, int rotation)
{
    if (image.isNull() || (rotation != 90 && rotation != 180 && rotation != 270))
        return image;
    // QTransform turns clockwise on screen (y grows downward), so a counter-clockwise turn is a negative angle.
    return image.transformed(QTransform().rotate(-rotation));
}
