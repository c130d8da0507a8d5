#include "ExportFixture.h"

#include "gedcom/GedcomWriter.h"

#include "model/FTModelDefaults.h"
#include "model/FTPicture.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <csignal>
#include <sys/resource.h>

namespace {

// While it lives, no file of this process may grow beyond `bytes`: a write past it fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedSignal = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { bytes, m_saved.rlim_max };
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedSignal);
    }

private:
    rlimit m_saved {};
    void (*m_savedSignal)(int) = nullptr;
};

FTEvent* event(FTMoc* moc, int type, FTManagedObject* owner, const QString& tag, const QString& date)
{
    FTEvent* e = FTEvent::initInMoc(moc, type, owner, tag);
    if (!date.isEmpty())
        e->setDate(date);
    return e;
}

class GedcomExport : public ExportFixture {
protected:
    FTPerson* born(const QString& name, const QString& gender, const QString& date)
    {
        FTPerson* p = person(name, gender);
        if (!date.isEmpty())
            p->setValueForKeyPath("birth.date", date);
        return p;
    }
    FTSource* source(const QString& title)
    {
        FTSource* s = FTSource::initInMoc(moc.get());
        s->setTitle(title);
        return s;
    }
};

} // namespace

// One small database with a little of everything the file can hold.
TEST_F(GedcomExport, SmallDatabase)
{
    FTMoc* m = moc.get();
    FTPerson* john = born("John Smith", M(), "abt 1850");
    john->setValueForKeyPath("birth.place", "Leeds\nYorkshire");
    john->birth()->setLatitude(0);
    john->birth()->setLongitude(151.2f);
    john->setValueForKeyPath("death.date", "12 Mar 1920");
    john->setCauseOfDeath("Pneumonia\nafter a fever");
    john->setNotes("First line\nSecond line with an @ sign");
    john->setTitle("Blacksmith");
    john->setComments("Kept @ home");
    john->setUserId("REF\n42");
    event(m, FTEvent::OtherPersonalEvent, john, "BAPM", "bef 3 Feb 1850")->setName("Baptism at St Mary's");
    event(m, FTEvent::OtherPersonalEvent, john, "_WAR", "")->setPlace("Crimea");
    m->setFocalPerson(john);

    FTPerson* mary = born("Mary Jones", F(), "bef 1855");
    mary->setValueForKeyPath("death.date", "Y");
    FTSpouseRel* marriage = couple(john, mary);
    marriage->setValueForKeyPath("marriage.date", "aft 1875");
    marriage->setValueForKeyPath("marriage.place", "York");
    marriage->setValueForKeyPath("marriage.notes", "Married\r\nin the rain");
    event(m, FTEvent::OtherMarriageEvent, marriage, "ENGA", "1874");

    // Children of each kind of link.
    FTPerson* anne = born("Anne Smith", F(), "1876");
    FTPcRel* anneFather = link(john, anne, FTPcRel::kNatural);
    anneFather->setCertainty(80);
    anneFather->setDirectEvidence(true);
    anneFather->setNotes("Seen in\nthe register");
    link(mary, anne, FTPcRel::kNatural);
    FTPerson* bert = born("Bert Smith", M(), "1878");
    link(john, bert, FTPcRel::kAdopted);
    link(mary, bert, FTPcRel::kAdopted);
    FTPerson* carl = born("Carl Smith", M(), "1879");
    link(john, carl, FTPcRel::kFoster);
    link(mary, carl, FTPcRel::kFoster);
    FTPerson* dora = born("Dora Smith", F(), "1880");
    link(john, dora, FTPcRel::kStep);
    link(mary, dora, FTPcRel::kNatural);

    // A single mother with two children.
    FTPerson* ellen = born("Ellen Brown", F(), "1855");
    link(ellen, born("Fred Brown", M(), "1880"));
    link(ellen, born("Gina Brown", F(), "1882"));

    // Associations: one to a person the file leaves out (living people are not written), one to Mary.
    FTPerson* zed = born("Zed Witness", M(), "1990");
    FTAssociation* toZed = FTAssociation::initInMoc(m);
    toZed->setFromPerson(john);
    toZed->setToPerson(zed);
    toZed->setFromRelationship("Godfather");
    FTAssociation* toMary = FTAssociation::initInMoc(m);
    toMary->setFromPerson(john);
    toMary->setToPerson(mary);
    toMary->setFromRelationship("Business\npartner");
    toMary->setNotes("Line one\nLine two");

    FTSource* parish = source("Parish register of Leeds");
    parish->setAuthor("Rev. A. Vicar");
    parish->setLocation("Leeds Archive\nBox 5");
    parish->setNotes("Kept @ Leeds");
    parish->setType("Church record");
    FTSource* census = source("Census 1881");
    source("Never cited");
    FTSourceRel* birthCitation = FTSourceRel::initInMoc(m, parish, john->birth(), "Birth date");
    birthCitation->setReference("Page 12");
    birthCitation->setNotes("Entry\nline 3");
    FTSourceRel::initInMoc(m, census, anne, "Residence")->setReference(QString(300, u'x'));

    GedcomExportOptions o;
    o.includeLivingPeople = false;
    const QByteArray bytes = exportFile(o);
    ASSERT_FALSE(bytes.isEmpty());
    TestSupport::expectGolden(bytes, "gedcom-export-small.ged");
}

