#include "entry/EntryAutomation.h"

#include "model/Model.h"

namespace zx {

int ShiftWeekdays(int weekdayMask)
{
    const int mask = weekdayMask & AllWeekdays;
    return ((mask << 1) & AllWeekdays) | (mask >> 6);
}

int AutomationMonthLength(int month, int year)
{
    if (month < 1 || month > 12)
        return 31;
    return DaysInMonth(month, year);
}

void NormaliseDay(int &day, int &month, int year)
{
    if (day < 1)
        return;
    for (int length = AutomationMonthLength(month, year); day > length;
         length = AutomationMonthLength(month, year)) {
        day -= length;
        if (month >= 1 && month <= 12)
            month = month % 12 + 1;
    }
}

bool LimitDayToMonth(int &day, int month)
{
    int limit = 31;
    if (month == 2)
        limit = 29;
    else if (month == 4 || month == 6 || month == 9 || month == 11)
        limit = 30;
    if (day > limit) {
        day = limit;
        return true;
    }
    return false;
}

void ApplyIncrements(SwitchingEntryValues &e, const AutomationSettings &s, int busDevice, int year)
{
    if (busDevice)
        e.value = ((e.value + s.IncState) % 256 + 256) % 256;
    else if (s.IncState == 1)
        e.state = e.state ? 0 : 1;

    int carry = 0;
    int minute = e.minute + s.IncMinutes;
    if (minute > 59) {
        minute -= 60;
        carry = 1;
    }
    e.minute = minute;

    int hour = e.hour + s.IncHours + carry;
    carry = 0;
    if (hour > 23) {
        hour -= 24;
        carry = 1;
    }
    e.hour = hour;

    if (e.kind == EntryKind::Weekly) {
        if (s.IncWeekdays == 1)
            e.weekdayMask = ShiftWeekdays(e.weekdayMask);
        if (carry)
            e.weekdayMask = ShiftWeekdays(e.weekdayMask);
        if (s.IncPriority == 1 && e.program < MaxProgram(busDevice))
            ++e.program;
    } else if (e.kind == EntryKind::Dated) {
        if (e.day > 0) {
            e.day += s.IncDays + carry;
            NormaliseDay(e.day, e.month, year);
        }
        if (s.IncMonth == 1 && e.month >= 1 && e.month <= 12) {
            e.month = e.month % 12 + 1;
            // The month list keeps the chosen day within the new month.
            LimitDayToMonth(e.day, e.month);
        }
    }
}

void ApplyIncrements(PriorityEntryValues &e, const AutomationSettings &s, int busDevice, int year,
                     bool fromHoliday)
{
    if (IsPermanent(e, busDevice)) {
        if (busDevice)
            e.value = ((e.value + s.IncState) % 256 + 256) % 256;
        else if (s.IncState == 1)
            e.state = e.state ? 0 : 1;
    } else if (s.IncPriority == 1 && e.priority < MaxPriority(busDevice)) {
        ++e.priority;
    }
    if (fromHoliday)
        return;
    e.fromDay += s.IncDays;
    NormaliseDay(e.fromDay, e.fromMonth, year);
    e.toDay += s.IncDays;
    NormaliseDay(e.toDay, e.toMonth, year);
    if (s.IncMonth == 1) {
        e.fromMonth = e.fromMonth % 12 + 1;
        e.toMonth = e.toMonth % 12 + 1;
        // The month lists keep the chosen days within the new months.
        LimitDayToMonth(e.fromDay, e.fromMonth);
        LimitDayToMonth(e.toDay, e.toMonth);
    }
}

} // namespace zx
