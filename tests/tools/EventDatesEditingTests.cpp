// Re-reading the date texts that events kept from a GEDCOM file, in the order the user names.

#include "ToolsFixture.h"

#include "tools/EventDatesEditing.h"
#include "tools/EventDatesModel.h"

#include "model/Dates.h"
#include "platform/NotificationCenter.h"

#include <gmock/gmock.h>

using EventDatesEditing::DMY;
using EventDatesEditing::MDY;
using EventDatesEditing::YMD;

class EventDatesFixture : public ToolsFixture {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        ann = person("Ann Lee", "F");
    }
    FTEvent* imported(const QString& gedcomDate, const QString& date = {})
    {
        FTEvent* e = residence(ann, "Kew", date);
        e->setGedcomDate(gedcomDate);
        return e;
    }
    FTPerson* ann = nullptr;
};

TEST_F(EventDatesFixture, TheTextIsReadInTheNamedOrder)
{
    const struct {
        const char* text;
        EventDatesEditing::Mode mode;
        const char* date; // the event's date afterwards; "" for none given
    } cases[] = {
        {"12/3/1901", MDY, "03 Dec 1901"},
        {"12/3/1901", DMY, "12 Mar 1901"},
        {"3/12/1901", MDY, "12 Mar 1901"},
        {"ABT1850", DMY, "abt 1850"},
        {"abt. 5 Jan. 1850", DMY, "abt 05 Jan 1850"},
        {"5 January 1850", DMY, "05 Jan 1850"},
        {"Sept 1850", DMY, "Sep 1850"},
        {"12 January 1901", MDY, "12 Jan 1901"},
        {"1901-03-12", YMD, "12 Mar 1901"},
        {"BEF 1901/3", YMD, "bef Mar 1901"},
        {"AFTER 1 Jun 1901", DMY, "aft 01 Jun 1901"},
        {"31 2 1901", DMY, ""},     // no such day: the event is left alone
        {"13/13/1901", MDY, ""},
        {"ZZ 1 Jun 1901", DMY, ""}, // no such qualifier
        {"1 Foo 1901", DMY, ""},    // no such month
    };
    for (const auto& c : cases) {
        FTEvent* e = imported(c.text);
        EventDatesEditing::interpretGedcomDate({e}, c.mode);
        EXPECT_EQ(e->date(), c.date) << c.text << " mode " << c.mode;
    }
}

TEST_F(EventDatesFixture, AnUnchangedDateIsNotSetAndAnEventWithoutTextEndsTheRun)
{
    FTEvent* same = imported("5 JAN 1850", "05 Jan 1850");
    FTEvent* first = imported("1/2/1900", "01 Feb 1900");
    FTEvent* noText = residence(ann, "Kew", "1890");
    FTEvent* after = imported("1/2/1900", "01 Feb 1900");
    settle();
    QList<const void*> changed;
    NotificationCenter::defaultCenter().addObserver(
        "EventNameOrDateChanged", nullptr, [&](const Notification& n) { changed << n.object; }, this);

    const EventDatesEditing::Outcome outcome = EventDatesEditing::interpretGedcomDate({same, first, noText, after}, MDY);
    EXPECT_EQ(outcome.changed, 1);
    EXPECT_EQ(outcome.read, 2);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(same->date(), "05 Jan 1850");
    EXPECT_EQ(first->date(), "02 Jan 1900");
    EXPECT_EQ(noText->date(), "1890");
    EXPECT_EQ(after->date(), "01 Feb 1900"); // after the stop: not read
    // An unchanged date is not set again: no change is recorded or announced for it.
    EXPECT_EQ(changed, QList<const void*>({first}));
    EXPECT_FALSE(same->isUpdated());
    NotificationCenter::defaultCenter().removeObserversOf(this);

    // "Y", no words, more than four words end it too.
    for (const char* text : {"Y", "--", "1 2 3 4 5"}) {
        FTEvent* stop = imported(text);
        FTEvent* later = imported("1/2/1900");
        EXPECT_TRUE(EventDatesEditing::interpretGedcomDate({stop, later}, DMY).stopped) << text;
        EXPECT_EQ(later->date(), "") << text;
    }
}

TEST_F(EventDatesFixture, TheTableListsEveryEventAndSortsByDateKeepingTheSelection)
{
    FTEvent* late = imported("1 JAN 1950", "1950");
    FTEvent* none = residence(ann, "Kew");
    FTEvent* early = imported("1 JAN 1850", "1850");
    EventDatesModel model;
    model.loadEvents(moc.get());
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.data(model.index(model.events().indexOf(late), EventDatesModel::GedcomDateColumn)), "1 JAN 1950");
    EXPECT_EQ(model.data(model.index(0, EventDatesModel::OwnerColumn)), "Ann Lee");
    QPersistentModelIndex selected = model.index(model.events().indexOf(early), 0);
    model.sortByDate();
    EXPECT_EQ(model.events(), QList<FTEvent*>({none, early, late}));
    EXPECT_EQ(selected.row(), 1);

    // The date is edited in place through the event's setter.
    EXPECT_TRUE(model.setData(model.index(2, EventDatesModel::DateColumn), "abt 1951"));
    EXPECT_EQ(late->date(), "abt 1951");
    EXPECT_FALSE(model.flags(model.index(2, EventDatesModel::PlaceColumn)) & Qt::ItemIsEditable);
}
