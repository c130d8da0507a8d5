// The events-by-place listing: its order, its CSV and RTF files (golden files in tests/data/tools), the hundred
// names a database's listings may take, and the questions and opening around the files.

#include "ToolsFixture.h"
#include "CsvReader.h"
#include "WorkspaceFixture.h"

#include "tools/PlacesListing.h"

#include "shell/Utils.h"

#include "platform/Workspace.h"

#include <QDateTime>
#include <QFile>
#include <QDir>
#include <QFileInfo>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
const QString kOddPlace = QStringLiteral("St \"Mary's\", Back\\slash {Brace}");
const QString kSydney = QStringLiteral("Sydney, New South Wales, Australia");
const QString kParis = QStringLiteral("Paris, Ile de France, France");

QString map(double lat, double lon) { return QStringLiteral("https://maps.example/?q=x&ll=%1,%2").arg(lat).arg(lon); }
}

class PlacesListingFixture : public ToolsFixture {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        FTPerson* bob = person("Bob Lee");
        FTPerson* ann = person("Ann Lee", "F");
        event(bob, FTEvent::BirthEvent, "London, England", "1 Jan 1890")->saveGoogleMapUrl(map(51.5, -0.12));
        residence(ann, "London, England"); // no date: year 0
        FTEvent* marriage = event(couple(bob, ann), FTEvent::MarriageEvent, kParis, "5 Jun 1920");
        marriage->saveGoogleMapUrl(map(48.85, 2.35));
        marriage->setNotes("Line one\nline two");
        event(ann, FTEvent::DeathEvent, kSydney, "bef 1960")->saveGoogleMapUrl(map(-33.87, 151.21));
        FTEvent* odd = event(ann, FTEvent::OtherPersonalEvent, kOddPlace, "1930", "OCCU");
        odd->setName("Keeper of \"The Bell\", back\\slash {and} brace");
        odd->setNotes("A note with {braces}");
        residence(person("Cy Ford"), "Kew", "1901");
        residence(person("Di Ford", "F"), "Ely", "1902");
        settle();
        places = moc->places() << "Nowhere";
    }
    QByteArray read(const QString& path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return f.readAll();
    }
    QStringList names(const QList<Place>& list, bool inverted)
    {
        QStringList out;
        for (const Place& p : list)
            out << (inverted ? p.invertedName : p.name);
        return out;
    }
    QStringList places;
};

TEST_F(PlacesListingFixture, PlacesAreOrderedByNameOrNorthToSouthThenWestToEast)
{
    EXPECT_EQ(Place::invert(" Paris ,Ile de France,\nFrance "), "France, Ile de France, Paris");
    PlacesListing listing(moc.get(), places);
    EXPECT_EQ(names(listing.sortedArrayOfPlaces(), false),
              QStringList({"Ely", "Kew", "London, England", "Nowhere", kParis, kOddPlace, kSydney}));
    listing.invertNames = true;
    listing.sortByLatLong = true;
    // Places without a position lie on the equator, between the hemispheres; equal positions go by name.
    EXPECT_EQ(names(listing.sortedArrayOfPlaces(), true),
              QStringList({"England, London", "France, Ile de France, Paris", "Back\\slash {Brace}, St \"Mary's\"",
                           "Ely", "Kew", "Nowhere", "Australia, New South Wales, Sydney"}));
}

TEST_F(PlacesListingFixture, CsvListingOfInvertedPlacesByPosition)
{
    PlacesListing listing(moc.get(), places);
    listing.invertNames = true;
    listing.sortByLatLong = true;
    const QString path = listing.writeCsv();
    EXPECT_EQ(path, dataFolder() + "/Reports/Family_" + L("EventsListFilename") + ".csv");
    const QByteArray bytes = read(path);
    TestSupport::expectGolden(bytes, "tools/events-by-place.csv");

    bool wellFormed = false;
    const QList<QStringList> rows = CsvReader::parse(bytes, &wellFormed);
    EXPECT_TRUE(wellFormed);
    ASSERT_EQ(rows.size(), 1 + 8) << "the header, one record an event, two for the couple, none for Nowhere";
    for (const QStringList& row : rows)
        EXPECT_EQ(row.size(), 10) << "nine fields, each followed by a comma: " << row.join('|').toStdString();
    const QString degree = QString(QChar(176));
    // By owner within a place.
    EXPECT_EQ(rows[1].mid(0, 7), QStringList({"(51.5" + degree + "N, -0.12" + degree + "E) ", "England, London",
                                               "Ann Lee", "Ann", "Lee", "", ""}))
        << "year 0 is empty, and no date gives no quotes";
    EXPECT_EQ(rows[2].mid(2, 4), QStringList({"Bob Lee", "Bob", "Lee", "1890"}));
    // The couple's marriage: one record for each partner, the date kept as text, the note's line break as "\n".
    EXPECT_EQ(rows[3].mid(2, 3), QStringList({"Bob Lee +. Ann Lee", "Bob", "Lee"}));
    EXPECT_EQ(rows[4].mid(2, 3), QStringList({"Bob Lee +. Ann Lee", "Ann", "Lee"}));
    EXPECT_EQ(rows[4].mid(5), QStringList({"1920", "\"05 Jun 1920\"", "Marriage", "Line one\\nline two", ""}));
    EXPECT_EQ(rows[5][1], "Back\\slash {Brace}, St \"Mary's\"");
    EXPECT_EQ(rows[5][7], "Keeper of \"The Bell\", back\\slash {and} brace");
    EXPECT_EQ(rows[8][1], "Australia, New South Wales, Sydney");
}

