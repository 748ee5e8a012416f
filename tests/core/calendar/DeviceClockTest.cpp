#include "calendar/DeviceClock.h"

#include "calendar/Changeover.h"
#include "model/Calendar.h"

#include <gtest/gtest.h>

#include <random>

using namespace zx;

namespace {

// 2026: an hour forward on 29 March at 02:00 and back on 25 October at 03:00; 2027: a southern
// pair two hours forward on 4 October at 01:00 and back on 5 April at 04:00; 2028: a damaged pair
// whose advance and set-back are one moment (no summer time at all).
ProgramSet table()
{
    ProgramSet t;
    AppendChangeoverEntry(t, {{29, 3, 2, 1}, {25, 10, 3, 1}}, 2026, OnceAYear);
    AppendChangeoverEntry(t, {{4, 10, 1, 2}, {5, 4, 4, 2}}, 2026, OnceAYear);
    t.DstTable[2] = EncodeChangeoverEntry({{1, 6, 2, 1}, {1, 6, 2, 1}});
    t.DstCount = 3;
    return t;
}

struct ClockCase {
    const char *name;
    int rule;
    int year;
    DayMonth date;
    int clock;    // minute of that day on the device's clock
    int standard; // the standard-time minute (from the same midnight) it happens at
};

class ClockReading : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockReading, HappensAtOneStandardMoment)
{
    const ClockCase c = GetParam();
    const ProgramSet t = table();
    const DeviceClock clock(c.rule, t);
    const long long midnight = (DayOfYear(c.date.day, c.date.month, c.year) - 1) * 1440LL;
    EXPECT_EQ(clock.standardOf(c.year, midnight + c.clock) - midnight, c.standard);
}

INSTANTIATE_TEST_SUITE_P(
    DeviceClock, ClockReading,
    ::testing::Values(
        // the skipped hour happens when the clock jumps
        ClockCase{"AtAdvance", RuleEurope, 2026, {29, 3}, 120, 120},
        ClockCase{"InTheGap", RuleEurope, 2026, {29, 3}, 130, 120},
        ClockCase{"AfterJump", RuleEurope, 2026, {29, 3}, 180, 120},
        // the repeated hour happens once, on the summer clock
        ClockCase{"RepeatedHour", RuleEurope, 2026, {25, 10}, 150, 90},
        ClockCase{"AtSetBack", RuleEurope, 2026, {25, 10}, 180, 180},
        ClockCase{"UsaLateAdvance", RuleUSA, 2026, {12, 4}, 150, 120},
        ClockCase{"TableTwoHourGap", RuleTable, 2027, {4, 10}, 150, 60},
        ClockCase{"TableAfterTwoHourJump", RuleTable, 2027, {4, 10}, 181, 61},
        ClockCase{"SouthNewYear", RuleTable, 2027, {1, 1}, 0, -120},
        ClockCase{"SouthAtSetBack", RuleTable, 2027, {5, 4}, 240, 240},
        ClockCase{"OneMomentEntry", RuleTable, 2028, {1, 6}, 150, 150},
        // past the year's end the next year's changeovers hold
        ClockCase{"NextYear", RuleEurope, 2026, {31, 12}, 1440 + 86 * 1440 + 150, 1440 + 86 * 1440 + 120}),
    [](const auto &info) { return std::string(info.param.name); });

// Standard time read on the clock: a late sunset under a two-hour summer time lies on the next
// day's clock, and every reading converts back to a moment that shows it.
TEST(DeviceClock, ClockAndStandardTimeAgree)
{
    const ProgramSet t = table();
    const DeviceClock south(RuleTable, t);
    const long long july1 = (DayOfYear(1, 7, 2027) - 1) * 1440LL;
    EXPECT_EQ(south.clockOf(2027, july1 + 23 * 60 + 46), july1 + 23 * 60 + 46); // winter there
    const DeviceClock europe(RuleEurope, t);
    const long long june21 = (DayOfYear(21, 6, 2026) - 1) * 1440LL;
    EXPECT_EQ(europe.clockOf(2026, june21 + 23 * 60 + 46), june21 + 24 * 60 + 46);
    const long long dec1 = (DayOfYear(1, 12, 2027) - 1) * 1440LL;
    EXPECT_EQ(south.clockOf(2027, dec1 + 23 * 60), dec1 + 25 * 60);

    std::mt19937 rng(61);
    for (int rule : {int(RuleEurope), int(RuleUK), int(RuleUSA), int(RuleTable)}) {
        const DeviceClock clock(rule, t);
        for (int year : {2026, 2027, 2028}) {
            // The table's years do not continue each other's summer time over the new year: it is
            // taken within its years there.
            const bool fixed = rule != RuleTable;
            const long long from = fixed ? -1440 : 0;
            const long long to = fixed ? 367 * 1440 : (DaysInYear(year) - 1) * 1440;
            long long previous = -1LL << 40;
            for (long long m = from; m < to; m += std::uniform_int_distribution<int>(1, 97)(rng)) {
                // a reading converts back to a moment showing it: this one, or in the repeated
                // hour the first time the clock showed it
                const long long reading = clock.clockOf(year, m);
                const long long back = clock.standardOf(year, reading);
                ASSERT_EQ(clock.clockOf(year, back), reading) << rule << ' ' << year << ' ' << m;
                ASSERT_TRUE(back <= m && m - back <= DstMaxShift * 60) << rule << ' ' << year << ' ' << m;
                const long long s = clock.standardOf(year, m);
                ASSERT_GE(s, previous) << "a later reading happens earlier: " << rule << ' ' << m;
                previous = s;
            }
        }
    }
}

} // namespace
