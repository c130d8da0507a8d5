// Pictures: creation for people and sources, where the file is placed (copies, numbered names, links), paths
// under older data folders, file kinds, thumbnails, enhancements, descriptions and citations.

#include "ModelFixture.h"

#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTOriginalPicture.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/ModelFlags.h"
#include "model/UtilsPics.h"

#include "platform/UserDefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <functional>

namespace {
class FTPictureTest : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        UserDefaults::standard().removeObject("alwaysCopyToPicturesFolder");
    }
    void TearDown() override
    {
        UserDefaults::standard().removeObject("alwaysCopyToPicturesFolder");
        gMergeFromAnotherDatabase = false;
        ModelFixture::TearDown();
    }

    static void alwaysCopy(bool on) { UserDefaults::standard().setBool("alwaysCopyToPicturesFolder", on); }
    QString picturesFolder() const { return dir.path() + "/data/Pictures"; }

    // A file with the given contents; folders are made as needed.
    QString file(const QString& relative, const QByteArray& contents, const QString& root = {})
    {
        const QString path = (root.isEmpty() ? dir.path() : root) + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
        return path;
    }
    // A PNG of the given size: the left half red, the right half blue.
    QString image(const QString& relative, int width, int height)
    {
        QImage img(width, height, QImage::Format_RGB32);
        img.fill(Qt::blue);
        QPainter(&img).fillRect(0, 0, width / 2, height, Qt::red);
        const QString path = dir.path() + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(img.save(path, "PNG"));
        return path;
    }
    FTPerson* person(FTMoc& moc, const QString& name)
    {
        auto* p = moc.insertObject<FTPerson>();
        p->setName(name);
        return p;
    }
    QStringList picturesFolderEntries() const
    {
        return QDir(picturesFolder()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

};
}

TEST_F(FTPictureTest, NewPicturesAreTitledOrderedAndNumbered)
{
    auto moc = newDatabase();
    moc->modelDefaults()->setMaxPictureId(9);
    FTPerson* ann = person(*moc, "Ann");
    moc->undoManager()->closeOpenGroups();

    FTPicture* first = FTPicture::initInMoc(moc.get(), file("scans/My_Family_1900.jpg", "1"), ann);
    ASSERT_TRUE(first);
    EXPECT_EQ(moc->undoManager()->actionName(), "Add Picture");
    EXPECT_EQ(first->name(), "My Family 1900");
    EXPECT_EQ(first->owner(), ann);
    EXPECT_EQ(first->source(), nullptr);
    EXPECT_EQ(first->seqNo(), 1);
    EXPECT_EQ(ann->defaultPicture(), first);
    EXPECT_EQ(first->numericId(), 10);
    EXPECT_EQ(first->rclCut(), "{{0, 0}, {0, 0}}");
    EXPECT_EQ(first->transcription(), "");

    FTPicture* second = FTPicture::initInMoc(moc.get(), file("scans/wedding.v2.png", "2"), ann);
    EXPECT_EQ(second->name(), "wedding.v2");
    EXPECT_EQ(second->seqNo(), 2);
    EXPECT_EQ(second->numericId(), 11);
    EXPECT_EQ(ann->defaultPicture(), first) << "only the first becomes the default";

    // Pictures parked at very high numbers are not counted.
    FTPerson* bob = person(*moc, "Bob");
    FTPicture* parked = FTPicture::initInMoc(moc.get(), "", bob);
    EXPECT_EQ(parked->name(), " ");
    parked->setSeqNo(1000000);
    bob->setDefaultPicture(nullptr);
    FTPicture* bobs = FTPicture::initInMoc(moc.get(), "", bob);
    EXPECT_EQ(bobs->seqNo(), 1);
    EXPECT_EQ(bob->defaultPicture(), bobs);

    FTSource* register_ = FTSource::initInMoc(moc.get());
    FTPicture* page = FTPicture::initInMoc(moc.get(), file("scans/page.png", "3"), register_);
    EXPECT_EQ(page->source(), register_);
    EXPECT_EQ(page->owner(), nullptr);
    EXPECT_EQ(page->seqNo(), 1);

    moc->setImportThreadIsActive(true);
    EXPECT_EQ(FTPicture::initInMoc(moc.get(), "", ann)->numericId(), 0);
    moc->setImportThreadIsActive(false);
    EXPECT_EQ(moc->modelDefaults()->maxPictureId(), 14);
}

