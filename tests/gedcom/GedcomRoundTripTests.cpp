// Import a GEDCOM file, export the database, import the export again: the two databases must describe the same
// family. Everything is compared by a canonical text per person, couple, parent-child link and source, so a
// difference shows up as the lines that differ.

#include "WholeDatabaseExport.h"

#include "gedcom/ExportToGedcom.h"
#include "gedcom/GedcomExportOptions.h"
#include "gedcom/ImportGedcomListener.h"
#include "gedcom/ImportGedcomOutcome.h"
#include "gedcom/ImportGedcomThread.h"
#include "model/EventTypesVocabulary.h"
#include "model/FTAssociation.h"
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
#include "QtPrinters.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

struct Canon {
    // Citations of people and events; those of pictures apart.
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
        ExportToGedcom exporter(moc);
        exporter.setOptions(wholeDatabaseExportOptions());
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

    // The time of a record's last change (CHAN) is not written: a new file is a new copy, the second database
    // stamps its own. The quality of a citation (QUAY), which the database keeps as the citation's certainty, is.
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
    EXPECT_EQ(folio(*second)->certainty(), 2);
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

    // A picture's own citations are written under its link.
    EXPECT_EQ(a.pictureCitations, QStringList { "Parish register of York | The wedding | Entry 112" });
    expectSame(a.pictureCitations, b.pictureCitations, "citations of pictures");
}


// ---- Field by field ------------------------------------------------------------------------------------------

// What the user keeps, one line per record with every field, so that a difference names the record and shows the
// field. `asExported` applies to the first database the rules by which the export writes a field differently on
// purpose; they are the only differences a round trip may show:
// - an event that holds nothing (no date, place, notes, cause, citation, nor a name of its own) is not written;
// - a death without a date of someone born more than 130 years ago is written as known to have happened (DEAT Y);
// - a family name of several words is written between slashes, and the import joins such a name's words with
//   no-break spaces;
// - a place of several lines is written on one line, its lines joined by ", " (GEDCOM has no line break there).
struct Fields {
    QStringList people, events, couples, links, sources, citations, pictures;
};

QString quotedField(const QString& text) { return u'\'' + text + u'\''; }

class FieldDump {
public:
    FieldDump(FTMoc& moc, bool asExported, int thisYear) : m_moc(moc), m_asExported(asExported), m_year(thisYear) {}

