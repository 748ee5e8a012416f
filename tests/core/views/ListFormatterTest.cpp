#include "views/ListFormatter.h"
#include "calendar/Changeover.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "support/SamplePrograms.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable failures: gtest prints QString and QStringList through this.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

using zx::test::Rec;

using namespace zx;
using namespace zx::views;

namespace {

// Weekly 06:30 (m = 390) Monday, Wednesday, Friday, channels 1 and 3, ON, program 0.
ProgramRecord weekly0630()
{
    return Rec(128 + (390 >> 4), (390 % 16) << 4, 1 + 4 + 16, 1 + 4, 1);
}

// Dated 12:05 (m = 725) on 24 December, once, channel 2, pulse 10 s, OFF.
ProgramRecord dated1205()
{
    return Rec(725 >> 4, ((725 % 16) << 4) | 12, 24 | 64, 2, 10 << 2);
}

class ListFormatterTest : public ::testing::Test {
  protected:
    Model model;
    void SetUp() override
    {
        model.device.Kanalzahl = 4;
        setLanguage(English);
    }
    void setLanguage(int language)
    {
        model.device.Sprache = language;
        model.catalogue.fillBuiltin(language, 1);
    }
    void add(const ProgramRecord &r, int set = SetProgram) { ASSERT_TRUE(model.appendRecord(set, r)); }
    QString c(int position) const { return model.catalogue.text(position); }
};

} // namespace

// ---------------------------------------------------------------- pieces, English

TEST_F(ListFormatterTest, TimeTextPadsSmallHoursAndCoversInvalidMinutes)
{
    EXPECT_EQ(TimeText(model, 390), QStringLiteral("  6:30 hrs"));
    EXPECT_EQ(TimeText(model, 725), QStringLiteral("12:05 hrs"));
    EXPECT_EQ(TimeText(model, 0), QStringLiteral("  0:00 hrs"));
    EXPECT_EQ(TimeText(model, 1439), QStringLiteral("23:59 hrs"));
    EXPECT_EQ(TimeText(model, 1440), QStringLiteral("  --:-- hrs"));
    EXPECT_EQ(TimeText(model, 1791), QStringLiteral("  --:-- hrs"));
}

TEST_F(ListFormatterTest, WeekdaysTextDropsTheLeadingBlank)
{
    EXPECT_EQ(WeekdaysText(model, 1 + 4 + 16), QStringLiteral("mo we fr"));
    EXPECT_EQ(WeekdaysText(model, 64), QStringLiteral("su"));
    EXPECT_EQ(WeekdaysText(model, 1 + 2 + 4 + 8 + 16), QStringLiteral("mo tu we th fr"));
    EXPECT_EQ(WeekdaysText(model, 127), QStringLiteral("daily"));
    EXPECT_EQ(WeekdaysText(model, 0), QString());
    EXPECT_EQ(WeekdaysText(model, 128 + 1), QStringLiteral("mo")); // bits above Sunday are no day
}

TEST_F(ListFormatterTest, EnglishDatesPutTheMonthFirst)
{
    EXPECT_EQ(DayMonthText(model, 1, 1), QStringLiteral("january, 1st"));
    EXPECT_EQ(DayMonthText(model, 24, 12), QStringLiteral("december, 24. "));
    EXPECT_EQ(DayMonthText(model, 31, 3), QStringLiteral("march, 31. "));
}

TEST_F(ListFormatterTest, ChannelsOfConventionalAndBusRecords)
{
    EXPECT_EQ(ChannelsText(model, weekly0630()), QStringLiteral(" C1 C3"));
    model.device.Kanalzahl = 2;
    EXPECT_EQ(ChannelsText(model, weekly0630()), QStringLiteral(" C1"))
        << "channels above Kanalzahl are not shown";
    model.device.BusDevice = 1;
    // Weekly bus time, channel 8: bit 3 of b1 and b5 bits 0..1 = 3.
    EXPECT_EQ(ChannelsText(model, Rec(128, 8, 1, 0, 3)), QStringLiteral(" C8"));
    // Dated bus time, channel 5: bit 5 of b3, b5 bits 0..1 = 0.
    EXPECT_EQ(ChannelsText(model, Rec(0, 1, 1 | 32, 0, 0)), QStringLiteral(" C5"));
}

