#include "gedcom/GedRec.h"
#include "gedcom/ImportGedcomListener.h"
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"
#include "model/FTAssociation.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/ModelHooks.h"
#include "platform/AppPaths.h"
#include "platform/MainThread.h"
#include "platform/ScriptedPrompts.h"
#include "platform/store/SqliteDatabase.h"
#include "shell/Utils.h"

#include "ImportFixture.h"
#include "QtPrinters.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <stdexcept>

#include <sys/stat.h>

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

class ImportGedcomTest : public ImportFixture {
protected:
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

    Recorder recorder;
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

// What the file says, counted from its lines: the records of each kind, the families' partner, child and marriage
// lines, and which lines no pass reads (the submitter record, the header's destination and file name).
struct FileCounts {
    int people = 0, families = 0, children = 0, marriages = 0, divorces = 0, missingHusbands = 0, missingWives = 0;
    std::set<int> notImported;
};

FileCounts countLines(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    FileCounts c;
    QByteArray record, level1;
    bool husband = false, wife = false;
    auto endFamily = [&] {
        if (record == "FAM") {
            c.missingHusbands += !husband;
            c.missingWives += !wife;
        }
    };
    for (int i = 0; i < lines.size(); ++i) {
        const QList<QByteArray> w = lines[i].trimmed().split(' ');
        if (w.size() < 2)
            continue;
        const QByteArray tag = w[1].startsWith('@') && w.size() > 2 ? w[2] : w[1];
        if (w[0] == "0") {
            endFamily();
            record = tag;
            husband = wife = false;
            c.people += tag == "INDI";
            c.families += tag == "FAM";
        }
        if (w[0] == "1") {
            level1 = tag;
            if (record == "FAM") {
                husband |= tag == "HUSB";
                wife |= tag == "WIFE";
                c.children += tag == "CHIL";
                c.marriages += tag == "MARR";
                c.divorces += tag == "DIV";
            }
        }
        if (record == "SUBM" || (record == "HEAD" && w[0] != "0" && (level1 == "DEST" || level1 == "FILE")))
            c.notImported.insert(i + 1);
    }
    endFamily();
    return c;
}

TEST_F(ImportGedcomTest, Royal92ImportsEveryPersonFamilyAndMarriageAndLogsEveryLineNotImported)
{
    const QString path = TestSupport::dataFile("royal92.ged");
    const FileCounts file = countLines(path);
    ASSERT_EQ(file.people, 3010);
    ASSERT_EQ(file.families, 1422);
    const ImportGedcomOutcome outcome = importFile(path);
    auto moc = open(outcome);
    ASSERT_TRUE(moc);

    // Every person of the file, and a partner made up for each family that names only one.
    const int placeholders = file.missingHusbands + file.missingWives;
    EXPECT_EQ(placeholders, 284);
    EXPECT_EQ(outcome.people, file.people + placeholders);
    EXPECT_EQ(moc->count<FTPerson>([](const FTPerson* p) {
                  return p->name().startsWith("Husband of ") || p->name().startsWith("Wife of ");
              }),
              placeholders);
    // One couple a family, a link from each partner to each child, a marriage event for every couple: those of the
    // file with their dates and places, the rest empty.
    EXPECT_EQ(outcome.families, file.families);
    EXPECT_EQ(outcome.parentChildLinks, 2 * file.children);
    EXPECT_EQ(moc->count<FTPcRel>([](const FTPcRel* l) { return l->intPcRelType() != FTPcRel::kNatural; }), 0);
    EXPECT_EQ(moc->count<FTEvent>([](const FTEvent* e) { return e->type() == FTEvent::MarriageEvent; }), file.families);
    EXPECT_EQ(moc->count<FTEvent>([](const FTEvent* e) {
                  return e->type() == FTEvent::MarriageEvent && !e->isEmptyEvent();
              }),
              file.marriages);
    EXPECT_EQ(moc->count<FTEvent>([](const FTEvent* e) { return e->subtype() == "DIV"; }), file.divorces);

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
    ASSERT_EQ(victoria->spouses().size(), 1);
    EXPECT_EQ(victoria->spouses().first()->name(), "Albert Augustus Charles");
    EXPECT_EQ(victoria->spouseRels().first()->marriage()->date(), "10 Feb 1840");
    EXPECT_EQ(victoria->naturalChildren().size(), 9);

    EXPECT_EQ(unprocessedLineNumbers(), file.notImported);
    EXPECT_EQ(outcome.unprocessedLines, int(file.notImported.size()));
    const QString log = unprocessedLog();
    EXPECT_TRUE(log.contains(QStringLiteral("Total unprocessed GedRecs: %1 = ").arg(file.notImported.size())));
    // Dates the import had to change are reported, with the value as written kept in the notes.
    EXPECT_TRUE(log.contains(QStringLiteral(
        "INDI.BIRT.DATE, date format not valid for Kinloom, value = \"1815/1816\", date converted to an about date")));
    // The validation's findings follow, and stand in their own file.
    QFile validation(lastFolder + "/ValidationErrors.txt");
    ASSERT_TRUE(validation.open(QIODevice::ReadOnly));
    const QString findings = QString::fromUtf8(validation.readAll());
    EXPECT_TRUE(findings.contains("Inconsistent dates: Henry Brand, born 1941, died 1906"));
    EXPECT_TRUE(findings.contains("There are 3 people who are not connected to anyone else"));
    EXPECT_TRUE(findings.contains("No one is his or her own ancestor."));
    EXPECT_TRUE(log.endsWith(findings.mid(findings.indexOf("\n\nInconsistent dates"))));

    // New records made after the import take numbers above every imported one.
    EXPECT_GE(moc->modelDefaults()->maxPersonId(), outcome.people);
    EXPECT_GE(moc->modelDefaults()->maxEventId(), outcome.events);
    EXPECT_GE(moc->modelDefaults()->maxSpouseRelId(), outcome.families);
}

// The build makes the sample database offered at first start from the same file with this import.
TEST(SampleDatabase, TheBuildMadeRoyal92FromTheSampleFile)
{
    const QString path = AppPaths::sharedSupportDirectory() + "/Royal92.RezUdu";
    ASSERT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
    const FileCounts file = countLines(AppPaths::sharedSupportDirectory() + "/royal92.ged");
    // A copy: opening stamps and repairs the file, and the build's copy stays as the build made it.
    const QString copy = TestSupport::tempRoot() + "/Royal92-copy.RezUdu";
    QFile::remove(copy);
    ASSERT_TRUE(QFile::copy(path, copy));
    QFile::setPermissions(copy, QFile::permissions(copy) | QFile::WriteOwner);
    auto moc = FTMoc::initForStoreURL(copy, true);
    ASSERT_TRUE(moc);
    EXPECT_EQ(moc->count<FTPerson>(), file.people + file.missingHusbands + file.missingWives);
    EXPECT_EQ(moc->count<FTSpouseRel>(), file.families);
    EXPECT_EQ(moc->count<FTPcRel>(), 2 * file.children);
    EXPECT_TRUE(personNumbered(*moc, 1)->name() == "Victoria Hanover");
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
        // Blanks beside the slashes go, doubled blanks become one.
        {"John / van  der Berg /", QStringLiteral("John van%1der%1Berg").arg(kNbsp), QStringLiteral("van%1der%1Berg").arg(kNbsp), false},
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

TEST_F(ImportGedcomTest, OwnCommentPointersReadOnlyCommentRecords)
{
    auto moc = open(importText(gedcom("0 @I1@ INDI\n"
                                      "1 NAME Ann /Lee/\n"
                                      "1 _CMTS @IC1@\n"
                                      "0 @I2@ INDI\n"
                                      "1 NAME Bob /Lee/\n"
                                      "1 _CMTS @I3@\n"
                                      "0 @I3@ INDI\n"
                                      "1 NAME Cy /Lee/\n"
                                      "1 _ODD kept in the log\n"
                                      "0 @IC1@ _CMTS First line\n"
                                      "1 CONT second line\n",
                              QStringLiteral("KinloomForVovadid"))));
    ASSERT_TRUE(moc);
    EXPECT_EQ(personNumbered(*moc, 1)->comments(), "First line\nsecond line");
    // A comment pointer to a person is a bad pointer; that person's own lines are still read.
    EXPECT_EQ(personNumbered(*moc, 2)->comments(), "");
    EXPECT_EQ(personNumbered(*moc, 3)->name(), "Cy Lee");
    EXPECT_EQ(personNumbered(*moc, 3)->comments(), "1 _ODD kept in the log");
    EXPECT_TRUE(unprocessedLog().contains("INDI._CMTS, invalid Gedcom pointer value = \"I3\""));
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
                                      "1 CHAN\n"
                                      "2 DATE 14 december 1999\n"
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
    // Month names in any case, written out or not.
    EXPECT_EQ(personNumbered(*moc, 8)->lastChange(), QDateTime(QDate(1999, 12, 14), QTime(0, 0)));
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

TEST_F(ImportGedcomTest, TitleAndCauseOfDeathComeFromTheRightLinesOnce)
{
    // The title gathers each title and occupation once; the person's cause of death is the last cause given on the
    // first death line, not one of a later (alternate) death.
    auto moc = open(importText(gedcom("0 @I1@ INDI\n"
                                      "1 NAME Ann /Cause/\n"
                                      "1 OCCU Farmer\n"
                                      "1 DEAT\n"
                                      "2 CAUS Fever\n"
                                      "2 CAUS Typhus\n"
                                      "1 DEAT\n"
                                      "2 CAUS Drowning\n"
                                      "1 OCCU farmer\n"
                                      "1 TITL\n"
                                      "1 TITL Dr\n"
                                      "0 @I2@ INDI\n"
                                      "1 NAME Bob /Cause/\n"
                                      "1 DEAT Y\n")));
    ASSERT_TRUE(moc);
    FTPerson* ann = personNumbered(*moc, 1);
    ASSERT_TRUE(ann && ann->death());
    EXPECT_EQ(ann->title(), "Farmer, Dr");
    EXPECT_EQ(ann->causeOfDeath(), "Typhus");
    EXPECT_EQ(ann->death()->causeOfEvent(), "Typhus");
    FTPerson* bob = personNumbered(*moc, 2);
    ASSERT_TRUE(bob);
    EXPECT_EQ(bob->title(), "");
    EXPECT_EQ(bob->causeOfDeath(), "");
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
        ASSERT_TRUE(other.open(Utils::partialDatabasePath(r.databaseFilename), SqliteDatabase::Mode::ReadWrite, nullptr));
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
    EXPECT_FALSE(QFileInfo::exists(Utils::partialDatabasePath(r.databaseFilename)));
    EXPECT_EQ(recorder.finished, 1);
    EXPECT_EQ(recorder.outcome.message, outcome.message);
}

// The import window waits for a running import when the program ends, with nothing else turning the event loop.
// The worker's alerts wait for the main thread (here: a picture that cannot be copied, as the data folder cannot be
// made), so the wait must let them through or each thread waits for the other.
TEST_F(ImportGedcomTest, WaitingForTheImportLetsItsAlertsThrough)
{
    struct MainThreadPrompts : ScriptedPrompts {
        void message(const QString& text, const QString& info) override
        {
            MainThread::invokeAndWait([&] { ScriptedPrompts::message(text, info); });
        }
    } alerts;
    Prompts::install(&alerts);
    const QString notAFolder = writeFile("plain-file", "x");
    ModelHooks::shared().dataDirectory = [notAFolder] { return notAFolder + "/data"; };
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(dir.path() + "/portrait.png"));
    const QString path = writeFile("portrait.ged", gedcom("0 @I1@ INDI\n1 NAME Ann /Painted/\n"
                                                          "1 OBJE\n2 FILE portrait.png\n2 FORM png\n").toUtf8());

    ASSERT_TRUE(ImportGedcomThread::startImport(request(path), &recorder));
    EXPECT_TRUE(ImportGedcomThread::waitForImport(TestSupport::kHungRunMilliseconds)) << "the import hung";
    ASSERT_TRUE(waitForImportEnd(&recorder, [&] { return recorder.finished > 0; }));
    EXPECT_TRUE(recorder.outcome.succeeded) << recorder.outcome.message.toStdString();
    ASSERT_EQ(alerts.records.size(), 1);
    EXPECT_TRUE(alerts.records[0].text.contains("portrait.png")) << alerts.records[0].text.toStdString();
    Prompts::install(&prompts);
}

// An error outside any one record stops the whole import, at whatever stage: no database file and no journal are
// left, and the reason is told. (Here the error comes from the dialog's status line, which the import writes
// between its steps: after the first saves, and while the final save is prepared.)
TEST_F(ImportGedcomTest, AnErrorOutsideARecordLeavesNoDatabaseAndNoJournal)
{
    QString body;
    for (int i = 1; i <= 30; ++i)
        body += QStringLiteral("0 @I%1@ INDI\n1 NAME Person%1 /Lee/\n1 BIRT\n2 DATE %2\n").arg(i).arg(1800 + i);
    body += "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n";
    const QString path = writeFile("stopped.ged", gedcom(body).toUtf8());
    for (const char* stage : {"Processing Family Records", "Final Validation and Save"}) {
        SCOPED_TRACE(stage);
        const ImportGedcomThread::Request r = request(path);
        Recorder stopping;
        stopping.onStatus = [&](const QString& text) {
            if (text == QLatin1String(stage))
                throw std::runtime_error("out of memory");
        };
        const ImportGedcomOutcome outcome = ImportGedcomThread(r, &stopping).loadGedFileThread();
        EXPECT_TRUE(stopping.statuses.contains(stage));
        EXPECT_FALSE(outcome.succeeded);
        EXPECT_EQ(outcome.message, "An unexpected error stopped the import: out of memory");
        EXPECT_TRUE(outcome.databaseFilename.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(r.databaseFilename));
        EXPECT_FALSE(QFileInfo::exists(r.databaseFilename + "-journal"));
        EXPECT_TRUE(QDir(lastFolder).entryList({"*.part*"}, QDir::Files | QDir::Hidden).isEmpty());
        EXPECT_EQ(stopping.finished, 1);
    }
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

TEST_F(ImportGedcomTest, AFileKeptInTheTempFolderIsReadAndNeverRewritten)
{
    ImportGedcomThread::Request r = request(dir.path() + "/Kept.ged");
    QDir().mkpath(r.tempFolder);
    r.gedcomFilename = r.tempFolder + "/Kept.ged";
    const QByteArray bytes = gedcom("0 @I1@ INDI\r\n   1 NAME Kept /Safe/\r\n").toUtf8();
    QFile f(r.gedcomFilename);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();

    const ImportGedcomOutcome outcome = ImportGedcomThread(r, &recorder).loadGedFileThread();
    EXPECT_TRUE(outcome.succeeded) << outcome.message.toStdString();
    EXPECT_EQ(outcome.people, 1);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);
    EXPECT_EQ(QDir(r.tempFolder).entryList(QDir::Files), QStringList{"Kept.ged"}) << "the cleaned copy is gone";
}

// ---- The worker thread ---------------------------------------------------------------------------------------------

TEST_F(ImportGedcomTest, TheWorkerReportsOnTheMainThreadAndOneImportRunsAtATime)
{
    struct ThreadRecorder : Recorder {
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
        }
    } listener;
    const QString path = TestSupport::dataFile("royal92.ged");
    ASSERT_TRUE(ImportGedcomThread::startImport(request(path), &listener));
    EXPECT_TRUE(ImportGedcomThread::importIsRunning());
    EXPECT_FALSE(ImportGedcomThread::startImport(request(path), &listener));
    ASSERT_TRUE(waitForImportEnd(&listener, [&] { return listener.finished > 0; }));

    EXPECT_EQ(listener.finished, 1);
    EXPECT_FALSE(listener.offMainThread);
    EXPECT_FALSE(ImportGedcomThread::importIsRunning());
    EXPECT_TRUE(listener.outcome.succeeded) << listener.outcome.message.toStdString();
    EXPECT_EQ(listener.outcome.people, 3294);
    EXPECT_TRUE(listener.statuses.contains("Processing Individuals' Events - Validating and Saving"));
    EXPECT_TRUE(listener.statuses.contains("Processing Family Records - Validating and Saving"));
    EXPECT_TRUE(listener.sourceInfo.startsWith("The Gedcom file was created by\nPAF 2.2\n"));
    const QString folder = QFileInfo(listener.outcome.databaseFilename).absolutePath();
    EXPECT_EQ(listener.outcome.logFiles,
              (QStringList{folder + "/UnprocessedGedRecs.txt", folder + "/ValidationErrors.txt"}));

    // The new database says where it came from.
    const QVariantMap info = ObjectContext::metadataForStoreAt(listener.outcome.databaseFilename)
                                 .value("GedcomLoadInformation")
                                 .toMap();
    EXPECT_EQ(info.value("Application that wrote the Gedcom File"), "PAF 2.2");
    EXPECT_EQ(info.value("Character encoding"), "ANSEL");
    EXPECT_EQ(info.value("Gedcom file that was read"), path);
}

// ---- Families, sources, pictures --------------------------------------------------------------------------------

FTPerson* personNamed(FTMoc& moc, const QString& name)
{
    return moc.fetchFirst<FTPerson>([&](const FTPerson* p) { return p->name() == name; });
}

// The type of the link from parent to child; -1 without one.
int linkType(const FTPerson* parent, const FTPerson* child)
{
    if (!parent || !child)
        return -1;
    for (const FTPcRel* l : parent->children())
        if (l->child() == child)
            return l->intPcRelType();
    return -1;
}

FTPcRel* linkFrom(const FTPerson* parent, const FTPerson* child)
{
    for (FTPcRel* l : parent->children())
        if (l->child() == child)
            return l;
    return nullptr;
}

QString errorLineFor(const QString& log, const QString& path)
{
    static const QRegularExpression re(QStringLiteral(R"(^line \d+\. ([^\n]*)$)"), QRegularExpression::MultilineOption);
    for (auto it = re.globalMatch(log); it.hasNext();) {
        const QString line = it.next().captured(1);
        if (line.startsWith(path + ", "))
            return line;
    }
    return {};
}

void writeImage(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(path, "JPG"));
}

