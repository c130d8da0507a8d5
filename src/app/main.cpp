#include "gedcom/ui/GedcomMenuActions.h"
#include "pictures/ui/PicturesMenuActions.h"

#include "diagrams/ui/FamilyDiagramSetup.h"
#include "editor/ui/PersonEditorSetup.h"

#include "platform/Prompts.h"
#include "platform/ui/QtPrompts.h"
#include "shell/AlertHooks.h"
#include "shell/AppController.h"
#include "shell/ModelHooksSetup.h"
#include "shell/Utils.h"
#include "shell/ui/DOvurApplication.h"

#include <QStringList>

int main(int argc, char** argv)
{
    DOvurApplication app(argc, argv);

    QtPrompts prompts;
    Prompts::install(&prompts);
    Utils::alertHooks().beep = [] { QApplication::beep(); };
    installModelHooks();

    // The family diagram in every main window.
    installFamilyDiagram();
    // The person editor beside it.
    installPersonEditor();

    int rc = 1;
    {
        AppController controller;
        GedcomMenuActions::registerMenuItems(controller);
        PicturesMenuActions::registerMenuItems(controller);
        PicturesMenuActions::install();
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
