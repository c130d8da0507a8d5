#include "gedcom/GedRec.h"
#include "gedcom/GedcomFileReader.h"
#include "gedcom/GedcomForest.h"
#include "gedcom/GedcomHeaderInfo.h"
#include "gedcom/GedcomImportLog.h"
#include "gedcom/GedcomReadObserver.h"
#include "gedcom/GedcomWriter.h"

#include "QtPrinters.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString readText(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray b = f.readAll();
    EXPECT_TRUE(b.startsWith("\xEF\xBB\xBF")) << path.toStdString();
    return QString::fromUtf8(b.mid(3));
}

QString header(const QString& dir)
{
    return QStringLiteral("Gedcom file read = /home/me/Smith.ged\nDate Read = 2024-03-05 14:07:09\nNew Model = %1/Smith.RezUdu\n"
                          "Using Kinloom Version: %2\n\n")
        .arg(dir, QStringLiteral(KINLOOM_VERSION));
}

const QString kSeparator = QStringLiteral("--------------------------- \nUnprocessed GedRecs follow  \n"
                                          "Unprocessed Custom Tags GedRecs (if any) are also in file "
                                          "UnprocessedCustomGedRecs.txt\n--------------------------- \n");

struct LogFixture {
    QTemporaryDir dir{TestSupport::tempRoot() + "/log-XXXXXX"};
    GedcomFileReader reader;
    std::unique_ptr<GedcomImportLog> log;

    explicit LogFixture(const QByteArray& ged, bool releasePeople = false)
    {
        if (releasePeople)
            reader.setReleasedEarly("INDI", {"SOUR", "FAMC"});
        EXPECT_TRUE(reader.readData(ged));
        log = std::make_unique<GedcomImportLog>(dir.path(), "/home/me/Smith.ged", dir.path() + "/Smith.RezUdu");
        log->setDateRead(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    }
    void consumeAll()
    {
        reader.forest().forEachLine([](GedRec* r) { r->setFlags(GedRec::Consumed); });
    }
    QString unprocessed() { return readText(dir.path() + "/UnprocessedGedRecs.txt"); }
    QString custom() { return readText(dir.path() + "/UnprocessedCustomGedRecs.txt"); }
    bool hasCustomFile() { return QFileInfo::exists(dir.path() + "/UnprocessedCustomGedRecs.txt"); }
    void print() { log->printUnprocessedGedRecs(reader.forest(), reader.errorMessages(), reader.numLines(), reader.blobRecordsIgnored()); }
};

const QByteArray kFamily = "0 HEAD\n1 CHAR ASCII\n0 @I1@ INDI\n1 NAME John /Smith/\n1 BIRT\n2 DATE 1 JAN 1900\n"
                           "2 PLAC Leeds\n0 TRLR\n";

} // namespace

TEST(GedcomImportLog, EverythingConsumed)
{
    LogFixture f(kFamily);
    f.consumeAll();
    f.print();
    EXPECT_EQ(f.unprocessed(), header(f.dir.path()) + kSeparator
                                   + "\n\nGedRecs with custom tags (incl their subRecords) that were ignored = 0\n"
                                     "\nTotal unprocessed GedRecs: 0 = 0.00% of 8 lines\n");
    EXPECT_FALSE(f.hasCustomFile());
    EXPECT_EQ(f.log->totalUnprocessed(), 0);
}

TEST(GedcomImportLog, UnprocessedLinesFollowTheirAncestorsOnce)
{
    LogFixture f(kFamily);
    f.consumeAll();
    GedRec* birt = f.reader.forest().record("I1")->firstSubRecord("BIRT");
    birt->subRecords()[0]->setFlags(0);
    birt->subRecords()[1]->setFlags(0);
    f.print();
    EXPECT_TRUE(f.unprocessed().contains(kSeparator + "line 3. 0 @I1@ INDI\n"
                                                      "line 5.    1 INDI.BIRT\n"
                                                      "line 6. ->      2 INDI.BIRT.DATE 1 JAN 1900\n"
                                                      "line 7. ->      2 INDI.BIRT.PLAC Leeds\n\n\n"))
        << f.unprocessed().toStdString();
    EXPECT_TRUE(f.unprocessed().endsWith("\nTotal unprocessed GedRecs: 2 = 25.00% of 8 lines\n"));
}

