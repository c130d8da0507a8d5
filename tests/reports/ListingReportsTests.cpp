// The listing reports over a small family: filtered people, sources, statistics, pictures and the people without
// ancestors, each as the file it writes (golden files at a fixed moment), the rules that choose and order what
// they list, and the user text that must come through any layout intact.
#include "ReportFixture.h"

#include "reports/DatabaseStatistics.h"
#include "reports/FilteredPeople.h"
#include "reports/ListingReport.h"
#include "reports/PeopleWithoutAncestorsListing.h"
#include "reports/PicturesListing.h"
#include "reports/SourcesListing.h"

#include "CsvReader.h"
#include "WithoutPermissionOverride.h"

#include <QFileInfo>

#include <gmock/gmock.h>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {
std::string s(const QByteArray& b)
{
    return b.toStdString();
}

class ListingReports : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        makeFamily();
    }

    QByteArray filtered(FilteredPeople& report, QString* path = nullptr)
    {
        report.modelName = moc->modelName();
        report.moment = moment();
        RtfWriter writer;
        writer.setFileType("rtf");
        if (!report.generate(writer, report.people()))
            return {};
        if (path)
            *path = writer.outputPath();
        return readAll(writer.outputPath());
    }
    QByteArray sourcesListing(bool rich, bool oneLine, bool references = true, bool byType = false)
    {
        SourcesListing listing(moc.get());
        listing.richTextFormat = rich;
        listing.oneLinePerSource = oneLine;
        listing.includeReferences = references;
        listing.sortByType = byType;
        listing.modelName = moc->modelName();
        listing.moment = moment();
        RtfWriter writer;
        return listing.generate(writer) ? readAll(writer.outputPath()) : QByteArray();
    }
    QByteArray statistics(DatabaseStatistics::Order order)
    {
        DatabaseStatistics stats(moc.get());
        stats.modelName = moc->modelName();
        stats.moment = moment();
        stats.countRecords();
        stats.addLifespans(order);
        RtfWriter writer;
        return stats.save(writer) ? readAll(writer.outputPath()) : QByteArray();
    }
    QByteArray pictures(int order)
    {
        PicturesListing listing(moc.get());
        listing.order = order;
        listing.modelName = moc->modelName();
        listing.moment = moment();
        RtfWriter writer;
        return listing.generate(writer) ? readAll(writer.outputPath()) : QByteArray();
    }
    QByteArray withoutAncestors(const QList<FTPerson*>& selected, bool longForm)
    {
        PeopleWithoutAncestorsListing listing(moc.get());
        listing.modelName = moc->modelName();
        listing.moment = moment();
        RtfWriter writer;
        return listing.generate(writer, selected, longForm) ? readAll(writer.outputPath()) : QByteArray();
    }

    // Two more pictures: Hal's, sharing the file of Ann's map, and one of the census source.
    void addPictures()
    {
        FTPicture* shared = FTPicture::initInMoc(moc.get(), imageFile("Wedding.jpg", QSize(40, 30), Qt::blue), hal);
        shared->setFilename(map->filename());
        shared->setName("Wedding day\nYork Minster\nJune");
        map->setName("Map of York");
        FTSource* census = moc->fetchFirst<FTSource>([](const FTSource* s) { return s->title() == "Census 1881"; });
        FTPicture::initInMoc(moc.get(), imageFile("Census.jpg", QSize(40, 30), Qt::gray), census);
        ASSERT_TRUE(moc->saveMoc());
    }

    // The names in lower case: the first-run choices write family names in capitals.
    QStringList names(const QList<FTPerson*>& people)
    {
        QStringList out;
        for (const FTPerson* p : people)
            out << p->name().toLower();
        return out;
    }
};

// ---- Golden files ----------------------------------------------------------------------------------------------

