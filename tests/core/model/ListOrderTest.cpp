#include "model/ListOrder.h"
#include "entry/PriorityEntry.h"
#include "model/Model.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

using namespace zx;
using zx::test::ScriptedPrompter;

namespace {

// Records built by hand from the device layout.
ProgramRecord weekly(int hour, int minute, int weekdayMask, int channelMask, int on = 1, int program = 0,
                     int pulse = 0)
{
    const int m = hour * 60 + minute;
    return ProgramRecord{std::uint8_t(128 + (m >> 4)),
                         std::uint8_t(((m & 15) << 4) | program),
                         0,
                         std::uint8_t(weekdayMask),
                         std::uint8_t(channelMask),
                         std::uint8_t(pulse * 4 + on)};
}

ProgramRecord dated(int hour, int minute, int day, int month, int channelMask, int on = 1, int once = 0,
                    int pulse = 0)
{
    const int m = hour * 60 + minute;
    return ProgramRecord{
        std::uint8_t(m >> 4),      std::uint8_t(((m & 15) << 4) | month), 0, std::uint8_t(day + 64 * once),
        std::uint8_t(channelMask), std::uint8_t(pulse * 4 + on)};
}

// A conventional priority time as the entry dialog lays it out.
ProgramRecord priority(int fromDay, int fromMonth, int toDay, int toMonth, int code, int channelMask,
                       int state = 0, int once = 0, int yearCode = 0)
{
    if (yearCode)
        once = 1;
    return ProgramRecord{std::uint8_t(96 + fromMonth * 2 + ((fromDay >> 4) & 1)),
                         std::uint8_t((fromDay % 16) * 16 + code),
                         0,
                         std::uint8_t(toDay + 64 * once),
                         std::uint8_t((yearCode % 16) * 16 + channelMask),
                         std::uint8_t(toMonth * 16 + ((yearCode >> 4) & 7) * 2 + state)};
}

ProgramRecord easter(int offset, int code, int channelMask, int state = 0)
{
    const int c = 82 + offset;
    return ProgramRecord{96, std::uint8_t((c & 240) + code), 0,
                         0,  std::uint8_t(channelMask),      std::uint8_t((c % 16) * 16 + state)};
}

class ListOrderTest : public ::testing::Test {
  protected:
    Model model;
    ScriptedPrompter prompter;

    void SetUp() override { model.device.Kanalzahl = 4; }

    void setRecords(int setIndex, std::initializer_list<ProgramRecord> records)
    {
        ProgramSet &s = model.set(setIndex);
        s.UsedCount = 0;
        for (const auto &r : records)
            s.Records[s.UsedCount++] = r;
        model.recount(setIndex);
    }
    std::vector<ProgramRecord> records(int setIndex = 0) const
    {
        const ProgramSet &s = model.set(setIndex);
        return {s.Records.begin(), s.Records.begin() + s.UsedCount};
    }
};

} // namespace

TEST_F(ListOrderTest, DeviceKeyFormula)
{
    // 06:30 = 390 minutes: b0 AND 127 = 24, b1 high nibble 6; pulse 5 seconds
    const ProgramRecord r = weekly(6, 30, 1, 1, 1, 0, 5);
    EXPECT_EQ(DeviceKey(r), 24u * 1024 + 6 * 64 + 5);
    EXPECT_EQ(DeviceKey(r), 64u * 390 + 5);
    EXPECT_EQ(DeviceKey(dated(6, 30, 1, 1, 1, 1, 0, 5)), 64u * 390 + 5);
    // a priority time sorts after the latest switching time with the longest pulse
    EXPECT_GT(DeviceKey(priority(1, 1, 1, 1, 1, 1)), DeviceKey(weekly(23, 59, 64, 1, 1, 0, 59)));
}

