// The citations page of the person editor: its rows and their heights, editing in place with the one-line check,
// citing with the key R and the source menu, removing, and when every view is refreshed.

#include "CitingFixture.h"

#include "editor/ui/NotesTextEdit.h"

#include "shell/FieldValidation.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSplitter>

#include <gmock/gmock.h>

#include <cmath>

using ::testing::ElementsAre;

namespace {
void press(QWidget* w, int key, const QString& text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &down);
}
void clickCell(CitationTableView* table, int row, CitationTableModel::Column column)
{
    const QRect cell = table->visualRect(table->model()->index(row, table->citations()->sectionOf(column)));
    const QPointF at = cell.center();
    QMouseEvent down(QEvent::MouseButtonPress, at, table->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
        Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, table->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
        Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &up);
}
}

class CitationsPageTest : public CitingFixture {
protected:
    void SetUp() override
    {
        CitingFixture::SetUp();
        ann = person("Ann Smith");
        bob = person("Bob Smith", "M");
        auto* couple = FTSpouseRel::initInMoc(moc);
        couple->addPartnersObject(bob);
        couple->addPartnersObject(ann);
        marriage = FTEvent::initInMoc(moc, FTEvent::MarriageEvent, couple, "MARR");
        census = source(1, {{"type", "Census"}, {"title", "1881 census of Kew"}, {"author", "GRO"}});
        parish = source(2, {{"type", "Parish Register"}, {"title", "Registers of St Anne, Kew"}});
        doc->dovurWindow()->resize(1100, 820);
        doc->pHorizSplitView()->setSizes({220, 600});
        select(ann);
        page = showPage();
        ASSERT_NE(page, nullptr);
        refreshes = 0;
        NotificationCenter::defaultCenter().addObserver(
            "RefreshAllViews", nullptr, [this](const Notification&) { ++refreshes; }, this);
    }
    int rows() const { return page->sourceRelsArrayController()->rowCount(); }

    FTPerson* ann = nullptr;
    FTPerson* bob = nullptr;
    FTEvent* marriage = nullptr;
    FTSource* census = nullptr;
    FTSource* parish = nullptr;
    InfoArea_Sources* page = nullptr;
    int refreshes = 0;
};

TEST_F(CitationsPageTest, ThePageListsThePersonsAndHerMarriagesCitationsInRowsAsHighAsTheirText)
{
    FTSourceRel* married = FTSourceRel::initInMoc(moc, parish, marriage, "Marriage");
    married->setReference("Entry 212");
    married->setNotes("Witnesses: John and Mary Brown.");
    FTSourceRel* own = FTSourceRel::initInMoc(moc, census, ann, "Name, Notes");
    own->setReference("Folio 4");
    personEditor()->refreshDisplay();
    ASSERT_EQ(rows(), 2);
    EXPECT_THAT(page->sourceRelsArrayController()->arrangedObjects(), ElementsAre(own, married));
    EXPECT_EQ(page->tableViewLabel()->text(), ann->name() + LocalizedString("PersonIsReferenced"));
    EXPECT_EQ(personEditor()->pTabView()->tabText(personEditor()->pTabView()->currentIndex()), LocalizedString("Sources") + "*");
    page->tv()->selectRow(1);
    EXPECT_EQ(page->notesTextView()->toPlainText(), "Witnesses: John and Mary Brown.");
    saveScreenshot(doc->dovurWindow(), "InfoArea_Sources");

    // The description has several lines; the title alone is one, whose row is the least height.
    CitationTableView* table = page->tv();
    const int tall = table->rowHeight(0);
    page->showTitleOnly();
    const double dpi = table->logicalDpiY();
    EXPECT_EQ(table->rowHeight(0), int(std::ceil(17 * dpi / 72)));
    EXPECT_LT(table->rowHeight(0), tall);

    // A long page reference wraps; widening its column measures the rows again.
    own->setReference(QString("Piece 851, folio 4, page 12, schedule 61, ").repeated(2).trimmed());
    page->loadSourceRelsArray();
    const int wrapped = table->rowHeight(0);
    EXPECT_GT(wrapped, table->rowHeight(1));
    const int pageRef = page->sourceRelsArrayController()->sectionOf(CitationTableModel::PageRef);
    table->horizontalHeader()->resizeSection(pageRef, 900);
    EXPECT_LT(table->rowHeight(0), wrapped);
    page->showAllFields();
}