TEST(GedcomImportLog, CustomTagsGoToBothFiles)
{
    LogFixture f("0 HEAD\n0 @I1@ INDI\n1 _XYZ custom\n2 _SUB a\n2 NOTE b\n1 NAME Ann\n0 TRLR\n");
    f.consumeAll();
    f.reader.forest().record("I1")->firstSubRecord("_XYZ")->forEachLine([](GedRec* r) { r->setFlags(0); });
    f.print();
    const QString lines = "line 3. ->   1 INDI._XYZ custom\nline 4. ->      2 INDI._XYZ._SUB a\nline 5. ->      2 INDI._XYZ.NOTE b\n";
    EXPECT_TRUE(f.unprocessed().contains("line 2. 0 @I1@ INDI\n" + lines));
    EXPECT_EQ(f.custom(), header(f.dir.path()) + lines
                              + "\n\nGedRecs with custom tags (incl their subRecords) that were ignored = 3\n");
    EXPECT_EQ(f.log->numCustomTagRecords(), 3);
    EXPECT_TRUE(f.unprocessed().endsWith("ignored = 3\n\nTotal unprocessed GedRecs: 3 = 42.86% of 7 lines\n"));
}

TEST(GedcomImportLog, ErrorReasonsAndParserMessagesComeFirst)
{
    LogFixture f("0 HEAD\n0 @I1@ INDI\n1 BIRT\n2 DATE sometime\n1 DEAT\n2 DATE later\n1 FAMS @F9@\n"
                 "1 OBJE\n2 BLOB\n3 CONT xx\n0 @I1@ INDI\n0 TRLR\n");
    f.consumeAll();
    GedRec* indi = f.reader.forest().record("I1");
    indi->firstSubRecord("BIRT")->subRecords()[0]->setErrorReason(GedRec::ReasonInvalidDate, GedRec::ActionConvertedToAboutDate, "kept as ABT");
    indi->firstSubRecord("DEAT")->subRecords()[0]->setErrorReason(16, 32);
    indi->firstSubRecord("FAMS")->setErrorReason(GedRec::ReasonInvalidPointer, GedRec::ActionIgnored, "Pointer = F9");
    indi->firstSubRecord("OBJE")->setErrorReason(3, 99);
    f.print();
    const QString text = f.unprocessed();
    EXPECT_TRUE(text.startsWith(header(f.dir.path())
                                + "Duplicate identifier @I1@ at line 11, first used at line 2: both records were kept, the later one under the key \"I1 #2\".\n"
                                  "line 4. INDI.BIRT.DATE, date format not valid for Kinloom, value = \"sometime\", date converted to an about date, kept as ABT\n"
                                  "line 6. INDI.DEAT.DATE, date format not valid for Kinloom, value = \"later\", date converted to an about date\n"
                                  "line 7. INDI.FAMS, invalid Gedcom pointer value = \"F9\", record ignored, Pointer = F9\n"
                                  "line 8. INDI.OBJE, undefined error, no action\n"
                                + kSeparator))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("of 12 lines\nIn addition 1 BLOB subRecords were ignored\n")) << text.toStdString();
}

