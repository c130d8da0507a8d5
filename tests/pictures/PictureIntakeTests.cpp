// Pictures pasted or dropped onto a person: what a clipboard offers, which files are taken, image data
// through the temporary folder, the picture record of this program, and files that cannot become pictures.

#include "PicturesFixture.h"

#include "pictures/PictureIntake.h"

#include "model/FTMocUndoManager.h"
#include "model/PicturePlist.h"
#include "model/UtilsPics.h"

#include <QMimeData>
#include <QUrl>

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {
class PictureIntakeTest : public PicturesFixture {
protected:
    static std::unique_ptr<QMimeData> imagePasted(const QImage& image)
    {
        auto mime = std::make_unique<QMimeData>();
        mime->setImageData(image);
        return mime;
    }
    static QImage anImage()
    {
        QImage img(30, 60, QImage::Format_RGB32);
        img.fill(Qt::magenta);
        return img;
    }
};
}

TEST_F(PictureIntakeTest, WhatIsOfferedIsCountedAndTakenInOrder)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    const QString jpg = image("in/one.jpg"), png = image("in/two.PNG"), wav = file("in/three.wav", "RIFF"),
                  xls = file("in/sums.xls", "sheet");

    // Three accepted files and one other: three pictures, told in lower case.
    auto drop = filesDropped({ jpg, xls, png, wav });
    EXPECT_EQ(PictureIntake::numImageFilesInPasteboard(*drop, moc.get()), 3);
    QStringList told;
    moc->undoManager()->closeOpenGroups();
    auto added = PictureIntake::addPicturesFromPasteboard(*drop, ann, [&](const QString& t) { told << t; });
    ASSERT_TRUE(added);
    ASSERT_EQ(added->size(), 3);
    EXPECT_EQ((*added)[0]->name(), "one");
    EXPECT_EQ((*added)[1]->name(), "two");
    EXPECT_EQ((*added)[2]->name(), "three");
    EXPECT_EQ(told, QStringList { "3 pictures added - drag & drop complete" });
    EXPECT_EQ(moc->undoManager()->actionName(), "Add Picture " + ann->nameWithBirthAndDeathYears());
    EXPECT_TRUE((*added)[0]->originalPicture()) << "images get their thumbnail at once";
    EXPECT_FALSE((*added)[2]->originalPicture()) << "a sound has no image of its own";

    // Only files of other kinds: an empty list, the count 0, and the undo action keeps its name.
    moc->undoManager()->closeOpenGroups();
    auto others = filesDropped({ xls });
    EXPECT_EQ(PictureIntake::numImageFilesInPasteboard(*others, moc.get()), 0);
    told.clear();
    added = PictureIntake::addPicturesFromPasteboard(*others, ann, [&](const QString& t) { told << t; });
    ASSERT_TRUE(added);
    EXPECT_TRUE(added->isEmpty());
    EXPECT_EQ(told, QStringList { "0 pictures added - drag & drop complete" });
    EXPECT_EQ(moc->undoManager()->actionName(), "");

    // Nothing usable at all: no list, nothing said.
    QMimeData text;
    text.setText("hello");
    EXPECT_EQ(PictureIntake::numImageFilesInPasteboard(text, moc.get()), 0);
    told.clear();
    EXPECT_FALSE(PictureIntake::addPicturesFromPasteboard(text, ann, [&](const QString& t) { told << t; }));
    EXPECT_TRUE(told.isEmpty());

    // While the database is being imported into, movies are not taken.
    const QString mov = file("in/clip.mov", "movie");
    auto movie = filesDropped({ mov });
    EXPECT_EQ(PictureIntake::numImageFilesInPasteboard(*movie, moc.get()), 1);
    moc->setImportThreadIsActive(true);
    EXPECT_EQ(PictureIntake::numImageFilesInPasteboard(*movie, moc.get()), 0);
    EXPECT_TRUE(PictureIntake::imageFilesInFilenamesPasteboard(*movie, moc.get()).isEmpty());
    moc->setImportThreadIsActive(false);
    EXPECT_TRUE(messages().isEmpty()) << messages().join("\n").toStdString();
}

TEST_F(PictureIntakeTest, APictureRecordIsTakenBeforeTheFilesBesideIt)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    FTPerson* bob = person(*moc, "Bob");
    FTPicture* original = FTPicture::initInMoc(moc.get(), image("in/family.png"), ann);
    original->setName("The family");
    original->setDate("1 Jan 1900");
    original->setNotes("On the steps");
    original->setTranscription("<p>Dear all</p>");
    original->setRclCut("{{1, 2}, {3, 4}}");

    QMimeData mime;
    mime.setUrls({ QUrl::fromLocalFile(image("in/other.png")), QUrl::fromLocalFile(image("in/third.png")) });
    PicturePlist::fromPicture(*original).writeTo(mime);
    EXPECT_EQ(PictureIntake::numImageFilesInPasteboard(mime, moc.get()), 1);
    auto added = PictureIntake::addPicturesFromPasteboard(mime, bob);
    ASSERT_TRUE(added);
    ASSERT_EQ(added->size(), 1);
    FTPicture* copy = added->first();
    EXPECT_EQ(copy->owner(), bob);
    EXPECT_EQ(copy->filename(), original->filename());
    EXPECT_EQ(copy->name(), "The family");
    EXPECT_EQ(copy->date(), "1 Jan 1900");
    EXPECT_EQ(copy->notes(), "On the steps");
    EXPECT_EQ(copy->transcription(), "<p>Dear all</p>");

    // The record's own form: every key, read back; bytes that are not a record are refused.
    const PicturePlist record = PicturePlist::fromPicture(*original);
    EXPECT_EQ(record.owner, "Ann");
    EXPECT_EQ(record.cropRect, "{{1, 2}, {3, 4}}");
    EXPECT_EQ(record.seqNo, 1);
    const auto back = PicturePlist::fromCbor(record.toCbor());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->filename, record.filename);
    EXPECT_EQ(back->transcriptionData, record.transcriptionData);
    EXPECT_EQ(back->seqNo, 1);
    EXPECT_FALSE(PicturePlist::fromCbor("not cbor"));
    EXPECT_FALSE(PicturePlist::fromCbor(QCborValue(42).toCbor()));
}

