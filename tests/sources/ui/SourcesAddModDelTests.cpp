// The sources editor on a small database: adding and editing (several at once after a question), the active
// source with the toolbar's button, the search, the where-used table, notes labels and the layout it keeps.

#include "SourcesWindowFixture.h"

#include "sources/SourceListModel.h"
#include "sources/WhereUsedModel.h"
#include "sources/ui/SelectSourceNotesLabelsButton.h"
#include "sources/ui/SourceNotes.h"
#include "sources/ui/SourceNotesLabelsEditor.h"
#include "sources/ui/WhereUsedTableView.h"

#include "shell/ui/ToolbarController.h"

#include "model/FTPicture.h"

#include "platform/Localizer.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {
// Typing as the keyboard does it, then leaving the field.
void type(QWidget* field, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
}
void finish(QLineEdit* field)
{
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
}
}

using SourcesEditor = SourcesWindowFixture;

TEST_F(SourcesEditor, OpensOnTheActiveSourceAndAddsAndEditsSources)
{
    FTSource* census = source(1, {{"type", "Census"}, {"title", "1881 census of Kew"}, {"author", "GRO"}});
    FTSource* will = source(2, {{"type", "Will"}, {"title", "Will of John Brown"}, {"notes", "Proved 1790."}});
    source(3, {{"title", "Parish register of St Anne"}, {"type", "Parish Register"}});
    cite(will, 3);
    moc->setActiveSource(will);
    SourcesAddModDel* e = openEditor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->currentSource(), will);
    EXPECT_EQ(e->field("title")->text(), "Will of John Brown");
    EXPECT_EQ(e->sourceNotesTextView()->toPlainText(), "Proved 1790.");
    EXPECT_EQ(e->sourceRelsArrayController()->rowCount(), 3);
    EXPECT_TRUE(e->deactivateActiveSourceButton()->isEnabled());
    e->whereUsedTable()->selectRow(0);
    saveScreenshot(e, "SourcesAddModDel");
    e->selectSource(census); // the active source's row in red
    EXPECT_EQ(e->sourceRelsArrayController()->rowCount(), 0);
    saveScreenshot(e, "SourcesAddModDel-active");
    // At its smallest every button still shows its whole text.
    const QSize frame = e->size();
    e->resize(e->minimumSizeHint());
    QApplication::processEvents();
    for (const QPushButton* button : e->findChildren<QPushButton*>())
        if (button->isVisible())
            EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    saveScreenshot(e, "SourcesAddModDel-narrow");
    e->resize(frame);

    e->addSource();
    FTSource* added = e->currentSource();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->numericId(), moc->modelDefaults()->maxSourceId());
    EXPECT_TRUE(e->focusWidget() == e->typesComboBox() || e->focusWidget() == e->typesComboBox()->lineEdit());
    e->field("title")->setFocus();
    type(e->field("title"), "Kew directory");
    finish(e->field("title"));
    EXPECT_EQ(added->title(), "Kew directory");
    e->typesComboBox()->setFocus();
    type(e->typesComboBox()->lineEdit(), "Trade Directory");
    finish(e->typesComboBox()->lineEdit());
    EXPECT_EQ(added->type(), "Trade Directory");
    EXPECT_TRUE(e->typesArray().contains("Trade Directory")); // offered from now on
    EXPECT_TRUE(prompts.records.isEmpty());

    e->closeSheet();
    EXPECT_EQ(editor(), nullptr);
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_FALSE(UserDefaults::standard().stringForKey(SourcesAddModDel::kFrameName).isEmpty());
    EXPECT_FALSE(UserDefaults::standard().stringForKey(SourcesAddModDel::kTableName).isEmpty());
}

TEST_F(SourcesEditor, AnEditOfTwoSelectedSourcesIsAskedAboutFirst)
{
    FTSource* a = source(1, {{"title", "A"}, {"author", "Smith"}});
    FTSource* b = source(2, {{"title", "B"}, {"author", "Jones"}});
    SourcesAddModDel* e = openEditor(a);
    ASSERT_NE(e, nullptr);
    selectRows(e, {a, b});
    QLineEdit* author = e->field("author");
    EXPECT_TRUE(author->text().isEmpty()); // the two differ
    EXPECT_EQ(author->placeholderText(), LocalizedString("MultipleValues"));
    EXPECT_FALSE(e->sourceNumber()->isEnabled()); // one number cannot go to two sources

    author->setFocus();
    prompts.answer(1); // Cancel: the edit does not begin
    type(author, "X");
    finish(author);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("EditAppliesToBoth"));
    EXPECT_TRUE(author->text().isEmpty());
    EXPECT_EQ(a->author(), "Smith");
    EXPECT_EQ(b->author(), "Jones");

    type(author, "Brown"); // asked once, then typed on
    finish(author);
    EXPECT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(a->author(), "Brown");
    EXPECT_EQ(b->author(), "Brown");
    EXPECT_EQ(a->title(), "A");
}

