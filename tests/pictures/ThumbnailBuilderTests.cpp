// Building the missing thumbnails of a database: which pictures need one, icons for sounds and documents, the
// batches and their saves, the estimate, stopping, and moving the thumbnails of an older database.

#include "PicturesFixture.h"

#include "pictures/ThumbnailBuilder.h"
#include "pictures/ThumbnailMover.h"

#include "model/FTMocUndoManager.h"
#include "model/FTOriginalPicture.h"
#include "model/UtilsPics.h"

#include <QSemaphore>
#include <QThreadPool>

#include <gmock/gmock.h>

#include <memory>
#include <new>
#include <stdexcept>

using ::testing::HasSubstr;

namespace {
class ThumbnailBuilderTest : public PicturesFixture {
protected:
    // `count` pictures of Ann's with image files and no thumbnails yet, saved.
    QList<FTPicture*> picturesWithoutThumbnails(FTMoc& moc, int count)
    {
        FTPerson* ann = person(moc, "Ann");
        QList<FTPicture*> out;
        for (int i = 0; i < count; ++i) {
            FTPicture* p = FTPicture::initInMoc(&moc, image(QString("in/p%1.png").arg(i), 60, 30), ann);
            out << p;
        }
        EXPECT_TRUE(moc.saveMoc());
        return out;
    }
    void TearDown() override
    {
        ThumbnailBuilder::setDecodeBudget(0);
        PicturesFixture::TearDown();
    }
    // A TIFF of one colour, decoded whole.
    QString tiff(const QString& relative, QColor colour, int width, int height)
    {
        QImage img(width, height, QImage::Format_RGB32);
        img.fill(colour);
        return file(relative, [&] {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            EXPECT_TRUE(img.save(&buffer, "TIFF"));
            return bytes;
        }());
    }
};
}

TEST_F(ThumbnailBuilderTest, OnlyPicturesWithAFileAndNoThumbnailNeedOne)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    FTPicture* needs = FTPicture::initInMoc(moc.get(), image("in/a.png"), ann);
    FTPicture* has = FTPicture::initInMoc(moc.get(), image("in/b.png"), ann);
    has->setDefaultThumbnailImage();
    FTPicture* gone = FTPicture::initInMoc(moc.get(), image("in/c.png"), ann);
    QFile::remove(gone->filename());
    missingPicture(*moc, ann, {}, "/nowhere/d.png");
    ThumbnailBuilder builder(moc.get());
    EXPECT_EQ(builder.arrayOfPicsNeedingThumbnailsInMoc(), QList<FTPicture*> { needs });

    // A quarter of a second a picture, in whole seconds.
    EXPECT_THAT(ThumbnailBuilder::prebuildQuestion(4).toStdString(),
        HasSubstr("Prebuild 4 Thumbnails.\n\nEstimated time = 1 second"));
    EXPECT_THAT(ThumbnailBuilder::prebuildQuestion(3).toStdString(), HasSubstr("= 0 seconds"));
}

TEST_F(ThumbnailBuilderTest, TwentyFivePicturesAreSavedAfterTheTenthTheTwentiethAndAtTheEnd)
{
    auto moc = newDatabase();
    const QList<FTPicture*> pictures = picturesWithoutThumbnails(*moc, 25);
    ThumbnailBuilder builder(moc.get());
    QStringList told;
    QList<int> createdAtSave;
    builder.messageChanged = [&](const QString& t) { told << t; };
    builder.saved = [&] {
        EXPECT_FALSE(moc->hasChanges());
        createdAtSave << moc->count<FTOriginalPicture>();
    };
    moc->undoManager()->closeOpenGroups();
    builder.start();
    EXPECT_EQ(builder.createThumbnails(pictures), 25);
    builder.finish();
    EXPECT_EQ(createdAtSave, (QList<int> { 10, 20, 25 }));
    ASSERT_EQ(told.size(), 4) << told.join("\n").toStdString();
    EXPECT_EQ(told[0], "Building thumbnails...");
    EXPECT_THAT(told[1].toStdString(), HasSubstr("10 of 25 thumbnails created. Time Remaining = "));
    EXPECT_THAT(told[2].toStdString(), HasSubstr("20 of 25 thumbnails created."));
    EXPECT_THAT(told[3].toStdString(), HasSubstr("25 of 25 thumbnails created in "));
    EXPECT_THAT(told[3].toStdString(), HasSubstr("(0 couldn't be created)"));
    for (FTPicture* p : pictures)
        EXPECT_EQ(p->thumbnailImage().size(), QSize(100, 50));
    EXPECT_FALSE(moc->undoManager()->canUndo()) << "nothing of the build is undone";
    EXPECT_TRUE(moc->undoManager()->isUndoRegistrationEnabled());
    EXPECT_TRUE(builder.arrayOfPicsNeedingThumbnailsInMoc().isEmpty());
}

