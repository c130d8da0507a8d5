// The events page in a database's main window: the list drawn, editing in place with its checks and keys, adding
// and deleting events, the context menu and the windows it opens.
#include "EditorFixture.h"

#include "editor/EventsTableLayout.h"
#include "editor/ui/AddEventButton.h"
#include "editor/ui/EventsTableModel.h"
#include "editor/ui/InfoArea_Events.h"
#include "editor/ui/InfoArea_Events_TableView.h"

#include "model/EventInfo.h"
#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTSpouseRel.h"

#include "platform/NotificationCenter.h"
#include "platform/store/Key.h"

#include "platform/Localizer.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTextEdit>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Layout = EventsTableLayout;

namespace {

class EventsPageWindow : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        UserDefaults::standard().setBool("includeRelatedEvents", true);
        UserDefaults::standard().setBool("multiLineNotesForEventPane", false);
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        doc = open("Family.RezUdu");
        ASSERT_NE(doc, nullptr);
        moc = doc->moc();
        editor = editorOf(doc);
        doc->dovurWindow()->resize(1280, 760);

        john = FTPerson::initInMoc(moc, "John Smith", "M");
        john->setValueForKeyPath("birth.date", "5 Jan 1900");
        john->setValueForKeyPath("birth.place", "Leeds, Yorkshire");
        john->setValueForKeyPath("birth.notes", "Born at home in Kirkgate, the third son.");
        census = event(FTEvent::OtherPersonalEvent, "CENS", "3 Apr 1911", "Leeds, Yorkshire",
                       "Living with his parents and two brothers.\nOccupation given as errand boy.\nThe house had "
                       "four rooms.");
        event(FTEvent::OtherPersonalEvent, "OCCU", "1925", "Armley", "Miller at the Castle Mill.");
        mary = FTPerson::initInMoc(moc, "Mary Brown", "F");
        FTSpouseRel* couple = john->addSpouseRel(mary);
        couple->setValueForKeyPath("marriage.date", "12 Jun 1924");
        couple->setValueForKeyPath("marriage.place", "St Peter's, Leeds");
        FTPerson* ann = FTPerson::initInMoc(moc, "Ann Smith", "F");
        john->attachChild(ann, 1, false, nullptr);
        ann->setValueForKeyPath("birth.date", "2 Mar 1926");
        moc->undoManager()->closeOpenGroups();

        ASSERT_TRUE(editor->choosePage("pEvents"));
        page = qobject_cast<InfoArea_Events*>(editor->page("pEvents"));
        ASSERT_NE(page, nullptr);
        table = page->tableView();
        select(john);
        drawn();
    }
    FTEvent* event(int type, const char* tag, const QString& date, const QString& place, const QString& notes)
    {
        FTEvent* e = FTEvent::initInMoc(moc, type, john, tag);
        e->setDate(date);
        e->setPlace(place);
        e->setNotes(notes);
        return e;
    }
    void drawn()
    {
        QApplication::processEvents();
        doc->dovurWindow()->repaint();
    }
    EventsTableModel* model() const { return page->eventsModel(); }
    int rowOf(const FTEvent* e) const { return model()->rowOf(e); }
    QStringList rowNames() const
    {
        QStringList out;
        for (int r = 0; r < model()->rowCount(); ++r)
            out << model()->text(r, Layout::EventName);
        return out;
    }
    QRect cell(int row, int column) const { return table->visualRect(model()->index(row, column)); }
    void click(int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPoint at = cell(row, column).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, table->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, modifiers);
        QApplication::sendEvent(table->viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, table->viewport()->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, modifiers);
        QApplication::sendEvent(table->viewport(), &release);
    }
    QLineEdit* lineEditor() const { return qobject_cast<QLineEdit*>(table->currentEditor()); }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    InfoAreaController* editor = nullptr;
    InfoArea_Events* page = nullptr;
    InfoArea_Events_TableView* table = nullptr;
    FTPerson* john = nullptr;
    FTPerson* mary = nullptr;
    FTEvent* census = nullptr;
};

