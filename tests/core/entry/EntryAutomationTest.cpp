#include "entry/EntryAutomation.h"

#include "model/Model.h"

#include <gtest/gtest.h>

using namespace zx;

TEST(ShiftWeekdays, EachTickMovesToTheNextDay)
{
    EXPECT_EQ(ShiftWeekdays(1 | 16), 2 | 32); // Monday, Friday -> Tuesday, Saturday
    EXPECT_EQ(ShiftWeekdays(64), 1);          // Sunday -> Monday
    EXPECT_EQ(ShiftWeekdays(127), 127);
    EXPECT_EQ(ShiftWeekdays(0), 0);
    int mask = 1 | 8;
    for (int i = 0; i < 7; ++i)
        mask = ShiftWeekdays(mask);
    EXPECT_EQ(mask, 1 | 8);
}

struct DayCase {
    int day, month, year;
    int expectedDay, expectedMonth;
};

class NormaliseDayTable : public ::testing::TestWithParam<DayCase> {};

TEST_P(NormaliseDayTable, CarriesIntoTheFollowingMonths)
{
    DayCase c = GetParam();
    NormaliseDay(c.day, c.month, c.year);
    EXPECT_EQ(c.day, c.expectedDay);
    EXPECT_EQ(c.month, c.expectedMonth);
}

INSTANTIATE_TEST_SUITE_P(Cases, NormaliseDayTable,
                         ::testing::Values(DayCase{35, 4, 2025, 5, 5},  // 30 April + 5
                                           DayCase{31, 1, 2025, 31, 1}, // fits
                                           DayCase{29, 2, 2025, 1, 3},  // no leap year
                                           DayCase{29, 2, 2024, 29, 2}, // leap year
                                           DayCase{29, 2, 2100, 29, 2}, // no century rule
                                           DayCase{32, 12, 2025, 1, 1}, // year end
                                           DayCase{1 + 364, 1, 2025, 31, 12},
                                           DayCase{1 + 364, 1, 2024, 30, 12},
                                           DayCase{40, 0, 2025, 9, 0})); // no month: wraps at 31

TEST(LimitDayToMonth, FebruaryAllows29AndShortMonths30)
{
    int day = 31;
    EXPECT_TRUE(LimitDayToMonth(day, 2));
    EXPECT_EQ(day, 29);
    day = 31;
    EXPECT_TRUE(LimitDayToMonth(day, 11));
    EXPECT_EQ(day, 30);
    day = 31;
    EXPECT_FALSE(LimitDayToMonth(day, 12));
    EXPECT_EQ(day, 31);
    day = 29;
    EXPECT_FALSE(LimitDayToMonth(day, 2));
}

class Increments : public ::testing::Test {
  protected:
    AutomationSettings s;
    SwitchingEntryValues weekly(int hour, int minute, int mask)
    {
        SwitchingEntryValues e;
        e.hour = hour;
        e.minute = minute;
        e.kind = EntryKind::Weekly;
        e.weekdayMask = mask;
        e.channelMask = 1;
        return e;
    }
    SwitchingEntryValues dated(int hour, int minute, int day, int month)
    {
        SwitchingEntryValues e;
        e.hour = hour;
        e.minute = minute;
        e.kind = EntryKind::Dated;
        e.day = day;
        e.month = month;
        e.channelMask = 1;
        return e;
    }
};

TEST_F(Increments, NothingChangesWithTheStartSettings)
{
    SwitchingEntryValues e = weekly(6, 30, 1);
    const SwitchingEntryValues before = e;
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e, before);
}

TEST_F(Increments, MinutesPastMidnightMoveTheWeekdays)
{
    s.IncMinutes = 15;
    SwitchingEntryValues e = weekly(23, 50, 1 | 16);
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e.hour, 0);
    EXPECT_EQ(e.minute, 5);
    EXPECT_EQ(e.weekdayMask, 2 | 32);
}

