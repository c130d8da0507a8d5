#include "model/UtilsPics.h"

#include "model/ModelHooks.h"

#include "platform/FTLog.h"

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

QImage UtilsPics::originalImageForFile(const QString& path, QRectF* cropRect)
{
    if (cropRect)
        *cropRect = QRectF();
    const QString kind = fileKindOf(path);
    if (path.isEmpty() || kind.isEmpty() || !imageFileTypes().contains(kind))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Reading hundreds of large scans in a row should not push everything else out of the file cache.
    const int fd = file.handle();
#ifdef POSIX_FADV_SEQUENTIAL
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    const QByteArray bytes = file.readAll();
#ifdef POSIX_FADV_DONTNEED
    posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
#endif
    file.close();
    QImage image;
    // The extension names the format; a file whose contents say otherwise is still read.
    if (!image.loadFromData(bytes, kind.toLatin1().constData()))
        image.loadFromData(bytes);
    return image;
}

QImage UtilsPics::makeThumbnailImageFrom(const QImage& image, const QRectF& cropRect)
{
    if (image.isNull())
        return {};
    QRectF source = cropRect;
    if (!(source.width() > 0) || !(source.height() > 0))
        source = QRectF(0, 0, image.width(), image.height());
    const double aspect = source.width() / source.height();
    int width = kThumbnailSize;
    int height = kThumbnailSize;
    if (aspect > 1)
        height = std::max(1, int(std::lround(kThumbnailSize / aspect)));
    else
        width = std::max(1, int(std::lround(kThumbnailSize * aspect)));
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
