// The sources editor with the picture area the program installs: the picture well (pasting, dropping, its menu and
// hints, the picture editor from a click), and the transcription window with its links, from the well and from the
// person editor's hook.

#include "../../sources/ui/SourcesWindowFixture.h"
#include "ContextMenus.h"
#include "WorkspaceFixture.h"

#include "pictures/ui/DocumentImage.h"
#include "pictures/ui/PictureController.h"
#include "pictures/ui/PicturesMenuActions.h"
#include "pictures/ui/SourceImage.h"
#include "pictures/ui/SourcePictureArea.h"
#include "pictures/ui/TranscriptionController.h"

#include "pictures/TranscriptionLinks.h"

#include "shell/ui/ElidedLabel.h"

#include "editor/ui/EditorHooks.h"

#include "model/FTPicture.h"
#include "model/UtilsPics.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QSlider>
#include <QSplitter>
#include <QTextEdit>
#include <QUrl>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {
class SourcePictureWindows : public SourcesWindowFixture {
protected:
    void beforeOpening() override
    {
        PicturesMenuActions::install();
        UserDefaults::standard().setBool("alwaysCopyToPicturesFolder", true);
        TranscriptionController::setRememberedContentSize({});
    }
    void TearDown() override
    {
        QGuiApplication::clipboard()->clear();
        PicturesMenuActions::uninstall();
        TranscriptionController::setRememberedContentSize({});
        SourcesWindowFixture::TearDown();
    }

    // A register page of 1200 × 900: four coloured quarters.
    static QImage page()
    {
        QImage img(1200, 900, QImage::Format_RGB32);
        QPainter painter(&img);
        painter.fillRect(0, 0, 600, 450, QColor(180, 60, 50));
        painter.fillRect(600, 0, 600, 450, QColor(60, 140, 70));
        painter.fillRect(0, 450, 600, 450, QColor(50, 80, 170));
        painter.fillRect(600, 450, 600, 450, QColor(220, 200, 80));
        return img;
    }
    QString pageFile(const QString& name) const
    {
        const QString path = dir.path() + "/" + name;
        EXPECT_TRUE(page().save(path));
        return path;
    }
    SourcePictureArea* areaOf(SourcesAddModDel* e) const { return e->findChild<SourcePictureArea*>(); }
    template <class Window> Window* shown(QWidget* parent) const
    {
        for (Window* w : parent->findChildren<Window*>())
            if (w->isVisible())
                return w;
        return nullptr;
    }
    static void mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
            buttons, modifiers);
        QApplication::sendEvent(w, &e);
    }
    static void drag(QWidget* w, QPointF from, QPointF to)
    {
        mouse(w, QEvent::MouseButtonPress, from);
        mouse(w, QEvent::MouseMove, to);
        mouse(w, QEvent::MouseButtonRelease, to);
    }
    static void select(QTextEdit* text, int position, int length)
    {
        QTextCursor cursor = text->textCursor();
        cursor.setPosition(position);
        cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        text->setTextCursor(cursor);
    }
    static bool dropOn(QWidget* w, QMimeData& mime)
    {
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &drop);
        return drop.isAccepted();
    }
};
}