TEST_F(SourcesEditor, SelectedSourcesWithDifferentValuesKeepThemUnlessSomethingIsTyped)
{
    FTSource* a = source(1, {{"title", "A"}, {"author", "Smith"}, {"notes", "Seen 1990"}});
    FTSource* b = source(2, {{"title", "B"}, {"author", "Jones"}, {"notes", "Filmed\n"}});
    FTSource* c = source(3, {{"title", "C"}});
    SourcesAddModDel* e = openEditor(a);
    ASSERT_NE(e, nullptr);
    selectRows(e, {a, b, c});
    const auto notesOf = [&] { return QStringList {a->notes(), b->notes(), c->notes()}; };

    // Agreeing to edit them all and then typing nothing leaves each author as it was.
    QLineEdit* author = e->field("author");
    author->setFocus();
    type(author, "X");
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QApplication::sendEvent(author, &backspace);
    finish(author);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("AppliesToXNumberOfSources").arg(3));
    EXPECT_EQ(a->author(), "Smith");
    EXPECT_EQ(b->author(), "Jones");
    EXPECT_TRUE(c->author().isEmpty());

    // The notes format and a set of labels go at the end of each source's own notes, after one question.
    UserDefaults::standard().setString("sourceNotesFormat", "Volume: \nPage:");
    prompts.clear();
    prompts.answer(1); // Cancel
    e->appendNotesFormat();
    EXPECT_THAT(notesOf(), ElementsAre("Seen 1990", "Filmed\n", ""));
    e->appendNotesFormat();
    EXPECT_EQ(prompts.records.size(), 2);
    EXPECT_THAT(notesOf(),
        ElementsAre("Seen 1990\n\nVolume: \nPage:", "Filmed\n\nVolume: \nPage:", "Volume: \nPage:"));
    EXPECT_TRUE(e->sourceNotesTextView()->toPlainText().isEmpty()); // they still differ

    e->labelsButton()->selectLabels("Film: ");
    EXPECT_EQ(prompts.records.size(), 3);
    EXPECT_THAT(notesOf(),
        ElementsAre("Seen 1990\n\nVolume: \nPage:\nFilm: \n", "Filmed\n\nVolume: \nPage:\nFilm: \n",
            "Volume: \nPage:\nFilm: \n"));
}

TEST_F(SourcesEditor, SettingAndClearingTheActiveSourceRedrawsTheToolbarButton)
{
    FTSource* a = source(1, {{"title", "Census"}});
    FTSource* b = source(2, {{"title", "Register"}});
    cite(b, 1);
    auto* button = doc->dovurWindow()->findChild<QToolButton*>("ActiveSourceButton");
    ASSERT_NE(button, nullptr);
    const QString inactiveTip = button->toolTip();
    SourcesAddModDel* e = openEditor(a);
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->deactivateActiveSourceButton()->isEnabled());

    prompts.answer(1); // stay in the editor
    e->setAsActiveSource();
    EXPECT_EQ(moc->activeSource(), a);
    EXPECT_EQ(button->toolTip(), a->shortDescriptionWithNumericId());
    EXPECT_TRUE(e->deactivateActiveSourceButton()->isEnabled());
    const QModelIndex row = e->sourcesArrayController()->index(e->sourcesArrayController()->rowOfSource(a), 0);
    EXPECT_TRUE(row.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_NE(editor(), nullptr);

    e->deactivateActiveSource();
    EXPECT_EQ(moc->activeSource(), nullptr);
    EXPECT_EQ(button->toolTip(), inactiveTip);
    EXPECT_FALSE(e->deactivateActiveSourceButton()->isEnabled());

    // Deleting the active source clears it and its button.
    selectRows(e, {b});
    prompts.answer(1);
    e->setAsActiveSource();
    EXPECT_EQ(button->toolTip(), b->shortDescriptionWithNumericId());
    e->deleteSource(); // one citation: Continue
    EXPECT_TRUE(b->isDeleted());
    EXPECT_EQ(button->toolTip(), inactiveTip);
    EXPECT_EQ(e->currentSource(), a);

    // "OK, close": the editor closes.
    prompts.clear();
    e->setAsActiveSource();
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(moc->activeSource(), a);
}