TEST_F(ListFormatterTest, PulseText)
{
    EXPECT_EQ(PulseText(model, 0), QString());
    EXPECT_EQ(PulseText(model, 1), QStringLiteral("1 sec"));
    EXPECT_EQ(PulseText(model, 59), QStringLiteral("59 sec"));
}

// ---------------------------------------------------------------- switching list

TEST_F(ListFormatterTest, SwitchingListOfTheAnnualDevice)
{
    add(weekly0630());
    add(dated1205());
    const ListTable t = BuildList(model, ListSwitching, SetProgram);
    EXPECT_EQ(t.header,
              (QStringList{"nr.", "date/days", "time", "channels", "puls", "1x", "state", "prio."}));
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0].cells, (QStringList{"1", "mo we fr", "  6:30 hrs", " C1 C3", "", " ", "ON", "0"}));
    EXPECT_EQ(t.rows[0].recordIndex, 0);
    EXPECT_EQ(t.rows[1].cells,
              (QStringList{"2", "december, 24. ", "12:05 hrs", " C2", "10 sec", "1x", "OFF", ""}));
    EXPECT_EQ(t.rows[1].recordIndex, 1);
}

TEST_F(ListFormatterTest, WeeklyProgramNumberShowsInPrio)
{
    add(Rec(128 + (390 >> 4), ((390 % 16) << 4) | 7, 127, 1, 1));
    const ListTable t = BuildList(model, ListSwitching, SetProgram);
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0].cells[1], QStringLiteral("daily"));
    EXPECT_EQ(t.rows[0].cells[7], QStringLiteral("7"));
}

TEST_F(ListFormatterTest, AstroDeviceListHasNoPulseColumn)
{
    model.device.Uhrentyp = TypeAstro;
    model.device.Kanalzahl = 2;
    add(weekly0630());
    const ListTable t = BuildList(model, ListSwitching, SetProgram);
    EXPECT_EQ(t.header, (QStringList{"nr.", "date/days", "time", "channels", "1x", "state", "prio."}));
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0].cells, (QStringList{"1", "mo we fr", "  6:30 hrs", " C1", " ", "ON", "0"}));
}

TEST_F(ListFormatterTest, BusSwitchingTimesShowChannelAndValue)
{
    model.device.BusDevice = 1;
    model.device.Kanalzahl = 8;
    // Weekly 00:00 daily, channel 8, value 200, program 5.
    add(Rec(128, 8 | 5, 127, 200, 3));
    // Dated 23:59 on 1 January, channel 6, value 0, pulse 3 s.
    add(Rec(89, (15 << 4) | 1, 1 | 32, 0, (3 << 2) | 1));
    const ListTable t = BuildList(model, ListSwitching, SetProgram);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0].cells, (QStringList{"1", "daily", "  0:00 hrs", " C8", "", " ", "200", "5"}));
    EXPECT_EQ(t.rows[1].cells, (QStringList{"2", "january, 1st", "23:59 hrs", " C6", "3 sec", " ", "0", ""}));
}

TEST_F(ListFormatterTest, ListsShowOnlyTheirKindAndKeepRecordIndexes)
{
    add(Rec(121, 131, 6, 1, 16)); // priority
    add(weekly0630());
    add(Rec(121, 131, 6, 1, 16)); // priority
    add(dated1205());
    const ListTable sz = BuildList(model, ListSwitching, SetProgram);
    ASSERT_EQ(sz.rows.size(), 2u);
    EXPECT_EQ(sz.rows[0].recordIndex, 1);
    EXPECT_EQ(sz.rows[1].recordIndex, 3);
    EXPECT_EQ(sz.rows[1].cells[0], QStringLiteral("2")) << "rows are numbered, not records";
    const ListTable pz = BuildList(model, ListPriority, SetProgram);
    ASSERT_EQ(pz.rows.size(), 2u);
    EXPECT_EQ(pz.rows[0].recordIndex, 0);
    EXPECT_EQ(pz.rows[1].recordIndex, 2);
    EXPECT_EQ(DisplayRecords(model, ListSwitching, SetProgram), (std::vector<int>{1, 3}));
}

