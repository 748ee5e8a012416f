// Change + OK on every record of random programs, touching nothing: the program stays byte for
// byte what it was. Whatever a record holds that the dialogs cannot show (a year beyond the year
// list, an Easter day no holiday carries ...) shows up here as a changed record.
#include "GuiTest.h"
#include "app/AppContext.h"
#include "calendar/Changeover.h"
#include "calendar/ChangeoverDialog.h"
#include "entry/EntryAutomation.h"
#include "entry/EntryConflict.h"
#include "entry/EntryDeviceRules.h"
#include "entry/EntryStore.h"
#include "entry/PriorityEntry.h"
#include "entry/PriorityTimeDialog.h"
#include "entry/SwitchingEntry.h"
#include "entry/SwitchingTimeDialog.h"
#include "model/Calendar.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <tuple>

using namespace zx;

namespace {

struct DeviceCase {
    const char *name;
    int type, bus, channels, bewft;
    int switching, priority; // records drawn of each kind
};

std::tuple<int, int, int, int, int, int> Key(const ProgramRecord &r)
{
    return {r.b0, r.b1, r.b2, r.b3, r.b4, r.b5};
}

std::vector<std::tuple<int, int, int, int, int, int>> Sorted(const ProgramSet &p)
{
    std::vector<std::tuple<int, int, int, int, int, int>> out;
    for (int i = 0; i < p.UsedCount; ++i)
        out.push_back(Key(p.Records[i]));
    std::sort(out.begin(), out.end());
    return out;
}

class ChangeKeepsRecords : public ::testing::TestWithParam<DeviceCase> {
  protected:
    Model model;
    test::ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    SleepingEventPump pump;
    test::RecordingLauncher launcher;
    AppContext ctx{model, prompter, clock, pump, launcher, QString(), QString()};
    QRandomGenerator rng{4711};

    int pick(int low, int high) { return rng.bounded(low, high + 1); }

    int channelMask()
    {
        const int count = ChannelCountOf(model.device);
        int mask = 0;
        while (mask == 0 || CheckSwitchingDeviceRules(SwitchingEntryValues{.channelMask = mask},
                                                      model.device) != DeviceRule::Ok)
            mask = pick(1, (1 << count) - 1);
        return mask;
    }

    void date(int &day, int &month)
    {
        month = pick(1, 12);
        int last = 31;
        LimitDayToMonth(last, month);
        day = pick(1, last);
    }

    ProgramRecord randomSwitching()
    {
        const int bus = model.device.BusDevice;
        SwitchingEntryValues e;
        e.hour = pick(0, 23);
        e.minute = pick(0, 59);
        e.pulse = OffersPulses(model.device) && pick(0, 3) == 0 ? pick(1, 59) : 0;
        if (pick(0, 1)) {
            e.kind = EntryKind::Weekly;
            e.weekdayMask = pick(1, AllWeekdays);
            e.program = pick(0, MaxProgram(bus));
        } else {
            e.kind = EntryKind::Dated;
            date(e.day, e.month);
            e.once = pick(0, 1);
        }
        if (bus) {
            e.busChannel = pick(1, ChannelCountOf(model.device));
            e.value = pick(0, 255);
        } else {
            e.channelMask = channelMask();
            e.state = pick(0, 1);
        }
        return EncodeSwitchingTime(e, bus);
    }

    ProgramRecord randomPriority()
    {
        const int bus = model.device.BusDevice;
        PriorityEntryValues e;
        e.priority = pick(1, PermanentCode(bus));
        const bool permanent = IsPermanent(e, bus);
        if (OffersEasterForm(model.device) && pick(0, 3) == 0) {
            e.easter = true;
            // around a third carry a day of the library's holidays
            e.easterCode = pick(0, 2) == 0 ? EasterCodeBase + 1 : pick(0, 255);
        } else {
            date(e.fromDay, e.fromMonth);
            date(e.toDay, e.toMonth);
            e.once = pick(0, 1);
            // any year the seven bits hold, most of them outside the year list
            if (OffersYears(model.device) && pick(0, 2) == 0)
                e.yearCode = pick(1, 127);
        }
        if (bus) {
            e.busChannel = pick(1, ChannelCountOf(model.device));
            e.value = permanent ? pick(0, e.easter ? MaxBusEasterValue : 255) : 0;
        } else {
            e.channelMask = channelMask();
            e.state = permanent ? pick(0, 1) : 0;
        }
        return EncodePriorityTime(e, bus);
    }

    // Appends records that do not conflict with what the program holds, as the dialogs would
    // have stored them.
    template <class Make> void fill(int count, Make make)
    {
        for (int i = 0; i < count; ++i) {
            const ProgramRecord r = make();
            if (!FindConflict(model, r)) {
                ASSERT_TRUE(model.appendRecord(SetProgram, r));
            }
        }
    }