    Fields fields()
    {
        Fields f;
        for (const FTPerson* p : m_moc.fetch<FTPerson>()) {
            f.people << QStringLiteral("%1 | %2 | title %3 | notes %4 | comments %5 | ref %6")
                            .arg(name(p), p->gender(), quotedField(p->title()), quotedField(p->notes()),
                                 quotedField(p->comments()), quotedField(p->userId()));
            QList<FTEvent*> all = p->otherEvents();
            for (FTEvent* e : {p->birth(), p->death()})
                if (e)
                    all << e;
            for (const FTEvent* e : all)
                addEvent(f, name(p), e);
        }
        for (const FTSpouseRel* r : m_moc.fetch<FTSpouseRel>()) {
            const QString partners = couple(r);
            f.couples << partners + " | ref " + quotedField(r->userId());
            QList<FTEvent*> all = r->otherMarriageEvents();
            if (r->marriage())
                all << r->marriage();
            for (const FTEvent* e : all)
                addEvent(f, partners, e);
        }
        for (const FTPcRel* l : m_moc.fetch<FTPcRel>())
            f.links << QStringLiteral("%1 -> %2 : %3").arg(name(l->parent()), name(l->child())).arg(l->intPcRelType());
        for (const FTSource* s : m_moc.fetch<FTSource>())
            f.sources << QStringLiteral("%1 | abbr %2 | author %3 | publisher %4 | date %5 | type %6 | location %7 | "
                                        "notes %8 | ref %9")
                             .arg(quotedField(s->title()), quotedField(s->abbreviatedTitle()), quotedField(s->author()),
                                  quotedField(s->publisher()), quotedField(s->date()), quotedField(s->type()),
                                  quotedField(s->location()), quotedField(s->notes()), quotedField(s->userId()));
        for (const FTSourceRel* c : m_moc.fetch<FTSourceRel>()) {
            QString owner;
            if (c->event())
                owner = "event " + eventKey(c->event());
            else if (c->picture())
                owner = "picture " + quotedField(c->picture()->name());
            else if (c->person())
                owner = "person " + name(c->person());
            f.citations << QStringLiteral("%1 cites %2 | ref %3 | topic %4 | notes %5")
                               .arg(owner, quotedField(c->source() ? c->source()->title() : QString()),
                                    quotedField(c->reference()), quotedField(c->itemDescribed()),
                                    quotedField(c->notes()));
        }
        for (const FTPicture* p : m_moc.fetch<FTPicture>()) {
            const QString owner = p->owner() ? name(p->owner())
                : p->source()                ? "source " + p->source()->title()
                                             : QStringLiteral("nobody");
            f.pictures << QStringLiteral("%1 | file %2 | original %3 | title %4 | notes %5 | date %6 | %7")
                              .arg(owner, quotedField(p->filename()), quotedField(p->originalFilename()),
                                   quotedField(p->name()), quotedField(p->notes()), quotedField(p->date()))
                              .arg(p->seqNo());
        }
        for (QStringList* list : {&f.people, &f.events, &f.couples, &f.links, &f.sources, &f.citations, &f.pictures})
            list->sort();
        return f;
    }

private:
    QString name(const FTPerson* p) const
    {
        if (!p)
            return QStringLiteral("<nobody>");
        QString n = p->name();
        const QString family = p->familyName();
        if (m_asExported && family.contains(u' ')) {
            const qsizetype at = n.lastIndexOf(family);
            if (at >= 0)
                n.replace(at, family.size(), QString(family).replace(u' ', QChar(0x00A0)));
        }
        return n;
    }

    QString couple(const FTSpouseRel* r) const
    {
        QStringList names;
        for (const FTPerson* p : r->partners())
            names << name(p);
        names.sort();
        return names.join(" & ");
    }

    QString owner(const FTEvent* e) const
    {
        if (e->spouseRel())
            return couple(e->spouseRel());
        return name(e->person());
    }

    QString date(const FTEvent* e) const
    {
        const QString d = e->date();
        if (!m_asExported || e->type() != FTEvent::DeathEvent || !d.isEmpty() || !e->person())
            return d;
        const FTEvent* birth = e->person()->birth();
        return birth && birth->year() != 0 && m_year - birth->year() > 130 ? QStringLiteral("Y") : d;
    }

    QString place(const FTEvent* e) const
    {
        QString p = e->place();
        return m_asExported ? p.replace(QLatin1String("\n"), QLatin1String(", ")) : p;
    }

    QString eventKey(const FTEvent* e) const
    {
        return QStringLiteral("%1 %2 %3 %4").arg(owner(e), e->subtype()).arg(e->type()).arg(quotedField(date(e)));
    }

    bool holdsNothing(const FTEvent* e) const
    {
        const QString own = e->stringValue("name");
        const bool defaultName = own.isEmpty() || own == EventTypesVocabulary::nameForTag(e->subtype());
        return date(e).isEmpty() && e->place().isEmpty() && e->notes().isEmpty() && e->causeOfEvent().isEmpty()
            && e->sourceRels().isEmpty() && defaultName;
    }

    void addEvent(Fields& f, const QString& ownerName, const FTEvent* e) const
    {
        Q_UNUSED(ownerName);
        if (holdsNothing(e))
            return;
        f.events << QStringLiteral("%1 | name %2 | place %3 | notes %4 | cause %5")
                        .arg(eventKey(e), quotedField(e->name()), quotedField(place(e)), quotedField(e->notes()),
                             quotedField(e->causeOfEvent()));
    }

