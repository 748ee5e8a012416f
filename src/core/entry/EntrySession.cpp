#include "entry/EntrySession.h"

#include "model/Model.h"

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
}

void EntrySession::close(Model &model)
{
    run_ = MarkedRun();
    mode_ = EditEnter;
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
        if (result.outcome == StoreOutcome::MemoryFull) {
            model.automation.AutomationActive = 0;
            next.close = true;
        }
        return next;
    }
    next.stored = true;
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

} // namespace zx
