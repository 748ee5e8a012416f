#include "entry/PriorityEntry.h"

#include "entry/EntryAutomation.h"
#include "model/RecordDecoder.h"

namespace zx {

bool IsPriorityTime(const ProgramRecord &r, int busDevice)
{
    const int kind = RecordKind(r, busDevice);
    return kind == Kind::PriorityConventional || kind == Kind::PriorityBus;
}

int PermanentCode(int busDevice)
{
    return busDevice ? PermanentCodeBus : PermanentCodeConventional;
}

int MaxPriority(int busDevice)
{
    return PermanentCode(busDevice) - 1;
}

bool IsPermanent(const PriorityEntryValues &e, int busDevice)
{
    return e.priority == PermanentCode(busDevice);
}

int YearCodeOf(int year)
{
    return year >= FirstListedYear && year <= LastListedYear ? year - YearCodeBase : 0;
}

PriorityCheck CheckPriorityEntry(const PriorityEntryValues &e, int busDevice)
{
    if (!e.easter) {
        if (e.fromDay < 1 || e.fromMonth < 1 || e.fromMonth > 12 || e.toDay < 1 || e.toMonth < 1 ||
            e.toMonth > 12)
            return PriorityCheck::DateIncomplete;
        int from = e.fromDay, to = e.toDay;
        if (LimitDayToMonth(from, e.fromMonth) || LimitDayToMonth(to, e.toMonth))
            return PriorityCheck::DateIncomplete;
    }
    if (e.easter && (e.easterCode < 0 || e.easterCode > 255))
        return PriorityCheck::DateIncomplete;
    const bool noChannel = busDevice ? (e.busChannel < 1 || e.busChannel > 8) : (e.channelMask & 15) == 0;
    if (noChannel)
        return PriorityCheck::NoChannel;
    if (e.priority < 1 || e.priority > PermanentCode(busDevice))
        return PriorityCheck::BadPriority;
    if (e.easter && busDevice && IsPermanent(e, busDevice) && e.value > MaxBusEasterValue)
        return PriorityCheck::BusEasterValue;
    return PriorityCheck::Ok;
}

PriorityEntryValues NormalisedPriorityEntry(PriorityEntryValues e, int busDevice)
{
    if (!IsPermanent(e, busDevice)) {
        e.state = 0;
        e.value = 0;
    }
    if (busDevice || e.easter)
        e.yearCode = 0;
    if (e.yearCode != 0)
        e.once = 1;
    if (e.easter)
        e.once = 0;
    return e;
}

namespace {

std::uint8_t Byte(int v)
{
    return static_cast<std::uint8_t>(v & 0xFF);
}

} // namespace

ProgramRecord EncodePriorityTime(const PriorityEntryValues &entry, int busDevice)
{
    const PriorityEntryValues e = NormalisedPriorityEntry(entry, busDevice);
    const int code = e.priority & 15;
    ProgramRecord r;
    r.b2 = 0;
    if (e.easter) {
        // The day code is split over b1's high nibble and b5's high nibble.
        r.b0 = 96;
        r.b1 = Byte((e.easterCode & 240) + code);
        r.b3 = 0;
        r.b4 = Byte(busDevice ? e.busChannel : e.channelMask & 15);
        r.b5 = Byte((e.easterCode % 16) * 16 + (busDevice ? e.value & 15 : (e.state ? 1 : 0)));
        return r;
    }
    r.b0 = Byte(96 + (e.fromMonth & 15) * 2 + ((e.fromDay >> 4) & 1));
    r.b1 = Byte((e.fromDay % 16) * 16 + code);
    r.b3 = Byte((e.toDay & 31) + 64 * (e.once ? 1 : 0));
    if (busDevice) {
        r.b4 = Byte(e.value);
        r.b5 = Byte((e.toMonth & 15) * 16 + ((e.busChannel - 1) & 7));
    } else {
        // A conventional priority time keeps a 7-bit year code: bits 0..3 in b4, 4..6 in b5.
        r.b4 = Byte((e.yearCode % 16) * 16 + (e.channelMask & 15));
        r.b5 = Byte((e.toMonth & 15) * 16 + ((e.yearCode >> 4) & 7) * 2 + (e.state ? 1 : 0));
    }
    return r;
}

PriorityEntryValues DecodePriorityTime(const ProgramRecord &r, int busDevice)
{
    const PriorityTime p = DecodePriorityRecord(r, busDevice);
    PriorityEntryValues e;
    e.easter = p.easter;
    e.easterCode = p.easter ? p.easterCode : 0;
    if (!p.easter) {
        e.fromDay = p.fromDay;
        e.fromMonth = p.fromMonth;
        e.toDay = p.toDay;
        e.toMonth = p.toMonth;
        e.yearCode = p.yearCode;
    }
    e.once = p.once ? 1 : 0;
    e.priority = p.code;
    if (p.bus) {
        e.busChannel = p.channel;
        e.value = p.value;
    } else {
        e.channelMask = p.channelMask & 15;
        e.state = p.state;
    }
    return e;
}

} // namespace zx