    void fillChangeoverTable()
    {
        ProgramSet &p = model.program();
        const int start = pick(DstYearBase, DstLastStartYear - DstEntries);
        while (p.DstCount < DstEntries) {
            const int year = start + p.DstCount;
            ChangeoverEntry e;
            for (Changeover *c : {&e.advance, &e.setBack}) {
                date(c->day, c->month);
                c->day = LimitChangeoverDay(c->day, c->month, year);
                c->hour = pick(0, DstMaxHour);
                c->shift = pick(0, DstMaxShift);
            }
            if (CheckChangeoverEntry(p, p.DstCount, e, OnceAYear).check == DstCheck::Ok) {
                ASSERT_TRUE(AppendChangeoverEntry(p, e, start, OnceAYear));
            }
        }
    }

    // Marks every record for which `wanted` holds (display order may mix the kinds).
    template <class Wanted> void markAll(int count, Wanted wanted)
    {
        model.Marked.clear();
        for (int i = 0; i < count; ++i)
            if (wanted(i))
                model.Marked.push_back(i);
        model.FirstMarked = 0;
        model.LastMarked = static_cast<int>(model.Marked.size()) - 1;
        model.EditMode = EditChange;
    }

    // Presses OK until the dialog closes by itself after the last marked row.
    void confirmAll(QDialog &dialog, const char *ok, int rows)
    {
        auto *button = test::Control<QAbstractButton>(&dialog, ok);
        for (int i = 0; i < rows && dialog.isVisible(); ++i)
            button->click();
        EXPECT_FALSE(dialog.isVisible());
    }
};

} // namespace

TEST_P(ChangeKeepsRecords, ChangeAndOkLeaveEveryByte)
{
    const DeviceCase &c = GetParam();
    DeviceProperties &d = model.device;
    d.Uhrentyp = c.type;
    d.BusDevice = c.bus;
    d.Kanalzahl = c.channels;
    d.Bewft = c.bewft;
    d.RecordCapacity = c.type == TypeAstro ? CapacityAstro : CapacityAnnual;
    model.holidays.holidays = {Holiday{QStringLiteral("Easter Monday"), HolidayEaster, 0, 1, 0},
                               Holiday{QStringLiteral("Christmas"), HolidayFixed, 0, 25, 12}};

    fill(c.switching, [this] { return randomSwitching(); });
    const int switching = model.program().UsedCount;
    fill(c.priority, [this] { return randomPriority(); });
    fillChangeoverTable();
    SortRecords(model, DisplayOrder, SetProgram, &prompter);
    const ProgramSet before = model.program();
    ASSERT_GT(before.SzCount, c.switching / 2);
    ASSERT_GT(before.PzCount, c.priority / 2);
    ASSERT_EQ(switching, before.SzCount);

    const ProgramSet &p = model.program();
    SwitchingTimeDialog switchingDialog(ctx);
    markAll(p.UsedCount, [&](int i) { return IsSwitchingTime(p.Records[i], c.bus); });
    ASSERT_EQ(static_cast<int>(model.Marked.size()), before.SzCount);
    switchingDialog.openInMode();
    confirmAll(switchingDialog, "cmdSzOk", before.SzCount);

    PriorityTimeDialog priorityDialog(ctx);
    markAll(p.UsedCount, [&](int i) { return !IsSwitchingTime(p.Records[i], c.bus); });
    priorityDialog.openInMode();
    confirmAll(priorityDialog, "cmdPzOk", before.PzCount);

    ChangeoverDialog changeoverDialog(ctx);
    markAll(before.DstCount, [](int) { return true; });
    changeoverDialog.openInMode();
    confirmAll(changeoverDialog, "cmdswok", before.DstCount);

    EXPECT_TRUE(prompter.shown.empty()) << qPrintable(prompter.messages().join(QLatin1Char('\n')));
    const auto after = Sorted(model.program()), expected = Sorted(before);
    std::vector<std::tuple<int, int, int, int, int, int>> lost, gained;
    std::set_difference(expected.begin(), expected.end(), after.begin(), after.end(),
                        std::back_inserter(lost));
    std::set_difference(after.begin(), after.end(), expected.begin(), expected.end(),
                        std::back_inserter(gained));
    EXPECT_TRUE(lost.empty() && gained.empty())
        << ::testing::PrintToString(lost) << " became " << ::testing::PrintToString(gained);
    EXPECT_EQ(model.program().DstFirstYear, before.DstFirstYear);
    for (int i = 0; i < DstEntries; ++i)
        EXPECT_EQ(model.program().DstTable[i], before.DstTable[i]) << "changeover entry " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Programs, ChangeKeepsRecords,
                         ::testing::Values(DeviceCase{"Annual", TypeAnnual, 0, 4, 1, 180, 140},
                                           DeviceCase{"AnnualWithoutHolidays", TypeAnnual, 0, 3, 0, 120, 100},
                                           DeviceCase{"Astro", TypeAstro, 0, 2, 0, 70, 50},
                                           DeviceCase{"Bus", TypeAnnual, 1, 8, 1, 180, 140}),
                         [](const auto &info) { return std::string(info.param.name); });
