// The dialogs that type, complete and attach relatives, as windows: what their controls write, what closing them
// removes, and how the family database and the menu open them.
#include "EditorFixture.h"
#include "../../model/PeopleFixture.h"

#include "editor/PersonFields.h"
#include "editor/ui/AddChildController.h"
#include "editor/ui/AddChildEventsTableView.h"
#include "editor/ui/AddParentController.h"
#include "editor/ui/AddSameSexPartner.h"
#include "editor/ui/AddUnconnectedPersonController.h"
#include "editor/ui/AttachChildController.h"
#include "editor/ui/AttachParentController.h"
#include "editor/ui/AttachSpouseController.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/PcRelNotesController.h"
#include "editor/ui/PcRelTypeController.h"
#include "editor/ui/PcRelTypesTable.h"
#include "editor/ui/PersonFieldSet.h"
#include "editor/ui/SelectSpouseController.h"

#include "diagrams/DiagramHooks.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTextBrowser>
#include <QTimer>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class RelationshipDialogs : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        doc = open("Family.RezUdu", 1);
        ASSERT_NE(doc, nullptr);
        moc = doc->moc();
        // Names as typed, so that the expectations read as the people were made.
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        NotificationCenter::defaultCenter().addObserver(
            "RefreshAllViews", nullptr, [this](const Notification&) { ++refreshes; }, this);
    }
    void TearDown() override
    {
        uninstallRelationshipDialogs();
        NotificationCenter::defaultCenter().removeObserversOf(this);
        EditorFixture::TearDown();
    }

    FTPerson* person(const QString& name, const QString& gender, int born = 0)
    {
        FTPerson* p = FTPerson::initInMoc(moc, name, gender);
        if (born)
            p->setValueForKeyPath("birth.date", QString::number(born));
        return p;
    }
    FTPcRel* link(FTPerson* parent, FTPerson* child, int type = FTPcRel::kNatural)
    {
        FTPcRel* l = FTPcRel::initInMoc(moc);
        l->setParent(parent);
        l->setChild(child);
        l->setPcRelType(type);
        return l;
    }
    static void show(QWidget* w)
    {
        w->show();
        QApplication::processEvents();
    }
    static void choose(PcRelTypesTable* table, int row, const QString& word)
    {
        QComboBox* chooser = table->typeChooser(row);
        ASSERT_NE(chooser, nullptr);
        const int index = chooser->findText(word);
        ASSERT_GE(index, 0) << word.toStdString();
        chooser->setCurrentIndex(index);
        Q_EMIT chooser->activated(index);
    }
    static int rowOf(PcRelTypesTable* table, const FTPerson* other)
    {
        for (int row = 0; row < table->links().size(); ++row)
            if (table->links()[row]->parent() == other || table->links()[row]->child() == other)
                return row;
        return -1;
    }
    static void typeAndEnd(QLineEdit* field, const QString& text)
    {
        retype(field, text);
        key(field, Qt::Key_Return);
    }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    int refreshes = 0;
};

// ---- Parent-child type and assessment ----------------------------------------------------------------------------

