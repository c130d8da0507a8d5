#include "model/FTPicture.h"

#include "model/FTMoc.h"
#include "model/FTOriginalPicture.h"
#include "model/UtilsPics.h"

#include "platform/store/StoreSchema.h"

#include <QCborValue>
#include <QImage>

namespace {
const Key kThumbnailImage("thumbnailImage");

struct Enhancement {
    const char* accessorKey;
    float defaultValue;
};
const Enhancement kEnhancements[] = { { "tnBrightness", 0.0f }, { "tnContrast", 1.0f }, { "tnExposure", 0.0f },
    { "tnGamma", 1.0f }, { "tnLuminance", 0.4f }, { "tnSaturation", 1.0f }, { "tnSepia", 0.0f } };

// "tnGamma" is kept as "fGamma".
QString storedKey(const QString& accessorKey)
{
    return QLatin1Char('f') + accessorKey.mid(2);
}

float defaultFor(const QString& accessorKey)
{
    for (const Enhancement& e : kEnhancements)
        if (accessorKey == QLatin1String(e.accessorKey))
            return e.defaultValue;
    return 0.0f;
}
}

QImage FTPicture::thumbnailImage()
{
    if (const FTOriginalPicture* op = originalPicture()) {
        const QByteArray data = op->data();
        if (!data.isEmpty())
            return QImage::fromData(data);
    }
    const QImage thumbnail = UtilsPics::thumbnailImageForFile(filename(), UtilsPics::rectFromString(rclCut()));
    if (thumbnail.isNull())
        return {};
    setThumbnailImage(thumbnail);
    return QImage::fromData(originalPicture()->data());
}

void FTPicture::setThumbnailImage(const QImage& image)
{
    const QByteArray tiff = UtilsPics::tiffRepresentation(image);
    if (FTOriginalPicture* op = originalPicture()) {
        willChangeValueForKey(kThumbnailImage);
        op->setData(tiff);
        didChangeValueForKey(kThumbnailImage);
        return;
    }
    // A new record is filled first: linking it announces "thumbnailImage" once, with the image in place.
    FTOriginalPicture* op = moc() ? FTOriginalPicture::initInMoc(moc()) : context()->insertObject<FTOriginalPicture>();
    op->setData(tiff);
    setOriginalPicture(op);
}

void FTPicture::setDefaultThumbnailImage()
{
    const QImage thumbnail = UtilsPics::thumbnailImageForFile(filename(), QRectF());
    if (!thumbnail.isNull())
        setThumbnailImage(thumbnail);
}

float FTPicture::enhancementValueForKey(const QString& accessorKey, float defaultValue) const
{
    const QCborValue v = extraDataMap().value(storedKey(accessorKey));
    return v.isDouble() || v.isInteger() ? float(v.toDouble()) : defaultValue;
}

void FTPicture::setEnhancementValue(float value, const QString& accessorKey)
{
    QCborMap map = extraDataMap();
    map.insert(storedKey(accessorKey), double(value));
    setExtraDataMap(map);
}

void FTPicture::setTnEnhancementDefaults()
{
    // One write of the whole map: one change to undo, not seven.
    QCborMap map = extraDataMap();
    for (const Enhancement& e : kEnhancements)
        map.insert(storedKey(QString::fromLatin1(e.accessorKey)), double(e.defaultValue));
    setExtraDataMap(map);
}

#define FT_ENHANCEMENT(Getter, Setter, Name)                                                                           \
    float FTPicture::Getter() const                                                                                    \
    {                                                                                                                  \
        return enhancementValueForKey(QStringLiteral(Name), defaultFor(QStringLiteral(Name)));                         \
    }                                                                                                                  \
    void FTPicture::Setter(float value)                                                                                \
    {                                                                                                                  \
        setEnhancementValue(value, QStringLiteral(Name));                                                              \
    }
FT_ENHANCEMENT(tnBrightness, setTnBrightness, "tnBrightness")
FT_ENHANCEMENT(tnContrast, setTnContrast, "tnContrast")
FT_ENHANCEMENT(tnExposure, setTnExposure, "tnExposure")
FT_ENHANCEMENT(tnGamma, setTnGamma, "tnGamma")
FT_ENHANCEMENT(tnLuminance, setTnLuminance, "tnLuminance")
FT_ENHANCEMENT(tnSaturation, setTnSaturation, "tnSaturation")
FT_ENHANCEMENT(tnSepia, setTnSepia, "tnSepia")
#undef FT_ENHANCEMENT

void FTPicture::declareDerivedKeys(StoreSchema& schema)
{
    EntityDescription& picture = schema.entity(QString::fromLatin1(kEntityName));
    picture.derived(
        QStringLiteral("thumbnailImage"),
        [](const ManagedObject* o) {
            // Reading the key makes and stores a missing thumbnail, as the accessor does.
            return QVariant(const_cast<FTPicture*>(static_cast<const FTPicture*>(o))->thumbnailImage());
        },
        [](ManagedObject* o, const QVariant& v) { static_cast<FTPicture*>(o)->setThumbnailImage(v.value<QImage>()); },
        { QStringLiteral("originalPicture") });
    for (const Enhancement& e : kEnhancements) {
        const QString key = QString::fromLatin1(e.accessorKey);
        const float fallback = e.defaultValue;
        picture.derived(
            key,
            [key, fallback](const ManagedObject* o) {
                return QVariant(static_cast<const FTPicture*>(o)->enhancementValueForKey(key, fallback));
            },
            [key](ManagedObject* o, const QVariant& v) {
                static_cast<FTPicture*>(o)->setEnhancementValue(v.toFloat(), key);
            },
            { QStringLiteral("extraData") });
    }
}
