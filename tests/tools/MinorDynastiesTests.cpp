// Pruning minor family groups: the grouping, the rows of the minor groups, the focal person's group, the search in
// the main family, and deleting people with the backup offered before several.

#include "ToolsFixture.h"

#include "tools/MinorDynasties.h"

#include "shell/BackupPanel.h"

#include "model/FTMocUndoManager.h"
#include "model/FTPcRel.h"

#include "platform/NotificationCenter.h"

#include <QFileInfo>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
// The backup's save panel, answering the proposed path (or cancelling) and counting its runs.
struct ScriptedBackupPanel : BackupPanel {
    int runs = 0;
    bool cancel = false;
    QString run(const QString&, const QString&, const QString& folder, const QString& proposedName) override
    {
        ++runs;
        return cancel ? QString() : folder + "/" + proposedName;
    }
};

QStringList rowTexts(const MinorDynasties& d)
{
    QStringList out;
    for (const MinorDynasties::Row& row : d.rows())
        out << (row.person ? row.person->name() : row.text);
    return out;
}
}

class MinorDynastiesFixture : public ToolsFixture {
protected:
    // A couple with `children` children, all named after `family`.
    FTPerson* family(const QString& name, int children)
    {
        FTPerson* father = person("Father " + name);
        FTPerson* mother = father->addSpouse("Mother " + name, "F");
        for (int i = 0; i < children; ++i) {
            FTPerson* child = father->addChild(QString("Child%1 %2").arg(i + 1).arg(name), "M", FTPcRel::kNatural);
            mother->attachChild(child, FTPcRel::kNatural, false, nullptr);
        }
        return father;
    }
    QString header(int number, int count) const
    {
        return QString("------  %1 %2 (%3 %4 %5) ------")
            .arg(L("MinorDynNum"))
            .arg(number)
            .arg(L("contains"))
            .arg(count)
            .arg(L(count == 1 ? "person" : "people"));
    }
};

TEST_F(MinorDynastiesFixture, TheLargestGroupIsMainAndTheOthersAreListedUnderHeaders)
{
    FTPerson* main = family("Main", 3);     // 5 people
    family("Small", 1);                     // 3 people
    person("Hermit Alone");                 // 1 person, no relatives
    moc->setFocalPerson(main);
    settle();
    MinorDynasties d(moc.get());
    d.loadDynasties();
    EXPECT_EQ(d.mainDynasty().size(), 5);
    EXPECT_EQ(rowTexts(d), QStringList({header(1, 3), "Child1 Small", "Father Small", "Mother Small", "",
                                        header(2, 1), "Hermit Alone"}));
    EXPECT_EQ(d.numOtherPeople(), 4);
    EXPECT_TRUE(prompts.records.isEmpty());

    // Everybody related: nothing listed.
    moc = newDatabase("Related.RezUdu");
    moc->setFocalPerson(family("All", 2));
    MinorDynasties related(moc.get());
    related.loadDynasties();
    EXPECT_TRUE(related.rows().isEmpty());
    EXPECT_EQ(related.numOtherPeople(), 0);
}

TEST_F(MinorDynastiesFixture, OfTwoEqualLargestGroupsOneIsListedAndTheFocalPersonsGroupNever)
{
    FTPerson* first = family("First", 2);
    FTPerson* second = family("Second", 2);
    FTPerson* minor = family("Minor", 0);
    moc->setFocalPerson(first);
    settle();
    MinorDynasties d(moc.get());
    d.loadDynasties();
    EXPECT_EQ(d.mainDynasty().size(), 4);
    EXPECT_EQ(d.mainDynasty().first(), first) << "the first group met stays main";
    EXPECT_TRUE(rowTexts(d).contains("Father Second"));

    // The focal person in a minor group: told, and the group not offered.
    moc->setFocalPerson(minor);
    MinorDynasties focal(moc.get());
    focal.loadDynasties();
    EXPECT_FALSE(rowTexts(focal).contains("Father Minor"));
    EXPECT_EQ(rowTexts(focal).first(), header(1, 4)) << "the other equal group";
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], QString("%1 2 %2 %3 %4 %5 %6 %7 %8")
                                 .arg(L("MinorDynNum"), L("UnableToPruneFocal1"), minor->nameWithBirthAndDeathYears(),
                                      L("UnableToPruneFocal2"), "Father Minor", L("ConjunctiveAnd"), L("his"),
                                      L("UnableToPruneFocal3")));
    (void)second;
}