TEST_F(RelationshipDialogs, TheTypeDialogWritesItsTypeOnClosingAndItsCertaintyAtOnce)
{
    FTPerson* mother = person("Mary Smith", "F", 1900);
    FTPerson* stepMother = person("Jane Brown", "F", 1902);
    FTPerson* tom = person("Tom Smith", "M", 1925);
    link(mother, tom);
    FTPcRel* step = link(stepMother, tom, FTPcRel::kStep);

    auto* dialog = new PcRelTypeController(stepMother, tom);
    dialog->resize(780, 460);
    show(dialog);
    // The natural row names the natural mother and cannot be chosen.
    QAbstractButton* natural = dialog->relType()->button(PcRelTypeChoice::Natural);
    EXPECT_FALSE(natural->isEnabled());
    EXPECT_TRUE(natural->text().contains("Mary Smith"));
    EXPECT_TRUE(dialog->relType()->button(PcRelTypeChoice::Step)->isChecked());
    EXPECT_TRUE(dialog->defaultValueLabel()->isVisible());
    EXPECT_EQ(dialog->slider()->value(), step->certainty());
    saveScreenshot(dialog, "editor-pcrel-type-dialog");

    // The slider writes as soon as it is let go; every view shows the new certainty.
    dialog->slider()->setValue(80);
    EXPECT_EQ(step->certainty(), 80);
    EXPECT_FALSE(dialog->defaultValueLabel()->isVisible());
    EXPECT_EQ(refreshes, 1);

    dialog->relType()->button(PcRelTypeChoice::Adopted)->click();
    EXPECT_EQ(step->intPcRelType(), FTPcRel::kStep); // not before closing
    dialog->resize(820, 500);
    dialog->close();
    EXPECT_EQ(step->intPcRelType(), FTPcRel::kAdopted);
    delete dialog;

    // The next dialog opens at that size; one for a pair without a link has nothing to weigh.
    PcRelTypeController second(person("Nobody Related", "M"), tom);
    EXPECT_EQ(second.size(), QSize(820, 500));
    EXPECT_TRUE(second.relType()->button(PcRelTypeChoice::NotRelated)->isChecked());
    EXPECT_FALSE(second.slider()->isEnabled());
    second.close();
    EXPECT_EQ(typeOf(second.choice().parent(), tom), -1);
}

TEST_F(RelationshipDialogs, TheAssessmentWritesWhileOpenAndResetsToDefaults)
{
    FTPerson* dad = person("John Smith", "M", 1900);
    FTPerson* tom = person("Tom Smith", "M", 1925);
    FTPcRel* l = link(dad, tom);
    PcRelTypeController dialog(dad, tom);
    show(&dialog);

    whenModal([](QDialog* window) {
        auto* notes = qobject_cast<PcRelNotesController*>(window);
        ASSERT_NE(notes, nullptr);
        notes->notesView()->setFocus();
        notes->notesView()->setPlainText("Named in the will");
        notes->flag("primaryInformation")->setChecked(true);
        notes->certaintySlider()->setValue(90);
        saveScreenshot(notes, "editor-pcrel-assessment");
        notes->close();
    });
    dialog.addEditNotes();
    EXPECT_EQ(l->notes(), "Named in the will");
    EXPECT_TRUE(l->primaryInformation());
    EXPECT_EQ(l->certainty(), 90);
    // The reasons shown follow, and so does the slider.
    EXPECT_TRUE(dialog.uncertaintyTextView()->toPlainText().contains("Named in the will"));
    EXPECT_EQ(dialog.slider()->value(), 90);
    EXPECT_GE(refreshes, 1);

    PcRelNotesController notes(l);
    notes.resetToDefaults();
    EXPECT_TRUE(l->extraData().isEmpty());
    EXPECT_EQ(notes.certaintySlider()->value(), l->certainty());
    EXPECT_TRUE(notes.notesView()->toPlainText().isEmpty());
    notes.close();
    EXPECT_TRUE(l->extraData().isEmpty()); // closing an untouched text writes no empty notes
}

// ---- Person details (add-child) ----------------------------------------------------------------------------------

TEST_F(RelationshipDialogs, ClosingTheDetailsDialogDeletesOnlyTheLinkSetToNotRelated)
{
    FTPerson* tom = person("Tom Smith", "M", 1925);
    FTPerson* dad = person("John Smith", "M", 1900);
    FTPerson* mum = person("Mary Jones", "F", 1902);
    FTPerson* unknown = person("Old Unknown", "M", 1890);
    link(dad, tom);
    link(mum, tom);
    link(unknown, tom, FTPcRel::kUnknown);
    FTEvent* baptism = FTEvent::initInMoc(moc, FTEvent::OtherPersonalEvent, tom, "BAPM");
    baptism->setDate("3 Mar 1926");

    {
        // Only looking: the old unknown link stays.
        AddChildController dialog;
        dialog.setPPerson(tom);
        show(&dialog);
        EXPECT_EQ(dialog.windowTitle(), "Tom Smith, " + LocalizedString("childOf") + " John Smith "
                + LocalizedString("ConjunctiveAnd") + " Mary Jones");
        EXPECT_EQ(dialog.tv_parents()->links().size(), 3);
        EXPECT_EQ(dialog.tv_parents()->typeChooser(rowOf(dialog.tv_parents(), unknown))->currentText(),
            LocalizedString("Unknown"));
        saveScreenshot(&dialog, "editor-add-child-dialog");
        dialog.close();
    }
    EXPECT_EQ(typeOf(unknown, tom), FTPcRel::kUnknown);
    EXPECT_EQ(refreshes, 1);

    AddChildController dialog;
    dialog.setPPerson(tom);
    show(&dialog);
    PcRelTypesTable* parents = dialog.tv_parents();
    choose(parents, rowOf(parents, mum), LocalizedString("Not Related"));
    EXPECT_EQ(typeOf(mum, tom), FTPcRel::kNotRelated);
    // A second natural father is refused with a message and the pop-up shows the stored type again.
    choose(parents, rowOf(parents, unknown), LocalizedString("Natural"));
    EXPECT_EQ(parents->typeChooser(rowOf(parents, unknown))->currentText(), LocalizedString("Unknown"));
    EXPECT_EQ(texts().size(), 1);
    dialog.close();
    EXPECT_EQ(typeOf(mum, tom), -1);
    EXPECT_EQ(typeOf(dad, tom), FTPcRel::kNatural);
    EXPECT_EQ(typeOf(unknown, tom), FTPcRel::kUnknown);
}

