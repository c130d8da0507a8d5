#include "gedcom/GedRec.h"
#include "gedcom/GedRecArena.h"
#include "gedcom/GedcomFileReader.h"
#include "gedcom/GedcomForest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Records made both ways, by new and in an arena as the reader makes them: both must read alike.
struct BothKinds {
    GedRecArena arena;
    std::vector<std::unique_ptr<GedRec>> made;
    GedRec* make(bool inArena, const QString& ptr, const QString& tag, const QString& value)
    {
        made.emplace_back(inArena ? GedRec::create(arena, nullptr, ptr, tag, value) : new GedRec(nullptr, ptr, tag, value));
        return made.back().get();
    }
};

struct ValueCase {
    const char* tag;
    const char* value;
    const char* storedValue;
    const char* fwdPtr;  // nullptr: no pointer
};

} // namespace

TEST(GedRec, ValuesAndPointersAreNormalised)
{
    const ValueCase cases[] = {
        {"NOTE", "a@@b", "a@b", nullptr},
        {"NOTE", "@@@@", "@@", ""},  // framed by "@": a pointer to nothing, so not a pointer
        {"FAMS", "@F3@", "@F3@", "F3"},
        {"FAMS", "  @F3@  ", "@F3@", "F3"},
        {"FAMS", "@F3", "@F3", nullptr},
        {"DATE", "@#DJULIAN@ 1 JAN 1700", "@#DJULIAN@ 1 JAN 1700", nullptr},
        {"FAMS", "@@F3@@", "@F3@", "F3"},
        {"NOTE", " kept blanks ", " kept blanks ", nullptr},
        {"CONC", " kept blanks ", " kept blanks ", nullptr},
        {"CONT", " kept blanks ", " kept blanks ", nullptr},
        {"AUTH", " kept blanks ", " kept blanks ", nullptr},
        {"TITL", " kept blanks ", " kept blanks ", nullptr},
        {"PUBL", " kept blanks ", " kept blanks ", nullptr},
        {"TEXT", " kept blanks ", " kept blanks ", nullptr},
        {"PLAC", " trimmed ", "trimmed", nullptr},
        {"NAME", "", "", nullptr},
        {"NAME", " Ŝtefan /Łódź/ ", "Ŝtefan /Łódź/", nullptr},  // beyond Latin-1
        {"FAMS", " @Ф1@ ", "@Ф1@", "Ф1"},
        {"FAMS", "@F@@3@", "@F@3@", "F@@3"},  // the pointer is read before "@@" are folded
        {"_ODD_TAG", " x ", "x", nullptr},
        {"NOTE", "@N1@", "@N1@", "N1"},
    };
    BothKinds records;
    for (bool inArena : {false, true}) {
        for (const ValueCase& c : cases) {
            SCOPED_TRACE(std::string(inArena ? "arena " : "new ") + c.tag + " " + c.value);
            const GedRec& r = *records.make(inArena, QString(), QString::fromUtf8(c.tag), QString::fromUtf8(c.value));
            EXPECT_EQ(r.type(), QString::fromUtf8(c.tag));
            EXPECT_EQ(r.value(), QString::fromUtf8(c.storedValue));
            if (c.fwdPtr) {
                EXPECT_EQ(r.fwdPtr(), QString::fromUtf8(c.fwdPtr));
            } else {
                EXPECT_TRUE(r.fwdPtr().isNull());
            }
            EXPECT_EQ(r.valueIsPointer(), c.fwdPtr && *c.fwdPtr);
        }
    }
}

// Long values are looked at and stored many characters at a time: "@@", a character beyond Latin-1 or one within
// it must be found wherever it lies.
TEST(GedRec, LongValuesKeepEveryCharacterWhereverItLies)
{
    GedRecArena arena;
    std::vector<std::unique_ptr<GedRec>> made;
    for (const QString odd : {QStringLiteral("@@"), QStringLiteral("Ŝ"), QStringLiteral("é"), QStringLiteral("@")}) {
        for (int at = 0; at < 40; ++at) {
            SCOPED_TRACE(odd.toStdString() + " at " + std::to_string(at));
            const QString value = QString(at, u'a') + odd + QString(40 - at, u'b');
            QString stored = value;
            stored.replace(QLatin1String("@@"), QLatin1String("@"));
            made.emplace_back(GedRec::create(arena, nullptr, {}, u"PLAC", value));
            EXPECT_EQ(made.back()->value(), stored);
        }
    }
}

