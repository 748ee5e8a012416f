#pragma once

#include "entry/EntryStore.h"
#include "entry/MarkedRun.h"

namespace zx {

class Model;
class Prompter;
struct ProgramRecord;

// The run of an entry (switching and priority times), apart from any controls: the mode it opens
// in, the marked records a change or copy run walks, the store with its memory and conflict
// checks, "ok for all", and the record the last-entry panel shows. The entry dialogs and
// `zentrix-cli add` drive it, so they refuse the same entries.
class EntrySession {
  public:
    // Opens in the mode the model holds (EditMode with Marked, FirstMarked, LastMarked). A change
    // or copy run whose marks do not name records of its set falls back to enter; the model's
    // EditMode is set to the mode taken.
    void open(Model &model);
    // Ends the run: the model is back in enter mode.
    void close(Model &model);

    int mode() const { return mode_; }
    bool walksMarks() const { return mode_ == EditChange || mode_ == EditCopy; }
    // The set the walked records come from: Template for copy, Program otherwise.
    int sourceSet() const;
    // The record to load into the controls, -1 when none (enter mode, or the run is over).
    int recordToLoad() const { return walksMarks() ? run_.current() : -1; }
    // The marked records walked, for the dialog title's "2 of 5".
    const MarkedRun &run() const { return run_; }
    // The record a confirmation writes over: the edited one in change mode, else -1 (append).
    int editedIndex() const { return mode_ == EditChange ? run_.current() : -1; }

    // What the dialog does after a confirmation.
    struct Next {
        bool stored = false;          // show the entry in the last-entry panel, tick the image
        bool close = false;           // memory full, or the last marked record done
        bool loadNext = false;        // load recordToLoad() into the controls
        bool applyAutomation = false; // advance the controls by the automation increments
        bool stopRuns = false;        // a refusal or conflict ends "ok for all"
    };
    // Takes the result of a store: memory full switches the automation off and closes; a run
    // steps to its next marked record or closes after the last; a refusal ends "ok for all".
    Next afterStore(Model &model, const StoreResult &result);

    // A confirmation: the entry stored by the run's mode (enter and copy append, change writes
    // over the edited record) after the entry store's checks, and what follows.
    struct Confirmation {
        StoreResult result;
        Next next;
    };
    Confirmation storeSwitching(Model &model, Prompter &prompter, const SwitchingEntryValues &entry);
    Confirmation storePriority(Model &model, Prompter &prompter, const PriorityEntryValues &entry);
    // The priority times of one holiday. A holiday without a date the device can hold stores
    // nothing: a beep, and the run goes on as before.
    Confirmation storeHoliday(Model &model, Prompter &prompter,
                              const std::vector<PriorityEntryValues> &entries);

    // "ok for all": confirms again and again until the run ends or an entry is refused.
    void startAll() { all_ = true; }
    void stopAll() { all_ = false; }
    bool runsAll() const { return all_; }

    // In enter mode with no free record slot the entry cannot start: says so once (a second
    // activation while the message is up asks nothing), switches the automation off and answers
    // true, the dialog then closes.
    bool refusesFullMemory(Model &model, Prompter &prompter);

    // The record the last-entry panel shows: the last one stored, UsedCount while none is.
    int panelIndex() const { return panel_; }
    // Moves the panel to the next record in `direction` (+1, -1) that `shown` takes; false (the
    // panel stays) when there is none.
    bool stepPanel(const Model &model, int direction, bool (*shown)(const ProgramRecord &, int busDevice));

  private:
    Confirmation follow(Model &model, const StoreResult &result);

    int mode_ = EditEnter;
    MarkedRun run_;
    bool all_ = false;
    bool tellingFull_ = false;
    int panel_ = 0;
};

} // namespace zx
