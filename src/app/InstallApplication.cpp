#include "app/InstallApplication.h"

#include "gedcom/ui/GedcomMenuActions.h"
#include "merge/ui/MergeMenuActions.h"
#include "pictures/ui/PicturesMenuActions.h"
#include "publishing/ui/PublishingMenuActions.h"
#include "reports/ui/ReportsMenuActions.h"
#include "sources/ui/SourceCitingSetup.h"
#include "sources/ui/SourcesMenuActions.h"
#include "tools/ui/ToolsMenuActions.h"

#include "diagrams/DiagramHooks.h"
#include "diagrams/ui/FamilyDiagramSetup.h"
#include "diagrams/ui/HierarchyDiagramSetup.h"
#include "editor/ui/PersonEditorSetup.h"

#include "editor/ui/EditorHooks.h"

#include "shell/AlertHooks.h"
#include "shell/ModelHooksSetup.h"
#include "shell/Utils.h"
#include "shell/ui/AppController.h"
#include "shell/ui/PreferencesController.h"

#include <QApplication>

void installApplication(AppController& controller)
{
    Utils::alertHooks().beep = [] { QApplication::beep(); };
    installModelHooks();

    // The family diagram in every main window.
    installFamilyDiagram();
    // The person editor beside it, and the dialogs that type, complete and attach relatives.
    installPersonEditor();
    installRelationshipDialogs();

    // The Reports menu's reports first, then those of the other windows.
    ReportsMenuActions::registerMenuItems(controller);
    // The hierarchy page's Print Report.
    ReportsMenuActions::install();
    GedcomMenuActions::registerMenuItems(controller);
    PicturesMenuActions::registerMenuItems(controller);
    // Also the intake of the pictures pasted or dropped on the family diagram.
    PicturesMenuActions::install();
    SourcesMenuActions::registerMenuItems(controller);
    // The calendar and contact-card exports; the map window of an event's place.
    PublishingMenuActions::registerMenuItems(controller);
    PublishingMenuActions::install();
    registerPersonEditorMenuItems(controller);
    // The database-wide editors: places, event names, family names.
    ToolsMenuActions::registerMenuItems(controller);
    ToolsMenuActions::install();
    // Citation sheets, the citations page, the toolbar's menu of sources and its active source panel.
    installSourceCiting();
    // Edit > "Preferences..." and the toolbar's Preferences item; the family diagram's menu opens the same window.
    PreferencesController::install(controller);
    DiagramHooks::shared().preferences = [] { PreferencesController::setUserPreferences(); };
    // Citing with no active source from the family diagram offers the sources window of that database.
    DiagramHooks::shared().sourcesWindow = [](FTMoc* moc) { SourcesMenuActions::sourcesAddModDel(moc, nullptr); };
    // Merge > Compare and Merge... and the merge windows other subsystems open.
    MergeMenuActions::registerMenuItems(controller);
    MergeMenuActions::install();
    // The hierarchy diagram from the toolbar, the Reports menu and the family diagram.
    installHierarchyDiagram(controller);
    // The hierarchy page's chart button opens the same window.
    EditorHooks::shared().hierarchyWindow = [](FTPerson* person, bool ancestors) {
        DiagramHooks::shared().hierarchyDiagram(person, ancestors);
    };
}
