#include "entry/PriorityEntry.h"
#include "entry/EntryAutomation.h"
#include "entry/EntryStore.h"

#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "support/SamplePrograms.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

using namespace zx;
using zx::test::ScriptedPrompter;

namespace {

PriorityEntryValues Range(int fromDay, int fromMonth, int toDay, int toMonth, int priority, int channels)
{
    PriorityEntryValues e;
    e.fromDay = fromDay;
    e.fromMonth = fromMonth;
    e.toDay = toDay;
    e.toMonth = toMonth;
    e.priority = priority;
    e.channelMask = channels;
    return e;
}

PriorityEntryValues Easter(int offset, int priority, int channels)
{
    PriorityEntryValues e;
    e.easter = true;
    e.easterCode = EasterCodeBase + offset;
    e.priority = priority;
    e.channelMask = channels;
    return e;
}

struct EncodeCase {
    const char *name;
    int bus;
    PriorityEntryValues entry;
    std::array<int, 6> bytes;
};

PriorityEntryValues With(PriorityEntryValues e, void (*change)(PriorityEntryValues &))
{
    change(e);
    return e;
}

const EncodeCase encodeCases[] = {
    {"ChristmasToEpiphany", 0, Range(24, 12, 6, 1, 3, 1), {121, 131, 0, 6, 1, 16}},
    {"Year2000ForcesOnce",
     0,
     With(Range(24, 12, 6, 1, 3, 1), [](auto &e) { e.yearCode = 64; }),
     {121, 131, 0, 70, 1, 24}},
    {"PermanentOnMayDay",
     0,
     With(Range(1, 5, 1, 5, 10, 3), [](auto &e) { e.state = 1; }),
     {106, 26, 0, 1, 3, 81}},
    {"EasterMonday", 0, Easter(1, 1, 1), {96, 81, 0, 0, 1, 48}},
    // only "permanent" carries a state
    {"PriorityDropsState",
     0,
     With(Range(1, 5, 1, 5, 2, 1), [](auto &e) { e.state = 1; }),
     {106, 18, 0, 1, 1, 80}},
    {"BusPermanentIsCode8",
     1,
     With(Range(1, 5, 2, 5, 8, 0), [](auto &e) { e.busChannel = 8, e.value = 200; }),
     {106, 24, 0, 2, 200, 87}},
    {"BusEasterChannelAndValue",
     1,
     With(Easter(-2, 8, 0), [](auto &e) { e.busChannel = 3, e.value = 15; }),
     {96, 88, 0, 0, 3, 15}},
};

class Encode : public ::testing::TestWithParam<EncodeCase> {};

} // namespace

TEST_P(Encode, LaysOutTheRecordAndReadsItBack)
{
    const EncodeCase &c = GetParam();
    ASSERT_EQ(CheckPriorityEntry(c.entry, c.bus), PriorityCheck::Ok);
    const ProgramRecord r = EncodePriorityTime(c.entry, c.bus);
    EXPECT_EQ((std::array<int, 6>{r.b0, r.b1, r.b2, r.b3, r.b4, r.b5}), c.bytes);
    EXPECT_TRUE(IsPriorityTime(r, c.bus));
    EXPECT_EQ(DecodePriorityTime(r, c.bus), NormalisedPriorityEntry(c.entry, c.bus));
    EXPECT_EQ(EncodePriorityTime(DecodePriorityTime(r, c.bus), c.bus), r);
}

