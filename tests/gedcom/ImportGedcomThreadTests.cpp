#include "gedcom/GedRec.h"
#include "gedcom/ImportGedcomListener.h"
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"
#include "model/FTAssociation.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTModelDefaults.h"
#include "model/FTPerson.h"
#include "model/ModelHooks.h"
#include "platform/MainThread.h"
#include "platform/ScriptedPrompts.h"
#include "platform/store/SqliteDatabase.h"

#include "QtPrinters.h"
#include "TestSupport.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <stdexcept>

namespace {

const QChar kNbsp(0x00A0);

struct Recorder : ImportGedcomListener {
    QStringList statuses;
    QStringList alerts;
    QString sourceInfo;
    ImportGedcomOutcome outcome;
    int finished = 0;
    std::function<void(const QString&)> onStatus;
    void setDialogMessage(const QString& text) override
    {
        statuses << text;
        if (onStatus)
            onStatus(text);
    }
    void setGedcomSourceInfo(const QString& text) override { sourceInfo = text; }
    void showMessage(const QString& text) override { alerts << text; }
    void importFinished(const ImportGedcomOutcome& o) override
    {
        outcome = o;
        ++finished;
    }
};

// Stops in the middle of one record, as a reader that meets data it cannot handle would.
class ThrowingImport : public ImportGedcomThread {
public:
    using ImportGedcomThread::ImportGedcomThread;
    QString failingRecord;

protected:
    void processINDI(GedRec* indi) override
    {
        if (indi->ptr() == failingRecord)
            throw std::runtime_error("disk on fire");
        ImportGedcomThread::processINDI(indi);
    }
};

QString gedcom(const QString& body, const QString& source = QStringLiteral("Test program"))
{
    return QStringLiteral("0 HEAD\n1 SOUR %1\n1 CHAR UTF-8\n").arg(source) + body + QStringLiteral("0 TRLR\n");
}

QList<FTPerson*> peopleOf(FTMoc& moc)
{
    return moc.fetch<FTPerson>({}, [](const FTPerson* a, const FTPerson* b) { return a->numericId() < b->numericId(); });
}

FTPerson* personNumbered(FTMoc& moc, int id)
{
    return moc.fetchFirst<FTPerson>([id](const FTPerson* p) { return p->numericId() == id; });
}

QList<FTEvent*> eventsOf(const FTPerson* p)
{
    QList<FTEvent*> events;
    if (p->birth())
        events << p->birth();
    if (p->death())
        events << p->death();
    QList<FTEvent*> others = p->otherEvents();
    std::sort(others.begin(), others.end(), [](FTEvent* a, FTEvent* b) { return a->numericId() < b->numericId(); });
    return events + others;
}

class ImportGedcomTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Prompts::install(&prompts);
        savedHooks = ModelHooks::shared();
        ModelHooks::shared() = ModelHooks();
        ModelHooks::shared().dataDirectory = [this] { return dir.path() + "/data"; };
        ModelHooks::shared().terminate = [] {};
    }
    void TearDown() override
    {
        Prompts::install(nullptr);
        ModelHooks::shared() = savedHooks;
    }

    // A request for a new database in a folder of its own, so each import has its own logs.
    ImportGedcomThread::Request request(const QString& gedcomPath)
    {
        const QString folder = QStringLiteral("%1/run%2").arg(dir.path()).arg(++runs);
        QDir().mkpath(folder);
        lastFolder = folder;
        ImportGedcomThread::Request r;
        r.gedcomFilename = gedcomPath;
        r.databaseFilename = folder + "/" + QFileInfo(gedcomPath).completeBaseName() + ".RezUdu";
        r.tempFolder = folder + "/temp";
        return r;
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.path() + "/" + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    ImportGedcomOutcome importFile(const QString& path)
    {
        ImportGedcomThread worker(request(path), &recorder);
        return worker.loadGedFileThread();
    }

    ImportGedcomOutcome importText(const QString& text)
    {
        return importFile(writeFile(QStringLiteral("t%1.ged").arg(runs + 1), text.toUtf8()));
    }

    std::unique_ptr<FTMoc> open(const ImportGedcomOutcome& outcome)
    {
        EXPECT_TRUE(outcome.succeeded) << outcome.message.toStdString();
        auto moc = FTMoc::initForStoreURL(outcome.databaseFilename, true);
        EXPECT_TRUE(moc);
        return moc;
    }

    QString unprocessedLog() const
    {
        QFile f(lastFolder + "/UnprocessedGedRecs.txt");
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    // The numbers of the lines the log lists as not imported ("->").
    std::set<int> unprocessedLineNumbers() const
    {
        std::set<int> numbers;
        static const QRegularExpression re(QStringLiteral(R"(^line (\d+)\. ->)"), QRegularExpression::MultilineOption);
        auto it = re.globalMatch(unprocessedLog());
        while (it.hasNext())
            numbers.insert(it.next().captured(1).toInt());
        return numbers;
    }

    QTemporaryDir dir {TestSupport::tempRoot() + "/import-XXXXXX"};
    ScriptedPrompts prompts;
    ModelHooks savedHooks;
    Recorder recorder;
    QString lastFolder;
    int runs = 0;
};

// ---- The same family from every character set and line end ----------------------------------------------------

// What the database holds, as text: people with their fields and events.
QString dump(FTMoc& moc)
{
    QString out;
    for (FTPerson* p : peopleOf(moc)) {
        out += QStringLiteral("P%1 %2 [%3] family=%4 notes=%5 comments=%6\n")
                   .arg(p->numericId())
                   .arg(p->name(), p->gender(), p->familyName(), p->notes(), p->comments());
        for (FTEvent* e : eventsOf(p))
            out += QStringLiteral("  E%1 %2 %3 date=%4 (%5 %6 %7 %8) place=%9 notes=%10\n")
                       .arg(e->type())
                       .arg(e->subtype(), e->name(), e->date())
                       .arg(e->qual())
                       .arg(e->day())
                       .arg(e->month())
                       .arg(e->year())
                       .arg(e->place(), e->notes());
    }
    return out;
}

// The ASCII fixture is the same family with every letter outside ASCII written plainly.
QString asciiOnly(QString text)
{
    text.replace(QStringLiteral("ß"), QStringLiteral("ss"));
    text.replace(QStringLiteral("ø"), QStringLiteral("o"));
    text.replace(QStringLiteral("£"), QStringLiteral("GBP "));
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    return out;
}

TEST_F(ImportGedcomTest, EveryCharacterSetAndLineEndGivesTheSameDatabase)
{
    const ImportGedcomOutcome reference = importFile(TestSupport::dataFile("charsets/family-utf8.ged"));
    auto referenceMoc = open(reference);
    const QString expected = dump(*referenceMoc);
    // What the family holds, so that a broken reference cannot pass the comparisons below.
    ASSERT_EQ(reference.people, 3);
    EXPECT_TRUE(expected.contains(QStringLiteral("José Müller [M] family=Müller")));
    EXPECT_TRUE(expected.contains(QStringLiteral("place=Zürich, Schweiz")));
    EXPECT_TRUE(expected.contains(QStringLiteral("notes=Born in the old town; his father Noël was  a baker in the "
                                                 "Straße am Fluß.\n  Second paragraph, kept as written.")));
    EXPECT_TRUE(expected.contains(QStringLiteral("notes=Mail: soren@example.com, £5 paid")));

    const QStringList fixtures = {"family-utf8-bom.ged",    "family-ansel.ged",      "family-cp1252.ged",
                                  "family-macroman.ged",    "family-utf16le-bom.ged", "family-utf16be-bom.ged",
                                  "family-utf16le.ged",     "family-utf16be.ged",    "family-ascii.ged"};
    for (const QString& name : fixtures) {
        SCOPED_TRACE(name.toStdString());
        const ImportGedcomOutcome outcome = importFile(TestSupport::dataFile("charsets/" + name));
        auto moc = open(outcome);
        ASSERT_TRUE(moc);
        EXPECT_EQ(dump(*moc), name.contains("ascii") ? asciiOnly(expected) : expected);
    }

    QFile f(TestSupport::dataFile("charsets/family-utf8.ged"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray lf = f.readAll();
    for (const QByteArray& ending : {QByteArray("\r\n"), QByteArray("\r")}) {
        SCOPED_TRACE(ending.toHex().toStdString());
        QByteArray bytes = lf;
        bytes.replace("\n", ending);
        auto moc = open(importFile(writeFile(QStringLiteral("family-%1.ged").arg(QString(ending.toHex())), bytes)));
        ASSERT_TRUE(moc);
        EXPECT_EQ(dump(*moc), expected);
    }
}

// ---- A large real file ---------------------------------------------------------------------------------------------

TEST_F(ImportGedcomTest, Royal92ImportsEveryPersonAndLogsEveryLineNotImported)
{
    const QString path = TestSupport::dataFile("royal92.ged");
    const ImportGedcomOutcome outcome = importFile(path);
    auto moc = open(outcome);
    ASSERT_TRUE(moc);
    EXPECT_EQ(outcome.people, 3010);
    EXPECT_EQ(moc->count<FTPerson>(), 3010);

    FTPerson* victoria = personNumbered(*moc, 1);
    ASSERT_TRUE(victoria);
    EXPECT_EQ(victoria->name(), "Victoria Hanover");
    EXPECT_EQ(victoria->title(), "Queen of England");
    EXPECT_TRUE(victoria->isFemale());
    EXPECT_EQ(victoria->userId(), "1");
    ASSERT_TRUE(victoria->birth());
    EXPECT_EQ(victoria->birth()->date(), "24 May 1819");
    EXPECT_EQ(victoria->birth()->place(), "Kensington, Palace, London, England");
    ASSERT_TRUE(victoria->death());
    EXPECT_EQ(victoria->death()->year(), 1901);

    // Which lines stay out until families are imported: the family and submitter records, the people's links to
    // their families, and the header's destination and file name. Exactly those are listed, each once.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    std::set<int> expected;
    QByteArray record, level1;
    for (int i = 0; i < lines.size(); ++i) {
        const QList<QByteArray> w = lines[i].trimmed().split(' ');
        if (w.size() < 2)
            continue;
        const QByteArray tag = w[1].startsWith('@') && w.size() > 2 ? w[2] : w[1];
        if (w[0] == "0")
            record = tag;
        if (w[0] == "1")
            level1 = tag;
        const bool out = record == "FAM" || record == "SUBM"
            || (record == "INDI" && w[0] != "0" && (level1 == "FAMS" || level1 == "FAMC"))
            || (record == "HEAD" && w[0] != "0" && (level1 == "DEST" || level1 == "FILE"));
        if (out)
            expected.insert(i + 1);
    }
    EXPECT_EQ(unprocessedLineNumbers(), expected);
    EXPECT_EQ(outcome.unprocessedLines, int(expected.size()));
    EXPECT_TRUE(unprocessedLog().contains(
        QStringLiteral("Total unprocessed GedRecs: %1 = ").arg(expected.size())));
    // Dates the import had to change are reported, with the value as written kept in the notes.
    EXPECT_TRUE(unprocessedLog().contains(QStringLiteral(
        "INDI.BIRT.DATE, date format not valid for Kinloom, value = \"1815/1816\", date converted to an about date")));

    // New people numbered after the import take numbers above every imported one.
    EXPECT_GE(moc->modelDefaults()->maxPersonId(), 3010);
    EXPECT_GE(moc->modelDefaults()->maxEventId(), outcome.events);
}

// ---- People --------------------------------------------------------------------------------------------------------

TEST_F(ImportGedcomTest, NamesKeepPrefixesSuffixesAndTextAfterTheFamilyName)
{
    struct Case {
        const char* value;
        QString name;
        QString familyName;
        bool logged;
    };
    const QList<Case> cases = {
        {"John /Smith/", "John Smith", "Smith", false},
        {"John  /Smith/  ", "John Smith", "Smith", false},
        {"John /van der Berg/", QStringLiteral("John van%1der%1Berg").arg(kNbsp), QStringLiteral("van%1der%1Berg").arg(kNbsp), false},
        {"John /Smith/ Jr", "John Smith Jr", "Smith Jr", false},
        {"John /Smith/ III", "John Smith III", "Smith III", false},
        {"/Kovacs/ Janos", "Kovacs Janos", "Kovacs", true},
        {"John /Smith/ of Leeds", "John Smith of Leeds", "Smith", true},
        {"Victoria Adelaide Mary//", "Victoria Adelaide Mary", "Mary", false},
    };
    QString body;
    for (int i = 0; i < cases.size(); ++i)
        body += QStringLiteral("0 @I%1@ INDI\n1 NAME %2\n").arg(i + 1).arg(QString::fromUtf8(cases[i].value));
    body += "0 @I50@ INDI\n1 SEX M\n";
    auto moc = open(importText(gedcom(body)));
    ASSERT_TRUE(moc);
    const QString log = unprocessedLog();
    for (int i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].value);
        FTPerson* p = personNumbered(*moc, i + 1);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->name(), cases[i].name);
        EXPECT_EQ(p->familyName(), cases[i].familyName);
    }
    EXPECT_EQ(personNumbered(*moc, 6)->givenNames(), "Janos");
    EXPECT_EQ(personNumbered(*moc, 7)->givenNames(), "John of Leeds");
    EXPECT_TRUE(log.contains(QStringLiteral(
        "INDI.NAME, invalid value = \"/Kovacs/ Janos\", no action, the text after the family name, \"Janos\", is kept "
        "in the name")));
    EXPECT_TRUE(log.contains(QStringLiteral("the text after the family name, \"of Leeds\", is kept in the name")));
    EXPECT_EQ(log.count(QStringLiteral("is kept in the name")), 2);
    // A record without a name.
    EXPECT_EQ(personNumbered(*moc, 50)->name(), "Unknown");
}