// Living people written in depersonalised form keep the sex and their family links, and with the option 1 the first
// name, with 2 the birth year; nothing private, not even the comments record, reaches the file.
TEST_F(GedcomExport, DepersonalisedPeopleKeepOnlyWhatTheOptionSays)
{
    FTMoc* m = moc.get();
    FTPerson* john = born("John Brown", M(), "3 Apr 1990");
    john->setNotes("Private notes");
    john->setComments("Private comments");
    john->setTitle("Engineer");
    john->setUserId("R1");
    event(m, FTEvent::OtherPersonalEvent, john, "BAPM", "1990");
    FTSourceRel::initInMoc(m, source("Register"), john, "Name");
    FTPerson* jane = born("Jane Brown", F(), "");
    jane->setValueForKeyPath("birth.place", "Leeds");
    FTSpouseRel* c = couple(john, jane);
    c->setValueForKeyPath("marriage.date", "2015");
    event(m, FTEvent::OtherMarriageEvent, c, "ENGA", "2014");
    FTPerson* old = born("Old Brown", M(), "1900");
    old->setValueForKeyPath("death.date", "2010");
    link(old, john);

    GedcomExportOptions o;
    o.depersonalizeLivingPeople = true;
    o.depersonalizeRecentlyDead = true;
    const QString nbsp(QChar(0x00A0));
    struct Case {
        int option;
        QStringList john, jane;
    } cases[] = {
        {0, {"0 @I1@ INDI", "1 NAME Living", "1 SEX M", "1 FAMS @F1@", "1 FAMC @F2@", "2 _FREL Natural"},
         {"0 @I2@ INDI", "1 NAME Living", "1 SEX F", "1 FAMS @F1@"}},
        {1, {"0 @I1@ INDI", "1 NAME Living" + nbsp + "John", "1 SEX M", "1 FAMS @F1@", "1 FAMC @F2@", "2 _FREL Natural"},
         {"0 @I2@ INDI", "1 NAME Living" + nbsp + "Jane", "1 SEX F", "1 FAMS @F1@"}},
        {2,
         {"0 @I1@ INDI", "1 NAME Living" + nbsp + "John", "1 SEX M", "1 BIRT", "2 DATE 1990", "1 FAMS @F1@", "1 FAMC @F2@",
          "2 _FREL Natural"},
         // A birth with a place but no year is a bare line.
         {"0 @I2@ INDI", "1 NAME Living" + nbsp + "Jane", "1 SEX F", "1 BIRT", "1 FAMS @F1@"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        o.depersonalizeOption = c.option;
        const QStringList all = lines(exportFile(o));
        EXPECT_EQ(record(all, "I1"), c.john);
        EXPECT_EQ(record(all, "I2"), c.jane);
        EXPECT_TRUE(record(all, "IC1").isEmpty());
        EXPECT_TRUE(record(all, "IN1").isEmpty());
        // The whole database's sources are written, but not the depersonalised person's citation of one.
        EXPECT_EQ(record(all, "S1"), QStringList({"0 @S1@ SOUR", "1 TITL Register"}));
        EXPECT_FALSE(all.join('\n').contains("SOUR @S1@"));
        // No marriage; the other marriage event of the couple stands as a bare line.
        EXPECT_EQ(record(all, "F1"), QStringList({"0 @F1@ FAM", "1 HUSB @I1@", "1 WIFE @I2@", "1 ENGA"}));
        EXPECT_EQ(record(all, "I3").value(1), "1 NAME Recent" + (c.option > 0 ? nbsp + "Old" : QString()));
    }
}

// Held-back people are left out with everything that would point at them.
TEST_F(GedcomExport, ExcludedPeopleLeaveNoPointersBehind)
{
    FTPerson* parent = born("Pat Grey", M(), "1920");
    parent->setValueForKeyPath("death.date", "1990");
    FTPerson* living = born("Lee Grey", F(), "1985");
    FTPerson* spouse = born("Sam Grey", F(), "1925");
    spouse->setValueForKeyPath("death.date", "2000");
    couple(parent, spouse);
    link(parent, living);
    link(spouse, living);

    GedcomExportOptions o;
    o.includeLivingPeople = false;
    QStringList all = lines(exportFile(o));
    EXPECT_TRUE(record(all, xrefOf(living)).isEmpty());
    EXPECT_FALSE(all.join('\n').contains(QStringLiteral("@%1@").arg(xrefOf(living))));
    EXPECT_FALSE(record(all, xrefOf(parent)).isEmpty());

    o.includeRecentlyDead = false;   // both parents died within the last 50 years
    all = lines(exportFile(o));
    EXPECT_TRUE(record(all, xrefOf(parent)).isEmpty());
    EXPECT_TRUE(all.filter(QRegularExpression("^0 @F")).isEmpty());
}

// Who is living or recently dead is decided as of the export's moment: the same database exported with a moment
// of 1990 and of 2024 holds back different people.
TEST_F(GedcomExport, PrivacyFollowsTheExportsMoment)
{
    FTPerson* ada = born("Ada Old", F(), "1895");          // living in 1990 (born at most 100 years before)
    FTPerson* bob = born("Bob Gone", M(), "1900");
    bob->setValueForKeyPath("death.date", "1950");         // recently dead in 1990 (within 50 years)
    FTPerson* cy = born("Cy Young", M(), "1960");          // living at both moments
    GedcomExportOptions o;
    o.includeLivingPeople = false;
    o.includeRecentlyDead = false;
    const struct {
        int year;
        bool adaWritten, bobWritten;
    } cases[] = { { 1990, false, false }, { 2024, true, true } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.year);
        now = QDateTime(QDate(c.year, 6, 1), QTime(12, 0));
        const QStringList all = lines(exportFile(o));
        EXPECT_EQ(!record(all, xrefOf(ada)).isEmpty(), c.adaWritten);
        EXPECT_EQ(!record(all, xrefOf(bob)).isEmpty(), c.bobWritten);
        EXPECT_TRUE(record(all, xrefOf(cy)).isEmpty());
    }
}

// A file that cannot be written whole (the disk fills up half-way) fails the export with a message, and what was
// written is removed: nothing that looks like an export but ends early is left behind.
TEST_F(GedcomExport, AFailedWriteLeavesNoPartOfTheFile)
{
    for (int i = 0; i < 200; ++i)
        person(QStringLiteral("Person %1 Smith").arg(i), M())->setNotes(QString(200, u'n'));
    ASSERT_TRUE(moc->saveMoc());
    ExportToGedcom exporter(moc.get());
    exporter.setOptions(options());
    exporter.setOutputFolder(outDir());
    exporter.setNow(now);
    const QString planned = exporter.gedcomFilename();
    ASSERT_TRUE(planned.startsWith(outDir() + "/"));
    prompts.clear();
    {
        const FileSizeLimit diskFullAt(16 * 1024);
        EXPECT_FALSE(exporter.generationThread());
    }
    EXPECT_TRUE(QDir(outDir()).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << QDir(outDir()).entryList(QDir::Files | QDir::Hidden).join(", ").toStdString();
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "The Gedcom file " + planned + " could not be written completely.");

    // With room on the disk the same export is whole.
    EXPECT_TRUE(exporter.generationThread());
    EXPECT_GT(QFileInfo(exporter.gedcomFilename()).size(), 16 * 1024);
}

// Identifiers stay unique whatever numbers the database holds, and single-parent families are numbered above
// every couple.
TEST_F(GedcomExport, IdentifiersAreUnique)
{
    FTPerson* a = born("Ann Lee", F(), "1900");
    FTPerson* b = born("Bob Lee", M(), "1898");
    FTPerson* c = born("Cid Lee", M(), "1920");
    FTPerson* d = born("Dan Lee", M(), "1922");
    b->setNumericId(a->numericId());     // two people share a number
    d->setNumericId(0);                  // one has none
    FTSpouseRel* first = couple(a, b);
    first->setNumericId(2);              // the range a count of records would give single parents
    link(a, c);
    link(b, c);
    link(a, d);                          // a's own child: a single-parent family
    FTPerson* e = born("Eve Lee", F(), "1930");
    FTPerson* f = born("Fay Lee", F(), "1950");
    link(e, f);

    const QStringList all = lines(exportFile());
    QStringList ids;
    for (const QString& line : all)
        if (line.startsWith("0 @"))
            ids << line.section(' ', 1, 1);
    EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), ids.size()) << ids.join(' ').toStdString();
    EXPECT_EQ(ids.count(QStringLiteral("@F2@")), 1);
    // Both single parents: one family each, above the couple's number.
    EXPECT_TRUE(ids.contains("@F3@") && ids.contains("@F4@")) << ids.join(' ').toStdString();
    const QStringList ofA = record(all, "F3");
    EXPECT_TRUE(ofA.contains(QStringLiteral("1 WIFE @%1@").arg(xrefOf(a))));
    EXPECT_EQ(ofA.filter("CHIL").size(), 1);
}

