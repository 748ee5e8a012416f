#pragma once

#include "model/ProgramRecord.h"

#include <array>

namespace zx {

struct ProgramSet;
struct AstroData;

// The one reading of each stored layout. Every caller that shows, sorts, exports, simulates or
// edits a record takes its fields from here and never reads bits of b0..b5 on its own. The
// decoders give the fields as stored, without judging them: a field outside its range (a bus
// channel above 8 in a damaged file) comes back as it is, so every caller shows the same thing.

// A switching time (kinds 0, 1, 3, 4).
struct SwitchingTime {
    bool weekly = false;
    bool bus = false;
    int minuteOfDay = 0;  // 0..1439 in a valid record
    int weekdayMask = 0;  // weekly: Monday = 1 ... Sunday = 64
    int day = 0;          // dated: 1..31
    int month = 0;        // dated: 1..12
    bool once = false;    // dated: acts in one year only
    int program = 0;      // weekly: 0 none, 1..9 (bus 1..7)
    int channelMask = 0;  // conventional: bit 0 = channel 1 (all eight bits as stored)
    int channel = 0;      // bus: 1..8
    int state = 0;        // conventional: 1 ON, 0 OFF
    int value = 0;        // bus: the value sent, 0..255
    int pulseSeconds = 0; // 0 = switched output
    bool astro = false;   // conventional: generated from the astro table (bit 4 of b4)
};
SwitchingTime DecodeSwitchingRecord(const ProgramRecord &r, int busDevice);

// The bit of the channel mask that marks an astro switching time on a conventional device.
constexpr int AstroTimeBit = 16;

// A priority time (kinds 2 and 5): a date range, or a day relative to Easter (b0 = 96).
struct PriorityTime {
    bool bus = false;
    bool easter = false;
    int easterCode = 0;                                     // Easter form: 82 + offset from Easter Sunday
    int easterOffset = 0;                                   // Easter form: days from Easter Sunday
    int fromDay = 0, fromMonth = 0, toDay = 0, toMonth = 0; // date range
    bool once = false;
    int yearCode = 0; // conventional range: 0 every year, else year - 1936 (1..127)
    int dateForm = 0; // 0..3 as PriorityDateForm
    int code = 0;     // priority program 1..9 (bus 1..7), or the permanent code
    bool permanent = false;
    int channelMask = 0; // conventional: channels 1..4 in a range, 1..8 in the Easter form
    int channel = 0;     // bus: the channel as stored (1..8 in a valid record)
    int state = 0;       // conventional: 1 ON, 0 OFF
    int value = 0;       // bus: the value
    int year() const { return yearCode > 0 ? yearCode + 1936 : 0; }
};
PriorityTime DecodePriorityRecord(const ProgramRecord &r, int busDevice);

constexpr int PermanentCodeConventional = 10;
constexpr int PermanentCodeBus = 8;
constexpr int EasterCodeBase = 82; // Easter day code of Easter Sunday itself
constexpr int YearCodeBase = 1936; // year = year code + 1936

// Changeover table entries are decoded by calendar/Changeover.h (DecodeChangeoverEntry, YearOfEntry).

// The astro times of one day of the year (index 0..365), minutes of the day in standard time.
struct AstroDay {
    int switchOff = 0;
    int switchOn = 0;
};
AstroDay DecodeAstroDay(const AstroData &astro, int dayIndex);

} // namespace zx
