#include "PeopleFixture.h"

#include "model/FTModelDefaults.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/Inconsistency.h"

#include "platform/store/UndoManager.h"

TEST_F(PeopleFixture, HusbandWifeAndPartner)
{
    FTPerson* a = person("Adam", M());
    FTPerson* b = person("Bert", M());
    FTSpouseRel* men = couple(a, b);
    EXPECT_EQ(men->husband(), a);
    EXPECT_EQ(men->wife(), nullptr);
    EXPECT_EQ(men->partnerOf(a), b);
    EXPECT_EQ(men->partnerOf(b), a);
    EXPECT_EQ(men->firstChildsBirthDate(), 0u);
    EXPECT_EQ(men->numericId(), 1);
    EXPECT_EQ(FTSpouseRel::initInMoc(moc.get())->numericId(), 2);

    FTSpouseRel* single = couple(person("Eve", F()), nullptr);
    EXPECT_EQ(single->partnerOf(a), nullptr);
    EXPECT_EQ(single->wife()->name(), "Eve");
    EXPECT_EQ(single->valueForKey("wife").value<ManagedObject*>(), single->wife());
}

TEST_F(PeopleFixture, MarriageStatusIsTheLatestEvent)
{
    FTSpouseRel* c = couple(person("Adam", M()), person("Eve", F()));
    EXPECT_EQ(c->marriageStatusString(), "No marriage");
    c->setValueForKeyPath("marriage.place", "Paris");
    ASSERT_TRUE(c->marriage());
    EXPECT_EQ(c->marriage()->subtype(), "MARR");
    EXPECT_EQ(c->marriage()->place(), "Paris");
    EXPECT_EQ(c->marriage()->numericId(), moc->modelDefaults()->maxEventId());
    EXPECT_EQ(c->marriageStatusString(), "Married");

    // An undated marriage and a dated divorce: divorced.
    FTEvent* divorce = FTEvent::initInMoc(moc.get(), FTEvent::OtherMarriageEvent, c, "DIV");
    year(c, "marriage", 0);
    divorce->setYear(1950);
    EXPECT_EQ(c->marriageStatusString(), "Divorced");

    FTEvent* separation = FTEvent::initInMoc(moc.get(), FTEvent::OtherMarriageEvent, c, "EVEN");
    separation->setName("Separated");
    separation->setYear(1960);
    EXPECT_EQ(c->marriageStatusString(), "Separated");
    EXPECT_EQ(c->otherMarriageEventsArray(), (QList<FTEvent*> { divorce, separation }));
    EXPECT_EQ(c->otherMarriageEventsWithSubtype("DIV"), QList<FTEvent*> { divorce });
}

TEST_F(PeopleFixture, LinkTypesReadAStoredThreeAsAdopted)
{
    FTPcRel* l = link(person("Dad", M()), person("Kid", M()), FTPcRel::kNatural);
    l->setPrimitiveValue(Key("pcRelType"), 3); // as older files stored it
    EXPECT_EQ(l->intPcRelType(), 8);
    EXPECT_EQ(l->stringPcRelType(), "Adopted");
    EXPECT_EQ(l->parent()->childrenOfType(8).size(), 1);
    l->setPcRelType(3);
    EXPECT_EQ(l->pcRelType(), 8);
    l->setValueForKey("pcRelType", 3);
    EXPECT_EQ(l->pcRelType(), 8);

    const std::pair<int, const char*> words[] = { { 0, "Unknown" }, { 1, "Natural" }, { 2, "Step" }, { 4, "Foster" },
        { 8, "Adopted" }, { 4096, "Not Related" }, { 5, "Unknown" } };
    for (const auto& [type, word] : words) {
        l->setPcRelType(type);
        EXPECT_EQ(l->stringPcRelType(), word) << type;
        if (type != 5) {
            l->setPcRelType(type == 1 ? 2 : 1);
            l->setStringPcRelType(word);
            EXPECT_EQ(l->intPcRelType(), type) << word;
        }
    }
    EXPECT_EQ(l->parentType(), "Father");
    EXPECT_EQ(l->childType(), "Son");

    // The same word again changes nothing and names no undo action.
    l->setPcRelType(FTPcRel::kNotRelated);
    moc->undoManager()->closeOpenGroups();
    const int groups = moc->undoManager()->undoCount();
    l->setStringPcRelType("Not Related");
    EXPECT_TRUE(moc->undoManager()->actionName().isEmpty());
    moc->undoManager()->closeOpenGroups();
    EXPECT_EQ(moc->undoManager()->undoCount(), groups);

    EXPECT_TRUE(l->notes().isNull());
    l->setNotes("Seen in the will");
    EXPECT_EQ(l->valueForKey("notes").toString(), "Seen in the will");
}

TEST_F(PeopleFixture, ASecondNaturalMotherOrFatherIsRefused)
{
    FTPerson* kid = person("Kid Smith", M());
    link(person("Mary", F()), kid);
    link(person("John", M()), kid);
    FTPcRel* second = link(person("Jane", F()), kid, FTPcRel::kStep);
    second->setStringPcRelType("Natural");
    EXPECT_EQ(second->intPcRelType(), FTPcRel::kStep);
    EXPECT_EQ(messages(), QStringList { "Kid Smith already has a natural mother." });
    FTPcRel* father = link(person("Jim", M()), kid, FTPcRel::kFoster);
    father->setStringPcRelType("Natural");
    EXPECT_EQ(father->intPcRelType(), FTPcRel::kFoster);
    EXPECT_EQ(messages().last(), "Kid Smith already has a natural father.");
    EXPECT_EQ(second->parentType(), "Mother");
}

