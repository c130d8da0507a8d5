#include "shell/ui/AppController.h"

#include "shell/AppStartup.h"
#include "shell/DisplayMsg.h"
#include "shell/RecentDocuments.h"
#include "shell/Utils.h"
#include "shell/ui/DOvurDocument.h"
#include "shell/ui/DocumentController.h"
#include "shell/ui/VersionMigrationController.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/Prompts.h"

#include <QDir>
#include <QFileInfo>

namespace {
// The sample database of the data folder, whatever the letter case of its name.
QString sampleInDataFolder()
{
    const QString data = Utils::KinloomDataDirectory();
    if (data.isEmpty())
        return {};
    const QFileInfoList files = QDir(data).entryInfoList(QDir::Files);
    for (const QFileInfo& info : files)
        if (info.fileName().compare(AppStartup::kSampleDatabaseName, Qt::CaseInsensitive) == 0)
            return info.absoluteFilePath();
    return {};
}
}

void AppController::applicationDidFinishLaunching(const QStringList& paths)
{
    for (const QString& path : paths)
        openFile(path);
    if (docController().documents().isEmpty()) {
        const QString path = AppStartup::recentDocumentToOpenAtLaunch();
        if (!path.isEmpty())
            openDocumentWithContentsOfURL(path);
    }
    updateNoDatabaseWindow();
}

bool AppController::openFile(const QString& path)
{
    openDocumentWithContentsOfURL(path);
    return true;
}

DOvurDocument* AppController::openDocumentWithContentsOfURL(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (AppStartup::isInTrash(absolute)) {
        DisplayMsg(QStringLiteral("File %1\n\n was ignored because it is in the Trash").arg(absolute));
        return nullptr;
    }
    DocumentController& documents = docController();
    FTMoc::OpenError error;
    DOvurDocument* doc = documents.openDocumentWithContentsOfURL(absolute, true, &error);
    if (doc) {
        RecentDocuments::noteNewRecentDocument(absolute);
        return doc;
    }
    // A sound file that cannot be used just now (open elsewhere, busy, in a folder that cannot be written) has had
    // its message; another database in its place would only confuse.
    if (error.storeError == ObjectContext::ErrorCode::InUse || error.storeError == ObjectContext::ErrorCode::Locked
        || error.storeError == ObjectContext::ErrorCode::ReadOnly)
        return nullptr;
    if (error.code == FTMoc::kWrongModelVersionErrorCode) {
        // The conversion is offered once the application is idle, after the opening's own message.
        Notification n;
        n.name = QStringLiteral("MigrateDatabase");
        n.userInfo.insert(QStringLiteral("path"), absolute);
        NotificationCenter::defaultCenter().enqueue(n);
        return nullptr;
    }

    // A store that was read and refused (damaged, not a database) has said so, naming the file: a second, vaguer
    // message would only bury the clear one.
    if (error.storeError == ObjectContext::ErrorCode::None) {
        QString text = QStringLiteral("Unable to open file:\n\n %1\n\n").arg(absolute);
        if (QFileInfo(absolute).suffix().compare(QLatin1String("GED"), Qt::CaseInsensitive) == 0)
            text += QStringLiteral("To open a Gedcom file you must use menu option \"File -> Gedcom Load\"");
        DisplayMsg(text);
    }

    const QString sample = sampleInDataFolder();
    if (!sample.isEmpty() && QFileInfo(sample).absoluteFilePath() != absolute) {
        if ((doc = documents.openDocumentWithContentsOfURL(sample, true))) {
            RecentDocuments::noteNewRecentDocument(sample);
            return doc;
        }
    }
    const QString chosen = panels().openDatabase ? panels().openDatabase() : QString();
    if (chosen.isEmpty())
        return nullptr;
    const QString chosenPath = QFileInfo(chosen).absoluteFilePath();
    if (AppStartup::isInTrash(chosenPath)) {
        DisplayMsg(QStringLiteral("File %1\n\n was ignored because it is in the Trash").arg(chosenPath));
        return nullptr;
    }
    if ((doc = documents.openDocumentWithContentsOfURL(chosenPath, true)))
        RecentDocuments::noteNewRecentDocument(chosenPath);
    return doc;
}

void AppController::migrateDatabase(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString product = Prompts::kAlertTitle;
    const int answer = Prompts::current().choose(
        QStringLiteral("Would you like to convert:\n\n%1\n\nso that it can be read by your current version of \"%2\"")
            .arg(QFileInfo(path).fileName(), product),
        QStringLiteral("Conversion will read the old database and create a new database. For a large database this "
                       "may take a few minutes."),
        {QStringLiteral("Convert"), QStringLiteral("Ignore")});
    if (answer != 0)
        return;
    const QString converted = VersionMigrationController::runModal(path);
    if (!converted.isEmpty())
        openDocumentWithContentsOfURL(converted);
}
