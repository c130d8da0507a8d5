// The checks of the links between records: broken links removed or reported, implausible birth gaps between
// parents and children, children with two natural fathers or mothers, and cycles in the natural ancestry.

#include "PeopleFixture.h"

#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/ModelProgress.h"

namespace {
struct RecordingProgress : ModelProgress {
    QStringList statuses;
    QList<int> percents;
    void setStatus(const QString& text) override { statuses << text; }
    void setPercent(int percent) override { percents << percent; }
};

class RelationshipValidation : public PeopleFixture {
protected:
    // A small sound family: parents, two children, dates, a source cited.
    void healthyFamily()
    {
        FTPerson* dad = person("Adam Birch", M());
        FTPerson* mum = person("Beth Birch", F());
        couple(dad, mum);
        year(dad, "birth", 1850);
        year(mum, "birth", 1855);
        for (int y : { 1880, 1885 }) {
            FTPerson* c = person(QStringLiteral("Child Birch %1").arg(y));
            year(c, "birth", y);
            link(dad, c);
            link(mum, c);
        }
        FTSourceRel* citation = FTSourceRel::initInMoc(moc.get());
        citation->setSource(FTSource::initInMoc(moc.get()));
        citation->setPerson(dad);
    }
};
}

TEST_F(RelationshipValidation, ASoundDatabaseGivesNothingFromEveryPass)
{
    healthyFamily();
    RecordingProgress progress;
    QString report;
    EXPECT_EQ(moc->validateAllRelationships(&progress, &report), 0);
    EXPECT_TRUE(report.isEmpty());
    EXPECT_TRUE(messages().isEmpty()) << messages().join("\n").toStdString();
    EXPECT_EQ(progress.statuses,
        (QStringList { LocalizedString("ValidatingPcRels"), LocalizedString("ValidatingPersons"),
            LocalizedString("ValidatingSpouseRels"), LocalizedString("ValidatingEvents"),
            LocalizedString("ValidatingSrcRels"), LocalizedString("ValidatingPcDates") }));
}

TEST_F(RelationshipValidation, LinksWithoutAChildOrAParentAreRemovedAndSaved)
{
    int beeps = 0;
    ModelHooks::shared().beep = [&beeps] { ++beeps; };
    FTPerson* parent = person("Carl Dunn", M());
    FTPerson* child = person("Dora Dunn", F());
    link(parent, child);
    link(parent, nullptr);
    link(nullptr, child);
    link(nullptr, nullptr); // both ends missing: removed once
    ASSERT_TRUE(moc->save());

    EXPECT_EQ(moc->validatePcRels(nullptr), 3);
    EXPECT_EQ(beeps, 4);
    ASSERT_EQ(messages().size(), 4);
    EXPECT_TRUE(messages()[0].startsWith(LocalizedString("PcRelException") + ":\n\n" + LocalizedString("Exception")
        + " = " + LocalizedString("BadPcRel") + "\n" + LocalizedString("Reason") + " = "
        + LocalizedString("ChildPcRelWrong")))
        << messages()[0].toStdString();
    EXPECT_FALSE(moc->hasChanges()) << "each removal is saved";

    const QString path = moc->databaseURL();
    moc.reset();
    moc = reopen(path);
    ASSERT_EQ(moc->count<FTPcRel>(), 1);
    EXPECT_EQ(moc->validatePcRels(nullptr), 0);
}

TEST_F(RelationshipValidation, ACoupleWithOnePartnerIsReportedAndKept)
{
    FTPerson* alone = person("Eli Frost", M());
    year(alone, "birth", 1900);
    FTSpouseRel* c = couple(alone, nullptr);
    EXPECT_EQ(moc->validateSpouseRelRels(nullptr), 0);
    EXPECT_EQ(messages(),
        QStringList { QStringLiteral("%1 = 1\n%2 = Eli Frost (1900 - )\n%3 = nil")
                .arg(LocalizedString("InvalidSpouseRels"), LocalizedString("Partner1"), LocalizedString("Partner2")) });
    EXPECT_FALSE(c->isDeleted());
    EXPECT_EQ(c->partners().size(), 1);
}

