// The person editor in a database's main window: the tabs, the person's own page and its checks.
#include "EditorFixture.h"

#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/InfoArea_Self.h"
#include "editor/ui/LargeTextView.h"
#include "editor/ui/NotesTextEdit.h"
#include "editor/ui/PlaceField.h"

#include "shell/ui/ElidedLabel.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"

#include "platform/Localizer.h"
#include "platform/store/Key.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <gmock/gmock.h>

#include <algorithm>
#include <functional>

using ::testing::Contains;
using ::testing::HasSubstr;

namespace {

class PersonEditorWindow : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        UserDefaults::standard().setInteger("previousTabViewIndex", 0);
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        doc = open("Family.RezUdu");
        ASSERT_NE(doc, nullptr);
        moc = doc->moc();
        editor = editorOf(doc);
        ASSERT_NE(editor, nullptr);
        self = editor->pSelf();
        ASSERT_NE(self, nullptr);

        john = FTPerson::initInMoc(moc, "John Smith", "M");
        john->setTitle("Miller");
        john->setValueForKeyPath("birth.date", "5 Jan 1900");
        john->setValueForKeyPath("birth.place", "Leeds, Yorkshire");
        john->setValueForKeyPath("death.notes", "Buried at St Mary's.\nStone lost.");
        john->setNotes("Worked the mill on the Aire.");
        FTEvent::initInMoc(moc, 303, john, "OCCU")->setDate("1925");
        moc->undoManager()->closeOpenGroups();
        select(john);
    }
    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    InfoAreaController* editor = nullptr;
    InfoArea_Self* self = nullptr;
    FTPerson* john = nullptr;
};

TEST_F(PersonEditorWindow, SelectingAPersonFillsTheSelfPage)
{
    QTabWidget* tabs = editor->pTabView();
    const PersonEditorController& pages = editor->controller();
    EXPECT_EQ(tabs->tabText(0), "John Smith");
    EXPECT_EQ(tabs->tabText(pages.indexOf("pNotes")), LocalizedString("Notes") + "*");
    EXPECT_EQ(tabs->tabText(pages.indexOf("pComments")), LocalizedString("Comments"));
    EXPECT_EQ(editor->visiblePageIdentifier(), "pSelf");
    EXPECT_EQ(ModelHooks::shared().personEditorPage(), "pSelf");

    EXPECT_EQ(self->field(InfoArea_Self::Name)->text(), "John Smith");
    EXPECT_EQ(self->field(InfoArea_Self::Gender)->text(), "M");
    EXPECT_EQ(self->field(InfoArea_Self::Title)->text(), "Miller");
    EXPECT_EQ(self->field(InfoArea_Self::BirthDate)->text(), "05 Jan 1900");
    EXPECT_EQ(self->field(InfoArea_Self::BirthPlace)->text(), "Leeds, Yorkshire");
    EXPECT_EQ(self->notesView()->toPlainText(), "Worked the mill on the Aire.");
    EXPECT_EQ(self->otherEventsText(), "OCCU 1925");
    EXPECT_EQ(self->findChild<QPushButton*>("deathNotesButton")->text(), LocalizedString("NotesPresent"));
    EXPECT_EQ(self->findChild<QPushButton*>("birthNotesButton")->text(), LocalizedString("NoNotes"));
    EXPECT_TRUE(self->lastChangeDate().isValid());
    EXPECT_FALSE(self->findChild<QLabel*>("lastChangeDate")->text().isEmpty());
    for (QToolButton* hover : self->findChildren<QToolButton*>())
        EXPECT_TRUE(hover->autoRaise());
    // Place fields complete from the person's database.
    EXPECT_EQ(self->placeField(InfoArea_Self::BirthPlace)->moc(), moc);
    QApplication::processEvents();
    saveScreenshot(doc->dovurWindow(), "editor-self-page");

    // Too many events for the line: the summary ends in an ellipsis, whole in its tip.
    for (int year = 1926; year < 1946; ++year)
        FTEvent::initInMoc(moc, 303, john, "RESI")->setDate(QString::number(year));
    editor->refreshDisplay();
    QApplication::processEvents();
    auto* summary = self->findChild<ElidedLabel*>("otherEvents");
    ASSERT_NE(summary, nullptr);
    EXPECT_TRUE(self->otherEventsText().endsWith("RESI 1945")) << self->otherEventsText().toStdString();
    EXPECT_TRUE(summary->shownText().endsWith(QChar(0x2026))) << summary->shownText().toStdString();
    EXPECT_LE(summary->fontMetrics().horizontalAdvance(summary->shownText()), summary->contentsRect().width());
    EXPECT_EQ(summary->toolTip(), self->otherEventsText());
}

