#include "DiagramCommandsFixture.h"

#include "model/FTEvent.h"
#include "model/FTProjectView.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "platform/NotificationCenter.h"
#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

// The commands over the fixture's small family (makeFamily), saved and with no undo history.
class FamilyDiagramCommandsTest : public DiagramCommandsFixture {
protected:
    void makeFamily()
    {
        DiagramCommandsFixture::makeFamily();
        moc->saveMoc();
        moc->undoManager()->removeAllActions();
    }
    // Records each "PersonToBeDeleted" and whether the person was still there when it came.
    void watchDeletions()
    {
        NotificationCenter::defaultCenter().addObserver(
            "PersonToBeDeleted", nullptr,
            [this](const Notification& n) {
                auto* p = static_cast<FTPerson*>(const_cast<void*>(n.object));
                toBeDeleted << QStringLiteral("%1%2").arg(p->name(), p->isDeleted() ? " (gone)" : "");
            },
            this);
        NotificationCenter::defaultCenter().addObserver(
            "RefreshAllViews", nullptr, [this](const Notification&) { ++refreshAllViews; }, this);
    }
    void TearDown() override
    {
        NotificationCenter::defaultCenter().removeObserversOf(this);
        DiagramCommandsFixture::TearDown();
    }
    CdPerson* boxOf(FTPerson* p)
    {
        build();
        return layout.findPerson(p);
    }
    CdPerson* emptySlot(long level, FTPerson* owner)
    {
        build();
        for (const auto& b : layout.cdPersonsArray())
            if (b->isGhost() && b->ancLevel() == level && b->owner() && b->owner()->person() == owner)
                return b.get();
        return nullptr;
    }

    QStringList toBeDeleted;
    int refreshAllViews = 0;
};

TEST_F(FamilyDiagramCommandsTest, DeletingTheUnconnectedFocalPersonHandsTheFocusOn)
{
    makeFamily();
    watchDeletions();
    struct Case {
        const char* previous; // the history's previous focal person: Dad, none, or the person itself
        const char* nextFocal;
        QString message;
    };
    const QList<Case> cases {
        {"Dad", "Dad", {}},
        {"none", "Me", "Deleting Loner, The next Focal Person wil be = Me"},
        {"self", "Me", "Deleting Loner, The next Focal Person wil be = Me"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.previous);
        FTPerson* loner = person("Loner", F(), 1940);
        focusOn(loner);
        host.previous = QString(c.previous) == "Dad" ? dad : QString(c.previous) == "self" ? loner : nullptr;
        prompts.clear();
        toBeDeleted.clear();
        commands.deletePerson(boxOf(loner));
        EXPECT_TRUE(loner->isDeleted());
        EXPECT_EQ(toBeDeleted, QStringList {"Loner"}); // told before it went
        EXPECT_EQ(nameOf(moc->modelDefaults()->focalPerson()), c.nextFocal);
        EXPECT_EQ(nameOf(moc->modelDefaults()->selectedPerson()), c.nextFocal);
        EXPECT_EQ(messages(), c.message.isEmpty() ? QStringList() : QStringList {c.message});
        EXPECT_EQ(undoName(), "Delete Loner (1940 - )");
        moc->undoManager()->closeOpenGroups();
    }
    EXPECT_EQ(host.refreshes, 3);
}

TEST_F(FamilyDiagramCommandsTest, TheLastPersonOfADatabaseIsKept)
{
    FTPerson* only = person("Only", M());
    focusOn(only);
    watchDeletions();
    commands.deletePerson(boxOf(only));
    EXPECT_FALSE(only->isDeleted());
    EXPECT_EQ(messages(), QStringList {"You cannot delete the last person in the database"});
    EXPECT_TRUE(toBeDeleted.isEmpty());
}

