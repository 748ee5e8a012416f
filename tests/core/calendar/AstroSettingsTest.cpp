#include "calendar/AstroSettings.h"

#include "calendar/Sun.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <optional>

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

// A table built in a leap year is no change; a time changed by hand is, and the answer decides
// whether the new settings compute the table again.
struct RecomputeCase {
    const char *name;
    bool handChanged;
    std::optional<Answer> answer; // none: no question is asked
    bool recomputed;
    bool stored; // the new settings reach the model
};

class AstroRecompute : public ::testing::TestWithParam<RecomputeCase> {};

TEST_P(AstroRecompute, AsksBeforeLosingHandChanges)
{
    const RecomputeCase &c = GetParam();
    Model model;
    test::ScriptedPrompter prompter;
    ConfirmAstroSettings(model, AstroPositions{345, 45, 44, 120, 120},
                         FixedClock(QDateTime(QDate(2024, 6, 1), QTime(9, 0))), prompter);
    if (c.handChanged)
        model.astro.AstroTable[40][1] = 7 * 60 + 3;
    const auto before = model.astro.AstroTable;
    model.Modified = 0;
    if (c.answer)
        prompter.answers.push_back(*c.answer);
    const FixedClock clock(QDateTime(QDate(2026, 3, 5), QTime(14, 7)));
    EXPECT_EQ(AstroTableHoldsChanges(model, 2026), c.handChanged);
    EXPECT_EQ(ConfirmAstroSettings(model, AstroPositions{300, 45, 44, 110, 120}, clock, prompter), c.stored);
    EXPECT_EQ(prompter.shown.size(), c.answer ? 1u : 0u);
    EXPECT_EQ(prompter.unscripted, 0);
    EXPECT_EQ(model.astro.AstroTable == BuildAstroTable(-30, 47.5, 60, 2026), c.recomputed);
    EXPECT_EQ(model.astro.AstroTable == before, !c.recomputed);
    EXPECT_EQ(model.astro.Longitude, c.stored ? -30.f : -7.5f);
    EXPECT_EQ(model.Modified, c.stored ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Answers, AstroRecompute,
                         ::testing::Values(RecomputeCase{"Untouched", false, std::nullopt, true, true},
                                           RecomputeCase{"Yes", true, Answer::Yes, true, true},
                                           RecomputeCase{"No", true, Answer::No, false, true},
                                           RecomputeCase{"Cancel", true, Answer::Cancel, false, false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(AstroSettingsTest, NoTableHoldsNoChanges)
{
    Model model;
    model.astro.AstroTable[0][0] = 5;
    EXPECT_FALSE(AstroTableHoldsChanges(model, 2026));
}

} // namespace