TEST_F(ThumbnailBuilderTest, AStopEndsTheBuildAfterTheCurrentPictureAndKeepsWhatWasMade)
{
    auto moc = newDatabase();
    const QList<FTPicture*> pictures = picturesWithoutThumbnails(*moc, 30);
    ThumbnailBuilder builder(moc.get());
    int made = 0;
    builder.keepAlive = [&] {
        made = int(moc->count<FTOriginalPicture>());
        if (made == 13)
            builder.stop();
    };
    builder.start();
    EXPECT_EQ(builder.createThumbnails(pictures), 13);
    EXPECT_FALSE(moc->hasChanges()) << "what was made is saved";
    EXPECT_EQ(builder.arrayOfPicsNeedingThumbnailsInMoc().size(), 17);

    // Not started, or nothing to do.
    ThumbnailBuilder idle(moc.get());
    EXPECT_EQ(idle.createThumbnails(pictures), 0);
    QStringList told;
    idle.messageChanged = [&](const QString& t) { told << t; };
    idle.start();
    EXPECT_EQ(idle.createThumbnails({}), 0);
    EXPECT_EQ(told, QStringList { "All thumbnails are up to date." });
}

TEST_F(ThumbnailBuilderTest, LargePicturesAreDecodedWithinTheBudgetAndOneLargerThanItAlone)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    QList<FTPicture*> pictures;
    QList<QColor> colours;
    for (int i = 0; i < 14; ++i) {
        const QColor colour = QColor::fromHsv(i * 25, 255, 220);
        const bool big = i == 6;
        pictures << FTPicture::initInMoc(
            moc.get(), tiff(QString("in/p%1.tif").arg(i), colour, big ? 1200 : 300, big ? 900 : 200), ann);
        colours << colour;
    }
    // A JPEG cut short: its header gives its size, its decode fails.
    const QByteArray jpeg = imageBytes("JPG", 300, 200);
    FTPicture* cut = FTPicture::initInMoc(moc.get(), file("in/cut.jpg", jpeg.left(jpeg.size() / 2)), ann);
    pictures.insert(9, cut);
    colours.insert(9, QColor());
    ASSERT_TRUE(moc->saveMoc());

    const qint64 small = UtilsPics::thumbnailDecodeBytes(pictures[0]->filename(), {});
    const qint64 big = UtilsPics::thumbnailDecodeBytes(pictures[6]->filename(), {});
    const qint64 budget = small * 3 + small / 2;
    ASSERT_GT(big, budget);
    ASSERT_LT(UtilsPics::thumbnailDecodeBytes(cut->filename(), {}), budget);
    ThumbnailBuilder::setDecodeBudget(budget);

    ThumbnailBuilder builder(moc.get());
    builder.start();
    EXPECT_EQ(builder.createThumbnails(pictures), 14);
    EXPECT_EQ(builder.peakDecodeBytes(), big) << "the large picture was decoded, and alone";
    ASSERT_EQ(builder.failures().size(), 1);
    EXPECT_THAT(builder.failures()[0].toStdString(), HasSubstr("cut.jpg ends early"));
    EXPECT_FALSE(cut->originalPicture());
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        if (pictures[i] == cut)
            continue;
        const QImage thumbnail = pictures[i]->thumbnailImage();
        ASSERT_FALSE(thumbnail.isNull()) << i;
        EXPECT_EQ(thumbnail.pixelColor(thumbnail.width() / 2, thumbnail.height() / 2).rgb(), colours[i].rgb()) << i;
    }
}

TEST_F(ThumbnailBuilderTest, ADecodeThatThrowsIsOneFailureAndTheOtherPicturesAreStillMade)
{
    auto moc = newDatabase();
    const QList<FTPicture*> pictures = picturesWithoutThumbnails(*moc, 12);
    // One decode at a time: a decode that kept its memory would hold up all the others.
    ThumbnailBuilder::setDecodeBudget(UtilsPics::thumbnailDecodeBytes(pictures[0]->filename(), {}) * 3 / 2);
    ThumbnailBuilder builder(moc.get());
    builder.decoding = [](const QString& path) {
        if (path.endsWith("/p3.png"))
            throw std::bad_alloc();
        if (path.endsWith("/p7.png"))
            throw std::runtime_error("the decoder broke");
    };
    builder.start();
    EXPECT_EQ(builder.createThumbnails(pictures), 10);
    EXPECT_THAT(builder.failures(), ::testing::ElementsAre("p3.png cannot be read: there is not enough memory for it.",
                                                           "p7.png cannot be read: the decoder broke"));
    EXPECT_FALSE(pictures[3]->originalPicture());
    EXPECT_FALSE(pictures[7]->originalPicture());
    EXPECT_TRUE(pictures[11]->originalPicture());
    EXPECT_FALSE(moc->hasChanges());
}