TEST_F(FamilyDiagramCommandsTest, AConnectedFocalPersonIsRefused)
{
    makeFamily();
    focusOn(wife); // a spouse: neither parents nor children
    commands.deletePerson(boxOf(wife));
    EXPECT_FALSE(wife->isDeleted());
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains("cannot be deleted whilst he/she is the focal person")) << messages()[0].toStdString();
}

TEST_F(FamilyDiagramCommandsTest, DeletingTheSelectedChildSelectsItsOwnerAndSavesAtOnce)
{
    makeFamily();
    moc->setSelectedPerson(son);
    moc->saveMoc();
    watchDeletions();
    commands.deletePerson(boxOf(son));
    EXPECT_TRUE(son->isDeleted());
    EXPECT_EQ(toBeDeleted, QStringList {"Son"});
    EXPECT_EQ(moc->modelDefaults()->selectedPerson(), me);
    EXPECT_EQ(moc->modelDefaults()->focalPerson(), me);
    EXPECT_EQ(undoName(), "Delete Son (1955 - )");
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_EQ(refreshAllViews, 1);
    EXPECT_TRUE(messages().isEmpty());
    const QString path = moc->path();
    layout.setMoc(nullptr);
    moc.reset();
    moc = reopen(path);
    ASSERT_TRUE(moc);
    EXPECT_EQ(moc->count<FTPerson>([](const FTPerson* p) { return p->name() == "Son"; }), 0);
    EXPECT_EQ(moc->count<FTPerson>([](const FTPerson* p) { return p->name() == "Daughter"; }), 1);
}

// The question's event loop runs whatever is queued, a rebuild of the diagram among it.
struct RebuildingPrompts : ScriptedPrompts {
    std::function<void()> duringQuestion;
    int choose(const QString& text, const QString& info, const QStringList& buttons) override
    {
        if (duringQuestion)
            duringQuestion();
        return ScriptedPrompts::choose(text, info, buttons);
    }
};

TEST_F(FamilyDiagramCommandsTest, ARebuildDuringTheQuestionLeavesTheSelectionWithTheOwner)
{
    makeFamily();
    UserDefaults::standard().setBool("showDeleteWarnings", true);
    moc->setSelectedPerson(son);
    CdPerson* box = boxOf(son);
    ASSERT_TRUE(box);
    RebuildingPrompts asking;
    asking.duringQuestion = [this] {
        // Around Grandad: Me and Son have no boxes any more.
        moc->modelDefaults()->setFocalPerson(grandad);
        build();
    };
    Prompts::install(&asking);
    commands.deletePerson(box);
    Prompts::install(&prompts);
    EXPECT_TRUE(son->isDeleted());
    ASSERT_EQ(asking.records.size(), 1);
    EXPECT_EQ(moc->modelDefaults()->selectedPerson(), me);
}

TEST_F(FamilyDiagramCommandsTest, AttachingFromAPersonNeedsABirthYear)
{
    makeFamily();
    FTPerson* undated = person("Undated", M());
    const QList<std::pair<void (FamilyDiagramCommands::*)(FTPerson*), QString>> cases {
        {&FamilyDiagramCommands::attachExistingPersonAsChild, "attachChild"},
        {&FamilyDiagramCommands::attachExistingPersonAsParent, "attachParent"},
        {&FamilyDiagramCommands::attachExistingPersonAsSpouse, "attachSpouse %1 0"},
        {&FamilyDiagramCommands::attachExistingPersonAsSameSexSpouse, "attachSpouse %1 1"},
    };
    for (const auto& [command, call] : cases) {
        SCOPED_TRACE(call.toStdString());
        prompts.clear();
        dialogs.calls.clear();
        (commands.*command)(undated);
        ASSERT_EQ(messages().size(), 1);
        EXPECT_TRUE(messages()[0].startsWith("Please enter a birth date for Undated and try again.")) << messages()[0].toStdString();
        EXPECT_TRUE(dialogs.calls.isEmpty());

        (commands.*command)(me);
        const QString expected = call.contains("%1") ? call.arg("Me") : call + " Me";
        EXPECT_EQ(dialogs.calls, QStringList {expected});
    }
}

