// The events that fell on a day of the year: by the Gregorian day or whole month, newest first or oldest first,
// and by the Hebrew day and month of the chosen day.
#include "../model/PeopleFixture.h"

#include "reports/OnThisDaySearch.h"

#include "model/ModelFlags.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

class OnThisDayTest : public PeopleFixture {
protected:
    // An event of `who`'s dated `day month year` (day or month 0: not known), its tag `tag`.
    FTEvent* event(FTPerson* who, const QString& tag, int day, int month, int year, int qual = 0)
    {
        FTEvent* e = FTEvent::initInMoc(moc.get(), FTEvent::OtherPersonalEvent, who, tag);
        e->setDate(Dates::dateStringFor(qual, day, month, year));
        return e;
    }
    static QStringList dates(const QList<FTEvent*>& events)
    {
        QStringList out;
        for (const FTEvent* e : events)
            out << e->date() + " " + e->subtype();
        return out;
    }
};

TEST_F(OnThisDayTest, ADayListsEveryYearNewestFirstAndAWholeMonthByDay)
{
    FTPerson* ann = person("Ann Root");
    event(ann, "RESI", 14, 7, 1901);
    event(ann, "CENS", 14, 7, 1950);
    event(ann, "BAPM", 14, 7, 1950);  // same day: by tag
    event(ann, "OCCU", 14, 7, 1875);
    event(ann, "EMIG", 3, 7, 1990);
    event(ann, "NATU", 0, 7, 1960);   // month and year only
    event(ann, "EDUC", 14, 7, 0);     // no year
    event(ann, "GRAD", 14, 8, 1950);

    EXPECT_THAT(dates(OnThisDaySearch::gregorianEvents(moc.get(), 14, 7, false)),
        ElementsAre("14 Jul 1950 BAPM", "14 Jul 1950 CENS", "14 Jul 1901 RESI", "14 Jul 1875 OCCU"));
    EXPECT_THAT(dates(OnThisDaySearch::gregorianEvents(moc.get(), 14, 7, true)),
        ElementsAre("14 Jul 1875 OCCU", "14 Jul 1901 RESI", "14 Jul 1950 BAPM", "14 Jul 1950 CENS"));

    // Day 0: the whole month, the month-only event too; the date column orders it by day, month, year.
    QList<FTEvent*> month = OnThisDaySearch::gregorianEvents(moc.get(), 0, 7, false);
    EXPECT_EQ(month.size(), 6);
    OnThisDaySearch::sortByDayMonthYear(month, true);
    EXPECT_THAT(dates(month), ElementsAre("Jul 1960 NATU", "03 Jul 1990 EMIG", "14 Jul 1875 OCCU",
                                  "14 Jul 1901 RESI", "14 Jul 1950 BAPM", "14 Jul 1950 CENS"));
    OnThisDaySearch::sortByDayMonthYear(month, false);
    EXPECT_EQ(dates(month).first(), "14 Jul 1950 BAPM");
    EXPECT_EQ(dates(month).last(), "Jul 1960 NATU");
}

TEST_F(OnThisDayTest, TheHebrewDayAndMonthOfTheChosenDayMatchInAnyYear)
{
    struct Target {
        int day, month, year;
        const char* text;
    } targets[] = {
        {1, 1, 2000, "23 Tevet"},
        {14, 5, 1948, "5 Iyar"},
        {24, 3, 2024, "14 Adar II"},
        {16, 9, 2023, "1 Tishri"},
        {29, 2, 2023, ""},  // no such day this year: nothing to look for
    };
    for (const Target& t : targets)
        EXPECT_EQ(OnThisDaySearch::hebrewTarget(t.day, t.month, t.year), t.text) << t.text;

    struct Match {
        const char* hebrewDate;
        const char* target;
        bool matches;
    } matches[] = {
        {"5 Iyar 5708", "5 Iyar", true},
        {"abt 5 Iyar 5784", "5 Iyar", true},
        {"15 Iyar 5784", "5 Iyar", false},  // day 5 is not day 15
        {"5 IYAR 5784", "5 iyar", true},
        {"6 Iyar 5784", "5 Iyar", false},
        {"", "5 Iyar", false},
        {"5 Iyar 5708", "", false},
    };
    for (const Match& m : matches)
        EXPECT_EQ(OnThisDaySearch::hebrewDateMatches(m.hebrewDate, m.target), m.matches) << m.hebrewDate;

    FTPerson* ann = person("Ann Root");
    event(ann, "EMIG", 14, 5, 1948);                  // 5 Iyar 5708
    event(ann, "RESI", 13, 5, 2024, DateValue::About); // 5 Iyar 5784
    event(ann, "CENS", 23, 5, 2024);                  // 15 Iyar
    event(ann, "OCCU", 14, 5, 2024);                  // 6 Iyar
    event(ann, "NATU", 0, 5, 1948);                   // no day
    EXPECT_THAT(dates(OnThisDaySearch::hebrewEvents(moc.get(), 14, 5, 1948, false)),
        ElementsAre("abt 13 May 2024 RESI", "14 May 1948 EMIG"));
    EXPECT_TRUE(OnThisDaySearch::hebrewEvents(moc.get(), 29, 2, 2023, false).isEmpty());
}

}