TEST_F(ImportGedcomTest, NamePiecesAndAlternateNamesGoToTheComments)
{
    auto moc = open(importText(gedcom("0 @I1@ INDI\n"
                                      "1 NAME William /Brown/\n"
                                      "2 NPFX Sir\n"
                                      "2 GIVN William\n"
                                      "2 NSFX Bt\n"
                                      "2 _PREF yes\n"
                                      "1 NAME Bill /Brown/\n")));
    ASSERT_TRUE(moc);
    FTPerson* p = personNumbered(*moc, 1);
    EXPECT_EQ(p->name(), "William Brown");
    EXPECT_EQ(p->comments(), "Name prefix = Sir\nGiven name = William\nName Suffix = Bt\nAlternate name = Bill Brown");
    const QString log = unprocessedLog();
    EXPECT_TRUE(log.contains("INDI.NAME, duplicate name, appended to Comments, Alternate name for William Brown"));
    // An unknown line under the name is reported and listed.
    EXPECT_TRUE(log.contains("INDI.NAME._PREF, custom tag not recognised by Kinloom, record ignored"));
    EXPECT_TRUE(log.contains("->      2 INDI.NAME._PREF yes"));
}

TEST_F(ImportGedcomTest, GenderIsMaleOrFemaleAsGivenAndOtherwiseUnknown)
{
    const QList<std::pair<const char*, const char*>> cases = {
        {"1 SEX M\n", "M"}, {"1 SEX F\n", "F"}, {"1 SEX Male\n", "M"}, {"1 SEX f\n", "F"},
        {"1 SEX U\n", ""},  {"", ""},           {"1 SEX X\n", ""},
    };
    QString body;
    for (int i = 0; i < cases.size(); ++i)
        body += QStringLiteral("0 @I%1@ INDI\n1 NAME P%1 /Test/\n%2").arg(i + 1).arg(cases[i].first);
    auto moc = open(importText(gedcom(body)));
    ASSERT_TRUE(moc);
    for (int i = 0; i < cases.size(); ++i)
        EXPECT_EQ(personNumbered(*moc, i + 1)->gender(), cases[i].second) << cases[i].first;
    EXPECT_TRUE(unprocessedLog().contains("INDI.SEX, unrecognised value \"X\", record ignored"));
}

