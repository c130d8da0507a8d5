#pragma once

#include <QString>

class QDialog;
class QPushButton;

// What the picture-file windows share: their panel background, their buttons and opening what they write.

// The panel colour behind the window, and its title.
void preparePictureWindow(QDialog* window, const QString& title);
// A button with the localized text of `textKey` and the theme icon `iconName`; never the default by itself.
QPushButton* pictureWindowButton(const char* textKey, const char* iconName, const char* objectName);
// A folder in the desktop's file manager, a file in the default application for its kind.
void openInDesktopApplication(const QString& path);
