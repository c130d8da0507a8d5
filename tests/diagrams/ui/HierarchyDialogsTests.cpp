// The hierarchy window's small windows: customising (the byline, the help, factory values), the list of the people
// shown, and the details window that follows the selection, checks what is typed and opens the notes dialog.
#include "HierarchyWindowFixture.h"
#include "Screenshot.h"

#include "diagrams/DiagramHooks.h"
#include "diagrams/PersonalDetailsTexts.h"
#include "diagrams/ui/AuthorsByline.h"
#include "diagrams/ui/HdCustomise.h"
#include "diagrams/ui/HdFindPerson.h"
#include "diagrams/ui/PersonalDetails.h"

#include "model/FTModelDefaults.h"
#include "model/FTMocUndoManager.h"
#include "model/FTProjectView.h"

#include "platform/Localizer.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace {

class HierarchyDialogs : public HierarchyWindow {
protected:
    void TearDown() override
    {
        DiagramHooks::shared().notesDialog = {};
        HierarchyWindow::TearDown();
    }

    // Runs `inside` on the modal window that `open` starts, once it shows; answers whether one showed.
    static bool whileModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inside)
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                shown = true;
                inside(modal);
                modal->close();
            }
        });
        open();
        QCoreApplication::processEvents();
        return shown;
    }
    // Types into a field and leaves it, as the user does.
    static void type(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->setText(text);
        Q_EMIT field->editingFinished();
    }
};

TEST_F(HierarchyDialogs, CustomisingWritesTheOptionsAndAsksForTheBylineWhenItTurnsOn)
{
    UserDefaults& d = UserDefaults::standard();
    d.setBool("hdNameOnly", true);
    open(person("Robert Ashdown", M(), 1820, 1890), false);

    // Names only give way to the full boxes first.
    window->customiseButton()->click();
    HdCustomise* customise = window->customiseDialog();
    ASSERT_TRUE(customise);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("ToggleNameOnly"));
    EXPECT_FALSE(d.boolForKey("hdNameOnly"));
    EXPECT_TRUE(customise->isVisible());
    saveScreenshot(customise, "hierarchy-customise");

    // A switch writes its option and the diagram is built again.
    settle();
    customise->switchFor("hdNameBold")->click();
    EXPECT_FALSE(d.boolForKey("hdNameBold"));
    EXPECT_TRUE(commands().needsRebuild());

    // The byline: turning it on asks for the text, turning it off opens nothing.
    EXPECT_TRUE(whileModal([&] { customise->bylineSwitch()->click(); },
        [](QWidget* modal) {
            auto* byline = qobject_cast<AuthorsByline*>(modal);
            ASSERT_TRUE(byline);
            saveScreenshot(byline, "hierarchy-authors-byline");
            byline->bylineField()->setText("  Jane Ashdown ");
        }));
    EXPECT_TRUE(d.boolForKey("hdIncludeAuthorsByline"));
    EXPECT_EQ(d.stringForKey("authorsByline"), "Jane Ashdown");
    EXPECT_FALSE(whileModal([&] { customise->bylineSwitch()->click(); }, [](QWidget*) {}));
    EXPECT_FALSE(d.boolForKey("hdIncludeAuthorsByline"));

    // Factory values come back on the controls too.
    customise->findChild<QPushButton*>("HdFactoryDefaults")->click();
    EXPECT_TRUE(d.boolForKey("hdNameBold"));
    EXPECT_TRUE(customise->switchFor("hdNameBold")->isChecked());

    prompts.clear();
    customise->findChild<QToolButton*>("consanguinityHelp")->click();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].info, LocalizedHelpString("ConsanguinityHelp"));

    // Closing keeps the window for the next time.
    customise->close();
    window->customise();
    EXPECT_EQ(window->customiseDialog(), customise);
}

