#pragma once

// A JPEG with EXIF, GPS and IPTC properties written through exiv2, for the metadata reader and its window.

#include <QImage>
#include <QString>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <gtest/gtest.h>

// A 300 × 200 picture whose orientation says it stands upright (turned a quarter clockwise), made by
// "Kinloom Camera" on 12 June 1920, north of the equator, captioned "Church door" with three keywords.
inline QString writeTaggedJpeg(const QString& path)
{
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    EXPECT_TRUE(image.save(path, "JPG"));
    auto file = Exiv2::ImageFactory::open(path.toStdString());
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Kinloom Camera";
    exif["Exif.Image.Orientation"] = uint16_t(6);
    exif["Exif.Photo.DateTimeOriginal"] = "1920:06:12 10:30:00";
    exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    Exiv2::IptcData iptc;
    for (const char* keyword : { "Family", "Wedding", "1920" }) {
        Exiv2::StringValue value(keyword);
        iptc.add(Exiv2::IptcKey("Iptc.Application2.Keywords"), &value);
    }
    iptc["Iptc.Application2.Caption"] = "Church door";
    file->setExifData(exif);
    file->setIptcData(iptc);
    file->writeMetadata();
    return path;
}
