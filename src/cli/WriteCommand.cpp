#include "Commands.h"

#include "HeadlessPrompter.h"
#include "SerialCommandSupport.h"
#include "model/Model.h"
#include "transfer/DeviceTransfer.h"

#include <QDir>
#include <QFileInfo>

namespace zx::cli {

namespace {
const char *const WriteUsage = "zentrix-cli write FILE.zxp --port DEVICE [--type 517|236]";
}

// Writes a program file into the device over the serial programming interface on DEVICE.
int runWrite(const QStringList &args)
{
    SerialArgs a;
    if (!parseSerialArgs(args, &a))
        return usageError(WriteUsage);

    Model model;
    setDeviceType(model, a.type);
    HeadlessPrompter prompter;
    // Only a program file of this device type goes to the device.
    const QString problem = loadProblem(model, LoadProgram(model, prompter, a.file, false, SetProgram));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(a.file), qPrintable(problem));
        return 1;
    }
    model.transfer.PortSetting = 4;
    QString error;
    const QByteArray request =
        DeviceTransfer::RequestText(model, QStringLiteral("s"), QFileInfo(a.file).absoluteFilePath());
    if (!DeviceTransfer::WriteRequestFile(QDir::currentPath(), request, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return runSerialLink(model, a.device) == 0 ? 0 : 1;
}

} // namespace zx::cli
