#pragma once

#include "entry/EntryDeviceRules.h"
#include "entry/EntryStore.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"

#include <QStringList>

#include <vector>

namespace zx::test {

// Entries a device cannot hold, each as the entry store gets it and as `zentrix-cli add` options.
// The core test stores the entry, the end-to-end test runs `add`: both must refuse it with the
// same text, so a dialog and the command line refuse exactly the same entries.
struct DeviceRuleCase {
    const char *name;
    int type, bus, channels, bewft; // the program: `new --type T --channels N [--bus]`, BEWFT= of the
                                    // working directory's configuration
    bool priority;                  // which store the entry goes to
    SwitchingEntryValues switching;
    PriorityEntryValues priorityEntry;
    QStringList options; // after `add FILE`
    DeviceRule rule;

    void setUp(DeviceProperties &d) const
    {
        d.Uhrentyp = type;
        d.BusDevice = bus;
        d.Kanalzahl = channels;
        d.Bewft = bewft;
        d.RecordCapacity = type == TypeAstro ? CapacityAstro : CapacityAnnual;
    }
};

inline SwitchingEntryValues MondayAtSix(int channelMask, int busChannel = 0, int pulse = 0)
{
    SwitchingEntryValues e;
    e.hour = 6;
    e.kind = EntryKind::Weekly;
    e.weekdayMask = 1;
    e.channelMask = channelMask;
    e.busChannel = busChannel;
    e.pulse = pulse;
    return e;
}

inline PriorityEntryValues FirstOfMay(int channelMask, int yearCode = 0, int easterCode = 0)
{
    PriorityEntryValues e;
    e.fromDay = e.toDay = 1;
    e.fromMonth = e.toMonth = 5;
    e.yearCode = yearCode;
    e.once = yearCode ? 1 : 0;
    e.channelMask = channelMask;
    e.easter = easterCode != 0;
    e.easterCode = easterCode;
    return e;
}

inline std::vector<DeviceRuleCase> DeviceRuleCases()
{
    const QStringList monday{"switching", "--time", "06:00", "--days", "mo"};
    const QStringList may{"priority", "--from", "1.5", "--to", "1.5", "--priority", "1"};
    return {
        {"AstroSwitchesChannelOneOrTwo",
         TypeAstro,
         0,
         2,
         0,
         false,
         MondayAtSix(3),
         {},
         monday + QStringList{"--channels", "1,2"},
         DeviceRule::AstroChannelsTogether},
        {"AstroPriorityOnChannelOneOrTwo",
         TypeAstro,
         0,
         2,
         0,
         true,
         {},
         FirstOfMay(3),
         may + QStringList{"--channels", "1,2"},
         DeviceRule::AstroChannelsTogether},
        {"ChannelAboveTheCount",
         TypeAnnual,
         0,
         2,
         0,
         false,
         MondayAtSix(15),
         {},
         monday + QStringList{"--channels", "1,2,3,4"},
         DeviceRule::ChannelAboveCount},
        {"BusChannelAboveTheCount",
         TypeAnnual,
         1,
         4,
         0,
         false,
         MondayAtSix(0, 5),
         {},
         monday + QStringList{"--channel", "5", "--value", "1"},
         DeviceRule::ChannelAboveCount},
        {"AstroHasNoPulses",
         TypeAstro,
         0,
         2,
         0,
         false,
         MondayAtSix(1, 0, 5),
         {},
         monday + QStringList{"--channels", "1", "--pulse", "5"},
         DeviceRule::PulseOnAstro},
        {"EasterWithoutVariableHolidays",
         TypeAnnual,
         0,
         4,
         0,
         true,
         {},
         FirstOfMay(1, 0, EasterCodeBase + 1),
         QStringList{"priority", "--easter", "1", "--priority", "1", "--channels", "1"},
         DeviceRule::NoVariableHolidays},
        {"YearWithoutVariableHolidays",
         TypeAnnual,
         0,
         4,
         0,
         true,
         {},
         FirstOfMay(1, 2027 - YearCodeBase),
         may + QStringList{"--year", "2027", "--channels", "1"},
         DeviceRule::NoVariableHolidays},
        {"YearOnTheAstroDevice",
         TypeAstro,
         0,
         2,
         1,
         true,
         {},
         FirstOfMay(1, 2027 - YearCodeBase),
         may + QStringList{"--year", "2027", "--channels", "1"},
         DeviceRule::NoVariableHolidays},
    };
}

// Entries the program itself refuses: the same entry again, the entry with the other state (not
// replaced: `add` answers No without --replace), and any new entry once the memory is full. The
// entry session refuses them in a dialog and in `zentrix-cli add` alike, with the same text.
struct RefusalCase {
    const char *name;
    bool full;                  // the program fills the memory (else it holds MondayAtSix(1))
    SwitchingEntryValues entry; // the entry refused
    QStringList options;        // after `add FILE`
    StoreOutcome outcome;
    int message; // the text said or asked (Msg)
};

inline std::vector<RefusalCase> RefusalCases()
{
    const QStringList monday{"switching", "--time", "06:00", "--days", "mo", "--channels", "1"};
    SwitchingEntryValues off = MondayAtSix(1);
    off.state = 0;
    return {
        {"SameEntryAgain", false, MondayAtSix(1), monday, StoreOutcome::Exists,
         Msg::ThisProgramAlreadyExists},
        {"OtherStateNotReplaced", false, off, monday + QStringList{"--state", "off"},
         StoreOutcome::InvertedKept, Msg::InvertedStateOverwrite},
        {"MemoryFull", true, MondayAtSix(1), monday, StoreOutcome::MemoryFull, Msg::NoMoreMemorySpace},
    };
}

// Fills every free record slot with switching times the refusal cases never collide with:
// Sundays on channel 4, one minute apart.
inline void FillMemory(Model &model)
{
    for (int i = model.program().UsedCount; i < RecordCapacityOf(model); ++i) {
        SwitchingEntryValues e;
        e.hour = i / 60;
        e.minute = i % 60;
        e.kind = EntryKind::Weekly;
        e.weekdayMask = 64;
        e.channelMask = 8;
        model.appendRecord(SetProgram, EncodeSwitchingTime(e, model.device.BusDevice));
    }
}

} // namespace zx::test
