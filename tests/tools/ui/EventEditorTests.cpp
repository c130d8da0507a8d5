// The event editor as the events page opens it, on a person's and on a couple's event: fields written to the event
// when their edit ends, the date and LDS status checks that keep a field in editing, a type change, closing refused
// without a name, and its citations.

#include "ToolsWindowFixture.h"
#include "../../editor/ui/EditorFixture.h"

#include "tools/ui/EventEditorController.h"
#include "tools/ui/PlacesComboBox.h"

#include "sources/CitationTableModel.h"
#include "sources/ui/CitationTableView.h"

#include "editor/ui/AddEventButton.h"
#include "editor/ui/EditorHooks.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/EventsTableModel.h"
#include "editor/ui/InfoAreaController.h"
#include "editor/ui/InfoArea_Events.h"
#include "editor/ui/InfoArea_Events_TableView.h"
#include "editor/ui/InfoArea_Self.h"
#include "editor/ui/NotesTextEdit.h"

#include "model/FTModelDefaults.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QSplitter>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

class EventEditorWindow : public ToolsWindowFixture {
protected:
    void SetUp() override
    {
        ToolsWindowFixture::SetUp();
        doc->dovurWindow()->resize(1200, 800);
        john = FTPerson::initInMoc(moc, "John Ward", "M");
        john->setValueForKeyPath("birth.date", "5 Jan 1900");
        mary = FTPerson::initInMoc(moc, "Mary Hill", "F");
        couple = john->addSpouseRel(mary);
        couple->setValueForKeyPath("marriage.date", "12 Jun 1924");
        moc->saveMoc();
    }
    void TearDown() override
    {
        EventEditorController::setPrevSize({0, 0});
        EventEditorController::setVerticalSplitViewPercent(0);
        ToolsWindowFixture::TearDown();
    }
    FTEvent* personal(const char* tag, const QString& date = {})
    {
        FTEvent* e = FTEvent::initInMoc(moc, FTEvent::OtherPersonalEvent, john, tag);
        if (!date.isEmpty())
            e->setDate(date);
        return e;
    }
    // The editor as the installed hook opens it on the main window.
    EventEditorController* open(FTManagedObject* owner, FTEvent* event)
    {
        ended = 0;
        EditorHooks::shared().eventEditor(doc->dovurWindow(), owner, event, [this] { ++ended; });
        return sheet<EventEditorController>();
    }
    static void key(QWidget* w, int key, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &release);
    }
    // What the user types over the field's text, as keys; Return ends the edit.
    static void retype(QLineEdit* edit, const QString& text, bool end = true)
    {
        edit->selectAll();
        if (text.isEmpty())
            key(edit, Qt::Key_Delete);
        for (QChar c : text)
            key(edit, c == ' ' ? Qt::Key_Space : 0, QString(c));
        if (end)
            key(edit, Qt::Key_Return);
    }

    FTPerson* john = nullptr;
    FTPerson* mary = nullptr;
    FTSpouseRel* couple = nullptr;
    int ended = 0;
};

TEST_F(EventEditorWindow, APersonsEventIsEditedFieldByFieldAndTheDateIsChecked)
{
    FTEvent* census = personal("CENS", "3 Apr 1911");
    census->setPlace("Leeds, Yorkshire");
    EventEditorController* e = open(john, census);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->windowTitle(), L("EditPersonalEvent"));
    EXPECT_EQ(e->findChild<QLabel*>("eventOwnersName")->text(), john->nameWithBirthAndDeathYears());
    EXPECT_EQ(e->typeLabel()->text(), census->subtypeName());
    EXPECT_EQ(e->dateField()->text(), "03 Apr 1911");
    EXPECT_EQ(e->placesComboBox()->lineEdit()->text(), "Leeds, Yorkshire");
    EXPECT_TRUE(e->eventNamesComboBox()->isEnabled());
    EXPECT_FALSE(e->ldsStatusField()->isVisible()); // only ordinances have an LDS status

    // A date its check refuses keeps the field in editing and the event as it was.
    retype(e->dateField(), "31 Feb 1911");
    EXPECT_FALSE(prompts.records.isEmpty());
    EXPECT_TRUE(e->dateField()->isEditing());
    EXPECT_EQ(census->date(), "03 Apr 1911");
    prompts.clear();
    retype(e->dateField(), "2 apr 1911");
    EXPECT_FALSE(e->dateField()->isEditing());
    EXPECT_EQ(census->date(), "02 Apr 1911");
    EXPECT_EQ(e->dateField()->text(), "02 Apr 1911"); // shown as stored

    retype(e->placesComboBox()->lineEdit(), "Otley Chapel");
    EXPECT_EQ(census->place(), "Otley Chapel");
    e->notesView()->setFocus();
    for (QChar c : QString("Living with his parents."))
        key(e->notesView(), c == ' ' ? Qt::Key_Space : 0, QString(c));
    saveScreenshot(e, "EventEditor");

    // The notes being typed are stored when the editor closes; its size is kept for the next one.
    e->resize(820, 640);
    ASSERT_TRUE(e->closeEditor());
    settleEvents();
    EXPECT_EQ(census->notes(), "Living with his parents.");
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(sheet<EventEditorController>(), nullptr);
    EXPECT_EQ(EventEditorController::prevSize(), QSize(820, 640));
    // The citations table's share of the split is kept too, but never more than 0.95 is given back.
    const double kept = EventEditorController::verticalSplitViewPercent();
    EXPECT_GT(kept, 0.3);
    EXPECT_LT(kept, 0.95);
    EventEditorController::setVerticalSplitViewPercent(0.99);
    EventEditorController::setPrevSize({2400, 640}); // wide enough that the notes' least width does not count
    EventEditorController* again = open(john, census);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->size(), QSize(2400, 640));
    const double share = double(again->sourceRelsTableView()->width()) / again->verticalSplitView()->width();
    EXPECT_NEAR(share, EventEditorController::kMaxSplitFraction, 0.005);
    again->closeEditor();
}

