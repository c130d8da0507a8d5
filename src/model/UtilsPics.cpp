#include "model/UtilsPics.h"

#include "model/ModelHooks.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRegularExpression>

#include <fcntl.h>

#include <algorithm>
#include <cmath>

namespace {
// Sound and text-document kinds a picture record may point at (the image kinds come from Qt).
const char* const kSoundTypes[] = { "aac", "aif", "aifc", "aiff", "au", "caf", "flac", "m4a", "mid", "midi", "mp3",
    "oga", "ogg", "opus", "snd", "wav", "wma" };
const char* const kTextTypes[] = { "doc", "docx", "odt", "pdf", "rtf", "rtfd", "txt", "text", "html", "xml",
    "webarchive", "wordml" };
const char* const kMovieTypes[] = { "3g2", "3gp", "avi", "dv", "flv", "m2v", "m4v", "mkv", "mov", "mp4", "mpeg",
    "mpg", "mts", "ogv", "qt", "webm", "wmv" };

void addBothCases(QSet<QString>& set, const QString& type)
{
    set.insert(type.toLower());
    set.insert(type.toUpper());
}
}

QString UtilsPics::picturesDirectory()
{
    const QString data = ModelHooks::dataDirectoryPath();
    if (data.isEmpty())
        return {};
    const QString path = data + QStringLiteral("/Pictures");
    if (!QFileInfo(path).isDir() && !QDir().mkpath(path))
        return {};
    return QFileInfo(path).isDir() ? path : QString();
}

QString UtilsPics::tempPicsDirectory()
{
    const QString data = ModelHooks::dataDirectoryPath();
    return data.isEmpty() ? QString() : data + QStringLiteral("/tempPicsDir");
}

QSet<QString> UtilsPics::imageFileTypes()
{
    static const QSet<QString> types = [] {
        QSet<QString> out;
        for (const QByteArray& f : QImageReader::supportedImageFormats())
            out.insert(QString::fromLatin1(f).toLower());
        return out;
    }();
    return types;
}

namespace {
template <size_t N> QSet<QString> lowerCaseSet(const char* const (&types)[N])
{
    QSet<QString> out;
    for (const char* t : types)
        out.insert(QString::fromLatin1(t));
    return out;
}
}

QSet<QString> UtilsPics::soundFileTypes()
{
    static const QSet<QString> types = lowerCaseSet(kSoundTypes);
    return types;
}

QSet<QString> UtilsPics::movieFileTypes()
{
    static const QSet<QString> types = lowerCaseSet(kMovieTypes);
    return types;
}

QSet<QString> UtilsPics::multimediaFileTypes(QSet<QString>* movieTypes, bool includeMovies)
{
    QSet<QString> types;
    for (const QString& t : imageFileTypes())
        addBothCases(types, t);
    for (const char* t : kSoundTypes)
        addBothCases(types, QString::fromLatin1(t));
    for (const char* t : kTextTypes)
        addBothCases(types, QString::fromLatin1(t));
    types.insert(QStringLiteral("htm"));
    types.insert(QStringLiteral("HTM"));
    if (includeMovies) {
        QSet<QString> movies;
        for (const char* t : kMovieTypes)
            addBothCases(movies, QString::fromLatin1(t));
        for (const QString& t : movies) {
            if (types.contains(t))
                continue;
            types.insert(t);
            if (movieTypes)
                movieTypes->insert(t);
        }
    }
    // File type codes ('MooV') are not extensions.
    types.removeIf([](const QString& t) { return t.contains(QLatin1Char('\'')); });
    if (movieTypes)
        movieTypes->removeIf([](const QString& t) { return t.contains(QLatin1Char('\'')); });
    return types;
}

QString UtilsPics::fileKindOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    QString kind = name.mid(dot + 1).toLower();
    const qsizetype alias = kind.indexOf(QStringLiteral(" alias"));
    if (alias >= 0)
        kind.truncate(alias);
    return kind;
}