TEST_F(ListOrderTest, NothingHappensBelowTwoRecordsAndNoWaitCursor)
{
    setRecords(0, {});
    SortRecords(model, DisplayOrder, 0, &prompter);
    EXPECT_EQ(prompter.busyCount, 0);

    setRecords(0, {weekly(6, 0, 1, 1)});
    model.program().Records[1] = weekly(1, 0, 1, 1); // beyond UsedCount: must stay where it is
    SortRecords(model, DeviceOrder, 0, &prompter);
    EXPECT_EQ(prompter.busyCount, 0);
    EXPECT_EQ(model.program().Records[0], weekly(6, 0, 1, 1));
    EXPECT_EQ(model.program().Records[1], weekly(1, 0, 1, 1));
}

TEST_F(ListOrderTest, WaitCursorShownWhileSortingAndRemovedAfter)
{
    setRecords(0, {weekly(6, 0, 1, 1), weekly(5, 0, 1, 1)});
    SortRecords(model, DeviceOrder, 0, &prompter);
    EXPECT_EQ(prompter.busyCount, 1);
    EXPECT_EQ(prompter.busyDepth, 0);
    SortRecords(model, DeviceOrder, 0, nullptr); // no prompter: sorts all the same
    EXPECT_EQ(records()[0], weekly(5, 0, 1, 1));
}

TEST_F(ListOrderTest, DeviceOrderKeepsWeeklyAndDatedOfTheSameMinuteInTheirOrder)
{
    const ProgramRecord w = weekly(6, 0, 1, 1);
    const ProgramRecord d = dated(6, 0, 5, 5, 1);
    const ProgramRecord p = priority(24, 12, 6, 1, 3, 1);
    const ProgramRecord early = dated(5, 59, 1, 1, 1);
    setRecords(0, {p, w, d, early});
    SortRecords(model, DeviceOrder, 0, &prompter);
    EXPECT_EQ(records(), (std::vector<ProgramRecord>{early, w, d, p}));

    setRecords(0, {d, p, w});
    SortRecords(model, DeviceOrder, 0, &prompter);
    EXPECT_EQ(records(), (std::vector<ProgramRecord>{d, w, p}));
}

TEST_F(ListOrderTest, EqualDisplayKeysKeepTheirRelativeOrder)
{
    // same time, same first weekday (Monday), same channel; different later weekdays
    const ProgramRecord a = weekly(7, 0, 1 | 4, 1);
    const ProgramRecord b = weekly(7, 0, 1 | 16, 1);
    const ProgramRecord c = weekly(7, 0, 1, 1);
    for (int column : {0, 1, 2, 3}) {
        model.SortColumnSz = column;
        setRecords(0, {b, a, c});
        SortRecords(model, DisplayOrder, 0);
        EXPECT_EQ(records(), (std::vector<ProgramRecord>{b, a, c})) << "column " << column;
        setRecords(0, {c, b, a});
        SortRecords(model, DisplayOrder, 0);
        EXPECT_EQ(records(), (std::vector<ProgramRecord>{c, b, a})) << "column " << column;
    }
    // and in device order too
    setRecords(0, {b, c, a});
    SortRecords(model, DeviceOrder, 0);
    EXPECT_EQ(records(), (std::vector<ProgramRecord>{b, c, a}));
}

TEST_F(ListOrderTest, ColumnOneListsEveryWeeklyTimeBeforeEveryDatedTime)
{
    model.SortColumnSz = 1;
    const ProgramRecord dJan = dated(0, 0, 1, 1, 1);
    const ProgramRecord wSun = weekly(23, 59, 64, 8);
    const ProgramRecord wMon = weekly(12, 0, 1, 1);
    const ProgramRecord dDec = dated(0, 0, 31, 12, 1);
    setRecords(0, {dDec, dJan, wSun, wMon});
    SortRecords(model, DisplayOrder, 0);
    EXPECT_EQ(records(), (std::vector<ProgramRecord>{wMon, wSun, dJan, dDec}));
}

