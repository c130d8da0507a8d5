// The picture editor's windows on a real database and real files: the editor with its crop view (drags, pastes,
// drops, the context menu), its save and close rules, other references, citations and the metadata window; the
// title sheet and the default-picture view; and the hooks that open them from the person editor and the diagram.

#include "../PicturesFixture.h"
#include "../TaggedJpeg.h"
#include "Screenshot.h"

#include "pictures/ui/DefaultImage.h"
#include "pictures/ui/PicEdit.h"
#include "pictures/ui/PictureController.h"
#include "pictures/ui/PictureMetadata.h"
#include "pictures/ui/PicturesMenuActions.h"
#include "pictures/ui/SelectPictureTitle.h"

#include "sources/ui/PictureSourceReferences.h"

#include "diagrams/DiagramHooks.h"
#include "editor/ui/EditorHooks.h"

#include "model/FTMocUndoManager.h"
#include "model/FTOriginalPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/UtilsPics.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QTableWidget>
#include <QTreeWidget>
#include <QUrl>

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

class PictureEditorWindows : public PicturesFixture {
protected:
    void SetUp() override
    {
        TestSupport::useFreshDefaults();
        PicturesFixture::SetUp();
        UserDefaults::standard().setString("croppingMode", LocalizedString("AsCropped"));
        PictureController::setRememberedContentRect({});
        moc = newDatabase();
        ann = person(*moc, "Ann Lee");
        bob = person(*moc, "Bob Lee");
        moc->undoManager()->closeOpenGroups();
    }
    void TearDown() override
    {
        // An editor takes its metadata window with it.
        QList<QPointer<QWidget>> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<PictureController*>(w) || qobject_cast<PictureMetadata*>(w))
                windows << w;
        for (const QPointer<QWidget>& w : windows)
            delete w.data();
        QGuiApplication::clipboard()->clear();
        NotificationCenter::defaultCenter().flushQueue();
        moc.reset();
        PicturesFixture::TearDown();
    }

    // A saved picture of `owner` made from a 400 × 300 image of four colours.
    FTPicture* savedPicture(const QString& name, FTManagedObject* owner, const QString& title)
    {
        QImage img(400, 300, QImage::Format_RGB32);
        QPainter painter(&img);
        painter.fillRect(0, 0, 200, 150, QColor(180, 60, 50));
        painter.fillRect(200, 0, 200, 150, QColor(60, 140, 70));
        painter.fillRect(0, 150, 200, 150, QColor(50, 80, 170));
        painter.fillRect(200, 150, 200, 150, QColor(220, 200, 80));
        painter.end();
        const QString path = dir.path() + "/" + name;
        EXPECT_TRUE(img.save(path));
        FTPicture* p = FTPicture::initInMoc(moc.get(), path, owner);
        p->setName(title);
        p->thumbnailImage();
        EXPECT_TRUE(moc->saveMoc());
        moc->undoManager()->closeOpenGroups();
        moc->undoManager()->removeAllActions();
        return p;
    }
    PictureController* openEditor(FTManagedObject* owner, FTPicture* picture)
    {
        auto* editor = new PictureController(owner, picture);
        editor->resize(980, 640);
        editor->show();
        QApplication::processEvents();
        NotificationCenter::defaultCenter().flushQueue();
        return editor;
    }
    static void mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::LeftButton,
        Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, buttons,
            modifiers);
        QApplication::sendEvent(w, &e);
    }
    static void drag(QWidget* w, QPointF from, QPointF to)
    {
        mouse(w, QEvent::MouseButtonPress, from);
        mouse(w, QEvent::MouseMove, (from + to) / 2);
        mouse(w, QEvent::MouseMove, to);
        mouse(w, QEvent::MouseButtonRelease, to);
    }
    static bool dropOn(QWidget* w, QMimeData& mime)
    {
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        if (!move.isAccepted())
            return false;
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &drop);
        return drop.isAccepted();
    }
    QMimeData* filesMime(const QStringList& paths)
    {
        auto* mime = new QMimeData;
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        mime->setUrls(urls);
        return mime;
    }
    template <class T> static T* child(QWidget* w, const char* name) { return w->findChild<T*>(QString::fromLatin1(name)); }

    std::unique_ptr<FTMoc> moc;
    FTPerson* ann = nullptr;
    FTPerson* bob = nullptr;
};

