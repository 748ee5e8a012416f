// zentrix-cli build: writes a program file from the JSON document that `dump --json` prints.
#include "Commands.h"
#include "HeadlessPrompter.h"
#include "ProgramDocument.h"

#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "platform/FileAccess.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

namespace zx::cli {

static const char BuildUsage[] = "zentrix-cli build PROGRAM.json OUT.zxp";

int runBuild(const QStringList &args)
{
    if (args.size() != 2 || isOption(args[0]) || isOption(args[1]))
        return usageError(BuildUsage);
    const QString jsonPath = args[0];
    const QString outPath = args[1];

    const FileContent file = ReadRegularFile(jsonPath, MaxProgramFileSize * 16);
    if (!file.ok()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(jsonPath),
                     qPrintable(file.error.isEmpty() ? QStringLiteral("too large") : file.error));
        return 1;
    }
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.content, &parseError);
    if (doc.isNull() || !doc.isObject()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(jsonPath),
                     doc.isNull() ? qPrintable(QStringLiteral("not JSON: %1 at offset %2")
                                                   .arg(parseError.errorString())
                                                   .arg(parseError.offset))
                                  : "a JSON object is required");
        return 1;
    }

    Model model;
    QString error;
    if (!programFromJson(doc.object(), model, &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(jsonPath), qPrintable(error));
        return 1;
    }
    model.program().FileName = outPath;
    HeadlessPrompter prompter;
    SystemClock clock;
    return SaveProgram(model, prompter, clock) ? 0 : 1;
}

} // namespace zx::cli
