#pragma once

#include <QRectF>
#include <QString>

class ImagePyramid;
class QDialog;
class QPainter;
class QPushButton;

// What the picture windows share: their panel background, their buttons, opening what they write, and drawing a
// picture with a rectangle dragged on it.

// The panel colour behind the window, and its title.
void preparePictureWindow(QDialog* window, const QString& title);
// A button with the localized text of `textKey` and the theme icon `iconName`; never the default by itself.
QPushButton* pictureWindowButton(const char* textKey, const char* iconName, const char* objectName);
// A folder in the desktop's file manager, a file in the default application for its kind.
void openInDesktopApplication(const QString& path);

// The `exposed` part of a picture shown at `scale` view points per pixel in `imageRect` (origin at the view's), from
// the smallest copy of it that still has a pixel for each point; smoothed when `smooth` and the picture is shown
// smaller than its size.
void drawExposedPicture(
    QPainter& p, ImagePyramid& pyramid, double scale, const QRectF& exposed, const QRectF& imageRect, bool smooth);
// A rectangle dragged on a picture (`box`, in view points): a blue frame just outside it and the red handle at its
// bottom-right corner. The painter is left antialiasing.
void drawDragBox(QPainter& p, const QRectF& box);
