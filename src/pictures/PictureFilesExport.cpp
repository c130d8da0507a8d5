#include "pictures/PictureFilesExport.h"

#include "model/FTMoc.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPicture.h"
#include "model/ModelHooks.h"
#include "model/UtilsPics.h"

#include "shell/DisplayMsg.h"

#include "platform/Localizer.h"
#include "platform/store/ReleasingWalk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

QString picturesWord(qint64 count)
{
    return LocalizedString(count == 1 ? QStringLiteral("Picture") : QStringLiteral("Pictures")).toLower();
}

// The file's own name, without the " alias" that links in the pictures folder carry.
QString plainFileName(const QString& path)
{
    QString name = QFileInfo(path).fileName();
    const qsizetype alias = name.lastIndexOf(QStringLiteral(" alias"), -1, Qt::CaseInsensitive);
    if (alias > 0 && alias + 6 == name.size())
        name.truncate(alias);
    return name;
}

QList<FTPicture*> sortedByFilename(QList<FTPicture*> pictures)
{
    QList<std::pair<QString, FTPicture*>> keyed;
    keyed.reserve(pictures.size());
    for (FTPicture* p : std::as_const(pictures))
        keyed.append({ p->filename(), p });
    std::stable_sort(keyed.begin(), keyed.end(),
        [](const auto& a, const auto& b) { return a.first.compare(b.first, Qt::CaseInsensitive) < 0; });
    for (qsizetype i = 0; i < keyed.size(); ++i)
        pictures[i] = keyed[i].second;
    return pictures;
}
}

PictureFilesExport::PictureFilesExport(FTMoc* moc, QList<FTPicture*> pictures)
    : m_moc(moc)
    , m_pictures(std::move(pictures))
{
    freeDiskSpace = [] {
        const QStorageInfo volume(ModelHooks::dataDirectoryPath());
        return volume.isValid() ? quint64(volume.bytesAvailable()) : quint64(0);
    };
}

QString PictureFilesExport::dialogTitle() const
{
    return QStringLiteral("%1 %2").arg(L("PicsToExport"), m_moc ? m_moc->modelName() : QString());
}

QString PictureFilesExport::sizeText(quint64 bytes)
{
    constexpr quint64 kb = 1024, mb = kb * 1024, gb = mb * 1024;
    if (bytes > gb)
        return QStringLiteral("%1 Gb").arg(bytes / gb);
    if (bytes > mb)
        return QStringLiteral("%1 Mb").arg(bytes / mb);
    if (bytes > kb)
        return QStringLiteral("%1 Kb").arg(bytes / kb);
    return {};
}

void PictureFilesExport::loadPictures()
{
    QList<FTPicture*> listed;
    m_bytesNeeded = 0;
    QString previous;
    bool first = true;
    ReleasingWalk walk(*m_moc);
    for (FTPicture* picture : sortedByFilename(m_moc->fetch<FTPicture>())) {
        walk.releasePoint();
        const QString filename = picture->filename();
        if (!first && filename == previous)
            continue;
        first = false;
        previous = filename;
        if (!filename.isEmpty()) {
            listed << picture;
            m_bytesNeeded += quint64(std::max<qint64>(0, QFileInfo(filename).size())) + kBytesPerFile;
        }
        m_moc->releaseLazyValues(picture);
    }
    m_pictures = listed;
    displayDiskSpaceRequirements(m_bytesNeeded);
}

void PictureFilesExport::displayDiskSpaceRequirements(quint64 bytesNeeded)
{
    const quint64 free = freeDiskSpace ? freeDiskSpace() : 0;
    const QString needed = sizeText(bytesNeeded);
    const QString available = sizeText(free);
    m_exportEnabled = bytesNeeded + kSpareBytes <= free;
    if (!m_exportEnabled)
        DisplayMsg(QStringLiteral("%1 = %2.\n%3 = %4.\n\n%5")
                       .arg(L("RequiredDiskSpace"), needed, L("AvailableDiskSpace"), available, L("WarnDiskSpace")));
    m_required = QStringLiteral("%1 = %2").arg(L("RequiredDiskSpace"), needed);
    m_available = QStringLiteral("%1 = %2").arg(L("AvailableDiskSpace"), available);
}

QString PictureFilesExport::exportFolder(bool thumbnails) const
{
    return QStringLiteral("%1/%2_%3")
        .arg(ModelHooks::dataDirectoryPath(), m_moc ? m_moc->modelName() : QString(),
            L(thumbnails ? "ExportThumbsDirectory" : "ExportPicsDirectory"));
}

