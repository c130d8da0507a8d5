// The data checks and event lists: the consistency checks and their report, the list of recent changes, the
// events no source cites, and the events grid.
#include "ReportFixture.h"

#include "reports/DataValidation.h"
#include "reports/DatabaseChanges.h"
#include "reports/EventsGrid.h"
#include "reports/UncitedEvents.h"

#include "model/FTSource.h"
#include "model/FTSourceRel.h"

#include "CsvReader.h"

#include <QDir>
#include <QTimeZone>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

class DataChecks : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        // Names as typed, so that the expected texts read as the names given.
        defaults().setBool("uppercaseFamilyName", false);
    }
    // The reasons found for `p`, in the order found.
    static QStringList reasonsFor(const QList<Inconsistency>& rows, const FTPerson* p)
    {
        QStringList out;
        for (const Inconsistency& r : rows)
            if (r.person() == p)
                out << r.reason();
        return out;
    }
    // A parent and a natural child, born (and the parent dead) on the dates given as {day, month, year}.
    struct Date {
        int day = 0, month = 0, year = 0;
    };
    FTPerson* family(const QString& child, const QString& gender, Date parentBorn, Date parentDied, Date childBorn)
    {
        FTPerson* parent = person(child + "'s parent", gender);
        FTPerson* c = person(child, M());
        if (parentBorn.year)
            date(parent, "birth", parentBorn.day, parentBorn.month, parentBorn.year);
        if (parentDied.year)
            date(parent, "death", parentDied.day, parentDied.month, parentDied.year);
        date(c, "birth", childBorn.day, childBorn.month, childBorn.year);
        link(parent, c);
        return c;
    }
    QStringList reports() const { return QDir(Utils::reportsDirectory()).entryList(QDir::Files, QDir::Name); }
};

// ---- Data validation ------------------------------------------------------------------------------------------

TEST_F(DataChecks, BirthsAreCheckedAgainstEachNaturalParent)
{
    struct Case {
        const char* child;
        bool father;
        Date parentBorn, parentDied, childBorn;
        const char* reason; // empty: nothing reported
    };
    const Case cases[] = {
        { "Fa15", true, { 0, 0, 1900 }, {}, { 0, 0, 1915 }, "" },
        { "Fa70", true, { 0, 0, 1900 }, {}, { 0, 0, 1970 }, "" },
        { "Fa14", true, { 0, 0, 1900 }, {}, { 0, 0, 1914 }, "Father was aged 14 at Fa14's birth" },
        { "Fa71", true, { 0, 0, 1900 }, {}, { 0, 0, 1971 }, "Father was aged 71 at Fa71's birth" },
        { "Mo45", false, { 0, 0, 1900 }, {}, { 0, 0, 1945 }, "" },
        { "Mo46", false, { 0, 0, 1900 }, {}, { 0, 0, 1946 }, "Mother was aged 46 at Mo46's birth" },
        // A father may die up to nine months before the birth, carried over the turn of the year.
        { "Oct", true, { 0, 0, 1870 }, { 1, 2, 1900 }, { 1, 10, 1900 }, "" },
        { "Jan", true, { 0, 0, 1870 }, { 1, 11, 1900 }, { 1, 1, 1901 }, "" },
        { "Sep", true, { 0, 0, 1870 }, { 1, 11, 1900 }, { 1, 9, 1901 },
            "The father died 01 Nov 1900, before Sep could have been conceived" },
        { "Mar", false, { 0, 0, 1870 }, { 1, 2, 1900 }, { 1, 3, 1900 },
            "The mother died 01 Feb 1900, before Mar was born" },
        { "Early", true, { 5, 6, 1900 }, {}, { 1, 1, 1900 },
            "Early was born before his father Early's parent (1900 - ) was born." },
    };
    QList<std::pair<FTPerson*, const Case*>> made;
    for (const Case& c : cases)
        made.append({ family(c.child, c.father ? M() : F(), c.parentBorn, c.parentDied, c.childBorn), &c });
    // Only natural links count.
    FTPerson* step = person("Step", M());
    year(step, "birth", 1900);
    link(person("Old step", M()), step, FTPcRel::kStep);
    year(step->parents().first()->parent(), "birth", 1800);

    QList<Inconsistency> rows;
    DataValidation(moc.get()).checkBirths(rows, nullptr);
    for (const auto& [child, c] : made)
        EXPECT_EQ(reasonsFor(rows, child), *c->reason ? QStringList { c->reason } : QStringList()) << c->child;
    EXPECT_THAT(reasonsFor(rows, step), IsEmpty());
}

