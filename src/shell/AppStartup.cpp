#include "shell/AppStartup.h"

#include "shell/RecentDocuments.h"
#include "shell/Utils.h"

#include "platform/AppPaths.h"
#include "platform/FTLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const QString AppStartup::kSampleDatabaseName = QStringLiteral("Royal92.RezUdu");

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

bool AppStartup::ensureDatabaseExists()
{
    const QString data = Utils::KinloomDataDirectory();
    if (data.isEmpty())
        return false;
    if (!QFileInfo(data).isDir() && !QDir().mkpath(data)) {
        FTLog(QStringLiteral("Could not create the data folder %1").arg(data));
        return false;
    }
    // What an import killed half-way left behind is never a database of the user's.
    Utils::removeOrphanedPartialDatabases(data);
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
            RecentDocuments::noteNewRecentDocument(target);
    }
    return true;
}

void AppStartup::addRoyal92ToRecentDocs()
{
    const QString data = Utils::KinloomDataDirectory();
    if (data.isEmpty())
        return;
    bool found = false;
    for (const QFileInfo& info : filesIn(data))
        if (info.fileName().compare(kSampleDatabaseName, Qt::CaseInsensitive) == 0) {
            RecentDocuments::noteNewRecentDocument(info.absoluteFilePath());
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
        RecentDocuments::noteNewRecentDocument(target);
    } else {
        FTLog(QStringLiteral("Could not copy %1 to %2").arg(sample, target));
    }
}

bool AppStartup::isInTrash(const QString& path)
{
    return path.contains(QLatin1String("Trash"), Qt::CaseInsensitive);
}

QString AppStartup::recentDocumentToOpenAtLaunch()
{
    QStringList recent = RecentDocuments::paths();
    if (recent.isEmpty()) {
        addRoyal92ToRecentDocs();
        recent = RecentDocuments::paths();
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
