// Re-linking pictures whose files are missing to files the user drops, and exporting the picture files (or their
// thumbnails) of a database with their list and the disk space they take.

#include "PicturesFixture.h"

#include "pictures/MissingPictureFiles.h"
#include "pictures/PictureFilesExport.h"

#include "model/FTMocUndoManager.h"
#include "model/FTOriginalPicture.h"
#include "model/UtilsPics.h"

#include "platform/NotificationCenter.h"

#include <QMimeData>
#include <QUrl>

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {
using MissingPictureFilesTest = PicturesFixture;
using PictureFilesExportTest = PicturesFixture;

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}

TEST_F(MissingPictureFilesTest, DroppedFilesAreMatchedByNameWithoutRegardToCase)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    FTPerson* bob = person(*moc, "Bob");
    // Three pictures of one missing file, one by its first chosen name only, one of another database's folder.
    FTPicture* a1 = missingPicture(*moc, ann, "/old/KinloomData/Pictures/Wedding.JPG");
    FTPicture* a2 = missingPicture(*moc, bob, "/old/KinloomData/Pictures/Wedding.JPG", "/home/me/Wedding.JPG");
    FTPicture* a3 = missingPicture(*moc, bob, "/old/KinloomData/Pictures/Wedding.JPG");
    FTPicture* byOriginal = missingPicture(*moc, ann, {}, "/home/me/scans/letter.png");
    FTPicture* stillMissing = missingPicture(*moc, ann, "/old/elsewhere/unknown.png");
    FTPicture* neither = missingPicture(*moc, ann, {});
    // Transcriptions typed before the files were lost.
    a1->setTranscription("<p>Married at St Mary's</p>");
    a2->setTranscription("<p>Bob's copy</p>");
    byOriginal->setTranscription("<p>Dear Ann</p>");
    ASSERT_TRUE(moc->saveMoc());

    MissingPictureFiles missing(moc.get());
    QStringList told;
    missing.messageChanged = [&](const QString& t) { told << t; };
    int refreshes = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        "RefreshAllViews", nullptr, [&](const Notification&) { ++refreshes; });

    // The last of two equal names wins.
    const QString first = file("drop1/wedding.jpg", "first wedding");
    const QString last = file("drop2/WEDDING.jpg", "last wedding");
    const QString letter = file("drop2/Letter.PNG", "letter");
    moc->undoManager()->closeOpenGroups();
    EXPECT_EQ(missing.findMissingPictures({ first, last, letter }), 4);
    NotificationCenter::defaultCenter().removeObserver(token);

    const QString copy = picturesFolder() + "/WEDDING.jpg";
    for (FTPicture* p : { a1, a2, a3 })
        EXPECT_EQ(p->filename(), copy);
    EXPECT_EQ(contents(copy), "last wedding");
    EXPECT_EQ(byOriginal->filename(), picturesFolder() + "/Letter.PNG");
    EXPECT_EQ(a1->transcription(), "<p>Married at St Mary's</p>");
    EXPECT_EQ(a2->transcription(), "<p>Bob's copy</p>");
    EXPECT_EQ(a3->transcription(), "");
    EXPECT_EQ(byOriginal->transcription(), "<p>Dear Ann</p>");
    // Where each picture was first chosen from is kept, as it was saved.
    EXPECT_EQ(a1->originalFilename(), "");
    EXPECT_EQ(a2->originalFilename(), "/home/me/Wedding.JPG");
    EXPECT_EQ(byOriginal->originalFilename(), "/home/me/scans/letter.png");
    EXPECT_EQ(picturesFolderEntries(), (QStringList { "Letter.PNG", "WEDDING.jpg" })) << "one copy for three pictures";
    EXPECT_EQ(missing.picsWithMissingFile(), QList<FTPicture*> { stillMissing });
    EXPECT_EQ(missing.filenamesArray(), QStringList { "/old/elsewhere/unknown.png" });
    EXPECT_FALSE(moc->hasChanges()) << "saved";
    EXPECT_FALSE(moc->importThreadIsActive()) << "the import flag covers the run only";
    EXPECT_EQ(moc->undoManager()->actionName(), "") << "no undo names while re-linking";
    EXPECT_EQ(refreshes, 1);
    ASSERT_FALSE(told.isEmpty());
    EXPECT_EQ(told.first(), "Searching for pictures to link...");
    EXPECT_THAT(told.last().toStdString(), HasSubstr("1 pictures are still missing, with 1 different"));
    // The picture with neither name is counted once, when the list loads.
    EXPECT_EQ(messages().size(), 1);
    EXPECT_THAT(messages().value(0).toStdString(), HasSubstr("Found 1 pictures with neither"));
    EXPECT_TRUE(neither->filename().isEmpty());

    // The rest is found: the success names the data folder.
    EXPECT_EQ(missing.findMissingPictures({ file("drop3/unknown.png", "u") }), 1);
    EXPECT_EQ(told.last(), "Every picture has its file: they are all in the KinloomData/Pictures folder.");
    EXPECT_EQ(messages().size(), 1);
}

