#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

class CdLayout;
class QPainter;

// The focal person's picture above the focal box, with the count of the person's pictures, and the enlarged mug
// shot shown over a box's small picture.
namespace CdDefaultPicture {
// The square above the focal box: as tall as the box, centred over it, 5 points above it.
QRectF square(const QRectF& focalBox);
// Where an image of `imageSize` goes in that square: a tall one narrower, a wide one lower, its bottom always 5
// points above the box.
QRectF drawnRect(const QRectF& focalBox, const QSizeF& imageSize);
// "12", or, while the pointer rests on the picture, " 4 of 12".
QString countLabel(int pictureCount, int gPicNum, bool focusRing);
// Draws the layout's focal picture and its count, and sets pictureState().defaultImageRect (zero without a picture);
// clears the focus-ring flag.
void displayFocalPersonsDefaultPicture(QPainter& painter, CdLayout& layout);

// The 75-point enlarged mug shot centred on the small one, kept 5 points inside the left edge.
QRectF enlargedRect(const QRectF& mugShot, const QSizeF& imageSize);
// Draws it framed, with the label "<gPicNum + 1> of <count>" below.
void displayMugshotImage(QPainter& painter, const QImage& image, const QRectF& mugShot, int gPicNum, int pictureCount);
}
