// What the picture editor does to a picture, on a real database with real files: choosing a file, the save rules
// and the undo action, turning, the preview stored as the thumbnail, the position among the owner's pictures, and
// files that give no image.

#include "PicturesFixture.h"

#include "pictures/PictureEditing.h"

#include "shell/AlertHooks.h"
#include "shell/Utils.h"

#include "model/FTMocUndoManager.h"
#include "model/FTOriginalPicture.h"
#include "model/FTSource.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

class PictureEditingTest : public PicturesFixture {
protected:
    void SetUp() override
    {
        PicturesFixture::SetUp();
        moc = newDatabase();
        ann = person(*moc, "Ann Lee");
        moc->undoManager()->closeOpenGroups();
        Utils::alertHooks().beep = [this] { ++beeps; };
        NotificationCenter::defaultCenter().addObserver(
            "DefaultPictureChanged", nullptr, [this](const Notification& n) { changedOwners << n.object; }, this);
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserversOf(this);
        Utils::alertHooks().beep = nullptr;
        moc.reset();
        PicturesFixture::TearDown();
    }
    // A saved picture of `owner` with its texts, as the user left it some time ago.
    FTPicture* savedPicture(const QString& file, FTManagedObject* owner, const QString& title = {})
    {
        FTPicture* p = FTPicture::initInMoc(moc.get(), image(file, 80, 40), owner);
        if (!title.isNull())
            p->setName(title);
        p->thumbnailImage();
        EXPECT_TRUE(moc->saveMoc());
        moc->undoManager()->closeOpenGroups();
        moc->undoManager()->removeAllActions();
        changedOwners.clear();
        return p;
    }

    std::unique_ptr<FTMoc> moc;
    FTPerson* ann = nullptr;
    int beeps = 0;
    QList<const void*> changedOwners;
};

TEST_F(PictureEditingTest, AFileForANewPictureAsksNothingAndTitlesItFromTheFileName)
{
    PictureEditing editing(ann, nullptr);
    EXPECT_EQ(editing.pictureNo(), "");
    ASSERT_TRUE(editing.setFilename(image("scans/my_file.jpg")));
    FTPicture* p = editing.picture();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(p->name(), "my file");
    EXPECT_EQ(p->owner(), ann);
    EXPECT_EQ(editing.pictureNo(), "1 of 1");
    EXPECT_EQ(editing.pictureSize(), "40 x 20 pixels");
    EXPECT_FALSE(editing.lastPreview().isNull());
    ASSERT_FALSE(changedOwners.isEmpty());
    EXPECT_EQ(changedOwners.last(), ann);
    // A new picture keeps its "Add Picture" undo action.
    EXPECT_EQ(editing.closeCode(), 1);
    EXPECT_EQ(moc->undoManager()->undoActionName(), LocalizedString("AddPicture"));
}

TEST_F(PictureEditingTest, AnotherFileForAPictureWithTextsAsksToKeepThem)
{
    struct Case {
        int answer;
        const char* title;
        const char* date;
        const char* notes;
    };
    // Closed with Escape or the close box, the question keeps them.
    for (const Case& c : { Case { 0, "Wedding", "1 JAN 1900", "At the church" }, Case { 1, "new scan", "", "" },
             Case { ScriptedPrompts::kEscape, "Wedding", "1 JAN 1900", "At the church" } }) {
        FTPicture* p = savedPicture(QStringLiteral("wedding%1.png").arg(c.answer), ann, "Wedding");
        p->setDate("1 JAN 1900");
        p->setNotes("At the church");
        p->setTranscription("<p>Married at St Mary's</p>");
        PictureEditing editing(ann, p);
        prompts.clear();
        prompts.answer(c.answer);
        ASSERT_TRUE(editing.setFilename(image(QStringLiteral("other/new_scan%1.png").arg(c.answer))));
        ASSERT_EQ(prompts.records.size(), 1);
        EXPECT_THAT(prompts.records[0].info.toStdString(), HasSubstr("Wedding"));
        EXPECT_EQ(prompts.records[0].buttons,
            QStringList({ LocalizedString("PictureEditorKeep"), LocalizedString("PictureEditorDiscard") }));
        EXPECT_EQ(p->name(), QString(c.title) + (c.answer == 1 ? QString::number(c.answer) : QString()));
        EXPECT_EQ(p->date(), c.date);
        EXPECT_EQ(p->notes(), c.notes);
        EXPECT_EQ(p->originalFilename(), "");
        // What was transcribed goes with the texts the user discards, and only then.
        EXPECT_EQ(p->transcriptionString().contains("Married at St Mary's"), c.answer != 1) << c.answer;
    }
    // Nothing to ask about: the transcription stays too.
    FTPicture* p = savedPicture("untitled.png", ann, "");
    p->setTranscription("<p>Dear Ann</p>");
    PictureEditing editing(ann, p);
    prompts.clear();
    ASSERT_TRUE(editing.setFilename(image("other/letter.png")));
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(p->name(), "letter");
    EXPECT_TRUE(p->transcriptionString().contains("Dear Ann"));
}

