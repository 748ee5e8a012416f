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

INSTANTIATE_TEST_SUITE_P(
    Ranges, TypedFieldCheck,
    ::testing::Values(Case{"23", ranges::Hour, FieldCheck::Ok, 23}, Case{"24", ranges::Hour, FieldCheck::OutOfRange, 0},
                      Case{"", ranges::Hour, FieldCheck::Ok, 0}, Case{"75", ranges::Minute, FieldCheck::OutOfRange, 0},
                      Case{"075", ranges::Minute, FieldCheck::OutOfRange, 0},
                      Case{"09", ranges::Minute, FieldCheck::Ok, 9},
                      Case{" 7  sec", ranges::PulseSeconds, FieldCheck::Ok, 7},
                      Case{"99999999999999999999", ranges::PulseSeconds, FieldCheck::OutOfRange, 0},
                      Case{"", ranges::DayOfMonth, FieldCheck::Empty, 0},
                      Case{"0", ranges::DayOfMonth, FieldCheck::OutOfRange, 0},
                      Case{"31", ranges::DayOfMonth, FieldCheck::Ok, 31},
                      Case{"32", ranges::DayOfMonth, FieldCheck::OutOfRange, 0},
                      Case{"", ranges::Month, FieldCheck::OutOfRange, 0},
                      Case{"12", ranges::Month, FieldCheck::Ok, 12},
                      Case{"13", ranges::Month, FieldCheck::OutOfRange, 0}));

TEST(TypedField, ProgramRangeAndDigitsFollowTheDevice)
{
    EXPECT_EQ(ProgramRange(0), (FieldRange{0, 9}));
    EXPECT_EQ(ProgramRange(1), (FieldRange{0, 7}));
    EXPECT_EQ(CheckTypedField(QStringLiteral("8"), ProgramRange(1)).check, FieldCheck::OutOfRange);
    EXPECT_EQ(ProgramRange(0).digits(), 1);
    EXPECT_EQ(ranges::Minute.digits(), 2);
}