TEST_F(RelationshipDialogs, TheDetailsDialogEditsThePersonAndTheEvents)
{
    FTPerson* tom = person("Tom Smith", "M");
    AddChildController dialog;
    dialog.setPPerson(tom);
    show(&dialog);

    // A refused field keeps what was typed, with the message; nothing is written.
    EditorLineEdit* name = dialog.fields().field(PersonFields::Name);
    typeAndEnd(name, "   ");
    EXPECT_EQ(name->text(), "   ");
    EXPECT_EQ(tom->name(), "Tom Smith");
    EXPECT_EQ(texts().size(), 1);
    typeAndEnd(name, "Thomas Smith");
    EXPECT_EQ(tom->name(), "Thomas Smith");
    typeAndEnd(dialog.fields().field(PersonFields::BirthDate), "5 Jun 1900");
    EXPECT_EQ(tom->birth()->date(), "05 Jun 1900");

    // A new event's name opens for typing; its age follows the birth.
    dialog.addEventWithType("RESI");
    ASSERT_EQ(dialog.childsEvents().size(), 1);
    FTEvent* event = dialog.childsEvents()[0];
    EXPECT_EQ(event->subtype(), "RESI");
    AddChildEventsTableView* events = dialog.tv_events();
    EXPECT_EQ(events->editingIndex(), events->model()->index(0, AddChildController::NameColumn));
    events->endEditing();
    events->model()->setData(events->model()->index(0, AddChildController::DateColumn), "1 Jun 1950");
    EXPECT_EQ(events->model()->index(0, AddChildController::AgeColumn).data().toString(), "49");
    events->model()->setData(events->model()->index(0, AddChildController::TypeColumn), "Census");
    EXPECT_EQ(event->subtype(), "CENS");

    // Deleting needs a row chosen first.
    events->clearSelection();
    dialog.deleteEvent();
    EXPECT_EQ(prompts.records.last().kind, ScriptedPrompts::Sheet);
    EXPECT_EQ(prompts.records.last().text, LocalizedString("changeEventMisuse"));
    events->selectRow(0);
    dialog.deleteEvent();
    EXPECT_THAT(dialog.childsEvents(), IsEmpty());
    EXPECT_THAT(tom->otherEvents(), IsEmpty());
    dialog.close();
}

TEST_F(RelationshipDialogs, AChildTypedForAParentOfTwoCouplesOpensTheDetailsDialog)
{
    installRelationshipDialogs();
    FTPerson* john = person("John Smith", "M");
    FTPerson* first = person("Ann First", "F");
    FTPerson* second = person("Bea Second", "F");
    john->addSpouseRel(first);
    john->addSpouseRel(second);

    QString shown;
    whenModal([&shown, second](QDialog* window) {
        auto* dialog = qobject_cast<AddChildController*>(window);
        ASSERT_NE(dialog, nullptr);
        shown = dialog->pPerson()->name();
        // The second wife is a step mother; the user says she is not related at all.
        PcRelTypesTable* parents = dialog->tv_parents();
        ASSERT_EQ(parents->links().size(), 3);
        choose(parents, rowOf(parents, second), LocalizedString("Not Related"));
        dialog->close();
    });
    FTPerson* sam = john->createChildNamed("Sam Smith", "M");
    EXPECT_EQ(shown, "Sam Smith");
    EXPECT_EQ(typeOf(john, sam), FTPcRel::kNatural);
    EXPECT_EQ(typeOf(first, sam), FTPcRel::kNatural);
    EXPECT_EQ(typeOf(second, sam), -1);
}