TEST_F(DataChecks, DeathsMarriagesLoopsLoneAndUndatedPeople)
{
    FTPerson* old = person("Old", F());
    year(old, "birth", 1800);
    year(old, "death", 1911);
    FTPerson* backwards = person("Back", M());
    year(backwards, "birth", 1900);
    year(backwards, "death", 1850);

    // Marriage ages: 12 and 101 reported, 13 and 100 not; a marriage before birth says so even at "age 0".
    struct Marriage {
        const char* name;
        int born, married;
        const char* reason;
    };
    const Marriage marriages[] = {
        { "Twelve", 1900, 1912, "Twelve married when she was 12 years old" },
        { "Thirteen", 1900, 1913, "" },
        { "Hundred", 1800, 1900, "" },
        { "HundredOne", 1800, 1901, "HundredOne married when she was 101 years old" },
        { "Unborn", 1900, 1890, "Unborn married before she was born" },
    };
    QList<FTPerson*> brides;
    for (const Marriage& m : marriages) {
        FTPerson* bride = person(m.name, F());
        year(bride, "birth", m.born);
        FTPerson* groom = person(QString(m.name) + " groom", M());
        year(couple(groom, bride), "marriage", m.married);
        brides << bride;
    }
    FTPerson* widow = person("Widow", F());
    year(widow, "birth", 1850);
    year(widow, "death", 1880);
    year(couple(widow, person("Late", M())), "marriage", 1890);

    // A loop of three: each is the parent of the next, and the last the parent of the first.
    FTPerson* a = person("Ay", M());
    FTPerson* b = person("Bee", F());
    FTPerson* c = person("Cee", M());
    link(a, b);
    link(b, c);
    link(c, a);

    FTPerson* alone = person("Alone", M());
    FTPerson* wed = person("Wed", M());
    couple(wed, nullptr);
    FTPerson* undated = person("Undated", F());
    FTPerson* dead = person("Dead", M());
    FTEvent::initInMoc(moc.get(), FTEvent::DeathEvent, dead, QString())->setDate("y");
    prompts.clear(); // Back's dates were questioned as they were typed

    DataValidation checks(moc.get());
    QList<Inconsistency> rows;
    checks.checkDeaths(rows, nullptr);
    EXPECT_EQ(reasonsFor(rows, old), QStringList { "Old was aged 111 at death" });
    EXPECT_EQ(reasonsFor(rows, backwards), QStringList { "Back's death date is before his birth date" });

    rows.clear();
    checks.checkMarriages(rows);
    for (qsizetype i = 0; i < brides.size(); ++i)
        EXPECT_EQ(reasonsFor(rows, brides[i]),
            *marriages[i].reason ? QStringList { marriages[i].reason } : QStringList()) << marriages[i].name;
    EXPECT_EQ(reasonsFor(rows, widow), QStringList { "Widow married after she died" });

    // The search forgets its last marks, so a second run finds the same loop once again.
    for (int run = 0; run < 2; ++run) {
        rows.clear();
        checks.checkLoops(rows);
        ASSERT_EQ(rows.size(), 1) << "run " << run;
        EXPECT_THAT(rows[0].reason().toStdString(),
            HasSubstr("The child is already an ancestor of the parent: "));
        EXPECT_THAT(rows[0].reason().toStdString(), HasSubstr(" is an ancestor of "));
    }
    EXPECT_EQ(prompts.records.size(), 2) << "each search tells of the loop it found";

    rows.clear();
    checks.checkUnconnected(rows);
    EXPECT_EQ(reasonsFor(rows, alone), QStringList { "Alone is not related to anyone" });
    EXPECT_THAT(reasonsFor(rows, wed), IsEmpty()) << "a spouse is a relation";
    EXPECT_THAT(reasonsFor(rows, a), IsEmpty());

    rows.clear();
    checks.checkNoDates(rows);
    EXPECT_EQ(reasonsFor(rows, undated), QStringList { "Undated has no birth or death date" });
    EXPECT_THAT(reasonsFor(rows, dead), IsEmpty()) << "a death known to have happened";
    EXPECT_THAT(reasonsFor(rows, old), IsEmpty());

    // Only the checks chosen run.
    DataValidation some(moc.get());
    some.checkBirthDates = some.checkDeathDates = some.checkParentChildRelationships = some.checkMarriageDates
        = some.peopleWithNoBirthAndDeathDates = false;
    rows = some.run();
    EXPECT_FALSE(rows.isEmpty());
    for (const Inconsistency& r : rows)
        EXPECT_THAT(r.reason().toStdString(), HasSubstr("is not related to anyone"));
}

