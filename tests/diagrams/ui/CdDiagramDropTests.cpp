// Pictures dragged over the family diagram and dropped on a box: files and image data through the intake (recorded
// here), pictures of the person editor's pictures page, the frame on the box under the drag and the confirmation.
#include "CdDiagramViewFixture.h"

#include "Screenshot.h"

#include "diagrams/CdPerson.h"
#include "diagrams/DiagramHooks.h"
#include "diagrams/ui/DragDropConfirmation.h"

#include "shell/AlertHooks.h"
#include "shell/Utils.h"

#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/PicturePlist.h"

#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <functional>

namespace {

class CdDiagramDrop : public CdDiagramView {
protected:
    void SetUp() override
    {
        CdDiagramView::SetUp();
        savedHooks = DiagramHooks::shared();
        savedAlerts = Utils::alertHooks();
        DiagramHooks& hooks = DiagramHooks::shared();
        hooks = DiagramHooks();
        // The intake: every PNG file dropped is a picture.
        hooks.imagesInDrag = [](const QMimeData& mime, FTMoc*) { return int(pngFiles(mime).size()); };
        hooks.addPicturesFromDrag = [this](const QMimeData& mime, FTPerson* person) {
            QList<FTPicture*> added;
            for (const QString& file : pngFiles(mime))
                added << FTPicture::initInMoc(moc.get(), file, person);
            return added;
        };
        hooks.pictureTitle = [this](FTPicture* dragged, FTPicture* added, FTPerson* person) {
            windows << QStringLiteral("title %1 %2 %3").arg(dragged->name(), added->name(), person->name());
        };
        hooks.pictureEditor = [this](FTManagedObject* owner, FTPicture* picture) {
            windows << QStringLiteral("editor %1 %2").arg(static_cast<FTPerson*>(owner)->name(), picture->name());
        };
        Utils::alertHooks().beep = [this] { ++beeps; };
        NotificationCenter::defaultCenter().addObserver("RefreshAllViews", nullptr,
                                                        [this](const Notification&) { ++refreshes; }, this);
        QDir().mkpath(dir.path() + "/files");
        diagram->show();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserversOf(this);
        DiagramHooks::shared() = savedHooks;
        Utils::alertHooks() = savedAlerts;
        CdDiagramView::TearDown();
    }

    static QStringList pngFiles(const QMimeData& mime)
    {
        QStringList files;
        for (const QUrl& url : mime.urls())
            if (url.isLocalFile() && url.path().endsWith(".png"))
                files << url.toLocalFile();
        return files;
    }
    // A drag of `count` picture files from a file manager.
    std::unique_ptr<QMimeData> files(int count)
    {
        QList<QUrl> urls;
        for (int i = 1; i <= count; ++i) {
            const QString path = dir.path() + QStringLiteral("/files/photo %1.png").arg(i);
            QImage image(30, 20, QImage::Format_RGB32);
            image.fill(QColor(40 * i, 90, 140));
            EXPECT_TRUE(image.save(path));
            urls << QUrl::fromLocalFile(path);
        }
        auto mime = std::make_unique<QMimeData>();
        mime->setUrls(urls);
        return mime;
    }
    // A picture of `owner` dragged from the pictures page.
    std::unique_ptr<QMimeData> pageDrag(FTPicture* picture)
    {
        auto mime = std::make_unique<QMimeData>();
        PicturePlist::writeDraggedPicture(*mime, *picture);
        return mime;
    }
    FTPicture* pictureOf(FTMoc* database, FTPerson* owner)
    {
        const QString path = dir.path() + "/files/wedding.png";
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::darkYellow);
        EXPECT_TRUE(image.save(path));
        return FTPicture::initInMoc(database, path, owner);
    }

