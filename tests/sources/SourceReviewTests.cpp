// The review of a source's citations: which source it shows, stepping by number, moving on when the shown source
// is deleted, and the report written as RTF.

#include "SourcesFixture.h"
#include "WorkspaceFixture.h"

#include "sources/SourceCatalogue.h"
#include "sources/SourceReferencesReport.h"
#include "sources/SourceReferencesReview.h"

#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTPicture.h"
#include "model/FTSpouseRel.h"

#include "shell/Utils.h"

#include "platform/Localizer.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {
QString position(int at, int of)
{
    return QStringLiteral("%1 %2 %3").arg(at).arg(LocalizedString("ConjunctiveOf")).arg(of);
}
}

using SourceReviewTest = SourcesFixture;

TEST_F(SourceReviewTest, ShowsTheGivenSourceElseTheActiveOneElseTheLowestNumbered)
{
    EXPECT_EQ(SourceReferencesReview(moc.get(), nullptr).source(), nullptr);
    FTSource* five = numbered(5);
    FTSource* two = numbered(2);
    FTSource* nine = numbered(9);
    EXPECT_EQ(SourceReferencesReview(moc.get(), nullptr).source(), two);
    moc->setActiveSource(nine);
    EXPECT_EQ(SourceReferencesReview(moc.get(), nullptr).source(), nine);
    SourceReferencesReview given(moc.get(), five);
    EXPECT_EQ(given.source(), five);
    EXPECT_EQ(given.sourceCount(), "");
}

TEST_F(SourceReviewTest, StepsByNumberWithoutWrapping)
{
    FTSource* five = numbered(5);
    FTSource* one = numbered(1);
    FTSource* two = numbered(2);
    SourceReferencesReview review(moc.get(), two);

    EXPECT_TRUE(review.nextSource());
    EXPECT_EQ(review.source(), five);
    EXPECT_EQ(review.sourceCount(), position(3, 3));
    EXPECT_FALSE(review.nextSource()); // nothing beyond the highest: no change
    EXPECT_EQ(review.source(), five);
    EXPECT_EQ(review.sourceCount(), position(3, 3));

    EXPECT_TRUE(review.previousSource());
    EXPECT_TRUE(review.previousSource());
    EXPECT_EQ(review.source(), one);
    EXPECT_EQ(review.sourceCount(), position(1, 3));
    EXPECT_FALSE(review.previousSource());
    EXPECT_EQ(review.source(), one);

    // A source chosen another way clears the position.
    review.showSource(five);
    EXPECT_EQ(review.sourceCount(), "");
    // Without a source shown, the next one is the first.
    review.showSource(nullptr);
    EXPECT_TRUE(review.nextSource());
    EXPECT_EQ(review.source(), one);
}

TEST_F(SourceReviewTest, DeletingTheShownSourceMovesBackElseForwardElseToNone)
{
    FTSource* one = numbered(1);
    FTSource* two = numbered(2);
    FTSource* three = numbered(3);
    SourceReferencesReview review(moc.get(), two);
    int changes = 0;
    review.sourceChanged = [&] { ++changes; };

    review.nextSource();
    SourceCatalogue::deleteSourceRecord(one); // another source: the position is cleared only
    EXPECT_EQ(review.source(), three);
    EXPECT_EQ(review.sourceCount(), "");
    SourceCatalogue::deleteSourceRecord(three);
    EXPECT_EQ(review.source(), two);
    SourceCatalogue::deleteSourceRecord(two);
    EXPECT_EQ(review.source(), nullptr);
    EXPECT_EQ(changes, 3);

    FTSource* four = numbered(4);
    FTSource* six = numbered(6);
    review.showSource(four);
    SourceCatalogue::deleteSourceRecord(four);
    EXPECT_EQ(review.source(), six);
    EXPECT_EQ(review.sourceCount(), "");

    // A source of another database is not this review's business.
    std::unique_ptr<FTMoc> other = newDatabase("Other.RezUdu");
    FTSource* elsewhere = FTSource::initInMoc(other.get());
    SourceCatalogue::deleteSourceRecord(elsewhere);
    EXPECT_EQ(review.source(), six);
    EXPECT_EQ(changes, 4);
}

