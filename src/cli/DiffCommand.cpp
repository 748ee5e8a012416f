// zentrix-cli diff: what differs between two program files, in the lists' own rows.
#include "Commands.h"
#include "HeadlessPrompter.h"
#include "ProgramDocument.h"

#include "app/ProgramComparison.h"
#include "model/Model.h"

#include <QJsonDocument>

namespace zx::cli {

namespace {

const char *const DiffUsage = "zentrix-cli diff A.zxp B.zxp [--lang en|de|fr] [--json]";

// Loads one side; an error message on standard error and false when it is no program.
bool loadSide(Model &model, const QString &path)
{
    HeadlessPrompter prompter;
    prompter.quiet = true;
    QString reason;
    const LoadResult result = LoadForComparison(model, prompter, path, &reason);
    if (result == LoadResult::Loaded)
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(loadFailureText(model, result, reason)));
    return false;
}

} // namespace

// Exit status as diff(1) has it: 0 the programs are the same, 1 they differ, 2 trouble.
int runDiff(const QStringList &args)
{
    QStringList files;
    int language = English;
    bool json = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--lang") && i + 1 < args.size()) {
            if (!parseLanguageOption(args[++i], &language))
                return usageError(DiffUsage);
        } else if (a == QLatin1String("--json")) {
            json = true;
        } else if (!isOption(a) && files.size() < 2) {
            files << a;
        } else {
            return usageError(DiffUsage);
        }
    }
    if (files.size() != 2)
        return usageError(DiffUsage);

    Model a;
    a.device.Sprache = language;
    a.catalogue.fillBuiltin(language, a.BrandNumber);
    Model b = a;
    if (!loadSide(a, files[0]) || !loadSide(b, files[1]))
        return 2;

    const ProgramDifferences d = ComparePrograms(a, b);
    if (json) {
        const QByteArray text =
            QJsonDocument(DifferencesToJson(d, files[0], files[1])).toJson(QJsonDocument::Indented);
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    } else {
        for (const QString &line : DifferenceLines(d, files[0], files[1], language))
            std::printf("%s\n", line.toUtf8().constData());
    }
    if (std::fflush(stdout) != 0)
        return 2;
    return d.equal() ? 0 : 1;
}

} // namespace zx::cli
