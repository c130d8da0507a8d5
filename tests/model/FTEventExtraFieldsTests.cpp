// The extra fields of an event: map link and coordinates, GEDCOM date, LDS status and temple.

#include "ModelFixture.h"

#include "model/FTEvent.h"

#include <QCborMap>
#include <QUrl>

class FTEventExtraFields : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        moc = newDatabase();
        ASSERT_TRUE(moc);
        event = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent);
    }
    void TearDown() override
    {
        moc.reset();
        ModelFixture::TearDown();
    }
    std::unique_ptr<FTMoc> moc;
    FTEvent* event = nullptr;
};

TEST_F(FTEventExtraFields, AnEmptyEventReadsTheDefaults)
{
    EXPECT_TRUE(event->extraData().isEmpty());
    EXPECT_EQ(event->latitude(), 0.0f);
    EXPECT_EQ(event->longitude(), 0.0f);
    EXPECT_TRUE(event->googleMapUrl().isEmpty());
    EXPECT_TRUE(event->googleMapAddress().isNull());
    EXPECT_TRUE(event->gedcomDate().isNull());
    EXPECT_EQ(event->ldsStatus(), "");
    EXPECT_EQ(event->ldsTempleCode(), "");
    EXPECT_EQ(event->ldsStatusAndTempleCode(), "");
    EXPECT_EQ(event->coordinates(), " 0.0N,  0.0E");
}

TEST_F(FTEventExtraFields, AMapLinkGivesTheCoordinatesAndTheAddress)
{
    struct Case {
        const char* link;
        float latitude, longitude;
        const char* coordinates;
        const char* address;
    };
    const Case cases[] = {
        {"  http://maps.google.com/maps?q=10+Downing+St&ll=51.5,-0.12&z=15 ", 51.5f, -0.12f, "51.5N, -0.1E",
         "10 Downing St, 51.5N, -0.12E"},
        {"http://maps.google.com/?ll=-33.87,151.21", -33.87f, 151.21f, "-33.9N, 151.2E", "-33.87N, 151.21E"},
        {"ll=48.86,2.36", 48.86f, 2.36f, "48.9N,  2.4E", "48.86N, 2.36E"},
        {"http://maps.google.com/maps?q=Paris", 0.0f, 0.0f, " 0.0N,  0.0E", "Paris"},
        {"http://maps.google.com/maps?ll=1,2,3", 0.0f, 0.0f, " 0.0N,  0.0E", "1N, 2N, 3E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        event->saveGoogleMapUrl(c.link);
        EXPECT_EQ(event->googleMapUrl().toString(), QString(c.link).trimmed());
        EXPECT_FLOAT_EQ(event->latitude(), c.latitude);
        EXPECT_FLOAT_EQ(event->longitude(), c.longitude);
        EXPECT_EQ(event->coordinates(), c.coordinates);
        EXPECT_EQ(event->googleMapAddress(), c.address);
    }

    // An empty link removes it and clears the coordinates, leaving the other fields alone.
    event->saveGoogleMapUrl("http://maps.google.com/?ll=51.5,-0.12");
    event->setGedcomDate("ABT 1900");
    event->saveGoogleMapUrl("   ");
    EXPECT_TRUE(event->googleMapUrl().isEmpty());
    EXPECT_FALSE(event->extraDataMap().contains(QStringLiteral("googleMapUrl")));
    EXPECT_EQ(event->latitude(), 0.0f);
    EXPECT_EQ(event->longitude(), 0.0f);
    EXPECT_EQ(event->gedcomDate(), "ABT 1900");
}

TEST_F(FTEventExtraFields, GedcomDateKeepsTheLastNonEmptyText)
{
    event->setGedcomDate("BET 1900 AND 1910");
    event->setGedcomDate("");
    event->setGedcomDate(QString());
    EXPECT_EQ(event->gedcomDate(), "BET 1900 AND 1910");
}

TEST_F(FTEventExtraFields, LdsTextsNameWhatIsSet)
{
    struct Case {
        const char* status;
        const char* temple;
        const char* text;
    };
    const Case cases[] = {
        {"", "", ""},
        {"BIC", "", "LDS Status = BIC"},
        {"", "SLAKE", "LDS Temple = SLAKE"},
        {"BIC", "SLAKE", "LDS Status = BIC, Temple = SLAKE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.status) + "/" + c.temple);
        event->setLdsStatus(c.status);
        event->setLdsTempleCode(c.temple);
        EXPECT_EQ(event->ldsStatusAndTempleCode(), c.text);
    }
    event->setLdsStatus(QString());
    EXPECT_TRUE(event->extraDataMap().value(QStringLiteral("ldsStatus")).isString()) << "nil is stored as empty";
    EXPECT_EQ(event->ldsStatus(), "");
}

TEST_F(FTEventExtraFields, FieldsAreStampedUndoableAndKeptInTheFile)
{
    const QString path = moc->databaseURL();
    const qint64 key = event->primaryKey();
    ASSERT_TRUE(moc->saveMoc());
    moc->undoManager()->closeOpenGroups();

    event->setLdsTempleCode("LONDO");
    event->saveGoogleMapUrl("http://maps.google.com/?q=Leeds&ll=53.8,-1.56");
    EXPECT_TRUE(event->lastChange().isValid());
    moc->undoManager()->closeOpenGroups();
    prompts.answer(0); // "Undo: ...?" Yes
    moc->undoManager()->undo();
    EXPECT_TRUE(event->extraData().isEmpty());
    prompts.answer(0);
    moc->undoManager()->redo();
    EXPECT_EQ(event->ldsTempleCode(), "LONDO");
    ASSERT_TRUE(moc->saveMoc());
    moc.reset();

    moc = reopen(path);
    auto* again = static_cast<FTEvent*>(moc->objectWithPrimaryKey("OtherPersonalEvent", key));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->ldsTempleCode(), "LONDO");
    EXPECT_EQ(again->ldsStatus(), QString()) << "a key never written reads as nothing";
    EXPECT_FLOAT_EQ(again->latitude(), 53.8f);
    EXPECT_EQ(again->googleMapAddress(), "Leeds, 53.8N, -1.56E");
    EXPECT_EQ(again->valueForKey("coordinates").toString(), "53.8N, -1.6E");
}
