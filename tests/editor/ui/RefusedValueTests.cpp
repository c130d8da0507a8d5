// A value the person editor refuses stays with its own person: a click on another person in the family diagram
// waits until it is put right or given up, the alert shows once, and no key typed afterwards reaches a field of a
// person the user did not choose.
#include "EditorFixture.h"

#include "diagrams/CdPerson.h"
#include "diagrams/ui/CdDiagram.h"

#include "editor/EventsTableLayout.h"
#include "editor/ui/EditorLineEdit.h"
#include "editor/RelativesPageRows.h"
#include "editor/ui/EventsTableModel.h"
#include "editor/ui/InfoArea_Events.h"
#include "editor/ui/InfoArea_Events_TableView.h"
#include "editor/ui/InfoArea_Family2.h"
#include "editor/ui/InfoArea_Relatives.h"
#include "editor/ui/InfoArea_Relatives_TableView.h"
#include "editor/ui/InfoArea_Self.h"
#include "editor/ui/RelativesTableModel.h"

#include "model/FTEvent.h"
#include "model/FTMocUndoManager.h"

#include "platform/Localizer.h"

#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>
#include <functional>

namespace {

class RefusedValue : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        UserDefaults::standard().setInteger("previousTabViewIndex", 0);
        UserDefaults::standard().setBool("includeRelatedEvents", true);
        doc = open("Family.RezUdu");
        ASSERT_NE(doc, nullptr);
        moc = doc->moc();
        editor = editorOf(doc);
        diagram = qobject_cast<CdDiagram*>(doc->pcd());
        ASSERT_NE(diagram, nullptr);
        doc->dovurWindow()->resize(1180, 760);

        john = newPerson(moc, "John Smith", "M", "5 Jan 1900", "Leeds");
        census = FTEvent::initInMoc(moc, FTEvent::OtherPersonalEvent, john, "CENS");
        census->setDate("3 Apr 1911");
        tom = newPerson(moc, "Tom Smith", "M", "1870");
        tom->setValueForKeyPath("death.date", "abt 1969");
        tom->attachChild(john, 1, false, nullptr);
        ann = newPerson(moc, "Ann Smith", "F", "1930");
        ann->setValueForKeyPath("death.date", "2001");
        john->attachChild(ann, 1, false, nullptr);
        moc->undoManager()->closeOpenGroups();
        moc->setFocalPerson(john);
        select(john);
        drawn();
        prompts.clear();
    }
    void drawn()
    {
        QApplication::processEvents();
        diagram->prepare();
        doc->dovurWindow()->repaint();
    }
    // A press and release of the primary button on the person's box, as the window system delivers it.
    void clickBox(FTPerson* person)
    {
        const CdPerson* box = diagram->cdLayout().findPerson(person);
        ASSERT_NE(box, nullptr) << person->name().toStdString();
        const QPointF at = box->rclBox().center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, diagram->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(diagram, &e);
        }
        QApplication::processEvents();
    }
    int dateAlerts() const
    {
        return int(std::count_if(prompts.records.begin(), prompts.records.end(), [](const auto& r) {
            return r.text == LocalizedHelpString("DateFormatHelp");
        }));
    }
    // Keys the user types next, wherever the keyboard is.
    static void typeNext(const QString& text)
    {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        type(focus, text);
    }
    FTPerson* selected() const { return moc->modelDefaults()->selectedPerson(); }

    DOvurDocument* doc = nullptr;
    FTMoc* moc = nullptr;
    InfoAreaController* editor = nullptr;
    CdDiagram* diagram = nullptr;
    FTPerson* john = nullptr;
    FTPerson* tom = nullptr;
    FTPerson* ann = nullptr;
    FTEvent* census = nullptr;
};

TEST_F(RefusedValue, OnTheSelfPageItKeepsItsPersonAndTheKeyboard)
{
    InfoArea_Self* self = editor->pSelf();
    ASSERT_NE(self, nullptr);
    EditorLineEdit* died = self->field(InfoArea_Self::DeathDate);
    retype(died, "sometime");
    clickBox(tom);
    EXPECT_EQ(dateAlerts(), 1) << texts().join("\n").toStdString();
    EXPECT_EQ(selected(), john);
    EXPECT_EQ(self->selectedPerson(), john);
    EXPECT_TRUE(died->hasFocus());
    EXPECT_EQ(died->text(), "sometime");
    // The keys typed next are still John's.
    typeNext(" soon");
    EXPECT_EQ(died->text(), "sometime soon");
    EXPECT_EQ(tom->death()->date(), "abt 1969");
    EXPECT_EQ(john->death(), nullptr);

    // Escape in the field gives the edit up; the next click shows Tom, and the keyboard stays with the diagram.
    key(died, Qt::Key_Escape);
    EXPECT_EQ(died->text(), "");
    EXPECT_FALSE(died->isEditing());
    clickBox(tom);
    EXPECT_EQ(dateAlerts(), 1);
    EXPECT_EQ(selected(), tom);
    EXPECT_EQ(died->text(), "abt 1969");
    EXPECT_FALSE(died->hasFocus());
    typeNext("1950");
    EXPECT_EQ(tom->death()->date(), "abt 1969");
    EXPECT_EQ(john->death(), nullptr);
    EXPECT_EQ(died->text(), "abt 1969");
}