TEST_F(FTPictureTest, AnOwnerThatIsNeitherPersonNorSourceAddsNothing)
{
    auto moc = newDatabase();
    auto other = newDatabase("Other.RezUdu");
    ASSERT_TRUE(moc->saveMoc());
    auto* event = static_cast<FTEvent*>(moc->insertObject("OtherPersonalEvent"));
    const QString path = file("a.jpg", "x");
    const int before = moc->count<FTPicture>();

    EXPECT_EQ(FTPicture::initInMoc(moc.get(), path, event), nullptr);
    EXPECT_EQ(FTPicture::initInMoc(moc.get(), path, nullptr), nullptr);
    EXPECT_EQ(FTPicture::initInMoc(moc.get(), path, person(*other, "Elsewhere")), nullptr);
    EXPECT_EQ(moc->count<FTPicture>(), before) << "no ownerless record is left behind";
    EXPECT_EQ(messages(), QStringList(3, "A picture can only be added to a person or a source."));
    EXPECT_TRUE(picturesFolderEntries().isEmpty()) << "nor any file placed";
}

// A source holds one picture. Whatever way it is given another one (a new picture, one taken from another
// source, by key, or none), the picture it held goes: no picture is ever left with neither a person nor a source,
// and taking away a picture's only owner is refused. Undo brings the old state back.
TEST_F(FTPictureTest, ASourceGivenAnotherPictureLeavesNoPictureOfNobody)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    FTSource* census = FTSource::initInMoc(moc.get());
    FTSource* letters = FTSource::initInMoc(moc.get());
    FTPicture* page = FTPicture::initInMoc(moc.get(), "/elsewhere/page.jpg", census);
    FTPicture* letter = FTPicture::initInMoc(moc.get(), "/elsewhere/letter.jpg", letters);
    FTPicture* portrait = FTPicture::initInMoc(moc.get(), "/elsewhere/ann.jpg", ann);
    ASSERT_TRUE(moc->saveMoc());
    moc->undoManager()->closeOpenGroups();
    const auto ownerless = [&] {
        return moc->count<FTPicture>([](const FTPicture* p) { return !p->owner() && !p->source(); });
    };
    const int pictures = moc->count<FTPicture>();

    const struct {
        const char* what;
        std::function<void()> change;
        std::function<FTPicture*()> censusPicture; // what the census holds afterwards
        int picturesAfter;
    } cases[] = {
        { "a new picture of the source",
            [&] { FTPicture::initInMoc(moc.get(), "/elsewhere/page2.jpg", census); },
            [&] { return census->picture(); }, pictures },
        { "another source's picture", [&] { census->setPicture(letter); }, [&] { return letter; }, pictures - 1 },
        { "another source's picture, by key", [&] { census->setValueForKey("picture", ManagedObject::toVariant(letter)); },
            [&] { return letter; }, pictures - 1 },
        { "the picture given its new source", [&] { letter->setSource(census); }, [&] { return letter; },
            pictures - 1 },
        { "no picture", [&] { census->setPicture(nullptr); }, [] { return nullptr; }, pictures - 1 },
        { "the picture's source taken away", [&] { page->setSource(nullptr); }, [&] { return page; }, pictures },
        { "the person's picture's owner taken away", [&] { portrait->setOwner(nullptr); }, [&] { return page; },
            pictures },
        { "the picture taken from the person", [&] { ann->removePicturesObject(portrait); }, [&] { return page; },
            pictures },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int steps = moc->undoManager()->undoCount();
        c.change();
        moc->undoManager()->closeOpenGroups();
        EXPECT_EQ(census->picture(), c.censusPicture());
        EXPECT_EQ(ownerless(), 0);
        EXPECT_EQ(moc->count<FTPicture>(), c.picturesAfter);
        EXPECT_EQ(portrait->owner(), ann);
        if (moc->undoManager()->undoCount() > steps) { // a refusal leaves nothing to undo
            prompts.answer(0);                            // "Undo: ...?" Yes
            moc->undoManager()->undo();
        }
        EXPECT_EQ(census->picture(), page);
        EXPECT_FALSE(page->isDeleted());
        EXPECT_EQ(letters->picture(), letter);
        EXPECT_EQ(moc->count<FTPicture>(), pictures);
    }
    ASSERT_TRUE(moc->saveMoc());
}