TEST_F(ImportGedcomTest, NumbersReferencesChangeDatesAndUnknownLines)
{
    auto moc = open(importText(gedcom("0 @I7@ INDI\n"
                                      "1 NAME Ann /Lee/\n"
                                      "1 REFN 123\n"
                                      "1 AFN 9XY-1\n"
                                      "1 RIN 5\n"
                                      "1 CHAN\n"
                                      "2 DATE 3 MAR 2005\n"
                                      "3 TIME 14:22:10\n"
                                      "1 ALIA Annie\n"
                                      "1 _UID 1234\n"
                                      "0 @I7@ INDI\n"
                                      "1 NAME Second /Seven/\n"
                                      "0 INDI\n"
                                      "1 NAME No /Number/\n"
                                      "1 CHAN\n"
                                      "2 DATE 31 FEB 2005\n")));
    ASSERT_TRUE(moc);
    FTPerson* ann = personNumbered(*moc, 7);
    ASSERT_TRUE(ann);
    EXPECT_EQ(ann->userId(), "123");
    EXPECT_EQ(ann->ancestralFileNumber(), "9XY-1");
    EXPECT_EQ(ann->lastChange(), QDateTime(QDate(2005, 3, 3), QTime(14, 22, 10)));
    EXPECT_EQ(ann->comments(), "1 ALIA Annie\n1 _UID 1234");
    // A second record of the same identifier and a record without one get numbers of their own.
    QSet<int> ids;
    for (FTPerson* p : peopleOf(*moc))
        ids.insert(p->numericId());
    EXPECT_EQ(ids, (QSet<int>{7, 8, 9}));
    const QString log = unprocessedLog();
    EXPECT_TRUE(log.contains("->   1 INDI.RIN 5"));
    EXPECT_TRUE(log.contains("INDI.ALIA, tag not recognised by Kinloom, appended to Comments with sub-records"));
    EXPECT_TRUE(log.contains("INDI._UID, custom tag not recognised by Kinloom, appended to Comments"));
    EXPECT_TRUE(log.contains("INDI.CHAN.DATE, date format not valid for Kinloom, value = \"31 FEB 2005\", record ignored"));
}

