#include "pictures/ui/PicturesMenuActions.h"

#include "pictures/ui/ExportPictureFiles.h"
#include "pictures/ui/ImportPictureFiles.h"
#include "pictures/ui/MoveThumbnails.h"

#include "pictures/PictureIntake.h"

#include "editor/ui/EditorHooks.h"
#include "gedcom/ui/GedcomMenuActions.h"

#include "model/FTMoc.h"
#include "model/ModelHooks.h"

#include "shell/AppController.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include <QPointer>

namespace {
void beginImportSheet(DOvurDocument& doc)
{
    doc.endEditing();
    // A failed save is reported by the context itself.
    doc.moc()->saveMoc();
    auto* sheet = new ImportPictureFiles(doc.moc());
    QPointer<DOvurDocument> document(&doc);
    QObject::connect(sheet, &QDialog::finished, sheet, [document] {
        if (document && document->moc())
            document->moc()->saveMoc();
    });
    doc.beginSheet(sheet);
}

void beginExportSheet(DOvurDocument& doc, const QList<FTPicture*>& pictures)
{
    doc.endEditing();
    doc.beginSheet(new ExportPictureFiles(doc.moc(), pictures));
}

DOvurDocument* documentWithWindow()
{
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    return doc && doc->dovurWindow() && doc->moc() ? doc : nullptr;
}
}

void PicturesMenuActions::registerMenuItems(AppController& app)
{
    const QString file = QStringLiteral("File");
    app.addMenuItem(file, QStringLiteral("Import Pictures..."), [] { importPictures(); });
    app.addMenuItem(file, QStringLiteral("Export Pictures..."), [] { exportPictures(); });
}

void PicturesMenuActions::install()
{
    ModelHooks::shared().moveThumbnails = [](FTMoc& moc, const QList<FTPicture*>& pictures) {
        MoveThumbnails::run(moc, pictures);
    };
    GedcomMenuActions::pictureSteps().importPictures = beginImportSheet;
    GedcomMenuActions::pictureSteps().exportPictures = beginExportSheet;
    // The person editor's pictures page takes pasted and dropped pictures in through the intake.
    EditorHooks::shared().imagesInPasteboard = PictureIntake::numImageFilesInPasteboard;
    EditorHooks::shared().addPicturesFromPasteboard = PictureIntake::addPicturesFromPasteboard;
}

void PicturesMenuActions::uninstall()
{
    ModelHooks::shared().moveThumbnails = nullptr;
    GedcomMenuActions::pictureSteps() = {};
    EditorHooks::shared().imagesInPasteboard = nullptr;
    EditorHooks::shared().addPicturesFromPasteboard = nullptr;
}

void PicturesMenuActions::importPictures()
{
    if (DOvurDocument* doc = documentWithWindow())
        beginImportSheet(*doc);
}

void PicturesMenuActions::exportPictures(const QList<FTPicture*>& pictures)
{
    if (DOvurDocument* doc = documentWithWindow())
        beginExportSheet(*doc, pictures);
}
