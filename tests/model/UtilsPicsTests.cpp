// The picture-file services: thumbnail sizes, the stored rectangle text, the kinds of file taken as pictures, the
// pictures and temporary folders, links, and the reasons a file gives no image.

#include "ModelFixture.h"

#include "model/UtilsPics.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QtEndian>

#include <unistd.h>

using UtilsPicsTest = ModelFixture;

TEST_F(UtilsPicsTest, ThumbnailsKeepTheirProportionsWithinTheLimit)
{
    struct Case {
        QSize image;
        QRectF crop;
        QSize thumbnail;
    };
    const Case cases[] = {
        {{400, 200}, {}, {100, 50}},
        {{50, 200}, {}, {25, 100}},
        {{3000, 1000}, {}, {100, 33}},
        {{30, 30}, {}, {100, 100}},
        {{400, 200}, {0, 0, 0, 120}, {100, 50}}, // an empty rectangle means the whole image
        {{400, 400}, {100, 100, 50, 200}, {25, 100}},
        {{1, 5000}, {}, {1, 100}},
    };
    for (const Case& c : cases) {
        QImage image(c.image, QImage::Format_RGB32);
        image.fill(Qt::green);
        EXPECT_EQ(UtilsPics::makeThumbnailImageFrom(image, c.crop).size(), c.thumbnail)
            << c.image.width() << "x" << c.image.height();
    }
    EXPECT_TRUE(UtilsPics::makeThumbnailImageFrom(QImage(), {}).isNull());
    EXPECT_TRUE(UtilsPics::originalImageForFile("").isNull());
    QRectF crop(1, 2, 3, 4);
    EXPECT_TRUE(UtilsPics::originalImageForFile(dir.path() + "/none.jpg", &crop).isNull());
    EXPECT_EQ(crop, QRectF()) << "the crop is handed back empty";
}

TEST_F(UtilsPicsTest, RectanglesAsText)
{
    EXPECT_EQ(UtilsPics::stringFromRect(QRectF()), "{{0, 0}, {0, 0}}");
    EXPECT_EQ(UtilsPics::stringFromRect(QRectF(20, 2.5, 88, 120)), "{{20, 2.5}, {88, 120}}");
    EXPECT_EQ(UtilsPics::rectFromString("{{20, 2.5}, {88, 120}}"), QRectF(20, 2.5, 88, 120));
    EXPECT_EQ(UtilsPics::rectFromString("{{-4, 1e2}, {.5, 7}}"), QRectF(-4, 100, 0.5, 7));
    EXPECT_EQ(UtilsPics::rectFromString(""), QRectF());
    EXPECT_EQ(UtilsPics::rectFromString("{{3, 4}}"), QRectF(3, 4, 0, 0));
}

TEST_F(UtilsPicsTest, MultimediaTypesAndTheMoviesAmongThem)
{
    QSet<QString> movies;
    const QSet<QString> all = UtilsPics::multimediaFileTypes(&movies);
    for (const char* t : {"jpg", "JPG", "png", "tif", "wav", "mp3", "txt", "rtf", "htm", "HTM", "mov", "MOV", "mp4"})
        EXPECT_TRUE(all.contains(t)) << t;
    EXPECT_TRUE(movies.contains("mov"));
    EXPECT_TRUE(movies.contains("MP4"));
    EXPECT_FALSE(movies.contains("jpg"));
    EXPECT_FALSE(movies.contains("wav"));

    QSet<QString> none;
    const QSet<QString> importing = UtilsPics::multimediaFileTypes(&none, false);
    EXPECT_TRUE(none.isEmpty());
    EXPECT_FALSE(importing.contains("mov"));
    EXPECT_TRUE(importing.contains("jpg"));

    EXPECT_EQ(UtilsPics::fileKindOf("/a/b.c/Photo.JPG alias"), "jpg");
    EXPECT_EQ(UtilsPics::fileKindOf("/a/b.c/README"), "");
}