// A single parent's children all go into one family, whatever their links; a link of a kind the file cannot
// name is reported and gives no family.
TEST_F(GedcomExport, SingleParentFamilies)
{
    FTPerson* dad = born("Tom Hall", M(), "1900");
    FTPerson* one = born("Una Hall", F(), "1925");
    FTPerson* two = born("Vic Hall", M(), "1927");
    FTPerson* odd = born("Wes Hall", M(), "1929");
    link(dad, one, FTPcRel::kNatural);
    link(dad, two, FTPcRel::kStep);
    link(dad, odd, FTPcRel::kNotRelated);

    const QStringList all = lines(exportFile());
    const QStringList family = record(all, "F1");
    EXPECT_EQ(family, QStringList({"0 @F1@ FAM", "1 HUSB @I1@", "1 CHIL @I2@", "2 _FREL Natural", "1 CHIL @I3@",
                                   "2 _FREL Step"}));
    EXPECT_TRUE(record(all, "F2").isEmpty());
    EXPECT_FALSE(record(all, "I4").join('\n').contains("FAMC"));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0], "Unrecognised PCREL Type = 4096 between Tom Hall (1900 - ) and Wes Hall (1929 - )");
}

// An event's own name and its cause are written whatever its kind: a birth, death or marriage with a name other
// than the one its kind has gets it as its TYPE, and any event with a cause a CAUS line (a death the person's
// cause of death, when there is one).
TEST_F(GedcomExport, EventNamesAndCauses)
{
    FTMoc* m = moc.get();
    FTPerson* james = born("James Polk", M(), "2 Nov 1795");
    james->birth()->setName("11th President");
    james->setValueForKeyPath("death.date", "15 Jun 1849");
    james->death()->setName("Age: 53");
    james->death()->setCauseOfEvent("Fever");
    james->setCauseOfDeath("Cholera");
    FTEvent* baptism = event(m, FTEvent::OtherPersonalEvent, james, "BAPM", "1796");
    baptism->setCauseOfEvent("Sickly child");
    FTPerson* sarah = born("Sarah Polk", F(), "1803");
    sarah->birth()->setName("Birth");                        // the name of its kind: no TYPE
    sarah->setValueForKeyPath("death.place", "Nashville");
    sarah->death()->setCauseOfEvent("Old age");                // no cause of death of the person's own
    FTPerson* ann = person("Ann Polk", F());
    ann->setValueForKeyPath("birth.notes", " ");
    ann->birth()->setCauseOfEvent("Breech");                   // nothing but a cause: written all the same
    FTSpouseRel* marriage = couple(james, sarah);
    marriage->setValueForKeyPath("marriage.date", "1 Jan 1824");
    marriage->marriage()->setName("By licence");

    const QStringList all = lines(exportFile());
    EXPECT_EQ(record(all, "I1").mid(3, 10),
              QStringList({"1 BIRT", "2 TYPE 11th President", "2 DATE 02 NOV 1795", "1 DEAT", "2 TYPE Age: 53",
                           "2 DATE 15 JUN 1849", "2 CAUS Cholera", "1 BAPM", "2 DATE 1796", "2 CAUS Sickly child"}))
        << record(all, "I1").join('\n').toStdString();
    EXPECT_EQ(record(all, "I2").mid(3, 5),
              QStringList({"1 BIRT", "2 DATE 1803", "1 DEAT Y", "2 CAUS Old age", "2 PLAC Nashville"}))
        << record(all, "I2").join('\n').toStdString();
    EXPECT_EQ(record(all, "I3").mid(3, 2), QStringList({"1 BIRT", "2 CAUS Breech"}));
    EXPECT_EQ(record(all, "F1").mid(3, 3), QStringList({"1 MARR", "2 TYPE By licence", "2 DATE 01 JAN 1824"}));
}

