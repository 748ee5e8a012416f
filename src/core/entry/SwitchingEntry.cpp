#include "entry/SwitchingEntry.h"

#include "model/RecordDecoder.h"

namespace zx {

EntryKind ConfirmedKind(const SwitchingEntryValues &e)
{
    if (e.day > 0 && e.month > 0)
        return EntryKind::Dated;
    if ((e.weekdayMask & AllWeekdays) != 0)
        return EntryKind::Weekly;
    return EntryKind::Undecided;
}

EntryCheck CheckSwitchingEntry(const SwitchingEntryValues &e, int busDevice)
{
    if (ConfirmedKind(e) == EntryKind::Undecided)
        return EntryCheck::DateOrWeekdaysIncomplete;
    const bool noChannel = busDevice ? (e.busChannel < 1 || e.busChannel > 8) : (e.channelMask & 0xFF) == 0;
    if (noChannel)
        return EntryCheck::NoChannel;
    return EntryCheck::Ok;
}

int MaxProgram(int busDevice)
{
    return busDevice ? MaxProgramBus : MaxProgramConventional;
}

ProgramRecord EncodeSwitchingTime(const SwitchingEntryValues &e, int busDevice)
{
    const int m = e.minuteOfDay();
    // On a bus device the channel is split: bits 0..1 of (channel - 1) go to b5, bit 2 to
    // b1 (weekly) or b3 (dated).
    const int channelIndex = busDevice ? (e.busChannel - 1) & 7 : 0;
    const int channelHigh = (channelIndex >> 2) & 1;
    const int pulse = e.pulse >= 0 && e.pulse <= 59 ? e.pulse : 0;

    ProgramRecord r;
    if (ConfirmedKind(e) == EntryKind::Dated) {
        r.b0 = static_cast<std::uint8_t>(m >> 4);
        r.b1 = static_cast<std::uint8_t>((m & 15) * 16 + (e.month & 15));
        r.b3 =
            static_cast<std::uint8_t>((e.once ? 64 : 0) + (e.day & 31) + (busDevice ? 32 * channelHigh : 0));
    } else {
        const int program = busDevice ? (e.program & 7) : (e.program & 15);
        r.b0 = static_cast<std::uint8_t>((m >> 4) + 128);
        r.b1 = static_cast<std::uint8_t>((m & 15) * 16 + program + (busDevice ? 8 * channelHigh : 0));
        r.b3 = static_cast<std::uint8_t>(e.weekdayMask & AllWeekdays);
    }
    r.b2 = 0;
    if (busDevice) {
        r.b4 = static_cast<std::uint8_t>(e.value & 0xFF);
        r.b5 = static_cast<std::uint8_t>(pulse * 4 + (channelIndex & 3));
    } else {
        r.b4 = static_cast<std::uint8_t>(e.channelMask & 0xFF);
        r.b5 = static_cast<std::uint8_t>(pulse * 4 + (e.state ? 1 : 0));
    }
    return r;
}

SwitchingEntryValues DecodeSwitchingTime(const ProgramRecord &r, int busDevice)
{
    const SwitchingTime t = DecodeSwitchingRecord(r, busDevice);
    SwitchingEntryValues e;
    e.hour = (t.minuteOfDay / 60) % 24;
    e.minute = t.minuteOfDay % 60;
    e.pulse = t.pulseSeconds > 59 ? 0 : t.pulseSeconds;
    if (t.weekly) {
        e.kind = EntryKind::Weekly;
        e.weekdayMask = t.weekdayMask;
        e.program = t.program > MaxProgram(busDevice) ? 0 : t.program;
    } else {
        e.kind = EntryKind::Dated;
        e.day = t.day;
        e.month = t.month;
        e.once = t.once ? 1 : 0;
    }
    if (t.bus) {
        e.value = t.value;
        e.busChannel = t.channel;
        e.channelMask = 0;
    } else {
        // the entry offers channels 1..4; bit 4 marks an astro time and is no channel here
        e.channelMask = t.channelMask & 15;
        e.state = t.state;
    }
    return e;
}

bool IsSwitchingTime(const ProgramRecord &r, int busDevice)
{
    const int kind = RecordKind(r, busDevice);
    return busDevice ? (kind == Kind::WeeklyBus || kind == Kind::DatedBus)
                     : (kind == Kind::WeeklyConventional || kind == Kind::DatedConventional);
}

} // namespace zx