// ---- Notes ---------------------------------------------------------------------------------------------------------

TEST_F(ImportGedcomTest, NotesJoinContinuationLinesKeepBlanksAndUndoubleAtSigns)
{
    auto moc = open(importText(gedcom("0 @I1@ INDI\n"
                                      "1 NAME A /Note/\n"
                                      "1 NOTE First part\n"
                                      "2 CONC  second\n"
                                      "2 CONT Next line\n"
                                      "2 CONT\n"
                                      "2 CONT   indented  text \n"
                                      "1 NOTE mail a@@b.org or @@@@home\n"
                                      "1 NOTE @N1@\n"
                                      "1 NOTE @N99@\n"
                                      "0 @I2@ INDI\n"
                                      "1 NAME B /Note/\n"
                                      "1 NOTE @N1@\n"
                                      "1 BIRT\n"
                                      "2 NOTE Born at sea\n"
                                      "3 CONT on a Tuesday\n"
                                      "0 @N1@ NOTE Shared\n"
                                      "1 CONC  record\n"
                                      "1 CONT text\n"
                                      "0 @N2@ NOTE Never used\n")));
    ASSERT_TRUE(moc);
    FTPerson* a = personNumbered(*moc, 1);
    EXPECT_EQ(a->notes(), "First part second\nNext line\n\n  indented  text\n"
                          "mail a@b.org or @@home\nShared record\ntext");
    FTPerson* b = personNumbered(*moc, 2);
    EXPECT_EQ(b->notes(), "Shared record\ntext");
    EXPECT_EQ(b->birth()->notes(), "Born at sea\non a Tuesday");
    const QString log = unprocessedLog();
    EXPECT_TRUE(log.contains("INDI.NOTE, invalid Gedcom pointer value = \"N99\", record ignored, Pointer = N99"));
    EXPECT_TRUE(log.contains("->0 @N2@ NOTE Never used"));
    EXPECT_FALSE(log.contains("@N1@ NOTE"));
}

