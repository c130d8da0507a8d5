// The context's lists of places, event names and recent sources.

#include "ModelFixture.h"

#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"

class FTMocCachedLists : public ModelFixture {
protected:
    FTEvent* event(FTMoc& moc, const QString& subtype, const QString& name, const QString& place)
    {
        auto* e = static_cast<FTEvent*>(moc.insertObject("OtherPersonalEvent"));
        e->setSubtype(subtype);
        if (!name.isNull())
            e->setName(name);
        if (!place.isNull())
            e->setPlace(place);
        return e;
    }
};

TEST_F(FTMocCachedLists, PlacesComeFromTheEventsOnceSortedIgnoringCase)
{
    auto moc = newDatabase();
    for (const char* place : {"York", "leeds", "York", "", "Bath", "abbey Road"})
        event(*moc, "RESI", {}, place);
    event(*moc, "RESI", {}, {});
    EXPECT_EQ(moc->places(), (QStringList {"abbey Road", "Bath", "leeds", "York"}));

    moc->addPlaceName("london"); // the presence test is exact
    moc->addPlaceName("London");
    moc->addPlaceName("London");
    moc->addPlaceName("");
    moc->addPlaceName("Zennor");
    const QStringList places = moc->places();
    ASSERT_EQ(places.size(), 7);
    EXPECT_EQ(places.mid(0, 3), (QStringList {"abbey Road", "Bath", "leeds"}));
    EXPECT_TRUE(places.indexOf("london") >= 3 && places.indexOf("London") >= 3 && places.indexOf("London") <= 4);
    EXPECT_EQ(places.mid(5), (QStringList {"York", "Zennor"}));

    EXPECT_EQ(moc->placeNamesStartingWith("LE"), QStringList {"leeds"});
    EXPECT_EQ(moc->placeNamesStartingWith("lo").size(), 2);

    // The only event at a place moves away: the place goes; one of two keeps it.
    FTEvent* bath = moc->fetchFirst<FTEvent>([](const FTEvent* e) { return e->place() == "Bath"; });
    moc->removePlaceName("Bath");
    bath->setPlace("Wells");
    EXPECT_FALSE(moc->places().contains("Bath"));
    moc->removePlaceName("York");
    EXPECT_TRUE(moc->places().contains("York"));
}

TEST_F(FTMocCachedLists, ListsSurviveEverySaveWithoutAWindowClosing)
{
    auto moc = newDatabase();
    const QString path = moc->databaseURL();
    event(*moc, "RESI", {}, "York");
    auto* source = moc->insertObject<FTSource>();
    source->setTitle("Parish register");
    ASSERT_TRUE(moc->saveMoc());
    moc->addPlaceName("Zennor");
    moc->addRecentSource(source);
    moc->insertObject<FTPerson>();
    ASSERT_TRUE(moc->saveMoc());
    const QString uri = source->objectURI();
    moc.reset(); // as after a quit from the menu or a crash: no window-closing step

    moc = reopen(path);
    EXPECT_EQ(moc->places(), (QStringList {"York", "Zennor"}));
    ASSERT_EQ(moc->recentSources().size(), 1);
    EXPECT_EQ(moc->recentSources()[0]->title(), "Parish register");

    // Reading the lists leaves the stored copies in place for the next opening.
    moc->insertObject<FTPerson>();
    ASSERT_TRUE(moc->saveMoc());
    moc.reset();
    moc = reopen(path);
    EXPECT_EQ(moc->places(), (QStringList {"York", "Zennor"}));
    EXPECT_EQ(moc->recentSources().size(), 1);

    // A list edited on its own is saved too, without an undo step or a stamp.
    moc->addPlaceName("Acre");
    EXPECT_TRUE(moc->saveMoc());
    EXPECT_FALSE(moc->undoManager()->canUndo());
    moc.reset();
    moc = reopen(path);
    EXPECT_EQ(moc->places().first(), "Acre");
}

TEST_F(FTMocCachedLists, RecentSourcesNewestFirstAtMostTen)
{
    auto moc = newDatabase();
    QList<FTSource*> sources;
    for (int i = 0; i < 11; ++i) {
        sources << moc->insertObject<FTSource>();
        sources.last()->setTitle(QString("S%1").arg(i));
        moc->addRecentSource(sources.last());
    }
    QList<FTSource*> recent = moc->recentSources();
    ASSERT_EQ(recent.size(), 10);
    EXPECT_EQ(recent.first(), sources[10]);
    EXPECT_FALSE(recent.contains(sources[0]));

    moc->addRecentSource(sources[5]);
    recent = moc->recentSources();
    EXPECT_EQ(recent.size(), 10);
    EXPECT_EQ(recent[0], sources[5]);
    EXPECT_EQ(recent[1], sources[10]);

    moc->deleteObject(sources[10]);
    recent = moc->recentSources();
    EXPECT_EQ(recent.size(), 9);
    EXPECT_FALSE(recent.contains(sources[10]));
    ASSERT_TRUE(moc->saveMoc());
    const QString path = moc->databaseURL();
    moc.reset();
    moc = reopen(path);
    EXPECT_EQ(moc->recentSources().size(), 9);
    EXPECT_EQ(moc->recentSources()[0]->title(), "S5");
}

TEST_F(FTMocCachedLists, EventNamesPerTag)
{
    auto moc = newDatabase();
    event(*moc, "OCCU", "Farmer", {});
    event(*moc, "OCCU", "blacksmith", {});
    event(*moc, "OCCU", "Farmer", {});
    event(*moc, "OCCU", "Birth", {});
    event(*moc, "OCCU", "", {});
    event(*moc, "RESI", "Lodger", {});
    event(*moc, "BIRT", "Born at sea", {});

    EXPECT_EQ(moc->eventNamesForSubtype("BIRT"), QStringList {"Birth"});
    EXPECT_EQ(moc->eventNamesForSubtype("OCCU"), (QStringList {"blacksmith", "Farmer", "Occupation"}));
    EXPECT_EQ(moc->eventNamesForSubtype("_UNKNOWN"), QStringList());

    moc->addEventName("farmer", "OCCU"); // the same ignoring case
    moc->addEventName("Miller", "OCCU");
    moc->addEventName("Zookeeper", "OCCU");
    EXPECT_EQ(moc->eventNamesForSubtype("OCCU"),
              (QStringList {"blacksmith", "Farmer", "Miller", "Occupation", "Zookeeper"}));

    moc->removeEventName("Occupation", "OCCU"); // the standard name stays
    moc->removeEventName("Farmer", "OCCU"); // two events still use it
    moc->removeEventName("blacksmith", "OCCU");
    EXPECT_EQ(moc->eventNamesForSubtype("OCCU"), (QStringList {"Farmer", "Miller", "Occupation", "Zookeeper"}));
}