TEST_F(PictureEditingTest, AFileThatGivesNoImageIsRefusedAndChangesNothing)
{
    FTPicture* p = savedPicture("good.png", ann, "Good");
    const QString before = p->pictureDescription();
    PictureEditing editing(ann, p);
    EXPECT_FALSE(editing.setFilename(file("broken.jpg", "not a jpeg at all")));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_THAT(messages()[0].toStdString(), HasSubstr("broken.jpg"));
    EXPECT_EQ(p->pictureDescription(), before);
    EXPECT_FALSE(p->hasChanges());
}

TEST_F(PictureEditingTest, AFileWithNoImageReplacesTheOldThumbnailByTheIconOfItsKind)
{
    struct Case {
        const char* file;
        QSize thumbnail; // none when the kind has no icon
    };
    for (const Case& c : { Case { "scan.pdf", QSize(73, 100) }, Case { "tune.wav", QSize(73, 100) },
             Case { "clip.mov", QSize(73, 100) }, Case { "sums.xls", QSize() } }) {
        SCOPED_TRACE(c.file);
        FTPicture* p = savedPicture(QStringLiteral("photo-%1.png").arg(c.file), ann);
        const QImage photo = p->thumbnailImage();
        PictureEditing editing(ann, p);
        ASSERT_TRUE(editing.setFilename(file(QStringLiteral("other/%1").arg(c.file), "not an image")));
        if (c.thumbnail.isValid()) {
            ASSERT_NE(p->originalPicture(), nullptr);
            const QImage icon = QImage::fromData(p->originalPicture()->data());
            EXPECT_EQ(icon.size(), c.thumbnail);
            EXPECT_EQ(editing.lastPreview(), icon);
        } else {
            EXPECT_EQ(p->originalPicture(), nullptr) << "left for Prebuild Thumbnails";
            EXPECT_TRUE(editing.lastPreview().isNull());
        }
        EXPECT_NE(editing.lastPreview(), photo);
        EXPECT_EQ(editing.closeCode(), 1);
        EXPECT_TRUE(moc->saveMoc());
    }
}

TEST_F(PictureEditingTest, AMalformedFileLeavesTheRecordAsItWas)
{
    FTPicture* p = savedPicture("photo.png", ann, "Photo");
    p->setRclCut("{{2, 3}, {10, 8}}");
    p->setRotation(90);
    p->setTnSepia(0.5f);
    moc->saveMoc();
    const QByteArray thumbnail = p->originalPicture()->data();
    writeTestFile(p->filename(), "garbage");

    PictureEditing editing(ann, p);
    EXPECT_FALSE(editing.originalImageExists());
    EXPECT_FALSE(editing.loadError().isEmpty());
    EXPECT_FALSE(editing.rotateOriginalImage("+"));
    EXPECT_FALSE(editing.cropAll());
    EXPECT_EQ(editing.displayThumbnail(), QImage::fromData(thumbnail));
    EXPECT_EQ(editing.closeCode(), 0);
    EXPECT_EQ(p->rclCut(), "{{2, 3}, {10, 8}}");
    EXPECT_EQ(p->rotation(), 90);
    EXPECT_FLOAT_EQ(p->tnSepia(), 0.5f);
    EXPECT_EQ(p->originalPicture()->data(), thumbnail);
    EXPECT_FALSE(p->hasChanges());
    EXPECT_TRUE(changedOwners.isEmpty());
}

