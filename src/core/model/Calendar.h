#pragma once

namespace zx {

// The device's calendar: every year divisible by 4 is a leap year (no century rule). Within the
// years the device and the program handle, 1993..2099, that is the Gregorian calendar.
constexpr int CalendarFirstYear = 1993;
constexpr int CalendarLastYear = 2099;
// Gauss's Easter rule as the device applies it holds for these years.
constexpr int EasterFirstYear = 1900;
constexpr int EasterLastYear = 2099;

// Weekday numbers of Weekday(): Monday = 1 .. Sunday = 7.
enum WeekdayNumber : int { Monday = 1, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday };

// Ordinals of NthWeekdayOfMonth.
enum WeekdayOrdinal : int { OrdinalFirst = 0, OrdinalSecond, OrdinalThird, OrdinalFourth, OrdinalLast };

constexpr bool IsLeapYear(int year)
{
    return year % 4 == 0;
}
int DaysInYear(int year);
// Length of month 1..12 (31 for anything else).
int DaysInMonth(int month, int year);
// Days in months 1..month (0 for month 0, the whole year for 12).
int DaysThroughMonth(int month, int year);
// The number of days in the first k months (k = 0..11, so k = 0 gives 0); the same count as
// DaysThroughMonth, under the name the day-count formulas use.
int DaysBeforeMonth(int k, int year);
// Month 1..12 of a day of the year (12 for days past the end).
int MonthOfDay(int dayOfYear, int year);

// 1-based day of the year of day `day` of month 1..12.
int DayOfYear(int day, int month, int year);

struct DayMonth {
    int day = 0;
    int month = 0;
    friend bool operator==(const DayMonth &, const DayMonth &) = default;
};
// Day and month of a 1-based day of the year.
DayMonth DateOfDay(int dayOfYear, int year);

// Days since 29 December 1992 (1 January 1993 has count 4), so that count mod 7 is the weekday
// index with Monday = 0.
int DayCount(int day, int month, int year);

// 1 = Monday .. 7 = Sunday.
int Weekday(int day, int month, int year);

// Day of month of the first..fourth (rule 0..3) or last (rule 4) `weekday` (0 = Monday ..
// 6 = Sunday) of month `month0` (0 = January .. 11 = December). 0 for a rule above 4.
int NthWeekdayOfMonth(int rule, int weekday, int month0, int year);

// Day of year of the last Sunday strictly before the given date.
int LastSundayBefore(int day, int month, int year);

// 1-based day of the year of Easter Sunday (Gauss's rule, years 1900..2099).
int EasterSunday(int year);

} // namespace zx