TEST_F(PictureEditorWindows, ACropDrawnWithTheMouseAndOtherReferencesInYellow)
{
    FTPicture* annsPicture = savedPicture("family.png", ann, "Family");
    FTPicture* bobsPicture = FTPicture::initInMoc(moc.get(), annsPicture->filename(), bob);
    bobsPicture->setName("Bob at the wedding");
    bobsPicture->setRclCut("{{220, 40}, {120, 90}}");
    moc->saveMoc();
    moc->undoManager()->removeAllActions();

    PictureController* editor = openEditor(ann, annsPicture);
    auto* table = child<QTableWidget>(editor, "otherReferences");
    ASSERT_EQ(table->rowCount(), 2);
    PicEdit* view = editor->picEdit();
    ASSERT_GT(view->scale(), 0.5);
    const double scale = view->scale();

    // A box dragged from (20, 20) to (120, 90) in the view.
    const QByteArray thumbnailBefore = annsPicture->originalPicture()->data();
    mouse(view, QEvent::MouseButtonPress, { 20, 20 });
    mouse(view, QEvent::MouseMove, { 120, 90 });
    EXPECT_TRUE(PicEdit::isTracking());
    EXPECT_EQ(annsPicture->originalPicture()->data(), thumbnailBefore); // shown while dragging, not stored
    mouse(view, QEvent::MouseButtonRelease, { 120, 90 });
    EXPECT_FALSE(PicEdit::isTracking());
    const QRectF crop = editor->editing().rclCrop();
    EXPECT_NEAR(crop.x(), 20 / scale, 1e-6);
    EXPECT_NEAR(crop.width(), 100 / scale, 1e-6);
    EXPECT_NE(annsPicture->originalPicture()->data(), thumbnailBefore);
    EXPECT_EQ(view->rclDragBox(), QRectF(20, 20, 100, 70));

    // Moving it by its inside, held in the picture.
    drag(view, { 60, 50 }, { -200, 50 });
    EXPECT_NEAR(view->rclDragBox().x(), 0, 1e-6);
    EXPECT_NEAR(view->rclDragBox().width(), 100, 1e-6);
    // Resizing it by its handle.
    drag(view, { 100, 90 }, { 150, 130 });
    EXPECT_NEAR(view->rclDragBox().width(), 150, 1e-6);
    EXPECT_NEAR(view->rclDragBox().height(), 110, 1e-6);

    table->selectRow(1);
    const QImage shot = saveScreenshot(editor, "picture-editor-crop");
    // The frame lies just outside the other reference's crop.
    const QPoint yellowEdge = view->mapTo(editor, QPoint(int(220 * scale) - 2, int(80 * scale)));
    EXPECT_EQ(shot.pixelColor(yellowEdge * shot.devicePixelRatio()), QColor(Qt::yellow));

    editor->closeEditor();
    EXPECT_EQ(editor->result(), 1);
    EXPECT_EQ(annsPicture->rclCut(), UtilsPics::stringFromRect(editor->editing().rclCrop()));
    EXPECT_EQ(moc->undoManager()->undoActionName(), "Edit Picture - Family");
}

TEST_F(PictureEditorWindows, AFixedRatioHoldsTheDraggedBox)
{
    UserDefaults::standard().setString("croppingMode", LocalizedString("Square"));
    FTPicture* p = savedPicture("square.png", ann, "Square");
    PictureController* editor = openEditor(ann, p);
    PicEdit* view = editor->picEdit();
    mouse(view, QEvent::MouseButtonPress, { 20, 20 });
    mouse(view, QEvent::MouseMove, { 60, 30 });
    EXPECT_EQ(view->rclDragBox(), QRectF(20, 20, 40, 40));
    saveScreenshot(editor, "picture-editor-square-drag");
    mouse(view, QEvent::MouseButtonRelease, { 60, 30 });
    // A click without a drag gives the whole picture back.
    drag(view, { 200, 200 }, { 200, 200 });
    EXPECT_EQ(editor->editing().rclCrop(), QRectF());
}