TEST_F(PersonEditorWindow, ARefusedEditKeepsTheTypedTextAndWritesNothing)
{
    struct Case {
        int tag;
        QString typed;
        QString message;
    };
    for (const Case& c : {Case{InfoArea_Self::Name, "   ", "Name field may not be blank"},
                          Case{InfoArea_Self::BirthDate, "31 Fbx 1900", LocalizedHelpString("DateFormatHelp")}}) {
        SCOPED_TRACE(c.tag);
        prompts.clear();
        EditorLineEdit* field = self->field(c.tag);
        retype(field, c.typed);
        key(field, Qt::Key_Return);
        ASSERT_EQ(prompts.records.size(), 1);
        EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr(c.message.toStdString()));
        EXPECT_EQ(field->text(), c.typed);
        EXPECT_TRUE(field->hasFocus());
        // The page cannot be left while the field holds a refused edit.
        EXPECT_FALSE(editor->chooseTab(1));
        EXPECT_EQ(editor->visiblePageIdentifier(), "pSelf");
        EXPECT_TRUE(field->isEditing());
        field->setValue(field->text()); // leaves the text in place for the end of the test
    }
    EXPECT_EQ(self->field(InfoArea_Self::Name)->text(), "   ");
    EXPECT_EQ(john->name(), "John Smith");
    EXPECT_EQ(john->birth()->date(), "05 Jan 1900");

    // Another person chosen meanwhile gets nothing of the refused text.
    FTPerson* mary = FTPerson::initInMoc(moc, "Mary Jones", "F");
    retype(self->field(InfoArea_Self::BirthDate), "31 Fbx 1900");
    select(mary);
    EXPECT_EQ(self->field(InfoArea_Self::BirthDate)->text(), "");
    EXPECT_TRUE(self->field(InfoArea_Self::BirthDate)->endEditing());
    EXPECT_EQ(mary->birth(), nullptr);
    select(john);

    // A text that is too long is cut and shown for another look; ending the edit again stores what is shown.
    prompts.clear();
    EditorLineEdit* title = self->field(InfoArea_Self::Title);
    retype(title, QString(130, 'x'));
    EXPECT_FALSE(title->endEditing());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(prompts.records[0].text.toStdString(), HasSubstr("must be single line"));
    EXPECT_EQ(title->text().size(), 120);
    EXPECT_EQ(john->title(), "Miller");
    EXPECT_TRUE(title->endEditing());
    EXPECT_EQ(john->title(), QString(120, 'x'));
}

