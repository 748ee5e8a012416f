#include "entry/AstroTimeChange.h"

#include "calendar/Changeover.h"
#include "model/Calendar.h"
#include "model/Model.h"

#include <QtGlobal>

namespace zx {

TimeChange MakeTimeChange(ChangeOption option, int hours, int minutes, bool back)
{
    TimeChange c;
    c.option = option;
    const int m = qBound(0, hours, MaxChangeHour) * 60 + qBound(0, minutes, MaxChangeMinute);
    c.minutes = option == ChangeOption::Delete            ? NoAstroTime
                : option == ChangeOption::ShiftBy && back ? -m
                                                          : m;
    return c;
}

std::optional<TimeChange> ShiftByMinutes(int minutes)
{
    if (minutes < -MaxShiftMinutes || minutes > MaxShiftMinutes)
        return std::nullopt;
    return TimeChange{ChangeOption::ShiftBy, minutes};
}

std::optional<int> ApplyTimeChange(int oldTime, const TimeChange &change)
{
    switch (change.option) {
    case ChangeOption::Delete:
        return NoAstroTime;
    case ChangeOption::ChangeTo:
        return change.minutes;
    case ChangeOption::ShiftBy:
        if (change.minutes % 1440 == 0 || oldTime == NoAstroTime)
            return std::nullopt;
        return ((oldTime + change.minutes) % 1440 + 1440) % 1440;
    }
    return std::nullopt;
}

int ApplyTimeChangeToDays(Model &model, int column, const std::vector<int> &days, const TimeChange &change)
{
    if (column < 0 || column > 1)
        return 0;
    int changed = 0;
    for (int day : days) {
        if (day < 0 || day >= AstroDays)
            continue;
        int &value = model.astro.AstroTable[day][column];
        if (const std::optional<int> next = ApplyTimeChange(value, change)) {
            value = *next;
            ++changed;
        }
    }
    if (changed)
        model.Modified = 1;
    return changed;
}

int AstroSummerMinutes(const Model &model, int dayIndex, int year)
{
    if (dayIndex < 0 || dayIndex >= DaysInYear(year))
        return 0;
    const DayMonth date = DateOfDay(dayIndex + 1, year);
    return IsSummerTime(model, date.day, date.month, year) ? 60 : 0;
}

int AstroShownTime(int stored, int summerMinutes)
{
    // A value past midnight is no time of day; the list shows it as it is.
    if (stored == NoAstroTime || stored < 0 || stored >= 1440)
        return stored;
    return (stored + summerMinutes) % 1440;
}

int AstroStoredTime(int shown, int summerMinutes)
{
    if (shown == NoAstroTime || shown < 0 || shown >= 1440)
        return shown;
    return (shown - summerMinutes + 1440) % 1440;
}

int ApplyShownTimeChangeToDays(Model &model, int column, const std::vector<int> &days,
                               const TimeChange &change, int year)
{
    if (change.option != ChangeOption::ChangeTo)
        return ApplyTimeChangeToDays(model, column, days, change);
    int changed = 0;
    for (int day : days) {
        TimeChange standard = change;
        standard.minutes = AstroStoredTime(change.minutes, AstroSummerMinutes(model, day, year));
        changed += ApplyTimeChangeToDays(model, column, {day}, standard);
    }
    return changed;
}

int AstroTableColumnOfListColumn(int listColumn)
{
    // "nr.", channel, "date", then "switch off at:" (column 0) and "switch on at:" (column 1).
    return listColumn == 3 ? 0 : listColumn == 4 ? 1 : -1;
}

} // namespace zx
