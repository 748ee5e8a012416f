#include "model/Model.h"

#include <gtest/gtest.h>

using namespace zx;

TEST(BitHelpers, BitFieldSwapAndBcd)
{
    EXPECT_EQ(BitField(0xB4, 4, 7), 0xB);
    EXPECT_EQ(BitField(0xB4, 2, 7), 45);
    EXPECT_EQ(BitField(0xFF, 0, 0), 1);
    EXPECT_EQ(SwapNibbles(0x12), 0x21);
    EXPECT_EQ(SwapNibbles(7), 112);
    EXPECT_EQ(BcdToNumber(0x59), 59);
    EXPECT_EQ(BcdToNumber(0x5A), 255);
    EXPECT_EQ(BcdToNumber(0xA0), 255);
}

TEST(RecordKind, FollowsTopBitsOfB0AndBusFlag)
{
    struct Case {
        int b0;
        int bus;
        int kind;
    };
    const Case cases[] = {
        {0, 0, Kind::DatedConventional},
        {89, 0, Kind::DatedConventional},
        {96, 0, Kind::PriorityConventional},
        {127, 0, Kind::PriorityConventional},
        {128, 0, Kind::WeeklyConventional},
        {217, 0, Kind::WeeklyConventional},
        {224, 0, Kind::NotUserRecord},
        {224, 1, Kind::NotUserRecord},
        {10, 1, Kind::DatedBus},
        {100, 1, Kind::PriorityBus},
        {200, 1, Kind::WeeklyBus},
    };
    for (const auto &c : cases) {
        ProgramRecord r;
        r.b0 = static_cast<std::uint8_t>(c.b0);
        EXPECT_EQ(RecordKind(r, c.bus), c.kind) << "b0=" << c.b0 << " bus=" << c.bus;
    }
}

TEST(RecordKind, AstroBitOnlyOnConventionalSwitchingTimes)
{
    ProgramRecord r{128, 0, 0, 1, 0x11, 1};
    EXPECT_EQ(IsAstroTime(r, 0), 1);
    EXPECT_EQ(IsAstroTime(r, 1), 0);
    r.b0 = 100;
    EXPECT_EQ(IsAstroTime(r, 0), 0);
}

TEST(PriorityDecoding, DateFormAndEasterOffset)
{
    ProgramRecord r{96, 0, 0, 0, 0, 0};
    EXPECT_EQ(PriorityDateForm(r), 2);
    r.b0 = 97;
    EXPECT_EQ(PriorityDateForm(r), 0);
    r.b3 = 0x40;
    EXPECT_EQ(PriorityDateForm(r), 1);
    r.b5 = 0x02;
    EXPECT_EQ(PriorityDateForm(r), 3);
    r.b5 = 0;
    r.b4 = 0x10;
    EXPECT_EQ(PriorityDateForm(r), 3);

    ProgramRecord e{97, 0x50, 0, 0, 0, 0x20};
    EXPECT_EQ(EasterOffset(e), 5 * 16 + 2 - 82); // 0
    e.b1 = 0;
    e.b5 = 0;
    EXPECT_EQ(EasterOffset(e), -82);
}

TEST(Calendar, EveryFourthYearIsLeapWithoutCenturyRule)
{
    EXPECT_EQ(DaysInYear(2100), 366);
    EXPECT_EQ(DaysInYear(2023), 365);
    EXPECT_EQ(DaysInMonth(2, 1900), 29);
    EXPECT_EQ(DaysInMonth(2, 2023), 28);
    EXPECT_EQ(DaysInMonth(4, 2023), 30);
    EXPECT_EQ(DaysThroughMonth(1, 2023), 31);
    EXPECT_EQ(DaysThroughMonth(2, 2024), 60);
    EXPECT_EQ(DaysThroughMonth(12, 2024), 366);
    EXPECT_EQ(MonthOfDay(31, 2023), 1);
    EXPECT_EQ(MonthOfDay(32, 2023), 2);
    EXPECT_EQ(MonthOfDay(60, 2024), 2);
    EXPECT_EQ(MonthOfDay(60, 2023), 3);
    EXPECT_EQ(MonthOfDay(366, 2024), 12);
}

TEST(ModelCounters, AppendRemoveAndCapacity)
{
    Model m;
    m.device.RecordCapacity = 2;
    EXPECT_TRUE(m.appendRecord(SetProgram, ProgramRecord{128, 0, 0, 1, 1, 1}));
    EXPECT_TRUE(m.appendRecord(SetProgram, ProgramRecord{100, 0, 0, 0, 1, 0}));
    EXPECT_FALSE(m.appendRecord(SetProgram, ProgramRecord{0, 1, 0, 1, 1, 1}));
    EXPECT_EQ(m.program().SzCount, 1);
    EXPECT_EQ(m.program().PzCount, 1);
    EXPECT_EQ(m.program().UsedCount, 2);
    EXPECT_EQ(m.Modified, 1);
    m.removeRecords(SetProgram, {0});
    EXPECT_EQ(m.program().UsedCount, 1);
    EXPECT_EQ(m.program().PzCount, 1);
    EXPECT_EQ(m.program().Records[0].b0, 100);
}

TEST(ModelCounters, HasSpecialPriorityLooksAtRecordsInUseOnly)
{
    Model m;
    m.program().Records[0] = ProgramRecord{96, 0, 0, 0, 0, 0};
    EXPECT_FALSE(m.HasSpecialPriority());
    m.program().UsedCount = 1;
    EXPECT_TRUE(m.HasSpecialPriority());
}
