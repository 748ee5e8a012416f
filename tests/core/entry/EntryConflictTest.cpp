#include "entry/EntryConflict.h"
#include "entry/DuplicateEntries.h"

#include "entry/SwitchingEntry.h"
#include "model/Model.h"
#include "support/SamplePrograms.h"

#include <gtest/gtest.h>

using zx::test::Rec;

using namespace zx;

namespace {

struct CompareCase {
    const char *name;
    int bus;
    ProgramRecord existing;
    ProgramRecord fresh;
    Comparison expected;
};

// 06:30 Monday..Friday channel 1 is 152, 96, 0, 31, 1, b5.
const CompareCase compareCases[] = {
    {"SameEntryExists", 0, Rec(152, 96, 31, 1, 1), Rec(152, 96, 31, 1, 1), Comparison::Exists},
    {"OtherStateIsInverted", 0, Rec(152, 96, 31, 1, 1), Rec(152, 96, 31, 1, 0), Comparison::Inverted},
    {"TwoPulsesOfAnyLength", 0, Rec(152, 96, 31, 1, 5 * 4 + 1), Rec(152, 96, 31, 1, 9 * 4),
     Comparison::Pulse},
    {"PulseAgainstSwitchedOutput", 0, Rec(152, 96, 31, 1, 5 * 4), Rec(152, 96, 31, 1, 1),
     Comparison::Different},
    {"SwitchedOutputAgainstPulse", 0, Rec(152, 96, 31, 1, 1), Rec(152, 96, 31, 1, 5 * 4 + 1),
     Comparison::Different},
    {"OverlappingChannelMasks", 0, Rec(152, 96, 31, 1, 1), Rec(152, 96, 31, 3, 1), Comparison::Different},
    {"OverlappingWeekdayMasks", 0, Rec(152, 96, 31, 1, 1), Rec(152, 96, 1, 1, 1), Comparison::Different},
    {"OtherProgramNumber", 0, Rec(152, 96, 31, 1, 1), Rec(152, 97, 31, 1, 1), Comparison::Different},
    {"OtherMinute", 0, Rec(152, 96, 31, 1, 1), Rec(152, 112, 31, 1, 1), Comparison::Different},
    {"DatedOnceFlagCounts", 0, Rec(24, 98, 15, 1, 1), Rec(24, 98, 64 + 15, 1, 1), Comparison::Different},
    {"DatedSameExists", 0, Rec(24, 98, 15, 1, 1), Rec(24, 98, 15, 1, 1), Comparison::Exists},
    {"WeeklyAgainstDatedOfSameLowBits", 0, Rec(152, 96, 1, 1, 1), Rec(24, 96, 1, 1, 1),
     Comparison::Different},
    {"PriorityOtherSettings", 0, Rec(100, 1, 1, 1, 2), Rec(100, 1, 1, 1, 4), Comparison::Different},
    {"PriorityOtherState", 0, Rec(100, 1, 1, 1, 3), Rec(100, 1, 1, 1, 2), Comparison::Inverted},
    {"PrioritySame", 0, Rec(100, 1, 1, 1, 3), Rec(100, 1, 1, 1, 3), Comparison::Exists},
    {"BusSameValueExists", 1, Rec(152, 96, 31, 200, 0), Rec(152, 96, 31, 200, 0), Comparison::Exists},
    {"BusOtherValueIsInverted", 1, Rec(152, 96, 31, 200, 0), Rec(152, 96, 31, 10, 0), Comparison::Inverted},
    {"BusOtherPulseLength", 1, Rec(152, 96, 31, 200, 4), Rec(152, 96, 31, 200, 8), Comparison::Pulse},
    {"BusPulseAgainstNone", 1, Rec(152, 96, 31, 200, 0), Rec(152, 96, 31, 10, 4), Comparison::Pulse},
    {"BusChannels1And5", 1, Rec(152, 96, 31, 200, 0), Rec(152, 96 + 8, 31, 200, 0), Comparison::Different},
    {"BusChannels1And2", 1, Rec(152, 96, 31, 200, 0), Rec(152, 96, 31, 200, 1), Comparison::Different},
    {"BusChannels4And8Dated", 1, Rec(24, 98, 15, 7, 3), Rec(24, 98, 32 + 15, 7, 3), Comparison::Different},
    {"BusOtherWeekdays", 1, Rec(152, 96, 31, 200, 0), Rec(152, 96, 30, 200, 0), Comparison::Different},
    {"DatedOtherStateIsInverted", 0, Rec(24, 98, 15, 1, 1), Rec(24, 98, 15, 1, 0), Comparison::Inverted},
    {"DatedTwoPulses", 0, Rec(24, 98, 15, 1, 4), Rec(24, 98, 15, 1, 8 + 1), Comparison::Pulse},
    {"DatedPulseAgainstSwitchedOutput", 0, Rec(24, 98, 15, 1, 4), Rec(24, 98, 15, 1, 0),
     Comparison::Different},
    {"PriorityAgainstSwitchingTime", 0, Rec(100, 1, 1, 1, 3), Rec(24, 1, 1, 1, 3), Comparison::Different},
    {"BusDatedSameExists", 1, Rec(24, 98, 15, 7, 3), Rec(24, 98, 15, 7, 3), Comparison::Exists},
    {"BusDatedOtherValueIsInverted", 1, Rec(24, 98, 15, 7, 3), Rec(24, 98, 15, 8, 3), Comparison::Inverted},
    {"BusDatedOtherPulse", 1, Rec(24, 98, 15, 7, 3), Rec(24, 98, 15, 7, 4 + 3), Comparison::Pulse},
    {"BusWeeklyAgainstDated", 1, Rec(152, 96, 31, 200, 0), Rec(24, 96, 31, 200, 0), Comparison::Different},
    {"BusPriorityAgainstSwitchingTime", 1, Rec(100, 1, 1, 200, 1), Rec(24, 1, 1, 200, 1),
     Comparison::Different},
};

class Compare : public ::testing::TestWithParam<CompareCase> {};

} // namespace