    FTMoc& m_moc;
    bool m_asExported;
    int m_year;
};

// A file written by another program, with what such programs write and the export used to drop or cut: text on
// the birth, death and marriage lines, causes of events other than deaths, a 300-character page reference, a
// place of several lines, notes with empty lines, blanks at the ends of lines, long words, lines of 255 and 256
// characters and non-Latin text, a page reference split by CONC, pictures that cite sources, blank lines before
// the header and between records, and custom tags of that program.
TEST_F(GedcomRoundTrip, ForeignFileSurvivesFieldByField)
{
    auto first = import(TestSupport::dataFile("gedcom-import/foreign-round-trip.ged"));
    ASSERT_TRUE(first);
    // A custom tag of the other program under an event has no field here: the log names it under its record. One
    // under the person is kept in the person's comments.
    const QString firstLog = unprocessedLog();
    EXPECT_TRUE(firstLog.contains("line 88. 0 @I4@ INDI\nline 92.    1 INDI.EVEN Sailed for Europe\n"
                                  "line 98. ->      2 INDI.EVEN._UID 4F2A9C\n"))
        << firstLog.toStdString();

    auto second = import(exportAll(first.get()));
    ASSERT_TRUE(second);
    EXPECT_EQ(unprocessedRecordLines(), QStringList());

    const int thisYear = QDate::currentDate().year();
    const Fields a = FieldDump(*first, true, thisYear).fields();
    const Fields b = FieldDump(*second, false, thisYear).fields();

    // The fixture must reach the first database, or the comparison proves nothing.
    const auto has = [](const QStringList& list, const QString& text) {
        return list.filter(text).size() == 1;
    };
    EXPECT_TRUE(has(a.events, "BIRT 300 '02 Nov 1795' | name '11th President'")) << a.events.join("\n").toStdString();
    EXPECT_TRUE(has(a.events, "DEAT 301 '15 Jun 1849' | name 'Age: 53'"));
    EXPECT_TRUE(has(a.events, "DEAT 301 '14 Aug 1891' | name 'Tomb in the parish church'"));
    EXPECT_TRUE(has(a.events, "MARR 302 '01 Jan 1824' | name 'By licence'"));
    EXPECT_TRUE(has(a.events, "BAPM 303 '1796' | name 'Baptism' | place '' | notes '' | cause 'Sickly child'"));
    EXPECT_TRUE(has(a.events, "cause 'Ended by law'"));
    EXPECT_TRUE(has(a.events, "Polk Place, the family house on Vine Street, between Union Street and Church Street, "
                              "Nashville, Davidson County"));
    EXPECT_TRUE(has(a.events, "Henry Fitz\u00a0Lewes DEAT 301 'Y'"));
    // The text on an event's line that a TYPE line names otherwise, or on a second birth line, describes the event.
    EXPECT_TRUE(has(a.events, "EVEN 303 '1850' | name 'Voyage' | place '' | notes 'Sailed for Europe\nLine one\n\nLine three'"));
    EXPECT_TRUE(has(a.events, "EVEN 303 '1821' | name 'Alternate Birth' | place '' | notes 'As the parish register has it'"));
    EXPECT_TRUE(has(a.citations, "ref 'https://archives.example.org/")) << a.citations.join("\n").toStdString();
    EXPECT_TRUE(has(a.citations, "ref 'Catalogue entry 1850/117, written on two lines by the other program'"));
    EXPECT_TRUE(has(a.citations, "picture 'James in 1845' cites 'Portrait catalogue' | ref 'Plate 4'"));
    EXPECT_TRUE(has(a.citations, "picture 'Polk Place' cites 'Portrait catalogue' | ref 'Plate 9'"));
    EXPECT_TRUE(has(a.people, "notes 'Kenya.\n\n-------- \nJanice wrote from Nairobi.'")) << a.people.join("\n").toStdString();
    EXPECT_TRUE(has(a.people, QString::fromUtf8("\nΕλληνικά, Русский, 中文, עברית, 😀 † 1891, mail@example.org\n")));
    EXPECT_TRUE(has(a.people, "comments '1 _UID 0A1B2C3D'"));
    EXPECT_TRUE(has(a.sources, "location 'Library of Congress'")) << a.sources.join("\n").toStdString();

    expectSame(a.people, b.people, "people");
    expectSame(a.events, b.events, "events");
    expectSame(a.couples, b.couples, "couples");
    expectSame(a.links, b.links, "parent-child links");
    expectSame(a.sources, b.sources, "sources");
    expectSame(a.citations, b.citations, "citations");
    expectSame(a.pictures, b.pictures, "pictures");
}

