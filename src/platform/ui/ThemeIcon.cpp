#include "platform/ui/ThemeIcon.h"

#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QStringList>

namespace {
bool lacksTheme(const QString& name) { return name.isEmpty() || name == QLatin1String("hicolor"); }

const QLatin1String kSymbolic("-symbolic");

// Adwaita's full-colour pictures of actions and alerts are the legacy set of older desktops (an orange warning
// triangle, a yellow star for About), kept in folders of their own; its colour pictures of files, places and
// devices are current. Asked from the GUI thread only, like every icon.
bool colourPictureIsLegacy(const QString& name)
{
    static QHash<QString, bool> known;
    if (const auto it = known.constFind(name); it != known.constEnd())
        return *it;
    bool legacy = false;
    for (const QString& base : QIcon::themeSearchPaths())
        if (QFileInfo::exists(base + QStringLiteral("/Adwaita/48x48/legacy/") + name + QStringLiteral(".png"))) {
            legacy = true;
            break;
        }
    known.insert(name, legacy);
    return legacy;
}
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
    // Where Adwaita's colour picture is a legacy one, its current icon is the symbolic form (grey, scalable), the
    // one GNOME's own programs show. Qt answers a missing "x-symbolic" with "x" itself, so the name of what it
    // found tells whether the symbolic form exists.
    if (QIcon::themeName() == QLatin1String("Adwaita") && !name.endsWith(kSymbolic) && colourPictureIsLegacy(name)) {
        QIcon symbolic = QIcon::fromTheme(name + kSymbolic);
        if (symbolic.name() == name + kSymbolic)
            return symbolic;
    }
    return QIcon::fromTheme(name);
}
