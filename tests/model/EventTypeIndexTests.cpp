// Linking the events of older databases to their event types, as the event-type index sheet runs it.

#include "PeopleFixture.h"

#include "model/FTEventType.h"
#include "model/ModelProgress.h"

namespace {
struct RecordingProgress : ModelProgress {
    QList<int> percents;
    void setStatus(const QString&) override { }
    void setPercent(int percent) override { percents << percent; }
};

class EventTypeIndex : public PeopleFixture {
protected:
    // An event as an older version stored it: a tag and no event type.
    FTEvent* oldEvent(FTPerson* owner, const QString& subtype)
    {
        FTEvent* e = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, owner, QStringLiteral("EVEN"));
        e->setEventType(nullptr);
        e->setPrimitiveValue(Key("subtype"), subtype);
        return e;
    }
};
}

TEST_F(EventTypeIndex, EventsAreLinkedByTagAndUnknownTagsPutRight)
{
    FTPerson* p = person("Ada Lamb", F());
    struct Case {
        QString stored, subtype;
    };
    const QList<Case> cases {
        { "BAPM", "BAPM" },
        { "Baptism", "BAPM" }, // an event type's name becomes its code
        { "CEN", "CENS" },
        { "RES", "RESI" },
        { "XYZ", "EVEN" },
    };
    QList<FTEvent*> events;
    for (const Case& c : cases)
        events << oldEvent(p, c.stored);
    ASSERT_TRUE(moc->linkEventsToEventTypes(events, nullptr));
    for (int i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].stored.toStdString());
        EXPECT_EQ(events[i]->subtype(), cases[i].subtype);
        ASSERT_TRUE(events[i]->eventType());
        EXPECT_EQ(events[i]->eventType(), moc->eventTypeForEventGedcomCode(cases[i].subtype));
    }
    EXPECT_FALSE(moc->hasChanges()) << "saved";
    EXPECT_EQ(moc->count<FTEvent>([](const FTEvent* e) { return !e->eventType(); }), 0);
}

TEST_F(EventTypeIndex, ProgressMovesInStepsOfMoreThanFivePoints)
{
    FTPerson* p = person("Bob Lamb", M());
    QList<FTEvent*> events;
    for (int i = 0; i < 2500; ++i)
        events << oldEvent(p, "OCCU");
    RecordingProgress progress;
    ASSERT_TRUE(moc->linkEventsToEventTypes(events, &progress));
    ASSERT_GE(progress.percents.size(), 3);
    EXPECT_EQ(progress.percents.first(), 0);
    EXPECT_EQ(progress.percents.last(), 100);
    for (int i = 1; i + 1 < progress.percents.size(); ++i)
        EXPECT_GT(progress.percents[i] - progress.percents[i - 1], 5) << i;
    EXPECT_LE(progress.percents.size(), 20);
}

TEST_F(EventTypeIndex, TheEstimateIsFiveMillisecondsAnEvent)
{
    EXPECT_EQ(FTMoc::eventTypeIndexEstimatedSeconds(200), 1);
    EXPECT_EQ(FTMoc::eventTypeIndexEstimatedSeconds(100), 0);
    EXPECT_EQ(FTMoc::eventTypeIndexEstimatedSeconds(100000), 500);
}
