#pragma once

#include "model/RecordDecoder.h" // EasterCodeBase

#include <QString>

#include <vector>

namespace zx {

// The holiday file's contents as the model holds them; reading, editing and the dates the
// holidays fall on are the calendar's.
enum HolidayKind : int { HolidayFixed = 0, HolidayFree = 1, HolidayEaster = 2 };

// The device names an Easter-relative day by 82 + its offset from Easter Sunday.
constexpr int EasterCodeMin = 0;   // 82 days before Easter
constexpr int EasterCodeMax = 255; // the code fills one byte
constexpr int MaxHolidaySets = 29;
constexpr int MaxSetMembers = 59;
constexpr int MinFreeHolidayYears = 2;
constexpr int MaxFreeHolidayYears = 30;

// A named day: fixed (day and month), free (a weekday strictly before or after a day and month)
// or relative to Easter.
struct Holiday {
    QString name;
    int kind = HolidayFixed;
    // Free holidays: -1..-7 Monday..Sunday before the date, 1..7 Monday..Sunday after it.
    int relation = 0;
    // Fixed and free: day of month; Easter: days after Easter Sunday (negative: before).
    int dayOrOffset = 1;
    int month = 1; // fixed and free: 1..12; Easter: 0

    int easterCode() const { return EasterCodeBase + dayOrOffset; }
    friend bool operator==(const Holiday &, const Holiday &) = default;
};

struct HolidaySet {
    QString name;
    std::vector<int> members; // 1-based holiday numbers, at most MaxSetMembers
    friend bool operator==(const HolidaySet &, const HolidaySet &) = default;
};

// The holidays and holiday sets of the interface language's holiday file.
struct HolidayLibrary {
    std::vector<Holiday> holidays;
    std::vector<HolidaySet> sets;
    // Years ahead for which free holidays are entered on devices with variable holidays (even, 2..30).
    int freeYears = 2;

    friend bool operator==(const HolidayLibrary &a, const HolidayLibrary &b)
    {
        return a.holidays == b.holidays && a.sets == b.sets;
    }
};

} // namespace zx
