// The pictures page's list and its commands on the database: removing with its selection rule, the default
// picture, the placeholder, both sorts with their messages, duplicates with their citations, reordering by a drag,
// the description line and the rules of the frame and the Transcribe button.

#include "PersonPicturesFixture.h"

#include "editor/PicturesGrid.h"

#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/store/Key.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

class PersonPicturesTest : public PersonPicturesFixture {
protected:
    // A picture of Ann standing for the file `filename` (not placed: the path is only stored).
    FTPicture* pictureOfFile(const QString& title, const QString& filename)
    {
        FTPicture* p = picture(ann, title);
        p->setString(Key("filename"), filename);
        return p;
    }
    FTSourceRel* cite(FTPicture* p, FTSource* source, const QString& reference)
    {
        FTSourceRel* c = FTSourceRel::initInMoc(moc.get(), source, p, "Image");
        c->setReference(reference);
        return c;
    }
    QStringList references(const FTPicture* p) const
    {
        QStringList out;
        for (const FTSourceRel* c : p->sourceRels())
            out << c->reference();
        out.sort();
        return out;
    }
};

TEST_F(PersonPicturesTest, RemovingSelectsThePictureAfterTheOneRemovedAndKeepsTheFirstAsDefault)
{
    struct Case {
        int selected, removed;
        QString left, selectedAfter, defaultAfter;
    };
    const Case cases[] = {
        {2, 2, "ABDE", "D", "A"}, // the selected third of five: the new third
        {4, 4, "ABCD", "", "A"}, // the selected last: nothing
        {1, 3, "ABCE", "B", "A"}, // another than the selected: the selection stays
        {-1, 0, "BCDE", "", "B"}, // the default picture: the next becomes the default
    };
    for (const Case& c : cases) {
        ann = person("Ann Lee", F());
        const QList<FTPicture*> made = pictures("ABCDE");
        list.select(made.value(c.selected));
        list.remove(made[c.removed]);
        EXPECT_EQ(listed(), c.left) << c.removed;
        EXPECT_EQ(list.selected() ? list.selected()->name() : QString(), c.selectedAfter) << c.removed;
        EXPECT_EQ(ann->defaultPicture()->name(), c.defaultAfter) << c.removed;
        EXPECT_TRUE(made[c.removed]->isDeleted());
        EXPECT_EQ(moc->undoManager()->actionName(), "Delete Picture: " + made[c.removed]->name());
        EXPECT_FALSE(moc->hasChanges()); // saved
        moc->undoManager()->closeOpenGroups();
    }
    // The numbers of the others are left as they were.
    EXPECT_EQ(seqNos(list.pictures()), QList<int>({2, 3, 4, 5}));

    ann = person("Solo", F());
    pictures("A");
    list.remove(list.pictures().first());
    EXPECT_EQ(ann->defaultPicture(), nullptr);
}

TEST_F(PersonPicturesTest, MakeDefaultMovesThePictureToTheFrontAndRenumbers)
{
    const QList<FTPicture*> made = pictures("ABCDE");
    QList<const void*> changed;
    NotificationCenter::defaultCenter().addObserver(
        "DefaultPictureChanged", nullptr, [&](const Notification& n) { changed << n.object; }, this);
    EXPECT_FALSE(list.makeDefault(made[0]));
    EXPECT_TRUE(changed.isEmpty());

    EXPECT_TRUE(list.makeDefault(made[3]));
    EXPECT_EQ(listed(), "DABCE");
    EXPECT_EQ(stored(), "DABCE");
    EXPECT_EQ(seqNos(list.pictures()), QList<int>({1, 2, 3, 4, 5}));
    EXPECT_EQ(ann->defaultPicture(), made[3]);
    EXPECT_EQ(changed, QList<const void*>({ann}));
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

TEST_F(PersonPicturesTest, APlaceholderBecomesTheFirstAndDefaultPicture)
{
    list.setPerson(ann);
    prompts.answer(1);
    EXPECT_EQ(list.addPlaceholder(), nullptr); // "Cancel"
    EXPECT_TRUE(ann->pictures().isEmpty());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "Add a placeholder as the default picture?");
    EXPECT_EQ(prompts.records[0].buttons, QStringList({"Continue", "Cancel"}));

    FTPicture* placeholder = list.addPlaceholder();
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(listed(), "Placeholder");
    EXPECT_EQ(ann->defaultPicture(), placeholder);
    EXPECT_TRUE(placeholder->filename().isEmpty());
    EXPECT_EQ(placeholder->seqNo(), 1);
    EXPECT_EQ(moc->undoManager()->actionName(), "Add Placeholder");

    FTPerson* bob = person("Bob Lee", M());
    picture(bob, "B1");
    picture(bob, "B2");
    list.setPerson(bob);
    list.addPlaceholder();
    EXPECT_EQ(bob->defaultPicture()->name(), "Placeholder");
    EXPECT_EQ(seqNos(bob->picturesArray()), QList<int>({1, 2, 3}));
    EXPECT_EQ(bob->picturesArray().last()->name(), "B2");
}

