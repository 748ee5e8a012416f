#include "model/RecordDecoder.h"

#include "model/Model.h"

namespace zx {

SwitchingTime DecodeSwitchingRecord(const ProgramRecord &r, int busDevice)
{
    SwitchingTime t;
    t.bus = busDevice != 0;
    t.weekly = IsWeekly(r);
    t.minuteOfDay = MinuteOfDay(r);
    t.pulseSeconds = PulseLength(r);
    int channelHigh = 0; // bus: bit 2 of channel - 1
    if (t.weekly) {
        t.weekdayMask = BitField(r.b3, 0, 6);
        t.program = t.bus ? BitField(r.b1, 0, 2) : BitField(r.b1, 0, 3);
        channelHigh = BitField(r.b1, 3, 3);
    } else {
        t.day = BitField(r.b3, 0, 4);
        t.month = BitField(r.b1, 0, 3);
        t.once = BitField(r.b3, 6, 6) != 0;
        channelHigh = BitField(r.b3, 5, 5);
    }
    if (t.bus) {
        t.channel = 4 * channelHigh + BitField(r.b5, 0, 1) + 1;
        t.value = r.b4;
    } else {
        t.channelMask = r.b4;
        t.state = BitField(r.b5, 0, 0);
        t.astro = IsAstroTime(r, busDevice) != 0;
    }
    return t;
}

PriorityTime DecodePriorityRecord(const ProgramRecord &r, int busDevice)
{
    PriorityTime p;
    p.bus = busDevice != 0;
    p.code = BitField(r.b1, 0, 3);
    p.permanent = p.code == (p.bus ? PermanentCodeBus : PermanentCodeConventional);
    p.once = BitField(r.b3, 6, 6) != 0;
    p.dateForm = PriorityDateForm(r);
    if (r.b0 == 96) {
        // The Easter form keeps the day code's high nibble in b1 and its low nibble in b5, the
        // channels (bus: the channel) in b4 and the state (bus: the value) in b5's low nibble.
        p.easter = true;
        p.easterOffset = EasterOffset(r);
        p.easterCode = p.easterOffset + EasterCodeBase;
        if (p.bus) {
            p.channel = r.b4;
            p.value = BitField(r.b5, 0, 3);
        } else {
            p.channelMask = r.b4;
            p.state = BitField(r.b5, 0, 0);
        }
        return p;
    }
    p.fromMonth = BitField(r.b0, 1, 4);
    p.fromDay = 16 * BitField(r.b0, 0, 0) + BitField(r.b1, 4, 7);
    p.toDay = BitField(r.b3, 0, 4);
    p.toMonth = BitField(r.b5, 4, 7);
    if (p.bus) {
        p.channel = BitField(r.b5, 0, 3) + 1; // the whole low nibble holds channel - 1
        p.value = r.b4;
    } else {
        p.yearCode = BitField(r.b4, 4, 7) + 16 * BitField(r.b5, 1, 3);
        p.channelMask = BitField(r.b4, 0, 3);
        p.state = BitField(r.b5, 0, 0);
    }
    return p;
}

AstroDay DecodeAstroDay(const AstroData &astro, int dayIndex)
{
    const auto &values = astro.AstroTable[dayIndex];
    return {values[0], values[1]};
}

} // namespace zx
