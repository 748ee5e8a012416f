#include "entry/EntryStore.h"

#include "entry/EntryDeviceRules.h"
#include "model/Model.h"
#include "platform/Prompter.h"

#include <algorithm>

namespace zx {

int RecordCapacityOf(const Model &model)
{
    return std::clamp(model.device.RecordCapacity, 0, MaxRecords);
}

bool MemoryFull(const Model &model)
{
    return model.program().UsedCount >= RecordCapacityOf(model);
}

namespace {

void TellCritical(Model &model, Prompter &prompter, int position)
{
    prompter.tell(model.catalogue(position), Icon::Critical);
}

bool AskCritical(Model &model, Prompter &prompter, int position)
{
    return prompter.ask(model.catalogue(position), Buttons::YesNo, Icon::Critical) == Answer::Yes;
}

// Overwrites a conflicting record after the user agreed. The record count does not change,
// but Program now differs from its file, so the document is marked modified.
void Replace(Model &model, int index, const ProgramRecord &r)
{
    model.program().Records[index] = r;
    model.Modified = 1;
}

// The run rules both entries share: memory limit, conflict scan and its questions, then the
// record appended (enter, copy) or written over the edited one (change).
StoreResult StoreRecord(Model &model, Prompter &prompter, const ProgramRecord &record, bool priority,
                        int editMode, int editedIndex)
{
    ProgramSet &p = model.program();
    const bool changing = editMode == EditChange && editedIndex >= 0 && editedIndex < p.UsedCount;
    if (!changing && MemoryFull(model)) {
        TellCritical(model, prompter, Msg::NoMoreMemorySpace);
        return {StoreOutcome::MemoryFull, -1, true};
    }

    const Conflict conflict = FindConflict(model, record, changing ? editedIndex : -1);
    switch (conflict.result) {
    case Comparison::Inverted:
        if (AskCritical(model, prompter,
                        priority ? Msg::PriorityInvertedOverwrite : Msg::InvertedStateOverwrite)) {
            Replace(model, conflict.index, record);
            return {StoreOutcome::InvertedReplaced, conflict.index};
        }
        return {StoreOutcome::InvertedKept};
    case Comparison::Exists:
        TellCritical(model, prompter, priority ? Msg::PriorityExistsAlready : Msg::ThisProgramAlreadyExists);
        return {StoreOutcome::Exists};
    case Comparison::Pulse:
        if (AskCritical(model, prompter, Msg::PulsAlreadyExists)) {
            Replace(model, conflict.index, record);
            return {StoreOutcome::PulseReplaced, conflict.index};
        }
        return {StoreOutcome::PulseKept};
    case Comparison::Different:
        break;
    }

    StoreResult result{StoreOutcome::Stored};
    if (changing) {
        p.Records[editedIndex] = record;
        result.index = editedIndex;
    } else {
        result.index = p.UsedCount;
        p.Records[p.UsedCount] = record;
        ++(priority ? p.PzCount : p.SzCount);
        p.UsedCount = p.SzCount + p.PzCount;
        if (MemoryFull(model)) {
            result.memoryFull = true;
            TellCritical(model, prompter, Msg::NoMoreMemorySpace);
        }
    }
    model.Modified = 1;
    return result;
}

} // namespace

StoreResult StoreSwitchingTime(Model &model, Prompter &prompter, const SwitchingEntryValues &entry,
                               int editMode, int editedIndex)
{
    const int bus = model.device.BusDevice;
    switch (CheckSwitchingEntry(entry, bus)) {
    case EntryCheck::DateOrWeekdaysIncomplete:
        TellCritical(model, prompter, Msg::DateOrWeekdaysIncomplete);
        return {StoreOutcome::Incomplete};
    case EntryCheck::NoChannel:
        TellCritical(model, prompter, Msg::NoChannelsSelected);
        return {StoreOutcome::NoChannel};
    case EntryCheck::Ok:
        break;
    }
    if (const DeviceRule rule = CheckSwitchingDeviceRules(entry, model.device); rule != DeviceRule::Ok) {
        prompter.tell(DeviceRuleMessage(model, rule), Icon::Critical);
        return {StoreOutcome::DeviceRefused};
    }

    return StoreRecord(model, prompter, EncodeSwitchingTime(entry, bus), false, editMode, editedIndex);
}

StoreResult StorePriorityTime(Model &model, Prompter &prompter, const PriorityEntryValues &entry,
                              int editMode, int editedIndex)
{
    const int bus = model.device.BusDevice;
    switch (CheckPriorityEntry(entry, bus)) {
    case PriorityCheck::DateIncomplete:
        TellCritical(model, prompter, Msg::DateOrWeekdaysIncomplete);
        return {StoreOutcome::Incomplete};
    case PriorityCheck::NoChannel:
        TellCritical(model, prompter, Msg::NoChannelsSelected);
        return {StoreOutcome::NoChannel};
    case PriorityCheck::BadPriority:
        // the list offers nothing else; a damaged record loaded for a change may carry it
        TellCritical(model, prompter, Msg::DateOrWeekdaysIncomplete);
        return {StoreOutcome::Incomplete};
    case PriorityCheck::BusEasterValue:
        prompter.tell(BusEasterValueMessage(model), Icon::Critical);
        return {StoreOutcome::BadValue};
    case PriorityCheck::Ok:
        break;
    }
    if (const DeviceRule rule = CheckPriorityDeviceRules(entry, model.device); rule != DeviceRule::Ok) {
        prompter.tell(DeviceRuleMessage(model, rule), Icon::Critical);
        return {StoreOutcome::DeviceRefused};
    }
    return StoreRecord(model, prompter, EncodePriorityTime(entry, bus), true, editMode, editedIndex);
}

StoreResult StoreHolidayPriorityTimes(Model &model, Prompter &prompter,
                                      const std::vector<PriorityEntryValues> &entries, int editMode,
                                      int editedIndex)
{
    if (entries.empty())
        return {StoreOutcome::NothingToStore};
    const int count = static_cast<int>(entries.size());
    if (model.device.BusDevice && count > 1) {
        prompter.tell(DeviceRuleMessage(model, DeviceRule::BusFreeHolidayYears), Icon::Critical);
        return {StoreOutcome::DeviceRefused};
    }
    const ProgramSet &p = model.program();
    const bool changing = editMode == EditChange && editedIndex >= 0 && editedIndex < p.UsedCount;
    const int added = changing ? count - 1 : count;
    if (added > 0 && p.UsedCount + added > RecordCapacityOf(model)) {
        TellCritical(model, prompter, Msg::NoMoreMemorySpace);
        return {StoreOutcome::MemoryFull, -1, MemoryFull(model)};
    }
    StoreResult result;
    for (int i = 0; i < count; ++i) {
        const bool first = i == 0;
        result = StorePriorityTime(model, prompter, entries[i], first ? editMode : EditEnter,
                                   first ? editedIndex : -1);
        if (!result.stored() || result.memoryFull)
            break;
    }
    return result;
}

QString BusEasterValueMessage(const Model &model)
{
    return model.catalogue(Msg::Value) + QStringLiteral(": 0 ") + model.catalogue(Msg::UpTo) +
           QStringLiteral(" %1").arg(MaxBusEasterValue);
}

} // namespace zx
