// zentrix-cli check: one line per program file, valid or why not.
#include "Commands.h"
#include "HeadlessPrompter.h"
#include "ProgramDocument.h"

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
        } else {
            ++invalid;
            std::printf("%s: %s\n", qPrintable(path), qPrintable(loadFailureText(model, result, reason)));
        }
    }
    return invalid == 0 ? 0 : 1;
}

} // namespace zx::cli
