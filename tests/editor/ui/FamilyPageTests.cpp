// The family page in a database's main window: the couple shown, typing a spouse or a child into the empty boxes,
// the children table's keys and commands, and the rebuild that waits for the next drawing.
#include "EditorFixture.h"

#include "editor/FamilyCouple.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/FamilyChildrenModel.h"
#include "editor/ui/InfoArea_Family2.h"
#include "editor/ui/InfoArea_Family2_TableView.h"
#include "editor/ui/MarriageNotesDialog.h"
#include "editor/ui/NotesDialog.h"
#include "editor/ui/NotesTextEdit.h"
#include "../../model/PeopleFixture.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/RelativeDialogs.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QSplitter>
#include <QTextEdit>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using Tag = FamilyCouple::Tag;

namespace {

class FamilyPage : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        UserDefaults::standard().setBool("multiLineNotesForFamilyPane", false);
        doc = open("Family.RezUdu", 1);
        ASSERT_NE(doc, nullptr);
        moc = doc->moc();
        editor = editorOf(doc);
        doc->dovurWindow()->resize(1100, 860);
        john = person("John Smith", "M", "5 Jan 1900", "Leeds, Yorkshire");
        mary = person("Mary Brown", "F", "2 Feb 1902", "Armley");
        FTSpouseRel* couple = john->addSpouseRel(mary);
        couple->setValueForKeyPath("marriage.date", "12 Jun 1924");
        couple->setValueForKeyPath("marriage.place", "St Peter's, Leeds");
        ann = child("Ann Smith", "F", "2 Mar 1926", {john, mary});
        ann->setValueForKeyPath("birth.notes", "Born at home.\nBaptised at St Peter's a week later.\nGodparents: "
                                               "her aunt and uncle.");
        tom = child("Tom Smith", "M", "9 Sep 1928", {john, mary});
        moc->undoManager()->closeOpenGroups();
        ASSERT_TRUE(editor->choosePage("pFamily2"));
        page = qobject_cast<InfoArea_Family2*>(editor->page("pFamily2"));
        ASSERT_NE(page, nullptr);
        table = page->tableView();
        select(john);
        drawn();
    }
    FTPerson* person(const QString& name, const QString& gender, const QString& born = {}, const QString& place = {})
    {
        return newPerson(moc, name, gender, born, place);
    }
    FTPerson* child(const QString& name, const QString& gender, const QString& born, QList<FTPerson*> parents,
                    int type = FTPcRel::kNatural)
    {
        FTPerson* c = person(name, gender, born);
        for (FTPerson* parent : parents)
            parent->attachChild(c, type, false, nullptr);
        return c;
    }
    void drawn()
    {
        QApplication::processEvents();
        doc->dovurWindow()->repaint();
    }
    FamilyChildrenModel* model() const { return page->childrenModel(); }
    QStringList rowNames() const
    {
        QStringList out;
        for (int r = 0; r < model()->rowCount(); ++r)
            out << model()->text(r, model()->tableColumn(FamilyChildrenLayout::Name));
        return out;
    }
    int column(const char* identifier) const { return table->columnOf(QString::fromLatin1(identifier)); }
    QWidget* cellEditor() const { return table->currentEditor(); }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    InfoAreaController* editor = nullptr;
    InfoArea_Family2* page = nullptr;
    InfoArea_Family2_TableView* table = nullptr;
    FTPerson* john = nullptr;
    FTPerson* mary = nullptr;
    FTPerson* ann = nullptr;
    FTPerson* tom = nullptr;
};

TEST_F(FamilyPage, ShowsTheCoupleTheirMarriageAndTheirChildren)
{
    EXPECT_EQ(page->husband(), john);
    EXPECT_EQ(page->wife(), mary);
    EXPECT_EQ(page->field(Tag::HusbandName)->text(), "John Smith");
    EXPECT_EQ(page->field(Tag::WifeBirthDate)->text(), "02 Feb 1902");
    EXPECT_EQ(page->field(Tag::MarriagePlace)->text(), "St Peter's, Leeds");
    EXPECT_THAT(rowNames(), ElementsAre("Ann Smith", "Tom Smith", ""));
    EXPECT_EQ(page->numChildren(), 2);
    // The button columns say what their buttons do, in every row, the empty last one too.
    for (int row : {0, 2}) {
        EXPECT_EQ(table->toolTipForCell(row, column("childsDetails")), LocalizedString("FamilyChildDetails"));
        EXPECT_EQ(table->toolTipForCell(row, column("childsFamily")), LocalizedString("FamilyChildFamily"));
    }
    saveScreenshot(doc->dovurWindow(), "editor-family-page");
    // The family dialog is left out of the steps that add a relative while this page is shown.
    installRelationshipDialogs();
    EXPECT_TRUE(RelativeDialogs::current()->isShowingFamilyPage());
    ASSERT_TRUE(editor->choosePage("pEvents"));
    EXPECT_FALSE(RelativeDialogs::current()->isShowingFamilyPage());
    uninstallRelationshipDialogs();
}

