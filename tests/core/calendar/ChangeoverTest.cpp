#include "calendar/Changeover.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

struct RuleCase {
    int rule, year;
    DayMonth firstSummer, lastSummer;
};

class RuleSpans : public ::testing::TestWithParam<RuleCase> {};

// Both changeover days are summer time, the days beside them winter time.
TEST_P(RuleSpans, SpanBoundaries)
{
    const RuleCase c = GetParam();
    const ProgramSet none;
    auto summer = [&](DayMonth d) { return IsSummerTime(c.rule, none, d.day, d.month, c.year); };
    const int first = DayOfYear(c.firstSummer.day, c.firstSummer.month, c.year);
    const int last = DayOfYear(c.lastSummer.day, c.lastSummer.month, c.year);
    EXPECT_TRUE(summer(c.firstSummer));
    EXPECT_TRUE(summer(c.lastSummer));
    EXPECT_FALSE(summer(DateOfDay(first - 1, c.year)));
    EXPECT_FALSE(summer(DateOfDay(last + 1, c.year)));
    const auto span = RuleSpan(c.rule, c.year);
    ASSERT_TRUE(span);
    EXPECT_EQ(span->start, first);
    EXPECT_EQ(span->end, last);
}

INSTANTIATE_TEST_SUITE_P(Changeover, RuleSpans,
                         ::testing::Values(RuleCase{RuleEurope, 2026, {29, 3}, {25, 10}},
                                           RuleCase{RuleUK, 2000, {26, 3}, {22, 10}},
                                           RuleCase{RuleUSA, 2000, {9, 4}, {29, 10}},
                                           RuleCase{RuleEurope, 2000, {26, 3}, {29, 10}},
                                           RuleCase{RuleUSA, 2026, {12, 4}, {25, 10}}));

TEST(Changeover, NoChangeoverIsNeverSummer)
{
    const ProgramSet none;
    EXPECT_FALSE(RuleSpan(RuleNoChangeover, 2024));
    for (int doy = 1; doy <= 366; ++doy) {
        const DayMonth d = DateOfDay(doy, 2024);
        ASSERT_FALSE(IsSummerTime(RuleNoChangeover, none, d.day, d.month, 2024)) << doy;
    }
}

TEST(Changeover, EntryCodecRoundTripsEveryDay)
{
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= 31; ++day) {
            const ChangeoverEntry e{{day, month, DstMaxHour, DstMaxShift}, {32 - day, 13 - month, 0, 0}};
            const DstEntry v = EncodeChangeoverEntry(e);
            ASSERT_TRUE(IsDstEntryInUse(v));
            for (int w : v)
                ASSERT_TRUE(w >= 0 && w <= 255);
            ASSERT_EQ(DecodeChangeoverEntry(v), e);
        }
    // 31 March 02:00 +1 hour, 31 October 03:00 -1 hour.
    const ChangeoverEntry sample{{31, 3, 2, 1}, {31, 10, 3, 1}};
    EXPECT_EQ(EncodeChangeoverEntry(sample), (DstEntry{35, 243, 51, 250}));
    EXPECT_FALSE(IsDstEntryInUse(EmptyDstEntry));
}

TEST(Changeover, YearOfEntryFollowsPerYearCode)
{
    ProgramSet s;
    s.DstFirstYear = EncodeDstFirstYear(2000, OnceAYear);
    EXPECT_EQ(YearOfEntry(5, s), 2005);
    s.DstFirstYear = EncodeDstFirstYear(2000, TwiceAYear);
    EXPECT_EQ(YearOfEntry(4, s), 2002);
    EXPECT_EQ(YearOfEntry(5, s), 2002);
    EXPECT_EQ(DstStartYear(s), 2000);
    EXPECT_EQ(DstEntriesPerYear(s), 2);
}

