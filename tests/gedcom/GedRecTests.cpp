#include "gedcom/GedRec.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

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
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(std::string(c.tag) + " " + c.value);
        GedRec r(nullptr, QString(), c.tag, c.value);
        EXPECT_EQ(r.value(), QString::fromUtf8(c.storedValue));
        if (c.fwdPtr) {
            EXPECT_EQ(r.fwdPtr(), QString::fromUtf8(c.fwdPtr));
        } else {
            EXPECT_TRUE(r.fwdPtr().isNull());
        }
        EXPECT_EQ(r.valueIsPointer(), c.fwdPtr && *c.fwdPtr);
    }
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ptr);
        GedRec r(nullptr, c.ptr, "INDI", "");
        if (c.stored) {
            EXPECT_EQ(r.ptr(), QString::fromUtf8(c.stored));
        } else {
            EXPECT_TRUE(r.ptr().isEmpty());
        }
        EXPECT_EQ(r.numericId(), c.numericId);
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        GedRec r(nullptr, QString(), c.tag, QString());
        EXPECT_EQ(r.isIndividualEvent(), c.event);
        EXPECT_EQ(r.isIndividualAttribute(), c.attribute);
        EXPECT_EQ(r.isLDSIndividualOrdinance(), c.lds);
        EXPECT_EQ(r.isFamilyEvent(), c.family);
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
    EXPECT_FALSE(make("XYZ", "", {})->isEventStructure());

    EXPECT_TRUE(make("SOUR", "Parish book", {"PAGE"})->isSourceCitationWithMissingPointer());
    EXPECT_TRUE(make("SOUR", "", {"NOTE", "QUAY", "_X", "AB"})->isSourceCitationWithMissingPointer());
    EXPECT_FALSE(make("SOUR", "", {"NOTE"})->isSourceCitationWithMissingPointer());
    EXPECT_FALSE(make("SOUR", "", {"PAGE", "TITL"})->isSourceCitationWithMissingPointer());
    EXPECT_FALSE(make("SOUR", "@S1@", {"PAGE"})->isSourceCitationWithMissingPointer());
}

TEST(GedRec, EventSubtypeAndParentChildType)
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

    struct {
        const char* value;
        int bits;
    } types[] = {{"Natural", 1}, {"Adopted", 8}, {"Step", 2}, {"Foster", 4}, {"adopted", 0}, {"", 0}};
    for (const auto& t : types)
        EXPECT_EQ(GedRec(nullptr, QString(), "_FREL", t.value).pcRelIntValue(), t.bits) << t.value;
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
