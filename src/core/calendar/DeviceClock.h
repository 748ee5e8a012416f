#pragma once

#include "model/Model.h"

namespace zx {

// The device's clock against its standard (winter) time, under the program's changeover rule or
// table. Both sides are minutes counted from 1 January 00:00 of a year; a count before or past
// that year is taken in the year it falls into, so a period running over the new year converts
// by the next year's changeovers.
//
// The clock runs on standard time, jumps forward by the changeover's shift at the advance hour
// and falls back at the set-back hour (read on the summer clock). So the clock skips the shift's
// hours on the advance day and shows the hours before the set-back twice. The simulation, the
// calendar export and the astro list all convert through here, so they agree on every night.
class DeviceClock {
  public:
    DeviceClock(int rule, const ProgramSet &set) : rule_(rule), set_(set) {}
    // The switching program's rule and changeover table.
    explicit DeviceClock(const Model &model) : DeviceClock(model.device.SwRegel, model.program()) {}

    // The standard-time moment at which the clock reads `clockMinute`. A reading the clock skips
    // happens when it jumps (at the advance hour); a reading it shows twice happens once, the
    // first time, on the summer clock.
    long long standardOf(int year, long long clockMinute) const;

    // What the clock reads at a standard-time moment: standard time plus the shift in force.
    long long clockOf(int year, long long standardMinute) const;

  private:
    struct Normalised {
        int year;
        long long minute;
    };
    static Normalised normalise(int year, long long minute);
    int rule_;
    const ProgramSet &set_;
};

} // namespace zx
