#include "pictures/PictureIntake.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/PicturePlist.h"
#include "model/UtilsPics.h"

#include "shell/DisplayMsg.h"

#include "platform/Localizer.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QMimeData>
#include <QUrl>

namespace {
constexpr int kMaxFileNameLength = 100;
// Pasted image data is decoded within the same budget as picture files (100 megapixels).
constexpr int kAllocationLimitMegabytes = 400;

QStringList localFiles(const QMimeData& mime)
{
    QStringList out;
    if (!mime.hasUrls())
        return out;
    for (const QUrl& url : mime.urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            out << url.toLocalFile();
    return out;
}

QStringList imageFormatsOffered(const QMimeData& mime)
{
    QStringList out;
    for (const QString& f : mime.formats())
        if (f.startsWith(QLatin1String("image/")))
            out << f;
    return out;
}

bool offersImageData(const QMimeData& mime)
{
    return mime.hasImage() || !imageFormatsOffered(mime).isEmpty();
}

QImage offeredImage(const QMimeData& mime)
{
    if (mime.hasImage()) {
        const QImage image = qvariant_cast<QImage>(mime.imageData());
        if (!image.isNull())
            return image;
    }
    for (const QString& format : imageFormatsOffered(mime)) {
        QByteArray bytes = mime.data(format);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setAllocationLimit(kAllocationLimitMegabytes);
        const QSize size = reader.size();
        if (size.isValid() && qint64(size.width()) * size.height() > UtilsPics::kMaxImagePixels)
            continue;
        const QImage image = reader.read();
        if (!image.isNull())
            return image;
    }
    return {};
}

bool isInTempPicsDirectory(const QString& path)
{
    const QString temp = UtilsPics::tempPicsDirectory();
    return !temp.isEmpty() && path.startsWith(temp + QLatin1Char('/'));
}

// A pasted image waits in the temporary folder, which is emptied after the intake: it must reach the pictures
// folder first. False when it cannot (the user has been told, and the temporary file stays for another try).
bool copyIntoPicturesFolder(const QString& path)
{
    if (!isInTempPicsDirectory(path))
        return true;
    const QString pictures = UtilsPics::picturesDirectory();
    const QString placed = FTPicture::copyPictureFile(path, pictures);
    return !pictures.isEmpty() && placed.startsWith(pictures + QLatin1Char('/'));
}

QString addedMessage(qsizetype count)
{
    return QStringLiteral("%1 %2 %3 - %4")
        .arg(QString::number(count),
            LocalizedString(count == 1 ? QStringLiteral("Picture") : QStringLiteral("Pictures")),
            LocalizedString(QStringLiteral("Added")).toLower(), LocalizedString(QStringLiteral("DragDropComplete")))
        .toLower();
}

void tellRefused(const QStringList& reasons)
{
    if (!reasons.isEmpty())
        DisplayMsg(LocalizedString(QStringLiteral("PicsNotAdded")) + QStringLiteral("\n\n")
            + reasons.join(QLatin1Char('\n')));
}
}

QSet<QString> PictureIntake::acceptedFileTypes(const FTMoc* moc)
{
    return UtilsPics::multimediaFileTypes(nullptr, !(moc && moc->importThreadIsActive()));
}

QStringList PictureIntake::imageFilesInFilenamesPasteboard(const QMimeData& mime, const FTMoc* moc)
{
    const QSet<QString> types = acceptedFileTypes(moc);
    QStringList out;
    for (const QString& path : localFiles(mime))
        if (types.contains(QFileInfo(path).suffix()))
            out << path;
    return out;
}

int PictureIntake::numImageFilesInPasteboard(const QMimeData& mime, const FTMoc* moc)
{
    if (PicturePlist::isOffered(mime))
        return 1;
    if (!localFiles(mime).isEmpty())
        return int(imageFilesInFilenamesPasteboard(mime, moc).size());
    return offersImageData(mime) ? 1 : 0;
}

QString PictureIntake::safeFileName(const QString& name)
{
    QString safe;
    safe.reserve(name.size());
    for (const QChar c : name) {
        if (c == QLatin1Char('/'))
            safe += QLatin1Char('|');
        else if (c.category() != QChar::Other_Control && c.category() != QChar::Other_Format)
            safe += c;
    }
    qsizetype start = 0;
    while (start < safe.size() && (safe[start] == QLatin1Char('.') || safe[start].isSpace()))
        ++start;
    safe = safe.mid(start, kMaxFileNameLength).trimmed();
    // A cut through a surrogate pair would leave half a character.
    if (!safe.isEmpty() && safe.back().isHighSurrogate())
        safe.chop(1);
    return safe.isEmpty() ? QStringLiteral("TiffImage") : safe;
}

QStringList PictureIntake::copyImageFilesFromPasteboard(
    const QMimeData& mime, const QString& defaultFilename, const FTMoc* moc, bool* told)
{
    if (!localFiles(mime).isEmpty())
        return imageFilesInFilenamesPasteboard(mime, moc);
    if (!offersImageData(mime))
        return {};
    const QImage image = offeredImage(mime);
    if (image.isNull())
        return {};
    const QString folder = UtilsPics::tempPicsDirectory();
    const QString path = folder + QLatin1Char('/') + safeFileName(defaultFilename) + QStringLiteral(".tiff");
    bool written = false;
    if (!folder.isEmpty()) {
        UtilsPics::removeTempPicsDirectory();
        QImageWriter writer(path, "tiff");
        written = QDir().mkpath(folder) && writer.write(image);
    }
    if (!written) {
        DisplayMsg(QStringLiteral("%1 %2").arg(LocalizedString(QStringLiteral("FailedFileWrite")), path));
        if (told)
            *told = true;
        return {};
    }
    return { path };
}

bool PictureIntake::checkFile(const QString& path, QImage* thumbnail, QString* whyNot)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        *whyNot = LocalizedString(QStringLiteral("PicIsFolder")).arg(info.fileName());
        return false;
    }
    if (!info.isFile() || !info.isReadable()) {
        *whyNot = LocalizedString(QStringLiteral("PicUnreadable")).arg(info.fileName());
        return false;
    }
    const QString kind = UtilsPics::fileKindOf(path);
    if (kind == QLatin1String("pdf") || !UtilsPics::imageFileTypes().contains(kind))
        return true; // sounds, movies and documents have no image of their own
    *thumbnail = UtilsPics::thumbnailImageForFile(path, QRectF(), whyNot);
    return !thumbnail->isNull();
}

