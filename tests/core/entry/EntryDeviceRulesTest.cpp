#include "entry/EntryDeviceRules.h"

#include "entry/EntryStore.h"
#include "model/Model.h"
#include "support/DeviceRuleCases.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

struct LayoutCase {
    int bus, kanalzahl, evu, messKanal, uhrentyp;
    int channels;
    bool firstTicked, firstLocked;
    int meterChannel;
    int kanalzahlAfter;
};

class ChannelLayouts : public ::testing::TestWithParam<LayoutCase> {};

} // namespace

TEST_P(ChannelLayouts, FollowTheDevice)
{
    const LayoutCase &c = GetParam();
    DeviceProperties d;
    d.BusDevice = c.bus;
    d.Kanalzahl = c.kanalzahl;
    d.Evu = c.evu;
    d.MessKanal = c.messKanal;
    d.Uhrentyp = c.uhrentyp;
    const ChannelLayout l = PrepareChannelLayout(d);
    EXPECT_EQ(l.bus, c.bus != 0);
    EXPECT_EQ(l.channels, c.channels);
    EXPECT_EQ(l.firstTicked, c.firstTicked);
    EXPECT_EQ(l.firstLocked, c.firstLocked);
    EXPECT_EQ(l.meterChannel, c.meterChannel);
    EXPECT_EQ(d.Kanalzahl, c.kanalzahlAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, ChannelLayouts,
    ::testing::Values(LayoutCase{0, 1, 0, 0, TypeAnnual, 1, true, false, 0, 1},
                      LayoutCase{0, 1, 1, 0, TypeAnnual, 1, true, true, 0, 1},
                      LayoutCase{0, 3, 1, 2, TypeAnnual, 3, false, false, 2, 3},
                      LayoutCase{0, 3, 1, 4, TypeAnnual, 3, false, false, 0, 3}, // beyond the channels
                      LayoutCase{0, 4, 0, 2, TypeAnnual, 4, false, false, 0, 4}, // no utility option
                      LayoutCase{0, 8, 0, 0, TypeAnnual, 4, false, false, 0, 4},
                      LayoutCase{0, 0, 0, 0, TypeAstro, 4, false, false, 0, 4},
                      LayoutCase{1, 4, 1, 1, TypeAnnual, 4, false, false, 0, 4},
                      LayoutCase{1, 8, 0, 0, TypeAnnual, 8, false, false, 0, 8},
                      LayoutCase{1, 2, 0, 0, TypeAnnual, 8, false, false, 0, 2}));

TEST(EntryDeviceRules, AstroDeviceKeepsChannelsOneAndTwoApartAndHasNoPulses)
{
    DeviceProperties astro;
    astro.Uhrentyp = TypeAstro;
    EXPECT_EQ(ChannelsExcludedBy(astro, 1), 2);
    EXPECT_EQ(ChannelsExcludedBy(astro, 2), 1);
    EXPECT_EQ(ChannelsExcludedBy(astro, 3), 0);
    EXPECT_FALSE(OffersPulses(astro));
    DeviceProperties annual;
    EXPECT_EQ(ChannelsExcludedBy(annual, 1), 0);
    EXPECT_TRUE(OffersPulses(annual));
}

// The device's last channel is the last one an entry may name, on both device types.
TEST(EntryDeviceRules, TheLastChannelIsTakenTheNextRefused)
{
    for (int bus : {0, 1}) {
        for (int kanalzahl : {1, 2, 4}) {
            DeviceProperties d;
            d.BusDevice = bus;
            d.Kanalzahl = kanalzahl;
            const int count = ChannelCountOf(d);
            auto rule = [&](int channel) {
                SwitchingEntryValues e;
                e.hour = 6;
                e.kind = EntryKind::Weekly;
                e.weekdayMask = 1;
                (bus ? e.busChannel : e.channelMask) = bus ? channel : 1 << (channel - 1);
                return CheckSwitchingDeviceRules(e, d);
            };
            EXPECT_EQ(rule(count), DeviceRule::Ok) << bus << " " << kanalzahl;
            EXPECT_EQ(rule(count + 1), DeviceRule::ChannelAboveCount) << bus << " " << kanalzahl;
        }
    }
}

// ----- entries the device cannot hold ---------------------------------------------------------

namespace {

class DeviceRuleRefusals : public ::testing::TestWithParam<test::DeviceRuleCase> {};

} // namespace

// The entry store refuses what the device cannot hold, with the text zentrix-cli add shows too
// (the same table drives the end-to-end test).
TEST_P(DeviceRuleRefusals, StoreRefusesWithTheRulesText)
{
    const test::DeviceRuleCase &c = GetParam();
    Model model;
    c.setUp(model.device);
    test::ScriptedPrompter prompter;
    const StoreResult r = c.priority ? StorePriorityTime(model, prompter, c.priorityEntry, EditEnter)
                                     : StoreSwitchingTime(model, prompter, c.switching, EditEnter);
    EXPECT_EQ(r.outcome, StoreOutcome::DeviceRefused);
    EXPECT_EQ(prompter.last(), DeviceRuleMessage(model, c.rule));
    EXPECT_FALSE(prompter.last().isEmpty());
    EXPECT_EQ(model.program().UsedCount, 0);
    EXPECT_EQ(model.Modified, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, DeviceRuleRefusals, ::testing::ValuesIn(test::DeviceRuleCases()),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(EntryDeviceRules, YearsForFreeHolidaysAreEven2To30)
{
    for (int years : {2, 4, 30})
        EXPECT_EQ(CheckFreeHolidayYears(years), DeviceRule::Ok) << years;
    for (int years : {0, 1, 3, 31, 32})
        EXPECT_EQ(CheckFreeHolidayYears(years), DeviceRule::FreeHolidayYears) << years;
}

// `check` names the stored records the device cannot run; good ones and the astro times the
// simulation adds are left alone.
TEST(EntryDeviceRules, StoredRecordsBreakingTheRules)
{
    Model model;
    model.device.Uhrentyp = TypeAstro;
    model.device.Kanalzahl = 2;
    SwitchingEntryValues weekly;
    weekly.kind = EntryKind::Weekly;
    weekly.weekdayMask = 1;
    weekly.channelMask = 1;
    model.appendRecord(SetProgram, EncodeSwitchingTime(weekly, 0));
    weekly.channelMask = 3;
    model.appendRecord(SetProgram, EncodeSwitchingTime(weekly, 0));
    weekly.channelMask = 1 | 16; // the astro marker, never stored by an entry
    model.appendRecord(SetProgram, EncodeSwitchingTime(weekly, 0));
    PriorityEntryValues easter;
    easter.easter = true;
    easter.easterCode = 83;
    easter.channelMask = 2;
    model.appendRecord(SetProgram, EncodePriorityTime(easter, 0));
    SwitchingEntryValues dated = weekly;
    dated.kind = EntryKind::Dated;
    dated.day = 24;
    dated.month = 12;
    dated.channelMask = 3;
    model.appendRecord(SetProgram, EncodeSwitchingTime(dated, 0));
    // a time of the astro table drives both channels at once: the table's own rules hold for it
    weekly.channelMask = 3 | 16;
    model.appendRecord(SetProgram, EncodeSwitchingTime(weekly, 0));

    const std::vector<RuleBreak> breaks = RecordsBreakingDeviceRules(model);
    ASSERT_EQ(breaks.size(), 3u);
    EXPECT_EQ(breaks[0].index, 1);
    EXPECT_EQ(breaks[0].rule, DeviceRule::AstroChannelsTogether);
    EXPECT_EQ(breaks[1].index, 3);
    EXPECT_EQ(breaks[1].rule, DeviceRule::NoVariableHolidays);
    EXPECT_EQ(breaks[2].index, 4);
    EXPECT_EQ(breaks[2].rule, DeviceRule::AstroChannelsTogether);

    // On a bus device: weekly and dated times on channels the device lacks.
    Model bus;
    bus.device.BusDevice = 1;
    bus.device.Kanalzahl = 4;
    SwitchingEntryValues onBus = weekly;
    onBus.channelMask = 0;
    for (const auto &[kind, channel] :
         {std::pair{EntryKind::Weekly, 6}, {EntryKind::Dated, 3}, {EntryKind::Dated, 7}}) {
        onBus.kind = kind;
        onBus.day = kind == EntryKind::Dated ? 24 : 0;
        onBus.month = kind == EntryKind::Dated ? 12 : 0;
        onBus.busChannel = channel;
        bus.appendRecord(SetProgram, EncodeSwitchingTime(onBus, 1));
    }
    const std::vector<RuleBreak> busBreaks = RecordsBreakingDeviceRules(bus);
    ASSERT_EQ(busBreaks.size(), 2u);
    EXPECT_EQ(busBreaks[0].index, 0);
    EXPECT_EQ(busBreaks[1].index, 2);
    EXPECT_EQ(busBreaks[1].rule, DeviceRule::ChannelAboveCount);
}