TEST_F(SourcesEditor, TheSearchFiltersByTheChosenFieldAndTheNumberFieldRestoresARefusedNumber)
{
    source(1, {{"title", "Census"}, {"notes", "Kew"}});
    source(2, {{"title", "Kew register"}});
    FTSource* c = source(3, {{"title", "Will"}});
    SourcesAddModDel* e = openEditor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->searchField()->placeholderText(), SourceSearch::placeholder(LocalizedString("SourceSearchAny")));
    e->searchField()->setText("kew");
    EXPECT_EQ(e->sourcesArrayController()->rowCount(), 2);
    EXPECT_EQ(e->currentSource()->numericId(), 1);

    QAction* titleOption = nullptr;
    for (QAction* a : e->searchMenu()->actions())
        if (a->text() == LocalizedString("SourceSearchTitle"))
            titleOption = a;
    ASSERT_NE(titleOption, nullptr);
    titleOption->trigger();
    EXPECT_TRUE(titleOption->isChecked());
    EXPECT_EQ(UserDefaults::standard().stringForKey("sourceSearchMenuOption"), LocalizedString("SourceSearchTitle"));
    EXPECT_EQ(e->sourcesArrayController()->rowCount(), 1);
    EXPECT_EQ(e->currentSource()->numericId(), 2);

    e->searchField()->clear();
    EXPECT_EQ(e->sourcesArrayController()->rowCount(), 3);
    EXPECT_EQ(e->currentSource()->numericId(), 2); // the selection stays

    e->selectSource(c);
    e->sourceNumber()->setFocus();
    e->sourceNumber()->selectAll();
    type(e->sourceNumber(), "12a");
    finish(e->sourceNumber());
    EXPECT_THAT(texts(), ElementsAre(LocalizedString("SourceNumberNotANumber").arg("12a")));
    EXPECT_EQ(e->sourceNumber()->text(), "3");
    EXPECT_EQ(c->numericId(), 3);
}

TEST_F(SourcesEditor, TheWhereUsedMenuPromotesTheCitationsPerson)
{
    FTSource* s = source(1, {{"title", "Register"}});
    FTSourceRel* ofPerson = cite(s, 1, "Jane Doe").first();
    FTPicture* picture = FTPicture::initInMoc(moc, QString(), s);
    picture->setName("Church");
    FTSourceRel* ofPicture = FTSourceRel::initInMoc(moc, s, picture, QString());
    SourcesAddModDel* e = openEditor(s);
    ASSERT_NE(e, nullptr);
    WhereUsedTableView* table = e->whereUsedTable();
    WhereUsedModel* rows = e->sourceRelsArrayController();
    ASSERT_EQ(rows->rowCount(), 2);
    const int personRow = int(rows->arrangedObjects().indexOf(ofPerson));
    const int pictureRow = 1 - personRow;
    auto pointOf = [&](int row) { return table->visualRect(rows->index(row, 0)).center(); };

    // A picture's citation: the row is selected, no menu.
    EXPECT_EQ(table->rightMouseDown(pointOf(pictureRow), table->mapToGlobal(pointOf(pictureRow))), ofPicture);
    EXPECT_EQ(table->selectionModel()->selectedRows().first().row(), pictureRow);
    EXPECT_EQ(table->popupMenuFor(ofPicture), nullptr);
    // Below the last row nothing happens.
    EXPECT_EQ(table->rightMouseDown(QPoint(5, table->viewport()->height() - 2), QPoint()), nullptr);
    EXPECT_EQ(table->selectionModel()->selectedRows().first().row(), pictureRow);

    QString title;
    whenMenuShows([&](QMenu* menu) {
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 1);
        title = menu->actions().first()->text();
        menu->actions().first()->trigger();
    });
    table->rightMouseDown(pointOf(personRow), table->mapToGlobal(pointOf(personRow)));
    EXPECT_EQ(title, QStringLiteral("%1 Jane Doe 1 %2").arg(LocalizedString("Promote"), LocalizedString("toBeFocal")));
    EXPECT_EQ(moc->focalPerson(), ofPerson->person());
    EXPECT_EQ(table->selectionModel()->selectedRows().first().row(), personRow);
}