TEST_F(FamilyDiagramCommandsTest, AnEmptySlotAttachesByItsKind)
{
    makeFamily();
    options.showStepRelsOfFocalPerson = false;
    build();
    const QList<std::tuple<long, FTPerson*, QString>> cases {
        {CdPerson::kSpouse, me, "attachSpouse Me 0"},
        {CdPerson::kChild, me, "attachChild Me"},
        {1, me, "attachParent Me"},
        {2, dad, "attachParent Dad"},
    };
    for (const auto& [level, owner, call] : cases) {
        SCOPED_TRACE(call.toStdString());
        dialogs.calls.clear();
        CdPerson* slot = emptySlot(level, owner);
        ASSERT_TRUE(slot);
        commands.attachExistingPerson(slot);
        EXPECT_EQ(dialogs.calls, QStringList {call});
    }
    dialogs.calls.clear();
    commands.attachExistingPerson(boxOf(son)); // not an empty slot
    EXPECT_TRUE(dialogs.calls.isEmpty());
}

TEST_F(FamilyDiagramCommandsTest, TheProjectViewCommandAddsAndTakesOut)
{
    makeFamily();
    FTProjectView* view = FTProjectView::initInMoc(moc.get());
    moc->modelDefaults()->setCurrentView(view);
    commands.addPersonToProjectView(son);
    EXPECT_TRUE(view->storedPersons().contains(son));
    commands.addPersonToProjectView(son);
    EXPECT_TRUE(view->storedPersons().isEmpty());
    EXPECT_EQ(host.refreshes, 2);

    view->setRootPersonInAncestralView(me);
    commands.addPersonToProjectView(wife);
    EXPECT_TRUE(view->storedPersons().isEmpty());
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith("You cannot manually add people to an Ancestral View."));
    EXPECT_EQ(host.refreshes, 2);
}

TEST_F(FamilyDiagramCommandsTest, OnlyAnOtherPersonalEventIsClonedWithItsCitations)
{
    makeFamily();
    watchDeletions();
    moc->setSelectedPerson(son);
    const qsizetype eventsBefore = moc->count<FTEvent>();
    commands.activeEventClone(me->birth());
    EXPECT_EQ(moc->count<FTEvent>(), eventsBefore);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(refreshAllViews, 0);

    FTEvent* baptism = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, me, "BAPM");
    baptism->setDate("1930");
    FTSource* source = FTSource::initInMoc(moc.get());
    FTSourceRel::initInMoc(moc.get(), source, baptism, "Register");
    FTSourceRel::initInMoc(moc.get(), source, baptism, "Copy");
    commands.activeEventClone(baptism);
    ASSERT_EQ(son->otherEvents().size(), 1);
    FTEvent* clone = son->otherEvents()[0];
    EXPECT_EQ(clone->subtype(), "BAPM");
    EXPECT_EQ(clone->sourceRels().size(), 2);
    EXPECT_EQ(messages(), QStringList {"2 Source References have also been cloned."});
    EXPECT_EQ(refreshAllViews, 1);
    EXPECT_EQ(host.eventsShown, QList<FTEvent*> {clone});
}

