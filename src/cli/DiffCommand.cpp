// zentrix-cli diff: what differs between two program files, in the lists' own rows.
#include "Commands.h"
#include "HeadlessPrompter.h"

#include "app/LoadFailure.h"
#include "app/ProgramComparison.h"
#include "model/Model.h"

#include <QJsonDocument>

namespace zx::cli {

namespace {

// Loads one side; the error line and false when it is no program.
bool loadSide(Model &model, const QString &path)
{
    HeadlessPrompter prompter;
    prompter.quiet = true;
    QString reason;
    const LoadResult result = LoadForComparison(model, prompter, path, &reason);
    if (result == LoadResult::Loaded)
        return true;
    fail(path, LoadFailureText(model, result, reason));
    return false;
}

} // namespace

// Exit status as diff(1) has it: 0 the programs are the same, 1 they differ, 2 trouble.
int runDiff(Options &o)
{
    if (o.positional.size() != 2)
        return o.usageError();
    const QString fileA = o.positional[0];
    const QString fileB = o.positional[1];

    Model a;
    setLanguage(a, o);
    Model b = a;
    if (!loadSide(a, fileA) || !loadSide(b, fileB))
        return 2;

    const ProgramDifferences d = ComparePrograms(a, b);
    if (o.has("--json")) {
        printBytes(QJsonDocument(DifferencesToJson(d, fileA, fileB)).toJson(QJsonDocument::Indented));
    } else {
        for (const QString &line : DifferenceLines(d, fileA, fileB, o.language()))
            printLine(line);
    }
    return d.equal() ? 0 : 1;
}

} // namespace zx::cli
