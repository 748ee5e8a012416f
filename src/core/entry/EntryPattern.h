#pragma once

#include "model/Calendar.h"

#include <optional>
#include <vector>

namespace zx {

class Model;

// Entries of set 0 picked by the fields the switching or priority list shows, for a script that
// knows what it entered but not where the list put it. A field left empty matches every
// entry; a given field must equal the entry's own (a weekday or channel list as a whole: "mo"
// does not pick an entry of "mo,tu"). The fields are read from the records by the one decoder.
struct EntryPattern {
    bool priority = false; // the priority list, else the switching list
    // switching times
    std::optional<int> minuteOfDay;
    std::optional<int> weekdayMask; // weekly entries only
    std::optional<DayMonth> date;   // dated entries only
    std::optional<int> program;
    std::optional<int> pulseSeconds;
    // priority times
    std::optional<DayMonth> from, to; // date ranges only
    std::optional<int> easterOffset;  // Easter entries only
    std::optional<int> priorityCode;  // 1..9 (bus 1..7) or the permanent code
    std::optional<int> year;          // the one year of a range; 0: every year
    // both
    std::optional<int> channelMask; // conventional device
    std::optional<int> channel;     // bus device
    std::optional<int> state;       // conventional: 1 ON, 0 OFF
    std::optional<int> value;       // bus
    std::optional<bool> once;

    // Whether any field is given (an empty pattern would pick the whole list).
    bool any() const;
};

// The records of set 0 (indices, in record order) of the pattern's list that match it.
std::vector<int> MatchingEntries(const Model &model, const EntryPattern &pattern);

} // namespace zx
