#include "model/Dates.h"

#include "platform/ScriptedPrompts.h"
#include "platform/UserDefaults.h"

#include "TestSupport.h"

#include <QDate>
#include <QLocale>

#include <gtest/gtest.h>

namespace {

constexpr quint32 key(int y, int m, int d) { return quint32(y) * 65536 + quint32(m) * 256 + quint32(d); }

// Every test starts with its own prompts, fresh defaults and the reading order it states.
class DatesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::useFreshDefaults();
        Prompts::install(&prompts);
        Dates::setReadingOrderOverride(Dates::DayFirst);
    }
    void TearDown() override
    {
        Prompts::install(nullptr);
        Dates::setReadingOrderOverride(Dates::FollowUser);
        QLocale::setDefault(QLocale::c());
    }
    ScriptedPrompts prompts;
};

struct ReadCase {
    const char* typed;
    int order;
    bool ok;
    int qual = 0, day = 0, month = 0, year = 0;
    const char* text = "";
    quint32 key = 0;
};

const int D = Dates::DayFirst;
const int M = Dates::MonthFirst;
const int Y = Dates::YearFirst;

// order Y is asked for explicitly (the dates editor); D and M come from the user's format.
const ReadCase kReadCases[] = {
    // day first
    {"abt 5/1/1900", D, true, 1, 5, 1, 1900, "abt 05 Jan 1900", key(1900, 1, 5)},
    {"12 Jan 1900", D, true, 0, 12, 1, 1900, "12 Jan 1900", key(1900, 1, 12)},
    {"  12   jan\t1900 \n", D, true, 0, 12, 1, 1900, "12 Jan 1900", key(1900, 1, 12)},
    {"12-03-1900", D, true, 0, 12, 3, 1900, "12 Mar 1900", key(1900, 3, 12)},
    {"3 SEPTEMBER 1877", D, true, 0, 3, 9, 1877, "03 Sep 1877", key(1877, 9, 3)},
    {"Sept 1877", D, true, 0, 0, 9, 1877, "Sep 1877", key(1877, 9, 0)},
    {"5th Jan 1900", D, true, 0, 5, 1, 1900, "05 Jan 1900", key(1900, 1, 5)},
    {"Mar 1850", D, true, 0, 0, 3, 1850, "Mar 1850", key(1850, 3, 0)},
    {"1850", D, true, 0, 0, 0, 1850, "1850", key(1850, 0, 0)},
    {"0 Jan 1900", D, true, 0, 0, 1, 1900, "Jan 1900", key(1900, 1, 0)},
    // qualifiers and their steps of the key
    {"c 1820", D, true, 1, 0, 0, 1820, "abt 1820", key(1820, 0, 0)},
    {"Circa 1820", D, true, 1, 0, 0, 1820, "abt 1820", key(1820, 0, 0)},
    {"about Jun 1820", D, true, 1, 0, 6, 1820, "abt Jun 1820", key(1820, 6, 0)},
    {"Abt. 1820", D, true, 1, 0, 0, 1820, "abt 1820", key(1820, 0, 0)},
    {"bef 1900", D, true, 2, 0, 0, 1900, "bef 1900", key(1899, 0, 0)},
    {"before Mar 1900", D, true, 2, 0, 3, 1900, "bef Mar 1900", key(1900, 2, 0)},
    {"bef 3 Mar 1900", D, true, 2, 3, 3, 1900, "bef 03 Mar 1900", key(1900, 3, 3) - 1},
    {"aft 1900", D, true, 3, 0, 0, 1900, "aft 1900", key(1901, 0, 0)},
    {"aft Dec 1900", D, true, 3, 0, 12, 1900, "aft Dec 1900", key(1900, 13, 0)},
    {"AFTER 3 Mar 1900", D, true, 3, 3, 3, 1900, "aft 03 Mar 1900", key(1900, 3, 3) + 1},
    // leap years
    {"29 Feb 2000", D, true, 0, 29, 2, 2000, "29 Feb 2000", key(2000, 2, 29)},
    {"29 Feb 1904", D, true, 0, 29, 2, 1904, "29 Feb 1904", key(1904, 2, 29)},
    {"29 Feb 1600", D, true, 0, 29, 2, 1600, "29 Feb 1600", key(1600, 2, 29)},
    {"29 Feb 1900", D, false},
    {"31 Apr 1900", D, false},
    {"32 Jan 1900", D, false},
    // two-digit years are taken as written, not moved into a century
    {"5 Jan 90", D, true, 0, 5, 1, 90, "05 Jan 0090", key(90, 1, 5)},
    {"90", D, true, 0, 0, 0, 90, "0090", key(90, 0, 0)},
    // no date at all
    {"", D, true, 0, 0, 0, 0, "", 0},
    {"   ", D, true, 0, 0, 0, 0, "", 0},
    {"Y", D, true, 0, 0, 0, 0, "", 0},
    {"y", D, true, 0, 0, 0, 0, "", 0},
    // nonsense
    {"5 0 1900", D, false},
    {"5 13 1900", D, false},
    {"12 Foo 1900", D, false},
    {"hello", D, false},
    {"jan", D, false},
    {"0", D, false},
    {"...", D, false},
    {"1 2 3 4 5", D, false},
    {"abt abt 1900", D, false},
    {"1900 Jan 12", D, false},
    {"99999999999", D, false},
    {"1 Jan 99999999999", D, false},
    {"bet 1900", D, false},
    {"bet 1900 and 1910", D, false},
    {"between 1 Jan 1900 and 1910", D, false},
    {"est 1900", D, false},
    // month first
    {"abt 5/1/1900", M, true, 1, 1, 5, 1900, "abt 01 May 1900", key(1900, 5, 1)},
    {"1/5/1900", M, true, 0, 5, 1, 1900, "05 Jan 1900", key(1900, 1, 5)},
    {"Jan 5 1900", M, true, 0, 5, 1, 1900, "05 Jan 1900", key(1900, 1, 5)},
    {"12 Jan 1900", M, true, 0, 12, 1, 1900, "12 Jan 1900", key(1900, 1, 12)},
    {"12 January 1900", M, true, 0, 0, 12, 1900, "Dec 1900", key(1900, 12, 0)},
    {"abt 12 Jan 1900", M, true, 1, 12, 1, 1900, "abt 12 Jan 1900", key(1900, 1, 12)},
    {"bef 3/12/1900", M, true, 2, 12, 3, 1900, "bef 12 Mar 1900", key(1900, 3, 12) - 1},
    {"aft Mar 1900", M, true, 3, 0, 3, 1900, "aft Mar 1900", key(1900, 4, 0)},
    {"13/1/1900", M, false},
    {"2/29/1900", M, false},
    // year first, only when asked for
    {"1900 1 5", Y, true, 0, 5, 1, 1900, "05 Jan 1900", key(1900, 1, 5)},
    {"1900-Jan", Y, true, 0, 0, 1, 1900, "Jan 1900", key(1900, 1, 0)},
    {"abt 1900 3", Y, true, 1, 0, 3, 1900, "abt Mar 1900", key(1900, 3, 0)},
    {"bef 1900 3 5", Y, true, 2, 5, 3, 1900, "bef 05 Mar 1900", key(1900, 3, 5) - 1},
    {"1900 2 30", Y, false},
};