TEST_F(MissingPictureFilesTest, AFolderIsLookedIntoOnlyWhenNoFilesAreDroppedAndNotBelowItsTop)
{
    auto moc = newDatabase();
    const QString folder = dir.path() + "/album";
    file("album/one.jpg", "1");
    file("album/notes.xls", "x");
    file("album/deeper/two.jpg", "2");
    const QString loose = file("loose/three.png", "3");

    QMimeData folderOnly;
    folderOnly.setUrls({ QUrl::fromLocalFile(folder) });
    EXPECT_EQ(MissingPictureFiles::filesOffered(folderOnly, moc.get()), QStringList { folder + "/one.jpg" });
    QMimeData both;
    both.setUrls({ QUrl::fromLocalFile(folder), QUrl::fromLocalFile(loose) });
    EXPECT_EQ(MissingPictureFiles::filesOffered(both, moc.get()), QStringList { loose });
}

TEST_F(MissingPictureFilesTest, ALinkWhoseFileIsGoneCountsAsMissingAndTheListIsWritten)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    QDir().mkpath(picturesFolder());
    ASSERT_TRUE(QFile::link(dir.path() + "/gone/photo.jpg", picturesFolder() + "/photo.jpg alias"));
    FTPicture* linked = missingPicture(*moc, ann, picturesFolder() + "/photo.jpg alias", dir.path() + "/gone/photo.jpg");
    FTPicture* present = missingPicture(*moc, ann, file("data/Pictures/here.png", "here"));
    MissingPictureFiles missing(moc.get());
    missing.loadMissingPicsArray();
    EXPECT_EQ(missing.picsWithMissingFile(), QList<FTPicture*> { linked });
    EXPECT_NE(present, nullptr);

    const QString list = missing.printListOfMissingPictures();
    EXPECT_EQ(list, data() + "/MissingPictures.txt");
    EXPECT_TRUE(contents(list).startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(contents(list));
    EXPECT_THAT(text.toStdString(), HasSubstr("Original file name = " + (dir.path() + "/gone/photo.jpg").toStdString()
                                        + "\nFile name = " + linked->filename().toStdString() + "\nOwner = Ann"));

    // Matched by its first chosen name, the link is replaced by a copy.
    EXPECT_EQ(missing.findMissingPictures({ file("found/photo.jpg", "found") }), 1);
    EXPECT_EQ(linked->filename(), picturesFolder() + "/photo.jpg");
    EXPECT_TRUE(missing.printListOfMissingPictures().isEmpty());
    EXPECT_EQ(messages().value(0), "No pictures are missing.");
}

TEST_F(PictureFilesExportTest, SizesAreWrittenInTheLargestUnitTheyExceed)
{
    const std::pair<quint64, const char*> cases[] = {
        { 2147483648ull, "2 Gb" }, { 1073741824ull, "1024 Mb" }, { 1073741825ull, "1 Gb" }, { 1048577, "1 Mb" },
        { 1048576, "1024 Kb" }, { 1025, "1 Kb" }, { 1024, "" }, { 0, "" },
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(PictureFilesExport::sizeText(bytes), text) << bytes;
}

TEST_F(PictureFilesExportTest, AllPictureFilesAreListedOnceAndTooLittleSpaceRefusesTheExport)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    const QString shared = file("data/Pictures/shared.jpg", QByteArray(3000, 's'));
    missingPicture(*moc, ann, shared);
    missingPicture(*moc, person(*moc, "Bob"), shared);
    missingPicture(*moc, ann, file("data/Pictures/Another.png", QByteArray(1000, 'a')));
    missingPicture(*moc, ann, {}, "/only/original.png");

    PictureFilesExport exporter(moc.get());
    exporter.freeDiskSpace = [] { return quint64(5) << 30; };
    exporter.loadPictures();
    ASSERT_EQ(exporter.numPictures(), 2);
    EXPECT_EQ(exporter.picturesArray()[0]->filename(), picturesFolder() + "/Another.png");
    EXPECT_EQ(exporter.bytesNeeded(), 4000u + 2 * 2048);
    EXPECT_EQ(exporter.requiredDiskSpace(), "Required Disk Space = 7 Kb");
    EXPECT_EQ(exporter.availableDiskSpace(), "Available Disk Space = 5 Gb");
    EXPECT_TRUE(exporter.exportEnabled());
    EXPECT_TRUE(messages().isEmpty());

    // 5 Gb needed with 5 Gb and 5 Mb free: warned, and the export is refused.
    exporter.freeDiskSpace = [] { return (quint64(5) << 30) + (quint64(5) << 20); };
    exporter.displayDiskSpaceRequirements(quint64(5) << 30);
    EXPECT_FALSE(exporter.exportEnabled());
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], "Required Disk Space = 5 Gb.\nAvailable Disk Space = 5 Gb.\n\n"
                             "There is not enough free disk space for the export.");
}

