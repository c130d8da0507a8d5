// The family diagram takes dropped picture files and image data in through the pictures intake that the pictures
// library installs, as the program does.
#include "../../gedcom/ui/GedcomWindowFixture.h"

#include "pictures/ui/PicturesMenuActions.h"

#include "diagrams/CdPerson.h"
#include "diagrams/ui/CdDiagram.h"
#include "diagrams/ui/FamilyDiagramSetup.h"

#include "model/FTPicture.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

class DiagramDropIntake : public GedcomWindowFixture {
protected:
    void SetUp() override
    {
        GedcomWindowFixture::SetUp();
        PicturesMenuActions::install();
        installFamilyDiagram();
        UserDefaults::standard().setBool("suppressDragDropConfirmation", true);
        start();
        doc = openDatabase(makeFamilyDatabase("Family"));
        ASSERT_TRUE(doc);
        diagram = qobject_cast<CdDiagram*>(doc->pcd());
        ASSERT_TRUE(diagram);
        doc->dovurWindow()->show();
        QCoreApplication::processEvents();
        diagram->prepare();
    }
    void TearDown() override
    {
        GedcomWindowFixture::TearDown();
        uninstallFamilyDiagram();
        PicturesMenuActions::uninstall();
    }
    QString image(const QString& name, const char* format = "PNG")
    {
        QImage img(120, 80, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        const QString path = dir.path() + "/drops/" + name;
        QDir().mkpath(dir.path() + "/drops");
        EXPECT_TRUE(img.save(path, format));
        return path;
    }
    // Drops on the box of the person named; whether the drop was taken.
    bool dropOn(const QMimeData& mime, const QString& name)
    {
        QPointF at;
        for (const auto& box : diagram->cdLayout().cdPersonsArray())
            if (box->person() && box->person()->name() == name)
                at = box->rclBox().center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(diagram, &enter);
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(diagram, &move);
        if (!enter.isAccepted() || !move.isAccepted())
            return false;
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(diagram, &drop);
        return drop.isAccepted();
    }
    FTPerson* personNamed(const QString& name) const
    {
        for (FTPerson* p : doc->moc()->fetch<FTPerson>())
            if (p->name() == name)
                return p;
        return nullptr;
    }

    DOvurDocument* doc = nullptr;
    CdDiagram* diagram = nullptr;
};

TEST_F(DiagramDropIntake, DroppedFilesAndImageDataBecomePicturesOfTheBoxesPerson)
{
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(image("first.png")), QUrl::fromLocalFile(image("second.jpg", "JPG")),
                   QUrl::fromLocalFile(dir.path() + "/drops")});
    ASSERT_TRUE(dropOn(files, "Hal HUSBAND"));
    FTPerson* hal = personNamed("Hal HUSBAND");
    ASSERT_EQ(hal->pictures().size(), 2);
    for (FTPicture* picture : hal->pictures()) {
        EXPECT_TRUE(QFile::exists(picture->filename())) << picture->filename().toStdString();
        EXPECT_FALSE(picture->thumbnailImage().isNull());
    }

    QMimeData data;
    QImage pasted(60, 40, QImage::Format_RGB32);
    pasted.fill(Qt::magenta);
    data.setImageData(pasted);
    ASSERT_TRUE(dropOn(data, "Kit KID"));
    ASSERT_EQ(personNamed("Kit KID")->pictures().size(), 1);

    // Nothing a picture can be made of: not taken.
    QMimeData folder;
    folder.setUrls({QUrl::fromLocalFile(dir.path() + "/drops")});
    EXPECT_FALSE(dropOn(folder, "Fay FOCAL"));
    EXPECT_TRUE(personNamed("Fay FOCAL")->pictures().isEmpty());
}

} // namespace