TEST_F(FamilyPage, RefreshRequestsLeadToOneRebuildBeforeTheNextDrawing)
{
    const int before = page->rebuildCount();
    for (int i = 0; i < 5; ++i)
        page->refreshDisplay();
    NotificationCenter::defaultCenter().post("RefreshAllViews", nullptr, moc);
    EXPECT_EQ(page->rebuildCount(), before);
    EXPECT_TRUE(page->refreshArrayPending());
    drawn();
    EXPECT_EQ(page->rebuildCount(), before + 1);
    EXPECT_FALSE(page->refreshArrayPending());
}

TEST_F(FamilyPage, TheFirstDrawingAfterAPersonChangeShowsTheNewLabelsWhole)
{
    // Mary was never shown: her husband's label is empty until the page is rebuilt for her. The window draws
    // once, as it does when the event loop reaches the drawing before anything else; the labels must fit then.
    UserDefaults::standard().setInteger("familyLabelStyle", FamilyCouple::AutoAssigned);
    select(mary);
    EXPECT_TRUE(page->refreshArrayPending());
    QCoreApplication::sendPostedEvents(doc->dovurWindow(), QEvent::UpdateRequest);
    ASSERT_FALSE(page->refreshArrayPending());
    ASSERT_EQ(page->husbandLabel()->text(), "Husband");
    for (QAbstractButton* label : {page->husbandLabel(), page->wifeLabel()})
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
}

TEST_F(FamilyPage, TheChildrenTableShowsSeveralRowsAndTheFieldsAboveStayWhole)
{
    for (const char* name : {"Jane Smith", "Bill Smith", "Rose Smith", "Fred Smith"})
        child(name, "F", "1930", {john, mary});
    page->refreshDisplay();
    drawn();
    QSplitter* split = doc->pHorizSplitView();
    struct Case {
        QSize window;
        int editorHeight; // 0: as the window gives it
        int rows;
        const char* screenshot;
    };
    const Case cases[] = {
        {{DOvurDocument::kDefaultWidth, DOvurDocument::kDefaultHeight}, 0, 5, "editor-family-page-default-window"},
        {{DOvurDocument::kMinWidth, DOvurDocument::kMinHeight}, 0, 4, "editor-family-page-short-window"},
        {{DOvurDocument::kDefaultWidth, DOvurDocument::kDefaultHeight}, DOvurDocument::kMinEditorHeight, 2,
         "editor-family-page-shortest-editor"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screenshot);
        doc->dovurWindow()->resize(c.window);
        if (c.editorHeight)
            split->setSizes({split->height() - c.editorHeight, c.editorHeight});
        drawn();
        drawn();
        // Nothing above the table is squeezed below the height it needs.
        EXPECT_GE(page->height(), page->minimumSizeHint().height());
        // The dates show whole and the places are never the narrower; "Age" stands under "Born" and "Died".
        for (int date : {Tag::HusbandBirthDate, Tag::WifeBirthDate}) {
            EditorLineEdit* field = page->field(date);
            EXPECT_GT(field->width(), field->fontMetrics().horizontalAdvance(field->text()) + 8);
            EXPECT_GE(page->field(date + 1)->width(), field->width());
        }
        const QAbstractButton* born = page->button(Tag::HusbandBornButton);
        const QWidget* age = page->findChild<QWidget*>("husbandAgeCaption");
        ASSERT_TRUE(born && age);
        EXPECT_NEAR(born->geometry().center().x(), age->geometry().center().x(), 1);
        table->scrollToTop();
        int shown = 0;
        for (int r = 0; r < model()->rowCount(); ++r)
            if (table->viewport()->rect().contains(table->visualRect(model()->index(r, column("name")))))
                ++shown;
        EXPECT_GE(shown, c.rows);
        saveScreenshot(doc->dovurWindow(), c.screenshot);
    }
}

