// Copying a person from the other database into a box of the open one: the questions asked, the four kinds of box,
// the people taken along, the citations and sources, undo, and the report.

#include "MergeFixture.h"

#include "merge/PersonCopier.h"

#include "shell/BackupPanel.h"

#include "model/FTMocUndoManager.h"
#include "model/Hierarchy.h"

#include "platform/store/EntityDescription.h"
#include "platform/store/PropertyDescription.h"
#include "platform/store/StoreSchema.h"

#include <QFile>

#include <algorithm>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
constexpr long kChild = PersonCopier::kChildBox;
constexpr long kSpouse = PersonCopier::kSpouseBox;
constexpr long kParent = 1;

const QDateTime kNow(QDate(2024, 3, 5), QTime(14, 7));

QStringList names(const QList<FTPerson*>& people)
{
    QStringList out;
    for (const FTPerson* p : people)
        out << p->name();
    return out;
}

FTPerson* named(FTMoc* moc, const QString& name)
{
    return moc->fetchFirst<FTPerson>([&](const FTPerson* p) { return p->name() == name; });
}

// Every record of a database with each stored value (relationships as the sorted keys of their records): what undo
// and redo must give back exactly. Left out: the change stamps, and the lists the program keeps in the database's
// defaults outside undo (recent sources, which drop a source that is gone when they are read).
QStringList everything(const FTMoc* moc)
{
    QStringList out;
    for (const EntityDescription* e : moc->schema().entities()) {
        if (e->isAbstract())
            continue;
        for (ManagedObject* o : moc->fetch(e->name())) {
            if (o->entityName() != e->name())
                continue;
            QStringList fields {e->name(), QString::number(o->primaryKey())};
            for (const PropertyDescription* p : e->properties()) {
                if (p->transient || p->isDerived() || p->name == "lastChange"
                    || (e->name() == "ModelDefaults" && p->name == "extraData"))
                    continue;
                QString text;
                if (p->isToOne()) {
                    const ManagedObject* t = ManagedObject::fromVariant(o->value(p->key));
                    text = t ? QString::number(t->primaryKey()) : "nil";
                } else if (p->isToMany()) {
                    QList<qint64> keys;
                    for (const ManagedObject* t : o->objects(p->key))
                        keys << t->primaryKey();
                    std::sort(keys.begin(), keys.end());
                    for (qint64 k : keys)
                        text += QString::number(k) + ",";
                } else {
                    text = o->value(p->key).toString();
                }
                fields << p->name + "=" + text;
            }
            out << fields.join(' ');
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

QStringList sourceTitles(const FTManagedObject* record)
{
    QList<FTSourceRel*> citations;
    if (auto* p = dynamic_cast<const FTPerson*>(record)) {
        for (FTSourceRel* c : p->sourceRels())
            if (!c->event())
                citations << c;
    } else if (auto* e = dynamic_cast<const FTEvent*>(record)) {
        citations = e->sourceRels();
    } else if (auto* pic = dynamic_cast<const FTPicture*>(record)) {
        citations = pic->sourceRels();
    }
    QStringList out;
    for (const FTSourceRel* c : citations)
        out << QStringLiteral("%1 #%2").arg(c->source()->title()).arg(c->source()->numericId());
    out.sort();
    return out;
}

struct RecordingPanel : BackupPanel {
    QString answer;
    int runs = 0;
    QString run(const QString&, const QString&, const QString&, const QString&) override
    {
        ++runs;
        return answer;
    }
};
}

class PersonCopierTest : public MergeFixture {
protected:
    void SetUp() override
    {
        MergeFixture::SetUp();
        owner = person(open.get(), "Owen Owner", "M", "1900");
    }

    std::unique_ptr<PersonCopier> copier(FTPerson* there, FTPerson* box, long ancLevel, int pcRelType = 1)
    {
        auto c = std::make_unique<PersonCopier>(there, box, ancLevel, pcRelType);
        c->backupBeforeCopy = false;
        c->setClock([] { return kNow; });
        return c;
    }
    // The copy, every alert answered with its first button.
    PersonCopier::Result copy(PersonCopier& c)
    {
        prompts.clear();
        return c.copy();
    }
    int count(FTMoc* moc, const char* entity) const { return moc->count(QString::fromLatin1(entity)); }

    FTPerson* owner = nullptr;
};

TEST_F(PersonCopierTest, APersonIsAskedAboutOnlyWhenANamesakeHereWasBornWithinTenYears)
{
    person(open.get(), "John Smith", "M", "1900");
    person(open.get(), "Jöhn SMITH", "M", "1940");
    struct Case {
        const char* born;
        int candidates; // 0: not asked
    } cases[] = {{"1890", 1}, {"1910", 1}, {"1889", 0}, {"1911", 0}, {"1935", 1}, {"", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.born);
        FTPerson* there = person(other.get(), "john smith", "M", c.born);
        auto copy = copier(there, owner, kSpouse);
        prompts.clear();
        prompts.answer(1); // "Don't Copy": the person is there
        EXPECT_EQ(copy->personExistsInTargetModel(there), c.candidates > 0);
        ASSERT_EQ(prompts.records.size(), c.candidates > 0 ? 1 : 0);
        if (c.candidates == 0)
            continue;
        const auto& asked = prompts.records[0];
        EXPECT_EQ(asked.buttons, QStringList({L("CopyConfirmYes"), L("CopyConfirmNo")}));
        EXPECT_EQ(asked.text, c.candidates == 1 ? L("ThereIs1") : QString("%1 2 %2").arg(L("ThereAre"), L("InModel")));
        EXPECT_TRUE(asked.info.contains("\"" + there->nameWithBirthAndDeathYears() + "\""));
        // Asked once: the answer stands for the rest of the copy.
        EXPECT_TRUE(copy->personExistsInTargetModel(there));
        EXPECT_EQ(prompts.records.size(), 1);
    }
    // The first button copies the person all the same.
    FTPerson* there = person(other.get(), "John Smith", "M", "1901");
    prompts.clear();
    EXPECT_FALSE(copier(there, owner, kSpouse)->personExistsInTargetModel(there));
}

TEST_F(PersonCopierTest, AParentsAgeAtTheBirthDecidesWhetherTheChildMayBeCopied)
{
    FTPerson* parent = person(other.get(), "Pa Rent", "M", "1900");
    auto copy = copier(parent, owner, kSpouse);
    struct Case {
        const char* born;
        int answer;
        bool allowed;
        const char* said; // the start of the alert, empty for none
    } cases[] = {
        {"1916", 0, true, ""},
        {"1944", 0, true, ""},
        {"1915", 0, true, "Warning: \"Kit Kid (1915 - )\" would be born when her parent \"Pa Rent (1900 - )\" was 15 years old"},
        {"1945", 1, false, "Warning: \"Kit Kid (1945 - )\" would be born when her parent \"Pa Rent (1900 - )\" was 45 years old"},
        {"1979", 0, true, "Warning:"},
        {"1980", 0, false,
         "The person was not copied.\n\nReason: \"Kit Kid (1980 - )\" would be born when her parent \"Pa Rent (1900 - )\" was "
         "80 years old"},
        {"1900", 0, false,
         "The person was not copied.\n\nReason: \"Kit Kid (1900 - )\" was born 0 years before her parent \"Pa Rent (1900 - )\""},
        {"1890", 0, false, "The person was not copied.\n\nReason: \"Kit Kid (1890 - )\" was born 10 years before"},
        {"", 0, false, "A person is copied as a parent or a child only when both people have a birth year."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.born);
        FTPerson* child = person(other.get(), "Kit Kid", "F", c.born);
        prompts.clear();
        prompts.answer(c.answer);
        EXPECT_EQ(copy->checkParentChildAgeDifference(parent, child), c.allowed);
        if (*c.said == 0) {
            EXPECT_TRUE(prompts.records.isEmpty());
            continue;
        }
        ASSERT_EQ(prompts.records.size(), 1);
        EXPECT_TRUE(prompts.records[0].text.startsWith(QString::fromUtf8(c.said))) << prompts.records[0].text.toStdString();
        const bool question = QString::fromUtf8(c.said).startsWith("Warning");
        EXPECT_EQ(prompts.records[0].buttons, question ? QStringList({L("Continue"), L("Cancel")}) : QStringList());
    }
}

TEST_F(PersonCopierTest, AChildOfAPersonWithTwoSpousesIsTheFirstOnesNaturalChildAndTheSecondOnesStepChild)
{
    FTPerson* ann = person(open.get(), "Ann First", "F", "1902");
    FTPerson* bea = person(open.get(), "Bea Second", "F", "1905");
    marry(owner, ann, "1920");
    marry(owner, bea, "1935");
    FTPerson* kid = person(other.get(), "Kit Kid", "M", "1925");
    auto c = copier(kid, owner, kChild);

    ASSERT_EQ(copy(*c), PersonCopier::Result::Copied);
    FTPerson* made = named(open.get(), "Kit Kid");
    ASSERT_TRUE(made);
    QStringList links;
    for (const FTPcRel* link : made->parentRels())
        links << QString("%1 %2").arg(link->parent()->name()).arg(link->intPcRelType());
    links.sort();
    EXPECT_THAT(links, ElementsAre("Ann First 1", "Bea Second 2", "Owen Owner 1"));
    const QString kit = "\"" + made->nameWithBirthAndDeathYears() + "\"";
    EXPECT_THAT(c->assumptions(),
                ElementsAre("It has been assumed that " + kit + " is the NATURAL child of \"Ann First (1902 - )\"",
                            "It has been assumed that " + kit + " is the STEP child of \"Bea Second (1905 - )\""));
    EXPECT_TRUE(c->reportText().startsWith(c->assumptions().join('\n')));
    EXPECT_EQ(messages(), QStringList({"1 person was copied from the other database."}));
}

TEST_F(PersonCopierTest, ARefusedCopyLeavesTheDatabaseAndItsActiveSourceAsTheyWere)
{
    FTPerson* child = person(open.get(), "Cy Child", "M", "1925");
    parentOf(owner, child);
    FTSource* mine = FTSource::initInMoc(open.get());
    mine->setTitle("My own source");
    open->setActiveSource(mine);
    open->setActiveSourcePageRef("p. 12");
    open->undoManager()->closeOpenGroups();
    const int undoSteps = open->undoManager()->undoCount();

    struct Case {
        const char* name;
        const char* gender;
        const char* born;
        FTPerson* box;
        long ancLevel;
        const char* said;
    } cases[] = {
        {"Sam Same", "M", "1901", owner, kSpouse, "Owen Owner (1900 - )'s spouse must be Female"},
        {"Fred Father", "M", "1900", child, kParent, "A person has only one natural Father"},
        {"Old Kid", "M", "1990", owner, kChild, "The person was not copied."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto copy = copier(person(other.get(), c.name, c.gender, c.born), c.box, c.ancLevel);
        const int people = count(open.get(), "Person"), sources = count(open.get(), "Source");
        EXPECT_EQ(this->copy(*copy), PersonCopier::Result::Refused);
        EXPECT_EQ(messages().size(), 2);
        EXPECT_TRUE(messages().value(0).startsWith(c.said)) << messages().value(0).toStdString();
        EXPECT_EQ(messages().value(1), "0 people were copied from the other database.");
        EXPECT_EQ(count(open.get(), "Person"), people);
        EXPECT_EQ(count(open.get(), "Source"), sources);
        EXPECT_EQ(open->activeSource(), mine);
        EXPECT_EQ(open->activeSourcePageRef(), "p. 12");
        EXPECT_EQ(open->undoManager()->undoCount(), undoSteps);
        EXPECT_FALSE(QFile::exists(copy->reportPath()));
    }
}

TEST_F(PersonCopierTest, ANaturalParentMarriesTheOtherParentAsTheyWereMarriedThereAndTakesTheHalfSiblings)
{
    FTPerson* mum = person(open.get(), "Mia Mother", "F", "1900");
    FTPerson* child = person(open.get(), "Cy Child", "M", "1925");
    FTPerson* half = person(open.get(), "Hal Half", "M", "1928");
    parentOf(mum, child);
    parentOf(mum, half);
    FTPerson* dad = person(other.get(), "Dan Dad", "M", "1898");
    FTPerson* mumThere = person(other.get(), "MIA MOTHER", "F", "1900");
    FTSpouseRel* wedding = marry(dad, mumThere, "12 JUN 1924", "York");
    FTSourceRel* c = FTSourceRel::initInMoc(other.get(), FTSource::initInMoc(other.get()), wedding->marriage(), {});
    c->source()->setTitle("Banns book");

    auto copier = this->copier(dad, child, kParent, 1);
    ASSERT_EQ(copy(*copier), PersonCopier::Result::Copied);
    FTPerson* made = named(open.get(), "Dan Dad");
    ASSERT_TRUE(made);
    EXPECT_EQ(child->naturalFather(), made);
    ASSERT_EQ(made->spouseRelsArray().size(), 1);
    const FTSpouseRel* couple = made->spouseRelsArray().first();
    EXPECT_EQ(couple->partnerOf(made), mum);
    ASSERT_TRUE(couple->marriage());
    EXPECT_EQ(couple->marriage()->date(), wedding->marriage()->date());
    EXPECT_EQ(couple->marriage()->place(), "York");
    EXPECT_EQ(sourceTitles(couple->marriage()).size(), 2);
    EXPECT_TRUE(sourceTitles(couple->marriage()).join(",").contains("Banns book"));
    EXPECT_EQ(half->naturalFather(), made);
    EXPECT_THAT(copier->assumptions(), ElementsAre("It has been assumed that \"" + half->nameWithBirthAndDeathYears() +
                                                   "\" is the NATURAL child of \"" +
                                                   made->nameWithBirthAndDeathYears() + "\""));
}

// Zoe's parents are second cousins: Adam and Beth are her great-grandparents along both lines.
class CopyingAncestors : public PersonCopierTest {
protected:
    void SetUp() override
    {
        PersonCopierTest::SetUp();
        FTMoc* m = other.get();
        adam = person(m, "Adam Anc", "M", "1800");
        beth = person(m, "Beth Anc", "F", "1802");
        marry(adam, beth, "1825");
        xavier = person(m, "Xavier Anc", "M", "1830");
        yvonne = person(m, "Yvonne Anc", "F", "1832");
        for (FTPerson* p : {xavier, yvonne}) {
            parentOf(adam, p);
            parentOf(beth, p);
        }
        xena = person(m, "Xena Wife", "F", "1831");
        yorick = person(m, "Yorick Husband", "M", "1829");
        marry(xavier, xena, "1855");
        marry(yorick, yvonne, "1856");
        paul = person(m, "Paul Pa", "M", "1860");
        parentOf(xavier, paul);
        parentOf(xena, paul);
        pia = person(m, "Pia Ma", "F", "1862");
        parentOf(yorick, pia);
        parentOf(yvonne, pia);
        marry(paul, pia, "1885");
        zoe = person(m, "Zoe Zed", "F", "1890");
        parentOf(paul, zoe);
        parentOf(pia, zoe);
    }
    // Zoe as the owner's wife, with her ancestors and their spouses.
    std::unique_ptr<PersonCopier> ancestorsCopier()
    {
        auto c = copier(zoe, owner, kSpouse);
        c->setIncludeAncestors(true);
        return c;
    }
    void deselect(PersonCopier& c, FTPerson* person)
    {
        for (Hierarchy* row : c.outline().rows())
            for (Hierarchy* up = row; up; up = up->owner())
                if (up->person() == person)
                    c.outline().setSelected(row, false);
    }
    FTPerson *adam, *beth, *xavier, *yvonne, *xena, *yorick, *paul, *pia, *zoe;
};

TEST_F(CopyingAncestors, ACollapsedPedigreeIsOpenedOnceAndEveryAncestorCopiedOnce)
{
    auto c = ancestorsCopier();
    QStringList rows;
    for (const Hierarchy* row : c->outline().rows())
        rows << QString(row->level(), '.') + row->person()->name() + (row->repeatedElsewhere() ? " (again)" : "");
    EXPECT_THAT(rows, ElementsAre("Zoe Zed", ".Paul Pa", "..Xavier Anc", "...Adam Anc", "...Beth Anc", "..Xena Wife",
                                  ".Pia Ma", "..Yorick Husband", "..Yvonne Anc", "...Adam Anc (again)",
                                  "...Beth Anc (again)"));

    ASSERT_EQ(copy(*c), PersonCopier::Result::Copied);
    EXPECT_EQ(c->numPeopleCopied(), 9);
    EXPECT_EQ(count(open.get(), "Person"), 10);
    FTPerson* adamHere = named(open.get(), "Adam Anc");
    ASSERT_TRUE(adamHere);
    EXPECT_THAT(names(adamHere->childrenOfType(-1)), ElementsAre("Xavier Anc", "Yvonne Anc"));
    EXPECT_THAT(names(adamHere->spouses()), ElementsAre("Beth Anc"));
    FTPerson* zoeHere = named(open.get(), "Zoe Zed");
    EXPECT_THAT(names(zoeHere->parentsOfType(1)), ElementsAre("Paul Pa", "Pia Ma"));
    EXPECT_THAT(names(zoeHere->spouses()), ElementsAre("Owen Owner"));
    EXPECT_THAT(names(named(open.get(), "Paul Pa")->spouses()), ElementsAre("Pia Ma"));
    EXPECT_EQ(count(open.get(), "SpouseRel"), 5);
}

TEST_F(CopyingAncestors, AParentWhoseRowIsNotSelectedComesWithoutTheirParents)
{
    auto c = ancestorsCopier();
    deselect(*c, paul);
    ASSERT_EQ(copy(*c), PersonCopier::Result::Copied);
    // Paul and his wife's side; Xavier and Xena only through Paul, so they stay behind.
    EXPECT_TRUE(named(open.get(), "Paul Pa"));
    EXPECT_TRUE(named(open.get(), "Paul Pa")->parentRels().isEmpty());
    EXPECT_FALSE(named(open.get(), "Xavier Anc"));
    EXPECT_FALSE(named(open.get(), "Xena Wife"));
    EXPECT_TRUE(named(open.get(), "Adam Anc"));
    EXPECT_EQ(c->numPeopleCopied(), 7);
}

TEST_F(CopyingAncestors, APersonSaidToBeHereAlreadyIsLeftOutWithEveryLinkToThem)
{
    FTPerson* paulHere = person(open.get(), "Paul Pa", "M", "1861");
    auto c = ancestorsCopier();
    prompts.clear();
    prompts.answer(1); // Paul is the one here
    ASSERT_EQ(c->copy(), PersonCopier::Result::Copied);
    EXPECT_EQ(prompts.records.first().buttons, QStringList({L("CopyConfirmYes"), L("CopyConfirmNo")}));
    EXPECT_TRUE(paulHere->parentRels().isEmpty());
    EXPECT_TRUE(paulHere->spouseRelsArray().isEmpty());
    EXPECT_TRUE(paulHere->childRels().isEmpty());
    EXPECT_EQ(count(open.get(), "Person"), 2 + 6); // Zoe, Pia and Pia's four ancestors
    EXPECT_THAT(names(named(open.get(), "Zoe Zed")->parentsOfType(-1)), ElementsAre("Pia Ma"));
}

TEST_F(PersonCopierTest, DescendantsComeWithTheirSpousesButACoupleWithOnePartnerIsSkipped)
{
    FTPerson* kid = person(other.get(), "Kit Kid", "M", "1925");
    FTPerson* wife = person(other.get(), "Wyn Wife", "F", "1927");
    marry(kid, wife, "1950");
    FTPerson* grandchild = person(other.get(), "Gus Grand", "M", "1952");
    parentOf(kid, grandchild);
    parentOf(wife, grandchild);
    FTSpouseRel* alone = FTSpouseRel::initInMoc(other.get());
    alone->addPartnersObject(grandchild);

    {
        auto c = copier(kid, owner, kChild);
        ASSERT_EQ(copy(*c), PersonCopier::Result::Copied);
        EXPECT_EQ(count(open.get(), "Person"), 2); // without the option only the person
        open->undoManager()->undo();
    }
    auto c = copier(kid, owner, kChild);
    c->setIncludeAncestors(true);
    ASSERT_EQ(copy(*c), PersonCopier::Result::Copied);
    EXPECT_EQ(c->numPeopleCopied(), 3);
    FTPerson* gus = named(open.get(), "Gus Grand");
    ASSERT_TRUE(gus);
    EXPECT_THAT(names(gus->parentsOfType(1)), ElementsAre("Kit Kid", "Wyn Wife"));
    EXPECT_TRUE(gus->spouseRelsArray().isEmpty());
    EXPECT_EQ(count(open.get(), "SpouseRel"), 1);
}

TEST_F(PersonCopierTest, EveryCitationArrivesAndCitesTheSourceThatHoldsTheSameInEveryField)
{
    // Here: a blank source, a source with the title only, and one the same as "Census" there.
    FTSource::initInMoc(open.get());
    FTSource* titleOnly = FTSource::initInMoc(open.get());
    titleOnly->setTitle("Parish register");
    FTSource* census = FTSource::initInMoc(open.get());
    census->setTitle("Census");
    census->setAuthor("Registrar");

    FTMoc* m = other.get();
    FTSource* register_ = FTSource::initInMoc(m);
    register_->setTitle("Parish register");
    register_->setAuthor("Vicar");
    FTSource* censusThere = FTSource::initInMoc(m);
    censusThere->setTitle("Census");
    censusThere->setAuthor("Registrar");
    FTPerson* kid = person(m, "Kit Kid", "M", "1925", "Leeds");
    FTPerson* wife = person(m, "Wyn Wife", "F", "1927");
    FTSpouseRel* wedding = marry(kid, wife, "1950");
    FTEvent* job = event(kid, "OCCU", "1945");
    FTPicture* photo = picture(kid, "kit.jpg");
    FTSourceRel::initInMoc(m, register_, kid, {})->setReference("folio 3");
    FTSourceRel::initInMoc(m, censusThere, kid->birth(), {});
    FTSourceRel::initInMoc(m, register_, job, {});
    FTSourceRel::initInMoc(m, censusThere, photo, {});
    FTSourceRel::initInMoc(m, register_, wedding->marriage(), {});
    FTSourceRel::initInMoc(m, register_, wife, {});

    auto c = copier(kid, owner, kChild);
    c->setIncludeAncestors(true);
    const int sourcesBefore = count(open.get(), "Source");
    ASSERT_EQ(copy(*c), PersonCopier::Result::Copied);
    // One new source for the register and the source of the copy; the census is the one here.
    EXPECT_EQ(count(open.get(), "Source"), sourcesBefore + 2);
    FTSource* registerHere = open->fetchFirst<FTSource>(
        [](const FTSource* s) { return s->title() == "Parish register" && s->author() == "Vicar"; });
    ASSERT_TRUE(registerHere);
    FTSource* merge = c->mergeSource();
    ASSERT_TRUE(merge);
    const QString reg = QString("Parish register #%1").arg(registerHere->numericId());
    const QString cen = QString("Census #%1").arg(census->numericId());
    const QString cp = QString("%1 #%2").arg(merge->title()).arg(merge->numericId());
    auto with = [](QStringList l) {
        l.sort();
        return l;
    };
    FTPerson* kidHere = named(open.get(), "Kit Kid");
    FTPerson* wifeHere = named(open.get(), "Wyn Wife");
    EXPECT_EQ(sourceTitles(kidHere), with({reg, cp}));
    EXPECT_EQ(sourceTitles(kidHere->birth()), with({cen, cp}));
    ASSERT_EQ(kidHere->otherEvents().size(), 1);
    EXPECT_EQ(sourceTitles(kidHere->otherEvents().first()), with({reg, cp}));
    ASSERT_EQ(kidHere->pictures().size(), 1);
    EXPECT_EQ(kidHere->pictures().first()->filename(), photo->filename());
    EXPECT_EQ(sourceTitles(kidHere->pictures().first()), with({cen, cp}));
    EXPECT_EQ(sourceTitles(wifeHere), with({reg, cp}));
    EXPECT_EQ(sourceTitles(kidHere->spouseRelsArray().first()->marriage()), with({reg, cp}));
    const FTSourceRel* own = nullptr;
    for (FTSourceRel* r : kidHere->sourceRels())
        if (r->source() == registerHere)
            own = r;
    ASSERT_TRUE(own);
    EXPECT_EQ(own->reference(), "folio 3");
    EXPECT_EQ(merge->type(), L("DBMerge"));
    EXPECT_EQ(merge->title(), "Copied from Other on 05-Mar-24 at 14:07");
    EXPECT_EQ(merge->abbreviatedTitle(), "Copy from Other on 05-Mar-24 at 14:07");
    EXPECT_EQ(merge->date(), "05-Mar-24 at 14:07");
    EXPECT_EQ(merge->location(), "Database = " + other->databaseURL());
}

TEST_F(PersonCopierTest, OneUndoTakesTheWholeCopyAwayAndTheOtherDatabaseIsOnlyRead)
{
    FTSource* mine = FTSource::initInMoc(open.get());
    open->setActiveSource(mine);
    open->saveMoc();
    FTPerson* kid = person(other.get(), "Kit Kid", "M", "1925");
    FTPerson* wife = person(other.get(), "Wyn Wife", "F", "1927");
    marry(kid, wife, "1950");
    story(kid, "<p>Told</p>");
    other->saveMoc();
    const QString before = QString("%1 %2 %3").arg(count(open.get(), "Person")).arg(count(open.get(), "Source"))
                               .arg(count(open.get(), "SourceRel"));
    const QStringList everythingBefore = everything(open.get());

    auto c = copier(kid, owner, kChild);
    c->setIncludeAncestors(true);
    ASSERT_EQ(copy(*c), PersonCopier::Result::Copied);
    EXPECT_FALSE(other->hasChanges());
    EXPECT_EQ(open->activeSource(), mine);
    ASSERT_TRUE(named(open.get(), "Kit Kid")->story());
    EXPECT_EQ(named(open.get(), "Kit Kid")->story()->attributedString(), "<p>Told</p>");
    EXPECT_EQ(open->undoManager()->undoActionName(), L("MergeFromDB"));

    const QStringList everythingCopied = everything(open.get());

    open->undoManager()->undo();
    EXPECT_EQ(QString("%1 %2 %3").arg(count(open.get(), "Person")).arg(count(open.get(), "Source"))
                  .arg(count(open.get(), "SourceRel")),
              before);
    EXPECT_TRUE(owner->childRels().isEmpty());
    EXPECT_EQ(everything(open.get()), everythingBefore);
    // The records the copy made keep no record of their values in the undo step: redo puts them back whole.
    open->undoManager()->redo();
    EXPECT_EQ(everything(open.get()), everythingCopied);
    ASSERT_TRUE(open->saveMoc());
    open->undoManager()->undo();
    ASSERT_TRUE(open->saveMoc());
    EXPECT_EQ(everything(open.get()), everythingBefore);
    open->undoManager()->redo();
    EXPECT_EQ(everything(open.get()), everythingCopied) << "after the undone copy was saved away";
}

TEST_F(PersonCopierTest, AFailedBackupAsksWhetherToCopyAllTheSame)
{
    FTPerson* kid = person(other.get(), "Kit Kid", "M", "1925");
    RecordingPanel panel; // cancelled
    for (int answer : {1, 0}) {
        auto c = copier(kid, owner, kChild);
        c->backupBeforeCopy = true;
        c->setBackupPanel(&panel);
        prompts.clear();
        prompts.answer(answer);
        EXPECT_EQ(c->copy(), answer == 1 ? PersonCopier::Result::NotCopied : PersonCopier::Result::Copied);
        EXPECT_EQ(messages().value(0), "No backup was made. Copy Kit Kid?");
    }
    EXPECT_EQ(panel.runs, 2);
}

TEST_F(PersonCopierTest, TheReportListsTheCopyAndIsKeptAsTheNotesOfItsSource)
{
    FTPerson* ann = person(open.get(), "Ann Owner", "F", "1902");
    marry(owner, ann, "1922");
    FTPerson* kid = person(other.get(), "Kit Kid", "M", "1925");
    FTPerson* wife = person(other.get(), "Wyn Wife", "F", "1927");
    marry(kid, wife, "1950");
    for (const char* name : {"Gus Grand", "Amy Grand"}) {
        FTPerson* g = person(other.get(), name, name[0] == 'G' ? "M" : "F", name[0] == 'G' ? "1952" : "1955");
        parentOf(kid, g);
        parentOf(wife, g);
    }
    auto c = copier(kid, owner, kChild);
    c->setIncludeAncestors(true);
    ASSERT_EQ(copy(*c), PersonCopier::Result::Copied);

    QFile file(c->reportPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    TestSupport::expectGolden(bytes, "merge/copy-person-report.txt");
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    EXPECT_EQ(c->mergeSource()->notes(), text.mid(text.indexOf('\n') + 1).trimmed());
    EXPECT_EQ(c->reportText(), c->mergeSource()->notes());
}
