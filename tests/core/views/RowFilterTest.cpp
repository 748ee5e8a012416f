#include "views/RowFilter.h"

#include "entry/PriorityEntry.h"
#include "entry/SwitchingEntry.h"
#include "model/Model.h"
#include "support/SamplePrograms.h"
#include "views/ListFormatter.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

#include <functional>

using namespace zx;
using namespace zx::test;

namespace {

constexpr int Mon = 1, Tue = 2, Sat = 32, Sun = 64;

struct FilterCase {
    const char *name;
    ProgramRecord record;
    std::function<void(ListFilter &)> conditions;
    bool passes;
};

class RowFilterConventional : public ::testing::TestWithParam<FilterCase> {};

TEST_P(RowFilterConventional, RowPassesAsTheConditionsSay)
{
    Model model;
    model.device.Kanalzahl = 4;
    model.FilterOn = -1;
    GetParam().conditions(model.filter);
    EXPECT_EQ(views::RowPassesFilter(model, GetParam().record), GetParam().passes);
}

const FilterCase conventionalCases[] = {
    {"UntouchedFilterPassesEverything", datedTime(6, 0, 3, 5, 1, 0, 0, 5), [](ListFilter &) {}, true},
    {"OnlyWeeklyHidesDated", datedTime(6, 0, 3, 5, 1), [](ListFilter &f) { f.FilterFromMonth = 0; }, false},
    {"OnlyWeeklyKeepsWeekly", weeklyTime(6, 0, Mon, 1), [](ListFilter &f) { f.FilterFromMonth = 0; }, true},
    {"DatedOutsideMonths", datedTime(6, 0, 3, 5, 1),
     [](ListFilter &f) { f.FilterFromMonth = 6, f.FilterToMonth = 8; }, false},
    {"DatedInsideMonths", datedTime(6, 0, 3, 7, 1),
     [](ListFilter &f) { f.FilterFromMonth = 6, f.FilterToMonth = 8; }, true},
    {"MondayHiddenByWeekend", weeklyTime(6, 0, Mon, 1), [](ListFilter &f) { f.FilterWeekdays = Sat | Sun; },
     false},
    {"MondayShownByMondayTuesday", weeklyTime(6, 0, Mon, 1),
     [](ListFilter &f) { f.FilterWeekdays = Mon | Tue; }, true},
    {"ChannelTwoShowsChannelsOneAndTwo", weeklyTime(6, 0, Mon, 1 | 2),
     [](ListFilter &f) { f.FilterChannels = 2; }, true},
    {"ChannelTwoHidesChannelOne", weeklyTime(6, 0, Mon, 1), [](ListFilter &f) { f.FilterChannels = 2; },
     false},
    {"OnlyPulsesOnHidesOffPulse", weeklyTime(6, 0, Mon, 1, 0, 0, 5),
     [](ListFilter &f) { f.FilterPulses = 1, f.FilterState = 1; }, false},
    {"OnlyPulsesOnHidesOnNonPulse", weeklyTime(6, 0, Mon, 1, 1, 0, 0),
     [](ListFilter &f) { f.FilterPulses = 1, f.FilterState = 1; }, false},
    {"OnlyPulsesOnShowsOnPulse", weeklyTime(6, 0, Mon, 1, 1, 0, 5),
     [](ListFilter &f) { f.FilterPulses = 1, f.FilterState = 1; }, true},
    {"NoPulsesHidesPulse", datedTime(6, 0, 3, 5, 1, 1, 0, 5), [](ListFilter &f) { f.FilterPulses = 0; },
     false},
    {"StateOffHidesOn", weeklyTime(6, 0, Mon, 1, 1), [](ListFilter &f) { f.FilterState = 0; }, false},
    {"ProgramOutsideRange", weeklyTime(6, 0, Mon, 1, 1, 5),
     [](ListFilter &f) { f.FilterFromProgram = 1, f.FilterToProgram = 4; }, false},
    {"ProgramInsideRange", weeklyTime(6, 0, Mon, 1, 1, 4),
     [](ListFilter &f) { f.FilterFromProgram = 1, f.FilterToProgram = 4; }, true},
    {"PriorityOverNewYearHiddenByMarchToOctober", priorityTime(1, 11, 28, 2, 3, 1),
     [](ListFilter &f) { f.FilterFromMonth = 3, f.FilterToMonth = 10; }, false},
    {"PriorityOverNewYearShownByJanuaryToMarch", priorityTime(1, 11, 28, 2, 3, 1),
     [](ListFilter &f) { f.FilterFromMonth = 1, f.FilterToMonth = 3; }, true},
    {"PriorityBeforeMonths", priorityTime(1, 1, 28, 2, 3, 1),
     [](ListFilter &f) { f.FilterFromMonth = 3, f.FilterToMonth = 10; }, false},
    {"PriorityOverlappingMonths", priorityTime(1, 2, 30, 4, 3, 1),
     [](ListFilter &f) { f.FilterFromMonth = 3, f.FilterToMonth = 10; }, true},
    // a range that touches the filter's first or last month is shown
    {"PriorityEndingInTheFirstMonth", priorityTime(1, 1, 15, 3, 3, 1),
     [](ListFilter &f) { f.FilterFromMonth = 3, f.FilterToMonth = 10; }, true},
    {"PriorityStartingInTheFirstMonth", priorityTime(1, 3, 15, 3, 3, 1),
     [](ListFilter &f) { f.FilterFromMonth = 3, f.FilterToMonth = 10; }, true},
    {"PriorityStartingInTheLastMonth", priorityTime(1, 10, 30, 12, 3, 1),
     [](ListFilter &f) { f.FilterFromMonth = 3, f.FilterToMonth = 10; }, true},
    {"PriorityOverNewYearEndingInTheLastMonth", priorityTime(1, 11, 15, 10, 3, 1),
     [](ListFilter &f) { f.FilterFromMonth = 3, f.FilterToMonth = 10; }, true},
    {"PriorityOverNewYearEndingInTheFirstMonth", priorityTime(1, 11, 15, 3, 3, 1),
     [](ListFilter &f) { f.FilterFromMonth = 3, f.FilterToMonth = 10; }, true},
    {"PriorityOverNewYearStartingInTheLastMonth", priorityTime(1, 10, 15, 2, 3, 1),
     [](ListFilter &f) { f.FilterFromMonth = 3, f.FilterToMonth = 10; }, true},
    {"PriorityAfterMonths", priorityTime(1, 11, 30, 12, 3, 1),
     [](ListFilter &f) { f.FilterFromMonth = 3, f.FilterToMonth = 10; }, false},
    {"PriorityOtherChannel", priorityTime(1, 2, 30, 4, 3, 1), [](ListFilter &f) { f.FilterChannels = 2; },
     false},
    {"PermanentOutsidePriorityRange", priorityTime(1, 2, 30, 4, 10, 1),
     [](ListFilter &f) { f.FilterFromProgram = 1, f.FilterToProgram = 9; }, false},
    {"EasterHolidayPassesAnyMonths", easterPriority(1, 3, 1),
     [](ListFilter &f) { f.FilterFromMonth = 11, f.FilterToMonth = 12; }, true},
};

INSTANTIATE_TEST_SUITE_P(Cases, RowFilterConventional, ::testing::ValuesIn(conventionalCases),
                         [](const auto &info) { return std::string(info.param.name); });

// A bus record holds one channel number: the filter compares with that channel's own bit.
TEST(RowFilterBus, ComparesChannelBitAndValue)
{
    Model model;
    model.device.BusDevice = 1;
    model.FilterOn = -1;
    SwitchingEntryValues e;
    e.kind = EntryKind::Weekly;
    e.weekdayMask = Mon;
    e.busChannel = 3;
    e.value = 100;
    const ProgramRecord r = EncodeSwitchingTime(e, 1);

    model.filter.FilterChannels = 4; // channel 3
    EXPECT_TRUE(views::RowPassesFilter(model, r));
    model.filter.FilterChannels = 3; // channels 1 and 2: the number 3 as a pattern would match
    EXPECT_FALSE(views::RowPassesFilter(model, r));

    model.filter.FilterChannels = 255;
    const struct {
        int state, value;
        bool passes;
    } values[] = {{0, 100, true}, {0, 99, false},  {1, 100, true},
                  {1, 99, false}, {2, 101, false}, {2, 100, true}};
    for (const auto &v : values) {
        model.filter.FilterState = v.state;
        model.filter.FilterValue = v.value;
        EXPECT_EQ(views::RowPassesFilter(model, r), v.passes) << v.state << " " << v.value;
    }
}

// A bus Easter priority time keeps its channel in a whole byte: a number outside 1..8 (a
// damaged record) is no channel of the boxes.
TEST(RowFilterBus, AnEasterChannelOutsideTheBoxesPassesNone)
{
    Model model;
    model.device.BusDevice = 1;
    model.FilterOn = -1;
    model.filter.FilterChannels = 255;
    PriorityEntryValues e;
    e.easter = true;
    e.easterCode = 83;
    e.busChannel = 8;
    ProgramRecord r = EncodePriorityTime(e, 1);
    ASSERT_EQ(r.b0, 96);
    EXPECT_TRUE(views::RowPassesFilter(model, r));
    for (const std::uint8_t channel : {0, 9, 40, 255}) {
        r.b4 = channel;
        EXPECT_FALSE(views::RowPassesFilter(model, r)) << int(channel);
    }
}

TEST(RowFilterProgramBoxes, BusPermanentToCodeCoversItsPermanentCode)
{
    EXPECT_EQ(views::FilterProgramCount(0), 11);
    EXPECT_EQ(views::FilterProgramCount(1), 9);
    EXPECT_EQ(views::FilterToProgram(2, 3, 0), 5);
    EXPECT_EQ(views::FilterToProgram(2, 6, 1), 10);
}

// Filtered rows keep the index of their record, so marking and editing reach the right ones.
TEST(RowFilterList, FilteredRowsKeepTheirRecordIndexes)
{
    Model model;
    model.device.Kanalzahl = 2;
    model.appendRecord(SetProgram, weeklyTime(6, 0, Mon, 1));
    model.appendRecord(SetProgram, weeklyTime(7, 0, Mon, 2));
    model.appendRecord(SetProgram, weeklyTime(8, 0, Mon, 1));
    model.appendRecord(SetProgram, weeklyTime(9, 0, Mon, 2));
    model.FilterOn = -1;
    model.filter.FilterChannels = 2;
    const ListTable t = views::BuildList(model, ListSwitching, SetProgram);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0].recordIndex, 1);
    EXPECT_EQ(t.rows[1].recordIndex, 3);
    EXPECT_EQ(t.rows[1].cells[0], QStringLiteral("2"));
    model.FilterOn = 0;
    EXPECT_EQ(views::BuildList(model, ListSwitching, SetProgram).rows.size(), 4u);
}