// ---- Events and dates ----------------------------------------------------------------------------------------------

TEST_F(ImportGedcomTest, EventsTakeTheirTypeNameDatePlaceAndDetails)
{
    auto moc = open(importText(gedcom("0 @I1@ INDI\n"
                                      "1 NAME Tom /Event/\n"
                                      "1 BIRT\n"
                                      "2 DATE 12 MAR 1850\n"
                                      "2 PLAC Leeds ,, Yorkshire, England,\n"
                                      "1 BIRT\n"
                                      "2 DATE 1851\n"
                                      "1 EVEN\n"
                                      "2 TYPE Military service\n"
                                      "2 DATE 1870\n"
                                      "1 EVEN\n"
                                      "2 TYPE EVEN\n"
                                      "1 OCCU Farmer\n"
                                      "1 TITL Sir\n"
                                      "1 RESI\n"
                                      "2 ADDR 12 High St\n"
                                      "3 CITY Leeds\n"
                                      "2 PHON 555 1234\n"
                                      "2 AGE 30\n"
                                      "2 _XYZ custom\n"
                                      "1 DEAT Y\n"
                                      "2 CAUS Fever\n"
                                      "1 BURI Y\n"
                                      "1 _MYEV Graduation party\n"
                                      "2 DATE 1872\n")));
    ASSERT_TRUE(moc);
    FTPerson* tom = personNumbered(*moc, 1);
    ASSERT_TRUE(tom && tom->birth() && tom->death());
    EXPECT_EQ(tom->birth()->subtype(), "BIRT");
    EXPECT_EQ(tom->birth()->date(), "12 Mar 1850");
    EXPECT_EQ(tom->birth()->place(), "Leeds, Yorkshire, England");
    EXPECT_EQ(tom->death()->date(), "Y");
    EXPECT_EQ(tom->death()->name(), "Death");
    EXPECT_EQ(tom->death()->causeOfEvent(), "Fever");
    EXPECT_EQ(tom->causeOfDeath(), "Fever");
    EXPECT_EQ(tom->title(), "Farmer, Sir");

    QStringList others;
    for (FTEvent* e : eventsOf(tom).mid(2))
        others << QStringLiteral("%1 %2 %3 %4 [%5]").arg(e->type()).arg(e->subtype(), e->name(), e->date(), e->notes().replace("\n", " / "));
    EXPECT_EQ(others, (QStringList{
                          "303 EVEN Alternate Birth 1851 []",
                          "303 EVEN Military service 1870 []",
                          "303 EVEN Other Event  []",
                          "303 OCCU Farmer  []",
                          "303 TITL Sir  []",
                          "303 RESI Residence  [Address: 12 High St, Leeds / Phone: 555 1234]",
                          "303 BURI Burial  []",
                          "303 EVEN _MYEV Graduation party 1872 []",
                      }));
    const QString log = unprocessedLog();
    EXPECT_TRUE(log.contains("INDI._MYEV, custom tag not recognised by Kinloom, loaded as an EVEN event record"));
    EXPECT_TRUE(log.contains("INDI.RESI._XYZ, custom tag not recognised by Kinloom, record ignored"));
    EXPECT_TRUE(log.contains("->      2 INDI.RESI.AGE 30"));
    EXPECT_TRUE(log.contains("INDI.RESI.ADDR, tag not recognised by Kinloom, appended to Notes with sub-records"));
}