TEST_P(Compare, GivesTheResult)
{
    const CompareCase &c = GetParam();
    EXPECT_EQ(CompareSwitchingTimes(c.existing, c.fresh, c.bus), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, Compare, ::testing::ValuesIn(compareCases),
                         [](const auto &info) { return std::string(info.param.name); });

class ConflictScan : public ::testing::Test {
  protected:
    Model model;
    void add(const ProgramRecord &r) { ASSERT_TRUE(model.appendRecord(SetProgram, r)); }
};

TEST_F(ConflictScan, EmptyProgramHasNoConflict)
{
    const Conflict c = FindConflict(model, Rec(152, 96, 31, 1, 1));
    EXPECT_FALSE(c);
    EXPECT_EQ(c.index, -1);
}

TEST_F(ConflictScan, FindsTheFirstConflictInIndexOrder)
{
    add(Rec(128, 0, 1, 1, 1));
    add(Rec(152, 96, 31, 1, 0)); // inverted
    add(Rec(152, 96, 31, 1, 1)); // the same
    const Conflict c = FindConflict(model, Rec(152, 96, 31, 1, 1));
    EXPECT_EQ(c.result, Comparison::Inverted);
    EXPECT_EQ(c.index, 1);
}

TEST_F(ConflictScan, SkipsTheEntryBeingChanged)
{
    add(Rec(128, 0, 1, 1, 1));
    add(Rec(152, 96, 31, 1, 1));
    EXPECT_FALSE(FindConflict(model, Rec(152, 96, 31, 1, 1), 1));
    EXPECT_TRUE(FindConflict(model, Rec(152, 96, 31, 1, 1), 0));
}

TEST_F(ConflictScan, LooksOnlyAtRecordsInUse)
{
    add(Rec(128, 0, 1, 1, 1));
    model.program().Records[1] = Rec(152, 96, 31, 1, 1); // a stale slot beyond UsedCount
    EXPECT_FALSE(FindConflict(model, Rec(152, 96, 31, 1, 1)));
    // The scan of a whole program for repeated entries stops at the count too.
    add(Rec(152, 96, 31, 1, 0));
    model.program().Records[2] = Rec(152, 96, 31, 1, 0);
    EXPECT_TRUE(FindDuplicateEntries(model).empty());
    add(Rec(128, 0, 1, 1, 1));
    const std::vector<DuplicateEntry> found = FindDuplicateEntries(model);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].index, 2);
    EXPECT_EQ(found[0].earlier, 0);
}