TEST_F(DatesTest, ReadsTypedDates)
{
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(testing::Message() << "\"" << c.typed << "\" order " << c.order);
        Dates::ReadOptions options;
        if (c.order == Y)
            options.order = Y;
        else
            Dates::setReadingOrderOverride(c.order);
        const std::optional<DateValue> v = Dates::getDateComponents(QString::fromUtf8(c.typed), options);
        ASSERT_EQ(v.has_value(), c.ok);
        if (!c.ok)
            continue;
        EXPECT_EQ(v->qual(), c.qual);
        EXPECT_EQ(v->day(), c.day);
        EXPECT_EQ(v->month(), c.month);
        EXPECT_EQ(v->year(), c.year);
        EXPECT_EQ(v->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(v->longDate(), c.key);
        EXPECT_EQ(Dates::getLongDate(c.qual, c.day, c.month, c.year), c.key);
        // The normalised text reads back to the same date, whatever the user's order.
        Dates::setReadingOrderOverride(c.order == M ? D : M);
        EXPECT_EQ(Dates::getDateComponents(v->text()), std::optional<DateValue>(DateValue(c.qual, c.day, c.month, c.year)));
    }
}

TEST_F(DatesTest, YearsAreBoundedByTheCurrentYear)
{
    const int now = QDate::currentDate().year();
    EXPECT_TRUE(Dates::getDateComponents(QString::number(now)));
    EXPECT_FALSE(Dates::getDateComponents(QString::number(now + 1)));
    EXPECT_FALSE(Dates::getDateComponents(QStringLiteral("1 Jan %1").arg(now + 1)));
}

