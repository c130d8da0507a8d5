#pragma once

#include <QIcon>
#include <QString>

// An icon of the desktop's icon theme by its freedesktop name ("document-print", "go-up"). Where the desktop's
// theme lacks it, or no theme is set (a bare window manager, the offscreen platform), the Adwaita theme that the
// program installs stands in, so every action shows the same kind of icon as the rest of a Linux desktop. With
// Adwaita, an action's or an alert's icon is taken in its symbolic form where the theme has one (read through Qt's
// SVG plug-in, which the program installs); files, places and devices keep their colour pictures.
QIcon themeIcon(const QString& name);