TEST_F(SourcePictureWindows, APastedPictureIsEditedAndTranscribedAndItsLinkKept)
{
    FTSource* baptisms = source(1, { { "type", "Parish Register" }, { "title", "Baptisms of St Anne, 1790" } });
    SourcesAddModDel* e = openEditor(baptisms);
    ASSERT_NE(e, nullptr);
    SourcePictureArea* area = areaOf(e);
    ASSERT_NE(area, nullptr);
    SourceImage* well = area->sourceImage();
    QApplication::processEvents();
    saveScreenshot(e, "sources-editor-picture-well-empty");

    // Pasted: "Source.tiff" in the pictures folder, shown at once.
    QGuiApplication::clipboard()->setImage(page());
    well->paste();
    FTPicture* picture = baptisms->picture();
    ASSERT_NE(picture, nullptr) << texts().join("\n").toStdString();
    EXPECT_EQ(picture->filename(), data + "/Pictures/Source.tiff");
    EXPECT_FALSE(well->image().isNull());
    EXPECT_TRUE(area->transcriptionNotesTextView()->toPlainText().isEmpty());
    saveScreenshot(area, "sources-editor-picture-well");

    // A click on the well opens the picture editor on the source's picture, as a sheet on the sources editor.
    mouse(well, QEvent::MouseButtonPress, { 60, 60 });
    PictureController* pictureEditor = shown<PictureController>(e);
    ASSERT_NE(pictureEditor, nullptr);
    EXPECT_EQ(pictureEditor->picture(), picture);
    EXPECT_EQ(pictureEditor->owner(), baptisms);
    pictureEditor->closeEditor();
    QApplication::processEvents();
    EXPECT_EQ(shown<PictureController>(e), nullptr);

    // Transcribed: the picture fills the width of its pane at first.
    area->transcribePicture();
    TranscriptionController* t = shown<TranscriptionController>(e);
    ASSERT_NE(t, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(t->size(), QSize(850, 600));
    EXPECT_NEAR(t->scale(), t->pictureScrollView()->viewport()->width() / 1200.0, 1e-9);
    EXPECT_EQ(t->documentImage()->width(), t->pictureScrollView()->viewport()->width());
    EXPECT_EQ(t->scaleSlider()->value(), int(std::lround(t->scale() * 100)));
    EXPECT_EQ(t->titleField()->text(), "Source");
    EXPECT_EQ(t->fileName()->text(), picture->filename());
    // The long path fits the window, shortened in the middle so that the file's name stays in sight.
    EXPECT_LE(t->fileName()->mapTo(t, QPoint(t->fileName()->width(), 0)).x(), t->width());
    EXPECT_TRUE(t->fileName()->shownText().endsWith(QFileInfo(picture->filename()).fileName()))
        << t->fileName()->shownText().toStdString();
    EXPECT_FALSE(t->loadError()->isVisible());

    QTextEdit* text = t->transcription();
    text->insertPlainText("Baptism of John, son of William Hall");
    // A rectangle of 5 points or less is none: no link.
    DocumentImage* view = t->documentImage();
    drag(view, { 20, 20 }, { 24, 60 });
    EXPECT_TRUE(view->rclCrop().isEmpty());
    select(text, 11, 4);
    t->createLink();
    EXPECT_EQ(prompts.records.last().text, LocalizedString("CreateLink"));
    EXPECT_EQ(prompts.records.last().info, LocalizedString("CreateLinkTxt3"));

    const double scale = t->scale();
    drag(view, { 20, 20 }, { 120, 80 });
    EXPECT_NEAR(view->rclCrop().x(), 20 / scale, 1e-6);
    EXPECT_NEAR(view->rclCrop().width(), 100 / scale, 1e-6);
    // As its text keeps it.
    const QRectF rectangle = UtilsPics::rectFromString(UtilsPics::stringFromRect(view->rclCrop()));
    select(text, 11, 4);
    t->createLink();
    EXPECT_EQ(text->toPlainText(), "Baptism of John , son of William Hall");
    EXPECT_EQ(text->textCursor().position(), 16);
    EXPECT_FALSE(text->currentCharFormat().isAnchor());
    // The rectangle moves when dragged by its inside; the link keeps the rectangle it was given.
    drag(view, { 60, 50 }, { 80, 60 });
    EXPECT_NEAR(view->rclCrop().x(), 40 / scale, 1e-6);
    EXPECT_NEAR(view->rclCrop().width(), 100 / scale, 1e-6);
    text->setFocus();
    saveScreenshot(t, "transcription-window-side-by-side");

    // One above the other: a picture shown smaller than its size comes back to its size first.
    ASSERT_LT(t->scale(), 1.0);
    t->sideBySide()->click();
    EXPECT_FALSE(UserDefaults::standard().boolForKey("transcriptionSplitVertically"));
    EXPECT_EQ(t->splitView()->orientation(), Qt::Vertical);
    EXPECT_EQ(t->scale(), 1.0);
    EXPECT_EQ(view->width(), 1200);
    EXPECT_EQ(texts().last(), LocalizedString("TranscriptionVertical"));
    saveScreenshot(t, "transcription-window-one-above-the-other");

    // Closed: stored and saved, and the sources editor shows the text.
    t->resize(900, 640);
    t->closeTranscription();
    QApplication::processEvents();
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_EQ(picture->transcriptionString(), "Baptism of John , son of William Hall");
    EXPECT_EQ(area->transcriptionNotesTextView()->toPlainText(), "Baptism of John , son of William Hall");
    EXPECT_EQ(TranscriptionController::rememberedContentSize(), QSize(900, 640));
    e->closeSheet();
    QApplication::processEvents();

    // Opened again from a new sources editor: the link is there, and a click on it shows its rectangle.
    e = openEditor(baptisms);
    ASSERT_NE(e, nullptr);
    areaOf(e)->transcribePicture();
    t = shown<TranscriptionController>(e);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->size(), QSize(900, 640));
    EXPECT_EQ(t->splitView()->orientation(), Qt::Vertical);
    text = t->transcription();
    const auto link = TranscriptionLinks::followLink(*text->document(), 12);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->rectangle, rectangle);
    EXPECT_TRUE(t->documentImage()->rclCrop().isEmpty());
    QTextCursor at(text->document());
    at.setPosition(13);
    const QPoint click = text->cursorRect(at).center();
    mouse(text->viewport(), QEvent::MouseButtonPress, click);
    mouse(text->viewport(), QEvent::MouseButtonRelease, click);
    QApplication::processEvents();
    EXPECT_EQ(t->documentImage()->rclCrop(), rectangle);
    EXPECT_EQ(text->textCursor().selectedText(), "John");

    // Closed without a change: the stored transcription stays as it was, byte for byte.
    const QByteArray stored = picture->transcriptionData();
    t->closeTranscription();
    QApplication::processEvents();
    EXPECT_EQ(picture->transcriptionData(), stored);
    e->closeSheet();
}