TEST_F(CitationsPageTest, TheNotesViewFollowsThePersonAndTypingNeverGoesToAnUnselectedCitation)
{
    FTSourceRel* witnessed = FTSourceRel::initInMoc(moc, parish, ann, "Baptism");
    witnessed->setNotes("Witnesses: John and Mary Brown.");
    FTSourceRel* bobs = FTSourceRel::initInMoc(moc, census, bob, "Name");
    bobs->setNotes("Enumerated at Kew.");
    personEditor()->refreshDisplay();
    NotesTextEdit* notes = page->notesTextView();
    const auto expectCleared = [&](const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(page->tv()->selectedCitation(), nullptr);
        EXPECT_TRUE(notes->toPlainText().isEmpty());
        EXPECT_FALSE(notes->isEnabled());
    };

    // What is typed before the person changes reaches the citation it was typed for.
    page->tv()->selectCitation(witnessed);
    ASSERT_TRUE(notes->isEnabled());
    notes->setFocus();
    notes->moveCursor(QTextCursor::End);
    notes->insertPlainText(" Godparents named.");
    select(bob);
    EXPECT_EQ(witnessed->notes(), "Witnesses: John and Mary Brown. Godparents named.");
    EXPECT_EQ(rows(), 1);
    expectCleared("another person with citations");
    page->tv()->selectCitation(bobs);
    EXPECT_EQ(notes->toPlainText(), "Enumerated at Kew.");

    select(ann);
    page->tv()->selectCitation(witnessed);
    page->freeMemory();
    expectCleared("memory freed");

    // Reloading the rows loses the selection of a citation no longer among them.
    page->setSelectedPerson(ann);
    page->tv()->selectCitation(witnessed);
    witnessed->setPerson(bob);
    page->loadSourceRelsArray();
    EXPECT_EQ(rows(), 0);
    expectCleared("the citation gone");
    EXPECT_EQ(witnessed->notes(), "Witnesses: John and Mary Brown. Godparents named.");
}

TEST_F(CitationsPageTest, OneClickEditsAndABadTextIsCleanedToldAndKeptInEditing)
{
    FTSourceRel* first = FTSourceRel::initInMoc(moc, census, ann, "Name");
    FTSourceRel* second = FTSourceRel::initInMoc(moc, parish, ann, "Baptism");
    personEditor()->refreshDisplay();
    CitationTableView* table = page->tv();
    clickCell(table, 0, CitationTableModel::PageRef);
    QPlainTextEdit* cell = table->cellEditor();
    ASSERT_NE(cell, nullptr);

    const QString bad = "Folio 4\nline two " + QString(260, 'x');
    cell->setPlainText(bad);
    press(cell, Qt::Key_Return);
    const FieldValidation check = ValidateSingleLineEntryField(bad, "PageRef");
    ASSERT_FALSE(check.accepted);
    EXPECT_EQ(texts().last(), check.message);
    ASSERT_EQ(table->cellEditor(), cell); // still editing
    EXPECT_EQ(cell->toPlainText(), check.text);
    EXPECT_EQ(cell->toPlainText().size(), 248);
    EXPECT_TRUE(first->reference().isEmpty());
    saveScreenshot(page, "InfoArea_Sources-editing");

    cell->setPlainText("Folio 4");
    press(cell, Qt::Key_Down); // ends the edit and goes to the row below
    EXPECT_EQ(first->reference(), "Folio 4");
    EXPECT_EQ(table->cellEditor(), nullptr);
    EXPECT_EQ(table->selectedCitation(), second);

    clickCell(table, 1, CitationTableModel::Topic);
    ASSERT_NE(table->cellEditor(), nullptr);
    press(table->cellEditor(), Qt::Key_Down); // no row below: nothing changes
    EXPECT_NE(table->cellEditor(), nullptr);
    table->cellEditor()->setPlainText("Baptism, Notes");
    press(table->cellEditor(), Qt::Key_Up);
    EXPECT_EQ(second->itemDescribed(), "Baptism, Notes");
    EXPECT_EQ(table->selectedCitation(), first);

    // A click below the last row changes nothing.
    const QPointF below(10, table->viewport()->height() - 2);
    QMouseEvent down(QEvent::MouseButtonPress, below, table->viewport()->mapToGlobal(below), Qt::LeftButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &down);
    EXPECT_EQ(table->selectedCitation(), first);

    // The number column opens the sources editor on the citation's source.
    clickCell(table, 1, CitationTableModel::SourceId);
    ASSERT_NE(SourcesWindowFixture::editor(), nullptr);
    EXPECT_EQ(SourcesWindowFixture::editor()->currentSource(), parish);
    SourcesWindowFixture::editor()->closeSheet();
    table->selectCitation(first);

    // The notes are undone in the notes, not in the database.
    page->notesTextView()->setFocus();
    page->notesTextView()->insertPlainText("Seen at Kew.");
    page->notesTextView()->endEditing();
    EXPECT_EQ(first->notes(), "Seen at Kew.");
}

