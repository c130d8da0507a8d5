#include "model/FTPicture.h"

#include "model/FTMoc.h"
#include "model/ModelHooks.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const Key kFilename("filename");
const QString kTempPicsDirName = QStringLiteral("tempPicsDir");
// Links are numbered until a name is free; this only bounds a folder gone wrong.
constexpr int kLastLinkNumber = 100000;

// Something stands at the path, a dangling symbolic link included.
bool entryExists(const QString& path)
{
    const QFileInfo fi(path);
    return fi.exists() || fi.isSymLink();
}

bool sameContents(const QString& a, const QString& b)
{
    QFile fa(a), fb(b);
    if (!QFileInfo(a).isFile() || !QFileInfo(b).isFile() || fa.size() != fb.size())
        return false;
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 kChunk = 1 << 16;
    while (!fa.atEnd()) {
        if (fa.read(kChunk) != fb.read(kChunk))
            return false;
    }
    return fb.atEnd();
}

bool isUnderHomeFolder(const QString& path)
{
    const QString home = QDir::homePath();
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return absolute == home || absolute.startsWith(home + QLatin1Char('/'));
}

bool isDirectlyInFolder(const QString& path, const QString& folder)
{
    const QFileInfo info(path);
    return !folder.isEmpty() && info.isAbsolute() && path == QDir::cleanPath(path)
        && info.path() == QDir::cleanPath(folder);
}

void tell(const QString& text)
{
    Prompts::current().message(text);
}

// "<folder>/<name>_<n>.<ext><tail>", without the dot when the name has no extension.
QString numberedName(const QString& folder, const QFileInfo& file, int n, const QString& tail = {})
{
    const QString suffix = file.suffix();
    return folder + QLatin1Char('/') + file.completeBaseName() + QLatin1Char('_') + QString::number(n)
        + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix) + tail;
}
}

QString FTPicture::filename() const
{
    const QString stored = stringValue(kFilename);
    if (stored.isEmpty())
        return stored;
    const QString data = ModelHooks::dataDirectoryPath();
    if (data.isEmpty() || stored.startsWith(data + QLatin1Char('/')))
        return stored;
    // A database brought from an older installation names its files under that installation's data folder.
    for (const QString& folder : { QStringLiteral("KinloomForVovovData/"), QStringLiteral("KinloomData/") }) {
        const qsizetype at = stored.indexOf(folder);
        if (at >= 0)
            return data + QLatin1Char('/') + stored.mid(at + folder.size());
    }
    return stored;
}

void FTPicture::setFilename(const QString& path)
{
    QString original = path;
    QString stored;
    // A missing file keeps the chosen path to show, and no working file.
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        stored = QString();
    } else if (path.contains(kTempPicsDirName)) {
        original = QString(); // the temporary folder is emptied later: only the copy counts
        stored = copyPictureFile(path, UtilsPics::picturesDirectory());
        // A failed copy (the user has been told) must not leave the picture naming a file about to be deleted.
        if (stored == path)
            stored = QString();
    } else if (isDirectlyInFolder(path, UtilsPics::picturesDirectory())) {
        stored = path; // already in place: nothing to copy, link or compare
    } else if (!isUnderHomeFolder(path)
        || (UserDefaults::standard().boolForKey(QStringLiteral("alwaysCopyToPicturesFolder")) && !isMovie(path))) {
        stored = copyPictureFile(path, UtilsPics::picturesDirectory());
    } else {
        stored = createAliasLinkInPicturesDirectory(path);
    }
    setOriginalFilename(original);
    setString(kFilename, stored);
    setTranscription(QString());
}

QString FTPicture::copyPictureFile(const QString& path, const QString& directory)
{
    if (path.isEmpty())
        return {};
    if (!QFileInfo::exists(path))
        return path;
    const QFileInfo file(path);
    QString target = directory + QLatin1Char('/') + file.fileName();
    bool free = false;
    if (!directory.isEmpty()) {
        if (!entryExists(target)) {
            free = true;
        } else if (sameContents(target, path)) {
            return target;
        } else {
            // Numbered without a bound: a hundred pastes of one name must each keep a copy of their own.
            for (int n = 1; !free; ++n) {
                const QString candidate = numberedName(directory, file, n);
                if (!entryExists(candidate)) {
                    target = candidate;
                    free = true;
                } else if (sameContents(candidate, path)) {
                    return candidate;
                }
            }
        }
    }
    if (free && QFile::copy(path, target))
        return target;
    tell(QStringLiteral("%1 %2 %3 %4").arg(LocalizedString(QStringLiteral("UnableToCopy")), path,
        LocalizedString(QStringLiteral("ConjunctiveTo")), target));
    return path;
}

QString FTPicture::createAliasLinkInPicturesDirectory(const QString& path)
{
    if (path.contains(kTempPicsDirName) || !isUnderHomeFolder(path)) {
        tell(QStringLiteral("%1 %2 %3").arg(LocalizedString(QStringLiteral("PicNotifyErr1")),
            ModelHooks::supportAddress(), LocalizedString(QStringLiteral("PicNotifyErr2"))));
        return path;
    }
    const QString pictures = UtilsPics::picturesDirectory();
    const QFileInfo file(path);
    const QString absolute = file.absoluteFilePath();
    if (!pictures.isEmpty() && QDir::cleanPath(file.absolutePath()) == QDir::cleanPath(pictures))
        return path;
    QString link;
    if (!pictures.isEmpty()) {
        const QString alias = QStringLiteral(" alias");
        for (int n = 0; n <= kLastLinkNumber && link.isEmpty(); ++n) {
            const QString candidate
                = n == 0 ? pictures + QLatin1Char('/') + file.fileName() + alias : numberedName(pictures, file, n, alias);
            if (!entryExists(candidate)) {
                if (QFile::link(absolute, candidate))
                    return candidate;
                break;
            }
            const QFileInfo there(candidate);
            if ((there.isSymLink() && QDir::cleanPath(there.symLinkTarget()) == QDir::cleanPath(absolute))
                || sameContents(candidate, path))
                return candidate;
        }
    }
    tell(QStringLiteral("%1 %2").arg(LocalizedString(QStringLiteral("UnableToCreateSymbolic")), path));
    return path;
}

bool FTPicture::isImageFile() const
{
    const QString kind = UtilsPics::fileKindOf(filename());
    return !kind.isEmpty() && kind != QLatin1String("pdf") && UtilsPics::imageFileTypes().contains(kind);
}

bool FTPicture::isMovie(const QString& path) const
{
    const QString kind = UtilsPics::fileKindOf(path.isEmpty() ? filename() : path);
    if (kind.isEmpty())
        return false;
    const FTMoc* m = moc();
    QSet<QString> movies;
    UtilsPics::multimediaFileTypes(&movies, !(m && m->importThreadIsActive()));
    return movies.contains(kind);
}
