// The notes dialogs: their tabs and marks, and that nothing typed is lost on the way out.
#include "EditorFixture.h"

#include "diagrams/DiagramHooks.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/InfoArea_Self.h"
#include "editor/ui/MarriageNotesDialog.h"
#include "editor/ui/NotesButton.h"
#include "editor/ui/NotesDialog.h"
#include "editor/ui/NotesTextEdit.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <gmock/gmock.h>

#include <functional>

using ::testing::ElementsAre;

namespace {

class NotesDialogs : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        UserDefaults::standard().setInteger("previousTabViewIndex", 0);
        doc = open("Family.RezUdu");
        ASSERT_NE(doc, nullptr);
        moc = doc->moc();
        john = FTPerson::initInMoc(moc, "John Smith", "M");
        john->setComments("Kind to animals.");
        john->setValueForKeyPath("birth.date", "5 Jan 1900");
        select(john);
        NotificationCenter::defaultCenter().addObserver(
            "NotesDialogClosed", nullptr, [this](const Notification& n) { closed << n.object; }, this);
        NotificationCenter::defaultCenter().addObserver(
            "MarriageNotesDialogClosed", nullptr, [this](const Notification& n) { closed << n.object; }, this);
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserversOf(this);
        EditorFixture::TearDown();
    }
    static void typeInto(NotesTextEdit* text, const QString& typed)
    {
        text->setFocus();
        text->moveCursor(QTextCursor::End);
        for (QChar c : typed)
            key(text, c == ' ' ? Qt::Key_Space : 0, QString(c));
    }
    QStringList labels(QTabWidget* tabs) const
    {
        QStringList out;
        for (int i = 0; i < tabs->count(); ++i)
            out << tabs->tabText(i);
        return out;
    }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    FTPerson* john = nullptr;
    QList<const void*> closed;
};

TEST_F(NotesDialogs, TextTypedJustBeforeClosingASheetIsStored)
{
    InfoArea_Self* self = editorOf(doc)->pSelf();
    auto* button = self->findChild<NotesButton*>("deathNotesButton");
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    button->click();
    auto* dialog = doc->dovurWindow()->findChild<NotesDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isSheet());
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->tabView()->currentIndex(), 3);
    EXPECT_EQ(dialog->notesTitle(), john->nameWithBirthMarriageAndDeathInfo());

    typeInto(dialog->textView("4"), "Lost at sea");
    QApplication::processEvents();
    saveScreenshot(dialog, "notes-dialog");
    dialog->close(); // the window's close box: no button pressed, no focus change first
    EXPECT_EQ(john->death() ? john->death()->notes() : QString(), "Lost at sea");
    EXPECT_TRUE(closed.isEmpty()); // a sheet's end is its opener's business
    EXPECT_EQ(button->text(), LocalizedString("NotesPresent"));
}

TEST_F(NotesDialogs, ChangingTabWritesTheTextAndMarksTheTab)
{
    auto* dialog = new NotesDialog;
    dialog->setOwner(john, "1", false);
    dialog->present(NotesWindow::ChildWindow, doc->dovurWindow());
    EXPECT_EQ(dialog->windowFlags() & Qt::Tool, Qt::Tool);
    EXPECT_THAT(labels(dialog->tabView()),
                ElementsAre(LocalizedString("PersonNotes"), "*" + LocalizedString("PersonComments"),
                            LocalizedString("BirthNotes"),
                            LocalizedString("DeathNotes")));

    typeInto(dialog->textView("1"), "Sailor");
    dialog->tabView()->setCurrentIndex(1);
    EXPECT_EQ(john->notes(), "Sailor");
    EXPECT_EQ(dialog->tabView()->tabText(0), "*" + LocalizedString("PersonNotes"));
    // An empty death-notes tab never makes a death event.
    EXPECT_EQ(john->death(), nullptr);

    typeInto(dialog->textView("2"), " Liked cats.");
    dialog->findChild<QPushButton*>("close")->click();
    EXPECT_EQ(john->comments(), "Kind to animals. Liked cats.");
    EXPECT_THAT(closed, ElementsAre(dialog));
    EXPECT_EQ(john->death(), nullptr);
}