TEST_F(PersonPicturesTest, SortingByDateTellsOfUndatedPicturesAndOfANewDefault)
{
    struct Case {
        QStringList dates; // of the pictures "p0", "p1", "p2" in that order; p0 is the default
        QString order;
        QString message;
    };
    const Case cases[] = {
        {{"1 Jan 1900", "", "abc"}, "p1p2p0",
            "The first 2 pictures did not have a valid date.\n\nAnn Lee's default picture has changed."},
        {{"1900", "", "1850"}, "p1p2p0",
            "The first picture did not have a valid date.\n\nAnn Lee's default picture has changed."},
        {{"1800", "1 Mar 1900", "Feb 1900"}, "p0p2p1", ""},
    };
    for (const Case& c : cases) {
        ann = person("Ann Lee", F());
        for (int i = 0; i < 3; ++i)
            picture(ann, QStringLiteral("p%1").arg(i), c.dates[i]);
        list.setPerson(ann);
        prompts.clear();
        list.sortByDate();
        EXPECT_EQ(listed(), c.order);
        EXPECT_EQ(stored(), c.order);
        EXPECT_EQ(ann->defaultPicture(), list.pictures().first());
        EXPECT_EQ(prompts.records.isEmpty() ? QString() : prompts.records.last().text, c.message);
    }
}

TEST_F(PersonPicturesTest, SortingByTitleIgnoresCaseThenUsesTheDate)
{
    picture(ann, "b", "1900");
    picture(ann, "A", "1950");
    picture(ann, "a", "1920");
    picture(ann, "C");
    list.setPerson(ann);
    list.sortByTitle();
    EXPECT_EQ(listed(), "aAbC");
    EXPECT_EQ(list.pictures()[0]->date(), "1920");
    EXPECT_EQ(seqNos(ann->picturesArray()), QList<int>({1, 2, 3, 4}));
    EXPECT_EQ(ann->defaultPicture(), list.pictures().first());
    EXPECT_TRUE(prompts.records.isEmpty());

    // Fewer than two pictures: nothing happens.
    FTPerson* bob = person("Bob Lee", M());
    picture(bob, "x")->setSeqNo(7);
    list.setPerson(bob);
    list.sortByTitle();
    list.sortByDate();
    list.removeDuplicates();
    EXPECT_EQ(bob->pictures().first()->seqNo(), 7);
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(PersonPicturesTest, DuplicatesDifferOnlyInNumberOrderAndThumbnail)
{
    FTPicture* first = pictureOfFile("Wedding", "/photos/wedding.jpg");
    FTPicture* second = pictureOfFile("Wedding", "/photos/wedding.jpg");
    second->setThumbnailImage(QImage(10, 10, QImage::Format_RGB32));
    FTPicture* other = pictureOfFile("Wedding", "/photos/other.jpg");
    EXPECT_NE(first->seqNo(), second->seqNo());
    list.setPerson(ann);
    list.removeDuplicates();
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].text, "Remove Duplicates - will delete pictures for the selected person if:\n\nTwo "
                                       "of his/her pictures have the same filename, title, date, notes and crop "
                                       "rectangle");
    EXPECT_EQ(prompts.records[1].text, "1 duplicates deleted.");
    EXPECT_THAT(list.pictures(), ElementsAre(first, other));
    EXPECT_TRUE(second->isDeleted());
    EXPECT_EQ(moc->undoManager()->actionName(), "Delete Duplicate Pictures");
    EXPECT_FALSE(moc->hasChanges());

    prompts.clear();
    list.removeDuplicates();
    EXPECT_EQ(prompts.records.last().text, "No duplicate pictures for " + ann->nameWithBirthAndDeathYears());
}

