#include "entry/EntryStore.h"

#include "model/Model.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

using namespace zx;
using zx::test::ScriptedPrompter;

namespace {

SwitchingEntryValues WorkdaysAt(int hour, int minute, int channels = 1, int state = 1)
{
    SwitchingEntryValues e;
    e.hour = hour;
    e.minute = minute;
    e.kind = EntryKind::Weekly;
    e.weekdayMask = 31;
    e.channelMask = channels;
    e.state = state;
    return e;
}

class Store : public ::testing::Test {
  protected:
    Model model;
    ScriptedPrompter prompter;
    // a four-channel device: the entries use channels 1..4
    void SetUp() override { model.device.Kanalzahl = 4; }

    StoreResult enter(const SwitchingEntryValues &e)
    {
        return StoreSwitchingTime(model, prompter, e, EditEnter);
    }
    void fill(int count)
    {
        // Distinct weekly entries: one per minute, on Sunday, channel 2.
        for (int i = 0; i < count; ++i) {
            SwitchingEntryValues e = WorkdaysAt(i / 60, i % 60, 2);
            e.weekdayMask = 64;
            ASSERT_TRUE(model.appendRecord(SetProgram, EncodeSwitchingTime(e, 0)));
        }
        model.Modified = 0;
    }
};

} // namespace

TEST_F(Store, AppendsANewEntryAndCountsIt)
{
    model.program().PzCount = 0;
    const StoreResult r = enter(WorkdaysAt(6, 30));
    EXPECT_TRUE(r.stored());
    EXPECT_EQ(r.index, 0);
    EXPECT_FALSE(r.memoryFull);
    const ProgramRecord expected{152, 96, 0, 31, 1, 1};
    EXPECT_EQ(model.program().Records[0], expected);
    EXPECT_EQ(model.program().SzCount, 1);
    EXPECT_EQ(model.program().UsedCount, 1);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(Store, UsedCountIncludesPriorityTimes)
{
    model.appendRecord(SetProgram, ProgramRecord{100, 1, 0, 1, 1, 3});
    const StoreResult r = enter(WorkdaysAt(7, 0));
    EXPECT_EQ(r.index, 1);
    EXPECT_EQ(model.program().SzCount, 1);
    EXPECT_EQ(model.program().PzCount, 1);
    EXPECT_EQ(model.program().UsedCount, 2);
}

TEST_F(Store, RefusesAnEntryWithoutDaysOrChannels)
{
    SwitchingEntryValues e = WorkdaysAt(6, 30);
    e.weekdayMask = 0;
    EXPECT_EQ(enter(e).outcome, StoreOutcome::Incomplete);
    e.weekdayMask = 1;
    e.channelMask = 0;
    EXPECT_EQ(enter(e).outcome, StoreOutcome::NoChannel);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].message, "Date or days of the week not complete !");
    EXPECT_EQ(prompter.shown[1].message, "No channels selected !");
    EXPECT_EQ(prompter.shown[0].icon, Icon::Critical);
    EXPECT_EQ(model.program().UsedCount, 0);
    EXPECT_EQ(model.Modified, 0);
}

TEST_F(Store, TheSameEntryTwiceIsRefused)
{
    enter(WorkdaysAt(6, 30));
    model.Modified = 0;
    const StoreResult r = enter(WorkdaysAt(6, 30));
    EXPECT_EQ(r.outcome, StoreOutcome::Exists);
    EXPECT_EQ(prompter.last(), "This program already exists !");
    EXPECT_EQ(model.program().UsedCount, 1);
    EXPECT_EQ(model.Modified, 0);
}

TEST_F(Store, AnotherChannelMaskIsAnotherEntry)
{
    enter(WorkdaysAt(6, 30, 1));
    EXPECT_TRUE(enter(WorkdaysAt(6, 30, 3)).stored());
    EXPECT_EQ(model.program().UsedCount, 2);
}

TEST_F(Store, InvertedStateReplacedOnYes)
{
    enter(WorkdaysAt(6, 30, 1, 1));
    enter(WorkdaysAt(7, 0, 1, 1));
    model.Modified = 0;
    prompter.answers.push_back(Answer::Yes);
    const StoreResult r = enter(WorkdaysAt(7, 0, 1, 0));
    EXPECT_EQ(r.outcome, StoreOutcome::InvertedReplaced);
    EXPECT_EQ(r.index, 1);
    EXPECT_EQ(model.program().UsedCount, 2);
    EXPECT_EQ(model.program().Records[1].b5 & 1, 0);
    EXPECT_EQ(model.Modified, 1);
    ASSERT_TRUE(prompter.shown.back().question);
    EXPECT_EQ(prompter.shown.back().buttons, Buttons::YesNo);
    EXPECT_EQ(prompter.last(), "This program exist already with the inverted switching state ! Overwrite ");
}

