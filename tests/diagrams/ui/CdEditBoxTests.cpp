#include "CdDiagramViewFixture.h"
#include "InputEvents.h"
#include "PopupMenuPress.h"

#include "Screenshot.h"

#include "diagrams/CdPerson.h"
#include "diagrams/ui/CdEditBox.h"

#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QLineEdit>

using namespace InputEvents;

class CdEditBoxTest : public CdDiagramView {
protected:
    void SetUp() override
    {
        CdDiagramView::SetUp();
        showActive();
        editBox = diagram->editBox();
    }
    CdPerson* emptySlot(long level) const
    {
        for (const auto& b : diagram->cdLayout().cdPersonsArray())
            if (b->isGhost() && b->ancLevel() == level)
                return b.get();
        return nullptr;
    }
    // Opens the entry box with a press on the empty slot.
    void openOn(long level)
    {
        CdPerson* slot = emptySlot(level);
        ASSERT_TRUE(slot);
        click(diagram.get(), slot->rclBox().center());
        ASSERT_TRUE(editBox->isActive());
        ASSERT_EQ(editBox->cdPerson(), slot);
    }
    QStringList childrenOfMe() const
    {
        QStringList out;
        for (const FTPcRel* l : me->childRels())
            out << l->child()->name() + " " + l->child()->gender();
        return out;
    }

    CdEditBox* editBox = nullptr;
};

TEST_F(CdEditBoxTest, TypingANameAddsTheChildAndOpensOnTheNextChildSlotOfThisWindowOnly)
{
    me->setName("John Smith");
    diagram->setRefreshArray(true);
    diagram->prepare();
    // Another database's diagram, drawing meanwhile.
    auto other = newDatabase("Other.RezUdu");
    FTPerson* stranger = FTPerson::initInMoc(other.get(), "Stranger", M());
    other->setFocalPerson(stranger);
    other->setSelectedPerson(stranger);
    CdDiagram otherDiagram;
    otherDiagram.resize(600, 300);
    otherDiagram.setMoc(other.get());
    otherDiagram.prepare();

    QStringList posted;
    NotificationCenter::defaultCenter().addObserver(
        "AddedChildInPcd", nullptr,
        [&](const Notification& n) { posted << static_cast<const FTPerson*>(n.object)->name(); }, this);

    openOn(CdPerson::kChild);
    // The proposal is selected: typing replaces it.
    EXPECT_EQ(editBox->toPlainText(), "Smith, F");
    EXPECT_EQ(editBox->textCursor().selectedText(), "Smith, F");
    EXPECT_GE(editBox->height(), 25);
    saveScreenshot(diagram.get(), "family-diagram-entry-box");

    type(editBox, "Anna, f");
    key(editBox, Qt::Key_Return);
    NotificationCenter::defaultCenter().removeObserversOf(this);
    EXPECT_EQ(childrenOfMe(), (QStringList {"Anna F", "Son M", "Daughter F"})); // no birth year: first
    EXPECT_EQ(posted, QStringList {"Anna"});
    EXPECT_EQ(undoName(), "Add Anna");
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_FALSE(editBox->isActive()); // closed by the rebuild, without a question

    otherDiagram.prepare();
    EXPECT_FALSE(otherDiagram.isEditBoxActive());
    QCoreApplication::processEvents();
    EXPECT_TRUE(diagram->findPerson(me->childRels().value(0)->child()));
    ASSERT_TRUE(editBox->isActive());
    EXPECT_EQ(editBox->cdPerson(), emptySlot(CdPerson::kChild));
    EXPECT_EQ(diagram->focusWidget(), editBox);
    EXPECT_FALSE(otherDiagram.isEditBoxActive());
}

TEST_F(CdEditBoxTest, ASpouseOfTheSameSexIsRefused)
{
    const qsizetype people = moc->fetch<FTPerson>().size();
    openOn(CdPerson::kSpouse);
    editBox->selectAll();
    type(editBox, "Adam, M");
    key(editBox, Qt::Key_Return);
    EXPECT_EQ(messages(), QStringList {LocalizedString("SameSexUnion")}); // one alert, the one that says why
    EXPECT_EQ(moc->fetch<FTPerson>().size(), people);
    QCoreApplication::processEvents();
    EXPECT_FALSE(editBox->isActive());
}

