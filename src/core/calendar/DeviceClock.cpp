#include "calendar/DeviceClock.h"

#include "calendar/Changeover.h"
#include "model/Calendar.h"

namespace zx {

namespace {

constexpr long long MinutesPerDay = 24 * 60;

// One summer time of a year on the minute count of that year: the clock jumps forward at
// `advance` (standard time, which the clock shows until then) by `shift`, and falls back when the
// summer clock reads `setBack`.
struct SummerTime {
    long long advance = 0;
    long long setBack = 0;
    long long shift = 0;

    // Over the new year (southern hemisphere) when the set-back lies before the advance.
    bool wraps() const { return setBack < advance; }
    bool within(long long m, long long from, long long to) const
    {
        return wraps() ? (m >= from || m < to) : (m >= from && m < to);
    }
};

std::vector<SummerTime> summerTimes(int rule, const ProgramSet &set, int year)
{
    std::vector<SummerTime> out;
    for (const ChangeoverEntry &e : ChangeoversOfYear(rule, set, year)) {
        SummerTime s;
        s.advance =
            (DayOfYear(e.advance.day, e.advance.month, year) - 1) * MinutesPerDay + e.advance.hour * 60;
        s.setBack =
            (DayOfYear(e.setBack.day, e.setBack.month, year) - 1) * MinutesPerDay + e.setBack.hour * 60;
        s.shift = e.advance.shift * 60;
        // an entry whose advance and set-back are one moment holds no summer time
        if (s.advance != s.setBack)
            out.push_back(s);
    }
    return out;
}

} // namespace

DeviceClock::Normalised DeviceClock::normalise(int year, long long minute)
{
    // Far outside the device's years nothing changes; the loops stay short either way.
    while (minute < 0 && year > CalendarFirstYear - 2) {
        --year;
        minute += DaysInYear(year) * MinutesPerDay;
    }
    while (minute >= DaysInYear(year) * MinutesPerDay && year < CalendarLastYear + 2) {
        minute -= DaysInYear(year) * MinutesPerDay;
        ++year;
    }
    return {year, minute};
}

long long DeviceClock::standardOf(int year, long long clockMinute) const
{
    const Normalised n = normalise(year, clockMinute);
    const long long base = clockMinute - n.minute;
    for (const SummerTime &s : summerTimes(rule_, set_, n.year)) {
        const long long m = n.minute;
        // the skipped readings: the switching happens when the clock jumps over them
        if (m >= s.advance && m < s.advance + s.shift)
            return base + s.advance;
        // the summer clock, up to the set-back: the hour read twice counts the first time
        if (s.within(m, s.advance + s.shift, s.setBack))
            return base + m - s.shift;
    }
    return clockMinute;
}

long long DeviceClock::clockOf(int year, long long standardMinute) const
{
    const Normalised n = normalise(year, standardMinute);
    for (const SummerTime &s : summerTimes(rule_, set_, n.year)) {
        if (s.within(n.minute, s.advance, s.setBack - s.shift))
            return standardMinute + s.shift;
    }
    return standardMinute;
}

} // namespace zx
