#include "Commands.h"

#include "HeadlessPrompter.h"
#include "SerialCommandSupport.h"
#include "model/Model.h"
#include "platform/FileAccess.h"
#include "transfer/DeviceTransfer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zx::cli {

namespace {
const char *const ReadUsage = "zentrix-cli read OUT.zxp --port DEVICE [--type 517|236]";
}

// Reads the device over the serial programming interface on DEVICE into a program file: the
// device image as it is, with the usage text "unknown" and no channel names.
int runRead(const QStringList &args)
{
    SerialArgs a;
    if (!parseSerialArgs(args, &a))
        return usageError(ReadUsage);

    Model model;
    setDeviceType(model, a.type);
    model.transfer.PortSetting = 4;
    QString error;
    const QByteArray request =
        DeviceTransfer::RequestText(model, QStringLiteral("l"), QFileInfo(a.file).absoluteFilePath());
    if (!DeviceTransfer::WriteRequestFile(QDir::currentPath(), request, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    if (runSerialLink(model, a.device) != 0)
        return 1;

    const QString card = QDir::current().filePath(QLatin1String(SerialLink::ReadBackFileName));
    HeadlessPrompter prompter;
    const QString problem = loadProblem(model, LoadProgram(model, prompter, card, true, SetProgram));
    const FileContent cardFile = ReadRegularFile(card, MaxProgramFileSize);
    const auto values = cardFile.ok() ? ReadImageValues(cardFile.content) : std::nullopt;
    if (!problem.isEmpty() || !values) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(card),
                     qPrintable(problem.isEmpty() ? model.catalogue(Msg::IllegalFile) : problem));
        return 1;
    }
    MemoryImage image{};
    for (int i = 0; i < ImageSize; ++i)
        image[i] = static_cast<std::uint8_t>((*values)[i]);
    const QByteArray text = FormatProgramText(image, model.catalogue(Msg::Unknown), {});
    if (!WriteFileAtomically(a.file, text, &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(a.file), qPrintable(error));
        return 1;
    }
    return 0;
}

} // namespace zx::cli
