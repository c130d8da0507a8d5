// The event names editor's work: the types offered, the names of a type, the events of a name and year, renaming
// and deleting.

#include "ToolsFixture.h"

#include "tools/EventNamesEditing.h"

#include "platform/NotificationCenter.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

class EventNamesFixture : public ToolsFixture {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        ann = person("Ann Lee", "F");
        farmer1900 = named("OCCU", "Farmer", "1900");
        farmer1910 = named("OCCU", "Farmer", "1910");
        smith = named("OCCU", "Smith", "1900");
        named("RESI", "", "1905");
        baptism = named("BAPM", "Baptism", "1880"); // the type's own name, held by the event
        settle();
    }
    FTEvent* named(const char* tag, const QString& name, const QString& date)
    {
        FTEvent* e = event(ann, FTEvent::OtherPersonalEvent, "Kew", date, tag);
        e->setName(name);
        return e;
    }
    FTPerson* ann = nullptr;
    FTEvent* farmer1900 = nullptr;
    FTEvent* farmer1910 = nullptr;
    FTEvent* smith = nullptr;
    FTEvent* baptism = nullptr;
};

TEST_F(EventNamesFixture, OnlyTypesWithEventsAreOfferedAndATypesOwnNameOnlyWhenAnEventHoldsIt)
{
    EventNamesEditing names(moc.get());
    const QStringList types = names.eventSubtypes();
    for (const char* type : {"Baptism", "Occupation", "Residence"})
        EXPECT_TRUE(types.contains(type)) << type;
    EXPECT_EQ(types.size(), 3) << types.join(", ").toStdString();

    const struct {
        const char* type;
        const char* filter;
        QStringList names;
    } cases[] = {
        {"Occupation", "", {"Farmer", "Smith"}},
        {"Occupation", "ARM", {"Farmer"}},
        {"Baptism", "", {"Baptism"}},
        {"Residence", "", {}},
        {"", "", {"Baptism", "Farmer", "Smith"}}, // no type: every named other personal event
    };
    for (const auto& c : cases) {
        names.setSubtypeFilter(c.type);
        names.setEventNameFilter(c.filter);
        EXPECT_EQ(names.eventNames(), c.names) << c.type << " / " << c.filter;
    }
}

TEST_F(EventNamesFixture, RenamingWithAYearChangesOnlyThatYearsEventsAndClearsTheYear)
{
    EventNamesEditing names(moc.get());
    names.setSubtypeFilter("Occupation");
    EXPECT_EQ(names.eventsNamed("Farmer").size(), 2);
    names.setEventYearFilter("1900");
    const QList<FTEvent*> shown = names.eventsNamed("Farmer");
    EXPECT_THAT(shown, ElementsAre(farmer1900));

    EXPECT_FALSE(names.renameEventName("Farmer", "Farmer", shown));
    ASSERT_TRUE(names.renameEventName("Farmer", "Ploughman", shown));
    EXPECT_THAT(messages(), ElementsAre(QString("1 %1 \"Farmer\" %2 \"Ploughman\".").arg(L("occurrencesOf"), L("areReplaced"))));
    EXPECT_EQ(farmer1900->name(), "Ploughman");
    EXPECT_EQ(farmer1910->name(), "Farmer");
    EXPECT_EQ(names.eventYearFilter(), "");
    EXPECT_EQ(names.eventNames(), QStringList({"Farmer", "Ploughman", "Smith"}));
    EXPECT_FALSE(moc->hasChanges());

    undo();
    EXPECT_EQ(farmer1900->name(), "Farmer");
    names.refreshEventNamesArray();
    EXPECT_EQ(names.eventNames(), QStringList({"Farmer", "Smith"}));
}

TEST_F(EventNamesFixture, DeletingAnEventAsksAndCanBeUndone)
{
    EventNamesEditing names(moc.get());
    int refreshes = 0;
    NotificationCenter::defaultCenter().addObserver(
        "RefreshAllViews", nullptr, [&refreshes](const Notification&) { ++refreshes; }, this);
    const QString question = QString("%1 %2 %3 %4?").arg(L("DeleteEvent"), smith->eventDescription(), L("ConjunctiveFor"), "Ann Lee");

    prompts.answer(1);
    EXPECT_FALSE(names.deleteEvent(smith));
    EXPECT_FALSE(smith->isDeleted());

    bool letGo = false;
    EXPECT_TRUE(names.deleteEvent(smith, [&letGo] { letGo = true; }));
    EXPECT_TRUE(letGo);
    EXPECT_THAT(messages(), ElementsAre(question, question));
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(moc->undoManager()->undoActionName(), QString("%1 OCCU %2 Ann Lee").arg(L("Delete"), L("EventFor")));
    EXPECT_EQ(ann->otherEvents().size(), 4);
    undo();
    EXPECT_EQ(ann->otherEvents().size(), 5);
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

TEST_F(EventNamesFixture, AYearIsReadFromItsLeadingDigits)
{
    for (const auto& [typed, year] : std::initializer_list<std::pair<const char*, int>>{
             {"1900", 1900}, {" 1910s", 1910}, {"abc", 0}, {"", 0}})
        EXPECT_EQ(EventNamesEditing::yearValue(typed), year) << typed;
}
