// The pictures page beside the family diagram in one main window: a picture dragged from the page onto a box of
// the diagram, and the whole window saved as a PDF file while the page shows.
#include "EditorFixture.h"
#include "WorkspaceFixture.h"

#include "diagrams/CdPerson.h"
#include "diagrams/DiagramFileName.h"
#include "diagrams/DiagramHooks.h"
#include "diagrams/ui/CdDiagram.h"
#include "diagrams/ui/SaveDiagramToFile.h"
#include "editor/ui/InfoArea_Pictures.h"

#include "shell/Utils.h"

#include "model/FTPicture.h"

#include "platform/store/Key.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QProcess>

namespace {

class PicturesPageAndDiagram : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        UserDefaults::standard().setBool("suppressDragDropConfirmation", true);
        savedHooks = DiagramHooks::shared();
        DiagramHooks::shared().pictureTitle = [this](FTPicture* dragged, FTPicture* added, FTPerson* p) {
            opened << QStringLiteral("title %1 %2 %3").arg(dragged->name(), added->name(), p->name());
        };
        DiagramHooks::shared().pictureEditor = [this](FTManagedObject*, FTPicture* picture) {
            opened << "editor " + picture->name();
        };
        doc = open("Family.RezUdu");
        ASSERT_NE(doc, nullptr);
        doc->dovurWindow()->show();
        diagram = qobject_cast<CdDiagram*>(doc->pcd());
        ASSERT_TRUE(diagram);
        focal = doc->moc()->focalPerson();
        select(focal);
        QImage image(90, 60, QImage::Format_RGB32);
        image.fill(QColor(70, 110, 160));
        const QString file = dir.path() + "/Harvest.png";
        ASSERT_TRUE(image.save(file));
        picture = FTPicture::initInMoc(doc->moc(), file, focal);
        page = qobject_cast<InfoArea_Pictures*>(editorOf(doc)->page("pPictures"));
        ASSERT_TRUE(page);
        ASSERT_TRUE(editorOf(doc)->choosePage("pPictures"));
        QApplication::processEvents();
        QApplication::processEvents();
        diagram->prepare();
    }
    void TearDown() override
    {
        DiagramHooks::shared() = savedHooks;
        EditorFixture::TearDown();
    }

    DiagramHooks savedHooks;
    DOvurDocument* doc = nullptr;
    CdDiagram* diagram = nullptr;
    FTPerson* focal = nullptr;
    FTPicture* picture = nullptr;
    InfoArea_Pictures* page = nullptr;
    QStringList opened;
};

TEST_F(PicturesPageAndDiagram, APictureDraggedFromThePageOntoABoxBecomesThatPersonsPicture)
{
    const CdPerson* target = nullptr;
    for (const auto& box : diagram->cdLayout().cdPersonsArray())
        if (box->person() && box->person() != focal)
            target = box.get();
    ASSERT_TRUE(target);
    FTPerson* relative = target->person();
    const QPointF at = target->rclBox().center();
    Qt::DropAction dropped = Qt::IgnoreAction;
    // The drag the page starts is carried to the diagram by hand, as the window system would carry it.
    page->setDragRunner([&](QDrag& drag) {
        const QMimeData* mime = drag.mimeData();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(diagram, &enter);
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(diagram, &move);
        if (!move.isAccepted())
            return Qt::IgnoreAction;
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(diagram, &drop);
        return dropped = drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    });
    QWidget* grid = page->view();
    const QPointF from = page->drawingRectAt(0).center();
    QMouseEvent press(QEvent::MouseButtonPress, from, grid->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(grid, &press);
    const QPointF away = from + QPointF(30, 0);
    QMouseEvent drag(QEvent::MouseMove, away, grid->mapToGlobal(away), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid, &drag);
    page->setDragRunner({});

    EXPECT_EQ(dropped, Qt::CopyAction);
    ASSERT_EQ(relative->pictures().size(), 1);
    EXPECT_EQ(relative->pictures().first()->filename(), picture->filename());
    EXPECT_EQ(focal->pictures(), QList<FTPicture*> {picture});
    QApplication::processEvents();
    EXPECT_EQ(opened, (QStringList {"title Harvest Harvest " + relative->name(), "editor Harvest"}));
}

TEST_F(PicturesPageAndDiagram, TheWholeWindowIsSavedAsAPdfWithThePicturesPagePrinted)
{
    WorkspaceFixture viewer(dir.path(), "application/pdf");
    const QString path = SaveDiagramToFile::saveFullWindow(*doc);
    ASSERT_EQ(path, Utils::reportsDirectory() + "/" + DiagramFileName::baseName(focal) + ".PDF");
    EXPECT_EQ(viewer.launched(), (QStringList {"--editor", path}));
    const QString png = dir.path() + "/window";
    ASSERT_EQ(QProcess::execute("pdftoppm", {"-png", "-singlefile", "-r",
                                             QString::number(doc->dovurWindow()->logicalDpiX()), path, png}),
              0);
    const QImage page(png + ".png");
    ASSERT_FALSE(page.isNull());
    saveScreenshotImage(page, "editor-full-window-pdf");
    // The picture's thumbnail, where the pictures page shows it in the window.
    const QPointF cell = this->page->view()->mapTo(doc->dovurWindow(), this->page->drawingRectAt(0).center());
    const QColor thumbnail = page.pixelColor(cell.toPoint() + QPoint(25, 35));
    EXPECT_NEAR(thumbnail.red(), 70, 3);
    EXPECT_NEAR(thumbnail.green(), 110, 3);
    EXPECT_NEAR(thumbnail.blue(), 160, 3);
}

} // namespace