TEST_F(EventsPageWindow, TheListIsBuiltJustBeforeTheTableDraws)
{
    EXPECT_FALSE(page->refreshEventsArray());
    EXPECT_THAT(rowNames(), ElementsAre("John Smith " + LocalizedString("wasBorn"), "Census",
                                        LocalizedString("Married") + " Mary Brown", "Occupation", ::testing::Truly([](const QString& s) { return s.contains("Ann Smith"); }),
                                        "(" + LocalizedString("NoDeathDate") + " John Smith)"));
    EXPECT_EQ(model()->headerData(Layout::EventName, Qt::Horizontal, Qt::DisplayRole).toString(),
              LocalizedString("EventsIn") + " John Smith's " + LocalizedString("lifetime"));
    // The widths follow the table's width; the tags, ages and dates show whole in the narrowest window too.
    for (const int width : {1280, DOvurDocument::kMinWidth}) {
        SCOPED_TRACE(width);
        doc->dovurWindow()->resize(width, 760);
        drawn();
        const Layout::Widths widths = Layout::columnWidths(table->viewport()->width(), table->kDetailsButtonsWidth);
        for (int c : {Layout::EventName, Layout::Place})
            EXPECT_EQ(table->columnWidth(c), widths[size_t(c)]) << c;
        for (int r = 0; r < model()->rowCount(); ++r)
            for (int c : {Layout::EventType, Layout::AgeAtEvent, Layout::Date}) {
                const QString text = model()->index(r, c).data().toString();
                EXPECT_GE(table->columnWidth(c), table->fontMetrics().horizontalAdvance(text) + 2 * Layout::kCellMargin)
                    << text.toStdString();
            }
    }
    doc->dovurWindow()->resize(1280, 760);
    drawn();

    // Another person sets the flag; nothing is built until the window draws.
    select(mary);
    EXPECT_TRUE(page->refreshEventsArray());
    EXPECT_EQ(rowOf(census), 1);
    drawn();
    EXPECT_FALSE(page->refreshEventsArray());
    EXPECT_EQ(rowOf(census), -1);
    select(john);
    drawn();

    // Cut-off notes are one line, the selected row shows them in full.
    const int row = rowOf(census);
    const int oneLine = int(page->layout().lineHeight()) + Layout::kRowPadding;
    EXPECT_EQ(table->rowHeight(row), oneLine);
    EXPECT_TRUE(page->layout().notesAreCutOff(*model()->row(row), false, false));
    table->selectRow(row);
    EXPECT_GT(table->rowHeight(row), 2 * oneLine);
    table->selectRow(0);
    EXPECT_EQ(table->rowHeight(row), oneLine);
    // The source numbers explain the citations; a cut-off cell shows its full text.
    EXPECT_THAT(table->toolTipForCell(row, Layout::Notes).toStdString(), HasSubstr("four rooms"));
    saveScreenshot(doc->dovurWindow(), "editor-events-page");

    page->setMultiLineNotes(true);
    EXPECT_TRUE(UserDefaults::standard().boolForKey("multiLineNotesForEventPane"));
    EXPECT_GT(table->rowHeight(row), 2 * oneLine);
    EXPECT_TRUE(table->horizontalGridLines());
    EXPECT_EQ(table->toolTipForCell(row, Layout::Notes), "");
    drawn();
    saveScreenshot(doc->dovurWindow(), "editor-events-page-multiline");
}

TEST_F(EventsPageWindow, ASecondBirthIsRefusedAndANewEventOpensItsName)
{
    const QStringList before = rowNames();
    page->addEventWithType("BIRT");
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "John Smith " + LocalizedString("alreadyHasBirth"));
    EXPECT_EQ(rowNames(), before);
    EXPECT_EQ(table->currentEditor(), nullptr);

    // A new event is the top row, its name open for typing with the caret at the end.
    page->addEventWithType("EMIG");
    FTEvent* emigration = model()->row(0)->pEvent();
    ASSERT_NE(emigration, nullptr);
    EXPECT_EQ(emigration->subtype(), "EMIG");
    EXPECT_EQ(table->selectedRow(), 0);
    EXPECT_EQ(table->editingIndex(), model()->index(0, Layout::EventName));
    QLineEdit* name = lineEditor();
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), "Emigration");
    EXPECT_FALSE(name->hasSelectedText());
    EXPECT_EQ(name->cursorPosition(), name->text().size());
    name->selectAll();
    type(name, "To Canada");
    key(name, Qt::Key_Return);
    EXPECT_EQ(emigration->name(), "To Canada");
    EXPECT_EQ(table->currentEditor(), nullptr);
    EXPECT_EQ(model()->text(0, Layout::EventName), "To Canada");

    // The same through the button's menu; a new birth's name cell holds the person's name.
    page->freeMemory();
    select(mary);
    drawn();
    QMenu* menu = page->addEventButton()->popUpMenu(QPoint(5, 5));
    QAction* birth = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == "Birth")
            birth = a;
    ASSERT_NE(birth, nullptr);
    birth->trigger();
    menu->close();
    ASSERT_NE(mary->birth(), nullptr);
    ASSERT_NE(lineEditor(), nullptr);
    EXPECT_EQ(lineEditor()->text(), "Mary Brown");
    EXPECT_TRUE(page->endEditing());
}