TEST_F(ListOrderTest, SwitchingKeysByColumnFollowTheirTerms)
{
    const ProgramRecord r = weekly(6, 30, 4 | 8, 2 | 4, 1, 3, 7); // Wed, channel 2 (index 1), P3, pulse 7
    const qint64 day = 2, time = 390, program = 3, channel = 1, pulse = 7, state = 1, once = 0, astro = 0;
    const qint64 expected[] = {
        /* 0 */ (1 << 28) * channel + (1 << 24) * program + (1 << 15) * day + (1 << 4) * time,
        /* 1 */ (1 << 21) * day + (1 << 10) * time + (1 << 6) * program + (1 << 4) * channel,
        /* 2 */ (1 << 19) * time + (1 << 10) * day + (1 << 6) * program + (1 << 4) * channel,
        /* 3 */ (1 << 28) * channel + (1 << 24) * program + (1 << 15) * day + (1 << 4) * time,
        /* 4 */ (1 << 23) * pulse + (1 << 21) * channel + (1 << 12) * day + 2 * time,
        /* 5 */ (1 << 29) * once + (1 << 27) * channel + (1 << 23) * program + (1 << 12) * day + 2 * time,
        /* 6 */ (1 << 29) * state + (1 << 27) * channel + (1 << 23) * program + (1 << 14) * day + 8 * time,
        /* 7 */ (1 << 25) * program + (1 << 23) * channel + (1 << 12) * day + 2 * time,
        /* 8 */ (1 << 18) * time + (1 << 14) * program + (1 << 8) * pulse + (1 << 7) * once +
            (1 << 6) * (1 - state),
        /* 9 */ (1 << 29) * (1 - astro) + (1 << 17) * time + (1 << 13) * program + (1 << 7) * pulse +
            (1 << 6) * once + (1 << 5) * (1 - state),
    };
    for (int column = 0; column <= 9; ++column) {
        model.SortColumnSz = column;
        EXPECT_EQ(DisplayKey(model, r), quint32(expected[column])) << "column " << column;
    }
    model.SortColumnSz = 42;
    EXPECT_EQ(DisplayKey(model, r), quint32(expected[3]));
}

TEST_F(ListOrderTest, SwitchingFieldsOfDatedAndSpecialTimes)
{
    model.SortColumnSz = 5; // once, channel, program, day, time
    // dated: program 10, day = month x 32 + day, once flag
    const ProgramRecord d = dated(1, 0, 17, 3, 8, 0, 1);
    EXPECT_EQ(DisplayKey(model, d),
              (1u << 29) + (1u << 27) * 3 + (1u << 23) * 10 + (1u << 12) * (3 * 32 + 17) + 2 * 60);
    // no channel set below Kanalzahl: channel = Kanalzahl; the astro bit (bit 4) is no channel
    model.SortColumnSz = 3;
    const ProgramRecord astro = weekly(1, 0, 1, 16);
    EXPECT_EQ(DisplayKey(model, astro), (1u << 28) * 4 + (1u << 15) * 0 + (1u << 4) * 60);
    model.SortColumnSz = 9;
    EXPECT_EQ(DisplayKey(model, astro) >> 29, 0u); // astro times come first in column 9
    EXPECT_EQ(DisplayKey(model, weekly(1, 0, 1, 1)) >> 29, 1u);
    // no weekday at all sorts after Sunday
    model.SortColumnSz = 1;
    EXPECT_GT(DisplayKey(model, weekly(0, 0, 0, 1)), DisplayKey(model, weekly(23, 59, 64, 1)));
}

TEST_F(ListOrderTest, BusDeviceSwitchingTimeChannelAndValue)
{
    model.device.BusDevice = 1;
    model.device.Kanalzahl = 8;
    // channel 8: b1 bit 3 (weekly) and b5 bits 0..1 = 3; value 200 in b4
    ProgramRecord w = weekly(1, 0, 1, 200, 0, 0, 0);
    w.b1 |= 8;
    w.b5 = 3;
    model.SortColumnSz = 3;
    EXPECT_EQ(DisplayKeyWide(model, w), (qint64(1) << 28) * 7 + (qint64(1) << 4) * 60);
    // column 6 carries the value, which does not fit into 32 bits: the wide key orders it
    model.SortColumnSz = 6;
    ProgramRecord low = w;
    low.b4 = 10;
    EXPECT_LT(DisplayKeyWide(model, low), DisplayKeyWide(model, w));
    EXPECT_EQ(DisplayKey(model, w), 0xFFFFFFFFu);
    setRecords(0, {w, low});
    SortRecords(model, DisplayOrder, 0);
    EXPECT_EQ(records(), (std::vector<ProgramRecord>{low, w}));
    // dated bus time: channel bit 2 in b3 bit 5
    ProgramRecord d = dated(1, 0, 5, 5, 0, 0);
    d.b3 |= 32;
    d.b5 = 1;
    model.SortColumnSz = 3;
    EXPECT_EQ(DisplayKeyWide(model, d) >> 28, 5);
}

