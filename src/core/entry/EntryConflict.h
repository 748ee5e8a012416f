#pragma once

#include "model/ProgramRecord.h"

namespace zx {

class Model;

// How a new switching time relates to one already stored.
enum class Comparison {
    Different, // both may exist
    Exists,    // the same entry is stored already
    Inverted,  // the same entry with the other state (bus: another value)
    Pulse,     // a pulse at the same time, days and channels
};

// Compares an existing record with a new one of the same device.
Comparison CompareSwitchingTimes(const ProgramRecord &existing, const ProgramRecord &fresh, int busDevice);

// Compares an existing priority time with a new one. Bus priority times that differ only in
// the to-month or the channel are independent entries.
Comparison ComparePriorityTimes(const ProgramRecord &existing, const ProgramRecord &fresh, int busDevice);

struct Conflict {
    Comparison result = Comparison::Different;
    int index = -1; // the record of Program that conflicts, -1 for none
    explicit operator bool() const { return result != Comparison::Different; }
};

// The first record of Program, in index order, that the new record conflicts with (a priority
// time is compared by the priority rules).
// skipIndex (the entry being changed) is left out; -1 leaves nothing out. Only the records
// before `end` are looked at; -1 looks at the whole set.
Conflict FindConflict(const Model &model, const ProgramRecord &fresh, int skipIndex = -1, int end = -1);

} // namespace zx