// Lines released early (their text kept for the report) must read in the logs as if they had lived until the
// report: in file order among the lines that stayed, each record line written once, before the first of its lines,
// custom tags followed into the sub-records, the counts the same.
TEST(GedcomImportLog, ReleasedLinesReadAsIfTheyHadLived)
{
    const QByteArray ged = "0 HEAD\n"
                           "0 @I1@ INDI\n1 NAME A /B/\n2 _CUST x\n1 FAMC @F1@\n2 PEDI foo\n1 BIRT\n2 DATE bad\n"
                           "2 NOTE n\n1 SOUR @S1@\n1 _XYZ y\n2 CONT z\n"  // lines 2-12
                           "0 @I2@ INDI\n1 SEX M\n1 OCCU x\n"                 // 13-15: the record line itself unused
                           "0 @I3@ INDI\n1 FAMC @F1@\n1 RESI\n2 DATE 1900\n"  // 16-19: a line that stayed comes first
                           "0 @I4@ INDI\n1 NAME C\n"                          // 20-21: nothing to report
                           "0 @X1@ _REC\n1 NOTE q\n"                           // 22-23
                           "0 @F1@ FAM\n1 HUSB @I1@\n0 TRLR\n";
    // Unused lines, by number; the rest is consumed. Errors are set before the release but for line 6, which is
    // given its error by a later pass.
    const QSet<int> unused = {4, 6, 9, 10, 11, 12, 13, 15, 17, 18, 19, 23};
    auto pass = [&](LogFixture& f) {
        f.reader.forest().forEachLine([&](GedRec* r) {
            r->setFlags(unused.contains(r->lineNo()) ? 0 : int(GedRec::Consumed));
            if (r->lineNo() == 8)
                r->setErrorReason(GedRec::ReasonInvalidDate, GedRec::ActionIgnored);
            if (r->lineNo() == 14)
                r->setErrorReason(GedRec::ReasonInvalidValue, GedRec::ActionAppendedToNotes, "note");
        });
    };
    auto laterPass = [](LogFixture& f) {
        f.reader.forest().record("I1")->firstSubRecord("FAMC")->subRecords()[0]->setErrorReason(
            GedRec::ReasonUnrecognisedValue, GedRec::ActionIgnored);
    };

    LogFixture lived(ged);
    pass(lived);
    laterPass(lived);
    lived.print();

    LogFixture released(ged, true);
    GedcomForest& forest = released.reader.forest();
    const std::size_t before = forest.bytesAllocated();
    pass(released);
    for (GedRec* r : forest.records())
        forest.releaseLines(r, [&](GedRec* record) { released.log->keepTextOfReleasedLines(record); });
    EXPECT_LT(forest.bytesAllocated(), before);
    QStringList left;
    forest.forEachLine([&](GedRec* r) { left << QString::number(r->lineNo()); });
    EXPECT_EQ(left.join(' '), "1 2 5 6 10 13 16 17 20 22 23 24 25 26");
    laterPass(released);
    released.print();

    EXPECT_EQ(released.unprocessed().replace(released.dir.path(), "DIR"), lived.unprocessed().replace(lived.dir.path(), "DIR"));
    EXPECT_EQ(released.custom().replace(released.dir.path(), "DIR"), lived.custom().replace(lived.dir.path(), "DIR"));
    EXPECT_EQ(released.log->totalUnprocessed(), lived.log->totalUnprocessed());
    EXPECT_EQ(released.log->numCustomTagRecords(), lived.log->numCustomTagRecords());
    // The fixture reaches every case: records written first by a released run, by a line that stayed, by itself.
    EXPECT_TRUE(lived.unprocessed().contains("line 2. 0 @I1@ INDI\nline 3.    1 INDI.NAME A /B/\n"
                                             "line 4. ->      2 INDI.NAME._CUST x\nline 5.    1 INDI.FAMC @F1@\n"))
        << lived.unprocessed().toStdString();
    EXPECT_TRUE(lived.unprocessed().contains("line 13. ->0 @I2@ INDI\nline 15. ->   1 INDI.OCCU x\n"));
    EXPECT_TRUE(lived.unprocessed().contains("line 16. 0 @I3@ INDI\nline 17. ->   1 INDI.FAMC @F1@\n"
                                             "line 18. ->   1 INDI.RESI\n"));
}

TEST(GedcomImportLog, ReasonTexts)
{
    GedRec rec(nullptr, "@I1@", "INDI", "");
    auto* line = new GedRec(&rec, QString(), "NAME", "Ann");
    struct {
        int reason;
        const char* text;
    } cases[] = {
        {1, "custom tag not recognised by Kinloom"}, {2, "tag not defined in Gedcom V5.5"},
        {4, "invalid value = \"Ann\""}, {8, "invalid record format 1 INDI.NAME Ann"},
        {32, "tag not recognised by Kinloom"}, {128, "wrong file extension or it is a movie file that is ignored by Gedcom Load, value = \"Ann\""},
        {256, "duplicate name"}, {512, "unrecognised value \"Ann\""},
        {1024, "Unable to process a Family Reference No for a single parent family"}, {2048, "Overlength PAGE record"},
        {4096, "Empty Source Citation Record. Value = \"Ann\""}, {8192, "the CONC and CONT subrecords not defined in Gedcom V5.5"},
        {12, "undefined error"},
    };
    for (const auto& c : cases) {
        line->setErrorReason(c.reason, 0);
        EXPECT_EQ(GedcomImportLog::errorReasonText(*line), c.text) << c.reason;
    }
    const char* actions[] = {"no action", "record ignored", "appended to Notes", "appended to Notes with sub-records",
                             "appended to Comments", "appended to Comments with sub-records",
                             "date converted to an about date", "loaded as an EVEN event record"};
    const int codes[] = {0, 1, 2, 4, 8, 16, 32, 64};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(GedcomImportLog::errorActionText(codes[i]), actions[i]);
    EXPECT_EQ(GedcomImportLog::errorActionText(3), "no action");
}