TEST_F(SourcesEditor, TheBusyIndicatorShowsOnlyForMoreThanAThousandCitations)
{
    for (int count : {1000, 1001}) {
        FTSource* s = source(count, {{"title", "Big"}});
        cite(s, count);
        SourcesAddModDel* e = openEditor(s);
        ASSERT_NE(e, nullptr);
        QHeaderView* header = e->whereUsedTable()->horizontalHeader();
        Q_EMIT header->sectionPressed(WhereUsedModel::PageRefColumn);
        EXPECT_EQ(e->sortProgressIndicator()->isHidden(), count == 1000) << count;
        Q_EMIT header->sectionClicked(WhereUsedModel::PageRefColumn);
        EXPECT_TRUE(e->sortProgressIndicator()->isHidden());
        EXPECT_TRUE(e->sourceRelsArrayController()->isSorted());
        EXPECT_EQ(e->whereUsedTable()->selectionModel()->selectedRows().first().row(), 0);
        e->closeSheet();
    }
}

TEST_F(SourcesEditor, LabelSetsGoIntoTheNotesOfTheEditorAndOfTheNotesWindow)
{
    UserDefaults::standard().setObject("sourceNotesLabels", QStringList {"Film: Item: ", "Volume: Page: "});
    FTSource* s = source(1, {{"title", "Film"}, {"notes", "Seen 1990"}});
    SourcesAddModDel* e = openEditor(s);
    ASSERT_NE(e, nullptr);

    std::unique_ptr<QMenu> menu(e->labelsButton()->buildMenu());
    QStringList titles;
    for (QAction* a : menu->actions())
        titles << a->text();
    EXPECT_THAT(titles, ElementsAre(LocalizedString("AlterLabels"), "", "Film: Item: ", "Volume: Page: "));

    QTextCursor end = e->sourceNotesTextView()->textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText("\n");
    e->sourceNotesTextView()->setTextCursor(end);
    e->searchField()->setFocus(); // the notes are not the key view
    menu->actions()[3]->trigger();
    EXPECT_EQ(s->notes(), "Seen 1990\nVolume: \nPage: \n");

    SourceNotes notes(s, e);
    notes.show();
    EXPECT_EQ(notes.tvNotes()->toPlainText(), "Seen 1990\nVolume: \nPage: \n");
    QTextCursor start = notes.tvNotes()->textCursor();
    start.movePosition(QTextCursor::Start);
    notes.tvNotes()->setTextCursor(start);
    notes.labelsButton()->selectLabels("Film: Item: ");
    saveScreenshot(&notes, "SourceNotes");
    notes.windowShouldClose();
    EXPECT_EQ(s->notes(), "Film: \nItem: \nSeen 1990\nVolume: \nPage: \n");
}

TEST_F(SourcesEditor, TheLabelsEditorStoresItsRowsNormalised)
{
    UserDefaults::standard().setObject("sourceNotesLabels", QStringList {"Film: Item: ", "Census Year: Piece: "});
    SourceNotesLabelsEditor labels;
    labels.show();
    ASSERT_EQ(labels.table()->count(), 2);
    labels.addRow();
    labels.table()->item(2)->setText("Volume; Page, Line");
    labels.addRow(); // left empty
    saveScreenshot(&labels, "SourceNotesLabelsEditor");
    labels.windowShouldClose();
    EXPECT_THAT(UserDefaults::standard().stringListForKey("sourceNotesLabels"),
                ElementsAre("Census Year: Piece: ", "Film: Item: ", "Volume: Page Line: "));
}

TEST_F(SourcesEditor, TheSplitKeepsItsShareAtMostNinetyFivePercent)
{
    FTSource* s = source(1);
    SourcesAddModDel::setSplitViewPercent(0.99);
    SourcesAddModDel* e = openEditor(s);
    ASSERT_NE(e, nullptr);
    EXPECT_DOUBLE_EQ(SourcesAddModDel::splitViewPercent(), 0.95);
    const QList<int> sizes = e->splitView()->sizes();
    const double share = double(sizes[0]) / (sizes[0] + sizes[1]);
    EXPECT_NEAR(share, 0.95, 0.02);

    e->splitView()->setSizes({300, 700});
    const QList<int> set = e->splitView()->sizes();
    const double expected = double(set[0]) / e->splitView()->width();
    e->closeSheet();
    EXPECT_NEAR(SourcesAddModDel::splitViewPercent(), expected, 0.001);
}

TEST_F(SourcesEditor, TheNotificationOpensTheEditorOnItsSource)
{
    source(1);
    FTSource* second = source(2);
    NotificationCenter::defaultCenter().post("SourcesAddModDel", second, moc);
    SourcesAddModDel* e = editor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->currentSource(), second);
}