    QPointF centreOf(const FTPerson* p) const { return diagram->cdLayout().findPerson(p)->rclBox().center(); }
    // Enters and moves to `at`: whether a drop there would be taken.
    bool dragTo(const QMimeData& mime, const QPointF& at)
    {
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(diagram.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(diagram.get(), &move);
        return move.isAccepted() && move.dropAction() == Qt::CopyAction;
    }
    // A drag to `at` ended by a drop where it is taken, else by leaving: whether it was dropped.
    bool drop(const QMimeData& mime, const QPointF& at)
    {
        if (!dragTo(mime, at)) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(diagram.get(), &leave);
            return false;
        }
        QDropEvent event(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(diagram.get(), &event);
        return event.isAccepted();
    }

    // Runs `fn` on the confirmation once it shows; it runs modally, so this is how a test works in it.
    void whenConfirmationShows(std::function<void(DragDropConfirmation*)> fn)
    {
        auto* timer = new QTimer;
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [timer, fn] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* confirmation = qobject_cast<DragDropConfirmation*>(w); confirmation && confirmation->isVisible()) {
                    timer->stop();
                    timer->deleteLater();
                    fn(confirmation);
                    return;
                }
        });
        timer->start();
    }

    DiagramHooks savedHooks;
    Utils::AlertHooks savedAlerts;
    QStringList windows;
    int beeps = 0;
    int refreshes = 0;
};

TEST_F(CdDiagramDrop, FilesDroppedOnABoxAreAddedAndConfirmedOrOnlyBeepedAbout)
{
    const struct {
        int files;
        bool suppress;
        QString message;
    } cases[] = {
        {3, false, "3 pictures added to\nWife."},
        {1, false, "1 picture added to\nWife."},
        {2, true, {}},
    };
    int before = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files);
        UserDefaults::standard().setBool("suppressDragDropConfirmation", c.suppress);
        beeps = refreshes = 0;
        const auto mime = files(c.files);
        ASSERT_TRUE(drop(*mime, centreOf(wife)));
        EXPECT_EQ(wife->pictures().size(), before + c.files);
        before += c.files;
        EXPECT_EQ(refreshes, 1);
        EXPECT_FALSE(diagram->dragTarget());
        if (c.suppress) {
            EXPECT_EQ(beeps, 1);
            EXPECT_EQ(NotificationCenter::defaultCenter().queuedCount(), 0);
            continue;
        }
        EXPECT_EQ(beeps, 0);
        // The confirmation shows once the drag is over, when the program is next idle.
        QString shown;
        bool suppressOffered = true;
        whenConfirmationShows([&](DragDropConfirmation* confirmation) {
            shown = confirmation->messageLabel()->text();
            suppressOffered = !confirmation->suppressBox()->isChecked();
            if (c.files == 3)
                saveScreenshot(confirmation, "diagram-drop-confirmation");
            confirmation->accept();
        });
        EXPECT_EQ(NotificationCenter::defaultCenter().queuedCount(), 1);
        NotificationCenter::defaultCenter().flushQueue();
        EXPECT_EQ(shown, c.message);
        EXPECT_TRUE(suppressOffered);
    }
    EXPECT_TRUE(windows.isEmpty());
}

TEST_F(CdDiagramDrop, TheBackgroundAndEmptySlotsRefuseADrop)
{
    const CdPerson* ghost = nullptr;
    for (const auto& box : diagram->cdLayout().cdPersonsArray())
        if (box->isGhost())
            ghost = box.get();
    ASSERT_TRUE(ghost);
    QPointF background(diagram->width() - 3, diagram->height() - 3);
    ASSERT_FALSE(diagram->getClickedPerson(background));
    const auto mime = files(2);
    for (const QPointF& at : {background, ghost->rclBox().center()}) {
        EXPECT_FALSE(drop(*mime, at));
        EXPECT_FALSE(diagram->dragTarget());
    }
    // A drag that offers no pictures is not taken anywhere.
    QMimeData text;
    text.setText("Wife");
    EXPECT_FALSE(drop(text, centreOf(wife)));
    for (FTPerson* p : {me, wife, son, daughter, dad, grandad})
        EXPECT_TRUE(p->pictures().isEmpty()) << p->name().toStdString();
    EXPECT_EQ(NotificationCenter::defaultCenter().queuedCount(), 0);
}