TEST_F(PictureEditorWindows, AdjustmentSlidersChangeThePictureAndItsPreview)
{
    FTPicture* p = savedPicture("adjusted.png", ann, "Adjusted");
    PictureController* editor = openEditor(ann, p);
    auto* sepia = child<QSlider>(editor, "AdjustSepia");
    auto* exposure = child<QSlider>(editor, "AdjustExposure");
    ASSERT_NE(sepia, nullptr);
    EXPECT_EQ(child<QSlider>(editor, "AdjustSharpness")->value(), 40);
    const QByteArray before = p->originalPicture()->data();
    sepia->setValue(100);
    exposure->setValue(-100);
    EXPECT_FLOAT_EQ(p->tnSepia(), 1.0f);
    EXPECT_FLOAT_EQ(p->tnExposure(), -1.0f);
    const QImage preview = QImage::fromData(p->originalPicture()->data());
    ASSERT_NE(p->originalPicture()->data(), before);
    // Darker and browner than the blue quarter was.
    const QColor blueQuarter = preview.pixelColor(10, preview.height() - 10);
    EXPECT_GT(blueQuarter.red(), blueQuarter.blue());
    saveScreenshot(editor, "picture-editor-adjusted");
    child<QPushButton>(editor, "defaultsButton")->click();
    EXPECT_EQ(sepia->value(), 0);
    EXPECT_FLOAT_EQ(p->tnExposure(), 0.0f);
}

TEST_F(PictureEditorWindows, TheFirstCloseClosesOnlyTheMetadataWindow)
{
    FTPicture* p = FTPicture::initInMoc(moc.get(), writeTaggedJpeg(dir.path() + "/tagged.jpg"), ann);
    p->setNotes("  Found in the attic\n");
    moc->saveMoc();
    PictureController* editor = openEditor(ann, p);
    editor->displayMetadata();
    PictureMetadata* metadata = editor->metadataWindow();
    ASSERT_NE(metadata, nullptr);
    editor->displayMetadata(); // at most one
    EXPECT_EQ(editor->findChildren<PictureMetadata*>().size(), 1);
    QApplication::processEvents();
    EXPECT_TRUE(metadata->appendIPTCButton()->isVisible());
    EXPECT_GT(metadata->tree()->topLevelItemCount(), 3);
    EXPECT_THAT(metadata->fileTypeText().toStdString(), HasSubstr("image/jpeg"));
    saveScreenshot(metadata, "picture-metadata");

    prompts.answer(0); // double spacing
    metadata->appendIPTCButton()->click();
    EXPECT_EQ(p->notes(), "Found in the attic\n\nCaption: Church door\n\nKeywords: Family, Wedding, 1920\n\n");
    EXPECT_EQ(child<QPlainTextEdit>(editor, "notes")->toPlainText(), p->notes());

    editor->closeEditor();
    QApplication::processEvents();
    EXPECT_TRUE(editor->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(editor->metadataWindow(), nullptr);
    editor->closeEditor();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), 1);
    EXPECT_EQ(PictureController::rememberedContentRect().size(), QSize(980, 640));

    // A missing file has no metadata to show.
    FTPicture* gone = missingPicture(*moc, ann, dir.path() + "/gone.jpg");
    PictureController second(ann, gone);
    EXPECT_EQ(second.size(), QSize(980, 640));
    prompts.clear();
    second.displayMetadata();
    EXPECT_EQ(messages(), QStringList { LocalizedString("FileNotExist") });
}

TEST_F(PictureEditorWindows, AppendingIptcKeepsTypedNotesAndTheWindowFollowsThePicture)
{
    FTPicture* tagged = FTPicture::initInMoc(moc.get(), writeTaggedJpeg(dir.path() + "/tagged.jpg"), ann);
    moc->saveMoc();
    savedPicture("second.png", ann, "Second");
    PictureController* editor = openEditor(ann, tagged);
    editor->displayMetadata();
    PictureMetadata* metadata = editor->metadataWindow();
    ASSERT_NE(metadata, nullptr);

    // Notes typed while the window is open are written before the properties are appended to them.
    child<QPlainTextEdit>(editor, "notes")->setPlainText("Typed afterwards");
    prompts.answer(1); // single spacing
    metadata->appendIPTCButton()->click();
    EXPECT_EQ(tagged->notes(), "Typed afterwards\n\nCaption: Church door\nKeywords: Family, Wedding, 1920\n");
    EXPECT_EQ(child<QPlainTextEdit>(editor, "notes")->toPlainText(), tagged->notes());

    // Another picture, or another file for this one, closes the window rather than leave it on the old file.
    editor->nextPicture();
    ASSERT_NE(editor->picture(), tagged);
    EXPECT_EQ(editor->metadataWindow(), nullptr);
    EXPECT_FALSE(metadata->isVisible());
    editor->previousPicture();
    editor->displayMetadata();
    metadata = editor->metadataWindow();
    ASSERT_NE(metadata, nullptr);
    ASSERT_TRUE(editor->setFilename(writeTaggedJpeg(dir.path() + "/other.jpg")));
    EXPECT_EQ(editor->metadataWindow(), nullptr);
    EXPECT_FALSE(metadata->isVisible());
}