TEST_F(FamilyDiagramCommandsTest, CopyingWithoutARequestSaysHowAndHowManyDatabasesToClose)
{
    auto second = newDatabase("Second.RezUdu");
    auto third = newDatabase("Third.RezUdu");
    auto fourth = newDatabase("Fourth.RezUdu");
    const QList<std::pair<QList<FTMoc*>, QString>> cases {
        {{moc.get(), second.get()}, {}},
        {{moc.get(), second.get(), third.get()},
         "You currently have 3 databases open and 1 database must be closed for this function to work."},
        {{moc.get(), second.get(), third.get(), fourth.get()},
         "You currently have 4 databases open and 2 databases must be closed for this function to work."},
    };
    for (const auto& [open, closeMessage] : cases) {
        SCOPED_TRACE(closeMessage.toStdString());
        host.open = open;
        prompts.clear();
        commands.copyPersonFromOtherModel(nullptr);
        const QList<ScriptedPrompts::Record> r = prompts.records;
        ASSERT_EQ(r.size(), closeMessage.isEmpty() ? 1 : 2);
        if (!closeMessage.isEmpty()) {
            EXPECT_EQ(r[0].text, closeMessage);
        }
        EXPECT_EQ(r.back().text, "To copy a person from another database");
        EXPECT_TRUE(r.back().info.startsWith("Step 1. Open a second (source) database"));
        EXPECT_TRUE(r.back().info.contains("\n\nStep 5. Execute the copy.\n\n"));
    }
}

TEST_F(FamilyDiagramCommandsTest, PastingReportsWhatTheClipboardGave)
{
    makeFamily();
    installWindows();
    watchDeletions();
    const QList<std::tuple<int, QStringList, QStringList>> cases {
        {0, {"No images found in clipboard."}, {}},
        {1, {}, {"pictureTitle Pasted 1 Me", "pictureEditor Me Pasted 1"}},
        {2, {"2 image/sound files added to Me"}, {}},
    };
    for (const auto& [count, shown, opened] : cases) {
        SCOPED_TRACE(count);
        clipboardImages = count;
        prompts.clear();
        windows.clear();
        commands.paste(me);
        EXPECT_EQ(messages(), shown);
        EXPECT_EQ(windows, opened);
    }
    EXPECT_EQ(me->pictures().size(), 3);
    EXPECT_EQ(refreshAllViews, 3);
}

TEST_F(FamilyDiagramCommandsTest, CitingWithoutAnActiveSourceOffersTheSourcesWindow)
{
    makeFamily();
    installWindows();
    prompts.answer(1); // Cancel
    commands.attachPersonToActiveSource(me);
    prompts.answer(0); // Activate a Source
    commands.attachPersonToActiveSource(me);
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].buttons, (QStringList {"Activate a Source", "Cancel"}));
    EXPECT_TRUE(prompts.records[0].info.endsWith("labelled \"Select as Active Source\"\n\n"));
    EXPECT_EQ(windows, QStringList {"sources Family"});
    EXPECT_TRUE(me->sourceRels().isEmpty());

    FTSource* source = FTSource::initInMoc(moc.get());
    moc->setActiveSource(source);
    commands.attachPersonToActiveSource(me);
    ASSERT_EQ(me->sourceRels().size(), 1);
    EXPECT_EQ(me->sourceRels()[0]->source(), source);
}

