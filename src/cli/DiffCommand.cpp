// zentrix-cli diff: what differs between two program files, in the lists' own rows.
#include "CliTexts.h"
#include "Commands.h"
#include "HeadlessPrompter.h"

#include "app/LoadFailure.h"
#include "app/ProgramComparison.h"
#include "model/Model.h"

#include <QJsonDocument>

namespace zx::cli {

namespace {

// Loads one side ("-": standard input); the error line and false when it is no program.
bool loadSide(Model &model, const Options &o, const QString &path)
{
    model.set(SetTemplate).clear();
    const ProgramLoad load = loadProgramQuietly(model, o, path);
    if (load.ok())
        return true;
    if (!load.told)
        fail(isStdio(path) ? cliText(CliText::StandardInput, o.language()) : path, load.text(model));
    return false;
}

} // namespace

// Exit status as diff(1) has it: 0 the programs are the same, 1 they differ, 2 trouble.
int runDiff(Options &o)
{
    if (!o.expectArguments({QStringLiteral("A.zxp"), QStringLiteral("B.zxp")}))
        return 2;
    const QString fileA = o.positional[0];
    const QString fileB = o.positional[1];

    Model a;
    setLanguage(a, o);
    Model b = a;
    if (isStdio(fileA) && isStdio(fileB))
        return o.usageError(QStringLiteral("-: ") + cliText(CliText::GivenTwice, o.language()));
    if (!loadSide(a, o, fileA) || !loadSide(b, o, fileB))
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
