#include "model/Calendar.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace zx;

namespace {

struct WeekdayCase {
    int day, month, year, weekday;
};

class WeekdayTable : public ::testing::TestWithParam<WeekdayCase> {};

TEST_P(WeekdayTable, MondayIsOne)
{
    const WeekdayCase c = GetParam();
    EXPECT_EQ(Weekday(c.day, c.month, c.year), c.weekday);
}

INSTANTIATE_TEST_SUITE_P(Calendar, WeekdayTable,
                         ::testing::Values(WeekdayCase{1, 1, 1993, Friday}, WeekdayCase{1, 4, 1996, Monday},
                                           WeekdayCase{1, 4, 2026, Wednesday},
                                           WeekdayCase{29, 2, 2000, Tuesday},
                                           WeekdayCase{31, 12, 1992, Thursday},
                                           WeekdayCase{31, 12, 2099, Thursday}));

// The day count agrees with the real calendar on every day the program handles.
TEST(Calendar, WeekdayAndDayOfYearMatchRealCalendar)
{
    for (QDate d(CalendarFirstYear, 1, 1); d.year() <= CalendarLastYear; d = d.addDays(1)) {
        ASSERT_EQ(Weekday(d.day(), d.month(), d.year()), d.dayOfWeek())
            << d.toString(Qt::ISODate).toStdString();
        ASSERT_EQ(DayOfYear(d.day(), d.month(), d.year()), d.dayOfYear());
        ASSERT_EQ(DateOfDay(d.dayOfYear(), d.year()), (DayMonth{d.day(), d.month()}));
    }
}

TEST(Calendar, LeapYearsWithoutCenturyRule)
{
    EXPECT_EQ(DaysInYear(2100), 366);
    EXPECT_EQ(DaysInYear(2027), 365);
    EXPECT_EQ(DaysBeforeMonth(0, 2024), 0);
    EXPECT_EQ(DaysBeforeMonth(2, 2023), 59);
    EXPECT_EQ(DaysBeforeMonth(2, 2024), 60);
    EXPECT_EQ(DaysBeforeMonth(11, 2024), 335);
    EXPECT_EQ(DayOfYear(31, 12, 2024), 366);
    // Days past the year's end count as December; months past 12 hold the whole year.
    EXPECT_EQ(MonthOfDay(365, 2023), 12);
    EXPECT_EQ(MonthOfDay(366, 2023), 12);
    EXPECT_EQ(MonthOfDay(367, 2024), 12);
    EXPECT_EQ(DateOfDay(366, 2023), (DayMonth{32, 12}));
    EXPECT_EQ(DaysThroughMonth(13, 2024), 366);
    EXPECT_EQ(DaysThroughMonth(-1, 2024), 0);
}

struct NthCase {
    int rule, weekday0, month0, year, day;
};

class NthWeekdayTable : public ::testing::TestWithParam<NthCase> {};

TEST_P(NthWeekdayTable, DayOfMonth)
{
    const NthCase c = GetParam();
    EXPECT_EQ(NthWeekdayOfMonth(c.rule, c.weekday0, c.month0, c.year), c.day);
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, NthWeekdayTable,
    ::testing::Values(NthCase{OrdinalLast, 6, 1, 2004, 29}, NthCase{OrdinalLast, 6, 1, 2003, 23},
                      NthCase{OrdinalFirst, 0, 0, 1996, 1}, NthCase{OrdinalFourth, 6, 9, 2000, 22},
                      NthCase{OrdinalLast, 6, 2, 2026, 29}, NthCase{OrdinalLast, 0, 3, 2027, 26},
                      NthCase{OrdinalFirst, 0, 4, 2027, 3}, NthCase{OrdinalThird, 2, 10, 2030, 20},
                      NthCase{5, 0, 0, 2000, 0}));

struct EasterCase {
    int year, day, month;
};

class EasterTable : public ::testing::TestWithParam<EasterCase> {};

TEST_P(EasterTable, Sunday)
{
    const EasterCase c = GetParam();
    EXPECT_EQ(EasterSunday(c.year), DayOfYear(c.day, c.month, c.year));
}

INSTANTIATE_TEST_SUITE_P(Calendar, EasterTable,
                         ::testing::Values(EasterCase{2026, 5, 4}, EasterCase{2049, 18, 4},
                                           EasterCase{2076, 19, 4}, EasterCase{2046, 25, 3},
                                           EasterCase{2079, 23, 4}, EasterCase{1954, 18, 4},
                                           EasterCase{1981, 19, 4}, EasterCase{2000, 23, 4},
                                           EasterCase{2027, 28, 3}));

// An independent computation (the anonymous Gregorian algorithm) over the whole range.
TEST(Calendar, EasterMatchesGregorianComputation)
{
    for (int y = EasterFirstYear; y <= EasterLastYear; ++y) {
        const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4, f = (b + 8) / 25,
                  g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30, i = c / 4, k = c % 4,
                  l = (32 + 2 * e + 2 * i - h - k) % 7, m = (a + 11 * h + 22 * l) / 451;
        const int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
        ASSERT_EQ(DateOfDay(EasterSunday(y), y), (DayMonth{day, month})) << y;
    }
}

} // namespace