TEST_F(PersonEditorWindow, SavingOrClosingReportsARefusedEditOnceAndStoresNothingOfIt)
{
    const QString path = moc->databaseURL();
    auto refusals = [this] {
        return std::count_if(prompts.records.begin(), prompts.records.end(), [](const ScriptedPrompts::Record& r) {
            return r.text.contains(LocalizedHelpString("DateFormatHelp"));
        });
    };
    john->setTitle("Carter"); // waiting to be saved
    EditorLineEdit* born = self->field(InfoArea_Self::BirthDate);
    retype(born, "31 Fbx 1900");

    // File > Save, and a command that saves before it opens its window: the rest is saved, the edit stays.
    const std::function<void()> saves[] = {[this] { app->saveData(); }, [this] { doc->prepareForCommand(); }};
    for (const auto& save : saves) {
        prompts.clear();
        save();
        EXPECT_EQ(refusals(), 1) << texts().join("\n").toStdString();
        EXPECT_FALSE(moc->hasChanges());
        EXPECT_TRUE(born->hasFocus());
        EXPECT_TRUE(born->isEditing());
        EXPECT_EQ(born->text(), "31 Fbx 1900");
    }
    EXPECT_EQ(prompts.records.size(), 1); // the command itself asks nothing

    // Each try to close reports it once, however many of its steps end the editing.
    prompts.clear();
    prompts.answer(2); // Cancel
    doc->performClose();
    EXPECT_EQ(refusals(), 1) << texts().join("\n").toStdString();
    ASSERT_EQ(documents().size(), 1);
    EXPECT_EQ(born->text(), "31 Fbx 1900");
    prompts.clear();
    prompts.answer(0); // Close & Quit
    doc->performClose();
    EXPECT_EQ(refusals(), 1) << texts().join("\n").toStdString();
    ASSERT_TRUE(documents().isEmpty());

    auto stored = FTMoc::initForStoreURL(path, true);
    ASSERT_TRUE(stored);
    const FTPerson* reread = stored->fetchFirst<FTPerson>(
        [](const FTPerson* p) { return p->name() == QLatin1String("John Smith"); });
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->birth()->date(), "05 Jan 1900");
    EXPECT_EQ(reread->title(), "Carter");
}

TEST_F(PersonEditorWindow, ThePersonShownAtOpeningKeepsTheirNotesAndComments)
{
    john->setComments("Ask Aunt Jane.");
    moc->setFocalPerson(john);
    const QString path = moc->databaseURL();
    prompts.answer(1); // Close
    doc->performClose();
    ASSERT_TRUE(documents().isEmpty());

    // Reopened, the editor shows the focal person; nothing typed, so leaving them writes nothing.
    doc = app->openDocumentWithContentsOfURL(path);
    ASSERT_NE(doc, nullptr) << texts().join("\n").toStdString();
    moc = doc->moc();
    self = editorOf(doc)->pSelf();
    john = moc->modelDefaults()->selectedPerson();
    ASSERT_TRUE(john && john->name() == "John Smith");
    EXPECT_EQ(self->notesView()->toPlainText(), "Worked the mill on the Aire.");
    EXPECT_EQ(self->commentsView()->toPlainText(), "Ask Aunt Jane.");
    select(FTPerson::initInMoc(moc, "Ann Smith", "F"));
    EXPECT_TRUE(doc->endEditing());
    EXPECT_EQ(john->notes(), "Worked the mill on the Aire.");
    EXPECT_EQ(john->comments(), "Ask Aunt Jane.");
}

