// Import a GEDCOM file, export the database, import the export again: the two databases must describe the same
// family. Everything is compared by a canonical text per person, couple, parent-child link and source, so a
// difference shows up as the lines that differ.

#include "gedcom/ExportToGedcom.h"
#include "gedcom/GedcomExportOptions.h"
#include "gedcom/ImportGedcomListener.h"
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/ModelHooks.h"
#include "platform/ScriptedPrompts.h"

#include "ImportFixture.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

struct Canon {
    // Citations of people and events; those of pictures apart (the export has no line for them).
    QStringList people, couples, links, sources, citations, pictureCitations, pictures;
};

QString eventText(const FTEvent* e)
{
    return QStringLiteral("(%1 %2 '%3' '%4' '%5')")
        .arg(e->type())
        .arg(e->subtype(), e->date(), e->place(), e->notes());
}

// A person as the user sees them: name, sex, title, notes, comments and every event that holds something.
QString personText(const FTPerson* p)
{
    QStringList events;
    QList<FTEvent*> all = p->otherEvents();
    if (p->birth())
        all << p->birth();
    if (p->death())
        all << p->death();
    for (const FTEvent* e : all)
        if (!e->isEmptyEvent())
            events << eventText(e);
    events.sort();
    return QStringLiteral("%1 %2 | %3 | %4 | notes '%5' | comments '%6' | ref '%7' | %8")
        .arg(p->numericId())
        .arg(p->name(), p->gender(), p->title(), p->notes(), p->comments(), p->userId(), events.join(' '));
}

Canon canonical(FTMoc& moc)
{
    Canon c;
    for (const FTPerson* p : moc.fetch<FTPerson>())
        c.people << personText(p);
    for (const FTSpouseRel* r : moc.fetch<FTSpouseRel>()) {
        QStringList names;
        for (const FTPerson* p : r->partners())
            names << p->name();
        names.sort();
        QStringList events;
        QList<FTEvent*> all = r->otherMarriageEvents();
        if (r->marriage())
            all << r->marriage();
        for (const FTEvent* e : all)
            if (!e->isEmptyEvent())
                events << eventText(e);
        events.sort();
        c.couples << names.join(" & ") + " | " + events.join(' ');
    }
    for (const FTPcRel* l : moc.fetch<FTPcRel>())
        c.links << QStringLiteral("%1 -> %2 : %3").arg(l->parent()->name(), l->child()->name()).arg(l->intPcRelType());
    for (const FTSource* s : moc.fetch<FTSource>())
        c.sources << QStringLiteral("%1 | %2 | %3 | %4 | %5")
                         .arg(s->title(), s->author(), s->publisher(), s->abbreviatedTitle(), s->notes());
    for (const FTSourceRel* r : moc.fetch<FTSourceRel>()) {
        if (r->picture() && !r->person() && !r->event()) {
            c.pictureCitations << QStringLiteral("%1 | %2 | %3")
                                      .arg(r->source() ? r->source()->title() : QString(), r->picture()->name(),
                                           r->reference());
            continue;
        }
        const QString owner = r->person() ? r->person()->name() : QString();
        const QString event = r->event() ? QString::number(r->event()->type()) + " " + r->event()->ownerName()
                                         : QString();
        c.citations << QStringLiteral("%1 | %2 | %3 | %4 | %5")
                           .arg(r->source() ? r->source()->title() : QString(), owner, event, r->reference(),
                                r->notes());
    }
    // A picture by whom it belongs to, where its file is (or was, on the computer that wrote the GEDCOM file), its
    // title, notes, date, place among its owner's pictures and crop.
    for (const FTPicture* p : moc.fetch<FTPicture>()) {
        const QString owner = p->owner() ? p->owner()->name()
            : p->source()                ? "source " + p->source()->title()
                                         : QStringLiteral("nobody");
        c.pictures << QStringLiteral("%1 | file '%2' | original '%3' | %4 | notes '%5' | date '%6' | %7 | %8")
                          .arg(owner, p->filename(), p->originalFilename(), p->name(), p->notes(), p->date())
                          .arg(p->seqNo())
                          .arg(p->rclCut());
    }
    for (QStringList* list :
         {&c.people, &c.couples, &c.links, &c.sources, &c.citations, &c.pictureCitations, &c.pictures}) {
        // The import keeps a family name of several words as one word, with no-break spaces; the export writes
        // them as blanks between the slashes. So a name whose family name the model found as several words
        // ("Henry Fitz Lewes") comes back with no-break spaces inside it: the same text on screen, the family
        // name now marked. Compared as the user reads them.
        for (QString& line : *list)
            line.replace(QChar(0x00A0), u' ');
        list->sort();
    }
    return c;
}