TEST_F(ListOrderTest, PriorityTimesFollowSwitchingTimesInDisplayOrder)
{
    const ProgramRecord p = priority(1, 1, 1, 1, 1, 1);
    const ProgramRecord s = dated(23, 59, 31, 12, 8);
    for (int sz = 0; sz <= 9; ++sz) {
        for (int pz = 0; pz <= 7; ++pz) {
            model.SortColumnSz = sz;
            model.SortColumnPz = pz;
            EXPECT_GE(DisplayKey(model, p), 1u << 30);
            if (sz != 3 && sz != 0) { // columns with channel at 2^28 exceed 2^30 for channel >= 4
                EXPECT_LT(DisplayKey(model, s), DisplayKey(model, p)) << sz << "/" << pz;
            }
        }
    }
    model.SortColumnSz = 2;
    setRecords(0, {p, s});
    SortRecords(model, DisplayOrder, 0);
    EXPECT_EQ(records(), (std::vector<ProgramRecord>{s, p}));
}

TEST_F(ListOrderTest, PriorityKeysByColumnFollowTheirTerms)
{
    // priority 3, 24 Dec .. 6 Jan, every year, channel 2 (index 1)
    const ProgramRecord r = priority(24, 12, 6, 1, 3, 2);
    EXPECT_EQ(r, (ProgramRecord{121, 131, 0, 6, 2, 16}));
    const qint64 begin = 12 * 32 + 24, end = (1 + 12) * 32 + 6, program = 3, channel = 1, once = 0;
    const qint64 base = qint64(1) << 30;
    const qint64 expected[] = {
        /* default */ base + (1 << 22) * channel + (1 << 13) * begin + (1 << 4) * once,
        /* 1 */ base + (1 << 12) * begin + (1 << 8) * program + (1 << 4) * channel + 2 * once,
        /* 2 */ base + (1 << 12) * end + (1 << 8) * program + (1 << 4) * channel + 2 * once,
        /* 3 */ base + (qint64(1) << 26) * channel + (1 << 22) * program + (1 << 13) * begin +
            (1 << 4) * once,
        /* 4 */ base + (qint64(1) << 28) * once + (1 << 24) * program + (1 << 20) * channel +
            (1 << 11) * begin,
        /* 5 */ base + (1 << 24) * program + (1 << 22) * channel +
            (1 << 13) * begin, // state only for permanent
        /* 6 */ base + (qint64(1) << 26) * program + (1 << 22) * channel + (1 << 13) * begin +
            (1 << 4) * once,
    };
    for (int column = 0; column <= 6; ++column) {
        model.SortColumnPz = column;
        EXPECT_EQ(DisplayKeyWide(model, r), expected[column]) << "column " << column;
    }
}

TEST_F(ListOrderTest, PriorityStateCountsOnlyForPermanent)
{
    model.SortColumnPz = 5;
    const ProgramRecord permOn = priority(1, 5, 1, 5, 10, 3, 1);
    EXPECT_EQ(permOn.b1, 26);
    EXPECT_EQ(permOn.b5, 81);
    const ProgramRecord permOff = priority(1, 5, 1, 5, 10, 3, 0);
    EXPECT_EQ(DisplayKeyWide(model, permOn) - DisplayKeyWide(model, permOff), qint64(1) << 28);
    // a priority program never carries a state; a stray state bit changes nothing
    const ProgramRecord p1 = priority(1, 5, 1, 5, 1, 3, 1);
    const ProgramRecord p1off = priority(1, 5, 1, 5, 1, 3, 0);
    EXPECT_EQ(DisplayKeyWide(model, p1), DisplayKeyWide(model, p1off));
}

