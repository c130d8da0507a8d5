#pragma once

// Screenshots of windows in ui tests: every test that builds a window grabs it, so that a person can look at it.

#include "ScreenshotImage.h"

#include <QImage>
#include <QString>
#include <QWidget>

// Writes the window's picture as <name>.png into the tests' folder, and into $KINLOOM_SCREENSHOT_DIR when set.
inline QImage saveScreenshot(QWidget* window, const QString& name)
{
    window->repaint();
    const QImage image = window->grab().toImage();
    saveScreenshotImage(image, name);
    return image;
}
