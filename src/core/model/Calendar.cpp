#include "model/Calendar.h"

namespace zx {

namespace {

// Floor division for the day count of years before 1993.
int floorDiv(int a, int b)
{
    const int q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

int floorMod(int a, int b)
{
    return a - floorDiv(a, b) * b;
}

} // namespace

int DaysInYear(int year)
{
    return IsLeapYear(year) ? 366 : 365;
}

int DaysInMonth(int month, int year)
{
    switch (month) {
    case 2:
        return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    default:
        return 31;
    }
}

int DaysThroughMonth(int month, int year)
{
    static constexpr int before[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
    if (month <= 0)
        return 0;
    if (month > 12)
        month = 12;
    return before[month] + (month >= 2 && IsLeapYear(year) ? 1 : 0);
}

int DaysBeforeMonth(int k, int year)
{
    return DaysThroughMonth(k, year);
}

int MonthOfDay(int dayOfYear, int year)
{
    for (int m = 1; m <= 12; ++m)
        if (dayOfYear <= DaysThroughMonth(m, year))
            return m;
    return 12;
}

int DayOfYear(int day, int month, int year)
{
    return DaysBeforeMonth(month - 1, year) + day;
}

DayMonth DateOfDay(int dayOfYear, int year)
{
    const int month = MonthOfDay(dayOfYear, year);
    return {dayOfYear - DaysBeforeMonth(month - 1, year), month};
}

int DayCount(int day, int month, int year)
{
    // floor((year - 1993) * 365.25) in integers.
    return floorDiv((year - 1993) * 1461, 4) + 3 + DaysBeforeMonth(month - 1, year) + day;
}

int Weekday(int day, int month, int year)
{
    return floorMod(DayCount(day, month, year), 7) + 1;
}

int NthWeekdayOfMonth(int rule, int weekday, int month0, int year)
{
    if (rule < OrdinalFirst || rule > OrdinalLast)
        return 0;
    const int month = month0 + 1;
    int start = 1;
    if (rule == OrdinalLast)
        start = DaysInMonth(month, year) - 6; // the last seven days of the month
    const int c = DayCount(start, month, year);
    const int h = floorMod(weekday + 7 - floorMod(c, 7), 7);
    return rule == OrdinalLast ? start + h : start + h + 7 * rule;
}

int LastSundayBefore(int day, int month, int year)
{
    return DayOfYear(day, month, year) - Weekday(day, month, year);
}

int EasterSunday(int year)
{
    const int a = floorMod(year, 19);
    const int b = floorMod(year, 4);
    const int c = floorMod(year, 7);
    const int d = (19 * a + 24) % 30;
    const int e = (2 * b + 4 * c + 6 * d + 5) % 7;
    int day = DaysBeforeMonth(2, year) + 22 + d + e;
    // The two exceptions that keep Easter on or before 25 April.
    if ((d == 29 && e == 6) || (d == 28 && e == 6 && a > 10))
        day -= 7;
    return day;
}

} // namespace zx
