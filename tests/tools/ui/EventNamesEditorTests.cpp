// The event names editor as the Events menu opens it: the types, the names of a type, the events of a name,
// renaming by editing the list, and the type kept for the next opening.

#include "ToolsWindowFixture.h"

#include "tools/EventsByDateModel.h"
#include "tools/TextListModel.h"
#include "tools/ui/EventNamesEditor.h"

#include "editor/ui/EditorTableView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

class EventNamesWindow : public ToolsWindowFixture {
protected:
    void TearDown() override
    {
        EventNamesEditor::setPreviousEventSubtypeIndex(0);
        EventNamesEditor::setPrevSize({0, 0});
        ToolsWindowFixture::TearDown();
    }
    EventNamesEditor* open()
    {
        ToolsMenuActions::editEventNames();
        return sheet<EventNamesEditor>();
    }
};

TEST_F(EventNamesWindow, ChoosingATypeAndANameAndRenamingItInItsEvents)
{
    EventNamesEditor* e = open();
    ASSERT_NE(e, nullptr);
    QComboBox* types = e->subtypeComboBox();
    const int occupation = types->findText("Occupation");
    ASSERT_GE(occupation, 0);
    types->setCurrentIndex(occupation);
    Q_EMIT types->activated(occupation);
    const QStringList names = e->eventNamesModel()->texts();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_FALSE(names.contains("Occupation"));
    const QString name = names.first();
    e->selectEventName(name);
    const QList<FTEvent*> events = e->eventsModel()->events();
    ASSERT_FALSE(events.isEmpty());
    for (const FTEvent* ev : events)
        EXPECT_EQ(ev->name(), name);
    saveScreenshot(e, "EventNamesEditor");

    // A year narrows the events, not the names.
    const QString year = QString::number(events.first()->year());
    e->eventYearFilterField()->setText(year);
    EXPECT_EQ(e->eventNamesModel()->texts(), names);
    for (const FTEvent* ev : e->eventsModel()->events())
        EXPECT_EQ(QString::number(ev->year()), year);

    const int row = e->eventNamesModel()->rowOf(name);
    ASSERT_TRUE(e->tv_EventNames()->editCell(e->eventNamesModel()->index(row, 0)));
    EditorTableView::setEditorText(e->tv_EventNames()->currentEditor(), "Zookeeper");
    ASSERT_TRUE(e->tv_EventNames()->endEditing());
    settleEvents();
    const int renamed = moc->count<FTEvent>([](const FTEvent* ev) { return ev->name() == "Zookeeper"; });
    EXPECT_GT(renamed, 0);
    EXPECT_LT(renamed, events.size() + 1);
    EXPECT_THAT(texts(), ElementsAre(QString("%1 %2 \"%3\" %4 \"Zookeeper\".")
                                         .arg(renamed).arg(L("occurrencesOf"), name, L("areReplaced"))));
    EXPECT_EQ(e->eventYearFilterField()->text(), "");
    EXPECT_TRUE(e->eventNamesModel()->texts().contains("Zookeeper"));
    EXPECT_EQ(e->eventsModel()->events().size(), renamed);

    // The type chosen last is chosen again next time.
    e->done(0);
    EventNamesEditor* again = open();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->subtypeComboBox()->currentText(), "Occupation");
}

TEST_F(EventNamesWindow, DeletingAnEventTakesItOutOfTheTable)
{
    EventNamesEditor* e = open();
    ASSERT_NE(e, nullptr);
    e->findChild<QPushButton*>("deleteEvent")->click();
    EXPECT_THAT(texts(), ElementsAre(L("SelectEventTryAgain")));
    const int occupation = e->subtypeComboBox()->findText("Occupation");
    e->subtypeComboBox()->setCurrentIndex(occupation);
    Q_EMIT e->subtypeComboBox()->activated(occupation);
    e->selectEventName(e->eventNamesModel()->text(0));
    const int before = e->eventsModel()->rowCount();
    ASSERT_GT(before, 0);
    e->tv_Events()->selectRow(0);
    FTEvent* doomed = e->selectedEvent();
    e->findChild<QPushButton*>("deleteEvent")->click();
    EXPECT_EQ(e->eventsModel()->rowCount(), before - 1);
    EXPECT_EQ(e->eventsModel()->rowOf(doomed), -1);
    EXPECT_GE(refreshes, 1);
}
