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

// The bytes a pixel takes once decoded, as the file's header announces it (4 when it does not say).
int decodedBytesPerPixel(const QImageReader& reader)
{
    // A reader that could not read the header may answer its format with whatever its field held: it is asked only
    // once the header gave a size.
    if (!reader.size().isValid())
        return 4;
    const QImage::Format format = reader.imageFormat();
    if (format == QImage::Format_Invalid)
        return 4;
    return std::max(1, QImage::toPixelFormat(format).bitsPerPixel() / 8);
}

// Pictures of more than 8 bits a channel (16-bit scans) pass the pixel limit and are then refused by the
// decoder's allocation limit, which only says it cannot read them.
QString tooDeepText(const QString& path, const QSize& size, int bytesPerPixel)
{
    return LocalizedString(QStringLiteral("PicTooLargeToDecode"))
        .arg(QFileInfo(path).fileName(), QString::number(size.width()), QString::number(size.height()),
            QString::number(bytesPerPixel * 8), QString::number(kAllocationLimitMegabytes));
}

bool exceedsAllocationLimit(const QSize& size, int bytesPerPixel)
{
    return size.isValid()
        && qint64(size.width()) * size.height() * bytesPerPixel > qint64(kAllocationLimitMegabytes) * 1024 * 1024;
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
            const int bytesPerPixel = decodedBytesPerPixel(reader);
            image = reader.read();
            if (image.isNull() && exceedsAllocationLimit(size, bytesPerPixel)) {
                reason = tooDeepText(path, size, bytesPerPixel);
            } else if (image.isNull()) {
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

namespace {
// Reads a JPEG's frame header, walking the segments from its start marker. A progressive JPEG is decoded through
// coefficient buffers for the whole image, two bytes a coefficient, whatever scale it is decoded at: answers their
// size, 0 for a sequential JPEG or a header that cannot be read.
qint64 progressiveJpegCoefficientBytes(QIODevice& device)
{
    auto byte = [&]() -> int {
        char c;
        return device.getChar(&c) ? int(quint8(c)) : -1;
    };
    if (!device.seek(0) || byte() != 0xFF || byte() != 0xD8)
        return 0;
    while (true) {
        int b = byte();
        while (b >= 0 && b != 0xFF)
            b = byte();
        int marker = byte();
        while (marker == 0xFF)
            marker = byte();
        if (marker < 0 || marker == 0xD9 || marker == 0xDA)
            return 0; // the image or its data begin without a frame header
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        const int high = byte();
        const int low = byte();
        if (low < 0)
            return 0;
        const qint64 length = (high << 8) | low;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!frame) {
            if (length < 2 || !device.seek(device.pos() + length - 2))
                return 0;
            continue;
        }
        const bool progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
        const QByteArray header = device.read(6);
        if (!progressive || header.size() < 6)
            return 0;
        const qint64 height = (quint8(header[1]) << 8) | quint8(header[2]);
        const qint64 width = (quint8(header[3]) << 8) | quint8(header[4]);
        const int components = quint8(header[5]);
        const QByteArray sampling = device.read(components * 3);
        if (sampling.size() < components * 3)
            return 0;
        int hMax = 1, vMax = 1;
        for (int c = 0; c < components; ++c) {
            hMax = std::max(hMax, quint8(sampling[c * 3 + 1]) >> 4);
            vMax = std::max(vMax, quint8(sampling[c * 3 + 1]) & 0x0F);
        }
        qint64 bytes = 0;
        for (int c = 0; c < components; ++c) {
            const int h = std::max(1, quint8(sampling[c * 3 + 1]) >> 4);
            const int v = std::max(1, quint8(sampling[c * 3 + 1]) & 0x0F);
            const qint64 blocksAcross = (width * h / hMax + 7) / 8 + 1;
            const qint64 blocksDown = (height * v / vMax + 7) / 8 + 1;
            bytes += blocksAcross * blocksDown * 64 * 2;
        }
        return bytes;
    }
}
}

qint64 UtilsPics::thumbnailDecodeBytes(const QString& path, const QRectF& cropRect)
{
    const QString kind = fileKindOf(path);
    if (path.isEmpty() || kind.isEmpty() || !imageFileTypes().contains(kind))
        return 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const qint64 fileBytes = file.size();
    QByteArray format = QImageReader::imageFormat(&file);
    if (format.isEmpty())
        format = kind.toLatin1();
    file.seek(0);
    QImageReader reader(&file, format);
    const QSize size = reader.size();
    // Without a size in its header the decoder may take up to its limit.
    if (!size.isValid())
        return fileBytes + qint64(kAllocationLimitMegabytes) * 1024 * 1024;
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > kMaxImagePixels)
        return fileBytes; // refused before decoding
    const qint64 bytesPerPixel = decodedBytesPerPixel(reader);
    const QRectF source = boundedCrop(cropRect, size);
    const bool whole = source == QRectF(QPointF(0, 0), QSizeF(size));
    const QSize target = thumbnailSizeFor(source.size());
    const qint64 thumbnailBytes = qint64(target.width()) * target.height() * 4;
    // As decodePicture reads: scaled by the decoder where it can, then clipped and scaled by the reader.
    const bool scaledRead = reader.supportsOption(QImageIOHandler::ScaledSize)
        && (target.width() < source.width() || target.height() < source.height());
    if (!scaledRead)
        return fileBytes + pixels * bytesPerPixel + thumbnailBytes;
    if (format == "jpeg" || format == "jpg") {
        // Decoded at an eighth to a whole of its size, to no less than the thumbnail.
        const qint64 scale = std::clamp<qint64>(
            qint64(std::min(source.width() / target.width(), source.height() / target.height())), 1, 8);
        const qint64 decoded = ((size.width() + scale - 1) / scale) * ((size.height() + scale - 1) / scale) * 4;
        return fileBytes + decoded + thumbnailBytes + progressiveJpegCoefficientBytes(file);
    }
    // A PNG of 8 bits a channel is read straight to a smaller size a row at a time, unless interlaced (byte 28 of
    // its header) or clipped.
    if (format == "png" && whole && bytesPerPixel == 4) {
        file.seek(28);
        char interlace = 1;
        if (file.getChar(&interlace) && interlace == 0)
            return fileBytes + qint64(size.width()) * bytesPerPixel * 2 + thumbnailBytes;
    }
    // Otherwise the whole picture is decoded, the clip copied out of it, and the reader scales that, first
    // converting a picture of another depth than 32 bits.
    const qint64 sourcePixels = whole ? pixels : qint64(source.width() * source.height());
    qint64 decoded = pixels * bytesPerPixel + (whole ? 0 : sourcePixels * bytesPerPixel);
    if (bytesPerPixel != 4)
        decoded += sourcePixels * std::max<qint64>(bytesPerPixel, 4);
    return fileBytes + decoded + thumbnailBytes;
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