TEST_F(ListOrderTest, LaterBeginDatesSortLaterWhateverTheDateForm)
{
    model.SortColumnPz = 1;
    const ProgramRecord jan1 = priority(1, 1, 1, 1, 1, 1);
    const ProgramRecord mar1 = priority(1, 3, 1, 3, 1, 1);
    const ProgramRecord goodFriday = easter(-2, 1, 1);
    const ProgramRecord easterMonday = easter(1, 1, 1);
    const ProgramRecord may1 = priority(1, 5, 1, 5, 1, 1);
    const ProgramRecord whitMonday = easter(50, 1, 1);
    const ProgramRecord dec31 = priority(31, 12, 31, 12, 1, 1);
    const ProgramRecord onceJun = priority(1, 6, 1, 6, 1, 1, 0, 1);
    const ProgramRecord year2000Dec = priority(24, 12, 26, 12, 1, 1, 0, 1, 64);
    const ProgramRecord year2001Jan = priority(1, 1, 1, 1, 1, 1, 0, 1, 65);
    EXPECT_EQ(PriorityDateForm(year2000Dec), 3);

    setRecords(0, {year2001Jan, dec31, whitMonday, year2000Dec, may1, easterMonday, onceJun, goodFriday, mar1,
                   jan1});
    SortRecords(model, DisplayOrder, 0);
    EXPECT_EQ(records(), (std::vector<ProgramRecord>{jan1, mar1, goodFriday, easterMonday, may1, whitMonday,
                                                     onceJun, dec31, year2000Dec, year2001Jan}));

    // Easter-relative dates far from Easter stay in range and in order
    EXPECT_LT(DisplayKey(model, easter(-82, 1, 1)), DisplayKey(model, easter(-81, 1, 1)));
    EXPECT_LT(DisplayKey(model, easter(172, 1, 1)), DisplayKey(model, easter(173, 1, 1)));
}

TEST_F(ListOrderTest, EndDateInTheFollowingYearSortsAfterEndsWithinTheYear)
{
    model.SortColumnPz = 2;
    const ProgramRecord christmas = priority(24, 12, 6, 1, 1, 1); // ends 6 January next year
    const ProgramRecord december = priority(1, 12, 31, 12, 1, 1); // ends 31 December
    const ProgramRecord january = priority(1, 1, 10, 1, 1, 1);    // ends 10 January
    setRecords(0, {christmas, december, january});
    SortRecords(model, DisplayOrder, 0);
    EXPECT_EQ(records(), (std::vector<ProgramRecord>{january, december, christmas}));
}

TEST_F(ListOrderTest, BusPriorityValueOrdersPermanentByValue)
{
    model.device.BusDevice = 1;
    model.device.Kanalzahl = 8;
    model.SortColumnPz = 5;
    // bus priority: b4 = value, b5 = to-month x 16 + channel - 1; permanent is code 8
    const ProgramRecord v200{96 + 2, 16 + 8, 0, 1, 200, 16 + 2};
    const ProgramRecord v5{96 + 2, 16 + 8, 0, 1, 5, 16 + 2};
    EXPECT_EQ(model.RecordKind(v200), Kind::PriorityBus);
    setRecords(0, {v200, v5});
    SortRecords(model, DisplayOrder, 0);
    EXPECT_EQ(records(), (std::vector<ProgramRecord>{v5, v200}));
    model.SortColumnPz = 3; // channel index from b5 low nibble
    EXPECT_EQ((DisplayKeyWide(model, v5) - (qint64(1) << 30)) >> 26, 2);

    // Easter-relative bus priorities sort by their channel too, up to the last one.
    PriorityEntryValues easter;
    easter.easter = true;
    easter.easterCode = 83;
    const auto onChannel = [&easter](int channel) {
        easter.busChannel = channel;
        return EncodePriorityTime(easter, 1);
    };
    const ProgramRecord c8 = onChannel(8), c7 = onChannel(7), c1 = onChannel(1);
    setRecords(0, {c8, c7, c1});
    SortRecords(model, DisplayOrder, 0);
    EXPECT_EQ(records(), (std::vector<ProgramRecord>{c1, c7, c8}));
}