TEST_F(PersonPicturesTest, DuplicatesLeaveTheirCitationsOnThePictureKept)
{
    // Two duplicates of the first picture, with another picture of the same file between them, carry citations
    // (one the same as the kept picture's); the default picture, chosen elsewhere, is one of them.
    FTSource* source = FTSource::initInMoc(moc.get());
    FTPicture* kept = pictureOfFile("Census", "/scans/census.png");
    FTPicture* between = pictureOfFile("Census, page 2", "/scans/census.png");
    FTPicture* duplicate = pictureOfFile("Census", "/scans/census.png");
    FTPicture* again = pictureOfFile("Census", "/scans/census.png");
    cite(kept, source, "p. 1");
    cite(duplicate, source, "p. 1");
    cite(duplicate, source, "p. 7");
    cite(again, source, "folio 3");
    ann->setDefaultPicture(duplicate);
    list.setPerson(ann);

    list.removeDuplicates();
    EXPECT_EQ(prompts.records[1].text, "2 duplicates deleted.");
    EXPECT_THAT(list.pictures(), ElementsAre(kept, between));
    EXPECT_EQ(references(kept), QStringList({"folio 3", "p. 1", "p. 7"}));
    EXPECT_TRUE(references(between).isEmpty());
    // The default picture went: the first remaining one takes its place.
    EXPECT_EQ(ann->defaultPicture(), kept);
    EXPECT_EQ(source->sourceRels().size(), 3);
}

TEST_F(PersonPicturesTest, ADraggedPictureMovesToTheZoneItIsDroppedIn)
{
    // Five pictures A B C D E in a page 500 wide (A B C D, then E); the dragged image is centred in a zone.
    const QList<QRectF> cells = PicturesGrid::cells(5, 500, 150);
    const QPointF beforeD(350, 60), beforeB(100, 60), nowhere(300, 400);
    struct Case {
        int dragged;
        QPointF probe;
        QString order;
    };
    const Case cases[] = {
        {0, beforeD, "BCADE"},
        {3, beforeB, "ADBCE"},
        {1, nowhere, "ACDEB"},
    };
    for (const Case& c : cases) {
        ann = person("Ann Lee", F());
        const QList<FTPicture*> made = pictures("ABCDE");
        const int index = PicturesGrid::insertionIndex(cells, c.probe, 150, 500);
        ASSERT_TRUE(list.reorder(made[c.dragged], index));
        EXPECT_EQ(listed(), c.order);
        EXPECT_EQ(stored(), c.order);
        EXPECT_EQ(seqNos(ann->picturesArray()), QList<int>({1, 2, 3, 4, 5}));
        EXPECT_EQ(ann->defaultPicture(), list.pictures().first());
    }
    EXPECT_FALSE(list.reorder(picture(person("Other", M()), "X"), 0));
}

TEST_F(PersonPicturesTest, TheDescriptionLineNamesTitleDateFileAndNotes)
{
    FTPicture* p = pictureOfFile("Mill", "/photos/mill 1905.jpg alias");
    p->setDate("1905");
    p->setNotes("On the Aire.\nTaken by John.\r\nRestored.");
    EXPECT_EQ(PersonPictures::description(p), "Mill,  1905,  File: mill 1905.jpg alias\nOn the Aire. Taken by John. "
                                              "Restored.");
    FTPicture* bare = picture(ann, " ");
    EXPECT_EQ(PersonPictures::description(bare), "No title,  No date,  No filename");
    EXPECT_EQ(PersonPictures::description(nullptr), " ");
}

TEST_F(PersonPicturesTest, FramesTranscriptionAndIconsFollowTheKindOfFile)
{
    struct Case {
        QString filename;
        bool framed, button, menu;
        const char* icon; // shown when there is no thumbnail
    };
    const Case cases[] = {
        {"/p/a.jpg", true, true, true, "image-missing"},
        {"/p/a.PNG", true, true, true, "image-missing"},
        {"/p/a.jpg alias", false, true, true, "image-missing"}, // a link: framed only by its stored name
        {"/p/a.pdf", false, false, false, nullptr},
        {"/p/a.mp3", false, false, false, "audio-x-generic"},
        {"/p/a.mov", false, false, false, "video-x-generic"},
        {"/p/a.txt alias", false, false, false, "text-x-generic"},
        {"", false, false, true, "image-x-generic"}, // no file: the menu item still works
    };
    for (const Case& c : cases) {
        FTPicture* p = pictureOfFile("x", c.filename);
        EXPECT_EQ(PersonPictures::isFramed(p), c.framed) << c.filename.toStdString();
        EXPECT_EQ(PersonPictures::canTranscribeFromButton(p), c.button) << c.filename.toStdString();
        EXPECT_EQ(PersonPictures::canTranscribeFromMenu(p), c.menu) << c.filename.toStdString();
        if (c.icon)
            EXPECT_EQ(PersonPictures::iconNameFor(p), c.icon) << c.filename.toStdString();
    }
}

} // namespace
