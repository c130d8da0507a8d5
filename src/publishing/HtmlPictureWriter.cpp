#include "publishing/HtmlPictureWriter.h"

#include "publishing/HtmlEscape.h"
#include "publishing/HtmlFileWriter.h"
#include "publishing/HtmlWords.h"
#include "publishing/PublishAsHtml.h"

#include "model/FTOriginalPicture.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/UtilsPics.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace {
const QString& L(const char* key)
{
    return htmlWord(key);
}

// Thumbnails are encoded at the generator's fixed compression factor 0.4; reduced media at 0.2.
constexpr int kThumbnailQuality = 40;
constexpr int kReducedQuality = 20;

QString thumbnailPathFor(const PublishAsHtml& generator, const FTPerson* person, const QString& suffix)
{
    return generator.directory() + QLatin1Char('/')
           + PublishAsHtml::numberedFolder("HtmlDirThumbnails", generator.folderNumberFor(person)) + QLatin1Char('/')
           + PublishAsHtml::filenameForPerson(person) + suffix + QStringLiteral(".jpg");
}

// The path with its extension (if any) replaced by `extension`.
QString withExtension(const QString& path, const QString& extension)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    return info.path() + QLatin1Char('/') + base + extension;
}
// "<name>_<n>.<ext>" of the path.
QString numbered(const QString& path, int n)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    return info.path() + QLatin1Char('/') + base + QStringLiteral("_%1").arg(n) + extension;
}
} // namespace

// ---- Shared helpers -----------------------------------------------------------------------------------------------

QImage HtmlPictureWriter::thumbnailImageOf(FTPicture* picture)
{
    if (!picture)
        return {};
    if (const FTOriginalPicture* op = picture->originalPicture()) {
        const QByteArray data = op->data();
        if (!data.isEmpty())
            return QImage::fromData(data);
    }
    return UtilsPics::thumbnailImageForFile(picture->filename(), UtilsPics::rectFromString(picture->rclCut()));
}

bool HtmlPictureWriter::isMapImage(const FTPicture* picture)
{
    return picture
           && QFileInfo(picture->filename()).fileName().startsWith(L("MapImageFilenamePrefix") + QLatin1Char('_'));
}

QString HtmlPictureWriter::mediaName(const QString& fileName)
{
    QString out;
    for (const QChar c : fileName) {
        const char16_t u = c.unicode();
        if (u == u' ')
            out += QLatin1Char('_');
        else if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_'
                 || u == u'.')
            out += c;
        else
            out += QStringLiteral("_%1_").arg(int(u));
    }
    return out;
}

void HtmlPictureWriter::beginRunIfNew(const PublishAsHtml& generator)
{
    if (m_run == generator.directory())
        return;
    m_run = generator.directory();
    m_sourceOfTarget.clear();
    m_targetOfSource.clear();
}

// ---- The writers --------------------------------------------------------------------------------------------------

int HtmlPictureWriter::writeDefaultPictureFor(PublishAsHtml& generator, FTPerson* person, HtmlPicturesSection& section,
                                              const QString& label)
{
    beginRunIfNew(generator);
    if (generator.privacy().depersonalizeDetailsOfPerson(person))
        return 0;
    FTPicture* picture = person->defaultPicture();
    if (!picture || isMapImage(picture))
        return 0;
    const QString path = thumbnailPathFor(generator, person, {});
    if (!QFileInfo::exists(path)) {
        const QImage thumbnail = thumbnailImageOf(picture);
        if (!thumbnail.isNull())
            saveJPEGImageFor(thumbnail, path, person->firstName(), 13, kThumbnailQuality);
    }
    if (!QFileInfo::exists(path))
        return 0;
    const int written = writeThumbnailFor(generator, picture, path, 0, person, section);
    if (const QString notes = picture->notes().trimmed(); !notes.isEmpty())
        section.notes += QStringLiteral("%1 %2. %3<p>").arg(L("PictureShort"), label, HtmlEscape::text(notes));
    return written;
}