namespace {
// The decoder may allocate this much for one picture: 100 megapixels of 32 bits, with room to spare.
constexpr int kAllocationLimitMegabytes = 400;

QString reasonText(const char* key, const QString& path)
{
    return LocalizedString(QString::fromLatin1(key)).arg(QFileInfo(path).fileName());
}

QString tooLargeText(const QString& path, const QSize& size)
{
    return LocalizedString(QStringLiteral("PicTooLarge"))
        .arg(QFileInfo(path).fileName(), QString::number(size.width()), QString::number(size.height()));
}

// The whole file, read past the file cache: reading hundreds of large scans in a row should not push everything
// else out of it. Null, with the reason, when there is nothing to read.
QByteArray readPictureFile(const QString& path, QString* whyNot)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        *whyNot = reasonText("PicIsFolder", path);
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *whyNot = reasonText("PicUnreadable", path);
        return {};
    }
    const int fd = file.handle();
#ifdef POSIX_FADV_SEQUENTIAL
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    QByteArray bytes = file.readAll();
#ifdef POSIX_FADV_DONTNEED
    posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
#endif
    if (file.error() != QFileDevice::NoError) {
        *whyNot = reasonText("PicUnreadable", path);
        return {};
    }
    if (bytes.isEmpty())
        *whyNot = reasonText("PicEmpty", path);
    return bytes;
}

// A JPEG whose last scan has no end marker after it was cut short: the decoder fills the missing part with grey
// and calls it a success. The image's own segments are walked from its start marker to its end marker, so that
// whatever follows the end (phones append a movie to their "motion photos") is never taken for part of it. In the
// entropy-coded data after a scan header an FF is followed by 00 (a stuffed byte), D0-D7 (a restart) or more FFs
// (fill) unless it begins the next marker.
bool jpegEndsEarly(const QByteArray& bytes)
{
    const auto at = [&](qsizetype i) { return quint8(bytes[i]); };
    const qsizetype size = bytes.size();
    if (size < 2 || at(0) != 0xFF || at(1) != 0xD8)
        return false; // not a JPEG's start: the decoder judges it
    bool scanBegun = false;
    qsizetype pos = 2;
    while (true) {
        // Bytes before a marker are stray: decoders skip them, and so does this walk.
        pos = bytes.indexOf('\xFF', pos);
        if (pos < 0)
            return scanBegun;
        while (pos < size && at(pos) == 0xFF)
            ++pos;
        if (pos >= size)
            return scanBegun;
        const quint8 marker = at(pos++);
        if (marker == 0xD9)
            return false; // the end of the image: anything after it is not the image's
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // no length follows these
        if (pos + 2 > size)
            return scanBegun;
        const qsizetype length = (qsizetype(at(pos)) << 8) | at(pos + 1);
        if (length < 2)
            return false; // malformed rather than short: the decoder judges it
        pos += length;
        if (pos > size)
            return true;
        if (marker != 0xDA)
            continue;
        scanBegun = true;
        // The scan's data runs to the next FF that is not stuffed, a restart or fill.
        while (true) {
            pos = bytes.indexOf('\xFF', pos);
            if (pos < 0 || pos + 1 >= size)
                return true;
            const quint8 next = at(pos + 1);
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
                pos += 2;
                continue;
            }
            if (next == 0xFF) {
                ++pos;
                continue;
            }
            break; // a marker: the walk goes on from its FF
        }
    }
}

QRectF boundedCrop(const QRectF& crop, const QSize& size)
{
    const QRectF whole(QPointF(0, 0), QSizeF(size));
    if (!(crop.width() > 0) || !(crop.height() > 0))
        return whole;
    const QRectF inside = crop.intersected(whole);
    return inside.isEmpty() ? whole : inside;
}

QSize thumbnailSizeFor(const QSizeF& source)
{
    const double aspect = source.width() / source.height();
    if (aspect > 1)
        return { UtilsPics::kThumbnailSize, std::max(1, int(std::lround(UtilsPics::kThumbnailSize / aspect))) };
    return { std::max(1, int(std::lround(UtilsPics::kThumbnailSize * aspect))), UtilsPics::kThumbnailSize };
}

