// The rules of the events page that need no window: column widths and row heights, the keys while editing, event
// name completion, the add-event menus, and the commands on events with their menu and tool tips.
#include "../model/PeopleFixture.h"

#include "editor/AddEventMenu.h"
#include "editor/EventNameCompletion.h"
#include "editor/EventsPageCommands.h"
#include "editor/EventsTableKeys.h"
#include "editor/EventsTableLayout.h"

#include "diagrams/TextMeasurer.h"

#include "model/EventInfo.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/NotificationCenter.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using Layout = EventsTableLayout;
using Keys = EventsTableKeys;

namespace {

TEST(EventsTableLayoutTest, ColumnsTakeTheirShareOfTheWidthAndNotesWhatIsLeft)
{
    struct Case {
        double width;
        int details;
        Layout::Widths expected;
    };
    for (const Case& c : {
             // 920 - (22 + 40 + 40 + 240 + 100 + 180 + 45) - 24 = 229
             Case{920, 22, {22, 40, 40, 240, 100, 180, 45, 229}},
             Case{1840, 22, {22, 80, 80, 480, 200, 360, 90, 504}},
             // Whole points only: 1000·40/920 = 43.48 ...
             Case{1000, 0, {0, 43, 43, 260, 108, 195, 48, 279}},
             // Narrow tables keep a usable notes column.
             Case{460, 22, {22, 20, 20, 120, 50, 90, 22, 100}},
         }) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(Layout::columnWidths(c.width, c.details), c.expected);
    }
    // Minimums widen the narrow columns; the notes give the room, down to their own minimum of 100.
    Layout::Widths minimums {};
    minimums[Layout::EventType] = 50;
    minimums[Layout::Date] = 90;
    minimums[Layout::Notes] = 500; // not a fixed column: left to what remains
    EXPECT_EQ(Layout::columnWidths(920, 22, minimums), (Layout::Widths {22, 50, 40, 240, 100, 180, 45, 219}));
    EXPECT_EQ(Layout::columnWidths(460, 22, minimums), (Layout::Widths {22, 50, 20, 120, 90, 90, 22, 100}));
    EXPECT_EQ(Layout::identifier(Layout::EventName), "eventName");
    EXPECT_EQ(Layout::columnForIdentifier("notes"), Layout::Notes);
    EXPECT_EQ(Layout::columnForIdentifier("other"), -1);
}

class EventsTableHeights : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        QFont font;
        font.setPointSize(20); // a line is 24 points, so the line height is 24 × 1.077 = 25
        layout.setFont(font);
        layout.setNotesWidth(200); // 194 points of text: 19 characters a line
        john = person("John Smith", M());
        for (const QString& notes : {QString(), QString(50, 'a'), QString("one\ntwo"), QString(3000, 'b')}) {
            FTEvent* e = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, john, "OCCU");
            e->setNotes(notes);
            rows.push_back(std::make_unique<EventInfo>(e, john, EventInfo::Own, 0));
        }
        rows.push_back(std::make_unique<EventInfo>(nullptr, john, EventInfo::Own, 0));
        layout.calculateRowHeightForAllRows(rows);
    }
    void TearDown() override
    {
        rows.clear(); // they stop observing their events while the database is still there
        PeopleFixture::TearDown();
    }
    FixedTextMeasurer measurer{0.5, 1.2};
    Layout layout{&measurer};
    FTPerson* john = nullptr;
    Layout::Rows rows;
};

TEST_F(EventsTableHeights, OnlyRowsShowingTheirNotesInFullAreTall)
{
    EXPECT_EQ(layout.lineHeight(), 25);
    EXPECT_THAT(std::vector<float>({rows[0]->rowHeight(), rows[1]->rowHeight(), rows[2]->rowHeight(),
                                    rows[3]->rowHeight(), rows[4]->rowHeight()}),
                ElementsAre(25.f, 72.f, 48.f, 1000.f, 25.f));
    struct Case {
        size_t row;
        bool selected, multiLine;
        int height;
        bool darkRed;
    };
    for (const Case& c : {
             Case{1, false, false, 28, true},  // three lines cut to one, drawn dark red
             Case{1, true, false, 75, false},  // the selected row grows
             Case{1, false, true, 75, false},  // every row shows its notes in full
             Case{2, false, false, 28, true},  // a line break hides the second line
             Case{0, true, true, 28, false},   // no notes: one line
             Case{3, true, false, 1003, false}, // notes are measured no higher than 1000
             Case{4, true, true, 28, false},   // the "no death date" row
         }) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(layout.heightOfRow(*rows[c.row], c.selected, c.multiLine), c.height);
        EXPECT_EQ(layout.notesAreCutOff(*rows[c.row], c.selected, c.multiLine), c.darkRed);
    }
    // While typing, the height of the text typed; outside the list, one line.
    const QString typed(40, 'c');
    EXPECT_EQ(layout.calculateRowHeightForRow(rows, 0, &typed), 72.f);
    EXPECT_EQ(layout.calculateRowHeightForRow(rows, 9), 25.f);
    // A cut-off cell shows its full text as a tool tip; notes only while they are cut to one line.
    EXPECT_TRUE(Layout::offersCellExpansion(Layout::Notes, false, false));
    EXPECT_FALSE(Layout::offersCellExpansion(Layout::Notes, true, false));
    EXPECT_FALSE(Layout::offersCellExpansion(Layout::Notes, false, true));
    EXPECT_TRUE(Layout::offersCellExpansion(Layout::Place, true, true));
}

