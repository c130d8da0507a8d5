#include "ExportFixture.h"

#include "gedcom/ExportPersonPlusAllRels.h"
#include "gedcom/ExportPersonPlusAncestors.h"
#include "gedcom/ExportPersonPlusDescendants.h"

#include <QRegularExpression>

namespace {

QSet<QString> names(const QSet<FTPerson*>& people)
{
    QSet<QString> out;
    for (const FTPerson* p : people)
        out.insert(p->name());
    return out;
}

QSet<QString> names(std::initializer_list<const char*> list)
{
    QSet<QString> out;
    for (const char* n : list)
        out.insert(QString::fromUtf8(n));
    return out;
}

// Five generations in a line, whose youngest is entered, by mistake, as the natural father of the oldest; the
// middle one has a foster mother, a step father and a wife, the next a wife as well.
class SubsetExport : public ExportFixture {
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        great = person("Gus Great", M());
        father = person("Fred Father", M());
        focal = person("Fay Focal", F());
        kid = person("Kit Kid", M());
        grandkid = person("Gil Grandkid", M());
        link(great, father);
        link(father, focal);
        link(focal, kid);
        link(kid, grandkid);
        link(grandkid, great);   // the loop
        link(person("Flo Foster", F()), focal, FTPcRel::kFoster);
        link(person("Sid Step", M()), focal, FTPcRel::kStep);
        couple(focal, person("Hal Husband", M()));
        couple(kid, person("Wyn Wife", F()));
    }
    FTPerson *great, *father, *focal, *kid, *grandkid;
};

} // namespace

