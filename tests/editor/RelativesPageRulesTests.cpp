// The rules behind the relatives and immediate-family pages, their CSV file and the disconnect dialog: the rows
// and separators of the family page, the widths of the columns, the file written for the list shown (checked
// against a golden file), a write that fails, and the links listed and deleted by the disconnect dialog.
#include "../model/PeopleFixture.h"
#include "../support/WithoutPermissionOverride.h"
#include "../support/WorkspaceFixture.h"

#include "editor/DisconnectLinks.h"
#include "editor/RelativesCsv.h"
#include "editor/RelativesPageRows.h"

#include "shell/Utils.h"

#include "model/FTAssociation.h"
#include "model/FTMocUndoManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

QStringList rows(const QList<Relative>& list)
{
    QStringList out;
    for (const Relative& r : list)
        out << (r.isSeparator() ? QStringLiteral("--") : r.person()->name() + ": " + r.relationship());
    return out;
}

class RelativesPageRules : public PeopleFixture {
protected:
    void SetUp() override
    {
        PeopleFixture::SetUp();
        defaults().setString("KinloomDataDirectory", dir.path() + "/data");
        QDir().mkpath(dir.path() + "/data");
    }
};

TEST_F(RelativesPageRules, NoPersonListsNothingOnEitherPage)
{
    long count = 99;
    EXPECT_THAT(RelativesPageRows::relatives(nullptr, Relatives::Options(), &count), IsEmpty());
    EXPECT_EQ(count, 0);
    EXPECT_THAT(RelativesPageRows::family(nullptr), IsEmpty());
    EXPECT_EQ(RelativesPageRows::relativesHeading(nullptr), "");
}

// The family page: parents, the person, spouses, children and siblings; a separator after each of the first four
// that has rows (always after the person), none after the siblings.
TEST_F(RelativesPageRules, TheFamilyPageShowsFiveGroups)
{
    FTPerson* father = person("Dan Smith", M());
    FTPerson* mother = person("Meg Smith", F());
    FTPerson* me = person("Ian Smith", M());
    FTPerson* brother = person("Bob Smith", M());
    FTPerson* wife = person("Ann Jones", F());
    FTPerson* son = person("Tom Smith", M());
    FTPerson* grandson = person("Sam Smith", M());
    link(father, me);
    link(mother, me, FTPcRel::kStep);
    link(father, brother);
    link(mother, brother, FTPcRel::kAdopted);
    date(couple(me, wife), "marriage", 1, 6, 1950);
    link(me, son, FTPcRel::kFoster);
    link(son, grandson);

    EXPECT_EQ(rows(RelativesPageRows::family(me)),
              (QStringList{"Dan Smith: Father", "Meg Smith: Step Mother", "--", "Ian Smith: Self", "--",
                           "Ann Jones: Wife", "--", "Tom Smith: Foster Son", "--", "Bob Smith: Half Brother"}));
    EXPECT_EQ(RelativesPageRows::familyHeading(me), "Family of Ian Smith");

    // Empty groups add nothing; the person keeps a separator, the last group has none.
    EXPECT_EQ(rows(RelativesPageRows::family(grandson)),
              (QStringList{"Tom Smith: Father", "--", "Sam Smith: Self", "--"}));
    // Adopted against natural counts as adoptive on the pages: two such parents make a brother by adoption.
    FTPerson* adoptee = person("Kim Smith", M());
    link(father, adoptee, FTPcRel::kAdopted);
    link(mother, adoptee, FTPcRel::kAdopted);
    EXPECT_TRUE(rows(RelativesPageRows::family(adoptee)).contains("Bob Smith: Brother by Adoption"));
}