TEST_F(ListOrderTest, SortsTheRequestedSetOnly)
{
    setRecords(0, {weekly(6, 0, 1, 1), weekly(5, 0, 1, 1)});
    setRecords(1, {weekly(9, 0, 1, 1), weekly(8, 0, 1, 1)});
    SortRecords(model, DeviceOrder, 1);
    EXPECT_EQ(records(0)[0], weekly(6, 0, 1, 1));
    EXPECT_EQ(records(1)[0], weekly(8, 0, 1, 1));
}

TEST_F(ListOrderTest, HeaderClickStoresColumnAndSortsTheShownSet)
{
    model.ListView = 0;
    model.CurrentSet = 1;
    setRecords(1, {weekly(6, 0, 1, 1), weekly(5, 0, 2, 1)});
    HeaderClicked(model, 2, &prompter);
    EXPECT_EQ(model.SortColumnSz, 2);
    EXPECT_EQ(records(1)[0], weekly(5, 0, 2, 1));
    EXPECT_EQ(prompter.busyCount, 1);
    HeaderClicked(model, 1, &prompter);
    EXPECT_EQ(model.SortColumnSz, 1);
    EXPECT_EQ(records(1)[0], weekly(6, 0, 1, 1));

    model.ListView = 1;
    HeaderClicked(model, 4, &prompter);
    EXPECT_EQ(model.SortColumnPz, 4);
    EXPECT_EQ(model.SortColumnSz, 1);

    model.ListView = 2; // changeover list: not sorted by clicking
    HeaderClicked(model, 3, &prompter);
    EXPECT_EQ(model.SortColumnPz, 4);
    EXPECT_EQ(model.SortColumnSz, 1);
}

TEST_F(ListOrderTest, AstroDeviceShiftsSwitchingColumnsAboveThree)
{
    model.device.Uhrentyp = TypeAstro;
    model.ListView = 0;
    HeaderClicked(model, 3);
    EXPECT_EQ(model.SortColumnSz, 3);
    HeaderClicked(model, 4);
    EXPECT_EQ(model.SortColumnSz, 5);
    HeaderClicked(model, 6);
    EXPECT_EQ(model.SortColumnSz, 7);
    model.ListView = 1; // priority columns are not shifted
    HeaderClicked(model, 4);
    EXPECT_EQ(model.SortColumnPz, 4);
    model.device.Uhrentyp = TypeAnnual;
    model.ListView = 0;
    HeaderClicked(model, 4);
    EXPECT_EQ(model.SortColumnSz, 4);
}

TEST_F(ListOrderTest, FullSetSortsStablyByDeviceKey)
{
    ProgramSet &s = model.program();
    for (int i = 0; i < MaxRecords; ++i)
        s.Records[i] = weekly((i * 7) % 24, (i * 13) % 60, 1 << (i % 7), 1 + (i % 15), i % 2);
    s.UsedCount = MaxRecords;
    model.recount(0);
    const auto before = records();
    SortRecords(model, DeviceOrder, 0);
    const auto after = records();
    for (int i = 1; i < MaxRecords; ++i)
        ASSERT_LE(DeviceKey(after[i - 1]), DeviceKey(after[i]));
    // stability: among equal keys, the original order
    for (int i = 1; i < MaxRecords; ++i) {
        if (DeviceKey(after[i - 1]) != DeviceKey(after[i]))
            continue;
        const auto a = std::find(before.begin(), before.end(), after[i - 1]);
        const auto b = std::find(before.begin(), before.end(), after[i]);
        EXPECT_LT(a, b);
    }
}