int HtmlPictureWriter::writePicturesOfSpousesOf(PublishAsHtml& generator, FTPerson* person,
                                                HtmlPicturesSection& section)
{
    const HtmlPrivacy& privacy = generator.privacy();
    if (privacy.depersonalizeDetailsOfPerson(person) || !generator.options().picturesOfSpouses)
        return 0;
    int n = 0;
    for (FTPerson* spouse : person->spouses()) {
        if (privacy.isHidden(spouse))
            continue;
        ++n; // every spouse shown counts, with a picture or without
        if (!thumbnailImageOf(spouse->defaultPicture()).isNull())
            writeDefaultPictureFor(generator, spouse, section, QStringLiteral("%1%2").arg(L("SpouseShort")).arg(n));
    }
    return n;
}

int HtmlPictureWriter::writePicturesOfChildrenOf(PublishAsHtml& generator, FTPerson* person,
                                                 HtmlPicturesSection& section)
{
    const HtmlPrivacy& privacy = generator.privacy();
    if (privacy.depersonalizeDetailsOfPerson(person) || !generator.options().picturesOfChildren)
        return 0;
    int n = 0;
    for (FTPerson* child : person->childrenOfType(~0)) {
        if (privacy.isHidden(child) || thumbnailImageOf(child->defaultPicture()).isNull())
            continue;
        if (n == 0)
            section.msPics += QStringLiteral("+= ");
        ++n;
        writeDefaultPictureFor(generator, child, section, QStringLiteral("C%1").arg(n));
    }
    return n;
}

int HtmlPictureWriter::writeAllPicturesFor(PublishAsHtml& generator, FTPerson* person, HtmlPicturesSection& section)
{
    beginRunIfNew(generator);
    if (generator.privacy().depersonalizeDetailsOfPerson(person))
        return 0;
    int total = 0;
    const QList<FTPicture*> pictures = person->picturesArray();
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        FTPicture* picture = pictures[i];
        const QImage thumbnail = thumbnailImageOf(picture);
        if (thumbnail.isNull())
            continue;
        const QString path = thumbnailPathFor(generator, person, QStringLiteral("_%1").arg(i, 2, 10, QLatin1Char('0')));
        if (!QFileInfo::exists(path))
            saveJPEGImageFor(thumbnail, path, picture->name(), 26, kThumbnailQuality);
        if (!QFileInfo::exists(path))
            continue;
        total += writeThumbnailFor(generator, picture, path, int(i), person, section);
        if (const QString notes = picture->notes().trimmed(); !notes.isEmpty())
            section.notes += QStringLiteral("%1 %2. %3<p>").arg(L("PictureShort")).arg(total).arg(HtmlEscape::text(notes));
    }
    return total;
}

int HtmlPictureWriter::writeThumbnailFor(PublishAsHtml& generator, FTPicture* picture, const QString& thumbNailPath,
                                         int picNum, FTPerson* person, HtmlPicturesSection& section)
{
    const QString map = QStringLiteral("P%1_%2").arg(person->numericId()).arg(picNum, 2, 10, QLatin1Char('0'));
    const QString alt = HtmlEscape::attribute(generator.privacy().fullName(person));
    const int folder = generator.folderNumberFor(person);
    section.msPics += QStringLiteral("<img src='../../%1/%2' alt='%3' usemap='#%4'/> \n")
                          .arg(PublishAsHtml::numberedFolder("HtmlDirThumbnails", folder),
                               QFileInfo(thumbNailPath).fileName(), alt, map);
    if (generator.options().copyMediaFiles) {
        const QString media = copyMediaFile(generator, picture, person);
        if (!media.isEmpty()) {
            const QImage thumbnail = thumbnailImageOf(picture);
            section.imageMaps += QStringLiteral("<map id='%1' name='%1'>\n").arg(map);
            section.imageMaps += QStringLiteral("<area shape='rect' coords='0,0,%1,%2' href='../../%3/%4' alt='%5' />\n")
                                     .arg(thumbnail.width())
                                     .arg(thumbnail.height())
                                     .arg(PublishAsHtml::numberedFolder("HtmlDirMedia", folder),
                                          QFileInfo(media).fileName(), alt);
            section.imageMaps += QStringLiteral("</map>\n");
        }
    }
    return 1;
}