TEST_F(PlacesListingFixture, RtfListingWithNumberedNotes)
{
    PlacesListing listing(moc.get(), places);
    listing.setDateTime(QDateTime(QDate(2026, 12, 10), QTime(14, 5)));
    const QString path = listing.writeRtf();
    EXPECT_EQ(path, dataFolder() + "/Reports/Family_" + L("EventsListFilename") + ".rtf");
    const QByteArray bytes = read(path);
    TestSupport::expectGolden(bytes, "tools/events-by-place.rtf");
    EXPECT_TRUE(bytes.startsWith("{\\rtf1\\mac\\ansicpg10000 \\deff0 \r\n")) << "the header over the byte-order mark";
    EXPECT_TRUE(bytes.contains("Nowhere (0\\uc0\\u176 N, 0\\uc0\\u176 E)  \\par \\par ")) << "a heading without events";
    EXPECT_TRUE(bytes.contains("back\\\\slash \\{and\\} brace")) << "braces and backslashes kept";
    EXPECT_TRUE(bytes.contains(" \\par \\par Note 2: A note with \\{braces\\}}"));
}

TEST_F(PlacesListingFixture, TheHundredthListingOfADatabaseIsRefused)
{
    const QString reports = Utils::reportsDirectory();
    const QString base = reports + "/Family_" + L("EventsListFilename");
    ASSERT_TRUE(TestSupport::writeFile(base + ".csv", "x"));
    for (int n = 1; n <= 98; ++n)
        ASSERT_TRUE(TestSupport::writeFile(QString("%1_%2.csv").arg(base).arg(n), "x"));
    PlacesListing listing(moc.get(), places);
    EXPECT_EQ(listing.writeCsv(), base + "_99.csv");
    EXPECT_EQ(listing.writeCsv(), "");
    EXPECT_THAT(messages(), ElementsAre(L("TooManyEventsListFiles")));
    EXPECT_FALSE(QFileInfo::exists(base + "_100.csv"));
    EXPECT_FALSE(listing.writeRtf().isEmpty()) << "the RTF listings are counted apart";
}

TEST_F(PlacesListingFixture, TheQuestionsChooseTheOrderAndTheFileOpensWhereItCan)
{
    WorkspaceFixture apps(dir.path(), Workspace::shared().mimeTypeForFile("x.csv"));
    PlacesListing listing(moc.get(), places);
    prompts.answer(0); // inverted
    prompts.answer(1); // alphabetically
    const QString path = listing.printAsCsv();
    EXPECT_TRUE(listing.invertNames);
    EXPECT_FALSE(listing.sortByLatLong);
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].text, L("EventListPrintOptsChoice"));
    EXPECT_EQ(prompts.records[0].buttons, QStringList({L("EventsListNamesInverted"), L("EventsListNamesNormal")}));
    EXPECT_EQ(prompts.records[1].text, QString("%1 %2.\n\n%3").arg(L("EventListPrintOptsChoice2"),
                                           L("EventsListNamesInverted"), L("EventListPrintOptsChoice3")));
    EXPECT_EQ(prompts.records[1].buttons, QStringList({L("EventsListSortByLatLong"), L("EventsListSortByLatLongNot")}));
    EXPECT_EQ(apps.launched(), QStringList({"--editor", path}));

    // No application for CSV files: the file stays and the user is told where.
    const QString nothing = dir.path() + "/no-applications";
    QDir().mkpath(nothing);
    Workspace::shared().setSearchPaths({nothing}, {nothing});
    prompts.clear();
    const QString second = listing.printAsCsv();
    EXPECT_TRUE(QFileInfo::exists(second));
    EXPECT_EQ(messages().last(), QString("%1 %2 %3").arg(L("FileNotOpened1"), second, L("FileNotOpened2")));
}