TEST_F(EventEditorWindow, ACouplesEventShowsBothPartnersAndKeepsItsType)
{
    FTEvent* marriage = couple->marriage();
    ASSERT_NE(marriage, nullptr);
    EventEditorController* e = open(couple, marriage);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->spouseRel(), couple);
    EXPECT_EQ(e->windowTitle(), L("EditMarriageEvent"));
    EXPECT_EQ(e->ownersLabel()->text(), L("Persons") + ":");
    const QString owners = e->findChild<QLabel*>("eventOwnersName")->text();
    EXPECT_TRUE(owners.contains("John Ward") && owners.contains("Mary Hill")) << owners.toStdString();
    // A marriage keeps its type and its name.
    EXPECT_FALSE(e->eventTypeButton()->isVisible());
    EXPECT_FALSE(e->eventNamesComboBox()->isEnabled());
    retype(e->dateField(), "13 Jun 1924");
    EXPECT_EQ(marriage->date(), "13 Jun 1924");
    saveScreenshot(e, "EventEditorMarriage");
    ASSERT_TRUE(e->closeEditor());

    // A couple without the event gets no editor.
    EXPECT_EQ(EventEditorController::beginSheet(doc->dovurWindow(), couple, nullptr), nullptr);
}

TEST_F(EventEditorWindow, ATypeChangeRenamesADefaultNameAndClosingNeedsAName)
{
    FTEvent* event = personal("BAPM", "1 Feb 1900");
    event->setName("Baptism");
    EventEditorController* e = open(john, event);
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->eventTypeButton()->isVisible());
    e->addEventWithType("CHR");
    EXPECT_EQ(event->subtype(), "CHR");
    EXPECT_EQ(event->name(), event->subtypeName());
    EXPECT_EQ(e->eventNamesComboBox()->currentText(), event->subtypeName());
    EXPECT_EQ(e->typeLabel()->text(), event->subtypeName());

    // A name the user gave stays through the next change.
    retype(e->eventNamesComboBox()->lineEdit(), "Private christening");
    EXPECT_EQ(event->name(), "Private christening");
    e->addEventWithType("BAPM");
    EXPECT_EQ(event->subtype(), "BAPM");
    EXPECT_EQ(event->name(), "Private christening");

    // A blank name is not written, and the editor stays open until the event has one.
    retype(e->eventNamesComboBox()->lineEdit(), "");
    prompts.clear();
    EXPECT_FALSE(e->closeEditor());
    EXPECT_THAT(texts(), ElementsAre(L("FieldsAreMandatory")));
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(event->name(), "Private christening");
    EXPECT_EQ(ended, 0);
    // Escape is a close like any other.
    prompts.clear();
    key(e, Qt::Key_Escape);
    EXPECT_THAT(texts(), ElementsAre(L("FieldsAreMandatory")));
    EXPECT_TRUE(e->isVisible());
    retype(e->eventNamesComboBox()->lineEdit(), "Baptism");
    EXPECT_TRUE(e->closeEditor());
    EXPECT_EQ(ended, 1);
}

TEST_F(EventEditorWindow, AnOrdinanceRefusesAStatusOfAnotherOrdinance)
{
    FTEvent* baptism = personal("BAPL", "1950");
    EventEditorController* e = open(john, baptism);
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(e->ldsStatusField()->isVisible());
    EXPECT_TRUE(e->ldsTempleField()->isVisible());

    retype(e->ldsStatusField(), "dns");
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, QString("DNS %1 BAPL").arg(L("isInvalidFor")));
    EXPECT_TRUE(e->ldsStatusField()->isEditing());
    EXPECT_EQ(baptism->ldsStatus(), "");
    saveScreenshot(e, "EventEditorLds");
    // Nor does closing pass it by.
    prompts.clear();
    EXPECT_FALSE(e->closeEditor());
    EXPECT_EQ(prompts.records.size(), 1);

    prompts.clear();
    retype(e->ldsStatusField(), " qualified ");
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(baptism->ldsStatus(), "QUALIFIED");
    EXPECT_EQ(e->ldsStatusField()->text(), "QUALIFIED");
    retype(e->ldsTempleField(), "LONDO");
    EXPECT_EQ(baptism->ldsTempleCode(), "LONDO");
    EXPECT_TRUE(e->closeEditor());
}