TEST_F(PersonEditorWindow, TabGoesFromEachDateToItsPlaceThenToTheNotes)
{
    using S = InfoArea_Self;
    const QList<QWidget*> order = {self->field(S::BirthDate), self->field(S::BirthPlace), self->field(S::DeathDate),
                                   self->field(S::DeathPlace), self->field(S::BirthNotes), self->field(S::DeathNotes),
                                   self->field(S::CauseOfDeath), self->field(S::AncestralFileNo), self->notesView()};
    order.first()->setFocus(Qt::TabFocusReason);
    for (qsizetype i = 1; i < order.size(); ++i) {
        key(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << "step " << i;
    }
    key(QApplication::focusWidget(), Qt::Key_Backtab, {}, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), order[order.size() - 2]);

    // A place typed after the date lands in the place.
    self->field(S::DeathDate)->setFocus(Qt::TabFocusReason);
    retype(self->field(S::DeathDate), "1950");
    key(QApplication::focusWidget(), Qt::Key_Tab);
    type(QApplication::focusWidget(), "Qwerty Bridge");
    key(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_NE(john->death(), nullptr);
    EXPECT_EQ(john->death()->date(), "1950");
    EXPECT_EQ(john->death()->place(), "Qwerty Bridge");
    EXPECT_THAT(john->death()->notes().toStdString(), HasSubstr("Buried at St Mary's."));
}

TEST_F(PersonEditorWindow, TheWindowMenuStepsThroughThePagesAndRoundAgain)
{
    auto* windowMenu = doc->dovurWindow()->menuBar()->findChild<QMenu*>("Window");
    ASSERT_NE(windowMenu, nullptr);
    QAction *next = nullptr, *previous = nullptr;
    for (QAction* item : windowMenu->actions()) {
        if (item->text() == "Next TabView Pane")
            next = item;
        if (item->text() == "Previous TabView Pane")
            previous = item;
    }
    ASSERT_TRUE(next && previous);
    QTabWidget* tabs = editor->pTabView();
    const int last = tabs->count() - 1;
    next->trigger();
    EXPECT_EQ(tabs->currentIndex(), 1);
    previous->trigger();
    previous->trigger();
    EXPECT_EQ(tabs->currentIndex(), last);
    next->trigger();
    EXPECT_EQ(tabs->currentIndex(), 0);

    // A value the page refused keeps the page.
    prompts.clear();
    retype(self->field(InfoArea_Self::BirthDate), "31 Fbx 1900");
    next->trigger();
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(prompts.records.size(), 1);
    self->field(InfoArea_Self::BirthDate)->revert();
    next->trigger();
    EXPECT_EQ(tabs->currentIndex(), 1);
}

TEST_F(PersonEditorWindow, AnAcceptedEditIsStoredCleanedAndRetitlesTheTab)
{
    EditorLineEdit* name = self->field(InfoArea_Self::Name);
    retype(name, "John  Henry Smith ");
    key(name, Qt::Key_Tab); // Tab moves on: the edit ends
    name->clearFocus();
    EXPECT_EQ(john->name(), "John Henry Smith");
    EXPECT_EQ(name->text(), "John Henry Smith");
    EXPECT_EQ(editor->pTabView()->tabText(0), "John Henry Smith");

    EditorLineEdit* death = self->field(InfoArea_Self::DeathDate);
    retype(death, "2 feb 1960");
    EXPECT_TRUE(editor->chooseTab(2)); // a change of tab ends the edit first
    EXPECT_EQ(john->death()->date(), "02 Feb 1960");
    EXPECT_TRUE(prompts.records.isEmpty()) << texts().join("\n").toStdString();

    // An empty field never makes an empty event.
    editor->chooseTab(0);
    EditorLineEdit* cause = self->field(InfoArea_Self::CauseOfDeath);
    retype(cause, "Fever");
    EXPECT_TRUE(cause->endEditing());
    EXPECT_EQ(john->causeOfDeath(), "Fever");
}

TEST_F(PersonEditorWindow, OneLineNotesOfSeveralLinesAreEditedOnlyInTheDialog)
{
    EditorLineEdit* deathNotes = self->field(InfoArea_Self::DeathNotes);
    deathNotes->setFocus();
    key(deathNotes, 0, "x");
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("NotesAdvice"));
    EXPECT_EQ(john->death()->notes(), "Buried at St Mary's.\nStone lost.");

    // A single line can be edited, and ending the edit retitles the button.
    EditorLineEdit* birthNotes = self->field(InfoArea_Self::BirthNotes);
    retype(birthNotes, "At home");
    key(birthNotes, Qt::Key_Return);
    EXPECT_EQ(john->birth()->notes(), "At home");
    EXPECT_EQ(self->findChild<QPushButton*>("birthNotesButton")->text(), LocalizedString("NotesPresent"));
}