TEST_F(MinorDynastiesFixture, SearchingTheMainFamilyByWordBeginnings)
{
    FTPerson* main = family("Main", 0);
    main->addChild("Anna Maria Smith", "F", FTPcRel::kNatural);
    main->addChild("Joanna (Annie) Smith", "F", FTPcRel::kNatural);
    main->addChild("Maria_Anna Jones", "F", FTPcRel::kNatural);
    moc->setFocalPerson(main);
    MinorDynasties d(moc.get());
    d.loadDynasties();
    QStringList found;
    for (const FTPerson* p : d.findPerson("  smi ann "))
        found << p->name();
    EXPECT_THAT(found, ElementsAre("Anna Maria Smith", "Joanna (Annie) Smith"));
    EXPECT_TRUE(d.findPerson("oanna").isEmpty()) << "inside a word";
    EXPECT_EQ(d.findPerson("jones ANNA").size(), 1);
    EXPECT_EQ(d.findPerson("").size(), 5);
}

TEST_F(MinorDynastiesFixture, DeletingOnePersonAsksNoBackupAndSeveralOfferOne)
{
    FTPerson* main = family("Main", 3);
    family("Small", 1);
    person("Hermit Alone");
    moc->setFocalPerson(main);
    settle();
    const QString path = moc->path();
    MinorDynasties d(moc.get());
    d.loadDynasties();
    ScriptedBackupPanel panel;
    QStringList announced;
    NotificationCenter::defaultCenter().addObserver("PersonToBeDeleted", nullptr, [&announced](const Notification& n) {
        announced << static_cast<const FTPerson*>(n.object)->name();
    }, this);

    d.deleteSelectedPeople({0, 4}, path, &panel);
    EXPECT_THAT(messages(), ElementsAre(L("NoOneToDelete"))) << "a header and a separator are nobody";

    prompts.clear();
    const int hermit = int(rowTexts(d).indexOf("Hermit Alone"));
    EXPECT_EQ(d.deleteSelectedPeople({hermit}, path, &panel), 1);
    EXPECT_EQ(panel.runs, 0) << "one person: no backup";
    EXPECT_THAT(announced, ElementsAre("Hermit Alone"));
    EXPECT_EQ(messages().last(), QString("1 %1 %2").arg(L("personWas"), L("PruneComplete")));
    EXPECT_FALSE(rowTexts(d).contains("Hermit Alone")) << "grouped again";

    // Several: the backup is offered, then they go, as one undo step.
    EXPECT_EQ(d.deleteSelectedPeople({1, 2}, {}, &panel), 0);
    EXPECT_EQ(messages().last(), L("NoCurrentDoc"));
    announced.clear();
    prompts.clear();
    EXPECT_EQ(d.deleteSelectedPeople({0, 1, 2, 3}, path, &panel), 3);
    EXPECT_EQ(panel.runs, 1);
    EXPECT_EQ(QDir(dataFolder() + "/Backups").entryList(QDir::Files).size(), 1);
    EXPECT_THAT(announced, ElementsAre("Child1 Small", "Father Small", "Mother Small"));
    EXPECT_EQ(messages().last(), QString("3 %1 %2").arg(L("peopleWere"), L("PruneComplete")));
    EXPECT_TRUE(d.rows().isEmpty());
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_EQ(moc->undoManager()->undoActionName(), L("Prune"));
    undo();
    EXPECT_EQ(moc->count<FTPerson>(), 8) << "the three back in one step";

    // A cancelled backup does not stop the pruning.
    d.loadDynasties();
    panel.cancel = true;
    EXPECT_EQ(d.deleteSelectedPeople({1, 2}, path, &panel), 2);
    NotificationCenter::defaultCenter().removeObserversOf(this);
}