bool HtmlPictureWriter::saveJPEGImageFor(const QImage& image, const QString& path, const QString& caption,
                                         int captionHeight, int quality)
{
    if (image.isNull())
        return false;
    const int w = image.width(), h = image.height(), c = std::max(captionHeight, 0);
    QImage canvas(w, h + c, QImage::Format_RGB32);
    const QColor grey(220, 220, 220);
    canvas.fill(grey);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawImage(QRectF(0, 0, w, h), image);
    // The caption strip lies under the picture, its text one pixel up from the bottom.
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, h - 1, w, c), Qt::AlignCenter, QStringLiteral(" %1 ").arg(caption));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 0.5));
    painter.drawRect(QRectF(0, 0, w, h));
    painter.end();
    const QByteArray jpeg = HtmlFileWriter::jpegData(canvas, quality);
    return !jpeg.isEmpty() && HtmlFileWriter::writeWhole(path, jpeg);
}

// ---- Media copies -------------------------------------------------------------------------------------------------

QString HtmlPictureWriter::freeNameFor(const QString& target, const QString& source) const
{
    QString candidate = target;
    for (int n = 2;; ++n) {
        const auto owner = m_sourceOfTarget.constFind(candidate);
        if (owner == m_sourceOfTarget.cend() ? !QFileInfo::exists(candidate) : *owner == source)
            return candidate;
        candidate = numbered(target, n);
    }
}

QString HtmlPictureWriter::copyMediaFile(PublishAsHtml& generator, FTPicture* picture, FTPerson* person)
{
    beginRunIfNew(generator);
    const QString source = picture ? picture->filename() : QString();
    const QFileInfo sourceInfo(source);
    if (source.isEmpty() || !sourceInfo.exists())
        return {};
    const QString folder = generator.directory() + QLatin1Char('/')
                           + PublishAsHtml::numberedFolder("HtmlDirMedia", generator.folderNumberFor(person));
    const QString identity = sourceInfo.absoluteFilePath();
    const QString key = folder + QLatin1Char('|') + identity;
    // A file already copied into this folder in this run is the answer again.
    if (const auto done = m_targetOfSource.constFind(key); done != m_targetOfSource.cend())
        return *done;

    // A picture linked from the pictures folder is stored as "<file> alias": the copy takes the file's own name.
    QString fileName = sourceInfo.fileName();
    if (fileName.endsWith(QStringLiteral(" alias")))
        fileName.chop(6);
    const QString mediaPath = folder + QLatin1Char('/') + mediaName(fileName);
    const auto remember = [&](const QString& target) {
        m_sourceOfTarget.insert(target, identity);
        m_targetOfSource.insert(key, target);
        return target;
    };

    const bool reducible = generator.options().compressMediaFiles
                           && UtilsPics::fileKindOf(source) != QLatin1String("pdf")
                           && picture->isImageFile();
    if (reducible) {
        const QImage image = UtilsPics::originalImageForFile(source);
        if (!image.isNull() && (sourceInfo.size() > kSmallFileBytes || image.width() > kReducedWidth)) {
            const QString target = freeNameFor(withExtension(mediaPath, QStringLiteral(".jpg")), identity);
            if (QFileInfo::exists(target))
                return remember(target);
            const QSize size = image.width() > kReducedWidth
                                   ? QSize(kReducedWidth, std::max(1, int(qint64(image.height()) * kReducedWidth
                                                                          / image.width())))
                                   : image.size();
            QImage reduced(size, QImage::Format_RGB32);
            reduced.fill(Qt::white); // under any transparent parts, which JPEG cannot keep
            QPainter painter(&reduced);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRectF(QPointF(0, 0), QSizeF(size)), image);
            painter.end();
            const QByteArray jpeg = HtmlFileWriter::jpegData(reduced, kReducedQuality);
            if (jpeg.isEmpty() || !HtmlFileWriter::writeWhole(target, jpeg))
                return {};
            return remember(target);
        }
    }
    const QString target = freeNameFor(mediaPath, identity);
    if (QFileInfo::exists(target))
        return remember(target);
    if (!QFile::copy(source, target))
        return {};
    return remember(target);
}