TEST_F(HierarchyDialogs, TheFindListShowsEachPersonOnceAndChoosingSelectsTheFirstBox)
{
    // Zoe's parents are cousins: Grace and George Hartley stand twice among her ancestors.
    FTPerson* george = person("George Hartley", M(), 1790);
    FTPerson* grace = person("Grace Wood", F(), 1793);
    FTPerson* fred = child(george, "Fred Hartley", M(), 1820);
    FTPerson* flora = child(george, "Flora Hartley", F(), 1822);
    link(grace, fred);
    link(grace, flora);
    FTPerson* frank = child(fred, "Frank Hartley", M(), 1850);
    FTPerson* mabel = child(flora, "Mabel Greene", F(), 1852);
    FTPerson* zoe = child(frank, "Zoe Hartley", F(), 1880);
    link(mabel, zoe);
    open(zoe, true);
    ASSERT_EQ(view()->layout().personSet().size(), 7);

    HdFindPerson* seen = nullptr;
    whileModal([&] { window->findButton()->click(); },
        [&](QWidget* modal) {
            auto* find = qobject_cast<HdFindPerson*>(modal);
            ASSERT_TRUE(find);
            seen = find;
            QTableWidget* table = find->tableView();
            ASSERT_EQ(table->rowCount(), 7);
            QStringList names;
            for (int row = 0; row < table->rowCount(); ++row)
                names << table->item(row, 1)->text();
            EXPECT_EQ(names,
                QStringList({ "George Hartley", "Grace Wood", "Fred Hartley", "Flora Hartley", "Frank Hartley",
                    "Mabel Greene", "Zoe Hartley" }));
            saveScreenshot(find, "hierarchy-find-person");
            table->selectRow(int(find->peopleArray().indexOf(george)));
            EXPECT_EQ(commands().selectedHierarchy(), node(george));
            EXPECT_EQ(commands().selectedHierarchy()->owner()->person(), fred) << "the first box, depth first";
        });
    EXPECT_TRUE(seen);
    EXPECT_EQ(selectedName(), "George Hartley");
}

TEST_F(HierarchyDialogs, TheDetailsWindowFollowsTheSelectionAndChecksWhatIsTyped)
{
    FTPerson* robert = person("Robert Ashdown", M(), 1820, 1890);
    FTPerson* albert = child(robert, "Albert Ashdown", M(), 1845);
    albert->setValueForKeyPath("birth.place", "Dover, Kent");
    albert->setValueForKeyPath("birth.notes", "Baptised a week later.");
    FTPerson* beatrice = child(robert, "Beatrice Ashdown", F(), 1848);
    // The project view's root is a stranger to the family.
    FTPerson* stranger = person("Stuart Else", M(), 1900);
    FTProjectView* projectView = FTProjectView::initInMoc(moc.get());
    projectView->setRootPersonInAncestralView(stranger);
    moc->modelDefaults()->setCurrentView(projectView);
    QList<std::pair<FTPerson*, QString>> notesOpened;
    DiagramHooks::shared().notesDialog = [&](FTPerson* p, const QString& tab) {
        notesOpened << std::pair { p, tab };
        p->setValueForKeyPath("notes", "Written in the dialog.");
    };
    UserDefaults::standard().setBool("hdHorizontal", false);
    open(robert, false);
    commands().setSelectedHierarchy(node(albert));

    // Return opens the window on the selected person.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(view(), &enter);
    PersonalDetails* details = window->personalDetails();
    ASSERT_TRUE(details);
    EXPECT_TRUE(details->isVisible());
    EXPECT_EQ(details->person(), albert);
    EXPECT_EQ(details->field(PersonalDetails::BirthPlaceTag)->text(), "Dover, Kent");
    // Albert is no blood relative of the view's root, who is the one named.
    EXPECT_EQ(details->consanguinity(), "No blood relationship to Stuart Else (1900 - )");
    EXPECT_TRUE(details->personDetails()->toPlainText().contains("Albert Ashdown"));
    using Texts = PersonalDetailsTexts;
    EXPECT_EQ(details->notesButton(Texts::BirthNotes)->text(), LocalizedString("NotesPresent"));
    EXPECT_EQ(details->notesButton(Texts::PersonNotes)->text(), LocalizedString("NoNotes"));
    saveScreenshot(details, "hierarchy-personal-details");

    // The notes button opens the dialog on its tab; the button then says the notes hold something.
    details->notesButton(Texts::PersonNotes)->click();
    ASSERT_EQ(notesOpened.size(), 1);
    EXPECT_EQ(notesOpened[0], (std::pair { albert, QString("1") }));
    EXPECT_EQ(details->notesButton(Texts::PersonNotes)->text(), LocalizedString("NotesPresent"));

    // What cannot be stored is refused and stays to be put right; the rest is written.
    QLineEdit* birthDate = details->field(PersonalDetails::BirthDateTag);
    type(birthDate, "31 Febtember 1845x");
    EXPECT_EQ(albert->birth()->date(), "1845");
    EXPECT_FALSE(prompts.records.isEmpty());
    prompts.clear();
    type(details->field(PersonalDetails::GenderTag), "Q");
    EXPECT_EQ(albert->gender(), M());
    EXPECT_EQ(prompts.records.size(), 1);
    type(details->field(PersonalDetails::NameTag), "  ");
    EXPECT_EQ(albert->name(), "Albert Ashdown");
    prompts.clear();
    type(birthDate, "12 Mar 1845");
    EXPECT_EQ(albert->birth()->date(), "12 Mar 1845");
    type(details->field(PersonalDetails::NameTag), "Albert  Edward Ashdown");
    EXPECT_EQ(albert->name(), "Albert Edward Ashdown");
    EXPECT_TRUE(details->personDetails()->toPlainText().contains("Albert Edward Ashdown"));

    // The window follows the selection, leaving behind what was refused; a person deleted closes it.
    QApplication::setActiveWindow(details);
    type(details->field(PersonalDetails::NameTag), " ");
    commands().setSelectedHierarchy(node(beatrice));
    EXPECT_EQ(details->person(), beatrice);
    EXPECT_EQ(details->field(PersonalDetails::NameTag)->text(), "Beatrice Ashdown");
    EXPECT_EQ(beatrice->name(), "Beatrice Ashdown");
    NotificationCenter::defaultCenter().post("PersonToBeDeleted", beatrice, moc.get());
    QCoreApplication::processEvents();
    EXPECT_EQ(window->personalDetails(), nullptr);
}

