#include "SerialCommandSupport.h"

#include "Commands.h"
#include "HeadlessPrompter.h"
#include "model/Model.h"
#include "platform/EventPump.h"
#include "platform/QtSerialPort.h"
#include "transfer/DeviceTransfer.h"
#include "transfer/SerialLink.h"

#include <QDir>

#include <cstdio>
#include <unistd.h>

namespace zx::cli {

bool parseSerialArgs(const QStringList &args, SerialArgs *out)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--port") && i + 1 < args.size()) {
            out->device = args[++i];
        } else if (a == QLatin1String("--type") && i + 1 < args.size()) {
            bool ok = false;
            out->type = args[++i].toInt(&ok);
            if (!ok || (out->type != TypeAnnual && out->type != TypeAstro))
                return false;
        } else if (!isOption(a) && out->file.isEmpty()) {
            out->file = a;
        } else {
            return false;
        }
    }
    return !out->file.isEmpty() && !out->device.isEmpty();
}

void setDeviceType(Model &model, int type)
{
    model.device.Uhrentyp = type;
    model.device.RecordCapacity = type == TypeAstro ? CapacityAstro : CapacityAnnual;
    model.device.DeviceCode = type == TypeAstro ? 80 : 72;
}

QString loadProblem(const Model &model, LoadResult result)
{
    const Catalogue &c = model.catalogue;
    switch (result) {
    case LoadResult::Loaded:
    case LoadResult::MasterCard: // a master card is a valid chip image too
        return {};
    case LoadResult::Invalid:
        return c(Msg::IllegalFile);
    case LoadResult::Missing:
        return c(Msg::NoSuchFile);
    case LoadResult::Unreadable:
        return QStringLiteral("cannot be read");
    case LoadResult::GroupConflict:
        return c(Msg::FormatConflictEIBConventionell);
    case LoadResult::OtherType517:
    case LoadResult::OtherType236:
        return QStringLiteral("the program is for device type %1 (use --type %1)").arg(int(result));
    }
    return c(Msg::IllegalFile);
}

SerialTimings serialTimings()
{
    // Tests against the simulated interface on a pseudo-terminal need no settling time and no
    // long quiet time; a real device gets its own timings.
    if (qEnvironmentVariableIntValue("ZENTRIX_FAST_LINK") == 1) {
        SerialTimings fast;
        fast.quietMs = 40;
        fast.startWaitMs = 0;
        return fast;
    }
    return {};
}

int runSerialLink(Model &model, const QString &device)
{
    QtSerialPort port;
    SleepingEventPump pump;
    HeadlessPrompter prompter;
    StderrProgress progress;
    SerialLink link(port, pump, prompter, model.catalogue, QDir::currentPath(), &progress, serialTimings());
    const int result = link.SerialTransfer({device, device});
    if (result != 0)
        std::fprintf(stderr, "%s\n", qPrintable(model.catalogue(Msg::AccessToZentrixNotSuccessful)));
    return result;
}

void StderrProgress::begin(const QString &caption)
{
    terminal_ = ::isatty(STDERR_FILENO);
    std::fprintf(stderr, "%s\n", qPrintable(caption));
}

void StderrProgress::setLabel(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

void StderrProgress::setGauge(int value)
{
    // On a terminal the gauge counts in place; in a log every sixteenth block gets a line.
    if (terminal_) {
        std::fprintf(stderr, "\r%3d/%d", value, GaugeMax);
    } else if (value == GaugeMax || value / 16 != shown_ / 16) {
        std::fprintf(stderr, "%d/%d\n", value, GaugeMax);
    }
    shown_ = value;
    std::fflush(stderr);
}

void StderrProgress::end()
{
    if (terminal_)
        std::fprintf(stderr, "\n");
}

} // namespace zx::cli
