#include "model/ListOrder.h"

#include "model/ListKinds.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "platform/Prompter.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <optional>

namespace zx {

namespace {

constexpr qint64 Pow2(int n)
{
    return qint64(1) << n;
}

int channelCount(const Model &model)
{
    return std::clamp(model.device.Kanalzahl, 1, 8);
}

// 0-based index of the lowest channel bit of `mask` below the channel count; the channel count
// itself when none is set. Bits at or above the count (the astro marker of a switching time, the
// year code of a priority time) therefore never count as a channel.
int lowestChannel(const Model &model, int mask)
{
    const int count = channelCount(model);
    for (int i = 0; i < count; ++i)
        if (mask & (1 << i))
            return i;
    return count;
}

// ----- switching times -------------------------------------------------------------------

struct SwitchingFields {
    int day = 0;
    int time = 0;
    int program = 0;
    int channel = 0;
    int pulse = 0;
    int state = 0;
    int once = 0;
    int astro = 0;
};

SwitchingFields switchingFields(const Model &model, const ProgramRecord &r)
{
    const SwitchingTime t = DecodeSwitchingRecord(r, model.device.BusDevice);
    SwitchingFields f;
    if (t.weekly) {
        f.day = 7; // no weekday at all sorts after Sunday
        for (int i = 0; i < 7; ++i) {
            if (t.weekdayMask & (1 << i)) {
                f.day = i;
                break;
            }
        }
    } else {
        // month x 32 + day: every dated time (at least 32) follows every weekly one (0..7)
        f.day = t.month * 32 + t.day;
    }
    f.time = t.minuteOfDay;
    f.program = t.weekly ? t.program : 10;
    if (t.bus) {
        f.channel = t.channel - 1;
        f.state = t.value;
    } else {
        f.channel = lowestChannel(model, t.channelMask);
        f.state = t.state;
    }
    f.pulse = t.pulseSeconds;
    f.once = t.once ? 1 : 0;
    f.astro = t.astro ? 1 : 0;
    return f;
}

qint64 switchingKey(const Model &model, const ProgramRecord &r)
{
    const SwitchingFields f = switchingFields(model, r);
    switch (model.SortColumnSz) {
    case 1:
        return Pow2(21) * f.day + Pow2(10) * f.time + Pow2(6) * f.program + Pow2(4) * f.channel;
    case 2:
        return Pow2(19) * f.time + Pow2(10) * f.day + Pow2(6) * f.program + Pow2(4) * f.channel;
    case 4:
        return Pow2(23) * f.pulse + Pow2(21) * f.channel + Pow2(12) * f.day + 2 * f.time;
    case 5:
        return Pow2(29) * f.once + Pow2(27) * f.channel + Pow2(23) * f.program + Pow2(12) * f.day +
               2 * f.time;
    case 6:
        return Pow2(29) * f.state + Pow2(27) * f.channel + Pow2(23) * f.program + Pow2(14) * f.day +
               Pow2(3) * f.time;
    case 7:
        return Pow2(25) * f.program + Pow2(23) * f.channel + Pow2(12) * f.day + 2 * f.time;
    case 8:
        return Pow2(18) * f.time + Pow2(14) * f.program + Pow2(8) * f.pulse + Pow2(7) * f.once +
               Pow2(6) * (1 - f.state);
    case 9:
        return Pow2(29) * (1 - f.astro) + Pow2(17) * f.time + Pow2(13) * f.program + Pow2(7) * f.pulse +
               Pow2(6) * f.once + Pow2(5) * (1 - f.state);
    case 3:
    default:
        return Pow2(28) * f.channel + Pow2(24) * f.program + Pow2(15) * f.day + Pow2(4) * f.time;
    }
}

// ----- priority times --------------------------------------------------------------------
//
// Numbering of the first and last day of a priority time. A day of the year is numbered
// month x 32 + day (1 January = 33, 31 December = 415): later dates give larger numbers and the
// number fits in 9 bits, which is what the narrowest key layout leaves for it (the begin term
// sits 9 bits below the next term in columns 3 to 6).
//
// - Fixed dates (every year, once, once in a given year): the record's from-date and to-date.
// - A range whose last day lies before its first day ends in the following year (24 December
//   to 6 January): its end is numbered in a thirteenth to twenty-fourth month, (month + 12) x 32
//   + day, so it sorts after every end within the year.
// - Easter-relative dates move with Easter Sunday, which falls between 22 March and 25 April.
//   They are numbered as if Easter Sunday were 8 April, the middle of that range, in a year of
//   365 days: Good Friday (-2) is 6 April = 134, Easter Monday (+1) is 9 April = 137, Whit
//   Monday (+50) is 28 May = 220. Among themselves they sort by their offset from Easter; among
//   fixed dates they stand within two and a half weeks of their real place in any year. The first
//   and last day of such a priority time are the same day.
//
// The date-form term: every-year, once and Easter-relative priority times get 0 and sort
// together by the numbers above; a priority time bound to one year (year code 1..127) gets
// 1 + year code, so the year-bound ones follow the recurring ones in year order. In columns 1
// and 2 the term stands above the date (2^22), so those lists run through the calendar, later
// years later; in the other columns it only breaks ties below the date.

constexpr int MonthSpan = 32;
constexpr int NominalEasterDayOfYear = 98; // 8 April in a year of 365 days
constexpr int NominalYear = 2001;          // any year not divisible by 4

int dayNumber(int month, int day)
{
    return month * MonthSpan + day;
}

int easterNumber(int offset)
{
    const int dayOfYear = std::clamp(NominalEasterDayOfYear + offset, 1, DaysInYear(NominalYear));
    const int month = MonthOfDay(dayOfYear, NominalYear);
    const int before = month > 1 ? DaysThroughMonth(month - 1, NominalYear) : 0;
    return dayNumber(month, dayOfYear - before);
}

struct PriorityFields {
    int begin = 0;
    int end = 0;
    int program = 0;
    int channel = 0;
    int once = 0;
    int state = 0;
    int formTerm = 0;
};

PriorityFields priorityFields(const Model &model, const ProgramRecord &r)
{
    const PriorityTime p = DecodePriorityRecord(r, model.device.BusDevice);
    PriorityFields f;
    f.program = p.code;
    f.once = p.once ? 1 : 0;
    if (p.easter) {
        // Easter-relative holiday: one day
        f.begin = f.end = easterNumber(p.easterOffset);
        f.channel = p.bus ? std::clamp(p.channel - 1, 0, 7) : lowestChannel(model, p.channelMask);
        f.state = p.bus ? p.value : p.state;
    } else {
        f.begin = dayNumber(p.fromMonth, p.fromDay);
        f.end = dayNumber(p.toMonth, p.toDay);
        if (f.end < f.begin)
            f.end += 12 * MonthSpan;
        if (p.bus) {
            f.channel = p.channel - 1;
            f.state = p.value;
        } else {
            f.channel = lowestChannel(model, p.channelMask);
            f.state = p.state;
            if (p.dateForm == 3)
                f.formTerm = 1 + p.yearCode;
        }
    }
    if (!p.permanent)
        f.state = 0;
    return f;
}

qint64 priorityKey(const Model &model, const ProgramRecord &r)
{
    const PriorityFields f = priorityFields(model, r);
    qint64 key = Pow2(30);
    switch (model.SortColumnPz) {
    case 1:
    case 2: {
        const int date = model.SortColumnPz == 1 ? f.begin : f.end;
        key +=
            Pow2(22) * f.formTerm + Pow2(12) * date + Pow2(8) * f.program + Pow2(4) * f.channel + 2 * f.once;
        break;
    }
    case 3:
        key += Pow2(26) * f.channel + Pow2(22) * f.program + Pow2(13) * f.begin + Pow2(5) * f.formTerm +
               Pow2(4) * f.once;
        break;
    case 4:
        key +=
            Pow2(28) * f.once + Pow2(24) * f.program + Pow2(20) * f.channel + Pow2(11) * f.begin + f.formTerm;
        break;
    case 5:
        key += Pow2(28) * f.state + Pow2(24) * f.program + Pow2(22) * f.channel + Pow2(13) * f.begin +
               f.formTerm;
        break;
    case 6:
        key += Pow2(26) * f.program + Pow2(22) * f.channel + Pow2(13) * f.begin + Pow2(5) * f.formTerm +
               Pow2(4) * f.once;
        break;
    default:
        key += Pow2(22) * f.channel + Pow2(13) * f.begin + Pow2(5) * f.formTerm + Pow2(4) * f.once;
        break;
    }
    return key;
}

bool isPriority(const Model &model, const ProgramRecord &r)
{
    const int kind = model.RecordKind(r);
    return kind == Kind::PriorityConventional || kind == Kind::PriorityBus;
}

} // namespace

quint32 DeviceKey(const ProgramRecord &r)
{
    return quint32(r.b0 & 127) * 1024 + quint32(BitField(r.b1, 4, 7)) * 64 + quint32(BitField(r.b5, 2, 7));
}

void SortInDeviceOrder(std::span<ProgramRecord> records)
{
    std::stable_sort(records.begin(), records.end(), [](const ProgramRecord &a, const ProgramRecord &b) {
        return DeviceKey(a) < DeviceKey(b);
    });
}

qint64 DisplayKeyWide(const Model &model, const ProgramRecord &r)
{
    return isPriority(model, r) ? priorityKey(model, r) : switchingKey(model, r);
}

quint32 DisplayKey(const Model &model, const ProgramRecord &r)
{
    const qint64 wide = DisplayKeyWide(model, r);
    return quint32(std::clamp<qint64>(wide, 0, std::numeric_limits<quint32>::max()));
}

void SortRecords(Model &model, int order, int setIndex, Prompter *prompter)
{
    ProgramSet &s = model.set(setIndex);
    const int n = std::clamp(s.UsedCount, 0, MaxRecords);
    if (n < 2)
        return;
    std::optional<Prompter::BusyGuard> busy;
    if (prompter)
        busy.emplace(prompter->busy());
    if (order == DeviceOrder) {
        SortInDeviceOrder(std::span(s.Records).first(n));
        return;
    }

    std::array<qint64, MaxRecords> keys{};
    for (int i = 0; i < n; ++i)
        keys[i] = DisplayKeyWide(model, s.Records[i]);

    // A stable sort gives exactly what the device's selection sort gives: ascending keys, and
    // among equal keys the earlier record first.
    std::array<int, MaxRecords> index{};
    std::iota(index.begin(), index.begin() + n, 0);
    std::stable_sort(index.begin(), index.begin() + n, [&](int a, int b) { return keys[a] < keys[b]; });

    std::array<ProgramRecord, MaxRecords> sorted{};
    for (int i = 0; i < n; ++i)
        sorted[i] = s.Records[index[i]];
    std::copy(sorted.begin(), sorted.begin() + n, s.Records.begin());
}

void HeaderClicked(Model &model, int column, Prompter *prompter)
{
    if (model.ListView == ListSwitching) {
        // the astro device's switching list lacks one column after the third
        model.SortColumnSz = (model.device.Uhrentyp == TypeAstro && column > 3) ? column + 1 : column;
    } else if (model.ListView == ListPriority) {
        model.SortColumnPz = column;
    } else {
        return;
    }
    SortRecords(model, DisplayOrder, model.CurrentSet, prompter);
}

} // namespace zx