TEST_F(FamilyPage, SeveralSpousesAreListedAndTheBoxSwitchesTheCouple)
{
    FTPerson* ruth = person("Ruth Green", "F", "1905");
    john->addSpouseRel(ruth);
    FTPerson* kit = child("Kit Smith", "M", "1935", {john, ruth});
    UserDefaults::standard().setInteger("familyLabelStyle", 0);
    page->refreshDisplay();
    drawn();
    QComboBox* box = page->nameBox(Tag::WifeName);
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(page->wifeLabel()->text(), "Wives (2)");
    EXPECT_EQ(page->husbandLabel()->text(), "");
    const int ruthAt = box->findText("Ruth Green");
    ASSERT_GE(ruthAt, 0);
    box->setCurrentIndex(ruthAt);
    Q_EMIT box->activated(ruthAt);
    EXPECT_EQ(page->wife(), ruth);
    EXPECT_THAT(rowNames(), ElementsAre("Kit Smith", ""));
    EXPECT_EQ(page->field(Tag::MarriageDate)->text(), "");
    // The choice stays through later rebuilds of the same family.
    page->refreshDisplay();
    drawn();
    EXPECT_EQ(page->wife(), ruth);
    Q_UNUSED(kit);
    saveScreenshot(doc->dovurWindow(), "editor-family-page-several-spouses");
}

TEST_F(FamilyPage, TypingAWifeGivesHerTheMansChildrenAsStepChildrenAndMovesToHerBirthDate)
{
    // A man with two children of a mother he is not linked to as a spouse.
    FTPerson* will = person("Will Brown", "M", "1870");
    FTPerson* nell = person("Nell Grey", "F", "1872");
    FTPerson* a = child("Amy Brown", "F", "1895", {will, nell});
    FTPerson* b = child("Ben Brown", "M", "1897", {will, nell});
    select(will);
    drawn();
    EXPECT_EQ(page->wife(), nullptr);
    EXPECT_FALSE(page->field(Tag::WifeBirthDate)->isEnabled());
    EXPECT_FALSE(table->isEnabled());
    EditorLineEdit* name = page->field(Tag::WifeName);
    name->setFocus();
    type(name, "Jane Doe");
    key(name, Qt::Key_Return);
    drawn();
    FTPerson* jane = page->wife();
    ASSERT_NE(jane, nullptr);
    EXPECT_EQ(jane->name(), "Jane Doe");
    EXPECT_TRUE(jane->isFemale());
    EXPECT_EQ(typeOf(jane, a), FTPcRel::kStep);
    EXPECT_EQ(typeOf(jane, b), FTPcRel::kStep);
    EXPECT_EQ(QApplication::focusWidget(), page->field(Tag::WifeBirthDate));
    EXPECT_TRUE(table->isEnabled());
}

TEST_F(FamilyPage, ANameTypedIntoTheNewChildRowMakesTheChildAboveIt)
{
    FTPerson* other = person("Robin Hood", "M", "1800");
    Q_UNUSED(other);
    const int last = model()->rowCount() - 1;
    ASSERT_TRUE(table->editColumn(QStringLiteral("name"), last));
    type(cellEditor(), "Robin Smith");
    key(cellEditor(), Qt::Key_Return);
    EXPECT_THAT(rowNames(), ElementsAre("Ann Smith", "Tom Smith", "Robin Smith", ""));
    FTPerson* robin = model()->child(2);
    ASSERT_NE(robin, nullptr);
    EXPECT_TRUE(robin->isMale());
    EXPECT_EQ(typeOf(john, robin), FTPcRel::kNatural);
    EXPECT_EQ(typeOf(mary, robin), FTPcRel::kNatural);
    // The edit goes on in the new child's gender, its letter selected.
    EXPECT_EQ(table->editingIndex(), model()->index(2, column("gender")));
    auto* gender = qobject_cast<QLineEdit*>(cellEditor());
    ASSERT_NE(gender, nullptr);
    EXPECT_EQ(gender->selectedText(), "M");
    EXPECT_EQ(page->numChildren(), 3);
}

