#pragma once

#include <QString>

#include <vector>

#include "entry/EntryConflict.h"
#include "entry/PriorityEntry.h"
#include "entry/SwitchingEntry.h"

namespace zx {

class Model;
class Prompter;

// Modes of the entry dialogs (EditMode).
enum EditModes : int { EditEnter = 0, EditChange = 1, EditCopy = 2 };

enum class StoreOutcome {
    Stored,           // written at the target index
    Incomplete,       // neither a date nor weekdays
    NoChannel,        // no channel chosen
    MemoryFull,       // no free record slot for a new entry
    Exists,           // the same entry is stored already
    InvertedReplaced, // the entry with the other state was overwritten
    InvertedKept,
    PulseReplaced, // the existing pulse was overwritten
    PulseKept,
    BadValue,       // a bus Easter-form priority time with a value that does not fit beside the day code
    DeviceRefused,  // the device cannot hold the entry (EntryDeviceRules)
    NothingToStore, // a holiday without a date the device can hold
};

struct StoreResult {
    StoreOutcome outcome = StoreOutcome::Stored;
    int index = -1;          // the record written (stored or replaced), -1 when none
    bool memoryFull = false; // a new entry filled the last free slot
    bool stored() const { return outcome == StoreOutcome::Stored; }
};

// The number of record slots of the device being programmed.
int RecordCapacityOf(const Model &model);
bool MemoryFull(const Model &model);

// Validates, encodes and stores one switching time in Program. Enter and copy append it,
// change writes it over editedIndex. The user is told about refusals, asked about an entry
// with the other state or a colliding pulse, and told when the memory is full.
StoreResult StoreSwitchingTime(Model &model, Prompter &prompter, const SwitchingEntryValues &entry,
                               int editMode, int editedIndex = -1);

// Validates, encodes and stores one priority time in Program, by the same run rules: enter and
// copy append it (PzCount grows), change writes it over editedIndex.
StoreResult StorePriorityTime(Model &model, Prompter &prompter, const PriorityEntryValues &entry,
                              int editMode, int editedIndex = -1);

// Stores the priority times that enter one holiday (HolidayPriorityTimes). Enter and copy add
// them all; change writes the first over editedIndex and adds the others. Before anything is
// stored it refuses an empty list, several yearly records on a bus device (a bus record has no
// year, so they would all act at once) and more new records than the memory has room for; each
// record then goes through the checks of a single store, and the first one refused ends the run.
StoreResult StoreHolidayPriorityTimes(Model &model, Prompter &prompter,
                                      const std::vector<PriorityEntryValues> &entries, int editMode,
                                      int editedIndex = -1);

// The refusal text of a bus Easter-form value that does not fit: "value: 0 up to 15".
QString BusEasterValueMessage(const Model &model);

} // namespace zx
