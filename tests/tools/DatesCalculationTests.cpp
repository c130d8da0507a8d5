// Calculated birth and death dates: the candidates, the plausibility check, the dates and notes written, the counts,
// the single undo step and the log file.

#include "ToolsFixture.h"
#include "WorkspaceFixture.h"

#include "tools/DatesCalculation.h"

#include "shell/Utils.h"

#include "model/Dates.h"
#include "model/FTMocUndoManager.h"
#include "model/FTSource.h"

#include "platform/Workspace.h"

#include <QFile>
#include <QFileInfo>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

class DatesCalculationFixture : public ToolsFixture {
protected:
    void TearDown() override
    {
        Dates::setReadingOrderOverride(Dates::FollowUser);
        ToolsFixture::TearDown();
    }
    // A person born, as far as the database knows, on `birth` (empty: no birth event) and dying on `death`.
    FTPerson* personWith(const QString& name, const QString& birth, const QString& death = {})
    {
        FTPerson* p = person(name);
        if (!birth.isNull())
            event(p, FTEvent::BirthEvent, "", birth);
        if (!death.isEmpty())
            event(p, FTEvent::DeathEvent, "", death);
        return p;
    }
    FTEvent* other(FTPerson* p, const char* tag, const QString& date)
    {
        return event(p, FTEvent::OtherPersonalEvent, "", date, tag);
    }
    QStringList messages() const
    {
        QStringList out;
        for (const auto& r : prompts.records)
            out << r.text;
        return out;
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return f.readAll();
    }
    QString reports() const { return dataFolder() + "/Reports"; }
};

TEST_F(DatesCalculationFixture, BirthDatesComeFromBaptismsAndChristeningsWithTheirNotes)
{
    WorkspaceFixture apps(dir.path(), Workspace::shared().mimeTypeForFile("x.txt"));
    FTPerson* yearOnly = personWith("Ann Lee", {});
    other(yearOnly, "BAPM", "1850");
    FTPerson* fullDate = personWith("Bob Lee", "");
    other(fullDate, "BAPM", "5 Mar 1900");
    FTPerson* withNotes = personWith("Cy Lee", "");
    withNotes->birth()->setNotes("Born at sea");
    other(withNotes, "CHR", "abt Jun 1870");
    FTPerson* both = personWith("Di Lee", {});
    other(both, "CHR", "2 Feb 1881");
    other(both, "BAPM", "1 Jan 1881"); // Baptism sorts before Christening: this one gives the date
    FTPerson* dated = personWith("Ed Lee", "1 Jan 1800");
    other(dated, "BAPM", "5 Jan 1800");
    FTPerson* undated = personWith("Fay Lee", {});
    other(undated, "BAPM", "");
    FTPerson* buried = personWith("Gus Lee", {});
    other(buried, "BURI", "1900");
    settle();

    DatesCalculation births(moc.get(), DatesCalculation::Births);
    ASSERT_EQ(births.createEventsArray().size(), 5);
    EXPECT_EQ(births.events().first()->subtype(), "BAPM");
    const DatesCalculation::Outcome done = births.createDates();
    EXPECT_EQ(done.added, 4);
    EXPECT_EQ(done.ignored, 0);
    EXPECT_TRUE(prompts.records.isEmpty()) << messages().join("\n").toStdString();
    EXPECT_EQ(births.progressMessage(), QString("%1 4 %2").arg(L("Added"), L("BirthDates")));

    const struct {
        FTPerson* person;
        const char* date;
        QString notes;
    } cases[] = {
        {yearOnly, "abt 1850", L("DateFromBaptism")},
        {fullDate, "bef 05 Mar 1900", L("DateFromBaptism")},
        {withNotes, "bef Jun 1870", "Born at sea. " + L("DateFromChristening")},
        {both, "bef 01 Jan 1881", L("DateFromBaptism")},
        {dated, "01 Jan 1800", ""},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.person->birth(), nullptr) << c.person->name().toStdString();
        EXPECT_EQ(c.person->birth()->date(), c.date) << c.person->name().toStdString();
        EXPECT_EQ(c.person->birth()->notes(), c.notes) << c.person->name().toStdString();
    }
    EXPECT_EQ(withNotes->birth()->type(), FTEvent::BirthEvent);
    EXPECT_EQ(yearOnly->birth()->subtype(), "BIRT");
    EXPECT_EQ(undated->birth(), nullptr);
    EXPECT_EQ(buried->birth(), nullptr);
    EXPECT_EQ(QFileInfo(done.logPath).fileName(), "CalculateBirthDates.txt");
    EXPECT_EQ(apps.launched(), QStringList({"--editor", done.logPath}));

    // Nothing is left to do the second time.
    prompts.clear();
    EXPECT_TRUE(births.createEventsArray().isEmpty());
    EXPECT_THAT(messages(), ElementsAre(L("NothingToDo")));
    prompts.clear();
    EXPECT_EQ(births.createDates().added, 0);
    EXPECT_THAT(messages(), ElementsAre(L("NothingToDo")));

    // One undo takes every date back, and the events made for them.
    undo();
    EXPECT_EQ(yearOnly->birth(), nullptr);
    EXPECT_EQ(both->birth(), nullptr);
    EXPECT_EQ(fullDate->birth()->date(), "");
    EXPECT_EQ(withNotes->birth()->notes(), "Born at sea");
    EXPECT_EQ(births.createEventsArray().size(), 5);
}