TEST_F(FTPictureTest, CopiesTakeNumberedNamesAndEqualFilesAreReused)
{
    alwaysCopy(true);
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    struct Case {
        QString chosen;
        QString placed;
    };
    const Case cases[] = {
        {file("a/photo.jpg", "one"), "photo.jpg"},
        {file("b/photo.jpg", "two"), "photo_1.jpg"},
        {file("c/photo.jpg", "three"), "photo_2.jpg"},
        {file("d/photo.jpg", "two"), "photo_1.jpg"}, // the same contents as b's: no new copy
        {file("e/photo.jpg", "one"), "photo.jpg"},
        {file("a/README", "r1"), "README"},
        {file("b/README", "r2"), "README_1"},
    };
    for (const Case& c : cases) {
        FTPicture* p = FTPicture::initInMoc(moc.get(), c.chosen, ann);
        EXPECT_EQ(p->filename(), picturesFolder() + "/" + c.placed) << c.chosen.toStdString();
        EXPECT_EQ(p->originalFilename(), c.chosen);
        EXPECT_FALSE(QFileInfo(p->filename()).isSymLink());
    }
    EXPECT_EQ(picturesFolderEntries(),
              (QStringList {"README", "README_1", "photo.jpg", "photo_1.jpg", "photo_2.jpg"}));
    QFile copy(picturesFolder() + "/photo_2.jpg");
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "three");
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(FTPictureTest, FilesOutsideTheHomeFolderAndPastedFilesAreCopied)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    QTemporaryDir outside(QDir::tempPath() + "/kinloom-outside-XXXXXX"); // not under the tests' home folder
    ASSERT_FALSE(outside.path().startsWith(QDir::homePath() + "/"));

    FTPicture* p = FTPicture::initInMoc(moc.get(), file("card.jpg", "card", outside.path()), ann);
    EXPECT_EQ(p->filename(), picturesFolder() + "/card.jpg");
    EXPECT_EQ(p->originalFilename(), outside.path() + "/card.jpg");

    // A pasted image waits in the temporary folder, which is emptied later: only the copy is remembered.
    FTPicture* pasted = FTPicture::initInMoc(moc.get(), file("data/tempPicsDir/TiffImage.tiff", "tiff"), ann);
    EXPECT_EQ(pasted->filename(), picturesFolder() + "/TiffImage.tiff");
    EXPECT_TRUE(pasted->originalFilename().isNull());

    // The link maker refuses both kinds of file.
    EXPECT_EQ(FTPicture::createAliasLinkInPicturesDirectory(outside.path() + "/card.jpg"), outside.path() + "/card.jpg");
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains("support@kinloom.org")) << messages()[0].toStdString();
}

