#include "entry/SwitchingEntry.h"

#include <gtest/gtest.h>

#include <array>

using namespace zx;

namespace {

using Bytes = std::array<int, 6>;

Bytes BytesOf(const ProgramRecord &r)
{
    return {r.b0, r.b1, r.b2, r.b3, r.b4, r.b5};
}

SwitchingEntryValues Weekly(int hour, int minute, int mask)
{
    SwitchingEntryValues e;
    e.hour = hour;
    e.minute = minute;
    e.kind = EntryKind::Weekly;
    e.weekdayMask = mask;
    return e;
}

SwitchingEntryValues Dated(int hour, int minute, int day, int month)
{
    SwitchingEntryValues e;
    e.hour = hour;
    e.minute = minute;
    e.kind = EntryKind::Dated;
    e.day = day;
    e.month = month;
    return e;
}

struct EncodeCase {
    const char *name;
    SwitchingEntryValues entry;
    int bus;
    Bytes bytes;
};

SwitchingEntryValues With(SwitchingEntryValues e, auto &&change)
{
    change(e);
    return e;
}

const EncodeCase encodeCases[] = {
    {"MidnightMondayChannel1On",
     With(Weekly(0, 0, 1),
          [](auto &e) {
              e.channelMask = 1;
              e.state = 1;
          }),
     0,
     {128, 0, 0, 1, 1, 1}},
    {"HalfPastSixWorkdays",
     With(Weekly(6, 30, 31), [](auto &e) { e.channelMask = 1; }),
     0,
     {152, 96, 0, 31, 1, 1}},
    {"LastMinuteOfDayWithProgram3",
     With(Weekly(23, 59, 64),
          [](auto &e) {
              e.channelMask = 8;
              e.program = 3;
              e.state = 0;
          }),
     0,
     {217, 243, 0, 64, 8, 0}},
    {"DatedFirstJanuary", With(Dated(0, 0, 1, 1), [](auto &e) { e.channelMask = 2; }), 0, {0, 1, 0, 1, 2, 1}},
    {"LeapDayOnce",
     With(Dated(12, 34, 29, 2),
          [](auto &e) {
              e.once = 1;
              e.channelMask = 1;
          }),
     0,
     {47, 34, 0, 93, 1, 1}},
    {"PulseOfMaximumLengthOnTwoChannels",
     With(Weekly(8, 0, 127),
          [](auto &e) {
              e.channelMask = 5;
              e.pulse = 59;
              e.state = 0;
          }),
     0,
     {158, 0, 0, 127, 5, 236}},
    {"DatedIgnoresProgram",
     With(Dated(0, 15, 31, 12),
          [](auto &e) {
              e.channelMask = 1;
              e.program = 4;
          }),
     0,
     {0, 252, 0, 31, 1, 1}},
    {"BusChannel1Value200",
     With(Weekly(0, 0, 1),
          [](auto &e) {
              e.busChannel = 1;
              e.value = 200;
          }),
     1,
     {128, 0, 0, 1, 200, 0}},
    {"BusWeeklyChannel8Program7",
     With(Weekly(0, 1, 1),
          [](auto &e) {
              e.busChannel = 8;
              e.value = 5;
              e.program = 7;
              e.pulse = 2;
          }),
     1,
     {128, 16 + 7 + 8, 0, 1, 5, 8 + 3}},
    {"BusDatedChannel8Once",
     With(Dated(0, 0, 15, 6),
          [](auto &e) {
              e.busChannel = 8;
              e.once = 1;
          }),
     1,
     {0, 6, 0, 64 + 32 + 15, 0, 3}},
    {"BusChannel5UsesHighBitOnly",
     With(Weekly(0, 0, 2), [](auto &e) { e.busChannel = 5; }),
     1,
     {128, 8, 0, 2, 0, 0}},
};

class Encoding : public ::testing::TestWithParam<EncodeCase> {};

} // namespace

TEST_P(Encoding, GivesTheDeviceBytes)
{
    const EncodeCase &c = GetParam();
    EXPECT_EQ(BytesOf(EncodeSwitchingTime(c.entry, c.bus)), c.bytes);
}