TEST_F(RelativesPageRules, TheRelativesPageFollowsTheSwitchesAndCountsThePeople)
{
    FTPerson* grandfather = person("Old Smith", M());
    FTPerson* father = person("Dan Smith", M());
    FTPerson* me = person("Ian Smith", M());
    link(grandfather, father);
    link(father, me);
    for (const char* key : {"includeGrandParents", "includeInLaws", "includeChildren", "includeSiblings",
                            "includeGrandChildren", "includeGreatGrandChildren", "includeAuntsAndUncles",
                            "includeCousins", "includeNephewsAndNieces"})
        defaults().setBool(key, false);
    long count = 0;
    EXPECT_EQ(rows(RelativesPageRows::relatives(me, Relatives::Options::fromUserDefaults(), &count)),
              (QStringList{"Dan Smith: Father", "--", "Ian Smith: Self", "--"}));
    EXPECT_EQ(count, 2);
    defaults().setBool("includeGrandParents", true);
    EXPECT_EQ(rows(RelativesPageRows::relatives(me, Relatives::Options::fromUserDefaults(), &count)),
              (QStringList{"Old Smith: Grandfather", "--", "Dan Smith: Father", "--", "Ian Smith: Self", "--"}));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(RelativesPageRows::relativesHeading(me), "Relatives of Ian Smith");
}

TEST_F(RelativesPageRules, ColumnsShareTheWidthInParts_of930)
{
    EXPECT_THAT(RelativesPageRows::columnWidths(930), ElementsAre(110, 240, 80, 170, 80, 170, 80));
    // Truncated to whole points; the age at death takes what is left.
    EXPECT_THAT(RelativesPageRows::columnWidths(700), ElementsAre(82, 180, 60, 127, 60, 127, 64));
    // Dates too narrow to show whole take room from the other columns, in proportion to what they can give.
    EXPECT_THAT(RelativesPageRows::fitMinimums({82, 180, 60, 127, 60, 127, 64}, {0, 0, 90, 0, 90, 0, 40}),
                ElementsAre(72, 160, 90, 112, 90, 112, 64));
    EXPECT_THAT(RelativesPageRows::fitMinimums({10, 10}, {0, 30}), ElementsAre(0, 30));
}

// ---- The CSV file ----------------------------------------------------------------------------------------------

TEST_F(RelativesPageRules, TheCsvFileMatchesTheGoldenFile)
{
    FTPerson* me = person("Ian Smith", M());
    // A name as an imported file may give it, with a "/" that the name field would never let through.
    me->setPrimitiveValue(Key("name"), "Ian \"Jock\" Smith/Brown");
    me->setValueForKeyPath("birth.date", "ABT 1900");
    me->setValueForKeyPath("birth.place", "Leeds, Yorkshire");
    FTPerson* father = person("Dan Smith", M());
    father->setValueForKeyPath("birth.date", "5 Jan 1870");
    father->setValueForKeyPath("death.date", "1 Mar 1940");
    father->setValueForKeyPath("death.place", "Armley");
    FTPerson* mother = person("Meg Smith", F());
    link(father, me);
    link(mother, me);
    QList<Relative> list = RelativesPageRows::family(me);
    // A relationship text with a comma is written as it stands.
    list.insert(1, Relative(mother, "Mother, by her own account"));
    list.removeAt(2);

    const QString path = RelativesCsv::pathFor(me, Utils::reportsDirectory());
    // The "/" of the name cannot lead out of the reports folder.
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(Utils::reportsDirectory()).absoluteFilePath());
    EXPECT_EQ(QFileInfo(path).fileName(), "Ian \"Jock\" Smith|Brown_Relatives.csv");

    WorkspaceFixture apps(dir.path(), "text/csv");
    EXPECT_EQ(RelativesCsv::generateCsvReport(me, list), path);
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    QFile golden(TestSupport::dataFile("relatives.csv"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), golden.readAll().toStdString());
    EXPECT_THAT(messages(), ElementsAre(LocalizedString("CsvNote")));
    EXPECT_THAT(apps.launched(), ElementsAre("--editor", path));

    // Written again for the same person, the file is replaced.
    RelativesCsv::generateCsvReport(me, {});
    written.close();
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "\xEF\xBB\xBF" + LocalizedString("RelativesCsvHeaderLine").toUtf8());
}

