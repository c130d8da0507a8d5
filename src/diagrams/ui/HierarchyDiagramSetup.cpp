#include "diagrams/ui/HierarchyDiagramSetup.h"

#include "diagrams/DiagramHooks.h"
#include "diagrams/ui/HierarchyDiagram.h"

#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/ToolbarController.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

namespace {
// The chart menu items save first, without ending the editing in the main window.
void chart(bool ancestors)
{
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    if (!doc || !doc->dovurWindow())
        return;
    doc->moc()->saveMoc();
    HierarchyDiagram::invokeHierarchyDiagramFor(*doc, doc->moc()->selectedPerson(), ancestors);
}
}

void installHierarchyDiagram(AppController& app)
{
    for (const bool ancestors : { true, false })
        ToolbarController::setItemHandler(ancestors ? ToolbarController::kAncestors : ToolbarController::kDescendants,
            [ancestors](DOvurDocument& doc) {
                HierarchyDiagram::invokeHierarchyDiagramFor(doc, doc.moc()->selectedPerson(), ancestors);
            });
    const QString reports = QStringLiteral("Reports");
    app.addMenuItem(reports, QStringLiteral("Ancestors Chart"), [] { chart(true); });
    app.addMenuItem(reports, QStringLiteral("Descendants Chart"), [] { chart(false); });
    DiagramHooks::shared().hierarchyDiagram = [](FTPerson* person, bool ancestors) {
        for (DOvurDocument* doc : DocumentController::shared().documents())
            if (person && doc->moc() == person->moc()) {
                HierarchyDiagram::invokeHierarchyDiagramFor(*doc, person, ancestors);
                return;
            }
    };
}