TEST_F(FamilyDiagramCommandsTest, MenuItemsReachTheirWindowsWithTheirPeople)
{
    makeFamily();
    installWindows();
    FTPerson* friendOfMe = person("Friend", M());
    associate(me, friendOfMe);
    build();
    CdPerson* friendsBox = nullptr;
    for (const auto& b : layout.cdPersonsArray())
        if (b->ancLevel() == CdPerson::kAssociated)
            friendsBox = b.get();
    ASSERT_TRUE(friendsBox);
    using A = DiagramMenuItem::Action;
    auto item = [](A action, DiagramMenuItem::Object object) {
        DiagramMenuItem i;
        i.action = action;
        i.representedObject = object;
        return i;
    };
    const QList<std::pair<DiagramMenuItem, QString>> cases {
        {item(A::DisconnectPerson, son), "disconnect Son"},
        {item(A::InvokeAssociatedPersonDialogFor, friendsBox), "association Friend Me"},
        {item(A::AddSameSexSpouse, me), "sameSexPartner Me"},
        {item(A::AddAssociatedPerson, me), "addAssociated Me"},
        {item(A::AttachExistingPersonAsAssociatedPerson, me), "attachAssociated Me"},
        {item(A::MergeSelectedPersonFromAnotherDatabase, me), "merge Me"},
        {item(A::TodoAdd, {}), "todo Me"},
        {item(A::InvokeHierarchyDiagram, dad), "hierarchy Dad 1"},
        {item(A::DisplayScratchPad, {}), "scratchPad Family"},
        {item(A::PeopleIndexWindow, {}), "peopleIndex Family"},
        {item(A::SetUserPreferences, {}), "preferences"},
        {item(A::SaveCdDiagram, {}), "saveDiagram Family"},
        // A represented object of the wrong kind does nothing.
        {item(A::DisconnectPerson, friendsBox), ""},
        {item(A::InvokeAssociatedPersonDialogFor, me), ""},
    };
    for (const auto& [menuItem, opened] : cases) {
        SCOPED_TRACE(opened.toStdString());
        windows.clear();
        commands.perform(menuItem);
        EXPECT_EQ(windows.join(";"), opened);
    }
    commands.invokePcRelDialog(dad, me);
    EXPECT_EQ(windows.last(), "pcRelType Dad Me");
    EXPECT_TRUE(messages().isEmpty());

    commands.perform(item(A::PromoteToFocalPerson, dad));
    EXPECT_EQ(moc->modelDefaults()->focalPerson(), dad);
}

TEST_F(FamilyDiagramCommandsTest, AWindowNotInstalledIsNamedAndNothingChanges)
{
    makeFamily();
    RelativeDialogs::install(nullptr);
    clipboardImages = 2;
    const QList<std::pair<std::function<void()>, QString>> cases {
        {[&] { commands.disconnectPerson(son); }, "disconnect dialog"},
        {[&] { commands.invokePcRelDialog(dad, me); }, "parent-child relationship dialog"},
        {[&] { commands.addSameSexSpouse(me); }, "same-sex partner dialog"},
        {[&] { commands.paste(me); }, "pasting of pictures"},
        {[&] { commands.invokeHierarchyDiagram(me); }, "ancestors chart"},
        {[&] { commands.attachExistingPersonAsChild(me); }, "attach existing person dialog"},
        {[&] { commands.attachExistingPerson(emptySlot(CdPerson::kChild, me)); }, "attach existing person dialog"},
    };
    for (const auto& [run, window] : cases) {
        SCOPED_TRACE(window.toStdString());
        prompts.clear();
        run();
        EXPECT_EQ(messages(),
                  QStringList {"The " + window + " is not available in this version of Kinloom yet. Nothing has been changed."});
    }
    EXPECT_EQ(host.refreshes, 0);
    EXPECT_FALSE(moc->hasChanges());
}

TEST_F(FamilyDiagramCommandsTest, MissingPeopleBoxesAndDatabasesDoNothing)
{
    makeFamily();
    installWindows();
    for (auto* database : {moc.get(), static_cast<FTMoc*>(nullptr)}) {
        host.database = database;
        for (int a = int(DiagramMenuItem::Action::None); a <= int(DiagramMenuItem::Action::NudgeRight); ++a) {
            DiagramMenuItem i;
            i.action = DiagramMenuItem::Action(a);
            commands.perform(i);
        }
        commands.invokePcRelDialog(nullptr, me);
        commands.invokeAssociatedPersonDialogFor(emptySlot(CdPerson::kChild, me));
        commands.showMe(nullptr);
        commands.editDefaultImageForPerson(nullptr);
    }
    // Only the commands that need nothing but the database (or nothing at all) ran.
    EXPECT_EQ(windows, (QStringList {"saveDiagram Family", "scratchPad Family", "peopleIndex Family", "preferences",
                                     "todo Me", "preferences"}));
    EXPECT_EQ(messages(), (QStringList {"To copy a person from another database", "To copy a person from another database"}));
    EXPECT_FALSE(me->isDeleted());
    EXPECT_EQ(host.refreshes, 0);
}