TEST_F(RelativesPageRules, AVeryLongNameStillGivesAFileInTheReportsFolder)
{
    QStringList words;
    for (int i = 0; i < 30; ++i)
        words << "Maximilian";
    FTPerson* me = person(words.join(' '), M());
    WorkspaceFixture apps(dir.path(), "text/csv");
    const QString path = RelativesCsv::generateCsvReport(me, RelativesPageRows::family(me));
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(Utils::reportsDirectory()).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith("Maximilian Maximilian"));
    EXPECT_TRUE(QFileInfo(path).fileName().endsWith("_Relatives.csv"));
    EXPECT_GT(QFileInfo(path).size(), 0);
    EXPECT_THAT(apps.launched(), ElementsAre("--editor", path));
}

TEST_F(RelativesPageRules, AFailedWriteSaysSoWithThePathAndOpensNothing)
{
    FTPerson* me = person("Ian Smith", M());
    const QString reports = Utils::reportsDirectory();
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::ExeOwner);
    WorkspaceFixture apps(dir.path(), "text/csv");
    {
        WithoutPermissionOverride asAnyUser;
        EXPECT_EQ(RelativesCsv::generateCsvReport(me, RelativesPageRows::family(me)), "");
    }
    QFile::setPermissions(reports, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_THAT(prompts.records[0].text.toStdString(), ::testing::HasSubstr(RelativesCsv::pathFor(me, reports).toStdString()));
    EXPECT_THAT(prompts.records[0].text.toStdString(), ::testing::StartsWith(LocalizedString("UnableToCreateReport").toStdString()));
    EXPECT_FALSE(QFile::exists(RelativesCsv::pathFor(me, reports)));
    EXPECT_FALSE(QFile::exists(apps.record));
}

TEST_F(RelativesPageRules, FieldEncodings)
{
    EXPECT_EQ(RelativesCsv::stringFromInt(0), "");
    EXPECT_EQ(RelativesCsv::stringFromInt(1901), "1901");
    EXPECT_EQ(RelativesCsv::cleanString(""), "");
    EXPECT_EQ(RelativesCsv::cleanString("a \"b\""), "\"a \"\"b\"\"\"");
    EXPECT_EQ(RelativesCsv::cleanDateString("BEF 1900"), "\"\"\"BEF 1900\"\"\"");
    EXPECT_EQ(RelativesCsv::line(Relative()), ",,,,,,,,,\n");
}

// ---- The disconnect dialog's list ------------------------------------------------------------------------------

class Disconnecting : public RelativesPageRules {
protected:
    void SetUp() override
    {
        RelativesPageRules::SetUp();
        me = person("Ian Smith", M());
        wife = person("Ann Jones", F());
        partner = person("Pam Black", F());
        wifeCouple = couple(me, wife);
        date(wifeCouple, "marriage", 1, 6, 1950);
        partnerCouple = couple(me, partner);
    }
    int rowOf(const DisconnectLinks& links, const FTPerson* p)
    {
        for (int r = 0; r < links.relsArray().size(); ++r)
            if (links.relsArray()[r].person() == p)
                return r;
        return -1;
    }
    FTPerson* me = nullptr;
    FTPerson* wife = nullptr;
    FTPerson* partner = nullptr;
    FTSpouseRel* wifeCouple = nullptr;
    FTSpouseRel* partnerCouple = nullptr;
};