// Decodes an image file within the budget. With `thumbnailCrop` the image is cut by it and made into a thumbnail,
// decoded at a reduced scale where the format allows.
QImage decodePicture(const QString& path, const QString& kind, const QRectF* thumbnailCrop, QString* whyNot)
{
    QString reason;
    QByteArray bytes = readPictureFile(path, &reason);
    QImage image;
    if (!bytes.isEmpty()) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        // The contents name the format where they can; the extension is the fall-back (a mislabelled file reads).
        QByteArray format = QImageReader::imageFormat(&buffer);
        if (format.isEmpty())
            format = kind.toLatin1();
        QImageReader reader(&buffer, format);
        reader.setAllocationLimit(kAllocationLimitMegabytes);
        const QSize size = reader.size();
        if (size.isValid() && qint64(size.width()) * size.height() > UtilsPics::kMaxImagePixels) {
            reason = tooLargeText(path, size);
        } else {
            QRectF source;
            QSize target;
            bool scaledRead = false;
            if (thumbnailCrop && size.isValid()) {
                source = boundedCrop(*thumbnailCrop, size);
                target = thumbnailSizeFor(source.size());
                if (reader.supportsOption(QImageIOHandler::ScaledSize)
                    && (target.width() < source.width() || target.height() < source.height())) {
                    if (source != QRectF(QPointF(0, 0), QSizeF(size)))
                        reader.setClipRect(source.toAlignedRect());
                    reader.setScaledSize(target);
                    scaledRead = true;
                }
            }
            image = reader.read();
            if (image.isNull()) {
                reason = reader.error() == QImageReader::DeviceError ? reasonText("PicUnreadable", path)
                                                                      : LocalizedString(QStringLiteral("PicMalformed"))
                                                                            .arg(QFileInfo(path).fileName(),
                                                                                QString::fromLatin1(format).toUpper());
            } else if ((format == "jpeg" || format == "jpg") && jpegEndsEarly(bytes)) {
                image = QImage();
                reason = reasonText("PicEndsEarly", path);
            } else if (thumbnailCrop && !scaledRead) {
                image = UtilsPics::makeThumbnailImageFrom(image, source.isValid() ? source : *thumbnailCrop);
            }
        }
    }
    if (whyNot)
        *whyNot = image.isNull() ? reason : QString();
    return image;
}
}

QImage UtilsPics::originalImageForFile(const QString& path, QRectF* cropRect, QString* whyNot)
{
    if (cropRect)
        *cropRect = QRectF();
    if (whyNot)
        whyNot->clear();
    const QString kind = fileKindOf(path);
    if (path.isEmpty() || kind.isEmpty() || !imageFileTypes().contains(kind))
        return {};
    return decodePicture(path, kind, nullptr, whyNot);
}

QImage UtilsPics::thumbnailImageForFile(const QString& path, const QRectF& cropRect, QString* whyNot)
{
    if (whyNot)
        whyNot->clear();
    const QString kind = fileKindOf(path);
    if (path.isEmpty() || kind.isEmpty() || !imageFileTypes().contains(kind))
        return {};
    return decodePicture(path, kind, &cropRect, whyNot);
}

QImage UtilsPics::makeThumbnailImageFrom(const QImage& image, const QRectF& cropRect)
{
    if (image.isNull())
        return {};
    QRectF source = cropRect;
    if (!(source.width() > 0) || !(source.height() > 0))
        source = QRectF(0, 0, image.width(), image.height());
    const QSize size = thumbnailSizeFor(source.size());
    const int width = size.width();
    const int height = size.height();
    QImage thumbnail(width, height, QImage::Format_ARGB32_Premultiplied);
    thumbnail.fill(Qt::transparent);
    QPainter painter(&thumbnail);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QRectF(0, 0, width, height), image, source);
    painter.end();
    return thumbnail;
}

QByteArray UtilsPics::tiffRepresentation(const QImage& image)
{
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "tiff");
    if (writer.write(image))
        return bytes;
    // Without the TIFF plug-in the thumbnail is kept as PNG rather than lost; readers detect the format.
    FTLog(QStringLiteral("Thumbnail written as PNG: %1").arg(writer.errorString()));
    bytes.clear();
    buffer.seek(0);
    image.save(&buffer, "PNG");
    return bytes;
}

QString UtilsPics::stringFromRect(const QRectF& rect)
{
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(QString::number(rect.x()), QString::number(rect.y()), QString::number(rect.width()),
            QString::number(rect.height()));
}

QRectF UtilsPics::rectFromString(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("[-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?"));
    double v[4] = { 0, 0, 0, 0 };
    int n = 0;
    for (auto it = number.globalMatch(text); it.hasNext() && n < 4;)
        v[n++] = it.next().captured().toDouble();
    return QRectF(v[0], v[1], v[2], v[3]);
}