INSTANTIATE_TEST_SUITE_P(PriorityEntry, Encode, ::testing::ValuesIn(encodeCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PriorityEntry, AgreesWithTheHandLaidSamples)
{
    PriorityEntryValues e = Range(31, 1, 30, 11, 4, 5);
    e.yearCode = YearCodeOf(2030);
    EXPECT_EQ(EncodePriorityTime(e, 0), test::priorityTime(31, 1, 30, 11, 4, 5, 0, 1, 94));
    EXPECT_EQ(EncodePriorityTime(Easter(39, 2, 2), 0), test::easterPriority(39, 2, 2));
}

// The copy and change questions of the priority dialog ask about these records only.
TEST(PriorityEntry, SwitchingTimesAreNoPriorityTimes)
{
    for (const int bus : {0, 1}) {
        EXPECT_FALSE(IsPriorityTime(test::weeklyTime(6, 0, 127, 1), bus)) << bus;
        EXPECT_FALSE(IsPriorityTime(test::datedTime(6, 0, 1, 5, 1), bus)) << bus;
    }
}

TEST(PriorityEntry, RefusesWhatTheDeviceCannotHold)
{
    EXPECT_EQ(CheckPriorityEntry(Range(24, 12, 6, 1, 3, 0), 0), PriorityCheck::NoChannel);
    EXPECT_EQ(CheckPriorityEntry(Range(30, 2, 6, 3, 3, 1), 0), PriorityCheck::DateIncomplete);
    EXPECT_EQ(CheckPriorityEntry(Range(29, 2, 31, 4, 3, 1), 0), PriorityCheck::DateIncomplete);
    EXPECT_EQ(CheckPriorityEntry(Range(29, 2, 30, 4, 11, 1), 0), PriorityCheck::BadPriority);
    PriorityEntryValues bus = Easter(1, 8, 0);
    bus.busChannel = 1;
    bus.value = 16; // would spill into the Easter day code
    EXPECT_EQ(CheckPriorityEntry(bus, 1), PriorityCheck::BusEasterValue);
    bus.priority = 3; // not permanent: the value is dropped and nothing spills
    EXPECT_EQ(CheckPriorityEntry(bus, 1), PriorityCheck::Ok);
}

namespace {

class PriorityStore : public ::testing::Test {
  protected:
    Model model;
    ScriptedPrompter prompter;
    // a four-channel device: the entries use channels 1..4
    void SetUp() override { model.device.Kanalzahl = 4; }
    StoreResult enter(const PriorityEntryValues &e)
    {
        return StorePriorityTime(model, prompter, e, EditEnter);
    }
};

} // namespace

TEST_F(PriorityStore, CountsAPriorityTimeAndScansForConflicts)
{
    PriorityEntryValues on = Range(1, 5, 1, 5, 10, 3);
    on.state = 1;
    ASSERT_TRUE(enter(on).stored());
    EXPECT_EQ(model.program().PzCount, 1);
    EXPECT_EQ(model.program().UsedCount, 1);

    PriorityEntryValues otherMonth = on;
    otherMonth.toMonth = 6;
    EXPECT_TRUE(enter(otherMonth).stored());

    EXPECT_EQ(enter(on).outcome, StoreOutcome::Exists);
    EXPECT_EQ(prompter.last(), model.catalogue(Msg::PriorityExistsAlready));

    PriorityEntryValues off = on;
    off.state = 0;
    model.Modified = 0;
    prompter.answers = {Answer::No};
    EXPECT_EQ(enter(off).outcome, StoreOutcome::InvertedKept);
    EXPECT_EQ(model.Modified, 0);
    prompter.answers = {Answer::Yes};
    const StoreResult replaced = enter(off);
    EXPECT_EQ(replaced.outcome, StoreOutcome::InvertedReplaced);
    EXPECT_EQ(prompter.shown.back().message, model.catalogue(Msg::PriorityInvertedOverwrite));
    EXPECT_EQ(model.program().Records[replaced.index], EncodePriorityTime(off, 0));
    EXPECT_EQ(model.program().PzCount, 2);
    EXPECT_EQ(model.Modified, 1);
}

TEST_F(PriorityStore, BusEntriesForOtherChannelsOrMonthsAreIndependent)
{
    model.device.BusDevice = 1;
    model.device.Kanalzahl = 8;
    PriorityEntryValues e = Range(1, 5, 2, 5, 8, 0);
    e.busChannel = 1;
    e.value = 10;
    ASSERT_TRUE(enter(e).stored());
    PriorityEntryValues channel5 = e;
    channel5.busChannel = 5; // differs from channel 1 only in bit 2 of the channel
    EXPECT_TRUE(enter(channel5).stored());
    PriorityEntryValues otherValue = e;
    otherValue.value = 11;
    prompter.answers = {Answer::No};
    EXPECT_EQ(enter(otherValue).outcome, StoreOutcome::InvertedKept);

    PriorityEntryValues easter = Easter(1, 8, 0);
    easter.busChannel = 2;
    easter.value = 16;
    EXPECT_EQ(enter(easter).outcome, StoreOutcome::BadValue);
    EXPECT_EQ(prompter.last(), QStringLiteral("value: 0 up to 15"));
    EXPECT_EQ(model.program().UsedCount, 2);
}

TEST_F(PriorityStore, MemoryLimitCountsPriorityTimes)
{
    model.device.RecordCapacity = 2;
    ASSERT_TRUE(enter(Range(1, 1, 1, 1, 1, 1)).stored());
    const StoreResult last = enter(Range(2, 1, 2, 1, 1, 1));
    EXPECT_TRUE(last.stored());
    EXPECT_TRUE(last.memoryFull);
    EXPECT_EQ(enter(Range(3, 1, 3, 1, 1, 1)).outcome, StoreOutcome::MemoryFull);
    EXPECT_EQ(model.program().PzCount, 2);
}

TEST(PriorityAutomation, StepsDatesPriorityAndPermanentState)
{
    AutomationSettings s;
    s.IncDays = 5;
    s.IncPriority = 1;
    PriorityEntryValues e = Range(30, 4, 28, 12, 9, 1);
    ApplyIncrements(e, s, 0, 2026, false);
    EXPECT_EQ(e.fromDay, 5);
    EXPECT_EQ(e.fromMonth, 5);
    EXPECT_EQ(e.toDay, 2);
    EXPECT_EQ(e.toMonth, 1);
    EXPECT_EQ(e.priority, 9); // never onto "permanent"
    PriorityEntryValues stepped = Range(1, 5, 2, 5, 3, 1);
    ApplyIncrements(stepped, s, 0, 2026, true);
    EXPECT_EQ(stepped.priority, 4);
    s.IncPriority = 0;
    ApplyIncrements(stepped, s, 0, 2026, true);
    EXPECT_EQ(stepped.priority, 4);
    s.IncPriority = 1;

    s.IncMonth = 1;
    ApplyIncrements(e, s, 0, 2026, true); // holiday: the dates stay
    EXPECT_EQ(e.fromDay, 5);
    EXPECT_EQ(e.fromMonth, 5);

    PriorityEntryValues permanent = Range(1, 1, 1, 1, PermanentCodeBus, 0);
    permanent.value = 250;
    s.IncState = 10;
    ApplyIncrements(permanent, s, 1, 2026, false);
    EXPECT_EQ(permanent.value, 4);
    EXPECT_EQ(permanent.priority, PermanentCodeBus);
    EXPECT_EQ(permanent.fromMonth, 2);

    // a conventional permanent range toggles its state with the increment 1 alone
    PriorityEntryValues onOff = Range(1, 1, 1, 1, PermanentCodeConventional, 1);
    for (const auto &[increment, state] : {std::pair{1, 1}, {10, 1}, {0, 1}, {1, 0}}) {
        s.IncState = increment;
        ApplyIncrements(onOff, s, 0, 2026, true);
        EXPECT_EQ(onOff.state, state) << increment;
        EXPECT_EQ(onOff.priority, PermanentCodeConventional);
    }
}

namespace {

// Every edge of every value range of the priority time entry, on both device types. Each row
// changes one field of a valid entry (1 May to 2 June, priority 3, channel 1).
struct RangeCase {
    const char *name;
    int bus;
    void (*change)(PriorityEntryValues &);
    PriorityCheck expected;
};

const RangeCase rangeCases[] = {
    {"FromDay0", 0, [](auto &e) { e.fromDay = 0; }, PriorityCheck::DateIncomplete},
    {"FromMonth0", 0, [](auto &e) { e.fromMonth = 0; }, PriorityCheck::DateIncomplete},
    {"FromMonth12", 0, [](auto &e) { e.fromMonth = 12; }, PriorityCheck::Ok},
    {"FromMonth13", 0, [](auto &e) { e.fromMonth = 13; }, PriorityCheck::DateIncomplete},
    {"ToDay0", 1, [](auto &e) { e.toDay = 0; }, PriorityCheck::DateIncomplete},
    {"ToMonth0", 1, [](auto &e) { e.toMonth = 0; }, PriorityCheck::DateIncomplete},
    {"ToMonth12", 1, [](auto &e) { e.toMonth = 12; }, PriorityCheck::Ok},
    {"ToMonth13", 0, [](auto &e) { e.toMonth = 13; }, PriorityCheck::DateIncomplete},
    {"FromDay31OfMay", 0, [](auto &e) { e.fromDay = 31; }, PriorityCheck::Ok},
    {"FromDay31OfApril", 0, [](auto &e) { e.fromDay = 31, e.fromMonth = 4; }, PriorityCheck::DateIncomplete},
    {"ToDay30OfJune", 1, [](auto &e) { e.toDay = 30; }, PriorityCheck::Ok},
    {"ToDay31OfJune", 1, [](auto &e) { e.toDay = 31; }, PriorityCheck::DateIncomplete},
    {"EasterNeedsNoDates", 0, [](auto &e) { e.easter = true, e.fromDay = 0, e.toMonth = 13; },
     PriorityCheck::Ok},
    {"EasterCodeBelow0", 1, [](auto &e) { e.easter = true, e.easterCode = -1; },
     PriorityCheck::DateIncomplete},
    {"EasterCode0", 1, [](auto &e) { e.easter = true, e.easterCode = 0; }, PriorityCheck::Ok},
    {"EasterCode255", 0, [](auto &e) { e.easter = true, e.easterCode = 255; }, PriorityCheck::Ok},
    {"EasterCode256", 0, [](auto &e) { e.easter = true, e.easterCode = 256; }, PriorityCheck::DateIncomplete},
    {"NoChannelTicked", 0, [](auto &e) { e.channelMask = 0; }, PriorityCheck::NoChannel},
    {"OnlyABitAboveChannel4", 0, [](auto &e) { e.channelMask = 16; }, PriorityCheck::NoChannel},
    {"Channel4", 0, [](auto &e) { e.channelMask = 8; }, PriorityCheck::Ok},
    {"BusChannel0", 1, [](auto &e) { e.busChannel = 0; }, PriorityCheck::NoChannel},
    {"BusChannel8", 1, [](auto &e) { e.busChannel = 8; }, PriorityCheck::Ok},
    {"BusChannel9", 1, [](auto &e) { e.busChannel = 9; }, PriorityCheck::NoChannel},
    {"Priority0", 0, [](auto &e) { e.priority = 0; }, PriorityCheck::BadPriority},
    {"Priority1", 0, [](auto &e) { e.priority = 1; }, PriorityCheck::Ok},
    {"Permanent", 0, [](auto &e) { e.priority = PermanentCodeConventional; }, PriorityCheck::Ok},
    {"AbovePermanent", 0, [](auto &e) { e.priority = PermanentCodeConventional + 1; },
     PriorityCheck::BadPriority},
    {"BusPriority0", 1, [](auto &e) { e.priority = 0; }, PriorityCheck::BadPriority},
    {"BusPermanent", 1, [](auto &e) { e.priority = PermanentCodeBus; }, PriorityCheck::Ok},
    {"BusAbovePermanent", 1, [](auto &e) { e.priority = PermanentCodeBus + 1; }, PriorityCheck::BadPriority},
    {"BusEasterValue15", 1, [](auto &e) { e.easter = true, e.priority = PermanentCodeBus, e.value = 15; },
     PriorityCheck::Ok},
    {"BusEasterValue16", 1, [](auto &e) { e.easter = true, e.priority = PermanentCodeBus, e.value = 16; },
     PriorityCheck::BusEasterValue},
    {"BusDatedValue255", 1, [](auto &e) { e.priority = PermanentCodeBus, e.value = 255; }, PriorityCheck::Ok},
    {"ConventionalEasterIgnoresValue", 0,
     [](auto &e) { e.easter = true, e.priority = PermanentCodeConventional, e.value = 16; },
     PriorityCheck::Ok},
};

class PriorityRanges : public ::testing::TestWithParam<RangeCase> {};

} // namespace

TEST_P(PriorityRanges, AcceptOrRefuseAtTheEdge)
{
    const RangeCase &c = GetParam();
    PriorityEntryValues e = Range(1, 5, 2, 6, 3, 1);
    e.busChannel = 1;
    e.easterCode = EasterCodeBase;
    c.change(e);
    EXPECT_EQ(CheckPriorityEntry(e, c.bus), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Edges, PriorityRanges, ::testing::ValuesIn(rangeCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PriorityEntry, YearCodesCoverTheListedYearsOnly)
{
    EXPECT_EQ(YearCodeOf(FirstListedYear - 1), 0);
    EXPECT_EQ(YearCodeOf(FirstListedYear), FirstListedYear - YearCodeBase);
    EXPECT_EQ(YearCodeOf(LastListedYear), LastListedYear - YearCodeBase);
    EXPECT_EQ(YearCodeOf(LastListedYear + 1), 0);
}