// The table rule: either pair of a year counts, a pair that wraps the new year covers both ends,
// and a year outside the table is winter time.
TEST(Changeover, TableRule)
{
    ProgramSet s;
    s.DstFirstYear = EncodeDstFirstYear(2030, TwiceAYear);
    s.DstTable[0] = EncodeChangeoverEntry({{1, 4, 2, 1}, {30, 4, 3, 1}});
    s.DstTable[1] = EncodeChangeoverEntry({{1, 9, 2, 1}, {30, 9, 3, 1}});
    s.DstTable[2] = EncodeChangeoverEntry({{5, 10, 2, 1}, {6, 4, 3, 1}}); // 2031, southern hemisphere
    // An entry past the count is a leftover of a deleted one: it no longer counts.
    s.DstTable[3] = EncodeChangeoverEntry({{1, 6, 2, 1}, {30, 6, 3, 1}});
    s.DstCount = 3;
    auto summer = [&](int d, int m, int y) { return IsSummerTime(RuleTable, s, d, m, y); };
    EXPECT_FALSE(summer(15, 6, 2031));
    EXPECT_FALSE(summer(31, 3, 2030));
    EXPECT_TRUE(summer(1, 4, 2030));
    EXPECT_TRUE(summer(30, 4, 2030));
    EXPECT_FALSE(summer(15, 6, 2030));
    EXPECT_TRUE(summer(15, 9, 2030));
    EXPECT_TRUE(summer(1, 1, 2031));
    EXPECT_TRUE(summer(6, 4, 2031));
    EXPECT_FALSE(summer(7, 4, 2031));
    EXPECT_TRUE(summer(5, 10, 2031));
    EXPECT_FALSE(summer(15, 6, 2032));
    EXPECT_FALSE(summer(15, 6, 2029));
}

// A damaged count larger than the table reads the table's twenty entries and no more.
TEST(Changeover, ACountPastTheTableReadsTheTableOnly)
{
    ProgramSet s;
    s.DstFirstYear = EncodeDstFirstYear(2030, OnceAYear);
    s.DstTable.fill(EncodeChangeoverEntry({{1, 4, 2, 1}, {30, 9, 3, 1}}));
    s.DstCount = DstEntries + 3;
    const int last = 2030 + DstEntries - 1;
    EXPECT_EQ(TableSpans(s, last).size(), 1U);
    EXPECT_TRUE(TableSpans(s, last + 1).empty());
    EXPECT_TRUE(ChangeoversOfYear(RuleTable, s, last + 1).empty());
    EXPECT_FALSE(IsSummerTime(RuleTable, s, 15, 6, last + 1));
}

TEST(ChangeoverEditing, IdenticalAndRepeatedDatesAreRefused)
{
    ProgramSet s;
    const ChangeoverEntry same{{31, 3, 2, 1}, {31, 3, 2, 2}}; // the shift does not count
    EXPECT_EQ(CheckChangeoverEntry(s, 0, same, OnceAYear).check, DstCheck::Identical);
    const ChangeoverEntry hourApart{{31, 3, 2, 1}, {31, 3, 3, 1}};
    EXPECT_EQ(CheckChangeoverEntry(s, 0, hourApart, OnceAYear).check, DstCheck::Ok);

    ASSERT_TRUE(AppendChangeoverEntry(s, {{29, 3, 2, 1}, {25, 10, 3, 1}}, 2026, TwiceAYear));
    EXPECT_EQ(s.DstFirstYear, EncodeDstFirstYear(2026, TwiceAYear));
    // Entry 1 sets back when entry 0 advances.
    const ChangeoverEntry repeat{{1, 11, 2, 1}, {29, 3, 2, 1}};
    const DstCheckResult r = CheckChangeoverEntry(s, 1, repeat, TwiceAYear);
    EXPECT_EQ(r.check, DstCheck::SameDate);
    EXPECT_EQ(r.otherNumber, 1);
    EXPECT_EQ(CheckChangeoverEntry(s, 1, repeat, OnceAYear).check, DstCheck::Ok);
    // the year's second pair on dates of its own
    EXPECT_EQ(CheckChangeoverEntry(s, 1, {{1, 11, 2, 1}, {30, 3, 2, 1}}, TwiceAYear).check, DstCheck::Ok);
    // The partner of the last entry is a leftover past the count: no longer compared.
    ProgramSet leftover = s;
    leftover.DstTable[1] = EncodeChangeoverEntry(repeat);
    EXPECT_EQ(CheckChangeoverEntry(leftover, 0, {{1, 11, 2, 1}, {29, 3, 2, 1}}, TwiceAYear).check,
              DstCheck::Ok);
    // Changing entry 0 is checked against entry 1 of its year.
    ASSERT_TRUE(AppendChangeoverEntry(s, {{1, 11, 2, 1}, {20, 12, 3, 1}}, 0, 0));
    EXPECT_EQ(CheckChangeoverEntry(s, 0, {{20, 12, 3, 1}, {25, 10, 3, 1}}, TwiceAYear).otherNumber, 2);
    EXPECT_EQ(DstStartYear(s), 2026); // the header stays while the table holds entries
}