// Line rules of events: dates, "Y", places, LDS ordinances, unknown tags, and custom tags switched off.
TEST_F(GedcomExport, EventLines)
{
    FTMoc* m = moc.get();
    FTPerson* old = born("Old Man", M(), "1893");         // 131 years before the export's 2024
    old->setValueForKeyPath("death.notes", " ");          // an empty death
    FTPerson* young = born("Young Man", M(), "1894");
    young->setValueForKeyPath("death.notes", " ");
    FTPerson* wife = born("Old Wife", F(), "1895");
    couple(old, wife)->setValueForKeyPath("marriage.date", "Y");
    FTEvent* lds = event(m, FTEvent::OtherPersonalEvent, old, "BAPL", "1900");
    lds->setName("Baptism (LDS)");
    lds->setLdsStatus("BIC");
    lds->setLdsTempleCode("SLAKE");
    const QString longLine(300, u'p');
    event(m, FTEvent::OtherPersonalEvent, young, "RESI", "1920")->setPlace(longLine);
    event(m, FTEvent::OtherPersonalEvent, young, "RESI", "1930")
        ->setPlace(QString(50, u'a') + "\n" + QString(50, u'b') + "\n" + QString(50, u'c'));
    old->setTitle("Mayor\nof Town");
    m->setFocalPerson(old);

    QStringList all = lines(exportFile());
    const QStringList oldRecord = record(all, "I1");
    EXPECT_TRUE(oldRecord.contains("1 DEAT Y"));
    EXPECT_TRUE(oldRecord.contains("1 _OCTI Mayor of Town"));
    const qsizetype at = oldRecord.indexOf("1 BAPL");
    ASSERT_GE(at, 0);
    EXPECT_EQ(oldRecord.mid(at, 4), QStringList({"1 BAPL", "2 DATE 1900", "2 STAT BIC", "2 TEMP SLAKE"}));
    EXPECT_FALSE(record(all, "I2").join('\n').contains("DEAT"));
    // A place is never cut: a long one goes on in a CONC line, the lines of one are joined.
    const QStringList youngRecord = record(all, "I2");
    const qsizetype placeAt = youngRecord.indexOf("2 PLAC " + longLine.left(246));
    ASSERT_GE(placeAt, 0) << youngRecord.join('\n').toStdString();
    EXPECT_EQ(youngRecord.value(placeAt + 1), "3 CONC " + longLine.mid(246));
    EXPECT_TRUE(youngRecord.contains("2 PLAC " + QString(50, u'a') + ", " + QString(50, u'b') + ", " + QString(50, u'c')));
    EXPECT_TRUE(record(all, "F1").contains("1 MARR Y"));

    GedcomExportOptions o;
    o.includeCustomTags = false;
    all = lines(exportFile(o));
    EXPECT_EQ(all.filter(QRegularExpression("^[1-9] _")), QStringList()) << "custom tags off";
    EXPECT_TRUE(all.contains("2 CONT _CMTS = The comments field for a Person. It may have CONT and CONC sub-records"))
        << "the header lists the tags anyway";
}

