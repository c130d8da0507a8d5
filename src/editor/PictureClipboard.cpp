#include "editor/PictureClipboard.h"

#include "shell/DisplayMsg.h"

#include "model/FTPicture.h"
#include "model/PicturePlist.h"
#include "model/UtilsPics.h"

#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QUrl>

const QString PictureClipboard::kTiffMimeType = QStringLiteral("image/tiff");

namespace {
std::unique_ptr<QMimeData> imageAndRecord(const QImage& image, const FTPicture& picture)
{
    auto mime = std::make_unique<QMimeData>();
    mime->setData(PictureClipboard::kTiffMimeType, UtilsPics::tiffRepresentation(image));
    PicturePlist::fromPicture(picture).writeTo(*mime);
    return mime;
}
}

std::unique_ptr<QMimeData> PictureClipboard::originalImage(FTPicture* picture)
{
    if (!picture)
        return nullptr;
    QImage image = picture->originalImage();
    if (image.isNull()) {
        image = picture->thumbnailImage();
        if (image.isNull()) {
            DisplayMsg(QStringLiteral("No image found to copy"));
            return nullptr;
        }
        DisplayMsg(QStringLiteral("No original image so thumbnail has been copied"));
    }
    auto mime = imageAndRecord(image, *picture);
    const QString filename = picture->filename();
    if (!filename.isEmpty()) {
        const QString file = UtilsPics::resolveAliasedPath(filename);
        if (QFileInfo::exists(file))
            mime->setUrls({QUrl::fromLocalFile(file)});
    }
    return mime;
}

std::unique_ptr<QMimeData> PictureClipboard::thumbnailImage(FTPicture* picture)
{
    if (!picture)
        return nullptr;
    const QImage image = picture->thumbnailImage();
    if (image.isNull()) {
        DisplayMsg(QStringLiteral("No thumbnail image to copy"));
        return nullptr;
    }
    return imageAndRecord(image, *picture);
}
