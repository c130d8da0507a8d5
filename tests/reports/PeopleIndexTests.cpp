// The people index's list (filters, sort, duplicates, relationship text), its CSV listing and the relationship
// path between two people, on the report family of ReportFixture.h and small families of their own.
#include "ReportFixture.h"

#include "CsvReader.h"
#include "WithoutPermissionOverride.h"

#include "reports/PeopleIndexCsv.h"
#include "reports/PeopleIndexModel.h"
#include "reports/RelationshipPath.h"

#include "model/RelativesHierarchy.h"

#include "platform/Localizer.h"
#include "platform/ScriptedPrompts.h"

#include <QFileInfo>
#include <QTextDocument>

namespace {
QStringList namesOf(const QList<FTPerson*>& people)
{
    QStringList names;
    for (const FTPerson* p : people)
        names << p->name();
    names.sort();
    return names;
}
}

class PeopleIndexTest : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        defaults().setBool("uppercaseFamilyName", false);
        makeFamily();
        // Somebody without a birth event and somebody whose birth has no year.
        zed = person("Zed Stone", M());
        yan = person("Yan Stone", F());
        yan->setValueForKeyPath("birth.place", "Hull");
        moc->setFocalPerson(ann);
        ASSERT_TRUE(moc->saveMoc());
        PeopleIndexModel::largeListWarningPending() = true;
    }

    FTPerson* zed = nullptr;
    FTPerson* yan = nullptr;
};

TEST_F(PeopleIndexTest, FilterTextsListThePeopleTheyDescribe)
{
    struct Case {
        const char* what;
        PeopleIndexModel::Filters filters;
        QStringList expected;
    };
    const auto f = [](auto set) {
        PeopleIndexModel::Filters filters;
        set(filters);
        return filters;
    };
    const QStringList roots = {"Ann Root", "Bob Root", "Dan Root", "Eve Root", "Gus Root", "Old Root"};
    const Case cases[] = {
        {"family name, any case", f([](auto& x) { x.familyName = "rOOt"; }), roots},
        {"X & Y", f([](auto& x) { x.familyName = " Root & Lane "; }), {"Bob Root", "Eve Root"}},
        {"& Y alone", f([](auto& x) { x.familyName = "& root"; }), {"Cat Lane", "Gil Moss", "Hal Hart", "Mae Dunn", "Ned Lane"}},
        {"given names & spouse's given names", f([](auto& x) { x.givenNames = "& Ann"; }), {"Hal Hart"}},
        {"both & parts together", f([](auto& x) { x.familyName = "& Root"; x.givenNames = "& Eve"; }), {"Ned Lane"}},
        {"a spouse filter that matches nobody", f([](auto& x) { x.familyName = "Root & Nobody"; }), {}},
        {"spouse's full name", f([](auto& x) { x.spousesName = "cat lane"; }), {"Bob Root"}},
        {"spouse's name matching nobody", f([](auto& x) { x.spousesName = "Nobody"; }), {}},
        {"=0: a birth without a year", f([](auto& x) { x.birthYear = "=0"; }), {"Yan Stone"}},
        {"<0: no birth event", f([](auto& x) { x.birthYear = "<0"; }), {"Zed Stone"}},
        {"<=0: either", f([](auto& x) { x.birthYear = "<=0"; }), {"Yan Stone", "Zed Stone"}},
        {"blanks inside a year", f([](auto& x) { x.birthYear = " 19 07 "; }), {"Cat Lane"}},
        {"< a year takes a birth without a year, not a missing birth", f([](auto& x) { x.birthYear = "<1830"; }),
            {"Old Root", "Yan Stone"}},
        {">= a year", f([](auto& x) { x.birthYear = ">=1980"; }), {"Ivy Hart", "Jon Hart"}},
        {"> a year", f([](auto& x) { x.birthYear = ">1980"; }), {"Ivy Hart"}},
        {"<= a death year", f([](auto& x) { x.deathYear = "<= 1925"; }), {"Gil Moss", "Gus Root", "Old Root"}},
        {"death =0: nobody's death lacks a year", f([](auto& x) { x.deathYear = "=0"; }), {}},
        {"death <0: no death event", f([](auto& x) { x.deathYear = "<0"; }),
            {"Ivy Hart", "Jon Hart", "Yan Stone", "Zed Stone"}},
        {"not a number counts as 0", f([](auto& x) { x.birthYear = "=abc"; }), {"Yan Stone"}},
        {"title", f([](auto& x) { x.title = "TEACH"; }), {"Ann Root"}},
        {"kinship of 1 leaves out the step daughter", f([](auto& x) { x.kinship = 1; }),
            {"Ann Root", "Bob Root", "Cat Lane", "Hal Hart", "Ivy Hart", "Jon Hart"}},
        {"only people with citations", f([](auto& x) { x.hasSourceReferences = true; }), {"Ann Root"}},
        {"fields together", f([](auto& x) { x.familyName = "Root"; x.birthYear = ">1870"; x.deathYear = "<1980"; }),
            {"Bob Root", "Dan Root", "Eve Root"}},
    };
    for (const Case& c : cases) {
        PeopleIndexModel index(moc.get());
        index.refresh();
        index.filters = c.filters;
        index.changeFilter();
        EXPECT_EQ(namesOf(index.shown()), c.expected) << c.what;
    }

    // The number filter, and the blanks of a year written back.
    PeopleIndexModel index(moc.get());
    index.refresh();
    index.filters.id = QString::number(ivy->numericId());
    index.changeFilter();
    EXPECT_EQ(namesOf(index.shown()), QStringList{"Ivy Hart"});
    index.filters.id.clear();
    index.filters.birthYear = "> = 1 980";
    index.changeFilter();
    EXPECT_EQ(index.filters.birthYear, ">=1980");
    EXPECT_EQ(namesOf(index.shown()), (QStringList{"Ivy Hart", "Jon Hart"}));
}