TEST_F(DataChecks, TheReportListsTheFindingsWithOrWithoutDetails)
{
    FTPerson* dad = person("Tom {Brace} Smith", M());
    date(dad, "birth", 3, 4, 1880);
    year(dad, "death", 1950);
    FTPerson* kid = person("Joe \"Jo\" Smith", M());
    year(kid, "birth", 1894);
    link(dad, kid);
    year(couple(kid, person("Amy Lee", F())), "marriage", 1905);
    person("Nobody", F());
    ASSERT_TRUE(moc->saveMoc());

    DataValidation checks(moc.get());
    checks.modelName = "Family";
    checks.moment = moment();
    const QList<Inconsistency> rows = DataValidation::sorted(checks.run());
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[0].person()->name(), "Amy Lee") << "by person, then reason";
    EXPECT_EQ(rows[1].person(), kid);
    EXPECT_EQ(rows[2].person(), kid);
    EXPECT_LT(rows[1].reason(), rows[2].reason());

    for (const bool details : { true, false }) {
        RtfWriter writer;
        ASSERT_TRUE(checks.generate(writer, rows, details));
        const QByteArray rtf = readAll(writer.rtfFilePath());
        EXPECT_TRUE(wellFormed(rtf));
        TestSupport::expectGolden(rtf, details ? "reports/inconsistencies-details.rtf" : "reports/inconsistencies.rtf");
    }
    EXPECT_EQ(reports(), QStringList({ "Family_Inconsistencies.rtf", "Family_Inconsistencies_1.rtf" }));
}

// ---- Database changes ---------------------------------------------------------------------------------------

TEST_F(DataChecks, ChangesWithinTheDaysChosenNewestFirstAndTheirFile)
{
    const QDateTime now(QDate(2024, 3, 5), QTime(14, 5), Qt::UTC);
    auto stamp = [](FTManagedObject* o, const QDateTime& when) { o->setValueForKey("lastChange", when); };
    FTPerson* recent = person("Ann Recent", F());
    FTPerson* older = person("Bob Older", M());
    FTPerson* byEvent = person("Cy Event", M());
    FTPerson* untouched = person("Dee Old", F());
    FTEvent* birth = year(byEvent, "birth", 1950);
    stamp(recent, now.addSecs(-23 * 3600));
    stamp(older, now.addSecs(-25 * 3600));
    stamp(byEvent, now.addDays(-30));
    stamp(birth, now.addSecs(-3600));
    stamp(untouched, now.addDays(-30));

    DatabaseChanges changes(moc.get());
    changes.modelName = "Family";
    EXPECT_EQ(names(changes.changedWithin(1, now)), QStringList({ "Cy Event", "Ann Recent" }));
    const QList<FTPerson*> twoDays = changes.changedWithin(2, now);
    EXPECT_EQ(names(twoDays), QStringList({ "Cy Event", "Ann Recent", "Bob Older" }));

    QString path;
    ASSERT_TRUE(changes.writeReport(twoDays, 2, now, &path));
    EXPECT_EQ(QFileInfo(path).fileName(), "Family_LatestChanges.txt");
    TestSupport::expectGolden(readAll(path), "reports/latest-changes.txt");
    ASSERT_TRUE(changes.writeReport({}, 2, now, &path));
    EXPECT_EQ(QFileInfo(path).fileName(), "Family_LatestChanges_1.txt");
    EXPECT_EQ(readAll(path), "\n") << "nothing changed: the empty first line alone";
    EXPECT_EQ(DatabaseChanges::noChangesMessage(1), "No changes have been made in the last 1 day");
    EXPECT_EQ(DatabaseChanges::noChangesMessage(3), "No changes have been made in the last 3 days");
}

// ---- Events without citations --------------------------------------------------------------------------------