TEST_F(FTPictureTest, HomeFilesAndMoviesAreLinked)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");

    // Without "alwaysCopyToPicturesFolder" a file in the home folder is linked.
    const QString photo = file("albums/photo.jpg", "photo");
    FTPicture* p = FTPicture::initInMoc(moc.get(), photo, ann);
    EXPECT_EQ(p->filename(), picturesFolder() + "/photo.jpg alias");
    EXPECT_EQ(QFileInfo(p->filename()).symLinkTarget(), photo);
    EXPECT_EQ(p->originalFilename(), photo);

    // A movie is linked even when files are always copied.
    alwaysCopy(true);
    const QString movie = file("clips/holiday.mov", "movie one");
    FTPicture* clip = FTPicture::initInMoc(moc.get(), movie, ann);
    EXPECT_EQ(clip->filename(), picturesFolder() + "/holiday.mov alias");
    EXPECT_EQ(QFileInfo(clip->filename()).symLinkTarget(), movie);
    EXPECT_TRUE(clip->isMovie());

    // The same movie again reuses its link; another movie of that name gets a numbered one.
    EXPECT_EQ(FTPicture::initInMoc(moc.get(), movie, ann)->filename(), picturesFolder() + "/holiday.mov alias");
    const QString otherMovie = file("more/holiday.mov", "movie two");
    FTPicture* other = FTPicture::initInMoc(moc.get(), otherMovie, ann);
    EXPECT_EQ(other->filename(), picturesFolder() + "/holiday_1.mov alias");
    EXPECT_EQ(QFileInfo(other->filename()).symLinkTarget(), otherMovie);

    // A linked image reads through its link.
    alwaysCopy(false);
    FTPicture* linkedImage = FTPicture::initInMoc(moc.get(), image("albums/real.png", 20, 10), ann);
    EXPECT_EQ(linkedImage->filename(), picturesFolder() + "/real.png alias");
    EXPECT_TRUE(linkedImage->isImageFile());
    EXPECT_EQ(linkedImage->thumbnailImage().size(), QSize(100, 50));

    // A file already in the pictures folder is used where it is.
    const QString inside = file("data/Pictures/scan.png", "scan");
    EXPECT_EQ(FTPicture::createAliasLinkInPicturesDirectory(inside), inside);
    EXPECT_EQ(picturesFolderEntries(),
              (QStringList {"holiday.mov alias", "holiday_1.mov alias", "photo.jpg alias", "real.png alias", "scan.png"}));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(FTPictureTest, MissingFilesKeepTheChosenPathAndFailedCopiesAreTold)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    const QString gone = dir.path() + "/nowhere/lost.jpg";
    FTPicture* p = FTPicture::initInMoc(moc.get(), gone, ann);
    EXPECT_TRUE(p->filename().isEmpty());
    EXPECT_EQ(p->originalFilename(), gone);
    EXPECT_EQ(p->name(), "lost");
    EXPECT_FALSE(QFileInfo::exists(picturesFolder() + "/lost.jpg alias"));

    EXPECT_EQ(FTPicture::copyPictureFile("", picturesFolder()), "");
    EXPECT_EQ(FTPicture::copyPictureFile(gone, picturesFolder()), gone);
    const QString real = file("real.jpg", "real");
    EXPECT_EQ(FTPicture::copyPictureFile(real, dir.path() + "/no-such-folder"), real);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], "Unable to copy " + real + " to " + dir.path() + "/no-such-folder/real.jpg");
}

TEST_F(FTPictureTest, PathsUnderAnOlderDataFolderReadUnderTheCurrentOne)
{
    auto moc = newDatabase();
    auto* p = moc->insertObject<FTPicture>();
    const QString data = dir.path() + "/data";
    const std::pair<QString, QString> cases[] = {
        {"/Users/old/KinloomData/Pictures/a.jpg", data + "/Pictures/a.jpg"},
        {"/Volumes/Old/KinloomForVovovData/Pictures/KinloomData/b.jpg", data + "/Pictures/KinloomData/b.jpg"},
        {data + "/Pictures/c.jpg", data + "/Pictures/c.jpg"},
        {"/media/scans/d.jpg", "/media/scans/d.jpg"},
        {"/media/MyKinloomData.jpg", "/media/MyKinloomData.jpg"},
    };
    for (const auto& [stored, read] : cases) {
        p->setPrimitiveValue(Key("filename"), stored);
        EXPECT_EQ(p->filename(), read);
        EXPECT_EQ(p->valueForKey("filename").toString(), read);
    }
}