TEST_F(ListFormatterTest, TemplateSetIsListedFromItsOwnRecords)
{
    add(weekly0630());
    add(dated1205(), SetTemplate);
    EXPECT_EQ(BuildList(model, ListSwitching, SetTemplate).rows.at(0).cells[1],
              QStringLiteral("december, 24. "));
    EXPECT_EQ(BuildList(model, ListSwitching, SetProgram).rows.at(0).cells[1], QStringLiteral("mo we fr"));
}

// ---------------------------------------------------------------- priority list

TEST_F(ListFormatterTest, PriorityEveryYear)
{
    // Priority 3 from 24 December to 6 January, every year, channel 1.
    add(Rec(121, 131, 6, 1, 16));
    const ListTable t = BuildList(model, ListPriority, SetProgram);
    EXPECT_EQ(t.header, (QStringList{"nr.", "begin at: ", "end at: ", "channels", "1x", "state", "prio."}));
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0].cells,
              (QStringList{"1", "december, 24.   00:00 hrs", "january, 6.  24:00 hrs", " C1", " ", "", "3"}));
}

TEST_F(ListFormatterTest, PriorityWithYearShowsItAndTheOnceFlag)
{
    add(Rec(121, 131, 70, 1, 24)); // the same in 2000 only
    const ListTable t = BuildList(model, ListPriority, SetProgram);
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0].cells[1], QStringLiteral("december, 24.  2000 00:00 hrs"));
    EXPECT_EQ(t.rows[0].cells[4], QStringLiteral("1x"));
}

TEST_F(ListFormatterTest, PermanentPriorityShowsStateAndPerm)
{
    // Permanent ON, 1 May to 1 May, channels 1 and 2.
    add(Rec(106, 26, 1, 3, 81));
    const ListTable t = BuildList(model, ListPriority, SetProgram);
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.rows[0].cells,
              (QStringList{"1", "may, 1st  00:00 hrs", "may, 1st 24:00 hrs", " C1 C2", " ", "ON", "perm."}));
}

TEST_F(ListFormatterTest, EasterRelativePriorityUsesTheHolidayNameOrTheGenericOne)
{
    add(Rec(96, 81, 0, 1, 48)); // Easter Monday (code 83), priority 1, channel 1
    add(Rec(96, 81, 0, 1, 0));  // code 80: two days before Easter
    ListTable t = BuildList(model, ListPriority, SetProgram);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0].cells,
              (QStringList{"1", "Holiday at eastern + 1", " 24:00 hrs", " C1", " ", "", "1"}));
    EXPECT_EQ(t.rows[1].cells[1], QStringLiteral("Holiday at eastern -2"));

    ListOptions options;
    options.easterName = [](int code) { return code == 83 ? QStringLiteral("Easter Monday") : QString(); };
    t = BuildList(model, ListPriority, SetProgram, options);
    EXPECT_EQ(t.rows[0].cells[1], QStringLiteral("Easter Monday"));
    EXPECT_EQ(t.rows[1].cells[1], QStringLiteral("Holiday at eastern -2"));
}

TEST_F(ListFormatterTest, BusPriorityShowsChannelAndValue)
{
    model.device.BusDevice = 1;
    model.device.Kanalzahl = 8;
    // Permanent (bus code 8), 1 May to 3 May, channel 4 (b5 low bits 3), value 77.
    add(Rec(106, 16 + 8, 3, 77, (5 << 4) | 3));
    // Priority 2, same dates, channel 1, value 0.
    add(Rec(106, 16 + 2, 3, 0, 5 << 4));
    const ListTable t = BuildList(model, ListPriority, SetProgram);
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[0].cells,
              (QStringList{"1", "may, 1st  00:00 hrs", "may, 3.  24:00 hrs", " C4", " ", "77", "perm."}));
    EXPECT_EQ(t.rows[1].cells[3], QStringLiteral(" C1"));
    EXPECT_EQ(t.rows[1].cells[5], QString());
    EXPECT_EQ(t.rows[1].cells[6], QStringLiteral("2"));
}

// ---------------------------------------------------------------- changeover list

