// What a picture file says about itself: a JPEG written here with EXIF, GPS and IPTC properties through exiv2, the
// IPTC lines appended to notes, and files that exiv2 cannot read.

#include "PictureTestFiles.h"
#include "TaggedJpeg.h"

#include "pictures/PictureMetadataReader.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PictureMetadataReaderTest : public ::testing::Test {
protected:
    QString taggedJpeg() { return writeTaggedJpeg(dir.filePath("tagged.jpg")); }
    static QStringList keys(const QList<MetadataNode>& nodes)
    {
        QStringList out;
        for (const MetadataNode& n : nodes)
            out << n.key;
        return out;
    }
    static const MetadataNode* group(const PictureMetadataReader& reader, const QString& name)
    {
        for (const MetadataNode& n : reader.tree())
            if (n.key == name)
                return &n;
        return nullptr;
    }

    QTemporaryDir dir;
};

TEST_F(PictureMetadataReaderTest, ATaggedJpegGivesItsGroupsSortedByKey)
{
    const QString path = taggedJpeg();
    const PictureMetadataReader reader(path);
    EXPECT_EQ(keys(reader.tree()),
        QStringList({ "Pixel Height", "Pixel Width", "EXIF Properties", "GPS Properties", "IPTC Properties" }));
    EXPECT_EQ(reader.tree()[0].val, "200");
    EXPECT_TRUE(reader.hasIptc());

    const MetadataNode* iptc = group(reader, "IPTC Properties");
    ASSERT_NE(iptc, nullptr);
    ASSERT_EQ(iptc->children.size(), 2);
    EXPECT_EQ(iptc->children[0].key, "Caption");
    EXPECT_EQ(iptc->children[0].val, "Church door");
    EXPECT_EQ(iptc->children[1].key, "Keywords");
    EXPECT_EQ(iptc->children[1].val, "Family, Wedding, 1920");

    // EXIF properties by their tag names (DateTimeOriginal, Make, Orientation), shown by exiv2's labels and values.
    const MetadataNode* exif = group(reader, "EXIF Properties");
    ASSERT_NE(exif, nullptr);
    QStringList values;
    for (const MetadataNode& n : exif->children)
        values << n.val;
    EXPECT_EQ(values.mid(0, 3), QStringList({ "1920:06:12 10:30:00", "Kinloom Camera", "right, top" }));
    EXPECT_EQ(exif->children[1].key, "Manufacturer");
    EXPECT_TRUE(exif->children[0].children.isEmpty());
    ASSERT_NE(group(reader, "GPS Properties"), nullptr);
    EXPECT_EQ(group(reader, "GPS Properties")->children[0].val, "North");

    EXPECT_EQ(reader.filePath(), QFileInfo(path).absoluteFilePath());
    EXPECT_TRUE(reader.fileType().endsWith("\nimage/jpeg")) << reader.fileType().toStdString();
    EXPECT_EQ(reader.fileSize(), QStringLiteral("%1 bytes").arg(QFileInfo(path).size()));
    // The preview stands as the orientation says, at most 128 pixels.
    EXPECT_EQ(reader.preview().size(), QSize(85, 128));
}

TEST_F(PictureMetadataReaderTest, IptcLinesAppendToTrimmedNotes)
{
    const PictureMetadataReader reader(taggedJpeg());
    const QString lines = "Caption: Church door\nKeywords: Family, Wedding, 1920\n";
    EXPECT_EQ(PictureMetadataReader::notesWithIptc(reader.tree(), "  Found in the attic\n", false),
        "Found in the attic\n\n" + lines);
    EXPECT_EQ(PictureMetadataReader::notesWithIptc(reader.tree(), "", true),
        "Caption: Church door\n\nKeywords: Family, Wedding, 1920\n\n");
    EXPECT_EQ(PictureMetadataReader::notesWithIptc(reader.tree(), " \n ", false), lines);

    QImage plain(20, 20, QImage::Format_RGB32);
    plain.fill(Qt::white);
    ASSERT_TRUE(plain.save(dir.filePath("plain.jpg")));
    const PictureMetadataReader untagged(dir.filePath("plain.jpg"));
    EXPECT_FALSE(untagged.hasIptc());
    EXPECT_FALSE(PictureMetadataReader::notesWithIptc(untagged.tree(), "Notes", true));
}

TEST_F(PictureMetadataReaderTest, FilesExiv2CannotReadGiveAnEmptyTree)
{
    QFile tagged(taggedJpeg());
    ASSERT_TRUE(tagged.open(QIODevice::ReadOnly));
    const QByteArray start = tagged.read(300);
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    for (const Case& c : { Case { "garbage.jpg", "not a picture at all" }, Case { "empty.png", "" },
             Case { "cut.jpg", start } }) {
        const QString path = writeTestFile(dir.filePath(c.name), c.bytes);
        const PictureMetadataReader reader(path);
        EXPECT_TRUE(reader.tree().isEmpty()) << c.name;
        EXPECT_FALSE(reader.hasIptc()) << c.name;
        EXPECT_TRUE(reader.preview().isNull()) << c.name;
    }
    const PictureMetadataReader missing(dir.filePath("gone.jpg"));
    EXPECT_TRUE(missing.tree().isEmpty());
    EXPECT_TRUE(missing.filePath().isEmpty());
}

}
