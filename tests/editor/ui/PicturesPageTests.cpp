// The pictures page in a database's main window: the grid, its help text and selection, clicks and keys, the
// context menus, the buttons, a drag within the page, the printed layout, and the windows it opens through the
// editor's hooks.

#include "ContextMenus.h"
#include "EditorFixture.h"

#include "diagrams/ui/CdDiagram.h"
#include "editor/PicturesGrid.h"
#include "editor/ui/InfoArea_Pictures.h"

#include "shell/SystemFlags.h"
#include "shell/ui/ModelPopupMenu.h"

#include "model/FTMoc.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSpouseRel.h"
#include "model/PicturePlist.h"

#include "platform/store/Key.h"

#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>

namespace {

using PopupMenu = ModelPopupMenu<PicturesMenuItem>;

class PicturesPage : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        UserDefaults::standard().setInteger("previousTabViewIndex", 0);
        UserDefaults::standard().setInteger("picturesRowSpacing", 3);
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        doc = open("Family.RezUdu");
        ASSERT_NE(doc, nullptr);
        moc = doc->moc();
        editor = editorOf(doc);
        page = qobject_cast<InfoArea_Pictures*>(editor->page("pPictures"));
        ASSERT_NE(page, nullptr);
        EditorHooks& hooks = EditorHooks::shared();
        hooks.pictureEditor = [this](QWidget*, FTManagedObject* owner, FTPicture* picture, auto didEnd) {
            opened << QStringLiteral("editor %1 %2")
                          .arg(static_cast<FTPerson*>(owner)->name(), picture ? picture->name() : "(new)");
            sheetDidEnd = didEnd;
        };
        hooks.transcription = [this](QWidget*, FTPicture* picture, FTManagedObject*, auto) {
            opened << "transcription " + picture->name();
        };
        hooks.sourcesEditor = [this](QWidget*) { opened << "sources"; };

