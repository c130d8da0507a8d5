#include "app/InstallApplication.h"

#include "platform/Prompts.h"
#include "platform/ui/QtPrompts.h"
#include "shell/AlertHooks.h"
#include "shell/Utils.h"
#include "shell/ui/AppController.h"
#include "shell/ui/DOvurApplication.h"

#include <QStringList>

#include <unistd.h>

int main(int argc, char** argv)
{
    // Without TZ the C library reads the time zone file again at every local time conversion, and the store makes
    // one at every change of a record (its time stamp): a copy of thousands of people spent half its time there.
    // Naming the system's own zone has it read once.
    if (!qEnvironmentVariableIsSet("TZ"))
        qputenv("TZ", ":/etc/localtime");
    // Qt WebEngine's sandbox cannot run for root and then ends the whole program (a Debian machine set up as root,
    // the suite in CI): root has nothing for the sandbox to keep apart, so it is turned off there.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Qt WebEngine (the web pages' preview, the map window) needs this before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    DOvurApplication app(argc, argv);
    QtPrompts prompts;
    Prompts::install(&prompts);

    int rc = 1;
    {
        AppController controller;
        installApplication(controller);
        if (controller.awakeFromNib()) {
            // Databases named on the command line open as the desktop's "open file" does.
            QStringList paths;
            const QStringList arguments = app.arguments();
            for (qsizetype i = 1; i < arguments.size(); ++i)
                if (!arguments[i].startsWith(QLatin1Char('-')))
                    paths << arguments[i];
            controller.applicationDidFinishLaunching(paths);
            rc = app.exec();
        }
    }

    Utils::alertHooks() = {};
    Prompts::install(nullptr);
    return rc;
}
