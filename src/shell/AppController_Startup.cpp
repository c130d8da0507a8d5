#include "shell/AppController.h"

#include "shell/Utils.h"

#include "platform/AppPaths.h"
#include "platform/FTLog.h"
#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const QString AppController::kSampleDatabaseName = QStringLiteral("Royal92.RezUdu");
const QString AppController::kRecentDocumentsKey = QStringLiteral("RecentDocuments");

namespace {
bool hasExtension(const QFileInfo& info, const QString& extension)
{
    return info.suffix().compare(extension, Qt::CaseInsensitive) == 0;
}

QFileInfoList filesIn(const QString& folder)
{
    return QDir(folder).entryInfoList(QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
}
}

QStringList AppController::recentDocumentPaths()
{
    return UserDefaults::standard().stringListForKey(kRecentDocumentsKey);
}

void AppController::noteNewRecentDocument(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = recentDocumentPaths();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kMaxRecentDocuments)
        list.removeLast();
    UserDefaults::standard().setObject(kRecentDocumentsKey, list);
}

void AppController::clearRecentDocuments()
{
    UserDefaults::standard().removeObject(kRecentDocumentsKey);
}

bool AppController::ensureDatabaseExists()
{
    const QString data = Utils::KinloomDataDirectory();
    if (data.isEmpty())
        return false;
    if (!QFileInfo(data).isDir() && !QDir().mkpath(data)) {
        FTLog(QStringLiteral("Could not create the data folder %1").arg(data));
        return false;
    }
    for (const QFileInfo& info : filesIn(data))
        if (hasExtension(info, QStringLiteral("RezUdu")))
            return true;

    const QString support = AppPaths::sharedSupportDirectory();
    if (support.isEmpty() || !QFileInfo(support).isDir())
        return true;
    for (const QFileInfo& info : filesIn(support)) {
        const bool database = hasExtension(info, QStringLiteral("RezUdu"));
        if (!database && !hasExtension(info, QStringLiteral("GED")))
            continue;
        const QString target = QStringLiteral("%1/%2").arg(data, info.fileName());
        if (QFileInfo::exists(target) || !QFile::copy(info.absoluteFilePath(), target)) {
            FTLog(QStringLiteral("Could not copy %1 to %2").arg(info.absoluteFilePath(), target));
            continue;
        }
        // A copy keeps the read-only mode of an installed file; the user's copy must be writable.
        QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
        // Only databases are documents: a GEDCOM file is loaded through the import, never opened.
        if (database)
            noteNewRecentDocument(target);
    }
    return true;
}

void AppController::addRoyal92ToRecentDocs()
{
    const QString data = Utils::KinloomDataDirectory();
    if (data.isEmpty())
        return;
    bool found = false;
    for (const QFileInfo& info : filesIn(data))
        if (info.fileName().compare(kSampleDatabaseName, Qt::CaseInsensitive) == 0) {
            noteNewRecentDocument(info.absoluteFilePath());
            found = true;
        }
    if (found)
        return;
    const QString sample = QStringLiteral("%1/%2").arg(AppPaths::sharedSupportDirectory(), kSampleDatabaseName);
    if (!QFileInfo(sample).isFile())
        return;
    if (!QFileInfo(data).isDir())
        QDir().mkpath(data);
    const QString target = QStringLiteral("%1/%2").arg(data, kSampleDatabaseName);
    if (QFile::copy(sample, target)) {
        QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner | QFile::ReadOwner);
        noteNewRecentDocument(target);
    } else {
        FTLog(QStringLiteral("Could not copy %1 to %2").arg(sample, target));
    }
}

bool AppController::isInTrash(const QString& path)
{
    return path.contains(QLatin1String("Trash"), Qt::CaseInsensitive);
}

QString AppController::recentDocumentToOpenAtLaunch()
{
    QStringList recent = recentDocumentPaths();
    if (recent.isEmpty()) {
        addRoyal92ToRecentDocs();
        recent = recentDocumentPaths();
    }
    for (const QString& path : recent) {
        if (isInTrash(path)) {
            FTLog(QStringLiteral("File %1 was ignored because it is in the trash.").arg(path));
            continue;
        }
        return path;
    }
    return {};
}