TEST_F(ListFormatterTest, ChangeoverRowsShowYearDatesHoursAndShift)
{
    ProgramSet &p = model.program();
    p.DstFirstYear = (2026 - 1996) | 64; // twice the year
    // 29 March 02:00 +1 h, 25 October 03:00 -1 h.
    p.DstTable[0] = {1 + 2 + 16 * 2, 16 * 13 + 3, 1 + 2 + 16 * 3, 16 * 9 + 10};
    // 1 April 01:00 +2 h, 1 September 12:00 -0 h.
    p.DstTable[1] = {0 + 4 + 16 * 1, 16 * 1 + 4, 0 + 0 + 16 * 12, 16 * 1 + 9};
    p.DstTable[2] = p.DstTable[0];
    p.DstCount = 3;
    const ListTable t = BuildList(model, ListChangeover, SetProgram);
    EXPECT_EQ(t.header, (QStringList{"nr.", "Year", "preset at:", "at:", "reset at:", "at:"}));
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0].cells, (QStringList{"1", "2026", "march, 29. ", "  2:00 hrs (+1 hour)",
                                            "october, 25. ", "  3:00 hrs (-1 hour)"}));
    EXPECT_EQ(t.rows[1].cells, (QStringList{"2", "2026", "april, 1st", "  1:00 hrs (+2 hours)",
                                            "september, 1st", "12:00 hrs (-0 hours)"}));
    EXPECT_EQ(t.rows[2].cells[1], QStringLiteral("2027"));
    EXPECT_EQ(t.rows[2].recordIndex, 2);
    // The first and the last day of the year are dates like any other.
    p.DstTable[2] = EncodeChangeoverEntry({{1, 1, 2, 1}, {31, 12, 3, 1}});
    const ListTable edges = BuildList(model, ListChangeover, SetProgram);
    EXPECT_EQ(edges.rows[2].cells[2], QStringLiteral("january, 1st"));
    EXPECT_EQ(edges.rows[2].cells[4], QStringLiteral("december, 31. "));
}

TEST_F(ListFormatterTest, ChangeoverOnceTheYearCountsOneYearPerEntry)
{
    ProgramSet &t = model.set(SetTemplate);
    t.DstFirstYear = 2000 - 1996;
    for (int i = 0; i < 6; ++i)
        t.DstTable[i] = {2 + 16 * 2, 16 * 15 + 3, 1 + 2 + 16 * 3, 16 * 15 + 10};
    t.DstCount = 6;
    const ListTable list = BuildList(model, ListChangeover, SetTemplate);
    ASSERT_EQ(list.rows.size(), 6u);
    EXPECT_EQ(list.rows[5].cells[1], QStringLiteral("2005"));
    EXPECT_EQ(list.rows[5].cells[4], QStringLiteral("october, 31. "));
    EXPECT_TRUE(BuildList(model, ListChangeover, SetProgram).rows.empty());
    // a count past the table's end (a damaged file) lists the table and no more
    t.DstCount = DstEntries + 1;
    EXPECT_EQ(BuildList(model, ListChangeover, SetTemplate).rows.size(), std::size_t(DstEntries));
}

// ---------------------------------------------------------------- astro list

TEST_F(ListFormatterTest, AstroRowsShowLocalTimesWithTheSummerHour)
{
    model.device.Uhrentyp = TypeAstro;
    model.device.SwRegel = 1;
    model.astro.AstroPresent = -1;
    for (auto &day : model.astro.AstroTable)
        day = {1000, 480};
    model.astro.AstroTable[87] = {1100, 400}; // 29 March 2026: first day of summer time
    model.astro.AstroTable[86] = {1100, 400}; // 28 March 2026: still winter time
    model.astro.AstroTable[200] = {NoAstroTime, NoAstroTime};
    model.astro.AstroTable[180] = {1400, 1440}; // a late sunset; the first value no day can hold
    model.astro.AstroTable[181] = {1379, 1500}; // the latest sunset the summer hour keeps on its day
    ListOptions options;
    options.year = 2026;
    const ListTable t = BuildList(model, ListAstro, SetProgram, options);
    // The summer hour moves the sunset past midnight: it reads on from 24:00, on its own row.
    EXPECT_EQ(t.rows[180].cells[3], QStringLiteral("24:20 hrs"));
    EXPECT_EQ(t.rows[180].cells[4], QStringLiteral("  --:-- hrs"));
    EXPECT_EQ(t.rows[181].cells[3], QStringLiteral("23:59 hrs"));
    EXPECT_EQ(t.rows[181].cells[4], QStringLiteral("  --:-- hrs"));
    EXPECT_EQ(t.header, (QStringList{"nr.", "channels", "date", "switch off at:", "switch on at:"}));
    ASSERT_EQ(t.rows.size(), 365u);
    EXPECT_EQ(t.rows[0].cells, (QStringList{"1", " C1", "january, 1st", "16:40 hrs", "  8:00 hrs"}));
    EXPECT_EQ(t.rows[0].recordIndex, -1);
    EXPECT_EQ(t.rows[86].cells, (QStringList{"87", " C1", "march, 28. ", "18:20 hrs", "  6:40 hrs"}));
    EXPECT_EQ(t.rows[87].cells, (QStringList{"88", " C1", "march, 29. ", "19:20 hrs", "  7:40 hrs"}));
    EXPECT_EQ(t.rows[200].cells[3], QStringLiteral("  --:-- hrs"));
    EXPECT_EQ(t.rows[364].cells[2], QStringLiteral("december, 31. "));

    model.astro.AstroC1C2 = 1;
    options.year = 2028;
    const ListTable leap = BuildList(model, ListAstro, SetProgram, options);
    ASSERT_EQ(leap.rows.size(), 366u);
    EXPECT_EQ(leap.rows[59].cells[2], QStringLiteral("february, 29. "));
    EXPECT_EQ(leap.rows[0].cells[1], QStringLiteral(" C1 C2"));
}

