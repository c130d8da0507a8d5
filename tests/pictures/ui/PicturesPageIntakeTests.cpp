// The person editor's pictures page with the pictures intake installed as the program installs it: files dropped
// on the page, pasting, and a picture copied from one person's page and pasted on another's.

#include "../../editor/ui/EditorFixture.h"

#include "pictures/ui/PicturesMenuActions.h"

#include "editor/ui/InfoArea_Pictures.h"

#include "model/FTMocUndoManager.h"
#include "model/FTPicture.h"
#include "model/PicturePlist.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

namespace {

class PicturesPageIntake : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        PicturesMenuActions::install();
        UserDefaults::standard().setInteger("previousTabViewIndex", 0);
        UserDefaults::standard().setBool("alwaysCopyToPicturesFolder", true);
        doc = open("Family.RezUdu");
        ASSERT_NE(doc, nullptr);
        moc = doc->moc();
        page = qobject_cast<InfoArea_Pictures*>(editorOf(doc)->page("pPictures"));
        ASSERT_NE(page, nullptr);
        ann = FTPerson::initInMoc(moc, "Ann Lee", "F");
        bob = FTPerson::initInMoc(moc, "Bob Lee", "M");
        moc->undoManager()->closeOpenGroups();
        show(ann);
    }
    void TearDown() override
    {
        QGuiApplication::clipboard()->clear();
        PicturesMenuActions::uninstall();
        EditorFixture::TearDown();
    }

    void show(FTPerson* person)
    {
        select(person);
        ASSERT_TRUE(editorOf(doc)->choosePage("pPictures"));
        QApplication::processEvents();
        QApplication::processEvents();
    }
    QString pngFile(const QString& name)
    {
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = dir.path() + "/" + name;
        EXPECT_TRUE(image.save(path));
        return path;
    }
    // Drops `mime` on the page's grid; answers whether the drag was taken.
    bool drop(const QMimeData& mime)
    {
        QWidget* view = page->view();
        QDragEnterEvent enter(QPoint(300, 60), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(QPoint(300, 60), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QDropEvent dropped(QPointF(300, 60), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &dropped);
        QApplication::processEvents();
        return true;
    }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    InfoArea_Pictures* page = nullptr;
    FTPerson* ann = nullptr;
    FTPerson* bob = nullptr;
};

TEST_F(PicturesPageIntake, DroppedFilesBecomePicturesAtOnce)
{
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(pngFile("mill.png"))});
    ASSERT_TRUE(drop(files));
    ASSERT_EQ(ann->pictures().size(), 1);
    FTPicture* mill = ann->pictures().first();
    EXPECT_EQ(mill->name(), "mill");
    EXPECT_EQ(ann->defaultPicture(), mill);
    EXPECT_EQ(page->list().pictures(), QList<FTPicture*>({mill}));
    EXPECT_EQ(page->pictureInfoTextField()->text(), "1 picture added - drag & drop complete");
    // No confirmation or title window: nothing was asked.
    EXPECT_TRUE(prompts.records.isEmpty());

    // A file of a kind that is no picture is refused, and nothing is added.
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(dir.path() + "/notes.xyz")});
    EXPECT_FALSE(drop(other));
    EXPECT_EQ(ann->pictures().size(), 1);
}

TEST_F(PicturesPageIntake, PastingTakesTheClipboardsPicturesOrSaysThereAreNone)
{
    QGuiApplication::clipboard()->setText("only words");
    page->paste();
    EXPECT_EQ(texts().last(), "No images found in clipboard.");
    EXPECT_TRUE(ann->pictures().isEmpty());

    // Ann's picture copied from her page and pasted on Bob's: a picture of the same file, his first and default.
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(pngFile("farm.png"))});
    ASSERT_TRUE(drop(files));
    FTPicture* farm = ann->pictures().first();
    farm->setName("The farm");
    page->copyOriginalImage(farm);
    EXPECT_TRUE(PicturePlist::isOffered(*QGuiApplication::clipboard()->mimeData()));

    show(bob);
    QList<const void*> changed;
    NotificationCenter::defaultCenter().addObserver(
        "DefaultPictureChanged", nullptr, [&](const Notification& n) { changed << n.object; }, this);
    page->paste();
    NotificationCenter::defaultCenter().removeObserversOf(this);
    ASSERT_EQ(bob->pictures().size(), 1);
    FTPicture* copy = bob->pictures().first();
    EXPECT_EQ(copy->filename(), farm->filename());
    EXPECT_EQ(copy->name(), "The farm");
    EXPECT_EQ(bob->defaultPicture(), copy);
    EXPECT_TRUE(changed.contains(bob));
    EXPECT_EQ(page->list().pictures(), QList<FTPicture*>({copy}));
}

} // namespace