TEST_F(RelationshipValidation, EventsWithoutAnOwnerAndCitationsWithoutASourceGo)
{
    healthyFamily();
    FTPerson* p = person("Gil Hay", M());
    FTEvent* kept = year(p, "birth", 1901);
    FTEvent* orphan = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent);
    orphan->setName("Lost");
    FTSourceRel* citation = FTSourceRel::initInMoc(moc.get());
    citation->setPerson(p);

    EXPECT_EQ(moc->validateEventRels(nullptr), 0);
    EXPECT_TRUE(orphan->isDeleted());
    EXPECT_FALSE(kept->isDeleted());
    ASSERT_EQ(messages().size(), 2);
    EXPECT_TRUE(messages()[0].startsWith(LocalizedString("EventException") + ":"));
    EXPECT_EQ(messages()[1], QStringLiteral("%1 = %2\n\n%3 = Lost")
                                 .arg(LocalizedString("EventObjId"), orphan->objectURI(), LocalizedString("eventName")));

    prompts.clear();
    EXPECT_EQ(moc->validateSourceRelRels(nullptr), 1);
    EXPECT_TRUE(citation->isDeleted());
    EXPECT_EQ(messages(), QStringList { "1 " + LocalizedString("InvalidatedSources") });
    EXPECT_EQ(moc->count<FTSourceRel>(), 1);
}

TEST_F(RelationshipValidation, ImplausibleBirthGapsAreListedAndNothingChanges)
{
    struct Case {
        QString parentGender;
        int parentYear, parentMonth, childYear, childMonth;
        QString expected; // the middle of the line; empty: not reported
    };
    const QList<Case> cases {
        { M(), 1900, 6, 1910, 1, "is only 9 years younger than his father" }, // the month borrows from the year
        { M(), 1900, 1, 1909, 1, "is only 9 years younger than his father" },
        { M(), 1900, 1, 1910, 1, "" },
        { F(), 1900, 1, 1946, 1, "is 46 years younger than his mother" },
        { F(), 1900, 1, 1945, 1, "" },
        { M(), 1900, 1, 1971, 1, "is 71 years younger than his father" },
        { M(), 1900, 1, 1970, 1, "" },
        { F(), 1900, 1, 1890, 1, "is 10 years older than his mother" },
        { "", 1900, 1, 1947, 1, "" }, // a parent of unknown gender has no upper limit
    };
    for (const Case& c : cases) {
        moc = newDatabase(QStringLiteral("gap%1.RezUdu").arg(&c - cases.data()));
        FTPerson* parent = person("Pa", c.parentGender);
        FTPerson* child = person("Kid", M());
        date(parent, "birth", 1, c.parentMonth, c.parentYear);
        date(child, "birth", 1, c.childMonth, c.childYear);
        link(parent, child);
        person("Nobody"); // without a birth: never reported
        ASSERT_TRUE(moc->save());
        QString report;
        const int n = moc->validateParentChildBirthDates(nullptr, &report);
        SCOPED_TRACE(c.expected.toStdString());
        if (c.expected.isEmpty()) {
            EXPECT_EQ(n, 0);
            EXPECT_TRUE(report.isEmpty()) << report.toStdString();
        } else {
            EXPECT_EQ(n, 1);
            EXPECT_EQ(report, QStringLiteral("%1 %2 %3 - database not changed")
                                  .arg(child->nameWithBirthAndDeathYears(), c.expected, parent->nameWithBirthAndDeathYears()));
        }
        EXPECT_FALSE(moc->hasChanges());
    }
}

TEST_F(RelationshipValidation, BirthGapLinesAreSeparatedByLineBreaks)
{
    FTPerson* mum = person("Mo", F());
    year(mum, "birth", 1900);
    for (const char* name : { "Zed", "Abe" }) {
        FTPerson* c = person(name, F());
        year(c, "birth", 1960);
        link(mum, c);
    }
    QString report;
    EXPECT_EQ(moc->validateParentChildBirthDates(nullptr, &report), 2);
    const QStringList lines = report.split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Abe")) << "by the child's name";
    EXPECT_TRUE(lines[1].contains("years younger than her mother"));
}

TEST_F(RelationshipValidation, SecondNaturalParentsAreFoundAndTurnedIntoStepParents)
{
    FTPerson* child = person("Hal Ives", M());
    FTPerson* laterDad = person("Ira Ives", M());
    FTPerson* earlierDad = person("Jon Ives", M());
    FTPerson* mum = person("Kim Ives", F());
    laterDad->setNumericId(7);
    earlierDad->setNumericId(3);
    child->setNumericId(20);
    FTPcRel* toLater = link(laterDad, child);
    FTPcRel* toEarlier = link(earlierDad, child);
    link(mum, child);
    FTPerson* fine = person("Lea Ives", F());
    link(earlierDad, fine);
    link(mum, fine);

    QString report;
    const QList<FTPerson*> found = moc->findChildrenWithMultipleNaturalParents(&report, true);
    EXPECT_EQ(found, QList<FTPerson*> { child });
    EXPECT_EQ(messages(), QStringList { "Hal Ives has 2 natural fathers." });
    EXPECT_EQ(report, "\nHal Ives, ID = 20 had 2 natural fathers. Natural fathers = Ira Ives, Jon Ives");

    EXPECT_EQ(moc->convertMultipleNaturalParentsIntoStepRels(found), 1);
    EXPECT_EQ(toEarlier->intPcRelType(), FTPcRel::kNatural) << "the lowest number keeps the natural link";
    EXPECT_EQ(toLater->intPcRelType(), FTPcRel::kStep);
    EXPECT_TRUE(moc->findChildrenWithMultipleNaturalParents(nullptr, false).isEmpty());
}

