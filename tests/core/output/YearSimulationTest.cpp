#include "output/YearSimulation.h"

#include "calendar/Changeover.h"

#include "entry/SwitchingEntry.h"
#include "model/Calendar.h"
#include "model/ChangeoverRules.h"
#include "model/Model.h"
#include "support/SamplePrograms.h"

#include <gtest/gtest.h>

#include <numeric>

namespace zx {
namespace {

using test::datedTime;
using test::easterPriority;
using test::priorityTime;
using test::weeklyTime;

constexpr int Mo = 1, Tu = 2, Sa = 32, Su = 64, Daily = 127;

Model modelWith(std::initializer_list<ProgramRecord> records, int channels = 4)
{
    Model m;
    m.device.Kanalzahl = channels;
    for (const ProgramRecord &r : records)
        m.appendRecord(SetProgram, r);
    return m;
}

int planCode(const Model &m, int year, int day, int month, int channel)
{
    return YearSimulation(m).dayPlan(year).code(DayOfYear(day, month, year), channel);
}

// ----- day plan -------------------------------------------------------------------------------

struct PlanCase {
    const char *name;
    std::vector<ProgramRecord> records;
    int year, day, month, channel;
    int expected;
};

class DayPlanCases : public ::testing::TestWithParam<PlanCase> {};

TEST_P(DayPlanCases, CodeOfDay)
{
    const PlanCase &c = GetParam();
    Model m;
    m.device.Kanalzahl = 4;
    for (const ProgramRecord &r : c.records)
        m.appendRecord(SetProgram, r);
    EXPECT_EQ(planCode(m, c.year, c.day, c.month, c.channel), c.expected);
}

// Once-only, 1 December 2030 to 31 January 2031 (year code 94), channel 1, priority 2.
const ProgramRecord OnceAcrossYearEnd = priorityTime(1, 12, 31, 1, 2, 1, 0, 1, 2030 - 1936);
// Every year, 20 December to 10 January.
const ProgramRecord YearlyAcrossYearEnd = priorityTime(20, 12, 10, 1, 4, 1);

INSTANTIATE_TEST_SUITE_P(
    YearSimulation, DayPlanCases,
    ::testing::Values(
        PlanCase{"NoPriority", {weeklyTime(6, 0, Daily, 1)}, 2030, 5, 5, 1, 0},
        PlanCase{"RangeOtherChannel", {priorityTime(1, 5, 10, 5, 3, 2)}, 2030, 5, 5, 1, 0},
        PlanCase{"RangeOwnChannel", {priorityTime(1, 5, 10, 5, 3, 2)}, 2030, 5, 5, 2, 3},
        // a damaged range (month 13, day 0) acts on no day rather than on a guessed one
        PlanCase{"OnceOneDayInItsYear", {priorityTime(5, 5, 5, 5, 3, 1, 0, 1, 94)}, 2030, 5, 5, 1, 3},
        PlanCase{"OnceOneDayNotTheNextYear", {priorityTime(5, 5, 5, 5, 3, 1, 0, 1, 94)}, 2031, 5, 5, 1, 0},
        PlanCase{"OnceOneDayNotTheDayAfter", {priorityTime(5, 5, 5, 5, 3, 1, 0, 1, 94)}, 2030, 6, 5, 1, 0},
        PlanCase{"RangeFromMonth13", {priorityTime(1, 13, 10, 5, 3, 1)}, 2030, 5, 5, 1, 0},
        PlanCase{"RangeToDay0", {priorityTime(1, 5, 0, 5, 3, 1)}, 2030, 5, 5, 1, 0},
        PlanCase{"OnceFromMonth13", {priorityTime(1, 13, 10, 5, 3, 1, 0, 1, 94)}, 2030, 5, 5, 1, 0},
        PlanCase{"LaterStartWins",
                 {priorityTime(1, 5, 31, 5, 3, 1), priorityTime(10, 5, 12, 5, 7, 1)},
                 2030,
                 11,
                 5,
                 1,
                 7},
        PlanCase{"LaterStartWinsWhateverEntered",
                 {priorityTime(10, 5, 12, 5, 7, 1), priorityTime(1, 5, 31, 5, 3, 1)},
                 2030,
                 11,
                 5,
                 1,
                 7},
        // program 0 and the codes above permanent are no priority program: such a record selects
        // nothing and leaves the range that was running
        PlanCase{"Program0SelectsNothing",
                 {priorityTime(1, 5, 31, 5, 3, 1), priorityTime(10, 5, 12, 5, 0, 1)},
                 2030,
                 11,
                 5,
                 1,
                 3},
        PlanCase{"Program12SelectsNothing", {priorityTime(1, 5, 10, 5, 12, 1)}, 2030, 5, 5, 1, 0},
        PlanCase{"OnceFirstYearDecember", {OnceAcrossYearEnd}, 2030, 31, 12, 1, 2},
        PlanCase{"OnceFirstYearNotJanuary", {OnceAcrossYearEnd}, 2030, 15, 1, 1, 0},
        PlanCase{"OnceNextYearJanuary", {OnceAcrossYearEnd}, 2031, 31, 1, 1, 2},
        PlanCase{"OnceNextYearNotDecember", {OnceAcrossYearEnd}, 2031, 1, 12, 1, 0},
        PlanCase{"OnceOtherYear", {OnceAcrossYearEnd}, 2032, 15, 1, 1, 0},
        PlanCase{"YearlyDecemberPart", {YearlyAcrossYearEnd}, 2030, 20, 12, 1, 4},
        PlanCase{"YearlyJanuaryPart", {YearlyAcrossYearEnd}, 2030, 10, 1, 1, 4},
        PlanCase{"YearlyGap", {YearlyAcrossYearEnd}, 2030, 11, 1, 1, 0},
        PlanCase{"Easter2049", {easterPriority(0, 5, 1)}, 2049, 18, 4, 1, 5},
        PlanCase{"Easter2076", {easterPriority(0, 5, 1)}, 2076, 19, 4, 1, 5},
        PlanCase{"EasterMonday2076", {easterPriority(1, 5, 1)}, 2076, 20, 4, 1, 5},
        PlanCase{"EasterDayBefore", {easterPriority(0, 5, 1)}, 2076, 18, 4, 1, 0},
        // the lowest Easter day code reaches back 82 days: New Year's Day when Easter is on 23
        // March of a leap year, the year before when it is on 23 March of a common year
        PlanCase{"EasterCode0OnNewYear2008", {easterPriority(-82, 5, 1)}, 2008, 1, 1, 1, 5},
        PlanCase{"EasterCode0BeforeTheYear1913", {easterPriority(-82, 5, 1)}, 1913, 1, 1, 1, 0},
        PlanCase{"PermanentOn", {priorityTime(1, 5, 1, 5, 10, 3, 1)}, 2030, 1, 5, 2, 10},
        PlanCase{"PermanentOff", {priorityTime(1, 5, 1, 5, 10, 3, 0)}, 2030, 1, 5, 1, 11},
        // A permanent range bound to one year keeps to its years like any other.
        PlanCase{
            "PermanentOnceNotEarlyJanuary", {priorityTime(1, 12, 31, 1, 10, 1, 1, 1, 94)}, 2030, 5, 1, 1, 0},
        PlanCase{
            "PermanentOnceNextJanuary", {priorityTime(1, 12, 31, 1, 10, 1, 1, 1, 94)}, 2031, 5, 1, 1, 10},
        PlanCase{"PermanentOnceNotNextDecember",
                 {priorityTime(1, 12, 31, 1, 10, 1, 1, 1, 94)},
                 2031,
                 5,
                 12,
                 1,
                 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(YearSimulation, LeapYearsHave366Days)
{
    const Model m = modelWith({priorityTime(31, 12, 31, 12, 9, 1)});
    const YearSimulation sim(m);
    EXPECT_EQ(sim.dayPlan(2028).days, 366);
    EXPECT_EQ(sim.dayPlan(2028).code(366, 1), 9);
    EXPECT_EQ(sim.dayPlan(2029).days, 365);
    EXPECT_EQ(sim.dayPlan(2029).code(365, 1), 9);
    // outside the year or the channels 1..8 the plan answers the weekly program
    for (const auto &[day, channel] : {std::pair{0, 1}, {366, 1}, {365, 0}, {365, SimulationChannels + 1}})
        EXPECT_EQ(sim.dayPlan(2029).code(day, channel), DayCode::Weekly) << day << " " << channel;
}

// A priority time ticked for more channels than the device has acts on the ones it has.
TEST(YearSimulation, ChannelsBeyondTheDeviceStayWeekly)
{
    const Model m = modelWith({priorityTime(1, 5, 10, 5, 3, 15)}, 2);
    const DayPlan plan = YearSimulation(m).dayPlan(2030);
    EXPECT_EQ(plan.code(DayOfYear(5, 5, 2030), 2), 3);
    EXPECT_EQ(plan.code(DayOfYear(5, 5, 2030), 3), DayCode::Weekly);
}

TEST(YearSimulation, BusDevicesSimulateAllEightChannels)
{
    Model m;
    m.device.BusDevice = 1;
    m.device.Kanalzahl = 8;
    // bus priority range 1..3 May, program 2, channel 7: b4 value, b5 = to-month x 16 + channel - 1
    ProgramRecord pz{std::uint8_t(96 + 5 * 2), std::uint8_t(1 * 16 + 2), 0, 3, 0, std::uint8_t(5 * 16 + 6)};
    // bus weekly 07:00 daily program 2, channel 7 (bit 2 of channel - 1 in b1 bit 3), value 200
    const int t = 7 * 60;
    ProgramRecord on{std::uint8_t(128 + (t >> 4)), std::uint8_t(((t & 15) << 4) | 8 | 2), 0, Daily, 200, 2};
    m.appendRecord(SetProgram, pz);
    // the same range on channel 8, the last one of the plan, once only and with a value: a bus
    // record holds no year code, so its value bits never bind it to a year
    pz.b3 = 64 + 3;
    pz.b4 = 200;
    pz.b5 = 5 * 16 + 7;
    m.appendRecord(SetProgram, pz);
    pz.b5 = 5 * 16 + 0; // and on channel 1, the first
    m.appendRecord(SetProgram, pz);
    m.appendRecord(SetProgram, on);
    const YearSimulation sim(m);
    ASSERT_EQ(sim.channels(), 8);
    const DayPlan plan = sim.dayPlan(2030);
    EXPECT_EQ(plan.code(DayOfYear(2, 5, 2030), 7), 2);
    EXPECT_EQ(plan.code(DayOfYear(2, 5, 2030), 6), 0);
    EXPECT_EQ(plan.code(DayOfYear(2, 5, 2030), 8), 2);
    EXPECT_EQ(plan.code(DayOfYear(2, 5, 2030), 1), 2);
    EXPECT_EQ(sim.daySegments(plan, 7, DayOfYear(2, 5, 2030)),
              (std::vector<DaySegment>{{1, t}, {1, 1440 - t}}));
    EXPECT_EQ(sim.daySegments(plan, 7, DayOfYear(4, 5, 2030)), (std::vector<DaySegment>{{0, 1440}}));

    // a dated bus switching time acts on its day; the last one it switched, a year before, holds
    // at midnight
    SwitchingEntryValues dated;
    dated.hour = 12;
    dated.day = 4;
    dated.month = 5;
    dated.busChannel = 7;
    dated.value = 50;
    m.appendRecord(SetProgram, EncodeSwitchingTime(dated, 1));
    const YearSimulation withDated(m);
    EXPECT_EQ(withDated.daySegments(plan, 7, DayOfYear(4, 5, 2030)),
              (std::vector<DaySegment>{{1, 720}, {1, 720}}));
    EXPECT_EQ(withDated.daySegments(plan, 7, DayOfYear(5, 5, 2030)), (std::vector<DaySegment>{{1, 1440}}));
}

// A bus Easter holiday keeps its channel number in a whole byte: a number outside 1..8 drives
// no channel of the plan.
TEST(YearSimulation, BusEasterChannelOutsideThePlanDrivesNothing)
{
    for (const int channel : {0, 9, 200}) {
        Model m;
        m.device.BusDevice = 1;
        m.device.Kanalzahl = 8;
        m.appendRecord(SetProgram, easterPriority(0, 2, channel));
        const DayPlan plan = YearSimulation(m).dayPlan(2030);
        for (int c = 1; c <= SimulationChannels; ++c)
            EXPECT_EQ(plan.code(DayOfYear(21, 4, 2030), c), DayCode::Weekly) << channel << " " << c;
    }
}

// ----- day segments ---------------------------------------------------------------------------

using Segments = std::vector<DaySegment>;

struct SegmentCase {
    const char *name;
    std::vector<ProgramRecord> records;
    int day, month, code; // in 2030; 7 January 2030 is a Monday
    Segments expected;
};

class DaySegmentCases : public ::testing::TestWithParam<SegmentCase> {};

TEST_P(DaySegmentCases, Segments)
{
    const SegmentCase &c = GetParam();
    Model m;
    m.device.Kanalzahl = 4;
    for (const ProgramRecord &r : c.records)
        m.appendRecord(SetProgram, r);
    const Segments s = YearSimulation(m).daySegments(1, c.day, c.month, 2030, c.code);
    EXPECT_EQ(s, c.expected);
    EXPECT_EQ(
        std::accumulate(s.begin(), s.end(), 0, [](int n, const DaySegment &x) { return n + x.minutes; }),
        1440);
}

INSTANTIATE_TEST_SUITE_P(
    YearSimulation, DaySegmentCases,
    ::testing::Values(
        SegmentCase{"Nothing", {}, 7, 1, 0, {{0, 1440}}},
        SegmentCase{"OtherChannelOnly", {weeklyTime(6, 0, Daily, 2)}, 7, 1, 0, {{0, 1440}}},
        SegmentCase{"SundayOnlySetsMondayMidnight", {weeklyTime(20, 0, Su, 1, 1)}, 7, 1, 0, {{1, 1440}}},
        SegmentCase{"OnAndOff",
                    {weeklyTime(18, 0, Mo | Tu, 1, 0), weeklyTime(6, 30, Mo | Tu, 1, 1)},
                    7,
                    1,
                    0,
                    {{0, 390}, {1, 690}, {0, 360}}},
        SegmentCase{"OtherProgramIgnored", {weeklyTime(6, 0, Daily, 1, 1, 3)}, 7, 1, 0, {{0, 1440}}},
        SegmentCase{"PriorityProgramOnly",
                    {weeklyTime(6, 0, Daily, 1, 1, 3), weeklyTime(7, 0, Daily, 1, 1, 0)},
                    7,
                    1,
                    3,
                    {{1, 360}, {1, 1080}}}, // yesterday's 06:00 gives the midnight state
        SegmentCase{"DatedWhateverProgram",
                    {datedTime(12, 0, 7, 1, 1, 1), datedTime(23, 0, 6, 1, 1, 0)},
                    7,
                    1,
                    5,
                    {{0, 720}, {1, 720}}},
        // Yesterday's dated time and the daily weekly time lie equally far back: the dated wins.
        SegmentCase{"DatedWinsTie",
                    {weeklyTime(22, 0, Daily, 1, 0), datedTime(22, 0, 6, 1, 1, 1)},
                    7,
                    1,
                    0,
                    {{1, 1320}, {0, 120}}},
        // A pulse is momentary: its own minute, then the switched level goes on.
        SegmentCase{"PulseDoesNotSetMidnight",
                    {weeklyTime(22, 0, Daily, 1, 1, 0, 5)},
                    7,
                    1,
                    0,
                    {{0, 1320}, {3, 1, 5}, {0, 119}}},
        SegmentCase{"OffPulseWhileOn",
                    {weeklyTime(6, 0, Daily, 1, 1), weeklyTime(12, 0, Daily, 1, 0, 0, 5)},
                    7,
                    1,
                    0,
                    {{1, 360}, {1, 360}, {2, 1, 5}, {1, 719}}},
        SegmentCase{
            "PulseInTheLastMinute", {weeklyTime(23, 59, Daily, 1, 1, 0, 5)}, 7, 1, 0, {{0, 1439}, {3, 1, 5}}},
        SegmentCase{"SwitchInTheMinuteAfterAPulse",
                    {weeklyTime(12, 0, Daily, 1, 1, 0, 5), weeklyTime(12, 1, Daily, 1, 1)},
                    7,
                    1,
                    0,
                    {{1, 720}, {3, 1, 5}, {1, 719}}},
        // A switching and a pulse at one minute: the pulse comes on the new level, which goes on
        // after it, at the end of the day as inside it.
        SegmentCase{
            "PulseAndSwitchLast",
            {weeklyTime(7, 0, Daily, 1, 0), weeklyTime(8, 0, Mo, 1, 1), weeklyTime(8, 0, Mo, 1, 1, 0, 5)},
            7,
            1,
            0,
            {{0, 420}, {0, 60}, {1, 0}, {3, 1, 5}, {1, 959}}},
        SegmentCase{"PulseAndSwitchInside",
                    {weeklyTime(7, 0, Daily, 1, 0), weeklyTime(8, 0, Mo, 1, 1),
                     weeklyTime(8, 0, Mo, 1, 1, 0, 5), weeklyTime(9, 0, Mo, 1, 0)},
                    7,
                    1,
                    0,
                    {{0, 420}, {0, 60}, {1, 0}, {3, 1, 5}, {1, 59}, {0, 900}}},
        // Two times of one minute for the channel run in their list order: the later holds, on
        // its day and so after midnight.
        SegmentCase{"SameMinuteLaterHoldsOff",
                    {weeklyTime(8, 0, Daily, 3, 1), weeklyTime(8, 0, Daily, 1, 0)},
                    7,
                    1,
                    0,
                    {{0, 480}, {0, 960}}},
        SegmentCase{"SameMinuteLaterHoldsOn",
                    {weeklyTime(8, 0, Daily, 3, 0), weeklyTime(8, 0, Daily, 1, 1)},
                    7,
                    1,
                    0,
                    {{1, 480}, {1, 960}}},
        // A time at midnight opens the day; the next one still follows it.
        SegmentCase{"AtMidnight",
                    {weeklyTime(0, 0, Mo, 1, 1), weeklyTime(6, 0, Mo, 1, 0)},
                    7,
                    1,
                    0,
                    {{0, 0}, {1, 360}, {0, 1080}}},
        SegmentCase{"PermanentOn", {weeklyTime(6, 0, Daily, 1, 0)}, 7, 1, 10, {{1, 1440}}},
        SegmentCase{"PermanentOff", {weeklyTime(6, 0, Daily, 1, 1)}, 7, 1, 11, {{0, 1440}}}),
    [](const auto &info) { return std::string(info.param.name); });

// ----- astro device ---------------------------------------------------------------------------

class AstroSimulation : public ::testing::Test {
  protected:
    void SetUp() override
    {
        m.device.Uhrentyp = TypeAstro;
        m.device.RecordCapacity = CapacityAstro;
        m.device.Kanalzahl = 2;
        m.astro.AstroPresent = -1;
        for (auto &row : m.astro.AstroTable)
            row = {8 * 60, 17 * 60}; // the first time of a day switches OFF, the second ON
        m.appendRecord(SetProgram, weeklyTime(22, 0, Daily, 1, 0));
    }
    Segments day(int channel, int code) const
    {
        return YearSimulation(m).daySegments(channel, 7, 1, 2030, code);
    }
    Model m;
};

TEST_F(AstroSimulation, SunTimesSwitchChannelOne)
{
    EXPECT_EQ(day(1, 0), (Segments{{0, 480}, {0, 540}, {1, 300}, {0, 120}}));
    // under program 4 the weekly time of program 0 is out; yesterday's ON time gives the midnight state
    EXPECT_EQ(day(1, 4), (Segments{{1, 480}, {0, 540}, {1, 420}}));
}

TEST_F(AstroSimulation, NotUnderProgramFiveOrOnChannelTwoAlone)
{
    EXPECT_EQ(day(1, 5), (Segments{{0, 1440}}));
    EXPECT_EQ(day(2, 0), (Segments{{0, 1440}}));
    m.astro.AstroC1C2 = 1;
    EXPECT_EQ(day(2, 0), (Segments{{1, 480}, {0, 540}, {1, 420}}));
}

// A day with only its ON time in the table (the other out of the day): the midnight state comes from it,
// and no record that is not a switching time enters the simulation.
TEST_F(AstroSimulation, MidnightStateFromTheColumnThatHoldsATime)
{
    m.program().Records[0] = weeklyTime(22, 0, Sa, 1, 0); // last OFF five days back
    m.astro.AstroTable[DayOfYear(6, 1, 2030) - 1] = {NoAstroTime, 16 * 60};
    m.astro.AstroTable[DayOfYear(7, 1, 2030) - 1] = {NoAstroTime, NoAstroTime};
    EXPECT_EQ(day(1, 0), (Segments{{1, 1440}}));
    m.astro.AstroTable[DayOfYear(6, 1, 2030) - 1] = {16 * 60, NoAstroTime};
    EXPECT_EQ(day(1, 0), (Segments{{0, 1440}}));
    // Both at one minute: within the day the ON runs first and the OFF holds, so also overnight.
    m.astro.AstroTable[DayOfYear(6, 1, 2030) - 1] = {16 * 60, 16 * 60};
    EXPECT_EQ(day(1, 0), (Segments{{0, 1440}}));
    // midnight itself is a time of the day, 24:00 is none
    m.astro.AstroTable[DayOfYear(7, 1, 2030) - 1] = {NoAstroTime, 0};
    EXPECT_EQ(day(1, 0), (Segments{{0, 0}, {1, 1440}}));
    m.astro.AstroTable[DayOfYear(7, 1, 2030) - 1] = {NoAstroTime, 1440};
    EXPECT_EQ(day(1, 0), (Segments{{0, 1440}}));
}

// The table holds standard time; in summer time the device switches the changeover's shift
// later, as the astro list shows: the sunset ON at 20:32 standard comes at 21:32 under the fixed
// rule, after the weekly OFF at 20:45, and at 22:32 under a table that goes forward by two hours.
TEST_F(AstroSimulation, SummerDaysSwitchAtTheTimeTheListShows)
{
    m.device.SwRegel = RuleEurope;
    m.program().Records[0] = weeklyTime(20, 45, Daily, 1, 0);
    m.astro.AstroTable[DayOfYear(21, 6, 2030) - 1] = {5 * 60, 20 * 60 + 32};
    EXPECT_EQ(YearSimulation(m).daySegments(1, 21, 6, 2030, 0),
              (Segments{{0, 360}, {0, 885}, {0, 47}, {1, 148}}));
    m.device.SwRegel = RuleTable;
    AppendChangeoverEntry(m.program(), {{31, 3, 2, 2}, {27, 10, 3, 2}}, 2030, OnceAYear);
    EXPECT_EQ(YearSimulation(m).daySegments(1, 21, 6, 2030, 0),
              (Segments{{0, 420}, {0, 825}, {0, 107}, {1, 88}}));
}

// A sunset ON at 23:46 standard time in summer time switches at 0:46 of the next day, not at
// 0:46 of its own day.
TEST_F(AstroSimulation, ASunTimePushedPastMidnightSwitchesTheNextDay)
{
    m.device.SwRegel = RuleEurope;
    m.astro.AstroTable[DayOfYear(20, 6, 2030) - 1] = {5 * 60, 23 * 60 + 46};
    const YearSimulation sim(m);
    // 20 June: OFF at 06:00 and the weekly OFF at 22:00, no ON
    EXPECT_EQ(sim.daySegments(1, 20, 6, 2030, 0), (Segments{{0, 360}, {0, 960}, {0, 120}}));
    // 21 June: ON at 0:46, then the day's own sun times at 09:00 and 18:00
    EXPECT_EQ(sim.daySegments(1, 21, 6, 2030, 0),
              (Segments{{0, 46}, {1, 494}, {0, 540}, {1, 240}, {0, 120}}));
    // under program 4 the weekly OFF is out: the day ends ON
    EXPECT_EQ(sim.daySegments(1, 21, 6, 2030, 4), (Segments{{0, 46}, {1, 494}, {0, 540}, {1, 360}}));
}

// ----- the model stays as it was ---------------------------------------------------------------

void expectSameModel(const Model &a, const Model &b)
{
    for (int set : {SetProgram, SetTemplate}) {
        EXPECT_EQ(a.set(set).Records, b.set(set).Records);
        EXPECT_EQ(a.set(set).SzCount, b.set(set).SzCount);
        EXPECT_EQ(a.set(set).PzCount, b.set(set).PzCount);
        EXPECT_EQ(a.set(set).UsedCount, b.set(set).UsedCount);
    }
    EXPECT_EQ(a.Modified, b.Modified);
    EXPECT_EQ(a.SortColumnSz, b.SortColumnSz);
    EXPECT_EQ(a.SortColumnPz, b.SortColumnPz);
    EXPECT_EQ(a.astro.AstroTable, b.astro.AstroTable);
}

TEST(YearSimulation, LeavesFullProgramsUntouched)
{
    for (auto fill : {&test::fillFullAnnual, &test::fillFullAstro}) {
        Model m;
        fill(m);
        m.Modified = 0;
        m.SortColumnSz = 6;
        // the astro table with gaps in either column, as at high latitudes
        for (int i = 150; i < 200; ++i)
            m.astro.AstroTable[i][i % 2] = NoAstroTime;
        m.astro.AstroC1C2 = 1;
        const Model before = m;
        const YearSimulation sim(m);
        for (int year : {2030, 2031}) {
            const DayPlan plan = sim.dayPlan(year);
            for (int d = 1; d <= plan.days; d += 3)
                for (int c = 1; c <= sim.channels(); ++c) {
                    const Segments s = sim.daySegments(plan, c, d);
                    int total = 0;
                    for (const DaySegment &x : s) {
                        EXPECT_GE(x.minutes, 0);
                        EXPECT_TRUE(x.state >= 0 && x.state <= 3);
                        total += x.minutes;
                    }
                    EXPECT_EQ(total, 1440);
                }
        }
        expectSameModel(m, before);
    }
}

} // namespace
} // namespace zx