TEST(GedRec, ArenaRecordsChangeLikeAnyOther)
{
    GedcomForest forest;
    GedRec* fam = GedRec::create(forest.arena(), nullptr, u"@F1@", u"FAM", u"");
    forest.addRecord(fam);
    GedRec* famc = GedRec::create(forest.arena(), fam, {}, u"CHIL", u"@I2@");
    // The notes as a reader makes them: listed at once, at their final size.
    std::vector<GedRec*> notes;
    for (int i = 0; i < 3; ++i)
        notes.push_back(GedRec::createUnlisted(forest.arena(), famc, {}, u"NOTE", QString::number(i)));
    EXPECT_FALSE(famc->hasSubRecords());
    famc->setSubRecords(forest.arena(), notes.data(), qsizetype(notes.size()));
    EXPECT_EQ(notes[2]->owner(), famc);
    EXPECT_EQ(notes[2]->path(), "FAM.CHIL.NOTE");

    // A changed value keeps the pointer the line was read with; a changed pointer is its own.
    famc->setValue(QStringLiteral("  changed  "));
    EXPECT_EQ(famc->value(), "changed");
    EXPECT_EQ(famc->fwdPtr(), "I2");
    famc->setFwdPtr(QStringLiteral("@I9@"));
    EXPECT_EQ(famc->fwdPtr(), "I9");
    fam->setPointer(QStringLiteral("@F7@"));
    EXPECT_EQ(fam->ptr(), "F7");
    EXPECT_EQ(fam->numericId(), 7);
    famc->setType(QStringLiteral("_MYTAG"));
    EXPECT_EQ(famc->path(), "FAM._MYTAG");

    // Lines added after the list took its final size, by new and in the arena, in file order.
    famc->setEventSubtype(QStringLiteral("EVEN"), QStringLiteral("x"));
    GedRec::create(forest.arena(), famc, {}, u"NOTE", u"3");
    ASSERT_EQ(famc->subRecords().size(), 5);
    EXPECT_EQ(famc->subRecords()[3]->value(), "EVEN x");
    EXPECT_EQ(famc->subRecords().last()->value(), "3");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(famc->subRecords().value(i)->value(), QString::number(i));
    EXPECT_EQ(famc->subRecords().value(5), nullptr);

    // Deleting a line of an arena tree runs its destructor only; the forest frees the memory.
    GedRec* orphan = GedRec::create(forest.arena(), nullptr, u"@N1@", u"NOTE", u"text");
    new GedRec(orphan, QString(), "CONT", "on the heap");
    delete orphan;
    forest.clear();
    EXPECT_TRUE(forest.isEmpty());
}

// The lines released early go record by record, their memory block by block, in file order: what is released
// must never take a line of a record still to come, whatever order the records are released in.
TEST(GedcomForest, ReleasesLinesByRecordWithoutTouchingTheOthers)
{
    GedcomFileReader reader;
    reader.setReleasedEarly("INDI", {"FAMC"});
    QByteArray ged = "0 HEAD\n";
    const int people = 3000;
    for (int i = 0; i < people; ++i)
        ged += QStringLiteral("0 @I%1@ INDI\n1 NAME Person %1\n2 GIVN Person\n1 FAMC @F%1@\n2 PEDI birth\n1 NOTE %2\n")
                   .arg(i)
                   .arg(i % 500 == 0 ? QString(100000, u'x') : QStringLiteral("short"))  // some large pieces
                   .toUtf8();
    ged += "0 TRLR\n";
    ASSERT_TRUE(reader.readData(ged));
    GedcomForest& forest = reader.forest();
    auto person = [&](int i) { return forest.record(QStringLiteral("I%1").arg(i)); };
    auto released = [&](int i) {
        int calls = 0;
        forest.releaseLines(person(i), [&](GedRec* r) {
            EXPECT_EQ(r, person(i));
            EXPECT_TRUE(r->firstSubRecord("NAME")->isReleasedEarly());
            ++calls;
        });
        return calls;
    };
    auto intact = [&](int i) {
        const GedRec* r = person(i);
        return r->subRecords().size() == 3 && r->firstSubRecord("NAME")->value() == QStringLiteral("Person %1").arg(i)
            && r->firstSubRecord("NAME")->subRecords().value(0)->value() == "Person"
            && r->subRecords()[2]->value().size() == (i % 500 == 0 ? 100000 : 5);
    };

    const std::size_t full = forest.bytesAllocated();
    EXPECT_EQ(released(7), 1);  // out of order first: nothing can be given back yet
    EXPECT_EQ(released(7), 0);  // nor twice
    EXPECT_EQ(forest.bytesAllocated(), full);
    for (int i = 0; i < people / 2; ++i)
        released(i);
    EXPECT_LT(forest.bytesAllocated(), full);
    for (int i = 0; i < people; ++i) {
        const GedRec* r = person(i);
        ASSERT_EQ(r->firstSubRecord("FAMC")->subRecords().value(0)->value(), "birth") << i;
        if (i < people / 2 || i == 7)
            EXPECT_EQ(r->subRecords().size(), 1) << i;
        else
            ASSERT_TRUE(intact(i)) << i;
    }
    EXPECT_EQ(released(-1), 0);  // no such record: nothing happens
    for (int i = people - 1; i >= people / 2; --i)
        released(i);
    EXPECT_LT(forest.bytesAllocated(), full / 2);
    EXPECT_EQ(forest.record("I2999")->firstSubRecord("FAMC")->fwdPtr(), "F2999");
}

