#include "model/ProgramRecord.h"

namespace zx {

int RecordKind(const ProgramRecord &r, int busDevice)
{
    const int c = 8 * (busDevice ? 1 : 0) + (r.b0 >> 5);
    switch (c) {
    case 0:
    case 1:
    case 2:
        return Kind::DatedConventional;
    case 3:
        return Kind::PriorityConventional;
    case 4:
    case 5:
    case 6:
        return Kind::WeeklyConventional;
    case 8:
    case 9:
    case 10:
        return Kind::DatedBus;
    case 11:
        return Kind::PriorityBus;
    case 12:
    case 13:
    case 14:
        return Kind::WeeklyBus;
    default:
        return Kind::NotUserRecord;
    }
}

int IsAstroTime(const ProgramRecord &r, int busDevice)
{
    const int kind = RecordKind(r, busDevice);
    if (kind == Kind::WeeklyConventional || kind == Kind::DatedConventional)
        return BitField(r.b4, 4, 4);
    return 0;
}

int PriorityDateForm(const ProgramRecord &r)
{
    if (r.b0 == 96)
        return 2;
    if (BitField(r.b3, 6, 6))
        return (BitField(r.b4, 4, 7) != 0 || BitField(r.b5, 1, 3) != 0) ? 3 : 1;
    return 0;
}

int EasterOffset(const ProgramRecord &r)
{
    return BitField(r.b1, 4, 7) * 16 + BitField(r.b5, 4, 7) - 82;
}

} // namespace zx
