// The relatives, immediate-family, ancestors and descendants pages in a database's main window, and the
// disconnect and associated-people dialogs: what they show, one-click editing with its checks, Ctrl-click,
// opening branches, and the dialogs' effects on the database.
#include "EditorFixture.h"

#include "editor/HierarchyOutlineRules.h"
#include "editor/RelativesPageRows.h"
#include "editor/ui/AddAssociatedPerson.h"
#include "editor/ui/AssociatedPersonDialog.h"
#include "editor/ui/DisconnectPerson.h"
#include "editor/ui/HierarchyTreeModel.h"
#include "editor/ui/InfoArea_Family.h"
#include "editor/ui/InfoArea_Hierarchy.h"
#include "editor/ui/InfoArea_Hierarchy_OutlineView.h"
#include "editor/ui/InfoArea_Relatives.h"
#include "editor/ui/InfoArea_Relatives_TableView.h"
#include "editor/ui/RelativesTableModel.h"
#include "editor/ui/SelectExistingPerson.h"

#include "diagrams/DiagramHooks.h"

#include "model/FTAssociation.h"
#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTProjectView.h"
#include "model/FTSpouseRel.h"
#include "model/Hierarchy.h"

#include "platform/Localizer.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Rows = RelativesPageRows;
using Rules = HierarchyOutlineRules;

namespace {

class RelativesPages : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        installRelationshipDialogs();
        for (const char* key : {"includeGrandParents", "includeInLaws", "includeChildren", "includeSiblings",
                                "includeGrandChildren", "includeGreatGrandChildren", "includeAuntsAndUncles",
                                "includeCousins", "includeNephewsAndNieces"})
            UserDefaults::standard().setBool(key, true);
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        doc = open("Family.RezUdu", 1);
        ASSERT_NE(doc, nullptr);
        moc = doc->moc();
        editor = editorOf(doc);
        doc->dovurWindow()->resize(1100, 820);
        grandfather = person("Walter Smith", "M", "3 Mar 1840", "Halifax");
        father = person("John Smith", "M", "5 Jan 1870", "Leeds, Yorkshire");
        mother = person("Mary Brown", "F", "2 Feb 1872", "Armley");
        me = person("Ian Smith", "M", "9 Sep 1900", "Leeds");
        brother = person("Bob Smith", "M", "1 Apr 1903");
        wife = person("Ann Jones", "F", "7 Jul 1902", "Bradford");
        son = person("Tom Smith", "M", "12 Dec 1925");
        link(grandfather, father);
        link(father, me);
        link(mother, me);
        link(father, brother);
        link(mother, brother);
        FTSpouseRel* couple = me->addSpouseRel(wife);
        couple->setValueForKeyPath("marriage.date", "12 Jun 1924");
        link(me, son);
        link(wife, son);
        father->setValueForKeyPath("death.date", "1 Mar 1940");
        father->setValueForKeyPath("death.place", "Armley");
        moc->setFocalPerson(me);
        moc->saveMoc();
        moc->undoManager()->closeOpenGroups();
    }
    void TearDown() override
    {
        uninstallRelationshipDialogs();
        EditorFixture::TearDown();
    }
    FTPerson* person(const QString& name, const QString& gender, const QString& born = {}, const QString& place = {})
    {
        return newPerson(moc, name, gender, born, place);
    }
    void link(FTPerson* parent, FTPerson* child, int type = FTPcRel::kNatural)
    {
        parent->attachChild(child, type, false, nullptr);
    }
    void drawn()
    {
        QApplication::processEvents();
        doc->dovurWindow()->repaint();
        QApplication::processEvents();
    }
    template <class Page> Page* showPage(const char* identifier, FTPerson* person)
    {
        EXPECT_TRUE(editor->choosePage(identifier));
        select(person);
        drawn();
        return qobject_cast<Page*>(editor->page(identifier));
    }
    static void click(QAbstractItemView* view, const QModelIndex& index, Qt::KeyboardModifiers modifiers = {})
    {
        const QPoint at = view->visualRect(index).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, modifiers);
        QApplication::sendEvent(view->viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, modifiers);
        QApplication::sendEvent(view->viewport(), &release);
    }
    // Return in a cell's editor: the edit ends once the event loop has run.
    static void enter(QWidget* editor)
    {
        key(editor, Qt::Key_Return);
        QApplication::processEvents();
    }
    static int rowOf(const RelativesTableModel* model, const FTPerson* p)
    {
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->person(r) == p)
                return r;
        return -1;
    }
    static QStringList labels(const RelativesTableModel* model)
    {
        QStringList out;
        for (int r = 0; r < model->rowCount(); ++r)
            out << (model->person(r) ? model->person(r)->name() + ": " + model->rows()[r].relationship() : "--");
        return out;
    }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    InfoAreaController* editor = nullptr;
    FTPerson* grandfather = nullptr;
    FTPerson* father = nullptr;
    FTPerson* mother = nullptr;
    FTPerson* me = nullptr;
    FTPerson* brother = nullptr;
    FTPerson* wife = nullptr;
    FTPerson* son = nullptr;
};