// Without a chosen year the astro list shows the current one.
TEST_F(ListFormatterTest, AstroListFollowsTheClockWithoutAChosenYear)
{
    model.device.Uhrentyp = TypeAstro;
    model.astro.AstroPresent = -1;
    const FixedClock clock(QDateTime(QDate(2027, 6, 1), QTime(12, 0)));
    ListOptions options;
    options.clock = &clock;
    EXPECT_EQ(BuildList(model, ListAstro, SetProgram, options).rows.size(), 365u);
    const FixedClock leapClock(QDateTime(QDate(2028, 6, 1), QTime(12, 0)));
    options.clock = &leapClock;
    EXPECT_EQ(BuildList(model, ListAstro, SetProgram, options).rows.size(), 366u);
}

TEST_F(ListFormatterTest, AstroListIsEmptyWithoutTable)
{
    model.device.Uhrentyp = TypeAstro;
    EXPECT_TRUE(BuildList(model, ListAstro, SetProgram).rows.empty());
}

TEST_F(ListFormatterTest, AstroSummerHourByChangeoverTable)
{
    model.device.SwRegel = 4;
    model.astro.AstroPresent = -1;
    for (auto &day : model.astro.AstroTable)
        day = {600, 600};
    ProgramSet &p = model.program();
    p.DstFirstYear = 2026 - 1996;
    // advance 1 May at 02:00 by two hours, set back 1 June at 03:00 (the table's own shift)
    p.DstTable[0] = {2 * 2 + 16 * 2, 16 * 1 + 5, 2 * 2 + 16 * 3, 16 * 1 + 6};
    p.DstCount = 1;
    ListOptions options;
    options.year = 2026;
    const ListTable t = BuildList(model, ListAstro, SetProgram, options);
    EXPECT_EQ(t.rows[119].cells[3], QStringLiteral("10:00 hrs")); // 30 April
    EXPECT_EQ(t.rows[120].cells[3], QStringLiteral("12:00 hrs")); // 1 May
    EXPECT_EQ(t.rows[150].cells[3], QStringLiteral("12:00 hrs")); // 31 May
    // 1 June: 10:00 comes after the set-back at 03:00 (01:00 standard time)
    EXPECT_EQ(t.rows[151].cells[3], QStringLiteral("10:00 hrs"));
    EXPECT_EQ(t.rows[152].cells[3], QStringLiteral("10:00 hrs")); // 2 June
    options.year = 2027;                                          // the table does not cover 2027
    EXPECT_EQ(BuildList(model, ListAstro, SetProgram, options).rows[130].cells[3],
              QStringLiteral("10:00 hrs"));
}

// ---------------------------------------------------------------- labels

TEST_F(ListFormatterTest, FileDateLabel)
{
    EXPECT_EQ(FileDateLabel(model, SetProgram), QStringLiteral("unsaved file "));
    auto &h = model.program().HeaderBytes;
    const int t = 14 * 60 + 7;
    h[4] = t >> 4;
    h[5] = ((t % 16) << 4) | 3;
    h[6] = 5;
    h[7] = 2026 - 1872;
    EXPECT_EQ(FileDateLabel(model, SetProgram), QStringLiteral("File of : 5.3.2026 14:07"));
    EXPECT_EQ(FileDateLabel(model, SetTemplate), QStringLiteral("unsaved file "));
}