TEST_F(RefusedValue, EscapeInTheAlertGivesTheEditUpAndLetsTheClickThrough)
{
    InfoArea_Self* self = editor->pSelf();
    EditorLineEdit* died = self->field(InfoArea_Self::DeathDate);
    retype(died, "sometime");
    prompts.escapeMessages();
    clickBox(tom);
    EXPECT_EQ(dateAlerts(), 1);
    EXPECT_EQ(john->death(), nullptr);
    EXPECT_EQ(selected(), tom);
    EXPECT_EQ(died->text(), "abt 1969");
    EXPECT_FALSE(died->isEditing());
    EXPECT_FALSE(died->hasFocus());
    typeNext("1950");
    EXPECT_EQ(tom->death()->date(), "abt 1969");

    // A date put right is stored for its own person before the click shows the other one.
    select(john);
    drawn();
    prompts.clear();
    retype(died, "sometime");
    key(died, Qt::Key_Return);
    EXPECT_EQ(dateAlerts(), 1);
    retype(died, "bef 1980");
    clickBox(tom);
    EXPECT_EQ(dateAlerts(), 1);
    ASSERT_NE(john->death(), nullptr);
    EXPECT_EQ(john->death()->date(), "bef 1980");
    EXPECT_EQ(selected(), tom);
    EXPECT_EQ(tom->death()->date(), "abt 1969");
}

TEST_F(RefusedValue, OnTheEventsPageItKeepsItsPersonAndTheKeyboard)
{
    ASSERT_TRUE(editor->choosePage("pEvents"));
    auto* page = qobject_cast<InfoArea_Events*>(editor->page("pEvents"));
    ASSERT_NE(page, nullptr);
    InfoArea_Events_TableView* table = page->tableView();
    drawn();
    const int row = page->eventsModel()->rowOf(census);
    ASSERT_GE(row, 0);
    ASSERT_TRUE(table->editCell(page->eventsModel()->index(row, EventsTableLayout::Date)));
    auto* date = qobject_cast<QLineEdit*>(table->currentEditor());
    ASSERT_NE(date, nullptr);
    date->setFocus();
    date->selectAll();
    type(date, "sometime");

    clickBox(tom);
    EXPECT_EQ(dateAlerts(), 1) << texts().join("\n").toStdString();
    EXPECT_EQ(selected(), john);
    EXPECT_EQ(table->currentEditor(), date);
    EXPECT_TRUE(date->hasFocus());
    typeNext(" soon");
    EXPECT_EQ(date->text(), "sometime soon");
    EXPECT_EQ(census->date(), "03 Apr 1911");
    EXPECT_EQ(tom->death()->date(), "abt 1969");

    // Escape in the alert gives the edit up: the click goes through, and what is typed next reaches no date.
    prompts.escapeMessages();
    clickBox(tom);
    EXPECT_EQ(dateAlerts(), 2);
    EXPECT_EQ(selected(), tom);
    EXPECT_EQ(table->currentEditor(), nullptr);
    typeNext("1950");
    drawn();
    EXPECT_EQ(census->date(), "03 Apr 1911");
    EXPECT_EQ(tom->death()->date(), "abt 1969");
    EXPECT_EQ(tom->birth()->date(), "1870");
}

TEST_F(RefusedValue, OnTheFamilyAndRelativesPagesItKeepsItsPersonAndTheKeyboard)
{
    struct Case {
        const char* page;
        // Opens the edit of a death date on the page; its field.
        std::function<QLineEdit*()> edit;
        FTPerson* owner;
    };
    const Case cases[] = {
        {"pFamily2",
         [this]() -> QLineEdit* {
             auto* family = qobject_cast<InfoArea_Family2*>(editor->page("pFamily2"));
             return family ? family->field(PersonFields::DeathDate) : nullptr;
         },
         john},
        {"pRelatives",
         [this]() -> QLineEdit* {
             auto* relatives = qobject_cast<InfoArea_Relatives*>(editor->page("pRelatives"));
             if (!relatives)
                 return nullptr;
             RelativesTableModel* model = relatives->relativesModel();
             for (int r = 0; r < model->rowCount(); ++r)
                 if (model->person(r) == tom)
                     relatives->tableView()->editCell(model->index(r, RelativesPageRows::DeathDate));
             return qobject_cast<QLineEdit*>(relatives->tableView()->currentEditor());
         },
         tom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        select(john);
        ASSERT_TRUE(editor->choosePage(c.page));
        drawn();
        prompts.clear();
        QLineEdit* died = c.edit();
        ASSERT_NE(died, nullptr);
        const QString stored = c.owner->death() ? c.owner->death()->date() : QString();
        retype(died, "sometime");

        clickBox(ann);
        EXPECT_EQ(dateAlerts(), 1) << texts().join("\n").toStdString();
        EXPECT_EQ(selected(), john);
        EXPECT_TRUE(died->hasFocus());
        typeNext(" soon");
        EXPECT_EQ(died->text(), "sometime soon");
        EXPECT_EQ(ann->death()->date(), "2001");

        // Escape in the alert: the owner keeps the stored date and the click goes through to Ann.
        prompts.escapeMessages();
        clickBox(ann);
        EXPECT_EQ(dateAlerts(), 2);
        EXPECT_EQ(selected(), ann);
        EXPECT_EQ(c.owner->death() ? c.owner->death()->date() : QString(), stored);
        typeNext("1950");
        EXPECT_EQ(ann->death()->date(), "2001");
        EXPECT_EQ(c.owner->death() ? c.owner->death()->date() : QString(), stored);
        moc->setFocalPerson(john);
    }
}

} // namespace