TEST_F(DataChecks, UncitedEventsAndWhoOfACoupleBecomesFocal)
{
    FTPerson* ann = person("Ann Cited", F());
    FTEvent* cited = year(ann, "birth", 1900);
    FTEvent* uncited = year(ann, "death", 1970);
    FTPerson* hal = person("Hal Husband", M());
    FTEvent* wedding = year(couple(hal, ann), "marriage", 1920);
    FTEvent* lonely = year(couple(hal, nullptr), "marriage", 1930);
    FTSource* parish = FTSource::initInMoc(moc.get());
    FTSourceRel::initInMoc(moc.get(), parish, cited, QString());

    const QList<FTEvent*> all = UncitedEvents::allEvents(moc.get());
    EXPECT_EQ(all.size(), 4);
    const QList<FTEvent*> shown = UncitedEvents::filter(all, true);
    EXPECT_FALSE(shown.contains(cited));
    EXPECT_TRUE(shown.contains(uncited));
    EXPECT_EQ(UncitedEvents::filter(all, false), all);

    EXPECT_EQ(UncitedEvents::personToPromote(uncited), ann);
    prompts.answer(0);
    EXPECT_EQ(UncitedEvents::personToPromote(wedding), hal);
    prompts.answer(1);
    EXPECT_EQ(UncitedEvents::personToPromote(wedding), ann);
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].buttons, QStringList({ "Hal", "Ann" }));
    EXPECT_EQ(UncitedEvents::personToPromote(lonely), nullptr) << "a couple without both partners";
    EXPECT_EQ(prompts.records.size(), 2);
}

// ---- Events grid ----------------------------------------------------------------------------------------------

class EventsGridTest : public DataChecks {
protected:
    FTEvent* event(FTPerson* p, const QString& tag, int y, const QString& text = {})
    {
        FTEvent* e = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, p, tag);
        e->setYear(y);
        e->setDate(text.isEmpty() ? QString::number(y) : text);
        return e;
    }
    QList<QStringList> grid(EventsGrid& g)
    {
        g.modelName = "Family";
        g.moment = moment();
        QString path;
        EXPECT_TRUE(g.generate(g.shownPeople(), &path));
        const QByteArray bytes = readAll(path);
        EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
        bool wellFormed = false;
        const QList<QStringList> rows = CsvReader::parse(bytes, &wellFormed);
        EXPECT_TRUE(wellFormed);
        return rows;
    }
};

TEST_F(EventsGridTest, DecadeColumnsFromTheEarliestYearToTheLatestAndCellsThatReadBack)
{
    FTPerson* ann = person("Ann \"Nan\" Root", F());
    year(ann, "birth", 1843);
    event(ann, "OCCU", 1861);
    event(ann, "RESI", 1865);
    event(ann, "CENS", 1901);
    year(couple(ann, person("Hal Hart", M())), "marriage", 1862);
    FTEvent* quoted = event(ann, "EVEN", 2023);
    quoted->setPrimitiveValue("date", QStringLiteral("\"about\" 2023"));
    FTPerson* late = person("Late Comer", M());
    // A date after today is refused when typed, but an imported one stays as it came.
    event(late, "RESI", 2035)->setPrimitiveValue("date", QStringLiteral("2035"));
    FTPerson* none = person("No Events", M());
    FTPerson* tiny = person("Year Five", M());
    event(tiny, "RESI", 5);

    EventsGrid g(moc.get());
    const QList<QStringList> rows = grid(g);
    ASSERT_EQ(rows.size(), 1 + 5);
    const QStringList& head = rows[0];
    ASSERT_GE(head.size(), 7);
    EXPECT_EQ(head.mid(0, 5), QStringList({ "Id", "Name", "Family Name", "Birth", "Death" }));
    EXPECT_EQ(head[5], "Before 1840");
    EXPECT_EQ(head[6], "1840-1849");
    EXPECT_EQ(head.last(), "2030-2039") << "a column for the latest event's decade";
    EXPECT_TRUE(head.contains("2020-2029"));
    auto column = [&head](const QString& label) { return int(head.indexOf(label)); };

    auto rowOf = [&rows](const FTPerson* p) {
        for (const QStringList& r : rows)
            if (r[0] == QString::number(p->numericId()))
                return r;
        return QStringList();
    };
    const QStringList a = rowOf(ann);
    ASSERT_FALSE(a.isEmpty());
    EXPECT_EQ(a[1], ann->nameWithBirthAndDeathYears()) << "the name's quote survives";
    EXPECT_EQ(a[3], "1843");
    EXPECT_EQ(a[4], "?");
    EXPECT_EQ(a[column("1840-1849")], "BIRT 1843");
    EXPECT_EQ(a[column("1860-1869")], "OCCU 1861\nMARR 1862\nRESI 1865") << "one cell a decade, by date";
    EXPECT_EQ(a[column("1900-1909")], "CENS 1901");
    EXPECT_EQ(a[column("2020-2029")], "EVEN \"about\" 2023");
    EXPECT_EQ(a.size(), column("2020-2029") + 1);

    EXPECT_EQ(rowOf(late)[column("2030-2039")], "RESI 2035");
    EXPECT_EQ(rowOf(late)[3], "0") << "no birth year";
    EXPECT_EQ(rowOf(none).size(), 5) << "the five leading fields only";
    EXPECT_EQ(rowOf(tiny).size(), 5) << "a year below 10 has no decade";
}

