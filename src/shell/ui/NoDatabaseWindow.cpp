#include "shell/ui/NoDatabaseWindow.h"

#include "shell/ui/AppController.h"

#include "platform/Localizer.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

NoDatabaseWindow::NoDatabaseWindow()
{
    setObjectName(QStringLiteral("NoDatabaseWindow"));
    setWindowTitle(QStringLiteral("Kinloom"));
    m_label = new QLabel(LocalizedString("NoDatabaseOpen"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    m_label->setMargin(40);
    setCentralWidget(m_label);
    if (AppController* app = AppController::shared())
        setMenuBar(app->createMainMenu(this));
    resize(560, 260);
}

void NoDatabaseWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    // Quitting may delete this window: after the event.
    QTimer::singleShot(0, [] {
        if (AppController* app = AppController::shared())
            app->terminate();
    });
}