// Only the people of a selective export are written, with the families, associations and citations among them.
TEST_F(GedcomExport, SelectiveExport)
{
    FTMoc* m = moc.get();
    FTPerson* a = born("Al Ray", M(), "1900");
    FTPerson* b = born("Bea Ray", F(), "1902");
    FTPerson* c = born("Cy Ray", M(), "1930");
    FTPerson* d = born("Di Ray", F(), "1932");
    couple(a, b);
    link(a, c);
    link(b, c);
    link(a, d);
    link(b, d);
    FTAssociation* assoc = FTAssociation::initInMoc(m);
    assoc->setFromPerson(a);
    assoc->setToPerson(b);
    FTSourceRel::initInMoc(m, source("Only B's"), b, "");
    // Al's portrait cites an album, whose scan cites a catalogue: both sources are written with the portrait.
    FTSource* album = source("Album");
    FTSource* catalogue = source("Catalogue");
    FTSourceRel::initInMoc(m, album, FTPicture::initInMoc(m, "C:/Photos/al.jpg", a), "")->setReference("Page 3");
    FTSourceRel::initInMoc(m, catalogue, FTPicture::initInMoc(m, "C:/Scans/album.jpg", album), "");

    const QSet<FTPerson*> chosen{a, c, d};
    const QStringList all = lines(exportFile(options(), &chosen));
    QStringList ids;
    for (const QString& line : all)
        if (line.startsWith("0 @"))
            ids << line.section(' ', 1, 1);
    // No couple without Bea; Al's children form his single-parent family.
    EXPECT_EQ(ids, QStringList({"@SUBN1@", "@SM1@", "@I1@", "@I3@", "@I4@", "@F2@", "@S2@", "@S3@"}));
    const QStringList al = record(all, "I1");
    const qsizetype portrait = al.indexOf("2 TITL al");
    ASSERT_GE(portrait, 0) << al.join('\n').toStdString();
    EXPECT_EQ(al.mid(portrait + 1, 2), QStringList({"2 SOUR @S2@", "3 PAGE Page 3"}));
    EXPECT_TRUE(record(all, "S2").contains("2 SOUR @S3@"));
    EXPECT_FALSE(all.join('\n').contains("@I2@"));
}

