#include "calendar/Holidays.h"

#include "model/Model.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QDate>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

using namespace zx;
using zx::test::TempDir;

namespace {

Holiday fixed(const char *name, int day, int month)
{
    return {QString::fromUtf8(name), HolidayFixed, 0, day, month};
}

Holiday easter(const char *name, int offset)
{
    return {QString::fromUtf8(name), HolidayEaster, 0, offset, 0};
}

class HolidayEditing : public ::testing::Test {
  protected:
    HolidayLibrary lib;
};

// Adding never renames: a new name on a taken date is a second holiday; the same name redates.
TEST_F(HolidayEditing, NewNameAddsAndSameNameRedates)
{
    EXPECT_EQ(AddOrChangeHoliday(lib, fixed("A", 1, 1)), HolidayChange::Appended);
    EXPECT_EQ(AddOrChangeHoliday(lib, fixed("B", 1, 1)), HolidayChange::Appended);
    ASSERT_EQ(lib.holidays.size(), 2u);
    EXPECT_EQ(lib.holidays[0].name, QStringLiteral("A"));
    EXPECT_EQ(AddOrChangeHoliday(lib, fixed("B", 6, 1)), HolidayChange::Changed);
    ASSERT_EQ(lib.holidays.size(), 2u);
    EXPECT_EQ(lib.holidays[0].dayOrOffset, 1);
    EXPECT_EQ(lib.holidays[1].dayOrOffset, 6);
    // the same name on A's date changes B alone: the names stay unique
    EXPECT_EQ(AddOrChangeHoliday(lib, fixed("B", 1, 1)), HolidayChange::Changed);
    EXPECT_EQ(lib.holidays[0].name, QStringLiteral("A"));
    EXPECT_EQ(AddOrChangeHoliday(lib, fixed("  ", 2, 1)), HolidayChange::Refused);
    EXPECT_EQ(AddOrChangeHoliday(lib, fixed("X", 30, 2)), HolidayChange::Refused);
    // A comma or line break would split the record in the file.
    EXPECT_EQ(AddOrChangeHoliday(lib, fixed("Day, one\nmore", 2, 2)), HolidayChange::Appended);
    EXPECT_EQ(lib.holidays.back().name, QStringLiteral("Day  one more"));
}

TEST_F(HolidayEditing, RenameKeepsNamesUniqueAndSetsFollow)
{
    for (const char *n : {"A", "B"})
        AddOrChangeHoliday(lib, fixed(n, 1, 1 + lib.holidays.size()));
    ASSERT_TRUE(AddHolidaySet(lib, QStringLiteral("S")));
    ASSERT_TRUE(AddToHolidaySet(lib, 0, 0));
    EXPECT_FALSE(RenameHoliday(lib, 0, QStringLiteral("B")));
    EXPECT_FALSE(RenameHoliday(lib, 0, QStringLiteral(" , ")));
    EXPECT_FALSE(RenameHoliday(lib, 2, QStringLiteral("C")));
    EXPECT_EQ(lib.holidays[0].name, QStringLiteral("A"));
    EXPECT_TRUE(RenameHoliday(lib, 0, QStringLiteral("A"))); // unchanged is no refusal
    EXPECT_TRUE(RenameHoliday(lib, 0, QStringLiteral(" C,1")));
    EXPECT_EQ(lib.holidays[0].name, QStringLiteral("C 1"));
    EXPECT_EQ(lib.holidays[0].month, 1);
    EXPECT_EQ(lib.sets[0].members, std::vector<int>{1});
}

// A name is one field of one line in the file: whatever a reader could take for the end of the
// field or of the line becomes a blank; other letters stay.
TEST(HolidayNames, WhatWouldSplitTheRecordBecomesABlank)
{
    for (const char16_t c : {u',', u'\r', u'\n', u'\t', u'\x1b', u'\x85', u'\u2028', u'\u2029'})
        EXPECT_EQ(CleanHolidayName(QStringLiteral("A") + QChar(c) + QStringLiteral("B")),
                  QStringLiteral("A B"))
            << int(c);
    EXPECT_EQ(CleanHolidayName(QStringLiteral(" F\u00eate-Dieu;\u00a0")), QStringLiteral("F\u00eate-Dieu;"));
}

TEST_F(HolidayEditing, DeleteRenumbersSetMembers)
{
    for (const char *n : {"A", "B", "C"})
        AddOrChangeHoliday(lib, fixed(n, 1, 1 + lib.holidays.size()));
    ASSERT_TRUE(AddHolidaySet(lib, QStringLiteral("S")));
    EXPECT_FALSE(AddHolidaySet(lib, QStringLiteral("S")));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(AddToHolidaySet(lib, 0, i));
    EXPECT_FALSE(AddToHolidaySet(lib, 0, 1));
    DeleteHoliday(lib, 1);
    EXPECT_EQ(lib.sets[0].members, (std::vector<int>{1, 2}));
    EXPECT_EQ(lib.holidays[1].name, QStringLiteral("C"));
    RemoveFromHolidaySet(lib, 0, 0);
    EXPECT_EQ(lib.sets[0].members, (std::vector<int>{2}));
    RemoveFromHolidaySet(lib, 0, 1); // one past the last member
    EXPECT_EQ(lib.sets[0].members, (std::vector<int>{2}));
    // A set is renamed by its index; an index past the sets renames nothing.
    EXPECT_FALSE(AddToHolidaySet(lib, 1, 0));
    EXPECT_FALSE(AddToHolidaySet(lib, 0, 2));
    EXPECT_FALSE(AddToHolidaySet(lib, 0, -1));
    ASSERT_TRUE(AddHolidaySet(lib, QStringLiteral("R")));
    EXPECT_FALSE(RenameHolidaySet(lib, 1, QStringLiteral("S"))); // the other set's name
    EXPECT_TRUE(RenameHolidaySet(lib, 1, QStringLiteral("R")));  // its own name
    DeleteHolidaySet(lib, 1);
    EXPECT_TRUE(RenameHolidaySet(lib, 0, QStringLiteral("T")));
    EXPECT_FALSE(RenameHolidaySet(lib, 1, QStringLiteral("U")));
    EXPECT_FALSE(RenameHolidaySet(lib, -1, QStringLiteral("U")));
    EXPECT_EQ(lib.sets.size(), 1u);
    EXPECT_EQ(lib.sets[0].name, QStringLiteral("T"));
    // Deleting by an index outside the sets deletes nothing.
    const HolidayLibrary before = lib;
    DeleteHolidaySet(lib, 1);
    DeleteHolidaySet(lib, -1);
    RemoveFromHolidaySet(lib, 1, 0);
    RemoveFromHolidaySet(lib, -1, 0);
    EXPECT_EQ(lib, before);
    DeleteHolidaySet(lib, 0);
    EXPECT_TRUE(lib.sets.empty());
    // holidays by index: outside the list nothing, the first one too
    DeleteHoliday(lib, 2);
    DeleteHoliday(lib, -1);
    ASSERT_EQ(lib.holidays.size(), 2u);
    DeleteHoliday(lib, 0);
    ASSERT_EQ(lib.holidays.size(), 1u);
    EXPECT_EQ(lib.holidays[0].name, QStringLiteral("C"));
}

TEST_F(HolidayEditing, SetAndMemberLimits)
{
    for (int i = 0; i < MaxHolidaySets; ++i)
        ASSERT_TRUE(AddHolidaySet(lib, QString::number(i)));
    EXPECT_FALSE(AddHolidaySet(lib, QStringLiteral("one more")));
    for (int i = 0; i < MaxSetMembers + 1; ++i)
        AddOrChangeHoliday(lib, easter(QByteArray::number(i).constData(), i));
    for (int i = 0; i < MaxSetMembers; ++i)
        ASSERT_TRUE(AddToHolidaySet(lib, 0, i));
    EXPECT_FALSE(AddToHolidaySet(lib, 0, MaxSetMembers));
}

TEST(HolidayTexts, DescribeAndEasterNames)
{
    Model model;
    model.device.Sprache = 2;
    model.catalogue.fill(2, 1, QString(), nullptr);
    EXPECT_EQ(Describe(model, easter("Ascension", 39)), QStringLiteral("39 day(s) after eastern"));
    EXPECT_EQ(easter("Ascension", 39).easterCode(), 121);
    EXPECT_EQ(Describe(model, easter("Good Friday", -2)), QStringLiteral("2 day(s) before eastern"));
    EXPECT_EQ(Describe(model, easter("Easter", 0)), QStringLiteral("eastern"));
    EXPECT_EQ(Describe(model, fixed("May Day", 1, 5)), QStringLiteral("may, 1st"));
    EXPECT_EQ(Describe(model, {QStringLiteral("B"), HolidayFree, -3, 23, 11}),
              QStringLiteral("wednesday before the 23. november"));
    // Months 1..12 are named; a damaged month outside them names none rather than another text.
    EXPECT_EQ(Describe(model, {QStringLiteral("C"), HolidayFree, 1, 1, 1}),
              QStringLiteral("monday after the 1. january"));
    EXPECT_EQ(Describe(model, {QStringLiteral("D"), HolidayFree, -7, 31, 12}),
              QStringLiteral("sunday before the 31. december"));
    for (int month : {0, 13})
        EXPECT_EQ(Describe(model, {QStringLiteral("E"), HolidayFree, 1, 1, month}),
                  QStringLiteral("monday after the 1. "));
    HolidayLibrary lib;
    lib.holidays = {easter("Ascension", 39)};
    EXPECT_EQ(EasterCodeName(model, lib, 121), QStringLiteral("Ascension"));
    EXPECT_EQ(EasterCodeName(model, lib, 83), QStringLiteral("Holiday at eastern + 1"));
    EXPECT_EQ(EasterCodeName(model, lib, 80), QStringLiteral("Holiday at eastern -2"));
    EXPECT_EQ(EasterCodeName(model, lib, 82), QStringLiteral("Holiday at eastern + 0"));
}

struct FreeCase {
    int relation, day, month, year;
    CalendarDate expected;
};

class FreeHolidayDates : public ::testing::TestWithParam<FreeCase> {};

// Before and after are strict: the given day itself never counts.
TEST_P(FreeHolidayDates, StrictlyBeforeOrAfter)
{
    const FreeCase c = GetParam();
    const auto date = HolidayDate({QStringLiteral("x"), HolidayFree, c.relation, c.day, c.month}, c.year);
    ASSERT_TRUE(date);
    EXPECT_EQ(*date, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Holidays, FreeHolidayDates,
                         ::testing::Values(FreeCase{-3, 23, 11, 2027, {17, 11, 2027}},
                                           FreeCase{-3, 23, 11, 2022, {16, 11, 2022}}, // 23rd a Wednesday
                                           FreeCase{1, 30, 4, 2029, {7, 5, 2029}},     // 30 April a Monday
                                           FreeCase{1, 30, 4, 2027, {3, 5, 2027}},
                                           FreeCase{-1, 3, 1, 2027, {28, 12, 2026}},
                                           FreeCase{-1, 2, 1, 2024, {1, 1, 2024}}, // on the year's first day
                                           FreeCase{7, 29, 12, 2030, {5, 1, 2031}}));

// ---- the holiday file ----

TEST(HolidayFile, RoundTripsThroughTheFile)
{
    TempDir dir;
    HolidayLibrary lib;
    AddOrChangeHoliday(lib, fixed("Neujahr", 1, 1));
    AddOrChangeHoliday(lib, easter("Karfreitag", -2));
    AddOrChangeHoliday(lib, {QStringLiteral("Buß- und Bettag"), HolidayFree, -3, 23, 11});
    AddOrChangeHoliday(lib, fixed("Ωmega", 2, 2)); // needs UTF-8
    AddHolidaySet(lib, QStringLiteral("Sachsen, Land"));
    AddToHolidaySet(lib, 0, 2);
    AddToHolidaySet(lib, 0, 0);
    const QString path = dir.file(QStringLiteral("deutsch.hdy"));
    QString error;
    ASSERT_TRUE(SaveHolidays(path, lib, &error)) << error.toStdString();
    HolidayLibrary back;
    ASSERT_TRUE(LoadHolidays(path, back).ok());
    EXPECT_EQ(back, lib);
    EXPECT_EQ(back.sets[0].name, QStringLiteral("Sachsen  Land"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith(" 4  1 \r\nNeujahr, 0  0  1  1 \r\nKarfreitag, 2  0 -2  0 \r\n"));
}

TEST(HolidayFile, DamagedFilesLeaveTheLibraryAsItWas)
{
    HolidayLibrary lib;
    AddOrChangeHoliday(lib, fixed("Keep", 1, 1));
    const HolidayLibrary before = lib;
    // The message names the line where the file stops making sense.
    const struct {
        const char *text;
        const char *line;
    } damaged[] = {
        {"", "1"},                                            // no count line
        {" 2  0 \r\nA, 0 0 1 1\r\n", "3"},                    // fewer holidays than counted
        {" 2  0 \r\nA, 0 0 1 1", "2"},                        // the same, at the very end
        {" 1  0 \r\nA 0 0 1 1\r\n", "2"},                     // no comma after the name
        {" 1  0 \r\nA, 0 0 32 1\r\n", "2"},                   // no such day
        {" 1  0 \r\nA, 1 9 1 1\r\n", "2"},                    // no such weekday
        {" 1  1 \r\nA, 0 0 1 1\r\nS\r\n 1 \r\n 2 \r\n", "5"}, // member beyond the library
        {" 1  1 \r\nA, 0 0 1 1\r\nS\r\n 60 \r\n", "4"},       // too many members
        {" 0  30 \r\n", "1"},                                 // too many sets
        {" 0  -1 \r\n", "1"},                                 // fewer than no sets
        {" -1  0 \r\n", "1"},                                 // fewer than no holidays
        {" 40000  0 \r\nA, 0 0 1 1\r\n", "1"},                // more holidays than a set can number
        {" 1  0 \r\nA, 0 0 x 1\r\n", "2"},                    // no number
    };
    for (const auto &row : damaged) {
        const HolidayFileResult result = ParseHolidays(QByteArray(row.text), lib);
        EXPECT_EQ(result.status, HolidayLoad::Damaged) << row.text;
        EXPECT_EQ(result.error, QLatin1String(row.line)) << row.text;
        EXPECT_EQ(lib, before) << row.text;
    }
    TempDir dir;
    EXPECT_EQ(LoadHolidays(dir.file(QStringLiteral("none.hdy")), lib).status, HolidayLoad::Missing);
    EXPECT_EQ(LoadHolidays(dir.path(), lib).status, HolidayLoad::Unreadable);
    EXPECT_EQ(lib, before);
    // A library of no holidays, its one set empty, is a library all the same.
    ASSERT_TRUE(ParseHolidays(QByteArray(" 0  1 \r\nNone\r\n 0 \r\n"), lib).ok());
    EXPECT_TRUE(lib.holidays.empty());
    ASSERT_EQ(lib.sets.size(), 1u);
    EXPECT_TRUE(lib.sets[0].members.empty());
    // As many holidays as a set member can number.
    QByteArray most(" 32767  0 \r\n");
    for (int i = 0; i < 32767; ++i)
        most += "A, 0 0 1 1\r\n";
    ASSERT_TRUE(ParseHolidays(most, lib).ok());
    EXPECT_EQ(lib.holidays.size(), 32767u);
    // Values separated by commas, LF line ends and a legacy 8-bit name are read too.
    ASSERT_TRUE(ParseHolidays(QByteArray("1,0\nF\xEAte,0,0,14,7\n"), lib).ok());
    EXPECT_EQ(lib.holidays[0].name, QStringLiteral("Fête"));
}

// The holiday dialog's write over a file that did not load asks first and keeps the damaged file.
TEST(HolidayFile, DamagedFileIsKeptBesideTheNewOne)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("deutsch.hdy"));
    const QByteArray damaged(" 2  0 \r\nA, 0 0 1 1\r\nB, 0 0 40 1\r\n");
    dir.write(QStringLiteral("deutsch.hdy"), damaged);
    Model model;
    HolidayLibrary lib;
    AddOrChangeHoliday(lib, fixed("New", 1, 5));
    test::ScriptedPrompter prompter;
    QString error;

    prompter.answers = {Answer::No};
    EXPECT_EQ(SaveHolidaysOverDamaged(model, prompter, path, lib, &error), HolidaySave::Declined);
    EXPECT_EQ(dir.read(QStringLiteral("deutsch.hdy")), damaged);
    EXPECT_FALSE(dir.exists(QStringLiteral("deutsch.hdy.damaged")));

    prompter.answers = {Answer::Yes};
    EXPECT_EQ(SaveHolidaysOverDamaged(model, prompter, path, lib, &error), HolidaySave::Saved)
        << qPrintable(error);
    EXPECT_TRUE(prompter.last().contains(QLatin1String("deutsch.hdy.damaged")));
    EXPECT_EQ(dir.read(QStringLiteral("deutsch.hdy.damaged")), damaged);
    EXPECT_EQ(dir.read(QStringLiteral("deutsch.hdy")), HolidayFileText(lib));

    // a file that loads, or none at all, is written without a question
    const std::size_t asked = prompter.shown.size();
    EXPECT_EQ(SaveHolidaysOverDamaged(model, prompter, path, lib, &error), HolidaySave::Saved);
    EXPECT_EQ(SaveHolidaysOverDamaged(model, prompter, dir.file(QStringLiteral("new.hdy")), lib, &error),
              HolidaySave::Saved);
    EXPECT_EQ(prompter.shown.size(), asked);
    // one that cannot be read is never replaced
    EXPECT_EQ(SaveHolidaysOverDamaged(model, prompter, dir.path(), lib, &error), HolidaySave::Failed);
}

// A holiday file with `holidays` distinct fixed days and one set of the first `members` of them.
QByteArray FileWithOneSet(int holidays, int members)
{
    QByteArray text = " " + QByteArray::number(holidays) + "  1 \r\n";
    for (int n = 0; n < holidays; ++n)
        text += "H, 0  0 " + QByteArray::number(n % 28 + 1) + " " + QByteArray::number(n / 28 + 1) + " \r\n";
    text += "S\r\n " + QByteArray::number(members) + " \r\n";
    for (int m = 1; m <= members; ++m)
        text += " " + QByteArray::number(m) + " \r\n";
    return text;
}

TEST(HolidayFile, ASetHoldsUpToFiftyNineHolidays)
{
    HolidayLibrary lib;
    ASSERT_TRUE(ParseHolidays(FileWithOneSet(MaxSetMembers, MaxSetMembers), lib).ok());
    EXPECT_EQ(lib.sets.at(0).members.size(), std::size_t(MaxSetMembers));
    EXPECT_EQ(ParseHolidays(FileWithOneSet(MaxSetMembers + 1, MaxSetMembers + 1), lib).status,
              HolidayLoad::Damaged);
    ASSERT_TRUE(ParseHolidays(FileWithOneSet(1, 0), lib).ok());
    EXPECT_TRUE(lib.sets.at(0).members.empty());
}

// ---- the values a holiday can take ----

struct HolidayValues {
    const char *what;
    Holiday holiday;
    bool valid;
};

void PrintTo(const HolidayValues &c, std::ostream *os)
{
    *os << c.what;
}

class HolidayRanges : public ::testing::TestWithParam<HolidayValues> {};

TEST_P(HolidayRanges, AcceptUpToTheEdge)
{
    EXPECT_EQ(IsValidHoliday(GetParam().holiday), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, HolidayRanges,
    ::testing::Values(
        HolidayValues{"fixed 1 January", {{}, HolidayFixed, 0, 1, 1}, true},
        HolidayValues{"fixed 31 December", {{}, HolidayFixed, 0, 31, 12}, true},
        HolidayValues{"fixed 29 February", {{}, HolidayFixed, 0, 29, 2}, true},
        HolidayValues{"fixed 30 February", {{}, HolidayFixed, 0, 30, 2}, false},
        HolidayValues{"fixed day 0", {{}, HolidayFixed, 0, 0, 1}, false},
        HolidayValues{"fixed month 0", {{}, HolidayFixed, 0, 1, 0}, false},
        HolidayValues{"fixed month 13", {{}, HolidayFixed, 0, 1, 13}, false},
        HolidayValues{"fixed with a weekday", {{}, HolidayFixed, 1, 1, 1}, false},
        HolidayValues{"free Sunday before", {{}, HolidayFree, -7, 1, 1}, true},
        HolidayValues{"free Monday after", {{}, HolidayFree, 1, 1, 1}, true},
        HolidayValues{"free Sunday after", {{}, HolidayFree, 7, 31, 12}, true},
        HolidayValues{"free without weekday", {{}, HolidayFree, 0, 1, 1}, false},
        HolidayValues{"free weekday -8", {{}, HolidayFree, -8, 1, 1}, false},
        HolidayValues{"free weekday 8", {{}, HolidayFree, 8, 1, 1}, false},
        HolidayValues{"free day 32", {{}, HolidayFree, 1, 32, 1}, false},
        HolidayValues{"Easter Sunday", {{}, HolidayEaster, 0, 0, 0}, true},
        HolidayValues{"Easter earliest", {{}, HolidayEaster, 0, EasterCodeMin - EasterCodeBase, 0}, true},
        HolidayValues{"Easter latest", {{}, HolidayEaster, 0, EasterCodeMax - EasterCodeBase, 0}, true},
        HolidayValues{
            "Easter too early", {{}, HolidayEaster, 0, EasterCodeMin - EasterCodeBase - 1, 0}, false},
        HolidayValues{
            "Easter too late", {{}, HolidayEaster, 0, EasterCodeMax - EasterCodeBase + 1, 0}, false},
        HolidayValues{"Easter with a month", {{}, HolidayEaster, 0, 1, 1}, false},
        HolidayValues{"Easter with a weekday", {{}, HolidayEaster, 1, 1, 0}, false},
        HolidayValues{"unknown kind", {{}, 3, 0, 1, 1}, false}));

// ---- the shipped holiday files against the real calendars ----

struct ShippedCase {
    const char *file;
    const char *set;
    int year;
    std::vector<const char *> dates; // ISO dates of the set's holidays
};

class ShippedHolidays : public ::testing::TestWithParam<ShippedCase> {};

TEST_P(ShippedHolidays, MatchRealCalendar)
{
    const ShippedCase c = GetParam();
    HolidayLibrary lib;
    ASSERT_TRUE(LoadHolidays(QDir(QStringLiteral(ZX_SOURCE_DATA)).filePath(QLatin1String(c.file)), lib).ok());
    const HolidaySet *set = nullptr;
    for (const HolidaySet &s : lib.sets)
        if (s.name == QString::fromUtf8(c.set))
            set = &s;
    ASSERT_TRUE(set) << c.set;
    std::vector<QString> got;
    for (int m : set->members) {
        const auto d = HolidayDate(lib.holidays[m - 1], c.year);
        ASSERT_TRUE(d);
        got.push_back(QDate(d->year, d->month, d->day).toString(Qt::ISODate));
    }
    std::sort(got.begin(), got.end());
    std::vector<QString> expected;
    for (const char *d : c.dates)
        expected.push_back(QString::fromLatin1(d));
    EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Holidays, ShippedHolidays,
    ::testing::Values(ShippedCase{"deutsch.hdy",
                                  "Sachsen",
                                  2027,
                                  {"2027-01-01", "2027-03-26", "2027-03-29", "2027-05-01", "2027-05-06",
                                   "2027-05-17", "2027-10-03", "2027-10-31", "2027-11-17", "2027-12-25",
                                   "2027-12-26"}},
                      ShippedCase{"deutsch.hdy",
                                  "Bayern",
                                  2030,
                                  {"2030-01-01", "2030-01-06", "2030-04-19", "2030-04-22", "2030-05-01",
                                   "2030-05-30", "2030-06-10", "2030-06-20", "2030-08-15", "2030-10-03",
                                   "2030-11-01", "2030-12-25", "2030-12-26"}},
                      ShippedCase{"english.hdy",
                                  "England and Wales",
                                  2030,
                                  {"2030-01-01", "2030-04-19", "2030-04-22", "2030-05-06", "2030-05-27",
                                   "2030-08-26", "2030-12-25", "2030-12-26"}},
                      ShippedCase{"english.hdy",
                                  "Scotland",
                                  2027,
                                  {"2027-01-01", "2027-01-02", "2027-03-26", "2027-05-03", "2027-05-31",
                                   "2027-08-02", "2027-11-30", "2027-12-25", "2027-12-26"}},
                      ShippedCase{"france.hdy",
                                  "Alsace-Moselle",
                                  2027,
                                  {"2027-01-01", "2027-03-26", "2027-03-29", "2027-05-01", "2027-05-06",
                                   "2027-05-08", "2027-05-17", "2027-07-14", "2027-08-15", "2027-11-01",
                                   "2027-11-11", "2027-12-25", "2027-12-26"}}));

// The chosen holiday file is remembered in the working directory; a choice that names nothing
// there, or something outside it, falls back to the language's file.
TEST(HolidayFile, ChosenFileIsRememberedAndOnlyInTheWorkingDirectory)
{
    TempDir dir;
    Model model;
    const QString own = dir.file(QStringLiteral("english.hdy"));
    EXPECT_EQ(HolidayFilePath(model, dir.path()), own);
    HolidayLibrary french;
    french.holidays = {fixed("Armistice", 11, 11)};
    ASSERT_TRUE(SaveHolidays(dir.file(QStringLiteral("france.hdy")), french, nullptr));
    model.holidays.freeYears = 6;
    EXPECT_EQ(SwitchHolidayFile(model, dir.path(), QStringLiteral("missing.hdy")).status,
              HolidayLoad::Missing);
    EXPECT_EQ(HolidayFilePath(model, dir.path()), own);
    ASSERT_TRUE(SwitchHolidayFile(model, dir.path(), QStringLiteral("france.hdy")).ok());
    EXPECT_EQ(model.holidays.holidays, french.holidays);
    EXPECT_EQ(model.holidays.freeYears, 6);
    EXPECT_EQ(HolidayFilePath(model, dir.path()), dir.file(QStringLiteral("france.hdy")));
    for (const char *choice : {"HDY=../france.hdy\r\n", "HDY=gone.hdy\r\n", "HDY=zentrix.ini\r\n"}) {
        dir.write(QStringLiteral("holidayfile.ini"), QByteArray(choice));
        EXPECT_EQ(HolidayFilePath(model, dir.path()), own) << choice;
    }
    dir.write(QStringLiteral("english.hdy"), HolidayFileText(HolidayLibrary{}));
    ASSERT_TRUE(SwitchHolidayFile(model, dir.path(), QStringLiteral("english.hdy")).ok());
    EXPECT_FALSE(dir.exists(QStringLiteral("holidayfile.ini")));
}

} // namespace
