#include "pictures/ui/PictureWindowParts.h"

#include "shell/Utils.h"
#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"
#include "platform/Workspace.h"

#include <QDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

void preparePictureWindow(QDialog* window, const QString& title)
{
    window->setWindowTitle(title);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, PanelColour());
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

QPushButton* pictureWindowButton(const char* textKey, const char* iconName, const char* objectName)
{
    auto* b = new QPushButton(themeIcon(QString::fromLatin1(iconName)), LocalizedString(QString::fromLatin1(textKey)));
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    return b;
}

void openInDesktopApplication(const QString& path)
{
    if (QFileInfo(path).isDir())
        Workspace::shared().openUrl(QUrl::fromLocalFile(path));
    else
        Utils::displayFile(path, QString());
}
