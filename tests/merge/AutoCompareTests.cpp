// The comparison of a whole database with the open one: who is matched with whom in each mode, the report, and
// the other database's file, which nothing of the comparison may change.

#include "MergeFixture.h"

#include "merge/AutoCompare.h"
#include "merge/ComparePeopleList.h"
#include "merge/PeopleMatching.h"

#include "sources/OtherSourceDatabase.h"

#include "shell/Utils.h"

#include "model/ModelProgress.h"

#include "WorkspaceFixture.h"

#include <QTextDocument>

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
QStringList namesOf(const QList<FTPerson*>& people)
{
    QStringList names;
    for (const FTPerson* p : people)
        names << p->nameWithIdBirthAndDeathYears();
    return names;
}

struct Recorder : ModelProgress {
    QStringList statuses;
    QList<int> percents;
    void setStatus(const QString& text) override { statuses << text; }
    void setPercent(int percent) override { percents << percent; }
};

const QDateTime kNow(QDate(2024, 3, 9), QTime(14, 5));
}

class AutoCompareTest : public MergeFixture {
protected:
    struct Run {
        AutoCompare::Result result;
        std::unique_ptr<QTextDocument> report;
        Recorder progress;
    };
    // A whole run in `mode` over both databases, the lists first in the other mode's order and narrowed.
    std::unique_ptr<Run> run(int mode)
    {
        auto r = std::make_unique<Run>();
        ComparePeopleList source, target;
        source.setSortMode(1 - mode);
        target.setSortMode(1 - mode);
        source.setPeople(other->fetch<FTPerson>());
        target.setPeople(open->fetch<FTPerson>());
        source.setSearch(PeopleSearch(PeopleMatching::SearchField::Name, "x"));
        AutoCompare::Header header = AutoCompare::headerFor(other.get(), open.get(), mode, kNow);
        header.version = "1.0";
        header.sourceCreated = header.targetCreated = QDateTime(QDate(2020, 1, 2), QTime(9, 0));
        header.sourceModified = header.targetModified = QDateTime(QDate(2023, 6, 30), QTime(18, 30));
        r->result = AutoCompare::autoCompare(source, target, other.get(), open.get(), header, &r->progress, &r->report);
        EXPECT_FALSE(source.isFiltered());
        EXPECT_EQ(source.sortMode(), 0);
        EXPECT_EQ(target.sortMode(), 0);
        return r;
    }
};

TEST_F(AutoCompareTest, ByNameEachTargetPersonIsTakenOnceAndGenderAndYearsMustAgree)
{
    FTPerson* first = person(other.get(), "John Brown", "M", "1850");
    FTPerson* second = person(other.get(), "John Brown", "M", "1850");
    FTPerson* capitals = person(other.get(), "MARY GREEN", "F", "1855");
    FTPerson* woman = person(other.get(), "Sam Hill", "F", "1860");
    FTPerson* johnHere = person(open.get(), "John Brown", "M", "1850");
    person(open.get(), "Mary Green", "F", "1855");
    FTPerson* man = person(open.get(), "Sam Hill", "M", "1860");

    const std::unique_ptr<Run> r = run(0);
    EXPECT_EQ(r->result.matchedPairs, 2);
    EXPECT_THAT(r->result.unmatchedSource, ElementsAre(second, woman)) << "the first John Brown in list order wins";
    EXPECT_THAT(r->result.unmatchedTarget, ElementsAre(man));
    (void)first, (void)capitals, (void)johnHere;
    EXPECT_EQ(AutoCompare::finalCountText(r->result), "2 " + L("ConjunctiveOf") + " 4 " + L("peopleMatched"));
    EXPECT_EQ(r->progress.percents.first(), 5);
    EXPECT_EQ(r->progress.percents.last(), 0);
    EXPECT_EQ(r->progress.statuses.last(), AutoCompare::finalCountText(r->result));
    // The index of events exists only while the run lasts.
    for (const FTPerson* p : other->fetch<FTPerson>())
        EXPECT_EQ(p->otherEventsSet(), nullptr);
}

TEST_F(AutoCompareTest, ByIdAnIdHeldTwiceMatchesNobodyAndAnEmptyDatabaseMatchesNothing)
{
    {
        const std::unique_ptr<Run> r = run(1);
        EXPECT_EQ(r->result.sourceCount, 0);
        EXPECT_EQ(r->result.matchedPairs, 0);
        const QString text = r->report->toPlainText();
        EXPECT_THAT(text.toStdString(), testing::HasSubstr("0 " + L("ConjunctiveOf").toStdString() + " 0 "));
        EXPECT_TRUE(text.contains(L("AutoCompareReportTitle")));
    }
    person(other.get(), "Ann Lee", "F", {}, {}, 4);
    FTPerson* bob = person(other.get(), "Bob Ray", "M", {}, {}, 5);
    person(open.get(), "Ann Lee", "F", {}, {}, 4);
    person(open.get(), "Bob Ray", "M", {}, {}, 5);
    person(open.get(), "Robert Ray", "M", {}, {}, 5);
    const std::unique_ptr<Run> r = run(1);
    EXPECT_EQ(r->result.matchedPairs, 1);
    EXPECT_THAT(r->result.unmatchedSource, ElementsAre(bob));
    EXPECT_THAT(namesOf(r->result.unmatchedTarget), ElementsAre("[0005] Bob Ray", "[0005] Robert Ray"));
    EXPECT_TRUE(r->report->toPlainText().contains(L("UnableToFindMatchOnId")));
}