TEST_F(PictureEditingTest, ClosingWritesTheCropAndNamesOneUndoActionForTheWholeEdit)
{
    FTPicture* p = savedPicture("family.png", ann, "Family");
    {
        PictureEditing unchanged(ann, p);
        EXPECT_EQ(unchanged.closeCode(), 0);
        EXPECT_TRUE(changedOwners.isEmpty());
    }
    PictureEditing editing(ann, p);
    editing.setRclCrop({ 4, 2, 20, 10 });
    const QImage live = editing.displayThumbnail(false);
    EXPECT_EQ(live.size(), QSize(100, 50));
    EXPECT_NE(UtilsPics::tiffRepresentation(live), p->originalPicture()->data()); // shown, not stored
    editing.displayThumbnail();
    p->setName("Family 1920");
    EXPECT_EQ(editing.closeCode(), 1);
    EXPECT_EQ(UtilsPics::rectFromString(p->rclCut()), QRectF(4, 2, 20, 10));
    EXPECT_EQ(changedOwners, QList<const void*>{ ann });
    EXPECT_EQ(moc->undoManager()->undoActionName(), "Edit Picture - Family 1920");
    EXPECT_EQ(moc->undoManager()->undoCount(), 1);
    moc->undoManager()->undo();
    EXPECT_EQ(p->name(), "Family");
    EXPECT_EQ(UtilsPics::rectFromString(p->rclCut()), QRectF());
}

TEST_F(PictureEditingTest, TurningStartsTheCropAfreshAndStoresTheTurnedThumbnail)
{
    FTPicture* p = savedPicture("wide.png", ann, "Wide"); // 80 × 40
    p->setRclCut("{{0, 0}, {10, 10}}");
    PictureEditing editing(ann, p);
    ASSERT_TRUE(editing.rotateOriginalImage("\u2212"));
    EXPECT_EQ(p->rotation(), 90);
    EXPECT_EQ(editing.rclCrop(), QRectF());
    EXPECT_EQ(editing.pictureSize(), "40 x 80 pixels");
    EXPECT_EQ(QImage::fromData(p->originalPicture()->data()).size(), QSize(50, 100));
    ASSERT_TRUE(editing.rotateOriginalImage("+"));
    ASSERT_TRUE(editing.rotateOriginalImage("+"));
    EXPECT_EQ(p->rotation(), 270);
    EXPECT_EQ(editing.closeCode(), 1);
    EXPECT_EQ(UtilsPics::rectFromString(p->rclCut()), QRectF());
}

TEST_F(PictureEditingTest, PositionNextAndPreviousAmongAPersonsPictures)
{
    FTPicture* first = savedPicture("one.png", ann, "One");
    FTPicture* second = savedPicture("two.png", ann, "Two");
    savedPicture("three.png", ann, "Three");
    PictureEditing editing(ann, second);
    EXPECT_EQ(editing.pictureNo(), "2 of 3");
    EXPECT_TRUE(editing.movePicture(-1));
    EXPECT_EQ(editing.picture(), first);
    EXPECT_EQ(editing.pictureNo(), "1 of 3");
    EXPECT_FALSE(editing.movePicture(-1));
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(editing.movePicture(+1));
    EXPECT_TRUE(editing.movePicture(+1));
    EXPECT_EQ(editing.pictureNo(), "3 of 3");
    EXPECT_FALSE(editing.movePicture(+1));
    EXPECT_EQ(beeps, 2);
    // A picture left unchanged names no undo action.
    EXPECT_EQ(moc->undoManager()->undoCount(), 0);
}

TEST_F(PictureEditingTest, ASourcesPictureHasNoPositionAndDoesNotMove)
{
    FTSource* source = FTSource::initInMoc(moc.get());
    source->setTitle("Parish register");
    FTPicture* p = savedPicture("register.png", source, "Register");
    PictureEditing editing(source, p);
    EXPECT_EQ(editing.pictureNo(), "");
    EXPECT_THAT(editing.ownersName().toStdString(), HasSubstr("Parish register"));
    EXPECT_FALSE(editing.movePicture(+1));
    EXPECT_FALSE(editing.movePicture(-1));
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(editing.picture(), p);
}

TEST_F(PictureEditingTest, ARefusedDateBlocksMovingAndClosing)
{
    savedPicture("one.png", ann, "One");
    FTPicture* second = savedPicture("two.png", ann, "Two");
    savedPicture("three.png", ann, "Three");
    PictureEditing editing(ann, second);
    editing.setDateError(true);
    EXPECT_FALSE(editing.movePicture(+1));
    EXPECT_FALSE(editing.closeCode());
    EXPECT_EQ(messages(),
        QStringList({ LocalizedString("PleaseCorrectDate"), LocalizedString("PleaseCorrectDateBeforeClosing") }));
    EXPECT_EQ(editing.picture(), second);
    editing.setDateError(false);
    EXPECT_EQ(editing.closeCode(), 0);
}

}