TEST_F(CitationsPageTest, SwitchingWindowsStoresTheCellEditUnlessTheCheckRefusesIt)
{
    FTSourceRel* cited = FTSourceRel::initInMoc(moc, census, ann, "Name");
    personEditor()->refreshDisplay();
    CitationTableView* table = page->tv();
    QWidget other;
    other.resize(300, 200);
    auto switchTo = [](QWidget* window) {
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window);
        QApplication::processEvents();
    };

    clickCell(table, 0, CitationTableModel::PageRef);
    QPlainTextEdit* cell = table->cellEditor();
    ASSERT_NE(cell, nullptr);
    cell->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(cell->hasFocus());
    cell->setPlainText("Folio 4");
    switchTo(&other);
    // Stored now: a later change to the citation elsewhere is not written over by this text.
    EXPECT_EQ(cited->reference(), "Folio 4");
    EXPECT_EQ(table->cellEditor(), nullptr);

    // A text the check refuses is told and stays in the open cell, stored nowhere.
    switchTo(doc->dovurWindow());
    clickCell(table, 0, CitationTableModel::PageRef);
    cell = table->cellEditor();
    ASSERT_NE(cell, nullptr);
    cell->setFocus();
    QApplication::processEvents();
    cell->setPlainText("Folio 5\nline two");
    const qsizetype told = texts().size();
    switchTo(&other);
    EXPECT_EQ(texts().size(), told + 1);
    EXPECT_EQ(table->cellEditor(), cell);
    EXPECT_EQ(cited->reference(), "Folio 4");
}

TEST_F(CitationsPageTest, ARefusedTextStaysWithItsOwnCitationAndEscapeInTheAlertGivesItUp)
{
    FTSourceRel* anns = FTSourceRel::initInMoc(moc, census, ann, "Name");
    anns->setReference("Folio 4");
    FTSourceRel* bobs = FTSourceRel::initInMoc(moc, parish, bob, "Name");
    bobs->setReference("Entry 9");
    personEditor()->refreshDisplay();
    CitationTableView* table = page->tv();
    auto typeBad = [&] {
        clickCell(table, 0, CitationTableModel::PageRef);
        QPlainTextEdit* cell = table->cellEditor();
        EXPECT_NE(cell, nullptr);
        if (cell) {
            cell->setFocus();
            cell->setPlainText("Folio 5\nline two");
        }
        return cell;
    };

    // Ending the window's editing (as a click on another person in the family diagram does first) tells why, and
    // Escape in that alert gives the text up: nothing is written and the window may go on.
    typeBad();
    prompts.clear();
    prompts.escapeMessages();
    EXPECT_TRUE(doc->endEditing());
    EXPECT_EQ(texts().size(), 1);
    EXPECT_EQ(table->cellEditor(), nullptr);
    EXPECT_EQ(anns->reference(), "Folio 4");

    // Told and kept: the window's editing does not end, so the person does not change from the diagram.
    typeBad();
    prompts.clear();
    EXPECT_FALSE(doc->endEditing());
    EXPECT_EQ(texts().size(), 1);
    EXPECT_NE(table->cellEditor(), nullptr);
    // Another person chosen by another way: the cleaned text, shown once, is Ann's, and the keys typed next reach
    // none of Bob's citations.
    select(bob);
    QApplication::processEvents();
    EXPECT_EQ(table->cellEditor(), nullptr);
    if (QWidget* focus = QApplication::focusWidget())
        for (const QChar c : QString("Entry 10"))
            press(focus, 0, QString(c));
    QApplication::processEvents();
    EXPECT_EQ(anns->reference(), "Folio 5 line two");
    EXPECT_EQ(bobs->reference(), "Entry 9");
}