TEST(EventsTableKeysTest, TabAndArrowsMoveBetweenRows)
{
    using C = Keys::Command;
    struct Case {
        const char* what;
        int column;
        C command;
        int row;
        bool handled;
        int selectRow, editColumn;
        bool lineBreak;
    };
    const int n = 5;
    for (const Case& c : {
             Case{"Tab in notes: the next row's name", Layout::Notes, C::InsertTab, 1, true, 2, Layout::EventName, false},
             Case{"Tab in the last notes: the first row's name", Layout::Notes, C::InsertTab, 4, true, 0,
                  Layout::EventName, false},
             Case{"Return in notes: a new line", Layout::Notes, C::InsertNewline, 2, true, -1, -1, true},
             Case{"arrows in notes move the caret", Layout::Notes, C::MoveDown, 2, false, -1, -1, false},
             Case{"Shift-Tab in a name: the row above's notes", Layout::EventName, C::InsertBacktab, 3, true, 2,
                  Layout::Notes, false},
             Case{"Shift-Tab in the first name: swallowed", Layout::EventName, C::InsertBacktab, 0, true, -1, -1,
                  false},
             Case{"Shift-Tab in a date: the usual move", Layout::Date, C::InsertBacktab, 3, false, -1, -1, false},
             Case{"Tab in a place: the usual move", Layout::Place, C::InsertTab, 3, false, -1, -1, false},
             Case{"down: the next row", Layout::Date, C::MoveDown, 3, true, 4, -1, false},
             Case{"down in the last row: the usual", Layout::Date, C::MoveDown, 4, false, -1, -1, false},
             Case{"up: the row above", Layout::Place, C::MoveUp, 1, true, 0, -1, false},
             Case{"up in the first row: the usual", Layout::EventName, C::MoveUp, 0, false, -1, -1, false},
             Case{"Alt-Return outside the notes: swallowed", Layout::Place, C::InsertNewlineIgnoringFieldEditor, 2,
                  true, -1, -1, false},
             Case{"Return outside the notes ends the edit as usual", Layout::Date, C::InsertNewline, 2, false, -1, -1,
                  false},
         }) {
        SCOPED_TRACE(c.what);
        const Keys::Move m = Keys::move(c.column, c.command, c.row, n);
        EXPECT_EQ(m.handled, c.handled);
        EXPECT_EQ(m.selectRow, c.selectRow);
        EXPECT_EQ(m.editColumn, c.editColumn);
        EXPECT_EQ(m.insertLineBreak, c.lineBreak);
    }
}