TEST_F(HierarchyDialogs, AChangeMadeElsewhereWhileTheDetailsWindowIsInactiveKeepsOnlyWhatWasTyped)
{
    FTPerson* robert = person("Robert Ashdown", M(), 1820, 1890);
    FTPerson* albert = child(robert, "Albert Ashdown", M(), 1845);
    open(robert, false);
    commands().setSelectedHierarchy(node(albert));
    window->invokeMiniPersonalDetailsFor(albert);
    PersonalDetails* details = window->personalDetails();
    ASSERT_TRUE(details);
    QApplication::setActiveWindow(details);
    QLineEdit* birthDate = details->field(PersonalDetails::BirthDateTag);
    QLineEdit* name = details->field(PersonalDetails::NameTag);
    // The window the user renames Albert in (activating the hierarchy window would select its root).
    QWidget elsewhere;
    elsewhere.resize(300, 200);
    elsewhere.show();

    // A refused date waits to be put right while the user renames Albert in another window.
    type(birthDate, "31 Febtember 1845x");
    ASSERT_EQ(albert->birth()->date(), "1845");
    const QString refused = birthDate->text();
    elsewhere.activateWindow();
    QApplication::setActiveWindow(&elsewhere);
    QCoreApplication::processEvents();
    albert->setName("Albert Edward Ashdown");
    QCoreApplication::processEvents();
    EXPECT_EQ(birthDate->text(), refused);
    EXPECT_EQ(name->text(), "Albert Edward Ashdown");

    // A field only clicked in shows the change, so leaving it later writes nothing old back.
    birthDate->setText("1845");
    QApplication::setActiveWindow(details);
    name->setFocus();
    elsewhere.activateWindow();
    QApplication::setActiveWindow(&elsewhere);
    QCoreApplication::processEvents();
    albert->setName("Bert Ashdown");
    QCoreApplication::processEvents();
    EXPECT_EQ(name->text(), "Bert Ashdown");
    QApplication::setActiveWindow(details);
    Q_EMIT name->editingFinished();
    EXPECT_EQ(albert->name(), "Bert Ashdown");
}

