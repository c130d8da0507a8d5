// The family page in a database's main window: the couple shown, typing a spouse or a child into the empty boxes,
// the children table's keys and commands, and the rebuild that waits for the next drawing.
#include "EditorFixture.h"

#include "editor/FamilyCouple.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/ui/FamilyChildrenModel.h"
#include "editor/ui/InfoArea_Family2.h"
#include "editor/ui/InfoArea_Family2_TableView.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
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
        FTPerson* p = FTPerson::initInMoc(moc, name, gender);
        if (!born.isEmpty())
            p->setValueForKeyPath("birth.date", born);
        if (!place.isEmpty())
            p->setValueForKeyPath("birth.place", place);
        return p;
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
    static void type(QWidget* w, const QString& text)
    {
        for (QChar c : text)
            key(w, c == ' ' ? Qt::Key_Space : 0, QString(c));
    }

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
    saveScreenshot(doc->dovurWindow(), "editor-family-page");
}

} // namespace
