#include "calendar/AstroSettings.h"

#include "calendar/Sun.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

TEST(AstroSettingsTest, PositionsAndValuesMapBothWays)
{
    Model model;
    model.astro.Longitude = -7.5f; // 7.5 degrees east
    model.astro.Latitude = 47.5f;
    model.astro.TimeZone = 60;
    model.astro.AstroOffset1 = -15;
    model.astro.AstroOffset2 = 120;
    const AstroPositions p = PositionsOf(model.astro);
    EXPECT_EQ(p, (AstroPositions{345, 45, 44, 135, 0}));
    EXPECT_EQ(LongitudeOfPosition(345), -7.5f);
    EXPECT_EQ(LatitudeOfPosition(45), 47.5f);
    EXPECT_EQ(ZoneOfPosition(44), 60.f);
    EXPECT_EQ(OffsetOfPosition(135), -15.f);
    // Ends of the bars.
    EXPECT_EQ(LongitudeOfPosition(0), -180.f);
    EXPECT_EQ(LatitudeOfPosition(LatitudeBarMax), -70.f);
    EXPECT_EQ(ZoneOfPosition(0), 720.f);
    EXPECT_EQ(OffsetOfPosition(OffsetBarMax), -120.f);
}

// Every end of every bar is a valid position, one step beyond is not.
TEST(AstroSettingsTest, PositionsAreValidUpToTheEndsOfTheBars)
{
    EXPECT_TRUE(PositionsValid(0, 0, 0));
    EXPECT_TRUE(PositionsValid(LongitudeBarMax, LatitudeBarMax, ZoneBarMax));
    const struct {
        int longitude, latitude, zone;
    } beyond[] = {{-1, 0, 0},
                  {0, -1, 0},
                  {0, 0, -1},
                  {LongitudeBarMax + 1, 0, 0},
                  {0, LatitudeBarMax + 1, 0},
                  {0, 0, ZoneBarMax + 1}};
    for (const auto &b : beyond)
        EXPECT_FALSE(PositionsValid(b.longitude, b.latitude, b.zone))
            << b.longitude << " " << b.latitude << " " << b.zone;
}

TEST(AstroSettingsTest, Labels)
{
    Catalogue c;
    c.fillBuiltin(English, 1);
    EXPECT_EQ(LongitudeLabel(c, 345), "7.5 degree east");
    EXPECT_EQ(LongitudeLabel(c, 360), "0 degree");
    EXPECT_EQ(LongitudeLabel(c, 376), "8 degree west");
    EXPECT_EQ(LatitudeLabel(c, 45), "47.5 degree north");
    EXPECT_EQ(LatitudeLabel(c, 281 - 1), "70 degree south");
    EXPECT_EQ(ZoneLabel(c, 44), "+1:00");
    EXPECT_EQ(ZoneLabel(c, 48), "0:00");
    EXPECT_EQ(ZoneLabel(c, 62), "-3:30");
    EXPECT_EQ(OffsetLabel(135), "-15 min");
}

TEST(AstroSettingsTest, ConfirmStoresBuildsAndMarksChanged)
{
    Model model;
    test::ScriptedPrompter prompter;
    FixedClock clock(QDateTime(QDate(2026, 3, 5), QTime(14, 7)));
    ConfirmAstroSettings(model, AstroPositions{345, 45, 44, 110, 130}, clock, prompter);
    EXPECT_EQ(model.astro.Longitude, -7.5f);
    EXPECT_EQ(model.astro.Latitude, 47.5f);
    EXPECT_EQ(model.astro.TimeZone, 60.f);
    EXPECT_EQ(model.astro.AstroOffset1, 10.f);
    EXPECT_EQ(model.astro.AstroOffset2, -10.f);
    EXPECT_EQ(model.astro.AstroPresent, -1);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(model.astro.AstroTable, BuildAstroTable(-7.5, 47.5, 60, 2026));
}

} // namespace
