#include "calendar/Holidays.h"
#include "calendar/Locations.h"
#include "platform/TextDecoding.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

// Files that went through other systems end their lines in CR LF, LF or CR, sometimes mixed
// within one file; every reader of the text files must read them all alike.
struct LineEndCase {
    const char *name;
    const char *ends[3]; // the line end after each of the first three lines; the rest use the last
};

void PrintTo(const LineEndCase &c, std::ostream *os)
{
    *os << c.name;
}

QByteArray joined(const QList<QByteArray> &lines, const LineEndCase &c)
{
    QByteArray out;
    for (int i = 0; i < lines.size(); ++i)
        out += lines[i] + QByteArray(c.ends[std::min(i, 2)]);
    return out;
}

class LineEndingsTest : public ::testing::TestWithParam<LineEndCase> {};

TEST_P(LineEndingsTest, ReadersTakeEveryLineEnd)
{
    const LineEndCase &c = GetParam();

    const QByteArray places = joined({"2", "Aberdeen,364,26,48", "Belfast,372,31,48"}, c);
    const LocationsReadResult read = ParseLocations(places);
    ASSERT_EQ(read.status, LocationsReadResult::Status::Read) << read.error.toStdString();
    ASSERT_EQ(read.locations.size(), 2u);
    EXPECT_EQ(read.locations[1].name, QStringLiteral("Belfast"));

    const QList<QByteArray> holidayLines = {
        "2 1", "New Year, 0 0 1 1", "Easter Monday, 2 0 1 0", "Bank", "2", "1", "2"};
    HolidayLibrary expected;
    ASSERT_TRUE(ParseHolidays(holidayLines.join('\n'), expected).ok());
    ASSERT_EQ(expected.sets.size(), 1u);

    HolidayLibrary library;
    const HolidayFileResult result = ParseHolidays(joined(holidayLines, c), library);
    EXPECT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_EQ(library, expected);
}

INSTANTIATE_TEST_SUITE_P(Ends, LineEndingsTest,
                         ::testing::Values(LineEndCase{"crlf", {"\r\n", "\r\n", "\r\n"}},
                                           LineEndCase{"lf", {"\n", "\n", "\n"}},
                                           LineEndCase{"cr", {"\r", "\r", "\r"}},
                                           LineEndCase{"mixed", {"\r", "\n", "\r\n"}},
                                           LineEndCase{"mixed_cr_last", {"\r\n", "\n", "\r"}}));

TEST(SplitTextLines, EndsOfEveryKindEndOneLineEach)
{
    EXPECT_EQ(
        splitTextLines(QStringLiteral("a\r\nb\rc\nd")),
        (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    // CR LF is one end, LF CR two
    EXPECT_EQ(splitTextLines(QStringLiteral("a\n\rb\r\n")),
              (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b"), QString()}));
}

} // namespace
} // namespace zx
