#include "app/ProgramComparison.h"

#include "app/ComparisonTexts.h"
#include "model/DeviceCodes.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "support/RandomPrograms.h"
#include "support/SamplePrograms.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace zx;
using namespace zx::test;

namespace {

ProgramRecord R(int v)
{
    return weeklyTime(6, 0, 1, v, 1);
}

std::vector<ProgramRecord> Rs(std::initializer_list<int> values)
{
    std::vector<ProgramRecord> out;
    for (int v : values)
        out.push_back(R(v));
    return out;
}

struct MatchCase {
    const char *name;
    std::vector<ProgramRecord> a, b;
    std::vector<int> onlyA, onlyB;
    std::vector<std::pair<int, int>> changed;
};

class MatchRecordsTable : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchRecordsTable, PairsByPlaceBetweenEqualNeighbours)
{
    const MatchCase &c = GetParam();
    const RecordMatch m = MatchRecords(c.a, c.b);
    EXPECT_EQ(m.onlyA, c.onlyA);
    EXPECT_EQ(m.onlyB, c.onlyB);
    EXPECT_EQ(m.changed, c.changed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchRecordsTable,
    ::testing::Values(
        MatchCase{"same", Rs({1, 2, 3}), Rs({1, 2, 3}), {}, {}, {}},
        MatchCase{"oneChanged", Rs({1, 2, 3}), Rs({1, 5, 3}), {}, {}, {{1, 1}}},
        MatchCase{"inserted", Rs({1, 3}), Rs({1, 2, 3}), {}, {1}, {}},
        MatchCase{"deletedAtEnd", Rs({1, 2, 3}), Rs({1, 2}), {2}, {}, {}},
        // 4 stands between 1 and 2, 5 after 3: not the same place.
        MatchCase{"differentGaps", Rs({1, 4, 2, 3}), Rs({1, 2, 3, 5}), {1}, {3}, {}},
        MatchCase{"duplicatesCountTwice", Rs({1, 1, 2}), Rs({1, 2}), {1}, {}, {}},
        MatchCase{"allDifferent", Rs({1, 2}), Rs({3, 4, 5}), {}, {2}, {{0, 0}, {1, 1}}},
        MatchCase{"empty", {}, Rs({1}), {}, {0}, {}},
        // A record unlike everything at its place is no change of another.
        MatchCase{"unlike", {weeklyTime(6, 0, 1, 1, 1)}, {datedTime(9, 30, 2, 3, 4, 0)}, {0}, {0}, {}}),
    [](const auto &info) { return std::string(info.param.name); });

// A record is the same entry changed when at least three of its five value bytes agree, whichever
// three they are; with two it is another entry.
TEST(MatchRecords, ThreeOfFiveValueBytesMakeAChange)
{
    using Byte = std::uint8_t ProgramRecord::*;
    const Byte bytes[5] = {&ProgramRecord::b0, &ProgramRecord::b1, &ProgramRecord::b3, &ProgramRecord::b4,
                           &ProgramRecord::b5};
    const ProgramRecord x{10, 20, 0, 30, 40, 50};
    for (int k = 0; k < 5; ++k) {
        for (int agree : {2, 3}) {
            SCOPED_TRACE(testing::Message() << "from byte " << k << ", " << agree << " agree");
            ProgramRecord y = x;
            for (int n = agree; n < 5; ++n) // the bytes after the `agree` ones from byte k on differ
                ++(y.*bytes[(k + n) % 5]);
            const RecordMatch m = MatchRecords({x}, {y});
            if (agree == 3) {
                EXPECT_EQ(m.changed, (std::vector<std::pair<int, int>>{{0, 0}}));
            } else {
                EXPECT_TRUE(m.changed.empty());
                EXPECT_EQ(m.onlyA, std::vector<int>{0});
            }
        }
    }
}

class CompareProgramsTest : public ::testing::Test {
  protected:
    Model a, b;
    void SetUp() override
    {
        a.device.Kanalzahl = 4;
        a.appendRecord(SetProgram, weeklyTime(6, 30, 31, 1));
        a.appendRecord(SetProgram, weeklyTime(7, 0, 31, 2));
        a.appendRecord(SetProgram, priorityTime(1, 8, 31, 8, 3, 1));
        SortRecords(a, DisplayOrder, SetProgram);
        b = a;
    }
};

TEST_F(CompareProgramsTest, ReportsRowsGroupsAndSettingsInTheListsTerms)
{
    b.program().Records[0].b4 = 3; // 06:30 now on channels 1 and 2
    b.appendRecord(SetProgram, datedTime(12, 0, 24, 12, 4));
    b.device.SwRegel = 1;
    b.program().ChannelNames[0] = QStringLiteral("light");
    SortRecords(b, DisplayOrder, SetProgram);
    a.FilterOn = -1; // the editor's filter does not hide differences
    a.filter.FilterChannels = 0;

    const ProgramDifferences d = ComparePrograms(a, b);
    ASSERT_FALSE(d.equal());
    const ListDifference &sz = d.lists[ListSwitching];
    EXPECT_EQ(sz.header.value(1).trimmed(), "date/days");
    ASSERT_EQ(sz.changed.size(), 1u);
    EXPECT_EQ(sz.changed[0].first.value(3).trimmed(), "C1");
    EXPECT_EQ(sz.changed[0].second.value(3).trimmed(), "C1 C2");
    ASSERT_EQ(sz.onlyB.size(), 1u);
    EXPECT_TRUE(sz.onlyB[0].value(2).contains(QStringLiteral("12:00")));
    EXPECT_TRUE(sz.onlyA.empty());
    EXPECT_TRUE(d.lists[ListPriority].empty());

    QStringList names;
    for (const SettingDifference &s : d.settings)
        names << s.name + QLatin1Char('=') + s.a + QLatin1Char('/') + s.b;
    EXPECT_EQ(names, QStringList({"summer/winter rule=0/1", "name of channel 1=/light"}));

    // Against a device there are no texts to compare.
    CompareOptions device;
    device.texts = false;
    EXPECT_EQ(ComparePrograms(a, b, device).settings.size(), 1u);
    EXPECT_TRUE(ComparePrograms(a, a).equal());
}

TEST_F(CompareProgramsTest, ChangeoverEntriesCompareByPlace)
{
    a.program().DstCount = 2;
    a.program().DstTable[0] = {3, 31, 10, 27};
    a.program().DstTable[1] = {3, 30, 10, 26};
    b = a;
    b.program().DstTable[1] = {3, 29, 10, 25};
    b.program().DstTable[2] = {3, 28, 10, 24};
    b.program().DstCount = 3;
    const ListDifference d = ComparePrograms(a, b).lists[ListChangeover];
    EXPECT_EQ(d.changed.size(), 1u);
    EXPECT_EQ(d.onlyB.size(), 1u);
    EXPECT_TRUE(d.onlyA.empty());
    EXPECT_EQ(d.changed[0].first.value(0), "2");
}

// The astro list compares day by day; only an astro device with computed times has the list, so
// the table an annual device still holds is no difference.
TEST(CompareAstroTimes, DayByDayOnlyWhereTheListExists)
{
    Model a;
    fillFullAstro(a);
    Model b = a;
    b.astro.AstroTable[10][1] += 1;
    b.astro.AstroTable[365][0] += 1; // 31 December of a leap year
    CompareOptions leapYear;
    leapYear.list.year = 2028;
    ListDifference d = ComparePrograms(a, b, leapYear).lists[ListAstro];
    ASSERT_EQ(d.changed.size(), 2u);
    EXPECT_NE(d.changed[0].first, d.changed[0].second);
    EXPECT_TRUE(d.onlyA.empty());
    EXPECT_TRUE(d.onlyB.empty());
    // A common year's list has no row for the table's 366th day, but the file holds it.
    CompareOptions commonYear;
    commonYear.list.year = 2027;
    d = ComparePrograms(a, b, commonYear).lists[ListAstro];
    ASSERT_EQ(d.changed.size(), 2u);
    EXPECT_EQ(d.changed[1].first.value(0), QStringLiteral("366"));

    b = a;
    b.astro.AstroPresent = 0;
    d = ComparePrograms(a, b, leapYear).lists[ListAstro];
    EXPECT_EQ(d.onlyA.size(), std::size_t(AstroDays));
    EXPECT_TRUE(d.changed.empty());
    d = ComparePrograms(b, a, leapYear).lists[ListAstro];
    EXPECT_EQ(d.onlyB.size(), std::size_t(AstroDays));
    EXPECT_TRUE(d.onlyA.empty());

    for (Model *annual : {&a, &b}) {
        *annual = Model();
        fillFullAstro(*annual);
        annual->device.Uhrentyp = TypeAnnual;
    }
    b.astro.AstroTable[10][1] += 1;
    EXPECT_TRUE(ComparePrograms(a, b, leapYear).lists[ListAstro].empty());
}

// A file compared with the program comes in whole, texts included, whichever device type it is for.
TEST(LoadForComparison, TakesTheTextsAndTheFilesDeviceType)
{
    TempDir dir;
    ScriptedPrompter prompter;
    const FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(14, 7))};
    Model saved;
    saved.device.Kanalzahl = 4;
    saved.appendRecord(SetProgram, weeklyTime(6, 30, 31, 1));
    saved.program().UsageText = QStringLiteral("hall");
    saved.program().ChannelNames[1] = QStringLiteral("stairs");
    saved.program().FileName = dir.file("a.zxp");
    ASSERT_TRUE(SaveProgram(saved, prompter, clock));
    Model astro;
    fillFullAstro(astro);
    astro.program().UsageText = QStringLiteral("roof");
    astro.program().FileName = dir.file("b.zxp");
    ASSERT_TRUE(SaveProgram(astro, prompter, clock));

    Model m;
    ASSERT_EQ(LoadForComparison(m, prompter, dir.file("a.zxp")), LoadResult::Loaded);
    EXPECT_TRUE(ComparePrograms(saved, m).settings.empty());
    EXPECT_EQ(m.program().UsageText, QStringLiteral("hall"));
    EXPECT_EQ(m.program().ChannelNames[1].trimmed(), QStringLiteral("stairs"));
    ASSERT_EQ(LoadForComparison(m, prompter, dir.file("b.zxp")), LoadResult::Loaded);
    EXPECT_EQ(m.device.Uhrentyp, TypeAstro);
    EXPECT_EQ(m.device.RecordCapacity, CapacityAstro);
    EXPECT_EQ(m.astro.AstroTable, astro.astro.AstroTable);
    EXPECT_EQ(m.program().UsageText, QStringLiteral("roof"));
    ASSERT_EQ(LoadForComparison(m, prompter, dir.file("a.zxp")), LoadResult::Loaded);
    EXPECT_EQ(m.device.RecordCapacity, CapacityAnnual);
}

