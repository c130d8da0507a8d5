// The family dialog as a window: a couple and their children, a partner typed into the empty name field, the
// other marriage events, and closing only with good dates.
#include "EditorFixture.h"

#include "editor/FamilyCouple.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/FamilyChildrenModel.h"
#include "editor/ui/FamilyDialogController.h"
#include "editor/ui/FamilyDialogTableView.h"
#include "editor/ui/PersonFieldSet.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QAbstractButton>
#include <QLineEdit>
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

} // namespace
