#pragma once

#include "calendar/Holidays.h"
#include "entry/PriorityEntry.h"

#include <vector>

namespace zx {

// The priority times that enter a holiday, given the other values of the entry (priority,
// channels, state, and for a fixed holiday the once flag and the year). `bewft` says whether the
// device resolves variable holidays itself; `years` is the number of years for free holidays.
// - fixed: one priority time on its day and month;
// - Easter-relative with bewft: one record in the Easter form, resolved by the device each year;
// - free, and Easter-relative without bewft: the date computed by the calendar, never before
//   `today`: without bewft the first such date (once, no year); with bewft one per year from
//   today's year on for `years` years, each with its year code.
std::vector<PriorityEntryValues> HolidayPriorityTimes(const Holiday &holiday, const PriorityEntryValues &base,
                                                      int bewft, const CalendarDate &today, int years);

} // namespace zx
