#include "views/RowFilter.h"

#include "entry/SwitchingEntry.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"

namespace zx::views {

namespace {

// What the filter looks at in a record, taken from the record decoder.
struct FilterFields {
    bool weekly = false;
    int channelBits = 0; // bus device: the bit of its one channel
    int weekdays = 0;
    int month = 0; // dated switching time
    int fromMonth = 0, toMonth = 0;
    bool movingDate = false; // Easter-relative priority time: its months change every year
    int program = 0;
    int pulse = 0;
    int state = 0; // conventional: 1 ON, 0 OFF; bus: the value
};

// A bus record holds one channel number; the filter's boxes are compared with its own bit.
int channelBit(int channel)
{
    return channel >= 1 && channel <= 8 ? 1 << (channel - 1) : 0;
}

FilterFields switchingFields(const ProgramRecord &r, int bus)
{
    const SwitchingTime t = DecodeSwitchingRecord(r, bus);
    FilterFields f;
    f.weekly = t.weekly;
    f.channelBits = bus ? channelBit(t.channel) : t.channelMask;
    f.weekdays = t.weekdayMask;
    f.month = t.month;
    f.program = t.program;
    f.pulse = t.pulseSeconds;
    f.state = bus ? t.value : t.state;
    return f;
}

FilterFields priorityFields(const ProgramRecord &r, int bus)
{
    const PriorityTime p = DecodePriorityRecord(r, bus);
    FilterFields f;
    f.program = p.code;
    f.movingDate = p.easter;
    f.fromMonth = p.fromMonth;
    f.toMonth = p.toMonth;
    f.channelBits = bus ? channelBit(p.channel) : p.channelMask;
    return f;
}

bool inRange(int value, int from, int to)
{
    return value >= from && value <= to;
}

bool switchingPasses(const ListFilter &c, const FilterFields &f, bool bus)
{
    if (f.weekly) {
        if (!inRange(f.program, c.FilterFromProgram, c.FilterToProgram) ||
            (f.weekdays & c.FilterWeekdays) == 0)
            return false;
    } else if (c.FilterFromMonth == 0 || !inRange(f.month, c.FilterFromMonth, c.FilterToMonth)) {
        return false;
    }
    if (bus) {
        const bool state = c.FilterState == 0   ? f.state == c.FilterValue
                           : c.FilterState == 1 ? f.state <= c.FilterValue
                                                : f.state >= c.FilterValue;
        if (!state)
            return false;
    } else if (c.FilterState != 2 && f.state != c.FilterState) {
        return false;
    }
    if ((c.FilterPulses == 1 && f.pulse == 0) || (c.FilterPulses == 0 && f.pulse != 0))
        return false;
    return (f.channelBits & c.FilterChannels) != 0;
}

bool priorityPasses(const ListFilter &c, const FilterFields &f)
{
    if ((f.channelBits & c.FilterChannels) == 0 ||
        !inRange(f.program, c.FilterFromProgram, c.FilterToProgram))
        return false;
    if (f.movingDate)
        return true;
    const int from = f.fromMonth, to = f.toMonth;
    // A range over the new year lies outside only when it starts after and ends before the
    // filter's months.
    if (from > c.FilterToMonth && to < c.FilterFromMonth)
        return false;
    if (from < c.FilterFromMonth && to < c.FilterFromMonth)
        return false;
    if (from > c.FilterToMonth && to > c.FilterToMonth)
        return false;
    return true;
}

} // namespace

bool RowPassesFilter(const Model &model, const ProgramRecord &r)
{
    const int bus = model.device.BusDevice != 0 ? 1 : 0;
    switch (model.RecordKind(r)) {
    case Kind::WeeklyConventional:
    case Kind::DatedConventional:
    case Kind::WeeklyBus:
    case Kind::DatedBus:
        return switchingPasses(model.filter, switchingFields(r, bus), bus != 0);
    case Kind::PriorityConventional:
    case Kind::PriorityBus:
        return priorityPasses(model.filter, priorityFields(r, bus));
    default:
        return true; // not an entry: nothing for the filter to judge
    }
}

int FilterProgramCount(int busDevice)
{
    return (busDevice ? MaxProgramBus : MaxProgramConventional) + 2;
}

int FilterToProgram(int fromProgram, int position, int busDevice)
{
    const int to = fromProgram + position;
    if (busDevice && to > MaxProgramBus)
        return 10;
    return to;
}

bool FilterFromJson(const QJsonObject &json, ListFilter &filter, QString *error)
{
    ListFilter f = filter;
    const struct {
        const char *key;
        int ListFilter::*field;
        int low, high;
    } fields[] = {
        {"FilterChannels", &ListFilter::FilterChannels, 0, 255},
        {"FilterWeekdays", &ListFilter::FilterWeekdays, 0, 127},
        {"FilterFromMonth", &ListFilter::FilterFromMonth, 0, 12},
        {"FilterToMonth", &ListFilter::FilterToMonth, 0, 12},
        {"FilterFromProgram", &ListFilter::FilterFromProgram, 0, 10},
        {"FilterToProgram", &ListFilter::FilterToProgram, 0, 10},
        {"FilterPulses", &ListFilter::FilterPulses, 0, 2},
        {"FilterState", &ListFilter::FilterState, 0, 2},
        {"FilterValue", &ListFilter::FilterValue, 0, 255},
    };
    for (const auto &d : fields) {
        const QString key = QLatin1String(d.key);
        if (!json.contains(key))
            continue;
        const QJsonValue v = json.value(key);
        const double number = v.toDouble(-1);
        if (!v.isDouble() || number != static_cast<int>(number) || number < d.low || number > d.high) {
            if (error)
                *error = QStringLiteral("%1: a whole number from %2 to %3").arg(key).arg(d.low).arg(d.high);
            return false;
        }
        f.*d.field = static_cast<int>(number);
    }
    filter = f;
    return true;
}

} // namespace zx::views