// ---- Add-parent and same-sex partner -----------------------------------------------------------------------------

TEST_F(RelationshipDialogs, TheAddParentDialogDeletesTheLinksLeftNotRelated)
{
    FTPerson* wife = person("Mary Jones", "F", 1902);
    FTPerson* tom = person("Tom Jones", "M", 1925);
    FTPerson* ann = person("Ann Jones", "F", 1927);
    link(wife, tom);
    link(wife, ann);
    FTPerson* husband = person("John Smith", "M", 1900);
    husband->addSpouseRel(wife);
    link(husband, tom);
    link(husband, ann);
    moc->setFocalPerson(tom);
    UserDefaults::standard().setInteger("familyLabelStyle", 0);

    AddParentController dialog(moc);
    dialog.setPParent(husband);
    dialog.setPChild(tom);
    dialog.setPSpouse(wife);
    dialog.windowDidLoad();
    show(&dialog);
    EXPECT_EQ(dialog.windowTitle(), LocalizedString("Add") + " " + LocalizedString("husband") + " "
            + LocalizedString("ConjunctiveOf") + " Mary Jones");
    EXPECT_FALSE(dialog.fields().field(PersonFields::Gender)->isEnabled());
    ASSERT_EQ(dialog.tv()->links().size(), 2);
    EXPECT_EQ(dialog.tv()->links()[0]->child(), ann); // by name
    saveScreenshot(&dialog, "editor-add-parent-dialog");

    choose(dialog.tv(), rowOf(dialog.tv(), tom), LocalizedString("Not Related"));
    choose(dialog.tv(), rowOf(dialog.tv(), ann), LocalizedString("Step"));
    dialog.close();
    EXPECT_EQ(typeOf(husband, tom), -1);
    EXPECT_EQ(typeOf(husband, ann), FTPcRel::kStep);
    // Tom is the focal person: he is no longer shown around his step father.
    EXPECT_THAT(texts(), ElementsAre("\"John Smith\"\n" + LocalizedString("personNotDisplayed") + "\n\"Tom Jones\""));
}

TEST_F(RelationshipDialogs, ASameSexPartnerIsMadeWhenItsNameIsTyped)
{
    FTPerson* anne = person("Anne Smith", "F", 1950);
    FTPerson* kid = person("Kim Smith", "F", 1980);
    link(anne, kid);
    const int people = moc->count<FTPerson>();

    AddSameSexPartner dialog(moc, anne, nullptr);
    show(&dialog);
    EXPECT_FALSE(dialog.fields().field(PersonFields::BirthDate)->isEnabled());
    saveScreenshot(&dialog, "editor-same-sex-partner-empty");
    typeAndEnd(dialog.fields().field(PersonFields::Name), "Mary Jones");
    FTPerson* partner = dialog.partner();
    ASSERT_NE(partner, nullptr);
    EXPECT_EQ(partner->gender(), "F");
    EXPECT_EQ(typeOf(partner, kid), FTPcRel::kStep);
    EXPECT_EQ(dialog.tv()->links().size(), 1);
    // Typing the name again makes nobody new.
    typeAndEnd(dialog.fields().field(PersonFields::Name), "Mary Brown");
    EXPECT_EQ(partner->name(), "Mary Brown");
    EXPECT_EQ(moc->count<FTPerson>(), people + 1);
    typeAndEnd(dialog.fields().field(AddSameSexPartner::PartnershipDate), "12 May 2010");
    ASSERT_NE(dialog.spouseRel()->marriage(), nullptr);
    EXPECT_EQ(dialog.spouseRel()->marriage()->date(), "12 May 2010");
    saveScreenshot(&dialog, "editor-same-sex-partner");
    dialog.close();
    EXPECT_THAT(texts(), IsEmpty());
}

