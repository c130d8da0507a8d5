#include "publishing/MapLookup.h"
#include "publishing/MapProvider.h"

#include "ExportsFixture.h"

namespace {
std::string s(const QString& q) { return q.toStdString(); }

class MapLookupTest : public ExportsFixture {};
}

TEST(MapQuery, ThePlaceIsEditedThenEncodedWhole)
{
    const std::pair<QString, const char*> cases[] = {
        {"Leeds, Yorkshire", "Leeds%2C%20Yorkshire"},
        {"Smith & Sons Farm", "Smith%20%20and%20%20Sons%20Farm"},
        {"Ballina Co. Mayo", "Ballina%20County%20Mayo"},
        {"Ballina Co Mayo", "Ballina%20County%20Mayo"},
        {"\"The Grange\", Leeds", "The%20Grange%2C%20Leeds"},
        // What a query gives its own meaning to stays inside the place.
        {"No. 5 #2? a+b=c", "No.%205%20%232%3F%20a%2Bb%3Dc"},
        {"100% Cork", "100%25%20Cork"},
        {"Z\u00fcrich", "Z%C3%BCrich"},
    };
    const OpenStreetMap osm;
    for (const auto& [place, query] : cases)
        EXPECT_EQ(s(osm.queryUrl(MapLookup::placeQuery(place)).toString(QUrl::FullyEncoded)),
                  std::string("https://www.openstreetmap.org/search?query=") + query)
            << s(place);
}

TEST(MapQuery, TheKeptAddressCarriesThePositionThePageShows)
{
    const std::pair<const char*, const char*> cases[] = {
        {"https://www.openstreetmap.org/search?query=Leeds#map=12/53.8008/-1.5491",
         "https://www.openstreetmap.org/?ll=53.8008,-1.5491&zoom=12#map=12/53.8008/-1.5491"},
        {"https://www.openstreetmap.org/#map=4/-26.000/134.000&layers=C",
         "https://www.openstreetmap.org/?ll=-26.000,134.000&zoom=4#map=4/-26.000/134.000"},
        {"https://www.openstreetmap.org/search?query=Leeds", ""},
        {"https://www.openstreetmap.org/#map=12/95.0/0", ""},
        {"https://www.openstreetmap.org/#map=a/b/c", ""},
    };
    const OpenStreetMap osm;
    for (const auto& [page, kept] : cases)
        EXPECT_EQ(s(osm.savedAddress(QUrl(page))), kept) << page;
}

TEST_F(MapLookupTest, TheKeptAddressGivesTheEventItsCoordinates)
{
    FTPerson* ann = person("Ann Smith", F());
    FTEvent* birth = date(ann, "birth", 5, 1, 1900);
    birth->saveGoogleMapUrl(OpenStreetMap().savedAddress(
        QUrl("https://www.openstreetmap.org/search?query=Leeds#map=12/53.8008/-1.5491")));
    EXPECT_NEAR(birth->latitude(), 53.8008, 1e-4);
    EXPECT_NEAR(birth->longitude(), -1.5491, 1e-4);
}

TEST_F(MapLookupTest, ASavedWebAddressIsOfferedAndOnlyAWebAddress)
{
    FTEvent* birth = date(person("Ann Smith", F()), "birth", 5, 1, 1900);
    const OpenStreetMap osm;
    QStringList asked;
    auto answer = [&](bool yes) {
        return [&asked, yes](const QString& question) {
            asked << question;
            return yes;
        };
    };
    EXPECT_EQ(MapLookup::initialUrl(*birth, osm, answer(true)), osm.defaultUrl());

    birth->setPlace("Leeds");
    const QUrl query = osm.queryUrl("Leeds");
    EXPECT_EQ(MapLookup::initialUrl(*birth, osm, answer(true)), query);

    const QString saved = "https://www.openstreetmap.org/?ll=53.8,-1.5&zoom=12#map=12/53.8/-1.5";
    birth->saveGoogleMapUrl(saved);
    defaults().setBool("useGeocodeToInitialise", true);
    EXPECT_EQ(MapLookup::initialUrl(*birth, osm, answer(false)).toString(), saved);
    EXPECT_TRUE(asked.isEmpty());

    defaults().setBool("useGeocodeToInitialise", false);
    EXPECT_EQ(MapLookup::initialUrl(*birth, osm, answer(false)), query);
    EXPECT_EQ(MapLookup::initialUrl(*birth, osm, answer(true)).toString(), saved);
    EXPECT_EQ(asked, QStringList(2, LocalizedString("GeocodeQuery") + ":\nLeeds"));

    // An imported link to a file or a script is never opened, and not offered.
    asked.clear();
    defaults().setBool("useGeocodeToInitialise", true);
    for (const char* link : {"file:///etc/passwd", "javascript:alert(1)"}) {
        birth->saveGoogleMapUrl(link);
        EXPECT_EQ(MapLookup::initialUrl(*birth, osm, answer(true)), query) << link;
    }
    EXPECT_TRUE(asked.isEmpty());
}

TEST_F(MapLookupTest, TheDescriptionSaysWhatHappenedAndWhen)
{
    FTPerson* ann = person("Ann Smith", F());
    FTPerson* bob = person("Bob Jones", M());
    FTEvent* undated = ann->birth() ? ann->birth() : FTEvent::initInMoc(moc.get(), FTEvent::BirthEvent, ann, {});
    EXPECT_EQ(s(MapLookup::eventDescription(*undated)), "Ann Smith was born in ? at:");
    EXPECT_EQ(s(MapLookup::eventDescription(*date(ann, "death", 5, 1, 1980))), "Ann Smith died on 05 Jan 1980 at:");
    FTEvent* wedding = date(couple(bob, ann), "marriage", 0, 0, 1925, 1);
    EXPECT_EQ(s(MapLookup::eventDescription(*wedding)), "Bob Jones and Ann Smith were married " + s(wedding->date()) + " at:");
    FTEvent* baptism = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, ann, "BAPM");
    baptism->setDate("1900");
    EXPECT_EQ(s(MapLookup::eventDescription(*baptism)), "Ann Smith : " + s(baptism->name()) + " in 1900 at:");
}
