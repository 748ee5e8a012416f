// zentrix-cli check: one line per program file, valid or why not, and a warning line for each
// record the device cannot run as stored (the entry dialogs and `add` refuse such records), on
// standard error so that the one line per file stays as scripts read it.
#include "Commands.h"
#include "HeadlessPrompter.h"
#include "ProgramDocument.h"

#include "entry/EntryDeviceRules.h"
#include "model/Model.h"

namespace zx::cli {

static const char CheckUsage[] = "zentrix-cli check FILE...";

int runCheck(const QStringList &args)
{
    if (args.isEmpty())
        return usageError(CheckUsage);
    for (const QString &arg : args) {
        if (isOption(arg))
            return usageError(CheckUsage);
    }
    int invalid = 0;
    for (const QString &path : args) {
        Model model;
        HeadlessPrompter prompter;
        prompter.quiet = true; // the line below says why a file failed
        int type = 0;
        QString reason;
        const LoadResult result = loadProgramFile(model, prompter, path, 0, &type, &reason);
        if (result == LoadResult::Loaded) {
            const ProgramSet &p = model.program();
            std::printf("%s: valid, device type %d, %d records (%d switching, %d priority)\n",
                        qPrintable(path), type, p.UsedCount, p.SzCount, p.PzCount);
            std::fflush(stdout);
            for (const RuleBreak &b : RecordsBreakingDeviceRules(model)) {
                const ProgramRecord &r = p.Records[b.index];
                std::fprintf(stderr, "%s: warning: record %d (%d %d %d %d %d %d): %s\n", qPrintable(path),
                             b.index + 1, r.b0, r.b1, r.b2, r.b3, r.b4, r.b5,
                             qPrintable(DeviceRuleMessage(model, b.rule)));
            }
        } else {
            ++invalid;
            std::printf("%s: %s\n", qPrintable(path), qPrintable(loadFailureText(model, result, reason)));
        }
    }
    return invalid == 0 ? 0 : 1;
}

} // namespace zx::cli