TEST_F(EventEditorWindow, CitationsAreAddedAndARemovalIsSavedAtOnce)
{
    FTSource* source = FTSource::initInMoc(moc);
    source->setTitle("Parish register of Leeds");
    FTEvent* census = personal("CENS", "1911");
    moc->saveMoc();
    EventEditorController* e = open(john, census);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->sourceRelsArrayController()->rowCount(), 0);
    e->addReference(source);
    ASSERT_EQ(census->sourceRels().size(), 1);
    EXPECT_EQ(e->sourceRelsArrayController()->rowCount(), 1);
    FTSourceRel* citation = census->sourceRels().first();
    EXPECT_EQ(e->sourceRelsTableView()->selectedCitation(), citation);
    // The selected citation's notes are beside the table.
    EXPECT_TRUE(e->citationNotes()->isEnabled());
    saveScreenshot(e, "EventEditorCitations");

    int posted = 0;
    NotificationCenter::defaultCenter().addObserver(
        "RefreshAllViews", nullptr, [&](const Notification&) { ++posted; }, &posted);
    prompts.answer(0); // Delete
    e->removeReference();
    NotificationCenter::defaultCenter().removeObserversOf(&posted);
    EXPECT_TRUE(census->sourceRels().isEmpty());
    EXPECT_EQ(e->sourceRelsArrayController()->rowCount(), 0);
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_EQ(posted, 0);
    EXPECT_FALSE(e->citationNotes()->isEnabled());

    // Nothing selected: the user is told.
    prompts.clear();
    e->removeReference();
    EXPECT_THAT(texts(), ElementsAre(L("SelectSourceTryAgain")));
    e->closeEditor();
}

// The events page of the real person editor opens the installed event editor on its selected row.
class EventsPageEdit : public EditorFixture {};

TEST_F(EventsPageEdit, TheEditButtonOpensTheEditorAndItsEndRefreshesThePage)
{
    ToolsMenuActions::install();
    DOvurDocument* doc = open("Family.RezUdu");
    ASSERT_NE(doc, nullptr);
    FTMoc* moc = doc->moc();
    FTPerson* john = newPerson(moc, "John Ward", "M", "5 Jan 1900");
    FTEvent* census = FTEvent::initInMoc(moc, FTEvent::OtherPersonalEvent, john, "CENS");
    census->setDate("3 Apr 1911");
    select(john);
    InfoAreaController* editor = editorOf(doc);
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->choosePage("pEvents"));
    auto* page = qobject_cast<InfoArea_Events*>(editor->page("pEvents"));
    ASSERT_NE(page, nullptr);
    QApplication::processEvents();
    const int row = page->eventsModel()->rowOf(census);
    ASSERT_GE(row, 0);
    page->tableView()->selectRow(row);
    page->eventEdit();
    EventEditorController* e = nullptr;
    for (auto* s : doc->dovurWindow()->findChildren<EventEditorController*>())
        if (s->isVisible())
            e = s;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->event(), census);
    EXPECT_EQ(e->person(), john);
    EXPECT_EQ(e->windowModality(), Qt::WindowModal);
    e->dateField()->selectAll();
    type(e->dateField(), "1911");
    key(e->dateField(), Qt::Key_Return);
    EXPECT_EQ(census->date(), "1911");
    ASSERT_TRUE(e->closeEditor());
    EXPECT_TRUE(page->refreshEventsArray());
}

TEST_F(EventsPageEdit, ThePersonEditorsPlaceFieldsAreThePlacesComboBox)
{
    ToolsMenuActions::install();
    UserDefaults::standard().setInteger("previousTabViewIndex", 0);
    DOvurDocument* doc = open("Family.RezUdu");
    ASSERT_NE(doc, nullptr);
    doc->dovurWindow()->resize(1280, 760);
    FTMoc* moc = doc->moc();
    FTPerson* john = newPerson(moc, "John Ward", "M", "5 Jan 1900");
    select(john);
    InfoArea_Self* self = editorOf(doc)->pSelf();
    ASSERT_NE(self, nullptr);
    auto* place = qobject_cast<PlacesComboBox*>(self->placeField(InfoArea_Self::BirthPlace));
    ASSERT_NE(place, nullptr);
    EXPECT_NE(qobject_cast<PlacesComboBox*>(self->placeField(InfoArea_Self::DeathPlace)), nullptr);
    EXPECT_EQ(place->moc(), moc);
    ASSERT_TRUE(moc->places().contains("London, England"));
    place->lineEdit()->setFocus();
    type(place->lineEdit(), "Lon");
    EXPECT_EQ(place->lineEdit()->text(), "London, England");
    key(place->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(john->birth()->place(), "London, England");
    QApplication::processEvents();
    saveScreenshot(doc->dovurWindow(), "PersonEditorPlacesComboBox");
}