TEST_F(PeopleFixture, EvidenceFlagsAndCertainty)
{
    FTPerson* mum = person("Mary Smith", F());
    FTPerson* kid = person("Tom Smith", M());
    FTPcRel* l = link(mum, kid);
    EXPECT_EQ(l->evidenceAsBinaryString(), "");
    EXPECT_EQ(l->evidenceAsString(), "");
    l->setPrimaryInformation(true);
    EXPECT_EQ(l->evidenceAsBinaryString(), "-1 001000");
    l->setDirectEvidence(true);
    l->setValueForKey("derivativeSource", true);
    EXPECT_EQ(l->evidenceAsString(), "Direct, Primary, Derivative");
    EXPECT_TRUE(l->valueForKey("directEvidence").toBool());
    EXPECT_FALSE(l->originalSource());

    date(mum, "birth", 1, 1, 1850);
    date(kid, "birth", 1, 6, 1880);
    EXPECT_TRUE(l->reasonsForUncertainty().isEmpty());
    EXPECT_EQ(l->certainty(), 50);
    date(kid, "birth", 1, 6, 1900); // mother aged 50
    EXPECT_EQ(l->certainty(), 20);
    l->setCertainty(80);
    EXPECT_EQ(l->certainty(), 80);
    EXPECT_EQ(l->evidenceAsBinaryString(), "80 101001");
    l->setCertainty(FTPcRel::kCertaintyNotSet);
    EXPECT_EQ(l->certainty(), 20);
}

namespace {
QStringList reasonsOf(const FTPcRel* l, QList<FTPerson*>* people = nullptr)
{
    QStringList out;
    for (const Inconsistency& i : l->reasonsForUncertainty()) {
        out << i.reason();
        if (people)
            *people << i.person();
    }
    return out;
}
}

TEST_F(PeopleFixture, ReasonsForUncertainty)
{
    FTPerson* dad = person("John Smith", M());
    FTPerson* kid = person("Tom Smith", M());
    FTPcRel* l = link(dad, kid);

    // No dates at all: one doubt for each, under its own person, and no age doubt.
    QList<FTPerson*> people;
    EXPECT_EQ(reasonsOf(l, &people),
        (QStringList { "Tom Smith has no birth or death date", "John Smith has no birth or death date" }));
    EXPECT_EQ(people, (QList<FTPerson*> { kid, dad }));

    date(dad, "birth", 1, 1, 1850);
    date(kid, "birth", 1, 6, 1930);
    EXPECT_EQ(reasonsOf(l), (QStringList { "Father John Smith (1850 - ) was aged 80 at Tom's birth" }));

    struct DeathCase {
        int day, month, year; // the father's death
        int bornMonth, bornYear; // the son's birth, on the 10th
        bool doubt;
    } deaths[] = {
        { 1, 10, 1879, 6, 1880, false }, // eight months before
        { 1, 8, 1879, 6, 1880, true }, // ten months before
        { 15, 5, 1879, 1, 1880, false }, // the nine months run into the next year
        { 15, 3, 1879, 1, 1880, true },
    };
    for (const DeathCase& d : deaths) {
        date(kid, "birth", 10, d.bornMonth, d.bornYear);
        date(dad, "death", d.day, d.month, d.year);
        const QStringList reasons = reasonsOf(l);
        EXPECT_EQ(reasons.size(), d.doubt ? 1 : 0) << d.month << "/" << d.year << reasons.join("|").toStdString();
        if (d.doubt)
            EXPECT_EQ(reasons.first(),
                QStringLiteral("The father died %1, before Tom could have been conceived").arg(dad->death()->date()));
    }
    date(kid, "birth", 1, 6, 1880);
    // Year-only death in 1879 of a father whose son was born in mid-1880.
    date(dad, "death", 0, 0, 1879);
    EXPECT_EQ(reasonsOf(l).size(), 1);

    FTPerson* mum = person("Mary Smith", F());
    FTPcRel* m = link(mum, kid);
    date(mum, "birth", 1, 1, 1885);
    date(mum, "death", 1, 1, 1879);
    EXPECT_EQ(reasonsOf(m),
        (QStringList {
            "Mother Mary Smith (1885 - 1879) was aged -5 at Tom's birth",
            "The mother died 01 Jan 1879, before Tom was born",
            "Tom Smith (1880 - ) was born before his mother Mary Smith (1885 - 1879) was born.",
            "Mary Smith's death date is before her birth date",
        }));

    date(kid, "death", 1, 1, 1995);
    dad->setValueForKeyPath("death.year", 0);
    dad->death()->setDate("");
    EXPECT_EQ(reasonsOf(l), (QStringList { "Tom Smith was aged 114 at death" }));

    defaults().setBool("cdCheckForMissingCitations", true);
    FTSourceRel* cite = moc->insertObject<FTSourceRel>();
    cite->setSource(moc->insertObject<FTSource>());
    cite->setPerson(kid);
    EXPECT_EQ(reasonsOf(l),
        (QStringList { "Tom Smith was aged 114 at death", "John Smith (1850 - ) has no source citations" }));
}