TEST_F(HierarchyDialogs, ARefusedValueInTheDetailsWindowKeepsItsPersonWhenAnotherBoxIsClicked)
{
    FTPerson* robert = person("Robert Ashdown", M(), 1820, 1890);
    FTPerson* albert = child(robert, "Albert Ashdown", M(), 1845);
    FTPerson* beatrice = child(robert, "Beatrice Ashdown", F(), 1847);
    beatrice->setValueForKeyPath("death.date", "1920");
    open(robert, false);
    commands().setSelectedHierarchy(node(albert));
    window->invokeMiniPersonalDetailsFor(albert);
    PersonalDetails* details = window->personalDetails();
    ASSERT_TRUE(details);
    QApplication::setActiveWindow(details);
    QLineEdit* died = details->field(PersonalDetails::DeathDateTag);
    auto dateAlerts = [this] {
        return std::count_if(prompts.records.begin(), prompts.records.end(),
                             [](const auto& r) { return r.text == LocalizedHelpString("DateFormatHelp"); });
    };
    auto clickBox = [this](FTPerson* p) {
        const QPointF at = node(p)->rclBox().center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, view()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(view(), &e);
        }
    };

    // The field says why as the window loses the keyboard to the click; the click itself says nothing more and
    // leaves Albert selected, with what was typed.
    prompts.clear();
    type(died, "sometime");
    clickBox(beatrice);
    EXPECT_EQ(dateAlerts(), 1);
    EXPECT_EQ(selectedName(), "Albert Ashdown");
    EXPECT_EQ(details->person(), albert);
    EXPECT_EQ(died->text(), "sometime");
    EXPECT_EQ(details->focusWidget(), died);
    // A later click is another try, said once more.
    QCoreApplication::processEvents();
    clickBox(beatrice);
    EXPECT_EQ(dateAlerts(), 2);
    EXPECT_EQ(details->person(), albert);

    // Escape in the field gives the edit up.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(died, &escape);
    EXPECT_EQ(died->text(), "");
    // Escape in the alert too: the click goes through to Beatrice, whose date is untouched.
    type(died, "sometime");
    QCoreApplication::processEvents();
    prompts.escapeMessages();
    clickBox(beatrice);
    EXPECT_EQ(dateAlerts(), 4);
    EXPECT_EQ(selectedName(), "Beatrice Ashdown");
    EXPECT_EQ(details->person(), beatrice);
    EXPECT_EQ(died->text(), "1920");
    EXPECT_EQ(albert->death(), nullptr);
    EXPECT_EQ(beatrice->death()->date(), "1920");

    // When the selection moves by another way, the refused value is left behind and so is the keyboard.
    QApplication::setActiveWindow(details);
    type(died, "whenever");
    const auto before = dateAlerts();
    commands().setSelectedHierarchy(node(albert));
    EXPECT_EQ(dateAlerts(), before);
    EXPECT_EQ(details->person(), albert);
    EXPECT_EQ(died->text(), "");
    EXPECT_NE(details->focusWidget(), died);
    EXPECT_EQ(beatrice->death()->date(), "1920");
}

TEST_F(HierarchyDialogs, UndoingThePersonsMakingClosesTheWindowsWithoutWritingWhatWasTyped)
{
    FTPerson* robert = person("Robert Ashdown", M(), 1820, 1890);
    moc->saveMoc();
    auto* undo = moc->undoManager();
    undo->enableUndoRegistration();
    struct Case {
        const char* name;
        bool rootGoes; // the undone person is the tree's root, else only the details window's person
        std::function<void(PersonalDetails*)> afterUndo;
    };
    const QList<Case> cases {
        {"every view refreshed", true, [](PersonalDetails*) { NotificationCenter::defaultCenter().post("RefreshHierarchyDiagram"); }},
        {"tree built again first", true, [this](PersonalDetails*) {
             commands().markForRebuild();
             view()->prepare();
         }},
        {"field left", false, [](PersonalDetails* details) { EXPECT_TRUE(details->endEditing(PersonalDetails::NameTag)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FTPerson* albert = child(robert, "Albert Ashdown", M(), 1845);
        undo->closeOpenGroups();
        open(c.rootGoes ? albert : robert, c.rootGoes);
        window->invokeMiniPersonalDetailsFor(albert);
        PersonalDetails* details = window->personalDetails();
        ASSERT_TRUE(details);
        details->field(PersonalDetails::NameTag)->setText("Albert Typed");
        undo->undo();
        ASSERT_TRUE(albert->isDeleted());
        c.afterUndo(details);
        QCoreApplication::processEvents();
        EXPECT_EQ(window->isVisible(), !c.rootGoes);
        EXPECT_EQ(window->personalDetails(), nullptr);
        EXPECT_NE(albert->name(), "Albert Typed");
        window.reset();
        QCoreApplication::processEvents();
    }
}

} // namespace
