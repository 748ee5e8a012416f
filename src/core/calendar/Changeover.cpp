#include "calendar/Changeover.h"

#include "model/ProgramRecord.h"

namespace zx {

namespace {

Changeover decodeHalf(int word0, int word1)
{
    Changeover c;
    c.day = 16 * (word0 & 1) + BitField(word1, 4, 7);
    c.month = word1 & 0x0F;
    c.hour = word0 >> 4;
    c.shift = BitField(word0, 1, 3);
    return c;
}

int encodeWord0(const Changeover &c)
{
    return (c.day / 16) + 2 * (c.shift & 7) + 16 * c.hour;
}

int encodeWord1(const Changeover &c)
{
    return 16 * (c.day % 16) + (c.month & 0x0F);
}

} // namespace

DstEntry EncodeChangeoverEntry(const ChangeoverEntry &e)
{
    return {encodeWord0(e.advance), encodeWord1(e.advance), encodeWord0(e.setBack), encodeWord1(e.setBack)};
}

ChangeoverEntry DecodeChangeoverEntry(const DstEntry &v)
{
    return {decodeHalf(v[0], v[1]), decodeHalf(v[2], v[3])};
}

int ChangeoverKey(const Changeover &c)
{
    return (c.month * 32 + c.day) * 32 + c.hour;
}

int EncodeDstFirstYear(int startYear, int perYearCode)
{
    return ((startYear - DstYearBase) & 63) | ((perYearCode & 3) << 6);
}

int DstStartYear(const ProgramSet &set)
{
    return (set.DstFirstYear & 63) + DstYearBase;
}

int DstPerYearCode(const ProgramSet &set)
{
    return BitField(set.DstFirstYear, 6, 7);
}

int DstEntriesPerYear(const ProgramSet &set)
{
    return DstPerYearCode(set) == TwiceAYear ? 2 : 1;
}

int YearOfEntry(int index, const ProgramSet &set)
{
    return DstStartYear(set) + index / DstEntriesPerYear(set);
}

std::optional<SummerTimeSpan> RuleSpan(int rule, int year)
{
    switch (rule) {
    case RuleEurope:
        return SummerTimeSpan{LastSundayBefore(1, 4, year), LastSundayBefore(1, 11, year)};
    case RuleUK:
        return SummerTimeSpan{LastSundayBefore(1, 4, year), LastSundayBefore(29, 10, year)};
    case RuleUSA:
        return SummerTimeSpan{LastSundayBefore(15, 4, year), LastSundayBefore(1, 11, year)};
    default:
        return std::nullopt;
    }
}

std::vector<SummerTimeSpan> TableSpans(const ProgramSet &set, int year)
{
    std::vector<SummerTimeSpan> spans;
    for (int i = 0; i < set.DstCount && i < DstEntries; ++i) {
        if (YearOfEntry(i, set) != year)
            continue;
        const ChangeoverEntry e = DecodeChangeoverEntry(set.DstTable[i]);
        spans.push_back({DayOfYear(e.advance.day, e.advance.month, year),
                         DayOfYear(e.setBack.day, e.setBack.month, year)});
    }
    return spans;
}

bool IsSummerTime(int rule, const ProgramSet &set, int day, int month, int year)
{
    const int doy = DayOfYear(day, month, year);
    if (rule == RuleTable) {
        for (const SummerTimeSpan &span : TableSpans(set, year))
            if (span.contains(doy))
                return true;
        return false;
    }
    const std::optional<SummerTimeSpan> span = RuleSpan(rule, year);
    return span && span->start <= doy && doy <= span->end;
}

int IsSummerTime(const Model &model, int day, int month, int year)
{
    return IsSummerTime(model.device.SwRegel, model.program(), day, month, year) ? 1 : 0;
}

std::vector<ChangeoverEntry> ChangeoversOfYear(int rule, const ProgramSet &set, int year)
{
    std::vector<ChangeoverEntry> entries;
    if (rule == RuleTable) {
        for (int i = 0; i < set.DstCount && i < DstEntries; ++i) {
            if (YearOfEntry(i, set) == year)
                entries.push_back(DecodeChangeoverEntry(set.DstTable[i]));
        }
        return entries;
    }
    if (const std::optional<SummerTimeSpan> span = RuleSpan(rule, year)) {
        const DayMonth from = DateOfDay(span->start, year);
        const DayMonth to = DateOfDay(span->end, year);
        ChangeoverEntry e{RuleAdvanceTime, RuleSetBackTime};
        e.advance.day = from.day;
        e.advance.month = from.month;
        e.setBack.day = to.day;
        e.setBack.month = to.month;
        entries.push_back(e);
    }
    return entries;
}

DstCheckResult CheckChangeoverEntry(const ProgramSet &set, int index, const ChangeoverEntry &entry,
                                    int perYearCode)
{
    if (ChangeoverKey(entry.advance) == ChangeoverKey(entry.setBack))
        return {DstCheck::Identical, 0};
    if (perYearCode != TwiceAYear)
        return {};
    // The other pair of the same year: the entry before an odd index, after an even one.
    const int other = (index % 2 == 1) ? index - 1 : index + 1;
    if (other < 0 || other >= set.DstCount || other >= DstEntries)
        return {};
    const ChangeoverEntry e = DecodeChangeoverEntry(set.DstTable[other]);
    for (const Changeover &mine : {entry.advance, entry.setBack})
        for (const Changeover &theirs : {e.advance, e.setBack})
            if (ChangeoverKey(mine) == ChangeoverKey(theirs))
                return {DstCheck::SameDate, other + 1};
    return {};
}

bool AppendChangeoverEntry(ProgramSet &set, const ChangeoverEntry &entry, int startYear, int perYearCode)
{
    if (set.DstCount >= DstEntries)
        return false;
    // A start year the header cannot hold would come back as another year.
    if (set.DstCount == 0 && (startYear < DstYearBase || startYear > DstLastStartYear))
        return false;
    if (set.DstCount == 0)
        set.DstFirstYear = EncodeDstFirstYear(startYear, perYearCode);
    set.DstTable[set.DstCount] = EncodeChangeoverEntry(entry);
    ++set.DstCount;
    return true;
}

int LimitChangeoverDay(int day, int month, int year)
{
    int limit = 31;
    if (month == 2)
        limit = (year != 0 && !IsLeapYear(year)) ? 28 : 29;
    else if (month == 4 || month == 6 || month == 9 || month == 11)
        limit = 30;
    return day > limit ? limit : day;
}

} // namespace zx
