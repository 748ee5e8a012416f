#include "entry/EntryPattern.h"

#include "model/Model.h"
#include "model/RecordDecoder.h"

namespace zx {

namespace {

template <typename T> bool fits(const std::optional<T> &wanted, const T &actual)
{
    return !wanted || *wanted == actual;
}

// A date field of the pattern asks for an entry of that form.
bool fitsForm(const std::optional<DayMonth> &wanted, bool entryHasForm, const DayMonth &actual)
{
    return !wanted || (entryHasForm && *wanted == actual);
}

bool channelsFit(const EntryPattern &p, int mask, int channel, bool bus)
{
    if (bus)
        return !p.channelMask && fits(p.channel, channel);
    return !p.channel && fits(p.channelMask, mask);
}

bool outputFits(const EntryPattern &p, int state, int value, bool bus)
{
    if (bus)
        return !p.state && fits(p.value, value);
    return !p.value && fits(p.state, state);
}

bool switchingFits(const EntryPattern &p, const SwitchingTime &t, bool astroDevice)
{
    if (p.from || p.to || p.easterOffset || p.priorityCode || p.year)
        return false;
    if (p.weekdayMask && !t.weekly)
        return false;
    // the astro device marks the entries its table made in the channel byte; the list shows
    // only the channels
    const int mask = astroDevice ? t.channelMask & ~AstroTimeBit : t.channelMask;
    return fits(p.minuteOfDay, t.minuteOfDay) && fits(p.weekdayMask, t.weekdayMask) &&
           fitsForm(p.date, !t.weekly, {t.day, t.month}) && fits(p.program, t.program) &&
           fits(p.pulseSeconds, t.pulseSeconds) && fits(p.once, t.once) &&
           channelsFit(p, mask, t.channel, t.bus) && outputFits(p, t.state, t.value, t.bus);
}

bool priorityFits(const EntryPattern &p, const PriorityTime &t)
{
    if (p.minuteOfDay || p.weekdayMask || p.date || p.program || p.pulseSeconds)
        return false;
    if (p.easterOffset && !t.easter)
        return false;
    if (p.year && t.easter)
        return false;
    return fitsForm(p.from, !t.easter, {t.fromDay, t.fromMonth}) &&
           fitsForm(p.to, !t.easter, {t.toDay, t.toMonth}) && fits(p.easterOffset, t.easterOffset) &&
           fits(p.priorityCode, t.code) && fits(p.year, t.year()) && fits(p.once, t.once) &&
           channelsFit(p, t.channelMask, t.channel, t.bus) && outputFits(p, t.state, t.value, t.bus);
}

} // namespace

bool EntryPattern::any() const
{
    return minuteOfDay || weekdayMask || date || program || pulseSeconds || from || to || easterOffset ||
           priorityCode || year || channelMask || channel || state || value || once;
}

std::vector<int> MatchingEntries(const Model &model, const EntryPattern &pattern)
{
    std::vector<int> found;
    const ProgramSet &set = model.program();
    const int bus = model.device.BusDevice;
    const bool astroDevice = model.device.Uhrentyp == TypeAstro;
    for (int i = 0; i < set.UsedCount && i < MaxRecords; ++i) {
        const ProgramRecord &r = set.Records[i];
        const int kind = RecordKind(r, bus);
        const bool priority = kind == Kind::PriorityConventional || kind == Kind::PriorityBus;
        if (kind == Kind::NotUserRecord || priority != pattern.priority)
            continue;
        const bool fit = priority ? priorityFits(pattern, DecodePriorityRecord(r, bus))
                                  : switchingFits(pattern, DecodeSwitchingRecord(r, bus), astroDevice);
        if (fit)
            found.push_back(i);
    }
    return found;
}

} // namespace zx
