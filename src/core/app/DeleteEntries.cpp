#include "app/DeleteEntries.h"

#include "i18n/ExtraTexts.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "platform/Prompter.h"

#include <set>

namespace zx {

namespace {

constexpr int ListChangeoverTable = 2;
constexpr int ListAstroTimes = 3;

// The catalogue's question, followed by what it is about.
bool confirmDelete(const Model &m, Prompter &prompter, const QString &what)
{
    const QString question = m.catalogue(Msg::ReallyDelete) + QStringLiteral("\n\n") + what;
    return prompter.ask(question, Buttons::OkCancel, Icon::Question) == Answer::Ok;
}

bool deleteChangeoverTail(Model &m, Prompter &prompter)
{
    ProgramSet &p = m.program();
    const std::set<int> marked(m.Marked.begin(), m.Marked.end());
    const int first = *marked.begin();
    const bool tail =
        *marked.rbegin() == p.DstCount - 1 && static_cast<int>(marked.size()) == p.DstCount - first;
    if (first < 0 || !tail) {
        prompter.tell(m.catalogue(Msg::YouCanOnlyDeleteIf), Icon::Critical);
        return false;
    }
    const QString what =
        extraText(ExtraText::DeleteChangeovers, m.device.Sprache).arg(first + 1).arg(p.DstCount);
    if (!confirmDelete(m, prompter, what))
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
    const ExtraText kind =
        m.ListView == ListPriority ? ExtraText::DeletePriorityTimes : ExtraText::DeleteSwitchingTimes;
    if (!confirmDelete(m, prompter, extraText(kind, m.device.Sprache).arg(m.Marked.size())))
        return false;
    m.removeRecords(SetProgram, m.Marked);
    m.Modified = 1;
    SortRecords(m, DisplayOrder, SetProgram, &prompter);
    return true;
}

} // namespace zx