TEST_F(ThumbnailBuilderTest, AStopWhileADecodeHangsEndsTheBuild)
{
    auto moc = newDatabase();
    const QList<FTPicture*> pictures = picturesWithoutThumbnails(*moc, 12);
    ThumbnailBuilder::setDecodeBudget(UtilsPics::thumbnailDecodeBytes(pictures[0]->filename(), {}) * 3 / 2);
    ThumbnailBuilder builder(moc.get());
    // The first file's decode does not end (a file on a server that went away) until the test lets it.
    const auto hang = std::make_shared<QSemaphore>();
    builder.decoding = [hang](const QString& path) {
        if (path.endsWith("/p0.png"))
            hang->acquire();
    };
    int waits = 0;
    builder.keepAlive = [&] {
        if (++waits == 20)
            builder.stop();
    };
    builder.start();
    EXPECT_EQ(builder.createThumbnails(pictures), 0);
    EXPECT_EQ(waits, 20);
    EXPECT_EQ(builder.arrayOfPicsNeedingThumbnailsInMoc().size(), 12);
    hang->release();
    QThreadPool::globalInstance()->waitForDone();
}

TEST_F(ThumbnailBuilderTest, SoundsAndDocumentsGetIconsAndOtherKindsNone)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    FTPicture* sound = FTPicture::initInMoc(moc.get(), file("in/tune.wav", "RIFF"), ann);
    FTPicture* text = FTPicture::initInMoc(moc.get(), file("in/letter.txt", "Dear"), ann);
    FTPicture* sheet = FTPicture::initInMoc(moc.get(), file("in/sums.xls", "cells"), ann);
    FTPicture* broken = FTPicture::initInMoc(moc.get(), file("in/broken.jpg", "no jpeg"), ann);
    ThumbnailBuilder builder(moc.get());
    QStringList told;
    builder.messageChanged = [&](const QString& t) { told << t; };
    builder.start();
    const QList<FTPicture*> pictures = builder.arrayOfPicsNeedingThumbnailsInMoc();
    ASSERT_EQ(pictures.size(), 4);
    EXPECT_EQ(builder.createThumbnails(pictures), 2);
    EXPECT_THAT(told.last().toStdString(), HasSubstr("2 of 4 thumbnails created"));
    EXPECT_THAT(told.last().toStdString(), HasSubstr("(2 couldn't be created)"));

    for (FTPicture* p : { sound, text }) {
        ASSERT_TRUE(p->originalPicture()) << p->name().toStdString();
        EXPECT_EQ(p->rclCut(), "{{20, 2}, {88, 120}}");
        EXPECT_EQ(p->thumbnailImage().size(), QSize(73, 100));
    }
    EXPECT_EQ(ThumbnailBuilder::iconPathFor(sound->filename()).section('/', -1), "iTunes-audible.png");
    EXPECT_EQ(ThumbnailBuilder::iconPathFor("/a/clip.MOV alias").section('/', -1), "iTunes-movie.png");
    EXPECT_EQ(ThumbnailBuilder::iconPathFor("/a/b.rtfd").section('/', -1), "rtf.png");
    EXPECT_EQ(ThumbnailBuilder::iconPathFor("/a/b.doc").section('/', -1), "rtf.png");
    EXPECT_EQ(ThumbnailBuilder::iconPathFor("/a/b.html").section('/', -1), "html.png");
    EXPECT_EQ(ThumbnailBuilder::iconPathFor("/a/b.pdf").section('/', -1), "txt.png");
    EXPECT_EQ(ThumbnailBuilder::iconPathFor("/a/b.xls"), "");
    EXPECT_FALSE(sheet->originalPicture());
    EXPECT_FALSE(broken->originalPicture());
    EXPECT_EQ(broken->rclCut(), "{{0, 0}, {0, 0}}") << "a picture without thumbnail is left as it was";
    ASSERT_EQ(builder.failures().size(), 2);
    EXPECT_THAT(builder.failures().join("\n").toStdString(), HasSubstr("broken.jpg is not a readable JPG picture"));
}

TEST_F(ThumbnailBuilderTest, StoredThumbnailsOfAnOlderDatabaseMoveToTheirOwnRecords)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    QList<FTPicture*> old;
    for (int i = 0; i < 205; ++i) {
        FTPicture* p = missingPicture(*moc, ann, QString("/old/%1.jpg").arg(i));
        p->setThumbNailImageData(QByteArray("tiff-") + QByteArray::number(i));
        old << p;
    }
    // One already has a record: it is filled, not doubled.
    old[3]->setOriginalPicture(moc->insertObject<FTOriginalPicture>());
    ASSERT_TRUE(moc->saveMoc());
    moc->undoManager()->removeAllActions();
    ThumbnailMover mover(*moc, old);
    QList<int> steps;
    mover.progressChanged = [&](int done) { steps << done; };
    EXPECT_EQ(mover.moveAllThumbnails(), 205);
    EXPECT_EQ(steps, (QList<int> { 100, 200, 205 }));
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_EQ(moc->count<FTOriginalPicture>(), 205);
    EXPECT_EQ(old[3]->originalPicture()->data(), "tiff-3");
    EXPECT_EQ(old[204]->originalPicture()->data(), "tiff-204");
    EXPECT_EQ(moc->count<FTPicture>([](const FTPicture* p) { return !p->isNil(Key("thumbNailImageData")); }), 0);
    EXPECT_FALSE(moc->undoManager()->canUndo());
}