TEST_F(PictureFilesExportTest, FilesAreCopiedOnceUnderTheirOwnNamesAndMissingOnesAsTheirThumbnails)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    FTPicture* a = missingPicture(*moc, ann, file("one/photo.jpg", "first"));
    FTPicture* b = missingPicture(*moc, ann, file("two/photo.jpg", "second"));
    // Reached through a link: exported as the file it points to.
    const QString real = file("three/scan.png", "scan");
    QDir().mkpath(picturesFolder());
    ASSERT_TRUE(QFile::link(real, picturesFolder() + "/scan.png alias"));
    FTPicture* linked = missingPicture(*moc, ann, picturesFolder() + "/scan.png alias");
    // Gone, with a thumbnail: the thumbnail goes under the file's name.
    FTPicture* gone = missingPicture(*moc, ann, "/old/KinloomData/Pictures/lost.jpg");
    auto* thumbnail = moc->insertObject<FTOriginalPicture>();
    thumbnail->setData("TIFF");
    gone->setOriginalPicture(thumbnail);
    // Gone without one: not exported.
    FTPicture* nothing = missingPicture(*moc, ann, "/old/nothing.jpg");

    // A name exported already is never written over: not counted, whether a copy or a thumbnail.
    PictureFilesExport exporter(moc.get(), { a, b, linked, gone, nothing, a, gone });
    // The folder of an earlier export holds a note of the user's and a folder of their own: nothing of it goes,
    // and neither does the next name while it holds anything; the export takes the next free one.
    const QString earlier = data() + "/Family_Exported Pictures";
    file("data/Family_Exported Pictures/my notes.txt", "keep me");
    file("data/Family_Exported Pictures/sorted/photo.jpg", "mine");
    file("data/Family_Exported Pictures 2/.hidden", "");
    const QString folder = data() + "/Family_Exported Pictures 3";
    EXPECT_EQ(exporter.exportPictureFiles(), 3);
    EXPECT_EQ(contents(earlier + "/my notes.txt"), "keep me");
    EXPECT_EQ(contents(earlier + "/sorted/photo.jpg"), "mine");
    EXPECT_EQ(QDir(earlier).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
    EXPECT_EQ(exporter.lastExportFolder(), folder);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), (QStringList { "lost.jpg", "photo.jpg", "scan.png" }));
    EXPECT_EQ(contents(folder + "/photo.jpg"), "first");
    EXPECT_EQ(contents(folder + "/scan.png"), "scan");
    EXPECT_EQ(contents(folder + "/lost.jpg"), "TIFF");
    ASSERT_EQ(messages().size(), 2);
    EXPECT_EQ(messages()[0], "Unable to copy 4 pictures (a file of the same name was exported already, or the file "
                             "could not be copied).");
    EXPECT_EQ(messages()[1], "3 picture files copied to:\n\n " + folder + "\n\nThe folder " + earlier
                                 + " already holds files, so the export went into a new folder and left it as it was.");

    // The list names each file once, and the missing ones as such.
    prompts.clear();
    const QString list = exporter.printListOfPictures();
    EXPECT_EQ(list, data() + "/PictureFiles.txt");
    // (A file named under an older "KinloomData" folder reads as under the current one.)
    EXPECT_EQ(contents(list), "\xEF\xBB\xBF/old/nothing.jpg (file not found)\r\n"
        + (picturesFolder() + "/lost.jpg (file not found)\r\n" + picturesFolder() + "/scan.png alias\r\n"
            + dir.path() + "/one/photo.jpg\r\n" + dir.path() + "/two/photo.jpg\r\n")
              .toUtf8());
}

TEST_F(PictureFilesExportTest, ThumbnailsOfOneNameAreNumberedNotWrittenOver)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    QList<FTPicture*> pictures;
    for (const char* name : { "/a/photo.jpg", "/b/photo.png", "/c/other.jpg", "/d/photo.jpg" }) {
        FTPicture* p = missingPicture(*moc, ann, name);
        auto* t = moc->insertObject<FTOriginalPicture>();
        t->setData(QByteArray("thumb of ") + name);
        p->setOriginalPicture(t);
        pictures << p;
    }
    pictures << missingPicture(*moc, ann, "/e/none.jpg");
    const QString folder = data() + "/Family_Exported Thumbnails";
    QDir().mkpath(folder);
    PictureFilesExport exporter(moc.get(), pictures);
    exporter.exportThumbnailsOnly = true;
    EXPECT_EQ(exporter.exportPictures(), 4);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
        (QStringList { "other.tif", "photo.tif", "photo_1.tif", "photo_2.tif" }));
    EXPECT_EQ(contents(folder + "/photo_1.tif"), "thumb of /b/photo.png");
    // An empty folder of that name is used as it is.
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], "4 thumbnails copied to:\n\n " + folder);
}