TEST_F(RelativesPages, TheRelativesPageListsGroupsWithSeparatorsThatCannotBeChosen)
{
    auto* page = showPage<InfoArea_Relatives>("pRelatives", me);
    ASSERT_NE(page, nullptr);
    RelativesTableModel* model = page->relativesModel();
    EXPECT_EQ(labels(model),
              (QStringList{"Walter Smith: Grandfather", "--", "John Smith: Father", "Mary Brown: Mother", "--",
                           "Ian Smith: Self", "--", "Ann Jones: Wife", "--", "Tom Smith: Son", "--",
                           "Bob Smith: Brother", "--"}));
    EXPECT_EQ(page->numRelatives(), 7);
    EXPECT_EQ(page->numRels()->text(), LocalizedString("RelativesCount").arg(7));
    EXPECT_EQ(model->headerData(Rows::Name, Qt::Horizontal, Qt::DisplayRole).toString(), "Relatives of Ian Smith");
    EXPECT_TRUE(model->data(model->index(rowOf(model, me), Rows::Name), Qt::FontRole).value<QFont>().bold());
    saveScreenshot(doc->dovurWindow(), "relatives-page");
    // Wide enough for every date, the columns take their shares of 930 of the room the buttons leave.
    doc->dovurWindow()->resize(1600, 820);
    drawn();
    const QList<int> shares = Rows::columnWidths(page->tableView()->viewport()->width() - 56);
    for (int c = 0; c < shares.size(); ++c)
        EXPECT_EQ(page->tableView()->columnWidth(c), shares[c]) << c;
    // In the smallest window the relationship keeps its whole heading.
    doc->dovurWindow()->resize(DOvurDocument::kMinWidth, DOvurDocument::kMinHeight);
    drawn();
    QHeaderView* headings = page->tableView()->horizontalHeader();
    EXPECT_GE(headings->sectionSize(Rows::Relationship), headings->sectionSizeHint(Rows::Relationship));

    // A separator row takes no click and cannot be selected.
    InfoArea_Relatives_TableView* table = page->tableView();
    click(table, model->index(1, Rows::Name));
    EXPECT_EQ(table->selectedRow(), -1);
    EXPECT_EQ(table->currentEditor(), nullptr);
    EXPECT_FALSE(model->flags(model->index(1, Rows::Name)) & Qt::ItemIsSelectable);

    // A switch turned off leaves its group out at the next drawing.
    QCheckBox* grandparents = page->findChild<QCheckBox*>("includeGrandParents");
    ASSERT_NE(grandparents, nullptr);
    grandparents->setChecked(false);
    drawn();
    EXPECT_EQ(labels(model).first(), "John Smith: Father");
    EXPECT_FALSE(UserDefaults::standard().boolForKey("includeGrandParents"));

    // No person: an empty list on both pages.
    moc->modelDefaults()->setSelectedPerson(nullptr);
    drawn();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(page->numRels()->text(), LocalizedString("RelativesCount").arg(0));
}