TEST_F(ImportGedcomTest, DatesAreReadQualifiedOrKeptInTheNotes)
{
    struct Case {
        const char* value;
        const char* date;
        int qual;
        const char* notes;
        const char* logged; // the action the log names, or "" when the date was read as written
    };
    const QList<Case> cases = {
        {"ABT 1850", "abt 1850", 1, "", ""},
        {"BEF 3 MAR 1850", "bef 03 Mar 1850", 2, "", ""},
        {"AFT MAR 1850", "aft Mar 1850", 3, "", ""},
        {"BET 1850 AND 1860", "abt 1855", 1, "BET 1850 AND 1860", "date converted to an about date"},
        {"FROM 1 JAN 1900 TO 1910", "01 Jan 1900", 0, "FROM 1 JAN 1900 TO 1910", "date converted to an about date"},
        {"1750/51", "abt 1750", 1, "1750/51", "date converted to an about date"},
        {"Est 1820", "abt 1820", 1, "", "date converted to an about date"},
        {"sometime in spring", "", 0, "sometime in spring", "appended to Notes"},
        {"CAL 1850", "", 0, "CAL 1850", "appended to Notes"},
    };
    QString body = "0 @I1@ INDI\n1 NAME D /Dates/\n";
    for (const Case& c : cases)
        body += QStringLiteral("1 RESI\n2 DATE %1\n").arg(QString::fromUtf8(c.value));
    auto moc = open(importText(gedcom(body)));
    ASSERT_TRUE(moc);
    const QList<FTEvent*> events = eventsOf(personNumbered(*moc, 1));
    ASSERT_EQ(events.size(), cases.size());
    const QString log = unprocessedLog();
    for (int i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.value);
        EXPECT_EQ(events[i]->date(), c.date);
        EXPECT_EQ(events[i]->qual(), c.qual);
        EXPECT_EQ(events[i]->notes(), c.notes);
        EXPECT_EQ(events[i]->gedcomDate(), c.value);
        const QString line = QStringLiteral("INDI.RESI.DATE, date format not valid for Kinloom, value = \"%1\", %2")
                                 .arg(QString::fromUtf8(c.value), QString::fromUtf8(c.logged));
        EXPECT_EQ(log.contains(line), *c.logged != 0);
    }
}

// ---- LDS ordinances and associations -------------------------------------------------------------------------------

