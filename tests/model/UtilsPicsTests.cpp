// The picture-file services: thumbnail sizes, the stored rectangle text, the kinds of file taken as pictures and
// the pictures folder.

#include "ModelFixture.h"

#include "model/UtilsPics.h"

#include <QFileInfo>
#include <QImage>

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