TEST_F(NotesDialogs, TheHierarchyDetailsWindowRunsTheDialogModallyOnItsTab)
{
    const auto& hook = DiagramHooks::shared().notesDialog;
    ASSERT_TRUE(hook);
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<NotesDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = true;
        EXPECT_FALSE(dialog->isSheet());
        EXPECT_EQ(dialog->tabView()->currentWidget(), dialog->textView("3"));
        typeInto(dialog->textView("3"), "Born at sea");
        dialog->close();
    });
    hook(john, "3");
    EXPECT_TRUE(shown);
    EXPECT_EQ(john->birth()->notes(), "Born at sea");
    EXPECT_EQ(closed.size(), 1);
}

TEST_F(NotesDialogs, TheModalDialogStoresWhatWasTypedUndoablyAndNothingWhenLeftUntouched)
{
    const auto& run = DiagramHooks::shared().notesDialog;
    ASSERT_TRUE(run);
    FTMocUndoManager* undo = moc->undoManager();
    undo->closeOpenGroups();
    ASSERT_TRUE(moc->saveMoc());
    const int steps = undo->undoCount();

    // There is no Cancel: left untouched, by its Close button or by Escape, it stores nothing and makes no step
    // to undo, not even an empty death event for the death notes tab.
    const std::function<void(QDialog*)> leave[] = {
        [](QDialog* d) { d->findChild<QPushButton*>("close")->click(); },
        [](QDialog* d) { key(d, Qt::Key_Escape); },
    };
    for (const auto& how : leave) {
        whenModal(how);
        run(john, "4");
    }
    EXPECT_EQ(closed.size(), 2);
    EXPECT_EQ(john->death(), nullptr);
    EXPECT_FALSE(moc->hasChanges());
    undo->closeOpenGroups();
    EXPECT_EQ(undo->undoCount(), steps);

    // Typed and closed: stored, and one undo takes it back.
    whenModal([this](QDialog* d) {
        auto* dialog = qobject_cast<NotesDialog*>(d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->isSheet());
        EXPECT_EQ(dialog->tabView()->currentWidget(), dialog->textView("1"));
        typeInto(dialog->textView("1"), "Sailor on the Humber keels");
        QApplication::processEvents();
        saveScreenshot(dialog, "notes-dialog-modal");
        dialog->findChild<QPushButton*>("close")->click();
    });
    run(john, "1");
    EXPECT_EQ(john->notes(), "Sailor on the Humber keels");
    prompts.answer(0); // "Undo ...?" Yes
    doc->undo();
    EXPECT_EQ(john->notes(), "");

    // Escape keeps what was typed too: nothing typed is lost on the way out.
    whenModal([this](QDialog* d) {
        typeInto(qobject_cast<NotesDialog*>(d)->textView("2"), " Liked cats.");
        key(d, Qt::Key_Escape);
    });
    run(john, "2");
    EXPECT_EQ(john->comments(), "Kind to animals. Liked cats.");
}

TEST_F(NotesDialogs, NotesTypedBeforeSwitchingWindowsAreNotWrittenOverTheOtherWindowsText)
{
    InfoArea_Self* self = editorOf(doc)->pSelf();
    auto* notes = self->findChild<NotesTextEdit*>("tf_notes");
    ASSERT_NE(notes, nullptr);
    typeInto(notes, "Sailor.");

    // The user goes to another window (the hierarchy window) and opens the notes from its details.
    QWidget other;
    other.resize(300, 200);
    other.show();
    other.activateWindow();
    QApplication::setActiveWindow(&other);
    QApplication::processEvents();
    EXPECT_EQ(john->notes(), "Sailor.");
    whenModal([](QDialog* d) {
        auto* dialog = qobject_cast<NotesDialog*>(d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->textView("1")->toPlainText(), "Sailor.");
        typeInto(dialog->textView("1"), " Fisherman.");
        dialog->close();
    });
    DiagramHooks::shared().notesDialog(john, "1");

    // Back in the main window, the page shows both; clicking elsewhere writes nothing stale.
    doc->dovurWindow()->activateWindow();
    QApplication::setActiveWindow(doc->dovurWindow());
    QApplication::processEvents();
    EXPECT_EQ(notes->toPlainText(), "Sailor. Fisherman.");
    self->field(InfoArea_Self::Title)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(john->notes(), "Sailor. Fisherman.");
}