TEST_F(FamilyPage, ADiscardedDuplicateNameMakesNoChild)
{
    UserDefaults::standard().setBool("duplicateNameWarning", true);
    const int people = moc->count<FTPerson>();
    prompts.answer(1); // "Discard"
    ASSERT_TRUE(table->editColumn(QStringLiteral("name"), model()->rowCount() - 1));
    type(cellEditor(), "Ann Smith");
    key(cellEditor(), Qt::Key_Return);
    EXPECT_EQ(moc->count<FTPerson>(), people);
    EXPECT_THAT(rowNames(), ElementsAre("Ann Smith", "Tom Smith", ""));
}

TEST_F(FamilyPage, CellEditsAreCheckedAndTheKeysMoveByTheTablesRules)
{
    // A child's name may not be blanked.
    ASSERT_TRUE(table->editColumn(QStringLiteral("name"), 0));
    qobject_cast<QLineEdit*>(cellEditor())->setText("   ");
    EXPECT_FALSE(table->endEditing());
    EXPECT_EQ(ann->name(), "Ann Smith");
    table->abandonEditing();
    // A refused gender is set back and the cell stays open.
    ASSERT_TRUE(table->editColumn(QStringLiteral("gender"), 1));
    auto* gender = qobject_cast<QLineEdit*>(cellEditor());
    gender->setText("X");
    EXPECT_FALSE(table->endEditing());
    EXPECT_EQ(gender->text(), "M");
    table->abandonEditing();
    // Tab in the first child's death notes goes to the second child's name.
    ASSERT_TRUE(table->editColumn(QStringLiteral("deathNotes"), 0));
    key(cellEditor(), Qt::Key_Tab);
    EXPECT_EQ(table->editingIndex(), model()->index(1, column("name")));
    // Down from the last child's birth date does nothing; from its name it reaches the new-child row.
    ASSERT_TRUE(table->editColumn(QStringLiteral("birthDate"), 1));
    key(cellEditor(), Qt::Key_Down);
    EXPECT_EQ(table->editingIndex(), model()->index(1, column("birthDate")));
    ASSERT_TRUE(table->editColumn(QStringLiteral("name"), 1));
    key(cellEditor(), Qt::Key_Down);
    EXPECT_EQ(table->editingIndex(), model()->index(2, column("name")));
    // A bad date keeps its cell with what was typed.
    ASSERT_TRUE(table->editColumn(QStringLiteral("birthDate"), 0));
    auto* date = qobject_cast<QLineEdit*>(cellEditor());
    date->setText("32 Foo 1926");
    EXPECT_FALSE(table->endEditing());
    EXPECT_EQ(date->text(), "32 Foo 1926");
    table->abandonEditing();
    // Return in the notes starts a new line; leaving trims them.
    ASSERT_TRUE(table->editColumn(QStringLiteral("deathNotes"), 1));
    type(cellEditor(), "  Drowned");
    key(cellEditor(), Qt::Key_Return);
    type(cellEditor(), "at sea.  ");
    ASSERT_TRUE(table->endEditing());
    ASSERT_NE(tom->death(), nullptr);
    EXPECT_EQ(tom->death()->notes(), "Drowned\nat sea.");
}

TEST_F(FamilyPage, DeleteChildDeletesThePersonAfterTheConfirmation)
{
    UserDefaults::standard().setBool("showDeleteWarnings", true);
    page->deleteChild();
    EXPECT_EQ(texts().last(), LocalizedString("DeleteChildMsg"));
    QStringList posted;
    NotificationCenter::defaultCenter().addObserver(
        "PersonToBeDeleted", nullptr, [&](const Notification& n) { posted << static_cast<const FTPerson*>(n.object)->name(); },
        this);
    table->selectRow(1);
    prompts.answer(1); // "Cancel"
    page->deleteChild();
    EXPECT_FALSE(tom->isDeleted());
    table->selectRow(1);
    prompts.answer(0);
    page->deleteChild();
    EXPECT_TRUE(tom->isDeleted());
    EXPECT_THAT(posted, ElementsAre("Tom Smith"));
    EXPECT_FALSE(moc->hasChanges());
    drawn();
    EXPECT_THAT(rowNames(), ElementsAre("Ann Smith", ""));
    NotificationCenter::defaultCenter().removeObserversOf(this);
}