TEST_F(Disconnecting, ListsParentsSpousesChildrenAndAssociationsWithTheirLabels)
{
    FTPerson* stepFather = person("Sid Smith", M());
    FTPerson* father = person("Dan Smith", M());
    FTPerson* mother = person("Meg Smith", F());
    FTPerson* odd = person("Pat Smith");
    date(father, "birth", 1, 1, 1870);
    date(stepFather, "birth", 1, 1, 1860);
    link(mother, me);
    link(stepFather, me, FTPcRel::kStep);
    link(father, me);
    link(odd, me, FTPcRel::kNotRelated);
    FTPerson* son = person("Tom Smith", M());
    link(me, son, FTPcRel::kAdopted);
    FTPerson* godfather = person("Karl Weber", M());
    FTAssociation* mine = FTAssociation::initInMoc(moc.get());
    mine->setFromPerson(me);
    mine->setToPerson(godfather);
    FTPerson* pupil = person("Lena Weber", F());
    FTAssociation* theirs = FTAssociation::initInMoc(moc.get());
    theirs->setFromPerson(pupil);
    theirs->setToPerson(me);

    DisconnectLinks links(me);
    // Fathers first (gender text descending), then by type, then by birth; "not related" has no prefix.
    QStringList labels;
    for (const Relative& r : links.relsArray())
        labels << r.person()->name() + ": " + r.relationship();
    EXPECT_EQ(labels, (QStringList{"Dan Smith: Father", "Sid Smith: Step Father", "Meg Smith: Mother",
                                   "Pat Smith: Parent", "Pam Black: Spouse/Partner", "Ann Jones: Wife",
                                   "Tom Smith: Adopted Son", "Karl Weber: Association", "Lena Weber: Association"}));
    // An association made towards the person names the one who made it.
    EXPECT_EQ(links.relsArray().last().assoc(), theirs);
    EXPECT_THAT(DisconnectLinks(person("Nobody Else", M())).relsArray(), IsEmpty());
}

TEST_F(Disconnecting, DeletesTheTickedLinksUnderTheFirstUndoName)
{
    FTPerson* father = person("Dan Smith", M());
    FTPcRel* fatherLink = link(father, me);
    FTPerson* friendly = person("Karl Weber", M());
    FTAssociation* association = FTAssociation::initInMoc(moc.get());
    association->setFromPerson(me);
    association->setToPerson(friendly);
    moc->saveMoc();
    moc->undoManager()->closeOpenGroups();
    int refreshes = 0;
    NotificationCenter::defaultCenter().addObserver("RefreshAllViews", nullptr,
                                                   [&](const Notification&) { ++refreshes; }, this);

    DisconnectLinks links(me);
    for (Relative& r : links.relsArray())
        r.setChecked(r.person() != partner);
    EXPECT_EQ(links.disconnectSelectedPeople(), 3);
    NotificationCenter::defaultCenter().removeObserversOf(this);
    EXPECT_TRUE(fatherLink->isDeleted());
    EXPECT_TRUE(wifeCouple->isDeleted());
    EXPECT_TRUE(association->isDeleted());
    EXPECT_FALSE(partnerCouple->isDeleted());
    EXPECT_FALSE(father->isDeleted());
    EXPECT_FALSE(moc->hasChanges());
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(moc->undoManager()->actionName(), "Disconnect " + me->nameWithBirthAndDeathYears());
    // The list is built again, unticked.
    ASSERT_EQ(links.relsArray().size(), 1);
    EXPECT_EQ(links.relsArray()[0].person(), partner);
    EXPECT_FALSE(links.relsArray()[0].checked());

    // Nothing ticked still saves, refreshes and rebuilds.
    EXPECT_EQ(links.disconnectSelectedPeople(), 0);
    EXPECT_EQ(links.relsArray().size(), 1);
}

// A couple who share a natural or step child stays, with a message; a shared foster or adopted child is no bar.
TEST_F(Disconnecting, ACoupleWithAChildInCommonStays)
{
    const struct {
        int type;
        bool refused;
    } cases[] = {{FTPcRel::kNatural, true}, {FTPcRel::kStep, true}, {FTPcRel::kFoster, false},
                 {FTPcRel::kAdopted, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        prompts.clear();
        FTPerson* a = person("Ian Smith", M());
        FTPerson* b = person("Ann Jones", F());
        FTSpouseRel* pair = couple(a, b);
        FTPerson* child = person("Kit Smith", F());
        link(a, child, c.type);
        link(b, child, c.type);
        DisconnectLinks links(a);
        links.relsArray()[rowOf(links, b)].setChecked(true);
        links.disconnectSelectedPeople();
        EXPECT_EQ(pair->isDeleted(), !c.refused);
        if (c.refused)
            EXPECT_THAT(messages(), ElementsAre("Cannot disconnect Ann Jones from Ian Smith " + LocalizedString("CannotDiscon2")));
        else
            EXPECT_THAT(messages(), IsEmpty());
    }
}

}