TEST_F(PictureEditorWindows, AnInvalidDateBlocksNextAndClose)
{
    savedPicture("one.png", ann, "One");
    FTPicture* second = savedPicture("two.png", ann, "Two");
    savedPicture("three.png", ann, "Three");
    PictureController* editor = openEditor(ann, second);
    EXPECT_EQ(child<QLabel>(editor, "pictureNo")->text(), "2 of 3");
    auto* date = child<QLineEdit>(editor, "date");
    date->setText("31 Fbx 1911");
    date->setModified(true);
    Q_EMIT date->editingFinished();
    ASSERT_EQ(prompts.records.size(), 1); // the date's format help
    prompts.clear();
    child<QPushButton>(editor, "nextButton")->click();
    child<QPushButton>(editor, "closeButton")->click();
    EXPECT_EQ(messages(),
        QStringList({ LocalizedString("PleaseCorrectDate"), LocalizedString("PleaseCorrectDateBeforeClosing") }));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->picture(), second);
    EXPECT_EQ(second->date(), "");

    date->setText("2 Apr 1931");
    date->setModified(true);
    child<QPushButton>(editor, "nextButton")->click();
    EXPECT_EQ(second->date(), "02 Apr 1931");
    EXPECT_EQ(child<QLabel>(editor, "pictureNo")->text(), "3 of 3");
    EXPECT_EQ(child<QLineEdit>(editor, "title")->text(), "Three");
}

// Another file replaces the refused date by the picture's own, kept or discarded: it no longer holds the editor.
TEST_F(PictureEditorWindows, AnotherFileClearsARefusedDate)
{
    for (const int answer : { 0, 1 }) {
        SCOPED_TRACE(answer ? "discarded" : "kept");
        FTPicture* p = savedPicture(QStringLiteral("dated%1.png").arg(answer), ann, "Dated");
        p->setDate("01 Jan 1900");
        moc->saveMoc();
        PictureController* editor = openEditor(ann, p);
        auto* date = child<QLineEdit>(editor, "date");
        date->setText("31 Fbx 1911");
        date->setModified(true);
        prompts.clear();
        prompts.answer(answer);
        ASSERT_TRUE(editor->setFilename(image(QStringLiteral("new%1.png").arg(answer))));
        EXPECT_EQ(date->text(), answer ? "" : "01 Jan 1900");
        prompts.clear(); // the date's format help
        child<QPushButton>(editor, "closeButton")->click();
        EXPECT_TRUE(messages().isEmpty());
        EXPECT_FALSE(editor->isVisible());
        delete editor;
    }
}

TEST_F(PictureEditorWindows, OtherReferencesAreListedAnewInEveryOpenEditor)
{
    FTPicture* annsPicture = savedPicture("shared.png", ann, "Shared");
    PictureController* first = openEditor(ann, annsPicture);
    auto* firstTable = child<QTableWidget>(first, "otherReferences");
    EXPECT_EQ(firstTable->rowCount(), 1);
    FTPicture* bobsPicture = FTPicture::initInMoc(moc.get(), annsPicture->filename(), bob);
    PictureController* second = openEditor(bob, bobsPicture);
    EXPECT_EQ(firstTable->rowCount(), 2);
    EXPECT_EQ(child<QTableWidget>(second, "otherReferences")->rowCount(), 2);
    EXPECT_EQ(firstTable->item(1, 0)->text(), bob->nameWithBirthAndDeathYears());
}

TEST_F(PictureEditorWindows, CitationsOpenTheirSheetAndRetitleTheButton)
{
    FTPicture* p = savedPicture("cited.png", ann, "Cited");
    PictureController* editor = openEditor(ann, p);
    auto* button = child<QPushButton>(editor, "sourceRefsButton");
    EXPECT_EQ(button->text(), LocalizedString("SourceReferences") + " (0)");
    editor->displaySourceReferences();
    auto* sheet = editor->findChild<PictureSourceReferences*>();
    ASSERT_NE(sheet, nullptr);
    FTSource* source = FTSource::initInMoc(moc.get());
    FTSourceRel::initInMoc(moc.get(), source, p, QString());
    sheet->close();
    QApplication::processEvents();
    EXPECT_EQ(button->text(), LocalizedString("SourceReferences") + " (1)");
}

