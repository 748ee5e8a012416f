#include "entry/TypedField.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

struct Case {
    const char *text;
    FieldRange range;
    FieldCheck check;
    int value;
};

class TypedFieldCheck : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(TypedFieldCheck, ReadsTheValueOrRefusesIt)
{
    const Case &c = GetParam();
    const TypedValue v = CheckTypedField(QString::fromLatin1(c.text), c.range);
    EXPECT_EQ(v.check, c.check) << c.text;
    if (c.check == FieldCheck::Ok)
        EXPECT_EQ(v.value, c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Ranges, TypedFieldCheck,
                         ::testing::Values(Case{"23", FieldRanges::Hour, FieldCheck::Ok, 23},
                                           Case{"24", FieldRanges::Hour, FieldCheck::OutOfRange, 0},
                                           Case{"", FieldRanges::Hour, FieldCheck::Ok, 0},
                                           Case{"75", FieldRanges::Minute, FieldCheck::OutOfRange, 0},
                                           Case{"075", FieldRanges::Minute, FieldCheck::OutOfRange, 0},
                                           Case{"09", FieldRanges::Minute, FieldCheck::Ok, 9},
                                           Case{" 7  sec", FieldRanges::PulseSeconds, FieldCheck::Ok, 7},
                                           Case{"99999999999999999999", FieldRanges::PulseSeconds,
                                                FieldCheck::OutOfRange, 0},
                                           Case{"", FieldRanges::DayOfMonth, FieldCheck::Empty, 0},
                                           Case{"0", FieldRanges::DayOfMonth, FieldCheck::OutOfRange, 0},
                                           Case{"31", FieldRanges::DayOfMonth, FieldCheck::Ok, 31},
                                           Case{"32", FieldRanges::DayOfMonth, FieldCheck::OutOfRange, 0},
                                           Case{"", FieldRanges::Month, FieldCheck::OutOfRange, 0},
                                           Case{"12", FieldRanges::Month, FieldCheck::Ok, 12},
                                           Case{"13", FieldRanges::Month, FieldCheck::OutOfRange, 0}));

TEST(TypedField, ProgramRangeAndDigitsFollowTheDevice)
{
    EXPECT_EQ(ProgramRange(0), (FieldRange{0, 9}));
    EXPECT_EQ(ProgramRange(1), (FieldRange{0, 7}));
    EXPECT_EQ(CheckTypedField(QStringLiteral("8"), ProgramRange(1)).check, FieldCheck::OutOfRange);
    EXPECT_EQ(ProgramRange(0).digits(), 1);
    EXPECT_EQ(FieldRanges::Minute.digits(), 2);
    // A field is as wide as its largest value, a round one too.
    for (const auto &[maximum, digits] : {std::pair{9, 1}, {10, 2}, {99, 2}, {100, 3}, {9999, 4}})
        EXPECT_EQ((FieldRange{0, maximum}.digits()), digits) << maximum;
}