TEST_F(SubsetExport, AncestorsAndDescendantsEndInALoop)
{
    ExportPersonPlusAncestors ancestors(focal);
    ExportPersonPlusDescendants descendants(focal);
    EXPECT_EQ(ancestors.numGenerations(), 100);
    struct Case {
        int generations;
        QSet<QString> ancestors, descendants;
    } cases[] = {
        {0, {}, {}},
        {1, names({"Fay Focal"}), names({"Fay Focal", "Hal Husband"})},
        {2, names({"Fay Focal", "Fred Father", "Flo Foster"}), names({"Fay Focal", "Hal Husband", "Kit Kid", "Wyn Wife"})},
        {100, names({"Fay Focal", "Fred Father", "Flo Foster", "Gus Great", "Gil Grandkid", "Kit Kid"}),
         names({"Fay Focal", "Hal Husband", "Kit Kid", "Wyn Wife", "Gil Grandkid", "Gus Great", "Fred Father"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.generations);
        ancestors.setNumGenerations(c.generations);
        descendants.setNumGenerations(c.generations);
        EXPECT_EQ(names(ancestors.ancestorsSet()), c.ancestors);
        EXPECT_EQ(names(descendants.descendantsSet()), c.descendants);
    }
}

// The chosen people, and of the sources only those their written citations refer to.
TEST_F(SubsetExport, AncestorsGoToTheExportAsASelection)
{
    auto source = [&](const char* title) {
        FTSource* s = FTSource::initInMoc(moc.get());
        s->setTitle(title);
        return s;
    };
    FTSourceRel::initInMoc(moc.get(), source("Baptisms of Fay"), focal, "Name");
    FTSourceRel::initInMoc(moc.get(), source("Kit's school record"), kid, "Name");
    source("Not cited yet");
    ExportPersonPlusAncestors ancestors(focal);
    ancestors.setNumGenerations(2);
    std::unique_ptr<ExportToGedcom> exporter = ancestors.generateToGedcom();
    ASSERT_TRUE(exporter);
    EXPECT_TRUE(exporter->selectiveExport());
    EXPECT_EQ(names(exporter->setOfPeopleToExport()), names({"Fay Focal", "Fred Father", "Flo Foster"}));
    exporter->setOutputFolder(outDir());
    ASSERT_TRUE(exporter->generationThread());
    QFile f(exporter->gedcomFilename());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList all = lines(f.readAll());
    EXPECT_EQ(all.filter(QRegularExpression("^0 @I\\d+@ INDI")).size(), 3);
    EXPECT_EQ(all.filter(QRegularExpression("^1 NAME")),
              QStringList({"1 NAME Fred /Father/", "1 NAME Fay /Focal/", "1 NAME Flo /Foster/"}));
    EXPECT_EQ(all.filter(QRegularExpression("^0 @S\\d+@ SOUR|^1 TITL")),
              QStringList({"0 @S1@ SOUR", "1 TITL Baptisms of Fay"}));
}

class AllRelatives : public ExportFixture {
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        UserDefaults::standard().setString("KinloomDataDirectory", pathFor("data"));
        QDir().mkpath(pathFor("data"));
        // The focal person's family: a spouse whose parents count as connected.
        focal = person("Fay Focal", F());
        FTPerson* husband = person("Hal Husband", M());
        couple(focal, husband);
        link(person("Pam Inlaw", F()), husband);
        FTPerson* kid = person("Kit Kid", M());
        link(focal, kid);
        link(kid, focal);   // a loop

        // Unconnected: a family of three, a couple, and a loner.
        FTPerson* zak = person("Zak Zed", M());
        FTPerson* amy = person(QString::fromUtf8("Amy {Zo\u00EB} Zed"), F());
        couple(zak, amy);
        link(zak, person("Max Zed", M()));
        couple(person("Bo Bee", M()), person("Ann Bee", F()));
        person("Lone Wolf", M());
    }
    FTPerson* focal = nullptr;
};

TEST_F(AllRelatives, ConnectedAndUnconnectedGroups)
{
    ExportPersonPlusAllRels search(moc.get(), focal, ExportPersonPlusAllRels::kExportPersonPlusAllRels);
    search.createArrays();
    EXPECT_EQ(search.totPeopleInMoc(), 10);
    EXPECT_EQ(names(search.relatedPeopleSet()), names({"Fay Focal", "Hal Husband", "Pam Inlaw", "Kit Kid"}));
    QStringList rows;
    for (const FTPerson* p : search.unrelatedPeopleArray())
        rows << ExportPersonPlusAllRels::rowText(p);
    const QString dashes = ExportPersonPlusAllRels::kSeparatorText;
    EXPECT_EQ(rows, QStringList({QString::fromUtf8("Amy {Zo\u00EB} Zed"), "Max Zed", "Zak Zed", dashes, "Ann Bee",
                                 "Bo Bee", dashes, "Lone Wolf"}));
    EXPECT_EQ(search.numUnrelated(), 6);

    std::unique_ptr<ExportToGedcom> exporter = search.generate();
    ASSERT_TRUE(exporter);
    EXPECT_TRUE(exporter->selectiveExport());
    EXPECT_EQ(exporter->setOfPeopleToExport(), search.relatedPeopleSet());
}

TEST_F(AllRelatives, LongChainsAreSearchedWithoutRecursion)
{
    // Deep enough that walking it by recursion, one call per person, would exhaust the stack.
    moc->undoManager()->disableUndoRegistration();
    moc->setImportThreadIsActive(true);
    FTPerson* previous = focal;
    for (int i = 0; i < 200000; ++i) {
        FTPerson* next = FTPerson::initInMoc(moc.get(), "Descendant", M());
        FTPcRel* l = FTPcRel::initInMoc(moc.get());
        l->setParent(previous);
        l->setChild(next);
        l->setPcRelType(1);
        previous = next;
    }
    moc->setImportThreadIsActive(false);
    ExportPersonPlusAllRels search(moc.get(), focal, ExportPersonPlusAllRels::kDynastiesReport);
    search.createArrays();
    EXPECT_EQ(search.relatedPeopleSet().size(), 4 + 200000);
}

TEST_F(AllRelatives, DynastiesReport)
{
    const QString reports = pathFor("data/Reports");
    QDir().mkpath(reports);
    for (const char* taken : {"Family_DynastiesReport.rtf", "Family_DynastiesReport_1.rtf"}) {
        QFile f(reports + "/" + taken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ExportPersonPlusAllRels search(moc.get(), focal, ExportPersonPlusAllRels::kDynastiesReport);
    search.setNow(QDateTime(QDate(2024, 1, 5), QTime(9, 7)));
    search.createArrays();
    const QString path = search.writeDynastiesReport();
    EXPECT_EQ(path, reports + "/Family_DynastiesReport_2.rtf");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString rtf = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(rtf.endsWith("}"));
    EXPECT_TRUE(rtf.contains("Dynasties People Report created from Family on Friday 05-Jan-24 at 09:07 \\par \\par \r\n"));
    const qsizetype unrelated = rtf.indexOf("People NOT related to the Focal Person \\par ");
    const qsizetype related = rtf.indexOf("People related to the Focal Person Follow \\par ");
    ASSERT_GT(unrelated, 0);
    ASSERT_GT(related, unrelated);
    // User text cannot break the RTF: braces become blanks, other letters escapes.
    EXPECT_EQ(rtf.indexOf("Amy  Zo\\uc0\\u235   Zed\\par Max Zed\\par Zak Zed\\par \\par -----------------------------------"
                          "\\par \\par Ann Bee\\par Bo Bee\\par "),
              rtf.indexOf("Amy"));
    EXPECT_GT(rtf.indexOf("Amy"), unrelated);
    EXPECT_LT(rtf.indexOf("Amy"), related);
    EXPECT_GT(rtf.indexOf("Fay Focal\\par Hal Husband\\par Kit Kid\\par Pam Inlaw\\par }"), related);
}