TEST_F(PeopleIndexTest, RefreshShowsEverybodyAndEmptiesEveryFieldButTheSpouseName)
{
    PeopleIndexModel index(moc.get());
    index.refresh();
    index.filters = {"1", "Root & Lane", "Eve", "<1900", ">1900", "Dr", "Cat", 2, true};
    index.changeFilter();
    index.refresh();
    EXPECT_EQ(index.shown().size(), 16);
    const PeopleIndexModel::Filters& f = index.filters;
    EXPECT_TRUE(f.id.isEmpty() && f.familyName.isEmpty() && f.givenNames.isEmpty() && f.birthYear.isEmpty()
                && f.deathYear.isEmpty() && f.title.isEmpty() && f.kinship == 0 && !f.hasSourceReferences);
    EXPECT_EQ(f.spousesName, "Cat");
    // The kept spouse name filters again with the next filter action.
    index.changeFilter();
    EXPECT_EQ(namesOf(index.shown()), QStringList{"Bob Root"});
}

TEST_F(PeopleIndexTest, ANameChangeIsSeenByTheNextFilter)
{
    PeopleIndexModel index(moc.get());
    index.refresh();
    index.filters.familyName = "Stone";
    index.changeFilter();
    ASSERT_EQ(index.shown().size(), 2);
    zed->setName("Zed Quarry");
    index.personChanged(zed);
    index.changeFilter();
    EXPECT_EQ(namesOf(index.shown()), QStringList{"Yan Stone"});
}

TEST_F(PeopleIndexTest, SortByFamilyGivenGenderBirthYearAndNumber)
{
    FTPerson* ann2 = person("ann root", F());
    year(ann2, "birth", 1700);
    PeopleIndexModel index(moc.get());
    index.refresh();
    index.filters.familyName = "Root";
    index.changeFilter();
    ASSERT_TRUE(index.sortByFamilyName());
    EXPECT_EQ(index.shown(), (QList<FTPerson*>{ann2, ann, bob, dan, eve, gus, old}));
}

