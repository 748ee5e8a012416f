#pragma once

#include "model/Calendar.h"
#include "model/ChangeoverRules.h"
#include "model/Model.h"

#include <optional>
#include <vector>

namespace zx {

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

// The fixed rules change the clock like the table's preset entry: forward at 02:00 and back at
// 03:00 summer time, by one hour.
constexpr Changeover RuleAdvanceTime{0, 0, 2, 1};
constexpr Changeover RuleSetBackTime{0, 0, 3, 1};

// The changeover moments of a year with their hours and shifts: the table's entries of that year,
// or the dates of a fixed rule at the rule's hours. Empty for rule 0 and a year the table misses.
std::vector<ChangeoverEntry> ChangeoversOfYear(int rule, const ProgramSet &set, int year);

// ---- editing the table (the changeover dialog and scripts call these) ----

enum class DstCheck { Ok, Identical, SameDate };

struct DstCheckResult {
    DstCheck check = DstCheck::Ok;
    int otherNumber = 0; // 1-based number of the entry that has the same date
};

// Whether `entry` may be stored at `index`: advance and set-back must differ, and with two pairs a
// year no changeover of the entry may repeat one of the other pair of that year (in enter mode
// the entry before it; when an entry is changed, whichever entry of its year exists).
DstCheckResult CheckChangeoverEntry(const ProgramSet &set, int index, const ChangeoverEntry &entry,
                                    int perYearCode);

// Appends an entry; the first entry also writes the header with the start year and the
// entries-per-year code. False when the table is full, or when the first entry's start year lies
// outside DstYearBase..DstLastStartYear.
bool AppendChangeoverEntry(ProgramSet &set, const ChangeoverEntry &entry, int startYear, int perYearCode);

// Day lists of the dialog: February allows 29, the 30-day months 30; a February 29 becomes 28 in a
// year not divisible by 4 when `year` is given (non-zero).
int LimitChangeoverDay(int day, int month, int year = 0);

} // namespace zx
