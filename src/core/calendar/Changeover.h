#pragma once

#include "calendar/Calendar.h"
#include "model/Model.h"

#include <optional>
#include <vector>

namespace zx {

// Summer/winter changeover rules (SwRegel).
enum ChangeoverRule : int {
    RuleNoChangeover = 0,
    RuleEurope = 1, // last Sunday in March .. last Sunday in October
    RuleUK = 2,     // last Sunday in March .. Sunday between 22 and 28 October
    RuleUSA = 3,    // Sunday between 8 and 14 April .. last Sunday in October
    RuleTable = 4,  // the dates of the changeover table
};
constexpr int ChangeoverRuleCount = 5;

// Entries-per-year codes of the table header.
enum EntriesPerYear : int { OnceAYear = 0, TwiceAYear = 1 };

// First and last start year the table header can hold (6 bits above 1996).
constexpr int DstYearBase = 1996;
constexpr int DstLastStartYear = DstYearBase + 63;
constexpr int DstMaxHour = 12;
constexpr int DstMaxShift = 3;

// One changeover moment: a date, the hour at which the clock changes and by how many hours.
struct Changeover {
    int day = 0;
    int month = 0;
    int hour = 0;
    int shift = 0;
    friend bool operator==(const Changeover &, const Changeover &) = default;
};

// A table entry: the advance (to summer time) and the set-back (to winter time).
struct ChangeoverEntry {
    Changeover advance;
    Changeover setBack;
    friend bool operator==(const ChangeoverEntry &, const ChangeoverEntry &) = default;
};

// The device's four values of an entry: word 0 = (day div 16) + 2 shift + 16 hour,
// word 1 = 16 (day mod 16) + month, words 2 and 3 the same for the set-back.
DstEntry EncodeChangeoverEntry(const ChangeoverEntry &entry);
ChangeoverEntry DecodeChangeoverEntry(const DstEntry &values);
// An entry is in use when its first value is below 240 (an empty entry is 255 x 4).
constexpr bool IsDstEntryInUse(const DstEntry &values)
{
    return values[0] < 240;
}

// Two changeovers are the same moment when day, month and hour agree; the shift does not count.
int ChangeoverKey(const Changeover &c);

// The table header DstFirstYear: bits 0..5 start year - 1996, bits 6..7 the entries-per-year code.
int EncodeDstFirstYear(int startYear, int perYearCode);
int DstStartYear(const ProgramSet &set);
int DstPerYearCode(const ProgramSet &set);
// 1 or 2 entries per year.
int DstEntriesPerYear(const ProgramSet &set);
// The year table entry `index` belongs to: start year + index / entries per year.
int YearOfEntry(int index, const ProgramSet &set);

// Summer time as days of the year, both days included. When end < start the span wraps over the
// new year (southern hemisphere): summer time from start to the year's end and from its first day
// to end.
struct SummerTimeSpan {
    int start = 0;
    int end = 0;
    bool contains(int dayOfYear) const
    {
        return start <= end ? (dayOfYear >= start && dayOfYear <= end)
                            : (dayOfYear >= start || dayOfYear <= end);
    }
};

// The span of a fixed rule 1..3 in a year; none for rule 0 and the table rule.
std::optional<SummerTimeSpan> RuleSpan(int rule, int year);
// The spans of the table entries of a year, in table order (none when the table does not cover
// the year).
std::vector<SummerTimeSpan> TableSpans(const ProgramSet &set, int year);

// Whether a date lies in summer time under `rule` (and, for rule 4, the set's table). The
// changeover hour is not considered.
bool IsSummerTime(int rule, const ProgramSet &set, int day, int month, int year);
// The same for the switching program (set 0) and its rule.
int IsSummerTime(const Model &model, int day, int month, int year);

} // namespace zx
