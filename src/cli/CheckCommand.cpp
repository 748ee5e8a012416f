// zentrix-cli check: one line per program file, valid or why not, and a warning line for each
// record the device cannot run as stored (the entry dialogs and `add` refuse such records), on
// standard error so that the one line per file stays as scripts read it.
#include "CliTexts.h"
#include "Commands.h"
#include "HeadlessPrompter.h"

#include "app/LoadFailure.h"
#include "entry/DuplicateEntries.h"
#include "entry/EntryDeviceRules.h"
#include "model/Model.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zx::cli {

int runCheck(Options &o)
{
    if (!o.expectArguments({QStringLiteral("FILE")}, 1, true))
        return 2;
    int invalid = 0;
    QJsonArray results;
    if (o.positional.count(QStringLiteral("-")) > 1)
        return o.usageError(QStringLiteral("-: ") + cliText(CliText::GivenTwice, o.language()));
    for (const QString &path : o.positional) {
        Model model;
        // the line below says why a file failed
        const ProgramLoad load = loadProgramQuietly(model, o, path);
        if (load.told)
            return 1;
        const LoadResult result = load.result;
        const ProgramSet &p = model.program();
        const bool master = result == LoadResult::MasterCard;
        QJsonObject entry{{QStringLiteral("file"), path},
                          {QStringLiteral("valid"), result == LoadResult::Loaded || master}};
        if (master) {
            // option bits for the device rather than a program; valid as a chip image
            entry[u"deviceType"] = model.device.Uhrentyp;
            entry[u"masterCard"] = true;
            if (!o.has("--json"))
                printLine(QStringLiteral("%1: valid master card, device type %2")
                              .arg(path)
                              .arg(model.device.Uhrentyp));
        } else if (result == LoadResult::Loaded) {
            entry[u"deviceType"] = model.device.Uhrentyp;
            entry[u"records"] = p.UsedCount;
            entry[u"switchingTimes"] = p.SzCount;
            entry[u"priorityTimes"] = p.PzCount;
            if (!o.has("--json"))
                printLine(QStringLiteral("%1: valid, device type %2, %3 records (%4 switching, %5 priority)")
                              .arg(path)
                              .arg(model.device.Uhrentyp)
                              .arg(p.UsedCount)
                              .arg(p.SzCount)
                              .arg(p.PzCount));
            for (const RuleBreak &b : RecordsBreakingDeviceRules(model)) {
                const ProgramRecord &r = p.Records[b.index];
                std::fflush(stdout);
                std::fprintf(stderr, "%s: warning: record %d (%d %d %d %d %d %d): %s\n", qPrintable(path),
                             b.index + 1, r.b0, r.b1, r.b2, r.b3, r.b4, r.b5,
                             qPrintable(DeviceRuleMessage(model, b.rule)));
            }
            // files with such records load and run; only new ones are refused
            for (const DuplicateEntry &d : FindDuplicateEntries(model)) {
                std::fflush(stdout);
                std::fprintf(stderr, "%s: warning: %s\n", qPrintable(path),
                             qPrintable(DuplicateEntryText(d, o.language())));
            }
        } else {
            ++invalid;
            const QString why = load.text(model);
            entry[u"reason"] = why;
            if (!load.detail.ok() && load.detail.line > 0)
                entry[u"line"] = load.detail.line;
            if (!o.has("--json"))
                printLine(QStringLiteral("%1: %2").arg(path, why));
        }
        results.append(entry);
    }
    if (o.has("--json"))
        printBytes(QJsonDocument(results).toJson(QJsonDocument::Indented));
    return invalid == 0 ? 0 : 1;
}

} // namespace zx::cli
