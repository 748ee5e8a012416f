#include "entry/EntrySession.h"

#include "model/Model.h"
#include "platform/Prompter.h"

namespace zx {

void EntrySession::open(Model &model)
{
    mode_ = model.EditMode;
    run_ = MarkedRun();
    if (walksMarks()) {
        run_ = MarkedRun::fromMarks(model.Marked, model.FirstMarked, model.LastMarked,
                                    model.set(sourceSet()).UsedCount);
        if (run_.empty())
            mode_ = EditEnter;
    } else {
        mode_ = EditEnter;
    }
    model.EditMode = mode_;
    all_ = false;
    panel_ = model.program().UsedCount;
}

void EntrySession::close(Model &model)
{
    run_ = MarkedRun();
    mode_ = EditEnter;
    all_ = false;
    model.EditMode = EditEnter;
}

int EntrySession::sourceSet() const
{
    return mode_ == EditCopy ? SetTemplate : SetProgram;
}

EntrySession::Next EntrySession::afterStore(Model &model, const StoreResult &result)
{
    Next next;
    if (!result.stored()) {
        next.stopRuns = true;
        all_ = false;
        if (result.outcome == StoreOutcome::MemoryFull) {
            model.automation.AutomationActive = 0;
            next.close = true;
        }
        return next;
    }
    next.stored = true;
    panel_ = result.index;
    if (result.memoryFull) {
        model.automation.AutomationActive = 0;
        next.close = true;
    } else if (walksMarks() && !run_.advance()) {
        next.close = true;
    } else {
        next.loadNext = walksMarks();
        next.applyAutomation = model.automation.AutomationActive != 0;
    }
    return next;
}

EntrySession::Confirmation EntrySession::follow(Model &model, const StoreResult &result)
{
    return {result, afterStore(model, result)};
}

EntrySession::Confirmation EntrySession::storeSwitching(Model &model, Prompter &prompter,
                                                        const SwitchingEntryValues &entry)
{
    return follow(model, StoreSwitchingTime(model, prompter, entry, mode_, editedIndex()));
}

EntrySession::Confirmation EntrySession::storePriority(Model &model, Prompter &prompter,
                                                       const PriorityEntryValues &entry)
{
    return follow(model, StorePriorityTime(model, prompter, entry, mode_, editedIndex()));
}

EntrySession::Confirmation EntrySession::storeHoliday(Model &model, Prompter &prompter,
                                                      const std::vector<PriorityEntryValues> &entries)
{
    const StoreResult result = StoreHolidayPriorityTimes(model, prompter, entries, mode_, editedIndex());
    if (result.outcome == StoreOutcome::NothingToStore) {
        prompter.beep();
        return {result, Next{}};
    }
    return follow(model, result);
}

bool EntrySession::refusesFullMemory(Model &model, Prompter &prompter)
{
    if (tellingFull_ || mode_ != EditEnter || !MemoryFull(model))
        return false;
    tellingFull_ = true;
    prompter.tell(model.catalogue(Msg::NoMoreMemorySpace), Icon::Critical);
    tellingFull_ = false;
    model.automation.AutomationActive = 0;
    return true;
}

bool EntrySession::stepPanel(const Model &model, int direction, bool (*shown)(const ProgramRecord &, int))
{
    const ProgramSet &p = model.program();
    for (int i = panel_ + direction; i >= 0 && i < p.UsedCount; i += direction) {
        if (shown(p.Records[i], model.device.BusDevice)) {
            panel_ = i;
            return true;
        }
    }
    return false;
}

} // namespace zx
