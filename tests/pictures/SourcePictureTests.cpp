// A source's one picture: what a paste or drop offers it, giving it a file (a new picture or a new file for its
// picture), removing it, and the rules of the picture well's menu and hints.

#include "PicturesFixture.h"
#include "WorkspaceFixture.h"

#include "pictures/SourcePicture.h"

#include "model/FTMocUndoManager.h"
#include "model/FTOriginalPicture.h"
#include "model/FTSource.h"
#include "model/PicturePlist.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"

#include <QMimeData>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {
using Command = SourcePicture::Command;

class SourcePictureTest : public PicturesFixture {
protected:
    void SetUp() override
    {
        PicturesFixture::SetUp();
        moc = newDatabase();
        source = moc->insertObject<FTSource>();
        source->setTitle("Parish register");
    }
    void TearDown() override
    {
        moc.reset();
        PicturesFixture::TearDown();
    }

    static std::unique_ptr<QMimeData> imageData(int width, int height, QColor colour = Qt::magenta)
    {
        QImage img(width, height, QImage::Format_RGB32);
        img.fill(colour);
        auto mime = std::make_unique<QMimeData>();
        mime->setImageData(img);
        return mime;
    }
    static QStringList commands(const QList<SourcePicture::MenuItem>& menu)
    {
        static const char* names[] = { "Paste", "Remove", "DisplayPDF", "EditPic", "Transcribe", "OpenWith", "Help" };
        QStringList out;
        for (const auto& item : menu)
            out << QString::fromLatin1(names[int(item.command)]) + (item.enabled ? "" : " (off)");
        return out;
    }
    // Takes what the clipboard offers as a paste does.
    FTPicture* paste(const QMimeData& mime)
    {
        const auto offer = SourcePicture::pictureOffered(mime, moc.get(), false);
        return offer ? SourcePicture::setPictureFilename(source, offer->path, offer->title, offer->date, offer->notes)
                     : nullptr;
    }

    std::unique_ptr<FTMoc> moc;
    FTSource* source = nullptr;
};
}

TEST_F(SourcePictureTest, AFileBecomesTheSourcesPictureOrItsPicturesNewFile)
{
    QDir().mkpath(UtilsPics::tempPicsDirectory());
    const QString scan = image("in/register_1790.png", 40, 80);
    FTPicture* picture = SourcePicture::setPictureFilename(source, scan, {}, "1790", "Page 12");
    ASSERT_TRUE(picture);
    EXPECT_EQ(source->picture(), picture);
    EXPECT_EQ(picture->source(), source);
    EXPECT_EQ(picture->owner(), nullptr);
    EXPECT_EQ(picture->filename(), picturesFolder() + "/register_1790.png");
    EXPECT_EQ(picture->name(), "register 1790");
    EXPECT_EQ(picture->date(), "1790");
    EXPECT_EQ(picture->notes(), "Page 12");
    EXPECT_FALSE(QFileInfo::exists(UtilsPics::tempPicsDirectory()));
    EXPECT_EQ(picture->thumbnailImage().size(), QSize(50, 100));

    // A new file for the same picture: the whole picture again, and a thumbnail made from the new file.
    picture->setRclCut("{{2, 2}, {10, 10}}");
    FTOriginalPicture* oldThumbnail = picture->originalPicture();
    ASSERT_TRUE(oldThumbnail);
    FTPicture* again = SourcePicture::setPictureFilename(source, image("in/page.png", 80, 40), "Page twelve", {}, {});
    EXPECT_EQ(again, picture);
    EXPECT_EQ(picture->filename(), picturesFolder() + "/page.png");
    EXPECT_EQ(picture->name(), "Page twelve");
    EXPECT_EQ(picture->notes(), "");
    EXPECT_EQ(picture->rclCut(), "{{0, 0}, {0, 0}}");
    EXPECT_TRUE(oldThumbnail->isDeleted());
    EXPECT_EQ(picture->originalPicture(), nullptr);
    EXPECT_EQ(picture->thumbnailImage().size(), QSize(100, 50));
    EXPECT_EQ(moc->count<FTPicture>(), 1);
    EXPECT_EQ(moc->count<FTOriginalPicture>(), 1);
    EXPECT_TRUE(moc->saveMoc());

    EXPECT_EQ(SourcePicture::setPictureFilename(nullptr, scan, {}, {}, {}), nullptr);
}

