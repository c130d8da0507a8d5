// The family dialog as a window: a couple and their children, a partner typed into the empty name field, the
// other marriage events, and closing only with good dates.
#include "EditorFixture.h"

#include "diagrams/ui/HdView.h"
#include "diagrams/ui/HierarchyDiagram.h"
#include "diagrams/ui/PersonalDetails.h"
#include "editor/FamilyCouple.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/FamilyChildrenModel.h"
#include "editor/ui/FamilyDialogController.h"
#include "editor/ui/FamilyDialogTableView.h"
#include "editor/ui/PersonFieldSet.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTSpouseRel.h"
#include "model/Hierarchy.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using Tag = FamilyCouple::Tag;

namespace {

class FamilyDialog : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        UserDefaults::standard().setBool("uppercaseFamilyName", false);
        doc = open("Family.RezUdu", 1);
        ASSERT_NE(doc, nullptr);
        moc = doc->moc();
        john = FTPerson::initInMoc(moc, "John Smith", "M");
        john->setValueForKeyPath("birth.date", "5 Jan 1900");
        NotificationCenter::defaultCenter().addObserver(
            "CdArrayNeedsRefresh", nullptr, [this](const Notification&) { ++cdRefreshes; }, this);
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserversOf(this);
        EditorFixture::TearDown();
    }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    FTPerson* john = nullptr;
    int cdRefreshes = 0;
};

TEST_F(FamilyDialog, AManAloneGetsAWifeAndTheCoupleFromTheNameTyped)
{
    UserDefaults::standard().setInteger("familyLabelStyle", 0);
    FamilyDialogController dialog(john, nullptr, moc);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Add a wife for John Smith");
    EXPECT_TRUE(dialog.isMissingPartner());
    // Only the wife's name and Close can be used.
    EXPECT_TRUE(dialog.field(Tag::WifeName)->isEnabled());
    EXPECT_FALSE(dialog.field(Tag::HusbandBirthDate)->isEnabled());
    EXPECT_FALSE(dialog.tvChildren()->isEnabled());
    EXPECT_TRUE(dialog.findChild<QPushButton*>("closeButton")->isEnabled());
    saveScreenshot(&dialog, "editor-family-dialog-missing-partner");

    dialog.field(Tag::WifeName)->setFocus();
    type(dialog.field(Tag::WifeName), "Mary Brown");
    ASSERT_TRUE(dialog.field(Tag::WifeName)->endEditing());

    FTPerson* mary = dialog.wife();
    ASSERT_NE(mary, nullptr);
    EXPECT_EQ(mary->name(), "Mary Brown");
    EXPECT_TRUE(mary->isFemale());
    ASSERT_NE(dialog.spouseRel(), nullptr);
    EXPECT_EQ(john->spouses(), QList<FTPerson*> {mary});
    EXPECT_FALSE(dialog.isMissingPartner());
    EXPECT_TRUE(dialog.field(Tag::HusbandBirthDate)->isEnabled());
    EXPECT_TRUE(dialog.tvChildren()->isEnabled());
    EXPECT_EQ(dialog.childrenModel()->rowCount(), 1);
}