// A wrongly typed entry gets one alert, the one that says what to type; Escape leaves without a question.
TEST_F(CdEditBoxTest, AWrongEntryGetsOneAlertAndEscapeLeavesSilently)
{
    const qsizetype people = moc->fetch<FTPerson>().size();
    const QString format = "Please type the name, a comma and the gender: M or F";
    for (const QString& wrong : {QString("Anna"), QString(", F"), QString("Anna, X")}) {
        SCOPED_TRACE(wrong.toStdString());
        prompts.clear();
        openOn(CdPerson::kChild);
        type(editBox, wrong);
        key(editBox, Qt::Key_Return);
        EXPECT_EQ(messages(), QStringList {format});
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(moc->fetch<FTPerson>().size(), people);

    prompts.clear();
    openOn(CdPerson::kChild);
    type(editBox, "Anna Smith");
    key(editBox, Qt::Key_Escape);
    EXPECT_FALSE(editBox->isActive());
    EXPECT_TRUE(prompts.records.isEmpty());
    EXPECT_EQ(diagram->focusWidget(), diagram.get());
    EXPECT_EQ(moc->fetch<FTPerson>().size(), people);
}

TEST_F(CdEditBoxTest, LeavingAfterTypingAsksAndDontDiscardKeepsTheText)
{
    const QPointF elsewhere(5, 390);
    // Nothing typed: the box closes silently.
    openOn(CdPerson::kChild);
    click(diagram.get(), elsewhere);
    EXPECT_FALSE(editBox->isActive());
    EXPECT_TRUE(prompts.records.isEmpty());

    openOn(CdPerson::kChild);
    type(editBox, "Anna");
    const QString typed = editBox->toPlainText();
    prompts.answer(1);
    click(diagram.get(), diagram->cdLayout().findPerson(dad)->rclBox().center());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, QStringLiteral("%1\n\n\"%2\"\n%3")
                                           .arg(LocalizedString("AddAlert1"), typed, LocalizedString("AddAlert2")));
    EXPECT_EQ(prompts.records[0].buttons, (QStringList {"Discard", "Don't Discard"}));
    EXPECT_TRUE(editBox->isActive());
    EXPECT_EQ(editBox->toPlainText(), typed);
    EXPECT_EQ(diagram->focusWidget(), editBox);
    EXPECT_EQ(moc->modelDefaults()->selectedPerson(), me); // the press went no further

    // The keyboard moving to another field of the window asks too, once the move has settled.
    QLineEdit field(diagram.get());
    field.show();
    prompts.answer(1);
    field.setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(diagram->focusWidget(), editBox);
    EXPECT_EQ(editBox->toPlainText(), typed);

    // "Discard": the press goes on and selects.
    click(diagram.get(), diagram->cdLayout().findPerson(dad)->rclBox().center());
    EXPECT_FALSE(editBox->isActive());
    EXPECT_EQ(moc->modelDefaults()->selectedPerson(), dad);
    EXPECT_EQ(childrenOfMe().size(), 2);
}

TEST_F(CdEditBoxTest, TabSelectsTheGenderAfterTheComma)
{
    openOn(CdPerson::kChild);
    const QString prompt = editBox->toPlainText();
    key(editBox, Qt::Key_Tab);
    EXPECT_EQ(editBox->textCursor().selectedText(), prompt.mid(prompt.indexOf(',') + 1));
    EXPECT_EQ(editBox->toPlainText(), prompt);
    editBox->setPlainText("Anna,");
    editBox->moveCursor(QTextCursor::End);
    key(editBox, Qt::Key_Tab);
    EXPECT_TRUE(editBox->textCursor().selectedText().isEmpty());
    key(editBox, Qt::Key_Backtab);
    EXPECT_EQ(diagram->focusWidget(), editBox);
}

TEST_F(CdEditBoxTest, TheBoxesWaitForTheEntryBoxToClose)
{
    openOn(CdPerson::kChild);
    const int rebuilds = diagram->rebuildCount();
    UserDefaults::standard().setInteger("cdNameOption", 11); // labels that need a rebuild
    diagram->prepare();
    EXPECT_EQ(diagram->rebuildCount(), rebuilds);
    EXPECT_TRUE(diagram->refreshArray());
    EXPECT_TRUE(editBox->isActive());
    click(diagram.get(), QPointF(5, 390));
    QCoreApplication::processEvents();
    EXPECT_EQ(diagram->rebuildCount(), rebuilds + 1);
}

