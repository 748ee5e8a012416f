// zentrix-cli write: sends a program file into the device over the serial programming interface.
#include "CliTexts.h"
#include "Commands.h"
#include "InterruptSignals.h"
#include "SerialCommandSupport.h"

#include "model/Model.h"

#include <QFileInfo>

namespace zx::cli {

int runWrite(Options &o)
{
    const auto type = o.deviceType();
    if (o.failed())
        return 2;
    if (!o.expectArguments({QStringLiteral("FILE.zxp")}))
        return 2;
    if (!o.has("--port"))
        return o.usageError(cliText(CliText::Missing, o.language()).arg(QStringLiteral("--port")));
    if (isStdio(o.positional.first()))
        return o.usageError(QStringLiteral("-: ") + cliText(CliText::FileRequired, o.language()));
    const QString file = o.positional.first();
    const QString dir = workDir(o);
    if (dir.isEmpty())
        return 1;
    Model model;
    // Only a program file of this device type goes to the device.
    if (!loadProgramOrTell(model, o, file, type.value_or(TypeAnnual)))
        return 1;
    return runSerialCommand(model, o, dir, QStringLiteral("s"), QFileInfo(file).absoluteFilePath())
               ? 0
               : InterruptSignals::exitStatus(1);
}

} // namespace zx::cli