TEST(EventNameCompletionTest, OnlyAKeystrokeAtTheEndCompletes)
{
    QStringList asked;
    const EventNameCompletion::Lookup names = [&asked](const QString& tag) {
        asked << tag;
        return QStringList{"Élève pilot", "Farm labourer", "Farmer", "Miller"};
    };
    EventNameCompletion c;
    int field = 0;
    const int occu = FTEvent::OtherPersonalEvent;
    struct Step {
        QString text;
        int caret;
        QString completed;
    };
    // Typing on completes, case and diacritics ignored; deleting, editing in the middle or pasting never does.
    const QList<Step> steps = {
        {"f", 1, "Farm labourer"}, {"fa", 2, "Farm labourer"}, {"far", 3, "Farm labourer"},
        {"fa", 2, ""},            {"fae", 2, ""},             {"faer", 4, ""},
        {"el", 2, ""},            {"e", 1, ""},              {"el", 2, "Élève pilot"},
        {"elx", 3, ""},           {"miller and baker", 16, ""},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.text.toStdString());
        EXPECT_EQ(c.complete(&field, 1, 3, s.text, s.caret, occu, "OCCU", names), s.completed);
    }
    EXPECT_EQ(asked.first(), "OCCU");

    // Another cell starts afresh: its first keystroke of a longer text does not count as typing on.
    EXPECT_EQ(c.complete(&field, 2, 3, "m", 1, occu, "OCCU", names), "Miller");
    int other = 0;
    EXPECT_EQ(c.complete(&other, 2, 3, "mi", 2, occu, "OCCU", names), "");
    // Births, deaths and marriages have a person's name there; an event without a tag has no names.
    asked.clear();
    EXPECT_EQ(c.complete(&other, 2, 3, "mil", 3, FTEvent::MarriageEvent, "MARR", names), "");
    EXPECT_EQ(c.complete(&other, 3, 3, "m", 1, occu, "", names), "");
    EXPECT_TRUE(asked.isEmpty());
}

// The menu as text: "-" a separator, "[title: a, b]" a submenu.
QStringList menuText(const QList<AddEventMenu::Entry>& entries)
{
    QStringList out;
    for (const AddEventMenu::Entry& e : entries) {
        if (e.kind == AddEventMenu::Entry::Separator)
            out << "-";
        else if (e.kind == AddEventMenu::Entry::Submenu)
            out << "[" + e.title + ": " + menuText(e.items).join(", ") + "]";
        else
            out << e.title;
    }
    return out;
}

class AddEventMenuTest : public PeopleFixture { };

TEST_F(AddEventMenuTest, RunsOfLdsNamesBecomeSubmenusAndTheMarriageEntryComesLast)
{
    const QString lds = "[" + LocalizedString("LDS Events");
    const QString marriage = LocalizedString("MarriageEvents");
    struct Case {
        QStringList names;
        QStringList menu;
    };
    for (const Case& c : {
             Case{{"Baptism", "LDS Baptism", "LDS Confirmation", "LDS Endowment", "Will"},
                  {"Baptism", lds + ": LDS Baptism, LDS Confirmation, LDS Endowment]", "Will", "-", marriage}},
             Case{{"LDS Baptism", "Burial", "SEPARATOR", "LDS Endowment"},
                  {lds + ": LDS Baptism]", "Burial", "-", lds + ": LDS Endowment]", "-", marriage}},
             Case{{}, {"-", marriage}},
         }) {
        SCOPED_TRACE(c.names.join(", ").toStdString());
        EXPECT_THAT(menuText(AddEventMenu::eventMenu(c.names)), ElementsAreArray(c.menu));
    }
    // The events page offers births and deaths and the four LDS ordinances in one submenu.
    const QStringList page = menuText(AddEventMenu::eventMenu(AddEventMenu::eventsPageEventNames()));
    EXPECT_TRUE(page.contains("Birth") && page.contains("Death") && page.contains("Other Event"));
    EXPECT_EQ(page.filter(lds).size(), 1);
    EXPECT_FALSE(menuText(AddEventMenu::eventMenu(AddEventMenu::defaultEventNames())).contains("Birth"));
    EXPECT_THAT(menuText(AddEventMenu::marriageEventMenu()),
                ElementsAre("Divorce Filed", "Divorced", "Engaged", "LDS Spouse Sealing", "Marriage Annulled",
                            "Marriage Banns", "Marriage Contract", "Marriage Licence", "Marriage Settlement",
                            "Other Event"));
}

TEST_F(AddEventMenuTest, AChoiceBecomesItsTag)
{
    struct Case {
        QString name;
        QString tag;
    };
    const QString none = LocalizedString("None");
    for (const Case& c : {Case{"Baptism", "BAPM"}, Case{"Baptism (as an adult)", "BAPM"},
                          Case{"Christening(Adult)", "CHRA"}, Case{"LDS Baptism", "BAPL"}, Case{none, none},
                          Case{"Knighthood", ""}, Case{"Divorced", "DIV"}}) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(AddEventMenu::tagForEventChoice(c.name), c.tag);
    }
    EXPECT_TRUE(prompts.records.isEmpty());
    // Marriage events are not added here: the entry only says where they are.
    EXPECT_EQ(AddEventMenu::tagForEventChoice(LocalizedString("MarriageEvents")), "");
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("marriageEventsMisuse"));

    EXPECT_EQ(AddEventMenu::tagForMarriageEventChoice("Divorced"), "DIV");
    EXPECT_EQ(AddEventMenu::tagForMarriageEventChoice("Divorced (twice)"), "");
    EXPECT_EQ(AddEventMenu::tagForMarriageEventChoice(none), "");
    // Beside the button: its right edge, 4 points higher than its bottom for each entry.
    EXPECT_EQ(AddEventMenu::popupPoint(QRect(10, 20, 100, 30), 12), QPoint(110, 2));
}