// Every free text of a database comes back as it was, character for character, wherever it is kept: notes of
// people, events, citations, sources, pictures, parent-child links and associations, a person's comments and a
// source's repository. (Blanks and line breaks at the very ends of a whole text are not kept: import and export
// both trim them.)
TEST_F(GedcomRoundTrip, TextsSurviveCharacterForCharacter)
{
    const QString line255 = QString("The quick brown fox jumps over the lazy dog. ").repeated(6).left(254) + '.';
    const QString line256 = QString("Pack my box with five dozen liquor jugs, then ").repeated(6).left(255) + '!';
    const QStringList texts = {
        "Kenya.\n\n-------- \nJanice wrote from Nairobi.",
        "First\n\n\nafter two empty lines\n\nand one",
        "Start\n   three leading blanks\ntrailing blanks   \n   \nblanks  inside  the  line\nEnd",
        "Start " + QString("Donaudampfschiffahrtsgesellschaftskapit\u00e4n").repeated(8) + " end",
        line255 + "\n" + line256 + "\n" + QString(149, 'a') + " " + QString(100, 'b'),
        QString(149, 'x') + QString::fromUtf8("\U0001F600") + "y\n" + QString(145, 'x') + "e\u0301\u0301\u0301\u0301zz",
        QString::fromUtf8("\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac\n\u0420\u0443\u0441\u0441\u043a\u0438\u0439 "
                          "\u4e2d\u6587 \u05e2\u05d1\u05e8\u05d9\u05ea\n\u2020 1891, no-break\u00a0space, "
                          "mail@example.org, @@, @I1@"),
        "--------\n0 HEAD\n1 CONT looks like a GEDCOM line\n--------",
    };
    // One family per text: a child with a birth that cites a source, a picture, a citation of her own and an
    // associate, and a father.
    QByteArray file = "0 HEAD\n1 SOUR Other program\n1 CHAR UTF-8\n";
    for (qsizetype k = 1; k <= texts.size(); ++k)
        file += QStringLiteral("0 @I%1@ INDI\n1 NAME Child /Case%1/\n1 SEX F\n1 BIRT\n2 DATE 1900\n2 SOUR @S%1@\n"
                               "3 PAGE 1\n1 FAMC @F%1@\n1 ASSO @P%1@\n2 RELA Friend\n1 OBJE\n2 FILE C:/p%1.jpg\n"
                               "2 FORM jpg\n2 TITL Picture %1\n1 SOUR @S%1@\n2 PAGE 2\n"
                               "0 @P%1@ INDI\n1 NAME Father /Case%1/\n1 SEX M\n1 FAMS @F%1@\n"
                               "0 @F%1@ FAM\n1 HUSB @P%1@\n1 CHIL @I%1@\n"
                               "0 @S%1@ SOUR\n1 TITL Register %1\n")
                    .arg(k)
                    .toUtf8();
    file += "0 TRLR\n";
    auto first = import(writeFile("texts.ged", file));
    ASSERT_TRUE(first);

    // Each text in every place of its family.
    using Getter = std::function<QString(FTPerson*)>;
    struct Place {
        const char* what;
        std::function<void(FTPerson*, const QString&)> set;
        Getter get;
    };
    const auto eventCitation = [](FTPerson* p) { return p->birth()->sourceRels().value(0); };
    const auto ownCitation = [](FTPerson* p) {
        for (FTSourceRel* c : p->sourceRels())
            if (!c->event())
                return c;
        return static_cast<FTSourceRel*>(nullptr);
    };
    const auto source = [](FTPerson* p) { return p->birth()->sourceRels().value(0)->source(); };
    // (The import gives the father a wife of its own making, so the child has two parents.)
    const auto fatherLink = [](FTPerson* p) {
        for (FTPcRel* l : p->parents())
            if (l->parent()->name().startsWith("Father"))
                return l;
        return static_cast<FTPcRel*>(nullptr);
    };
    const std::vector<Place> places = {
        {"person's notes", [](FTPerson* p, const QString& t) { p->setNotes(t); }, [](FTPerson* p) { return p->notes(); }},
        {"comments", [](FTPerson* p, const QString& t) { p->setComments(t); }, [](FTPerson* p) { return p->comments(); }},
        {"event's notes", [](FTPerson* p, const QString& t) { p->birth()->setNotes(t); },
         [](FTPerson* p) { return p->birth()->notes(); }},
        {"event citation's notes", [=](FTPerson* p, const QString& t) { eventCitation(p)->setNotes(t); },
         [=](FTPerson* p) { return eventCitation(p)->notes(); }},
        {"person citation's notes", [=](FTPerson* p, const QString& t) { ownCitation(p)->setNotes(t); },
         [=](FTPerson* p) { return ownCitation(p)->notes(); }},
        {"source's notes", [=](FTPerson* p, const QString& t) { source(p)->setNotes(t); },
         [=](FTPerson* p) { return source(p)->notes(); }},
        {"source's repository", [=](FTPerson* p, const QString& t) { source(p)->setLocation(t); },
         [=](FTPerson* p) { return source(p)->location(); }},
        {"picture's notes", [](FTPerson* p, const QString& t) { p->pictures().value(0)->setNotes(t); },
         [](FTPerson* p) { return p->pictures().value(0)->notes(); }},
        {"parent-child link's notes", [=](FTPerson* p, const QString& t) { fatherLink(p)->setNotes(t); },
         [=](FTPerson* p) { return fatherLink(p)->notes(); }},
        {"association's notes", [](FTPerson* p, const QString& t) { p->associationsTo().value(0)->setNotes(t); },
         [](FTPerson* p) { return p->associationsTo().value(0)->notes(); }},
    };
    const auto child = [](FTMoc& moc, qsizetype k) {
        const QString name = QStringLiteral("Child Case%1").arg(k);
        return moc.fetchFirst<FTPerson>([&](const FTPerson* p) { return p->name() == name; });
    };
    for (qsizetype k = 1; k <= texts.size(); ++k) {
        FTPerson* p = child(*first, k);
        ASSERT_TRUE(p && p->birth() && p->pictures().size() == 1 && fatherLink(p)
                    && p->associationsTo().size() == 1 && eventCitation(p) && ownCitation(p));
        for (const Place& place : places)
            place.set(p, texts[k - 1]);
    }

    auto second = import(exportAll(first.get()));
    ASSERT_TRUE(second);
    EXPECT_EQ(unprocessedRecordLines(), QStringList());
    for (qsizetype k = 1; k <= texts.size(); ++k) {
        FTPerson* p = child(*second, k);
        ASSERT_TRUE(p && p->birth() && p->pictures().size() == 1 && fatherLink(p)
                    && p->associationsTo().size() == 1 && eventCitation(p) && ownCitation(p));
        for (const Place& place : places)
            EXPECT_EQ(place.get(p).toStdString(), texts[k - 1].toStdString()) << place.what << ", text " << k;
    }
}

} // namespace
