#pragma once

#include "entry/PriorityEntry.h"
#include "entry/SwitchingEntry.h"

namespace zx {

struct AutomationSettings;

// Weekday ticks one day later: each ticked day passes its tick to the next, Sunday's to Monday.
int ShiftWeekdays(int weekdayMask);

// Length of a month as the automation counts it: February has 29 days when `year` is divisible
// by 4.
int AutomationMonthLength(int month, int year);

// Carries a day beyond the end of its month into the following months (December to January).
// With no month given (0) the day wraps at 31.
void NormaliseDay(int &day, int &month, int year);

// Keeps a chosen day within its month: February allows 29, the 30-day months 30. True when the
// day had to be lowered.
bool LimitDayToMonth(int &day, int month);

// Advances a switching time entry by the automation increments, preparing the next member of a
// series. `year` is the current calendar year (it decides February's length).
void ApplyIncrements(SwitchingEntryValues &e, const AutomationSettings &settings, int busDevice, int year);

// Advances a priority time entry by the automation increments. A permanent entry steps its
// state (bus: value); otherwise the priority advances, never onto "permanent". With the holiday
// option (`fromHoliday`) the dates stay.
void ApplyIncrements(PriorityEntryValues &e, const AutomationSettings &settings, int busDevice, int year,
                     bool fromHoliday);

} // namespace zx
