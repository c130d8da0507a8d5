// The map window of an event's place, opened through the model's hook as the events page opens it, with the map
// site played by a page on this machine; and its save sheet.

#include "../../gedcom/ui/GedcomWindowFixture.h"
#include "LoopbackHttpServer.h"

#include "publishing/MapProvider.h"
#include "publishing/ui/GoogleMaps.h"
#include "publishing/ui/GoogleMapsSaveController.h"
#include "publishing/ui/PublishingMenuActions.h"

#include "model/FTEvent.h"
#include "model/FTPicture.h"

#include "shell/Utils.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QWebEngineView>

namespace {
// A map page that keeps its view in its own address, as the map site does, over a plain colour a picture of it
// can be recognised by.
const QByteArray kMapPage = "<!DOCTYPE html><html><head><title>Map</title></head>"
                            "<body style='margin:0;background:#33aa77;font:24px sans-serif'>"
                            "<p style='padding:40px;color:white'>Leeds, Yorkshire</p>"
                            "<script>history.replaceState(null, '', '#map=12/53.8008/-1.5491');</script>"
                            "</body></html>";

class MapWindow : public GedcomWindowFixture {
protected:
    void SetUp() override
    {
        // Chromium refuses to start its sandbox as root; the tests run as whoever runs them.
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        GedcomWindowFixture::SetUp();
        start();
        doc = openDatabase(makeFamilyDatabase("Family"));
        ASSERT_TRUE(doc);
        PublishingMenuActions::install();
        fay = doc->moc()->focalPerson();
        birth = fay->birth() ? fay->birth() : FTEvent::initInMoc(doc->moc(), FTEvent::BirthEvent, fay, {});
        birth->setDate("5 Jan 1950");
        birth->setPlace("Leeds, Yorkshire");
        server.setResponse("/search?query=Leeds%2C%20Yorkshire",
                           {200, kMapPage, {{"Content-Type", "text/html; charset=utf-8"}}});
    }
    void TearDown() override
    {
        MapProvider::setCurrent(nullptr);
        GedcomWindowFixture::TearDown();
    }

    GoogleMaps* openMap(bool* ended)
    {
        birth->findInGoogleMaps(nullptr, [ended] { *ended = true; });
        GoogleMaps* map = visibleWindow<GoogleMaps>();
        EXPECT_TRUE(map);
        if (map)
            EXPECT_EQ(map->parentWidget(), doc->dovurWindow());
        return map;
    }

    LoopbackHttpServer server;
    DOvurDocument* doc = nullptr;
    FTPerson* fay = nullptr;
    FTEvent* birth = nullptr;
};
}

TEST_F(MapWindow, SaveKeepsTheViewThePageShowsAndAPictureOfIt)
{
    MapProvider::setCurrent(std::make_shared<OpenStreetMap>(server.url()));
    bool ended = false;
    GoogleMaps* map = openMap(&ended);
    ASSERT_TRUE(map);
    EXPECT_EQ(map->eventDescription(), fay->name() + " was born on 05 Jan 1950 at:");
    ASSERT_TRUE(waitFor([&] { return map->pageLoaded(); }, "the map page"));
    EXPECT_TRUE(map->saveButton()->isEnabled());
    // The user sees the map before saving it: its first frame has been drawn.
    ASSERT_TRUE(waitFor([&] {
        const QImage shown = map->webView()->grab().toImage();
        return shown.pixelColor(shown.width() / 2, shown.height() * 3 / 4).green() < 200;
    }, "the map to show"));
    screenshot(map, "publishing-map-window");

    map->saveButton()->click();
    ASSERT_TRUE(waitFor([&] { return map->saveSheet() != nullptr; }, "the save sheet"));
    auto* sheet = qobject_cast<GoogleMapsSaveController*>(map->saveSheet());
    ASSERT_TRUE(sheet);
    // The map window stays until the save sheet over it has ended.
    map->closeButton()->click();
    EXPECT_TRUE(map->isVisible());
    screenshot(sheet, "publishing-map-save");
    sheet->saveImageMatrix()->button(1)->click();
    sheet->saveButton()->click();

    const QString kept = server.url().toString() + "/?ll=53.8008,-1.5491&zoom=12#map=12/53.8008/-1.5491";
    EXPECT_EQ(birth->googleMapUrl().toString(), kept);
    EXPECT_NEAR(birth->latitude(), 53.8008, 1e-4);
    EXPECT_NEAR(birth->longitude(), -1.5491, 1e-4);
    ASSERT_EQ(fay->picturesArray().size(), 1);
    const QImage picture(fay->picturesArray()[0]->filename());
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(QFileInfo(fay->picturesArray()[0]->filename()).absolutePath(),
              QFileInfo(Utils::picturesDirectory()).absoluteFilePath());
    // The page itself, not an empty grab: its colour fills the middle.
    const QColor middle = picture.pixelColor(picture.width() / 2, picture.height() * 3 / 4);
    EXPECT_NEAR(middle.red(), 0x33, 24);
    EXPECT_NEAR(middle.green(), 0xaa, 24);
    EXPECT_NEAR(middle.blue(), 0x77, 24);

    ASSERT_TRUE(waitFor([&] { return map->saveSheet() == nullptr; }, "the save sheet to close"));
    map->closeButton()->click();
    ASSERT_TRUE(waitFor([&] { return ended; }, "the map window to end"));
}

TEST_F(MapWindow, WithoutAConnectionTheWindowSaysSoAndSavesNothing)
{
    MapProvider::setCurrent(std::make_shared<OpenStreetMap>(LoopbackHttpServer::closedPortUrl()));
    bool ended = false;
    GoogleMaps* map = openMap(&ended);
    ASSERT_TRUE(map);
    const QString failed = LocalizedString("MapNoNetwork").section("%1", 0, 0);
    ASSERT_TRUE(waitFor([&] { return map->statusMessage().startsWith(failed); }, "the failed load"));
    EXPECT_FALSE(map->saveButton()->isEnabled());
    EXPECT_EQ(map->statusField()->text(), map->statusMessage());
    map->saveGeocodeAndImage();
    QApplication::processEvents();
    EXPECT_EQ(map->saveSheet(), nullptr);
    screenshot(map, "publishing-map-no-network");
    map->closeButton()->click();
    ASSERT_TRUE(waitFor([&] { return ended; }, "the map window to end"));
    EXPECT_FALSE(birth->googleMapUrl().isValid());
    EXPECT_TRUE(fay->picturesArray().isEmpty());
}
