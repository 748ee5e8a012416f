#pragma once

#include "model/Model.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zx {

// Program codes of a day plan: which program a channel runs on a day.
namespace DayCode {
constexpr int Weekly = 0;        // no priority time: weekly program 0
constexpr int FirstPriority = 1; // priority programs 1..9
constexpr int LastPriority = 9;
constexpr int PermanentOn = 10;
constexpr int PermanentOff = 11;
constexpr int Count = 12;
} // namespace DayCode

// A channel count of every device: the plan keeps all eight channels a bus device can have.
constexpr int SimulationChannels = 8;

// For every day of one year and every channel, the program code of that day.
struct DayPlan {
    int year = 0;
    int days = 365;   // 365 or 366
    int channels = 1; // channels of the device, 1..8
    std::array<std::array<std::uint8_t, SimulationChannels>, AstroDays> codes{};

    // Code of channel 1..8 on day of the year 1..days; 0 outside the plan.
    int code(int dayOfYear, int channel) const;
};

// Segment states: bit 0 is the output level, bit 1 marks a pulse. A pulse is momentary: its
// segment holds the minute it starts in (bit 0 then says whether it pulses ON or OFF), and the
// switched level before it goes on after it.
namespace SegmentState {
constexpr int Off = 0;
constexpr int On = 1;
constexpr int PulseOff = 2;
constexpr int PulseOn = 3;
constexpr int PulseBit = 2;
} // namespace SegmentState

// One stretch of the day at one state; the segments of a day follow each other from midnight
// and their lengths sum to 1440 (a segment may have length 0 when two changes share a minute).
struct DaySegment {
    int state = SegmentState::Off;
    int minutes = 0;
    int pulseSeconds = 0; // length of the pulse at the segment's start, for the pulse states

    friend bool operator==(const DaySegment &, const DaySegment &) = default;
};

// What the device does with set 0 of a model in a chosen year. The simulation works on its own
// copy of the model taken at construction, so nothing it sorts or adds (the day's astro times)
// ever reaches the model: records, their order, the counters and Modified stay as they are.
//
// Bus devices are simulated too: a bus switching time drives its one channel, and a value other
// than 0 counts as the ON level; a permanent bus priority time gives PermanentOn for a value
// other than 0 and PermanentOff for 0.
class YearSimulation {
  public:
    explicit YearSimulation(const Model &model);

    // Channels simulated: the device's Kanalzahl, 1..8.
    int channels() const { return channels_; }

    // Day plan: priority times choose each day's program; a later one in the device's
    // precedence order overrides an earlier one on the days they share.
    DayPlan dayPlan(int year) const;

    // The output of channel 1..8 over one day on which it runs program `code` (a day plan code).
    std::vector<DaySegment> daySegments(int channel, int day, int month, int year, int code) const;

    // The same for a day of a plan, taking the code from the plan.
    std::vector<DaySegment> daySegments(const DayPlan &plan, int channel, int dayOfYear) const;

    // 0 when a priority time does not act in `year`; 1 every year (date forms 0..2 and ranges
    // without a year); 2 a range bound to that year; 3 a range of that year running into the
    // next; 4 the tail of such a range that began the year before.
    static int applicability(const Model &model, const ProgramRecord &r, int year);

  private:
    struct Timed {
        ProgramRecord record;
        std::int64_t key8 = 0; // switching key 8: astro times merge into the user's times
        std::int64_t key2 = 0; // switching key 2: time of day first
    };
    Timed timed(const ProgramRecord &r) const;
    bool astroApplies(int channel, int code) const;
    void addAstroTimes(std::vector<Timed> &times, int channel, int day, int month, int year) const;

    Model snapshot_;    // set 0 in the order the day plan sorts it
    Model key8_, key2_; // the snapshot's device under switching keys 8 and 2
    std::vector<Timed> switching_;
    std::vector<ProgramRecord> priority_;
    int channels_ = 1;
};

} // namespace zx