TEST_F(PeopleIndexTest, ALargeListWarnsOncePerRunAndCanSortByNamesOnlyOrNotAtAll)
{
    PeopleIndexModel index(moc.get());
    index.refresh();
    for (int i = 0; i < PeopleIndexModel::kLargeList; ++i)
        person(QStringLiteral("Many Person%1").arg(i % 7), M());
    index.refresh();
    // Cancel: nothing sorted; the warning has had its turn for this run.
    prompts.answer(2);
    EXPECT_FALSE(index.sortByFamilyName());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].buttons, (QStringList{LocalizedString("Continue"),
                                              LocalizedString("SortOptionNamesOnly"), LocalizedString("SortOptionCancel")}));
    EXPECT_TRUE(prompts.records[0].info.contains(QString::number(index.shown().size())));
    EXPECT_TRUE(index.sortByFamilyName());
    EXPECT_EQ(prompts.records.size(), 1);

    // Names only: the birth year is no key, so equal names keep their numbers' order.
    PeopleIndexModel::largeListWarningPending() = true;
    prompts.clear();
    FTPerson* late = person("Aaron Aardvark", M());
    year(late, "birth", 1900);
    FTPerson* early = person("Aaron Aardvark", M());
    year(early, "birth", 1800);
    index.refresh();
    prompts.answer(1);
    ASSERT_TRUE(index.sortByFamilyName());
    EXPECT_EQ(index.shown()[0], late);
    EXPECT_EQ(index.shown()[1], early);
    // For duplicates the warning only says so, then sorts in full.
    PeopleIndexModel::largeListWarningPending() = true;
    prompts.clear();
    ASSERT_TRUE(index.sortByFamilyName(true));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("SortMessageOK"));
    EXPECT_EQ(index.shown()[0], early);
}

TEST_F(PeopleIndexTest, DuplicatesForTheThreeChoices)
{
    const auto smith = [this](const char* name, const QString& gender, int born, int died) {
        FTPerson* p = person(name, gender);
        if (born)
            year(p, "birth", born);
        if (died)
            year(p, "death", died);
        return p;
    };
    FTPerson* a = smith("John Smith", M(), 1900, 1950);
    FTPerson* f = smith("John Smith", M(), 1900, 1950);
    FTPerson* b = smith("john smith", M(), 1901, 1960);
    FTPerson* c = smith("John Smith", M(), 0, 0);
    FTPerson* d = smith("JOHN SMITH", M(), 0, 1970);
    smith("John Smith", F(), 1900, 1950);
    smith("Jane Smith", F(), 1900, 1950);

    const auto duplicates = [this](PeopleIndexModel::DuplicateChoice choice) {
        PeopleIndexModel index(moc.get());
        index.refresh();
        index.filters.familyName = "smith";
        index.changeFilter();
        index.showDuplicates(choice);
        return index.shown();
    };
    EXPECT_EQ(duplicates(PeopleIndexModel::NameBirthDeath), (QList<FTPerson*>{a, f}));
    // People without a birth event pair on the birth year 0.
    EXPECT_EQ(duplicates(PeopleIndexModel::NameBirth), (QList<FTPerson*>{c, d, a, f}));
    EXPECT_EQ(duplicates(PeopleIndexModel::NameOnly), (QList<FTPerson*>{c, d, a, f, b}));
    EXPECT_TRUE(prompts.records.isEmpty());

    // None found: the message, and the list as it was.
    PeopleIndexModel index(moc.get());
    index.refresh();
    index.filters.familyName = "Root";
    index.changeFilter();
    const QList<FTPerson*> before = index.shown();
    EXPECT_FALSE(index.showDuplicates(PeopleIndexModel::NameOnly));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, LocalizedString("NoDuplicates"));
    EXPECT_EQ(namesOf(index.shown()), namesOf(before));
    // Cancel asks nothing further.
    prompts.clear();
    prompts.answer(3);
    EXPECT_FALSE(index.showDuplicates());
    EXPECT_EQ(prompts.records.size(), 1);
}

TEST_F(PeopleIndexTest, RelationshipTextToTheFocalPerson)
{
    PeopleIndexModel index(moc.get());
    FTPerson* ancestor = nullptr;
    EXPECT_EQ(index.relationshipToFocalPerson(zed, &ancestor),
        LocalizedString("NoConsanguinity") + " Ann Root");
    EXPECT_EQ(ancestor, nullptr);
    EXPECT_FALSE(index.relationshipToFocalPerson(ivy, &ancestor).startsWith(LocalizedString("NoConsanguinity")));
    EXPECT_NE(ancestor, nullptr);
}

