#pragma once

#include "model/ProgramRecord.h"

#include <cstdint>

namespace zx {
class Model;
}

namespace zx::test {

// One record from its bytes; b2 and bit 7 of b3 carry the chain link, which the model keeps clear.
inline ProgramRecord Rec(int b0, int b1, int b3, int b4, int b5)
{
    return ProgramRecord{
        static_cast<std::uint8_t>(b0), static_cast<std::uint8_t>(b1), 0,
        static_cast<std::uint8_t>(b3), static_cast<std::uint8_t>(b4), static_cast<std::uint8_t>(b5)};
}

// Records laid out by hand from the device encoding.
ProgramRecord weeklyTime(int hour, int minute, int weekdayMask, int channelMask, int on = 1, int program = 0,
                         int pulse = 0);
ProgramRecord datedTime(int hour, int minute, int day, int month, int channelMask, int on = 1, int once = 0,
                        int pulse = 0);
// A conventional priority time; a year code forces the once flag.
ProgramRecord priorityTime(int fromDay, int fromMonth, int toDay, int toMonth, int code, int channelMask,
                           int state = 0, int once = 0, int yearCode = 0);
// An Easter-relative holiday (b0 = 96).
ProgramRecord easterPriority(int offset, int code, int channelMask, int state = 0);

// A full annual device (type 517) program: 324 records of every kind, changeover table, meter
// pulse, program number, usage text and channel names. The records are in display order.
void fillFullAnnual(Model &model);
// A full astro device (type 236) program: 120 records, changeover table, astro location and
// a computed astro table.
void fillFullAstro(Model &model);

} // namespace zx::test