TEST_F(FTPictureTest, FileKindsByExtension)
{
    auto moc = newDatabase();
    auto* p = moc->insertObject<FTPicture>();
    struct Case {
        const char* path;
        bool image;
        bool movie;
    };
    const Case cases[] = {
        {"/p/a.jpg", true, false},       {"/p/a.JPG alias", true, false}, {"/p/a.tiff", true, false},
        {"/p/a.pdf", false, false},      {"/p/a.mov", false, true},       {"/p/a.MP4 alias", false, true},
        {"/p/a.wav", false, false},      {"/p/noextension", false, false},
    };
    for (const Case& c : cases) {
        p->setPrimitiveValue(Key("filename"), QString(c.path));
        EXPECT_EQ(p->isImageFile(), c.image) << c.path;
        EXPECT_EQ(p->isMovie(), c.movie) << c.path;
        EXPECT_EQ(p->isMovie(c.path), c.movie) << c.path;
    }
    moc->setImportThreadIsActive(true);
    EXPECT_FALSE(p->isMovie("/p/a.mov")) << "an import takes no movies";
    moc->setImportThreadIsActive(false);
}

TEST_F(FTPictureTest, ThumbnailIsMadeFromTheCroppedFileStoredAsTiffAndKept)
{
    alwaysCopy(true);
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    const QString wide = image("wide.png", 400, 200);
    FTPicture* whole = FTPicture::initInMoc(moc.get(), wide, ann);
    int announced = 0;
    whole->addObserver("thumbnailImage", this, [&](const KeyPathChange&) { ++announced; });
    EXPECT_EQ(whole->originalPicture(), nullptr);

    const QImage t = whole->thumbnailImage();
    EXPECT_EQ(t.size(), QSize(100, 50));
    ASSERT_TRUE(whole->originalPicture());
    const QByteArray stored = whole->originalPicture()->data();
    const QByteArrayView tiffLittleEndian("II*\0", 4), tiffBigEndian("MM\0*", 4);
    EXPECT_TRUE(stored.startsWith(tiffLittleEndian) || stored.startsWith(tiffBigEndian)) << "stored as TIFF";
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(QColor(t.pixel(10, 25)), QColor(Qt::red));
    EXPECT_EQ(QColor(t.pixel(90, 25)), QColor(Qt::blue));

    // Cut by the crop rectangle: the right half only.
    FTPicture* cropped = FTPicture::initInMoc(moc.get(), wide, ann);
    cropped->setRclCut("{{200, 0}, {200, 200}}");
    const QImage c = cropped->thumbnailImage();
    EXPECT_EQ(c.size(), QSize(100, 100));
    EXPECT_EQ(QColor(c.pixel(5, 50)), QColor(Qt::blue));

    // Once stored, the thumbnail no longer needs the file, and it is saved with the database.
    ASSERT_TRUE(moc->saveMoc());
    QFile::remove(whole->filename());
    EXPECT_EQ(whole->thumbnailImage().size(), QSize(100, 50));
    const QString path = moc->databaseURL();
    moc->removeObserversOf(this);
    moc.reset();
    auto again = reopen(path);
    const auto pictures = again->fetch<FTPicture>([](const FTPicture* p) { return p->originalPicture(); });
    ASSERT_EQ(pictures.size(), 2);
    QList<int> heights;
    for (FTPicture* p : pictures) {
        EXPECT_EQ(p->thumbnailImage().width(), 100);
        heights << p->thumbnailImage().height();
    }
    std::sort(heights.begin(), heights.end());
    EXPECT_EQ(heights, (QList<int> {50, 100})) << "the whole picture and the cropped half, as made";

    // A file that gives no image gives no thumbnail, and nothing is stored.
    FTPicture* sound = FTPicture::initInMoc(again.get(), file("tune.wav", "RIFF"), again->fetchFirst<FTPerson>());
    EXPECT_TRUE(sound->thumbnailImage().isNull());
    EXPECT_EQ(sound->originalPicture(), nullptr);
}