TEST_F(RelativesPages, TheFamilyPageShowsTheImmediateFamily)
{
    auto* page = showPage<InfoArea_Family>("pFamily", me);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(labels(page->relativesModel()),
              (QStringList{"John Smith: Father", "Mary Brown: Mother", "--", "Ian Smith: Self", "--",
                           "Ann Jones: Wife", "--", "Tom Smith: Son", "--", "Bob Smith: Brother"}));
    EXPECT_FALSE(page->numRels()->isVisible());
    EXPECT_EQ(page->relativesModel()->headerData(Rows::Name, Qt::Horizontal, Qt::DisplayRole).toString(),
              "Family of Ian Smith");
    saveScreenshot(doc->dovurWindow(), "family-relatives-page");
    moc->modelDefaults()->setSelectedPerson(nullptr);
    drawn();
    EXPECT_EQ(page->relativesModel()->rowCount(), 0);
}

TEST_F(RelativesPages, ABlankNameStaysInEditingWithWhatWasTyped)
{
    auto* page = showPage<InfoArea_Relatives>("pRelatives", me);
    InfoArea_Relatives_TableView* table = page->tableView();
    RelativesTableModel* model = page->relativesModel();
    const int row = rowOf(model, father);
    click(table, model->index(row, Rows::Name));
    auto* line = qobject_cast<QLineEdit*>(table->currentEditor());
    ASSERT_NE(line, nullptr) << "one click edits the name";
    retype(line, "  ");
    enter(line);
    EXPECT_THAT(texts(), ElementsAre("Name field may not be blank"));
    // A rebuild asked for meanwhile (a switch, another window's change) waits for the edit, and says nothing more.
    page->setRefreshArray(true);
    QApplication::processEvents();
    EXPECT_THAT(texts(), ElementsAre("Name field may not be blank"));
    ASSERT_EQ(table->currentEditor(), line);
    EXPECT_EQ(line->text(), "  ");
    EXPECT_EQ(father->name(), "John Smith");
    // Corrected, the name is written; a birth date is checked against the person's relatives.
    retype(line, "John William Smith");
    enter(line);
    EXPECT_EQ(father->name(), "John William Smith");
    EXPECT_EQ(table->currentEditor(), nullptr);

    // A birth date is weighed against the row's person's relatives; a death date is not.
    prompts.clear();
    click(table, model->index(rowOf(model, son), Rows::BirthDate));
    line = qobject_cast<QLineEdit*>(table->currentEditor());
    ASSERT_NE(line, nullptr);
    retype(line, "1850");
    enter(line);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("InconsistentDateWarning"));
    EXPECT_EQ(son->birth()->date(), "1850");
    prompts.clear();
    click(table, model->index(rowOf(model, son), Rows::DeathDate));
    line = qobject_cast<QLineEdit*>(table->currentEditor());
    ASSERT_NE(line, nullptr);
    retype(line, "1900");
    enter(line);
    EXPECT_THAT(texts(), IsEmpty());
    ASSERT_NE(son->death(), nullptr);
    EXPECT_EQ(son->death()->date(), "1900");
}

TEST_F(RelativesPages, AnOpenNameEditIsStoredWhenThePersonChangesOrSomeoneElseIsDeleted)
{
    auto* page = showPage<InfoArea_Relatives>("pRelatives", me);
    InfoArea_Relatives_TableView* table = page->tableView();
    RelativesTableModel* model = page->relativesModel();
    auto typeName = [&](FTPerson* p, const QString& name) {
        click(table, model->index(rowOf(model, p), Rows::Name));
        auto* line = qobject_cast<QLineEdit*>(table->currentEditor());
        ASSERT_NE(line, nullptr);
        retype(line, name);
    };

    // Another person selected with the focus left where it is (the wheel over the diagram, an undo, another window).
    typeName(father, "John William Smith");
    select(wife);
    drawn();
    EXPECT_EQ(father->name(), "John William Smith");
    EXPECT_EQ(table->currentEditor(), nullptr);

    // Someone else deleted elsewhere: the name typed for a person who stays is stored.
    typeName(son, "Thomas Smith");
    NotificationCenter::defaultCenter().post("PersonToBeDeleted", grandfather, moc);
    moc->deleteObject(grandfather);
    drawn();
    EXPECT_EQ(son->name(), "Thomas Smith");

    // The person being typed for deleted: nothing is written, nothing is left open.
    typeName(son, "Tom");
    NotificationCenter::defaultCenter().post("PersonToBeDeleted", son, moc);
    EXPECT_EQ(son->name(), "Thomas Smith");
    EXPECT_EQ(table->currentEditor(), nullptr);
    moc->deleteObject(son);
    drawn();
}

