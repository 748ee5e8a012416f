#pragma once

#include "model/ProgramRecord.h"

namespace zx {

// What the priority time entry holds while the user edits it: the working values of the
// dialog, independent of any widget.
struct PriorityEntryValues {
    int fromDay = 1, fromMonth = 1; // 1..31, 1..12
    int toDay = 1, toMonth = 1;
    int once = 0;        // acts in one year only
    int yearCode = 0;    // 0 every year, else year - 1936; a year always acts once
    int priority = 1;    // 1..9 (bus 1..7), or the permanent code
    int channelMask = 0; // conventional device: channel 1 = 1 ... channel 4 = 8
    int state = 0;       // conventional device, permanent only: 1 ON, 0 OFF
    int busChannel = 0;  // bus device: 1..8; 0 = none chosen
    int value = 0;       // bus device, permanent only: 0..255
    bool easter = false; // the day relative to Easter that the device resolves every year
    int easterCode = 0;  // 82 + days from Easter Sunday

    friend bool operator==(const PriorityEntryValues &, const PriorityEntryValues &) = default;
};

// The code of "permanent" on the device: the entry after the last priority program.
int PermanentCode(int busDevice);
// The highest priority program (9, bus 7).
int MaxPriority(int busDevice);
bool IsPermanent(const PriorityEntryValues &e, int busDevice);
// Whether a record is a priority time (of either kind: the device's kind is read from the record).
bool IsPriorityTime(const ProgramRecord &r, int busDevice);

// Year codes of the year list: 1999..2030.
constexpr int FirstListedYear = 1999;
constexpr int LastListedYear = 2030;
int YearCodeOf(int year); // 0 for a year outside the list

// On a bus device the Easter form keeps the value in the low nibble of b5, beside the day code.
constexpr int MaxBusEasterValue = 15;

enum class PriorityCheck { Ok, DateIncomplete, NoChannel, BadPriority, BusEasterValue };
// Whether an entry can be stored at all.
PriorityCheck CheckPriorityEntry(const PriorityEntryValues &e, int busDevice);

// Only permanent priority times carry a state or a value; a year sets the once flag.
PriorityEntryValues NormalisedPriorityEntry(PriorityEntryValues e, int busDevice);

// The device's 6-byte form of a checked entry (normalised first).
ProgramRecord EncodePriorityTime(const PriorityEntryValues &e, int busDevice);
// The entry values of a stored priority time, as change and copy load them.
PriorityEntryValues DecodePriorityTime(const ProgramRecord &r, int busDevice);

} // namespace zx