TEST_F(FTPictureTest, DefaultThumbnailIgnoresTheCropAndTallImagesStayWithinTheLimit)
{
    alwaysCopy(true);
    auto moc = newDatabase();
    FTPicture* p = FTPicture::initInMoc(moc.get(), image("tall.png", 300, 1200), person(*moc, "Ann"));
    p->setRclCut("{{0, 0}, {10, 10}}");
    moc->undoManager()->closeOpenGroups();
    p->setDefaultThumbnailImage();
    EXPECT_EQ(moc->undoManager()->actionName(), "Add Thumbnail");
    EXPECT_EQ(p->thumbnailImage().size(), QSize(25, 100));
    moc->undoManager()->closeOpenGroups();
    p->setThumbnailImage(QImage());
    EXPECT_EQ(p->thumbnailImage().size(), QSize(100, 100)) << "an emptied thumbnail is made again, with the crop";
}

TEST_F(FTPictureTest, EnhancementsReadDefaultsUntilSetAndAreStoredUnderTheirShortKeys)
{
    auto moc = newDatabase();
    auto* p = moc->insertObject<FTPicture>();
    EXPECT_FLOAT_EQ(p->tnBrightness(), 0.0f);
    EXPECT_FLOAT_EQ(p->tnContrast(), 1.0f);
    EXPECT_FLOAT_EQ(p->tnExposure(), 0.0f);
    EXPECT_FLOAT_EQ(p->tnGamma(), 1.0f);
    EXPECT_FLOAT_EQ(p->tnLuminance(), 0.4f);
    EXPECT_FLOAT_EQ(p->tnSaturation(), 1.0f);
    EXPECT_FLOAT_EQ(p->tnSepia(), 0.0f);
    EXPECT_TRUE(p->extraDataDictionary().isEmpty());

    int announced = 0;
    p->addObserver("tnGamma", this, [&](const KeyPathChange&) { ++announced; });
    p->setTnGamma(2.2f);
    p->setValueForKey("tnSepia", 0.5);
    EXPECT_EQ(announced, 2);
    EXPECT_FLOAT_EQ(p->valueForKey("tnGamma").toFloat(), 2.2f);
    EXPECT_EQ(p->extraDataDictionary().keys().size(), 2);
    EXPECT_FLOAT_EQ(float(p->extraDataDictionary().value("fGamma").toDouble()), 2.2f);
    EXPECT_FLOAT_EQ(p->enhancementValueForKey("tnSepia", 9), 0.5f);
    EXPECT_FLOAT_EQ(p->enhancementValueForKey("tnExposure", 9), 9.0f);
    moc->removeObserversOf(this);

    ASSERT_TRUE(moc->saveMoc());
    const QString path = moc->databaseURL();
    moc.reset();
    auto again = reopen(path);
    FTPicture* q = again->fetchFirst<FTPicture>();
    EXPECT_FLOAT_EQ(q->tnGamma(), 2.2f);
    q->setTnEnhancementDefaults();
    EXPECT_EQ(q->extraDataDictionary().keys().size(), 7);
    EXPECT_FLOAT_EQ(q->tnGamma(), 1.0f);
    EXPECT_FLOAT_EQ(q->tnLuminance(), 0.4f);
}