TEST_F(EventsGridTest, EarlyEventsGoBefore1700AndTheHeadingReachesThePresentDecade)
{
    FTPerson* old = person("Old Timer", M());
    year(old, "birth", 1650);
    event(old, "RESI", 1705);
    EventsGrid g(moc.get());
    const QList<QStringList> rows = grid(g);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][5], "Before 1700");
    EXPECT_EQ(rows[0][6], "1700-1709");
    EXPECT_EQ(rows[0].last(), "2020-2029") << "the moment is in 2024";
    EXPECT_EQ(rows[1].mid(5, 2), QStringList({ "BIRT 1650", "RESI 1705" }));
}

TEST_F(EventsGridTest, TypeEntriesAndFiltersByNameWordsAndEventType)
{
    FTPerson* ann = person("Ann (Nancy) Root", F());
    FTPerson* zoe = person("Zoë Roux", F());
    FTPerson* bob = person("Bob_Annerly Smith", M());
    FTPerson* cy = person("Cyann Root", M());
    event(ann, "OCCU", 1900);
    event(zoe, "OCCU", 1901);
    event(bob, "RESI", 1902);
    event(cy, "", 1903)->setSubtype(QString());

    EventsGrid g(moc.get());
    EXPECT_EQ(g.eventTypeEntries(), QStringList({ "Occupation (2)", "Residence (1)", "None" }));
    EXPECT_EQ(names(g.shownPeople()), QStringList({ "Ann (Nancy) Root", "Bob_Annerly Smith", "Cyann Root", "Zoë Roux" }));

    const struct {
        const char* words;
        QStringList shown;
    } searches[] = {
        { "  ann ", { "Ann (Nancy) Root", "Bob_Annerly Smith" } },
        { "nan ro", { "Ann (Nancy) Root" } },
        { "zoe", { "Zoë Roux" } },
        { "ROOT cy", { "Cyann Root" } },
        { "", { "Ann (Nancy) Root", "Bob_Annerly Smith", "Cyann Root", "Zoë Roux" } },
    };
    for (const auto& s : searches) {
        g.setNameFilter(s.words);
        EXPECT_EQ(names(g.shownPeople()), s.shown) << s.words;
    }
    g.setEventType("OCCU");
    EXPECT_EQ(names(g.shownPeople()), QStringList({ "Ann (Nancy) Root", "Zoë Roux" }));
    g.setNotTheEventType(true);
    g.setEventType("OCCU");
    EXPECT_EQ(names(g.shownPeople()), QStringList({ "Bob_Annerly Smith", "Cyann Root" }));
    g.setNameFilter("smi");
    EXPECT_EQ(names(g.shownPeople()), QStringList({ "Bob_Annerly Smith" })) << "both filters at once";
    g.setEventType("None");
    EXPECT_EQ(names(g.shownPeople()), QStringList({ "Bob_Annerly Smith" }));

    g.setNameFilter("");
    g.sortByFamilyName();
    EXPECT_EQ(names(g.shownPeople()).first(), "Ann (Nancy) Root");
    EXPECT_EQ(names(g.shownPeople()).last(), "Bob_Annerly Smith");
}

TEST_F(EventsGridTest, ReportsNeverReplaceAFileAndSayWhenNoNameIsLeft)
{
    year(person("Ann Root", F()), "birth", 1900);
    const QString folder = Utils::reportsDirectory();
    for (int n = 0; n <= 100; ++n) {
        QFile f(folder + (n ? QString("/Family_EventsReport_%1.csv").arg(n) : QString("/Family_EventsReport.csv")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    EventsGrid g(moc.get());
    g.modelName = "Family";
    QString path;
    EXPECT_FALSE(g.generate(g.shownPeople(), &path));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(readAll(folder + "/Family_EventsReport_100.csv"), "keep");
    EXPECT_EQ(reports().size(), 101);

    QFile::remove(folder + "/Family_EventsReport_7.csv");
    EXPECT_TRUE(g.generate(g.shownPeople(), &path));
    EXPECT_EQ(QFileInfo(path).fileName(), "Family_EventsReport_7.csv");
}

}
