#include "pictures/PictureMetadataReader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QStringList>

// exiv2 0.27 still hands out std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <map>
#include <mutex>

namespace {
// Binary properties (maker notes, embedded tables) longer than this are left out: they mean nothing to read.
constexpr long kLongestBinaryValue = 64;

struct Property {
    QString label;
    QStringList values;
};
using Group = std::map<QString, Property>;

QString fromStd(const std::string& s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size())).trimmed();
}

void add(Group& group, const QString& key, const std::string& label, const QString& value)
{
    Property& p = group[key];
    if (p.label.isEmpty())
        p.label = fromStd(label).isEmpty() ? key : fromStd(label);
    p.values << value;
}

MetadataNode groupNode(const QString& name, const Group& group)
{
    MetadataNode node { name, QString(), {} };
    for (const auto& [key, property] : group)
        node.children << MetadataNode { property.label, property.values.join(QStringLiteral(", ")), {} };
    return node;
}

QString xmpValue(const Exiv2::Xmpdatum& datum)
{
    const Exiv2::Value& value = datum.value();
    if (dynamic_cast<const Exiv2::XmpArrayValue*>(&value)) {
        QStringList items;
        for (long i = 0; i < value.count(); ++i)
            items << fromStd(value.toString(i));
        return items.join(QStringLiteral(", "));
    }
    return fromStd(datum.print());
}

void muteExiv2()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
    });
}
}

PictureMetadataReader::PictureMetadataReader(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return;
    const bool readable = readTree(path);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kPreviewSize || size.height() > kPreviewSize))
        reader.setScaledSize(size.scaled(kPreviewSize, kPreviewSize, Qt::KeepAspectRatio));
    m_preview = reader.read();
    if (!readable && m_preview.isNull())
        return;
    m_filePath = info.absoluteFilePath();
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    m_fileType = QStringLiteral("%1\n%2").arg(type.comment(), type.name());
    m_fileSize = QStringLiteral("%1 bytes").arg(info.size());
}

bool PictureMetadataReader::readTree(const QString& path)
{
    muteExiv2();
    Group exif, gps, iptc, xmp;
    int width = 0, height = 0;
    try {
        const QByteArray file = QFile::encodeName(path);
        auto image = Exiv2::ImageFactory::open(std::string(file.constData(), size_t(file.size())), false);
        if (!image.get())
            return false;
        image->readMetadata();
        width = image->pixelWidth();
        height = image->pixelHeight();
        const Exiv2::ExifData& exifData = image->exifData();
        for (const Exiv2::Exifdatum& d : exifData) {
            const std::string groupName = d.groupName();
            const std::string tag = d.tagName();
            // Maker notes, the embedded thumbnail's tags and the pointers between directories mean nothing to read.
            if (groupName == "Thumbnail" || Exiv2::ExifTags::isMakerGroup(groupName) || tag == "MakerNote"
                || tag == "ExifTag" || tag == "GPSTag" || tag == "InteroperabilityTag")
                continue;
            if (d.typeId() == Exiv2::undefined && d.count() > kLongestBinaryValue)
                continue;
            add(groupName == "GPSInfo" ? gps : exif, fromStd(tag), d.tagLabel(), fromStd(d.print(&exifData)));
        }
        for (const Exiv2::Iptcdatum& d : image->iptcData())
            add(iptc, fromStd(d.tagName()), d.tagLabel(), fromStd(d.print()));
        for (const Exiv2::Xmpdatum& d : image->xmpData())
            add(xmp, fromStd(d.groupName() + ":" + d.tagName()), d.tagLabel(), xmpValue(d));
    } catch (const Exiv2::AnyError&) {
        return false;
    } catch (const std::exception&) {
        return false;
    }

    // Top-level nodes in the order of their keys: "PixelHeight", "PixelWidth", "{Exif}", "{GPS}", "{IPTC}", "{XMP}".
    if (height > 0)
        m_tree << MetadataNode { QStringLiteral("Pixel Height"), QString::number(height), {} };
    if (width > 0)
        m_tree << MetadataNode { QStringLiteral("Pixel Width"), QString::number(width), {} };
    if (!exif.empty())
        m_tree << groupNode(QStringLiteral("EXIF Properties"), exif);
    if (!gps.empty())
        m_tree << groupNode(QStringLiteral("GPS Properties"), gps);
    if (!iptc.empty()) {
        m_tree << groupNode(kIptcGroup, iptc);
        m_hasIptc = true;
    }
    if (!xmp.empty())
        m_tree << groupNode(QStringLiteral("XMP Properties"), xmp);
    return true;
}

std::optional<QString> PictureMetadataReader::notesWithIptc(
    const QList<MetadataNode>& tree, const QString& notes, bool doubleSpacing)
{
    QString lines;
    for (const MetadataNode& node : tree) {
        if (node.key != kIptcGroup)
            continue;
        for (const MetadataNode& child : node.children) {
            lines += QStringLiteral("%1: %2\n").arg(child.key, child.val);
            if (doubleSpacing)
                lines += QLatin1Char('\n');
        }
    }
    if (lines.isEmpty())
        return std::nullopt;
    const QString kept = notes.trimmed();
    return kept.isEmpty() ? lines : kept + QStringLiteral("\n\n") + lines;
}