// The report as a file: the heading block, each differing pair's account, the unmatched people and the summaries,
// with their fonts and colours, written with a fixed clock.
TEST_F(AutoCompareTest, TheReportIsWrittenAsRtfAndOpened)
{
    FTPerson* s = person(other.get(), "John Brown", "M", "1 Jan 1850", "Leeds");
    s->setTitle("Farmer");
    event(s, "OCCU", "1880", "Leeds")->setName("Farmer");
    person(other.get(), "Mary Green", "F", "1855");
    person(other.get(), "Walter Zöllner", "M", "1890");
    FTPerson* t = person(open.get(), "John Brown", "M", "1 Jan 1850", "York");
    t->setTitle("Farmer");
    person(open.get(), "Mary Green", "F", "1855");
    person(open.get(), "Sam Hill", "M", "1860");

    const std::unique_ptr<Run> r = run(0);
    WorkspaceFixture workspace { TestSupport::tempRoot(), "application/rtf" };
    const QString path = AutoCompare::writeReport(*r->report);
    EXPECT_EQ(path, Utils::reportsDirectory() + "/" + L("AutoCompareReportFileName") + ".rtf");
    TestSupport::expectGolden(TestSupport::readFile(path), "rtf/database-comparison.rtf");
    EXPECT_THAT(workspace.launched(), Contains(path));
    // A second report takes the next free name.
    EXPECT_EQ(AutoCompare::writeReport(*r->report),
        Utils::reportsDirectory() + "/" + L("AutoCompareReportFileName") + "_1.rtf");
}

// Nothing the comparison does writes to the other database: not opening it, searching it, removing its matched
// people, comparing it in both modes or closing it; not even when its file may be written.
TEST_F(AutoCompareTest, TheOtherDatabaseFileIsNeverChanged)
{
    const QString folder = pathFor("elsewhere");
    QDir().mkpath(folder);
    const QString path = folder + "/Cousins.RezUdu";
    {
        std::unique_ptr<FTMoc> made = newDatabase("elsewhere/Cousins.RezUdu");
        FTPerson* s = person(made.get(), "John Brown", "M", "1850", "Leeds");
        event(s, "OCCU", "1880")->setName("Farmer");
        picture(s, "john.jpg")->setTranscription("A letter");
        person(made.get(), "Mary Green", "F", "1855");
        ASSERT_TRUE(made->saveMoc());
    }
    person(open.get(), "John Brown", "M", "1850", "York");
    const QByteArray bytes = TestSupport::readFile(path);
    const QDateTime modified = QFileInfo(path).lastModified();
    const QStringList listing = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    {
        std::unique_ptr<FTMoc> theirs = OtherSourceDatabase::open(path, open.get());
        ASSERT_NE(theirs, nullptr);
        ComparePeopleList source, target;
        source.setPeople(theirs->fetch<FTPerson>());
        target.setPeople(open->fetch<FTPerson>());
        source.setSearch(PeopleSearch(PeopleMatching::SearchField::Name, "jo"));
        EXPECT_EQ(source.count(), 1);
        source.setSearch({});
        EXPECT_EQ(PeopleMatching::removeMatchedRecords(source.arranged(), target.arranged(), 0, nullptr).size(), 2);
        for (int mode : { 0, 1 }) {
            std::unique_ptr<QTextDocument> report;
            const AutoCompare::Result r = AutoCompare::autoCompare(source, target, theirs.get(), open.get(),
                AutoCompare::headerFor(theirs.get(), open.get(), mode, kNow), nullptr, &report);
            EXPECT_EQ(r.sourceCount, 2);
            EXPECT_EQ(r.matchedPairs, 1);
            EXPECT_TRUE(report->toPlainText().contains("Cousins.RezUdu"));
        }
        theirs->deferredSave();
        NotificationCenter::defaultCenter().flushQueue();
    }
    EXPECT_EQ(TestSupport::readFile(path), bytes);
    EXPECT_EQ(QFileInfo(path).lastModified(), modified);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), listing);
    EXPECT_THAT(messages(), IsEmpty());
}