TEST_F(FTPictureTest, DescriptionMergedAttributesAndTranscription)
{
    alwaysCopy(true);
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    FTPicture* p = FTPicture::initInMoc(moc.get(), image("family.png", 40, 20), ann);
    p->setDate("1900");
    p->setNotes("100% sure");
    EXPECT_EQ(p->pictureDescription(), "Title: family\nDate: 1900\nFile: " + picturesFolder() + "/family.png\n"
                                       "Original file: " + dir.path() + "/family.png\nThumbnail: 0 bytes\n"
                                       "Crop = {{0, 0}, {0, 0}}\nNotes = 100% sure");
    p->thumbnailImage();
    EXPECT_TRUE(p->pictureDescription().contains(
        QString("Thumbnail: %1 bytes").arg(p->originalPicture()->data().size())));
    EXPECT_EQ(p->attributesBeingMerged(),
              "Picture: Date, Filename, Name, Notes, Originalfilename, Crop Rectangle, Rotation, Seqno");
    EXPECT_EQ(p->lDate(), 1900u * 65536);
    EXPECT_EQ(p->ownersName(), "Ann");

    p->setTranscription("<p>Born <b>1900</b></p>");
    EXPECT_EQ(p->transcriptionString(), "Born 1900");
    p->setFilename(p->originalFilename());
    EXPECT_EQ(p->transcription(), "") << "a new file starts without a transcription";
}

TEST_F(FTPictureTest, CitingASourceFindsOrMakesTheCitationAndOpensItsSheet)
{
    alwaysCopy(true);
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    FTSource* census = FTSource::initInMoc(moc.get());
    FTPicture* p = FTPicture::initInMoc(moc.get(), file("census.jpg", "c"), ann);
    moc->setActiveSource(census);
    moc->setActiveSourcePageRef("folio 9");
    EXPECT_EQ(p->addReferenceToSource(nullptr), nullptr);

    FTSourceRel* made = p->addReferenceToSource(census);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->source(), census);
    EXPECT_EQ(made->picture(), p);
    EXPECT_EQ(made->itemDescribed(), "Image, Date, Notes");
    EXPECT_EQ(made->reference(), "folio 9");
    EXPECT_FALSE(moc->hasChanges()) << "saved at once";
    ASSERT_EQ(citationSheets.sheets.size(), 1);
    EXPECT_EQ(citationSheets.sheets[0], std::make_pair(CitationDialogs::Kind::Picture, made));
    EXPECT_TRUE(messages().isEmpty());

    // Citing it again shows the citation there is.
    EXPECT_EQ(p->addReferenceToSource(census), made);
    EXPECT_EQ(messages(), QStringList {"This picture already cites that source: its citation is shown."});
    EXPECT_EQ(citationSheets.sheets.size(), 2);
    FTSourceRel* second = FTSourceRel::initInMoc(moc.get());
    second->setSource(census);
    second->setPicture(p);
    FTSourceRel* chosen = p->addReferenceToSource(census);
    EXPECT_TRUE(chosen == made || chosen == second);
    EXPECT_EQ(messages().last(), QString("There are 2 citations of source %1 for this picture: the first one is shown.")
                                     .arg(census->numericId()));
    EXPECT_EQ(p->sourceRels().size(), 2);

    // A citation of another source, not the active one: no page reference.
    FTSource* will = FTSource::initInMoc(moc.get());
    EXPECT_EQ(p->addReferenceToSource(will)->reference(), "");

    // Imports open no sheet.
    const int sheets = citationSheets.sheets.size();
    moc->setImportThreadIsActive(true);
    EXPECT_TRUE(p->addReferenceToSource(FTSource::initInMoc(moc.get())));
    moc->setImportThreadIsActive(false);
    EXPECT_EQ(citationSheets.sheets.size(), sheets);
}