std::optional<QList<FTPicture*>> PictureIntake::addPicturesFromPasteboard(
    const QMimeData& mime, FTPerson* person, const std::function<void(const QString&)>& message)
{
    FTMoc* moc = person ? person->moc() : nullptr;
    if (!moc)
        return std::nullopt;
    QList<FTPicture*> added;
    if (const std::optional<PicturePlist> record = PicturePlist::readFrom(mime)) {
        // A picture of this program: the file it names, as it is.
        if (FTPicture* picture = FTPicture::initInMoc(moc, record->filename, person)) {
            picture->setNotes(record->notes);
            picture->setDate(record->date);
            picture->setName(record->title);
            // After the file: placing a file clears the transcription.
            if (!record->transcriptionData.isEmpty())
                picture->setTranscriptionData(record->transcriptionData);
            picture->setDefaultThumbnailImage();
            added << picture;
        }
    } else {
        const QStringList paths = copyImageFilesFromPasteboard(mime, person->name(), moc);
        // Dropped files of other kinds only: nothing added, and the count 0 says so.
        if (paths.isEmpty() && localFiles(mime).isEmpty())
            return std::nullopt;
        const QSet<QString> types = acceptedFileTypes(moc);
        QStringList refused;
        bool keepTemporaryFolder = false;
        for (const QString& path : paths) {
            const QString resolved = UtilsPics::resolveAliasedPath(path);
            if (!types.contains(QFileInfo(resolved).suffix()))
                continue;
            QImage thumbnail;
            QString whyNot;
            if (!checkFile(resolved, &thumbnail, &whyNot)) {
                refused << whyNot;
                continue;
            }
            if (!copyIntoPicturesFolder(resolved)) {
                keepTemporaryFolder = true;
                continue;
            }
            FTPicture* picture = FTPicture::initInMoc(moc, resolved, person);
            if (!picture)
                continue;
            if (!thumbnail.isNull())
                picture->setThumbnailImage(thumbnail);
            added << picture;
        }
        if (!keepTemporaryFolder)
            UtilsPics::removeTempPicsDirectory();
        tellRefused(refused);
        if (keepTemporaryFolder && added.isEmpty())
            return std::nullopt;
    }
    if (message)
        message(addedMessage(added.size()));
    if (!added.isEmpty())
        moc->undoManager()->setActionName(QStringLiteral("%1 %2").arg(
            LocalizedString(QStringLiteral("AddPic")), person->nameWithBirthAndDeathYears()));
    return added;
}

std::optional<QString> PictureIntake::onePictureFile(
    const QMimeData& mime, const QString& defaultFilename, const FTMoc* moc, bool* told)
{
    QString path;
    if (const std::optional<PicturePlist> record = PicturePlist::readFrom(mime)) {
        path = record->filename;
    } else {
        const QStringList paths = copyImageFilesFromPasteboard(mime, defaultFilename, moc, told);
        if (paths.isEmpty())
            return std::nullopt;
        path = UtilsPics::resolveAliasedPath(paths.first());
        if (!acceptedFileTypes(moc).contains(QFileInfo(path).suffix()))
            return std::nullopt;
    }
    QImage thumbnail;
    QString whyNot;
    const bool usable = checkFile(path, &thumbnail, &whyNot);
    if (!usable)
        tellRefused({ whyNot });
    // A failed copy into the pictures folder has been told by the copy.
    if (!usable || !copyIntoPicturesFolder(path)) {
        if (told)
            *told = true;
        return std::nullopt;
    }
    return path;
}