TEST_F(CdEditBoxTest, ARefreshOfEveryViewKeepsWhatWasTypedUntilTheBoxCloses)
{
    openOn(CdPerson::kChild);
    editBox->selectAll();
    type(editBox, "Anna Smith, F");
    const int rebuilds = diagram->rebuildCount();
    // What every database's window does when a picture is dropped in any of them.
    diagram->setRefreshArray(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(editBox->isActive());
    EXPECT_EQ(editBox->toPlainText(), "Anna Smith, F");
    EXPECT_EQ(diagram->rebuildCount(), rebuilds);
    EXPECT_TRUE(prompts.records.isEmpty());

    key(editBox, Qt::Key_Return);
    EXPECT_EQ(childrenOfMe().value(0), "Anna Smith F");
    QCoreApplication::processEvents();
    EXPECT_EQ(diagram->rebuildCount(), rebuilds + 1);
    EXPECT_TRUE(diagram->findPerson(me->childRels().value(0)->child()));
}

TEST_F(CdEditBoxTest, TheBoxClosesWithoutAQuestionWhenThePersonItHangsFromGoes)
{
    openOn(CdPerson::kChild);
    type(editBox, "Anna");
    // Someone else going leaves the box as it is.
    NotificationCenter::defaultCenter().post("PersonToBeDeleted", daughter, moc.get());
    QCoreApplication::processEvents();
    EXPECT_TRUE(editBox->isActive());
    NotificationCenter::defaultCenter().post("PersonToBeDeleted", me, moc.get());
    EXPECT_FALSE(editBox->isActive());
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(CdEditBoxTest, AChildTakenAwayByUndoLeavesTheDiagramWhileTheBoxKeepsItsText)
{
    openOn(CdPerson::kChild);
    editBox->selectAll();
    type(editBox, "Tom, m");
    key(editBox, Qt::Key_Return);
    QCoreApplication::processEvents();
    FTPerson* tom = me->childRels().value(0)->child();
    ASSERT_EQ(tom->name(), "Tom");
    ASSERT_TRUE(diagram->findPerson(tom));
    ASSERT_TRUE(editBox->isActive());
    const CdPerson* slot = editBox->cdPerson();
    editBox->selectAll();
    type(editBox, "Ann");
    moc->undoManager()->closeOpenGroups();
    ASSERT_EQ(undoName(), "Add Tom");

    moc->undoManager()->undo();
    diagram->setRefreshArray(true); // as the document does after an undo
    QCoreApplication::processEvents();
    ASSERT_TRUE(tom->isDeleted());
    EXPECT_FALSE(diagram->findPerson(tom));
    EXPECT_TRUE(diagram->findPerson(son));
    ASSERT_TRUE(editBox->isActive());
    EXPECT_EQ(editBox->cdPerson(), slot);
    EXPECT_EQ(editBox->toPlainText(), "Ann");
}

// A box whose person is gone before any rebuild took it away: nothing done on it reaches the person.
TEST_F(CdEditBoxTest, ADeletedPersonsBoxAnswersNoPressMenuOrCommand)
{
    const QPointF at = diagram->cdLayout().findPerson(son)->rclBox().center();
    moc->deleteObject(son);
    ASSERT_TRUE(diagram->findPerson(son));

    click(diagram.get(), at);
    EXPECT_EQ(moc->modelDefaults()->selectedPerson(), me);
    mouse(diagram.get(), QEvent::MouseButtonDblClick, at);
    EXPECT_EQ(moc->modelDefaults()->focalPerson(), me);
    EXPECT_FALSE(pressSecondary(diagram.get(), at, {}));

    DiagramMenuItem item;
    item.action = DiagramMenuItem::Action::AttachPersonToActiveSource;
    item.representedObject = son;
    diagram->commands().perform(item);
    item.action = DiagramMenuItem::Action::DeletePerson;
    item.representedObject = diagram->cdLayout().findPerson(son);
    diagram->commands().perform(item);
    EXPECT_TRUE(prompts.records.isEmpty()) << prompts.records.value(0).text.toStdString();
}