class EventsPageCommandsTest : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        john = person("John Smith", M());
        census = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, john, "CENS");
        census->setDate("3 Apr 1881");
        census->setPlace("Leeds");
        moc->undoManager()->closeOpenGroups();
    }
    QStringList menu(const EventInfo* row)
    {
        QStringList out;
        for (const auto& item : EventsPageCommands::contextMenu(row, moc.get()))
            out << (item.action == EventsPageCommands::MenuItem::Separator ? QString("-")
                                                                           : item.title + (item.enabled ? "" : " (off)"));
        return out;
    }
    FTPerson* john = nullptr;
    FTEvent* census = nullptr;
};

TEST_F(EventsPageCommandsTest, ASecondBirthOrDeathIsRefused)
{
    FTEvent* birth = EventsPageCommands::addEventWithType(john, "BIRT");
    ASSERT_NE(birth, nullptr);
    EXPECT_EQ(birth->type(), FTEvent::BirthEvent);
    EXPECT_EQ(john->birth(), birth);
    EXPECT_EQ(EventsPageCommands::addEventWithType(john, "BIRT"), nullptr);
    ASSERT_EQ(EventsPageCommands::addEventWithType(john, "DEAT")->type(), FTEvent::DeathEvent);
    EXPECT_EQ(EventsPageCommands::addEventWithType(john, "DEAT"), nullptr);
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].text, "John Smith " + LocalizedString("alreadyHasBirth"));
    EXPECT_EQ(prompts.records[1].text, "John Smith " + LocalizedString("alreadyHasDeath"));

    FTEvent* emigration = EventsPageCommands::addEventWithType(john, "EMIG");
    EXPECT_EQ(emigration->type(), FTEvent::OtherPersonalEvent);
    EXPECT_EQ(emigration->subtype(), "EMIG");
    EXPECT_EQ(emigration->owner(), john);
}

TEST_F(EventsPageCommandsTest, DeletingIsUndoneAndTellsTheViews)
{
    QList<const void*> changed;
    NotificationCenter::defaultCenter().addObserver(
        "PersonNameOrDateChanged", nullptr, [&changed](const Notification& n) { changed << n.object; }, this);
    EventsPageCommands::eventRemove(census, john);
    NotificationCenter::defaultCenter().removeObserversOf(this);
    EXPECT_TRUE(census->isDeleted());
    EXPECT_TRUE(changed.contains(john));
    moc->undoManager()->closeOpenGroups();
    EXPECT_EQ(moc->undoManager()->undoActionName(), LocalizedString("DeleteEvent") + ": Census");
    moc->undoManager()->undo();
    EXPECT_FALSE(census->isDeleted());
    EXPECT_EQ(john->otherEvents(), QList<FTEvent*>{census});
}

TEST_F(EventsPageCommandsTest, OnlyCensusesMigrationsOtherEventsAndResidencesCanBeActive)
{
    FTEvent* birth = EventsPageCommands::addEventWithType(john, "BIRT");
    EXPECT_FALSE(EventsPageCommands::activeEventSave(birth));
    EXPECT_EQ(EventsPageCommands::activeEvent(moc.get()), nullptr);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("CloneEvent") + "\nCENS - Census\nEMIG - Emigration\nIMMI - "
                                                         "Immigration\nEVEN - Other Event\nRESI - Residence\n\n"
                                           + LocalizedString("CloneEvent2"));
    EXPECT_EQ(prompts.records[0].info, LocalizedString("CloneEeventInfo"));

    EXPECT_TRUE(EventsPageCommands::activeEventSave(census));
    EXPECT_EQ(EventsPageCommands::activeEvent(moc.get()), census);

    // The clone takes the event's citations along and says so.
    FTSource* source = FTSource::initInMoc(moc.get());
    FTSourceRel::initInMoc(moc.get(), source, census, "");
    FTSourceRel::initInMoc(moc.get(), FTSource::initInMoc(moc.get()), census, "");
    FTPerson* mary = person("Mary Brown", F());
    prompts.clear();
    FTEvent* clone = EventsPageCommands::activeEventClone(moc.get(), mary);
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->owner(), mary);
    EXPECT_EQ(clone->date(), "03 Apr 1881");
    EXPECT_EQ(clone->sourceRels().size(), 2);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "2 Source References have also been cloned.");

    EventsPageCommands::activeEventDeactivate(moc.get());
    EXPECT_EQ(EventsPageCommands::activeEventClone(moc.get(), mary), nullptr);
}