// A GEDCOM file, as a hostile archive may bring it, names files beside it, above it and through symbolic links: only
// pictures, PDFs, sounds and movies by their contents come in, and a link only to a file inside the GEDCOM file's
// folder tree. Each refusal is logged with its line; the picture stays, without the file.
TEST_F(ImportGedcomTest, MediaFilesComeInOnlyForWhatTheyHoldAndLinksOnlyFromInsideTheTree)
{
    const QString tree = dir.path() + "/archive/tree";
    QDir().mkpath(tree + "/pictures");
    writeImage(tree + "/pictures/real.jpg");
    writeImage(dir.path() + "/private/secret.jpg");
    const QByteArray jpeg = TestSupport::readFile(tree + "/pictures/real.jpg");
    const auto put = [](const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    put(dir.path() + "/notes.jpg", "my passwords\n");
    put(tree + "/pictures/text.jpg", "just some text\n");
    put(tree + "/pictures/empty.jpg", "");
    // Cut short by its last two bytes: it decodes, but the picture is incomplete.
    put(tree + "/pictures/truncated.jpg", jpeg.chopped(2));
    put(tree + "/pictures/letter.pdf", "%PDF-1.4\n1 0 obj\n<< >>\nendobj\ntrailer\n<< >>\n%%EOF\n");
    put(tree + "/pictures/song.mp3", "not a sound at all\n");
    ASSERT_TRUE(QFile::link(dir.path() + "/private/secret.jpg", tree + "/pictures/link-out.jpg"));
    ASSERT_TRUE(QFile::link(tree + "/pictures/real.jpg", tree + "/pictures/link-in.jpg"));
    ASSERT_TRUE(QFile::link(dir.path() + "/private", tree + "/shared"));

    const struct {
        const char* file;
        const char* refusal; // empty: taken in
    } cases[] = {
        {"pictures/real.jpg", ""},
        {"pictures/link-in.jpg", ""},
        {"pictures/letter.pdf", ""},
        {"pictures/link-out.jpg", "a symbolic link to a file outside the folder of the GEDCOM file"},
        {"shared/secret.jpg", "a symbolic link to a file outside the folder of the GEDCOM file"},
        {"../../notes.jpg", "is not a readable JPG picture"},
        {"pictures/text.jpg", "is not a readable JPG picture"},
        {"pictures/empty.jpg", "is empty"},
        {"pictures/truncated.jpg", "ends early"},
        {"pictures/song.mp3", "not a picture, PDF, sound or movie"},
    };
    QString body;
    int n = 0;
    for (const auto& c : cases)
        body += QStringLiteral("0 @I%1@ INDI\n1 NAME Case%1 /Media/\n1 OBJE\n2 FILE %2\n").arg(++n).arg(c.file);
    const QString gedcomPath = tree + "/media.ged";
    put(gedcomPath, gedcom(body).toUtf8());

    auto moc = open(importFile(gedcomPath));
    ASSERT_TRUE(moc);
    const QString log = unprocessedLog();
    n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        FTPerson* person = personNamed(*moc, QStringLiteral("Case%1 Media").arg(++n));
        ASSERT_TRUE(person);
        ASSERT_EQ(person->picturesArray().size(), 1);
        const FTPicture* picture = person->picturesArray().first();
        const QString refusal = QString::fromUtf8(c.refusal);
        static const QRegularExpression lineText(QStringLiteral(R"re(^line (\d+)\. INDI\.OBJE\.FILE, invalid value = "([^"]*)", record ignored, (.*)$)re"),
            QRegularExpression::MultilineOption);
        QString logged;
        for (auto it = lineText.globalMatch(log); it.hasNext();) {
            const auto m = it.next();
            if (m.captured(2) == QLatin1String(c.file))
                logged = m.captured(1) + ": " + m.captured(3);
        }
        if (refusal.isEmpty()) {
            EXPECT_TRUE(QFileInfo(picture->filename()).exists()) << picture->filename().toStdString();
            EXPECT_TRUE(logged.isEmpty()) << logged.toStdString();
        } else {
            EXPECT_TRUE(picture->filename().isEmpty()) << picture->filename().toStdString();
            EXPECT_EQ(picture->originalFilename(), c.file);
            // The number of the FILE line: three lines of header, four lines a record.
            EXPECT_TRUE(logged.startsWith(QStringLiteral("%1: ").arg(4 * n + 3))) << logged.toStdString();
            EXPECT_TRUE(logged.contains(refusal)) << logged.toStdString();
        }
    }
    // Nothing of the private files reached the data folder.
    QDirIterator it(dataDirectory(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        EXPECT_NE(QFileInfo(path).canonicalFilePath(), dir.path() + "/private/secret.jpg") << path.toStdString();
        EXPECT_NE(TestSupport::readFile(path), "my passwords\n") << path.toStdString();
    }
}

TEST_F(ImportGedcomTest, AHandMadeFileGivesItsFamiliesLinkTypesSourcesRepositoriesAndPictures)
{
    // The file in a folder of its own, with pictures beside it, one outside it, and a pipe named like a picture.
    const QString tree = dir.path() + "/tree";
    QDir().mkpath(tree + "/pictures");
    const QString gedcomPath = tree + "/families.ged";
    ASSERT_TRUE(QFile::copy(TestSupport::dataFile("gedcom-import/families.ged"), gedcomPath));
    writeImage(tree + "/pictures/john.jpg");
    writeImage(dir.path() + "/outside.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree + "/pictures/fifo.jpg").constData(), 0600), 0);

    const ImportGedcomOutcome outcome = importFile(gedcomPath);
    auto moc = open(outcome);
    ASSERT_TRUE(moc);
    const QString log = unprocessedLog();
    FTPerson* john = personNamed(*moc, "John Smith");
    FTPerson* mary = personNamed(*moc, "Mary Jones");
    FTPerson* tom = personNamed(*moc, "Tom Smith");
    FTPerson* ann = personNamed(*moc, "Ann Smith");
    FTPerson* bob = personNamed(*moc, "Bob Smith");
    FTPerson* eve = personNamed(*moc, "Eve Brown");
    FTPerson* carl = personNamed(*moc, "Carl Brown");
    FTPerson* dora = personNamed(*moc, "Dora White");
    ASSERT_TRUE(john && mary && tom && ann && bob && eve && carl && dora);
    EXPECT_EQ(outcome.people, 8);

    // Two couples: a family naming one person as both partners makes nothing. Carl and Dora carry the same digits
    // in their identifiers and are two people all the same.
    EXPECT_EQ(outcome.families, 2);
    EXPECT_EQ(john->spouses(), QList<FTPerson*>{mary});
    EXPECT_EQ(carl->spouses(), QList<FTPerson*>{dora});
    EXPECT_NE(carl->numericId(), dora->numericId());
    EXPECT_TRUE(bob->spouseRels().isEmpty());
    FTEvent* marriage = john->spouseRels().first()->marriage();
    ASSERT_TRUE(marriage);
    EXPECT_EQ(marriage->date(), "03 Jun 1870");
    EXPECT_EQ(marriage->place(), "Leeds");
    ASSERT_TRUE(carl->spouseRels().first()->marriage());
    EXPECT_TRUE(carl->spouseRels().first()->marriage()->isEmptyEvent());

    // The link types: the pedigree words under the children's own family links, the link-type words under the
    // family's child lines, the adoption by the wife alone; Eve's second natural father becomes a step father.
    EXPECT_EQ(outcome.parentChildLinks, 10);
    EXPECT_EQ(linkType(john, tom), FTPcRel::kAdopted);
    EXPECT_EQ(linkType(mary, tom), FTPcRel::kAdopted);
    EXPECT_EQ(linkType(john, ann), FTPcRel::kFoster);
    EXPECT_EQ(linkType(mary, ann), FTPcRel::kFoster);
    EXPECT_EQ(linkFrom(john, ann)->notes(), "Taken in after the flood");
    EXPECT_EQ(linkFrom(mary, ann)->notes(), "Taken in after the flood");
    EXPECT_EQ(linkType(john, bob), FTPcRel::kStep);
    EXPECT_EQ(linkType(mary, bob), FTPcRel::kNatural);
    EXPECT_EQ(linkType(john, eve), FTPcRel::kNatural);
    EXPECT_EQ(linkType(mary, eve), FTPcRel::kNatural);
    EXPECT_EQ(linkType(dora, eve), FTPcRel::kAdopted);
    EXPECT_EQ(linkType(carl, eve), FTPcRel::kStep);
    EXPECT_EQ(linkType(bob, tom), -1);
    EXPECT_EQ(errorLineFor(log, "FAM.CHIL._MREL"), "FAM.CHIL._MREL, unrecognised value \"sometimes\", record ignored");

    // One note record serves both people.
    EXPECT_EQ(john->notes(), "The Smiths came from Leeds.\nThey moved in 1880.");
    EXPECT_EQ(mary->notes(), john->notes());

    // The repository record becomes text once and goes into the location of each source that cites it.
    EXPECT_EQ(outcome.sources, 4);
    const QString archive = "Leeds Archive\n1 Town Street\nLeeds";
    auto source = [&](const QString& title) {
        return moc->fetchFirst<FTSource>([&](const FTSource* s) { return s->title() == title; });
    };
    ASSERT_TRUE(source("Census 1881") && source("Parish register") && source("Marriage index"));
    EXPECT_EQ(source("Census 1881")->location(), archive + "\nC-1881");
    EXPECT_EQ(source("Parish register")->location(), archive);
    EXPECT_EQ(source("Marriage index")->location(), archive);
    EXPECT_EQ(source("Marriage index")->author(), "Clerk");
    EXPECT_EQ(source("Census 1881")->numericId(), 1);

    // Citations: of a person, of a birth (which names the person too), of a marriage (the event alone), and one
    // that names its source in its own text and gives a page: its text became a source of its own.
    EXPECT_EQ(outcome.citations, 4);
    const QList<FTSourceRel*> johns = john->sourceRels();
    ASSERT_EQ(johns.size(), 1);
    EXPECT_EQ(johns.first()->source(), source("Census 1881"));
    EXPECT_EQ(johns.first()->reference(), "p. 12");
    EXPECT_EQ(johns.first()->certainty(), 3);
    EXPECT_EQ(mary->birth()->sourceRels().size(), 2);
    for (FTSourceRel* c : mary->birth()->sourceRels())
        EXPECT_EQ(c->person(), mary);
    FTSource* parish = source("Parish register of Leeds");
    ASSERT_TRUE(parish);
    ASSERT_EQ(parish->sourceRels().size(), 1);
    EXPECT_EQ(parish->sourceRels().first()->reference(), "folio 7");
    EXPECT_EQ(parish->sourceRels().first()->event(), mary->birth());
    EXPECT_TRUE(errorLineFor(log, "INDI.BIRT.SOUR").contains("no source pointer: the text became a source of its own"));
    ASSERT_EQ(marriage->sourceRels().size(), 1);
    EXPECT_EQ(marriage->sourceRels().first()->person(), nullptr);
    EXPECT_EQ(marriage->sourceRels().first()->itemDescribed(), marriage->name());

    // Pictures: relative paths are the GEDCOM file's; a plain file is taken in wherever it is, and listed; a pipe
    // or a missing file leaves a picture without file; a movie makes none.
    EXPECT_EQ(outcome.pictures, 4);
    QList<FTPicture*> johnsPictures = john->picturesArray();
    ASSERT_EQ(johnsPictures.size(), 2);
    EXPECT_EQ(johnsPictures[0]->name(), "John in 1900");
    EXPECT_EQ(johnsPictures[0]->originalFilename(), tree + "/pictures/john.jpg");
    EXPECT_TRUE(QFileInfo(johnsPictures[0]->filename()).isFile());
    EXPECT_EQ(johnsPictures[1]->originalFilename(), dir.path() + "/outside.jpg");
    EXPECT_TRUE(QFileInfo(johnsPictures[1]->filename()).isFile());
    EXPECT_TRUE(log.contains(QStringLiteral("Picture file taken into the database: %1/pictures/john.jpg").arg(tree)));
    EXPECT_TRUE(log.contains(QStringLiteral("Picture file taken into the database: %1/outside.jpg").arg(dir.path())));
    EXPECT_EQ(log.count("Picture file taken into the database"), 2);
    QList<FTPicture*> marys = mary->picturesArray();
    ASSERT_EQ(marys.size(), 2);
    for (FTPicture* picture : marys)
        EXPECT_TRUE(picture->filename().isEmpty()) << picture->originalFilename().toStdString();
    EXPECT_EQ(marys[1]->name(), "missing");
    EXPECT_EQ(marys[1]->originalFilename(), "pictures/missing.jpg");
    EXPECT_EQ(errorLineFor(log, "INDI.OBJE.FILE"),
              QStringLiteral("INDI.OBJE.FILE, invalid value = \"pictures/fifo.jpg\", record ignored, not a plain file: "
                             "%1/pictures/fifo.jpg")
                  .arg(tree));
    EXPECT_TRUE(log.contains("INDI.OBJE.FORM, unrecognised value \"mov\", record ignored"));

    // Not imported: the family of one person twice and the movie; the rest of the file is read.
    EXPECT_EQ(unprocessedLineNumbers(), (std::set<int>{4, 5, 38, 39, 40, 91, 94}));
    // Eve's two natural fathers are reported.
    QFile validation(lastFolder + "/ValidationErrors.txt");
    ASSERT_TRUE(validation.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(validation.readAll())
                    .contains("1 person had more than one natural father or more than one natural mother.\n"
                              "A child has one natural father and one natural mother at most.\n"
                              "1 natural parent-child links were changed into step links."));
}

TEST_F(ImportGedcomTest, LinkTypeWordsAndEvidenceAreReadFromTheProgramsThatWriteThem)
{
    struct Case {
        const char* lines;   // under the child's line of the family
        int fatherType;
        const char* logged;  // what the log says of the first line under the child, "" for nothing
    };
    const QList<Case> cases = {
        {"2 _FREL Step\n", FTPcRel::kStep, ""},
        {"2 _FREL step\n", FTPcRel::kStep, ""},
        {"2 _FREL ADOPTED\n", FTPcRel::kAdopted, ""},
        {"2 _FREL Foster\n", FTPcRel::kFoster, ""},
        {"2 _FREL Natural\n", FTPcRel::kNatural, ""},
        {"2 _RelToFather Adopted\n", FTPcRel::kAdopted, ""},
        {"2 _FREL Godson\n", FTPcRel::kNatural, "unrecognised value \"Godson\", record ignored"},
        {"2 _FREL Natural\n3 _PROB 85 101001\n3 NOTE Baptism entry\n", FTPcRel::kNatural, ""},
        {"2 _FREL Natural\n3 _PROB 150 010000\n", FTPcRel::kNatural, ""},
        {"2 _FREL Natural\n3 _PROB 85\n", FTPcRel::kNatural, ""},
    };
    QString body = "0 @I1@ INDI\n1 NAME Dad /Word/\n1 SEX M\n0 @I2@ INDI\n1 NAME Mum /Word/\n1 SEX F\n"
                   "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n";
    QString children;
    for (int i = 0; i < cases.size(); ++i) {
        body += QStringLiteral("1 CHIL @I%1@\n").arg(i + 10) + QString::fromUtf8(cases[i].lines);
        children += QStringLiteral("0 @I%1@ INDI\n1 NAME Child%1 /Word/\n").arg(i + 10);
    }
    body += children;

    // A file of this program: the words are read, in English whatever the language, and the evidence with them.
    auto moc = open(importText(gedcom(body, "Kinloom For Vovadid")));
    ASSERT_TRUE(moc);
    FTPerson* dad = personNumbered(*moc, 1);
    for (int i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].lines);
        FTPerson* child = personNumbered(*moc, i + 10);
        EXPECT_EQ(linkType(dad, child), cases[i].fatherType);
        EXPECT_EQ(linkType(personNumbered(*moc, 2), child), FTPcRel::kNatural);
    }
    const QString log = unprocessedLog();
    EXPECT_TRUE(log.contains("FAM.CHIL._FREL, unrecognised value \"Godson\", record ignored"));
    FTPcRel* proved = linkFrom(dad, personNumbered(*moc, 17));
    EXPECT_EQ(proved->certainty(), 85);
    EXPECT_EQ(proved->evidenceAsString().isEmpty(), false);
    EXPECT_TRUE(proved->directEvidence() && proved->primaryInformation() && proved->derivativeSource());
    EXPECT_FALSE(proved->indirectEvidence() || proved->secondaryInformation() || proved->originalSource());
    EXPECT_EQ(proved->notes(), "Baptism entry");
    FTPcRel* tooCertain = linkFrom(dad, personNumbered(*moc, 18));
    EXPECT_NE(tooCertain->certainty(), 150);
    EXPECT_TRUE(tooCertain->indirectEvidence());
    EXPECT_TRUE(log.contains("->         3 FAM.CHIL._FREL._PROB 85\n"));

    // Another program's file: the words are its own business and stay in the log; every link stays natural.
    moc = open(importText(gedcom(body)));
    ASSERT_TRUE(moc);
    dad = personNumbered(*moc, 1);
    for (int i = 0; i < cases.size(); ++i)
        EXPECT_EQ(linkType(dad, personNumbered(*moc, i + 10)), FTPcRel::kNatural);
    EXPECT_TRUE(unprocessedLog().contains("->      2 FAM.CHIL._FREL Step"));
}

TEST_F(ImportGedcomTest, FamiliesWithMissingRepeatedOrOddPartners)
{
    auto moc = open(importText(gedcom("0 @I1@ INDI\n1 NAME Kid /One/\n"
                                      "0 @I2@ INDI\n1 NAME Kid /Two/\n"
                                      "0 @I3@ INDI\n1 NAME Ann /Alone/\n1 SEX F\n"
                                      "0 @I4@ INDI\n1 NAME Hal /Twice/\n1 SEX M\n"
                                      "0 @I5@ INDI\n1 NAME Wen /Twice/\n1 SEX F\n"
                                      "0 @I6@ INDI\n1 NAME First /Twice/\n"
                                      "0 @I7@ INDI\n1 NAME Second /Twice/\n"
                                      "0 @I8@ INDI\n1 NAME Ben /Same/\n1 SEX M\n"
                                      "0 @I9@ INDI\n1 NAME Sam /Same/\n1 SEX M\n"
                                      "0 @I10@ INDI\n1 NAME Self /Child/\n1 SEX M\n"
                                      "0 @I11@ INDI\n1 NAME Sue /Child/\n1 SEX F\n"
                                      "0 @I12@ INDI\n1 NAME Pat /Unknown/\n"
                                      "0 @I13@ INDI\n1 NAME Kim /Unknown/\n"
                                      "0 @F1@ FAM\n1 CHIL @I1@\n1 CHIL @I2@\n"
                                      "0 @F2@ FAM\n1 WIFE @I3@\n"
                                      "0 @F3@ FAM\n1 HUSB @I4@\n1 WIFE @I5@\n1 MARR\n2 DATE 1900\n1 CHIL @I6@\n"
                                      "0 @F4@ FAM\n1 HUSB @I4@\n1 WIFE @I5@\n1 MARR\n2 DATE 1901\n1 CHIL @I7@\n"
                                      "1 REFN 44\n"
                                      "0 @F5@ FAM\n1 HUSB @I8@\n1 WIFE @I9@\n"
                                      "0 @F6@ FAM\n1 HUSB @I10@\n1 WIFE @I11@\n1 CHIL @I10@\n1 CHIL @I99@\n"
                                      "0 @F7@ FAM\n1 HUSB @I12@\n1 WIFE @I13@\n1 NOTE Never married\n")));
    ASSERT_TRUE(moc);
    const QString log = unprocessedLog();

    // Children without parents get a made-up couple, each named after the other's number.
    FTPerson* kid = personNamed(*moc, "Kid One");
    ASSERT_EQ(kid->naturalParents().size(), 2);
    FTPerson* father = kid->naturalFather();
    FTPerson* mother = kid->naturalMother();
    ASSERT_TRUE(father && mother);
    EXPECT_EQ(father->numericId(), 14);
    EXPECT_EQ(mother->numericId(), 15);
    EXPECT_EQ(father->name(), "Husband of 15");
    EXPECT_EQ(mother->name(), "Wife of 14");
    EXPECT_EQ(personNamed(*moc, "Kid Two")->naturalParents().size(), 2);
    EXPECT_EQ(father->spouses(), QList<FTPerson*>{mother});
    ASSERT_TRUE(father->spouseRels().first()->marriage());
    // A wife alone gets a husband named after her.
    FTPerson* ann = personNamed(*moc, "Ann Alone");
    ASSERT_EQ(ann->spouses().size(), 1);
    EXPECT_EQ(ann->spouses().first()->name(), "Husband of Ann Alone");
    EXPECT_TRUE(ann->spouses().first()->isMale());

    // Two records of one couple: one couple with the first record's marriage; the children of both.
    FTPerson* hal = personNamed(*moc, "Hal Twice");
    ASSERT_EQ(hal->spouseRels().size(), 1);
    EXPECT_EQ(hal->spouseRels().first()->marriage()->date(), "1900");
    EXPECT_EQ(hal->naturalChildren().size(), 2);
    EXPECT_EQ(personNamed(*moc, "Wen Twice")->naturalChildren().size(), 2);
    EXPECT_EQ(errorLineFor(log, "FAM.REFN"),
              "FAM.REFN, Unable to process a Family Reference No for a single parent family, record ignored");
    // The second record's marriage finds no couple of its own: it stays in the log.
    EXPECT_TRUE(log.contains("->      2 FAM.MARR.DATE 1901"));

    // Two men: a couple all the same, said once.
    EXPECT_EQ(personNamed(*moc, "Ben Same")->spouses().size(), 1);
    EXPECT_EQ(log.count("Created a same sex union during import between Ben Same and Sam Same"), 1);
    // Nobody is his own child; the mother's link is made; a child pointer to nobody is logged.
    FTPerson* self = personNamed(*moc, "Self Child");
    EXPECT_EQ(linkType(self, self), -1);
    EXPECT_EQ(linkType(personNamed(*moc, "Sue Child"), self), FTPcRel::kNatural);
    EXPECT_EQ(errorLineFor(log, "FAM.CHIL"), "FAM.CHIL, invalid Gedcom pointer value = \"I99\", record ignored, Pointer = I99");
    // Partners of unknown gender are a couple too, with their marriage and its note.
    FTPerson* pat = personNamed(*moc, "Pat Unknown");
    ASSERT_EQ(pat->spouses().size(), 1);
    EXPECT_EQ(pat->spouseRels().first()->marriage()->notes(), "Never married");
}

TEST_F(ImportGedcomTest, SourcesAndCitationsOfEveryForm)
{
    const QString people = "0 @I1@ INDI\n1 NAME Al /Cite/\n1 SEX M\n"
                           "1 SOUR\n2 PAGE 4\n"
                           "1 SOUR The family bible\n"
                           "1 SOUR The family bible\n2 CONC , page one\n2 CONT Kept by Al\n2 NOTE Worn\n"
                           "1 SOUR @S99@\n"
                           "1 SOUR\n"
                           "1 SOUR @S1@\n2 DATA\n3 DATE 1 JAN 1900\n3 TEXT Born at home\n4 CONT in the kitchen\n"
                           "2 _TOPI Birth\n2 ROLE Witness\n"
                           "1 BIRT\n2 DATE 1870\n2 SOUR\n3 PAGE 7\n"
                           "1 FAMS @F1@\n"
                           "0 @I2@ INDI\n1 NAME Bea /Cite/\n1 SEX F\n"
                           "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 SOUR @S1@\n2 PAGE 9\n"
                           "0 @S1@ SOUR\n1 TITL Register\n1 _TYPE Church book\n1 MEDI Film\n1 FILM 123\n2 CONT 456\n";
    auto moc = open(importText(gedcom(people, "Kinloom For Vovadid")));
    ASSERT_TRUE(moc);
    FTPerson* al = personNamed(*moc, "Al Cite");
    const QString log = unprocessedLog();
    auto citationsOf = [](FTPerson* p) {
        QList<FTSourceRel*> own;
        for (FTSourceRel* c : p->sourceRels())
            if (!c->event())
                own << c;
        std::sort(own.begin(), own.end(), [](FTSourceRel* a, FTSourceRel* b) { return a->numericId() < b->numericId(); });
        return own;
    };
    const QList<FTSourceRel*> cites = citationsOf(al);
    ASSERT_EQ(cites.size(), 4);
    // A page without a source: the one shared empty source, which the birth's page-only citation uses too.
    EXPECT_EQ(cites[0]->source()->title(), "Empty Source from Gedcom File");
    EXPECT_EQ(cites[0]->reference(), "4");
    ASSERT_EQ(al->birth()->sourceRels().size(), 1);
    EXPECT_EQ(al->birth()->sourceRels().first()->source(), cites[0]->source());
    EXPECT_EQ(al->birth()->sourceRels().first()->person(), al);
    // Text citations: a source each, never shared; a CONC goes on with the title, a CONT starts the notes.
    EXPECT_EQ(cites[1]->source()->title(), "The family bible");
    EXPECT_EQ(cites[2]->source()->title(), "The family bible, page one");
    EXPECT_EQ(cites[2]->source()->notes(), "Kept by Al");
    EXPECT_EQ(cites[2]->notes(), "Worn");
    EXPECT_NE(cites[1]->source(), cites[2]->source());
    // A pointer to a source record: its data, topic and the lines no field holds end in the notes.
    EXPECT_EQ(cites[3]->source()->title(), "Register");
    EXPECT_EQ(cites[3]->notes(), "1 JAN 1900\nBorn at home\nin the kitchen\n2 ROLE Witness");
    EXPECT_EQ(cites[3]->itemDescribed(), "Birth");
    EXPECT_EQ(errorLineFor(log, "INDI.SOUR.ROLE"), "INDI.SOUR.ROLE, tag not defined in Gedcom V5.5, appended to Notes");
    EXPECT_EQ(errorLineFor(log, "INDI.SOUR"), "INDI.SOUR, invalid Gedcom pointer value = \"S99\", record ignored, Pointer = S99");
    EXPECT_TRUE(log.contains("INDI.SOUR, Empty Source Citation Record. Value = \"\", record ignored"));
    // The family's citation is its marriage's.
    FTEvent* marriage = al->spouseRels().first()->marriage();
    ASSERT_EQ(marriage->sourceRels().size(), 1);
    EXPECT_EQ(marriage->sourceRels().first()->reference(), "9");
    // This program's own source type is read; another program's medium and this file's unknown tag are not.
    FTSource* reg = cites[3]->source();
    EXPECT_EQ(reg->type(), "Church book");
    EXPECT_TRUE(log.contains("->   1 SOUR.MEDI Film"));
    EXPECT_EQ(errorLineFor(log, "SOUR.FILM"), "SOUR.FILM, tag not defined in Gedcom V5.5, record ignored");

    // One program's source tags are kept under their labels; another's medium is the type.
    moc = open(importText(gedcom("0 @S1@ SOUR\n1 TITL Register\n1 FILM 123\n2 CONT 456\n1 TYPE Parish\n", "Reunion")));
    ASSERT_TRUE(moc);
    FTSource* reunion = moc->fetchFirst<FTSource>({});
    EXPECT_EQ(reunion->notes(), "Film Number: 123\n456");
    EXPECT_EQ(reunion->type(), "Parish");
    EXPECT_EQ(errorLineFor(unprocessedLog(), "SOUR.FILM"), "SOUR.FILM, tag not defined in Gedcom V5.5, appended to Notes");
    moc = open(importText(gedcom("0 @S1@ SOUR\n1 TITL Register\n1 MEDI Film\n1 DATE 1890\n", "Legacy 7")));
    ASSERT_TRUE(moc);
    EXPECT_EQ(moc->fetchFirst<FTSource>({})->type(), "Film");
    EXPECT_EQ(moc->fetchFirst<FTSource>({})->date(), "1890");
}

TEST_F(ImportGedcomTest, OneProgramsImmigrationPointerIsANoteOtherImmigrationsAreEvents)
{
    const QString body = "0 @I1@ INDI\n1 NAME Ann /Lee/\n1 IMMI @N1@\n1 IMMI\n2 DATE 1850\n"
                         "0 @N1@ NOTE Came by ship\n";
    auto moc = open(importText(gedcom(body, "Reunion")));
    ASSERT_TRUE(moc);
    FTPerson* ann = moc->fetchFirst<FTPerson>({});
    EXPECT_EQ(ann->notes(), "Came by ship");
    ASSERT_EQ(ann->otherEvents().size(), 1);
    EXPECT_EQ(ann->otherEvents().first()->year(), 1850);

    // Elsewhere such a line is an event like the other.
    moc = open(importText(gedcom(body)));
    ASSERT_TRUE(moc);
    ann = moc->fetchFirst<FTPerson>({});
    EXPECT_TRUE(ann->notes().isEmpty());
    EXPECT_EQ(ann->otherEvents().size(), 2);
}

struct PathCleaner : ImportGedcomThread {
    using ImportGedcomThread::cleanFilename;
};

TEST_F(ImportGedcomTest, PictureRecordsFormatsAndPaths)
{
    const QList<std::pair<const char*, const char*>> paths = {
        {"C:\\Pictures\\Family\\a.jpg", "C:/Pictures/Family/a.jpg"},
        {"Disk:images:a.jpg", "Diska.jpg"},
        {"pics///a.jpg", "pics/a.jpg"},
        {"/.PSF/a.jpg", "/a.jpg"},
        {"\\\\server\\share\\a.jpg", "/server/share/a.jpg"},
    };
    for (const auto& [in, out] : paths)
        EXPECT_EQ(PathCleaner::cleanFilename(QString::fromUtf8(in)), out) << in;

    auto moc = open(importText(gedcom("0 @I1@ INDI\n1 NAME One /Pic/\n1 OBJE @M5@\n1 OBJE @M5@\n"
                                      "1 OBJE\n2 FORM jpeg alias\n2 FILE old/a.jpeg\n"
                                      "1 OBJE\n2 FORM jpg\n2 FILE old/film.mov\n"
                                      "1 OBJE @M9@\n"
                                      "0 @I2@ INDI\n1 NAME Two /Pic/\n1 OBJE @M5@\n"
                                      "0 @M5@ OBJE\n1 FILE gone/wedding.jpg\n2 FORM jpg\n1 TITL The wedding\n"
                                      "1 NOTE Church steps\n1 SOUR @S1@\n"
                                      "0 @S1@ SOUR\n1 TITL Album\n")));
    ASSERT_TRUE(moc);
    const QString log = unprocessedLog();
    // One record linked twice by one person gives one picture, and another person one of his own. Both take the
    // record's number, and the validation gives the second a number of its own.
    QList<FTPicture*> ones = personNamed(*moc, "One Pic")->picturesArray();
    QList<FTPicture*> twos = personNamed(*moc, "Two Pic")->picturesArray();
    ASSERT_EQ(ones.size(), 3);
    ASSERT_EQ(twos.size(), 1);
    EXPECT_EQ(std::min(ones[0]->numericId(), twos[0]->numericId()), 5);
    EXPECT_GT(std::max(ones[0]->numericId(), twos[0]->numericId()), 5);
    for (FTPicture* p : {ones[0], twos[0]}) {
        EXPECT_EQ(p->name(), "The wedding");
        EXPECT_EQ(p->notes(), "Church steps");
        EXPECT_EQ(p->originalFilename(), "gone/wedding.jpg");
        ASSERT_EQ(p->sourceRels().size(), 1);
        EXPECT_EQ(p->sourceRels().first()->source()->title(), "Album");
    }
    // " alias" is cut off a format; a movie file under an image format keeps the picture but not the file.
    EXPECT_EQ(ones[1]->originalFilename(), "old/a.jpeg");
    EXPECT_EQ(errorLineFor(log, "INDI.OBJE.FILE"),
              "INDI.OBJE.FILE, wrong file extension or it is a movie file that is ignored by Gedcom Load, value = "
              "\"old/film.mov\", record ignored");
    EXPECT_EQ(errorLineFor(log, "INDI.OBJE"), "INDI.OBJE, invalid Gedcom pointer value = \"M9\", record ignored, Pointer = M9");
}

TEST_F(ImportGedcomTest, ValidationRepairsLoopsAndReportsDatesAndUnconnectedPeople)
{
    // Gus is his own grandfather through natural links; Old has a death 140 years after his birth; Lone has
    // nobody; Kid has two natural fathers.
    auto moc = open(importText(gedcom("0 @I1@ INDI\n1 NAME Gus /Loop/\n1 SEX M\n"
                                      "0 @I2@ INDI\n1 NAME Dan /Loop/\n1 SEX M\n"
                                      "0 @I3@ INDI\n1 NAME Son /Loop/\n1 SEX M\n"
                                      "0 @I4@ INDI\n1 NAME Old /Dates/\n1 SEX M\n1 BIRT\n2 DATE 1850\n"
                                      "1 DEAT\n2 DATE 1990\n1 FAMC @F4@\n"
                                      "0 @I5@ INDI\n1 NAME Fine /Dates/\n1 SEX M\n1 BIRT\n2 DATE 1900\n"
                                      "1 DEAT\n2 DATE 1990\n1 FAMC @F4@\n"
                                      "0 @I6@ INDI\n1 NAME Lone /Wolf/\n1 BIRT\n2 DATE 1801\n"
                                      "0 @I7@ INDI\n1 NAME Wil /Ma/\n1 SEX F\n"
                                      "0 @I8@ INDI\n1 NAME Wan /Da/\n1 SEX F\n"
                                      "0 @I9@ INDI\n1 NAME Wen /Dy/\n1 SEX F\n"
                                      "0 @I10@ INDI\n1 NAME Win /Ny/\n1 SEX F\n"
                                      "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I7@\n1 CHIL @I2@\n"
                                      "0 @F2@ FAM\n1 HUSB @I2@\n1 WIFE @I8@\n1 CHIL @I3@\n"
                                      "0 @F3@ FAM\n1 HUSB @I3@\n1 WIFE @I9@\n1 CHIL @I1@\n"
                                      "0 @F4@ FAM\n1 HUSB @I2@\n1 WIFE @I10@\n1 CHIL @I4@\n1 CHIL @I5@\n"
                                      "0 @F5@ FAM\n1 HUSB @I3@\n1 WIFE @I10@\n1 CHIL @I5@\n")));
    ASSERT_TRUE(moc);
    QFile file(lastFolder + "/ValidationErrors.txt");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString report = QString::fromUtf8(file.readAll());

    // The loop is broken where it closes: that link becomes a step link, and the user is told once.
    const QList<FTPcRel*> step = moc->fetch<FTPcRel>([](const FTPcRel* l) { return l->intPcRelType() == FTPcRel::kStep; });
    ASSERT_EQ(step.size(), 2); // the loop's closing link, and Fine's second natural father
    EXPECT_EQ(recorder.alerts.count(), 1);
    EXPECT_TRUE(recorder.alerts.value(0).endsWith("For the details see the file ValidationErrors.txt"));
    EXPECT_TRUE(report.contains("parent-child links closed a loop in the ancestry"));
    static const QRegularExpression loopLine(R"(\nChild = \w+ Loop \(ID = \d\), Parent = \w+ Loop \(ID = \d\))");
    EXPECT_EQ(report.count(loopLine), 1);

    EXPECT_TRUE(report.contains("Inconsistent dates: Old Dates, born 1850, died 1990"));
    EXPECT_FALSE(report.contains("Fine Dates, born"));
    EXPECT_TRUE(report.contains("There are 1 people who are not connected to anyone else (they have been kept):\n\n"
                                "Lone Wolf (1801 - )"));
    EXPECT_TRUE(personNamed(*moc, "Lone Wolf"));
    EXPECT_TRUE(report.contains("\n\n1 person had more than one natural father or more than one natural mother."));
    FTPerson* fine = personNamed(*moc, "Fine Dates");
    EXPECT_EQ(linkType(personNamed(*moc, "Dan Loop"), fine), FTPcRel::kNatural);
    EXPECT_EQ(linkType(personNamed(*moc, "Son Loop"), fine), FTPcRel::kStep);
    // The same findings close the unprocessed-lines log.
    EXPECT_TRUE(unprocessedLog().contains("Inconsistent dates: Old Dates, born 1850, died 1990"));
}

} // namespace