// Each finding names both records by their list numbers (counted from 1), in the language of
// the program; a loaded language file speaks English here.
TEST(DuplicateEntryText, NamesBothRecordsInTheProgramsLanguage)
{
    const struct {
        Comparison kind;
        int language;
        const char *text;
    } cases[] = {
        {Comparison::Exists, German, "Datensatz 5 ist derselbe Eintrag wie Datensatz 2"},
        {Comparison::Inverted, English, "record 5 is the entry of record 2 with the other state"},
        {Comparison::Pulse, French,
         "l'enregistrement 5 est une deuxi\u00e8me impulsion \u00e0 l'heure, aux jours et aux canaux de "
         "l'enregistrement 2"},
        {Comparison::Exists, Loaded, "record 5 is the same entry as record 2"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DuplicateEntryText({4, 1, c.kind}, c.language), QString::fromUtf8(c.text)) << c.text;
}

TEST_F(ConflictScan, UsesTheDeviceKindOfTheModel)
{
    model.device.BusDevice = 1;
    add(Rec(152, 96, 31, 200, 0));
    EXPECT_EQ(FindConflict(model, Rec(152, 96, 31, 10, 0)).result, Comparison::Inverted);
    model.device.BusDevice = 0;
    EXPECT_FALSE(FindConflict(model, Rec(152, 96, 31, 10, 0)));
}

namespace {

// Priority times compare whole date ranges. Conventional: b5 bit 0 is the state, the bits above
// it the setting. Bus: b4 is the value and b5 bits 0..1 the channel's low bits, except in the
// Easter form (b0 96), where b4 holds the channel and b5's low nibble the value beside the
// high nibble of the day offset.
const CompareCase priorityCases[] = {
    {"ConventionalSame", 0, Rec(100, 1, 1, 1, 3), Rec(100, 1, 1, 1, 3), Comparison::Exists},
    {"ConventionalOtherState", 0, Rec(100, 1, 1, 1, 3), Rec(100, 1, 1, 1, 2), Comparison::Inverted},
    {"ConventionalOtherSetting", 0, Rec(100, 1, 1, 1, 3), Rec(100, 1, 1, 1, 5), Comparison::Different},
    {"ConventionalOtherEnd", 0, Rec(100, 1, 1, 1, 3), Rec(100, 1, 2, 1, 3), Comparison::Different},
    {"ConventionalOtherChannels", 0, Rec(100, 1, 1, 1, 3), Rec(100, 1, 1, 2, 3), Comparison::Different},
    {"ConventionalSwitchingTimes", 0, Rec(152, 96, 31, 1, 1), Rec(152, 96, 31, 1, 1), Comparison::Different},
    {"ConventionalSwitchingTimeAgainstPriority", 0, Rec(24, 1, 1, 1, 3), Rec(100, 1, 1, 1, 3),
     Comparison::Different},
    {"BusSame", 1, Rec(100, 1, 1, 200, 1), Rec(100, 1, 1, 200, 1), Comparison::Exists},
    {"BusOtherValue", 1, Rec(100, 1, 1, 200, 1), Rec(100, 1, 1, 10, 1), Comparison::Inverted},
    {"BusOtherSetting", 1, Rec(100, 1, 1, 200, 1), Rec(100, 1, 1, 200, 4 + 1), Comparison::Different},
    {"BusOtherChannel", 1, Rec(100, 1, 1, 200, 1), Rec(100, 1, 1, 200, 2), Comparison::Different},
    {"BusOtherStart", 1, Rec(100, 1, 1, 200, 1), Rec(100, 2, 1, 200, 1), Comparison::Different},
    {"BusOtherEnd", 1, Rec(100, 1, 1, 200, 1), Rec(100, 1, 2, 200, 1), Comparison::Different},
    {"BusSwitchingTimes", 1, Rec(152, 96, 31, 200, 0), Rec(152, 96, 31, 200, 0), Comparison::Different},
    {"BusEasterSame", 1, Rec(96, 5, 0, 3, 0x51), Rec(96, 5, 0, 3, 0x51), Comparison::Exists},
    {"BusEasterOtherValue", 1, Rec(96, 5, 0, 3, 0x51), Rec(96, 5, 0, 3, 0x52), Comparison::Inverted},
    {"BusEasterOtherOffset", 1, Rec(96, 5, 0, 3, 0x51), Rec(96, 5, 0, 3, 0x61), Comparison::Different},
    {"BusEasterOtherChannel", 1, Rec(96, 5, 0, 3, 0x51), Rec(96, 5, 0, 4, 0x51), Comparison::Different},
    {"BusEasterOtherOffsetHigh", 1, Rec(96, 5, 0, 3, 0x51), Rec(96, 6, 0, 3, 0x51), Comparison::Different},
    {"BusEasterOtherLength", 1, Rec(96, 5, 0, 3, 0x51), Rec(96, 5, 1, 3, 0x51), Comparison::Different},
    {"BusEasterAgainstDates", 1, Rec(96, 5, 0, 3, 0x51), Rec(100, 5, 0, 3, 0x51), Comparison::Different},
    {"BusDatesAgainstEaster", 1, Rec(100, 5, 0, 3, 0x51), Rec(96, 5, 0, 3, 0x51), Comparison::Different},
};

class ComparePriority : public ::testing::TestWithParam<CompareCase> {};

} // namespace

TEST_P(ComparePriority, GivesTheResult)
{
    const CompareCase &c = GetParam();
    EXPECT_EQ(ComparePriorityTimes(c.existing, c.fresh, c.bus), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ComparePriority, ::testing::ValuesIn(priorityCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ConflictScan, PriorityTimesOfOtherSettingsDoNotMeetOnTheBus)
{
    model.device.BusDevice = 1;
    add(Rec(100, 1, 1, 200, 1));
    EXPECT_FALSE(FindConflict(model, Rec(100, 1, 1, 200, 4 + 1)));
    EXPECT_EQ(FindConflict(model, Rec(100, 1, 1, 10, 1)).result, Comparison::Inverted);
}
