#pragma once

namespace zx {

// The values a program can hold, as the program file stores them. The loader takes exactly
// these from a file and `zentrix-cli build` accepts exactly these, so every program that loads
// can be written back from its JSON form.
struct ValueRange {
    int min;
    int max;
    constexpr bool contains(int v) const { return v >= min && v <= max; }
};

namespace Ranges {
constexpr ValueRange Byte{0, 255};
constexpr ValueRange Channels{1, 8};
constexpr ValueRange ChangeoverRule{0, 15}; // four bits of header byte 2
constexpr ValueRange MeterChannel{1, 4};    // two bits + 1
constexpr ValueRange MeterPeriod{1,
                                 60}; // minutes; the dialog offers 1, 2, 3, 4, 5, 6, 10, 12, 15, 20, 30, 60
constexpr ValueRange MeterPulseLength{0, 63};      // six bits
constexpr ValueRange ChangeoverFirstYear{0, 254};  // 255 marks an empty table
constexpr ValueRange ChangeoverFirstValue{0, 239}; // 240 and above mark an unused entry
constexpr ValueRange ProgramNumber{0, 999999};
constexpr ValueRange AstroMinute{0, 59};
constexpr ValueRange AstroTimeValue{0, 4095}; // twelve bits
constexpr ValueRange AstroOffset{-120, 120};  // minutes
constexpr ValueRange Longitude{-180, 180};
constexpr ValueRange Latitude{-70, 70};
constexpr ValueRange TimeZone{-720, 720}; // minutes
constexpr ValueRange Hour{0, 23};
constexpr ValueRange Minute{0, 59};
constexpr ValueRange PulseSeconds{0, 59}; // 0: no pulse
constexpr ValueRange BusValue{0, 255};
} // namespace Ranges

// b0 of a record the system edits: switching times 0..89 (dated) and 128..217 (weekly),
// priority times 96..127. A loader drops records with any other b0.
constexpr bool IsSwitchingCode(int b0)
{
    return b0 <= 89 || (b0 >= 128 && b0 <= 217);
}
constexpr bool IsPriorityCode(int b0)
{
    return b0 >= 96 && b0 <= 127;
}

} // namespace zx
