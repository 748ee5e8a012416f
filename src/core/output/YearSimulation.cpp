#include "output/YearSimulation.h"

#include "calendar/Changeover.h"
#include "calendar/DeviceClock.h"
#include "model/Calendar.h"
#include "model/ListOrder.h"
#include "model/RecordDecoder.h"

#include <algorithm>
#include <optional>

namespace zx {

namespace {

// Sort columns of the list order that the device's own evaluation follows.
constexpr int PrecedenceColumn = 8; // priority times: the precedence of overlapping ranges
constexpr int AstroMergeColumn = 8; // switching times: astro times merged by time of day
constexpr int TimeFirstColumn = 2;  // switching times: time of day first

constexpr int MinutesPerDay = 1440;
constexpr int FarAway = 600000; // farther back than any switching time can lie

bool isPriorityKind(int kind)
{
    return kind == Kind::PriorityConventional || kind == Kind::PriorityBus;
}
bool isSwitchingKind(int kind)
{
    return kind == Kind::WeeklyConventional || kind == Kind::DatedConventional || kind == Kind::WeeklyBus ||
           kind == Kind::DatedBus;
}

bool validDate(int day, int month)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// A switching time's reach: its channels and the level it switches to.
bool drivesChannel(const SwitchingTime &t, int channel)
{
    return t.bus ? t.channel == channel : (t.channelMask & (1 << (channel - 1))) != 0;
}
int levelOf(const SwitchingTime &t)
{
    return t.bus ? (t.value != 0 ? 1 : 0) : t.state;
}

// An astro table value that is a time of the day; 1791 marks a day without one.
bool isDayMinute(int v)
{
    return v != NoAstroTime && v >= 0 && v < MinutesPerDay;
}

// A dated switching time generated from the astro table, with the astro marker bit.
ProgramRecord astroRecord(int minute, int day, int month, int channel, int state)
{
    ProgramRecord r;
    r.b0 = std::uint8_t(minute >> 4);
    r.b1 = std::uint8_t(((minute & 15) << 4) | month);
    r.b3 = std::uint8_t(day);
    r.b4 = std::uint8_t((1 << (channel - 1)) | AstroTimeBit);
    r.b5 = std::uint8_t(state);
    return r;
}

// Minutes from the most recent run of a weekly time before today to today's midnight.
int weeklyDistance(int weekdayMask, int minute, int weekday)
{
    int k0 = 7;
    for (int k = 0; k < 7; ++k) {
        const int wd = (weekday + k - 1) % 7 + 1;
        if (weekdayMask & (1 << (wd - 1)))
            k0 = 6 - k;
    }
    return k0 * MinutesPerDay + (MinutesPerDay - minute);
}

// The same for a dated time; the once flag and the year are not considered.
int datedDistance(int dayOfYear, int days, int datedDayOfYear, int minute)
{
    const int u = ((dayOfYear + days - 1 - datedDayOfYear) % days + days) % days;
    return u * MinutesPerDay + (MinutesPerDay - minute);
}

} // namespace

int DayPlan::code(int dayOfYear, int channel) const
{
    if (dayOfYear < 1 || dayOfYear > days || channel < 1 || channel > SimulationChannels)
        return DayCode::Weekly;
    return codes[dayOfYear - 1][channel - 1];
}

YearSimulation::YearSimulation(const Model &model) : snapshot_(model)
{
    channels_ = std::clamp(model.device.Kanalzahl, 1, SimulationChannels);
    snapshot_.SortColumnPz = PrecedenceColumn;
    SortRecords(snapshot_, DisplayOrder, SetProgram);
    key8_ = snapshot_;
    key8_.SortColumnSz = AstroMergeColumn;
    key2_ = snapshot_;
    key2_.SortColumnSz = TimeFirstColumn;

    const ProgramSet &p = snapshot_.program();
    const int used = std::clamp(p.UsedCount, 0, MaxRecords);
    for (int i = 0; i < used; ++i) {
        const ProgramRecord &r = p.Records[i];
        const int kind = snapshot_.RecordKind(r);
        if (isPriorityKind(kind))
            priority_.push_back(r);
        else if (isSwitchingKind(kind))
            switching_.push_back(timed(r));
    }
}

YearSimulation::Timed YearSimulation::timed(const ProgramRecord &r) const
{
    return {r, DisplayKeyWide(key8_, r), DisplayKeyWide(key2_, r)};
}

int YearSimulation::applicability(const Model &model, const ProgramRecord &r, int year)
{
    const PriorityTime p = DecodePriorityRecord(r, model.device.BusDevice);
    if (p.easter)
        return 1;
    // a range with a day or month no calendar has selects nothing, in any year
    if (!validDate(p.fromDay, p.fromMonth) || !validDate(p.toDay, p.toMonth))
        return 0;
    if (p.yearCode == 0 || p.dateForm != 3)
        return 1;
    const int s = DayOfYear(p.fromDay, p.fromMonth, year);
    const int e = DayOfYear(p.toDay, p.toMonth, year);
    if (p.yearCode == year - YearCodeBase)
        return e >= s ? 2 : 3;
    if (p.yearCode == year - YearCodeBase - 1 && e < s)
        return 4;
    return 0;
}

DayPlan YearSimulation::dayPlan(int year) const
{
    DayPlan plan;
    plan.year = year;
    plan.days = DaysInYear(year);
    plan.channels = channels_;
    const int busDevice = snapshot_.device.BusDevice;
    const int permanentCode = busDevice ? PermanentCodeBus : PermanentCodeConventional;

    for (const ProgramRecord &r : priority_) {
        const int r0 = applicability(snapshot_, r, year);
        if (r0 == 0)
            continue;
        const PriorityTime p = DecodePriorityRecord(r, busDevice);
        int code = p.code;
        if (p.permanent) {
            const int level = busDevice ? (p.value != 0 ? 1 : 0) : p.state;
            code = level ? DayCode::PermanentOn : DayCode::PermanentOff;
        } else if (code < DayCode::FirstPriority || code >= permanentCode) {
            continue; // no program the device knows: the record selects nothing
        }

        int s = 0, e = 0;
        if (p.easter) {
            s = e = EasterSunday(year) + p.easterOffset;
            if (s < 1 || s > plan.days)
                continue; // the day falls into another year
        } else {
            s = DayOfYear(p.fromDay, p.fromMonth, year);
            e = DayOfYear(p.toDay, p.toMonth, year);
            // A range bound to one year that runs into the next covers the rest of its first year
            // and, the year after, the start of that year; permanent ranges alike.
            if (r0 == 3)
                e = plan.days;
            else if (r0 == 4)
                s = 1;
            s = std::clamp(s, 1, plan.days);
            e = std::clamp(e, 1, plan.days);
        }

        int mask = 0;
        if (busDevice)
            mask = (p.channel >= 1 && p.channel <= SimulationChannels) ? 1 << (p.channel - 1) : 0;
        else
            mask = p.channelMask;
        auto write = [&](int from, int to) {
            for (int day = from; day <= to; ++day)
                for (int c = 0; c < channels_; ++c)
                    if (mask & (1 << c))
                        plan.codes[day - 1][c] = std::uint8_t(code);
        };
        if (s <= e) {
            write(s, e);
        } else {
            write(s, plan.days);
            write(1, e);
        }
    }
    return plan;
}

bool YearSimulation::astroApplies(int channel, int code) const
{
    if (snapshot_.device.Uhrentyp != TypeAstro || snapshot_.astro.AstroPresent == 0 ||
        snapshot_.device.BusDevice != 0)
        return false;
    if (code > 4)
        return false;
    return channel == 1 || (channel == 2 && snapshot_.astro.AstroC1C2 == 1);
}

void YearSimulation::addAstroTimes(std::vector<Timed> &times, int channel, int day, int month, int year) const
{
    const int days = DaysInYear(year);
    const int today = DayOfYear(day, month, year) - 1;
    const long long midnight = today * 1440LL;
    // The table holds standard time; the device switches at it on its own clock, which in summer
    // time runs the changeover's shift ahead. A late sunset can so move past midnight: it then
    // switches on the next day.
    const DeviceClock clock(snapshot_);
    struct SunTime {
        long long clock = 0; // minute of the year on the device's clock
        int state = 0;
    };
    // The times of the day `back` days before today (wrapping through the year's table), on the
    // clock counted from this year's 1 January.
    auto sunTimes = [&](int back) {
        std::vector<SunTime> out;
        const int row = ((today - back) % days + days) % days;
        const AstroDay sun = DecodeAstroDay(snapshot_.astro, row);
        const long long rowStart = (today - back) * 1440LL;
        if (isDayMinute(sun.switchOff))
            out.push_back({clock.clockOf(year, rowStart + sun.switchOff), 0});
        if (isDayMinute(sun.switchOn))
            out.push_back({clock.clockOf(year, rowStart + sun.switchOn), 1});
        return out;
    };
    auto add = [&](const SunTime &t) {
        const long long offset = t.clock - midnight;
        const long long dayShift = offset >= 0 ? offset / 1440 : -((-offset + 1439) / 1440);
        const int dayIndex = int(((today + dayShift) % days + days) % days);
        const DayMonth date = DateOfDay(dayIndex + 1, year);
        times.push_back(
            timed(astroRecord(int(offset - dayShift * 1440), date.day, date.month, channel, t.state)));
    };
    // Today's clock holds today's times and those of yesterday pushed past midnight.
    for (int back : {1, 0})
        for (const SunTime &t : sunTimes(back))
            if (t.clock >= midnight && t.clock < midnight + 1440)
                add(t);

    // The latest sun time before midnight gives the state at midnight. Only a column that holds a
    // time can give it: a day with only one of its two times (high latitudes) takes that one; of
    // two at one moment the OFF time.
    for (int back = 0; back <= days; ++back) {
        std::optional<SunTime> latest;
        for (const SunTime &t : sunTimes(back))
            if (t.clock < midnight && (!latest || t.clock > latest->clock))
                latest = t;
        if (latest) {
            add(*latest);
            break;
        }
    }
    std::stable_sort(times.begin(), times.end(),
                     [](const Timed &a, const Timed &b) { return a.key8 < b.key8; });
}

std::vector<DaySegment> YearSimulation::daySegments(const DayPlan &plan, int channel, int dayOfYear) const
{
    const DayMonth date = DateOfDay(std::clamp(dayOfYear, 1, plan.days), plan.year);
    return daySegments(channel, date.day, date.month, plan.year, plan.code(dayOfYear, channel));
}

std::vector<DaySegment> YearSimulation::daySegments(int channel, int day, int month, int year, int code) const
{
    if (code == DayCode::PermanentOn)
        return {{SegmentState::On, MinutesPerDay}};
    if (code == DayCode::PermanentOff)
        return {{SegmentState::Off, MinutesPerDay}};

    std::vector<Timed> times = switching_;
    if (astroApplies(channel, code))
        addAstroTimes(times, channel, day, month, year);
    std::stable_sort(times.begin(), times.end(),
                     [](const Timed &a, const Timed &b) { return a.key2 < b.key2; });

    std::vector<DaySegment> segments{{SegmentState::Off, MinutesPerDay}};
    segments.reserve(2 * times.size() + 1);
    const int days = DaysInYear(year);
    const int today = DayOfYear(day, month, year);
    const int weekday = Weekday(day, month, year);
    const int busDevice = snapshot_.device.BusDevice;

    int best = FarAway;
    int initial = SegmentState::Off;
    int pendingMinute = -1;
    int pendingSwitch = -1;
    int pendingPulse = -1;
    int pendingPulseSeconds = 0;

    // Every change runs from its minute to midnight until a later change cuts it short. A pulse
    // is momentary: it holds its own minute, then the switched level goes on (Resume, filled in
    // once the level at midnight is known).
    constexpr int Resume = -1;
    auto endPulse = [&](int minute) {
        DaySegment &last = segments.back();
        const int start = MinutesPerDay - last.minutes;
        if ((last.state & SegmentState::PulseBit) && minute > start + 1) {
            last.minutes = 1;
            segments.push_back({Resume, MinutesPerDay - start - 1});
        }
    };
    auto append = [&](int value, int minute, int pulseSeconds) {
        endPulse(minute);
        DaySegment &last = segments.back();
        last.minutes = minute - (MinutesPerDay - last.minutes);
        segments.push_back({value, MinutesPerDay - minute, pulseSeconds});
    };
    // A switching and a pulse at one minute: the pulse comes on top of the new level.
    auto flush = [&] {
        if (pendingSwitch >= 0)
            append(pendingSwitch, pendingMinute, 0);
        if (pendingPulse >= 0)
            append(pendingPulse, pendingMinute, pendingPulseSeconds);
        pendingSwitch = pendingPulse = pendingMinute = -1;
    };

    for (const Timed &item : times) {
        const SwitchingTime t = DecodeSwitchingRecord(item.record, busDevice);
        const int minute = t.minuteOfDay;
        if (pendingMinute >= 0 && pendingMinute < minute)
            flush();
        if (!drivesChannel(t, channel))
            continue;
        const int level = levelOf(t);
        const bool pulse = t.pulseSeconds > 0;
        bool actsToday = false;
        if (t.weekly) {
            if (t.program != code)
                continue;
            if (!pulse) {
                // Of two times equally far back the later in the order holds, as it does within
                // the day it ran on.
                const int w = weeklyDistance(t.weekdayMask, minute, weekday);
                if (w <= best) {
                    best = w;
                    initial = level;
                }
            }
            actsToday = (t.weekdayMask & (1 << (weekday - 1))) != 0;
        } else {
            if (!validDate(t.day, t.month))
                continue;
            if (!pulse) {
                const int d = datedDistance(today, days, DayOfYear(t.day, t.month, year), minute);
                if (d <= best) {
                    best = d;
                    initial = level;
                }
            }
            actsToday = t.day == day && t.month == month;
        }
        if (!actsToday)
            continue;
        pendingMinute = minute;
        if (pulse) {
            pendingPulse = SegmentState::PulseBit | level;
            pendingPulseSeconds = t.pulseSeconds;
        } else
            pendingSwitch = level;
    }
    if (pendingMinute >= 0)
        flush();
    endPulse(MinutesPerDay);
    segments.front().state = initial;
    int level = initial;
    for (DaySegment &seg : segments) {
        if (seg.state == Resume)
            seg.state = level;
        else if ((seg.state & SegmentState::PulseBit) == 0)
            level = seg.state;
    }
    return segments;
}

} // namespace zx
