#pragma once

// What the windows of the sources editor share in their building.

#include <QString>

#include <functional>

class QPushButton;
class QToolButton;
class QWidget;

namespace SourcesWindowHelpers {
// A push button that never becomes the default (Return stays with the text fields), with a theme icon when named,
// calling `action` when clicked.
QPushButton* makeButton(
    const QString& objectName, const QString& text, std::function<void()> action, const QString& icon = {});
// The help button (a theme icon without a frame).
QToolButton* makeHelpButton(const QString& objectName, std::function<void()> action);
// The window's background in the panel colour.
void usePanelColour(QWidget* window);
}