struct StepCase {
    const char *name;
    std::function<void(Model &)> edit;
    int sprache;
    const char *expected;
    std::function<void(Model &)> common = nullptr; // applied to both programs first
};

class StepNames : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepNames, SayWhatTheStepDid)
{
    Model before;
    before.device.Kanalzahl = 4;
    for (int h = 5; h < 10; ++h)
        before.appendRecord(SetProgram, weeklyTime(h, 0, 31, 1));
    before.appendRecord(SetProgram, priorityTime(1, 8, 31, 8, 3, 1));
    SortRecords(before, DisplayOrder, SetProgram);
    before.device.Sprache = GetParam().sprache;
    if (GetParam().common)
        GetParam().common(before);
    Model after = before;
    GetParam().edit(after);
    EXPECT_EQ(StepName(before, after), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StepNames,
    ::testing::Values(
        StepCase{"delete3",
                 [](Model &m) {
                     m.removeRecords(SetProgram, {0, 1, 2});
                 },
                 2, "delete 3 switching times"},
        StepCase{"add1Priority", [](Model &m) { m.appendRecord(SetProgram, priorityTime(1, 1, 2, 2, 4, 1)); },
                 2, "add 1 priority time"},
        // A changed time that moves to the end of the list is still one change.
        StepCase{"changeMoved", [](Model &m) { m.program().Records[0] = weeklyTime(23, 0, 31, 1); }, 2,
                 "change 1 switching time"},
        StepCase{"germanDelete", [](Model &m) { m.removeRecords(SetProgram, {0}); }, 1,
                 "1 Schaltzeit löschen"},
        // A time replaced by one unlike it is a change when nothing else came or went ...
        StepCase{"replacedByUnlike", [](Model &m) { m.program().Records[0] = datedTime(23, 59, 24, 12, 8); },
                 2, "change 1 switching time"},
        // ... but not when more came than went.
        StepCase{"addTwoDeleteOne",
                 [](Model &m) {
                     m.removeRecords(SetProgram, {0});
                     m.appendRecord(SetProgram, datedTime(23, 59, 24, 12, 8));
                     m.appendRecord(SetProgram, datedTime(22, 58, 25, 11, 4));
                 },
                 2, "add 2 switching times, delete 1 switching time"},
        StepCase{"settings", [](Model &m) { m.device.Kanalzahl = 2; }, 2, "change device settings"},
        StepCase{"texts", [](Model &m) { m.program().UsageText = QStringLiteral("x"); }, 3,
                 "modifier les textes"},
        StepCase{"changeover",
                 [](Model &m) {
                     m.program().DstCount = 1;
                     m.program().DstTable[0] = {3, 1, 10, 1};
                 },
                 2, "change changeover table"},
        // The year the changeover table starts with belongs to the table.
        StepCase{"changeoverStart", [](Model &m) { m.program().DstFirstYear = 31; }, 2,
                 "change changeover table",
                 [](Model &m) {
                     m.program().DstCount = 1;
                     m.program().DstTable[0] = {3, 1, 10, 1};
                     m.program().DstFirstYear = 30;
                 }},
        // The place and offsets of an astro device are astro times, apart from the device settings ...
        StepCase{"astro",
                 [](Model &m) {
                     m.device.Uhrentyp = TypeAstro;
                     m.astro.AstroMinute = 5;
                 },
                 2, "change astro times, change device settings"},
        // ... and more than two kinds of change are one change of the program.
        StepCase{"threeKinds",
                 [](Model &m) {
                     m.removeRecords(SetProgram, {0});
                     m.device.Kanalzahl = 2;
                     m.program().UsageText = QStringLiteral("x");
                 },
                 2, "change program"}),
    [](const auto &info) { return std::string(info.param.name); });

// Settings that mean something only on some devices differ only there: the first changeover year
// without entries on both sides, the master-card options of program cards, the meter values without
// a meter channel and the astro data of an annual device are leftovers, not differences.
struct SettingCase {
    const char *name;
    std::function<void(Model &)> editA, editB;
    std::vector<CompareText> expected;
};

class SettingsThatCount : public ::testing::TestWithParam<SettingCase> {};

TEST_P(SettingsThatCount, AreTheOnlyOnesCompared)
{
    Model a, b;
    GetParam().editA(a);
    GetParam().editB(b);
    // Which side holds the condition does not matter.
    for (const auto &[first, second] : {std::pair{&a, &b}, std::pair{&b, &a}}) {
        std::vector<CompareText> found;
        for (const SettingDifference &s : ComparePrograms(*first, *second).settings)
            found.push_back(s.what);
        EXPECT_EQ(found, GetParam().expected);
    }
}

auto changeover(int count, int firstYear)
{
    return [=](Model &m) {
        m.program().DstCount = count;
        m.program().DstFirstYear = firstYear;
        for (int i = 0; i < count; ++i)
            m.program().DstTable[i] = {3, 25 + i, 10, 25 + i};
    };
}
auto device(int code, int masterOptions, int meterChannel, int meterPeriod)
{
    return [=](Model &m) {
        m.device.DeviceCode = code;
        m.device.MasterCardOptions = masterOptions;
        m.device.MessKanal = meterChannel;
        m.device.MessPeriode = meterPeriod;
    };
}
auto astro(int type, float longitude)
{
    return [=](Model &m) {
        m.device.Uhrentyp = type;
        m.astro.Longitude = longitude;
    };
}
const int Master = DeviceCodeAnnual | MasterCardBit;
using C = CompareText;

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsThatCount,
    ::testing::Values(
        SettingCase{"firstYearBothWithChangeover", changeover(2, 4), changeover(2, 5), {C::SetFirstYear}},
        SettingCase{"firstYearOnlyOneWithChangeover", changeover(2, 4), changeover(0, 5), {}},
        // the same entries once or twice a year are other summer times
        SettingCase{"twiceAYear", changeover(1, 4), changeover(1, 4 + 64), {C::SetEntriesPerYear}},
        SettingCase{
            "optionBit0", [](Model &) {}, [](Model &m) { m.options.OptionBit0 = 0; }, {C::SetOptionBit0}},
        SettingCase{"masterOptionsOnProgramCards",
                    device(DeviceCodeAnnual, 255, 0, 1),
                    device(DeviceCodeAnnual, 3, 0, 1),
                    {}},
        SettingCase{"masterOptionsOneMaster",
                    device(Master, 255, 0, 1),
                    device(DeviceCodeAnnual, 3, 0, 1),
                    {C::SetDeviceCode, C::SetMasterOptions}},
        SettingCase{"meterValuesWithoutChannel",
                    device(DeviceCodeAnnual, 0, 0, 1),
                    device(DeviceCodeAnnual, 0, 0, 9),
                    {}},
        SettingCase{"meterValuesOneWithChannel",
                    device(DeviceCodeAnnual, 0, 2, 1),
                    device(DeviceCodeAnnual, 0, 0, 9),
                    {C::SetMeterChannel, C::SetMeterPeriod}},
        SettingCase{"astroOfAnnualDevices", astro(TypeAnnual, 7), astro(TypeAnnual, 8), {}},
        SettingCase{"astroOneDevice",
                    astro(TypeAstro, 7),
                    astro(TypeAnnual, 8),
                    {C::SetDeviceType, C::SetLongitude}}),
    [](const auto &info) { return std::string(info.param.name); });

