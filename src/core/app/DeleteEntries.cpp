#include "app/DeleteEntries.h"

#include "model/ListOrder.h"
#include "model/Model.h"
#include "platform/Prompter.h"

#include <set>

namespace zx {

namespace {

constexpr int ListChangeoverTable = 2;
constexpr int ListAstroTimes = 3;

bool deleteChangeoverTail(Model &m, Prompter &prompter)
{
    ProgramSet &p = m.program();
    const std::set<int> marked(m.Marked.begin(), m.Marked.end());
    const int first = *marked.begin();
    const bool tail = *marked.rbegin() == p.DstCount - 1 && static_cast<int>(marked.size()) == p.DstCount - first;
    if (first < 0 || !tail) {
        prompter.tell(m.catalogue(Msg::YouCanOnlyDeleteIf), Icon::Critical);
        return false;
    }
    if (prompter.ask(m.catalogue(Msg::ReallyDelete), Buttons::OkCancel, Icon::Question) != Answer::Ok)
        return false;
    for (int i = first; i < DstEntries; ++i)
        p.DstTable[i] = EmptyDstEntry;
    p.DstCount = first;
    m.Modified = 1;
    return true;
}

} // namespace

bool DeleteMarkedEntries(Model &m, Prompter &prompter)
{
    if (m.ListView == ListAstroTimes || m.CurrentSet != SetProgram || m.Marked.empty())
        return false;
    if (m.ListView == ListChangeoverTable)
        return deleteChangeoverTail(m, prompter);
    if (prompter.ask(m.catalogue(Msg::ReallyDelete), Buttons::OkCancel, Icon::Question) != Answer::Ok)
        return false;
    m.removeRecords(SetProgram, m.Marked);
    m.Modified = 1;
    SortRecords(m, DisplayOrder, SetProgram, &prompter);
    return true;
}

} // namespace zx
