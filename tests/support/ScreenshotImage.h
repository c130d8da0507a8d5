#pragma once

// Pictures that tests make, kept where a person can look at them; core tests (no windows) paint into images.

#include "TestSupport.h"

#include <QDir>
#include <QImage>
#include <QString>

// Writes the image as <name>.png into the tests' folder, and into $KINLOOM_SCREENSHOT_DIR when set.
inline void saveScreenshotImage(const QImage& image, const QString& name)
{
    QDir().mkpath(TestSupport::tempRoot() + "/screenshots");
    image.save(TestSupport::tempRoot() + "/screenshots/" + name + ".png");
    const QString extra = qEnvironmentVariable("KINLOOM_SCREENSHOT_DIR");
    if (!extra.isEmpty()) {
        QDir().mkpath(extra);
        image.save(extra + "/" + name + ".png");
    }
}