TEST_F(PictureIntakeTest, PastedImagesWaitInTheTemporaryFolderUnderASafeName)
{
    auto moc = newDatabase();
    const QString temp = UtilsPics::tempPicsDirectory();
    auto pasted = imagePasted(anImage());
    EXPECT_EQ(PictureIntake::numImageFilesInPasteboard(*pasted, moc.get()), 1);
    struct Case {
        QString name;
        QString file;
    };
    const Case cases[] = {
        { "", "TiffImage.tiff" },
        { "A/B", "A|B.tiff" },
        { "../x", "|x.tiff" },
        { "..", "TiffImage.tiff" },
        { QString("Ann\nLee"), "AnnLee.tiff" },
        { QString(300, 'n'), QString(100, 'n') + ".tiff" },
    };
    for (const Case& c : cases) {
        const QStringList paths = PictureIntake::copyImageFilesFromPasteboard(*pasted, c.name, moc.get());
        ASSERT_EQ(paths.size(), 1) << c.name.toStdString();
        EXPECT_EQ(paths.first(), temp + "/" + c.file);
        EXPECT_TRUE(QFileInfo(paths.first()).isFile());
        EXPECT_EQ(QImage(paths.first()).size(), QSize(30, 60));
    }

    // People with such names get their pasted pictures, and the temporary folder is gone afterwards.
    for (const QString& name : { QString("A/B"), QString("../x") }) {
        FTPerson* p = person(*moc, name);
        auto added = PictureIntake::addPicturesFromPasteboard(*pasted, p);
        ASSERT_TRUE(added);
        ASSERT_EQ(added->size(), 1);
        EXPECT_TRUE(added->first()->filename().startsWith(picturesFolder() + "/")) << added->first()->filename().toStdString();
        EXPECT_TRUE(added->first()->originalFilename().isEmpty());
        EXPECT_TRUE(added->first()->originalPicture());
        EXPECT_FALSE(QFileInfo::exists(temp));
    }
    EXPECT_FALSE(QFileInfo::exists(data() + "/x.tiff"));
    EXPECT_FALSE(QFileInfo::exists(data() + "/B.tiff"));
    EXPECT_TRUE(messages().isEmpty()) << messages().join("\n").toStdString();
}

TEST_F(PictureIntakeTest, APasteWhoseCopyFailsAddsNothingAndKeepsTheImage)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    file("data/Pictures", "a file where the pictures folder should be");
    auto pasted = imagePasted(anImage());
    EXPECT_FALSE(PictureIntake::addPicturesFromPasteboard(*pasted, ann));
    EXPECT_TRUE(ann->pictures().isEmpty());
    EXPECT_EQ(moc->count<FTPicture>(), 0);
    EXPECT_TRUE(QFileInfo(UtilsPics::tempPicsDirectory() + "/Ann.tiff").isFile()) << "the pasted image is kept";
    ASSERT_EQ(messages().size(), 1);
    EXPECT_THAT(messages()[0].toStdString(), HasSubstr("Unable to copy"));
}

TEST_F(PictureIntakeTest, FilesThatCannotBecomePicturesAreLeftOutWithTheirReasons)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    const QByteArray jpeg = imageBytes("JPG", 300, 200);
    QDir().mkpath(dir.path() + "/in/folder.jpg");
    ASSERT_TRUE(QFile::link(dir.path() + "/in/gone.png", dir.path() + "/in/dangling.png"));
    const QStringList bad {
        file("in/truncated.jpg", jpeg.left(jpeg.size() - 40)),
        file("in/noise.png", "not a picture"),
        file("in/empty.jpg", ""),
        dir.path() + "/in/folder.jpg",
        dir.path() + "/in/dangling.png",
    };
    ASSERT_TRUE(moc->saveMoc());
    auto added = PictureIntake::addPicturesFromPasteboard(*filesDropped(bad), ann);
    ASSERT_TRUE(added);
    EXPECT_TRUE(added->isEmpty());
    EXPECT_TRUE(ann->pictures().isEmpty());
    EXPECT_EQ(moc->count<FTPicture>(), 0);
    EXPECT_FALSE(moc->hasChanges()) << "the person is as it was";
    ASSERT_EQ(messages().size(), 1);
    const QString told = messages()[0];
    for (const char* reason : { "truncated.jpg ends early", "noise.png is not a readable PNG picture", "empty.jpg is empty",
             "folder.jpg is a folder", "dangling.png cannot be read" })
        EXPECT_THAT(told.toStdString(), HasSubstr(reason));

    // A good file beside them is still taken.
    prompts.clear();
    added = PictureIntake::addPicturesFromPasteboard(*filesDropped({ bad[0], image("in/good.png") }), ann);
    ASSERT_TRUE(added);
    ASSERT_EQ(added->size(), 1);
    EXPECT_EQ(added->first()->name(), "good");
    EXPECT_EQ(messages().size(), 1);
}