QString PictureFilesExport::makeExportFolder(bool thumbnails)
{
    // Never into a folder that holds anything: what is there is the user's (notes, another export kept on
    // purpose), and nothing this run did not write is removed or written over.
    const QString base = exportFolder(thumbnails);
    QDir().mkpath(QFileInfo(base).absolutePath());
    for (int n = 1; n <= 1000; ++n) {
        const QString folder = n == 1 ? base : QStringLiteral("%1 %2").arg(base).arg(n);
        const QFileInfo info(folder);
        if (info.isSymLink() || (info.exists() && !info.isDir()))
            continue;
        if (info.exists()) {
            if (QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
                return folder;
            continue;
        }
        // mkdir, not mkpath: a folder made meanwhile by someone else is not taken as this run's.
        if (QDir().mkdir(folder))
            return folder;
        if (!QFileInfo::exists(folder))
            break;
    }
    DisplayMsg(QStringLiteral("%1 %2").arg(L("UnableToCreateDir"), base));
    return {};
}

QString PictureFilesExport::doneText(int count, const char* copiedKey, const QString& folder, bool thumbnails) const
{
    QString text = QStringLiteral("%1 %2:\n\n %3").arg(QString::number(count), L(copiedKey), folder);
    const QString base = exportFolder(thumbnails);
    if (folder != base)
        text += QStringLiteral("\n\n") + L("ExportFolderHeldFiles").arg(base);
    return text;
}

void PictureFilesExport::progress(qsizetype index, int* shown) const
{
    const int percent = m_pictures.isEmpty() ? 100 : int(index * 100 / m_pictures.size());
    if (percent >= *shown + 2) {
        *shown = percent;
        if (progressChanged)
            progressChanged(percent);
    }
}

int PictureFilesExport::exportPictureFiles()
{
    const QString folder = makeExportFolder(false);
    if (folder.isEmpty())
        return -1;
    m_lastFolder = folder;
    if (progressChanged)
        progressChanged(0);
    int exported = 0;
    int shown = 0;
    for (qsizetype i = 0; i < m_pictures.size(); ++i) {
        FTPicture* picture = m_pictures[i];
        const QString filename = picture->filename();
        if (filename.isEmpty())
            continue;
        const QString resolved = UtilsPics::resolveAliasedPath(filename);
        // The name the GEDCOM file gives the picture.
        const QString target = folder + QLatin1Char('/') + plainFileName(resolved);
        if (QFileInfo(resolved).isFile()) {
            if (QFile::copy(resolved, target))
                ++exported;
        } else if (const FTOriginalPicture* thumbnail = picture->originalPicture()) {
            const QByteArray data = thumbnail->data();
            QFile out(target);
            if (!data.isEmpty() && out.open(QIODevice::WriteOnly | QIODevice::NewOnly) && out.write(data) == data.size()
                && out.flush())
                ++exported;
            else if (out.isOpen()) {
                out.close();
                out.remove();
            }
        }
        m_moc->releaseLazyValues(picture);
        progress(i, &shown);
    }
    if (progressChanged)
        progressChanged(100);
    const qint64 notCopied = m_pictures.size() - exported;
    if (notCopied != 0)
        DisplayMsg(QStringLiteral("%1 %2 %3 %4")
                       .arg(L("UnableToCopy"), QString::number(notCopied), picturesWord(notCopied),
                           L("duplicateFilenames")));
    DisplayMsg(doneText(exported, "imagesCopied", folder, false));
    return exported;
}

int PictureFilesExport::exportThumbnails()
{
    const QString folder = makeExportFolder(true);
    if (folder.isEmpty())
        return -1;
    m_lastFolder = folder;
    if (progressChanged)
        progressChanged(0);
    int written = 0;
    int shown = 0;
    for (qsizetype i = 0; i < m_pictures.size(); ++i) {
        FTPicture* picture = m_pictures[i];
        const QString filename = picture->filename();
        const FTOriginalPicture* thumbnail = picture->originalPicture();
        const QByteArray data = thumbnail ? thumbnail->data() : QByteArray();
        if (!filename.isEmpty() && !data.isEmpty()) {
            const QString base = QFileInfo(plainFileName(UtilsPics::resolveAliasedPath(filename))).completeBaseName();
            // Two files of one name in different folders, or differing only in extension, keep a thumbnail each.
            QString target = QStringLiteral("%1/%2.tif").arg(folder, base);
            for (int n = 1; QFileInfo::exists(target); ++n)
                target = QStringLiteral("%1/%2_%3.tif").arg(folder, base, QString::number(n));
            QFile out(target);
            if (out.open(QIODevice::WriteOnly | QIODevice::NewOnly) && out.write(data) == data.size() && out.flush())
                ++written;
        }
        m_moc->releaseLazyValues(picture);
        progress(i, &shown);
    }
    if (progressChanged)
        progressChanged(100);
    DisplayMsg(doneText(written, "thumbsCopied", folder, true));
    return written;
}

QString PictureFilesExport::printListOfPictures()
{
    const QString path = ModelHooks::dataDirectoryPath() + QLatin1Char('/') + L("PicsListFilename");
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        DisplayMsg(L("UnableToCreatePicsListFile"));
        return {};
    }
    QByteArray text("\xEF\xBB\xBF");
    QString previous;
    for (const FTPicture* picture : sortedByFilename(m_pictures)) {
        const QString filename = picture->filename();
        if (filename.isEmpty() || filename == previous)
            continue;
        previous = filename;
        QString line = filename;
        if (!QFileInfo::exists(filename))
            line += QStringLiteral(" (file not found)");
        text += (line + QStringLiteral("\r\n")).toUtf8();
    }
    if (file.write(text) != text.size() || !file.flush()) {
        file.close();
        QFile::remove(path);
        DisplayMsg(QStringLiteral("%1 %2").arg(L("UnableToCreateOpen"), path));
        return {};
    }
    return path;
}
