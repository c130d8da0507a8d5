#include "model/UtilsPics.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"

#include "platform/FTLog.h"

#include <QCollator>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <unistd.h>

namespace {
// Longer chains are not followed to their end: the fifth link's target is the answer.
constexpr int kMaxLinksFollowed = 5;

// What a symbolic link holds, as written (QFileInfo only offers the absolute target).
QString linkContents(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    QByteArray buffer(4096, Qt::Uninitialized);
    const ssize_t n = ::readlink(encoded.constData(), buffer.data(), size_t(buffer.size()));
    if (n <= 0 || n >= buffer.size())
        return {};
    buffer.truncate(n);
    return QFile::decodeName(buffer);
}
}

bool UtilsPics::removeTempPicsDirectory()
{
    const QString path = tempPicsDirectory();
    if (path.isEmpty())
        return true;
    const QFileInfo info(path);
    if (info.isSymLink())
        return QFile::remove(path); // never follow a link out of the data folder
    if (!info.exists())
        return true;
    return QDir(path).removeRecursively();
}

QString UtilsPics::resolveAliasedPath(const QString& path)
{
    QString current = path;
    for (int n = 0; n < kMaxLinksFollowed; ++n) {
        const QFileInfo info(current);
        // The existence test follows links: a link to a missing file is answered as it is.
        if (current.isEmpty() || !info.exists() || !info.isSymLink())
            break;
        const QString target = linkContents(current);
        if (target.isEmpty())
            break;
        current = QDir::isRelativePath(target) ? QDir::cleanPath(info.absolutePath() + QLatin1Char('/') + target)
                                               : target;
    }
    return current;
}

QList<FTPicture*> UtilsPics::referencesToPicture(const FTPicture* picture)
{
    if (!picture || !picture->moc())
        return {};
    const QString filename = picture->filename();
    if (filename.isEmpty())
        return {};
    QElapsedTimer timer;
    timer.start();
    const QString inAnyDataFolder = QStringLiteral("KinloomData/Pictures/") + QFileInfo(filename).fileName();
    QList<FTPicture*> found = picture->moc()->fetch<FTPicture>([&](const FTPicture* p) {
        if (!p->owner())
            return false;
        const QString other = p->filename();
        return other == filename || other.endsWith(inAnyDataFolder);
    });
    // Each owner's name is made once, not once per comparison.
    QCollator collator;
    QList<std::pair<QString, FTPicture*>> keyed;
    keyed.reserve(found.size());
    for (FTPicture* p : std::as_const(found))
        keyed.append({ p->owner()->nameWithBirthAndDeathYears(), p });
    std::stable_sort(keyed.begin(), keyed.end(),
        [&](const auto& a, const auto& b) { return collator.compare(a.first, b.first) < 0; });
    for (qsizetype i = 0; i < keyed.size(); ++i)
        found[i] = keyed[i].second;
    FTLog(QStringLiteral("%1 msecs in referencesToPicture").arg(double(timer.nsecsElapsed()) / 1e6, 0, 'f', 3));
    return found;
}