TEST_F(UtilsPicsTest, PicturesFolderIsMadeInTheDataFolder)
{
    const QString expected = dir.path() + "/data/Pictures";
    EXPECT_FALSE(QFileInfo::exists(expected));
    EXPECT_EQ(UtilsPics::picturesDirectory(), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
    EXPECT_EQ(UtilsPics::tempPicsDirectory(), dir.path() + "/data/tempPicsDir");
    EXPECT_FALSE(QFileInfo::exists(UtilsPics::tempPicsDirectory()));
}

namespace {
QString writeFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contents);
    return path;
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

QByteArray progressiveJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    EXPECT_TRUE(writer.write(image));
    return bytes;
}

// Detailed enough that most of its JPEG is the picture's data, not its header.
QImage detailedImage()
{
    QImage good(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            good.setPixel(x, y, qRgb(x % 256, (x * y) % 256, y % 256));
    return good;
}

quint32 crc32Of(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    char be[4];
    qToBigEndian<quint32>(quint32(data.size()), be);
    QByteArray chunk(be, 4);
    chunk += type + data;
    qToBigEndian<quint32>(crc32Of(type + data), be);
    return chunk.append(be, 4);
}

// A PNG whose header claims the given size (8-bit RGB, or 16-bit RGBA when `deep`), with hardly any pixels behind
// it.
QByteArray pngHeaderClaiming(quint32 width, quint32 height, bool deep = false)
{
    QByteArray header(8, 0);
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header.append(deep ? "\x10\x06\x00\x00\x00" : "\x08\x02\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header)
        + pngChunk("IDAT", QByteArray("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9)) + pngChunk("IEND", {});
}
}

TEST_F(UtilsPicsTest, LinksAreFollowedFiveDeepAndRelativeTargetsFromTheLinksFolder)
{
    const QString target = writeFile(dir.path() + "/files/photo.jpg", "photo");
    // chain n: l1 -> l2 -> ... -> ln -> photo.jpg
    auto chain = [&](const QString& name, int n) {
        QString next = target;
        for (int i = n; i >= 1; --i) {
            const QString link = QStringLiteral("%1/links/%2-%3").arg(dir.path(), name).arg(i);
            QDir().mkpath(dir.path() + "/links");
            EXPECT_TRUE(QFile::link(next, link));
            next = link;
        }
        return next;
    };
    EXPECT_EQ(UtilsPics::resolveAliasedPath(chain("four", 4)), target);
    EXPECT_EQ(UtilsPics::resolveAliasedPath(chain("six", 6)), dir.path() + "/links/six-6") << "the fifth link's target";
    EXPECT_EQ(UtilsPics::resolveAliasedPath(target), target);
    EXPECT_EQ(UtilsPics::resolveAliasedPath(""), "");

    const QString dangling = dir.path() + "/links/gone.jpg alias";
    ASSERT_TRUE(QFile::link(dir.path() + "/files/gone.jpg", dangling));
    EXPECT_EQ(UtilsPics::resolveAliasedPath(dangling), dangling) << "a link to a missing file stays as it is";

    // "../files/photo.jpg" is read from the link's folder, wherever the program runs.
    const QString relative = dir.path() + "/links/relative.jpg";
    ASSERT_EQ(symlink("../files/photo.jpg", QFile::encodeName(relative).constData()), 0);
    EXPECT_EQ(UtilsPics::resolveAliasedPath(relative), target);
}

TEST_F(UtilsPicsTest, BadPictureFilesGiveNoImageAndSayWhy)
{
    const QImage good = detailedImage();
    const QByteArray jpeg = encoded(good, "JPG");
    const QString folder = dir.path() + "/bad";
    QDir().mkpath(folder + "/folder.jpg");
    ASSERT_TRUE(QFile::link(folder + "/nothing-there.png", folder + "/dangling.png"));
    struct Case {
        QString path;
        QString reason;
    };
    const Case cases[] = {
        {writeFile(folder + "/truncated.jpg", jpeg.left(jpeg.size() * 2 / 3)), "truncated.jpg ends early"},
        {writeFile(folder + "/huge.png", pngHeaderClaiming(100000, 100000)),
         "huge.png is too large to show: 100000 × 100000 pixels"},
        // Within the pixel limit, but not the decoder's allocation limit at 8 bytes a pixel.
        {writeFile(folder + "/deep.png", pngHeaderClaiming(60000, 1000, true)),
         "deep.png is too large to show: 60000 × 1000 pixels of 64 bits need more than 400 MB."},
        {writeFile(folder + "/empty.jpg", ""), "empty.jpg is empty"},
        {folder + "/folder.jpg", "folder.jpg is a folder"},
        {folder + "/dangling.png", "dangling.png cannot be read"},
        {writeFile(folder + "/noise.png", "not a picture at all"), "noise.png is not a readable PNG picture"},
    };
    for (const Case& c : cases) {
        QString why;
        EXPECT_TRUE(UtilsPics::originalImageForFile(c.path, nullptr, &why).isNull()) << c.path.toStdString();
        EXPECT_TRUE(why.startsWith(c.reason)) << why.toStdString();
        why.clear();
        EXPECT_TRUE(UtilsPics::thumbnailImageForFile(c.path, {}, &why).isNull()) << c.path.toStdString();
        EXPECT_TRUE(why.startsWith(c.reason)) << why.toStdString();
    }

    // The whole file reads, and says nothing.
    QString why = "stale";
    const QString whole = writeFile(folder + "/whole.jpg", jpeg);
    EXPECT_EQ(UtilsPics::originalImageForFile(whole, nullptr, &why).size(), QSize(400, 300));
    EXPECT_TRUE(why.isEmpty());
}

// Phones write "motion photos": a JPEG followed by a movie, whose bytes hold anything, markers included.
TEST_F(UtilsPicsTest, AJpegEndsAtItsEndMarkerWhateverFollowsIt)
{
    const QImage good = detailedImage();
    const QByteArray baseline = encoded(good, "JPG");
    const QByteArray progressive = progressiveJpeg(good);
    ASSERT_GT(progressive.count(QByteArrayView("\xFF\xDA", 2)), 1) << "several scans";
    // A movie's worth of random bytes with scan markers and no end marker.
    QRandomGenerator random(1234);
    QByteArray movie("\x00\x00\x00\x18" "ftypmp42");
    for (int i = 0; i < 20000; ++i)
        movie.append(char(random.bounded(256)));
    movie.replace(QByteArrayView("\xFF\xD9", 2), QByteArrayView("\xFF\xDA", 2));
    movie.append("\xFF\xDA\x00\x08", 4);
    ASSERT_TRUE(movie.contains(QByteArrayView("\xFF\xDA", 2)));

    struct Case {
        const char* name;
        QByteArray bytes;
        bool reads;
    };
    const Case cases[] = {
        { "motion.jpg", baseline + movie, true },
        { "progressive-motion.jpg", progressive + movie, true },
        { "progressive-cut.jpg", progressive.left(progressive.size() * 2 / 3), false },
        { "cut.jpg", baseline.left(baseline.size() - 40), false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString why;
        const QImage image = UtilsPics::originalImageForFile(writeFile(dir.path() + "/" + c.name, c.bytes), nullptr, &why);
        if (c.reads) {
            EXPECT_EQ(image.size(), QSize(400, 300));
            EXPECT_TRUE(why.isEmpty()) << why.toStdString();
        } else {
            EXPECT_TRUE(image.isNull());
            EXPECT_TRUE(why.startsWith(QString(c.name) + " ends early")) << why.toStdString();
        }
    }
}

TEST_F(UtilsPicsTest, ThumbnailsOfFilesAreReadAtTheScaleTheyNeed)
{
    // Left half red, right half blue, in JPEG (read scaled down) and PNG (read whole).
    QImage image(1600, 800, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, 800, 800, Qt::red);
    for (const char* format : {"jpg", "png"}) {
        const QString path = writeFile(dir.path() + "/scan." + format, encoded(image, format));
        const QImage whole = UtilsPics::thumbnailImageForFile(path, {});
        EXPECT_EQ(whole.size(), QSize(100, 50)) << format;
        const QImage right = UtilsPics::thumbnailImageForFile(path, QRectF(800, 0, 800, 800));
        ASSERT_EQ(right.size(), QSize(100, 100)) << format;
        EXPECT_GT(qBlue(right.pixel(5, 50)), 200) << format;
        EXPECT_LT(qRed(right.pixel(5, 50)), 60) << format;
        // A crop reaching past the picture is cut at its edge.
        EXPECT_EQ(UtilsPics::thumbnailImageForFile(path, QRectF(1200, 400, 800, 800)).size(), QSize(100, 100));
    }
}

// What a thumbnail's decode holds follows the way each kind is read: a JPEG or an uncropped PNG straight to a small
// size, a progressive JPEG through buffers for the whole picture, anything else whole.
TEST_F(UtilsPicsTest, TheMemoryOfAThumbnailsDecodeIsEstimatedFromTheHeader)
{
    const int w = 1600, h = 1200;
    const qint64 pixels = qint64(w) * h;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QByteArray progressive = progressiveJpeg(image);
    const QRectF crop(400, 300, 800, 600);
    struct Case {
        const char* name;
        QByteArray bytes;
        QRectF crop;
        qint64 atLeast;
        qint64 below;
    };
    const Case cases[] = {
        {"photo.jpg", encoded(image, "JPG"), {}, 1, pixels / 4},
        {"photo-crop.jpg", encoded(image, "JPG"), crop, 1, pixels / 4},
        {"progressive.jpg", progressive, {}, pixels * 2, pixels * 4},
        {"scan.png", encoded(image, "PNG"), {}, 1, pixels / 4},
        // Read scaled, but whole and converted: far more than decoding it whole.
        {"grey.png", encoded(image.convertToFormat(QImage::Format_Grayscale8), "PNG"), {}, pixels * 5, pixels * 7},
        {"scan-crop.png", encoded(image, "PNG"), crop, pixels * 4 + 800 * 600 * 4, pixels * 6},
        {"scan.tif", encoded(image, "TIFF"), {}, pixels * 4, pixels * 9},
        {"deep.tif", encoded(image.convertToFormat(QImage::Format_RGBA64), "TIFF"), {}, pixels * 8, pixels * 20},
        {"noise.png", "not a picture", {}, 400LL * 1024 * 1024, 401LL * 1024 * 1024},
        {"letter.txt", "Dear", {}, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(dir.path() + "/" + c.name, c.bytes);
        const qint64 bytes = UtilsPics::thumbnailDecodeBytes(path, c.crop);
        EXPECT_GE(bytes, c.atLeast);
        EXPECT_LT(bytes, c.below);
        if (c.atLeast > 0) {
            EXPECT_GE(bytes, c.bytes.size()) << "the file is read whole";
        }
    }
    EXPECT_EQ(UtilsPics::thumbnailDecodeBytes(dir.path() + "/nothing.jpg", {}), 0);
}

TEST_F(UtilsPicsTest, TheTemporaryFolderGoesWithItsContents)
{
    const QString temp = UtilsPics::tempPicsDirectory();
    writeFile(temp + "/TiffImage.tiff", "tiff");
    writeFile(temp + "/sub/more.png", "png");
    EXPECT_TRUE(UtilsPics::removeTempPicsDirectory());
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_TRUE(UtilsPics::removeTempPicsDirectory()) << "nothing to remove is no failure";
}
