#include "tools/ui/ToolsMenuActions.h"

#include "tools/ui/EventNamesEditor.h"
#include "tools/ui/EventPlacesEditor.h"
#include "tools/ui/EventPlacesFindAndReplace.h"
#include "tools/ui/FamilyNamesEditor.h"

#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"

#include "model/FTMoc.h"

#include "platform/NotificationCenter.h"


namespace {
const QString kEvents = QStringLiteral("Events");
const QString kPeople = QStringLiteral("People");

// The launch pattern of every editor here: the front database's window, editing ended and the database saved, the
// editor as a sheet whose end refreshes every view of that database.
template <class Editor> void launch()
{
    DOvurDocument* doc = AppController::documentForCommand(true);
    if (!doc)
        return;
    FTMoc* moc = doc->moc();
    doc->beginSheet(new Editor(moc), [moc](int) {
        NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, moc);
    });
}
}

void ToolsMenuActions::registerMenuItems(AppController& app)
{
    app.addMenuItem(kPeople, QStringLiteral("Edit Family Names..."), [] { editFamilyNames(); });
    app.addMenuItem(kEvents, QStringLiteral("Edit Event Places..."), [] { editEventPlaces(); });
    app.addMenuItem(kEvents, QStringLiteral("Find and Replace Event Places..."), [] { editEventPlacesFindAndReplace(); });
    app.addMenuItem(kEvents, QStringLiteral("Edit Event Names..."), [] { editEventNames(); });
}

void ToolsMenuActions::install()
{
    // The tools' windows that other layers open are installed here as they are built.
}

void ToolsMenuActions::editEventPlaces() { launch<EventPlacesEditor>(); }

void ToolsMenuActions::editEventPlacesFindAndReplace() { launch<EventPlacesFindAndReplace>(); }

void ToolsMenuActions::editEventNames() { launch<EventNamesEditor>(); }

void ToolsMenuActions::editFamilyNames() { launch<FamilyNamesEditor>(); }