// ---- Attach dialogs ---------------------------------------------------------------------------------------------

TEST_F(RelationshipDialogs, CancellingTheStepQuestionAttachesNothing)
{
    FTPerson* john = person("John Smith", "M", 1900);
    FTPerson* wife = person("Ann Smith", "F", 1902);
    john->addSpouseRel(wife);
    FTPerson* tom = person("Tom Brown", "M", 1925);
    link(person("Bill Brown", "M", 1898), tom);
    person("Sam Green", "M", 1930);
    const int links = moc->count<FTPcRel>();

    AttachChildController dialog;
    dialog.setParentPerson(john);
    show(&dialog);
    EXPECT_EQ(dialog.windowTitle(), LocalizedString("AttachChildTo") + " John Smith");
    ASSERT_EQ(dialog.candidates().size(), 2);
    dialog.selectCandidate(tom);
    EXPECT_TRUE(dialog.detailsText().contains(LocalizedString("hasNatural")));
    saveScreenshot(&dialog, "editor-attach-child");

    prompts.answer(1); // Cancel
    dialog.attachButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(moc->count<FTPcRel>(), links);
    // Without a choice the user is asked to choose.
    dialog.tv()->clearSelection();
    prompts.clear();
    dialog.attachButton()->click();
    EXPECT_THAT(texts(), ElementsAre(LocalizedString("PickChildTryAgain")));

    // An age typed below ten is taken as ten; the daughters are asked for with the ages kept.
    dialog.setAgeText(AttachCandidates::AgeField::Minimum, "5");
    EXPECT_EQ(dialog.ageField(AttachCandidates::AgeField::Minimum)->text(), "10");
    dialog.genderButton(false)->click();
    EXPECT_THAT(dialog.candidates(), IsEmpty());
    dialog.close();
}

TEST_F(RelationshipDialogs, TheParentAndSpouseDialogsListAndAttach)
{
    FTPerson* tom = person("Tom Brown", "M", 1925);
    FTPerson* bill = person("Bill Brown", "M", 1898);
    FTPerson* mary = person("Mary Green", "F", 1927);
    moc->setFocalPerson(tom);

    AttachParentController parents(moc);
    parents.setChild(tom);
    show(&parents);
    EXPECT_EQ(parents.candidates(), QList<FTPerson*>({ bill }));
    saveScreenshot(&parents, "editor-attach-parent");
    // Mothers of 18 to 45 at a birth in 1925: none, and the message says where it looked.
    parents.genderButton(false)->click();
    ASSERT_FALSE(texts().isEmpty());
    EXPECT_EQ(texts().last(), AttachCandidates::noParentsTitle(false, { 1880, 1907 }));
    parents.genderButton(true)->click();
    // A minimum above the maximum finds nobody, and says so with the years the wrong way round.
    parents.setAgeText(AttachCandidates::AgeField::Minimum, "50");
    EXPECT_THAT(parents.candidates(), IsEmpty());
    EXPECT_EQ(texts().last(), AttachCandidates::noParentsTitle(true, { 1880, 1875 }));
    parents.setAgeText(AttachCandidates::AgeField::Minimum, "18");
    parents.selectCandidate(bill);
    parents.attachButton()->click();
    EXPECT_FALSE(parents.isVisible());
    EXPECT_EQ(typeOf(bill, tom), FTPcRel::kNatural);

    // The spouse of the focal person, whoever the command was for.
    AttachSpouseController spouses(moc, false);
    show(&spouses);
    EXPECT_EQ(spouses.focalPerson(), tom);
    EXPECT_EQ(spouses.candidates(), QList<FTPerson*>({ mary }));
    spouses.setAgeText(AttachCandidates::AgeField::Range, "");
    EXPECT_EQ(spouses.ageField(AttachCandidates::AgeField::Range)->text(), "0");
    EXPECT_THAT(spouses.candidates(), IsEmpty());
    spouses.setAgeText(AttachCandidates::AgeField::Range, "3");
    spouses.selectCandidate(mary);
    saveScreenshot(&spouses, "editor-attach-spouse");
    spouses.attachButton()->click();
    EXPECT_THAT(tom->spouses(), ElementsAre(mary));
    EXPECT_EQ(texts().last(), LocalizedString("AttSpouseInfo"));
}

