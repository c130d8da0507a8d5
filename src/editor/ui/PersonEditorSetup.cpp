#include "editor/ui/PersonEditorSetup.h"

#include "editor/ui/InfoAreaController.h"
#include "editor/ui/InfoArea_Events.h"
#include "editor/ui/InfoArea_Notes.h"
#include "editor/ui/InfoArea_Self.h"
#include "editor/ui/InfoArea_Story.h"
#include "editor/ui/NotesDialog.h"

#include "diagrams/DiagramHooks.h"

#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include "model/ModelHooks.h"

#include <QApplication>

void installPersonEditor()
{
    // One line per page.
    InfoAreaController::setPageFactory(QStringLiteral("pSelf"), [](InfoAreaController&) { return new InfoArea_Self; });
    InfoAreaController::setPageFactory(QStringLiteral("pNotes"), [](InfoAreaController&) { return new InfoArea_Notes; });
    InfoAreaController::setPageFactory(QStringLiteral("pComments"),
                                       [](InfoAreaController&) { return new InfoArea_Comments; });
    InfoAreaController::setPageFactory(QStringLiteral("pStory"), [](InfoAreaController&) { return new InfoArea_Story; });
    InfoAreaController::setPageFactory(QStringLiteral("pEvents"), [](InfoAreaController&) { return new InfoArea_Events; });

    DOvurDocument::setPersonEditorFactory([](DOvurDocument&) { return new InfoAreaController; });
    ModelHooks::shared().personEditorPage = [] {
        DOvurDocument* doc = DocumentController::shared().currentDocument();
        auto* editor = doc ? qobject_cast<InfoAreaController*>(doc->pInfoArea()) : nullptr;
        return editor ? editor->visiblePageIdentifier() : QString();
    };
    // The notes dialog of the hierarchy diagram's details window.
    DiagramHooks::shared().notesDialog = [](FTPerson* person, const QString& initialTab) {
        NotesDialog dialog;
        dialog.setOwner(person, initialTab, false);
        dialog.present(NotesWindow::Modal, QApplication::activeWindow());
    };
}
