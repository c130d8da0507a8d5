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
    static void type(QWidget* w, const QString& text)
    {
        for (QChar c : text)
            key(w, c == ' ' ? Qt::Key_Space : 0, QString(c));
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

} // namespace
