// The pictures section of person pages: captioned thumbnails and the media copies they link to.

#include "PublishFixture.h"

#include "publishing/HtmlPictureWriter.h"

#include "model/FTPicture.h"

#include <QRandomGenerator>

namespace {
class PicturesAndMedia : public PublishFixture {
protected:
    void SetUp() override
    {
        PublishFixture::SetUp();
        QDir().mkpath(pathFor("scans/a"));
        QDir().mkpath(pathFor("scans/b"));
    }
    // An image file of `width` × `height`: noise (large, for JPEG) or one flat colour (small).
    QString imageFile(const QString& relative, int width, int height, bool noise, const QColor& colour = Qt::blue)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        if (noise) {
            QRandomGenerator random(7);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    image.setPixel(x, y, random.generate() | 0xFF000000);
        }
        const QString path = pathFor("scans/" + relative);
        EXPECT_TRUE(image.save(path, nullptr, noise ? 95 : -1));
        return path;
    }
    FTPicture* picture(FTPerson* owner, const QString& path, const QString& title = {})
    {
        FTPicture* p = FTPicture::initInMoc(moc.get(), path, owner);
        QImage thumbnail(60, 40, QImage::Format_RGB32);
        thumbnail.fill(Qt::darkGreen);
        p->setThumbnailImage(thumbnail);
        if (!title.isEmpty())
            p->setName(title);
        return p;
    }
    // The media file the thumbnail's map of `p`'s page links to, relative to the top of the page set.
    QStringList mediaLinksOn(const FTPerson* p) const
    {
        QStringList out;
        static const QRegularExpression area("<area shape='rect' coords='0,0,60,40' href='../../([^']*)'");
        for (auto it = area.globalMatch(file(pageOf(p))); it.hasNext();)
            out << it.next().captured(1);
        return out;
    }
};
} // namespace

TEST_F(PicturesAndMedia, MediaNamesKeepOnlyPlainLettersDigitsUnderscoresAndDots)
{
    EXPECT_EQ(HtmlPictureWriter::mediaName("My Photo (1).JPG"), "My_Photo__40_1_41_.JPG");
    EXPECT_EQ(HtmlPictureWriter::mediaName("Zoë's.tif"), "Zo_235__39_s.tif");
    EXPECT_EQ(HtmlPictureWriter::mediaName("a-b.c_d"), "a_45_b.c_d");
}

TEST_F(PicturesAndMedia, MediaCopiesAreReducedOnlyWhenLargeAndNeverPdfs)
{
    struct Case {
        QString file;
        int width;
        bool noise;
        QString media;      // expected name in the media folder
        int mediaWidth;     // 0: the source's bytes unchanged
    };
    const QList<Case> cases = {
        {"My Photo (1).JPG", 600, true, "My_Photo__40_1_41_.jpg", 600},
        {"wide.png", 900, false, "wide.jpg", 750},
        {"narrow.jpg", 700, false, "narrow.jpg", 0},
        {"scan.pdf", 0, false, "scan.pdf", 0},
    };
    QList<FTPerson*> people;
    QStringList sources;
    for (const Case& c : cases) {
        QString path;
        if (c.width) {
            path = imageFile(c.file, c.width, 450, c.noise);
        } else {
            path = pathFor("scans/" + c.file);
            TestSupport::writeFile(path, "%PDF-1.4\n% a scan\n");
        }
        const qint64 size = QFileInfo(path).size();
        EXPECT_TRUE(c.noise ? size > 50000 : size <= 50000) << c.file.toStdString() << " " << size;
        FTPerson* p = born(c.file.left(4) + " Owner", F(), 1800, 1870);
        picture(p, path);
        people << p;
        sources << path;
    }
    options.copyMediaFiles = true;
    ASSERT_TRUE(publish(0));
    for (qsizetype i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.file.toStdString());
        const QStringList links = mediaLinksOn(people[i]);
        ASSERT_EQ(links.size(), 1);
        EXPECT_EQ(links[0], "Media/Media_01/" + c.media);
        const QByteArray copy = bytes(links[0]);
        if (c.mediaWidth) {
            const QImage reduced = QImage::fromData(copy, "JPEG");
            EXPECT_EQ(reduced.width(), c.mediaWidth);
            EXPECT_EQ(reduced.height(), 450 * c.mediaWidth / c.width);
        } else {
            EXPECT_EQ(copy, TestSupport::readFile(sources[i]));
        }
    }

    // Without reduction every file is copied as it is, under its cleaned name.
    options.compressMediaFiles = false;
    ASSERT_TRUE(publish(0));
    EXPECT_EQ(mediaLinksOn(people[0]), QStringList {"Media/Media_01/My_Photo__40_1_41_.JPG"});
    EXPECT_EQ(bytes("Media/Media_01/My_Photo__40_1_41_.JPG"), TestSupport::readFile(sources[0]));
}