TEST_F(EventsPageCommandsTest, TheContextMenuNamesTheActiveEventAndSource)
{
    EventInfo row(census, john, EventInfo::Own, 0);
    EventInfo placeholder(nullptr, john, EventInfo::Own, 0);
    const QString cloneOff = LocalizedString("CloneActiveEvent") + " (off)";
    const QString cite = LocalizedString("AddRefToSource");
    EXPECT_THAT(menu(&row), ElementsAre(LocalizedString("EditEvent"), LocalizedString("DeleteEvent"), "-",
                                        LocalizedString("MakeItTheActiveEvent"), cloneOff, "-", LocalizedString("CiteNoActiveSource"), "-",
                                        LocalizedString("GoogleMaps")));
    EXPECT_TRUE(menu(&placeholder).isEmpty());
    EXPECT_TRUE(menu(nullptr).isEmpty());

    // With an active event and an active source; an event without a place has no map entry.
    EventsPageCommands::activeEventSave(census);
    FTSource* source = FTSource::initInMoc(moc.get());
    source->setType("Census return");
    moc->setActiveSource(source);
    census->setPlace("");
    const QString clone = LocalizedString("CloneActiveEvent") + " \"Census " + LocalizedString("ConjunctiveOn")
        + " 03 Apr 1881\"";
    const QString deactivate = LocalizedString("DeactivateEvent") + " \"Census " + LocalizedString("ConjunctiveOn")
        + " 03 Apr 1881\"";
    EXPECT_THAT(menu(&row),
                ElementsAre(LocalizedString("EditEvent"), LocalizedString("DeleteEvent"), "-",
                            LocalizedString("MakeItTheActiveEvent"), clone, deactivate, "-",
                            cite + " " + QString::number(source->numericId()) + " (Census return)"));
    EXPECT_THAT(menu(nullptr), ElementsAre(clone));
    EXPECT_THAT(menu(&placeholder), ElementsAre(clone));
}

TEST_F(EventsPageCommandsTest, CitingWithoutAnActiveSourceOffersToChooseOne)
{
    int opened = 0;
    prompts.answer(1);
    EventsPageCommands::attachEventToActiveSource(census, [&opened] { ++opened; });
    EXPECT_EQ(opened, 0);
    prompts.answer(0);
    EventsPageCommands::attachEventToActiveSource(census, [&opened] { ++opened; });
    EXPECT_EQ(opened, 1);
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("NoSourceActivate"));
    EXPECT_EQ(prompts.records[0].buttons,
              QStringList({LocalizedString("ActivateSource"), LocalizedString("Cancel")}));
    EXPECT_TRUE(census->sourceRels().isEmpty());

    FTSource* source = FTSource::initInMoc(moc.get());
    moc->setActiveSource(source);
    EventsPageCommands::attachEventToActiveSource(census, [&opened] { ++opened; });
    ASSERT_EQ(census->sourceRels().size(), 1);
    EXPECT_EQ(census->sourceRels()[0]->source(), source);
    EXPECT_EQ(citationSheets.sheets.size(), 1);
}

TEST_F(EventsPageCommandsTest, TheCitationsToolTipHasNoBlankLines)
{
    EventInfo row(census, john, EventInfo::Own, 0);
    EXPECT_EQ(EventsPageCommands::citationsToolTip(row), "");
    FTSource* first = FTSource::initInMoc(moc.get());
    first->setTitle("Parish register");
    FTSourceRel::initInMoc(moc.get(), first, census, "")->setNotes("Page torn\n\nat the foot");
    FTSource* second = FTSource::initInMoc(moc.get());
    second->setTitle("Census 1881");
    FTSourceRel::initInMoc(moc.get(), second, census, "");
    const QString tip = EventsPageCommands::citationsToolTip(row);
    EXPECT_EQ(tip, QString("%1: %2\n%3\nPage torn\nat the foot\n**********************\n%1: %4\n%5\n")
                       .arg(LocalizedString("Source"))
                       .arg(first->numericId())
                       .arg(first->shortDescription())
                       .arg(second->numericId())
                       .arg(second->shortDescription()));
}

}