TEST_F(ImportGedcomTest, OrdinancesAndAssociations)
{
    auto moc = open(importText(gedcom("0 @I1@ INDI\n"
                                      "1 NAME Lds /Person/\n"
                                      "1 BAPL\n"
                                      "2 STAT COMPLETED\n"
                                      "2 DATE 5 MAY 1990\n"
                                      "2 TEMP SLAKE\n"
                                      "1 ENDL COMPLETED\n"
                                      "1 SLGC\n"
                                      "2 FAMC @F3@\n"
                                      "1 ASSO @I2@\n"
                                      "2 TYPE INDI\n"
                                      "2 RELA Godfather\n"
                                      "2 NOTE Stood in\n"
                                      "3 CONC  for the uncle\n"
                                      "1 ASSO @I999@\n"
                                      "2 RELA Witness\n"
                                      "0 @I2@ INDI\n"
                                      "1 NAME God /Father/\n")));
    ASSERT_TRUE(moc);
    FTPerson* p = personNumbered(*moc, 1);
    const QList<FTEvent*> events = eventsOf(p);
    ASSERT_EQ(events.size(), 3);
    EXPECT_EQ(events[0]->subtype(), "BAPL");
    EXPECT_EQ(events[0]->type(), FTEvent::OtherPersonalEvent);
    EXPECT_EQ(events[0]->ldsStatus(), "COMPLETED");
    EXPECT_EQ(events[0]->ldsTempleCode(), "SLAKE");
    EXPECT_EQ(events[0]->date(), "05 May 1990");
    EXPECT_EQ(events[1]->subtype(), "ENDL");
    EXPECT_EQ(events[1]->ldsStatus(), "COMPLETED");

    const QList<FTAssociation*> associations = moc->fetch<FTAssociation>();
    ASSERT_EQ(associations.size(), 1);
    EXPECT_EQ(associations[0]->fromPerson(), p);
    EXPECT_EQ(associations[0]->toPerson(), personNumbered(*moc, 2));
    EXPECT_EQ(associations[0]->fromRelationship(), "Godfather");
    EXPECT_EQ(associations[0]->notes(), "Stood in for the uncle");
    const QString log = unprocessedLog();
    EXPECT_TRUE(log.contains("INDI.ASSO, invalid Gedcom pointer value = \"I999\", record ignored, Pointer = I999"));
    EXPECT_TRUE(log.contains("->      2 INDI.ASSO.TYPE INDI"));
    // The sealing's family is not imported yet: its line waits in the log.
    EXPECT_TRUE(log.contains("->      2 INDI.SLGC.FAMC @F3@"));
}

// ---- Failures ------------------------------------------------------------------------------------------------------

TEST_F(ImportGedcomTest, AnErrorInOneRecordIsLoggedAndTheImportGoesOn)
{
    const QString path = writeFile("throws.ged", gedcom("0 @I1@ INDI\n1 NAME One /Fine/\n"
                                                        "0 @I2@ INDI\n1 NAME Two /Broken/\n1 BIRT\n2 DATE 1900\n"
                                                        "0 @I3@ INDI\n1 NAME Three /Fine/\n1 BIRT\n2 DATE 1901\n")
                                                     .toUtf8());
    ThrowingImport worker(request(path), &recorder);
    worker.failingRecord = "I2";
    const ImportGedcomOutcome outcome = worker.loadGedFileThread();
    auto moc = open(outcome);
    ASSERT_TRUE(moc);
    EXPECT_EQ(outcome.recordsWithErrors, 1);
    QStringList names;
    for (FTPerson* p : peopleOf(*moc))
        names << p->name();
    EXPECT_EQ(names, (QStringList{"One Fine", "Three Fine"}));
    EXPECT_EQ(personNumbered(*moc, 3)->birth()->year(), 1901);
    const QString log = unprocessedLog();
    EXPECT_TRUE(log.contains("line 6. The INDI @I2@ record could not be imported completely "
                             "(processIndividualsRecords: disk on fire)"))
        << log.toStdString();
    for (const char* line : {"line 6. ->0 @I2@ INDI", "line 7. ->   1 INDI.NAME Two /Broken/",
                             "line 9. ->      2 INDI.BIRT.DATE 1900"})
        EXPECT_TRUE(log.contains(line)) << line;
}

TEST_F(ImportGedcomTest, AFailedSaveFailsTheImportAndRemovesTheDatabase)
{
    const QString path = writeFile("locked.ged", gedcom("0 @I1@ INDI\n1 NAME Locked /Out/\n").toUtf8());
    const ImportGedcomThread::Request r = request(path);
    // Another program holds the new database locked when the import first saves.
    SqliteDatabase other;
    recorder.onStatus = [&](const QString& text) {
        if (other.isOpen() || !text.startsWith("Processing Individuals' Attributes"))
            return;
        ASSERT_TRUE(other.open(r.databaseFilename, SqliteDatabase::Mode::ReadWrite, nullptr));
        ASSERT_TRUE(other.exec("BEGIN EXCLUSIVE"));
    };
    ImportGedcomThread worker(r, &recorder);
    const ImportGedcomOutcome outcome = worker.loadGedFileThread();
    EXPECT_TRUE(other.isOpen());
    other.close();

    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.message.startsWith("An error has occurred.")) << outcome.message.toStdString();
    EXPECT_TRUE(outcome.databaseFilename.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(r.databaseFilename));
    EXPECT_EQ(recorder.finished, 1);
    EXPECT_EQ(recorder.outcome.message, outcome.message);
}