// Keys are filed three ways: identifiers of letters and a number in an array per prefix while that stays small,
// others of up to eight Latin-1 characters by a compact code, the rest as text. A pointer must find its record
// whichever way either was kept, also once the arrays have grown over a key filed another way, and never a
// record whose key merely looks alike (I12 and I012, I1 and I10).
TEST(GedcomForest, PointersFindTheirRecordsWhateverTheKeyForm)
{
    QList<QByteArray> ids = {"I1", "I10", "I012", "I12", "I1234567", "I12345678", "I123456789012", "\xC3\x89" "1",
                             "\xD0\x96" "7", "n.1", "12", "x0", "I5000", "I999999999", "I1000000000", "ABCDEFGHI1"};
    for (char prefix = 'a'; prefix <= 't'; ++prefix)  // more prefixes than get an array
        ids.append(QByteArray(1, prefix) + "1");
    for (int i = 100; i < 5100; ++i)  // the array of I grows over I5000, which was filed by its code
        if (i != 5000 && i != 5001)
            ids.append("I" + QByteArray::number(i));
    QByteArray ged = "0 HEAD\n1 CHAR UTF-8\n";
    for (const QByteArray& id : ids)
        ged += "0 @" + id + "@ NOTE record " + id + "\n";
    ged += "0 @I1@ NOTE the same identifier again\n0 @X@ FAM\n";
    for (const QByteArray& id : ids)
        ged += "1 NOTE @" + id + "@\n";
    ged += "1 NOTE @I13@\n1 NOTE @@\n1 NOTE @I1 #2@\n1 NOTE @\xC3\x89@\n1 NOTE @I0012@\n1 NOTE @I5001@\n0 TRLR\n";
    GedcomFileReader reader;
    ASSERT_TRUE(reader.readData(ged));
    const GedcomForest& forest = reader.forest();

    const GedRec* fam = forest.record(u"X");
    ASSERT_NE(fam, nullptr);
    const GedRecList lines = fam->subRecords();
    ASSERT_EQ(lines.size(), ids.size() + 6);
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const QString id = QString::fromUtf8(ids[i]);
        SCOPED_TRACE(id.toStdString());
        const GedRec* record = forest.record(id);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->value(), "record " + id);
        EXPECT_EQ(forest.keyOf(record), id);
        EXPECT_EQ(forest.recordForPointerOf(lines[i]), record);
    }
    const qsizetype more = ids.size();
    EXPECT_EQ(forest.recordForPointerOf(lines[more]), nullptr);      // I13: no such record
    EXPECT_EQ(forest.recordForPointerOf(lines[more + 1]), nullptr);  // @@: no pointer
    EXPECT_EQ(forest.recordForPointerOf(lines[more + 2])->value(), "the same identifier again");
    EXPECT_EQ(forest.recordForPointerOf(lines[more + 3]), nullptr);  // É alone
    EXPECT_EQ(forest.recordForPointerOf(lines[more + 4]), nullptr);  // I0012
    EXPECT_EQ(forest.recordForPointerOf(lines[more + 5]), nullptr);  // I5001
    EXPECT_EQ(forest.record(QString()), nullptr);

    // A pointer set on the line wins over its value.
    GedRec* line = lines[0];
    line->setFwdPtr(QStringLiteral("@I1234567@"));
    EXPECT_EQ(forest.recordForPointerOf(line), forest.record(u"I1234567"));
}

