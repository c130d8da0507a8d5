// The event dates editor as the Events menu opens it: every event listed, a date corrected in place with its check,
// the selected events' GEDCOM texts read again in the order chosen, and the database saved when it closes.

#include "ToolsWindowFixture.h"

#include "tools/EventDatesModel.h"
#include "tools/ui/EventDatesEditor.h"

#include "editor/ui/EditorTableView.h"

#include <QItemSelectionModel>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

class EventDatesWindow : public ToolsWindowFixture {
protected:
    void TearDown() override
    {
        EventDatesEditor::setPrevSize({0, 0});
        ToolsWindowFixture::TearDown();
    }
    EventDatesEditor* open()
    {
        ToolsMenuActions::editEventDates();
        return sheet<EventDatesEditor>();
    }
    void selectRows(EventDatesEditor* e, const QList<FTEvent*>& events)
    {
        QItemSelectionModel* selection = e->tv_Events()->selectionModel();
        selection->clearSelection();
        for (FTEvent* ev : events)
            selection->select(e->eventsModel()->index(int(e->eventsModel()->events().indexOf(ev)), 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

TEST_F(EventDatesWindow, TheSelectedEventsTextsAreReadAgainInTheOrderChosen)
{
    FTPerson* ann = FTPerson::initInMoc(moc, "Ann Lee", "F");
    auto imported = [&](const QString& text, const QString& date) {
        FTEvent* e = FTEvent::initInMoc(moc, FTEvent::OtherPersonalEvent, ann, "RESI");
        e->setDate(date);
        e->setGedcomDate(text);
        return e;
    };
    FTEvent* march = imported("12/3/1901", "03 Dec 1901");
    FTEvent* about = imported("ABT1850", "1850");
    FTEvent* untouched = imported("4/5/1920", "05 Apr 1920");
    moc->saveMoc();
    EventDatesEditor* e = open();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->eventsModel()->rowCount(), moc->count<FTEvent>([](const FTEvent*) { return true; }));

    selectRows(e, {march, about});
    e->interpretDateAsDMY();
    EXPECT_EQ(march->date(), "12 Mar 1901");
    EXPECT_EQ(about->date(), "abt 1850");
    EXPECT_EQ(untouched->date(), "05 Apr 1920");
    const int row = int(e->eventsModel()->events().indexOf(march));
    EXPECT_EQ(e->eventsModel()->data(e->eventsModel()->index(row, EventDatesModel::DateColumn)), "12 Mar 1901");
    e->interpretDateAsMDY();
    EXPECT_EQ(march->date(), "03 Dec 1901");

    // Sorting by date keeps the events selected.
    e->sortByYearMonthDate();
    QList<FTEvent*> selected;
    for (const QModelIndex& index : e->tv_Events()->selectionModel()->selectedRows())
        selected << e->eventsModel()->event(index.row());
    EXPECT_THAT(selected, ::testing::UnorderedElementsAre(march, about));
    e->tv_Events()->scrollTo(e->eventsModel()->index(int(e->eventsModel()->events().indexOf(about)), 0));
    saveScreenshot(e, "EventDatesEditor");

    // Nothing selected: the user is told.
    e->tv_Events()->selectionModel()->clearSelection();
    prompts.clear();
    e->interpretDateAsYMD();
    EXPECT_THAT(texts(), ElementsAre(L("SelectEventTryAgain")));

    // Closing saves the database.
    EXPECT_TRUE(moc->hasChanges());
    e->done(0);
    settleEvents();
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_GE(refreshes, 1);
}

TEST_F(EventDatesWindow, ADateTypedInPlaceIsCheckedBeforeItIsStored)
{
    FTPerson* ann = FTPerson::initInMoc(moc, "Ann Lee", "F");
    FTEvent* census = FTEvent::initInMoc(moc, FTEvent::OtherPersonalEvent, ann, "CENS");
    census->setDate("1911");
    EventDatesEditor* e = open();
    ASSERT_NE(e, nullptr);
    const QModelIndex cell = e->eventsModel()->index(int(e->eventsModel()->events().indexOf(census)),
        EventDatesModel::DateColumn);
    ASSERT_TRUE(e->tv_Events()->editCell(cell));
    EditorTableView::setEditorText(e->tv_Events()->currentEditor(), "31 Feb 1911");
    EXPECT_FALSE(e->tv_Events()->endEditing());
    EXPECT_FALSE(prompts.records.isEmpty());
    EXPECT_EQ(census->date(), "1911");
    EditorTableView::setEditorText(e->tv_Events()->currentEditor(), "2 apr 1911");
    EXPECT_TRUE(e->tv_Events()->endEditing());
    EXPECT_EQ(census->date(), "02 Apr 1911");
    e->done(0);
}