TEST_F(CitationsPageTest, TheKeyRCitesTheActiveSourceOrOffersTheSourcesEditor)
{
    CitationTableView* table = page->tv();
    press(table, Qt::Key_R, "r");
    ASSERT_FALSE(prompts.records.isEmpty());
    EXPECT_EQ(prompts.records.last().text, LocalizedString("SourcesTableText"));
    EXPECT_EQ(prompts.records.last().buttons, QStringList({LocalizedString("ActivateSource"), LocalizedString("Cancel")}));
    EXPECT_NE(SourcesWindowFixture::editor(), nullptr); // the sources editor opened (first button)
    SourcesWindowFixture::editor()->closeSheet();
    EXPECT_TRUE(sheets().isEmpty());

    moc->setActiveSource(census);
    moc->setActiveSourcePageRef("Folio 9");
    press(table, Qt::Key_R, "R");
    ASSERT_EQ(sheets().size(), 1);
    FTSourceRel* cited = sheets().first()->sourceRel();
    EXPECT_EQ(cited->person(), ann);
    EXPECT_EQ(cited->source(), census);
    EXPECT_EQ(cited->reference(), "Folio 9");
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(table->selectedCitation(), cited);
}

TEST_F(CitationsPageTest, EveryViewRefreshesOnTheFirstCitationAndAfterTheLastIsRemoved)
{
    ASSERT_TRUE(UserDefaults::standard().contains("cdCheckForMissingCitations"));
    page->addReference(census);
    EXPECT_EQ(refreshes, 1);
    sheets().first()->close();
    refreshes = 0;
    page->addReference(parish);
    EXPECT_EQ(refreshes, 0);
    sheets().first()->close();
    refreshes = 0;
    ASSERT_EQ(rows(), 2);

    // Nothing selected: the user is told.
    page->tv()->clearSelection();
    page->removeReference();
    EXPECT_EQ(texts().last(), LocalizedString("SelectSourceRefTryAgain"));
    page->tv()->selectRow(0);
    prompts.answer(1); // cancel
    page->removeReference();
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(texts().last(), LocalizedString("RemoveReference") + ": 1?");
    page->tv()->selectRow(0);
    page->removeReference();
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(refreshes, 0);
    moc->undoManager()->closeOpenGroups();
    EXPECT_EQ(moc->undoManager()->undoActionName(), LocalizedString("DeleteSourceRef"));
    page->tv()->selectRow(0);
    page->removeReference();
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(personEditor()->pTabView()->tabText(personEditor()->pTabView()->currentIndex()), LocalizedString("Sources"));
}

TEST_F(CitationsPageTest, TheSourceMenuAndItsSearchCiteForThePersonShown)
{
    source(3, {{"type", "Census"}, {"title", "1881 census of Kew"}}); // a second source of that title
    QMenu* menu = click(page->selectASourceButton());
    entry(menu, "Use the Source Search dialog")->trigger();
    auto* search = doc->dovurWindow()->findChild<SelectASourceDialog*>();
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->preselectionCriteria(), "All Sources are included");
    EXPECT_EQ(search->size(), QSize(720, 420)); // nothing remembered yet
    EXPECT_EQ(search->sourcesArrayController()->rowCount(), 3);
    search->searchField()->setText("parish");
    EXPECT_EQ(search->sourcesArrayController()->rowCount(), 1);
    saveScreenshot(search, "SelectASourceDialog");
    search->resize(800, 500);
    search->selectSource(); // the first row: the parish register, then the question (answered with its first button)
    EXPECT_THAT(texts().last().toStdString(), ::testing::StartsWith(LocalizedString("AddSourceReference").toStdString()));
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(page->sourceRelsArrayController()->citationAt(0)->source(), parish);
    sheets().first()->close();

    // A group of two sources of one title goes to the search with the group's text.
    menu = click(page->selectASourceButton());
    entry(entry(menu, "Census (2)")->menu(), "1881 census of Kew (2)")->trigger();
    search = nullptr;
    for (auto* d : doc->dovurWindow()->findChildren<SelectASourceDialog*>())
        if (d->isVisible())
            search = d;
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->preselectionCriteria(),
        "Sources have been prefiltered to include only:\nType = Census (2), 1881 census of Kew (2)");
    EXPECT_EQ(search->sourcesArrayController()->rowCount(), 2);
    EXPECT_EQ(search->size(), QSize(800, 500)); // the size the last one closed with
    search->done(0);
    EXPECT_EQ(rows(), 1);
}
