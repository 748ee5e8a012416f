#include "bus/BusVerify.h"

#include "app/ProgramComparison.h"
#include "bus/BusSession.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "platform/Prompter.h"

namespace zx {

bool VerifyBusWrite(BusEnvironment &env, int comIndex, int address)
{
    Model readBack = env.model;
    BusEnvironment back{env.library,  env.pump,    env.clock,   readBack,
                        env.prompter, env.workDir, env.timings, env.progress};
    const BusResult r = RunBusCommand(back, BusCommand::Read, comIndex, address);
    if (!r.ok()) {
        ReportBusError(env.prompter, r);
        return false;
    }
    // As the dialog does with what a read brought in: counted and in display order.
    readBack.recount(SetProgram);
    SortRecords(readBack, DisplayOrder, SetProgram);
    ListOptions list;
    list.clock = &env.clock;
    bool same = false;
    const QString text = VerifyResultText(env.model, readBack, list, &same);
    env.prompter.tell(text, same ? Icon::Information : Icon::Critical);
    return same;
}

} // namespace zx
