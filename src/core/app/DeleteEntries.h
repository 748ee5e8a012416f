#pragma once

namespace zx {

class Model;
class Prompter;

// The Delete command on the marked entries of the list shown (set 0 only, not the astro
// list). Changeover entries belong to their years by position, so only an unbroken run that
// ends at the table's last entry can go. Asks before deleting; true when something was deleted
// (the set is then re-ordered for display and Modified set).
bool DeleteMarkedEntries(Model &model, Prompter &prompter);

} // namespace zx
