#include "publishing/SiteFolderCopy.h"

#include "platform/Localizer.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

constexpr qint64 kChunk = 1 << 20;
constexpr qint64 kSameTimeMs = 2000;
}

SiteFolderCopy::SiteFolderCopy(const QString& source, const QString& destination)
    : m_source(QDir::cleanPath(source)), m_destination(QDir::cleanPath(destination))
{
}

bool SiteFolderCopy::estimate(QString* error)
{
    m_items.clear();
    m_unusable.clear();
    const QFileInfo root(m_source);
    if (!root.isDir() || !root.isReadable()) {
        if (error)
            *error = QStringLiteral("%1 %2").arg(L("UnableToOpen"), m_source);
        return false;
    }
    const QDir base(m_source);
    QDirIterator it(m_source, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        const QString relative = base.relativeFilePath(info.filePath());
        // A link to a folder is not followed: it could lead out of the set, or round in a circle.
        if (info.isDir() && !info.isSymLink())
            m_items.push_back({relative, 0, true});
        else if (info.isFile())
            m_items.push_back({relative, info.size(), false});
        else
            m_unusable << relative;
    }
    // Sorted by path, a folder comes before everything inside it.
    std::sort(m_items.begin(), m_items.end(),
              [](const Item& a, const Item& b) { return a.relativePath < b.relativePath; });
    return true;
}

qint64 SiteFolderCopy::totalBytes() const
{
    qint64 total = 0;
    for (const Item& item : m_items)
        total += item.size;
    return total;
}

int SiteFolderCopy::fileCount() const
{
    return int(std::count_if(m_items.begin(), m_items.end(), [](const Item& i) { return !i.folder; }));
}

QStringList SiteFolderCopy::copy(const QStringList& only, const std::atomic_bool& abort, const Callbacks& callbacks)
{
    m_aborted = false;
    const auto row = [&](Row r) {
        if (callbacks.row)
            callbacks.row(r);
    };
    const bool retry = !only.isEmpty();
    QList<Item> files;
    QList<Item> folders;
    for (const Item& item : m_items) {
        if (item.folder)
            folders << item;
        else if (!retry || only.contains(item.relativePath))
            files << item;
    }
    QStringList failed;
    for (const QString& path : m_unusable)
        if (!retry || only.contains(path)) {
            row({L("CopyFile"), path, L("NotAFileOrFolder"), 0, true});
            failed << path;
        }

    Progress progress;
    for (const Item& f : files)
        progress.bytesTotal += f.size;
    progress.filesLeft = int(files.size());
    QElapsedTimer sinceReport;
    sinceReport.start();
    const auto report = [&](bool now) {
        if (callbacks.progress && (now || sinceReport.elapsed() >= 100)) {
            callbacks.progress(progress);
            sinceReport.restart();
        }
    };
    report(true);

    // The set's own folder, then (first pass) every folder inside it; on a retry each file makes its own.
    const QFileInfo target(m_destination);
    if (!retry) {
        const bool existed = target.isDir();
        if (!existed && !QDir().mkpath(m_destination)) {
            row({L("CreateFolder"), QStringLiteral("."), L("UnableToCreateFolder"), 0, true});
            for (const Item& f : files)
                failed << f.relativePath;
            return failed;
        }
        row({L("CreateFolder"), QStringLiteral("."), existed ? L("FolderExists") : L("AddedFolder")});
        for (const Item& folder : folders) {
            if (abort) {
                m_aborted = true;
                break;
            }
            const QFileInfo made(m_destination + QLatin1Char('/') + folder.relativePath);
            if (made.isDir() && !made.isSymLink())
                continue;
            const bool ok = !made.exists() && QDir().mkpath(made.filePath());
            row({L("CreateFolder"), folder.relativePath, ok ? L("AddedFolder") : L("UnableToCreateFolder"), 0,
                 !ok});
        }
    }

    for (const Item& file : files) {
        if (abort || m_aborted) {
            m_aborted = true;
            failed << file.relativePath;
            continue;
        }
        const qint64 before = progress.bytesDone;
        QString result;
        const bool ok = copyFile(file, abort, [&](qint64 bytes) {
            progress.bytesDone += bytes;
            report(false);
        }, &result);
        progress.bytesDone = before + file.size;
        --progress.filesLeft;
        if (!ok) {
            if (abort)
                m_aborted = true;
            failed << file.relativePath;
        }
        row({m_aborted ? L("AbortUpload") : L("CopyFile"), file.relativePath, result, file.size, !ok});
        report(false);
    }
    report(true);
    return failed;
}

bool SiteFolderCopy::copyFile(const Item& item, const std::atomic_bool& abort,
                              const std::function<void(qint64)>& advance, QString* result)
{
    const QString from = m_source + QLatin1Char('/') + item.relativePath;
    const QString to = m_destination + QLatin1Char('/') + item.relativePath;
    const QFileInfo source(from);
    const QFileInfo existing(to);
    if (existing.isFile() && !existing.isSymLink() && existing.size() == source.size()
        && std::abs(existing.lastModified().msecsTo(source.lastModified())) < kSameTimeMs) {
        *result = L("Unchanged");
        ++m_unchanged;
        return true;
    }
    const QString folder = existing.absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        *result = QStringLiteral("%1 %2").arg(L("UnableToCreateFolder"), folder);
        return false;
    }
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        *result = in.errorString();
        return false;
    }
    // Written beside its place under a name of its own, then renamed over it in one step. Not synced, as a copy
    // by the file manager is not: a set has thousands of files, and syncing each made the copy several times slower.
    const QString part = to + QStringLiteral(".kinloom-part");
    QFile out(part);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *result = out.errorString();
        return false;
    }
    const auto fail = [&](const QString& why) {
        *result = why;
        out.close();
        QFile::remove(part);
        return false;
    };
    QByteArray buffer;
    while (!in.atEnd()) {
        if (abort)
            return fail(L("Aborted"));
        buffer = in.read(kChunk);
        if (buffer.isEmpty() && in.error() != QFileDevice::NoError)
            return fail(in.errorString());
        if (out.write(buffer) != buffer.size())
            return fail(out.errorString());
        advance(buffer.size());
    }
    if (in.error() != QFileDevice::NoError)
        return fail(in.errorString());
    if (!out.flush())
        return fail(out.errorString());
    // Keeping the source's time is what lets the next copy of the same set leave this file alone.
    out.setFileTime(source.lastModified(), QFileDevice::FileModificationTime);
    out.close();
    std::error_code renamed;
    std::filesystem::rename(QFile::encodeName(part).constData(), QFile::encodeName(to).constData(), renamed);
    if (renamed) {
        QFile::remove(part);
        *result = QString::fromStdString(renamed.message());
        return false;
    }
    *result = L("Copied");
    ++m_copied;
    return true;
}