TEST_F(SourcePictureTest, APasteOrDropGivesOnePictureAndRefusesTheRest)
{
    // Image data: "Source.tiff" in the pictures folder.
    FTPicture* picture = paste(*imageData(30, 60));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->filename(), picturesFolder() + "/Source.tiff");
    EXPECT_EQ(picture->name(), "Source");
    EXPECT_TRUE(messages().isEmpty()) << messages().join("\n").toStdString();

    // A picture record of a person's picture brings its title, date and notes.
    FTPerson* ann = person(*moc, "Ann Lee");
    FTPicture* hers = FTPicture::initInMoc(moc.get(), image("in/letter.png"), ann);
    hers->setName("Letter from Ann");
    hers->setDate("3 May 1901");
    hers->setNotes("Second page lost");
    QMimeData record;
    PicturePlist::fromPicture(*hers).writeTo(record);
    ASSERT_EQ(paste(record), picture);
    EXPECT_EQ(picture->filename(), hers->filename());
    EXPECT_EQ(picture->name(), "Letter from Ann");
    EXPECT_EQ(picture->date(), "3 May 1901");
    EXPECT_EQ(picture->notes(), "Second page lost");

    struct Case {
        const char* what;
        std::unique_ptr<QMimeData> mime;
        const char* pasteMessage; // a drop says nothing
    };
    auto text = std::make_unique<QMimeData>();
    text->setText("only words");
    Case cases[] = {
        { "two files", filesDropped({ image("in/a.png"), image("in/b.jpg") }), "OneAtATime" },
        { "words", std::move(text), "NoClipboardPic" },
        { "a file of another kind", filesDropped({ file("in/sums.xls", "sheet") }), "NoClipboardPic" },
    };
    for (Case& c : cases) {
        prompts.clear();
        EXPECT_FALSE(SourcePicture::pictureOffered(*c.mime, moc.get(), false)) << c.what;
        EXPECT_THAT(messages(), ElementsAre(LocalizedString(c.pasteMessage))) << c.what;
        prompts.clear();
        EXPECT_FALSE(SourcePicture::pictureOffered(*c.mime, moc.get(), true)) << c.what;
        EXPECT_TRUE(messages().isEmpty()) << c.what;
    }

    // A drag is refused as it enters when it brings several pictures, and told so; one is welcome.
    prompts.clear();
    EXPECT_FALSE(SourcePicture::dragEntered(*cases[0].mime, moc.get()));
    EXPECT_THAT(messages(), ElementsAre(LocalizedString("OneAtATimeDrag")));
    prompts.clear();
    EXPECT_FALSE(SourcePicture::dragEntered(*cases[1].mime, moc.get()));
    EXPECT_TRUE(SourcePicture::dragEntered(*filesDropped({ image("in/c.png") }), moc.get()));
    EXPECT_TRUE(messages().isEmpty());

    // An image file that gives no image is refused with the reason, and the picture keeps its file.
    const QString broken = file("in/broken.jpg", "not a jpeg");
    prompts.clear();
    EXPECT_FALSE(paste(*filesDropped({ broken })));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_THAT(messages().first().toStdString(), HasSubstr("broken.jpg"));
    EXPECT_EQ(picture->filename(), hers->filename());
}

TEST_F(SourcePictureTest, TheHundredAndFirstPastedSourceStillGetsACopyOfItsOwn)
{
    FTPicture* picture = nullptr;
    for (int i = 0; i <= 100; ++i) {
        picture = paste(*imageData(8, 8, QColor::fromRgb(i, 255 - i, 7)));
        ASSERT_TRUE(picture) << i << messages().join("\n").toStdString();
    }
    EXPECT_EQ(picture->filename(), picturesFolder() + "/Source_100.tiff");
    EXPECT_EQ(picturesFolderEntries().size(), 101);
    EXPECT_TRUE(messages().isEmpty()) << messages().join("\n").toStdString();
}