// A source cited by events with and without a person, by a person and by a picture.
class SourceReportTest : public SourcesFixture {
protected:
    FTSource* fixtureSource()
    {
        FTSource* s = numbered(7,
            { { "type", "Census" }, { "title", "1881 census of Kew" }, { "author", "  General Register Office \n" },
                { "location", "The National Archives" }, { "notes", "" } });
        FTPerson* john = FTPerson::initInMoc(moc.get(), "John Smith", "M");
        FTEvent* birth = FTEvent::initInMoc(moc.get(), FTEvent::BirthEvent, john, "BIRT");
        birth->setDate("5/1/1850");
        birth->setName(birth->eventType()->name());
        FTEvent* job = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, john, "OCCU");
        job->setDate("1881");
        job->setName("Farm labourer");
        FTPerson* mary = FTPerson::initInMoc(moc.get(), "Mary Brown", "F");
        FTSpouseRel* couple = john->addSpouseRel(mary);
        FTEvent* wedding = FTEvent::initInMoc(moc.get(), FTEvent::MarriageEvent, couple, "MARR");
        wedding->setDate("3/6/1875");
        FTPicture* scan = FTPicture::initInMoc(moc.get(), QString(), mary);
        scan->setName("Census page");

        FTSourceRel* c = FTSourceRel::initInMoc(moc.get(), s, job, QString());
        c->setReference("RG11/812 f. 4");
        FTSourceRel::initInMoc(moc.get(), s, birth, QString());
        c = FTSourceRel::initInMoc(moc.get(), s, wedding, QString());
        c->setNotes("Banns read three times.");
        c = FTSourceRel::initInMoc(moc.get(), s, mary, QString());
        c->setReference("p. 12");
        c->setNotes("Listed as \"wife\".\nAge 29.");
        c = FTSourceRel::initInMoc(moc.get(), s, scan, QString());
        c->setReference("image 3");
        c->setNotes("Scanned at Kew.");
        return s;
    }
    const QDateTime clock { QDate(2024, 3, 5), QTime(14, 7) };
};

TEST_F(SourceReportTest, ReportOfASourceAndItsCitations)
{
    FTSource* s = fixtureSource();
    const std::unique_ptr<QTextDocument> doc = SourceReferencesReport::document(s, clock);
    const QString text = doc->toPlainText();
    EXPECT_THAT(text.toStdString(),
        HasSubstr("Family " + LocalizedString("CreatedOn").toStdString() + " Tuesday 05-Mar-24 at 14:07"));
    EXPECT_THAT(text.toStdString(), HasSubstr(": \nGeneral Register Office\n")); // trimmed
    // Empty notes have no heading; a picture's citation is only its reference and notes.
    EXPECT_THAT(text.toStdString(),
        testing::Not(
            HasSubstr(FTManagedObject::capitalized(LocalizedString("SourceRefField8")).toStdString() + ": \n")));
    EXPECT_THAT(text.toStdString(), HasSubstr("\n, " + LocalizedString("RefShort").toStdString() + " = image 3"));
    TestSupport::expectGolden(Utils::encodeRTFwithPictures(*doc).toLatin1(), "rtf/source-citations-report.rtf");
}

TEST_F(SourceReportTest, PrintWritesTheFirstFreeNameAndOpensIt)
{
    WorkspaceFixture workspace { TestSupport::tempRoot(), "application/rtf" };
    FTSource* s = fixtureSource();
    const QString reports = Utils::reportsDirectory();
    const QString base = reports + "/Family_" + LocalizedString("LatestChangesFilename");
    auto touch = [](const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("taken");
    };
    touch(base + ".rtf");
    for (int n = 1; n <= 1000; ++n)
        touch(base + "_" + QString::number(n) + ".rtf");

    const QString path = SourceReferencesReport::print(s, clock);

    EXPECT_EQ(path, base + "_1001.rtf");
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), Utils::encodeRTFwithPictures(*SourceReferencesReport::document(s, clock)).toLatin1());
    QFile first(base + "_1000.rtf");
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), "taken");
    EXPECT_THAT(workspace.launched(), Contains(path));
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(SourceReportTest, AReportThatCannotBeWrittenIsNamedAndLeavesNoFile)
{
    FTSource* s = fixtureSource();
    // A file where the reports folder belongs.
    QFile blocker(dataFolder() + "/Reports");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    EXPECT_EQ(SourceReferencesReport::print(s, clock), "");
    ASSERT_EQ(messages().size(), 1);
    EXPECT_THAT(messages()[0].toStdString(), HasSubstr(LocalizedString("UnableToCreateReport").toStdString()));
    EXPECT_THAT(messages()[0].toStdString(),
        HasSubstr(
            (dataFolder() + "/Reports/Family_" + LocalizedString("LatestChangesFilename") + ".rtf").toStdString()));
    EXPECT_TRUE(QFileInfo(dataFolder() + "/Reports").isFile());
}
