#include "entry/EntryConflict.h"

#include "model/Model.h"

#include <algorithm>

namespace zx {

namespace {

bool HasPulse(const ProgramRecord &r)
{
    return (r.b5 >> 2) != 0;
}

Comparison CompareConventional(const ProgramRecord &e, const ProgramRecord &n, int kind)
{
    // Weekday and channel masks are compared whole: overlapping masks are different entries.
    if (e.b0 != n.b0 || e.b1 != n.b1 || (e.b3 & 0x7F) != (n.b3 & 0x7F) || e.b4 != n.b4)
        return Comparison::Different;
    switch (kind) {
    case Kind::WeeklyConventional:
    case Kind::DatedConventional:
        if (HasPulse(e))
            return HasPulse(n) ? Comparison::Pulse : Comparison::Different;
        if (HasPulse(n))
            return Comparison::Different;
        return (e.b5 & 1) == (n.b5 & 1) ? Comparison::Exists : Comparison::Inverted;
    case Kind::PriorityConventional:
        if ((e.b5 >> 1) != (n.b5 >> 1))
            return Comparison::Different;
        return (e.b5 & 1) == (n.b5 & 1) ? Comparison::Exists : Comparison::Inverted;
    default:
        return Comparison::Exists;
    }
}

Comparison CompareBus(const ProgramRecord &e, const ProgramRecord &n)
{
    // Bits 0..1 of b5 hold the low bits of the channel: entries for different channels are
    // independent even where only those bits differ.
    if (e.b0 != n.b0 || e.b1 != n.b1 || e.b3 != n.b3 || (e.b5 & 3) != (n.b5 & 3))
        return Comparison::Different;
    if ((e.b5 >> 2) != (n.b5 >> 2))
        return Comparison::Pulse;
    return e.b4 == n.b4 ? Comparison::Exists : Comparison::Inverted;
}

} // namespace

Comparison CompareSwitchingTimes(const ProgramRecord &existing, const ProgramRecord &fresh, int busDevice)
{
    const int kind = RecordKind(existing, busDevice);
    if (kind != RecordKind(fresh, busDevice))
        return Comparison::Different;
    return busDevice ? CompareBus(existing, fresh) : CompareConventional(existing, fresh, kind);
}

Comparison ComparePriorityTimes(const ProgramRecord &existing, const ProgramRecord &fresh, int busDevice)
{
    const int kind = RecordKind(existing, busDevice);
    if (kind != RecordKind(fresh, busDevice) ||
        (kind != Kind::PriorityConventional && kind != Kind::PriorityBus))
        return Comparison::Different;
    if (!busDevice)
        return CompareConventional(existing, fresh, kind);
    if (existing.b0 == 96 || fresh.b0 == 96) {
        // Bus Easter form: the channel in b4, the day code's low nibble beside the value in b5.
        if (existing.b0 != fresh.b0 || existing.b1 != fresh.b1 || existing.b3 != fresh.b3 ||
            existing.b4 != fresh.b4 || (existing.b5 >> 4) != (fresh.b5 >> 4))
            return Comparison::Different;
        return (existing.b5 & 15) == (fresh.b5 & 15) ? Comparison::Exists : Comparison::Inverted;
    }
    const Comparison c = CompareBus(existing, fresh);
    return c == Comparison::Pulse ? Comparison::Different : c;
}

Conflict FindConflict(const Model &model, const ProgramRecord &fresh, int skipIndex, int end)
{
    const ProgramSet &p = model.program();
    const int bus = model.device.BusDevice;
    const int kind = RecordKind(fresh, bus);
    const bool priority = kind == Kind::PriorityConventional || kind == Kind::PriorityBus;
    const int last = end < 0 ? MaxRecords : std::min(end, MaxRecords);
    for (int i = 0; i < p.UsedCount && i < last; ++i) {
        if (i == skipIndex)
            continue;
        const Comparison c = priority ? ComparePriorityTimes(p.Records[i], fresh, bus)
                                      : CompareSwitchingTimes(p.Records[i], fresh, bus);
        if (c != Comparison::Different)
            return {c, i};
    }
    return {};
}

} // namespace zx