TEST_F(ListingReports, EveryLayoutWritesItsFileAsBefore)
{
    addPictures();
    FTSource* parish = moc->fetchFirst<FTSource>([](const FTSource* s) { return s->title().startsWith("Parish"); });
    parish->setType("Church record");
    parish->setValueForKey("publisher", "Diocese of York\nArchives");
    parish->setNotes("Baptisms 1800-1950.\nMarriages too.");
    kim->setTitle("Queen of the May");
    ASSERT_TRUE(moc->saveMoc());

    FilteredPeople blocks(moc.get());
    blocks.filters[FilteredPeople::LastName] = "root";
    FilteredPeople lines(moc.get());
    lines.oneLinePerPerson = true;
    const struct {
        const char* golden;
        QByteArray bytes;
    } cases[] = {
        { "filtered-people-blocks.rtf", filtered(blocks) },
        { "filtered-people-one-line.rtf", filtered(lines) },
        { "sources-paragraphs.rtf", sourcesListing(true, true) },
        { "sources-blocks.rtf", sourcesListing(true, false) },
        { "sources.csv", sourcesListing(false, false) },
        { "statistics.rtf", statistics(DatabaseStatistics::ByAgeAtDeath) },
        { "pictures-by-owner.rtf", pictures(PicturesListing::ByOwner) },
        { "pictures-by-file.rtf", pictures(PicturesListing::ByFileName) },
        { "no-ancestors-long.rtf", withoutAncestors({ gil, old }, true) },
        { "no-ancestors-short.rtf", withoutAncestors({ gil, old }, false) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        ASSERT_FALSE(c.bytes.isEmpty()) << messages().join("\n").toStdString();
        if (QString(c.golden).endsWith(".rtf")) {
            EXPECT_TRUE(c.bytes.startsWith("{\\rtf1"));
            EXPECT_TRUE(wellFormed(c.bytes));
        } else {
            EXPECT_TRUE(c.bytes.startsWith("\xEF\xBB\xBF"));
        }
        // Picture descriptions name their files, which live in the test's own folder.
        TestSupport::expectGolden(QByteArray(c.bytes).replace(dir.path().toUtf8(), "<folder>"),
            QString("reports/%1").arg(c.golden));
    }
}

// ---- Filtered people ------------------------------------------------------------------------------------------

TEST_F(ListingReports, FiltersNarrowThePeopleAndNameThemselvesAtTheTop)
{
    FTPerson* nameless = person("x", M());
    nameless->setName(QString());
    FTPerson* svensson = person("Åke SVENSSON", M());
    year(svensson, "birth", 1790);
    FTPerson* ageless = person("Una Known", F());
    struct Case {
        FilteredPeople::Field field;
        const char* text;
        QStringList expected;
    };
    const Case cases[] = {
        { FilteredPeople::Name, "ake", { "åke svensson" } },
        { FilteredPeople::LastName, "son", { "åke svensson" } },
        { FilteredPeople::LastName, "ROOT", { "ann root", "bob root", "dan root", "eve root", "gus root", "old root" } },
        { FilteredPeople::BirthYearBefore, "1820", { "old root", "åke svensson" } },
        { FilteredPeople::BirthYearBefore, "1820s", { "old root", "åke svensson" } },
        { FilteredPeople::BirthYearAfter, "1980", { "ivy hart", "jon hart" } },
        // After year 0 or less: people without the year stay in.
        { FilteredPeople::BirthYearAfter, "0", {} },
        { FilteredPeople::DeathYearBefore, "1925", { "gil moss", "gus root", "old root" } },
        { FilteredPeople::DeathYearAfter, "2015", { "ann root", "kim hart" } },
        { FilteredPeople::BirthPlace, "leeds", { "ann root" } },
        { FilteredPeople::DeathPlace, "YORK", { "ann root" } },
        { FilteredPeople::Title, "teach", { "ann root" } },
        { FilteredPeople::CauseOfDeath, "age", { "ann root" } },
    };
    for (const Case& c : cases) {
        FilteredPeople report(moc.get());
        report.filters[c.field] = c.text;
        const QStringList got = names(report.people());
        if (c.field == FilteredPeople::BirthYearAfter && QString(c.text) == "0")
            EXPECT_EQ(got.size(), 17) << "every person: " << got.join(", ").toStdString();
        else
            EXPECT_EQ(got, c.expected) << FilteredPeople::fieldKey(c.field).toStdString() << " " << c.text;
    }
    Q_UNUSED(nameless);
    Q_UNUSED(ageless);

    FilteredPeople two(moc.get());
    EXPECT_EQ(two.filtersDescription(), "None");
    two.filters[FilteredPeople::LastName] = "son";
    two.filters[FilteredPeople::BirthYearBefore] = "1800";
    two.filters[FilteredPeople::DeathYearAfter] = "1850";
    EXPECT_EQ(two.filtersDescription(), "Family name 'son' and Born before <= 1800 and Died after >= 1850");
    EXPECT_EQ(two.people().size(), 0);
}

TEST_F(ListingReports, PageEstimateAsksFirstOnlyForLargeBlockReports)
{
    EXPECT_EQ(FilteredPeople::estimatedPages(1500, false), 107);
    EXPECT_EQ(FilteredPeople::estimatedPages(1500, true), 18);
    EXPECT_EQ(FilteredPeople::estimatedPages(1414, false), 101);
    EXPECT_EQ(FilteredPeople::estimatedPages(1413, false), 100);
}

TEST_F(ListingReports, OneLineGroupsByInitialAndBlocksNameOnlyAKnownGender)
{
    FTPerson* unknown = person("Pat Root", "U");
    FilteredPeople lines(moc.get());
    lines.oneLinePerPerson = true;
    const QByteArray oneLine = filtered(lines);
    // A blank line between initials (a name is never empty: the model names such a person "Unknown").
    EXPECT_THAT(s(oneLine), HasSubstr(" (1951 - 2020), F, Teacher, b. Leeds, d. York, Old age\\par \r\n"));
    EXPECT_EQ(oneLine.count(" \\par\\pard"), 13) << "between the groups of A, B, C, D, E, G, H, I, J, K, M, N, O and P";
    EXPECT_GT(oneLine.indexOf(" \\par\\pard"), oneLine.indexOf("Ann ROOT"));
    EXPECT_EQ(oneLine.indexOf(" \\par\\pard", oneLine.indexOf("Gil MOSS")), oneLine.indexOf(" \\par\\pard", oneLine.indexOf("Gus ROOT")))
        << "Gil and Gus share a group";

    FilteredPeople blocks(moc.get());
    blocks.filters[FilteredPeople::Name] = "Pat";
    const QByteArray block = filtered(blocks);
    EXPECT_THAT(s(block), HasSubstr("\\par \\b Pat ROOT\\b0 \\li1440 "));
    EXPECT_THAT(s(block), Not(HasSubstr("Female")));
    Q_UNUSED(unknown);
}

TEST_F(ListingReports, ReportsTakeTheNextFreeNameAndNeverReplaceAFile)
{
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        FilteredPeople report(moc.get());
        QString path;
        ASSERT_FALSE(filtered(report, &path).isEmpty());
        paths << QFileInfo(path).fileName();
    }
    const QString base = moc->modelName() + "_FilteredReport";
    EXPECT_EQ(paths, QStringList({ base + ".rtf", base + "_1.rtf", base + "_2.rtf" }));

    // The pictures report too: a second run leaves the first file as it was.
    const QByteArray first = pictures(PicturesListing::ByOwner);
    map->setName("Changed");
    const QByteArray second = pictures(PicturesListing::ByOwner);
    EXPECT_EQ(readAll(Utils::reportsDirectory() + "/PicturesReport.rtf"), first);
    EXPECT_EQ(readAll(Utils::reportsDirectory() + "/PicturesReport_1.rtf"), second);
}