TEST_F(EventsPageWindow, ADeletedEventComesBackWithUndo)
{
    const QStringList before = rowNames();
    table->selectRow(rowOf(census));
    page->eventRemove();
    EXPECT_TRUE(census->isDeleted());
    EXPECT_EQ(rowOf(census), -1);
    EXPECT_EQ(rowNames().size(), before.size() - 1);
    FTMocUndoManager* undo = moc->undoManager();
    undo->closeOpenGroups();
    EXPECT_EQ(undo->undoActionName(), LocalizedString("DeleteEvent") + ": Census");

    doc->undo();
    drawn();
    EXPECT_FALSE(census->isDeleted());
    EXPECT_EQ(rowNames(), before);

    // Without a row there is nothing to delete or edit.
    table->clearSelection();
    prompts.clear();
    page->eventRemove();
    page->eventEdit();
    EXPECT_THAT(texts(), ElementsAre(LocalizedString("SelectEventTryAgain"), LocalizedString("SelectEventTryAgain")));
}

TEST_F(EventsPageWindow, TheContextMenuFollowsTheActiveEvent)
{
    auto titles = [](QMenu* menu) {
        QStringList out;
        if (menu)
            for (QAction* a : menu->actions())
                out << (a->isSeparator() ? QString("-") : a->text());
        delete menu;
        return out;
    };
    const int row = rowOf(census);
    const QStringList withoutActive = titles(table->createContextMenu(row));
    EXPECT_THAT(withoutActive, ElementsAre(LocalizedString("EditEvent"), LocalizedString("DeleteEvent"), "-",
                                           LocalizedString("MakeItTheActiveEvent"), LocalizedString("CloneActiveEvent"),
                                           "-", LocalizedString("CiteNoActiveSource"), "-",
                                           LocalizedString("GoogleMaps")));
    // Below the last row there is no menu without an active event.
    EXPECT_TRUE(titles(table->createContextMenu(-1)).isEmpty());
    const QPoint belowRows(200, table->viewport()->height() - 5);
    QContextMenuEvent below(QContextMenuEvent::Mouse, belowRows, table->viewport()->mapToGlobal(belowRows));
    QApplication::sendEvent(table->viewport(), &below);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    const QPoint inRow = cell(row, Layout::Place).center();
    QContextMenuEvent onRow(QContextMenuEvent::Mouse, inRow, table->viewport()->mapToGlobal(inRow));
    QApplication::sendEvent(table->viewport(), &onRow);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(table->selectedRow(), row);
    saveScreenshot(QApplication::activePopupWidget(), "editor-events-row-menu");
    QApplication::activePopupWidget()->close();

    // Making the census active through the menu.
    QMenu* menu = table->createContextMenu(row);
    menu->actions()[3]->trigger();
    delete menu;
    EXPECT_EQ(moc->activeEvent(), census);
    const QString clone = LocalizedString("CloneActiveEvent") + " \"Census " + LocalizedString("ConjunctiveOn")
        + " 03 Apr 1911\"";
    EXPECT_THAT(titles(table->createContextMenu(-1)), ElementsAre(clone));
    QApplication::sendEvent(table->viewport(), &below);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    saveScreenshot(popup, "editor-events-context-menu");
    popup->close();

    // Cloning onto Mary: her new census is the top row, its name being edited.
    select(mary);
    drawn();
    menu = table->createContextMenu(-1);
    menu->actions()[0]->trigger();
    delete menu;
    ASSERT_EQ(mary->otherEvents().size(), 1);
    EXPECT_EQ(model()->row(0)->pEvent(), mary->otherEvents()[0]);
    EXPECT_EQ(table->editingIndex(), model()->index(0, Layout::EventName));
    EXPECT_TRUE(page->endEditing());
}

