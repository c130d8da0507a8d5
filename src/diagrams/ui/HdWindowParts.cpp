#include "diagrams/ui/HdWindowParts.h"

#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"

#include <QPushButton>
#include <QWidget>

namespace HdWindowParts {
void applyPanelColour(QWidget* window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, PanelColour());
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

QPushButton* makeButton(const char* key, std::function<void()> action, const QString& icon)
{
    auto* button = new QPushButton(LocalizedString(QString::fromLatin1(key)));
    button->setObjectName(QString::fromLatin1(key));
    if (!icon.isEmpty())
        button->setIcon(themeIcon(icon));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [action = std::move(action)] { action(); });
    return button;
}

void placeBesideHierarchyWindow(QWidget* window, const QWidget* hierarchyWindow)
{
    if (hierarchyWindow)
        window->move(hierarchyWindow->frameGeometry().topLeft() + QPoint(200, 200));
}
}
