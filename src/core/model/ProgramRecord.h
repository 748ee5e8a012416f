#pragma once

#include "model/Calendar.h"

#include <cstdint>

namespace zx {

// One record of the device memory in the device's own 6-byte encoding. The link of the
// device's record chain occupies all of b2 and bit 7 of b3; the model keeps those bits clear
// and the image writer fills them in.
struct ProgramRecord {
    std::uint8_t b0 = 0;
    std::uint8_t b1 = 0;
    std::uint8_t b2 = 0;
    std::uint8_t b3 = 0;
    std::uint8_t b4 = 0;
    std::uint8_t b5 = 0;

    friend bool operator==(const ProgramRecord &, const ProgramRecord &) = default;
};

// Kind codes of RecordKind.
namespace Kind {
constexpr int WeeklyConventional = 0;
constexpr int DatedConventional = 1;
constexpr int PriorityConventional = 2;
constexpr int WeeklyBus = 3;
constexpr int DatedBus = 4;
constexpr int PriorityBus = 5;
constexpr int NotUserRecord = 6;
} // namespace Kind

// (value / 2^low) mod 2^(high - low + 1)
constexpr int BitField(int value, int low, int high)
{
    return (value >> low) & ((1 << (high - low + 1)) - 1);
}

constexpr int SwapNibbles(int value)
{
    return ((value & 0x0F) << 4) | ((value >> 4) & 0x0F);
}

// Two BCD digits; 255 when either nibble is no decimal digit.
constexpr int BcdToNumber(int value)
{
    const int high = (value >> 4) & 0x0F;
    const int low = value & 0x0F;
    return (high > 9 || low > 9) ? 255 : high * 10 + low;
}

// Kind code 0..6 from bits 5..7 of b0 and the device's bus flag.
int RecordKind(const ProgramRecord &r, int busDevice);
// Bit 4 of b4 for switching times of a conventional device (kinds 0 and 1), else 0.
int IsAstroTime(const ProgramRecord &r, int busDevice);
// 0..3: how the dates of a priority time are given.
int PriorityDateForm(const ProgramRecord &r);
// Signed day offset of an Easter-relative priority time.
int EasterOffset(const ProgramRecord &r);

// Minute of the day (0..1439 for valid records) of a switching time.
constexpr int MinuteOfDay(const ProgramRecord &r)
{
    return ((r.b0 & 0x7F) << 4) | (r.b1 >> 4);
}
constexpr bool IsWeekly(const ProgramRecord &r)
{
    return (r.b0 & 0x80) != 0;
}
constexpr int PulseLength(const ProgramRecord &r)
{
    return r.b5 >> 2;
}

} // namespace zx