TEST_F(PictureEditorWindows, PastingAndDroppingOnePicture)
{
    PictureController* editor = openEditor(ann, nullptr);
    EXPECT_FALSE(child<QPushButton>(editor, "nextButton")->isVisible());
    saveScreenshot(editor, "picture-editor-empty");
    PicEdit* view = editor->picEdit();

    // Two files: a paste says one at a time, a drop shows it in the view and is refused.
    const QString one = image("in/my_file.png", 60, 40), two = image("in/other.png", 60, 40);
    std::unique_ptr<QMimeData> both(filesMime({ one, two }));
    EXPECT_FALSE(view->pastePictureFromPasteboard(*both, false));
    EXPECT_EQ(messages(), QStringList { LocalizedString("PicsPasteOneAtATime") });
    EXPECT_FALSE(dropOn(view, *both));
    saveScreenshot(editor, "picture-editor-two-dropped");
    QDragLeaveEvent leave;
    QApplication::sendEvent(view, &leave);
    EXPECT_EQ(editor->picture(), nullptr);

    // The context menu offers the clipboard's one picture only.
    QGuiApplication::clipboard()->setMimeData(filesMime({ one, two }));
    std::unique_ptr<QMenu> menu(view->makePopupMenu());
    EXPECT_EQ(menu->actions()[0]->text(), LocalizedString("ClipHasMultiPics"));
    EXPECT_FALSE(menu->actions()[0]->isEnabled());
    QGuiApplication::clipboard()->clear();
    menu.reset(view->makePopupMenu());
    EXPECT_EQ(menu->actions()[0]->text(), LocalizedString("NoPicInClip"));

    // One file dropped makes the picture.
    std::unique_ptr<QMimeData> single(filesMime({ one }));
    EXPECT_TRUE(dropOn(view, *single));
    ASSERT_NE(editor->picture(), nullptr);
    EXPECT_EQ(editor->picture()->name(), "my file");
    EXPECT_TRUE(child<QPushButton>(editor, "nextButton")->isVisible());
    EXPECT_EQ(child<QLabel>(editor, "pictureSize")->text(), "60 x 40 pixels");

    // Pasted image data is named after the person, made safe as a file name.
    ann->setName("..Ann Lee");
    ASSERT_EQ(ann->name(), "..Ann Lee");
    auto* data = new QMimeData;
    QImage pasted(30, 30, QImage::Format_RGB32);
    pasted.fill(Qt::magenta);
    data->setImageData(pasted);
    QGuiApplication::clipboard()->setMimeData(data);
    prompts.answer(1); // the texts of the dropped file are not kept
    view->paste();
    EXPECT_EQ(prompts.records.last().buttons[1], LocalizedString("PictureEditorDiscard"));
    EXPECT_EQ(QFileInfo(editor->picture()->filename()).fileName(), "Ann Lee.tiff");
    EXPECT_EQ(editor->picture()->name(), "Ann Lee");
}