        ann = FTPerson::initInMoc(moc, "Ann Lee", "F");
        const struct {
            const char* title;
            const char* file;
            QSize size;
            QColor colour;
        } made[] = {
            {"Wedding", "/photos/wedding.jpg", {100, 70}, QColor(70, 110, 160)},
            {"Mill on the Aire", "/photos/mill.png", {70, 100}, QColor(160, 120, 70)},
            {"A very long title that has to wrap over more lines than the cell has room for", "/photos/long.jpg",
                {100, 100}, QColor(90, 150, 90)},
            {"Voice", "/sounds/voice.mp3", {}, {}},
            {"Census 1901", "/scans/census.tif", {80, 100}, QColor(200, 200, 170)},
        };
        for (const auto& m : made) {
            FTPicture* p = FTPicture::initInMoc(moc, QString(), ann);
            p->setString(Key("filename"), QString::fromLatin1(m.file));
            p->setName(QString::fromLatin1(m.title));
            if (m.size.isValid()) {
                QImage image(m.size, QImage::Format_RGB32);
                image.fill(m.colour);
                p->setThumbnailImage(image);
            }
            annPictures << p;
        }
        moc->undoManager()->closeOpenGroups();
        select(ann);
        ASSERT_TRUE(editor->choosePage("pPictures"));
        settle();
    }

    void settle() const
    {
        QApplication::processEvents();
        QApplication::processEvents();
    }
    QWidget* view() const { return page->view(); }
    QPointF centreOf(int index) const { return page->drawingRectAt(index).center(); }
    QString order() const
    {
        QStringList out;
        for (const FTPicture* p : page->list().pictures())
            out << p->name().left(4);
        return out.join(' ');
    }
    void click(const QPointF& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
        QEvent::Type type = QEvent::MouseButtonPress) const
    {
        QMouseEvent press(type, at, view()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, modifiers);
        QApplication::sendEvent(view(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, view()->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
            modifiers);
        QApplication::sendEvent(view(), &release);
    }
    bool secondaryClick(const QPointF& at, const std::function<void(PopupMenu*)>& inMenu) const
    {
        return ::secondaryClick<PopupMenu>(view(), at, inMenu);
    }
    static QStringList titles(const QMenu* menu)
    {
        QStringList out;
        for (const QAction* a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }
    // Chooses the item whose title starts with `title`.
    static void choose(QMenu* menu, const QString& title) { ::choose(menu, actionTitled(menu, title)); }
    // Drags picture `index` by its centre and, while the drag runs, moves it to `to` and drops it there when the
    // move is accepted. Answers whether the move was accepted.
    bool dragWithinPage(int index, const QPointF& to)
    {
        bool accepted = false;
        page->setDragRunner([&](QDrag& drag) {
            const QMimeData* mime = drag.mimeData();
            QDragEnterEvent enter(centreOf(index).toPoint(), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view(), &enter);
            EXPECT_TRUE(enter.isAccepted());
            QDragMoveEvent move(to.toPoint(), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view(), &move);
            accepted = move.isAccepted();
            markerWhileDragging = page->rclDrop();
            if (accepted) {
                QDropEvent drop(to, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(view(), &drop);
            } else {
                QDragLeaveEvent leave;
                QApplication::sendEvent(view(), &leave);
            }
            return accepted ? Qt::CopyAction : Qt::IgnoreAction;
        });
        const QPointF from = centreOf(index);
        QMouseEvent press(QEvent::MouseButtonPress, from, view()->mapToGlobal(from), Qt::LeftButton,
            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view(), &press);
        const QPointF away = from + QPointF(30, 0);
        QMouseEvent drag(
            QEvent::MouseMove, away, view()->mapToGlobal(away), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view(), &drag);
        page->setDragRunner({});
        return accepted;
    }
    // The grid as drawn.
    QImage grid() const { return view()->grab().toImage(); }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    InfoAreaController* editor = nullptr;
    InfoArea_Pictures* page = nullptr;
    FTPerson* ann = nullptr;
    QList<FTPicture*> annPictures;
    QStringList opened;
    std::function<void(FTPicture*, bool)> sheetDidEnd;
    QRectF markerWhileDragging;
};

TEST_F(PicturesPage, AnEmptyPageShowsItsHelpText)
{
    FTPerson* bob = FTPerson::initInMoc(moc, "Bob Lee", "M");
    select(bob);
    settle();
    EXPECT_EQ(page->list().count(), 0);
    EXPECT_EQ(page->pictureInfoTextField()->text(), " ");
    // Help text in the top left, the rest white; the page is taller than the scroll view.
    const QImage image = grid();
    int dark = 0;
    for (int y = 5; y < 40; ++y)
        for (int x = 5; x < 300; ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 100);
    EXPECT_EQ(image.pixel(image.width() - 3, image.height() - 3), qRgb(255, 255, 255));
    EXPECT_GT(view()->height(), page->scrollView()->viewport()->height());
    saveScreenshot(doc->dovurWindow(), "editor-pictures-page-empty");
}

TEST_F(PicturesPage, TheGridShowsThumbnailsTitlesAndTheSelection)
{
    ASSERT_EQ(page->list().count(), 5);
    const int perRow = page->scrollView()->viewport()->width() / 120;
    ASSERT_GE(perRow, 5);
    EXPECT_EQ(page->drawingRectAt(0), QRectF(10, 25, 100, 70));
    EXPECT_EQ(page->drawingRectAt(3), QRectF(395, 35, 50, 50)); // no thumbnail

    click(centreOf(2));
    EXPECT_EQ(page->selectedPicture(), annPictures[2]);
    EXPECT_EQ(page->pictureInfoTextField()->text(),
        "A very long title that has to wrap over more lines than the cell has room for,  No date,  File: long.jpg");
    EXPECT_TRUE(page->transcribeButton()->isEnabled());
    const QImage image = grid();
    // The thumbnail of the first picture, its frame, and the selection frame around the third.
    EXPECT_EQ(image.pixel(60, 60), QColor(70, 110, 160).rgb());
    EXPECT_EQ(image.pixel(10, 60), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(240 + 6, 60), QColor(60, 160, 255).rgb());
    saveScreenshot(doc->dovurWindow(), "editor-pictures-page-grid");

    // The sound file: its icon without a frame, no transcription.
    click(centreOf(3));
    EXPECT_FALSE(page->transcribeButton()->isEnabled());
    EXPECT_EQ(grid().pixel(395, 60), qRgb(255, 255, 255));
    int drawn = 0;
    const QImage withIcon = grid();
    for (int x = 400; x < 440; ++x)
        drawn += withIcon.pixel(x, 60) != qRgb(255, 255, 255);
    EXPECT_GT(drawn, 0) << "nothing drawn for the sound file";
    // A click between pictures selects nothing, and the description goes.
    click(QPointF(60, 130));
    EXPECT_EQ(page->selectedPicture(), nullptr);
    EXPECT_EQ(page->pictureInfoTextField()->text(), " ");
}

TEST_F(PicturesPage, ClicksAndKeysSelectEditRemoveAndOpen)
{
    click(centreOf(1), Qt::ControlModifier);
    EXPECT_EQ(page->selectedPicture(), annPictures[1]);
    EXPECT_EQ(opened, QStringList({"editor Ann Lee Mill on the Aire"}));

    view()->setFocus();
    key(view(), Qt::Key_Right);
    EXPECT_EQ(page->selectedPicture(), annPictures[2]);
    key(view(), Qt::Key_Return);
    EXPECT_EQ(opened.last(), "editor Ann Lee A very long title that has to wrap over more lines than the cell has "
                             "room for");
    key(view(), Qt::Key_Down); // one row only
    key(view(), Qt::Key_Up);
    EXPECT_EQ(page->selectedPicture(), annPictures[2]);
    key(view(), Qt::Key_Delete);
    EXPECT_TRUE(annPictures[2]->isDeleted());
    EXPECT_EQ(page->selectedPicture(), annPictures[3]);
    EXPECT_EQ(order(), "Wedd Mill Voic Cens");
    moc->undoManager()->closeOpenGroups();

    // A double click opens the file; this one is gone.
    click(centreOf(0), Qt::NoModifier, QEvent::MouseButtonDblClick);
    EXPECT_EQ(texts().last(), "Unable to find the file: /photos/wedding.jpg");

    // Without the pictures subsystem's window the user is told so.
    EditorHooks::shared().pictureEditor = nullptr;
    click(centreOf(0), Qt::ControlModifier);
    EXPECT_EQ(texts().last(), "The picture editor window is not available yet.");
    EditorHooks::shared().transcription = nullptr;
    page->pictureTranscribe(annPictures[0]);
    EXPECT_EQ(texts().last(), "The transcription window is not available yet.");
}

TEST_F(PicturesPage, ButtonsActOnTheSelectionOrAskForOne)
{
    auto* edit = page->findChild<QPushButton*>("pictureEdit");
    auto* makeDefault = page->findChild<QPushButton*>("pictureMakeDefault");
    ASSERT_TRUE(edit && makeDefault);
    edit->click();
    EXPECT_EQ(texts().last(), "Please select a picture and try again");
    page->transcribeButton()->click();
    EXPECT_EQ(texts().last(), "Please select a document/picture and try again.");
    EXPECT_TRUE(opened.isEmpty());

    click(centreOf(4));
    makeDefault->click();
    EXPECT_EQ(order(), "Cens Wedd Mill A ve Voic");
    EXPECT_EQ(ann->defaultPicture(), annPictures[4]);
    page->transcribeButton()->click();
    EXPECT_EQ(opened, QStringList({"transcription Census 1901"}));

    // The picture editor adds a picture: it joins the end of the list when the sheet ends.
    page->findChild<QPushButton*>("pictureAdd")->click();
    EXPECT_EQ(opened.last(), "editor Ann Lee (new)");
    FTPicture* added = FTPicture::initInMoc(moc, QString(), ann);
    added->setName("Added");
    ASSERT_TRUE(sheetDidEnd);
    sheetDidEnd(added, true);
    EXPECT_EQ(order(), "Cens Wedd Mill A ve Voic Adde");
}

TEST_F(PicturesPage, TheMenusOfAPictureAndOfTheEmptySpace)
{
    FTSource* source = FTSource::initInMoc(moc);
    source->setType("Census");
    QStringList pictureMenu, emptyMenu;
    ASSERT_TRUE(secondaryClick(centreOf(1), [&](PopupMenu* menu) {
        pictureMenu = titles(menu);
        EXPECT_EQ(menu->font(), QApplication::font("QMenu")); // like every other menu
        saveScreenshot(menu, "editor-pictures-menu-picture");
    }));
    EXPECT_EQ(page->selectedPicture(), annPictures[1]); // a right click selects first
    EXPECT_EQ(pictureMenu.mid(2, 4), QStringList({"Edit Title, Date, Notes, Cropping... (Ctrl+Click)",
                                         "Remove Picture", "Make Default", "Transcribe Picture..."}));
    ASSERT_TRUE(secondaryClick(QPointF(400, 200), [&](PopupMenu* menu) {
        emptyMenu = titles(menu);
        saveScreenshot(menu, "editor-pictures-menu-empty");
    }));
    EXPECT_EQ(page->selectedPicture(), nullptr);
    EXPECT_EQ(emptyMenu, QStringList({"Add Picture...", "Paste Images", "Sort all by Date / Title",
                             "Sort all by Title / Date", "Remove all Duplicates"}));

    // Commands run from the menu on the picture clicked.
    ASSERT_TRUE(secondaryClick(centreOf(3), [](PopupMenu* menu) { choose(menu, "Make Default"); }));
    EXPECT_EQ(order(), "Voic Wedd Mill A ve Cens");
    ASSERT_TRUE(secondaryClick(QPointF(400, 200), [](PopupMenu* menu) {
        choose(menu, "Sort all by Title / Date");
    }));
    settle();
    EXPECT_EQ(order(), "A ve Cens Mill Voic Wedd");

    // Citing the active source: none is active, so the user may open the sources window.
    ASSERT_TRUE(secondaryClick(centreOf(0), [](PopupMenu* menu) {
        choose(menu, "Add Reference to a Source...");
    }));
    EXPECT_EQ(texts().last(), "No Source is currently Active.\n\nWould you like to activate a Source now?");
    EXPECT_EQ(opened.last(), "sources");
    moc->setActiveSource(source);
    const QString cite = QStringLiteral("Add Reference to Source No. %1 (Census)").arg(source->numericId());
    ASSERT_TRUE(secondaryClick(centreOf(0), [&](PopupMenu* menu) { choose(menu, cite); }));
    EXPECT_EQ(page->list().pictures()[0]->sourceRels().size(), 1);
}

TEST_F(PicturesPage, ADragWithinThePageReordersAndChangesTheDefault)
{
    QList<const void*> changed;
    NotificationCenter::defaultCenter().addObserver(
        "DefaultPictureChanged", nullptr, [&](const Notification& n) { changed << n.object; }, this);

    // Wedding just after itself: no marker, refused.
    EXPECT_FALSE(dragWithinPage(0, centreOf(1) - QPointF(50, 0)));
    EXPECT_TRUE(markerWhileDragging.isEmpty());
    EXPECT_EQ(order(), "Wedd Mill A ve Voic Cens");
    EXPECT_TRUE(changed.isEmpty());

    // Wedding before Census: the marker stands between Voice and Census.
    EXPECT_TRUE(dragWithinPage(0, centreOf(4) - QPointF(50, 0)));
    EXPECT_EQ(markerWhileDragging, QRectF(480, 0, 1.3, 120));
    EXPECT_EQ(order(), "Mill A ve Voic Wedd Cens");
    EXPECT_EQ(ann->defaultPicture(), annPictures[1]);
    EXPECT_EQ(changed, QList<const void*>({ann}));
    EXPECT_TRUE(page->rclDrop().isEmpty());
    settle();
    EXPECT_EQ(order(), "Mill A ve Voic Wedd Cens"); // as stored

    // Outside every zone: to the end.
    EXPECT_TRUE(dragWithinPage(0, QPointF(300, 400)));
    EXPECT_EQ(order(), "A ve Voic Wedd Cens Mill");
    NotificationCenter::defaultCenter().removeObserversOf(this);

    // A picture dragged from anywhere else (another page) is not taken.
    QMimeData mime;
    PicturePlist::writeDraggedPicture(mime, *annPictures[1]);
    QDragEnterEvent enter(QPoint(300, 60), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(PicturesPage, TheListIsReloadedAfterARefreshButNotWhilePainting)
{
    FTPicture* later = FTPicture::initInMoc(moc, QString(), ann);
    page->refreshDisplay();
    view()->repaint();
    EXPECT_EQ(page->list().count(), 5);
    settle();
    EXPECT_EQ(page->list().count(), 6);
    EXPECT_EQ(page->list().pictures().last(), later);

    // The row spacing control lays the grid out again.
    page->findChild<QSpinBox*>("picturesRowSpacing")->setValue(0);
    EXPECT_EQ(UserDefaults::standard().integerForKey("picturesRowSpacing"), 0);
    EXPECT_EQ(view()->height(),
        int(std::ceil(PicturesGrid::viewHeight(6, view()->width(), page->scrollView()->viewport()->height(), 120))));
}

TEST_F(PicturesPage, PrintingDrawsTheWholeCellsOfTheVisibleAreaOnce)
{
    page->prepareForPrinting();
    // An area that holds the first row whole and cuts the thumbnails of a second.
    page->findChild<QSpinBox*>("picturesRowSpacing")->setValue(0);
    for (int i = 0; i < 10; ++i)
        FTPicture::initInMoc(moc, QString(), ann)->setName(QStringLiteral("Extra %1").arg(i));
    page->refreshDisplay();
    settle();
    const QRect area(0, 0, 3 * 120 + 20, 200);
    QImage printed(area.size(), QImage::Format_RGB32);
    printed.fill(Qt::black);
    gPrinting = true;
    view()->render(&printed, QPoint(), QRegion(area));
    EXPECT_FALSE(gPrinting);
    saveScreenshotImage(printed, "editor-pictures-page-printed");
    // Three cells a row within the area; the first row's thumbnails, nothing of the cut second row.
    EXPECT_EQ(printed.pixel(60, 60), QColor(70, 110, 160).rgb());
    EXPECT_EQ(printed.pixel(300, 60), QColor(90, 150, 90).rgb());
    EXPECT_EQ(printed.pixel(60, 170), qRgb(255, 255, 255));
    EXPECT_EQ(printed.pixel(370, 60), qRgb(255, 255, 255));
}

TEST_F(PicturesPage, TheWhereUsedItemOfAnotherPersonAsksWhatToDo)
{
    FTPerson* bob = FTPerson::initInMoc(moc, "Bob Lee", "M");
    ann->addSpouseRel(bob);
    FTPicture* bobs = FTPicture::initInMoc(moc, QString(), bob);
    bobs->setString(Key("filename"), "/photos/wedding.jpg");
    bobs->setName("Our wedding");
    moc->setFocalPerson(ann);
    settle();
    auto* diagram = qobject_cast<CdDiagram*>(doc->pcd());
    ASSERT_TRUE(diagram);
    diagram->prepare();
    ASSERT_TRUE(diagram->findPerson(bob));

    prompts.answer(1);
    ASSERT_TRUE(secondaryClick(centreOf(0), [](PopupMenu* menu) { choose(menu, "   Bob Lee"); }));
    EXPECT_EQ(prompts.records.last().buttons,
        QStringList({"Picture Editor", "Make Selected Person", LocalizedString("Cancel")}));
    EXPECT_EQ(prompts.records.last().text, "Do you want to make " + bob->nameWithBirthAndDeathYears()
            + " the Selected Person in the diagram or to invoke the Picture Editor for his/her link to this picture?");
    EXPECT_EQ(moc->selectedPerson(), bob);

    // On Ann's own page again, as the focal person: her own entry edits her picture without a question.
    select(ann);
    settle();
    page->selectPersonOrPictureEdit(annPictures[0]);
    EXPECT_EQ(opened.last(), "editor Ann Lee Wedding");
    page->selectPersonOrPictureEdit(bobs);
    EXPECT_EQ(opened.last(), "editor Bob Lee Our wedding");
}

} // namespace