TEST_F(ListFormatterTest, WindowTitleNamesListSetAndFile)
{
    model.program().FileName = QStringLiteral("/w/Swprg1.zxp");
    model.set(SetTemplate).FileName = QStringLiteral("/w/old.zxp");
    EXPECT_EQ(WindowTitle(model, ListSwitching, SetProgram),
              QStringLiteral("switching program (/w/Swprg1.zxp)"));
    EXPECT_EQ(WindowTitle(model, ListPriority, SetTemplate),
              QStringLiteral("sample priority list (/w/old.zxp)"));
    EXPECT_EQ(WindowTitle(model, ListChangeover, SetProgram),
              QStringLiteral("Changeover table (/w/Swprg1.zxp)"));
    EXPECT_EQ(WindowTitle(model, ListAstro, SetProgram), QStringLiteral("Astrotimes (/w/Swprg1.zxp)"));
}

TEST_F(ListFormatterTest, ProgramNumberAndUsedMemory)
{
    EXPECT_EQ(ProgramNumberText(model, SetProgram), QString());
    model.program().ProgramNumber = 0;
    EXPECT_EQ(ProgramNumberText(model, SetProgram), QStringLiteral("000000"));
    model.program().ProgramNumber = 4711;
    EXPECT_EQ(ProgramNumberText(model, SetProgram), QStringLiteral("004711"));

    add(weekly0630());
    add(dated1205());
    add(Rec(121, 131, 6, 1, 16));
    model.program().DstCount = 2;
    EXPECT_EQ(UsedMemoryMessage(model, SetProgram),
              QStringLiteral("used memory: 3 of 324\nswitching program: 2\npriority program: 1\n"
                             "Changeover table: 2 of 20"));
}

// ---------------------------------------------------------------- German and French

TEST_F(ListFormatterTest, GermanTexts)
{
    setLanguage(German);
    add(weekly0630());
    add(dated1205());
    add(Rec(121, 131, 6, 1, 16));
    add(Rec(106, 26, 1, 3, 81));
    EXPECT_EQ(TimeText(model, 390), QStringLiteral("  6:30 Uhr"));
    EXPECT_EQ(TimeText(model, 725), QStringLiteral("12:05 Uhr"));
    EXPECT_EQ(WeekdaysText(model, 127), QStringLiteral("täglich"));
    EXPECT_EQ(DayMonthText(model, 1, 1), QStringLiteral("1. Januar"));
    EXPECT_EQ(DayMonthText(model, 24, 12), QStringLiteral("24. Dezember"));
    const ListTable sz = BuildList(model, ListSwitching, SetProgram);
    ASSERT_EQ(sz.rows.size(), 2u);
    const QString k = c(Msg::ChannelPrefix);
    EXPECT_EQ(sz.rows[0].cells,
              (QStringList{"1", "Mo Mi Fr", "  6:30 Uhr", k + "1" + k + "3", "", " ", "EIN", "0"}));
    EXPECT_EQ(sz.rows[1].cells,
              (QStringList{"2", "24. Dezember", "12:05 Uhr", k + "2", "10" + c(Msg::Sec), "1x", "AUS", ""}));
    const ListTable pz = BuildList(model, ListPriority, SetProgram);
    ASSERT_EQ(pz.rows.size(), 2u);
    EXPECT_EQ(pz.rows[0].cells[1], QStringLiteral("24. Dezember  00:00 Uhr"));
    EXPECT_EQ(pz.rows[0].cells[2], QStringLiteral("6. Januar 24:00 Uhr"));
    EXPECT_EQ(pz.rows[1].cells[1], QStringLiteral("1. Mai  00:00 Uhr"));
    EXPECT_EQ(pz.rows[1].cells[5], QStringLiteral("EIN"));
    EXPECT_EQ(pz.rows[1].cells[6], c(Msg::Perm));
}