TEST_F(NotesDialogs, AnOpenNotesWindowShowsNotesWrittenElsewhereInTheTabsNotTypedIn)
{
    FTMocUndoManager* undo = moc->undoManager();
    auto* dialog = new NotesDialog;
    dialog->setOwner(john, "1", false);
    dialog->present(NotesWindow::ChildWindow, doc->dovurWindow());
    typeInto(dialog->textView("2"), " Liked cats.");

    undo->closeOpenGroups();
    john->setComments("Kind to all.");
    undo->closeOpenGroups();
    john->setNotes("Sailor.");
    undo->closeOpenGroups();
    EXPECT_EQ(dialog->textView("1")->toPlainText(), "Sailor.");
    EXPECT_EQ(dialog->tabView()->tabText(0), "*" + LocalizedString("PersonNotes"));
    EXPECT_EQ(dialog->textView("2")->toPlainText(), "Kind to animals. Liked cats."); // typed: kept as typed

    // Undo reaches the untouched tab too, and what is typed there next is added to what is stored.
    prompts.answer(0); // "Undo ...?" Yes
    doc->undo();
    ASSERT_EQ(john->notes(), "");
    EXPECT_EQ(dialog->textView("1")->toPlainText(), "");
    typeInto(dialog->textView("1"), "Fisherman.");
    dialog->findChild<QPushButton*>("close")->click();
    EXPECT_EQ(john->notes(), "Fisherman.");
    EXPECT_EQ(john->comments(), "Kind to animals. Liked cats.");
}

TEST_F(NotesDialogs, ACouplesDivorceTabNeedsOneDivorce)
{
    FTPerson* mary = FTPerson::initInMoc(moc, "Mary Jones", "F");
    FTSpouseRel* couple = mary->addSpouseRel(john);
    couple->setValueForKeyPath("marriage.date", "3 May 1925");
    couple->setValueForKeyPath("marriage.place", "St Mary's, Leeds");

    auto* dialog = new MarriageNotesDialog;
    dialog->setOwner(couple, "2", false);
    dialog->present(NotesWindow::ChildWindow, doc->dovurWindow());
    EXPECT_EQ(dialog->husband(), john);
    EXPECT_EQ(dialog->wife(), mary);
    EXPECT_THAT(labels(dialog->tabView()), ElementsAre(LocalizedString("MarriageNotes"), "---"));
    EXPECT_FALSE(dialog->tabView()->isTabEnabled(1));
    EXPECT_EQ(dialog->tabView()->currentIndex(), 0);

    typeInto(dialog->textView("1"), "Banns read thrice");
    QApplication::processEvents();
    saveScreenshot(dialog, "marriage-notes-dialog");
    dialog->close();
    EXPECT_EQ(couple->marriage()->notes(), "Banns read thrice");
    EXPECT_THAT(closed, ElementsAre(dialog));

    FTEvent::initInMoc(moc, 304, couple, "DIV");
    auto* again = new MarriageNotesDialog;
    again->setOwner(couple, "2", false);
    again->present(NotesWindow::ChildWindow, doc->dovurWindow());
    EXPECT_TRUE(again->tabView()->isTabEnabled(1));
    EXPECT_EQ(again->tabView()->currentIndex(), 1);
    EXPECT_EQ(again->tabView()->tabText(0), LocalizedString("*MarriageNotes"));
    again->close();
}

} // namespace
