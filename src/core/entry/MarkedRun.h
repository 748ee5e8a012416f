#pragma once

#include <vector>

namespace zx {

// A change or copy run over the rows marked in a list: one record after the other, from the
// first marked row to the last. The record indexes are taken when the run starts, so the list
// being redrawn (which clears the marks) or a changed record moving to another place in the
// display order neither ends nor derails the run. The entry dialogs of every record kind share
// it; it knows nothing of what the records hold.
class MarkedRun {
  public:
    MarkedRun() = default;

    // The run over `marked` from position `first` to position `last` (both included). It is
    // refused (empty) when a position or a record index lies outside the list of `recordCount`
    // records: a run that would have to leave a marked row out never starts. A record marked
    // twice is walked once.
    static MarkedRun fromMarks(const std::vector<int> &marked, int first, int last, int recordCount);

    bool empty() const { return records_.empty(); }
    int size() const { return static_cast<int>(records_.size()); }
    // 0 for the first row of the run.
    int position() const { return position_; }
    // The record index of the row being edited, -1 when the run is empty or over.
    int current() const;
    bool atLast() const { return !empty() && position_ == size() - 1; }
    bool finished() const { return position_ >= size(); }
    // Steps to the next marked row; false (and the run is over) after the last one.
    bool advance();
    const std::vector<int> &records() const { return records_; }

  private:
    std::vector<int> records_;
    int position_ = 0;
};

} // namespace zx
