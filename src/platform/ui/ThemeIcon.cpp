#include "platform/ui/ThemeIcon.h"

#include <QStandardPaths>
#include <QStringList>

namespace {
bool lacksTheme(const QString& name) { return name.isEmpty() || name == QLatin1String("hicolor"); }
}

QIcon themeIcon(const QString& name)
{
    static const bool themed = [] {
        // Platforms without a desktop theme plug-in (offscreen, minimal) search only Qt's own resources.
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
            if (const QString icons = dir + QStringLiteral("/icons"); !paths.contains(icons))
                paths << icons;
        QIcon::setThemeSearchPaths(paths);
        if (lacksTheme(QIcon::fallbackThemeName()))
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        if (lacksTheme(QIcon::themeName()))
            QIcon::setThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    (void)themed;
    return QIcon::fromTheme(name);
}