// The message after a verified write holds a screenful: thirty lines, then how many more there are.
TEST(VerifyResult, ShowsThirtyLinesAndCountsTheRest)
{
    for (const int added : {27, 28}) {
        Model program;
        program.device.Kanalzahl = 4;
        Model readBack = program;
        for (int i = 0; i < added; ++i)
            readBack.appendRecord(SetProgram, weeklyTime(i % 24, i, 31, 1));
        bool same = true;
        const QString text = VerifyResultText(program, readBack, ListOptions{}, &same);
        EXPECT_FALSE(same);
        // list title, header, "only in", one line per time
        const int lines = 3 + added;
        EXPECT_EQ(text.count(QStringLiteral("\n  + ")), std::min(lines, 30) - 3) << added;
        EXPECT_EQ(text.contains(QStringLiteral("... (+1)")), lines > 30) << added;
        EXPECT_FALSE(text.contains(QStringLiteral("... (+0)")));
    }
    bool same = false;
    EXPECT_EQ(VerifyResultText(Model(), Model(), ListOptions{}, &same),
              compareText(CompareText::WrittenVerified, 2));
    EXPECT_TRUE(same);
    // the device keeps no texts: a read-back without them is the program written
    Model named;
    named.program().UsageText = QStringLiteral("Hall");
    named.program().ChannelNames[0] = QStringLiteral("Pump");
    same = false;
    EXPECT_EQ(VerifyResultText(named, Model(), ListOptions{}, &same),
              compareText(CompareText::WrittenVerified, 2));
    EXPECT_TRUE(same);
}

TEST(ComparisonTexts, EveryTextExistsInEveryLanguage)
{
    for (int id = 0; id < static_cast<int>(CompareText::Count); ++id) {
        for (int sprache : {1, 2, 3}) {
            EXPECT_FALSE(compareText(static_cast<CompareText>(id), sprache).isEmpty())
                << "text " << id << " language " << sprache;
        }
    }
    EXPECT_EQ(compareCountText(CompareText::AddSwitching, 1, 2), "add 1 switching time");
    EXPECT_EQ(compareCountText(CompareText::AddSwitching, 4, 1), "4 Schaltzeiten eintragen");
}

} // namespace