// Lists what one side has and the other lacks, so a failure names the records at fault.
void expectSame(const QStringList& before, const QStringList& after, const char* what)
{
    EXPECT_EQ(before.size(), after.size()) << what;
    QStringList lost, gained;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(lost));
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(gained));
    EXPECT_TRUE(lost.isEmpty() && gained.isEmpty())
        << what << "\n lost (" << lost.size() << "):\n  " << lost.mid(0, 8).join("\n  ").toStdString()
        << "\n gained (" << gained.size() << "):\n  " << gained.mid(0, 8).join("\n  ").toStdString();
}

class GedcomRoundTrip : public ImportFixture {
protected:
    std::unique_ptr<FTMoc> import(const QString& gedcomPath)
    {
        ImportGedcomListener quiet;
        const ImportGedcomOutcome outcome = ImportGedcomThread(request(gedcomPath), &quiet).loadGedFileThread();
        lastOutcome = outcome;
        EXPECT_TRUE(outcome.succeeded) << outcome.message.toStdString();
        if (!outcome.succeeded)
            return nullptr;
        return FTMoc::initForStoreURL(outcome.databaseFilename, true);
    }

    // The whole database, living people written as they are.
    QString exportAll(FTMoc* moc)
    {
        GedcomExportOptions o;
        o.includeLivingPeople = true;
        o.depersonalizeLivingPeople = false;
        o.includeRecentlyDead = true;
        o.depersonalizeRecentlyDead = false;
        o.includeCustomTags = true;
        ExportToGedcom exporter(moc);
        exporter.setOptions(o);
        const QString out = QStringLiteral("%1/out%2").arg(dir.path()).arg(runs);
        QDir().mkpath(out);
        exporter.setOutputFolder(out);
        EXPECT_TRUE(exporter.generationThread());
        return exporter.gedcomFilename();
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.path() + "/" + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    ImportGedcomOutcome lastOutcome;

    QString unprocessedLog() const
    {
        QFile f(lastFolder + "/UnprocessedGedRecs.txt");
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    // Lines of the last import's log that the import did not use and that lie outside the header, submission and
    // submitter records: these say what the program writes and cannot read back.
    QStringList unprocessedRecordLines() const
    {
        QStringList out;
        for (const QString& line : unprocessedLog().split('\n')) {
            if (!line.contains(QLatin1String("->")))
                continue;
            const QString entry = line.mid(line.indexOf(QLatin1String("->")) + 2).trimmed();
            if (entry.contains(QLatin1String(" HEAD.")) || entry.contains(QLatin1String(" SUBN"))
                || entry.contains(QLatin1String(" SUBM")))
                continue;
            out << line;
        }
        return out;
    }
};

TEST_F(GedcomRoundTrip, Royal92SurvivesExportAndReimport)
{
    auto first = import(TestSupport::dataFile("royal92.ged"));
    ASSERT_TRUE(first);
    const QString exported = exportAll(first.get());
    auto second = import(exported);
    ASSERT_TRUE(second);
    // The header, with its note on the options and custom tags, and the submission and submitter records
    // describe the file, not the family: the import reads the program's name from the header and leaves the
    // rest in its log. Every line of the individuals, families, sources and notes is read back.
    EXPECT_GT(lastOutcome.unprocessedLines, 0);
    EXPECT_EQ(unprocessedRecordLines(), QStringList());

    const Canon a = canonical(*first), b = canonical(*second);
    ASSERT_GT(a.people.size(), 3000);

    // Partners made up by the first import for families that name one partner only are written as people of
    // their own, so the second import finds both partners and makes up no one: the same people, once each.
    const auto placeholders = [](FTMoc& moc) {
        return moc.count<FTPerson>([](const FTPerson* p) {
            const QString name = QString(p->name()).replace(QChar(0x00A0), u' ');
            return name.startsWith("Husband of ") || name.startsWith("Wife of ");
        });
    };
    EXPECT_EQ(placeholders(*first), 284);
    EXPECT_EQ(placeholders(*second), 284);
    // Every couple has a marriage event, the empty ones too: the export writes no MARR line for an empty one,
    // the second import makes it again.
    const auto marriages = [](FTMoc& moc, bool empty) {
        return moc.count<FTEvent>([empty](const FTEvent* e) {
            return e->type() == FTEvent::MarriageEvent && e->isEmptyEvent() == empty;
        });
    };
    EXPECT_EQ(marriages(*first, true), marriages(*second, true));
    EXPECT_EQ(marriages(*first, false), marriages(*second, false));
    EXPECT_EQ(first->count<FTSpouseRel>(), marriages(*second, true) + marriages(*second, false));
    // A family name the model finds as several words ("Fitz Lewes" in a name the file left unmarked) is written
    // between slashes, and the second import joins it with no-break spaces as it does for every marked family
    // name of several words.
    const auto named = [](FTMoc& moc, const QString& name) {
        return moc.count<FTPerson>([&](const FTPerson* p) { return p->name() == name; });
    };
    EXPECT_EQ(named(*first, "Henry Fitz Lewes"), 1);
    EXPECT_EQ(named(*second, QStringLiteral("Henry Fitz\u00a0Lewes")), 1);

    expectSame(a.people, b.people, "people");
    expectSame(a.couples, b.couples, "couples");
    expectSame(a.links, b.links, "parent-child links");
    expectSame(a.sources, b.sources, "sources");
    expectSame(a.citations, b.citations, "citations");
}

// What royal92 lacks: notes, sources with citations on people and events, link types other than natural, a
// single parent, events of other kinds and a divorce.
TEST_F(GedcomRoundTrip, NotesSourcesCitationsAndLinkTypesSurvive)
{
    const QString file = writeFile("small.ged", QByteArrayLiteral(
        "0 HEAD\n1 SOUR Other program\n1 CHAR UTF-8\n"
        "0 @I1@ INDI\n1 NAME John /Brown/\n1 SEX M\n1 NOTE A note\n2 CONT on two lines\n"
        "1 BIRT\n2 DATE 2 MAR 1850\n2 PLAC Leeds, Yorkshire, England\n2 NOTE Born at home\n2 SOUR @S1@\n"
        "3 PAGE p. 12\n"
        "1 OCCU Miller\n2 DATE 1880\n1 EVEN\n2 TYPE Emigration\n2 DATE ABT 1890\n2 PLAC Liverpool\n"
        "1 SOUR @S1@\n2 PAGE Folio 3\n2 NOTE Citation note\n2 QUAY 2\n1 FAMS @F1@\n"
        "1 CHAN\n2 DATE 3 JAN 2001\n"
        "0 @I2@ INDI\n1 NAME Mary /Smith/\n1 NAME Molly /Smith/\n1 SEX F\n1 TITL Dairy maid\n1 NOTE @N1@\n1 DEAT\n2 DATE BEF 1920\n1 FAMS @F1@\n"
        "1 FAMS @F2@\n"
        "0 @I3@ INDI\n1 NAME Ann /Brown/\n1 SEX F\n1 BIRT\n2 DATE 1875\n1 FAMC @F1@\n"
        "0 @I4@ INDI\n1 NAME Tom /Brown/\n1 SEX M\n1 FAMC @F1@\n2 PEDI adopted\n"
        "0 @I5@ INDI\n1 NAME Kate /Brown/\n1 SEX F\n1 FAMC @F1@\n2 PEDI foster\n"
        "0 @I6@ INDI\n1 NAME Sam /Smith/\n1 SEX M\n1 FAMC @F2@\n"
        "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 4 JUN 1872\n2 PLAC York\n2 SOUR @S2@\n"
        "1 DIV\n2 DATE 1900\n1 CHIL @I3@\n1 CHIL @I4@\n1 CHIL @I5@\n"
        "0 @F2@ FAM\n1 WIFE @I2@\n1 CHIL @I6@\n"
        "0 @N1@ NOTE Shared note\n"
        "0 @S1@ SOUR\n1 TITL Parish register\n1 AUTH Vicar\n1 PUBL Leeds press\n1 ABBR PR\n1 NOTE About it\n"
        "0 @S2@ SOUR\n1 TITL Census\n"
        "0 TRLR\n"));
    auto first = import(file);
    ASSERT_TRUE(first);
    auto second = import(exportAll(first.get()));
    ASSERT_TRUE(second);
    EXPECT_EQ(unprocessedRecordLines(), QStringList());

    const Canon a = canonical(*first), b = canonical(*second);
    // The fixture must reach the database, or the comparison proves nothing.
    EXPECT_EQ(a.sources.size(), 2);
    EXPECT_EQ(a.citations.size(), 3);
    EXPECT_TRUE(a.people.filter("notes 'A note\non two lines'").size() == 1) << a.people.join("\n").toStdString();
    EXPECT_TRUE(a.links.contains("John Brown -> Tom Brown : 8")) << a.links.join("\n").toStdString();
    EXPECT_TRUE(a.links.contains("Mary Smith -> Kate Brown : 4"));
    EXPECT_EQ(a.people.filter("Dairy maid | notes 'Shared note' | comments 'Alternate name = Molly Smith'").size(), 1)
        << a.people.join("\n").toStdString();
    EXPECT_EQ(a.people.filter("'Born at home'").size(), 1);
    expectSame(a.people, b.people, "people");
    expectSame(a.couples, b.couples, "couples");
    expectSame(a.links, b.links, "parent-child links");
    expectSame(a.sources, b.sources, "sources");
    expectSame(a.citations, b.citations, "citations");

    // What the export does not write, so the second import cannot have it:
    // - the time of a record's last change (CHAN): a new file is a new copy, the second database stamps its own;
    // - the quality of a citation (QUAY): the database keeps it as the citation's certainty, the export has no
    //   line for it.
    const auto john = [](FTMoc& moc) {
        return moc.fetchFirst<FTPerson>([](const FTPerson* p) { return p->name() == "John Brown"; });
    };
    ASSERT_TRUE(john(*first) && john(*second));
    EXPECT_EQ(john(*first)->lastChange().date(), QDate(2001, 1, 3));
    EXPECT_NE(john(*second)->lastChange().date(), QDate(2001, 1, 3));
    const auto folio = [](FTMoc& moc) {
        return moc.fetchFirst<FTSourceRel>([](const FTSourceRel* r) { return r->reference() == "Folio 3"; });
    };
    ASSERT_TRUE(folio(*first) && folio(*second));
    EXPECT_EQ(folio(*first)->certainty(), 2);
    EXPECT_NE(folio(*second)->certainty(), 2);
}

// A file from another program, imported, exported whole and imported again: a source nobody cites yet, picture
// links to files that were on the other computer only (inline and through multimedia records, for a person and
// for sources), and a census source whose three citations each link a picture, of which the source keeps the
// first.
TEST_F(GedcomRoundTrip, SourcesAndPictureLinksOfAnotherComputerSurvive)
{
    auto first = import(TestSupport::dataFile("gedcom-import/sources-and-media-elsewhere.ged"));
    ASSERT_TRUE(first);
    // The two picture links the census source could not take are named in the log with their lines.
    const QString log = unprocessedLog();
    for (const char* line : { "line 28. INDI.SOUR.OBJE, the source has a picture already and a source holds only "
                              "one, record ignored",
             "line 37. INDI.SOUR.OBJE, the source has a picture already and a source holds only one, record ignored" })
        EXPECT_TRUE(log.contains(line)) << line << "\n" << log.toStdString();
    const QString exported = exportAll(first.get());
    auto second = import(exported);
    ASSERT_TRUE(second);
    EXPECT_EQ(unprocessedRecordLines(), QStringList());

    const Canon a = canonical(*first), b = canonical(*second);
    // The fixture must reach the first database, or the comparison proves nothing.
    EXPECT_EQ(a.sources.filter("Letters of Aunt Edith | Edith Brown").size(), 1) << a.sources.join("\n").toStdString();
    EXPECT_EQ(a.sources.size(), 3);
    EXPECT_EQ(a.citations.size(), 4) << a.citations.join("\n").toStdString();
    EXPECT_EQ(a.pictures,
        QStringList({
            "John Brown | file '' | original '/home/other/pictures/wedding.png' | The wedding | notes '' | date '' | 2 | "
            "{{0, 0}, {0, 0}}",
            "John Brown | file '' | original 'C:/Photos/john at twenty.jpg' | John at twenty | notes 'Taken in Leeds' | "
            "date '' | 1 | {{0, 0}, {0, 0}}",
            "source Census 1881 | file '' | original 'C:/Scans/Census/census-john.jpg' | Census page of John | "
            "notes '' | date '' | 1 | {{0, 0}, {0, 0}}",
            "source Parish register of York | file '' | original 'D:/Registers/page-7.jpg' | Register page 7 | "
            "notes '' | date '' | 1 | {{0, 0}, {0, 0}}",
        }));
    for (FTMoc* moc : { first.get(), second.get() })
        EXPECT_EQ(moc->count<FTPicture>([](const FTPicture* p) { return !p->owner() && !p->source(); }), 0);

    expectSame(a.people, b.people, "people");
    expectSame(a.couples, b.couples, "couples");
    expectSame(a.links, b.links, "parent-child links");
    expectSame(a.sources, b.sources, "sources");
    expectSame(a.citations, b.citations, "citations of people and events");
    expectSame(a.pictures, b.pictures, "pictures");

    // What the export does not write, so the second import cannot have it: a picture's own citations (GEDCOM has
    // a place for them, the export writes none), besides CHAN and QUAY (above).
    EXPECT_EQ(a.pictureCitations, QStringList { "Parish register of York | The wedding | Entry 112" });
    EXPECT_TRUE(b.pictureCitations.isEmpty());
}

} // namespace
