// Comparing a person of another database with one of the open database: what counts as a difference, step by
// step, and the account written for the report.

#include "MergeFixture.h"

#include "merge/PersonComparison.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

#include <functional>

using Step = PersonComparison::Step;
using Kind = PersonComparison::Kind;
using Side = PersonComparison::Side;

namespace {
struct Expected {
    Step step;
    Kind kind;
    Side side;
};
}

class PersonComparisonTest : public MergeFixture {
protected:
    // The same person in both databases: name, gender, birth, an occupation, a spouse with a marriage, a picture,
    // a citation and a story.
    FTPerson* same(FTMoc* moc)
    {
        FTPerson* p = person(moc, "John Smith", "M", "1 Jan 1850", "Leeds");
        event(p, "OCCU", "1880", "Leeds")->setName("Farmer");
        FTPerson* wife = person(moc, "Mary Brown", "F", "1852");
        marry(p, wife, "5 May 1875", "York");
        picture(p, "john.jpg");
        cite(p, "Parish register", "12");
        story(p, "<p>Born in Leeds.</p>");
        return p;
    }
};

TEST_F(PersonComparisonTest, EachKindOfDifferenceCountsAsThePersonComparisonSays)
{
    struct Case {
        const char* what;
        std::function<void(FTPerson* source, FTPerson* target)> change;
        int count;
        QList<Expected> findings;
    };
    const Case cases[] = {
        { "identical people", [](FTPerson*, FTPerson*) {}, 0, {} },
        { "stamps, ids and extra fields never count",
            [](FTPerson* s, FTPerson* t) {
                s->setNumericId(77);
                s->setLastChange(QDateTime(QDate(2001, 2, 3), QTime(4, 5)));
                s->setTodo("Look for the will");
                s->birth()->setNumericId(99);
                t->pictures().first()->setNumericId(55);
            },
            0, {} },
        { "the order number of a picture counts",
            [](FTPerson* s, FTPerson*) { s->pictures().first()->setSeqNo(4); }, 1,
            { { Step::Pictures, Kind::Attributes, Side::Both } } },
        { "a birth on one side counts once, whatever it holds",
            [](FTPerson*, FTPerson* t) { t->moc()->deleteObject(t->birth()); }, 1,
            { { Step::Birth, Kind::OneSide, Side::SourceOnly } } },
        { "only the date as typed stands for a birth date",
            [](FTPerson*, FTPerson* t) {
                t->birth()->setDay(2);
                t->birth()->setQual(1);
            },
            0, {} },
        { "parents A and B against A: the count and B",
            [this](FTPerson* s, FTPerson* t) {
                parentOf(person(s->moc(), "Adam Smith"), s);
                parentOf(person(s->moc(), "Eve Jones", "F"), s);
                parentOf(person(t->moc(), "Adam Smith"), t);
            },
            2,
            { { Step::Parents, Kind::Count, Side::Both }, { Step::Parents, Kind::OneSide, Side::SourceOnly } } },
        { "two source events equal to one target event both match it",
            [](FTPerson* s, FTPerson*) { event(s, "OCCU", "1880", "Leeds")->setName("Farmer"); }, 1,
            { { Step::OtherPersonalEvents, Kind::Count, Side::Both } } },
        { "a different event of each side",
            [](FTPerson* s, FTPerson*) { s->otherEvents().first()->setPlace("Hull"); }, 2,
            { { Step::OtherPersonalEvents, Kind::OneSide, Side::SourceOnly },
                { Step::OtherPersonalEvents, Kind::OneSide, Side::TargetOnly } } },
        { "marriages of the target side alone add only the count",
            [this](FTPerson* s, FTPerson* t) {
                FTPerson* sw = person(s->moc(), "Ann Grey", "F");
                FTPerson* tw = person(t->moc(), "Ann Grey", "F");
                marry(s, sw);
                marry(t, tw, "1890", "Hull");
            },
            1, { { Step::MarriageEvents, Kind::Count, Side::Both } } },
        { "pictures whose file names differ in letter case are compared with each other",
            [](FTPerson* s, FTPerson*) { s->pictures().first()->setString("filename", "JOHN.jpg"); }, 1,
            { { Step::Pictures, Kind::Attributes, Side::Both } } },
        { "a picture of another file is on one side each",
            [](FTPerson* s, FTPerson*) { s->pictures().first()->setString("filename", "other.jpg"); }, 2,
            { { Step::Pictures, Kind::OneSide, Side::SourceOnly },
                { Step::Pictures, Kind::OneSide, Side::TargetOnly } } },
        { "the certainty of a citation is not compared",
            [](FTPerson* s, FTPerson*) { s->allSourceRels().first()->setCertainty(3); }, 0, {} },
        { "a story on one side counts once",
            [](FTPerson*, FTPerson* t) { t->moc()->deleteObject(t->story()); }, 1,
            { { Step::Story, Kind::Differs, Side::SourceOnly } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FTPerson* s = same(other.get());
        FTPerson* t = same(open.get());
        c.change(s, t);
        const PersonComparison result = PersonComparison::compare(s, t);
        EXPECT_EQ(result.count, c.count) << result.text.toStdString();
        QList<Expected> found;
        for (const PersonComparison::Finding& f : result.findings)
            found.append({ f.step, f.kind, f.side });
        EXPECT_EQ(found.size(), c.findings.size()) << result.text.toStdString();
        for (qsizetype i = 0; i < std::min(found.size(), c.findings.size()); ++i) {
            EXPECT_EQ(found[i].step, c.findings[i].step) << i;
            EXPECT_EQ(found[i].kind, c.findings[i].kind) << i;
            EXPECT_EQ(found[i].side, c.findings[i].side) << i;
        }
    }
}

// The account as the report prints it: a red heading naming both people, then one block per step that differs.
TEST_F(PersonComparisonTest, TheAccountNamesEachDifferenceLineByLine)
{
    FTPerson* s = person(other.get(), "John Smith", "M", "1 Jan 1850", "Leeds");
    s->setTitle("Farmer");
    parentOf(person(other.get(), "Adam Smith"), s);
    parentOf(person(other.get(), "Eve Jones", "F"), s);
    FTPerson* t = person(open.get(), "John Smith", "M", "1 Jan 1850", "York");
    t->setTitle("Miller");
    parentOf(person(open.get(), "Adam Smith"), t);
    cite(t, "Parish register", "12");

    QTextDocument report;
    EXPECT_EQ(PersonComparison::comparePerson(s, t, &report), 6);
    const QStringList expected = {
        s->nameWithIdBirthAndDeathYears() + " vs. " + t->nameWithIdBirthAndDeathYears(),
        "",
        " - Fields that differ: Title",
        "      other: title = Farmer",
        "      open: title = Miller",
        "",
        " - Birth fields that differ: Place",
        "      other: place = Leeds",
        "      open: place = York",
        "",
        " - Different numbers of parents: 2 in the other database and 1 in the open database",
        "      parent Eve Jones is in the other database but not in the open one",
        "",
        " - Different numbers of citations: 0 in the other database and 1 in the open database",
        "",
        "      Citation is in the open database but not in the other one.",
        "         " + L("SourceCompareTitle") + ": Parish register , Page = 12",
        "",
        "",
    };
    const QStringList lines = report.toPlainText().split('\n');
    for (qsizetype i = 0; i < std::max(lines.size(), expected.size()); ++i)
        EXPECT_EQ(lines.value(i).toStdString(), expected.value(i).toStdString()) << "line " << i;

    // Only the heading is red and bold.
    const QTextCharFormat heading = report.begin().begin().fragment().charFormat();
    EXPECT_EQ(heading.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(heading.fontWeight(), QFont::Bold);
    EXPECT_NE(report.lastBlock().previous().begin().fragment().charFormat().foreground().color(), QColor(255, 0, 0));

    // Identical people leave the report as it was.
    QTextDocument untouched;
    untouched.setPlainText("kept");
    EXPECT_EQ(PersonComparison::comparePerson(s, s, &untouched), 0);
    EXPECT_EQ(untouched.toPlainText(), "kept");
}
