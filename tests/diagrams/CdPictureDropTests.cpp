// A picture dragged from a person's pictures page and dropped on a box of the family diagram: a new picture of the
// box's person, from the same file and with the same citations, only within one database.
#include "DiagramFixture.h"

#include "diagrams/CdPictureDrop.h"
#include "diagrams/DiagramHooks.h"

#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/PicturePlist.h"

#include <QDir>
#include <QMimeData>

namespace {

class CdPictureDropTest : public DiagramFixture {
protected:
    void SetUp() override
    {
        DiagramFixture::SetUp();
        moc->undoManager()->enableUndoRegistration();
        savedHooks = DiagramHooks::shared();
        // The intake counts what a drag offers, a page's picture record included.
        DiagramHooks::shared().imagesInDrag = [](const QMimeData&, FTMoc*) { return 1; };
        makeFamily();
    }
    void TearDown() override
    {
        DiagramHooks::shared() = savedHooks;
        DiagramFixture::TearDown();
    }

    // A picture of `owner` from a 40 x 30 image, cut to its left half, citing a source.
    FTPicture* pagePicture(FTMoc* database, FTPerson* owner)
    {
        QDir().mkpath(dir.path() + "/files");
        const QString file = dir.path() + "/files/portrait.png";
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        EXPECT_TRUE(image.save(file));
        FTPicture* picture = FTPicture::initInMoc(database, file, owner);
        picture->setRclCut("{{0, 0}, {20, 30}}");
        FTSource* source = FTSource::initInMoc(database);
        source->setTitle("Parish register");
        FTSourceRel* citation = FTSourceRel::initInMoc(database);
        citation->setSource(source);
        citation->setPicture(picture);
        return picture;
    }
    static void offer(QMimeData& mime, FTPicture* picture) { PicturePlist::writeDraggedPicture(mime, *picture); }

    DiagramHooks savedHooks;
};

TEST_F(CdPictureDropTest, APagePictureBecomesANewPictureOfTheTargetWithTheSameFileAndCitations)
{
    FTPicture* dragged = pagePicture(moc.get(), son);
    QMimeData mime;
    offer(mime, dragged);
    EXPECT_EQ(CdPictureDrop::offerOf(mime, moc.get()), CdPictureDrop::Offer::PagePicture);

    const CdPictureDrop::Outcome outcome = CdPictureDrop::performDragOperation(mime, me);
    ASSERT_TRUE(outcome.dropped());
    EXPECT_EQ(outcome.numPicturesAdded, 1);
    EXPECT_EQ(outcome.draggedPicture, dragged);
    FTPicture* added = outcome.newPicture;
    ASSERT_TRUE(added);
    EXPECT_NE(added, dragged);
    EXPECT_EQ(added->owner(), me);
    EXPECT_EQ(added->filename(), dragged->filename());
    ASSERT_EQ(added->sourceRels().size(), 1);
    EXPECT_EQ(added->sourceRels().first()->source()->title(), "Parish register");
    EXPECT_EQ(dragged->sourceRels().size(), 1);
    // The whole image, although the dragged picture shows only half of it.
    EXPECT_EQ(added->thumbnailImage().size(), QSize(100, 75));
    EXPECT_EQ(son->pictures().size(), 1);
    EXPECT_EQ(moc->undoManager()->undoActionName(), LocalizedString("AddPic") + " " + me->nameWithBirthAndDeathYears());
}

TEST_F(CdPictureDropTest, APagePictureOfAnotherDatabaseOrThatIsGoneIsRefusedAndAddsNothing)
{
    std::unique_ptr<FTMoc> other = newDatabase("Other.RezUdu");
    FTPerson* stranger = FTPerson::initInMoc(other.get(), "Stranger", M());
    FTPicture* deleted = pagePicture(moc.get(), son);
    QMimeData fromOther, gone, garbled;
    offer(fromOther, pagePicture(other.get(), stranger));
    offer(gone, deleted);
    moc->deleteObject(deleted);
    // The record the page writes with the URI: the intake alone would take it as a picture of any database.
    garbled.setData(PicturePlist::kMimeType, fromOther.data(PicturePlist::kMimeType));
    garbled.setData(PicturePlist::kDraggedPictureMimeType, "x-kinloom://no-such-store/Picture/p1");

    for (QMimeData* mime : {&fromOther, &gone, &garbled}) {
        EXPECT_EQ(CdPictureDrop::offerOf(*mime, moc.get()), CdPictureDrop::Offer::None);
        const CdPictureDrop::Outcome outcome = CdPictureDrop::performDragOperation(*mime, me);
        EXPECT_FALSE(outcome.dropped());
        EXPECT_FALSE(outcome.newPicture);
    }
    EXPECT_TRUE(me->pictures().isEmpty());
    EXPECT_EQ(stranger->pictures().size(), 1);
}

} // namespace
