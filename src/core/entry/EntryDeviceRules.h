#pragma once

#include "entry/PriorityEntry.h"
#include "entry/SwitchingEntry.h"

#include <QString>

#include <vector>

namespace zx {

struct DeviceProperties;
class Model;

// Which channels an entry dialog offers, as the device decides it. Both entry dialogs (switching
// and priority times) lay out their channel controls from it.
struct ChannelLayout {
    bool bus = false;         // one channel per entry (option buttons) instead of a channel mask
    int channels = 4;         // channel controls shown: 1..4 conventional, 4 or 8 on a bus device
    bool firstTicked = false; // a one-channel device starts with channel 1 chosen ...
    bool firstLocked = false; // ... and with the utility option it cannot be unchosen
    int meterChannel = 0;     // the meter pulse channel (1..4), which no entry may switch; 0 none
};

// The layout for the device. A conventional device with a channel count other than 1..3 has
// four channels, and its Kanalzahl is set to 4 accordingly.
ChannelLayout PrepareChannelLayout(DeviceProperties &device);

// The number of channels a bus device has: 4 with Kanalzahl 4, otherwise 8.
int BusChannelCount(int kanalzahl);

// The channels (as a mask, channel 1 = 1) that ticking `channel` (1-based) unticks: on the astro
// device channels 1 and 2 cannot be switched by one entry.
int ChannelsExcludedBy(const DeviceProperties &device, int channel);

// Whether switching times may be pulses: the astro device switches its outputs only.
bool OffersPulses(const DeviceProperties &device);

// The channels an entry may name: 1..3 or 4 on a conventional device, 4 or 8 on a bus device.
int ChannelCountOf(const DeviceProperties &device);
// Whether the device resolves Easter-relative days itself (variable holidays).
bool OffersEasterForm(const DeviceProperties &device);
// Whether a priority time may carry a year: an annual device with variable holidays; a bus record
// has no year field.
bool OffersYears(const DeviceProperties &device);

// What an entry asks of the device that the device cannot do. The entry dialogs never offer
// these; every front end refuses them through the entry store.
enum class DeviceRule {
    Ok,
    AstroChannelsTogether, // the astro device switches channel 1 or channel 2, never both
    ChannelAboveCount,     // a channel the device does not have
    PulseOnAstro,          // the astro device has no pulses
    NoVariableHolidays,    // the Easter form or a year on a device without variable holidays
    FreeHolidayYears,      // years for free holidays: an even number 2..30
    BusFreeHolidayYears,   // a free holiday over several years: a bus record has no year
};

DeviceRule CheckSwitchingDeviceRules(const SwitchingEntryValues &e, const DeviceProperties &device);
DeviceRule CheckPriorityDeviceRules(const PriorityEntryValues &e, const DeviceProperties &device);
DeviceRule CheckFreeHolidayYears(int years);

// The refusal text, the same for the dialogs and zentrix-cli.
QString DeviceRuleMessage(const Model &model, DeviceRule rule);

// A stored record of Program that breaks a device rule (a file written by another tool, or by
// an earlier version that did not check).
struct RuleBreak {
    int index = -1;
    DeviceRule rule = DeviceRule::Ok;
};
std::vector<RuleBreak> RecordsBreakingDeviceRules(const Model &model);

} // namespace zx
