#pragma once

#include "entry/EntryConflict.h"

#include <QString>

#include <vector>

namespace zx {

class Model;

// Records of set 0 that the entry rules never let stand side by side: a later record that is
// the same entry as an earlier one, the same entry with the other state (bus: another value),
// or a second pulse at the same time, days and channels. Entering them one after the other
// refuses the later one, or writes it over the earlier one when the user agrees; so a program
// written from a document (`build`) refuses them by the very same comparison. Program files
// that already hold such records still load: the device runs them, and files in use may.
struct DuplicateEntry {
    int index = -1;   // the later record
    int earlier = -1; // the record it repeats or contradicts
    Comparison kind = Comparison::Exists;
};

// Every record of set 0 that conflicts with an earlier one, in record order.
std::vector<DuplicateEntry> FindDuplicateEntries(const Model &model);

// "record 5 is the same entry as record 2" (records counted from 1) in the language (1 German,
// 2 English, 3 French).
QString DuplicateEntryText(const DuplicateEntry &duplicate, int language);

} // namespace zx