TEST_F(FamilyDialog, ACoupleWithChildrenAndOtherEventsClosesOnlyWithGoodDates)
{
    FTPerson* mary = FTPerson::initInMoc(moc, "Mary Brown", "F");
    FTPerson* ann = FTPerson::initInMoc(moc, "Ann Smith", "F");
    ann->setValueForKeyPath("birth.date", "2 Mar 1926");
    ann->setValueForKeyPath("death.notes", "Buried at Armley.");
    FTPerson* his = FTPerson::initInMoc(moc, "Hal Smith", "M");
    john->attachChild(ann, FTPcRel::kNatural, false, nullptr);
    mary->attachChild(ann, FTPcRel::kNatural, false, nullptr);
    john->attachChild(his, FTPcRel::kNatural, false, nullptr);
    cdRefreshes = 0;
    // Opened for the wife first: the husband is still the man. Without a couple one is made at once.
    FamilyDialogController dialog(mary, john, moc);
    EXPECT_EQ(dialog.husband(), john);
    EXPECT_EQ(dialog.wife(), mary);
    ASSERT_NE(dialog.spouseRel(), nullptr);
    EXPECT_EQ(cdRefreshes, 1);
    EXPECT_EQ(dialog.windowTitle(), LocalizedString("FamilyDialogTitle"));
    FTEvent* banns = FTEvent::initInMoc(moc, FTEvent::OtherMarriageEvent, dialog.spouseRel(), "MARB");
    banns->setName("Marriage Banns");
    banns->setDate("1 May 1924");
    dialog.loadData();
    // Only the common child; the new-child row last.
    ASSERT_EQ(dialog.childrenModel()->rowCount(), 2);
    EXPECT_EQ(dialog.childrenModel()->child(0), ann);
    ASSERT_EQ(dialog.events().size(), 1);
    EXPECT_EQ(dialog.tvEvents()->model()->index(0, 0).data().toString(), "Marr. Banns");
    EXPECT_TRUE(dialog.eventTypes().contains("Div. Filed"));
    dialog.resize(980, 660);
    dialog.show();
    dialog.tvEvents()->selectRow(0);
    saveScreenshot(&dialog, "editor-family-dialog");
    // The child's birth date is shown whole, and the columns fill the table.
    FamilyDialogTableView* children = dialog.tvChildren();
    const int born = children->columnOf(QStringLiteral("birthDate"));
    const QString bornText = dialog.childrenModel()->index(0, born).data().toString();
    ASSERT_EQ(bornText, "02 Mar 1926");
    EXPECT_GE(children->columnWidth(born),
        children->fontMetrics().horizontalAdvance(bornText) + 2 * FamilyChildrenLayout::kCellMargin);
    int total = 0;
    for (int c = 0; c < children->model()->columnCount(); ++c)
        total += children->columnWidth(c);
    EXPECT_GE(total, children->viewport()->width() - children->model()->columnCount());

    // A child typed into the last row belongs to both.
    ASSERT_TRUE(dialog.tvChildren()->editColumn(QStringLiteral("name"), 1));
    type(dialog.tvChildren()->currentEditor(), "Tom Smith");
    key(dialog.tvChildren()->currentEditor(), Qt::Key_Return);
    ASSERT_EQ(dialog.childrenModel()->rowCount(), 3);
    FTPerson* tom = dialog.childrenModel()->child(1);
    ASSERT_NE(tom, nullptr);
    EXPECT_EQ(tom->naturalMother(), mary);
    EXPECT_EQ(tom->naturalFather(), john);

    // A bad date keeps the dialog open; corrected, it closes.
    EditorLineEdit* date = dialog.field(Tag::MarriageDate);
    date->setFocus();
    type(date, "31 Feb 19x4");
    dialog.done(QDialog::Accepted);
    EXPECT_TRUE(dialog.isVisible());
    date->setText("");
    type(date, "12 Jun 1924");
    int refreshes = 0;
    NotificationCenter::defaultCenter().addObserver(
        "RefreshAllViews", nullptr, [&](const Notification&) { ++refreshes; }, this);
    dialog.done(QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(refreshes, 1);
    ASSERT_NE(dialog.spouseRel()->marriage(), nullptr);
    EXPECT_EQ(dialog.spouseRel()->marriage()->date(), "12 Jun 1924");
}

TEST_F(FamilyDialog, TheFamilyPageOpensItThroughTheModel)
{
    FTPerson* mary = FTPerson::initInMoc(moc, "Mary Brown", "F");
    john->addSpouseRel(mary);
    installRelationshipDialogs();
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<FamilyDialogController*>(QApplication::activeModalWidget());
        opened = dialog && dialog->husband() == john && dialog->wife() == mary;
        if (dialog)
            dialog->done(QDialog::Accepted);
    });
    john->invokeFamilyDialogForSpouse(mary);
    EXPECT_TRUE(opened);
    uninstallRelationshipDialogs();
}

TEST_F(FamilyDialog, AHierarchyWindowWhoseRootIsDeletedInTheDialogClosesOnlyAfterIt)
{
    // The ancestors of Ann; the family dialog of her father, opened from his box or from his details window, deletes
    // her: the window may not go while the dialog (its own child) still runs, nor under the code that opened it.
    FTPerson* mary = FTPerson::initInMoc(moc, "Mary Brown", "F");
    john->addSpouseRel(mary);
    installRelationshipDialogs();
    for (const bool fromDetails : {false, true}) {
        SCOPED_TRACE(fromDetails ? "details window's Family button" : "+ on the father's box");
        FTPerson* ann = FTPerson::initInMoc(moc, "Ann Smith", "F");
        john->attachChild(ann, FTPcRel::kNatural, false, nullptr);
        mary->attachChild(ann, FTPcRel::kNatural, false, nullptr);
        QPointer<HierarchyDiagram> window = HierarchyDiagram::invokeHierarchyDiagramFor(*doc, ann, true);
        ASSERT_TRUE(window);
        QApplication::processEvents();
        HdView* view = window->hdView();
        view->prepare();
        view->commands().setSelectedHierarchy(view->layout().findFirstPerson(john, view->layout().rootHierarchy()));
        QWidget* front = window;
        if (fromDetails) {
            window->invokeMiniPersonalDetailsFor(john);
            front = window->personalDetails();
        }
        QApplication::setActiveWindow(front);
        bool openedOverFront = false;
        bool keptHiddenWhileOpen = false;
        whenModal([&](QDialog* d) {
            auto* family = qobject_cast<FamilyDialogController*>(d);
            ASSERT_NE(family, nullptr);
            openedOverFront = family->parentWidget() == front;
            const int row = family->childrenModel()->child(0) == ann ? 0 : 1;
            ASSERT_EQ(family->childrenModel()->child(row), ann);
            family->tvChildren()->selectRow(row);
            prompts.answer(0);
            family->deleteChild();
            QApplication::processEvents();
            keptHiddenWhileOpen = window && !window->isVisible() && d->isVisible();
            d->done(QDialog::Accepted);
        });
        if (fromDetails)
            front->findChild<QPushButton*>("HdDetailsFamily")->click();
        else
            key(view, Qt::Key_Plus, "+");
        EXPECT_TRUE(ann->isDeleted());
        EXPECT_TRUE(openedOverFront);
        EXPECT_TRUE(keptHiddenWhileOpen);
        EXPECT_TRUE(TestSupport::waitUntil([&] { return window.isNull(); }, "the hierarchy window to close"));
    }
    uninstallRelationshipDialogs();
}

} // namespace