TEST_F(CdDiagramDrop, APagePictureOfThisDatabaseIsCopiedThenTitledAndEdited)
{
    FTPicture* dragged = pictureOf(moc.get(), son);
    FTSource* source = FTSource::initInMoc(moc.get());
    source->setTitle("Register");
    FTSourceRel* citation = FTSourceRel::initInMoc(moc.get());
    citation->setSource(source);
    citation->setPicture(dragged);
    const auto mime = pageDrag(dragged);
    UserDefaults::standard().setBool("suppressDragDropConfirmation", true);

    ASSERT_TRUE(drop(*mime, centreOf(daughter)));
    ASSERT_EQ(daughter->pictures().size(), 1);
    FTPicture* added = daughter->pictures().first();
    EXPECT_EQ(added->filename(), dragged->filename());
    ASSERT_EQ(added->sourceRels().size(), 1);
    EXPECT_EQ(added->sourceRels().first()->source(), source);
    // No confirmation, no beep: the title and the picture editor follow once the drag is over.
    EXPECT_EQ(NotificationCenter::defaultCenter().queuedCount(), 0);
    EXPECT_EQ(beeps, 0);
    EXPECT_TRUE(windows.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(windows, (QStringList {"title wedding wedding Daughter", "editor Daughter wedding"}));
}

TEST_F(CdDiagramDrop, APagePictureOfAnotherDatabaseOrOneGoneAddsNothingAndOpensNothing)
{
    std::unique_ptr<FTMoc> other = newDatabase("Other.RezUdu");
    const auto fromOther = pageDrag(pictureOf(other.get(), FTPerson::initInMoc(other.get(), "Stranger", M())));
    EXPECT_FALSE(drop(*fromOther, centreOf(wife)));

    // Gone between entering the diagram and the drop.
    FTPicture* dragged = pictureOf(moc.get(), son);
    const auto mime = pageDrag(dragged);
    ASSERT_TRUE(dragTo(*mime, centreOf(wife)));
    moc->deleteObject(dragged);
    QDropEvent event(centreOf(wife), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(diagram.get(), &event);
    EXPECT_FALSE(event.isAccepted());
    QCoreApplication::processEvents();

    EXPECT_TRUE(wife->pictures().isEmpty());
    EXPECT_TRUE(windows.isEmpty());
    EXPECT_EQ(NotificationCenter::defaultCenter().queuedCount(), 0);
    EXPECT_EQ(beeps, 0);
}

TEST_F(CdDiagramDrop, TheBoxUnderTheDragIsFramedInBlueUntilTheDragLeaves)
{
    const auto mime = files(1);
    ASSERT_TRUE(dragTo(*mime, centreOf(wife)));
    ASSERT_TRUE(diagram->dragTarget());
    EXPECT_EQ(diagram->dragTarget()->person(), wife);
    const QRectF box = diagram->dragTarget()->rclBox();
    const QImage framed = saveScreenshot(diagram.get(), "diagram-picture-drag");
    const QColor edge = framed.pixelColor(QPointF(box.left(), box.center().y()).toPoint());
    EXPECT_EQ(edge, QColor(Qt::blue)) << edge.name().toStdString();

    // Moving on to the background takes the frame away and refuses the drop there.
    QDragMoveEvent move(QPoint(diagram->width() - 3, diagram->height() - 3), Qt::CopyAction, mime.get(),
                        Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(diagram.get(), &move);
    EXPECT_FALSE(move.isAccepted());
    EXPECT_FALSE(diagram->dragTarget());
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(diagram.get(), &leave);
    const QImage after = diagram->grab().toImage();
    EXPECT_NE(after.pixelColor(QPointF(box.left(), box.center().y()).toPoint()), QColor(Qt::blue));
    EXPECT_TRUE(wife->pictures().isEmpty());
}

} // namespace