TEST_F(SourcePictureWindows, TheWellsMenuDropsAndHints)
{
    FTSource* will = source(1, { { "type", "Will" }, { "title", "Will of John Hall" } });
    FTSource* census = source(2, { { "title", "Census of Kew" } });
    SourcesAddModDel* e = openEditor(will);
    ASSERT_NE(e, nullptr);
    SourcePictureArea* area = areaOf(e);
    SourceImage* well = area->sourceImage();

    // A drag of two pictures is refused as it enters, and told so; a drop of one is taken.
    std::unique_ptr<QMimeData> two(new QMimeData);
    two->setUrls({ QUrl::fromLocalFile(pageFile("a.png")), QUrl::fromLocalFile(pageFile("b.png")) });
    EXPECT_FALSE(dropOn(well, *two));
    EXPECT_EQ(texts().last(), LocalizedString("OneAtATimeDrag"));
    EXPECT_EQ(will->picture(), nullptr);
    std::unique_ptr<QMimeData> one(new QMimeData);
    one->setUrls({ QUrl::fromLocalFile(pageFile("will.png")) });
    EXPECT_TRUE(dropOn(well, *one));
    ASSERT_NE(will->picture(), nullptr);
    EXPECT_EQ(will->picture()->name(), "will");

    // Its menu, with the picture's commands; the clipboard holds no picture, so Paste is off.
    WorkspaceFixture applications(dir.path(), "image/png");
    QGuiApplication::clipboard()->setText("words");
    QStringList titles;
    ASSERT_TRUE(secondaryClick<QMenu>(well, { 40, 40 }, [&](QMenu* menu) {
        for (QAction* a : menu->actions())
            titles << a->text() + (a->isEnabled() ? "" : " (off)");
        menu->adjustSize();
        saveScreenshot(menu, "sources-editor-picture-well-menu");
    }));
    EXPECT_THAT(titles,
        ElementsAre(LocalizedString("Paste") + " (off)", LocalizedString("Remove"), LocalizedString("EditPic"),
            LocalizedString("Transcribe"), LocalizedString("OpenWith"), LocalizedString("Help")));

    // Help, then Remove from the menu.
    ASSERT_TRUE(secondaryClick<QMenu>(well, { 40, 40 }, [&](QMenu* menu) { choose(menu, actionTitled(menu, LocalizedString("Help"))); }));
    EXPECT_EQ(prompts.records.last().text, LocalizedHelpString("helpForSourcePicturesHeading"));
    ASSERT_TRUE(secondaryClick<QMenu>(well, { 40, 40 }, [&](QMenu* menu) { choose(menu, actionTitled(menu, LocalizedString("Remove"))); }));
    EXPECT_EQ(will->picture(), nullptr);
    EXPECT_TRUE(well->image().isNull());
    // Without a picture there is nothing to transcribe.
    area->transcribePicture();
    EXPECT_EQ(shown<TranscriptionController>(e), nullptr);

    // A picture whose file is gone: the well names the file.
    QGuiApplication::clipboard()->setImage(page());
    well->paste();
    ASSERT_NE(will->picture(), nullptr);
    QFile::remove(will->picture()->filename());
    will->picture()->setOriginalPicture(nullptr);
    area->showCurrentSource();
    EXPECT_TRUE(well->image().isNull());
    EXPECT_EQ(well->toolTip(), will->picture()->filename());
    saveScreenshot(area, "sources-editor-picture-well-missing-file");

    // Another source shows its own picture area: empty, with the hint.
    selectRows(e, { census });
    EXPECT_TRUE(well->image().isNull());
    EXPECT_TRUE(area->transcriptionNotesTextView()->toPlainText().isEmpty());
    e->closeSheet();
}