TEST_F(Store, InvertedStateKeptOnNo)
{
    enter(WorkdaysAt(6, 30, 1, 1));
    model.Modified = 0;
    prompter.answers.push_back(Answer::No);
    EXPECT_EQ(enter(WorkdaysAt(6, 30, 1, 0)).outcome, StoreOutcome::InvertedKept);
    EXPECT_EQ(model.program().Records[0].b5 & 1, 1);
    EXPECT_EQ(model.program().UsedCount, 1);
    EXPECT_EQ(model.Modified, 0);
}

TEST_F(Store, SecondPulseAsksAndReplacesOnYes)
{
    SwitchingEntryValues pulse = WorkdaysAt(6, 30);
    pulse.pulse = 5;
    enter(pulse);
    pulse.pulse = 12;
    prompter.answers.push_back(Answer::No);
    EXPECT_EQ(enter(pulse).outcome, StoreOutcome::PulseKept);
    EXPECT_EQ(PulseLength(model.program().Records[0]), 5);
    prompter.answers.push_back(Answer::Yes);
    EXPECT_EQ(enter(pulse).outcome, StoreOutcome::PulseReplaced);
    EXPECT_EQ(PulseLength(model.program().Records[0]), 12);
    EXPECT_EQ(prompter.last(), "There is already a puls! Overwrite?");
    EXPECT_EQ(model.program().UsedCount, 1);
}

TEST_F(Store, PulseAndSwitchedOutputAtTheSameTimeAreBothKept)
{
    SwitchingEntryValues pulse = WorkdaysAt(6, 30);
    pulse.pulse = 5;
    enter(pulse);
    EXPECT_TRUE(enter(WorkdaysAt(6, 30)).stored());
    EXPECT_EQ(model.program().UsedCount, 2);
}

TEST_F(Store, ChangeWritesBackInPlaceAndDoesNotConflictWithItself)
{
    enter(WorkdaysAt(6, 30));
    enter(WorkdaysAt(7, 0));
    model.Modified = 0;
    const StoreResult same = StoreSwitchingTime(model, prompter, WorkdaysAt(6, 30), EditChange, 0);
    EXPECT_TRUE(same.stored());
    EXPECT_EQ(same.index, 0);
    EXPECT_EQ(model.Modified, 1);

    const StoreResult moved = StoreSwitchingTime(model, prompter, WorkdaysAt(6, 45), EditChange, 0);
    EXPECT_TRUE(moved.stored());
    EXPECT_EQ(MinuteOfDay(model.program().Records[0]), 6 * 60 + 45);
    EXPECT_EQ(model.program().UsedCount, 2);
    EXPECT_EQ(model.program().SzCount, 2);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(Store, ChangeOntoAnotherEntryIsRefused)
{
    enter(WorkdaysAt(6, 30));
    enter(WorkdaysAt(7, 0));
    const StoreResult r = StoreSwitchingTime(model, prompter, WorkdaysAt(7, 0), EditChange, 0);
    EXPECT_EQ(r.outcome, StoreOutcome::Exists);
    EXPECT_EQ(MinuteOfDay(model.program().Records[0]), 390);
}

TEST_F(Store, CopyAppendsLikeEnter)
{
    enter(WorkdaysAt(6, 30));
    const StoreResult r = StoreSwitchingTime(model, prompter, WorkdaysAt(8, 0), EditCopy, 0);
    EXPECT_TRUE(r.stored());
    EXPECT_EQ(r.index, 1);
    EXPECT_EQ(model.program().UsedCount, 2);
}

class StoreAtCapacity : public Store, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(StoreAtCapacity, LastFreeSlotFillsTheMemoryThenRefuses)
{
    const auto [type, capacity] = GetParam();
    model.device.Uhrentyp = type;
    model.device.RecordCapacity = capacity;
    EXPECT_EQ(RecordCapacityOf(model), capacity);
    fill(capacity - 1);
    EXPECT_FALSE(MemoryFull(model));

    const StoreResult last = enter(WorkdaysAt(6, 30));
    EXPECT_TRUE(last.stored());
    EXPECT_TRUE(last.memoryFull);
    EXPECT_EQ(last.index, capacity - 1);
    EXPECT_EQ(model.program().UsedCount, capacity);
    EXPECT_EQ(prompter.last(), "No more memory space!");
    EXPECT_TRUE(MemoryFull(model));

    const StoreResult refused = StoreSwitchingTime(model, prompter, WorkdaysAt(9, 30), EditCopy, 0);
    EXPECT_EQ(refused.outcome, StoreOutcome::MemoryFull);
    EXPECT_EQ(model.program().UsedCount, capacity);

    // A full memory still lets an entry be changed in place.
    EXPECT_TRUE(StoreSwitchingTime(model, prompter, WorkdaysAt(9, 30), EditChange, capacity - 1).stored());
}

INSTANTIATE_TEST_SUITE_P(Devices, StoreAtCapacity,
                         ::testing::Values(std::pair{TypeAnnual, CapacityAnnual},
                                           std::pair{TypeAstro, CapacityAstro}));