TEST_F(RelativesPages, CtrlClickAndTheMenuMakeTheFocalPerson)
{
    auto* page = showPage<InfoArea_Relatives>("pRelatives", me);
    RelativesTableModel* model = page->relativesModel();
    click(page->tableView(), model->index(rowOf(model, son), Rows::BirthPlace), Qt::ControlModifier);
    EXPECT_EQ(moc->focalPerson(), son);
    EXPECT_EQ(page->tableView()->currentEditor(), nullptr);

    QMenu* menu = page->createContextMenu(rowOf(model, grandfather));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), Rows::promoteMenuTitle(grandfather));
    menu->actions()[0]->trigger();
    EXPECT_EQ(moc->focalPerson(), grandfather);
    delete menu;
    EXPECT_EQ(page->createContextMenu(1), nullptr) << "a separator has no menu";
}

// ---- Ancestors and descendants ----------------------------------------------------------------------------------

TEST_F(RelativesPages, TheAncestorsPageOpensFourGenerationsAndShowsTheViewInGreen)
{
    // Six generations of fathers above Ian; a step father is never followed.
    FTPerson* top = grandfather;
    QList<FTPerson*> line{me, father, grandfather};
    for (int g = 3; g <= 6; ++g) {
        FTPerson* p = person(QStringLiteral("Father %1 Smith").arg(g), "M");
        link(p, top);
        line << p;
        top = p;
    }
    link(person("Sid Step", "M"), me, FTPcRel::kStep);
    FTProjectView* view = FTProjectView::initInMoc(moc);
    view->setRootPersonInAncestralView(father);
    moc->modelDefaults()->setCurrentView(view);

    auto* page = showPage<InfoArea_Hierarchy>("pAncestors", me);
    ASSERT_NE(page, nullptr);
    InfoArea_Hierarchy_OutlineView* olv = page->outlineView();
    HierarchyTreeModel* model = page->hierarchyModel();
    QModelIndex at = model->rootIndex();
    for (int level = 0; level <= 5; ++level) {
        SCOPED_TRACE(level);
        ASSERT_TRUE(at.isValid());
        EXPECT_EQ(model->person(at), line[level]);
        EXPECT_EQ(olv->isExpanded(at), level <= Rules::kOpenLevels);
        EXPECT_TRUE(model->hasChildren(at));
        // The next generation: the father first (the mother at level 1).
        at = model->index(0, 0, at);
    }
    EXPECT_EQ(model->rowCount(model->rootIndex()), 2) << "the step father is left out";
    const QModelIndex fatherRow = model->index(0, Rules::Name, model->rootIndex());
    EXPECT_EQ(model->data(fatherRow, Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
    EXPECT_FALSE(model->data(model->rootIndex().siblingAtColumn(Rules::Name), Qt::ForegroundRole).isValid());
    EXPECT_EQ(model->headerData(Rules::Name, Qt::Horizontal, Qt::DisplayRole).toString(), "Ancestors of Ian Smith");
    saveScreenshot(doc->dovurWindow(), "ancestors-page");

    // Alt-click only says how branches are opened.
    click(olv, model->index(1, Rules::Name, model->rootIndex()), Qt::AltModifier);
    EXPECT_THAT(texts(), ElementsAre(LocalizedString("UseExpandButton")));
    EXPECT_EQ(olv->currentEditor(), nullptr);
}

TEST_F(RelativesPages, ExpandAllStopsAtTwentyGenerationsAndLeavesTheRowsAfterTheBranch)
{
    // Tom has 25 generations of descendants; Ian's second son Ned has a son of his own.
    FTPerson* ned = person("Ned Smith", "M");
    link(me, ned);
    link(ned, person("Ned Junior Smith", "M"));
    FTPerson* parent = son;
    for (int g = 2; g <= 26; ++g) {
        FTPerson* child = person(QStringLiteral("Gen %1 Smith").arg(g), "M");
        link(parent, child);
        parent = child;
    }
    auto* page = showPage<InfoArea_Hierarchy>("pDescendants", me);
    InfoArea_Hierarchy_OutlineView* olv = page->outlineView();
    HierarchyTreeModel* model = page->hierarchyModel();
    const bool tomFirst = model->person(model->index(0, 0, model->rootIndex())) == son;
    const QModelIndex tom = model->index(tomFirst ? 0 : 1, 0, model->rootIndex());
    const QModelIndex nedRow = model->index(tomFirst ? 1 : 0, 0, model->rootIndex());
    ASSERT_EQ(model->person(tom), son);
    ASSERT_EQ(model->person(nedRow), ned);
    olv->collapse(nedRow);
    EXPECT_EQ(page->createContextMenu(tom)->actions()[1]->text(), "Expand all his Descendants");

    page->expandAll(tom);
    QModelIndex at = tom;
    int level = 1;
    while (model->rowCount(at) > 0) {
        ASSERT_EQ(model->node(at)->level(), level);
        EXPECT_TRUE(olv->isExpanded(at)) << level;
        at = model->index(0, 0, at);
        ++level;
    }
    EXPECT_EQ(level, 1 + Rules::kExpandAllGenerations) << "the row 20 generations below Tom shows, closed";
    EXPECT_FALSE(olv->isExpanded(at));
    EXPECT_TRUE(model->hasChildren(at));
    EXPECT_FALSE(olv->isExpanded(nedRow)) << "the rows after the branch stay as they were";

    page->collapseAll(tom);
    EXPECT_FALSE(olv->isExpanded(tom));
    EXPECT_FALSE(olv->isExpanded(model->index(0, 0, tom)));
    EXPECT_TRUE(olv->isExpanded(model->rootIndex()));

    // The buttons want a selected row.
    olv->selectionModel()->clear();
    page->expandAllSelected();
    EXPECT_THAT(texts(), ElementsAre(LocalizedString("PleaseSelectRow")));
}

TEST_F(RelativesPages, TypingABirthDateInTheOutlineMakesTheBirthEvent)
{
    FTPerson* undated = person("Kit Smith", "F");
    link(son, undated);
    auto* page = showPage<InfoArea_Hierarchy>("pDescendants", me);
    InfoArea_Hierarchy_OutlineView* olv = page->outlineView();
    HierarchyTreeModel* model = page->hierarchyModel();
    const QModelIndex kit = model->index(0, Rules::BirthDate, model->index(0, 0, model->rootIndex()));
    ASSERT_EQ(model->person(kit), undated);
    ASSERT_EQ(undated->birth(), nullptr);
    click(olv, kit);
    auto* line = qobject_cast<QLineEdit*>(olv->currentEditor());
    ASSERT_NE(line, nullptr);
    retype(line, "3 May 1950");
    enter(line);
    ASSERT_NE(undated->birth(), nullptr);
    EXPECT_EQ(undated->birth()->date(), "03 May 1950");

    // A blank name is refused and stays in editing.
    click(olv, kit.siblingAtColumn(Rules::Name));
    line = qobject_cast<QLineEdit*>(olv->currentEditor());
    ASSERT_NE(line, nullptr);
    retype(line, " ");
    enter(line);
    prompts.clear();
    // A rebuild asked for meanwhile waits for the edit, and says nothing more; it comes when the edit has ended.
    page->refreshDisplay();
    QApplication::processEvents();
    EXPECT_EQ(olv->currentEditor(), line);
    EXPECT_EQ(line->text(), " ");
    EXPECT_THAT(texts(), IsEmpty());
    EXPECT_EQ(undated->name(), "Kit Smith");
    undated->setName("Kit Jones");
    olv->abandonEditing();
    QApplication::processEvents();
    EXPECT_EQ(model->index(0, Rules::Name, model->index(0, 0, model->rootIndex())).data().toString(), "Kit Jones");
    saveScreenshot(doc->dovurWindow(), "descendants-page");
}

// ---- Dialogs -----------------------------------------------------------------------------------------------------

TEST_F(RelativesPages, TheDisconnectSheetDeletesTheTickedLinks)
{
    ASSERT_TRUE(DiagramHooks::shared().disconnectPerson);
    DiagramHooks::shared().disconnectPerson(me);
    auto* sheet = doc->dovurWindow()->findChild<DisconnectPerson*>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    QTableWidget* tv = sheet->tableView();
    QStringList shown;
    for (int r = 0; r < tv->rowCount(); ++r)
        shown << tv->item(r, 1)->text() + ": " + tv->item(r, 2)->text();
    EXPECT_EQ(shown.size(), 4);
    EXPECT_EQ(shown[0], "Father: " + father->nameWithBirthAndDeathYears());
    EXPECT_EQ(shown[2], "Wife: " + wife->nameWithBirthAndDeathYears());
    saveScreenshot(sheet, "disconnect-person");

    // The couple share a son: refused. The father's link goes.
    sheet->setChecked(0, true);
    sheet->setChecked(2, true);
    sheet->findChild<QPushButton*>("disconnectButton")->click();
    ASSERT_EQ(texts().size(), 1);
    EXPECT_TRUE(texts()[0].startsWith("Cannot disconnect Ann Jones from Ian Smith")) << texts()[0].toStdString();
    EXPECT_FALSE(me->parentsOfType(FTPcRel::kNatural).contains(father));
    EXPECT_TRUE(me->spouses().contains(wife));
    EXPECT_EQ(tv->rowCount(), 3);
    EXPECT_EQ(tv->item(1, 0)->checkState(), Qt::Unchecked) << "a refused row shows again unticked";
    sheet->close();
    QApplication::processEvents();
}

TEST_F(RelativesPages, TheAddAssociatedPersonSheetMakesAPersonAssociatedWithTheFocalPerson)
{
    addAssociatedPerson();
    auto* sheet = doc->dovurWindow()->findChild<AddAssociatedPerson*>();
    ASSERT_NE(sheet, nullptr);
    retype(sheet->nameField(), "   ");
    sheet->associationDescriptionField()->setText("Godfather");
    sheet->notesField()->setPlainText("Stood at the font.");
    saveScreenshot(sheet, "add-associated-person");
    sheet->save();
    EXPECT_THAT(texts(), ElementsAre(LocalizedString("EmptyNameTryAgain")));
    EXPECT_TRUE(sheet->isVisible());
    retype(sheet->nameField(), "Karl Weber");
    sheet->save();
    QApplication::processEvents();
    FTPerson* karl = sheet ? moc->fetch<FTPerson>([](const FTPerson* p) { return p->name() == "Karl Weber"; }).value(0)
                           : nullptr;
    ASSERT_NE(karl, nullptr);
    EXPECT_EQ(moc->selectedPerson(), karl);
    const QList<FTAssociation*> made = karl->assocPersonsArray();
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(made[0]->fromPerson(), me);
    EXPECT_EQ(made[0]->fromRelationship(), "Godfather");
}

TEST_F(RelativesPages, AttachingAnExistingPersonChoosesThenShowsTheAssociation)
{
    FTPerson* karl = person("Karl Weber", "M");
    FTPerson* lena = person("Lena Weber", "F");
    link(person("Old Weber", "M"), lena);
    // Nothing chosen (the filter matches nobody): no association, no second dialog.
    whenModal([](QDialog* d) {
        auto* chooser = qobject_cast<SelectExistingPerson*>(d);
        ASSERT_NE(chooser, nullptr);
        retype(chooser->filterField(), "zzz");
        EXPECT_EQ(chooser->people().shown().size(), 0);
        d->done(QDialog::Accepted);
    });
    attachExistingPersonAsAssociatedPerson();
    EXPECT_THAT(moc->fetch<FTAssociation>(), IsEmpty());
    // Escape backs out, whoever the list has selected.
    whenModal([](QDialog* d) {
        auto* chooser = qobject_cast<SelectExistingPerson*>(d);
        ASSERT_NE(chooser, nullptr);
        ASSERT_FALSE(chooser->people().shown().isEmpty());
        chooser->selectRow(0);
        key(chooser->filterField(), Qt::Key_Escape);
    });
    attachExistingPersonAsAssociatedPerson();
    EXPECT_THAT(moc->fetch<FTAssociation>(), IsEmpty());

    whenModal([this](QDialog* d) {
        auto* chooser = qobject_cast<SelectExistingPerson*>(d);
        ASSERT_NE(chooser, nullptr);
        retype(chooser->filterField(), "ka we");
        ASSERT_EQ(chooser->people().shown().size(), 1);
        chooser->selectRow(0);
        saveScreenshot(chooser, "select-existing-person");
        // The association dialog follows: deleting offers Karl, who is linked to nobody, never the focal Ian.
        whenModal([this](QDialog* next) {
            auto* shown = qobject_cast<AssociatedPersonDialog*>(next);
            ASSERT_NE(shown, nullptr);
            shown->relationshipField()->setText("Witness");
            saveScreenshot(shown, "associated-person");
            prompts.answer(0);
            shown->deleteAssociation();
        });
        d->done(QDialog::Accepted);
    });
    attachExistingPersonAsAssociatedPerson();
    EXPECT_THAT(moc->fetch<FTAssociation>(), IsEmpty());
    EXPECT_TRUE(karl->isDeleted());
    EXPECT_FALSE(me->isDeleted());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(prompts.records[0].text.toStdString(), ::testing::HasSubstr("Karl Weber"));
}

TEST_F(RelativesPages, AttachingSomeoneAlreadyAssociatedEditsTheNewAssociation)
{
    FTPerson* karl = person("Karl Weber", "M");
    FTAssociation* godfather = FTAssociation::initInMoc(moc);
    godfather->setFromPerson(me);
    godfather->setToPerson(karl);
    godfather->setFromRelationship("Godfather");
    whenModal([](QDialog* d) {
        auto* chooser = qobject_cast<SelectExistingPerson*>(d);
        ASSERT_NE(chooser, nullptr);
        retype(chooser->filterField(), "karl");
        ASSERT_EQ(chooser->people().shown().size(), 1);
        chooser->selectRow(0);
        whenModal([](QDialog* next) {
            auto* shown = qobject_cast<AssociatedPersonDialog*>(next);
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(shown->relationshipField()->text(), "");
            shown->relationshipField()->setText("Witness");
            next->done(QDialog::Accepted);
        });
        d->done(QDialog::Accepted);
    });
    attachExistingPersonAsAssociatedPerson();
    QStringList relationships;
    for (FTAssociation* a : moc->fetch<FTAssociation>())
        relationships << a->fromRelationship();
    relationships.sort();
    EXPECT_EQ(relationships, (QStringList{"Godfather", "Witness"}));
}

TEST_F(RelativesPages, TheAssociationDialogKeepsWhatWasTypedAndClosesWithoutAnAssociation)
{
    FTPerson* karl = person("Karl Weber", "M");
    FTAssociation* association = FTAssociation::initInMoc(moc);
    association->setFromPerson(me);
    association->setToPerson(karl);
    {
        AssociatedPersonDialog dialog(karl, me);
        ASSERT_EQ(dialog.association(), association);
        dialog.relationshipField()->setText(" Godfather ");
        dialog.notesField()->setPlainText("At his baptism.");
        dialog.done(QDialog::Accepted);
    }
    EXPECT_EQ(association->fromRelationship(), "Godfather");
    EXPECT_EQ(association->notes(), "At his baptism.");
    AssociatedPersonDialog none(karl, wife);
    EXPECT_EQ(none.association(), nullptr);
    EXPECT_EQ(none.run(), QDialog::Rejected);
}

}
