#pragma once

#include "model/ProgramRecord.h"

namespace zx {

// What the switching time entry holds while the user edits it: the working values of the
// dialog, independent of any widget.
enum class EntryKind : int { Undecided = 0, Weekly = 1, Dated = 2 };

constexpr int AllWeekdays = 127;          // Monday = 1 ... Sunday = 64
constexpr int MaxProgramConventional = 9; // priority programs 1..9
constexpr int MaxProgramBus = 7;          // a bus record has three program bits

struct SwitchingEntryValues {
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int pulse = 0;   // seconds, 0 = the output is switched, 1..59 = pulse
    int once = 0;    // dated entries: acts in one year only
    int program = 0; // 0 none, 1..9 (1..7 on a bus device); weekly entries only
    EntryKind kind = EntryKind::Undecided;
    int weekdayMask = 0; // weekly entries
    int day = 0;         // 1..31; 0 = no day given
    int month = 0;       // 1..12; 0 = no month given
    int channelMask = 0; // conventional device: channel 1 = 1 ... channel 4 = 8
    int state = 1;       // conventional device: 1 ON, 0 OFF
    int busChannel = 0;  // bus device: 1..8; 0 = none chosen
    int value = 0;       // bus device: the value sent, 0..255

    int minuteOfDay() const { return hour * 60 + minute; }
    friend bool operator==(const SwitchingEntryValues &, const SwitchingEntryValues &) = default;
};

// The kind a confirmed entry takes: dated when both day and month are given, weekly when
// some weekday is ticked, otherwise undecided.
EntryKind ConfirmedKind(const SwitchingEntryValues &e);

enum class EntryCheck { Ok, DateOrWeekdaysIncomplete, NoChannel };
// Whether an entry can be stored at all: a date or weekdays, and at least one channel.
EntryCheck CheckSwitchingEntry(const SwitchingEntryValues &e, int busDevice);

int MaxProgram(int busDevice);

// The device's 6-byte form of a checked entry. The link bits stay clear.
ProgramRecord EncodeSwitchingTime(const SwitchingEntryValues &e, int busDevice);
// The entry values of a stored switching time, as change and copy load them. A pulse length
// above 59 reads as no pulse.
SwitchingEntryValues DecodeSwitchingTime(const ProgramRecord &r, int busDevice);

// A switching time of the device's own kind (weekly or dated, conventional or bus).
bool IsSwitchingTime(const ProgramRecord &r, int busDevice);

} // namespace zx