TEST_F(DatesTest, YearFirstUserFormatStillReadsDayFirst)
{
    Dates::setReadingOrderOverride(Dates::YearFirst);
    EXPECT_FALSE(Dates::getDateComponents(QStringLiteral("1900 1 5")));
    EXPECT_EQ(Dates::getDateComponents(QStringLiteral("5 1 1900"))->text(), "05 Jan 1900");
}

TEST_F(DatesTest, ImpossibleFebruaryDayIsAnnouncedUnlessQuiet)
{
    EXPECT_FALSE(Dates::getDateComponents(QStringLiteral("29 Feb 1900")));
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].text, "29 Feb is invalid for year 1900");

    prompts.clear();
    EXPECT_FALSE(Dates::getDateComponents(QStringLiteral("30 Feb 2000"), {.quiet = true}));
    EXPECT_FALSE(Dates::isValidDate(0, 1900, 2, 29, true));
    EXPECT_TRUE(prompts.records.isEmpty());

    // Other impossible days are refused without a word.
    EXPECT_FALSE(Dates::getDateComponents(QStringLiteral("31 Jun 1900")));
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(DatesTest, ValidityRules)
{
    struct Case {
        int qual, year, month, day;
        bool ok;
    } cases[] = {
        {0, 1900, 0, 0, true},  {1, 1900, 1, 31, true}, {3, 1900, 12, 31, true}, {4, 1900, 1, 1, false},
        {-1, 1900, 1, 1, false}, {0, 0, 1, 1, false},   {0, -5, 0, 0, false},    {0, 1900, 0, 5, false},
        {0, 1900, -1, 0, false}, {0, 1900, 13, 0, false}, {0, 1900, 1, -1, false}, {0, 1900, 11, 31, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Dates::isValidDate(c.qual, c.year, c.month, c.day), c.ok)
            << c.qual << " " << c.year << "-" << c.month << "-" << c.day;
    EXPECT_TRUE(Dates::isLeapYear(2000));
    EXPECT_FALSE(Dates::isLeapYear(1900));
    EXPECT_FALSE(Dates::isLeapYear(0));
    EXPECT_EQ(Dates::daysInMonth(2, 1904), 29);
    EXPECT_EQ(Dates::daysInMonth(13, 1904), 0);
}

TEST_F(DatesTest, PackingOutsideWhatTheReaderMakes)
{
    // No year: month and day only, whatever the qualifier.
    EXPECT_EQ(Dates::getLongDate(2, 5, 3, 0), 3u * 256 + 5);
    // A day without a month is not moved.
    EXPECT_EQ(Dates::getLongDate(2, 5, 0, 1900), key(1900, 0, 5));
    EXPECT_EQ(Dates::getLongDate(3, 5, 0, 1900), key(1900, 0, 5));
    // "about" and "between" do not move the key.
    EXPECT_EQ(Dates::getLongDate(1, 5, 3, 1900), key(1900, 3, 5));
    EXPECT_EQ(Dates::getLongDate(4, 5, 3, 1900), key(1900, 3, 5));
    // Keys order dates: bef 1900 < 1900 < Jan 1900 < 01 Jan 1900 < aft 1900.
    EXPECT_LT(Dates::getLongDate(2, 0, 0, 1900), Dates::getLongDate(0, 0, 0, 1900));
    EXPECT_LT(Dates::getLongDate(0, 0, 0, 1900), Dates::getLongDate(0, 0, 1, 1900));
    EXPECT_LT(Dates::getLongDate(0, 0, 1, 1900), Dates::getLongDate(0, 1, 1, 1900));
    EXPECT_LT(Dates::getLongDate(0, 31, 12, 1900), Dates::getLongDate(3, 0, 0, 1900));
}

TEST_F(DatesTest, TextOfStoredNumbers)
{
    EXPECT_EQ(Dates::dateStringFor(4, 5, 3, 1900), "bet 05 Mar 1900");
    EXPECT_EQ(Dates::dateStringFor(7, 0, 0, 1900), "1900");
    EXPECT_EQ(Dates::dateStringFor(1, 5, 3, 0), "");
    EXPECT_EQ(Dates::dateStringFor(0, 5, 0, 1900), "05 1900");
    // Day and year are zero-padded to two and four digits, never cut; a negative number keeps its sign in front.
    EXPECT_EQ(Dates::dateStringFor(0, 31, 0, 45), "31 0045");
    EXPECT_EQ(Dates::dateStringFor(0, 0, 0, 12345), "12345");
    EXPECT_EQ(Dates::dateStringFor(0, 0, 0, -45), "-045");
    EXPECT_EQ(Dates::dateStringFor(0, 123, 0, 1900), "123 1900");
    // A stored month outside 1-12 is left out rather than read past the names.
    EXPECT_EQ(Dates::dateStringFor(0, 0, 13, 1900), "1900");

    const DateValue v(1, 5, 1, 1900);
    EXPECT_EQ(v.text(), "abt 05 Jan 1900");
    EXPECT_EQ(v.longDate(), key(1900, 1, 5));
}

TEST_F(DatesTest, UndatedYIsKeptOnlyByDeathsAndMarriages)
{
    const std::optional<DateValue> y = Dates::getDateComponents(QStringLiteral("y"));
    ASSERT_TRUE(y);
    EXPECT_TRUE(y->isUndatedY());
    EXPECT_FALSE(y->hasDate());
    EXPECT_EQ(y->longDate(), 0u);
    EXPECT_EQ(y->eventDateText(true), "y");
    EXPECT_EQ(y->eventDateText(false), "");
    EXPECT_EQ(Dates::getDateComponents(QStringLiteral("abt 1900"))->eventDateText(true), "abt 1900");
}

TEST_F(DatesTest, ReadingOrderFromTheUsersFormat)
{
    struct Case {
        const char* format;
        int order;
    } cases[] = {
        {"dd/MM/yyyy", D}, {"M/d/yy", M},    {"yyyy-MM-dd", Y},          {"dd.MM.yy", D},
        {"%m/%d/%Y", M},   {"%d %b %Y", D},  {"%Y-%m-%d", Y},            {"d 'de' MMMM 'de' y", D},
        {"", D},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Dates::readingOrderOfFormat(QString::fromUtf8(c.format)), c.order) << c.format;

    Dates::setReadingOrderOverride(Dates::FollowUser);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(Dates::defaultShortDateFormat(), M);
    EXPECT_EQ(Dates::getDateComponents(QStringLiteral("1/5/1900"))->text(), "05 Jan 1900");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(Dates::defaultShortDateFormat(), D);
    EXPECT_EQ(Dates::getDateComponents(QStringLiteral("1/5/1900"))->text(), "01 May 1900");

    // The user's own format wins over the locale's, and a forced order over both.
    UserDefaults::standard().setString(QStringLiteral("NSShortDateFormatString"), QStringLiteral("%m/%d/%Y"));
    EXPECT_EQ(Dates::defaultShortDateFormat(), M);
    Dates::setReadingOrderOverride(Dates::DayFirst);
    EXPECT_EQ(Dates::defaultShortDateFormat(), D);
}

TEST_F(DatesTest, UsersOwnMonthNames)
{
    UserDefaults::standard().setObject(
        QStringLiteral("NSShortMonthNameArray"),
        QStringList{"janv.", "févr.", "mars", "avr.", "mai", "juin", "juil.", "août", "sept.", "oct.", "nov.", "déc."});
    const Dates::ReadOptions user{.useEnglishNames = false};
    // Case, diacritics and the abbreviation's full stop do not matter.
    EXPECT_EQ(Dates::getDateComponents(QStringLiteral("12 FEVR 1900"), user)->month(), 2);
    EXPECT_EQ(Dates::getDateComponents(QStringLiteral("3 août 1900"), user)->month(), 8);
    EXPECT_EQ(Dates::getDateComponents(QStringLiteral("3 Décembre 1900"), user)->month(), 12);
    EXPECT_FALSE(Dates::getDateComponents(QStringLiteral("3 Feb 1900"), user));
    // Stored text stays English; the user's names only when asked for.
    EXPECT_EQ(Dates::getDateComponents(QStringLiteral("3 août 1900"), user)->text(), "03 Aug 1900");
    EXPECT_EQ(Dates::dateStringFor(0, 3, 8, 1900, false), "03 août 1900");
    // English reading ignores them.
    EXPECT_FALSE(Dates::getDateComponents(QStringLiteral("3 août 1900")));

    // Month-first reading tells a user month name from a number as well.
    Dates::setReadingOrderOverride(Dates::MonthFirst);
    EXPECT_EQ(Dates::getDateComponents(QStringLiteral("12 févr. 1900"), user)->day(), 12);
}

TEST_F(DatesTest, WordAssignment)
{
    const QStringList& q = Dates::qualifierWords();
    const QStringList months{"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    auto words = [](const Dates::Words& w) { return QStringList{w.qual, w.day, w.month, w.year}.join('|'); };
    EXPECT_EQ(words(Dates::getDateComponentsForDMY({"ABT", "1900"}, q, months)), "ABT|||1900");
    EXPECT_EQ(words(Dates::getDateComponentsForDMY({"MAR", "1900"}, q, months)), "||MAR|1900");
    EXPECT_EQ(words(Dates::getDateComponentsForDMY({"X", "5", "MAR", "1900"}, q, months)), "X|5|MAR|1900");
    EXPECT_EQ(words(Dates::getDateComponentsForMDY({"5", "3", "1900"}, q, months)), "|3|5|1900");
    EXPECT_EQ(words(Dates::getDateComponentsForMDY({"ABT", "5", "3", "1900"}, q, months)), "ABT|3|5|1900");
    EXPECT_EQ(words(Dates::getDateComponentsForDMY({"1", "2", "3", "4", "5"}, q, months)), "|||");
    // Year first keeps what the caller had in the words it does not assign.
    EXPECT_EQ(words(Dates::getDateComponentsForYMD({"1900", "3"}, q, months, {"", "7", "", ""})), "|7|3|1900");
}

// ---------------------------------------------------------------------------------------------
// The date-field validator

const QString kHelpStart = QStringLiteral("The required date format is:\n\n  qqq mm dd yyyy (US)\n");

TEST_F(DatesTest, ValidatorNormalisesAcceptedDates)
{
    Dates::TextField f(QStringLiteral("  abt\t5/1/1900 \n"));
    f.red = true;
    EXPECT_TRUE(Dates::validateDateField(f, nullptr));
    EXPECT_EQ(f.text, "abt 05 Jan 1900");
    EXPECT_FALSE(f.red);

    Dates::TextField y(QStringLiteral(" y "));
    EXPECT_TRUE(Dates::validateDateField(y, nullptr));
    EXPECT_EQ(y.text, "Y");

    Dates::TextField empty(QStringLiteral(""));
    EXPECT_TRUE(Dates::validateDateField(empty, nullptr));
    EXPECT_EQ(empty.text, "");
    EXPECT_TRUE(prompts.records.isEmpty());
}

TEST_F(DatesTest, ValidatorRefusesWithHelpAndRedText)
{
    Dates::TextField f(QStringLiteral("bet  1900\nand 1910 "));
    EXPECT_FALSE(Dates::validateDateField(f, nullptr));
    EXPECT_TRUE(f.red);
    EXPECT_EQ(f.text, "bet 1900 and 1910");
    ASSERT_EQ(prompts.records.size(), 1);
    EXPECT_EQ(prompts.records[0].kind, ScriptedPrompts::Message);
    EXPECT_TRUE(prompts.records[0].text.startsWith(kHelpStart)) << prompts.records[0].text.toStdString();
    EXPECT_TRUE(prompts.records[0].text.endsWith("\n\nNote: The year must be <= the current year."));

    // The February message comes first, then the help.
    prompts.clear();
    Dates::TextField feb(QStringLiteral("29 Feb 1900"));
    EXPECT_FALSE(Dates::validateDateField(feb, nullptr));
    ASSERT_EQ(prompts.records.size(), 2);
    EXPECT_EQ(prompts.records[0].text, "29 Feb is invalid for year 1900");
    EXPECT_TRUE(prompts.records[1].text.startsWith(kHelpStart));
    EXPECT_EQ(feb.text, "29 Feb 1900");
}

Dates::Relative relative(const char* firstName, const char* gender, int year)
{
    return {QString::fromUtf8(firstName), QString::fromUtf8(gender), Dates::getLongDate(0, 0, 0, year), year};
}

TEST_F(DatesTest, BirthGapWarnings)
{
    Dates::Person john{"John Smith", "John", "M", {}, {}};
    john.children = {relative("Anne", "F", 1910), relative("Carl", "M", 1940), relative("Bob", "M", 1970),
                     relative("Dora", "F", 1895), relative("Ed", "M", 0)};
    john.parents = {relative("Adam", "M", 1830), relative("Mary", "F", 1890), relative("Zoe", "F", 1905),
                    relative("Old", "M", 1860)};

    Dates::TextField f(QStringLiteral("1900"));
    EXPECT_TRUE(Dates::validateDateField(f, &john));
    EXPECT_EQ(f.text, "1900");
    ASSERT_EQ(prompts.records.size(), 1);
    const ScriptedPrompts::Record& r = prompts.records[0];
    EXPECT_EQ(r.kind, ScriptedPrompts::Choose);
    EXPECT_EQ(r.text, "WARNING - Inconsistent date?");
    EXPECT_EQ(r.buttons, QStringList{"I will fix it now"});
    EXPECT_EQ(r.info,
              "John Smith (born 1900) would have been only 10 years old when his daughter Anne was born in 1910\n\n"
              "John Smith (born 1900) would have been 70 years old when his son Bob was born in 1970\n\n"
              "John Smith (born 1900) would have been born 5 years after his daughter Dora was born in 1895\n\n"
              "John Smith's father Adam (born 1830) would have been 70 years old when John was born in 1900\n\n"
              "John Smith's mother Mary (born 1890) would have been only 10 years old when John was born in 1900\n\n"
              "John Smith (born 1900) would have been born 5 years before his mother Zoe (born 1905)\n\n");
}

TEST_F(DatesTest, BirthGapsThatNeedNoWarning)
{
    Dates::Person mary{"Mary %1 Jones", "Mary", "F", {relative("Al", "M", 1913), relative("Bo", "M", 1960)},
                       {relative("Cy", "M", 1840), relative("Di", "F", 1887)}};
    Dates::TextField f(QStringLiteral("1900"));
    EXPECT_TRUE(Dates::validateDateField(f, &mary));
    EXPECT_TRUE(prompts.records.isEmpty());

    // Gaps count whole years between the keys: 13 years less a day is still "only 12".
    mary.children = {{"Al", "M", key(1913, 1, 1), 1913}};
    const QString w = Dates::birthGapWarnings(key(1900, 1, 2), 1900, mary);
    EXPECT_EQ(w, "Mary %1 Jones (born 1900) would have been only 12 years old when her son Al was born in 1913\n\n");

    // No entered date, nothing to compare.
    Dates::TextField none(QStringLiteral(""));
    mary.children = {relative("Al", "M", 1901)};
    EXPECT_TRUE(Dates::validateDateField(none, &mary));
    EXPECT_TRUE(prompts.records.isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Hebrew calendar

TEST_F(DatesTest, HebrewDates)
{
    // Published conversions (day, month and year agree with hebcal; month names as ICU spells them).
    struct Case {
        QDate date;
        const char* hebrew;
        const char* month;
    } cases[] = {
        {QDate(2000, 1, 1), "23 Tevet 5760", "Tevet"},
        {QDate(2023, 9, 16), "1 Tishri 5784", "Tishri"},
        {QDate(1948, 5, 14), "5 Iyar 5708", "Iyar"},
        {QDate(2024, 2, 10), "1 Adar I 5784", "Adar I"},
        {QDate(2024, 3, 24), "14 Adar II 5784", "Adar II"},
        {QDate(2025, 3, 14), "14 Adar 5785", "Adar"},
        {QDate(2000, 2, 29), "23 Adar I 5760", "Adar I"},
        {QDate(1900, 12, 25), "3 Tevet 5661", "Tevet"},
        {QDate(1776, 7, 4), "17 Tamuz 5536", "Tamuz"},
    };
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    for (const Case& c : cases) {
        QString month = "stale";
        EXPECT_EQ(Dates::hebrewDateFor(c.date, &month, british), c.hebrew) << c.date.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(month, c.month);
    }
    QString month = "stale";
    EXPECT_EQ(Dates::hebrewDateFor(QDate(), &month, british), "");
    EXPECT_EQ(month, "");
    // Follows the locale's long style.
    EXPECT_EQ(Dates::hebrewDateFor(QDate(2000, 1, 1), nullptr, QLocale(QLocale::German, QLocale::Germany)),
              "23. Tevet 5760 AM");
}

} // namespace