TEST_F(RelationshipValidation, AChildWithThreeNaturalMothersIsListedTwiceAndConvertedOnce)
{
    FTPerson* child = person("Mia Judd", F());
    QList<FTPcRel*> links;
    for (int i = 0; i < 3; ++i)
        links << link(person(QStringLiteral("Mum %1").arg(i), F()), child);
    // Another child that shares the number must not be counted with her.
    FTPerson* other = person("Ned Judd", M());
    other->setNumericId(child->numericId());
    link(person("Other Mum", F()), other);

    QString report;
    const QList<FTPerson*> found = moc->findChildrenWithMultipleNaturalParents(&report, false);
    EXPECT_EQ(found, (QList<FTPerson*> { child, child }));
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(report.count('\n'), 1) << "one line, when the second mother is found";
    EXPECT_TRUE(report.contains(QStringLiteral(", ID = %1 had 3 natural mothers.").arg(child->numericId()))) << report.toStdString();
    EXPECT_EQ(moc->convertMultipleNaturalParentsIntoStepRels(found), 2);
    EXPECT_EQ(links[0]->intPcRelType(), FTPcRel::kNatural);
    EXPECT_EQ(links[1]->intPcRelType(), FTPcRel::kStep);
    EXPECT_EQ(links[2]->intPcRelType(), FTPcRel::kStep);
}

TEST_F(RelationshipValidation, ACycleOfThreeIsReportedOnce)
{
    FTPerson* a = person("Ava", F());
    FTPerson* b = person("Bo", M());
    FTPerson* c = person("Cy", M());
    link(b, a);
    link(c, b);
    FTPcRel* closing = link(a, c);
    person("Dee", F()); // unrelated

    EXPECT_EQ(moc->recursionCheck(true), 1);
    EXPECT_EQ(messages(), QStringList { "Recursion found in the database between \n\nchild = Cy and \n\nparent = Ava." });
    EXPECT_EQ(closing->flagBits() & 16, 16u);
    // A new search starts afresh.
    prompts.clear();
    EXPECT_EQ(moc->recursionCheck(false), 1);
    EXPECT_TRUE(messages().isEmpty());

    // Through a step, adopted or foster link it is no cycle.
    for (int type : { FTPcRel::kStep, FTPcRel::kAdopted, FTPcRel::kFoster }) {
        closing->setPcRelType(type);
        EXPECT_EQ(moc->recursionCheck(true), 0) << type;
    }
}

TEST_F(RelationshipValidation, AParentWhoIsAlsoAGrandparentIsNoCycle)
{
    // Eve is Kit's mother and also the mother of Kit's father: odd, but no one is their own ancestor.
    FTPerson* kit = person("Kit", M());
    FTPerson* dad = person("Dad", M());
    FTPerson* eve = person("Eve", F());
    kit->setNumericId(1);
    dad->setNumericId(2);
    eve->setNumericId(3);
    link(dad, kit);
    link(eve, kit);
    link(eve, dad);
    EXPECT_EQ(moc->recursionCheck(true), 0);
    EXPECT_TRUE(messages().isEmpty()) << messages().join("\n").toStdString();
}

TEST_F(RelationshipValidation, AVeryLongLineOfAncestorsIsSearchedWithoutRunningOutOfStack)
{
    moc->undoManager()->disableUndoRegistration();
    FTPerson* first = person("Gen 0", M());
    FTPerson* previous = first;
    for (int i = 1; i < 100000; ++i) {
        FTPerson* next = person(QStringLiteral("Gen %1").arg(i), M());
        link(next, previous);
        previous = next;
    }
    link(first, previous); // the oldest is made a child of the youngest
    moc->undoManager()->enableUndoRegistration();
    EXPECT_EQ(moc->recursionCheck(false), 1);
}

TEST_F(RelationshipValidation, NullifyBitFlagClearsOnlyThatBit)
{
    FTPerson* a = person("A");
    FTPerson* b = person("B");
    a->setFlagBits(8 | 16 | 1);
    b->setFlagBits(1);
    FTMoc::nullifyBitFlag(16, { a, b });
    EXPECT_EQ(a->flagBits(), 9u);
    EXPECT_EQ(b->flagBits(), 1u);
}
