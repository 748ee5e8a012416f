// zentrix-cli build: writes a program file from the JSON document that `dump --json` prints.
#include "CliTexts.h"
#include "Commands.h"

#include "entry/DuplicateEntries.h"
#include "model/Model.h"
#include "model/ProgramJson.h"
#include "platform/FileAccess.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace zx::cli {

int runBuild(Options &o)
{
    if (!o.expectArguments({QStringLiteral("PROGRAM.json"), QStringLiteral("OUT.zxp")}))
        return 2;
    const QString jsonPath = o.positional[0];
    const QString outPath = o.positional[1];
    const QString jsonName = isStdio(jsonPath) ? cliText(CliText::StandardInput, o.language()) : jsonPath;

    const auto content = readInputOrTell(jsonPath, MaxProgramFileSize * 16);
    if (!content)
        return 1;
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(*content, &parseError);
    if (doc.isNull())
        return fail(
            jsonName,
            cliText(CliText::NotJson, o.language()).arg(parseError.errorString()).arg(parseError.offset));
    if (!doc.isObject())
        return fail(jsonName, cliText(CliText::JsonObjectRequired, o.language()));

    Model model;
    setLanguage(model, o);
    const ProgramJsonRead read = ProgramFromJson(doc.object(), model);
    if (!read.ok())
        return fail(jsonName, read.error);
    if (!mayCreate(o, outPath))
        return 1;
    FileLock lock(outPath);
    if (!lockProgramOrTell(lock, outPath))
        return 1;
    if (read.masterCard) {
        // a master card is written back as it was read
        std::array<QString, 9> names;
        for (int i = 0; i < 8; ++i)
            names[i] = read.masterCard->texts[i + 1];
        MemoryImage image{};
        for (int i = 0; i < ImageSize; ++i)
            image[i] = std::uint8_t(read.masterCard->values[i]);
        const QByteArray text = FormatProgramText(image, read.masterCard->texts[0], names);
        if (isStdio(outPath)) {
            printBytes(text);
            return 0;
        }
        QString error;
        return WriteFileAtomically(outPath, text, &error) ? 0 : fail(outPath, error);
    }
    // What the entry rules would refuse one by one is refused here as a whole; a file in use that
    // holds such records still goes back unchanged when asked for.
    if (const auto duplicates = FindDuplicateEntries(model);
        !duplicates.empty() && !o.has("--keep-duplicates"))
        return fail(jsonName, DuplicateEntryText(duplicates.front(), o.language()));
    // the document says what it holds: an empty program is written without asking
    model.ExportEmptyConfirmed = 1;
    return saveProgramOrTell(model, o, outPath) ? 0 : 1;
}

} // namespace zx::cli