// Every edge of the clock: the last minute and the last hour of the day stay on their day.
TEST_F(Increments, TheLastMinuteAndHourOfTheDayStay)
{
    const struct {
        int incHours, incMinutes, hour, minute;
        int wantHour, wantMinute, wantDays;
    } cases[] = {{0, 1, 6, 58, 6, 59, 1},
                 {0, 1, 6, 59, 7, 0, 1},
                 {1, 0, 22, 0, 23, 0, 1},
                 {1, 0, 23, 0, 0, 0, 2},
                 {0, 1, 23, 59, 0, 0, 2}};
    for (const auto &c : cases) {
        s.IncHours = c.incHours;
        s.IncMinutes = c.incMinutes;
        SwitchingEntryValues e = weekly(c.hour, c.minute, 1);
        ApplyIncrements(e, s, 0, 2025);
        EXPECT_EQ(e.hour, c.wantHour) << c.hour << ":" << c.minute;
        EXPECT_EQ(e.minute, c.wantMinute) << c.hour << ":" << c.minute;
        EXPECT_EQ(e.weekdayMask, c.wantDays) << c.hour << ":" << c.minute;
    }
}

TEST_F(Increments, WeekdayIncrementAndDayCarryShiftTwice)
{
    s.IncHours = 2;
    s.IncWeekdays = 1;
    SwitchingEntryValues e = weekly(23, 0, 64);
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e.hour, 1);
    EXPECT_EQ(e.weekdayMask, 2);
}

TEST_F(Increments, HoursAndMinutesCarry)
{
    s.IncMinutes = 59;
    s.IncHours = 23;
    SwitchingEntryValues e = weekly(0, 1, 1);
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e.hour, 0);
    EXPECT_EQ(e.minute, 0);
    EXPECT_EQ(e.weekdayMask, 2);
}

TEST_F(Increments, ProgramStopsAtTheLastItem)
{
    s.IncPriority = 1;
    SwitchingEntryValues e = weekly(6, 0, 1);
    e.program = 8;
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e.program, 9);
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e.program, 9);
    e.program = 7;
    ApplyIncrements(e, s, 1, 2025);
    EXPECT_EQ(e.program, 7);
}

TEST_F(Increments, StateTogglesOnlyWithIncrementOne)
{
    s.IncState = 1;
    SwitchingEntryValues e = weekly(6, 0, 1);
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e.state, 0);
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e.state, 1);
    s.IncState = 10; // a bus amount left over does not toggle a conventional state
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e.state, 1);
}

TEST_F(Increments, BusValueWrapsAt256)
{
    s.IncState = 10;
    SwitchingEntryValues e = weekly(6, 0, 1);
    e.busChannel = 3;
    e.value = 250;
    ApplyIncrements(e, s, 1, 2025);
    EXPECT_EQ(e.value, 4);
    EXPECT_EQ(e.busChannel, 3);
}

TEST_F(Increments, DaysCarryIntoTheNextMonth)
{
    s.IncDays = 5;
    SwitchingEntryValues e = dated(12, 0, 30, 4);
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e.day, 5);
    EXPECT_EQ(e.month, 5);
}

TEST_F(Increments, MidnightCarryAddsADayToADate)
{
    s.IncHours = 1;
    SwitchingEntryValues e = dated(23, 30, 31, 12);
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e.hour, 0);
    EXPECT_EQ(e.day, 1);
    EXPECT_EQ(e.month, 1);
}

TEST_F(Increments, FebruaryFollowsTheCurrentYear)
{
    s.IncDays = 1;
    SwitchingEntryValues e = dated(12, 0, 28, 2);
    SwitchingEntryValues leap = e;
    ApplyIncrements(e, s, 0, 2025);
    ApplyIncrements(leap, s, 0, 2028);
    EXPECT_EQ(e.day, 1);
    EXPECT_EQ(e.month, 3);
    EXPECT_EQ(leap.day, 29);
    EXPECT_EQ(leap.month, 2);
}

TEST_F(Increments, MonthIncrementWrapsAndKeepsTheDayInTheMonth)
{
    s.IncMonth = 1;
    SwitchingEntryValues e = dated(12, 0, 15, 12);
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e.month, 1);
    EXPECT_EQ(e.day, 15);
    e.day = 31;
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e.month, 2);
    EXPECT_EQ(e.day, 29);
}

TEST_F(Increments, DatedEntriesIgnoreWeekdayAndProgramIncrements)
{
    s.IncWeekdays = 1;
    s.IncPriority = 1;
    SwitchingEntryValues e = dated(12, 0, 15, 6);
    const SwitchingEntryValues before = e;
    ApplyIncrements(e, s, 0, 2025);
    EXPECT_EQ(e, before);
}
