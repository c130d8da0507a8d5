#pragma once

// Internal to the application controller's implementation files.

#include "shell/ui/AppController.h"

#include <QList>
#include <QPointer>

#include "shell/ui/NoDatabaseWindow.h"

struct AppController::Private {
    Panels panels;
    QList<MenuItem> menuItems;
    QPointer<NoDatabaseWindow> noDatabaseWindow;
    bool terminating = false;
};
