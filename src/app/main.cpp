#include "gedcom/ui/GedcomMenuActions.h"
#include "pictures/ui/PicturesMenuActions.h"
#include "sources/ui/SourceCitingSetup.h"
#include "sources/ui/SourcesMenuActions.h"

#include "diagrams/ui/FamilyDiagramSetup.h"
#include "diagrams/ui/HierarchyDiagramSetup.h"
#include "editor/ui/PersonEditorSetup.h"

#include "platform/Prompts.h"
#include "platform/ui/QtPrompts.h"
#include "shell/AlertHooks.h"
#include "shell/ModelHooksSetup.h"
#include "shell/Utils.h"
#include "shell/ui/AppController.h"
#include "shell/ui/DOvurApplication.h"
#include "shell/ui/PreferencesController.h"

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
    // The person editor beside it, and the dialogs that type, complete and attach relatives.
    installPersonEditor();
    installRelationshipDialogs();

    int rc = 1;
    {
        AppController controller;
        GedcomMenuActions::registerMenuItems(controller);
        PicturesMenuActions::registerMenuItems(controller);
        // Also the intake of the pictures pasted or dropped on the family diagram.
        PicturesMenuActions::install();
        SourcesMenuActions::registerMenuItems(controller);
        registerPersonEditorMenuItems(controller);
        // Citation sheets, the citations page, the toolbar's menu of sources and its active source panel.
        installSourceCiting();
        // Edit > "Preferences..." and the toolbar's Preferences item.
        PreferencesController::install(controller);
        // The hierarchy diagram from the toolbar, the Reports menu and the family diagram.
        installHierarchyDiagram(controller);
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