TEST_F(DatesCalculationFixture, ADateIsWrittenTheSameWhateverOrderTheDesktopReadsNumbersIn)
{
    WorkspaceFixture apps(dir.path(), Workspace::shared().mimeTypeForFile("x.txt"));
    for (int order : {Dates::DayFirst, Dates::MonthFirst}) {
        Dates::setReadingOrderOverride(order);
        FTPerson* p = personWith(QString("Person %1").arg(order), {});
        other(p, "BAPM", "5 Mar 1900");
        other(p, "OCCU", "1 Dec 1899")->setName("Baptism"); // not a baptism, whatever its name
        FTPerson* q = personWith(QString("Other %1").arg(order), {});
        other(q, "CHR", "31 Dec 1900");
        DatesCalculation births(moc.get(), DatesCalculation::Births);
        births.createEventsArray();
        const DatesCalculation::Outcome done = births.createDates();
        EXPECT_EQ(done.added, 2);
        EXPECT_EQ(apps.launched(), QStringList({"--editor", done.logPath}));
        EXPECT_EQ(p->birth()->date(), "bef 05 Mar 1900") << order;
        EXPECT_EQ(p->birth()->lDate(), Dates::getLongDate(2, 5, 3, 1900)) << order;
        EXPECT_EQ(q->birth()->date(), "bef 31 Dec 1900") << order;
    }
    EXPECT_TRUE(prompts.records.isEmpty()) << messages().join("\n").toStdString();
}

TEST_F(DatesCalculationFixture, ImplausibleDatesAreCountedAsIgnoredAndLeftAlone)
{
    const struct {
        const char* source; // the baptism (birth tool) or the burial (death tool)
        const char* other;  // the death (birth tool) or the birth (death tool)
        bool plausible;
    } cases[] = {
        {"5 Mar 1900", "4 Mar 1900", false},
        {"5 Mar 1900", "5 Mar 1900", true},
        {"5 Mar 1900", "1900", true},     // a death without month counts as the end of its year
        {"5 Mar 1900", "Feb 1900", false},
        {"5 Mar 1900", "Mar 1900", true}, // nor without day as the end of its month
        {"1800", "1920", true},
        {"1800", "1921", false},          // more than 120 years
        {"1800", "", true},
    };
    for (const auto& c : cases) {
        FTPerson* p = personWith("Baptised", {}, c.other);
        FTEvent* baptism = other(p, "BAPM", c.source);
        EXPECT_EQ(DatesCalculation::checkBirthDate(baptism, p->death()), c.plausible) << c.source << " " << c.other;
    }
    EXPECT_TRUE(DatesCalculation::checkBirthDate(nullptr, nullptr));

    // The death tool checks the burial as the death, against the birth.
    WorkspaceFixture apps(dir.path(), Workspace::shared().mimeTypeForFile("x.txt"));
    moc = newDatabase("Deaths.RezUdu");
    FTPerson* early = personWith("Early Burial", "1 Jan 1900");
    other(early, "BURI", "1899");
    FTPerson* old = personWith("Old Burial", "1 Jan 1700");
    other(old, "BURI", "1900");
    FTPerson* cremated = personWith("Cremated", "1 Jan 1900");
    event(cremated, FTEvent::DeathEvent, "", "");
    other(cremated, "CREM", "3 Apr 1960");
    settle();
    DatesCalculation deaths(moc.get(), DatesCalculation::Deaths);
    deaths.createEventsArray();
    const DatesCalculation::Outcome done = deaths.createDates();
    EXPECT_EQ(done.added, 1);
    EXPECT_EQ(done.ignored, 2);
    EXPECT_THAT(messages(), ElementsAre(QString("2 %1").arg(L("NumIgnoredDates"))));
    EXPECT_EQ(early->death(), nullptr);
    EXPECT_EQ(old->death(), nullptr);
    EXPECT_EQ(cremated->death()->date(), "bef 03 Apr 1960");
    EXPECT_EQ(cremated->death()->notes(), L("DateFromCremation"));
    EXPECT_EQ(QFileInfo(done.logPath).fileName(), "CalculateDeathDates.txt");
    EXPECT_EQ(apps.launched(), QStringList({"--editor", done.logPath}));
    EXPECT_EQ(moc->undoManager()->undoActionName(), L("CalculateDeath"));
}

