#include "model/RecordDecoder.h"
#include "calendar/Changeover.h"

#include "model/Model.h"
#include "support/SamplePrograms.h"

#include <gtest/gtest.h>

using zx::test::Rec;

namespace zx {
namespace {

TEST(RecordDecoder, SwitchingTimes)
{
    // weekly 23:59 Mo+We+Fr, P3, channels 1 and 3 ON, 5 s pulse
    SwitchingTime t = DecodeSwitchingRecord(Rec(217, 15 * 16 + 3, 1 + 4 + 16, 5, 5 * 4 + 1), 0);
    EXPECT_TRUE(t.weekly);
    EXPECT_EQ(t.minuteOfDay, 1439);
    EXPECT_EQ(t.weekdayMask, 21);
    EXPECT_EQ(t.program, 3);
    EXPECT_EQ(t.channelMask, 5);
    EXPECT_EQ(t.state, 1);
    EXPECT_EQ(t.pulseSeconds, 5);
    EXPECT_FALSE(t.astro);

    // dated 00:00 on 1 January, once
    t = DecodeSwitchingRecord(Rec(0, 1, 64 + 1, 16, 0), 0);
    EXPECT_FALSE(t.weekly);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.month, 1);
    EXPECT_TRUE(t.once);
    EXPECT_TRUE(t.astro); // bit 4 of b4

    // bus, channel 8: bit 3 of b1 (weekly) or bit 5 of b3 (dated), b5 bits 0..1 = 3
    t = DecodeSwitchingRecord(Rec(128, 8 + 7, 127, 200, 3), 1);
    EXPECT_EQ(t.channel, 8);
    EXPECT_EQ(t.program, 7);
    EXPECT_EQ(t.value, 200);
    t = DecodeSwitchingRecord(Rec(10, 12, 32 + 31, 9, 3), 1);
    EXPECT_EQ(t.channel, 8);
    EXPECT_EQ(t.day, 31);
    EXPECT_EQ(t.month, 12);
}

struct PriorityCase {
    const char *what;
    ProgramRecord r;
    int bus;
    PriorityTime expected;
};

void PrintTo(const PriorityCase &c, std::ostream *os)
{
    *os << c.what;
}

class PriorityDecoding : public ::testing::TestWithParam<PriorityCase> {};

TEST_P(PriorityDecoding, FieldsAsStored)
{
    const PriorityTime p = DecodePriorityRecord(GetParam().r, GetParam().bus);
    const PriorityTime &e = GetParam().expected;
    EXPECT_EQ(p.easter, e.easter);
    EXPECT_EQ(p.easterOffset, e.easterOffset);
    EXPECT_EQ(p.fromDay, e.fromDay);
    EXPECT_EQ(p.fromMonth, e.fromMonth);
    EXPECT_EQ(p.toDay, e.toDay);
    EXPECT_EQ(p.toMonth, e.toMonth);
    EXPECT_EQ(p.once, e.once);
    EXPECT_EQ(p.yearCode, e.yearCode);
    EXPECT_EQ(p.code, e.code);
    EXPECT_EQ(p.permanent, e.permanent);
    EXPECT_EQ(p.channelMask, e.channelMask);
    EXPECT_EQ(p.channel, e.channel);
    EXPECT_EQ(p.state, e.state);
    EXPECT_EQ(p.value, e.value);
}

PriorityTime expect(std::function<void(PriorityTime &)> set)
{
    PriorityTime p;
    set(p);
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PriorityDecoding,
    ::testing::Values(
        PriorityCase{"24 Dec to 6 Jan every year, P3, channel 1", Rec(121, 131, 6, 1, 16), 0,
                     expect([](PriorityTime &p) {
                         p.fromDay = 24, p.fromMonth = 12, p.toDay = 6, p.toMonth = 1, p.code = 3,
                         p.channelMask = 1;
                     })},
        PriorityCase{"the same in 2000", Rec(121, 131, 70, 1, 24), 0, expect([](PriorityTime &p) {
                         p.fromDay = 24, p.fromMonth = 12, p.toDay = 6, p.toMonth = 1, p.code = 3;
                         p.channelMask = 1, p.once = true, p.yearCode = 64;
                     })},
        PriorityCase{"permanent ON 1 May, channels 1 and 2", Rec(106, 26, 1, 3, 81), 0,
                     expect([](PriorityTime &p) {
                         p.fromDay = 1, p.fromMonth = 5, p.toDay = 1, p.toMonth = 5, p.code = 10;
                         p.permanent = true, p.channelMask = 3, p.state = 1;
                     })},
        PriorityCase{"Easter Monday, P1, channel 1", Rec(96, 81, 0, 1, 48), 0, expect([](PriorityTime &p) {
                         p.easter = true, p.easterOffset = 1, p.code = 1, p.channelMask = 1;
                     })},
        PriorityCase{"bus range: channel - 1 is the whole low nibble", Rec(106, 18, 1, 77, 5 * 16 + 15), 1,
                     expect([](PriorityTime &p) {
                         p.fromDay = 1, p.fromMonth = 5, p.toDay = 1, p.toMonth = 5, p.code = 2;
                         p.channel = 16, p.value = 77;
                     })},
        PriorityCase{"bus Easter: channel in b4, value in b5's low nibble", Rec(96, 80 + 8, 0, 255, 48 + 9),
                     1, expect([](PriorityTime &p) {
                         p.easter = true, p.easterOffset = 1, p.code = 8, p.permanent = true;
                         p.channel = 255, p.value = 9;
                     })}));

TEST(RecordDecoder, ChangeoverEntriesCountYearsFromTheFirstYear)
{
    ProgramSet s;
    s.DstFirstYear = 64 + 2; // two entries a year from 1998
    s.DstTable[3] = {2 * 16 + 2 + 1, 5 * 16 + 3, 3 * 16 + 2, 9 * 16 + 10};
    const ChangeoverEntry e = DecodeChangeoverEntry(s.DstTable[3]);
    EXPECT_EQ(YearOfEntry(3, s), 1999);
    EXPECT_EQ(e.advance.day, 21);
    EXPECT_EQ(e.advance.month, 3);
    EXPECT_EQ(e.advance.hour, 2);
    EXPECT_EQ(e.advance.shift, 1);
    EXPECT_EQ(e.setBack.day, 9);
    EXPECT_EQ(e.setBack.month, 10);
    EXPECT_EQ(e.setBack.hour, 3);
}

} // namespace
} // namespace zx