TEST(GedRec, IdentifiersAndNumbers)
{
    struct {
        const char* ptr;
        const char* stored;
        int numericId;
    } cases[] = {
        {"@I0012@", "I0012", 12}, {"@F@", "F", 0},         {"@S12A3@", "S12A3", 12},
        {"", nullptr, 0},         {"I5", nullptr, 0},      {"@I99999999999@", "I99999999999", 0},
        {" @I7@ ", "I7", 7},      {"@I2147483647@", "I2147483647", 2147483647},
        {"@Ж7@", "Ж7", 7},
    };
    const QString longId = QString(300, u'9');
    BothKinds records;
    for (bool inArena : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(inArena ? "arena " : "new ") + c.ptr);
            const GedRec& r = *records.make(inArena, QString::fromUtf8(c.ptr), "INDI", "");
            if (c.stored) {
                EXPECT_EQ(r.ptr(), QString::fromUtf8(c.stored));
            } else {
                EXPECT_TRUE(r.ptr().isEmpty());
            }
            EXPECT_EQ(r.numericId(), c.numericId);
        }
        // Identifiers too long to keep beside the record, and the empty one of "@@".
        EXPECT_EQ(records.make(inArena, u'@' + longId + u'@', "INDI", "")->ptr(), longId);
        const QString empty = records.make(inArena, "@@", "INDI", "")->ptr();
        EXPECT_TRUE(empty.isEmpty() && !empty.isNull());
    }
}

TEST(GedRec, TagClasses)
{
    struct {
        const char* tag;
        bool event, attribute, lds, family;
    } cases[] = {
        {"EVEN", true, false, false, true},  {"TITL", false, true, false, false},
        {"_MILT", true, false, false, false}, {"SLGS", false, false, false, false},
        {"SLGC", false, false, true, false},  {"MARR", false, false, false, true},
        {" BIRT ", true, false, false, false}, {"BIRTH", false, false, false, false},
    };
    BothKinds records;
    for (bool inArena : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(inArena ? "arena " : "new ") + c.tag);
            const GedRec& r = *records.make(inArena, QString(), c.tag, QString());
            EXPECT_EQ(r.isIndividualEvent(), c.event);
            EXPECT_EQ(r.isIndividualAttribute(), c.attribute);
            EXPECT_EQ(r.isLDSIndividualOrdinance(), c.lds);
            EXPECT_EQ(r.isFamilyEvent(), c.family);
        }
    }
    GedRec r(nullptr, QString(), "EVEN", QString());
    r.setType("NOTE");
    EXPECT_FALSE(r.isIndividualEvent());
    EXPECT_FALSE(r.isFamilyEvent());
}

TEST(GedRec, TreePathAndPrintedForm)
{
    GedRec indi(nullptr, "@I1@", "INDI", "");
    auto* birt = new GedRec(&indi, QString(), "BIRT", "");
    auto* date = new GedRec(birt, QString(), "DATE", "1 JAN 1900");
    EXPECT_EQ(date->level(), 2);
    EXPECT_EQ(date->owner(), birt);
    EXPECT_EQ(indi.subRecords().size(), 1);
    EXPECT_EQ(date->path(), "INDI.BIRT.DATE");
    EXPECT_EQ(date->stringRepresentation(), "      2 INDI.BIRT.DATE 1 JAN 1900");
    EXPECT_EQ(indi.stringRepresentation(), "0 @I1@ INDI");
    EXPECT_EQ(birt->stringRepresentation(), "   1 INDI.BIRT");
    EXPECT_FALSE(indi.hasContinuationLines());
    new GedRec(birt, QString(), "CONC", "x");
    EXPECT_TRUE(birt->hasContinuationLines());
}

TEST(GedRec, FamilyPartnersOnlyOfFamilies)
{
    GedRec fam(nullptr, "@F1@", "FAM", "");
    new GedRec(&fam, QString(), "WIFE", "@I2@");
    new GedRec(&fam, QString(), "HUSB", "@I1@");
    new GedRec(&fam, QString(), "HUSB", "@I9@");
    EXPECT_EQ(fam.husbandPtr(), "I1");
    EXPECT_EQ(fam.wifePtr(), "I2");

    GedRec indi(nullptr, "@I1@", "INDI", "");
    new GedRec(&indi, QString(), "HUSB", "@I1@");
    EXPECT_TRUE(indi.husbandPtr().isNull());
    GedRec lonely(nullptr, "@F2@", "FAM", "");
    EXPECT_TRUE(lonely.wifePtr().isNull());
}

