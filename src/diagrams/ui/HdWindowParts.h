#pragma once

// What the hierarchy diagram's small windows share in their building.

#include <QString>

#include <functional>

class QPushButton;
class QWidget;

namespace HdWindowParts {
// The window's background in the panels' colour.
void applyPanelColour(QWidget* window);
// A push button with the localised title of `key` and a theme icon when named, calling `action` when clicked.
QPushButton* makeButton(const char* key, std::function<void()> action, const QString& icon = {});
// The window's top-left corner 200 points right of and below the hierarchy window's.
void placeBesideHierarchyWindow(QWidget* window, const QWidget* hierarchyWindow);
}