TEST_F(SourcePictureTest, RemovingThePictureIsOneNamedActionAndKeepsTheFile)
{
    EXPECT_FALSE(SourcePicture::removePicture(source));
    FTPicture* picture = SourcePicture::setPictureFilename(source, image("in/deed.png"), {}, {}, {});
    picture->thumbnailImage();
    ASSERT_TRUE(moc->saveMoc());
    moc->undoManager()->closeOpenGroups();

    EXPECT_TRUE(SourcePicture::removePicture(source));
    EXPECT_EQ(moc->undoManager()->actionName(), LocalizedString("DeletePictureOfSource"));
    EXPECT_EQ(source->picture(), nullptr);
    EXPECT_EQ(moc->count<FTPicture>(), 0);
    EXPECT_EQ(moc->count<FTOriginalPicture>(), 0);
    EXPECT_TRUE(QFileInfo::exists(picturesFolder() + "/deed.png"));
}

TEST_F(SourcePictureTest, TheMenuFollowsTheKindOfFile)
{
    EXPECT_THAT(commands(SourcePicture::menu(nullptr, 0)), ElementsAre("Paste (off)", "Help"));
    EXPECT_THAT(commands(SourcePicture::menu(source, 1)), ElementsAre("Paste", "Help"));
    EXPECT_THAT(commands(SourcePicture::menu(source, 2)), ElementsAre("Paste (off)", "Help"));

    // An image: edited and transcribed, and opened with the applications for its kind, the default one first.
    WorkspaceFixture applications(dir.path(), "image/png");
    FTPicture* picture = SourcePicture::setPictureFilename(source, image("in/deed.png"), {}, {}, {});
    const QList<SourcePicture::MenuItem> menu = SourcePicture::menu(source, 0);
    EXPECT_THAT(commands(menu), ElementsAre("Paste (off)", "Remove", "EditPic", "Transcribe", "OpenWith", "Help"));
    EXPECT_EQ(menu[3].title, LocalizedString("Transcribe"));
    ASSERT_FALSE(menu[4].applications.empty());
    EXPECT_EQ(menu[4].applications.front().title, "Test Editor");

    // A PDF is shown, not edited or transcribed; so is a link to one, whatever the case of its name.
    for (const char* name : { "/scan.pdf", "/scan.PDF", "/scan.Pdf alias", "/scan.PDF ALIAS" }) {
        picture->setString(Key("filename"), picturesFolder() + name);
        EXPECT_THAT(commands(SourcePicture::menu(source, 0)),
            ElementsAre("Paste (off)", "Remove", "DisplayPDF", "OpenWith (off)", "Help"))
            << name;
    }
    for (const char* name : { "/scan.pdfx", "/pdf", "/scan.pdf.png" })
        EXPECT_FALSE(SourcePicture::isPdf(picturesFolder() + name)) << name;

    // A picture whose file went missing can still be removed; the well says how to give it a file.
    picture->setString(Key("filename"), QString());
    EXPECT_THAT(commands(SourcePicture::menu(source, 0)), ElementsAre("Paste (off)", "Remove", "Help"));
    EXPECT_EQ(SourcePicture::hintFor(source, false), SourcePicture::Hint::Initial);
}

TEST_F(SourcePictureTest, TheWellsHintFollowsTheSourceAndItsFile)
{
    using Hint = SourcePicture::Hint;
    EXPECT_EQ(SourcePicture::hintFor(nullptr, false), Hint::None);
    EXPECT_EQ(SourcePicture::hintFor(source, false), Hint::Initial);
    SourcePicture::setPictureFilename(source, image("in/deed.png"), {}, {}, {});
    EXPECT_EQ(SourcePicture::hintFor(source, true), Hint::None);
    EXPECT_EQ(SourcePicture::hintFor(source, false), Hint::Load);
}
