#include "gedcom/ui/GedcomMenuActions.h"

#include "gedcom/ExportPersonPlusAllRels.h"
#include "gedcom/ExportToGedcom.h"
#include "gedcom/ui/ExportPersonPlusAllRelsController.h"
#include "gedcom/ui/ExportPersonPlusAncestorsController.h"
#include "gedcom/ui/ExportPersonPlusDescendantsController.h"
#include "gedcom/ui/ExportToGedcomController.h"
#include "gedcom/ui/ImportGedcom.h"

#include "diagrams/DiagramPeople.h"
#include "diagrams/ui/CdDiagram.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "shell/DisplayMsg.h"
#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include "platform/Localizer.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

namespace {
// The export sheet; once it has ended, the files of the pictures the GEDCOM file names may be exported beside it.
void beginExportSheet(DOvurDocument* doc, std::unique_ptr<ExportToGedcom> exporter)
{
    auto* sheet = new ExportToGedcomController(std::move(exporter));
    QPointer<DOvurDocument> document(doc);
    QObject::connect(sheet, &QDialog::finished, sheet, [sheet, document] {
        const QList<FTPicture*> pictures = sheet->exporter().exportedPicturesArray();
        if (pictures.isEmpty() || !GedcomMenuActions::pictureSteps().exportPictures)
            return;
        QTimer::singleShot(0, [document, pictures] {
            if (document && document->dovurWindow())
                GedcomMenuActions::pictureSteps().exportPictures(*document, pictures);
        });
    });
    doc->beginSheet(sheet);
}

FTPerson* focalPersonOf(DOvurDocument* doc)
{
    FTPerson* focal = doc->moc()->focalPerson();
    if (!focal)
        DisplayMsg(LocalizedString(QStringLiteral("NoFocalPerson")));
    return focal;
}
}

GedcomMenuActions::PictureSteps& GedcomMenuActions::pictureSteps()
{
    static PictureSteps steps;
    return steps;
}

void GedcomMenuActions::registerMenuItems(AppController& app)
{
    const QString file = QStringLiteral("File");
    app.addMenuItem(file, QStringLiteral("Import Gedcom..."), [] { loadGedcomFile(); });
    app.addMenuItem(file, QStringLiteral("Export to Gedcom File..."), [] { exportToGedcomFile(); });
    app.addMenuItem(file, QStringLiteral("Export Diagram's People to Gedcom File..."),
        [] { exportSelectionToGedcomFile(false); });
    app.addMenuItem(file,
        QStringLiteral("Export Diagram's People plus %1 to Gedcom File...")
            .arg(LocalizedString(QStringLiteral("AllSpouses"))),
        [] { exportSelectionToGedcomFile(true); });
    app.addMenuItem(file, QStringLiteral("Export Focal Person plus Ancestors to Gedcom File..."),
        [] { exportFocalPersonPlusAncestorsToGedcomFile(); });
    app.addMenuItem(file, QStringLiteral("Export Focal Person plus Descendants to Gedcom File..."),
        [] { exportFocalPersonPlusDescendantsToGedcomFile(); });
    app.addMenuItem(file, QStringLiteral("Export Focal Person plus All Relatives to Gedcom File..."),
        [] { exportFocalPersonPlusAllRelsToGedcomFile(); });
    app.addMenuItem(
        QStringLiteral("Reports"), QStringLiteral("Dynasties Report..."), [] { generateDynastiesReport(); });
}

void GedcomMenuActions::loadGedcomFile()
{
    DisplayMsg(LocalizedString(QStringLiteral("ExportGedInfo")));
    QString databaseFilename;
    {
        ImportGedcom dialog;
        dialog.exec();
        if (dialog.importSucceeded())
            databaseFilename = dialog.databaseFilename();
    }
    if (databaseFilename.isEmpty())
        return;
    DOvurDocument* doc = nullptr;
    if (AppController* app = AppController::shared())
        doc = app->openDocumentWithContentsOfURL(databaseFilename);
    else
        doc = DocumentController::shared().openDocumentWithContentsOfURL(databaseFilename, true);
    // The files of the pictures the GEDCOM file named are matched next, on the new database's window.
    if (doc && doc->dovurWindow() && pictureSteps().importPictures)
        pictureSteps().importPictures(*doc);
}

void GedcomMenuActions::exportToGedcomFile()
{
    DOvurDocument* doc = AppController::documentForCommand(true);
    if (!doc)
        return;
    beginExportSheet(doc, ExportToGedcomController::wholeDatabase(doc->moc()));
}

void GedcomMenuActions::exportSelectionToGedcomFile(bool allSpouses)
{
    DOvurDocument* doc = AppController::documentForCommand(true);
    if (!doc)
        return;
    auto* diagram = qobject_cast<CdDiagram*>(doc->pcd());
    // The boxes as they are about to be drawn, not as they were before the last change.
    if (diagram)
        diagram->prepare();
    auto exporter = std::make_unique<ExportToGedcom>(doc->moc());
    exporter->setSelectiveExport(true);
    exporter->setSetOfPeopleToExport(
        diagram ? DiagramPeople::peopleToExport(diagram->cdLayout(), allSpouses) : QSet<FTPerson*>());
    beginExportSheet(doc, std::move(exporter));
}

void GedcomMenuActions::exportFocalPersonPlusAncestorsToGedcomFile()
{
    DOvurDocument* doc = AppController::documentForCommand(false);
    if (!doc)
        return;
    if (FTPerson* focal = focalPersonOf(doc))
        doc->beginSheet(new ExportPersonPlusAncestorsController(focal));
}

void GedcomMenuActions::exportFocalPersonPlusDescendantsToGedcomFile()
{
    DOvurDocument* doc = AppController::documentForCommand(false);
    if (!doc)
        return;
    if (FTPerson* focal = focalPersonOf(doc))
        doc->beginSheet(new ExportPersonPlusDescendantsController(focal));
}

void GedcomMenuActions::exportFocalPersonPlusAllRelsToGedcomFile()
{
    DOvurDocument* doc = AppController::documentForCommand(false);
    if (!doc)
        return;
    if (FTPerson* focal = focalPersonOf(doc))
        doc->beginSheet(new ExportPersonPlusAllRelsController(
            doc->moc(), focal, ExportPersonPlusAllRels::kExportPersonPlusAllRels));
}

void GedcomMenuActions::generateDynastiesReport()
{
    DOvurDocument* doc = AppController::documentForCommand(false);
    if (!doc)
        return;
    if (FTPerson* focal = focalPersonOf(doc))
        doc->beginSheet(
            new ExportPersonPlusAllRelsController(doc->moc(), focal, ExportPersonPlusAllRels::kDynastiesReport));
}