TEST_F(FamilyPage, TheContextMenuMakesTheChildFocalAndCitesTheActiveSource)
{
    EXPECT_EQ(page->createContextMenu(2), nullptr);
    std::unique_ptr<QMenu> menu(page->createContextMenu(0));
    ASSERT_NE(menu, nullptr);
    QStringList titles;
    for (QAction* a : menu->actions())
        titles << a->text();
    EXPECT_THAT(titles, ElementsAre("Promote Ann Smith to Focal Person", "", "Add Citation from Ann Smith to a Source...",
                            "Add Citation from Ann Smith's Birth to a Source..."));
    menu->actions().first()->trigger();
    EXPECT_EQ(moc->focalPerson(), ann);
}

TEST_F(FamilyPage, TheLabelStyleIsChosenInAnAlert)
{
    prompts.answer(3); // "No Labels"
    ASSERT_TRUE(page->wifeLabel()->isEnabled());
    page->wifeLabel()->click();
    EXPECT_EQ(UserDefaults::standard().integerForKey("familyLabelStyle"), 3);
    drawn();
    EXPECT_EQ(page->wifeLabel()->text(), "");
    prompts.answer(0);
    page->wifeLabel()->click();
    drawn();
    EXPECT_EQ(page->wifeLabel()->text(), "Wife");
}

TEST_F(FamilyPage, CalendarOnlyForACompleteDateAndNotesMarked)
{
    page->displayCalendar(Tag::HusbandDiedButton); // no death: a beep, nothing else
    mary->setValueForKeyPath("death.date", "1970");
    drawn();
    page->displayCalendar(Tag::WifeDiedButton);
    EXPECT_EQ(texts().last(), LocalizedString("CalClarify"));
    page->displayCalendar(Tag::HusbandBornButton);
    auto* sheet = doc->dovurWindow()->findChild<QDialog*>("DateDisplay");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->windowTitle(), LocalizedString("BDate"));
    sheet->reject();

    EXPECT_EQ(page->button(Tag::WifeNotesButton)->text(), LocalizedString("NoNotes"));
    page->editNotes(Tag::WifeNotesButton);
    NotesDialog* notes = page->notesDialogController();
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->person(), mary);
    EXPECT_EQ(notes->parentWidget(), doc->dovurWindow());
    notes->textView("1")->insertPlainText("Kept a shop.");
    notes->close();
    drawn();
    EXPECT_EQ(mary->notes(), "Kept a shop.");
    EXPECT_EQ(page->button(Tag::WifeNotesButton)->text(), LocalizedString("NotesPresent"));
}

TEST_F(FamilyPage, ANotesButtonReusingTheOpenNotesWindowKeepsWhatWasTyped)
{
    page->editNotes(Tag::HusbandNotesButton);
    NotesDialog* notes = page->notesDialogController();
    ASSERT_NE(notes, nullptr);
    notes->textView("1")->insertPlainText("Sailor.");
    page->editNotes(Tag::WifeNotesButton);
    ASSERT_EQ(page->notesDialogController(), notes);
    EXPECT_EQ(notes->person(), mary);
    EXPECT_EQ(john->notes(), "Sailor.");
    EXPECT_EQ(notes->textView("1")->toPlainText(), "");

    notes->textView("1")->insertPlainText("Kept a shop.");
    page->editNotes(Tag::WifeBirthNotesButton);
    EXPECT_EQ(mary->notes(), "Kept a shop.");
    EXPECT_EQ(notes->tabView()->currentWidget(), notes->textView("3"));

    page->editNotes(Tag::MarriageNotesButton);
    MarriageNotesDialog* marriage = page->marriageNotesDialogController();
    ASSERT_NE(marriage, nullptr);
    marriage->textView("1")->insertPlainText("Banns read thrice.");
    page->editNotes(Tag::MarriageNotesButton);
    EXPECT_EQ(marriage->textView("1")->toPlainText(), "Banns read thrice.");
    EXPECT_EQ(john->spouseRels().first()->marriage()->notes(), "Banns read thrice.");
    notes->close();
    marriage->close();
}

