#pragma once

#include <QImage>
#include <QString>

// A picture's quarter turns: its `rotation` is 0, 90, 180 or 270 degrees counter-clockwise, and its crop rectangle
// is in the coordinates of the turned picture.
class PictureRotation {
public:
    // The rotation after a press of a rotate button titled `buttonTitle`: a title with a minus ("-" or "−") turns
    // the picture a quarter further counter-clockwise (+90), else one with "+" a quarter back (−90); any other
    // title keeps it. The result is folded into 0...270.
    static int rotationAfter(int rotation, const QString& buttonTitle);
    // Any number of degrees as 0, 90, 180 or 270 (a multiple of 90 is assumed).
    static int folded(int rotation);
    // `image` turned counter-clockwise by `rotation`: width and height exchange for 90 and 270. Any rotation
    // other than 90, 180 or 270 answers the image itself (shared, not copied).
    static QImage rotatedImage(const QImage& image, int rotation);
};