TEST(GedRec, EventStructureAndCitationShapes)
{
    auto make = [](const char* tag, const char* value, std::initializer_list<const char*> subs) {
        auto r = std::make_unique<GedRec>(nullptr, QString(), tag, value);
        for (const char* s : subs)
            new GedRec(r.get(), QString(), s, "x");
        return r;
    };
    EXPECT_TRUE(make("XYZ", "", {"TYPE", "DATE"})->isEventStructure());
    EXPECT_TRUE(make("XYZ", "", {"_FOO", "PLAC", "NOTE"})->isEventStructure());
    EXPECT_FALSE(make("XYZ", "", {"TYPE", "NOTE"})->isEventStructure());  // no date or place
    EXPECT_FALSE(make("XYZ", "", {"DATE", "NAME"})->isEventStructure());
    EXPECT_FALSE(make("XYZ", "", {"DATE", "DAT"})->isEventStructure());  // a piece of an allowed tag is not one
    EXPECT_FALSE(make("XYZ", "", {"PLAC", "E,D"})->isEventStructure());
    EXPECT_FALSE(make("XYZ", "", {})->isEventStructure());

    EXPECT_TRUE(make("SOUR", "Parish book", {"PAGE"})->isSourceCitationWithMissingPointer());
    EXPECT_TRUE(make("SOUR", "", {"NOTE", "QUAY", "_X", "AB"})->isSourceCitationWithMissingPointer());
    EXPECT_FALSE(make("SOUR", "", {"NOTE"})->isSourceCitationWithMissingPointer());
    EXPECT_FALSE(make("SOUR", "", {"PAGE", "TITL"})->isSourceCitationWithMissingPointer());
    EXPECT_FALSE(make("SOUR", "@S1@", {"PAGE"})->isSourceCitationWithMissingPointer());
}

TEST(GedRec, EventSubtype)
{
    GedRec plain(nullptr, QString(), "EVEN", "");
    plain.setEventSubtype("CENS", "1881");
    ASSERT_NE(plain.firstSubRecord("TYPE"), nullptr);
    EXPECT_EQ(plain.firstSubRecord("TYPE")->value(), "CENS 1881");
    EXPECT_EQ(plain.firstSubRecord("TYPE")->level(), 1);

    GedRec typed(nullptr, QString(), "EVEN", "");
    new GedRec(&typed, QString(), "TYPE", "Census");
    typed.setEventSubtype("CENS", "1881");
    EXPECT_EQ(typed.subRecords().size(), 1);
    EXPECT_EQ(typed.firstSubRecord("TYPE")->value(), "CENS 1881 Census");
}

TEST(GedRec, ErrorFieldsAndFlags)
{
    GedRec r(nullptr, QString(), "DATE", "sometime");
    EXPECT_EQ(r.flags(), 0);
    EXPECT_EQ(r.errorReason(), 0);
    r.setErrorReason(GedRec::ReasonInvalidDate, GedRec::ActionConvertedToAboutDate, "why");
    EXPECT_EQ(r.errorReason(), 16);
    EXPECT_EQ(r.errorAction(), 32);
    EXPECT_EQ(r.errorString(), "why");
    r.setFlags(GedRec::Consumed);
    EXPECT_TRUE(r.isConsumed());
    EXPECT_FALSE(r.hasMmObjectOwnersSet());
    r.mmObjectOwnersSet().insert(nullptr);
    EXPECT_TRUE(r.hasMmObjectOwnersSet());
}

TEST(GedRec, DeepTreeIsWalkedAndFreedWithoutRecursion)
{
    // Far deeper than any stack could take recursively.
    auto root = std::make_unique<GedRec>(nullptr, QString(), "NOTE", "");
    GedRec* last = root.get();
    for (int i = 0; i < 200000; ++i)
        last = new GedRec(last, QString(), "CONT", "x");
    int count = 0;
    root->forEachLine([&](GedRec*) { ++count; });
    EXPECT_EQ(count, 200001);
    EXPECT_EQ(last->level(), 200000);
    root.reset();
}
