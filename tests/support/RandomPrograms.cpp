#include "support/RandomPrograms.h"

#include "model/ListOrder.h"
#include "model/Model.h"
#include "support/SamplePrograms.h"

namespace zx::test {

ProgramRecord randomRecord(std::mt19937 &rng)
{
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    switch (pick(0, 2)) {
    case 0:
        return weeklyTime(pick(5, 8), 15 * pick(0, 3), pick(1, 127), pick(1, 15), pick(0, 1));
    case 1:
        return datedTime(pick(5, 8), 15 * pick(0, 3), pick(1, 28), pick(1, 12), pick(1, 15), pick(0, 1));
    default:
        return priorityTime(pick(1, 28), pick(1, 6), pick(1, 28), pick(7, 12), pick(1, 9), pick(1, 15));
    }
}

void fillRandomProgram(Model &model, std::mt19937 &rng, int count)
{
    ProgramSet &p = model.program();
    p.UsedCount = p.SzCount = p.PzCount = 0;
    for (int i = 0; i < count; ++i)
        model.appendRecord(SetProgram, randomRecord(rng));
    p.DstCount = std::uniform_int_distribution<int>(0, 3)(rng);
    p.DstFirstYear = 30;
    for (int i = 0; i < DstEntries; ++i)
        p.DstTable[i] = i < p.DstCount ? DstEntry{3, 31, 10, 31} : EmptyDstEntry;
    if (p.DstCount > 0 && std::uniform_int_distribution<int>(0, 1)(rng))
        p.DstTable[0] = DstEntry{3, 28, 10, 27};
    SortRecords(model, DisplayOrder, SetProgram);
}

} // namespace zx::test
