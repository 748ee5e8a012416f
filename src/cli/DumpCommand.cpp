// zentrix-cli dump: everything a program file holds, as a listing or as JSON.
#include "Commands.h"
#include "HeadlessPrompter.h"
#include "ProgramDocument.h"

#include "model/Model.h"

#include <QJsonDocument>

namespace zx::cli {

static const char DumpUsage[] = "zentrix-cli dump FILE.zxp [--type 517|236] [--json]";

int runDump(const QStringList &args)
{
    QString path;
    int type = 0;
    bool json = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == u"--json") {
            json = true;
        } else if (args[i] == u"--type") {
            if (i + 1 >= args.size() || !parseTypeOption(args[++i], &type))
                return usageError(DumpUsage);
        } else if (path.isEmpty() && !isOption(args[i])) {
            path = args[i];
        } else {
            return usageError(DumpUsage);
        }
    }
    if (path.isEmpty())
        return usageError(DumpUsage);

    Model model;
    HeadlessPrompter prompter;
    int usedType = 0;
    QString reason;
    const LoadResult result = loadProgramFile(model, prompter, path, type, &usedType, &reason);
    if (result != LoadResult::Loaded) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path),
                     qPrintable(loadFailureText(model, result, reason)));
        return 1;
    }
    if (json)
        std::fputs(QJsonDocument(programToJson(model)).toJson(QJsonDocument::Indented).constData(), stdout);
    else
        std::fputs(programToText(model, path).toUtf8().constData(), stdout);
    return 0;
}

} // namespace zx::cli
