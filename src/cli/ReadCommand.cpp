// zentrix-cli read: reads the device over the serial programming interface into a program file:
// the device image as it is, with the usage text "unknown" and no channel names.
#include "CliTexts.h"
#include "Commands.h"
#include "InterruptSignals.h"
#include "SerialCommandSupport.h"

#include "model/Model.h"
#include "platform/FileAccess.h"

#include <QFileInfo>

namespace zx::cli {

int runRead(Options &o)
{
    const auto type = o.deviceType();
    if (o.failed())
        return 2;
    if (!o.expectArguments({QStringLiteral("OUT.zxp")}))
        return 2;
    if (!o.has("--port"))
        return o.usageError(cliText(CliText::Missing, o.language()).arg(QStringLiteral("--port")));
    const QString out = o.positional.first();
    if (!mayCreate(o, out))
        return 1;
    // refused before the device is read, not after
    if (const QString refusal = isStdio(out) ? QString() : WriteRefusal(ResolveLinks(out));
        !refusal.isEmpty())
        return fail(out, refusal);
    const QString dir = workDir(o);
    if (dir.isEmpty())
        return 1;
    Model model;
    setLanguage(model, o);
    SetUpDeviceType(model, type.value_or(TypeAnnual));
    QByteArray image;
    if (!runSerialCommand(model, o, dir, QStringLiteral("l"),
                          isStdio(out) ? dir : QFileInfo(out).absoluteFilePath(), &image))
        return InterruptSignals::exitStatus(1);
    if (isStdio(out)) {
        printBytes(image);
        return 0;
    }
    QString error;
    return WriteFileAtomically(out, image, &error) ? 0 : fail(out, error);
}

} // namespace zx::cli