TEST(PeopleIndexNames, TidyingOfNamesAndYearBlanks)
{
    EXPECT_EQ(PeopleIndexModel::tidiedName("Anne - Marie  Smith-"), "Anne-Marie Smith");
    EXPECT_EQ(PeopleIndexModel::tidiedName("UNKNOWN Jones"), "Unknown Jones");
    EXPECT_EQ(PeopleIndexModel::tidiedName("Bob_and Sue"), "Bob_and_Sue");
    EXPECT_EQ(PeopleIndexModel::withoutBlanks(" < = 1 9\t00 "), "<=1900");
}

// ---- The CSV listing ----

class PeopleIndexCsvTest : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        defaults().setBool("uppercaseFamilyName", false);
    }
    // Tom has three couples (a dated marriage at a place with a comma, one at a place only, one without a
    // marriage), Sam is his and Amy's son with a birth of year 0, Una has nobody.
    QList<FTPerson*> csvFamily()
    {
        FTPerson* tom = person("Tom \"Tiny\" Ward", M());
        FTEvent* birth = date(tom, "birth", 12, 3, 1900);
        birth->setPlace("Leeds, Yorkshire");
        year(tom, "death", 1970);
        tom->setTodo("Find the will\nand the deed");
        FTPerson* amy = person("Amy Ward", F());
        year(amy, "birth", 1902);
        FTPerson* bea = person("Bea Cole", F());
        FTPerson* cy = person("Cy Brown", F());
        FTEvent* wedding = year(couple(tom, amy), "marriage", 1925);
        wedding->setPlace("Leeds");
        couple(tom, bea)->setValueForKeyPath("marriage.place", "York, England");
        couple(tom, cy);
        FTPerson* sam = person("Sam Ward", M());
        sam->setValueForKeyPath("birth.place", "Hull");
        link(tom, sam);
        link(amy, sam);
        FTPerson* una = person("Una Lone", F());
        EXPECT_TRUE(moc->saveMoc());
        return {tom, amy, sam, una};
    }
};

TEST_F(PeopleIndexCsvTest, EveryColumnOfPeopleWithNoneOneOrThreeCouples)
{
    const QList<FTPerson*> people = csvFamily();
    const QString path = PeopleIndexCsv::everything().write(people, "Family");
    ASSERT_FALSE(path.isEmpty()) << messages().join("\n").toStdString();
    EXPECT_TRUE(path.endsWith("/Family_Index.csv")) << path.toStdString();
    const QByteArray bytes = readAll(path);
    TestSupport::expectGolden(bytes, "reports/people-index.csv");

    bool wellFormed = false;
    const QList<QStringList> rows = CsvReader::parse(bytes, &wellFormed);
    ASSERT_TRUE(wellFormed);
    ASSERT_EQ(rows.size(), 5);
    for (const QStringList& row : rows)
        EXPECT_EQ(row.size(), rows[0].size());
    EXPECT_EQ(rows[0].mid(rows[0].size() - 3), (QStringList{"Spouse1", "Spouse2", "Spouse3"}));
    // The name keeps its quotes; the to-do text stays on its line.
    EXPECT_EQ(rows[1][2], people[0]->nameWithBirthAndDeathYears());
    EXPECT_EQ(rows[1][16], "Find the will\\nand the deed");
    // Sam's birth has year 0: an empty year; his parents' numbers and names are there.
    EXPECT_EQ(rows[3][7], "");
    EXPECT_EQ(rows[3][12], QString::number(people[0]->numericId()));
}

TEST_F(PeopleIndexCsvTest, UserTextStaysIntactAndAnotherExportKeepsTheFirst)
{
    // A name cannot hold a backslash (the name's cleaning makes it a blank); a place can.
    FTPerson* odd = person("Ed \"Q\", {Brace}", M());
    odd->setValueForKeyPath("birth.place", "C:\\Records\\{x}, \"y\"");
    ASSERT_TRUE(moc->saveMoc());
    PeopleIndexCsv csv;
    csv.include[PeopleIndexCsv::FullName] = true;
    csv.include[PeopleIndexCsv::BirthPlace] = true;
    const QString first = csv.write({odd}, "Family");
    const QList<QStringList> rows = CsvReader::parse(readAll(first));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1], (QStringList{odd->nameWithBirthAndDeathYears(), "C:\\Records\\{x}, \"y\""}));
    EXPECT_EQ(odd->name(), "Ed \"Q\", {Brace}");

    const QString second = csv.write({odd}, "Family");
    EXPECT_TRUE(second.endsWith("/Family_Index_1.csv")) << second.toStdString();
    EXPECT_EQ(CsvReader::parse(readAll(first)), rows);
}

