#include "calendar/Sun.h"

#include "model/Model.h"
#include "platform/Clock.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

struct SunCase {
    int day, month;
    double latitude;
    int riseHour, riseMinute, setHour, setMinute;
};

class SunCrossingTest : public ::testing::TestWithParam<SunCase> {};

TEST_P(SunCrossingTest, RiseAndSetToTheMinute)
{
    const SunCase c = GetParam();
    const SunCrossing rise = Sunrise(c.day, c.month, c.latitude);
    const SunCrossing set = Sunset(c.day, c.month, c.latitude);
    ASSERT_TRUE(rise.found);
    ASSERT_TRUE(set.found);
    EXPECT_EQ(rise.hour * 100 + rise.minute, c.riseHour * 100 + c.riseMinute);
    EXPECT_EQ(set.hour * 100 + set.minute, c.setHour * 100 + c.setMinute);
    EXPECT_DOUBLE_EQ(SunriseHours(c.day, c.month, c.latitude), c.riseHour + c.riseMinute / 60.0);
    EXPECT_DOUBLE_EQ(SunsetHours(c.day, c.month, c.latitude), c.setHour + c.setMinute / 60.0);
}

INSTANTIATE_TEST_SUITE_P(KnownDays, SunCrossingTest,
                         ::testing::Values(SunCase{21, 3, 0, 6, 4, 18, 11}, SunCase{1, 1, 48, 7, 50, 16, 17},
                                           SunCase{21, 6, 48, 4, 0, 20, 3},
                                           // Near the southern polar circle the sun rises in the
                                           // first hour of the search.
                                           SunCase{19, 12, -65, 0, 57, 22, 57}));

TEST(SunTest, PolarDayHasNoCrossingAndNoTableTime)
{
    EXPECT_FALSE(Sunrise(21, 6, 70).found);
    EXPECT_FALSE(Sunset(21, 6, 70).found);
    EXPECT_EQ(SunriseHours(21, 6, 70), 0);
    EXPECT_EQ(SunsetHours(21, 6, 70), 0);
    EXPECT_FALSE(Sunrise(21, 12, -70).found);
    // The table keeps "no time" rather than zone + longitude (01:00 at zone +60).
    const AstroTableRows t = BuildAstroTable(0, 70, 60, 2026);
    EXPECT_EQ(t[171][0], NoAstroTime);
    EXPECT_EQ(t[171][1], NoAstroTime);
    // Polar night in December too, ordinary days in March.
    EXPECT_EQ(t[354][1], NoAstroTime);
    EXPECT_NE(t[79][1], NoAstroTime);
}

TEST(SunTest, TableAppliesLongitudeZoneAndLimits)
{
    const AstroTableRows greenwich = BuildAstroTable(0, 48, 0, 2026);
    EXPECT_EQ(greenwich[0][0], 16 * 60 + 17); // column 0 sunset
    EXPECT_EQ(greenwich[0][1], 7 * 60 + 50);  // column 1 sunrise
    // 7.5 degrees east is stored as -7.5: both events 30 minutes earlier.
    const AstroTableRows east = BuildAstroTable(-7.5f, 48, 0, 2026);
    for (int day : {0, 100, 200, 365}) {
        EXPECT_EQ(east[day][0], greenwich[day][0] - 30) << day;
        EXPECT_EQ(east[day][1], greenwich[day][1] - 30) << day;
    }
    // A sunset that zone and longitude carry past 23:59 has no time in the table.
    const AstroTableRows late = BuildAstroTable(0, 48, 240, 2026);
    EXPECT_EQ(late[171][0], NoAstroTime);
    EXPECT_EQ(late[171][1], 240 + 240);
    // The day's minutes run from 00:00 to 23:59 at both ends: a shift that lands on them keeps the
    // time, one minute beyond them drops it.
    const int sunset = greenwich[0][0];
    const std::pair<int, int> edges[] = {
        {1439 - sunset, 1439}, {1440 - sunset, NoAstroTime}, {-sunset, 0}, {-sunset - 1, NoAstroTime}};
    for (const auto &[zone, stored] : edges)
        EXPECT_EQ(BuildAstroTable(0, 48, zone, 2026)[0][0], stored) << zone;
}

TEST(SunTest, DaysFollowTheCalendarOfTheYear)
{
    const AstroTableRows common = BuildAstroTable(0, 48, 0, 2026);
    const AstroTableRows leap = BuildAstroTable(0, 48, 0, 2028);
    // Day 60 is 1 March in a common year and 29 February in a leap year.
    EXPECT_EQ(common[59][1], Sunrise(1, 3, 48).minutes());
    EXPECT_EQ(leap[59][1], Sunrise(29, 2, 48).minutes());
    EXPECT_EQ(leap[60], common[59]);
    // Day 366 of a common year is 1 January of the next.
    EXPECT_EQ(common[365], common[0]);
    EXPECT_EQ(leap[365][1], Sunrise(31, 12, 48).minutes());
}

TEST(SunTest, ModelTableIsBuiltForTheClocksYear)
{
    Model model;
    test::ScriptedPrompter prompter;
    model.astro.Latitude = 48;
    model.astro.TimeZone = 0;
    FixedClock clock(QDateTime(QDate(2028, 6, 1), QTime(10, 0)));
    BuildAstroTable(model, clock, prompter);
    EXPECT_EQ(model.astro.AstroPresent, -1);
    EXPECT_EQ(model.astro.AstroTable, BuildAstroTable(0, 48, 0, 2028));
    EXPECT_EQ(prompter.busyCount, 1);
    EXPECT_EQ(prompter.busyDepth, 0);
}

} // namespace
