// The integrity checks of the open database, row by row: what each finds and changes, the report it gives with the
// saving lines after it, and the report written as a text file and opened.
#include "shell/DatabaseIntegrityChecks.h"

#include "model/FTOriginalPicture.h"
#include "model/FTPicture.h"
#include "model/ModelProgress.h"

#include "platform/UserDefaults.h"

#include "../model/PeopleFixture.h"
#include "WorkspaceFixture.h"

#include <QDir>

#include <functional>
#include <stdexcept>

namespace {

QString L(const char* key) { return LocalizedString(QString::fromLatin1(key)); }

QString savingLines() { return "\n" + L("SavingChanges") + "\n" + L("SaveComplete"); }

// Throws from the first status it is given: a pass that fails part way.
struct ThrowingProgress : ModelProgress {
    int statuses = 0;
    void setStatus(const QString&) override
    {
        if (statuses++ == 0)
            throw std::runtime_error("the disk went away");
    }
    void setPercent(int) override { }
};

// A small family: Adam and Beth, natural parents of Cara; Adam is the focal person.
class IntegrityChecks : public PeopleFixture {
public:
    // For the table of cases.
    using PeopleFixture::link;
    using PeopleFixture::M;
    using PeopleFixture::moc;
    using PeopleFixture::person;

    void SetUp() override
    {
        PeopleFixture::SetUp();
        adam = person("Adam Ash", M());
        beth = person("Beth Ash", F());
        cara = person("Cara Ash", F());
        couple(adam, beth);
        link(adam, cara);
        link(beth, cara);
        moc->setFocalPerson(adam);
        ASSERT_TRUE(moc->saveMoc());
        prompts.clear();
    }
    QString run(int row, ModelProgress* progress = nullptr)
    {
        DatabaseIntegrityChecks checks(*moc, progress);
        return checks.execute(row);
    }
    static QString linkLine(const FTPerson* child, const FTPerson* parent)
    {
        return QStringLiteral("\n%1 = %2 (ID = %3), %4 = %5 (ID = %6)")
            .arg(L("Child"), child->nameWithBirthAndDeathYears(), QString::number(child->numericId()), L("Parent"),
                parent->nameWithBirthAndDeathYears(), QString::number(parent->numericId()));
    }
    static QString heading()
    {
        QString text = L("RecursionFound");
        text.chop(text.endsWith('.') ? 1 : 0);
        return "\n\n" + text + ":\n";
    }
    FTPicture* pictureWithThumbnail(FTPerson* owner)
    {
        auto* picture = moc->insertObject<FTPicture>();
        picture->setOwner(owner);
        FTOriginalPicture* stored = FTOriginalPicture::initInMoc(moc.get());
        stored->setData(QByteArray(8192, 't'));
        picture->setOriginalPicture(stored);
        return picture;
    }

