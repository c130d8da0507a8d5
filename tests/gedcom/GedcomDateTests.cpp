#include "gedcom/GedcomDate.h"

#include <gtest/gtest.h>

#include <QDate>

namespace {

struct ReadCase {
    const char* value;
    bool hasDate;
    int qual, day, month, year;
    const char* date;   // display text
    int reason, action;
    const char* notes;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << '"' << c.value << '"'; }

constexpr int R = GedcomDate::kReasonDateNotValid;
constexpr int Conv = GedcomDate::kActionConvertedToAbout;
constexpr int Notes = GedcomDate::kActionToNotes;

class ImportedEventDate : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ImportedEventDate, ReadsAsTheImportMust)
{
    const ReadCase& c = GetParam();
    const GedcomDate::Reading r = GedcomDate::processEventDate(QString::fromUtf8(c.value));
    EXPECT_EQ(r.hasDate, c.hasDate);
    if (c.hasDate) {
        EXPECT_EQ(r.qual, c.qual);
        EXPECT_EQ(r.day, c.day);
        EXPECT_EQ(r.month, c.month);
        EXPECT_EQ(r.year, c.year);
        EXPECT_EQ(r.date.toStdString(), c.date);
    }
    EXPECT_EQ(r.errorReason, c.reason);
    EXPECT_EQ(r.errorAction, c.action);
    EXPECT_EQ(r.notes.toStdString(), c.notes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ImportedEventDate,
    ::testing::Values(
        // Read as written: no report, nothing in the notes.
        ReadCase{"12 MAR 1850", true, 0, 12, 3, 1850, "12 Mar 1850", 0, 0, ""},
        ReadCase{"ABT 5 JAN 1900", true, 1, 5, 1, 1900, "abt 05 Jan 1900", 0, 0, ""},
        ReadCase{"abt 1850", true, 1, 0, 0, 1850, "abt 1850", 0, 0, ""},
        ReadCase{"BEF MAR 1850", true, 2, 0, 3, 1850, "bef Mar 1850", 0, 0, ""},
        ReadCase{"aft 5 Jun 1850", true, 3, 5, 6, 1850, "aft 05 Jun 1850", 0, 0, ""},
        ReadCase{"JAN 1900", true, 0, 0, 1, 1900, "Jan 1900", 0, 0, ""},
        ReadCase{"1900", true, 0, 0, 0, 1900, "1900", 0, 0, ""},
        ReadCase{"3 SEPTEMBER 1900", true, 0, 3, 9, 1900, "03 Sep 1900", 0, 0, ""},
        ReadCase{"0 JAN 1900", true, 0, 0, 1, 1900, "Jan 1900", 0, 0, ""},
        ReadCase{"Abt. 5 Jan. 1900", true, 1, 5, 1, 1900, "abt 05 Jan 1900", 0, 0, ""},
        ReadCase{"29 FEB 2000", true, 0, 29, 2, 2000, "29 Feb 2000", 0, 0, ""},
        ReadCase{"Y", true, 0, 0, 0, 0, "", 0, 0, ""},
        ReadCase{"", true, 0, 0, 0, 0, "", 0, 0, ""},
        // The Gregorian calendar is the one dates are read in anyway.
        ReadCase{"@#DGREGORIAN@ 1 JAN 1700", true, 0, 1, 1, 1700, "01 Jan 1700", 0, 0, ""},
        // Estimates and quarters become about dates, reported as converted.
        ReadCase{"Est 1850", true, 1, 0, 0, 1850, "abt 1850", R, Conv, ""},
        ReadCase{"EST 1850", true, 1, 0, 0, 1850, "abt 1850", R, Conv, ""},
        ReadCase{"Q2 1850", true, 1, 0, 5, 1850, "abt May 1850", R, Conv, ""},
        ReadCase{"Cir CA 1850", true, 1, 0, 0, 1850, "abt 1850", R, Conv, ""},
        // Dual years and ranges keep one date; the value as written goes to the notes.
        ReadCase{"1850/51", true, 1, 0, 0, 1850, "abt 1850", R, Conv, "1850/51"},
        ReadCase{"12 FEB 1750/1751", true, 1, 12, 2, 1750, "abt 12 Feb 1750", R, Conv, "12 FEB 1750/1751"},
        // A dual year that has its qualifier already keeps it.
        ReadCase{"ABT    1103/1104", true, 1, 0, 0, 1103, "abt 1103", R, Conv, "ABT    1103/1104"},
        ReadCase{"BEF 1750/51", true, 2, 0, 0, 1750, "bef 1750", R, Conv, "BEF 1750/51"},
        ReadCase{"BET 1850 AND 1860", true, 1, 0, 0, 1855, "abt 1855", R, Conv, "BET 1850 AND 1860"},
        ReadCase{"BET 1851 AND 1860", true, 1, 0, 0, 1855, "abt 1855", R, Conv, "BET 1851 AND 1860"},
        ReadCase{"bet 3 mar 1850 and 1850", true, 1, 3, 3, 1850, "abt 03 Mar 1850", R, Conv, "bet 3 mar 1850 and 1850"},
        ReadCase{"FROM 1 JAN 1900 TO 1910", true, 0, 1, 1, 1900, "01 Jan 1900", R, Conv, "FROM 1 JAN 1900 TO 1910"},
        ReadCase{"WFT Est 1820-1830", true, 1, 0, 0, 1825, "abt 1825", R, Conv, "WFT Est 1820-1830"},
        // Unreadable: no date, the value as written once in the notes.
        ReadCase{"sometime in spring", false, 0, 0, 0, 0, "", R, Notes, "sometime in spring"},
        ReadCase{"est 1850", false, 0, 0, 0, 0, "", R, Notes, "est 1850"},
        ReadCase{"WFT Est 1820", false, 0, 0, 0, 0, "", R, Notes, "WFT Est 1820"},
        ReadCase{"CAL 1850", false, 0, 0, 0, 0, "", R, Notes, "CAL 1850"},
        ReadCase{"INT 1850 (after the flood)", false, 0, 0, 0, 0, "", R, Notes, "INT 1850 (after the flood)"},
        ReadCase{"@#DJULIAN@ 1 JAN 1700", false, 0, 0, 0, 0, "", R, Notes, "@#DJULIAN@ 1 JAN 1700"},
        ReadCase{"29 FEB 1900", false, 0, 0, 0, 0, "", R, Notes, "29 FEB 1900"},
        ReadCase{"1 2 3 4 1900", false, 0, 0, 0, 0, "", R, Notes, "1 2 3 4 1900"},
        ReadCase{"5 0 1900", false, 0, 0, 0, 0, "", R, Notes, "5 0 1900"},
        ReadCase{"9999", false, 0, 0, 0, 0, "", R, Notes, "9999"},
        ReadCase{"FROM 1900", false, 0, 0, 0, 0, "", R, Notes, "FROM 1900"},
        ReadCase{"BET 1850", false, 0, 0, 0, 0, "", R, Notes, "BET 1850"},
        // Not a dual year: cut at the slash it would read as the year 5.
        ReadCase{"5/1/1900", false, 0, 0, 0, 0, "", R, Notes, "5/1/1900"},
        // A period with one end missing is no period: not "abt 925".
        ReadCase{"BET 1850 AND", false, 0, 0, 0, 0, "", R, Notes, "BET 1850 AND"},
        // A word where the day belongs is not dropped to leave an exact month.
        ReadCase{"ca JAN 1900", false, 0, 0, 0, 0, "", R, Notes, "ca JAN 1900"},
        // The notes keep the value as written, not the half-edited "abtimated 1850".
        ReadCase{"Estimated 1850", false, 0, 0, 0, 0, "", R, Notes, "Estimated 1850"}));

// The quick reading of the common forms must give exactly what the general reading gives: every field of the
// result, for valid and invalid dates, in any case, and decline whatever it does not know.
TEST(GedcomDatePlainForms, ReadExactlyAsTheGeneralReading)
{
    const auto expectSame = [](const QString& value) {
        const GedcomDate::Reading full = GedcomDate::readEventDate(value);
        GedcomDate::Reading quick;
        if (!GedcomDate::readPlainEventDate(value, &quick))
            return false;
        const std::string v = value.toStdString();
        EXPECT_TRUE(full.hasDate) << v;
        EXPECT_EQ((std::array{quick.qual, quick.day, quick.month, quick.year}),
                  (std::array{full.qual, full.day, full.month, full.year})) << v;
        EXPECT_EQ(quick.date, full.date) << v;
        EXPECT_EQ(quick.editedText, full.editedText) << v;
        EXPECT_EQ(quick.notes, full.notes) << v;
        EXPECT_EQ((std::array{quick.errorReason, quick.errorAction}), (std::array{full.errorReason, full.errorAction}))
            << v;
        return true;
    };

    const int thisYear = QDate::currentDate().year();
    const QStringList quals{"", "ABT ", "abt ", "Abt ", "C ", "CIRCA ", "ABOUT ", "BEF ", "BEFORE ", "AFT ", "after ",
                            "EST ", "CAL ", "ca "};
    const QStringList days{"", "1 ", "01 ", "9 ", "28 ", "29 ", "30 ", "31 ", "0 ", "32 ", "007 "};
    const QStringList months{"", "JAN ", "feb ", "Mar ", "APR ", "JUN ", "DEC ", "SEPT ", "JANUARY ", "13 ", "2 "};
    const QStringList years{"1850", "1900", "2000", "0850", "950", "5", "0", QString::number(thisYear),
                            QString::number(thisYear + 1), "123456789", "1234567890"};
    int quick = 0;
    int all = 0;
    for (const QString& q : quals)
        for (const QString& d : days)
            for (const QString& m : months)
                for (const QString& y : years) {
                    const QString value = q + d + m + y;
                    quick += expectSame(value) ? 1 : 0;
                    ++all;
                }
    // Ranges of plain dates, and texts near the plain forms that the quick reading must leave alone.
    for (const char* text :
         {"BET 1850 AND 1860", "bet 3 mar 1850 and 1850", "BET ABT 1850 AND BEF 1851", "BET 1850 AND 1850",
          "Bet 1 JAN 1850 And 31 DEC 1850", "BET 1850 AND 9999", "BET 1850 AND", "BET  1850 AND 1860",
          "BET 1850 AND 1860 AND 1870", "BETWEEN 1850 AND 1860", "BET 29 FEB 1900 AND 1901", "BET JANUARY 1850 AND 1851",
          "12 MAR 1850 ", " 12 MAR 1850", "12  MAR 1850", "12 MAR. 1850", "12-MAR-1850", "1850/51", "Est 1850",
          "Q1 1850", "cir CA 1850", "WFT Est 1820-1830", "FROM 1850 TO 1860", "@#DGREGORIAN@ 1850", "Y", "y", "",
          "12 MÄR 1850", "ABT ABT 1850", "1850 1850", "JAN JAN 1850", "1 2 3 4 1850", "ABT 5 JAN"}) {
        quick += expectSame(QString::fromUtf8(text)) ? 1 : 0;
        ++all;
    }
    // The common forms do take the quick reading (else the import slows down unseen).
    for (const char* text : {"1850", "ABT 1850", "MAR 1850", "12 MAR 1850", "ABT 12 MAR 1850", "BET 1850 AND 1860"}) {
        GedcomDate::Reading r;
        EXPECT_TRUE(GedcomDate::readPlainEventDate(QString::fromLatin1(text), &r)) << text;
    }
    EXPECT_GT(quick, 1000);
    EXPECT_LT(quick, all);
}

TEST(GedcomDateEdits, TextFormsOfTheImportSteps)
{
    EXPECT_EQ(GedcomDate::processWorldFamilyTreeEstimatedDate("WFT Est 1820-1830"), "BET 1820 AND 1830");
    EXPECT_EQ(GedcomDate::processWorldFamilyTreeEstimatedDate("wft est 1820/1830."), "BET 1820 AND 1830");
    EXPECT_EQ(GedcomDate::processWorldFamilyTreeEstimatedDate("WFT Est 1820"), "WFT Est 1820");
    EXPECT_EQ(GedcomDate::processDateWithSlash("1850/51"), "abt 1850");
    EXPECT_EQ(GedcomDate::processDateWithSlash("1850"), "1850");
    EXPECT_EQ(GedcomDate::processBetweenDate("BET 1850 AND 1850"), "abt 1850");
    EXPECT_EQ(GedcomDate::processBetweenDate("BET 1850 AND 1860 AND 1870"), "BET 1850 AND 1860 AND 1870");
    EXPECT_EQ(GedcomDate::processFromToDate("FROM 1 JAN 1900 TO 1910"), "01 Jan 1900");
    EXPECT_EQ(GedcomDate::processFromToDate("FROM Y TO 1910"), "FROM Y TO 1910");

    EXPECT_TRUE(GedcomDate::isDualYear("1750/51"));
    EXPECT_TRUE(GedcomDate::isDualYear("ABT 12 FEB 1750/1751 (old style)"));
    EXPECT_FALSE(GedcomDate::isDualYear("5/1/1900"));
    EXPECT_FALSE(GedcomDate::isDualYear("1750/51x"));
}

TEST(GedcomDateWriting, UsesTheGedcomKeywords)
{
    EXPECT_EQ(GedcomDate::gedcomDate(0, 5, 1, 1900), "05 JAN 1900");
    EXPECT_EQ(GedcomDate::gedcomDate(1, 5, 1, 1900), "ABT 05 JAN 1900");
    EXPECT_EQ(GedcomDate::gedcomDate(2, 0, 3, 1850), "BEF MAR 1850");
    EXPECT_EQ(GedcomDate::gedcomDate(3, 0, 0, 1850), "AFT 1850");
    EXPECT_EQ(GedcomDate::gedcomDate(4, 0, 12, 1850), "BET DEC 1850 AND DEC 1850");
    EXPECT_EQ(GedcomDate::gedcomDate(0, 0, 0, 950), "0950");
    // Values no GEDCOM date can hold are left out rather than written wrong.
    EXPECT_EQ(GedcomDate::gedcomDate(0, 5, 0, 1900), "1900");
    EXPECT_EQ(GedcomDate::gedcomDate(0, 31, 2, 1900), "FEB 1900");
    EXPECT_EQ(GedcomDate::gedcomDate(0, 0, 13, 1900), "1900");
    EXPECT_EQ(GedcomDate::gedcomDate(9, 0, 0, 1900), "1900");
    // No year: the fallback text, on one line.
    EXPECT_EQ(GedcomDate::gedcomDate(0, 0, 0, 0, "y"), "Y");
    EXPECT_EQ(GedcomDate::gedcomDate(0, 0, 0, 0, " after\nthe war "), "AFTER THE WAR");
    EXPECT_EQ(GedcomDate::gedcomDate(0, 0, 0, 0), "");
}

TEST(GedcomDateWriting, WhatIsWrittenReadsBackTheSame)
{
    const int years[] = {5, 999, 1750, 1900, 2000, QDate::currentDate().year()};
    int checked = 0;
    for (int qual = 0; qual <= 3; ++qual)
        for (int year : years)
            for (int month = 0; month <= 12; month += 1)
                for (int day : {0, 1, 9, 28, 29, 31}) {
                    if (!GedcomDate::isValidDate(qual, year, month, day))
                        continue;
                    const QString written = GedcomDate::gedcomDate(qual, day, month, year);
                    const GedcomDate::Reading r = GedcomDate::processEventDate(written);
                    ASSERT_TRUE(r.hasDate) << written.toStdString();
                    EXPECT_EQ(r.errorReason, 0) << written.toStdString();
                    EXPECT_EQ(r.notes, QString()) << written.toStdString();
                    EXPECT_EQ((std::array{r.qual, r.day, r.month, r.year}), (std::array{qual, day, month, year}))
                        << written.toStdString();
                    ++checked;
                }
    EXPECT_GT(checked, 500);

    // "Between" has no second date to name; the import reads the written range as about that date.
    const GedcomDate::Reading between = GedcomDate::processEventDate(GedcomDate::gedcomDate(4, 5, 1, 1900));
    EXPECT_EQ((std::array{between.qual, between.day, between.month, between.year}), (std::array{1, 5, 1, 1900}));
}

} // namespace