TEST(RowFilterJson, ReadsFieldsAndRefusesOutOfRange)
{
    ListFilter f;
    QString error;
    EXPECT_TRUE(views::FilterFromJson(
        QJsonDocument::fromJson(R"({"FilterChannels": 2, "FilterFromMonth": 0})").object(), f, &error));
    EXPECT_EQ(f.FilterChannels, 2);
    EXPECT_EQ(f.FilterFromMonth, 0);
    EXPECT_EQ(f.FilterWeekdays, 127);
    const ListFilter before = f;
    EXPECT_FALSE(views::FilterFromJson(
        QJsonDocument::fromJson(R"({"FilterChannels": 1, "FilterState": 3})").object(), f, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("FilterState")));
    EXPECT_EQ(f, before);
    EXPECT_FALSE(
        views::FilterFromJson(QJsonDocument::fromJson(R"({"FilterValue": 1.5})").object(), f, &error));
    // every field's ends are taken
    EXPECT_TRUE(
        views::FilterFromJson(QJsonDocument::fromJson(R"({"FilterChannels": 255, "FilterWeekdays": 127,
        "FilterFromMonth": 12, "FilterToMonth": 12, "FilterFromProgram": 10, "FilterToProgram": 10,
        "FilterPulses": 2, "FilterState": 2, "FilterValue": 255})")
                                  .object(),
                              f, &error))
        << error.toStdString();
    EXPECT_EQ(f.FilterValue, 255);
}

} // namespace
