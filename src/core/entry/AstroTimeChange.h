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

// A shift goes forward or back by up to 23:59: the table holds one time of day per day, and a
// shifted time wraps round midnight within its day.
constexpr int MaxShiftMinutes = MaxChangeHour * 60 + MaxChangeMinute;

// The change the dialog's Ok stands for; hours and minutes are kept inside their ranges. `back`
// makes a shift go back (earlier); the other options ignore it.
TimeChange MakeTimeChange(ChangeOption option, int hours, int minutes, bool back = false);
// A shift by a signed number of minutes (negative goes back); nullopt beyond MaxShiftMinutes.
std::optional<TimeChange> ShiftByMinutes(int minutes);

// The new time of a day that holds `oldTime`, or nullopt when the day stays as it is. A shift
// skips days without astro time (shifting "no time" would invent one) and a shift of 0:00
// changes nothing.
std::optional<int> ApplyTimeChange(int oldTime, const TimeChange &change);

// Applies the change to the given days (indexes 0..365) of a column of the model's astro table
// (0 the first daily time, 1 the second). Marks the program changed when the change does
// anything; returns the number of days whose time it set.
int ApplyTimeChangeToDays(Model &model, int column, const std::vector<int> &days, const TimeChange &change);

// The astro table holds standard time; the device, and the astro list, add the summer hour on a
// day of summer time. The time change dialog shows and takes the time the list shows.
// The minutes the list adds to row `dayIndex` (0-based day of `year`): 60 in summer time, else 0.
int AstroSummerMinutes(const Model &model, int dayIndex, int year);
// A stored time as the list shows it (a day without time stays 1791), and a shown time back.
int AstroShownTime(int stored, int summerMinutes);
int AstroStoredTime(int shown, int summerMinutes);
// ApplyTimeChangeToDays for a change the user made on the list of `year`: a "change to" time is
// the list's time, stored on each day as the standard time that shows as it.
int ApplyShownTimeChangeToDays(Model &model, int column, const std::vector<int> &days,
                               const TimeChange &change, int year);

// The astro list's columns of the two daily times; -1 for any other column.
int AstroTableColumnOfListColumn(int listColumn);

} // namespace zx
