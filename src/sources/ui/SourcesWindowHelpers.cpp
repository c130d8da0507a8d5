#include "sources/ui/SourcesWindowHelpers.h"

#include "shell/UtilsFunctions.h"
#include "shell/ui/ThemeIcon.h"

#include "platform/Localizer.h"

#include <QPushButton>
#include <QToolButton>

QPushButton* SourcesWindowHelpers::makeButton(
    const QString& objectName, const QString& text, std::function<void()> action, const QString& icon)
{
    auto* button = new QPushButton(text);
    button->setObjectName(objectName);
    if (!icon.isEmpty())
        button->setIcon(themeIcon(icon));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [action = std::move(action)] { action(); });
    return button;
}

QToolButton* SourcesWindowHelpers::makeHelpButton(const QString& objectName, std::function<void()> action)
{
    auto* button = new QToolButton;
    button->setObjectName(objectName);
    button->setIcon(themeIcon(QStringLiteral("help-browser")));
    button->setAutoRaise(true);
    button->setToolTip(LocalizedString(QStringLiteral("SourcesHelpTip")));
    QObject::connect(button, &QToolButton::clicked, button, [action = std::move(action)] { action(); });
    return button;
}

void SourcesWindowHelpers::usePanelColour(QWidget* window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, PanelColour());
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}
