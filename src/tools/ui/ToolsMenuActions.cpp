#include "tools/ui/ToolsMenuActions.h"

#include "tools/ui/CalculateBirthDates.h"
#include "tools/ui/CalculateDeathDates.h"
#include "tools/ui/EventDatesEditor.h"
#include "tools/ui/EventEditorController.h"
#include "tools/ui/EventNamesEditor.h"
#include "tools/ui/EventPlacesEditor.h"
#include "tools/ui/EventPlacesFindAndReplace.h"
#include "tools/ui/FamilyNamesEditor.h"
#include "tools/ui/PersonalTextEditor.h"
#include "tools/ui/PlacesComboBox.h"
#include "tools/ui/ProjectViewsAddModDel.h"
#include "tools/ui/ProjectViewsCombine.h"
#include "tools/ui/PruneMinorDynasties.h"
#include "tools/ui/ScratchPadController.h"
#include "tools/ui/TodoAdd.h"
#include "tools/ui/TodoReview.h"

#include "diagrams/DiagramHooks.h"
#include "editor/ui/EditorHooks.h"

#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/ToolbarController.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/NotificationCenter.h"


namespace {
const QString kEvents = QStringLiteral("Events");
const QString kPeople = QStringLiteral("People");
const QString kProjectViews = QStringLiteral("Project Views");
const QString kToDo = QStringLiteral("To Do");
const QString kWindow = QStringLiteral("Window");

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

// The launch pattern on a given document (the toolbar's and the diagram's commands name theirs).
void beginOn(DOvurDocument* doc, QDialog* sheet)
{
    FTMoc* moc = doc->moc();
    doc->beginSheet(sheet, [moc](int) {
        NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), nullptr, moc);
    });
}

// The document of the command when it has a main window and no sheet, with editing ended and the database saved.
DOvurDocument* ready(DOvurDocument* doc)
{
    if (!doc || !doc->dovurWindow() || doc->hasAttachedSheet())
        return nullptr;
    doc->prepareForCommand();
    return doc;
}
}

void ToolsMenuActions::registerMenuItems(AppController& app)
{
    app.addMenuItem(kPeople, QStringLiteral("Edit Family Names..."), [] { editFamilyNames(); });
    app.addMenuItem(kEvents, QStringLiteral("Edit Event Places..."), [] { editEventPlaces(); });
    app.addMenuItem(kEvents, QStringLiteral("Find and Replace Event Places..."), [] { editEventPlacesFindAndReplace(); });
    app.addMenuItem(kEvents, QStringLiteral("Edit Event Names..."), [] { editEventNames(); });
    app.addMenuItem(kEvents, QStringLiteral("Edit Event Dates..."), [] { editEventDates(); });
    app.addMenuItem(kEvents, QStringLiteral("Calculate Birth Dates from Christenings and Baptisms..."),
        [] { calculateBirthsFromChristeningsOrBaptisms(); });
    app.addMenuItem(kEvents, QStringLiteral("Calculate Death Dates from Burials and Cremations..."),
        [] { calculateDeathsFromBurialsOrCremations(); });
    app.addMenuItem(kPeople, QStringLiteral("Edit Personal Comments..."), [] { editPersonalComments(); });
    app.addMenuItem(kPeople, QStringLiteral("Edit Personal Notes..."), [] { editPersonalNotes(); });
    app.addMenuItem(kPeople, QStringLiteral("Prune Minor Family Groups..."), [] { pruneMinorDynasties(); });
    app.addMenuItem(kProjectViews, QStringLiteral("Edit Project Views..."), [] { projectViewsEdit(); });
    app.addMenuItem(kProjectViews, QStringLiteral("Combine Project Views..."), [] { projectViewsCombine(); });
    app.addMenuItem(kToDo, QStringLiteral("Add To-Do Note..."), [] { todoAdd(); });
    app.addMenuItem(kToDo, QStringLiteral("Review To-Do Notes..."), [] { todoReview(); });
    app.addMenuItem(kWindow, QStringLiteral("Scratch Pad"), [] { displayScratchPad(); });
}

void ToolsMenuActions::install()
{
    // The tools' windows that other layers open.
    EditorHooks::shared().eventEditor
        = [](QWidget* window, FTManagedObject* owner, FTEvent* event, std::function<void()> didEnd) {
              EventEditorController::beginSheet(window, owner, event, std::move(didEnd));
          };
    EditorHooks::shared().placeField = [](QWidget* parent) -> PlaceField* { return new PlacesComboBox(parent); };
    ToolbarController::setItemHandler(ToolbarController::kProjectView, [](DOvurDocument& doc) {
        if (DOvurDocument* checked = ready(&doc))
            beginOn(checked, new ProjectViewsAddModDel(checked->moc()));
    });
    DiagramHooks& hooks = DiagramHooks::shared();
    hooks.todoAdd = [](FTPerson* person) { todoAddFor(person); };
    hooks.scratchPad = [](FTMoc* moc) { ScratchPadController::displayScratchPad(documentFor(moc)); };
}

DOvurDocument* ToolsMenuActions::documentFor(FTMoc* moc)
{
    if (!moc)
        return nullptr;
    for (DOvurDocument* doc : DocumentController::shared().documents())
        if (doc->moc() == moc)
            return doc;
    return nullptr;
}

void ToolsMenuActions::editPersonalComments() { launch<EditPersonalComments>(); }

void ToolsMenuActions::editPersonalNotes() { launch<EditPersonalNotes>(); }

void ToolsMenuActions::pruneMinorDynasties()
{
    if (DOvurDocument* doc = AppController::documentForCommand(true))
        beginOn(doc, new PruneMinorDynasties(doc->moc(), doc->fileURL()));
}

void ToolsMenuActions::projectViewsEdit() { launch<ProjectViewsAddModDel>(); }

void ToolsMenuActions::projectViewsCombine() { launch<ProjectViewsCombine>(); }

void ToolsMenuActions::todoAdd()
{
    DOvurDocument* doc = AppController::documentForCommand(true);
    if (FTPerson* person = doc ? doc->moc()->selectedPerson() : nullptr)
        beginOn(doc, new TodoAdd(person));
}

void ToolsMenuActions::todoAddFor(FTPerson* person)
{
    if (!person || person->isDeleted())
        return;
    if (DOvurDocument* doc = ready(documentFor(person->moc())))
        beginOn(doc, new TodoAdd(person));
}

void ToolsMenuActions::todoReview() { launch<TodoReview>(); }

void ToolsMenuActions::displayScratchPad()
{
    ScratchPadController::displayScratchPad(DocumentController::shared().currentDocument());
}

void ToolsMenuActions::editEventPlaces() { launch<EventPlacesEditor>(); }

void ToolsMenuActions::editEventPlacesFindAndReplace() { launch<EventPlacesFindAndReplace>(); }

void ToolsMenuActions::editEventNames() { launch<EventNamesEditor>(); }

void ToolsMenuActions::editFamilyNames() { launch<FamilyNamesEditor>(); }

void ToolsMenuActions::editEventDates() { launch<EventDatesEditor>(); }

void ToolsMenuActions::calculateBirthsFromChristeningsOrBaptisms() { launch<CalculateBirthDates>(); }

void ToolsMenuActions::calculateDeathsFromBurialsOrCremations() { launch<CalculateDeathDates>(); }