TEST_F(PersonEditorWindow, AnotherDatabasesChangesLeaveThisEditorAlone)
{
    DOvurDocument* other = open("Other.RezUdu");
    ASSERT_NE(other, nullptr);
    FTPerson* stranger = FTPerson::initInMoc(other->moc(), "Anne Other", "F");

    // The comments change is not one the editor follows; only a refresh of its own database shows it.
    john->setComments("Fond of dogs");
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.post("AddedChildInPcd", stranger, other->moc());
    center.post("PersonToBeDeleted", stranger, other->moc());
    const int comments = editor->controller().indexOf("pComments");
    EXPECT_EQ(editor->pTabView()->tabText(comments), LocalizedString("Comments"));
    EXPECT_EQ(self->selectedPerson(), john);
    center.post("AddedChildInPcd", john, moc);
    EXPECT_EQ(editor->pTabView()->tabText(comments), LocalizedString("Comments") + "*");

    // A person of another database shown on this page brings its places along.
    self->setSelectedPerson(stranger);
    EXPECT_EQ(self->placeField(InfoArea_Self::BirthPlace)->moc(), other->moc());
    EXPECT_EQ(self->placeField(InfoArea_Self::DeathPlace)->moc(), other->moc());
}

TEST_F(PersonEditorWindow, TheNotesPagesUndoIsItsOwn)
{
    ASSERT_TRUE(editor->choosePage("pNotes"));
    auto* notes = editor->page("pNotes")->findChild<NotesTextEdit*>("notesTextView");
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->toPlainText(), "Worked the mill on the Aire.");
    FTMocUndoManager* undo = moc->undoManager();
    undo->closeOpenGroups();
    const int before = undo->undoCount();

    notes->setFocus();
    notes->moveCursor(QTextCursor::End);
    for (QChar c : QStringLiteral(" Drowned."))
        key(notes, 0, QString(c));
    EXPECT_EQ(notes->toPlainText(), "Worked the mill on the Aire. Drowned.");
    key(notes, Qt::Key_Z, {}, Qt::ControlModifier);
    EXPECT_NE(notes->toPlainText(), "Worked the mill on the Aire. Drowned.");
    undo->closeOpenGroups();
    EXPECT_EQ(undo->undoCount(), before);
    EXPECT_EQ(john->notes(), "Worked the mill on the Aire.");

    // Leaving the page writes what is there, as one change of the database.
    key(notes, 0, "!");
    QApplication::processEvents();
    saveScreenshot(doc->dovurWindow(), "editor-notes-page");
    const QString typed = notes->toPlainText();
    ASSERT_TRUE(editor->chooseTab(0));
    EXPECT_EQ(john->notes(), typed);
    undo->closeOpenGroups();
    EXPECT_EQ(undo->undoCount(), before + 1);
}

// Notes of millions of characters (another program's database, an old import) are shown as stored, read-only, on
// the Self page and the Notes page alike, without a copy in either box; nothing is written back, and a person with
// short notes is edited as before.
TEST_F(PersonEditorWindow, HugeNotesAreShownAsStoredWithoutCopiesAndNeverWrittenBack)
{
    QString huge;
    for (int i = 0; huge.size() <= NotesTextEdit::kLargeText; ++i)
        huge += QStringLiteral("Line %1 of the diary.\n").arg(i);
    huge += QString(3000, QChar(0x00E9)); // a last line longer than a row
    FTPerson* diarist = FTPerson::initInMoc(moc, "Ada Diarist", "F");
    diarist->setPrimitiveValue(Key("notes"), huge);
    moc->saveMoc();
    select(diarist);

    for (const char* page : {"pSelf", "pNotes"}) {
        SCOPED_TRACE(page);
        ASSERT_TRUE(editor->choosePage(page));
        NotesTextEdit* box = editor->page(page)->findChild<NotesTextEdit*>(page == QLatin1String("pSelf") ? "tf_notes"
                                                                                                         : "notesTextView");
        ASSERT_NE(box, nullptr);
        QApplication::processEvents();
        LargeTextView* view = box->largeTextView();
        ASSERT_NE(view, nullptr) << box->objectName().toStdString();
        EXPECT_TRUE(view->isVisible());
        EXPECT_TRUE(view->text().isSharedWith(diarist->notes())) << "the box holds the stored text, not a copy";
        EXPECT_LE(box->document()->characterCount(), 1);
        EXPECT_EQ(view->row(0), "Line 0 of the diary.");
        EXPECT_EQ(view->row(view->rowCount() - 2), QString(LargeTextView::kRowCharacters, QChar(0x00E9)));
        EXPECT_EQ(view->row(view->rowCount() - 1), QString(3000 - 2 * LargeTextView::kRowCharacters, QChar(0x00E9)));
        EXPECT_THAT(box->findChild<QLabel*>()->text().toStdString(), HasSubstr("too long to be changed here"));
        // Typing reaches nothing; ending the edit writes nothing.
        key(view, Qt::Key_PageDown);
        EXPECT_GT(view->firstVisibleRow(), 0);
        key(box, 0, "x");
        key(view, 0, "x");
        EXPECT_FALSE(box->isEditing());
        box->endEditing();
    }
    QApplication::processEvents();
    saveScreenshot(doc->dovurWindow(), "editor-huge-notes");
    ASSERT_TRUE(editor->chooseTab(0));
    EXPECT_TRUE(diarist->notes() == huge);
    EXPECT_FALSE(moc->hasChanges());

    // Back to a person with short notes: an ordinary box again, edited and stored.
    select(john);
    QApplication::processEvents();
    NotesTextEdit* notes = self->notesView();
    EXPECT_EQ(notes->largeTextView(), nullptr);
    EXPECT_FALSE(notes->isReadOnly());
    EXPECT_EQ(notes->toPlainText(), "Worked the mill on the Aire.");
    notes->setFocus();
    notes->moveCursor(QTextCursor::End);
    key(notes, 0, "!");
    notes->endEditing();
    EXPECT_EQ(john->notes(), "Worked the mill on the Aire.!");
}