TEST_F(FamilyPage, NotesWindowsCloseUnwrittenWhenTheirPersonOrCoupleIsDeletedElsewhere)
{
    auto openBoth = [&] {
        page->editNotes(Tag::WifeNotesButton);
        page->editNotes(Tag::MarriageNotesButton);
        QPointer<NotesDialog> notes = page->notesDialogController();
        QPointer<MarriageNotesDialog> marriage = page->marriageNotesDialogController();
        EXPECT_TRUE(notes && marriage);
        notes->textView("1")->insertPlainText("Typed for her.");
        marriage->textView("1")->insertPlainText("Typed for them.");
        return std::pair{notes, marriage};
    };
    auto deleteObject = [&](const char* notification, FTManagedObject* object) {
        NotificationCenter::defaultCenter().post(notification, object, moc);
        moc->deleteObject(object);
    };
    auto closeAll = [](auto&... windows) {
        for (QDialog* w : {static_cast<QDialog*>(windows)...})
            if (w)
                w->close();
    };
    auto typedForThem = [&] {
        return moc->fetch<FTEvent>([](const FTEvent* e) { return e->notes() == "Typed for them."; }).size();
    };

    // The couple disconnected: its window goes at once, not only when the page is next drawn, and nothing typed
    // reaches the deleted couple.
    auto [notes, marriage] = openBoth();
    deleteObject("SpouseRelToBeDeleted", john->spouseRels().first());
    EXPECT_TRUE(!marriage || !marriage->isVisible());
    drawn();
    closeAll(notes, marriage);
    EXPECT_EQ(typedForThem(), 0);
    EXPECT_EQ(mary->notes(), "Typed for her.");

    // The wife deleted: her window and the couple's go, and neither writes into what is deleted.
    FTPerson* ruth = person("Ruth Green", "F", "1905");
    john->addSpouseRel(ruth);
    page->refreshDisplay();
    drawn();
    ASSERT_EQ(page->wife(), ruth);
    std::tie(notes, marriage) = openBoth();
    deleteObject("PersonToBeDeleted", ruth);
    EXPECT_TRUE(!notes || !notes->isVisible());
    EXPECT_TRUE(!marriage || !marriage->isVisible());
    drawn();
    closeAll(notes, marriage);
    EXPECT_EQ(ruth->notes(), "");
    EXPECT_EQ(typedForThem(), 0);
}

TEST_F(FamilyPage, WhatTheNotesWindowsHoldIsStoredByCloseCloseAndQuitAndQuit)
{
    const QString path = moc->databaseURL();
    enum Way { Close, CloseAndQuit, Quit };
    for (Way way : {Close, CloseAndQuit, Quit}) {
        SCOPED_TRACE(way);
        const QString typed = QString::number(way);
        if (way != Close) {
            start(); // a quit ends the application controller's run
            doc = app->openDocumentWithContentsOfURL(path);
            ASSERT_NE(doc, nullptr) << texts().join("\n").toStdString();
            moc = doc->moc();
            editor = editorOf(doc);
            ASSERT_TRUE(editor->choosePage("pFamily2"));
            page = qobject_cast<InfoArea_Family2*>(editor->page("pFamily2"));
            select(moc->fetchFirst<FTPerson>([](const FTPerson* p) { return p->name() == "John Smith"; }));
            drawn();
        }
        // Typed into both windows, which stay open while the user goes back to the main window.
        page->editNotes(Tag::HusbandNotesButton);
        page->editNotes(Tag::MarriageNotesButton);
        ASSERT_TRUE(page->notesDialogController() && page->marriageNotesDialogController());
        auto retypeNotes = [](QTextEdit* text, const QString& value) {
            text->selectAll();
            text->insertPlainText(value);
        };
        retypeNotes(page->notesDialogController()->textView("1"), "Sailor " + typed);
        retypeNotes(page->marriageNotesDialogController()->textView("1"), "Banns " + typed);
        doc->dovurWindow()->activateWindow();
        QApplication::processEvents();

        prompts.clear();
        if (way == Quit) {
            EXPECT_TRUE(app->terminate());
        } else {
            prompts.answer(way == Close ? 1 : 0); // "Close & Quit", "Close", "Cancel"
            doc->performClose();
        }
        ASSERT_TRUE(documents().isEmpty()) << texts().join("\n").toStdString();

        auto stored = FTMoc::initForStoreURL(path, true);
        ASSERT_TRUE(stored);
        const FTPerson* husband = stored->fetchFirst<FTPerson>(
            [](const FTPerson* p) { return p->name() == QLatin1String("John Smith"); });
        ASSERT_NE(husband, nullptr);
        EXPECT_EQ(husband->notes(), "Sailor " + typed);
        ASSERT_EQ(husband->spouseRels().size(), 1);
        ASSERT_TRUE(husband->spouseRels().first()->marriage());
        EXPECT_EQ(husband->spouseRels().first()->marriage()->notes(), "Banns " + typed);
    }
}

} // namespace