// Different files that come to one name in a folder keep apart: the first keeps the name, later ones are numbered,
// and each thumbnail opens its own picture. One file shown twice is copied once.
TEST_F(PicturesAndMedia, PicturesThatCleanToOneNameEachKeepTheirOwnFile)
{
    struct Case {
        QString owner;
        QString file;
        bool noise;
        QColor colour;
        QString media;
    };
    const QList<Case> cases = {
        {"Abe Same", "a/x y.jpg", false, Qt::red, "x_y.jpg"},
        {"Bob Same", "b/x_y.jpg", false, Qt::blue, "x_y_2.jpg"},
        {"Cid Same", "a/pic.png", true, Qt::black, "pic.jpg"},   // reduced to .jpg
        {"Dan Same", "b/pic.jpg", false, Qt::yellow, "pic_2.jpg"},
        {"Eve Same", "a/x y.jpg", false, Qt::red, "x_y.jpg"},    // Abe's file again
    };
    QList<FTPerson*> people;
    for (const Case& c : cases) {
        const QString path = QFileInfo::exists(pathFor("scans/" + c.file)) ? pathFor("scans/" + c.file)
                                                                           : imageFile(c.file, 300, 200, c.noise, c.colour);
        FTPerson* p = born(c.owner, M(), 1800, 1870);
        picture(p, path);
        people << p;
    }
    options.copyMediaFiles = true;
    ASSERT_TRUE(publish(0));
    for (qsizetype i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].owner.toStdString());
        EXPECT_EQ(mediaLinksOn(people[i]), QStringList {"Media/Media_01/" + cases[i].media});
        const QImage copy = QImage::fromData(bytes("Media/Media_01/" + cases[i].media));
        ASSERT_FALSE(copy.isNull());
        if (!cases[i].noise)
            EXPECT_EQ(copy.pixelColor(150, 100).rgb() & 0xE0E0E0, cases[i].colour.rgb() & 0xE0E0E0);
    }
    QStringList media = QDir(root() + "/Media/Media_01").entryList(QDir::Files);
    media.sort();
    EXPECT_EQ(media, (QStringList {"pic.jpg", "pic_2.jpg", "x_y.jpg", "x_y_2.jpg"}));
}

TEST_F(PicturesAndMedia, TheSectionShowsThePersonSpousesAndChildrenWithCaptionsAndNotes)
{
    FTPerson* ann = born("Ann Lee", F(), 1800, 1870);
    FTPerson* bob = born("Bob Lee", M(), 1798, 1860);
    FTPerson* cal = born("Cal Lee", M(), 1799, 1861);
    FTPerson* kid = born("Kit Lee", M(), 1825, 1890);
    FTPerson* other = born("Oli Lee", M(), 1827, 1891);
    couple(ann, bob);
    couple(ann, cal);
    link(ann, other);
    link(ann, kid);
    moc->setFocalPerson(ann);
    picture(ann, imageFile("ann.jpg", 80, 60, false), "Ann at the seaside")->setNotes("Taken in 1850\nat Whitby");
    picture(ann, imageFile("ann2.jpg", 80, 60, false), "Ann's wedding");
    picture(cal, imageFile("cal.jpg", 80, 60, false));
    picture(kid, imageFile("kid.jpg", 80, 60, false));
    options.picturesOfChildren = true;
    options.allPicturesOfPerson = true;
    options.includeNotesForPictures = true;
    ASSERT_TRUE(publish(0));

    const QString page = file(pageOf(ann));
    const qsizetype table = page.indexOf("<table class='picturesTable'>");
    ASSERT_GE(table, 0);
    const QString section = page.mid(table, page.indexOf("</table>", table) - table);
    const QString thumbs = "../../Thumbnails/Thumbnails_01/";
    // Ann's picture, Cal's (Bob has none), then "+= " and Kit's, then all of Ann's pictures.
    QStringList sources;
    static const QRegularExpression img("<img src='([^']*)' alt='([^']*)' usemap='#(P\\d+_\\d\\d)'/> \n");
    for (auto it = img.globalMatch(section); it.hasNext();)
        sources << it.next().captured(1);
    const auto P = [](const FTPerson* p) { return PublishAsHtml::filenameForPerson(p); };
    EXPECT_EQ(sources, (QStringList {thumbs + P(ann) + ".jpg", thumbs + P(cal) + ".jpg", thumbs + P(kid) + ".jpg",
                                     thumbs + P(ann) + "_00.jpg", thumbs + P(ann) + "_01.jpg"}));
    EXPECT_EQ(section.count("+= "), 1);
    EXPECT_LT(section.indexOf(P(cal) + ".jpg"), section.indexOf("+= "));
    EXPECT_LT(section.indexOf("+= "), section.indexOf(P(kid) + ".jpg"));
    EXPECT_TRUE(page.contains("<table class='notesTable'>\n<tr><td>\nPic P1. Taken in 1850<br/>at Whitby<p>"))
        << page.toStdString();

    // Captioned thumbnails: the picture over a strip 13 (default pictures) or 26 (all pictures) high.
    EXPECT_EQ(QImage::fromData(bytes("Thumbnails/Thumbnails_01/" + P(ann) + ".jpg")).size(), QSize(60, 53));
    EXPECT_EQ(QImage::fromData(bytes("Thumbnails/Thumbnails_01/" + P(ann) + "_01.jpg")).size(), QSize(60, 66));
    EXPECT_FALSE(page.contains("<map id='P")); // media are not copied by default
}

TEST_F(PicturesAndMedia, ASpouseWithoutAPictureStillCountsAndHiddenPeopleShowNone)
{
    FTPerson* ann = born("Ann Lee", F(), 1800, 1870);
    FTPerson* bob = born("Bob Lee", M(), 1798, 1860);
    FTPerson* liv = born("Liv Lee", F(), 1990);
    couple(ann, bob);
    link(ann, liv);
    picture(liv, imageFile("liv.jpg", 80, 60, false));
    options.picturesOfChildren = true;
    options.defaultPictureOfPerson = false;
    ASSERT_TRUE(publish(0));
    const QString page = file(pageOf(ann));
    EXPECT_TRUE(page.contains("<table class='picturesTable'>\n<tr><td></td></tr></table>\n"));
    EXPECT_FALSE(page.contains("<img src='../../Thumbnails"));
    EXPECT_FALSE(QFileInfo::exists(root() + "/Thumbnails/Thumbnails_00/" + PublishAsHtml::filenameForPerson(liv) + ".jpg"));
}