TEST_P(Encoding, DecodesBackToTheSameRecord)
{
    const EncodeCase &c = GetParam();
    const ProgramRecord r = EncodeSwitchingTime(c.entry, c.bus);
    const SwitchingEntryValues back = DecodeSwitchingTime(r, c.bus);
    EXPECT_EQ(BytesOf(EncodeSwitchingTime(back, c.bus)), c.bytes);
    EXPECT_EQ(back.hour, c.entry.hour);
    EXPECT_EQ(back.minute, c.entry.minute);
    EXPECT_EQ(back.pulse, c.entry.pulse);
    EXPECT_EQ(back.kind, c.entry.kind);
    if (c.bus) {
        EXPECT_EQ(back.busChannel, c.entry.busChannel);
        EXPECT_EQ(back.value, c.entry.value);
    } else {
        EXPECT_EQ(back.channelMask, c.entry.channelMask);
        EXPECT_EQ(back.state, c.entry.state);
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, Encoding, ::testing::ValuesIn(encodeCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Encoding, EveryMinuteOfTheDayRoundTrips)
{
    for (int m = 0; m < 1440; ++m) {
        SwitchingEntryValues e = Weekly(m / 60, m % 60, 1);
        e.channelMask = 1;
        const ProgramRecord weekly = EncodeSwitchingTime(e, 0);
        EXPECT_EQ(MinuteOfDay(weekly), m);
        EXPECT_TRUE(IsWeekly(weekly));
        EXPECT_EQ(RecordKind(weekly, 0), Kind::WeeklyConventional);

        SwitchingEntryValues d = Dated(m / 60, m % 60, 1, 12);
        d.busChannel = 8;
        const ProgramRecord dated = EncodeSwitchingTime(d, 1);
        EXPECT_EQ(RecordKind(dated, 1), Kind::DatedBus);
        const SwitchingEntryValues back = DecodeSwitchingTime(dated, 1);
        EXPECT_EQ(back.minuteOfDay(), m);
        EXPECT_EQ(back.month, 12);
        EXPECT_EQ(back.busChannel, 8);
    }
}

TEST(Encoding, EveryBusChannelRoundTripsOnBothKinds)
{
    for (int channel = 1; channel <= 8; ++channel) {
        SwitchingEntryValues w = Weekly(10, 0, 4);
        w.busChannel = channel;
        w.program = 5;
        SwitchingEntryValues d = Dated(10, 0, 7, 3);
        d.busChannel = channel;
        const SwitchingEntryValues wb = DecodeSwitchingTime(EncodeSwitchingTime(w, 1), 1);
        const SwitchingEntryValues db = DecodeSwitchingTime(EncodeSwitchingTime(d, 1), 1);
        EXPECT_EQ(wb.busChannel, channel);
        EXPECT_EQ(wb.program, 5);
        EXPECT_EQ(db.busChannel, channel);
        EXPECT_EQ(db.day, 7);
    }
}

TEST(Encoding, LinkBitsStayClear)
{
    SwitchingEntryValues e = Dated(23, 59, 31, 12);
    e.once = 1;
    e.busChannel = 8;
    const ProgramRecord r = EncodeSwitchingTime(e, 1);
    EXPECT_EQ(r.b2, 0);
    EXPECT_EQ(r.b3 & 0x80, 0);
}

// The pulse field holds 0..59 seconds; anything else is read, and written, as no pulse.
TEST(Decoding, PulseBeyond59ReadsAsNoPulse)
{
    const ProgramRecord r{128, 0, 0, 1, 1, static_cast<std::uint8_t>(60 * 4 + 1)};
    EXPECT_EQ(DecodeSwitchingTime(r, 0).pulse, 0);
    SwitchingEntryValues e = Dated(6, 0, 1, 5);
    const ProgramRecord noPulse = EncodeSwitchingTime(e, 0);
    for (const int pulse : {60, -1}) {
        e.pulse = pulse;
        EXPECT_EQ(EncodeSwitchingTime(e, 0), noPulse) << pulse;
    }
}

TEST(Decoding, ConventionalChannelsTakeTheLowFourBits)
{
    const ProgramRecord r{128, 0, 0, 1, 0x1F, 0};
    const SwitchingEntryValues e = DecodeSwitchingTime(r, 0);
    EXPECT_EQ(e.channelMask, 15);
    EXPECT_EQ(e.state, 0);
}

TEST(ConfirmedKind, DateNeedsDayAndMonth)
{
    SwitchingEntryValues e;
    EXPECT_EQ(ConfirmedKind(e), EntryKind::Undecided);
    e.day = 5;
    EXPECT_EQ(ConfirmedKind(e), EntryKind::Undecided);
    e.weekdayMask = 2;
    EXPECT_EQ(ConfirmedKind(e), EntryKind::Weekly);
    e.month = 3;
    EXPECT_EQ(ConfirmedKind(e), EntryKind::Dated);
    e.day = 0;
    EXPECT_EQ(ConfirmedKind(e), EntryKind::Weekly);
}

TEST(CheckSwitchingEntry, RefusesMissingDaysThenMissingChannel)
{
    SwitchingEntryValues e;
    EXPECT_EQ(CheckSwitchingEntry(e, 0), EntryCheck::DateOrWeekdaysIncomplete);
    e.weekdayMask = 1;
    EXPECT_EQ(CheckSwitchingEntry(e, 0), EntryCheck::NoChannel);
    e.channelMask = 4;
    EXPECT_EQ(CheckSwitchingEntry(e, 0), EntryCheck::Ok);
    EXPECT_EQ(CheckSwitchingEntry(e, 1), EntryCheck::NoChannel);
    e.busChannel = 8;
    EXPECT_EQ(CheckSwitchingEntry(e, 1), EntryCheck::Ok);
}

namespace {

// A bus device names one channel 1..8; a conventional device ticks channels in the low byte.
struct ChannelCase {
    int bus;
    int busChannel;
    int channelMask;
    EntryCheck expected;
};

class ChannelRange : public ::testing::TestWithParam<ChannelCase> {};

} // namespace

TEST_P(ChannelRange, DecidesWhetherAChannelIsGiven)
{
    const ChannelCase &c = GetParam();
    for (SwitchingEntryValues e : {Weekly(6, 30, 1), Dated(6, 30, 1, 1)}) {
        e.busChannel = c.busChannel;
        e.channelMask = c.channelMask;
        EXPECT_EQ(CheckSwitchingEntry(e, c.bus), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, ChannelRange,
    ::testing::Values(ChannelCase{1, 0, 1, EntryCheck::NoChannel}, ChannelCase{1, 1, 0, EntryCheck::Ok},
                      ChannelCase{1, 8, 0, EntryCheck::Ok}, ChannelCase{1, 9, 1, EntryCheck::NoChannel},
                      ChannelCase{0, 1, 0, EntryCheck::NoChannel},
                      ChannelCase{0, 0, 0x100, EntryCheck::NoChannel}, ChannelCase{0, 0, 1, EntryCheck::Ok},
                      ChannelCase{0, 0, 0x80, EntryCheck::Ok}));