TEST(GedcomImportLog, FilesAndFailures)
{
    QTemporaryDir dir(TestSupport::tempRoot() + "/logs-XXXXXX");
    GedcomImportLog log(dir.path(), "/g.ged", "/d.RezUdu");
    log.setDateRead(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    {
        auto f = log.createOutputFile(GedcomImportLog::kValidationFileName);
        ASSERT_TRUE(f);
    }
    EXPECT_EQ(readText(dir.path() + "/ValidationErrors.txt"),
              "Gedcom file read = /g.ged\nDate Read = 2024-03-05 14:07:09\nNew Model = /d.RezUdu\n\n"
              "The following validation errors were found in the imported data.\n");
    EXPECT_EQ(log.existingLogFiles(), QStringList(dir.path() + "/ValidationErrors.txt"));

    struct : GedcomReadObserver {
        QStringList alerts;
        void showMessage(const QString& t) override { alerts.append(t); }
    } observer;
    GedcomImportLog nowhere(dir.path() + "/no/such/folder", "/g.ged", "/d.RezUdu", &observer);
    EXPECT_FALSE(nowhere.createOutputFile(GedcomImportLog::kUnprocessedFileName));
    EXPECT_EQ(observer.alerts, QStringList("Unable to create the file for the UnprocessedGedRecs.txt"));
    GedcomForest forest;
    nowhere.printUnprocessedGedRecs(forest, {"a message"}, 0, 0);  // writes nothing, breaks nothing
    EXPECT_EQ(observer.alerts.size(), 3);
}

TEST(GedcomHeaderInfo, ProgramAndLoadInformation)
{
    struct {
        QStringList lines;
        const char* application;
        const char* flag;
    } cases[] = {
        {{"0 HEAD", "1 CHAR ANSEL"}, "", ""},
        {{"0 HEAD", "1 SOUR Family Historian", "2 VERS 6"}, "Family Historian", "FamilyHistorian"},
        {{"0 HEAD", "1 SOUR ", "2 NAME Reunion for Mac", "2 VERS 9"}, "Reunion for Mac", "Reunion"},
        {{"0 HEAD", "1 SOUR FTM", "2 NAME Other"}, "FTM", ""},
        {{"0 HEAD", "1 SOUR Family Tree Legacy"}, "Family Tree Legacy", "Legacy"},
        {{"0 HEAD", "1 SOUR GeneWeb", "2 VERS 4.3"}, "GeneWeb", "Gene"},
        {{"0 HEAD", "1 SOUR GeneWeb FTW", "2 VERS 5.0"}, "GeneWeb FTW", "FTW"},
        {{"0 HEAD", "1 SOUR kinloom for vovadid"}, "kinloom for vovadid", "Kinloom"},
        {{"0 HEAD", "1 SOUR The Master Genealogist"}, "The Master Genealogist", "TMG"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.application);
        const GedcomHeaderInfo info = GedcomHeaderInfo::fromHeaderLines(c.lines);
        EXPECT_EQ(info.sourceApplication, c.application);
        const QString flag = c.flag;
        EXPECT_EQ(info.bReunion, flag == "Reunion");
        EXPECT_EQ(info.bFamilyHistorian, flag == "FamilyHistorian");
        EXPECT_EQ(info.bLegacy, flag == "Legacy");
        EXPECT_EQ(info.bKinloom, flag == "Kinloom");
        EXPECT_EQ(info.bGene, flag == "Gene");
        EXPECT_EQ(info.bFTW, flag == "FTW");
        EXPECT_EQ(info.bTMG, flag == "TMG");
    }
    // The header this program's export writes, in files of earlier versions and new ones alike, is its own.
    const GedcomHeaderInfo own = GedcomHeaderInfo::fromHeaderLines(
        {"0 HEAD", "1 SOUR " + GedcomWriter::kProgramName, "2 NAME " + GedcomWriter::kProgramName});
    EXPECT_EQ(own.sourceApplication, "Kinloom for Vovadid");
    EXPECT_TRUE(own.bKinloom);

    const GedcomHeaderInfo info = GedcomHeaderInfo::fromHeaderLines(
        {"0 HEAD", "  1 SOUR PAF", "2 VERS 2.2", "1 DATE 20 NOV 1992", "1 CHAR ANSEL"});
    EXPECT_EQ(info.infoText(), "The Gedcom file was created by\nPAF\nVersion: 2.2\nCreated on: 20 NOV 1992\nCharacter Set: ANSEL");
    const QVariantMap m = info.loadInformation("/g.ged", "/d.RezUdu", QDateTime(QDate(2024, 3, 5), QTime(14, 7)));
    EXPECT_EQ(m.value("Date Gedcom file was read").toString(), "05-Mar-24 at 14:07");
    EXPECT_EQ(m.value("Character encoding").toString(), "ANSEL");
    EXPECT_EQ(m.value("Kinloom version used").toString(), QStringLiteral("V" KINLOOM_VERSION));
    EXPECT_EQ(m.size(), 8);
    const QVariantMap unknown = GedcomHeaderInfo().loadInformation("/g.ged", "/d.RezUdu", QDateTime::currentDateTime());
    EXPECT_EQ(unknown.value("Application that wrote the Gedcom File").toString(), "Unknown");
    EXPECT_EQ(unknown.value("Application version").toString(), "Unknown");
}