// ---- Select spouse and the unconnected person --------------------------------------------------------------------

TEST_F(RelationshipDialogs, SelectingASpouseNeedsAChoice)
{
    FTPerson* john = person("John Smith", "M", 1900);
    FTPerson* ann = person("Ann First", "F", 1902);
    FTPerson* bea = person("Bea Second", "F", 1905);
    john->addSpouseRel(ann);
    john->addSpouseRel(bea);

    SelectSpouseController dialog(john);
    show(&dialog);
    EXPECT_EQ(dialog.windowTitle(), LocalizedString("SelectSpouseFor") + " John Smith");
    EXPECT_EQ(dialog.tv_spouses()->count(), 2);
    saveScreenshot(&dialog, "editor-select-spouse");
    dialog.didOK();
    EXPECT_THAT(texts(), ElementsAre(LocalizedString("SelectSpouseTryAgain")));
    EXPECT_TRUE(dialog.isVisible());
    dialog.tv_spouses()->setCurrentRow(1);
    dialog.didOK();
    EXPECT_EQ(dialog.spouse(), john->spouses()[1]);
    EXPECT_FALSE(dialog.isVisible());

    SelectSpouseController closed(john);
    show(&closed);
    closed.close();
    EXPECT_EQ(closed.spouse(), nullptr);
}

TEST_F(RelationshipDialogs, TheUnconnectedPersonSheetMakesTheFocalPerson)
{
    addUnconnectedPerson();
    auto* sheet = doc->dovurWindow()->findChild<AddUnconnectedPersonController*>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    saveScreenshot(sheet, "editor-add-unconnected-person");
    const int people = moc->count<FTPerson>();

    sheet->nameField()->setText("   ");
    sheet->save();
    EXPECT_THAT(texts(), ElementsAre(LocalizedString("EnterNameTryAgain")));
    EXPECT_EQ(moc->count<FTPerson>(), people);
    sheet->nameField()->setText(" Ann Alone ");
    sheet->genderField()->setText("f");
    sheet->save();
    QApplication::processEvents();
    FTPerson* ann = moc->focalPerson();
    EXPECT_EQ(ann->name(), "Ann Alone");
    EXPECT_EQ(ann->gender(), "F");
    EXPECT_TRUE(ann->isUnconnected());
    EXPECT_EQ(moc->count<FTPerson>(), people + 1);
}

TEST_F(RelationshipDialogs, TheDiagramsOpenTheTypePartnerAndSpouseDialogs)
{
    installRelationshipDialogs();
    FTPerson* dad = person("John Smith", "M", 1900);
    FTPerson* tom = person("Tom Smith", "M", 1925);
    link(dad, tom, FTPcRel::kStep);
    whenModal([](QDialog* window) {
        auto* dialog = qobject_cast<PcRelTypeController*>(window);
        ASSERT_NE(dialog, nullptr);
        dialog->relType()->button(PcRelTypeChoice::Natural)->click();
        dialog->close();
    });
    DiagramHooks::shared().pcRelTypeDialog(dad, tom);
    EXPECT_EQ(typeOf(dad, tom), FTPcRel::kNatural);

    whenModal([](QDialog* window) {
        EXPECT_NE(qobject_cast<AddSameSexPartner*>(window), nullptr);
        window->close();
    });
    const int people = moc->count<FTPerson>();
    DiagramHooks::shared().addSameSexPartner(dad);
    EXPECT_EQ(moc->count<FTPerson>(), people);

    FTPerson* wife = person("Ann Smith", "F", 1902);
    dad->addSpouseRel(wife);
    dad->addSpouseRel(person("Bea Smith", "F", 1904));
    whenModal([](QDialog* window) {
        auto* dialog = qobject_cast<SelectSpouseController*>(window);
        ASSERT_NE(dialog, nullptr);
        dialog->tv_spouses()->setCurrentRow(0);
        dialog->didOK();
    });
    EXPECT_EQ(DiagramHooks::shared().selectSpouse(dad), dad->spouses()[0]);
}

}
