#pragma once

#include <functional>

namespace zx {

class Model;
class Prompter;

// How the unsaved-changes question ends: " ?" for Open, New and the device read, "  ?" for Exit,
// closing the list window and the bus read.
enum class QuestionEnding { Plain, Wide };

// The unsaved-changes question before a command that replaces or discards set 0: "Save changes
// in <FileName> ?" with Yes, No and Cancel, asked only when set 0 is modified (and, with
// `onlyWithRecords`, holds records). `save` is the front end's Save (Save as when the program
// has no name yet); true when the file was written.
//
// true: the command may go on (nothing to ask, No, or Yes and the save succeeded). false: it
// stops, on Cancel and on a save that failed or whose file dialog was cancelled, since the
// changes would otherwise be lost without having been written anywhere.
bool SaveChangesFirst(Model &model, Prompter &prompter, const std::function<bool()> &save,
                      QuestionEnding ending = QuestionEnding::Plain, bool onlyWithRecords = false);

} // namespace zx