TEST_F(SourcePictureWindows, TheTranscriptionOfAPictureWithoutItsFileStillWorks)
{
    // The person editor's pictures page opens the window through its hook.
    ASSERT_TRUE(EditorHooks::shared().transcription);
    FTPerson* ann = FTPerson::initInMoc(moc, "Ann Hall", "F");
    FTPicture* letter = FTPicture::initInMoc(moc, pageFile("letter.png"), ann);
    letter->setTranscription("<p>Dear <b>all</b>,</p>");
    moc->saveMoc();
    QFile::remove(letter->filename());
    int ended = 0;
    EditorHooks::shared().transcription(doc->dovurWindow(), letter, ann, [&] { ++ended; });
    TranscriptionController* t = shown<TranscriptionController>(doc->dovurWindow());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->owner(), ann);
    EXPECT_EQ(t->scale(), 1.0);
    EXPECT_TRUE(t->documentImage()->image().isNull());
    EXPECT_TRUE(t->loadError()->isVisible());
    EXPECT_THAT(t->loadError()->text().toStdString(), HasSubstr("letter.png"));
    EXPECT_EQ(t->transcription()->toPlainText(), "Dear all,");
    saveScreenshot(t, "transcription-window-missing-file");

    // No rectangle can be drawn: a link is refused; a web link in the text is handled and does nothing.
    select(t->transcription(), 0, 4);
    t->createLink();
    EXPECT_EQ(prompts.records.last().info, LocalizedString("CreateLinkTxt3"));
    EXPECT_TRUE(t->clickedOnLink("https://example.org", 1));
    EXPECT_EQ(t->transcription()->textCursor().selectedText(), "Dear");
    EXPECT_TRUE(t->documentImage()->rclCrop().isEmpty());
    t->removeLink();
    EXPECT_FALSE(t->transcription()->textCursor().charFormat().fontWeight() == QFont::Bold);
    select(t->transcription(), 2, 0);
    t->removeLink();
    EXPECT_EQ(prompts.records.last().info, LocalizedString("CreateLinkTxt1"));

    // Closed with Escape: what was typed is kept all the same.
    t->transcription()->moveCursor(QTextCursor::End);
    t->transcription()->insertPlainText(" the farm is sold.");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(t, &escape);
    QApplication::processEvents();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(letter->transcriptionString(), "Dear all, the farm is sold.");
    EXPECT_FALSE(moc->hasChanges());

    // A turned picture is shown turned, as the picture editor shows it.
    FTPicture* turned = FTPicture::initInMoc(moc, pageFile("turned.png"), ann);
    turned->setRotation(90);
    EditorHooks::shared().transcription(doc->dovurWindow(), turned, ann, {});
    t = shown<TranscriptionController>(doc->dovurWindow());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->documentImage()->image().size(), QSize(900, 1200));
    t->closeTranscription();
    QApplication::processEvents();

    // Emptied: no transcription is kept.
    EditorHooks::shared().transcription(doc->dovurWindow(), letter, ann, {});
    t = shown<TranscriptionController>(doc->dovurWindow());
    ASSERT_NE(t, nullptr);
    t->transcription()->selectAll();
    t->transcription()->textCursor().removeSelectedText();
    t->closeTranscription();
    EXPECT_TRUE(letter->transcriptionData().isEmpty());
    EXPECT_TRUE(letter->transcriptionString().isEmpty());
}