TEST_F(ImportGedcomTest, BadFilesFailWithTheirReasonAndLeaveNoDatabase)
{
    struct Case {
        QByteArray bytes;
        const char* reason;
    };
    const QList<Case> cases = {
        {"1 INDI\nnot a gedcom file\n", "Unable to read the Gedcom file."},
        {"0 HEAD\n0 @H2@ HEAD\n0 TRLR\n", "Unable to process the Header and Trailer records in the Gedcom file."},
    };
    for (const Case& c : cases) {
        const ImportGedcomOutcome outcome = importFile(writeFile(QStringLiteral("bad%1.ged").arg(runs), c.bytes));
        EXPECT_FALSE(outcome.succeeded);
        EXPECT_EQ(outcome.message, c.reason);
        EXPECT_TRUE(outcome.databaseFilename.isEmpty());
        EXPECT_TRUE(QDir(lastFolder).entryList({"*.RezUdu"}).isEmpty());
    }
    EXPECT_TRUE(recorder.alerts.contains("Cannot process a Gedcom file with more than one HEADer record"));

    // An existing database is never overwritten.
    const QString gedcomPath = writeFile("exists.ged", gedcom("").toUtf8());
    ImportGedcomThread::Request r = request(gedcomPath);
    QFile old(r.databaseFilename);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("precious");
    old.close();
    const ImportGedcomOutcome outcome = ImportGedcomThread(r, &recorder).loadGedFileThread();
    EXPECT_FALSE(outcome.succeeded);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "precious");
}

// ---- The worker thread ---------------------------------------------------------------------------------------------

TEST_F(ImportGedcomTest, TheWorkerReportsOnTheMainThreadAndOneImportRunsAtATime)
{
    struct ThreadRecorder : Recorder {
        QEventLoop loop;
        bool offMainThread = false;
        void setDialogMessage(const QString& text) override
        {
            offMainThread = offMainThread || !MainThread::isMainThread();
            Recorder::setDialogMessage(text);
        }
        void importFinished(const ImportGedcomOutcome& o) override
        {
            offMainThread = offMainThread || !MainThread::isMainThread();
            Recorder::importFinished(o);
            loop.quit();
        }
    } listener;
    const QString path = TestSupport::dataFile("royal92.ged");
    ASSERT_TRUE(ImportGedcomThread::startImport(request(path), &listener));
    EXPECT_TRUE(ImportGedcomThread::importIsRunning());
    EXPECT_FALSE(ImportGedcomThread::startImport(request(path), &listener));
    QTimer::singleShot(60000, &listener.loop, &QEventLoop::quit);
    listener.loop.exec();

    ASSERT_EQ(listener.finished, 1);
    EXPECT_FALSE(listener.offMainThread);
    EXPECT_FALSE(ImportGedcomThread::importIsRunning());
    EXPECT_TRUE(listener.outcome.succeeded) << listener.outcome.message.toStdString();
    EXPECT_EQ(listener.outcome.people, 3010);
    EXPECT_TRUE(listener.statuses.contains("Processing Individuals' Events - Validating and Saving"));
    EXPECT_TRUE(listener.sourceInfo.startsWith("The Gedcom file was created by\nPAF 2.2\n"));
    EXPECT_EQ(listener.outcome.logFiles, QStringList{QFileInfo(listener.outcome.databaseFilename).absolutePath()
                                                     + "/UnprocessedGedRecs.txt"});

    // The new database says where it came from.
    const QVariantMap info = ObjectContext::metadataForStoreAt(listener.outcome.databaseFilename)
                                 .value("GedcomLoadInformation")
                                 .toMap();
    EXPECT_EQ(info.value("Application that wrote the Gedcom File"), "PAF 2.2");
    EXPECT_EQ(info.value("Character encoding"), "ANSEL");
    EXPECT_EQ(info.value("Gedcom file that was read"), path);
}

} // namespace
