#include "platform/FTLog.h"
#include "platform/Prompts.h"
#include "platform/ui/QtPrompts.h"
#include "shell/AlertHooks.h"
#include "shell/AppController.h"
#include "shell/ModelHooksSetup.h"
#include "shell/Utils.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Kinloom");
    QApplication::setApplicationName("Kinloom");
    QApplication::setApplicationVersion(KINLOOM_VERSION);

    QtPrompts prompts;
    Prompts::install(&prompts);
    Utils::alertHooks().beep = [] { QApplication::beep(); };
    installModelHooks();

    int rc = 0;
    if (!Utils::OSX10Point4OrLater()) {
        rc = 1;
    } else {
        AppController::initialiseUserDefaults();
        // Until the main window exists, starting up means: set up, then quit cleanly.
        FTLog(QStringLiteral("Kinloom started"));
    }

    Utils::alertHooks() = {};
    Prompts::install(nullptr);
    return rc;
}