TEST_F(ListFormatterTest, FrenchTexts)
{
    setLanguage(French);
    add(weekly0630());
    add(dated1205());
    // French separates hours and minutes with "h" and has no hour word.
    EXPECT_EQ(TimeText(model, 390), QStringLiteral("  6h30 "));
    EXPECT_EQ(TimeText(model, 725), QStringLiteral("12h05 "));
    EXPECT_EQ(TimeText(model, 1500), QStringLiteral("  --h-- "));
    EXPECT_EQ(WeekdaysText(model, 127), QStringLiteral("tous les jours"));
    EXPECT_EQ(DayMonthText(model, 24, 12), "24" + c(Msg::DaySuffix) + QStringLiteral("décembre"));
    EXPECT_EQ(DayMonthText(model, 1, 8), c(Msg::FirstOfMonth) + QStringLiteral("août"));
    const QString monWedFri = (c(Msg::AbbrMonday) + c(Msg::AbbrWednesday) + c(Msg::AbbrFriday)).mid(1);
    const ListTable sz = BuildList(model, ListSwitching, SetProgram);
    ASSERT_EQ(sz.rows.size(), 2u);
    EXPECT_EQ(sz.rows[0].cells[1], monWedFri);
    EXPECT_EQ(sz.rows[0].cells[2], QStringLiteral("  6h30 "));
    EXPECT_EQ(sz.rows[0].cells[6], QStringLiteral("Marche"));
    EXPECT_EQ(sz.rows[1].cells[6], QStringLiteral("Arrêt"));
    EXPECT_EQ(sz.rows[1].cells[1], "24" + c(Msg::DaySuffix) + QStringLiteral("décembre"));
}

TEST_F(ListFormatterTest, GermanChangeoverAstroAndEaster)
{
    setLanguage(German);
    ProgramSet &p = model.program();
    p.DstFirstYear = 2026 - 1996;
    p.DstTable[0] = {1 + 2 + 16 * 2, 16 * 13 + 3, 1 + 2 + 16 * 3, 16 * 9 + 10};
    p.DstCount = 1;
    const ListTable sw = BuildList(model, ListChangeover, SetProgram);
    ASSERT_EQ(sw.rows.size(), 1u);
    EXPECT_EQ(sw.rows[0].cells[2], QStringLiteral("29. März"));
    EXPECT_EQ(sw.rows[0].cells[3], "  2:00 Uhr (+" + c(Msg::N1Hour) + ")");
    EXPECT_EQ(sw.rows[0].cells[4], QStringLiteral("25. Oktober"));

    model.astro.AstroPresent = -1;
    model.astro.AstroTable[0] = {1000, 480};
    ListOptions options;
    options.year = 2026;
    const ListTable astro = BuildList(model, ListAstro, SetProgram, options);
    EXPECT_EQ(astro.rows[0].cells,
              (QStringList{"1", c(Msg::ChannelPrefix) + "1", "1. Januar", "16:40 Uhr", "  8:00 Uhr"}));

    add(Rec(96, 81, 0, 1, 48));
    const ListTable pz = BuildList(model, ListPriority, SetProgram);
    EXPECT_EQ(pz.rows.at(0).cells[1], c(Msg::HolidayAt) + " " + c(Msg::Eastern) + " + 1");
    EXPECT_EQ(pz.rows.at(0).cells[2], QStringLiteral(" 24:00 Uhr"));
}

TEST_F(ListFormatterTest, FrenchPriorityAndLabels)
{
    setLanguage(French);
    add(Rec(121, 131, 70, 1, 24)); // priority 3, 24 December to 6 January 2000
    add(Rec(106, 26, 1, 3, 81));   // permanent ON, 1 May
    const ListTable pz = BuildList(model, ListPriority, SetProgram);
    ASSERT_EQ(pz.rows.size(), 2u);
    EXPECT_EQ(pz.rows[0].cells[1], "24" + c(Msg::DaySuffix) + QStringLiteral("décembre 2000 00h00 "));
    EXPECT_EQ(pz.rows[0].cells[2], "6" + c(Msg::DaySuffix) + QStringLiteral("janvier 24h00 "));
    EXPECT_EQ(pz.rows[1].cells[1], c(Msg::FirstOfMonth) + QStringLiteral("mai  00h00 "));
    EXPECT_EQ(pz.rows[1].cells[5], QStringLiteral("Marche"));
    EXPECT_EQ(pz.rows[1].cells[6], c(Msg::Perm));
    EXPECT_EQ(FileDateLabel(model, SetProgram), c(Msg::UnsavedFile));
}