TEST_F(EventsPageWindow, ABadDateStaysInItsCellWithTheMessage)
{
    const int row = rowOf(census);
    click(row, Layout::Date);
    QLineEdit* date = lineEditor();
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(table->editingIndex(), model()->index(row, Layout::Date));
    EXPECT_EQ(date->cursorPosition(), date->text().size());
    EXPECT_FALSE(date->hasSelectedText());
    date->selectAll();
    type(date, "31 Fbx 1911");
    key(date, Qt::Key_Return);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr(LocalizedHelpString("DateFormatHelp").toStdString()));
    EXPECT_EQ(lineEditor(), date);
    EXPECT_EQ(date->text(), "31 Fbx 1911");
    EXPECT_EQ(census->date(), "03 Apr 1911");
    EXPECT_TRUE(page->sortButton()->isVisible());
    // Other cells wait, and so does the page.
    click(0, Layout::Place);
    EXPECT_EQ(table->editingIndex(), model()->index(row, Layout::Date));
    EXPECT_FALSE(editor->chooseTab(0));
    // A command that saves first says so once, and the cell keeps the date.
    const qsizetype said = prompts.records.size();
    doc->prepareForCommand();
    EXPECT_EQ(prompts.records.size(), said + 1);
    EXPECT_EQ(lineEditor(), date);
    saveScreenshot(doc->dovurWindow(), "editor-events-refused-date");

    // A good date is written; the sort button puts the row in its place.
    date->selectAll();
    type(date, "2 Apr 1931");
    key(date, Qt::Key_Return);
    EXPECT_EQ(census->date(), "02 Apr 1931");
    EXPECT_EQ(table->currentEditor(), nullptr);
    EXPECT_EQ(rowOf(census), row);
    static_cast<QAbstractButton*>(page->sortButton())->click();
    drawn();
    EXPECT_EQ(rowOf(census), model()->rowCount() - 2);
    EXPECT_FALSE(page->sortButton()->isVisible());

    // A stored date that the check would refuse can be looked at and left as it is.
    census->setPrimitiveValue(Key("date"), QStringLiteral("Spring 1931"));
    model()->rowChanged(rowOf(census));
    prompts.clear();
    click(rowOf(census), Layout::Date);
    ASSERT_NE(lineEditor(), nullptr);
    EXPECT_EQ(lineEditor()->text(), "Spring 1931");
    key(lineEditor(), Qt::Key_Return);
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(table->currentEditor(), nullptr);
}

TEST_F(EventsPageWindow, TabAndShiftTabMoveBetweenRows)
{
    const int last = model()->rowCount() - 2; // the last row with an event
    click(last, Layout::Notes);
    QWidget* notes = table->currentEditor();
    ASSERT_NE(qobject_cast<QTextEdit*>(notes), nullptr);
    type(notes, " Second son.");
    // The row grows while its notes are typed.
    const int before = table->rowHeight(last);
    for (int i = 0; i < 6; ++i)
        type(notes, " And more notes.");
    EXPECT_GT(table->rowHeight(last), before);
    saveScreenshot(doc->dovurWindow(), "editor-events-notes-editing");
    key(notes, Qt::Key_Return, "\r");
    EXPECT_EQ(table->currentEditor(), notes);
    // Tab from the notes of the second-last row: the last row, then back to the first row's name.
    key(notes, Qt::Key_Tab);
    EXPECT_THAT(model()->row(last)->pEvent()->notes().toStdString(), HasSubstr("Second son."));
    EXPECT_FALSE(model()->row(last)->pEvent()->notes().endsWith('\n'));
    EXPECT_EQ(table->selectedRow(), last + 1);
    click(last, Layout::Notes);
    table->selectRow(model()->rowCount() - 1);
    page->endEditing();

    click(1, Layout::EventName);
    key(table->currentEditor(), Qt::Key_Backtab, {}, Qt::ShiftModifier);
    EXPECT_EQ(table->editingIndex(), model()->index(0, Layout::Notes));
    // Shift-Tab in the first row's name does nothing.
    click(0, Layout::EventName);
    key(table->currentEditor(), Qt::Key_Backtab, {}, Qt::ShiftModifier);
    EXPECT_EQ(table->editingIndex(), model()->index(0, Layout::EventName));
    // Tab in a date goes on to the place.
    click(1, Layout::Date);
    key(table->currentEditor(), Qt::Key_Tab);
    EXPECT_EQ(table->editingIndex(), model()->index(1, Layout::Place));
    key(table->currentEditor(), Qt::Key_Down);
    EXPECT_EQ(table->currentEditor(), nullptr);
    EXPECT_EQ(table->selectedRow(), 2);
}