TEST_F(PeopleIndexCsvTest, NoColumnChosenWritesTheMarkAndEmptyLines)
{
    const QList<FTPerson*> people = csvFamily();
    const QString path = PeopleIndexCsv().write(people, "Family");
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(readAll(path), QByteArray("\xEF\xBB\xBF\n\n\n\n\n"));
    EXPECT_TRUE(messages().isEmpty());
    // An empty list: the header line alone.
    EXPECT_EQ(readAll(PeopleIndexCsv::everything().write({}, "Family")).count('\n'), 1);
}

TEST_F(PeopleIndexCsvTest, AFolderThatCannotBeWrittenIsReported)
{
    const QList<FTPerson*> people = csvFamily();
    const QString reports = Utils::reportsDirectory();
    QFile::setPermissions(reports, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QString path;
    {
        WithoutPermissionOverride asAUser;
        path = PeopleIndexCsv::everything().write(people, "Family");
    }
    QFile::setPermissions(reports, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(path.isEmpty());
    ASSERT_FALSE(messages().isEmpty());
    EXPECT_TRUE(QDir(reports).entryList(QDir::Files).isEmpty());
}

// ---- The relationship path ----

class RelationshipPathTest : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        defaults().setBool("uppercaseFamilyName", false);
        makeFamily();
    }
    static QStringList links(const RelationshipPath& path)
    {
        QStringList out;
        for (const RelativesHierarchy* node : path.pathArray())
            out << node->relationship() + " " + node->person()->name();
        return out;
    }
    static QString arrow(char16_t c, const char* word) { return QString(QChar(c)) + " " + LocalizedString(word); }
};

TEST_F(RelationshipPathTest, ChainsAndTheirSentences)
{
    FTPerson* zed = person("Zed Stone", M());
    FTPerson* pat = person("Pat Step", F());
    link(ann, pat, FTPcRel::kStep);
    const QString focal = LocalizedString("FocalPerson");

    struct Case {
        const char* what;
        FTPerson* source;
        FTPerson* target;
        QStringList chain;
    };
    const Case cases[] = {
        {"the same person", ann, ann, {focal + " Ann Root"}},
        {"a husband and his wife's brother", ned, dan,
            {focal + " Ned Lane", arrow(0x2192, "Spouse/Partner") + " Eve Root", arrow(0x2191, "Father") + " Gus Root",
                arrow(0x2193, "Son") + " Dan Root"}},
        {"the shorter chain, through a marriage", bob, eve,
            {focal + " Bob Root", arrow(0x2192, "Wife") + " Cat Lane", arrow(0x2191, "Mother") + " Eve Root"}},
        {"an unrelated person", ann, zed, {}},
        {"a step link is not followed", ann, pat, {}},
    };
    for (const Case& c : cases) {
        RelationshipPath path(c.source, c.target);
        QList<int> progress;
        EXPECT_EQ(path.createPath([&progress](int p) { progress << p; }), !c.chain.isEmpty()) << c.what;
        EXPECT_EQ(links(path), c.chain) << c.what;
        EXPECT_EQ(progress.value(0), 0);
        EXPECT_EQ(progress.mid(progress.size() - 2), (QList<int>{100, 0})) << c.what;
    }

    RelationshipPath same(ann, ann);
    same.createPath();
    EXPECT_TRUE(same.message().startsWith("Ann Root (1951 - 2020) " + LocalizedString("isThe") + " "))
        << same.message().toStdString();

    // No common ancestor: the sentence goes through the marriage.
    RelationshipPath inLaw(ned, dan);
    inLaw.createPath();
    EXPECT_EQ(inLaw.message(), "Dan Root (1878 - 1950) " + LocalizedString("ConjunctiveIs")
            + " Ned Lane (1879 - 1940)'" + LocalizedString("possessiveSuffix") + "    " + arrow(0x2192, "Spouse/Partner") + "'"
            + LocalizedString("possessiveSuffix") + "  " + LocalizedString("Brother"));

    RelationshipPath none(ann, zed);
    none.createPath();
    EXPECT_EQ(none.message(), LocalizedString("NoRelnBtwn") + " Ann Root (1951 - 2020) "
            + LocalizedString("ConjunctiveAnd") + " Zed Stone");
}

