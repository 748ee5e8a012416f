// `remove` by fields: a pattern made of an entry's own fields picks it, and changing any one
// field loses it, over every switching and priority time of a full program.
#include "entry/EntryPattern.h"
#include "entry/SwitchingEntry.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "model/ValueRanges.h"
#include "support/SamplePrograms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace zx::test {
namespace {

bool picks(const Model &m, const EntryPattern &p, int index)
{
    const std::vector<int> found = MatchingEntries(m, p);
    return std::find(found.begin(), found.end(), index) != found.end();
}

struct Change {
    const char *field;
    std::function<void(EntryPattern &)> apply;
};

EntryPattern switchingPattern(const SwitchingTime &t)
{
    EntryPattern p;
    p.minuteOfDay = t.minuteOfDay;
    if (t.weekly)
        p.weekdayMask = t.weekdayMask;
    else
        p.date = DayMonth{t.day, t.month};
    p.program = t.program;
    p.pulseSeconds = t.pulseSeconds;
    p.channelMask = t.channelMask & ~AstroTimeBit;
    p.state = t.state;
    p.once = t.once;
    return p;
}

EntryPattern priorityPattern(const PriorityTime &t)
{
    EntryPattern p;
    p.priority = true;
    if (t.easter) {
        p.easterOffset = t.easterOffset;
    } else {
        p.from = DayMonth{t.fromDay, t.fromMonth};
        p.to = DayMonth{t.toDay, t.toMonth};
        p.year = t.year();
    }
    p.priorityCode = t.code;
    p.channelMask = t.channelMask;
    p.state = t.state;
    p.once = t.once;
    return p;
}

TEST(EntryPattern, AnEntrysOwnFieldsPickItAndAnyOneChangedFieldLosesIt)
{
    Model m;
    fillFullAnnual(m);
    const std::vector<Change> switchingChanges = {
        {"time", [](EntryPattern &p) { p.minuteOfDay = (*p.minuteOfDay + 1) % 1440; }},
        {"days or date",
         [](EntryPattern &p) {
             if (p.weekdayMask)
                 p.weekdayMask = *p.weekdayMask ^ 1;
             else
                 p.date = DayMonth{p.date->day % 28 + 1, p.date->month};
         }},
        {"program", [](EntryPattern &p) { p.program = *p.program + 1; }},
        {"pulse", [](EntryPattern &p) { p.pulseSeconds = *p.pulseSeconds + 1; }},
        {"channels", [](EntryPattern &p) { p.channelMask = *p.channelMask ^ 2; }},
        {"state", [](EntryPattern &p) { p.state = 1 - *p.state; }},
        {"once", [](EntryPattern &p) { p.once = !*p.once; }},
        {"a priority time's field", [](EntryPattern &p) { p.priorityCode = 1; }},
        {"a priority time's first day",
         [](EntryPattern &p) {
             p.from = DayMonth{1, 1};
         }},
        {"weekdays", [](EntryPattern &p) { p.weekdayMask = p.weekdayMask ? *p.weekdayMask ^ 1 : 1; }},
    };
    const std::vector<Change> priorityChanges = {
        {"from or Easter",
         [](EntryPattern &p) {
             if (p.easterOffset)
                 p.easterOffset = *p.easterOffset + 1;
             else
                 p.from = DayMonth{p.from->day % 28 + 1, p.from->month};
         }},
        {"code", [](EntryPattern &p) { p.priorityCode = *p.priorityCode % 9 + 1; }},
        {"a switching time", [](EntryPattern &p) { p.minuteOfDay = 0; }},
        {"weekdays", [](EntryPattern &p) { p.weekdayMask = 1; }},
        {"a date",
         [](EntryPattern &p) {
             p.date = DayMonth{1, 1};
         }},
        {"a program", [](EntryPattern &p) { p.program = 1; }},
        {"a pulse", [](EntryPattern &p) { p.pulseSeconds = 1; }},
        {"Easter offset", [](EntryPattern &p) { p.easterOffset = p.easterOffset ? *p.easterOffset + 1 : 1; }},
        {"year", [](EntryPattern &p) { p.year = 2099; }}, // past the last year a record can name
        {"channels", [](EntryPattern &p) { p.channelMask = *p.channelMask ^ 2; }},
        {"state", [](EntryPattern &p) { p.state = 1 - *p.state; }},
        {"once", [](EntryPattern &p) { p.once = !*p.once; }},
    };
    int switching = 0, priority = 0;
    for (int i = 0; i < m.program().UsedCount; ++i) {
        const ProgramRecord &r = m.program().Records[i];
        EntryPattern own;
        const std::vector<Change> *changes = nullptr;
        if (IsSwitchingCode(r.b0)) {
            own = switchingPattern(DecodeSwitchingRecord(r, 0));
            changes = &switchingChanges;
            ++switching;
        } else if (IsPriorityCode(r.b0)) {
            own = priorityPattern(DecodePriorityRecord(r, 0));
            changes = &priorityChanges;
            ++priority;
        } else {
            continue;
        }
        ASSERT_TRUE(own.any());
        EXPECT_TRUE(picks(m, own, i)) << "record " << i;
        for (const Change &c : *changes) {
            EntryPattern other = own;
            c.apply(other);
            EXPECT_FALSE(picks(m, other, i)) << "record " << i << " with another " << c.field;
        }
        // a list is asked by its own kind only
        EntryPattern wrongList = own;
        wrongList.priority = !own.priority;
        EXPECT_FALSE(picks(m, wrongList, i)) << "record " << i << " from the other list";
    }
    EXPECT_GT(switching, 100);
    EXPECT_GT(priority, 20);
}

// The astro device marks the times its table made in the channel byte; a pattern names the
// channels only and still picks them.
TEST(EntryPattern, TheAstroTablesMarkIsNoChannel)
{
    Model m;
    fillFullAstro(m);
    // the program is full: two of its switching times become marked ones
    std::vector<ProgramRecord> markedTimes = {weeklyTime(6, 0, 1, 1 | AstroTimeBit),
                                              datedTime(18, 30, 24, 12, 2 | AstroTimeBit)};
    for (int i = 0; i < m.program().UsedCount && !markedTimes.empty(); ++i) {
        if (IsSwitchingCode(m.program().Records[i].b0)) {
            m.program().Records[i] = markedTimes.back();
            markedTimes.pop_back();
        }
    }
    int marked = 0;
    for (int i = 0; i < m.program().UsedCount; ++i) {
        const ProgramRecord &r = m.program().Records[i];
        if (!IsSwitchingCode(r.b0))
            continue;
        const SwitchingTime t = DecodeSwitchingRecord(r, 0);
        if (!(t.channelMask & AstroTimeBit))
            continue;
        ++marked;
        EXPECT_TRUE(picks(m, switchingPattern(t), i)) << "record " << i;
    }
    EXPECT_EQ(marked, 2);
}

// On a bus device an entry names one channel and a value; the conventional fields (channel
// boxes, ON/OFF) pick nothing there.
TEST(EntryPattern, ABusEntryIsPickedByItsChannelAndValue)
{
    Model m;
    m.device.BusDevice = 1;
    m.device.Kanalzahl = 8;
    SwitchingEntryValues e;
    e.kind = EntryKind::Weekly;
    e.weekdayMask = 1;
    e.busChannel = 3;
    e.value = 100;
    m.appendRecord(SetProgram, EncodeSwitchingTime(e, 1));
    const struct {
        const char *what;
        std::function<void(EntryPattern &)> set;
        bool picks;
    } cases[] = {
        {"its channel", [](EntryPattern &p) { p.channel = 3; }, true},
        {"another channel", [](EntryPattern &p) { p.channel = 4; }, false},
        {"its value", [](EntryPattern &p) { p.value = 100; }, true},
        {"another value", [](EntryPattern &p) { p.value = 99; }, false},
        {"channel boxes", [](EntryPattern &p) { p.channelMask = 4; }, false},
        {"channel boxes beside its channel",
         [](EntryPattern &p) {
             p.channel = 3;
             p.channelMask = 4;
         },
         false},
        {"ON/OFF", [](EntryPattern &p) { p.state = 1; }, false},
        {"ON/OFF beside its value",
         [](EntryPattern &p) {
             p.value = 100;
             p.state = 0;
         },
         false},
    };
    for (const auto &c : cases) {
        EntryPattern p;
        c.set(p);
        EXPECT_EQ(picks(m, p, 0), c.picks) << c.what;
    }
}

// A slot past the count is a leftover of a deleted entry: no pattern picks it.
TEST(EntryPattern, LeftoverSlotsPastTheCountAreNoEntries)
{
    Model m;
    m.appendRecord(SetProgram, weeklyTime(6, 0, 1, 1));
    m.program().Records[1] = weeklyTime(7, 0, 1, 1);
    EntryPattern p;
    p.channelMask = 1;
    EXPECT_EQ(MatchingEntries(m, p), std::vector<int>{0});
}

TEST(EntryPattern, AnyFieldMakesAPattern)
{
    EXPECT_FALSE(EntryPattern{}.any());
    EntryPattern priorityOnly;
    priorityOnly.priority = true;
    EXPECT_FALSE(priorityOnly.any());
    const std::vector<std::function<void(EntryPattern &)>> one = {
        [](EntryPattern &p) { p.minuteOfDay = 0; },
        [](EntryPattern &p) { p.weekdayMask = 1; },
        [](EntryPattern &p) {
            p.date = DayMonth{1, 1};
        },
        [](EntryPattern &p) { p.program = 0; },
        [](EntryPattern &p) { p.pulseSeconds = 0; },
        [](EntryPattern &p) {
            p.from = DayMonth{1, 1};
        },
        [](EntryPattern &p) {
            p.to = DayMonth{1, 1};
        },
        [](EntryPattern &p) { p.easterOffset = 0; },
        [](EntryPattern &p) { p.priorityCode = 1; },
        [](EntryPattern &p) { p.year = 0; },
        [](EntryPattern &p) { p.channelMask = 1; },
        [](EntryPattern &p) { p.channel = 1; },
        [](EntryPattern &p) { p.state = 0; },
        [](EntryPattern &p) { p.value = 0; },
        [](EntryPattern &p) { p.once = false; },
    };
    for (std::size_t i = 0; i < one.size(); ++i) {
        EntryPattern p;
        one[i](p);
        EXPECT_TRUE(p.any()) << "field " << i;
    }
}

} // namespace
} // namespace zx::test
