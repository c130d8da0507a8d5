// Which of the icon theme's pictures an action or an alert shows.

#include "platform/ui/ThemeIcon.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

// Adwaita's colour pictures of actions and alerts are its legacy set; the current ones are symbolic (grey SVG).
// Without Qt's SVG plug-in the symbolic forms cannot be read and every alert shows the old orange triangle.
TEST(ThemeIconTest, ActionsAndAlertsTakeTheCurrentPicturesFilesKeepTheirColour)
{
    struct Case {
        const char* asked;
        const char* shown;
    };
    const Case cases[] = {
        { "dialog-warning", "dialog-warning-symbolic" },
        { "dialog-information", "dialog-information-symbolic" },
        { "help-about", "help-about-symbolic" },
        { "document-print", "document-print-symbolic" },
        { "pan-down-symbolic", "pan-down-symbolic" },
        // A file's picture is current in colour.
        { "image-x-generic", "image-x-generic" },
        // No symbolic form: the colour picture is better than none.
        { "system-software-update", "system-software-update" },
    };
    for (const Case& c : cases) {
        const QIcon icon = themeIcon(QString::fromLatin1(c.asked));
        EXPECT_EQ(icon.name(), QString::fromLatin1(c.shown)) << c.asked;
        EXPECT_FALSE(icon.pixmap(48).isNull()) << c.asked;
    }

    // The warning drawn is grey, not the legacy orange.
    const QImage warning = themeIcon(QStringLiteral("dialog-warning")).pixmap(48).toImage();
    int drawn = 0;
    int coloured = 0;
    for (int y = 0; y < warning.height(); ++y)
        for (int x = 0; x < warning.width(); ++x)
            if (const QColor p = warning.pixelColor(x, y); p.alpha() > 100) {
                ++drawn;
                coloured += p.saturation() > 80;
            }
    EXPECT_GT(drawn, 200);
    EXPECT_EQ(coloured, 0);
}