    FTPerson* adam = nullptr;
    FTPerson* beth = nullptr;
    FTPerson* cara = nullptr;
    QString named; // a name a case keeps from its set-up
};

struct RowCase {
    const char* name;
    int row;
    std::function<void(IntegrityChecks&)> setUp;
    // The report before the saving lines.
    std::function<QString(IntegrityChecks&)> expected;
    std::function<void(IntegrityChecks&)> check;
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

class IntegrityCheckRows : public IntegrityChecks, public ::testing::WithParamInterface<RowCase> { };

TEST_P(IntegrityCheckRows, ReportWhatTheyFoundThenSave)
{
    const RowCase& c = GetParam();
    if (c.setUp)
        c.setUp(*this);
    const QString expected = c.expected(*this) + savingLines();
    EXPECT_EQ(run(c.row), expected);
    EXPECT_FALSE(moc->hasChanges()) << "the run is saved";
    if (c.check)
        c.check(*this);
}

const RowCase kRows[] = {
    {"GhostsNone", 0, {}, [](IntegrityChecks&) { return L("GhostRemoval1"); }, {}},
    {"GhostsOne", 0, [](IntegrityChecks& t) { t.person("Gus")->setPrimitiveValue(Key("name"), QString()); },
        [](IntegrityChecks&) { return L("GhostRemoval1") + "\n\n1 " + L("GhostRemoval2"); },
        [](IntegrityChecks& t) { EXPECT_EQ(t.moc->count<FTPerson>(), 3); }},
    // Everyone removed is named in the report; the focal person stays whatever.
    {"IsolatedPeople", 1, [](IntegrityChecks& t) { t.named = t.person("Dan Lone", t.M())->nameWithBirthAndDeathYears(); },
        [](IntegrityChecks& t) {
            return L("IsolatedPeople1") + "\n\n1 " + L("IsolatedPeople2") + "\n" + t.named
                + " with ID = 4 was not related to anyone else and has been removed from the database";
        },
        [](IntegrityChecks& t) { EXPECT_EQ(t.moc->count<FTPerson>(), 3); }},
    {"RecursionAllNone", 3, {}, [](IntegrityChecks&) { return L("RecursionCheckAll") + "\n" + L("NoRecursion"); }, {}},
    // Cara made Adam's natural mother: only the link that closes the loop is listed.
    {"RecursionAllOneCycle", 3, [](IntegrityChecks& t) { t.link(t.cara, t.adam); },
        [](IntegrityChecks& t) { return L("RecursionCheckAll") + IntegrityChecks::heading() + IntegrityChecks::linkLine(t.cara, t.adam); }, {}},
    {"RecursionAncestorsNone", 2, {},
        [](IntegrityChecks&) { return L("RecursionCheckAncestors") + "\n" + L("NoRecursion"); }, {}},
    {"DatesNone", 4, {}, [](IntegrityChecks&) { return L("DatesComplete1"); }, {}},
    {"NaturalParentsNone", 5, {},
        [](IntegrityChecks&) {
            return L("PcCheckComplete") + "\n\n0 " + L("SameSexCheck2") + "\n\n0 " + L("SameGenderNaturals3");
        },
        {}},
    // Dan, a second natural father of Cara, becomes her step father; the footer follows.
    {"NaturalParentsDoubled", 5,
        [](IntegrityChecks& t) {
            FTPerson* dan = t.person("Dan Ash", t.M());
            t.link(dan, t.cara);
            t.named = t.adam->nameWithBirthAndDeathYears() + ", " + dan->nameWithBirthAndDeathYears();
        },
        [](IntegrityChecks& t) {
            return "\n\n1 " + L("SameSexCheck1") + ":\n\n" + t.cara->nameWithBirthAndDeathYears()
                + ", ID = 3 had 2 natural fathers. Natural fathers = " + t.named + "\n\n" + L("PcCheckComplete")
                + "\n\n1 " + L("SameSexCheck2") + "\n\n1 " + L("SameGenderNaturals3") + "\n\n"
                + L("ValidationFileFooter");
        },
        [](IntegrityChecks& t) { EXPECT_EQ(t.cara->naturalParents().size(), 2); }},
    {"ValidationSound", 6, {}, [](IntegrityChecks&) { return "\n0 " + L("SameSexCheck4") + "\n\n"; }, {}},
    {"UnknownRowAbove", 8, {}, [](IntegrityChecks&) { return QString(); }, {}},
    {"UnknownRowBelow", -1, {}, [](IntegrityChecks&) { return QString(); }, {}},
};

INSTANTIATE_TEST_SUITE_P(Rows, IntegrityCheckRows, ::testing::ValuesIn(kRows),
    [](const ::testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

TEST_F(IntegrityChecks, ARelationshipCheckStoppedByAnExceptionSaysWhy)
{
    ThrowingProgress progress;
    const QString report = run(DatabaseIntegrityChecks::ValidateRelationships, &progress);
    const QString problem = L("Exception") + " = std::runtime_error\n" + L("Reason") + " = the disk went away\n"
        + L("UserInfo") + " = ";
    EXPECT_EQ(report,
        "\n\n" + problem + "\n\n0 " + L("SameSexCheck3") + "\n0 " + L("SameSexCheck4") + "\n\n" + savingLines());
    EXPECT_EQ(messages(), QStringList { problem });
}

TEST_F(IntegrityChecks, TheAncestorCheckFindsALoopAgainOnEveryRun)
{
    link(cara, adam);
    const QString expected = L("RecursionCheckAncestors") + IntegrityChecks::heading() + IntegrityChecks::linkLine(cara, adam) + savingLines();
    EXPECT_EQ(run(DatabaseIntegrityChecks::RecursionCheckAncestors), expected);
    EXPECT_EQ(run(DatabaseIntegrityChecks::RecursionCheckAncestors), expected);
    EXPECT_EQ(run(DatabaseIntegrityChecks::RecursionCheckAll),
        L("RecursionCheckAll") + IntegrityChecks::heading() + IntegrityChecks::linkLine(cara, adam) + savingLines());
    EXPECT_EQ(run(DatabaseIntegrityChecks::RecursionCheckAncestors), expected);

    // A loop elsewhere is not the focal person's.
    moc->setFocalPerson(person("Eve Other", F()));
    EXPECT_EQ(run(DatabaseIntegrityChecks::RecursionCheckAncestors),
        L("RecursionCheckAncestors") + "\n" + L("NoRecursion") + savingLines());
}

TEST_F(IntegrityChecks, StoredThumbnailsGoOnlyWhenTheUserContinues)
{
    pictureWithThumbnail(adam);
    pictureWithThumbnail(cara);
    moc->insertObject<FTPicture>()->setOwner(beth); // none stored
    ASSERT_TRUE(moc->saveMoc());
    prompts.clear();

    prompts.answer(1); // Cancel
    EXPECT_EQ(run(DatabaseIntegrityChecks::RemoveStoredThumbnails), savingLines());
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, L("CannotUndoContinue"));
    EXPECT_EQ(prompts.records[0].buttons, (QStringList { L("Continue"), L("Cancel") }));
    EXPECT_EQ(moc->count<FTOriginalPicture>(), 2);

    moc->undoManager()->setActionName("Earlier edit");
    adam->setNotes("edited");
    moc->undoManager()->closeOpenGroups();
    EXPECT_EQ(run(DatabaseIntegrityChecks::RemoveStoredThumbnails),
        "\n2 " + L("ThumbsRemove1") + "\n\n" + L("ThumbsRemove2") + "\n\n" + L("ThumbsRemove3")
            + " Kinloom." + savingLines());
    EXPECT_EQ(moc->count<FTOriginalPicture>(), 0);
    EXPECT_EQ(moc->count<FTPicture>(), 3);
    EXPECT_FALSE(moc->undoManager()->canUndo()) << "nothing undone could bring a removed record back";

    const QString path = moc->databaseURL();
    moc.reset();
    moc = reopen(path);
    EXPECT_EQ(moc->count<FTOriginalPicture>(), 0);
    EXPECT_EQ(moc->count<FTPicture>(), 3);
}

TEST_F(IntegrityChecks, TheReportFileHoldsTheByteOrderMarkThenTheReportAndOpens)
{
    const QString data = dir.path() + "/KinloomData";
    QDir().mkpath(data);
    UserDefaults::standard().setString("KinloomDataDirectory", data);
    const QString path = DatabaseIntegrityChecks::reportFilePath();
    EXPECT_EQ(path, data + "/" + L("DbIntegrityFileName"));
    auto contents = [&path] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("unreadable");
    };

    WorkspaceFixture apps(dir.path(), "text/plain");
    ASSERT_TRUE(DatabaseIntegrityChecks::showReport(QString()));
    EXPECT_EQ(contents(), QByteArray("\xEF\xBB\xBF"));
    EXPECT_EQ(apps.launched(), (QStringList { "--editor", path }));

    // A shorter report replaces a longer one whole.
    ASSERT_TRUE(DatabaseIntegrityChecks::writeReportFile(path, QString(500, 'x')));
    ASSERT_TRUE(DatabaseIntegrityChecks::writeReportFile(path, QStringLiteral("Zoë\n1 ghost")));
    EXPECT_EQ(contents(), QByteArray("\xEF\xBB\xBF") + QStringLiteral("Zoë\n1 ghost").toUtf8());

    // A file where the data folder should be: nothing is written anywhere, and the user is told.
    QDir(data).removeRecursively();
    QFile blocker(data);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    prompts.clear();
    EXPECT_FALSE(DatabaseIntegrityChecks::showReport(QStringLiteral("text")));
    EXPECT_EQ(QFileInfo(data).size(), 0);
    EXPECT_FALSE(prompts.records.isEmpty());
}

} // namespace
