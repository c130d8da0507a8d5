#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

#include <functional>

class QPushButton;
class QWidget;

// The colour buttons of the windows that set the program's colours (the preferences, the diagram colours): each
// shows a swatch of a colour kept in the user defaults and opens the colour dialog on it.
namespace ColourButtons {
// A rounded swatch of the colour (white when none).
QIcon swatch(const QColor& colour);
// A button sized for a swatch.
QPushButton* makeButton(QWidget* parent = nullptr);
// The colour dialog on the stored colour of `key`, window-modal on `parent`; `chosen` receives the colour picked.
void chooseColour(QWidget* parent, const QString& key, std::function<void(const QColor&)> chosen);
}