TEST_F(EventsPageWindow, TheEventEditorOpensOnTheRowAndItsEventIsSelectedAfter)
{
    QList<std::pair<FTManagedObject*, FTEvent*>> opened;
    std::function<void()> close;
    EditorHooks::shared().eventEditor = [&](QWidget* window, FTManagedObject* owner, FTEvent* e,
                                            std::function<void()> didEnd) {
        EXPECT_EQ(window, doc->dovurWindow());
        opened.push_back({owner, e});
        close = std::move(didEnd);
    };
    FTEvent* marriage = john->spouseRelsArray().first()->marriage();
    table->selectRow(rowOf(marriage));
    page->eventEdit();
    // A click on the source numbers opens the event as well.
    click(rowOf(census), Layout::Sources);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0].first, john->spouseRelsArray().first());
    EXPECT_EQ(opened[0].second, marriage);
    EXPECT_EQ(opened[1].first, john);
    EXPECT_EQ(opened[1].second, census);

    // The editor changed the date: the list is built again in date order, the event selected.
    census->setDate("1 Jan 1930");
    table->selectRow(0);
    close();
    EXPECT_TRUE(page->refreshEventsArray());
    drawn();
    EXPECT_EQ(rowOf(census), model()->rowCount() - 2);
    EXPECT_EQ(table->selectedRow(), rowOf(census));

    // The family diagram's clone shows the events page and edits the clone's name.
    ASSERT_TRUE(editor->chooseTab(0));
    editor->selectEvent(census);
    EXPECT_EQ(editor->visiblePageIdentifier(), "pEvents");
    EXPECT_EQ(table->editingIndex(), model()->index(rowOf(census), Layout::EventName));
    EXPECT_EQ(lineEditor()->text(), "Census");
    key(lineEditor(), Qt::Key_Escape);
    EXPECT_EQ(table->currentEditor(), nullptr);

    // Without the event editor the user is told.
    EditorHooks::shared().eventEditor = nullptr;
    prompts.clear();
    page->eventEdit();
    EXPECT_THAT(texts(), ElementsAre(LocalizedString("WindowNotAvailableYet").arg(LocalizedString("EventEditor"))));
}

TEST_F(EventsPageWindow, EditsAreSavedWhenTheTableHasDrawnAndDeletedRelativesLeaveTheList)
{
    click(rowOf(census), Layout::Place);
    QLineEdit* place = lineEditor();
    ASSERT_NE(place, nullptr);
    // The place completes from the database's places.
    place->clear();
    type(place, "St");
    EXPECT_EQ(place->text(), "St Peter's, Leeds");
    EXPECT_EQ(place->selectedText(), " Peter's, Leeds");
    key(place, Qt::Key_Return);
    EXPECT_EQ(census->place(), "St Peter's, Leeds");
    EXPECT_TRUE(moc->hasChanges());
    drawn();
    NotificationCenter::defaultCenter().flushQueue();
    EXPECT_FALSE(moc->hasChanges());

    // A relative about to be deleted takes the list with it until it is built again; what was being typed for the
    // person shown is stored first.
    FTPerson* ann = john->children().first()->child();
    click(rowOf(census), Layout::Place);
    ASSERT_NE(lineEditor(), nullptr);
    lineEditor()->selectAll();
    type(lineEditor(), "Otley Chapel");
    NotificationCenter::defaultCenter().post("PersonToBeDeleted", ann, moc);
    EXPECT_EQ(census->place(), "Otley Chapel");
    EXPECT_EQ(model()->rowCount(), 0);
    EXPECT_TRUE(page->refreshEventsArray());
    moc->deleteObject(ann);
    drawn();
    EXPECT_EQ(rowNames().filter("Ann").size(), 0);
    EXPECT_EQ(rowOf(census), 1);
}
}
