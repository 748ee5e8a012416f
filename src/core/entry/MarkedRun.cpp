#include "entry/MarkedRun.h"

#include <algorithm>

namespace zx {

MarkedRun MarkedRun::fromMarks(const std::vector<int> &marked, int first, int last, int recordCount)
{
    MarkedRun run;
    const int count = static_cast<int>(marked.size());
    if (first < 0 || last < first || last >= count)
        return run;
    for (int p = first; p <= last; ++p) {
        const int index = marked[static_cast<std::size_t>(p)];
        if (index < 0 || index >= recordCount)
            return MarkedRun();
        if (std::find(run.records_.begin(), run.records_.end(), index) == run.records_.end())
            run.records_.push_back(index);
    }
    return run;
}

int MarkedRun::current() const
{
    return finished() ? -1 : records_[static_cast<std::size_t>(position_)];
}

bool MarkedRun::advance()
{
    if (finished())
        return false;
    ++position_;
    return !finished();
}

} // namespace zx
