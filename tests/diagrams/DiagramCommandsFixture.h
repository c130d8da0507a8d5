#pragma once

// The family diagram's commands over a small database: a host that stands in for the view, and the windows of
// other subsystems (DiagramHooks, RelativeDialogs) recorded as lines "<window> <names>" instead of opened.

#include "DiagramFixture.h"
#include "../model/RecordingRelativeDialogs.h"

#include "diagrams/DiagramHooks.h"
#include "diagrams/FamilyDiagramCommands.h"

#include "model/FTModelDefaults.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPicture.h"

// The view's side of the commands: the selection and focus go straight to the database.
struct RecordingHost : FamilyDiagramCommands::Host {
    FTMoc* database = nullptr;
    CdLayout* layout = nullptr;
    FTPerson* previous = nullptr;
    QList<FTMoc*> open;
    QList<FTEvent*> eventsShown;
    int refreshes = 0;

    FTMoc* moc() const override { return database; }
    CdLayout& cdLayout() override { return *layout; }
    void setSelectedPerson(FTPerson* p) override { database->setSelectedPerson(p); }
    void setFocalPerson(FTPerson* p) override { database->setFocalPerson(p); }
    void setRefreshArray(bool refresh) override { refreshes += refresh; }
    FTPerson* previousFocalPerson() override { return previous; }
    QList<FTMoc*> openDatabases() const override { return open.isEmpty() ? QList<FTMoc*> {database} : open; }
    void showEventInEditor(FTEvent* event) override { eventsShown << event; }
};

class DiagramCommandsFixture : public DiagramFixture {
protected:
    void SetUp() override
    {
        DiagramFixture::SetUp();
        moc->undoManager()->enableUndoRegistration();
        options.showGhostOutlines = true; // the empty slots of a spouse and a child
        host.database = moc.get();
        host.layout = &layout;
        savedHooks = DiagramHooks::shared();
        DiagramHooks::shared() = DiagramHooks();
        RelativeDialogs::install(&dialogs);
    }
    void TearDown() override
    {
        RelativeDialogs::install(nullptr);
        DiagramHooks::shared() = savedHooks;
        DiagramFixture::TearDown();
    }

    static QString nameOf(const FTPerson* p) { return RecordingDialogs::nameOf(p); }

    // Every window of DiagramHooks, each adding a line to `windows` when opened.
    void installWindows()
    {
        DiagramHooks& h = DiagramHooks::shared();
        auto one = [this](const char* window) {
            return [this, window](FTPerson* p) { windows << QStringLiteral("%1 %2").arg(window, nameOf(p)); };
        };
        auto ofDatabase = [this](const char* window) {
            return [this, window](FTMoc* m) { windows << QStringLiteral("%1 %2").arg(window, m->modelName()); };
        };
        h.pcRelTypeDialog = [this](FTPerson* a, FTPerson* b) { windows << "pcRelType " + nameOf(a) + " " + nameOf(b); };
        h.disconnectPerson = one("disconnect");
        h.associatedPersonDialog = [this](FTPerson* a, FTPerson* b) {
            windows << "association " + nameOf(a) + " " + nameOf(b);
        };
        h.addSameSexPartner = one("sameSexPartner");
        h.addAssociatedPerson = one("addAssociated");
        h.attachExistingPersonAsAssociatedPerson = one("attachAssociated");
        h.pictureEditor = [this](FTManagedObject* owner, FTPicture* picture) {
            windows << "pictureEditor " + nameOf(dynamic_cast<FTPerson*>(owner)) + " " + picture->name();
        };
        h.pictureTitle = [this](FTPicture*, FTPicture* picture, FTPerson* p) { windows << "pictureTitle " + picture->name() + " " + nameOf(p); };
        h.imagesOnClipboard = [this](FTMoc*) { return clipboardImages; };
        h.addPicturesFromClipboard = [this](FTPerson* p) {
            QList<FTPicture*> added;
            for (int i = 0; i < clipboardImages; ++i) {
                added << FTPicture::initInMoc(moc.get(), QString(), p);
                added.back()->setName(QStringLiteral("Pasted %1").arg(i + 1));
            }
            return added;
        };
        h.copyPersonFromOtherModel = [this](FTPerson* p, CdPerson* box, FTMoc* from, FTMoc* to) {
            windows << QStringLiteral("copy %1 %2 %3 %4").arg(nameOf(p)).arg(box->ancLevel()).arg(from->modelName(), to->modelName());
        };
        h.mergeSelectedPersonFromAnotherDatabase = one("merge");
        h.sourcesWindow = ofDatabase("sources");
        h.todoAdd = one("todo");
        h.scratchPad = ofDatabase("scratchPad");
        h.peopleIndex = ofDatabase("peopleIndex");
        h.preferences = [this] { windows << "preferences"; };
        h.hierarchyDiagram = [this](FTPerson* p, bool ancestors) {
            windows << QStringLiteral("hierarchy %1 %2").arg(nameOf(p)).arg(ancestors);
        };
        h.saveDiagram = ofDatabase("saveDiagram");
    }

    QString undoName() const { return moc->undoManager()->undoActionName(); }

    RecordingHost host;
    FamilyDiagramCommands commands {host};
    RecordingDialogs dialogs;
    DiagramHooks savedHooks;
    QStringList windows;
    int clipboardImages = 0;
};