// The file: a new name when the old one is taken, never replacing it; a folder that cannot take a file is reported.
TEST_F(GedcomExport, OutputFile)
{
    born("Al Ray", M(), "1900");
    {
        QFile old(outDir() + "/Family.GED");
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older export");
    }
    ExportToGedcom exporter(moc.get());
    exporter.setOutputFolder(outDir());
    EXPECT_EQ(exporter.gedcomFilename(), outDir() + "/Family_1.GED");
    QList<int> progress;
    exporter.progressChanged = [&](int p) { progress << p; };
    ASSERT_TRUE(exporter.generateGedcomFile());
    EXPECT_EQ(exporter.gedcomFilename(), outDir() + "/Family_1.GED");
    EXPECT_FALSE(ExportToGedcom::exportIsActive());
    EXPECT_EQ(progress.value(0), 0);
    EXPECT_EQ(progress.last(), 100);
    QFile older(outDir() + "/Family.GED");
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), "older export");

    QFile written(exporter.gedcomFilename());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" "0 HEAD\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n0 TRLR\r\n"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
    EXPECT_TRUE(lines(bytes).contains("1 FILE Family_1.GED"));

    ExportToGedcom nowhere(moc.get());
    nowhere.setOutputFolder(outDir() + "/Family_1.GED/below-a-file");
    EXPECT_FALSE(nowhere.generationThread());
    EXPECT_FALSE(ExportToGedcom::exportIsActive());
    EXPECT_EQ(messages().last(), "Unable to create the file for the Gedcom output");
}