TEST_F(ListingReports, AReportThatCannotBeMadeSaysSoAndWritesNothing)
{
    QFile::setPermissions(Utils::reportsDirectory(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    prompts.clear();
    {
        WithoutPermissionOverride asAUser;
        EXPECT_TRUE(pictures(PicturesListing::ByOwner).isEmpty());
        EXPECT_TRUE(sourcesListing(false, false).isEmpty());
    }
    EXPECT_EQ(messages().size(), 2) << messages().join("\n").toStdString();
    QFile::setPermissions(Utils::reportsDirectory(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(QDir(Utils::reportsDirectory()).entryList(QDir::Files).isEmpty());
}

// ---- Sources -------------------------------------------------------------------------------------------------

TEST_F(ListingReports, SourcesKeepQuotesCommasBackslashesAndBracesIntact)
{
    const QString awkward = "He said \"yes\", then {left} C:\\old\\path\nnext line";
    FTSource* odd = FTSource::initInMoc(moc.get());
    odd->setTitle(awkward);
    odd->setValueForKey("author", QString());
    odd->setNotes(awkward);
    ASSERT_TRUE(moc->saveMoc());

    const QList<QStringList> rows = CsvReader::parse(sourcesListing(false, false));
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].size(), 9);
    const QStringList& last = rows[3];
    ASSERT_EQ(last.size(), 9);
    // One record per source: the line break is the two characters backslash and n.
    EXPECT_EQ(last[2], QString(awkward).replace("\n", "\\n"));
    EXPECT_EQ(last[3], "") << "an empty author is two adjacent commas";
    EXPECT_EQ(last[7], "0");
    EXPECT_EQ(rows[1][7], "2") << "the parish register's two citations";

    for (bool oneLine : { true, false }) {
        const QByteArray rtf = sourcesListing(true, oneLine);
        EXPECT_TRUE(wellFormed(rtf)) << "one line " << oneLine;
        EXPECT_THAT(s(rtf), HasSubstr("C:\\\\old\\\\path"));
    }
}

TEST_F(ListingReports, SourcesOrderByTypeAndListTheirCitations)
{
    FTSource* letters = FTSource::initInMoc(moc.get());
    letters->setTitle("Letters");
    letters->setType("A letter");
    FTPicture* pic = FTPicture::initInMoc(moc.get(), imageFile("Letter.jpg", QSize(20, 20), Qt::red), ann);
    pic->addReferenceToSource(letters)->setReference("bundle 3");
    ASSERT_TRUE(moc->saveMoc());

    const QList<QStringList> byNumber = CsvReader::parse(sourcesListing(false, false));
    const QList<QStringList> byType = CsvReader::parse(sourcesListing(false, false, true, true));
    ASSERT_EQ(byType.size(), 4);
    EXPECT_EQ(byNumber[3][2], "Letters");
    EXPECT_EQ(byType[1][2], "Parish Register of St Mary") << "no type sorts first";
    EXPECT_EQ(byType[3][2], "Letters") << "then by type, then number";

    const QByteArray blocks = sourcesListing(true, false);
    // A picture's citation: only the dash, then its reference.
    EXPECT_THAT(s(blocks), HasSubstr("\\par\\par Citations\\tab   -  , Ref = bundle 3 \\par  \\par "));
    EXPECT_THAT(s(blocks), HasSubstr("  \\par Type:\\tab    \\par Title:"));
    const QByteArray none = sourcesListing(true, true, false);
    EXPECT_THAT(s(none), Not(HasSubstr(" Citations")));

    for (FTSource* source : moc->fetch<FTSource>())
        moc->deleteObject(source);
    prompts.clear();
    EXPECT_TRUE(sourcesListing(true, false).isEmpty());
    EXPECT_EQ(messages(), QStringList({ "This database has no sources yet." }));
}

// ---- Statistics ------------------------------------------------------------------------------------------------

} // namespace

// A row as it reads, in failure messages.
inline void PrintTo(const DatabaseStatistics::Row& r, std::ostream* os)
{
    *os << '"' << r.name.toStdString() << "\" " << r.count << (r.showCount ? "" : " (no count)");
}

namespace {
class StatisticsRows : public ReportFixture {
protected:
    DatabaseStatistics::Row row(const QString& name, int count, bool showCount = true) { return { name, count, showCount }; }
    FTPerson* aged(const QString& name, const QString& gender, int born, int died, const QString& title = {})
    {
        FTPerson* p = person(name, gender);
        if (born)
            year(p, "birth", born);
        if (died)
            year(p, "death", died);
        if (!title.isEmpty())
            p->setTitle(title);
        return p;
    }
    QList<DatabaseStatistics::Row> rows(DatabaseStatistics::Order order = DatabaseStatistics::ByName)
    {
        DatabaseStatistics stats(moc.get());
        stats.countRecords();
        stats.addLifespans(order);
        return stats.rows();
    }
    static int indexOf(const QList<DatabaseStatistics::Row>& rows, const QString& name)
    {
        for (qsizetype i = 0; i < rows.size(); ++i)
            if (rows[i].name == name)
                return int(i);
        return -1;
    }
};

TEST_F(StatisticsRows, CountsOnlyKindsThatHaveRecordsAndAlwaysThePictures)
{
    DatabaseStatistics stats(moc.get());
    stats.countRecords();
    const int eventTypes = moc->count("EventType");
    EXPECT_EQ(stats.rows(),
        QList<DatabaseStatistics::Row>({ row("Event types", eventTypes), row("Pictures with their original image", 0) }));
    aged("A", M(), 1800, 1870);
    stats.countRecords();
    EXPECT_EQ(stats.rows(),
        QList<DatabaseStatistics::Row>({ row("Births", 1), row("Deaths", 1), row("Event types", eventTypes),
            row("Events", 2), row("People", 1), row("Pictures with their original image", 0) }));
}

TEST_F(StatisticsRows, LifespansAveragesBandsAndTheirLists)
{
    aged("Al", M(), 1800, 1870);
    aged("Bo", M(), 1800, 1871);
    aged("Cy", M(), 1800, 1871);
    aged("Di", F(), 1900, 1900);           // age 0: under one year and under 20
    aged("Ed", M(), 1700, 1895);           // 195: averages and centenarians, no decade row
    aged("Fa", F(), 1800, 1892, "Queen of Scots");
    aged("Gi", F(), 1800, 1885);
    aged("Ho", M(), 1850, 0);              // living: counted, no lifespan
    aged("Iz", M(), 1900, 1890);           // died before birth: no age at all
    aged("Jo", "", 1800, 1881);            // no gender: a decade row only

    const QList<DatabaseStatistics::Row> r = rows(DatabaseStatistics::ByAgeAtDeath);
    const int males = indexOf(r, "Number of males");
    ASSERT_GE(males, 0);
    EXPECT_EQ(r[males], row("Number of males", 6));
    EXPECT_EQ(r[males + 1], row("Average lifespan of males (years)", (70 + 71 + 71 + 195) / 4));
    EXPECT_EQ(r[males + 2], row("males who died under 20", 0));
    EXPECT_EQ(r[males + 3], row("males who reached 80", 1));
    EXPECT_EQ(r[indexOf(r, "Number of females")], row("Number of females", 3));
    EXPECT_EQ(r[indexOf(r, "females who died under 20")], row("females who died under 20", 1));
    EXPECT_EQ(r[indexOf(r, "females who reached 90")], row("females who reached 90", 1));

    EXPECT_EQ(r[indexOf(r, "Earliest recorded person") + 1], row("Ed (1700 - 1895)", 0, false));
    // 8 ages at death: 0, 70, 71, 71, 195, 92, 85, 81.
    EXPECT_EQ(r[indexOf(r, "Age at death < 1 year = 12.5%")].count, 1);
    EXPECT_EQ(r[indexOf(r, "Age at death 61 to 70 = 12.5%")].count, 1);
    EXPECT_EQ(r[indexOf(r, "Age at death 71 to 80 = 25.0%")].count, 2);
    EXPECT_EQ(r[indexOf(r, "Age at death 81 to 90 = 25.0%")].count, 2);
    EXPECT_EQ(r[indexOf(r, "Age at death 91 to 100 = 12.5%")].count, 1);
    EXPECT_EQ(indexOf(r, "Age at death 191 to 200 = 12.5%"), -1);

    // Headings count everyone at the age or above; lists show only their own band, oldest first.
    const int centenarians = indexOf(r, "Centenarians  (1)");
    EXPECT_EQ(r[centenarians + 1], row("Ed (1700 - 1895)", 195));
    const int nonagenarians = indexOf(r, "Nonagenarians  (2)");
    ASSERT_GE(nonagenarians, 0);
    EXPECT_EQ(r[nonagenarians + 1], row("Fa (1800 - 1892)", 92));
    EXPECT_EQ(r[nonagenarians + 2].name, "");
    const int octogenarians = indexOf(r, "Octogenarians  (3)");
    ASSERT_GE(octogenarians, 0);
    EXPECT_EQ(r[octogenarians + 1], row("Gi (1800 - 1885)", 85));
    EXPECT_EQ(r[octogenarians + 2].name, "");
    EXPECT_EQ(r[indexOf(r, "Kings and queens (1)") + 1], row("Fa (1800 - 1892) - Queen of Scots", 0, false));
}

TEST_F(StatisticsRows, ListsFollowTheChosenOrder)
{
    aged("Zed Adams", M(), 1800, 1881);
    aged("Amy Brown", F(), 1800, 1889);
    aged("Bea Adams", F(), 1800, 1885);
    auto list = [this](DatabaseStatistics::Order order) {
        const QList<DatabaseStatistics::Row> r = rows(order);
        QStringList out;
        for (int i = indexOf(r, "Octogenarians  (3)") + 1; i < r.size() && !r[i].name.isEmpty(); ++i)
            out << r[i].name.section(' ', 0, 1);
        return out;
    };
    EXPECT_EQ(list(DatabaseStatistics::ByAgeAtDeath), QStringList({ "Amy BROWN", "Bea ADAMS", "Zed ADAMS" }));
    EXPECT_EQ(list(DatabaseStatistics::ByName), QStringList({ "Amy BROWN", "Bea ADAMS", "Zed ADAMS" }));
    EXPECT_EQ(list(DatabaseStatistics::ByFamilyName), QStringList({ "Bea ADAMS", "Zed ADAMS", "Amy BROWN" }));
}

// ---- Pictures ------------------------------------------------------------------------------------------------

TEST_F(ListingReports, PicturesGroupByOwnerOrByFileAndLeaveSourcesOut)
{
    addPictures();
    const QByteArray byOwner = pictures(PicturesListing::ByOwner);
    EXPECT_EQ(byOwner.count("\\fs32\\keepn"), 2) << "one heading each for Ann and Hal";
    EXPECT_THAT(s(byOwner), Not(HasSubstr("Census")));
    EXPECT_THAT(s(byOwner), HasSubstr("Title: Wedding day\\par    York Minster\\par    June\\par "));

    const QByteArray byFile = pictures(PicturesListing::ByFileName);
    // The shared file is described once, then both owners.
    EXPECT_THAT(s(byFile), HasSubstr("\\par \\par       Ann ROOT (1951 - 2020)\\par       Hal HART (1949 - 2001)\\par "));

    // By title, still grouped by file: Ann's "Map of York" before Hal's "Wedding day".
    const QByteArray byTitle = pictures(PicturesListing::ByTitle);
    EXPECT_LT(byTitle.indexOf("      Ann ROOT"), byTitle.indexOf("      Hal HART"));
    EXPECT_THAT(s(byTitle), Not(HasSubstr("Wedding day")));
    const QByteArray none = pictures(7);
    EXPECT_THAT(s(none), Not(HasSubstr("Ann Root")));
    EXPECT_TRUE(wellFormed(none));
}

// ---- People without ancestors ------------------------------------------------------------------------------------

TEST_F(ListingReports, PeopleWithoutAnyParentLinkAreTheTops)
{
    FTPerson* fostered = person("Fay Foster", F());
    link(hal, fostered, FTPcRel::kFoster);
    PeopleWithoutAncestorsListing listing(moc.get());
    // Kim has a step mother, Jon adoptive parents: any link keeps a person out.
    EXPECT_EQ(names(listing.people()),
        QStringList({ "gil moss", "hal hart", "mae dunn", "ned lane", "old root" }));
    const QByteArray shortForm = withoutAncestors({ hal }, false);
    EXPECT_THAT(s(shortForm), HasSubstr("   Hal HART (1949 - 2001) \\par \n}"));
}
}
