#include "shell/ui/AppController.h"

#include "shell/AlertHooks.h"
#include "shell/AppStartup.h"
#include "shell/DisplayMsg.h"
#include "shell/FirstRunDefaults.h"
#include "shell/Utils.h"
#include "shell/ui/AppControllerPrivate.h"
#include "shell/ui/CreateEventTypeIndex.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/NewModelController.h"
#include "shell/ui/NoDatabaseWindow.h"

#include "model/FTMocUndoManager.h"
#include "model/ModelHooks.h"

#include "platform/FTLog.h"
#include "platform/NotificationCenter.h"

#include <QApplication>
#include <QFileDialog>
#include <QPointer>

namespace {
AppController* g_shared = nullptr;
const QString kMigrateDatabase = QStringLiteral("MigrateDatabase");
}

AppController::AppController()
    : d(std::make_unique<Private>())
{
    g_shared = this;
    d->panels.openDatabase = [] {
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), QStringLiteral("Open"),
                                            Utils::KinloomDataDirectory(),
                                            QStringLiteral("Kinloom databases (*.RezUdu *.rezudu *.REZUDU)"));
    };
    d->panels.chooseFolder = [](const QString& start) {
        return QFileDialog::getExistingDirectory(
            QApplication::activeWindow(), QStringLiteral("Move the KinloomData folder to ..."), start);
    };
    d->panels.newDatabase = [](QString* modelName, QString* personName, QString* gender) {
        NewModelController dialog(QApplication::activeWindow());
        if (dialog.exec() != QDialog::Accepted)
            return false;
        *modelName = dialog.modelName();
        *personName = dialog.name().trimmed();
        *gender = dialog.gender();
        return true;
    };
}

AppController::~AppController()
{
    d->terminating = true;
    DocumentController& documents = DocumentController::shared();
    documents.documentsChanged = nullptr;
    documents.closeAllDocuments();
    delete d->noDatabaseWindow.data();
    NotificationCenter::defaultCenter().removeObserversOf(this);
    ModelHooks& hooks = ModelHooks::shared();
    hooks.currentDocumentMoc = nullptr;
    hooks.createEventTypeIndex = nullptr;
    hooks.terminate = nullptr;
    Utils::alertHooks().terminate = nullptr;
    Utils::alertHooks().currentDocument = nullptr;
    if (g_shared == this)
        g_shared = nullptr;
}

AppController* AppController::shared()
{
    return g_shared;
}

DocumentController& AppController::docController() const
{
    return DocumentController::shared();
}

AppController::Panels& AppController::panels()
{
    return d->panels;
}

bool AppController::awakeFromNib()
{
    if (!Utils::OSX10Point4OrLater()) {
        DisplayMsg(QStringLiteral("System Version = %1\n\nThis version of Kinloom cannot run on this system. Please "
                                  "contact us for the latest version")
                       .arg(Utils::systemVersionString()));
        return false;
    }
    docController().documentsChanged = [this] { updateNoDatabaseWindow(); };
    AppStartup::ensureDatabaseExists();
    FirstRunDefaults::initialiseUserDefaults();
    NotificationCenter::defaultCenter().addObserver(
        kMigrateDatabase, nullptr,
        [this](const Notification& n) { migrateDatabase(n.userInfo.value(QStringLiteral("path")).toString()); }, this);

    ModelHooks& hooks = ModelHooks::shared();
    hooks.currentDocumentMoc = [] {
        DOvurDocument* doc = DocumentController::shared().currentDocument();
        return doc ? doc->moc() : nullptr;
    };
    hooks.terminate = [this] { terminateAfterFailure(); };
    CreateEventTypeIndex::install();
    Utils::alertHooks().terminate = [this] { terminateAfterFailure(); };
    Utils::alertHooks().currentDocument = []() -> std::optional<Utils::ExceptionDocumentInfo> {
        DOvurDocument* doc = DocumentController::shared().currentDocument();
        if (!doc || !doc->moc())
            return std::nullopt;
        Utils::ExceptionDocumentInfo info;
        info.databaseName = doc->modelName();
        info.recentActions = doc->moc()->undoManager()->undoActionsArray();
        info.lastRefresh = doc->moc()->lastRefreshDate();
        info.sessionStart = doc->moc()->sessionStartDate();
        return info;
    };
    return true;
}

NoDatabaseWindow* AppController::noDatabaseWindow() const
{
    return d->noDatabaseWindow.data();
}

void AppController::updateNoDatabaseWindow()
{
    const bool none = docController().documents().isEmpty();
    if (none && !d->terminating) {
        if (!d->noDatabaseWindow)
            d->noDatabaseWindow = new NoDatabaseWindow;
        d->noDatabaseWindow->show();
        d->noDatabaseWindow->raise();
    } else if (d->noDatabaseWindow) {
        d->noDatabaseWindow->hide();
        d->noDatabaseWindow->deleteLater();
        d->noDatabaseWindow = nullptr;
    }
}

bool AppController::applicationShouldTerminate()
{
    DocumentController& documents = docController();
    if (DOvurDocument* front = documents.currentDocument())
        front->saveFrame();
    const QList<DOvurDocument*> open = documents.documents();
    for (DOvurDocument* doc : open) {
        FTMoc* moc = doc->moc();
        if (!moc)
            continue;
        if (!doc->endEditingForClose()) {
            FTLog(QStringLiteral("Quit cancelled: %1 keeps the person being entered").arg(doc->modelName()));
            for (DOvurDocument* answered : open)
                answered->keepChanges();
            return false;
        }
        moc->saveRecentSources();
        moc->savePlaces();
        // A database whose changes cannot be saved asks; cancelling there keeps the program running, and a
        // "Close Without Saving" given to another database during this quit no longer holds: that database
        // stays open and must save (or ask) when it next closes.
        if (doc->saveOrAskToDiscard() == DOvurDocument::UnsavedChanges::Cancel) {
            FTLog(QStringLiteral("Quit cancelled: %1 could not be saved").arg(doc->modelName()));
            for (DOvurDocument* answered : open)
                answered->keepChanges();
            return false;
        }
    }
    return true;
}

bool AppController::terminate()
{
    if (d->terminating)
        return true;
    // A disc being written would be spoilt: the program goes on until the writing ends.
    if (bBurning) {
        FTLog(QStringLiteral("Quit refused: a disc is being written"));
        return false;
    }
    // A sheet open in any database's window holds work not stored yet (a transcription, a picture's notes), and
    // only the front window's sheet disables the menu item: that window comes to the front and the program goes on.
    for (DOvurDocument* doc : docController().documents())
        if (doc->hasAttachedSheet()) {
            FTLog(QStringLiteral("Quit refused: %1 has a sheet open").arg(doc->modelName()));
            if (QWidget* window = doc->dovurWindow()) {
                window->raise();
                window->activateWindow();
            }
            return false;
        }
    if (!applicationShouldTerminate())
        return false;
    d->terminating = true;
    docController().closeAllDocuments();
    if (d->noDatabaseWindow) {
        d->noDatabaseWindow->hide();
        d->noDatabaseWindow->deleteLater();
    }
    QCoreApplication::quit();
    return true;
}

void AppController::terminateAfterFailure()
{
    d->terminating = true;
    for (DOvurDocument* doc : docController().documents())
        if (QWidget* window = doc->dovurWindow())
            window->hide();
    QCoreApplication::exit(1);
}