TEST(ChangeoverEditing, TableHoldsTwentyEntries)
{
    ProgramSet s;
    for (int i = 0; i < DstEntries; ++i)
        ASSERT_TRUE(AppendChangeoverEntry(s, {{31, 3, 2, 1}, {31, 10, 3, 1}}, 2030, OnceAYear));
    EXPECT_FALSE(AppendChangeoverEntry(s, {{31, 3, 2, 1}, {31, 10, 3, 1}}, 2030, OnceAYear));
    EXPECT_EQ(s.DstCount, DstEntries);
    EXPECT_EQ(YearOfEntry(DstEntries - 1, s), 2049);
}

TEST(ChangeoverEditing, StartYearMustFitTheHeadersSixBits)
{
    const struct {
        int year;
        bool kept;
    } cases[] = {{DstYearBase - 1, false},
                 {DstYearBase, true},
                 {DstLastStartYear, true},
                 {DstLastStartYear + 1, false}};
    for (const auto &c : cases) {
        ProgramSet s;
        EXPECT_EQ(AppendChangeoverEntry(s, {{31, 3, 2, 1}, {31, 10, 3, 1}}, c.year, OnceAYear), c.kept)
            << c.year;
        EXPECT_EQ(s.DstCount, c.kept ? 1 : 0) << c.year;
        if (c.kept) {
            EXPECT_EQ(DstStartYear(s), c.year);
        }
    }
}

TEST(ChangeoverEditing, DayLimits)
{
    EXPECT_EQ(LimitChangeoverDay(31, 2), 29);
    EXPECT_EQ(LimitChangeoverDay(31, 4), 30);
    EXPECT_EQ(LimitChangeoverDay(29, 2, 2027), 28);
    EXPECT_EQ(LimitChangeoverDay(29, 2, 2028), 29);
    EXPECT_EQ(LimitChangeoverDay(31, 10, 2027), 31);
}

TEST(ChangeoversOfYear, RuleDatesAtTheRuleHours)
{
    const ProgramSet none;
    const auto entries = ChangeoversOfYear(RuleUK, none, 2000);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].advance, (Changeover{26, 3, 2, 1}));
    EXPECT_EQ(entries[0].setBack, (Changeover{22, 10, 3, 1}));
    EXPECT_TRUE(ChangeoversOfYear(RuleNoChangeover, none, 2000).empty());
    EXPECT_TRUE(ChangeoversOfYear(RuleTable, none, 2000).empty());
}

// The day list of every month, in a common year, a leap year and with no year chosen (0).
TEST(ChangeoverEditing, EveryMonthKeepsItsLength)
{
    const int common[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(LimitChangeoverDay(31, month, 2027), common[month - 1]) << month;
        EXPECT_EQ(LimitChangeoverDay(31, month, 2028), month == 2 ? 29 : common[month - 1]) << month;
        EXPECT_EQ(LimitChangeoverDay(31, month, 0), month == 2 ? 29 : common[month - 1]) << month;
        EXPECT_EQ(LimitChangeoverDay(28, month, 2027), 28) << month;
    }
}

} // namespace