// Pictures go out as links inside the records of their person or source.
// A picture whose file is not on this computer (a path from another machine's GEDCOM file) keeps its link under
// that path, for people and for sources; a picture with no path at all has no link.
TEST_F(GedcomExport, PictureLinksOfFilesNotOnThisComputer)
{
    FTPerson* ann = born("Ann Lee", F(), "1900");
    FTPicture* portrait = FTPicture::initInMoc(moc.get(), "C:/Photos/Ann at twenty.JPG", ann);
    ASSERT_TRUE(portrait && portrait->filename().isEmpty());
    portrait->setNotes("Taken in Leeds");
    ASSERT_TRUE(FTPicture::initInMoc(moc.get(), QString(), ann)); // neither file nor path
    FTSource* census = source("Census 1881");
    ASSERT_TRUE(FTPicture::initInMoc(moc.get(), "/home/other/scans/page 7.tif", census));

    // The picture links of a record: each OBJE line with the lines under it.
    auto links = [](const QStringList& record) {
        QStringList out;
        bool inLink = false;
        for (const QString& line : record) {
            if (line.startsWith("1 "))
                inLink = line == "1 OBJE";
            if (inLink)
                out << line;
        }
        return out;
    };
    const QStringList all = lines(exportFile());
    EXPECT_EQ(links(record(all, xrefOf(ann))),
        QStringList({"1 OBJE", "2 FILE C:/Photos/Ann at twenty.JPG", "2 FORM jpg", "2 TITL Ann at twenty", "2 NOTE",
            "3 CONC Taken in Leeds", "2 _OFNM C:/Photos/Ann at twenty.JPG", "2 _CROP {{0, 0}, {0, 0}}",
            "2 _SEQN 1"}));
    EXPECT_EQ(links(record(all, "S1")),
        QStringList({"1 OBJE", "2 FILE /home/other/scans/page 7.tif", "2 FORM tif", "2 TITL page 7",
            "2 _OFNM /home/other/scans/page 7.tif", "2 _CROP {{0, 0}, {0, 0}}", "2 _SEQN 1"}));
}

TEST_F(GedcomExport, PictureLinks)
{
    const QString scan = pathFor("scans/Wedding_Day.JPG");
    QDir().mkpath(pathFor("scans"));
    {
        QFile f(scan);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not really a picture");
    }
    FTPerson* ann = born("Ann Lee", F(), "1900");
    FTPicture* picture = FTPicture::initInMoc(moc.get(), scan, ann);
    ASSERT_TRUE(picture);
    picture->setRclCut("{{1, 2}, {30, 40}}");
    picture->setNotes("Taken\nat noon");
    picture->setDate("1925");
    FTSource* album = source("Family album");
    FTSourceRel::initInMoc(moc.get(), album, ann, "");
    ASSERT_TRUE(FTPicture::initInMoc(moc.get(), scan, album));
    ASSERT_TRUE(QFileInfo::exists(picture->filename()));
    // A file linked from the pictures folder is written as the file the link points to.
    const QString file = QFileInfo(picture->filename()).isSymLink() ? scan : picture->filename();

    const QStringList all = lines(exportFile());
    const QStringList link{"1 OBJE", "2 FILE " + file, "2 FORM jpg", "2 TITL Wedding Day", "2 NOTE", "3 CONC Taken",
                           "3 CONT at noon"};
    const QStringList person = record(all, xrefOf(ann));
    const qsizetype at = person.indexOf("1 OBJE");
    ASSERT_GE(at, 0);
    EXPECT_EQ(person.mid(at, link.size()), link);
    EXPECT_EQ(person.mid(at + link.size(), 4),
              QStringList({"2 _OFNM " + scan, "2 _CROP {{1, 2}, {30, 40}}", "2 _SEQN 1", "2 _DATE 1925"}));
    const QStringList sourceRecord = record(all, "S1");
    const qsizetype inSource = sourceRecord.indexOf("1 OBJE");
    ASSERT_GE(inSource, 0);
    EXPECT_EQ(sourceRecord.value(inSource + 1).left(7), "2 FILE ");
}
