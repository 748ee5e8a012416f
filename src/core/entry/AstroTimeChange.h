#pragma once

#include <optional>
#include <vector>

namespace zx {

class Model;

// What the astro time change does to the chosen days of one column of the astro table.
enum class ChangeOption : int { Delete = 0, ChangeTo = 1, ShiftBy = 2 };

// Hours and minutes of the time fields.
constexpr int MaxChangeHour = 23;
constexpr int MaxChangeMinute = 59;

struct TimeChange {
    ChangeOption option = ChangeOption::Delete;
    int minutes = 0; // the new time (change to) or the shift (shift by)
};

// The change the dialog's Ok stands for; hours and minutes are kept inside their ranges.
TimeChange MakeTimeChange(ChangeOption option, int hours, int minutes);

// The new time of a day that holds `oldTime`, or nullopt when the day stays as it is. A shift
// skips days without astro time (shifting "no time" would invent one) and a shift of 0:00
// changes nothing.
std::optional<int> ApplyTimeChange(int oldTime, const TimeChange &change);

// Applies the change to the given days (indexes 0..365) of a column of the model's astro table
// (0 the first daily time, 1 the second). Marks the program changed when the change does
// anything; returns the number of days whose time it set.
int ApplyTimeChangeToDays(Model &model, int column, const std::vector<int> &days, const TimeChange &change);

// The astro list's columns of the two daily times; -1 for any other column.
int AstroTableColumnOfListColumn(int listColumn);

} // namespace zx