TEST_F(DatesCalculationFixture, TheLogListsThePeopleInAFileOfItsOwnThatKeepsTheirNamesWhole)
{
    WorkspaceFixture apps(dir.path(), Workspace::shared().mimeTypeForFile("x.txt"));
    other(personWith("Ann Lee", {}), "BAPM", "1850");
    other(personWith("Mary \"Polly\" O'Hara, {Jr} back\\slash Lee", {}, "1930"), "BAPM", "5 Mar 1900");
    other(personWith("Zoë Lee", {}), "CHR", "Jun 1870");
    // An older log and its first numbered successor stay as they are.
    ASSERT_TRUE(TestSupport::writeFile(reports() + "/CalculateBirthDates.txt", "older"));
    ASSERT_TRUE(TestSupport::writeFile(reports() + "/CalculateBirthDates_1.txt", "old"));
    settle();

    DatesCalculation births(moc.get(), DatesCalculation::Births);
    births.createEventsArray();
    const DatesCalculation::Outcome done = births.createDates();
    EXPECT_EQ(done.logPath, reports() + "/CalculateBirthDates_2.txt");
    EXPECT_EQ(read(reports() + "/CalculateBirthDates.txt"), "older");
    EXPECT_EQ(read(reports() + "/CalculateBirthDates_1.txt"), "old");
    TestSupport::expectGolden(read(done.logPath), "tools/CalculateBirthDates.txt");
    EXPECT_EQ(apps.launched(), QStringList({"--editor", done.logPath}));

    // Nobody given a date: no log.
    prompts.clear();
    FTPerson* ignored = personWith("Ignored", {}, "1800");
    other(ignored, "BAPM", "1900");
    births.createEventsArray();
    const DatesCalculation::Outcome none = births.createDates();
    EXPECT_TRUE(none.logPath.isEmpty());
    EXPECT_EQ(births.progressMessage(), L("NoBirthDatesAdded"));
    EXPECT_FALSE(QFileInfo::exists(reports() + "/CalculateBirthDates_3.txt"));
}

TEST_F(DatesCalculationFixture, ANewBirthDoesNotCiteTheActiveSource)
{
    // Citing would open a citation sheet for every person given a date.
    WorkspaceFixture apps(dir.path(), Workspace::shared().mimeTypeForFile("x.txt"));
    FTSource* source = FTSource::initInMoc(moc.get());
    moc->setActiveSource(source);
    for (const char* name : {"Ann Lee", "Bob Lee"})
        other(personWith(name, {}), "BAPM", "1850");
    settle();
    const int citations = int(source->sourceRels().size());
    DatesCalculation births(moc.get(), DatesCalculation::Births);
    births.createEventsArray();
    EXPECT_EQ(births.createDates().added, 2);
    EXPECT_EQ(source->sourceRels().size(), citations);
    EXPECT_EQ(apps.launched().size(), 2); // the log opened, before its folder goes
}
