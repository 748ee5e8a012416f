#pragma once

#include "entry/EntryStore.h"
#include "entry/MarkedRun.h"

namespace zx {

class Model;

// The run of an entry dialog (switching and priority times), apart from its controls: the mode
// it opens in, the marked records a change or copy run walks, and what follows a confirmation.
// The dialogs keep only their controls and ask the session what to do next.
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
    // steps to its next marked record or closes after the last.
    Next afterStore(Model &model, const StoreResult &result);

  private:
    int mode_ = EditEnter;
    MarkedRun run_;
};

} // namespace zx