TEST_F(PersonEditorWindow, MenuUndoTakesBackTheTypingFirstAndRedoBringsItBack)
{
    // Selecting a person is a step of its own: undoing it reselects, and a page that wrote the typed text then put
    // it inside the step, where the next redo wiped it.
    struct Case {
        const char* page;
        std::function<QWidget*()> box;
        std::function<QString(const FTPerson*)> read;
    };
    const QList<Case> cases = {
        {"pNotes", [&] { return editor->page("pNotes")->findChild<NotesTextEdit*>("notesTextView"); },
         [](const FTPerson* p) { return p->notes(); }},
        {"pSelf", [&] { return self->field(InfoArea_Self::Title); }, [](const FTPerson* p) { return p->title(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        FTPerson* ann = newPerson(moc, "Ann Smith", "F");
        ann->setNotes("Kept bees.");
        ann->setTitle("Dame");
        moc->undoManager()->closeOpenGroups();
        select(ann);
        moc->undoManager()->closeOpenGroups();
        ASSERT_TRUE(editor->choosePage(c.page));
        QWidget* box = c.box();
        ASSERT_NE(box, nullptr);
        const QString before = c.read(ann);
        box->setFocus();
        if (auto* text = qobject_cast<NotesTextEdit*>(box))
            text->moveCursor(QTextCursor::End);
        else
            qobject_cast<QLineEdit*>(box)->end(false);
        type(box, " TYPED");

        app->undo();
        EXPECT_EQ(c.read(ann), before);
        EXPECT_EQ(moc->modelDefaults()->selectedPerson(), ann);
        app->redo();
        EXPECT_EQ(c.read(ann), before + " TYPED");
        // And undoing the selection as well leaves the text where it was typed.
        app->undo();
        app->undo();
        app->redo();
        app->redo();
        EXPECT_EQ(c.read(ann), before + " TYPED");
    }
}

TEST_F(PersonEditorWindow, ACommandWhoseWindowIsMissingSaysSo)
{
    self->displayPersonalTimeline();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text,
              LocalizedString("WindowNotAvailableYet").arg(LocalizedString("PersonalTimeline")));

    FTPerson* shown = nullptr;
    EditorHooks::shared().personalTimeline = [&](QWidget*, FTPerson* p) { shown = p; };
    self->displayPersonalTimeline();
    EXPECT_EQ(shown, john);

    prompts.clear();
    self->displayLastChangeDates();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, ScriptedPrompts::ShowMe);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("LastChangeDates"));
    EXPECT_THAT(prompts.records[0].info.toStdString(), HasSubstr("Personal data"));
}

} // namespace