TEST_F(PictureEditorWindows, FindFileStartsInThePicturesFolderAndRemembersTheChosenOne)
{
    FTPicture* p = savedPicture("first.png", ann, "");
    PictureController* editor = openEditor(ann, p);
    UserDefaults::standard().removeObject("picturesDirectory");
    editor->findPicture();
    auto* panel = editor->findChild<QFileDialog*>("findPicturePanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isModal());
    EXPECT_EQ(panel->directory().absolutePath(), QDir(picturesFolder()).absolutePath());
    EXPECT_EQ(UserDefaults::standard().stringForKey("picturesDirectory"), UtilsPics::picturesDirectory());
    const QString chosen = image("elsewhere/second_scan.png");
    Q_EMIT panel->fileSelected(chosen);
    EXPECT_EQ(p->name(), "second scan");
    EXPECT_EQ(UserDefaults::standard().stringForKey("picturesDirectory"), dir.path() + "/elsewhere");
    panel->close();
}

TEST_F(PictureEditorWindows, AMalformedFileShowsWhyAndLeavesTheRecordUnchanged)
{
    FTPicture* p = savedPicture("broken.png", ann, "Broken");
    p->setRclCut("{{10, 10}, {50, 40}}");
    moc->saveMoc();
    const QByteArray thumbnail = p->originalPicture()->data();
    writeTestFile(p->filename(), "this is no picture");
    PictureController* editor = openEditor(ann, p);
    EXPECT_FALSE(editor->editing().loadError().isEmpty());
    EXPECT_FALSE(child<QPushButton>(editor, "rotatePlus")->isEnabled());
    saveScreenshot(editor, "picture-editor-bad-file");
    drag(editor->picEdit(), { 20, 20 }, { 120, 90 });
    editor->closeEditor();
    EXPECT_EQ(editor->result(), 0);
    EXPECT_EQ(p->rclCut(), "{{10, 10}, {50, 40}}");
    EXPECT_EQ(p->originalPicture()->data(), thumbnail);
    EXPECT_FALSE(p->hasChanges());
}

TEST_F(PictureEditorWindows, TheTitleSheetOffersTheDraggedTitleAndTheFileName)
{
    FTPicture* dragged = savedPicture("wedding_day.png", ann, "The wedding");
    dragged->setDate("12 JUN 1920");
    dragged->setNotes("At the church door");
    FTPicture* added = FTPicture::initInMoc(moc.get(), dragged->filename(), bob);
    added->setName("The wedding");
    moc->undoManager()->closeOpenGroups();
    moc->saveMoc();

    SelectPictureTitle sheet(dragged, added, bob);
    EXPECT_EQ(sheet.choices(), QStringList({ "The wedding", "wedding day" }));
    EXPECT_EQ(added->date(), "12 JUN 1920");
    EXPECT_EQ(added->notes(), "At the church door");
    sheet.show();
    saveScreenshot(&sheet, "picture-title-sheet");
    moc->saveMoc();
    // The first choice, the title it has: nothing changes.
    sheet.accept();
    EXPECT_FALSE(added->hasChanges());

    SelectPictureTitle again(dragged, added, bob);
    again.show();
    again.buttonMatrix()->button(1)->click();
    again.close();
    EXPECT_EQ(added->name(), "wedding day");
}

TEST_F(PictureEditorWindows, TheDefaultPictureViewOpensTheEditorOnALeftClick)
{
    QWidget window;
    auto* view = new DefaultImage(&window);
    window.resize(200, 200);
    window.show();
    view->setPerson(bob);
    EXPECT_FALSE(view->showsImage());
    mouse(view, QEvent::MouseButtonPress, { 10, 10 });
    EXPECT_TRUE(window.findChildren<PictureController*>().isEmpty());

    FTPicture* p = savedPicture("portrait.png", ann, "Portrait");
    view->setPerson(ann);
    EXPECT_TRUE(view->showsImage());
    mouse(view, QEvent::MouseButtonPress, { 10, 10 }, Qt::RightButton);
    EXPECT_TRUE(window.findChildren<PictureController*>().isEmpty());
    mouse(view, QEvent::MouseButtonPress, { 10, 10 });
    const QList<PictureController*> editors = window.findChildren<PictureController*>();
    ASSERT_EQ(editors.size(), 1);
    EXPECT_EQ(editors[0]->picture(), p);
    EXPECT_TRUE(editors[0]->isModal());
    editors[0]->closeEditor();
}

TEST_F(PictureEditorWindows, TheHooksOpenTheEditorAndTheTitleSheet)
{
    const EditorHooks savedEditorHooks = EditorHooks::shared();
    const DiagramHooks savedDiagramHooks = DiagramHooks::shared();
    PicturesMenuActions::install();
    FTPicture* p = savedPicture("hooked.png", ann, "Hooked");
    QWidget window;
    window.show();
    FTPicture* ended = nullptr;
    bool changed = true;
    EditorHooks::shared().pictureEditor(&window, ann, p, [&](FTPicture* picture, bool c) {
        ended = picture;
        changed = c;
    });
    auto* editor = window.findChild<PictureController*>();
    ASSERT_NE(editor, nullptr);
    editor->closeEditor();
    EXPECT_EQ(ended, p);
    EXPECT_FALSE(changed);
    std::unique_ptr<DefaultPictureView> view(EditorHooks::makeDefaultPictureView(nullptr));
    EXPECT_NE(dynamic_cast<DefaultImage*>(view.get()), nullptr);
    EXPECT_TRUE(DiagramHooks::shared().pictureEditor);
    EXPECT_TRUE(DiagramHooks::shared().pictureTitle);
    PicturesMenuActions::uninstall();
    EditorHooks::shared() = savedEditorHooks;
    DiagramHooks::shared() = savedDiagramHooks;
}

}