TEST_F(RelationshipPathTest, EqualChainsTakeParentsThenPartnersThenChildren)
{
    // Xan's mother and wife are both mothers of Tia; Xan's wife and his son's wife are the same Una.
    FTPerson* xan = person("Xan Ray", M());
    FTPerson* mum = person("Mum Ray", F());
    FTPerson* wife = person("Wyn Ray", F());
    FTPerson* son = person("Sid Ray", M());
    FTPerson* tia = person("Tia Ray", F());
    FTPerson* una = person("Una Ray", F());
    link(mum, xan);
    couple(xan, wife);
    link(xan, son);
    link(wife, tia);
    link(mum, tia);
    link(wife, una);
    couple(son, una);

    RelationshipPath toTia(xan, tia);
    ASSERT_TRUE(toTia.createPath());
    EXPECT_EQ(toTia.pathArray()[1]->person(), mum);
    RelationshipPath toUna(xan, una);
    ASSERT_TRUE(toUna.createPath());
    EXPECT_EQ(toUna.pathArray()[1]->person(), wife);
}

TEST_F(RelationshipPathTest, TheReportIsWrittenUnderAFreeSafeNameAndAFailureIsReported)
{
    RelationshipPath path(bob, ann);
    ASSERT_TRUE(path.createPath());
    const QString first = path.writeReport();
    const QString second = path.writeReport();
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(QFileInfo(first).fileName(),
        LocalizedString("relnBtwn") + " Bob Root (1905 - 1975) " + LocalizedString("ConjunctiveAnd")
            + " Ann Root (1951 - 2020).rtf");
    EXPECT_EQ(second, first.chopped(4) + "_1.rtf");
    const QByteArray rtf = readAll(first);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(rtf.contains("Bob Root")) << rtf.left(400).toStdString();
    EXPECT_EQ(readAll(second), rtf);

    // A name that leads out of the folder stays in it.
    FTPerson* odd = person("../../x/y", M());
    link(ann, odd);
    RelationshipPath outward(ann, odd);
    ASSERT_TRUE(outward.createPath());
    const QString inside = outward.writeReport();
    ASSERT_FALSE(inside.isEmpty());
    EXPECT_EQ(QFileInfo(inside).absolutePath(), QFileInfo(Utils::reportsDirectory()).absoluteFilePath());

    // A folder that refuses the file: the message, and no path to open.
    const QString reports = Utils::reportsDirectory();
    QFile::setPermissions(reports, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QString refused;
    {
        WithoutPermissionOverride asAUser;
        refused = path.writeReport();
    }
    QFile::setPermissions(reports, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(refused.isEmpty());
    ASSERT_FALSE(messages().isEmpty());
    EXPECT_TRUE(messages().last().startsWith(LocalizedString("UnableToCreateReport")));
}

TEST_F(RelationshipPathTest, TheReportListsTheChainAndEachPersonsSummary)
{
    RelationshipPath path(ned, dan);
    ASSERT_TRUE(path.createPath());
    const std::unique_ptr<QTextDocument> doc = path.document();
    const QString text = doc->toPlainText();
    EXPECT_TRUE(text.contains(LocalizedString("relnBtwn") + "\n\nNed Lane (1879 - 1940) " + LocalizedString("ConjunctiveAnd")
        + " Dan Root (1878 - 1950)")) << text.toStdString();
    EXPECT_TRUE(text.contains(path.message()));
    EXPECT_TRUE(text.contains("Dan Root " + LocalizedString("ConjunctiveIs") + " Ned Lane's " + arrow(0x2192, "Spouse/Partner")
        + "'s " + arrow(0x2191, "Father") + "'s " + arrow(0x2193, "Son") + "\n")) << text.toStdString();
    for (const RelativesHierarchy* node : path.pathArray())
        EXPECT_TRUE(text.contains(node->relationship() + "\n" + node->person()->name())) << text.toStdString();
}
