#include "bus/BusVerify.h"

#include "app/ProgramComparison.h"
#include "bus/BusSession.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "platform/Prompter.h"

namespace zx {

BusResult ReadBusDocument(BusEnvironment &env, int comIndex, int address, Model &document)
{
    // The read runs on the document: a read that breaks off leaves half a program there, never
    // in the program in memory.
    BusEnvironment other{env.library, env.pump,    env.clock,    document,    env.prompter,
                         env.workDir, env.timings, env.progress, env.portName};
    const BusResult r = RunBusCommand(other, BusCommand::Read, comIndex, address);
    if (r.ok()) {
        document.recount(SetProgram);
        SortRecords(document, DisplayOrder, SetProgram);
    }
    return r;
}

bool VerifyBusWrite(BusEnvironment &env, int comIndex, int address)
{
    Model readBack = env.model;
    const BusResult r = ReadBusDocument(env, comIndex, address, readBack);
    if (!r.ok()) {
        ReportBusError(env.prompter, r);
        return false;
    }
    ListOptions list;
    list.clock = &env.clock;
    bool same = false;
    const QString text = VerifyResultText(env.model, readBack, list, &same);
    env.prompter.tell(text, same ? Icon::Information : Icon::Critical);
    return same;
}

} // namespace zx