TEST_F(FTPictureTest, PicturesCopiedFromAnotherDatabaseCiteTheActiveSourceQuietly)
{
    alwaysCopy(true);
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    FTSource* census = FTSource::initInMoc(moc.get());
    EXPECT_TRUE(FTPicture::initInMoc(moc.get(), file("a.jpg", "a"), ann)->sourceRels().isEmpty())
        << "no citation outside a copy";
    moc->setActiveSource(census);
    EXPECT_TRUE(FTPicture::initInMoc(moc.get(), file("b.jpg", "b"), ann)->sourceRels().isEmpty());

    gMergeFromAnotherDatabase = true;
    FTPicture* copied = FTPicture::initInMoc(moc.get(), file("c.jpg", "c"), ann);
    gMergeFromAnotherDatabase = false;
    ASSERT_EQ(copied->sourceRels().size(), 1);
    EXPECT_EQ(copied->sourceRels()[0]->source(), census);
    EXPECT_TRUE(copied->sourceRels()[0]->itemDescribed().startsWith("Picture: Filename, Name, Originalfilename"))
        << copied->sourceRels()[0]->itemDescribed().toStdString();
    EXPECT_TRUE(citationSheets.sheets.isEmpty());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(FTPictureTest, CloningCitationsCopiesEveryFieldForTheNewPicture)
{
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    FTSource* census = FTSource::initInMoc(moc.get());
    FTSource* will = FTSource::initInMoc(moc.get());
    FTPicture* from = FTPicture::initInMoc(moc.get(), "", ann);
    for (FTSource* s : {census, will}) {
        FTSourceRel* r = FTSourceRel::initInMoc(moc.get());
        r->setSource(s);
        r->setPicture(from);
        r->setReference("p. " + QString::number(s->numericId()));
        r->setItemDescribed("Image");
        r->setNotes("faded");
        r->setCertainty(3);
        r->setExtraDataValue("QUAY", 3);
    }
    FTPicture* to = FTPicture::initInMoc(moc.get(), "", person(*moc, "Bob"));
    to->cloneSourceReferencesFrom(from);

    ASSERT_EQ(to->sourceRels().size(), 2);
    EXPECT_EQ(from->sourceRels().size(), 2);
    const QList<FTSourceRel*> originals = from->sourceRels();
    for (FTSourceRel* copy : to->sourceRels()) {
        const auto original = std::find_if(originals.begin(), originals.end(),
                                           [&](FTSourceRel* r) { return r->source() == copy->source(); });
        ASSERT_NE(original, originals.end());
        EXPECT_NE(copy, *original);
        EXPECT_EQ(copy->picture(), to);
        EXPECT_EQ(copy->compareWith(*original, FTManagedObject::CompareWithoutLastChange), QStringList());
    }
}

TEST_F(FTPictureTest, CopiesAreNumberedWithoutABoundAndAPastedFileIsNeverKeptByItsTemporaryPath)
{
    alwaysCopy(true);
    auto moc = newDatabase();
    FTPerson* ann = person(*moc, "Ann");
    // A hundred and one different images pasted under one name each keep a copy of their own.
    const QString temp = dir.path() + "/data/tempPicsDir/Source.tiff";
    for (int n = 0; n <= 100; ++n) {
        file("data/tempPicsDir/Source.tiff", QByteArray::number(n));
        FTPicture* p = FTPicture::initInMoc(moc.get(), temp, ann);
        EXPECT_EQ(p->filename(), picturesFolder() + (n == 0 ? QString("/Source.tiff") : QString("/Source_%1.tiff").arg(n)));
    }
    EXPECT_TRUE(messages().isEmpty());

    // When the copy fails the picture keeps no path to the temporary file, which is deleted after the paste.
    QDir(picturesFolder()).removeRecursively();
    file("data/Pictures", "a file where the folder should be");
    FTPicture* failed = FTPicture::initInMoc(moc.get(), temp, ann);
    EXPECT_TRUE(failed->filename().isEmpty());
    EXPECT_TRUE(failed->originalFilename().isEmpty());
    EXPECT_EQ(messages().size(), 1) << "the failed copy is told";
}
