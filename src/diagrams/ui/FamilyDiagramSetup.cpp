#include "diagrams/ui/FamilyDiagramSetup.h"

#include "diagrams/DiagramHooks.h"
#include "diagrams/ui/CdDiagram.h"
#include "diagrams/ui/DiagramColours.h"
#include "diagrams/ui/SaveDiagramToFile.h"

#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/PreferencesController.h"
#include "shell/ui/ToolbarController.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QFontDialog>
#include <QMainWindow>

namespace {
// The fonts item: the font dialog on the diagram's font; the diagram takes the font chosen.
void showFontsPanel(DOvurDocument& document)
{
    FamilyDiagramPane* pcd = document.pcd();
    if (!pcd)
        return;
    pcd->setFocus();
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, UserDefaults::standard().fontForKey(QStringLiteral("cdFont")),
                                            document.dovurWindow(), LocalizedString(QStringLiteral("DiagramFontTitle")));
    if (chosen && document.pcd())
        document.pcd()->setCdFont(font);
}
}

void installFamilyDiagram()
{
    DOvurDocument::setDiagramFactory([](DOvurDocument& document) { return new CdDiagram(&document); });
    ToolbarController::setItemHandler(ToolbarController::kPrint, SaveDiagramToFile::saveDiagramToFile);
    ToolbarController::setItemHandler(ToolbarController::kShowColours, [](DOvurDocument& document) {
        if (document.pcd())
            DiagramColours::showColoursPanel(*document.pcd(), document.dovurWindow());
    });
    ToolbarController::setItemHandler(ToolbarController::kShowFonts, showFontsPanel);
    PreferencesController::setDiagramColoursHandler(DiagramColours::showColoursPanel);
    DiagramHooks::shared().saveDiagram = [](FTMoc* moc) {
        for (DOvurDocument* document : DocumentController::shared().documents())
            if (moc && document->moc() == moc) {
                SaveDiagramToFile::saveDiagramToFile(*document);
                return;
            }
    };
}

void uninstallFamilyDiagram()
{
    DOvurDocument::setDiagramFactory({});
    for (const QString& item : {ToolbarController::kPrint, ToolbarController::kShowColours, ToolbarController::kShowFonts})
        ToolbarController::setItemHandler(item, {});
    PreferencesController::setDiagramColoursHandler({});
    DiagramHooks::shared().saveDiagram = nullptr;
}
