#include "entry/AstroTimeChange.h"

#include "calendar/Changeover.h"
#include "model/Calendar.h"
#include "model/ChangeoverRules.h"
#include "model/Model.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

struct ApplyCase {
    ChangeOption option;
    int hours, minutes;
    int oldTime;
    int expected;      // -1: the day stays as it is
    bool back = false; // a shift back
};

class ApplyTimeChangeTest : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(ApplyTimeChangeTest, OneDay)
{
    const ApplyCase c = GetParam();
    const std::optional<int> next =
        ApplyTimeChange(c.oldTime, MakeTimeChange(c.option, c.hours, c.minutes, c.back));
    EXPECT_EQ(next.value_or(-1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyTimeChangeTest,
    ::testing::Values(ApplyCase{ChangeOption::ShiftBy, 1, 30, 1380, 30},       // 23:00 + 1:30 = 00:30
                      ApplyCase{ChangeOption::ShiftBy, 23, 59, 1, 0},          // wraps to midnight
                      ApplyCase{ChangeOption::ShiftBy, 1, 0, NoAstroTime, -1}, // no time is not shifted
                      ApplyCase{ChangeOption::ShiftBy, 0, 0, 500, -1},         // a zero shift changes nothing
                      ApplyCase{ChangeOption::ChangeTo, 6, 15, NoAstroTime, 375},
                      ApplyCase{ChangeOption::ChangeTo, 0, 0, 500, 0},
                      ApplyCase{ChangeOption::Delete, 6, 15, 500, NoAstroTime},
                      ApplyCase{ChangeOption::ShiftBy, 1, 30, 30, 1380, true},    // 00:30 - 1:30 = 23:00
                      ApplyCase{ChangeOption::ShiftBy, 23, 59, 1439, 0, true},    // back to midnight
                      ApplyCase{ChangeOption::ShiftBy, 0, 0, 500, -1, true},      // back by nothing
                      ApplyCase{ChangeOption::ChangeTo, 6, 15, 500, 375, true})); // only a shift goes back

TEST(AstroTimeChangeTest, ShiftsReachADayEitherWay)
{
    for (const int minutes : {-MaxShiftMinutes, -1, 1, MaxShiftMinutes})
        EXPECT_EQ(ShiftByMinutes(minutes).value_or(TimeChange{}).minutes, minutes) << minutes;
    EXPECT_EQ(MaxShiftMinutes, 23 * 60 + 59);
    EXPECT_FALSE(ShiftByMinutes(-MaxShiftMinutes - 1));
    EXPECT_FALSE(ShiftByMinutes(MaxShiftMinutes + 1));
}

TEST(AstroTimeChangeTest, AppliesToTheChosenDaysOfOneColumn)
{
    Model model;
    for (auto &day : model.astro.AstroTable)
        day = {1000, 400};
    model.astro.AstroTable[3][0] = NoAstroTime;
    std::vector<int> tenDays;
    for (int d = 0; d < 10; ++d)
        tenDays.push_back(d);

    EXPECT_EQ(ApplyTimeChangeToDays(model, 0, tenDays, MakeTimeChange(ChangeOption::ShiftBy, 0, 0)), 0);
    EXPECT_EQ(model.Modified, 0);
    EXPECT_EQ(ApplyTimeChangeToDays(model, 0, tenDays, MakeTimeChange(ChangeOption::ShiftBy, 0, 10)), 9);
    EXPECT_EQ(model.astro.AstroTable[3][0], NoAstroTime);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(ApplyTimeChangeToDays(model, 0, tenDays, MakeTimeChange(ChangeOption::ChangeTo, 6, 15)), 10);
    for (int d = 0; d < 10; ++d) {
        EXPECT_EQ(model.astro.AstroTable[d][0], 375) << d;
        EXPECT_EQ(model.astro.AstroTable[d][1], 400) << d; // the other column stays
    }
    EXPECT_EQ(model.astro.AstroTable[10][0], 1000);
    EXPECT_EQ(ApplyTimeChangeToDays(model, 1, {0, 365, 366, -1}, MakeTimeChange(ChangeOption::Delete, 0, 0)),
              2);
    EXPECT_EQ(model.astro.AstroTable[365][1], NoAstroTime);
    EXPECT_EQ(ApplyTimeChangeToDays(model, 2, {0}, MakeTimeChange(ChangeOption::Delete, 0, 0)), 0);
}

// The dialog works on the list's time: summer hour added on a summer day, stored as standard time.
TEST(AstroTimeChangeTest, ChangeToTakesTheTimeTheListShows)
{
    Model model;
    model.device.SwRegel = RuleEurope;
    const int june21 = DayOfYear(21, 6, 2026) - 1, january7 = DayOfYear(7, 1, 2026) - 1;
    EXPECT_EQ(AstroSummerMinutes(model, june21, 2026), 60);
    EXPECT_EQ(AstroSummerMinutes(model, january7, 2026), 0);
    // the astro list's 366th row in a common year, and no row at all, have no summer time
    EXPECT_EQ(AstroSummerMinutes(model, 365, 2026), 0);
    EXPECT_EQ(AstroSummerMinutes(model, -1, 2026), 0);
    // south of the equator summer time runs over the new year: the year's first day has it, the
    // day after its last does not exist
    model.device.SwRegel = RuleTable;
    for (int i = 0; i < 4; ++i)
        AppendChangeoverEntry(model.program(), {{4, 10, 2, 1}, {5, 4, 3, 1}}, 2025, OnceAYear);
    EXPECT_EQ(AstroSummerMinutes(model, 0, 2026), 60);
    EXPECT_EQ(AstroSummerMinutes(model, 364, 2026), 60);
    EXPECT_EQ(AstroSummerMinutes(model, 365, 2026), 0);
    model.device.SwRegel = RuleEurope;
    // times of the day move by the summer hour across midnight; what is no time of day stays
    const struct {
        int stored, shown;
    } times[] = {{375, 435},   {23 * 60 + 30, 30},         {0, 60},  {1439, 59},
                 {23 * 60, 0}, {NoAstroTime, NoAstroTime}, {-1, -1}, {1440, 1440}};
    for (const auto &t : times) {
        EXPECT_EQ(AstroShownTime(t.stored, 60), t.shown) << t.stored;
        EXPECT_EQ(AstroStoredTime(t.shown, 60), t.stored) << t.shown;
    }

    // "change to 07:15" over a winter and a summer day stores what shows as 07:15 on each
    EXPECT_EQ(ApplyShownTimeChangeToDays(model, 0, {january7, june21},
                                         MakeTimeChange(ChangeOption::ChangeTo, 7, 15), 2026),
              2);
    EXPECT_EQ(model.astro.AstroTable[january7][0], 435);
    EXPECT_EQ(model.astro.AstroTable[june21][0], 375);
    // a shift is the same in both
    EXPECT_EQ(
        ApplyShownTimeChangeToDays(model, 0, {june21}, MakeTimeChange(ChangeOption::ShiftBy, 0, 10), 2026),
        1);
    EXPECT_EQ(model.astro.AstroTable[june21][0], 385);
}

// The astro list shows number, channel and date before "switch off at:" and "switch on at:";
// only those two are columns of the table a time change reaches.
TEST(AstroTimeChangeTest, OnlyTheTwoTimeColumnsOfTheListAreTableColumns)
{
    const int expected[] = {-1, -1, -1, 0, 1, -1};
    for (int listColumn = 0; listColumn < 6; ++listColumn)
        EXPECT_EQ(AstroTableColumnOfListColumn(listColumn), expected[listColumn]) << listColumn;
}

} // namespace
