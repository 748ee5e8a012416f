#include "entry/HolidayPriority.h"
#include "calendar/Holidays.h"

#include "entry/EntryDeviceRules.h"
#include "entry/EntryStore.h"
#include "model/Calendar.h"
#include "model/Model.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

PriorityEntryValues Base()
{
    PriorityEntryValues e;
    e.priority = 1;
    e.channelMask = 1;
    return e;
}

} // namespace

TEST(HolidayPriority, FreeHolidayOverYearsLeavesOutAPastDate)
{
    // on the day itself it is not past yet
    const Holiday prayer{QStringLiteral("Repentance"), HolidayFree, -3, 23, 11};
    const auto fromToday = HolidayPriorityTimes(prayer, Base(), 1, {18, 11, 2026}, 1);
    ASSERT_EQ(fromToday.size(), 1u);
    EXPECT_EQ(fromToday[0].fromDay, 18);

    // Wednesday before 23 November: already past on 1 December 2026
    const Holiday free{QStringLiteral("Repentance"), HolidayFree, -3, 23, 11};
    const auto times = HolidayPriorityTimes(free, Base(), 1, {1, 12, 2026}, 4);
    ASSERT_EQ(times.size(), 3u);
    for (std::size_t i = 0; i < times.size(); ++i) {
        const auto date = HolidayDate(free, 2027 + static_cast<int>(i));
        ASSERT_TRUE(date);
        EXPECT_EQ(times[i].fromDay, date->day);
        EXPECT_EQ(times[i].toMonth, date->month);
        EXPECT_EQ(times[i].yearCode, date->year - 1936);
        EXPECT_EQ(times[i].once, 1);
    }
}

TEST(HolidayPriority, EasterHolidayIsTheDeviceFormOrTheNextDate)
{
    const Holiday monday{QStringLiteral("Easter Monday"), HolidayEaster, 0, 1, 0};
    const auto resolved = HolidayPriorityTimes(monday, Base(), 1, {7, 12, 2026}, 2);
    ASSERT_EQ(resolved.size(), 1u);
    EXPECT_TRUE(resolved[0].easter);
    EXPECT_EQ(resolved[0].easterCode, 83);

    // without variable holidays: the next Easter Monday not before today, once, no year
    const auto dated = HolidayPriorityTimes(monday, Base(), 0, {7, 12, 2026}, 2);
    ASSERT_EQ(dated.size(), 1u);
    EXPECT_FALSE(dated[0].easter);
    EXPECT_EQ(DayOfYear(dated[0].fromDay, dated[0].fromMonth, 2027), EasterSunday(2027) + 1);
    EXPECT_EQ(dated[0].once, 1);
    EXPECT_EQ(dated[0].yearCode, 0);
    // on Easter Monday itself that day is taken, not next year's
    const DayMonth easterMonday = DateOfDay(EasterSunday(2027) + 1, 2027);
    const auto onTheDay =
        HolidayPriorityTimes(monday, Base(), 0, {easterMonday.day, easterMonday.month, 2027}, 2);
    ASSERT_EQ(onTheDay.size(), 1u);
    EXPECT_EQ(onTheDay[0].fromDay, easterMonday.day);
    EXPECT_EQ(onTheDay[0].fromMonth, easterMonday.month);
    // up to the calendar's last year
    EXPECT_EQ(HolidayPriorityTimes(monday, Base(), 0, {1, 1, CalendarLastYear}, 2).size(), 1u);
    EXPECT_TRUE(HolidayPriorityTimes(monday, Base(), 0, {1, 12, CalendarLastYear}, 2).empty());

    const Holiday christmas{QStringLiteral("Christmas"), HolidayFixed, 0, 25, 12};
    const auto fixed = HolidayPriorityTimes(christmas, Base(), 1, {7, 12, 2026}, 2);
    ASSERT_EQ(fixed.size(), 1u);
    EXPECT_EQ(fixed[0].fromDay, 25);
    EXPECT_EQ(fixed[0].once, 0);
}

// ----- storing the records of one holiday -----------------------------------------------------

namespace {

class HolidayStore : public ::testing::Test {
  protected:
    Model model;
    test::ScriptedPrompter prompter;
    // The Wednesday before 23 November over three years, as a free holiday gives it.
    std::vector<PriorityEntryValues> threeYears() const
    {
        const Holiday free{QStringLiteral("Day of prayer"), HolidayFree, -3, 23, 11};
        return HolidayPriorityTimes(free, Base(), 1, {1, 1, 2026}, 3);
    }
};

} // namespace

