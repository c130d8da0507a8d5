#include "pictures/ui/PicturesMenuActions.h"

#include "pictures/ui/DefaultImage.h"
#include "pictures/ui/ExportPictureFiles.h"
#include "pictures/ui/ImportPictureFiles.h"
#include "pictures/ui/MoveThumbnails.h"
#include "pictures/ui/PictureController.h"
#include "pictures/ui/SelectPictureTitle.h"
#include "pictures/ui/SourcePictureArea.h"
#include "pictures/ui/TranscriptionController.h"

#include "pictures/PictureIntake.h"

#include "editor/ui/EditorHooks.h"
#include "gedcom/ui/GedcomMenuActions.h"
#include "sources/ui/SourcesAddModDel.h"

#include "diagrams/DiagramHooks.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/ModelHooks.h"

#include "shell/ui/AppController.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"

#include "platform/NotificationCenter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMimeData>
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

// The family diagram takes pasted and dropped pictures in through the intake.
void installDiagramIntake(DiagramHooks& hooks)
{
    hooks.imagesOnClipboard = [](FTMoc* moc) {
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        return mime ? PictureIntake::numImageFilesInPasteboard(*mime, moc) : 0;
    };
    hooks.addPicturesFromClipboard = [](FTPerson* person) {
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        return mime ? PictureIntake::addPicturesFromPasteboard(*mime, person).value_or(QList<FTPicture*>())
                    : QList<FTPicture*>();
    };
    hooks.imagesInDrag = [](const QMimeData& mime, FTMoc* moc) {
        return PictureIntake::numImageFilesInPasteboard(mime, moc);
    };
    hooks.addPicturesFromDrag = [](const QMimeData& mime, FTPerson* person) {
        return PictureIntake::addPicturesFromPasteboard(mime, person).value_or(QList<FTPicture*>());
    };
}

DOvurDocument* documentWithWindow()
{
    DOvurDocument* doc = DocumentController::shared().currentDocument();
    return doc && doc->dovurWindow() && doc->moc() ? doc : nullptr;
}

// The main window of the database a record belongs to.
QWidget* windowFor(const FTManagedObject* record)
{
    for (DOvurDocument* doc : DocumentController::shared().documents())
        if (record && doc->moc() == record->moc())
            return doc->dovurWindow();
    return nullptr;
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
    installDiagramIntake(DiagramHooks::shared());
    ModelHooks::shared().moveThumbnails = [](FTMoc& moc, const QList<FTPicture*>& pictures) {
        MoveThumbnails::run(moc, pictures);
    };
    // After a GEDCOM import the window matches the files of the pictures the file named; a file that named none
    // leaves nothing to match.
    GedcomMenuActions::pictureSteps().importPictures = [](DOvurDocument& doc) {
        if (doc.moc() && doc.moc()->fetchFirst<FTPicture>())
            beginImportSheet(doc);
    };
    GedcomMenuActions::pictureSteps().exportPictures = beginExportSheet;
    // The person editor's pictures page takes pasted and dropped pictures in through the intake.
    EditorHooks::shared().imagesInPasteboard = PictureIntake::numImageFilesInPasteboard;
    EditorHooks::shared().addPicturesFromPasteboard = PictureIntake::addPicturesFromPasteboard;
    // The picture editor and the default picture of the person editor's pages.
    EditorHooks::shared().pictureEditor = [](QWidget* window, FTManagedObject* owner, FTPicture* picture,
                                              std::function<void(FTPicture*, bool)> didEnd) {
        PictureController::beginSheet(window, owner, picture, std::move(didEnd));
    };
    EditorHooks::shared().defaultPictureView = [](QWidget* parent) { return new DefaultImage(parent); };
    // The transcription window of the pictures page, and the sources editor's picture well.
    EditorHooks::shared().transcription
        = [](QWidget* window, FTPicture* picture, FTManagedObject* owner, std::function<void()> didEnd) {
              TranscriptionController::beginSheet(window, picture, owner, std::move(didEnd));
          };
    SourcesAddModDel::setPictureWellFactory([](SourcesAddModDel& editor) { return new SourcePictureArea(editor); });
    // The family diagram's picture editor and the title of a picture pasted onto a person.
    DiagramHooks::shared().pictureEditor = [](FTManagedObject* owner, FTPicture* picture) {
        PictureController::beginSheet(windowFor(owner), owner, picture, [owner](FTPicture*, bool changed) {
            if (changed && owner && owner->moc())
                NotificationCenter::defaultCenter().post(QStringLiteral("RefreshAllViews"), owner, owner->moc());
        });
    };
    DiagramHooks::shared().pictureTitle = [](FTPicture* dragged, FTPicture* added, FTPerson* person) {
        SelectPictureTitle::run(dragged, added, person, windowFor(person));
    };
}

void PicturesMenuActions::uninstall()
{
    DiagramHooks& hooks = DiagramHooks::shared();
    hooks.imagesOnClipboard = nullptr;
    hooks.addPicturesFromClipboard = nullptr;
    hooks.imagesInDrag = nullptr;
    hooks.addPicturesFromDrag = nullptr;
    ModelHooks::shared().moveThumbnails = nullptr;
    GedcomMenuActions::pictureSteps() = {};
    EditorHooks::shared().imagesInPasteboard = nullptr;
    EditorHooks::shared().addPicturesFromPasteboard = nullptr;
    EditorHooks::shared().pictureEditor = nullptr;
    EditorHooks::shared().defaultPictureView = nullptr;
    EditorHooks::shared().transcription = nullptr;
    SourcesAddModDel::setPictureWellFactory(nullptr);
    DiagramHooks::shared().pictureEditor = nullptr;
    DiagramHooks::shared().pictureTitle = nullptr;
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
