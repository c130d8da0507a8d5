#include "publishing/GoogleMapsSave.h"

#include "model/FTPicture.h"
#include "model/UtilsPics.h"

#include "ExportsFixture.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImage>

namespace {
std::string s(const QString& q) { return q.toStdString(); }

const QString kLeeds = "Leeds, Yorkshire";
const QString kAddress = "https://www.openstreetmap.org/?ll=53.8008,-1.5491&zoom=12#map=12/53.8008/-1.5491";

QByteArray jpeg(QColor colour)
{
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

// Ann and Bob married at Leeds, where Cat was born; Dan was born at York.
class MapSaving : public ExportsFixture {
protected:
    void SetUp() override
    {
        ExportsFixture::SetUp();
        defaults().setBool("applyToAllEvents", true);
        defaults().setInteger("applyToAllPeople", 0);
        makeFamily();
    }
    void makeFamily()
    {
        ann = person("Ann Smith", F());
        bob = person("Bob Jones", M());
        cat = person("Cat Jones", F());
        dan = person("Dan Brown", M());
        wedding = date(couple(bob, ann), "marriage", 5, 6, 1925);
        wedding->setPlace(kLeeds);
        catBirth = date(cat, "birth", 1, 2, 1930);
        catBirth->setPlace(kLeeds);
        danBirth = date(dan, "birth", 1, 2, 1931);
        danBirth->setPlace("York");
        ASSERT_TRUE(moc->saveMoc());
    }
    GoogleMapsSave saving(FTEvent* event, QColor colour = Qt::darkGreen)
    {
        GoogleMapsSave out(event);
        out.geocoding = kAddress;
        out.bitmapData = jpeg(colour);
        return out;
    }
    QString pictures() const { return Utils::picturesDirectory(); }

    FTPerson *ann = nullptr, *bob = nullptr, *cat = nullptr, *dan = nullptr;
    FTEvent *wedding = nullptr, *catBirth = nullptr, *danBirth = nullptr;
};
}

TEST_F(MapSaving, ThePictureGoesToThePeopleChosenAndTheAddressToTheEventsAtThePlace)
{
    struct Case {
        int choice;
        QList<int> pictures; // of Ann, Bob, Cat, Dan
    } cases[] = {
        {GoogleMapsSave::kAllPeople, {1, 1, 1, 0}},
        {GoogleMapsSave::kOwner, {1, 1, 0, 0}},
        {GoogleMapsSave::kNobody, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        moc = newDatabase(QString("choice%1.RezUdu").arg(c.choice));
        makeFamily();
        QDir(pictures()).removeRecursively();
        GoogleMapsSave save = saving(wedding);
        save.applyToAllPeople = c.choice;
        save.save();
        const QList<int> counts {int(ann->picturesArray().size()), int(bob->picturesArray().size()),
                                 int(cat->picturesArray().size()), int(dan->picturesArray().size())};
        EXPECT_EQ(counts, c.pictures);
        EXPECT_EQ(QFileInfo::exists(GoogleMapsSave::mapImagePath(pictures(), kLeeds)),
                  c.choice != GoogleMapsSave::kNobody);
        for (FTPerson* p : {ann, bob, cat})
            for (FTPicture* picture : p->picturesArray()) {
                EXPECT_EQ(s(picture->name()), s(kLeeds));
                EXPECT_FALSE(picture->thumbnailImage().isNull());
            }
        // The address whatever the picture's choice: on both events at Leeds, not on York's.
        EXPECT_EQ(wedding->googleMapUrl().toString(), kAddress);
        EXPECT_NEAR(catBirth->latitude(), 53.8008, 1e-4);
        EXPECT_FALSE(danBirth->googleMapUrl().isValid());
        EXPECT_EQ(defaults().integerForKey("applyToAllPeople"), c.choice);
        EXPECT_FALSE(moc->hasChanges());
    }
}

TEST_F(MapSaving, OnlyTheEventItselfUnlessAllEventsAreChosenAndThenOnlyThoseThatDiffer)
{
    GoogleMapsSave one = saving(catBirth);
    one.applyToAllEvents = false;
    EXPECT_EQ(one.saveGeocoding(), 1);
    EXPECT_FALSE(wedding->googleMapUrl().isValid());
    EXPECT_FALSE(defaults().boolForKey("applyToAllEvents"));

    // The wedding gets it now; Cat's birth holds it already and is left alone.
    GoogleMapsSave all = saving(catBirth);
    all.applyToAllEvents = true;
    EXPECT_EQ(all.saveGeocoding(), 2);
    EXPECT_EQ(wedding->googleMapUrl().toString(), kAddress);
    EXPECT_TRUE(defaults().boolForKey("applyToAllEvents"));
}

TEST_F(MapSaving, APlaceThatNamesFoldersStillWritesOneFileInsidePictures)
{
    for (const QString& place : {QString("../x"), QString("a/b"), QString("/tmp/evil"), QString("..")}) {
        catBirth->setPlace(place);
        GoogleMapsSave save = saving(catBirth);
        save.applyToAllPeople = GoogleMapsSave::kOwner;
        EXPECT_EQ(save.saveImage(), 1) << s(place);
        const QString path = GoogleMapsSave::mapImagePath(pictures(), place);
        EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(pictures()).absoluteFilePath()) << s(path);
        EXPECT_TRUE(QFileInfo(path).isFile()) << s(path);
    }
    QStringList outside;
    QDirIterator files(dir.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        if (file.endsWith(".JPG") && QFileInfo(file).absolutePath() != QFileInfo(pictures()).absoluteFilePath())
            outside << file;
    }
    EXPECT_TRUE(outside.isEmpty()) << s(outside.join(", "));
    EXPECT_FALSE(QFileInfo::exists("/tmp/evil.JPG"));
}

TEST_F(MapSaving, ASecondSaveReplacesTheFileAndReusesEachPersonsPicture)
{
    GoogleMapsSave first = saving(wedding, Qt::darkGreen);
    first.save();
    FTPicture* picture = ann->picturesArray().value(0);
    ASSERT_TRUE(picture);
    picture->setRclCut(UtilsPics::stringFromRect(QRectF(10, 10, 50, 40)));

    GoogleMapsSave second = saving(wedding, Qt::red);
    second.save();
    EXPECT_EQ(ann->picturesArray(), QList<FTPicture*> {picture});
    EXPECT_EQ(bob->picturesArray().size(), 1);
    EXPECT_EQ(UtilsPics::rectFromString(picture->rclCut()), QRectF());
    const QImage file(GoogleMapsSave::mapImagePath(pictures(), kLeeds));
    EXPECT_GT(qRed(file.pixel(5, 5)), 200);
    const QImage thumbnail = picture->thumbnailImage();
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_GT(qRed(thumbnail.pixel(thumbnail.width() / 2, thumbnail.height() / 2)), 200);
}

TEST_F(MapSaving, CaptionsCountThePlaceAndTitlesShowItsUnderscoresAsBlanks)
{
    GoogleMapsSave leeds(wedding);
    EXPECT_EQ(s(leeds.allPeopleCheckBoxTitle()), s("All 3 " + LocalizedString("peopleAtPlace")));
    EXPECT_EQ(s(leeds.allEventsCheckBoxTitle()), s("All 2 " + LocalizedString("EventsAtPlace")));
    EXPECT_EQ(names(leeds.allPeopleArray()), QStringList({"Ann Smith", "Bob Jones", "Cat Jones"}));
    const QList<GoogleMapsSave::Listing> listing = leeds.showMeTexts();
    ASSERT_EQ(listing.size(), 2);
    EXPECT_EQ(s(listing[0].title), s("3 People " + LocalizedString("InvolvedAtPlace") + " " + kLeeds));
    EXPECT_EQ(s(listing[0].text), s(ann->nameWithBirthAndDeathYears() + ", " + bob->nameWithBirthAndDeathYears()
                                    + ", " + cat->nameWithBirthAndDeathYears()));

    danBirth->setPlace("Old_Mill_Lane");
    GoogleMapsSave lane = saving(danBirth);
    EXPECT_EQ(s(lane.allPeopleCheckBoxTitle()), s(LocalizedString("OnePersonAtPlace")));
    EXPECT_EQ(s(lane.allEventsCheckBoxTitle()), s(LocalizedString("OneEventAtPlace")));
    lane.applyToAllPeople = GoogleMapsSave::kOwner;
    lane.save();
    ASSERT_EQ(dan->picturesArray().size(), 1);
    EXPECT_EQ(s(dan->picturesArray()[0]->name()), "Old Mill Lane");
}
