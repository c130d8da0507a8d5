// What the pictures page copies: the image as TIFF with the picture's record, the file's URL beside the original,
// and the fall-backs when the file or the thumbnail is missing.

#include "PersonPicturesFixture.h"

#include "editor/PictureClipboard.h"

#include "model/PicturePlist.h"

#include <QBuffer>
#include <QCborMap>
#include <QCborValue>
#include <QFile>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>

namespace {

class PictureClipboardTest : public PersonPicturesFixture {
protected:
    // A picture of Ann made from a new image file of 40 × 20, its thumbnail stored.
    FTPicture* pictureWithFile()
    {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QString path = dir.path() + "/in/mill.png";
        QDir().mkpath(dir.path() + "/in");
        EXPECT_TRUE(image.save(path));
        FTPicture* p = FTPicture::initInMoc(moc.get(), path, ann);
        EXPECT_FALSE(p->thumbnailImage().isNull());
        return p;
    }
    static QSize tiffSize(const QMimeData& mime)
    {
        QByteArray bytes = mime.data(PictureClipboard::kTiffMimeType);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "tiff");
        return reader.size();
    }
};

TEST_F(PictureClipboardTest, TheOriginalGoesWithItsFileAndRecord)
{
    FTPicture* p = pictureWithFile();
    auto mime = PictureClipboard::originalImage(p);
    ASSERT_TRUE(mime);
    EXPECT_EQ(tiffSize(*mime), QSize(40, 20));
    ASSERT_EQ(mime->urls().size(), 1);
    // The file itself, not the link to it in the pictures folder.
    EXPECT_EQ(mime->urls().first().toLocalFile(), dir.path() + "/in/mill.png");
    const auto record = PicturePlist::readFrom(*mime);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->filename, p->filename());
    EXPECT_EQ(record->title, "mill");
    EXPECT_TRUE(prompts.records.isEmpty());

    // The thumbnail alone: its TIFF and the record, never the file.
    auto thumbnail = PictureClipboard::thumbnailImage(p);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(tiffSize(*thumbnail), QSize(100, 50));
    EXPECT_FALSE(thumbnail->hasUrls());
    EXPECT_TRUE(PicturePlist::isOffered(*thumbnail));
}

TEST_F(PictureClipboardTest, AMissingFileFallsBackToTheThumbnail)
{
    FTPicture* p = pictureWithFile();
    ASSERT_TRUE(QFile::remove(dir.path() + "/in/mill.png"));
    auto thumbnail = PictureClipboard::thumbnailImage(p);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(tiffSize(*thumbnail), QSize(100, 50));
    EXPECT_TRUE(PicturePlist::isOffered(*thumbnail));

    auto original = PictureClipboard::originalImage(p);
    ASSERT_TRUE(original);
    EXPECT_EQ(prompts.records.last().text, "No original image so thumbnail has been copied");
    EXPECT_EQ(tiffSize(*original), QSize(100, 50));
    EXPECT_FALSE(original->hasUrls());

    // Neither file nor thumbnail: nothing is copied.
    FTPicture* empty = picture(ann, "Nothing");
    EXPECT_FALSE(PictureClipboard::originalImage(empty));
    EXPECT_EQ(prompts.records.last().text, "No image found to copy");
    EXPECT_FALSE(PictureClipboard::thumbnailImage(empty));
    EXPECT_EQ(prompts.records.last().text, "No thumbnail image to copy");
}

TEST_F(PictureClipboardTest, ARecordWithoutTitleOrTranscriptionHoldsEmptyValues)
{
    FTPicture* p = pictureWithFile();
    p->setName(QString());
    auto mime = PictureClipboard::thumbnailImage(p);
    ASSERT_TRUE(mime);
    const QCborMap map = QCborValue::fromCbor(mime->data(PicturePlist::kMimeType)).toMap();
    EXPECT_TRUE(map.value(QStringLiteral("Title")).isString());
    EXPECT_EQ(map.value(QStringLiteral("Title")).toString(), "");
    EXPECT_TRUE(map.value(QStringLiteral("TranscriptionData")).isByteArray());
    EXPECT_TRUE(map.value(QStringLiteral("TranscriptionData")).toByteArray().isEmpty());
    EXPECT_EQ(map.value(QStringLiteral("SeqNo")).toInteger(), 1);
}

} // namespace