TEST_F(HolidayStore, ChangeReplacesTheEditedRecordAndAddsTheOtherYears)
{
    model.device.Bewft = 1;
    PriorityEntryValues old = Base();
    old.fromDay = old.toDay = 2;
    model.appendRecord(SetProgram, EncodePriorityTime(old, 0));
    const auto entries = threeYears();
    ASSERT_EQ(entries.size(), 3u);
    const StoreResult r = StoreHolidayPriorityTimes(model, prompter, entries, EditChange, 0);
    EXPECT_TRUE(r.stored());
    ASSERT_EQ(model.program().UsedCount, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(model.program().Records[i], EncodePriorityTime(entries[i], 0)) << i;
}

TEST_F(HolidayStore, TheYearsFillTheLastFreeSlots)
{
    model.device.Bewft = 1;
    model.device.RecordCapacity = 3;
    const StoreResult r = StoreHolidayPriorityTimes(model, prompter, threeYears(), EditEnter);
    EXPECT_TRUE(r.stored());
    EXPECT_TRUE(r.memoryFull);
    EXPECT_EQ(model.program().UsedCount, 3);

    // a change of one year's record adds nothing, even where a smaller device left the memory
    // over-full
    model.device.RecordCapacity = 2;
    PriorityEntryValues moved = threeYears()[0];
    moved.fromDay = moved.toDay = 20;
    EXPECT_TRUE(StoreHolidayPriorityTimes(model, prompter, {moved}, EditChange, 0).stored());
    EXPECT_EQ(model.program().Records[0], EncodePriorityTime(moved, 0));
    EXPECT_EQ(model.program().UsedCount, 3);
}

TEST_F(HolidayStore, RefusedBeforeAnythingIsStored)
{
    model.device.Bewft = 1;
    model.device.RecordCapacity = 2; // room for two of the three
    EXPECT_EQ(StoreHolidayPriorityTimes(model, prompter, threeYears(), EditEnter).outcome,
              StoreOutcome::MemoryFull);
    EXPECT_EQ(prompter.last(), model.catalogue(Msg::NoMoreMemorySpace));

    // a bus record has no year: the three would all act in the same year
    model.device.RecordCapacity = CapacityAnnual;
    model.device.BusDevice = 1;
    std::vector<PriorityEntryValues> bus = threeYears();
    for (PriorityEntryValues &e : bus)
        e.busChannel = 1;
    EXPECT_EQ(StoreHolidayPriorityTimes(model, prompter, bus, EditEnter).outcome,
              StoreOutcome::DeviceRefused);
    EXPECT_EQ(prompter.last(), DeviceRuleMessage(model, DeviceRule::BusFreeHolidayYears));
    EXPECT_EQ(StoreHolidayPriorityTimes(model, prompter, {}, EditEnter).outcome,
              StoreOutcome::NothingToStore);
    EXPECT_EQ(model.program().UsedCount, 0);
    EXPECT_EQ(model.Modified, 0);
}

// Entering needs room for every year, whichever record was open; a year refused stores none
// after it.
TEST_F(HolidayStore, EnteringNeedsRoomForEveryYearAndStopsAtARefusal)
{
    model.device.Bewft = 1;
    const std::vector<PriorityEntryValues> years = threeYears();
    model.appendRecord(SetProgram, EncodePriorityTime(years[0], 0));
    model.device.RecordCapacity = 3;
    EXPECT_EQ(StoreHolidayPriorityTimes(model, prompter, years, EditEnter, 0).outcome,
              StoreOutcome::MemoryFull);
    EXPECT_EQ(model.program().UsedCount, 1);
    model.device.RecordCapacity = CapacityAnnual;
    EXPECT_FALSE(StoreHolidayPriorityTimes(model, prompter, years, EditEnter).stored());
    EXPECT_EQ(model.program().UsedCount, 1);
}

// A priority time keeps seven bits of year code (year - 1936): 2063 is the last year it can name.
TEST(HolidayPriority, YearsBeyondTheSevenBitYearCodeAreLeftOut)
{
    const Holiday free{QStringLiteral("Repentance"), HolidayFree, -3, 23, 11};
    const auto times = HolidayPriorityTimes(free, Base(), 1, {1, 1, 2062}, 4);
    ASSERT_EQ(times.size(), 2u);
    EXPECT_EQ(times[0].yearCode, 126);
    EXPECT_EQ(times[1].yearCode, 127);
    // Code 0 means "every year": 1936 cannot be named, 1937 is the first year that can.
    const auto early = HolidayPriorityTimes(free, Base(), 1, {1, 1, 1936}, 3);
    ASSERT_EQ(early.size(), 2u);
    EXPECT_EQ(early[0].yearCode, 1);
    EXPECT_EQ(early[1].yearCode, 2);
}
